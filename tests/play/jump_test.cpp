// A hero's jump of 2 hbl (32 dots) on a stage of gravity 0.4, worked out by hand and then stepped
// through the real code: gravity first, then the one-axis move, as the logic step does.
//
// Speed level 1 (1 step per frame): g = 0.4 / 1^2 = 0.4.
//   v0 = (-g - sqrt((8h + g) g)) / 2 = (-0.4 - sqrt(256.4 x 0.4)) / 2 = (-0.4 - sqrt(102.56)) / 2
//      = (-0.4 - 10.1271911209377) / 2 = -5.2635955604689;
//   a hero (operator 0) jumps with 0.99 - 0.025 x 0.4 = 0.98 of it: v0 = -5.1583236492595.
//   After step k the speed is v0 + 0.4 k (never near the limit of 6 dots per step) and the height
//   y_k - y_0 = k v0 + 0.4 k (k + 1) / 2.
//   Apex: the first step with a speed >= 0 is k = ceil(5.1583236 / 0.4) = ceil(12.896) = 13; the top
//   is reached after step 12: 12 v0 + 0.2 x 156 = -61.8998838 + 31.2 = -30.6998838 (30.70 dots).
//   Landing: the feet enter the cell below once the hero is 1 dot or more below the start (the
//   bottom started on the cell's last row). Back at the start when n + 1 >= -2 v0 / g = 25.79, and
//   n = 25 already gives 25 v0 + 0.2 x 650 = -128.9580912 + 130 = 1.0419088: landing step 25.
// Speed level 10 (10 steps per frame): g = 0.4 / 10^2 = 0.004.
//   v0 = (-0.004 - sqrt(256.004 x 0.004)) / 2 = (-0.004 - sqrt(1.024016)) / 2
//      = (-0.004 - 1.0119367569172) / 2 = -0.5079683784586; the hero's 0.98 of it: -0.4978090108894.
//   Apex step ceil(0.4978090 / 0.004) = ceil(124.45) = 125; top after step 124:
//   124 v0 + 0.002 x 124 x 125 = -61.7283174 + 31 = -30.7283174.
//   Back at the start when n + 1 >= 248.90, n = 248: 248 v0 + 0.002 x 248 x 249 = 0.0473653, not yet a
//   dot; n = 249 gives 0.5455563; n = 250 gives 250 v0 + 0.002 x 250 x 251 = -124.4522527 + 125.5
//   = 1.0477473: landing step 250, 25 frames as at level 1, the top a little higher.
// Landing then lifts the hero by (int(y2) & 31) + 1 = 1 dot, onto the same cell boundary as at the
// start.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

struct JumpFigures {
  std::int32_t level;
  double v0;
  std::int32_t apexStep;
  double rise;
  std::int32_t landingStep;
  double landingDepth;
  std::int32_t durationTenths;
};

constexpr JumpFigures kFigures[] = {
    {1, -5.1583236492595, 13, 30.6998838, 25, 1.0419088, 3},
    {10, -0.4978090108894, 125, 30.7283174, 250, 1.0477473, 3},
};

using JumpTest = PlayTest;

TEST_F(JumpTest, AHeroesTwoHblJumpRisesAndLandsAsWorkedOutByHand) {
  for (const JumpFigures& f : kFigures) {
    SCOPED_TRACE(f.level);
    SetSpeedLevel(f.level);
    cTestChara hero;
    const double startY = 20 * 32 + 8;  // the bottom on the last row of cell row 20
    Place(hero, 600, startY, 16, 24);
    ASSERT_EQ(static_cast<std::int32_t>(hero.m_Y2) & 31, 31);
    hero.m_Operator = 0;
    const double v0 = hero.JumpSpeedForHbl(2);
    EXPECT_NEAR(v0, f.v0, 1e-12);
    EXPECT_EQ(hero.JumpDurationTenths(2), f.durationTenths);

    hero.m_Vy = v0;
    std::int32_t apex = 0;
    std::int32_t landing = 0;
    double top = startY;
    for (std::int32_t step = 1; step <= 1000 && landing == 0; ++step) {
      hero.ApplyGravityStep();
      hero.MoveY(2);
      if (apex == 0 && hero.m_Vy >= 0) apex = step;
      if (hero.m_Y1 < top) top = hero.m_Y1;
      if (hero.m_Y1 >= startY + 1) landing = step;
    }
    EXPECT_EQ(apex, f.apexStep);
    EXPECT_NEAR(startY - top, f.rise, 1e-6);
    EXPECT_EQ(landing, f.landingStep);
    EXPECT_NEAR(hero.m_Y1 - startY, f.landingDepth, 1e-6);

    hero.Land();
    EXPECT_NEAR(hero.m_Y1, startY + f.landingDepth - 1, 1e-6);
    EXPECT_EQ(static_cast<std::int32_t>(hero.m_Y2) & 31, 31);
    EXPECT_EQ(hero.m_Vy, 0.0);
  }
}

TEST_F(JumpTest, OnlyPlayerOperatedObjectsJumpLowerOnAHeavyStage) {
  SetSpeedLevel(1);
  cTestChara chara;
  chara.m_Operator = 1;
  EXPECT_NEAR(chara.JumpSpeedForHbl(2), -5.2635955604689, 1e-12);
  chara.m_Operator = 0;
  EXPECT_NEAR(chara.JumpSpeedForHbl(2), -5.2635955604689 * 0.98, 1e-12);
}

}  // namespace
