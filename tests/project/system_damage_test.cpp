// Damaged, hostile and short System.dat files: reported as damaged, never a crash, and every list
// that later code indexes still holds its fixed rows. And the clamp of the menu music rows.
#include "tests/project/system_fixture.h"

namespace {

using namespace system_file;

// Every list later code reads by fixed index holds at least that many rows.
void ExpectFixedLengths(const cSystemData& s) {
  EXPECT_GE(s.m_CarryFlags.Size(), 25);
  EXPECT_GE(s.m_CarryResetFlags.Size(), 25);
  EXPECT_GE(s.m_StatusBarItems.Size(), 5);
  EXPECT_GE(s.m_TitleMenu.Size(), 7);
  EXPECT_GE(s.m_SaveMenu.Size(), 4);
  EXPECT_GE(s.m_OptionMenu.Size(), 6);
  EXPECT_GE(s.m_StartingLives.Size(), 4);
  EXPECT_GE(s.m_UnlimitedLives.Size(), 4);
  ASSERT_GE(s.m_RankingSets.Size(), 4);
  for (const cSystemFlagSet& set : s.m_RankingSets) EXPECT_GE(set.m_Flags.Size(), 5);
  EXPECT_GE(s.m_UiTexts.Size(), 28);
  EXPECT_GE(s.m_SoundFiles.Size(), 17);
  EXPECT_GE(s.m_MenuBgm.Size(), 4);
  EXPECT_GE(s.m_MenuBgmLoop.Size(), 4);
  EXPECT_GE(s.m_SystemIniKeys.Size(), 6);
}

TEST_F(SystemDataTest, EveryTruncationIsReportedAsDamaged) {
  for (std::uint32_t version : {100u, 250u, 556u}) {
    SystemFile f = version == 556 ? NewProjectFile() : OldProjectFile(version);
    f.version = version;
    f.title = "title";
    const std::vector<std::uint8_t> whole = Build(f).Data();
    for (std::size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE(testing::Message() << "version " << version << ", " << length << " of " << whole.size());
      cSystemData s;
      const ReadResult result =
          ReadInto(s, cByteBuilder().Bytes(std::vector<std::uint8_t>(whole.begin(), whole.begin() + length)));
      EXPECT_TRUE(result.damaged);
      ExpectFixedLengths(s);
      if (HasFailure()) return;
    }
  }
}

TEST_F(SystemDataTest, InflatedCountsAreRefused) {
  const char sections[] = "abcdefghijklmn";
  for (const char* section = sections; *section; ++section) {
    for (std::uint32_t count : {0xFFFFFFFFu, 0x40000000u, 0x00100000u}) {
      SCOPED_TRACE(testing::Message() << "section " << *section << " count " << count);
      SystemFile f = NewProjectFile();
      f.countOverride[*section] = count;
      cSystemData s;
      EXPECT_TRUE(ReadInto(s, Build(f)).damaged);
      ExpectFixedLengths(s);
    }
  }
}

TEST_F(SystemDataTest, MalformedBodiesAreReportedAsDamaged) {
  struct BodyCase {
    const char* name;
    cByteBuilder image;
    bool failureLine;  // more members than registered: the bounds failure closes the game
  };
  const std::vector<std::uint8_t> good = Build(NewProjectFile()).Data();
  auto patched = [&](std::size_t offset, std::uint32_t word) {
    std::vector<std::uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(word >> (8 * i));
    return cByteBuilder().Bytes(bytes);
  };
  const BodyCase cases[] = {
      {"A one more than registered", patched(4, 37), true},
      {"A = 0x7FFFFFFF", patched(4, 0x7FFFFFFF), true},
      {"two strings", patched(143, 2), true},
      {"title length past the end", patched(147, 0x10000000), false},
      {"version 100 with the numbers of 556", patched(0, 100), true},
  };
  for (const BodyCase& c : cases) {
    SCOPED_TRACE(c.name);
    cSystemData s;
    EXPECT_TRUE(ReadInto(s, c.image).damaged);
    ExpectFixedLengths(s);
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), c.failureLine ? 1 : 0);
  }
}

