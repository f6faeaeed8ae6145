#include "play/game_obj.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>

#include "play/flow_runner.h"
#include "project/ed_move.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;

// Counts the per-class slots scaling goes through.
class cCountingObj : public cGameObj {
 public:
  void ScaleSubBoxes(std::int32_t) override { ++m_SubBoxCalls; }
  void AnchorAfterScale(std::int32_t, std::int32_t) override { ++m_AnchorCalls; }
  int m_SubBoxCalls = 0;
  int m_AnchorCalls = 0;
};

using GameObjTest = PlayTest;

TEST_F(GameObjTest, FlightModesSetFlyingAndBlockModeTogether) {
  const std::int32_t want[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}};
  cGameObj obj;
  for (std::int32_t mode = 0; mode < 4; ++mode) {
    obj.SetFlightMode(mode);
    EXPECT_EQ(obj.m_Flying, want[mode][0]) << mode;
    EXPECT_EQ(obj.m_BlockMode, want[mode][1]) << mode;
  }
  obj.SetFlightMode(7);  // not a mode: nothing changes
  EXPECT_EQ(obj.m_Flying, 1);
  EXPECT_EQ(obj.m_BlockMode, 2);
}

TEST_F(GameObjTest, EqualScalesChangeNothingAndCallNoSlot) {
  cCountingObj obj;
  Place(obj, 500.0, 500.0);
  const cGameObj before = obj;
  obj.SetScale(1, 1);
  obj.SetScale(3, 3);
  EXPECT_EQ(obj.m_Width, before.m_Width);
  EXPECT_EQ(obj.m_DrawWidth, before.m_DrawWidth);
  EXPECT_EQ(obj.m_X1, before.m_X1);
  EXPECT_EQ(obj.m_SubBoxCalls, 0);
  EXPECT_EQ(obj.m_AnchorCalls, 0);
}

TEST_F(GameObjTest, ScalingUpKeepsTheHorizontalCentre) {
  cCountingObj obj;
  Place(obj, 500.0, 500.0, 16, 24);
  obj.SetScale(2, 1);
  EXPECT_EQ(obj.m_Width, 32);
  EXPECT_EQ(obj.m_Height, 48);
  EXPECT_EQ(obj.m_DrawWidth, 64);
  EXPECT_EQ(obj.m_DrawOffsetY, 16);
  // Half the base width (8) times the change (1) to the left.
  EXPECT_EQ(obj.m_X1, 492.0);
  EXPECT_EQ(obj.m_X2, 523.0);
  EXPECT_EQ(obj.m_SubBoxCalls, 1);
  EXPECT_EQ(obj.m_AnchorCalls, 1);
}

// The stage of the fixture: map 0..1920 x 0..1280 dots, stage 320..1600 x 320..960.
struct ClampCase {
  std::int32_t mode;
  double pos;
  std::int32_t scrollMin, scrollMax;
  double want;
  std::int32_t code;
};

// One axis of the clamps: the camera axis, the object's edges and cells on it, its clamp and the
// size of the fixture's box along it.
struct ClampAxisParts {
  ScrollAxis cPlayScene::*axis;
  double cGameObj::*low;
  double cGameObj::*high;
  std::int32_t cGameObj::*cellLow;
  std::int32_t cGameObj::*cellHigh;
  std::int32_t (cGameObj::*clamp)(std::int32_t);
  std::int32_t size;
};
const ClampAxisParts kAxisX{&cPlayScene::m_ScrollX, &cGameObj::m_X1,     &cGameObj::m_X2,
                            &cGameObj::m_CellX1,    &cGameObj::m_CellX2, &cGameObj::ClampToStageX, 16};
const ClampAxisParts kAxisY{&cPlayScene::m_ScrollY, &cGameObj::m_Y1,     &cGameObj::m_Y2,
                            &cGameObj::m_CellY1,    &cGameObj::m_CellY2, &cGameObj::ClampToStageY, 24};

void CheckClamps(const ClampAxisParts& a, std::span<const ClampCase> cases) {
  for (const ClampCase& c : cases) {
    cGameObj obj;
    PlayTest::Place(obj, 600, 600);
    ScrollAxis& axis = g_PlayScene->*a.axis;
    axis.m_Min = c.scrollMin;
    axis.m_Max = c.scrollMax;
    obj.*a.low = c.pos;
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.pos);
    EXPECT_EQ((obj.*a.clamp)(c.mode), c.code);
    EXPECT_EQ(obj.*a.low, c.want);
    EXPECT_EQ(obj.*a.high, c.want + a.size - 1);
    EXPECT_EQ(obj.*a.cellLow, static_cast<std::int32_t>(c.want) >> 5);
    EXPECT_EQ(obj.*a.cellHigh, static_cast<std::int32_t>(c.want + a.size - 1) >> 5);
  }
}

