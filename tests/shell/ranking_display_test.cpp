// The ranking window, the time text and the result panel, drawn with the fixture font (digit d is a
// bar d + 1 pixels high, "■" fills its 16 x 16 cell), so each cell shows what it holds.
#include <array>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/ranking.h"
#include "shell/ranking_display.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"
#include "tests/platform/display/font_fixture.h"
#include "tests/support/messages.h"

namespace rankingtest {
namespace {

TEST(FormatTimeTest, MinutesTakeTwoDigitsOrMoreSecondsAndHundredthsTwoEach) {
  struct Case {
    std::int32_t value;
    const char* text;
  };
  const Case cases[] = {
      {12345, "02:03.45"}, {720000, "120:00.00"}, {4507, "00:45.07"}, {0, "00:00.00"},
      {99, "00:00.99"},    {5999, "00:59.99"},    {6000, "01:00.00"}, {-4507, "-00:45.07"},
      {2147483647, "357913:56.47"}, {-2147483647 - 1, "-357913:56.48"},
  };
  std::string text = "previous";
  for (const Case& c : cases) {
    FormatTime(text, c.value);
    EXPECT_EQ(text, c.text) << c.value;
  }
}

class RankingDrawTest : public FontTest {
 protected:
  static constexpr std::uint32_t kMarker = kLetter;
  static constexpr std::int32_t kX = 8;
  static constexpr std::int32_t kY = 4;

  void SetUp() override {
    FontTest::SetUp();
    InitRecordSettings();
    ASSERT_TRUE(Start(false));
    g_Fonts[1].Create("Cells", 0, 16, 16, 16, kTextPal, Painted(640, 480, kWindow), 1, kFramePal, nullptr);
    // Accessory.bmp: only the marker's cell is not the transparent black.
    DDSURFACEDATA& accessory = g_SurfaceTable[49];
    ASSERT_TRUE(DDCreateSurface(&accessory, 96, 64, 1, 1, 0, 0, 0));
    PixelsOf(accessory).Fill(0);
    PixelsOf(accessory).FillRect({16, 48, 32, 64}, kMarker);
    g_System.SetDefaults();
    // Labels and hint the fixture font can show: "■" per cell.
    for (int t = 0; t < kResultCount; ++t) g_System.m_UiTexts[5 + t] = Blocks(t + 1);
    g_System.m_UiTexts[24] = Blocks(2);
    g_SceneManager.m_PlayMode = 0;
    g_TestPlay = 0;
    g_Stage.m_ResultSwitches.assign(kResultCount, 1);
    g_SaveData.Reset();
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[49]);
    g_System.SetDefaults();
    g_Stage.m_ResultSwitches.assign(kResultCount, 1);
    g_SaveData.Reset();
    g_TestPlay = 0;
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
    FontTest::TearDown();
  }

  static std::string Blocks(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += SJ("■");
    return text;
  }
  // Text pixels in the w x h rectangle at (x, y).
  static int TextIn(DDSURFACEDATA& record, int x, int y, int w = 16, int h = 16) {
    int n = 0;
    for (int r = y; r < y + h; ++r)
      for (int c = x; c < x + w; ++c) n += Rgb(record, c, r) == kText;
    return n;
  }
  // The pixels of a digit in a cell: d + 1; a cell of another character, or none, is given as -1 and
  // must be empty.
  static std::vector<int> CellsOf(DDSURFACEDATA& record, int x, int y, int cells) {
    std::vector<int> counts;
    for (int i = 0; i < cells; ++i) counts.push_back(TextIn(record, x + 16 * i, y));
    return counts;
  }
  static cRankTable Table(std::int32_t descending, const std::vector<std::int32_t>& values) {
    cRankTable table;
    table.m_Descending = descending;
    for (std::size_t i = 0; i < values.size(); ++i) {
      table.m_Entries[i].m_Used = 1;
      table.m_Entries[i].m_Name = "ab";
      table.m_Entries[i].m_Value = values[i];
    }
    return table;
  }
  void SetModeFlags(std::int32_t mode, std::array<std::uint8_t, kResultCount> flags) {
    cSystemFlagSet& set = g_System.m_RankingSets[mode];
    set.m_Enabled = 1;
    set.m_Flags.assign(flags.begin(), flags.end());
  }
};

TEST_F(RankingDrawTest, NumbersEndUnderTheFirstPlacesWidthAndRanksAndNamesHaveTheirColumns) {
  cRankTable table = Table(1, {98765, 500, 42});
  DDSURFACEDATA* dst = Blank(400, 400);
  table.Draw(dst, kX, kY, 0, -1);

  // The window inside a one-dot margin, 270 x 350, with its frame round it.
  EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{kX, kY, kX + 272, kY + 352}));
  // The label of table 0 in the title row.
  EXPECT_EQ(TextIn(*dst, kX, kY, 400 - kX, 16), 256);
  const int row2 = kY + 48;
  EXPECT_EQ(TextIn(*dst, kX + 16, row2), 4);  // rank "3"
  // Name "ab" from x + 64: 'a' 4 pixels, 'b' 6.
  EXPECT_EQ(TextIn(*dst, kX + 64, row2), 4);
  EXPECT_EQ(TextIn(*dst, kX + 80, row2), 6);
  // W = 5: "42" starts at x + 192 and ends where 98765 does.
  EXPECT_EQ(CellsOf(*dst, kX + 96, row2, 10), (std::vector<int>{0, 0, 0, 0, 0, 0, 5, 3, 0, 0}));
  EXPECT_EQ(CellsOf(*dst, kX + 144, kY + 16, 5), (std::vector<int>{10, 9, 8, 7, 6}));
  EXPECT_EQ(CellsOf(*dst, kX + 176, kY + 32, 3), (std::vector<int>{6, 1, 1}));
  // The default project ranks all five results in story mode: the hint under the 20 places,
  // centred on x + 136.
  EXPECT_EQ(TextIn(*dst, kX, kY + 64, 272, 16 * 17), 0);
  EXPECT_EQ(TextIn(*dst, kX + 120, kY + 336, 32, 16), 512);
  EXPECT_EQ(TextIn(*dst, kX, kY + 336, 400 - kX, 16), 512);
  EXPECT_EQ(Count(*dst, kMarker), 0);
}

