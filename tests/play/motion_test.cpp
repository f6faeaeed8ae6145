#include "play/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "play/flow_runner.h"
#include "play/steering.h"
#include "project/ed_move.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

class MotionTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    SetSpeedLevel(1);
  }
};

TEST_F(MotionTest, KnockBackSplitsItsAmountAlongTheDirection) {
  // One step per frame: a part c becomes (sqrt(1 + 128 c) - 1) / 2, so the parts below were picked to
  // make 1 + 128 c a square: 0.375 -> 49, 0.625 -> 81, 2.25 -> 289, 1.75 -> 225.
  struct Case {
    std::int8_t amount;
    double dx, dy, wantX, wantY;
  };
  const Case cases[] = {
      {1, 3, 5, 3, 4},      // parts 3/8 and 5/8 of 1 hbl
      {-1, 3, -5, -3, 4},   // the sign of amount times direction gives the side
      {4, 9, -7, 8, -7},    // parts 9/16 and 7/16 of 4
      {4, 0, 0, 0, 0},      // no direction: no knock-back
      {0, 3, 5, 99, 99},    // no amount: outputs untouched
  };
  for (const Case& c : cases) {
    double x = 99;
    double y = 99;
    SplitSpeedToVector(x, y, c.amount, c.dx, c.dy);
    EXPECT_DOUBLE_EQ(x, c.wantX) << int{c.amount} << " " << c.dx << "," << c.dy;
    EXPECT_DOUBLE_EQ(y, c.wantY) << int{c.amount} << " " << c.dx << "," << c.dy;
  }
}

TEST_F(MotionTest, SpanOverlapsPicksTheSpanByItsFlags) {
  // Position 100, size 32: half 16, centre 116.
  struct Case {
    double low, high;
    std::int32_t margin, back, ahead, centred;
    bool want;
  };
  const Case cases[] = {
      {130, 200, 0, 0, 0, 1, true},    // whole object [100, 132]
      {133, 200, 0, 0, 0, 1, false},
      {116, 200, 0, 0, 0, 0, true},    // only the centre [116, 116]
      {117, 200, 0, 0, 0, 0, false},
      {0, 90, 0, 10, 0, 0, true},      // back: from the position, widened [90, 116]
      {0, 89, 0, 10, 0, 0, false},
      {137, 300, 0, 0, 5, 0, true},    // ahead: to the far end, widened [116, 137]
      {138, 300, 0, 0, 5, 0, false},
      {0, 118, 2, 0, 0, 0, true},      // margin narrows the window
      {0, 117, 2, 0, 0, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SpanOverlaps(100, 32, c.low, c.high, c.margin, c.back, c.ahead, c.centred), c.want)
        << c.low << " " << c.high << " m" << c.margin << " b" << c.back << " a" << c.ahead << " c" << c.centred;
}

TEST_F(MotionTest, CircleStepsFollowTheAngleAndWrapTheirPhase) {
  const double k = 90 * std::numbers::pi / 180;
  double phase = 0;
  EXPECT_DOUBLE_EQ(CircleMoveStepX(10, 90, phase, 1, 0), 10 * k);
  EXPECT_EQ(phase, 1.0);
  EXPECT_DOUBLE_EQ(CircleMoveStepY(10, 90, phase, 1, 0), -(10 * k * k));
  EXPECT_EQ(phase, 2.0);
  phase = 359.5;
  CircleMoveStepX(10, 90, phase, 1, 0);
  EXPECT_EQ(phase, 0.5);
}

TEST_F(MotionTest, PerSecondSpeedsAreSpreadOverStepsAndFrames) {
  SetSpeedLevel(4);
  EXPECT_EQ(PerStepFromPerSecond(480), 2.0);
}

TEST_F(MotionTest, SteeringHeadsForThePointAndArrivesWithinOneStep) {
  double vx = 0;
  double vy = 0;
  std::uint8_t code = 9;
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, nullptr, 0, 0, 30, 40, 2, 0, 0, 1), 0);
  EXPECT_DOUBLE_EQ(vx, 1.2);
  EXPECT_DOUBLE_EQ(vy, 1.6);
  EXPECT_EQ(code, kSteerRight);
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, nullptr, 10, 10, 9, 11, 2, 0, 0, 1), 1);
  EXPECT_EQ(code, kSteerLeft);
  // Without the arrival test nothing arrives.
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, nullptr, 10, 10, 9, 11, 2, 0, 0, 0), 0);
}

