#pragma once
// The project settings of data\System.dat: the game-wide choices an author makes once (title,
// menus and texts, status bar, lives, rankings, carried values, fonts, colours, system sounds, menu
// music, the System.ini defaults, and the switches that keep older projects behaving as they did).
// One record, g_System, read once at start-up and only read afterwards; every subsystem reads its
// members by name.
//
// File: the record body (36 numbers, then Title), then fourteen counted sections in a fixed order.
// Lists that later code indexes by meaning always hold at least their fixed length after a read;
// a short list from an old or damaged file is filled up with the default rows.
#include <cstdint>
#include <string>

#include "platform/audio/sound_effects.h"  // kSystemSoundCount: the sound table and the settings agree on it
#include "platform/services/checked.h"
#include "platform/services/record.h"

// Fixed lengths of the lists whose rows have a meaning by index.
constexpr int kCarryFlagCount = 25;
constexpr int kStatusBarItemCount = 5;
constexpr int kTitleMenuSize = 7;
constexpr int kSaveMenuSize = 4;
constexpr int kOptionMenuSize = 6;
constexpr int kPlayModeCount = 4;  // story, challenge, free play, replay play-back
constexpr int kRankingKindCount = 5;
constexpr int kUiTextCount = 28;
constexpr int kMenuMusicSlotCount = 4;
constexpr int kSystemIniKeyCount = 6;
// The most lives a player holds; extra lives stop here.
constexpr std::int32_t kMaxLives = 99;

// One entry of the play screen's status bar.
class cStatusBarItem : public cDataRecord {
 public:
  cStatusBarItem();
  void RegisterFields(std::uint32_t version) override;
  // Entries from before the number switch existed always printed the gauge value.
  void Read(cRecordReader& in) override;

  std::int32_t m_Shown = 0;
  std::int32_t m_Icon = 0;
  std::string m_Label;
  std::int32_t m_ShowNumber = 0;
  std::int32_t m_Digits = 0;
};

// One entry of a menu; its index is its meaning, the label only its text.
class cSystemMenuItem : public cDataRecord {
 public:
  cSystemMenuItem();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Shown = 1;
  std::string m_Label;
};

// A switch with a row of flag bytes (a play mode's rankings and which ranking kinds it keeps).
class cSystemFlagSet : public cDataRecord {
 public:
  cSystemFlagSet();
  void RegisterFields(std::uint32_t version) override;
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  std::int32_t m_Enabled = 0;
  CheckedVector<std::uint8_t> m_Flags;
};

// One key of System.ini with its default.
class cSystemIniKey : public cDataRecord {
 public:
  static constexpr std::int32_t kIntKey = 0;
  static constexpr std::int32_t kStringKey = 1;

  cSystemIniKey();
  void RegisterFields(std::uint32_t version) override;
  void SetInt(const std::string& name, std::int32_t value);
  // IntValue stays as it was: nothing reads the number of a text key.
  void SetString(const std::string& name, const std::string& value);

  std::int32_t m_Kind = 0;
  std::string m_IniName;
  std::int32_t m_IntValue = 0;
  std::string m_StringValue;
};

class cSystemData : public cDataRecord {
 public:
  cSystemData();

  // Title and the numbers, in file order, gated by the version that brought each.
  void RegisterFields(std::uint32_t version) override;
  // One body and its sections, then the upgrades of older files, the fill-up of short lists and
  // the music clamp. A damaged file still leaves every list usable; the reader says it was damaged.
  void Read(cRecordReader& in) override;
  // Always the current layout with all fourteen sections.
  void Write(cRecordWriter& out) override;

  void SetDefaults();
  // Menu music rows outside the database's music table (unsigned compare: negatives too) become 0.
  void ClampMenuBgm();

  // Non-zero ranking-kind flags of play mode n, 0 when that mode keeps no rankings.
  std::uint32_t CountSystemFlags(int n) const;
  // Left x of a menu window centred on centreX holding UiTexts[first .. first + count - 1], every
  // character one 16-pixel cell; extra reserves one more cell for the cursor's blank.
  int MenuTextLeftX(int centreX, int first, int count, int extra) const;
  // The text of that menu window: one line per text, each with a leading blank when extra. Texts
  // are data, never formats: a "%" in one stays a "%". widthChars gets the window's width in
  // cells. text is reused, so drawing every frame does not allocate once it has grown.
  void ComposeSystemTextMenu(int first, int count, int extra, std::string& text, int& widthChars) const;
  // The face of the three fonts; the default face when FontFaceIndex names no face.
  const std::string& FontFace() const;
  // The number of challenge stages; a negative setting means none.
  int ChallengeStages() const;
  // The starting lives of a play mode as the game can hold them (0 to kMaxLives), so that taking
  // or adding one never leaves the numbers; 0 for a mode the settings do not list.
  std::int32_t StartingLivesOf(int mode) const;
  // True when the settings give a play mode unlimited lives.
  bool UnlimitedLivesIn(int mode) const;
  // True when a play mode keeps rankings (its ranking set is switched on).
  bool RankingEnabledIn(int mode) const;

