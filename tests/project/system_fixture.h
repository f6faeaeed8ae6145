#pragma once
// Shared by the project-settings tests: a game folder with the record settings of start-up, and
// System.dat images of any format version written out by hand from the file's layout tables. The
// tables here are their own transcription of the layout, so a fault in the program's registration
// or section order shows as a difference instead of hiding in both.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/discarded_field.h"
#include "project/load_context.h"
#include "project/system_data.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

class SystemDataTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    m_SavedContext = LoadContext();
    LoadContext().database.musics = 10;
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    InitRecordSettings();
    GameFolderTest::TearDown();
  }

 private:
  cLoadContext m_SavedContext;
};

namespace system_file {

constexpr std::uint32_t kStill = 0xFFFFFFFF;  // a field the current layout still holds
constexpr std::int64_t kComputed = -1000000;  // the upgrade value depends on other fields

// One numeric field: width, the versions that hold it, its value in a new project, and what a file
// without it ends up with after the upgrades.
struct NumericRow {
  const char* name;
  int width;
  std::uint32_t from;
  std::uint32_t until;
  std::int64_t newProject;
  std::int64_t lacking;
  std::int64_t (*get)(const cSystemData& s);
};

#define SYSTEM_FIELD(member) [](const cSystemData& s) -> std::int64_t { return s.member; }

// Registration order of the file, with the versions that hold each field.
inline const NumericRow kNumericRows[] = {
    {"ExtraLifeByScore", 4, 185, kStill, 0, 1, SYSTEM_FIELD(m_ExtraLifeByScore)},
    {"ScorePerExtraLife", 4, 0, kStill, 100, 0, SYSTEM_FIELD(m_ScorePerExtraLife)},
    {"HideStageWhilePaused", 4, 0, kStill, 1, 0, SYSTEM_FIELD(m_HideStageWhilePaused)},
    {"MessageFontLetters", 4, 0, kStill, 0, 0, SYSTEM_FIELD(m_MessageFontLetters)},
    {"FontFaceIndex", 4, 205, kStill, 60, 60, SYSTEM_FIELD(m_FontFaceIndex)},
    {"MessageFontCentred", 4, 170, kStill, 0, 0, SYSTEM_FIELD(m_MessageFontCentred)},
    {"KeepMarkedFlows", 4, 113, kStill, 0, 0, SYSTEM_FIELD(m_KeepMarkedFlows)},
    {"ReplayRecording", 4, 184, kStill, 1, 1, SYSTEM_FIELD(m_ReplayRecording)},
    {"TitleMenuImages", 4, 157, kStill, 1, 0, SYSTEM_FIELD(m_TitleMenuImages)},
    {"WorldMapKeepsLives", 4, 0, kStill, 1, 0, SYSTEM_FIELD(m_WorldMapKeepsLives)},
    {"StoryRetryMenu", 4, 191, kStill, 1, 0, SYSTEM_FIELD(m_StoryRetryMenu)},
    {"WorldMapLivesWindow", 4, 191, kStill, 1, 0, SYSTEM_FIELD(m_WorldMapLivesWindow)},
    {"ChallengeStageCount", 4, 0, kStill, 40, 0, SYSTEM_FIELD(m_ChallengeStageCount)},
    {"ChallengeAllOpen", 4, 0, kStill, 1, 0, SYSTEM_FIELD(m_ChallengeAllOpen)},
    {"StoryShowStageScores", 4, 167, kStill, 1, 1, SYSTEM_FIELD(m_StoryShowStageScores)},
    {"StoryShowTotalScore", 4, 167, kStill, 1, 1, SYSTEM_FIELD(m_StoryShowTotalScore)},
    {"StoryRestoreOnRetry", 4, 188, kStill, 1, 1, SYSTEM_FIELD(m_StoryRestoreOnRetry)},
    {"StoryPauseRetry", 4, 224, kStill, 1, 0, SYSTEM_FIELD(m_StoryPauseRetry)},
    {"ChallengeShowStageScores", 4, 167, kStill, 1, 1, SYSTEM_FIELD(m_ChallengeShowStageScores)},
    {"ChallengeShowTotalScore", 4, 167, kStill, 1, 1, SYSTEM_FIELD(m_ChallengeShowTotalScore)},
    {"ChallengeRestoreOnRetry", 4, 188, kStill, 1, 1, SYSTEM_FIELD(m_ChallengeRestoreOnRetry)},
    {"ChallengePauseRetry", 4, 224, kStill, 1, 0, SYSTEM_FIELD(m_ChallengePauseRetry)},
    {"FreeRestoreOnRetry", 4, 188, kStill, 1, 1, SYSTEM_FIELD(m_FreeRestoreOnRetry)},
    {"TestPlayRestoreOnRetry", 4, 192, kStill, 0, 1, SYSTEM_FIELD(m_TestPlayRestoreOnRetry)},
    {"ColourMode", 4, 187, kStill, 0, 0, SYSTEM_FIELD(m_ColourMode)},
    {"TransparentRed", 1, 187, kStill, 0, 0, SYSTEM_FIELD(m_TransparentRed)},
    {"TransparentGreen", 1, 187, kStill, 0, 177, SYSTEM_FIELD(m_TransparentGreen)},
    {"TransparentBlue", 1, 187, kStill, 0, 0, SYSTEM_FIELD(m_TransparentBlue)},
    {"LegacyScrollSync", 4, 214, kStill, 0, 1, SYSTEM_FIELD(m_LegacyScrollSync)},
    {"discarded", 4, 221, 259, 0, 0, nullptr},
    {"LegacyScaleAnchor", 4, 261, kStill, 0, 1, SYSTEM_FIELD(m_LegacyScaleAnchor)},
    {"KeepDeadCharacters", 4, 272, kStill, 0, 0, SYSTEM_FIELD(m_KeepDeadCharacters)},
    {"SystemColourTint", 4, 287, kStill, 0, 1, SYSTEM_FIELD(m_SystemColourTint)},
    {"SystemColourStep", 4, 515, kStill, 16, 16, SYSTEM_FIELD(m_SystemColourStep)},
    {"SystemColourCycling", 4, 289, kStill, 0, kComputed, SYSTEM_FIELD(m_SystemColourCycling)},
    {"LegacyFlowRetrigger", 4, 525, kStill, 0, 1, SYSTEM_FIELD(m_LegacyFlowRetrigger)},
    {"LegacyEdgeEntry", 4, 555, kStill, 0, 1, SYSTEM_FIELD(m_LegacyEdgeEntry)},
};

#undef SYSTEM_FIELD

inline bool Holds(const NumericRow& row, std::uint32_t version) { return version >= row.from && version <= row.until; }

inline std::uint32_t HeldCount(std::uint32_t version) {
  std::uint32_t count = 0;
  for (const NumericRow& row : kNumericRows) count += Holds(row, version) ? 1 : 0;
  return count;
}

// A value of its own for each field, so a field read into the wrong member shows.
inline std::int64_t DistinctValue(std::size_t row) {
  return kNumericRows[row].width == 1 ? 100 + static_cast<std::int64_t>(row) : 1000 + static_cast<std::int64_t>(row);
}

struct StatusItem {
  std::int32_t shown, icon, digits, showNumber;
  std::string label;
};
struct MenuEntry {
  std::int32_t shown;
  std::string label;
};
struct FlagSet {
  std::int32_t enabled;
  std::vector<std::uint8_t> flags;
};
struct IniKey {
  std::int32_t kind;
  std::string name;
  std::int32_t intValue;
  std::string stringValue;
};

// Everything a System.dat holds. Sections that the version lacks are not written.
struct SystemFile {
  std::uint32_t version = 556;
  std::map<std::string, std::int64_t> numbers;  // by field name; a field not named has its distinct value
  std::string title;
  std::vector<std::uint8_t> carryFlags, carryResetFlags;
  std::vector<StatusItem> statusItems;
  std::vector<std::int32_t> startingLives, unlimitedLives;
  std::vector<FlagSet> rankingSets;
  std::vector<std::string> uiTexts, soundFiles;
  std::vector<std::int32_t> menuBgm;
  std::vector<std::uint8_t> menuBgmLoop;
  std::vector<MenuEntry> titleMenu, saveMenu, optionMenu;
  std::vector<IniKey> iniKeys;
  std::map<char, std::uint32_t> countOverride;  // section letter -> count word written instead
};

inline std::vector<std::string> SjTexts(std::initializer_list<const char*> utf8) {
  std::vector<std::string> texts;
  for (const char* text : utf8) texts.push_back(SJ(text));
  return texts;
}

inline std::vector<MenuEntry> Menu(std::initializer_list<const char*> utf8) {
  std::vector<MenuEntry> menu;
  for (const char* label : utf8) menu.push_back({1, SJ(label)});
  return menu;
}

inline std::vector<std::string> NewProjectTexts() {
  return SjTexts({"ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
                  "クリア時間", "残りHP", "残りSP", "ステージに挑む", "やっぱりやめる", "セーブする",
                  "やっぱりやめる", "オートセーブＯＮ", "オートセーブＯＦＦ",
                  "保存先が不明です！一度は「セーブ」して下さい！", "タイトルへ戻る", "やっぱりやめる",
                  "しゅうりょう", "つづける", "リトライ", "リトライ", "マップへ戻る", "Vキーでジャンルの切り替え",
                  "スペースキーでタイトルへ戻る", "スペースキーで終了", "F3キーでランキングへ登録"});
}

// What a new project writes, field for field.
inline SystemFile NewProjectFile() {
  SystemFile f;
  for (const NumericRow& row : kNumericRows) f.numbers[row.name] = row.newProject;
  f.carryFlags = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0};
  f.carryResetFlags = std::vector<std::uint8_t>(25, 0);
  f.carryResetFlags[11] = f.carryResetFlags[12] = 1;
  f.statusItems = {{1, 1, 4, 0, SJ("スコア")}, {1, 1, 3, 0, SJ("スコア")}, {1, 1, 0, 0, "HP"}, {1, 1, 0, 0, "SP"},
                   {1, 1, 2, 0, SJ("人")}};
  f.startingLives = {5, 5, 5, 99};
  f.unlimitedLives = {1, 1, 1, 1};
  f.rankingSets = {{1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {0, {0, 0, 0, 0, 0}}};
  f.uiTexts = NewProjectTexts();
  f.soundFiles = std::vector<std::string>(17);
  f.menuBgm = {0, 0, 0, 0};
  f.menuBgmLoop = {1, 1, 1, 1};
  f.titleMenu = Menu({"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"});
  f.saveMenu = Menu({"セーブ", "オートセーブ", "もどる", "タイトルへ"});
  f.optionMenu = Menu({"", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"});
  f.iniKeys = {{0, "Direct3D", 2, ""}, {0, "WindowMode", 0, ""}, {0, "Bpp", 0, ""},
               {0, "VSync", 2, ""},    {0, "ShowFps", 1, ""},    {1, "FreeStage", 0, ""}};
  return f;
}

// A file of an old version with the content such a file had: 22 carry flags, the 21 texts and the
// 3-entry save menu from before the auto-save, the five System.ini keys from before the renderer
// key, every other number its distinct value.
inline SystemFile OldProjectFile(std::uint32_t version) {
  SystemFile f = NewProjectFile();
  f.version = version;
  f.numbers.clear();
  f.carryFlags.clear();
  for (std::uint8_t b = 10; b < 32; ++b) f.carryFlags.push_back(b);
  f.uiTexts = SjTexts({"ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
                       "クリア時間", "ステージに挑む", "やっぱりやめる", "セーブする", "やっぱりやめる",
                       "タイトルへ戻る", "やっぱりやめる", "しゅうりょう", "つづける", "リトライ",
                       "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る", "スペースキーで終了",
                       "F3キーでランキングへ登録"});
  f.saveMenu = Menu({"セーブ", "もどる", "タイトルへ"});
  f.iniKeys = {{0, "WindowMode", 1, ""}, {0, "Bpp", 16, ""}, {0, "VSync", 1, ""}, {0, "ShowFps", 0, ""},
               {1, "FreeStage", 0, "stage"}};
  return f;
}

inline std::int64_t NumberOf(const SystemFile& f, std::size_t row) {
  auto found = f.numbers.find(kNumericRows[row].name);
  return found != f.numbers.end() ? found->second : DistinctValue(row);
}

inline void Count(cByteBuilder& b, const SystemFile& f, char section, std::size_t count) {
  auto found = f.countOverride.find(section);
  b.U32(found != f.countOverride.end() ? found->second : static_cast<std::uint32_t>(count));
}

inline void Bytes(cByteBuilder& b, const SystemFile& f, char section, const std::vector<std::uint8_t>& bytes) {
  Count(b, f, section, bytes.size());
  for (std::uint8_t byte : bytes) b.U8(byte);
}

inline void Ints(cByteBuilder& b, const SystemFile& f, char section, const std::vector<std::int32_t>& values) {
  Count(b, f, section, values.size());
  for (std::int32_t value : values) b.I32(value);
}

inline void Texts(cByteBuilder& b, const SystemFile& f, char section, const std::vector<std::string>& texts) {
  Count(b, f, section, texts.size());
  for (const std::string& text : texts) b.Str(text);
}

inline void Menus(cByteBuilder& b, const SystemFile& f, char section, const std::vector<MenuEntry>& menu) {
  Count(b, f, section, menu.size());
  for (const MenuEntry& entry : menu) b.U32(1).I32(entry.shown).U32(1).Str(entry.label);
}

// The whole file: version, A and the numbers, S = 1 and the title, sections a to n.
inline cByteBuilder Build(const SystemFile& f) {
  const std::uint32_t v = f.version;
  cByteBuilder b;
  b.U32(v).U32(HeldCount(v));
  for (std::size_t row = 0; row < std::size(kNumericRows); ++row) {
    if (!Holds(kNumericRows[row], v)) continue;
    const std::int64_t value = NumberOf(f, row);
    if (kNumericRows[row].width == 1) {
      b.U8(static_cast<std::uint8_t>(value));
    } else {
      b.I32(static_cast<std::int32_t>(value));
    }
  }
  b.U32(1).Str(f.title);
  Bytes(b, f, 'a', f.carryFlags);
  if (v >= 501) Bytes(b, f, 'b', f.carryResetFlags);
  Count(b, f, 'c', f.statusItems.size());
  for (const StatusItem& item : f.statusItems) {
    b.U32(v >= 204 ? 4 : 3).I32(item.shown).I32(item.icon).I32(item.digits);
    if (v >= 204) b.I32(item.showNumber);
    b.U32(1).Str(item.label);
  }
  Ints(b, f, 'd', f.startingLives);
  if (v >= 191) Ints(b, f, 'e', f.unlimitedLives);
  if (v >= 186) {
    Count(b, f, 'f', f.rankingSets.size());
    for (const FlagSet& set : f.rankingSets) {
      b.U32(1).I32(set.enabled).U32(0).U32(static_cast<std::uint32_t>(set.flags.size()));
      for (std::uint8_t flag : set.flags) b.U8(flag);
    }
  }
  Texts(b, f, 'g', f.uiTexts);
  Texts(b, f, 'h', f.soundFiles);
  Ints(b, f, 'i', f.menuBgm);
  if (v >= 202) Bytes(b, f, 'j', f.menuBgmLoop);
  Menus(b, f, 'k', f.titleMenu);
  Menus(b, f, 'l', f.saveMenu);
  Menus(b, f, 'm', f.optionMenu);
  Count(b, f, 'n', f.iniKeys.size());
  for (const IniKey& key : f.iniKeys)
    b.U32(2).I32(key.kind).I32(key.intValue).U32(2).Str(key.name).Str(key.stringValue);
  return b;
}

// The outcome of reading one image into a record.
struct ReadResult {
  bool damaged;
  std::size_t left;  // bytes the read did not reach
};

inline ReadResult ReadInto(cSystemData& s, const cByteBuilder& image) {
  cRecordReader in(image.Data());
  s.Read(in);
  return {in.Damaged(), in.Left()};
}

inline std::vector<std::uint8_t> Written(cSystemData& s) {
  cRecordWriter out;
  out.WriteU32(g_CurrentVersion);
  s.Write(out);
  return out.Bytes();
}

// Views of the record's lists in the fixture's own terms, for whole-list comparisons.
inline std::vector<std::string> Labels(const std::vector<cSystemMenuItem>& menu) {
  std::vector<std::string> labels;
  for (const cSystemMenuItem& item : menu) labels.push_back(item.m_Label);
  return labels;
}

inline std::vector<std::string> Labels(const std::vector<MenuEntry>& menu) {
  std::vector<std::string> labels;
  for (const MenuEntry& entry : menu) labels.push_back(entry.label);
  return labels;
}

}  // namespace system_file
