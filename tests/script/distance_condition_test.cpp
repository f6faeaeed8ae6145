// The distance condition's shapes: a character and hero 0, both with a 32 x 32 box that fills their
// drawn box, the hero 64 dots to the right of the character or 64 dots below it
// (48 dots on the other side).
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/script/condition_fixture.h"

namespace {

using namespace scripttest;

class DistanceConditionTest : public ConditionTest {
 protected:
  void SetUp() override {
    ConditionTest::SetUp();
    m_X = m_Scene->m_ScrollX.m_Pos + 200;
    m_Y = m_Scene->m_ScrollY.m_Pos + 200;
    Place(m_Chara, m_X, m_Y, 32, 32);
    m_Scene->m_Heroes.assign(1, &m_Hero);
  }

  // The hero's box placed (dx, dy) from the character's, its screen rectangle brought up to date.
  void PutHero(double dx, double dy) {
    Place(m_Hero, m_X + dx, m_Y + dy, 32, 32);
    m_Hero.UpdateScreenRect();
  }

  double m_X = 0;
  double m_Y = 0;
  playtest::cTestChara m_Hero;
};

constexpr std::uint8_t kSide = 0, kFront = 1, kBack = 2, kVertical = 3, kFrontY = 4, kBackY = 5, kCircle = 6;

TEST_F(DistanceConditionTest, ShapesByFacingAndReach) {
  struct Case {
    std::uint8_t shape;
    std::int32_t direction;  // 0 left, 1 right
    double dx, dy;
    std::int32_t hbl, want;
  };
  const Case cases[] = {
      // Hero 64 dots to the right (48 to the left): the span must reach its near edge.
      {kSide, 0, 64, 0, 1, 0},  {kSide, 0, 64, 0, 2, 1},  {kSide, 1, -48, 0, 2, 1}, {kSide, 1, -48, 0, 1, 0},
      {kFront, 1, 64, 0, 2, 1}, {kFront, 0, 64, 0, 2, 0}, {kFront, 0, -48, 0, 2, 1},
      {kFront, 1, 64, 0, 1, 0},
      {kBack, 0, 64, 0, 2, 1},  {kBack, 1, 64, 0, 2, 0},
      // A horizontal shape is blind to height, a vertical one to width.
      {kSide, 0, 0, 300, 0, 1}, {kVertical, 0, 300, 0, 0, 1},
      {kVertical, 0, 0, 64, 1, 0}, {kVertical, 0, 0, 64, 2, 1}, {kVertical, 0, 0, -48, 2, 1},
      // Below the character: ahead for one facing right, behind for one facing left.
      {kFrontY, 1, 0, 64, 2, 1}, {kFrontY, 0, 0, 64, 2, 0}, {kFrontY, 0, 0, -48, 2, 1},
      {kBackY, 0, 0, 64, 2, 1},  {kBackY, 1, 0, 64, 2, 0},
      // The circle measures between the centres of the hit boxes.
      {kCircle, 0, 64, 0, 4, 1}, {kCircle, 0, 64, 0, 3, 0}, {kCircle, 0, 48, 64, 5, 1},
      {kCircle, 0, 48, 64, 4, 0}, {kCircle, 0, 0, 0, -1, 0},
      {7, 0, 0, 0, 10, 0},  // no such shape
  };
  for (const Case& c : cases) {
    m_Chara.m_Direction = c.direction;
    PutHero(c.dx, c.dy);
    for (std::uint8_t op : {0, 1, 2}) {
      cConditionDef condition;
      condition.m_Kind = kConditionDistance;
      condition.m_Shape = c.shape;
      condition.m_Value = c.hbl;
      condition.m_Operator = op;
      const std::int32_t want = op == 0 ? c.want : op == 1 && c.shape <= kCircle ? 1 - c.want : 0;
      EXPECT_EQ(CheckCondition(condition, m_Chara), want)
          << "shape " << int{c.shape} << " facing " << c.direction << " at " << c.dx << "," << c.dy << " r "
          << c.hbl << " op " << int{op};
    }
  }
}

TEST_F(DistanceConditionTest, TheCharacterIsMeasuredWhereItIsNowAndWithoutAHeroNothingHolds) {
  PutHero(64, 0);
  cConditionDef near;
  near.m_Kind = kConditionDistance;
  near.m_Shape = kSide;
  near.m_Value = 2;
  EXPECT_EQ(CheckCondition(near, m_Chara), 1);
  // Moved away since its screen rectangle was last made: the test refreshes it.
  m_Chara.m_X1 -= 200;
  m_Chara.m_X2 -= 200;
  EXPECT_EQ(CheckCondition(near, m_Chara), 0);
  m_Scene->m_Heroes.clear();
  near.m_Operator = 1;
  EXPECT_EQ(CheckCondition(near, m_Chara), 0);
}

}  // namespace
