// What a System.dat of an older version means in today's terms. Each row runs for the files below
// its version, in this order: the inserts into the fixed-length lists name positions in the layout
// the rows before them have produced, so the three auto-save texts inserted at 12 end up at 14 to
// 16 once the ranking texts go in at 8 and 9, and the carry flags take their inserts at 16, 14, 9.
#include <algorithm>

#include "platform/host/text_codec.h"
#include "project/font_faces.h"
#include "project/system_data.h"

namespace {

// The list already has its final length; x goes in at k and the last element drops out.
template <class T>
void InsertAt(CheckedVector<T>& list, int k, const T& x) {
  ShiftUpFrom(list, k);
  list.At(k) = x;
}

void InsertText(cSystemData& s, int k, const char* utf8) { InsertAt(s.m_UiTexts, k, SJ(utf8)); }

void InsertCarryFlag(cSystemData& s, int k, std::uint8_t value) {
  s.m_CarryFlags.resize(kCarryFlagCount, 0);
  InsertAt(s.m_CarryFlags, k, value);
}

void ShowScores(cSystemData& s) {
  s.m_StoryShowStageScores = 1;
  s.m_StoryShowTotalScore = 1;
  s.m_ChallengeShowStageScores = 1;
  s.m_ChallengeShowTotalScore = 1;
}

// Pictures of those days were palette pictures keyed on this green.
void PaletteColours(cSystemData& s) {
  s.m_ColourMode = 0;
  s.m_TransparentRed = 0;
  s.m_TransparentGreen = 177;
  s.m_TransparentBlue = 0;
}

void RestoreOnRetry(cSystemData& s) {
  s.m_StoryRestoreOnRetry = 1;
  s.m_ChallengeRestoreOnRetry = 1;
  s.m_FreeRestoreOnRetry = 1;
}

// The save menu gained its auto-save switch, with the texts of the switch and of its message.
void AddAutoSave(cSystemData& s) {
  s.m_SaveMenu.resize(kSaveMenuSize, cSystemMenuItem());
  cSystemMenuItem autoSave;
  autoSave.m_Label = SJ("オートセーブ");
  InsertAt(s.m_SaveMenu, 1, autoSave);
  s.m_UiTexts.resize(kUiTextCount);
  InsertText(s, 12, "保存先が不明です！一度は「セーブ」して下さい！");
  InsertText(s, 12, "オートセーブＯＦＦ");
  InsertText(s, 12, "オートセーブＯＮ");
}

// Rankings of remaining HP and SP came later: the old sets do not keep them.
void AddHpSpRankings(cSystemData& s) {
  const int sets = std::min(s.m_RankingSets.Size(), kPlayModeCount);
  for (int i = 0; i < sets; ++i) {
    CheckedVector<std::uint8_t>& flags = s.m_RankingSets.At(i).m_Flags;
    flags.resize(kRankingKindCount, 0);
    flags.At(3) = 0;
    flags.At(4) = 0;
  }
  s.m_UiTexts.resize(kUiTextCount);
  InsertText(s, 8, "残りHP");
  InsertText(s, 9, "残りSP");
}

void AddUnlimitedLives(cSystemData& s) {
  s.m_UnlimitedLives.resize(kPlayModeCount, 0);
  s.m_UnlimitedLives.At(0) = 0;
  s.m_UnlimitedLives.At(1) = 0;
  s.m_UnlimitedLives.At(2) = 0;
  s.m_UnlimitedLives.At(3) = 1;
  s.m_StoryRetryMenu = 0;
  s.m_WorldMapLivesWindow = 0;
}

void AddRetryTexts(cSystemData& s) {
  s.m_UiTexts.resize(kUiTextCount);
  InsertText(s, 22, "リトライ");
  InsertText(s, 23, "マップへ戻る");
}

// The renderer key came first in the list; a vertical sync beyond the choices of the time is the
// default one.
void AddDirect3DKey(cSystemData& s) {
  s.m_SystemIniKeys.resize(kSystemIniKeyCount, cSystemIniKey());
  ShiftUpFrom(s.m_SystemIniKeys, 0);
  s.m_SystemIniKeys.At(0).SetInt("Direct3D", 1);
  cSystemIniKey& vsync = s.m_SystemIniKeys.At(3);
  if (vsync.m_IntValue >= 3) vsync.m_IntValue = 2;
}

struct SystemUpgrade {
  std::uint32_t below;  // the row applies to files older than this version
  void (*apply)(cSystemData& s);
};

const SystemUpgrade kSystemUpgrades[] = {
    {113, [](cSystemData& s) { s.m_KeepMarkedFlows = 0; }},
    {157, [](cSystemData& s) { s.m_TitleMenuImages = 0; }},
    {167, ShowScores},
    {168, [](cSystemData& s) { InsertCarryFlag(s, 16, 1); }},
    {169, AddAutoSave},
    {170, [](cSystemData& s) { s.m_MessageFontCentred = 0; }},
    {181, AddHpSpRankings},
    {184, [](cSystemData& s) { s.m_ReplayRecording = 1; }},
    {185, [](cSystemData& s) { s.m_ExtraLifeByScore = 1; }},
    {187, PaletteColours},
    {188, RestoreOnRetry},
    {191, AddUnlimitedLives},
    {192, [](cSystemData& s) { s.m_TestPlayRestoreOnRetry = 1; }},
    {193, AddRetryTexts},
    {201, [](cSystemData& s) { InsertCarryFlag(s, 14, 0); }},
    {202, [](cSystemData& s) { s.m_MenuBgmLoop.assign(kMenuMusicSlotCount, 1); }},
    {205, [](cSystemData& s) { s.m_FontFaceIndex = kDefaultFontFaceIndex; }},
    {210, [](cSystemData& s) { InsertCarryFlag(s, 9, 0); }},
    {214, [](cSystemData& s) { s.m_LegacyScrollSync = 1; }},
    {224, [](cSystemData& s) { s.m_StoryPauseRetry = s.m_ChallengePauseRetry = 0; }},
    {261, [](cSystemData& s) { s.m_LegacyScaleAnchor = 1; }},
    {272, [](cSystemData& s) { s.m_KeepDeadCharacters = 0; }},
    {286, AddDirect3DKey},
    {287, [](cSystemData& s) { s.m_SystemColourTint = 1; }},
    {289, [](cSystemData& s) { s.m_SystemColourCycling = s.m_ColourMode == 0 ? 1 : 0; }},
    {501, [](cSystemData& s) { s.m_CarryResetFlags.assign(kCarryFlagCount, 0); }},
    {515, [](cSystemData& s) { s.m_SystemColourStep = 16; }},
    {525, [](cSystemData& s) { s.m_LegacyFlowRetrigger = 1; }},
    {555, [](cSystemData& s) { s.m_LegacyEdgeEntry = 1; }},
};

}  // namespace

void cSystemData::Upgrade(std::uint32_t fileVersion) {
  for (const SystemUpgrade& row : kSystemUpgrades)
    if (fileVersion < row.below) row.apply(*this);
}