TEST_F(RankingDrawTest, UnusedPlacesLeaveTheirRowsEmptyAndTheHintNeedsTwoRankedKinds) {
  std::vector<std::int32_t> values;
  for (int i = 0; i < 12; ++i) values.push_back(120 - i);
  const cRankTable table = Table(1, values);
  struct Case {
    std::array<std::uint8_t, kResultCount> flags;
    std::int32_t enabled;
    int hintPixels;
  };
  const Case cases[] = {
      {{1, 0, 1, 0, 0}, 1, 512},
      {{0, 0, 1, 0, 0}, 1, 0},
      {{1, 1, 1, 1, 1}, 0, 0},  // a mode that keeps no rankings
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hintPixels);
    SetModeFlags(0, c.flags);
    g_System.m_RankingSets[0].m_Enabled = c.enabled;
    cRankTable drawn = table;
    DDSURFACEDATA* dst = Blank(400, 400);
    drawn.Draw(dst, kX, kY, 0, -1);
    for (int i = 0; i < 12; ++i) EXPECT_GT(TextIn(*dst, kX + 16, kY + 16 * (i + 1), 256, 16), 0) << i;
    // Rows 13 to 20 stay empty; the hint is on the row after the twentieth place.
    EXPECT_EQ(TextIn(*dst, kX, kY + 16 * 13, 272, 16 * 8), 0);
    EXPECT_EQ(TextIn(*dst, kX, kY + 336, 272, 16), c.hintPixels);
  }
  // A replay has a ranking set of its own; a mode beyond the project's sets shows no hint.
  g_SceneManager.m_PlayMode = 7;
  cRankTable drawn = table;
  DDSURFACEDATA* dst = Blank(400, 400);
  drawn.Draw(dst, kX, kY, 0, -1);
  EXPECT_EQ(TextIn(*dst, kX, kY + 336, 272, 16), 0);
}

TEST_F(RankingDrawTest, ClearTimesShowAsTimeTextAndTheMarkedPlaceGetsTheMarker) {
  cRankFile file;
  file.m_Tables[2] = Table(0, {4507, 12345});
  DDSURFACEDATA* dst = Blank(400, 400);
  file.DrawTable(dst, kX, kY, 2, 1);
  // "00:45.07" from x + 144; ':' and '.' draw nothing in the fixture font.
  EXPECT_EQ(CellsOf(*dst, kX + 144, kY + 16, 8), (std::vector<int>{1, 1, 0, 5, 6, 0, 1, 8}));
  EXPECT_EQ(CellsOf(*dst, kX + 144, kY + 32, 8), (std::vector<int>{1, 3, 0, 1, 4, 0, 5, 6}));
  // The label of table 2: three blocks.
  EXPECT_EQ(TextIn(*dst, kX, kY, 400 - kX, 16), 768);
  EXPECT_EQ(Extent(*dst, kMarker), (PixelRect{kX, kY + 32, kX + 16, kY + 48}));
}

TEST_F(RankingDrawTest, ATableWithoutPlacesDrawsItsWindowAndNoRows) {
  cRankTable table;
  table.m_Entries.clear();
  DDSURFACEDATA* dst = Blank(400, 400);
  table.Draw(dst, kX, kY, 1, -1);
  EXPECT_EQ(TextIn(*dst, kX, kY + 16, 272, 320), 512);  // the hint alone, on the row after the title
  EXPECT_EQ(TextIn(*dst, kX + 120, kY + 16, 32, 16), 512);
}

