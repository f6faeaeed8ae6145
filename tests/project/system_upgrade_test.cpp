// System.dat files of older versions: which fields and sections each version holds, and what the
// upgrades make of them, in their order.
#include "tests/project/system_fixture.h"

namespace {

using namespace system_file;

std::vector<std::string> Texts(const cSystemData& s) { return {s.m_UiTexts.begin(), s.m_UiTexts.end()}; }
std::vector<std::uint8_t> Bytes(const CheckedVector<std::uint8_t>& v) { return {v.begin(), v.end()}; }
std::vector<std::int32_t> Ints(const CheckedVector<std::int32_t>& v) { return {v.begin(), v.end()}; }

TEST_F(SystemDataTest, GatesGiveTheFieldCountsOfEachVersion) {
  const std::pair<std::uint32_t, std::uint32_t> counts[] = {{100, 6}, {250, 30}, {259, 30}, {260, 29}, {556, 36}};
  for (const auto& [version, count] : counts) EXPECT_EQ(HeldCount(version), count) << "version " << version;
}

// Every version boundary of the numbers: what the file holds is read into its own member and kept,
// what it lacks takes the value of its upgrade, and the reader uses up the file exactly.
TEST_F(SystemDataTest, EveryVersionReadsItsFieldsAndUpgradesTheRest) {
  const std::uint32_t versions[] = {100, 112, 113, 156, 157, 166, 167, 168, 169, 170, 180, 181, 183, 184, 185,
                                    186, 187, 188, 190, 191, 192, 193, 200, 201, 202, 203, 204, 205, 209, 210,
                                    213, 214, 220, 221, 223, 224, 250, 259, 260, 261, 271, 272, 285, 286, 287,
                                    288, 289, 500, 501, 514, 515, 524, 525, 554, 555, 556, 600};
  for (std::uint32_t version : versions) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    SystemFile f = OldProjectFile(version);
    g_DiscardedField = 0;
    cSystemData s;
    const ReadResult result = ReadInto(s, Build(f));
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(result.left, 0u);
    const bool fileHasColourMode = version >= 187;
    for (std::size_t row = 0; row < std::size(kNumericRows); ++row) {
      const NumericRow& r = kNumericRows[row];
      SCOPED_TRACE(r.name);
      if (!r.get) {
        EXPECT_EQ(g_DiscardedField, Holds(r, version) ? static_cast<std::uint32_t>(DistinctValue(row)) : 0u);
        continue;
      }
      std::int64_t expected = Holds(r, version) ? DistinctValue(row) : r.lacking;
      if (expected == kComputed) expected = fileHasColourMode ? 0 : 1;  // the distinct ColourMode is not 0
      EXPECT_EQ(r.get(s), expected);
    }
    // After any read the record is registered for the current version again.
    EXPECT_EQ(s.Fields().size(), 36u);
  }
}

TEST_F(SystemDataTest, Version100HoldsItsFewFieldsAndSections) {
  SystemFile f = OldProjectFile(100);
  f.numbers = {{"ScorePerExtraLife", 250}, {"HideStageWhilePaused", 0}, {"MessageFontLetters", 1},
               {"WorldMapKeepsLives", 0},  {"ChallengeStageCount", 8},  {"ChallengeAllOpen", 0}};
  f.statusItems[2] = {1, 0, 5, 0, "HP"};
  f.startingLives = {3, 4, 5, 6};
  f.menuBgm = {1, 2, 3, 4};
  const cByteBuilder image = Build(f);
  // Version, A = 6 and 24 bytes of numbers, S and an empty title, then the sections.
  EXPECT_EQ(HexBytes(std::vector<std::uint8_t>(image.Data().begin(), image.Data().begin() + 8)),
            "64 00 00 00 06 00 00 00");

  cSystemData s;
  const ReadResult result = ReadInto(s, image);
  EXPECT_FALSE(result.damaged);
  EXPECT_EQ(result.left, 0u);
  EXPECT_EQ(s.m_ScorePerExtraLife, 250);
  EXPECT_EQ(s.m_ChallengeStageCount, 8);
  EXPECT_EQ(s.m_MessageFontLetters, 1);
  EXPECT_EQ(Ints(s.m_StartingLives), (std::vector<std::int32_t>{3, 4, 5, 6}));
  EXPECT_EQ(Ints(s.m_MenuBgm), (std::vector<std::int32_t>{1, 2, 3, 4}));
  // Sections the version lacks: their upgrades.
  EXPECT_EQ(Bytes(s.m_CarryResetFlags), std::vector<std::uint8_t>(25, 0));
  EXPECT_EQ(Ints(s.m_UnlimitedLives), (std::vector<std::int32_t>{0, 0, 0, 1}));
  EXPECT_EQ(Bytes(s.m_MenuBgmLoop), (std::vector<std::uint8_t>{1, 1, 1, 1}));
  // Status-bar entries from before the number switch printed their gauge values.
  ASSERT_EQ(s.m_StatusBarItems.Size(), 5);
  EXPECT_EQ(s.m_StatusBarItems.At(2).m_Digits, 5);
  EXPECT_EQ(s.m_StatusBarItems.At(2).m_Icon, 0);
  for (const cStatusBarItem& item : s.m_StatusBarItems) EXPECT_EQ(item.m_ShowNumber, 1);
  // The texts and the save menu of an old project end up as today's, every insert at its place.
  EXPECT_EQ(Texts(s), NewProjectTexts());
  EXPECT_EQ(Labels(s.m_SaveMenu), Labels(NewProjectFile().saveMenu));
}

