#include "play/scroll_axis.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "project/stage_data.h"

namespace {

TEST(ScrollAxisTest, SetupGivesEachAxisItsStrideMarginsAndExtent) {
  struct Case {
    std::int32_t axis, cells, extra;
    std::int32_t shift, stride, cellCount, end, extent, view;
  };
  const Case cases[] = {
      // 12 + 19 = 31 has 5 binary digits: rows 32 apart, just enough for 12 + 20 cells.
      {0, 12, 0, 5, 32, 32, 22 * 32, 640, 640},
      // 13 + 19 = 32 needs a sixth digit.
      {0, 13, 0, 6, 64, 33, 23 * 32, 640, 640},
      {0, 100, 3200, 7, 128, 120, 110 * 32, 3840, 640},
      // The vertical axis has no shift: its stride is its cell count.
      {1, 15, 480, 0, 35, 35, 25 * 32, 1120, 480},
      // A size below 0 counts as no cells; the extent never goes below 0.
      {0, -30, -5000, 5, 32, 20, 0, 0, 640},
  };
  for (const Case& c : cases) {
    ScrollAxis a;
    a.Setup(c.axis, c.cells, c.extra);
    SCOPED_TRACE(c.cells);
    EXPECT_EQ(a.m_Shift, c.shift);
    EXPECT_EQ(a.m_Stride, c.stride);
    EXPECT_EQ(a.m_CellCount, c.cellCount);
    EXPECT_EQ(a.m_StageBase, 320);
    EXPECT_EQ(a.m_StageEnd, c.end);
    EXPECT_EQ(a.MapExtent(), c.extent);
    EXPECT_EQ(a.m_ViewSize, c.view);
    EXPECT_EQ(a.m_MarginCells, 10);
  }
}

TEST(ScrollAxisTest, HostileSizesStayInsideThirtyTwoBits) {
  ScrollAxis a;
  a.Setup(0, INT32_MAX, INT32_MAX);
  EXPECT_LE(a.m_Shift, 30);
  EXPECT_GT(a.m_StageEnd, 0);
  EXPECT_GT(a.MapExtent(), 0);
  a.SetScrollRange(INT32_MIN, INT32_MAX, 1, 1);
  EXPECT_LE(a.m_Min, a.m_Max);
}

TEST(ScrollAxisTest, ScrollRangeUsesTheNamedCellsOrTheStageEnds) {
  ScrollAxis a;
  a.Setup(0, 50, 0);
  a.SetScrollRange(5, 20, 0, 0);
  EXPECT_EQ(a.m_Min, 320);
  EXPECT_EQ(a.m_Max, 60 * 32);
  a.SetScrollRange(5, 20, 1, 1);
  EXPECT_EQ(a.m_Min, 320 + 5 * 32);
  EXPECT_EQ(a.m_Max, 320 + 21 * 32);
  // An end before the start is raised to it.
  a.SetScrollRange(30, 2, 1, 1);
  EXPECT_EQ(a.m_Max, a.m_Min);
}

TEST(ScrollAxisTest, ClampHoldsTheViewInsideTheRangeAndSaysWhen) {
  struct Case {
    double pos;
    std::int32_t min, max;
    double want;
    std::int32_t atLimit;
  };
  const Case cases[] = {
      {100, 320, 2000, 320, 1},    // before the start
      {500, 320, 2000, 500, 0},    // inside
      {1360, 320, 2000, 1360, 1},  // the view's end reaches the end exactly
      {1359, 320, 2000, 1359, 0},
      {1800, 320, 2000, 1360, 1},  // beyond
      {400, 320, 700, 320, 1},     // a range narrower than the view shows its start
  };
  for (const Case& c : cases) {
    ScrollAxis a;
    a.m_ViewSize = 640;
    a.m_Min = c.min;
    a.m_Max = c.max;
    a.m_Pos = c.pos;
    a.ClampScrollAxis();
    EXPECT_EQ(a.m_Pos, c.want) << c.pos;
    EXPECT_EQ(a.m_AtLimit, c.atLimit) << c.pos;
  }
}

TEST(ScrollAxisTest, AutoScrollIsTenthsOfADotPerFrameSpreadOverTheSteps) {
  g_Stage.SetSpeedLevel(4);
  ScrollAxis a;
  a.Setup(0, 100, 0);
  a.SetScrollRange(0, 0, 0, 0);
  a.m_Pos = 320;
  a.SetAutoScroll(1, 10);
  EXPECT_EQ(a.m_AutoOn, 1);
  EXPECT_EQ(a.m_AutoSpeed, 10 * 0.1 / 4.0);
  EXPECT_TRUE(a.Counts());
  for (int i = 0; i < 8; ++i) a.StepAutoScroll();
  EXPECT_DOUBLE_EQ(a.m_Pos, 322.0);
  // At the end of the range the axis stops counting.
  a.m_Pos = a.m_Max - 640 - 0.1;
  a.StepAutoScroll();
  EXPECT_EQ(a.m_AtLimit, 1);
  EXPECT_FALSE(a.Counts());
  a.SetAutoScroll(0, 10);
  EXPECT_EQ(a.m_AutoSpeed, 0.0);
  EXPECT_EQ(a.m_AutoOn, 0);
  g_Stage.SetSpeedLevel(10);
}

}  // namespace