TEST_F(MotionTest, ANegativeSpeedFleesAndNeverArrives) {
  const double s = std::sqrt(2.0);
  struct Case {
    double toX, toY, wantVx, wantVy;
  };
  const Case cases[] = {{30, 40, -s, -s}, {-30, 40, s, -s}, {0, 0, s, s}, {0.5, -0.5, -s, s}};
  for (const Case& c : cases) {
    double vx = 0;
    double vy = 0;
    std::uint8_t code = 9;
    EXPECT_EQ(MoveTowardPoint(vx, vy, code, nullptr, 0, 0, c.toX, c.toY, -2, 0, 0, 1), 0);
    EXPECT_DOUBLE_EQ(vx, c.wantVx);
    EXPECT_DOUBLE_EQ(vy, c.wantVy);
    EXPECT_EQ(code, c.wantVx > 0 ? kSteerRight : kSteerLeft);
  }
}

TEST_F(MotionTest, ScrollCorrectionFollowsTheMoverAndTheVariant) {
  m_Scene->m_ScrollX.m_AutoSpeed = 0.5;
  m_Scene->m_ScrollY.m_AutoSpeed = 0.25;
  cGameObj follower;
  follower.m_FollowsScroll = 1;
  cGameObj walker;
  struct Case {
    bool moveWithScroll;
    const cGameObj* mover;
    std::int32_t variant;
    double speed, wantVx, wantVy;
  };
  // Toward (30, 40) at speed 2 is (1.2, 1.6); fleeing at -2 is (-sqrt 2, -sqrt 2).
  const double s = std::sqrt(2.0);
  const Case cases[] = {
      {true, nullptr, 0, 2, 1.7, 1.85},        // the old projects' switch adds whatever the mover
      {false, nullptr, 0, 2, 1.2, 1.6},         // no mover: none
      {false, &follower, 1, 2, 1.2, 1.6},       // follows, variant 1: none
      {false, &walker, 0, 2, 0.7, 1.35},        // does not follow: subtract
      {false, &walker, 1, 2, 0.7, 1.35},
      {false, &follower, 0, -2, -s - 0.5, -s - 0.25},  // fleeing follower, variant 0: subtract
      {false, &walker, 0, -2, -s, -s},                 // fleeing walker, variant 0: none
      {false, &walker, 1, -2, -s - 0.5, -s - 0.25},
  };
  for (const Case& c : cases) {
    g_System.m_LegacyScrollSync = c.moveWithScroll ? 1 : 0;
    double vx = 0;
    double vy = 0;
    std::uint8_t code = 0;
    MoveTowardPoint(vx, vy, code, c.mover, 0, 0, 30, 40, c.speed, c.variant, 0, 0);
    EXPECT_DOUBLE_EQ(vx, c.wantVx) << c.moveWithScroll << " " << c.variant << " " << c.speed;
    EXPECT_DOUBLE_EQ(vy, c.wantVy) << c.moveWithScroll << " " << c.variant << " " << c.speed;
  }
  // An axis held at its limit does not count.
  g_System.m_LegacyScrollSync = 1;
  m_Scene->m_ScrollX.m_AtLimit = 1;
  double vx = 0;
  double vy = 0;
  std::uint8_t code = 0;
  MoveTowardPoint(vx, vy, code, nullptr, 0, 0, 30, 40, 2, 0, 0, 0);
  EXPECT_DOUBLE_EQ(vx, 1.2);
  EXPECT_DOUBLE_EQ(vy, 1.85);
}