// A damaged element inside a section: a status item that claims more numbers than it registers.
TEST_F(SystemDataTest, DamagedElementsLeaveUsableLists) {
  SystemFile items = NewProjectFile();
  items.statusItems.resize(1);
  std::vector<std::uint8_t> bytes = Build(items).Data();
  // The item's A word follows the title's S and L words and the two carry sections.
  const std::size_t itemA = 147 + 4 + 4 + 25 + 4 + 25 + 4;
  ASSERT_EQ(bytes[itemA], 4);
  bytes[itemA] = 9;
  cSystemData s;
  EXPECT_TRUE(ReadInto(s, cByteBuilder().Bytes(bytes)).damaged);
  ExpectFixedLengths(s);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

// Lists shorter than their meanings are filled up with the new project's rows; longer lists keep
// their extra rows.
TEST_F(SystemDataTest, ShortListsAreFilledUpWithTheDefaultRows) {
  SystemFile f = NewProjectFile();
  f.carryFlags = {};
  f.carryResetFlags = {9};
  f.statusItems = {{0, 0, 1, 1, "X"}};
  f.startingLives = {};
  f.unlimitedLives = {0};
  f.rankingSets = {{0, {}}};
  f.uiTexts = {};
  f.soundFiles = {"a.wav"};
  f.menuBgm = {};
  f.menuBgmLoop = {};
  f.titleMenu = Menu({"A", "B", "C", "D", "E", "F", "G", "H", "I"});
  f.saveMenu = {};
  f.optionMenu = {{0, "O"}};
  f.iniKeys = {};
  cSystemData s;
  const ReadResult result = ReadInto(s, Build(f));
  EXPECT_FALSE(result.damaged);
  const SystemFile d = NewProjectFile();
  EXPECT_EQ(std::vector<std::uint8_t>(s.m_CarryFlags.begin(), s.m_CarryFlags.end()), d.carryFlags);
  EXPECT_EQ(s.m_CarryResetFlags.At(0), 9);
  EXPECT_EQ(s.m_CarryResetFlags.At(11), 1);
  EXPECT_EQ(s.m_StatusBarItems.At(0).m_Label, "X");
  EXPECT_EQ(s.m_StatusBarItems.At(4).m_Label, SJ("人"));
  EXPECT_EQ(std::vector<std::int32_t>(s.m_StartingLives.begin(), s.m_StartingLives.end()), d.startingLives);
  EXPECT_EQ(std::vector<std::int32_t>(s.m_UnlimitedLives.begin(), s.m_UnlimitedLives.end()),
            (std::vector<std::int32_t>{0, 1, 1, 1}));
  EXPECT_EQ(std::vector<std::uint8_t>(s.m_RankingSets.At(0).m_Flags.begin(), s.m_RankingSets.At(0).m_Flags.end()),
            std::vector<std::uint8_t>(5, 0));
  EXPECT_EQ(s.m_RankingSets.At(1).m_Enabled, 1);
  EXPECT_EQ(std::vector<std::string>(s.m_UiTexts.begin(), s.m_UiTexts.end()), d.uiTexts);
  EXPECT_EQ(s.m_SoundFiles.At(0), "a.wav");
  EXPECT_EQ(s.m_SoundFiles.Size(), 17);
  EXPECT_EQ(s.m_MenuBgmLoop.At(3), 1);
  EXPECT_EQ(s.m_TitleMenu.Size(), 9);
  EXPECT_EQ(Labels(s.m_SaveMenu), Labels(d.saveMenu));
  EXPECT_EQ(s.m_OptionMenu.At(0).m_Shown, 0);
  EXPECT_EQ(s.m_OptionMenu.At(5).m_Label, SJ("もどる"));
  EXPECT_EQ(s.m_SystemIniKeys.At(0).m_IniName, "Direct3D");
  EXPECT_EQ(s.m_SystemIniKeys.At(5).m_Kind, cSystemIniKey::kStringKey);
}

TEST_F(SystemDataTest, MenuMusicRowsOutsideTheTableBecomeZero) {
  struct ClampCase {
    int musics;
    std::vector<std::int32_t> rows;
    std::vector<std::int32_t> clamped;
  };
  const ClampCase cases[] = {
      {5, {4, 5, 6, -1}, {4, 0, 0, 0}},
      {5, {0, 1, 2, 3, 0x7FFFFFFF}, {0, 1, 2, 3, 0}},
      {0, {0, 1, 2, 3}, {0, 0, 0, 0}},
      {-3, {0, 1, 2, 3}, {0, 0, 0, 0}},
  };
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "rows of the music table: " << c.musics);
    LoadContext().database.musics = c.musics;
    // After reading.
    SystemFile f = NewProjectFile();
    f.menuBgm = c.rows;
    cSystemData read;
    ASSERT_FALSE(ReadInto(read, Build(f)).damaged);
    EXPECT_EQ(std::vector<std::int32_t>(read.m_MenuBgm.begin(), read.m_MenuBgm.end()), c.clamped);
    // And before writing.
    cSystemData written;
    written.m_MenuBgm.assign(c.rows.begin(), c.rows.end());
    SystemFile expected = NewProjectFile();
    expected.menuBgm = c.clamped;
    EXPECT_EQ(HexBytes(Written(written)), HexBytes(Build(expected).Data()));
    EXPECT_EQ(std::vector<std::int32_t>(written.m_MenuBgm.begin(), written.m_MenuBgm.end()), c.clamped);
  }
}

TEST_F(SystemDataTest, ChallengeStagesAreNeverNegative) {
  const std::pair<std::int32_t, int> cases[] = {{-5, 0}, {0, 0}, {40, 40}, {-2147483647 - 1, 0}};
  for (const auto& [stored, stages] : cases) {
    cSystemData s;
    s.m_ChallengeStageCount = stored;
    EXPECT_EQ(s.ChallengeStages(), stages) << stored;
  }
}

}  // namespace