TEST_F(GameObjTest, ClampToStageXKeepsTheObjectInItsRangeAndReportsWhereItIs) {
  const ClampCase cases[] = {
      {2, -0.5, 320, 1600, 0.0, 3},     // held at the left of the map
      {2, 1910, 320, 1600, 1904, 3},    // held at the right of the map
      {2, 100, 320, 1600, 100, 2},      // inside the map, outside the stage
      {2, 1590, 320, 1600, 1590, 2},
      {2, 350, 400, 1200, 350, 1},      // inside the stage, outside the scroll range
      {2, 1190, 400, 1200, 1190, 1},
      {2, 600, 400, 1200, 600, 0},
      {1, 300, 400, 1200, 320, 0},      // mode 1 keeps it in the stage, silently
      {1, 1595, 400, 1200, 1584, 0},
      {1, 350, 400, 1200, 350, 1},
      {1, 1190, 400, 1200, 1190, 1},
      {0, 350, 400, 1200, 400, 0},      // mode 0 keeps it in the scroll range
      {0, 1190, 400, 1200, 1184, 0},
  };
  CheckClamps(kAxisX, cases);
}

TEST_F(GameObjTest, ClampToStageYNamesTheSideItLeft) {
  const ClampCase cases[] = {
      {2, 1270, 320, 960, 1256, 6},  // the bottom reached the map's end: fell out, moved back
      {2, -3, 320, 960, 0, 3},
      {2, 100, 320, 960, 100, 2},    // above the stage
      {2, 950, 320, 960, 950, 5},    // below the stage
      {2, 350, 400, 900, 350, 1},    // above the scroll range
      {2, 880, 400, 900, 880, 4},    // below it
      {2, 500, 400, 900, 500, 0},
      {1, 300, 400, 900, 320, 0},
      {1, 950, 400, 900, 936, 0},
      {1, 350, 400, 900, 350, 1},
      {1, 880, 400, 900, 880, 4},
      {0, 350, 400, 900, 400, 0},
      {0, 880, 400, 900, 876, 0},
  };
  CheckClamps(kAxisY, cases);
}

TEST_F(GameObjTest, OnAnObjectWiderThanTheMapTheLeftClampWins) {
  cGameObj obj;
  Place(obj, 600, 600, 2000, 24);
  obj.m_X1 = -5;
  EXPECT_EQ(obj.ClampToStageX(2), 3);
  EXPECT_EQ(obj.m_X1, 0.0);
}