// The texts of version 167 as markers, so every insert shows where it went.
TEST_F(SystemDataTest, Version167TakesEveryInsertInOrder) {
  SystemFile f = OldProjectFile(167);
  f.uiTexts.clear();
  for (int i = 0; i < 21; ++i) f.uiTexts.push_back("t" + std::to_string(i));
  f.saveMenu = {{1, "save"}, {0, "back"}, {1, "title"}};
  cSystemData s;
  ASSERT_FALSE(ReadInto(s, Build(f)).damaged);

  EXPECT_EQ(Bytes(s.m_CarryFlags), (std::vector<std::uint8_t>{10, 11, 12, 13, 14, 15, 16, 17, 18, 0,  19, 20, 21,
                                                              22, 23, 0,  24, 25, 1,  26, 27, 28, 29, 30, 31}));
  ASSERT_EQ(s.m_SaveMenu.Size(), 4);
  EXPECT_EQ(Labels(s.m_SaveMenu), (std::vector<std::string>{"save", SJ("オートセーブ"), "back", "title"}));
  EXPECT_EQ(s.m_SaveMenu.At(1).m_Shown, 1);
  EXPECT_EQ(s.m_SaveMenu.At(2).m_Shown, 0);
  std::vector<std::string> expected = {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7"};
  expected.push_back(SJ("残りHP"));
  expected.push_back(SJ("残りSP"));
  for (const char* t : {"t8", "t9", "t10", "t11"}) expected.push_back(t);
  expected.push_back(SJ("オートセーブＯＮ"));
  expected.push_back(SJ("オートセーブＯＦＦ"));
  expected.push_back(SJ("保存先が不明です！一度は「セーブ」して下さい！"));
  for (const char* t : {"t12", "t13", "t14", "t15", "t16"}) expected.push_back(t);
  expected.push_back(SJ("リトライ"));
  expected.push_back(SJ("マップへ戻る"));
  for (const char* t : {"t17", "t18", "t19", "t20"}) expected.push_back(t);
  EXPECT_EQ(Texts(s), expected);
}

TEST_F(SystemDataTest, Version168KeepsItsOwnCarryFlagAt16) {
  SystemFile f = OldProjectFile(168);
  f.carryFlags.push_back(32);  // 23 flags: the flag at 16 is already there
  cSystemData s;
  ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
  EXPECT_EQ(Bytes(s.m_CarryFlags), (std::vector<std::uint8_t>{10, 11, 12, 13, 14, 15, 16, 17, 18, 0,  19, 20, 21,
                                                              22, 23, 0,  24, 25, 26, 27, 28, 29, 30, 31, 32}));
  // The auto-save entry still comes in, at 1.
  EXPECT_EQ(s.m_SaveMenu.At(1).m_Label, SJ("オートセーブ"));
  EXPECT_EQ(Texts(s), NewProjectTexts());
}

// Files without the ranking section keep the new project's sets; the oldest of them without the
// HP and SP rankings.
TEST_F(SystemDataTest, RankingSetsByVersion) {
  struct RankingCase {
    std::uint32_t version;
    std::vector<std::uint8_t> storyFlags;
    std::int32_t replayEnabled;
  };
  const RankingCase cases[] = {
      {180, {1, 1, 1, 0, 0}, 0},
      {185, {1, 1, 1, 1, 1}, 0},
      {186, {0, 1, 0, 1, 0}, 1},
  };
  for (const RankingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version);
    SystemFile f = OldProjectFile(c.version);
    f.rankingSets = {{1, {0, 1, 0, 1, 0}}, {1, {0, 1, 0, 1, 0}}, {0, {1, 1}}, {1, {1, 1, 1, 1, 1, 1}}};
    cSystemData s;
    ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
    ASSERT_EQ(s.m_RankingSets.Size(), 4);
    EXPECT_EQ(Bytes(s.m_RankingSets.At(0).m_Flags), c.storyFlags);
    EXPECT_EQ(s.m_RankingSets.At(3).m_Enabled, c.replayEnabled);
  }
  SystemFile f = OldProjectFile(180);
  cSystemData s;
  ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
  for (int set = 0; set < 3; ++set) EXPECT_EQ(s.m_RankingSets.At(set).m_Enabled, 1);
  EXPECT_EQ(Bytes(s.m_RankingSets.At(3).m_Flags), std::vector<std::uint8_t>(5, 0));
}

