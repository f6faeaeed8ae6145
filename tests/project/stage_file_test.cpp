// The stage file: its layout, the upgrades of older versions, the end marker, the speed level,
// normalisation, the header copy and damaged files.
#include "tests/project/stage_fixture.h"

namespace {

using stagetest::OldStage;
using stagetest::ReadStage;
using stagetest::StageFile;
using stagetest::StageTest;

std::uint32_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST_F(StageTest, DefaultFileStartsWithTheVersionAndCountAndEndsWithTheMarker) {
  cStageData stage;
  const std::vector<std::uint8_t> bytes = StageFile(stage);
  ASSERT_GT(bytes.size(), 16u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
            (std::vector<std::uint8_t>{0x2C, 0x02, 0, 0, 0x62, 0, 0, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<std::uint8_t>{0x15, 0xCD, 0x5B, 0x07}));
  // Offsets of the field table: frame rate at 56, speed level at 96 (after the f64 gravity), steps
  // per frame at 356, an invincibility row at 408, then the name's string count at 424.
  EXPECT_EQ(WordAt(bytes, 56), 60u);
  EXPECT_EQ(WordAt(bytes, 96), 10u);
  EXPECT_EQ(WordAt(bytes, 356), 10u);
  EXPECT_EQ(WordAt(bytes, 408), 30u);
  EXPECT_EQ(WordAt(bytes, 424), 1u);
}

TEST_F(StageTest, WriteReadWriteIsByteIdentical) {
  cStageData stage;
  stage.m_Name = "castle";
  stage.SetField(kStageWidth, 80);
  stage.SetField(kStageHeight, 30);
  stage.m_PaletteBlocks.resize(3);
  stage.m_PaletteBlocks[2].m_ChipIndex = 5;
  stage.m_PlacedBlocks.resize(2);
  stage.m_PlacedBlocks[1].m_PosX = 7;
  stage.m_PlacedCharas.push_back(stagetest::Hero());
  stage.m_PlacedItems.resize(1);
  stage.m_BgLayers.resize(2);
  stage.m_BgLayers[1].m_FileName = "sky.bmp";
  stage.m_BgLayers[1].m_RateX = 0.25;
  stage.m_Texts.resize(1);
  stage.m_Texts[0].m_Text = "memo";
  stage.m_ResultSwitches = {1, 0, 1, 0, 1, 1, 0};
  stage.m_Rules[1].Set(1, 0, 1, 0, 2, 3, 4, 5);
  const std::vector<std::uint8_t> first = StageFile(stage);

  cStageData again;
  EXPECT_FALSE(ReadStage(again, first));
  EXPECT_EQ(again.m_Name, "castle");
  EXPECT_EQ(again.m_PlacedBlocks.size(), 2u);
  EXPECT_EQ(again.m_BgLayers.at(1).m_FileName, "sky.bmp");
  EXPECT_EQ(again.m_ResultSwitches.size(), 7u);
  EXPECT_EQ(again.m_Rules[1].m_Margins[3], 5u);
  EXPECT_EQ(StageFile(again), first);
}

TEST_F(StageTest, PalettesAreWrittenWithAtLeastTwoEntriesAndEntryZeroAtTheDefaults) {
  cStageData stage;
  ASSERT_EQ(stage.m_PaletteCharas.size(), 1u);
  stage.m_PaletteCharas[0].m_Name = "not empty";
  stage.m_PaletteCharas[0].m_MaxHp = 99;
  const std::vector<std::uint8_t> bytes = StageFile(stage);
  cStageData again;
  ReadStage(again, bytes);
  EXPECT_EQ(again.m_PaletteBlocks.size(), 2u);
  EXPECT_EQ(again.m_PaletteCharas.size(), 2u);
  EXPECT_EQ(again.m_PaletteItems.size(), 2u);
  EXPECT_EQ(again.m_PaletteCharas[0].m_Name, "");
  EXPECT_EQ(again.m_PaletteCharas[0].m_MaxHp, 10);
}

TEST_F(StageTest, Version180GetsTheMissingResultSwitchesAndOlderUpgrades) {
  OldStage old;
  old.version = 180;
  old.switches = {1, 0, 1};
  old.values = {{39, 20}, {40, 28}, {63, 14}, {64, 22}, {20, 0.5}, {21, 3}};
  cStageData stage;
  ASSERT_FALSE(ReadStage(stage, old.Build().Data()));
  EXPECT_EQ(stage.m_ResultSwitches, (CheckedVector<std::uint32_t>{1, 0, 1, 0, 0}));
  EXPECT_EQ(stage.Field(kMusicLoops), 0);      // 166 and later hold it
  EXPECT_EQ(stage.Field(kStatusBarShown), 1);  // below 183
  EXPECT_EQ(stage.Field(kStartBanner), 0);     // below 225
  EXPECT_EQ(stage.m_Rules[2].m_Sides[0], 2u);
  EXPECT_DOUBLE_EQ(stage.RealField(kGravityField), 0.5);
  EXPECT_EQ(stage.Field(kStepsPerFrameField), 3);
}

TEST_F(StageTest, OldFilesTakeTheUpgradeValuesNotThePreviousStage) {
  // The stage in memory holds odd values; an old file must not inherit them.
  g_Stage.m_Rules[4].Set(0, 0, 0, 0, 9, 9, 9, 9);
  g_Stage.SetField(kKeepMusicOnRestart, 1);
  OldStage old;
  old.version = 120;
  old.withMarker = false;
  cStageData& stage = g_Stage;
  ASSERT_FALSE(ReadStage(stage, old.Build().Data()));
  // Below 125 a rule holds the left switch and four margins; the other switches are a new stage's.
  EXPECT_EQ(stage.m_Rules[4].m_Sides[0], 4u);
  EXPECT_EQ(stage.m_Rules[4].m_Sides[1], 1u);
  EXPECT_EQ(stage.m_Rules[4].m_Sides[3], 1u);
  EXPECT_EQ(stage.m_Rules[4].m_Margins[3], 4u);
  EXPECT_EQ(stage.Field(kMusicLoops), 1);  // below 166
  EXPECT_EQ(stage.Field(kKeepMusicOnRestart), 0);
}

TEST_F(StageTest, Version199BoxSizesComeFromTheUpgrade) {
  OldStage old;
  old.version = 199;
  old.values = {{39, 40}, {41, 41}};
  cStageData stage;
  stage.SetField(StageField(35), 3);
  stage.SetField(StageField(60), 3);
  ASSERT_FALSE(ReadStage(stage, old.Build().Data()));
  const std::vector<std::pair<int, std::int32_t>> expected = {
      {35, 16}, {36, 24}, {37, 16}, {38, 16}, {47, 1}, {48, 0}, {51, 0}, {55, 5},
      {59, 16}, {60, 30}, {61, 16}, {62, 30}, {69, 1}, {70, 1}, {39, 40}, {41, 41}};
  for (const auto& [row, value] : expected) EXPECT_EQ(stage.Field(StageField(row)), value) << "row " << row;
}

TEST_F(StageTest, Version154FlyingBoxesTakeTheWalkingOnes) {
  OldStage old;
  old.version = 154;
  old.values = {{39, 20}, {40, 28}, {63, 14}, {64, 22}};
  cStageData stage;
  ASSERT_FALSE(ReadStage(stage, old.Build().Data()));
  EXPECT_EQ(stage.Field(StageField(41)), 20);
  EXPECT_EQ(stage.Field(StageField(42)), 28);
  EXPECT_EQ(stage.Field(StageField(65)), 14);
  EXPECT_EQ(stage.Field(StageField(66)), 22);
  EXPECT_EQ(stage.Field(StageField(49)), 0);
}

TEST_F(StageTest, EachUpgradeAppliesBelowItsVersionAndNotFromIt) {
  struct Case {
    std::uint32_t version;
    StageField field;
    std::int32_t inFile;  // written when the version holds the field
    std::int32_t expected;
  };
  // clang-format off
  const Case cases[] = {
      {154, kHeroSubBoxFlyW, 9, 20},         {155, kHeroSubBoxFlyW, 9, 9},  // the walking width is 20
      {154, kCharaSubBoxFlyPlace, 1, 0},     {155, kCharaSubBoxFlyPlace, 1, 1},
      {165, kMusicLoops, 0, 1},              {166, kMusicLoops, 0, 0},
      {182, kStatusBarShown, 0, 1},          {183, kStatusBarShown, 0, 0},
      {183, kClearResultEndsByItself, 1, 0}, {184, kClearResultEndsByItself, 1, 1},
      {198, kKeepMusicOnRestart, 1, 0},      {199, kKeepMusicOnRestart, 1, 1},
      {199, kMainBoxOverlayColour, 2, 5},    {200, kMainBoxOverlayColour, 2, 2},
      {199, kCharaMainBoxFlyH, 7, 30},       {200, kCharaMainBoxFlyH, 7, 7},
      {224, kStartBanner, 1, 0},             {225, kStartBanner, 1, 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " field " << int(c.field));
    OldStage old;
    old.version = c.version;
    old.values = {{kHeroSubBoxWalkW, 20}, {c.field, c.inFile}};
    cStageData stage;
    ASSERT_FALSE(ReadStage(stage, old.Build().Data()));
    EXPECT_EQ(stage.Field(c.field), c.expected);
  }
}

TEST_F(StageTest, EndMarkerIsIgnoredAt173AndRefusedFrom174) {
  struct Case {
    std::uint32_t version;
    bool withMarker;
    std::uint32_t marker;
    bool damaged;
  };
  const Case cases[] = {
      {172, false, 0, false},          // before the marker
      {173, true, 42, false},          // read, not checked
      {173, false, 0, true},           // a file cut before its marker
      {174, true, 42, true},           // checked
      {174, true, kStageEndMarker, false},
      {556, true, 0x075BCD14, true},
  };
  for (const Case& c : cases) {
    OldStage old;
    old.version = c.version;
    old.withMarker = c.withMarker;
    old.marker = c.marker;
    cStageData stage;
    EXPECT_EQ(ReadStage(stage, old.Build().Data()), c.damaged) << "version " << c.version;
  }
}

TEST_F(StageTest, SpeedLevelTable) {
  struct Case {
    std::int32_t level;
    std::int32_t storedLevel;
    std::int32_t steps;
    double maxPerFrame;
  };
  const Case cases[] = {
      {1, 1, 1, 6.0},    {10, 10, 10, 60.0}, {11, 11, 1, 60.0}, {15, 15, 5, 60.0}, {19, 19, 9, 60.0},
      {0, 1, 1, 6.0},    {-7, 1, 1, 6.0},    {20, 19, 9, 60.0}, {5, 5, 5, 30.0},
  };
  for (const Case& c : cases) {
    cStageData stage;
    stage.m_Reals[kGravityField] = 0.5;
    stage.SetSpeedLevel(c.level);
    SCOPED_TRACE(c.level);
    EXPECT_EQ(stage.Field(kSpeedLevel), c.storedLevel);
    EXPECT_EQ(stage.Field(kStepsPerFrameField), c.steps);
    EXPECT_DOUBLE_EQ(stage.RealField(kStepsPerFrameReal), c.steps);
    EXPECT_DOUBLE_EQ(stage.RealField(kStepsSquared), c.steps * c.steps);
    EXPECT_EQ(stage.m_TenthSecondSteps, 6 * c.steps);
    EXPECT_EQ(stage.Field(kEightTimesSteps), 8 * c.steps);
    EXPECT_DOUBLE_EQ(stage.RealField(kMaxSpeedPerFrame), c.maxPerFrame);
    EXPECT_DOUBLE_EQ(stage.RealField(kMaxSpeedPerStep), c.maxPerFrame / c.steps);
    EXPECT_DOUBLE_EQ(stage.RealField(kGravityPerStep), 0.5 / (c.steps * c.steps));
  }
  // The live stage's speed values are the names stage play reads.
  g_Stage.SetSpeedLevel(15);
  EXPECT_EQ(g_StepsPerFrame, 5);
  EXPECT_DOUBLE_EQ(g_MaxSpeed, 12.0);
  EXPECT_DOUBLE_EQ(g_StepsPerFrameF, 5.0);
  EXPECT_DOUBLE_EQ(g_Gravity, 0.4 / 25);
}

TEST_F(StageTest, NormalizeClampsScrollLimitsAndMusic) {
  struct Case {
    StageField field;
    std::int32_t value;
    std::int32_t expected;
  };
  const Case cases[] = {
      {kScrollFirstColumn, 100, 30}, {kScrollFirstColumn, -5, -5}, {kScrollLastColumn, 60, 49},
      {kScrollLastColumn, 49, 49},   {kScrollFirstRow, 40, 25},    {kScrollLastRow, 40, 39},
      {kStageMusic, 4, 0},           {kStageMusic, 3, 3},          {kStageMusic, -1, 0},
  };
  for (const Case& c : cases) {
    cStageData stage;
    stage.SetField(kStageWidth, 50);
    stage.SetField(kStageHeight, 40);
    stage.SetField(c.field, c.value);
    stage.Normalize();
    EXPECT_EQ(stage.Field(c.field), c.expected) << "field " << int(c.field) << " value " << c.value;
  }
}

TEST_F(StageTest, PlacedPrefixesAreIgnored) {
  cStageData stage;
  stage.m_PlacedCharas.push_back(stagetest::Hero());
  std::vector<std::uint8_t> bytes = StageFile(stage);
  const std::vector<std::uint8_t> withoutHero = [] {
    cStageData empty;
    return StageFile(empty);
  }();
  // The files agree up to the low byte of the placed characters' count.
  std::size_t at = 0;
  while (at < withoutHero.size() && bytes[at] == withoutHero[at]) ++at;
  ASSERT_EQ(WordAt(bytes, at), 1u);
  ASSERT_EQ(WordAt(bytes, at + 4), 0u);
  bytes[at + 4] = 0x77;
  cStageData again;
  EXPECT_FALSE(ReadStage(again, bytes));
  EXPECT_EQ(again.FindHeroRecord(), 0);
}

TEST_F(StageTest, HeaderCopyTakesTheHeaderAndNoRecords) {
  cStageData stage;
  stage.m_Name = "h";
  stage.SetField(kStageWidth, 33);
  stage.m_PlacedCharas.push_back(stagetest::Hero());
  stage.m_BgLayers.resize(3);
  stage.m_BgLayers[2].m_FileName = "far.bmp";
  stage.m_Texts.resize(2);
  stage.m_Rules[0].Set(1, 1, 0, 0, 5, 5, 0, 0);
  stage.m_ResultSwitches = {0, 0, 1, 1, 0};
  cStageData copy;
  copy.CopyHeaderFrom(stage);
  copy.FreeRecordLists();
  EXPECT_EQ(copy.m_Name, "h");
  EXPECT_EQ(copy.Field(kStageWidth), 33);
  EXPECT_EQ(copy.m_BgLayers.size(), 3u);
  EXPECT_EQ(copy.m_BgLayers[2].m_FileName, "far.bmp");
  EXPECT_EQ(copy.m_Texts.size(), 2u);
  EXPECT_EQ(copy.m_Rules[0].m_Margins[0], 5u);
  EXPECT_EQ(copy.m_ResultSwitches, stage.m_ResultSwitches);
  EXPECT_TRUE(copy.m_PlacedCharas.empty());
  EXPECT_TRUE(copy.m_PaletteBlocks.empty());

  // A replay writes the header's parts with the stage's records.
  cStageData played;
  played.m_PlacedCharas.push_back(stagetest::Hero());
  played.m_PlacedCharas.push_back(stagetest::Hero());
  cRecordWriter out;
  out.WriteU32(556);
  played.WriteForReplay(out, copy);
  cStageData back;
  EXPECT_FALSE(ReadStage(back, out.Bytes()));
  EXPECT_EQ(back.m_Name, "h");
  EXPECT_EQ(back.m_BgLayers.size(), 3u);
  EXPECT_EQ(back.m_PlacedCharas.size(), 2u);
}

TEST_F(StageTest, FindHeroRecordNeedsAPictureAndThePlayer) {
  cStageData stage;
  EXPECT_EQ(stage.FindHeroRecord(), -1);
  cCharaDef computer = stagetest::Hero();
  computer.m_Operator = 1;
  cCharaDef noPicture = stagetest::Hero();
  noPicture.m_ChipIndex = 0;
  stage.m_PlacedCharas = {computer, noPicture, stagetest::Hero()};
  EXPECT_EQ(stage.FindHeroRecord(), 2);
  EXPECT_EQ(stage.HasHero(), 1u);
}

TEST_F(StageTest, BackgroundLayerLayoutsByVersion) {
  // Below 61: plain-colour mode, fill colour, pass, two discarded words, the file name.
  cByteBuilder v60;
  v60.U32(60).U32(5).U32(1).U32(7).U32(2).U32(91).U32(92).U32(1).Str("a.bmp");
  // 61: the rates and automatic scrolling added before the two discarded words.
  cByteBuilder v61;
  v61.U32(61).U32(9).U32(0).U32(8).U32(1).F64(0.5).F64(0.25).U32(1).U32(0).U32(93).U32(94).U32(1).Str("b.bmp");
  {
    cRecordReader in(v60.Data());
    cBgLayer layer;
    layer.SetDefaults();
    layer.Read(in);
    EXPECT_FALSE(in.Damaged());
    EXPECT_EQ(layer.m_Shown, 1u);
    EXPECT_EQ(layer.m_PlainColour, 1u);
    EXPECT_EQ(layer.m_FillColour, 7u);
    EXPECT_EQ(layer.m_Pass, 2u);
    EXPECT_DOUBLE_EQ(layer.m_RateX, 0.1);
    EXPECT_DOUBLE_EQ(layer.m_OffsetX, 0.0);
    EXPECT_EQ(layer.m_FileName, "a.bmp");
  }
  {
    cRecordReader in(v61.Data());
    cBgLayer layer;
    layer.SetDefaults();
    layer.Read(in);
    EXPECT_FALSE(in.Damaged());
    EXPECT_EQ(layer.m_FillColour, 8u);
    EXPECT_DOUBLE_EQ(layer.m_RateX, 0.5);
    EXPECT_DOUBLE_EQ(layer.m_RateY, 0.25);
    EXPECT_EQ(layer.m_AutoScrollX, 1u);
    EXPECT_DOUBLE_EQ(layer.m_OffsetY, 0.0);
    EXPECT_EQ(layer.m_FileName, "b.bmp");
  }
}

// A real default stage with something in every list, cut short and with counts inflated.
TEST_F(StageTest, DamagedFilesAreReportedAndNeverCrash) {
  cStageData source;
  source.m_PaletteBlocks.resize(3);
  source.m_PlacedBlocks.resize(3);
  source.m_PlacedCharas.push_back(stagetest::Hero());
  source.m_PlacedItems.resize(2);
  source.m_Texts.resize(2);
  const std::vector<std::uint8_t> whole = StageFile(source);
  for (std::size_t cut = 0; cut < whole.size(); cut += 64) {
    cStageData stage;
    EXPECT_TRUE(ReadStage(stage, std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut))))
        << "cut at " << cut;
    EXPECT_GE(stage.m_PaletteCharas.size(), 2u);
  }
  for (std::size_t at = 4; at + 4 <= whole.size(); at += 4) {
    for (std::uint32_t inflated : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x00010000u}) {
      std::vector<std::uint8_t> bytes = whole;
      for (int k = 0; k < 4; ++k) bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(inflated >> (8 * k));
      cStageData stage;
      ReadStage(stage, bytes);
      EXPECT_GE(stage.m_PaletteItems.size(), 2u);
      EXPECT_GE(stage.Field(kStepsPerFrameField), 1);
    }
  }
}

}  // namespace