TEST_F(GameObjTest, OneStepNeverGoesFasterThanTheMaximumSpeedNorTakesANaN) {
  ASSERT_EQ(g_MaxSpeed, 6.0);
  struct Case {
    double v, wantV;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {{3 * 6.0, 6.0}, {-3 * 6.0, -6.0}, {0.25, 0.25}, {inf, 6.0}, {-inf, -6.0},
                        {std::numeric_limits<double>::quiet_NaN(), 0.0}};
  for (const Case& c : cases) {
    cGameObj obj;
    Place(obj, 600, 600);
    obj.m_Vx = c.v;
    obj.m_Vy = c.v;
    EXPECT_EQ(obj.MoveX(2), 0);
    EXPECT_EQ(obj.MoveY(2), 0);
    EXPECT_EQ(obj.m_Vx, c.wantV);
    EXPECT_EQ(obj.m_Vy, c.wantV);
    EXPECT_EQ(obj.m_X1, 600 + c.wantV);
    EXPECT_EQ(obj.m_Y1, 600 + c.wantV);
  }
}

TEST_F(GameObjTest, MoveReportsTheClampOfItsAxis) {
  cGameObj obj;
  Place(obj, 600, 1250);
  obj.m_Vy = 0.6;
  obj.m_Y1 = 1256.5;
  EXPECT_EQ(obj.MoveY(2), 6);
  EXPECT_EQ(obj.m_Y1, 1256.0);
  obj.m_X1 = 0.3;
  obj.m_Vx = -0.6;
  EXPECT_EQ(obj.MoveX(2), 3);
}

TEST_F(GameObjTest, DriveIsDampedTowardZeroButNeverAcrossIt) {
  struct Case {
    double value, friction;
    std::int32_t enabled;
    double want;
  };
  const Case cases[] = {
      {0.3, 0.5, 1, 0.0}, {-0.3, 0.5, 1, 0.0}, {1.0, 0.25, 1, 0.75}, {-1.0, 0.25, 1, -0.75},
      {0.0, 0.5, 1, 0.0}, {1.0, 0.25, 0, 1.0},
  };
  for (const Case& c : cases) {
    cGameObj obj;
    obj.m_Friction = c.friction;
    double v = c.value;
    obj.DampDrive(v, c.enabled);
    EXPECT_EQ(v, c.want) << c.value << " " << c.friction;
  }
}

TEST_F(GameObjTest, FacingIsRightForAnyDirectionButZero) {
  cGameObj obj;
  obj.m_Direction = 5;
  EXPECT_EQ(obj.Facing(), 1);
  obj.m_Direction = 0;
  EXPECT_EQ(obj.Facing(), -1);
}

TEST_F(GameObjTest, ScreenRectangleTruncatesTheCameraAndThePosition) {
  cGameObj obj;
  Place(obj, 400.9, 500.2);
  m_Scene->m_ScrollX.m_Pos = 330.7;
  m_Scene->m_ScrollY.m_Pos = 320.0;
  obj.UpdateScreenRect();
  // 400.9 - 8 - 330 = 62.9; 500.2 - 8 - 320 = 172.2.
  EXPECT_EQ(obj.m_ScreenLeft, 62);
  EXPECT_EQ(obj.m_ScreenRight, 93);
  EXPECT_EQ(obj.m_ScreenTop, 172);
  EXPECT_EQ(obj.m_ScreenBottom, 203);
  EXPECT_EQ(obj.ScreenCentreX(), 78);
}

TEST_F(GameObjTest, OnScreenTestsEachAxisUnlessSkipped) {
  struct Case {
    double x, y;
    bool skipX, skipY, want;
  };
  // Camera at (320, 320): the view is x 320..959, y 320..799. Boxes are 16 x 24.
  const Case cases[] = {
      {400, 400, false, false, true},  {304, 400, false, false, false}, {305, 400, false, false, true},
      {960, 400, false, false, false}, {959, 400, false, false, true},  {400, 800, false, false, false},
      {400, 296, false, false, false}, {100, 400, true, false, true},   {400, 900, false, true, true},
  };
  for (const Case& c : cases) {
    cGameObj obj;
    Place(obj, c.x, c.y);
    EXPECT_EQ(obj.IsOnScreenAxis(c.skipX, c.skipY), c.want) << c.x << ", " << c.y;
  }
}

TEST_F(GameObjTest, InsideTheStageOrTheWholeMap) {
  cGameObj obj;
  Place(obj, 100, 400);
  EXPECT_TRUE(obj.IsInsideStage(true));
  EXPECT_FALSE(obj.IsInsideStage(false));
  Place(obj, 320, 320);
  EXPECT_TRUE(obj.IsInsideStage(false));
  Place(obj, 1584, 936);
  EXPECT_TRUE(obj.IsInsideStage(false));
  Place(obj, 1585, 936);
  EXPECT_FALSE(obj.IsInsideStage(false));
}

TEST_F(GameObjTest, ScreenOutRuleRemovesBeyondAnEnabledSideOrAtTheMapEdge) {
  cScreenOutRule rule;
  rule.Set(1, 0, 0, 1, 2, 0, 0, 1);  // left with 2 cells, bottom with 1 cell
  struct Case {
    double x, y;
    std::int32_t onScreen;
    bool want;
  };
  // Camera (320, 320): left limit int(320 - 64) = 256; bottom limit int(320 + 480 + 32) = 832.
  const Case cases[] = {
      {241, 400, 0, true},    // x2 = 256
      {242, 400, 0, false},
      {600, 832, 0, true},
      {600, 831, 0, false},
      {1200, 400, 0, false},  // right is not enabled
      {241, 400, 1, false},   // an object on screen stays
      {0, 400, 0, true},      // touching the map's edge goes whatever the sides
      {1904, 400, 0, true},
  };
  for (const Case& c : cases) {
    cGameObj obj;
    Place(obj, c.x, c.y);
    obj.m_OnScreen = c.onScreen;
    EXPECT_EQ(obj.IsBeyondScreenOutRule(rule), c.want) << c.x << ", " << c.y;
  }
}

TEST_F(GameObjTest, CornerTestFindsASolidCellUnlessItExemptsTheGroup) {
  cGameObj obj;
  Place(obj, 15 * 32 + 20, 12 * 32 + 4);  // x 500..515 spans columns 15 and 16
  EXPECT_FALSE(obj.OverlapsSolidCell());
  SolidCell(16, 12);
  EXPECT_TRUE(obj.OverlapsSolidCell());
  MapCellAt(16, 12).m_PassGroup = 3;
  EXPECT_TRUE(obj.OverlapsSolidCell());
  obj.m_Group = 3;
  EXPECT_FALSE(obj.OverlapsSolidCell(0));
}

TEST_F(GameObjTest, TargetPointGivesTheAxesTheCommandUses) {
  cFlowCommand command;
  NewEdMove(command.m_Move);
  cCommandInstance instance;
  instance.m_Command = &command;
  instance.m_TargetOffsetX = 5;
  instance.m_TargetOffsetY = -7;
  cGameObj target;
  Place(target, 500, 500);
  target.UpdateScreenRect();
  const double cx = target.ScreenCentreX() + 5;
  const double cy = target.ScreenCentreY() - 7;
  struct Case {
    std::uint8_t useX, useY;
    bool givesX, givesY;
  };
  // Keeping an axis is not using it; keeping both still aims along x.
  const Case cases[] = {{1, 1, true, true}, {0, 1, false, true}, {1, 0, true, false}, {0, 0, true, false}};
  for (const Case& c : cases) {
    command.m_Move->m_UseTargetX = c.useX;
    command.m_Move->m_UseTargetY = c.useY;
    double x = -1;
    double y = -1;
    target.TargetPointOf(x, y, instance);
    EXPECT_EQ(x, c.givesX ? cx : -1) << int{c.useX} << int{c.useY};
    EXPECT_EQ(y, c.givesY ? cy : -1) << int{c.useX} << int{c.useY};
  }
}

}  // namespace