TEST_F(SystemDataTest, Version285GainsTheRendererKey) {
  struct KeyCase {
    std::uint32_t version;
    std::int32_t vsync;
    std::int32_t vsyncAfter;
  };
  const KeyCase cases[] = {{285, 1, 1}, {285, 2, 2}, {285, 3, 2}, {285, 9, 2}, {285, -1, -1}};
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "VSync " << c.vsync);
    SystemFile f = OldProjectFile(c.version);
    f.iniKeys[2].intValue = c.vsync;
    cSystemData s;
    ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
    ASSERT_EQ(s.m_SystemIniKeys.Size(), 6);
    const std::string names[] = {"Direct3D", "WindowMode", "Bpp", "VSync", "ShowFps", "FreeStage"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(s.m_SystemIniKeys.At(k).m_IniName, names[k]);
    EXPECT_EQ(s.m_SystemIniKeys.At(0).m_Kind, cSystemIniKey::kIntKey);
    EXPECT_EQ(s.m_SystemIniKeys.At(0).m_IntValue, 1);
    EXPECT_EQ(s.m_SystemIniKeys.At(2).m_IntValue, 16);
    EXPECT_EQ(s.m_SystemIniKeys.At(3).m_IntValue, c.vsyncAfter);
    EXPECT_EQ(s.m_SystemIniKeys.At(5).m_Kind, cSystemIniKey::kStringKey);
    EXPECT_EQ(s.m_SystemIniKeys.At(5).m_StringValue, "stage");
  }
  // From 286 on the keys are read as they stand.
  SystemFile f = NewProjectFile();
  f.version = 286;
  f.iniKeys[3].intValue = 5;
  cSystemData s;
  ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
  EXPECT_EQ(s.m_SystemIniKeys.At(0).m_IntValue, 2);
  EXPECT_EQ(s.m_SystemIniKeys.At(3).m_IntValue, 5);
}

TEST_F(SystemDataTest, ColourCyclingFollowsTheColourModeBelow289) {
  struct CyclingCase {
    std::uint32_t version;
    std::int32_t colourMode;
    std::int32_t cycling;
  };
  const CyclingCase cases[] = {{288, 0, 1}, {288, 1, 0}, {288, 2, 0}, {289, 0, 7}, {289, 1, 7}};
  for (const CyclingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " mode " << c.colourMode);
    SystemFile f = OldProjectFile(c.version);
    f.numbers["ColourMode"] = c.colourMode;
    f.numbers["SystemColourCycling"] = 7;
    cSystemData s;
    ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
    EXPECT_EQ(s.m_SystemColourCycling, c.cycling);
  }
}

TEST_F(SystemDataTest, PalettePicturesBefore187KeyOnGreen) {
  for (std::uint32_t version : {100u, 180u, 186u}) {
    SystemFile f = OldProjectFile(version);
    cSystemData s;
    s.m_ColourMode = 1;
    ASSERT_FALSE(ReadInto(s, Build(f)).damaged);
    EXPECT_EQ(s.m_ColourMode, 0);
    EXPECT_EQ(s.m_TransparentRed, 0);
    EXPECT_EQ(s.m_TransparentGreen, 177);
    EXPECT_EQ(s.m_TransparentBlue, 0);
    EXPECT_EQ(s.m_SystemColourCycling, 1);
  }
}

// Current and newer files are read as they stand: no insert, no switch set.
TEST_F(SystemDataTest, CurrentAndNewerFilesAreNotUpgraded) {
  for (std::uint32_t version : {556u, 557u, 900u}) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    SystemFile f = NewProjectFile();
    f.version = version;
    f.uiTexts.resize(26);
    f.uiTexts[8] = "eight";
    f.carryFlags = {5, 5, 5};
    f.unlimitedLives = {0, 1};
    f.iniKeys = {{0, "WindowMode", 1, ""}};
    cSystemData s;
    const ReadResult result = ReadInto(s, Build(f));
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(result.left, 0u);
    EXPECT_EQ(s.m_LegacyEdgeEntry, 0);
    EXPECT_EQ(s.m_LegacyScrollSync, 0);
    EXPECT_EQ(s.m_UiTexts.At(8), "eight");
    EXPECT_EQ(s.m_UiTexts.At(9), SJ("残りSP"));
    // Short lists are filled up with the new project's rows, not shifted.
    EXPECT_EQ(s.m_UiTexts.At(26), SJ("スペースキーで終了"));
    EXPECT_EQ(Bytes(s.m_CarryFlags),
              (std::vector<std::uint8_t>{5, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Ints(s.m_UnlimitedLives), (std::vector<std::int32_t>{0, 1, 1, 1}));
    EXPECT_EQ(s.m_SystemIniKeys.At(0).m_IniName, "WindowMode");
    EXPECT_EQ(s.m_SystemIniKeys.At(5).m_IniName, "FreeStage");
  }
}

}  // namespace
