// System.dat as the current version writes it: a new project's file byte for byte, the place of
// every number, and write -> read -> write giving the same bytes.
#include "tests/project/system_fixture.h"

namespace {

using namespace system_file;

// The byte offsets of the numbers in a version-556 file, as the layout gives them.
struct OffsetRow {
  const char* name;
  std::size_t offset;
};
const OffsetRow kOffsets[] = {
    {"ExtraLifeByScore", 8},          {"ScorePerExtraLife", 12},       {"HideStageWhilePaused", 16},
    {"MessageFontLetters", 20},       {"FontFaceIndex", 24},           {"MessageFontCentred", 28},
    {"KeepMarkedFlows", 32},          {"ReplayRecording", 36},         {"TitleMenuImages", 40},
    {"WorldMapKeepsLives", 44},       {"StoryRetryMenu", 48},          {"WorldMapLivesWindow", 52},
    {"ChallengeStageCount", 56},      {"ChallengeAllOpen", 60},        {"StoryShowStageScores", 64},
    {"StoryShowTotalScore", 68},      {"StoryRestoreOnRetry", 72},     {"StoryPauseRetry", 76},
    {"ChallengeShowStageScores", 80}, {"ChallengeShowTotalScore", 84}, {"ChallengeRestoreOnRetry", 88},
    {"ChallengePauseRetry", 92},      {"FreeRestoreOnRetry", 96},      {"TestPlayRestoreOnRetry", 100},
    {"ColourMode", 104},              {"TransparentRed", 108},         {"TransparentGreen", 109},
    {"TransparentBlue", 110},         {"LegacyScrollSync", 111},       {"LegacyScaleAnchor", 115},
    {"KeepDeadCharacters", 119},      {"SystemColourTint", 123},       {"SystemColourStep", 127},
    {"SystemColourCycling", 131},     {"LegacyFlowRetrigger", 135},    {"LegacyEdgeEntry", 139},
};

// Sets every number of the record to its distinct value through the record's own members.
void SetDistinctNumbers(cSystemData& s) {
  s.m_ExtraLifeByScore = 1000;
  s.m_ScorePerExtraLife = 1001;
  s.m_HideStageWhilePaused = 1002;
  s.m_MessageFontLetters = 1003;
  s.m_FontFaceIndex = 1004;
  s.m_MessageFontCentred = 1005;
  s.m_KeepMarkedFlows = 1006;
  s.m_ReplayRecording = 1007;
  s.m_TitleMenuImages = 1008;
  s.m_WorldMapKeepsLives = 1009;
  s.m_StoryRetryMenu = 1010;
  s.m_WorldMapLivesWindow = 1011;
  s.m_ChallengeStageCount = 1012;
  s.m_ChallengeAllOpen = 1013;
  s.m_StoryShowStageScores = 1014;
  s.m_StoryShowTotalScore = 1015;
  s.m_StoryRestoreOnRetry = 1016;
  s.m_StoryPauseRetry = 1017;
  s.m_ChallengeShowStageScores = 1018;
  s.m_ChallengeShowTotalScore = 1019;
  s.m_ChallengeRestoreOnRetry = 1020;
  s.m_ChallengePauseRetry = 1021;
  s.m_FreeRestoreOnRetry = 1022;
  s.m_TestPlayRestoreOnRetry = 1023;
  s.m_ColourMode = 1024;
  s.m_TransparentRed = 125;
  s.m_TransparentGreen = 126;
  s.m_TransparentBlue = 127;
  s.m_LegacyScrollSync = 1028;
  s.m_LegacyScaleAnchor = 1030;
  s.m_KeepDeadCharacters = 1031;
  s.m_SystemColourTint = 1032;
  s.m_SystemColourStep = 1033;
  s.m_SystemColourCycling = 1034;
  s.m_LegacyFlowRetrigger = 1035;
  s.m_LegacyEdgeEntry = 1036;
}

std::int64_t NumberAt(const std::vector<std::uint8_t>& file, std::size_t offset, int width) {
  if (width == 1) return file.at(offset);
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | file.at(offset + static_cast<std::size_t>(i));
  return static_cast<std::int32_t>(bits);
}

TEST_F(SystemDataTest, NewProjectWritesItsDefaultsByteForByte) {
  cSystemData s;
  const std::vector<std::uint8_t> written = Written(s);
  const cByteBuilder expected = Build(NewProjectFile());
  EXPECT_EQ(HexBytes(written), HexBytes(expected.Data()));
}

TEST_F(SystemDataTest, NumbersSitAtTheirOffsetsAndTitleFollows) {
  ASSERT_EQ(HeldCount(556), 36u);
  cSystemData s;
  SetDistinctNumbers(s);
  s.m_Title = "Quest";
  const std::vector<std::uint8_t> file = Written(s);
  ASSERT_GT(file.size(), 160u);
  EXPECT_EQ(NumberAt(file, 0, 4), 556);
  EXPECT_EQ(NumberAt(file, 4, 4), 36);
  for (std::size_t row = 0; row < std::size(kNumericRows); ++row) {
    if (!Holds(kNumericRows[row], 556)) continue;
    SCOPED_TRACE(kNumericRows[row].name);
    const OffsetRow* place = nullptr;
    for (const OffsetRow& o : kOffsets)
      if (std::string(o.name) == kNumericRows[row].name) place = &o;
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(NumberAt(file, place->offset, kNumericRows[row].width), DistinctValue(row));
  }
  // The numeric block is 135 bytes: S and the title follow at 143 and 147.
  EXPECT_EQ(NumberAt(file, 143, 4), 1);
  EXPECT_EQ(NumberAt(file, 147, 4), 6);
  EXPECT_EQ(std::string(file.begin() + 151, file.begin() + 157), std::string("Quest\0", 6));
}

TEST_F(SystemDataTest, NewProjectHoldsTheDefaultSettings) {
  cSystemData s;
  const SystemFile f = NewProjectFile();
  for (std::size_t row = 0; row < std::size(kNumericRows); ++row) {
    if (!kNumericRows[row].get) continue;
    SCOPED_TRACE(kNumericRows[row].name);
    EXPECT_EQ(kNumericRows[row].get(s), kNumericRows[row].newProject);
  }
  EXPECT_EQ(s.m_Title, "");
  EXPECT_EQ(std::vector<std::string>(s.m_UiTexts.begin(), s.m_UiTexts.end()), f.uiTexts);
  EXPECT_EQ(Labels(s.m_TitleMenu), Labels(f.titleMenu));
  EXPECT_EQ(Labels(s.m_SaveMenu), Labels(f.saveMenu));
  EXPECT_EQ(Labels(s.m_OptionMenu), Labels(f.optionMenu));
  for (const auto* menu : {&s.m_TitleMenu, &s.m_SaveMenu, &s.m_OptionMenu})
    for (const cSystemMenuItem& item : *menu) EXPECT_EQ(item.m_Shown, 1);
  ASSERT_EQ(s.m_StatusBarItems.Size(), 5);
  EXPECT_EQ(s.m_StatusBarItems.At(4).m_Label, SJ("人"));
  EXPECT_EQ(s.m_StatusBarItems.At(0).m_Digits, 4);
  EXPECT_EQ(s.m_StatusBarItems.At(2).m_ShowNumber, 0);
  EXPECT_EQ(s.m_SystemIniKeys.At(5).m_Kind, cSystemIniKey::kStringKey);
  EXPECT_EQ(s.m_SystemIniKeys.At(3).m_IniName, "VSync");
  EXPECT_EQ(s.m_SystemIniKeys.At(3).m_IntValue, 2);
}

// A record with values everywhere, longer lists than the fixed lengths included, comes back the
// same and writes the same bytes again.
TEST_F(SystemDataTest, WriteReadWriteIsByteIdentical) {
  cSystemData s;
  SetDistinctNumbers(s);
  s.m_Title = "Title\twith tab";
  s.m_CarryFlags.push_back(7);
  s.m_CarryResetFlags.assign(30, 3);
  s.m_StatusBarItems.At(2).m_ShowNumber = 1;
  s.m_StatusBarItems.push_back(s.m_StatusBarItems.At(1));
  s.m_RankingSets.At(3).m_Flags = {1, 0, 1, 0, 0, 1};
  s.m_RankingSets.At(0).m_Flags.push_back(9);
  s.m_UiTexts.At(3) = "100%";
  s.m_UiTexts.push_back("extra");
  s.m_SoundFiles.At(16) = "wave\\cursor.wav";
  s.m_MenuBgm = {1, 2, 3, 9, 4};
  s.m_MenuBgmLoop = {0, 1, 0, 1};
  s.m_TitleMenu.At(4).m_Shown = 0;
  s.m_OptionMenu.resize(8);
  s.m_SystemIniKeys.At(5).SetString("FreeStage", "stage01");
  const std::vector<std::uint8_t> first = Written(s);

  cSystemData back;
  const ReadResult result = ReadInto(back, cByteBuilder().Bytes(first));
  EXPECT_FALSE(result.damaged);
  EXPECT_EQ(result.left, 0u);
  EXPECT_EQ(back.m_Title, s.m_Title);
  EXPECT_EQ(back.m_OptionMenu.Size(), 8);
  EXPECT_EQ(back.m_UiTexts.At(28), "extra");
  EXPECT_EQ(back.m_ChallengeStageCount, 1012);
  EXPECT_EQ(HexBytes(Written(back)), HexBytes(first));
}

TEST_F(SystemDataTest, ElementBodiesAndSizedStrings) {
  cStatusBarItem item;
  item.m_Shown = 1;
  item.m_Icon = 2;
  item.m_Digits = 3;
  item.m_ShowNumber = 4;
  item.m_Label = "L";
  cRecordWriter out;
  item.Write(out);
  EXPECT_EQ(HexBytes(out.Bytes()), HexBytes(cByteBuilder().U32(4).I32(1).I32(2).I32(3).I32(4).U32(1).Str("L").Data()));

  cRecordWriter texts;
  WriteSizedString("", texts);
  WriteSizedString("abc", texts);
  EXPECT_EQ(HexBytes(texts.Bytes()), "01 00 00 00 04 00 00 00 61 62 63 00");

  cRecordReader in(cByteBuilder().U32(556).U32(4).Bytes({0x61, 0x62, 0x63, 0x00}).U32(1).Data());
  std::string text = "old", empty = "old";
  EXPECT_TRUE(ReadSizedString(text, in));
  EXPECT_TRUE(ReadSizedString(empty, in));
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(empty, "");
}

TEST_F(SystemDataTest, ShiftUpFromMakesRoomAtAnIndex) {
  struct ShiftCase {
    std::vector<int> before;
    int k;
    std::vector<int> after;
  };
  const ShiftCase cases[] = {
      {{1, 2, 3, 4}, 1, {1, 2, 2, 3}},
      {{1, 2, 3, 4}, 0, {1, 1, 2, 3}},
      {{1, 2, 3, 4}, 3, {1, 2, 3, 4}},
      {{1, 2, 3, 4}, 7, {1, 2, 3, 4}},
      {{}, 0, {}},
  };
  for (const ShiftCase& c : cases) {
    std::vector<int> v = c.before;
    ShiftUpFrom(v, c.k);
    EXPECT_EQ(v, c.after) << "k = " << c.k;
  }
}

TEST_F(SystemDataTest, LoadFileReadsTheProjectSettings) {
  SystemFile f = NewProjectFile();
  f.title = SJ("冒険");
  f.numbers["ChallengeStageCount"] = 12;
  WriteHostFile("data/System.dat", Build(f).Text());
  cSystemData s;
  EXPECT_EQ(s.LoadFile("data\\System.dat"), 1);
  EXPECT_FALSE(LastRecordReadDamaged());
  EXPECT_EQ(s.m_Title, SJ("冒険"));
  EXPECT_EQ(s.m_ChallengeStageCount, 12);

  cSystemData missing;
  EXPECT_EQ(missing.LoadFile("data\\Nothing.dat"), 0);
  EXPECT_EQ(missing.m_ChallengeStageCount, 40);
}

}  // namespace