TEST_F(MotionTest, InterceptKeepsPaceWithTheScrollAndGivesUpWhenItCannot) {
  cGameObj follower;
  follower.m_FollowsScroll = 1;
  // Straight down to the point while it drifts right at 3: keep pace along x, close at
  // sqrt(5^2 - 3^2) = 4 along y.
  m_Scene->m_ScrollX.m_AutoSpeed = 3;
  double vx = 0;
  double vy = 0;
  std::uint8_t code = 7;
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, &follower, 100, 100, 100, 140, 5, 0, 0, 0), 0);
  EXPECT_DOUBLE_EQ(vx, 3.0);
  EXPECT_DOUBLE_EQ(vy, 4.0);
  EXPECT_EQ(code, kSteerRight);
  // A point scrolling away faster than the mover moves: no real solution. The call gives up with
  // the plain velocity toward the point and the direction code untouched; nothing turns into NaN.
  m_Scene->m_ScrollX.m_AutoSpeed = 6;
  code = 7;
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, &follower, 100, 100, 100, 140, 5, 0, 0, 1), 0);
  EXPECT_EQ(vx, 0.0);
  EXPECT_EQ(vy, 5.0);
  EXPECT_EQ(code, 7);
  // The same along x, where the axes change roles.
  m_Scene->m_ScrollX.m_AutoSpeed = 0;
  m_Scene->m_ScrollY.m_AutoSpeed = 6;
  EXPECT_EQ(MoveTowardPoint(vx, vy, code, &follower, 100, 100, 140, 100, 5, 0, 0, 1), 0);
  EXPECT_TRUE(std::isfinite(vx) && std::isfinite(vy));
  EXPECT_EQ(code, 7);
}

TEST_F(MotionTest, OneAxisSteeringAddsTheScrollOnlyForAFollower) {
  m_Scene->m_ScrollX.m_AutoSpeed = 0.5;
  m_Scene->m_ScrollY.m_AutoSpeed = 0.25;
  g_System.m_LegacyScrollSync = 1;
  cGameObj follower;
  follower.m_FollowsScroll = 1;
  double vx = 9;
  double vy = 9;
  std::uint8_t code = 9;
  EXPECT_EQ(MoveTowardPointStepX(vx, vy, code, &follower, 10, 50, 2, 0, 1), 0);
  EXPECT_EQ(vx, 2.5);
  EXPECT_EQ(vy, 0.0);
  EXPECT_EQ(code, kSteerRight);
  EXPECT_EQ(MoveTowardPointStepX(vx, vy, code, &follower, 10, 9, 2, 1, 1), 1);
  EXPECT_EQ(vx, -2.0);
  EXPECT_EQ(code, kSteerLeft);
  EXPECT_EQ(MoveTowardPointStepY(vx, vy, code, &follower, 50, 10, 2, 0, 1), 0);
  EXPECT_EQ(vy, -1.75);
  EXPECT_EQ(vx, 0.0);
  EXPECT_EQ(code, kSteerStill);
}

TEST_F(MotionTest, ArrivingWithSnapPutsTheMoverOnThePointAndStops) {
  cTestChara mover;
  Place(mover, 600, 600);
  mover.UpdateScreenRect();
  cFlowCommand command;
  NewEdMove(command.m_Move);
  command.m_Move->m_StopOnPoint = 1;
  cCommandInstance instance;
  instance.m_Command = &command;
  instance.m_Speed = 4;
  const double toX = mover.ScreenCentreX() + 3;
  const double toY = mover.ScreenCentreY() - 2;
  EXPECT_EQ(MoveTowardPointXY(instance, mover, toX, toY, 0, 1), 1);
  EXPECT_EQ(instance.m_Vx, 0.0);
  EXPECT_EQ(instance.m_Vy, 0.0);
  EXPECT_EQ(mover.m_X1, 603.0);
  EXPECT_EQ(mover.m_Y1, 598.0);
  EXPECT_EQ(mover.m_X2, 618.0);
}

}  // namespace