TEST_F(RankingDrawTest, ThePanelShowsTheResultsTheStageShowsAndTheModeRanks) {
  g_SaveData.m_SumScore = 42;
  g_SaveData.m_SumTimeLeft = 7;
  g_SaveData.m_SumPlayTime = 4507;
  g_SaveData.m_SumHP = 3;
  g_SaveData.m_SumSP = 123456;
  struct Case {
    const char* what;
    std::array<std::uint32_t, kResultCount> switches;
    std::array<std::uint8_t, kResultCount> flags;
    std::int32_t testPlay;
    int rows;
    int width;  // in cells: V + L + 3
  };
  const Case cases[] = {
      {"score and clear time", {1, 0, 1, 0, 0}, {1, 1, 1, 1, 1}, 0, 2, 8 + 3 + 3},
      {"flags too", {1, 1, 1, 1, 1}, {1, 0, 1, 0, 0}, 0, 2, 8 + 3 + 3},
      {"test play ignores the flags", {1, 1, 0, 1, 0}, {0, 0, 0, 0, 0}, 1, 3, 2 + 4 + 3},
      {"widest value", {1, 1, 1, 1, 1}, {0, 0, 0, 0, 1}, 0, 1, 6 + 5 + 3},
      {"one digit", {0, 1, 0, 0, 0}, {1, 1, 1, 1, 1}, 0, 1, 1 + 2 + 3},
  };
  const std::array<std::int32_t, kResultCount> none = {-1, -1, -1, -1, -1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_Stage.m_ResultSwitches.assign(c.switches.begin(), c.switches.end());
    SetModeFlags(0, c.flags);
    g_TestPlay = c.testPlay;
    DDSURFACEDATA* dst = Blank(400, 200);
    DrawResultPanel(dst, kX, kY, none);
    EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{kX - 1, kY - 1, kX + c.width * 16 + 1, kY + c.rows * 16 + 1}));
    EXPECT_EQ(TextIn(*dst, kX, kY + c.rows * 16, 400 - kX, 16), 0);
  }

  // Score and clear time: labels from x + 16, values one cell after the widest label.
  g_Stage.m_ResultSwitches.assign({1, 0, 1, 0, 0});
  SetModeFlags(0, {1, 1, 1, 1, 1});
  g_TestPlay = 0;
  DDSURFACEDATA* dst = Blank(400, 200);
  DrawResultPanel(dst, kX, kY, none);
  EXPECT_EQ(TextIn(*dst, kX + 16, kY, 48, 16), 256);
  EXPECT_EQ(TextIn(*dst, kX + 16, kY + 16, 48, 16), 768);
  EXPECT_EQ(CellsOf(*dst, kX + 64, kY, 4), (std::vector<int>{0, 5, 3, 0}));
  EXPECT_EQ(CellsOf(*dst, kX + 80, kY + 16, 8), (std::vector<int>{1, 1, 0, 5, 6, 0, 1, 8}));
  EXPECT_EQ(Count(*dst, kMarker), 0);
}

TEST_F(RankingDrawTest, APanelWithNoResultShownDrawsNothing) {
  for (std::int32_t testPlay : {0, 1}) {
    g_Stage.m_ResultSwitches.assign(kResultCount, 0);
    g_TestPlay = testPlay;
    DDSURFACEDATA* dst = Blank(400, 200);
    DrawResultPanel(dst, kX, kY, std::array<std::int32_t, kResultCount>{0, 0, 0, 0, 0});
    EXPECT_EQ(Count(*dst, 0), 400 * 200) << testPlay;
  }
}

TEST_F(RankingDrawTest, MarkersStandBesideTheRowsOfTheResultsThatEnteredTheirTables) {
  struct Case {
    const char* what;
    std::array<std::uint32_t, kResultCount> switches;
    std::array<std::int32_t, kResultCount> places;
    std::vector<int> markedRows;
  };
  const Case cases[] = {
      {"clear time alone shown", {0, 0, 1, 0, 0}, {-1, -1, 0, -1, -1}, {0}},
      {"clear time after score", {1, 0, 1, 0, 0}, {-1, -1, 0, -1, -1}, {1}},
      {"all shown", {1, 1, 1, 1, 1}, {-1, -1, 0, -1, -1}, {2}},
      {"several", {1, 1, 1, 1, 1}, {3, -1, 19, -1, 0}, {0, 2, 4}},
      {"a place of a result not shown", {1, 0, 0, 0, 0}, {-1, 5, -1, -1, -1}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_Stage.m_ResultSwitches.assign(c.switches.begin(), c.switches.end());
    DDSURFACEDATA* dst = Blank(400, 200);
    DrawResultPanel(dst, kX, kY, c.places);
    EXPECT_EQ(Count(*dst, kMarker), 256 * static_cast<int>(c.markedRows.size()));
    for (int row : c.markedRows) {
      int marker = 0;
      for (int r = kY + 16 * row; r < kY + 16 * row + 16; ++r)
        for (int x = kX; x < kX + 16; ++x) marker += Rgb(*dst, x, r) == kMarker;
      EXPECT_EQ(marker, 256) << row;
    }
  }
}

}  // namespace
}  // namespace rankingtest