  // Members in the order of the settings; the file's registration order differs (RegisterFields).
  std::string m_Title;
  CheckedVector<std::uint8_t> m_CarryFlags;
  CheckedVector<std::uint8_t> m_CarryResetFlags;
  std::int32_t m_ExtraLifeByScore = 0;
  std::int32_t m_ScorePerExtraLife = 0;
  std::int32_t m_HideStageWhilePaused = 0;
  std::int32_t m_MessageFontLetters = 0;
  std::int32_t m_FontFaceIndex = 0;
  std::int32_t m_MessageFontCentred = 0;
  std::int32_t m_ReplayRecording = 0;
  std::int32_t m_KeepMarkedFlows = 0;
  CheckedVector<cStatusBarItem> m_StatusBarItems;
  std::int32_t m_TitleMenuImages = 0;
  CheckedVector<cSystemMenuItem> m_TitleMenu;
  CheckedVector<cSystemMenuItem> m_SaveMenu;
  CheckedVector<cSystemMenuItem> m_OptionMenu;
  std::int32_t m_WorldMapKeepsLives = 0;
  std::int32_t m_StoryRetryMenu = 0;
  std::int32_t m_WorldMapLivesWindow = 0;
  std::int32_t m_ChallengeStageCount = 0;
  std::int32_t m_ChallengeAllOpen = 0;
  CheckedVector<std::int32_t> m_StartingLives;
  CheckedVector<std::int32_t> m_UnlimitedLives;
  CheckedVector<cSystemFlagSet> m_RankingSets;
  std::int32_t m_StoryShowStageScores = 0;
  std::int32_t m_StoryShowTotalScore = 0;
  std::int32_t m_StoryRestoreOnRetry = 0;
  std::int32_t m_StoryPauseRetry = 0;
  std::int32_t m_ChallengeShowStageScores = 0;
  std::int32_t m_ChallengeShowTotalScore = 0;
  std::int32_t m_ChallengeRestoreOnRetry = 0;
  std::int32_t m_ChallengePauseRetry = 0;
  std::int32_t m_FreeRestoreOnRetry = 0;
  std::int32_t m_TestPlayRestoreOnRetry = 0;
  std::int32_t m_ColourMode = 0;
  std::uint8_t m_TransparentRed = 0;
  std::uint8_t m_TransparentGreen = 0;
  std::uint8_t m_TransparentBlue = 0;
  CheckedVector<std::string> m_SoundFiles;
  CheckedVector<std::int32_t> m_MenuBgm;
  CheckedVector<std::uint8_t> m_MenuBgmLoop;
  CheckedVector<std::string> m_UiTexts;
  CheckedVector<cSystemIniKey> m_SystemIniKeys;
  std::int32_t m_LegacyScrollSync = 0;
  std::int32_t m_LegacyScaleAnchor = 0;
  std::int32_t m_KeepDeadCharacters = 0;
  std::int32_t m_SystemColourTint = 0;
  std::int32_t m_SystemColourStep = 0;
  std::int32_t m_SystemColourCycling = 0;
  std::int32_t m_LegacyFlowRetrigger = 0;
  std::int32_t m_LegacyEdgeEntry = 0;

 private:
  // Calls visit(section, first version that holds it) for the fourteen sections in file order.
  template <class Visit>
  void VisitSections(Visit&& visit);
  // The changes that bring a file of an older version to the current meaning, in their order.
  void Upgrade(std::uint32_t fileVersion);
  // Fills every list that later code indexes up to its fixed length with the default rows.
  void PadToFixedLengths();
};

extern cSystemData g_System;

// The counted strings of the sections: u32 L = length + 1, then the text and its NUL when L > 1.
// Carriage returns stay. False (and text unchanged) when the file does not hold one.
bool ReadSizedString(std::string& text, cRecordReader& in);
void WriteSizedString(const std::string& text, cRecordWriter& out);
void WriteByteVector(const std::vector<std::uint8_t>& bytes, cRecordWriter& out);

template <class Record>
void WriteRecordVector(std::vector<Record>& records, cRecordWriter& out) {
  out.WriteCount(records.size());
  for (Record& record : records) record.Write(out);
}

// Moves the elements from k on up by one inside the vector's size: the last one is lost and
// element k keeps its value for the caller to overwrite. Inserting x at k into a list that already
// has its final length is ShiftUpFrom(v, k) and then v[k] = x.
template <class T>
void ShiftUpFrom(std::vector<T>& v, int k) {
  if (k < 0) return;
  for (std::size_t i = v.size(); i-- > static_cast<std::size_t>(k) + 1;) v[i] = v[i - 1];
}
