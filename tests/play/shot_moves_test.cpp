// The movement kinds of shots: when the aiming kinds turn, when homing starts and ends, that both
// rows of homing on the nearest character behave alike, the wave and the fall.
#include <cmath>

#include "play/shot.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

class ShotMovesTest : public ShotTest {
 protected:
  void SetUp() override {
    ShotTest::SetUp();
    Hero().UpdateScreenRect();
  }

  // A shot of kind fired rightward at 4 dots a step from a point right of and below the hero, so
  // that any turn toward the hero makes its own vx negative.
  cShot& FireRight(std::uint8_t kind, std::int16_t p1, std::int16_t p2, std::int16_t p3 = 0) {
    cEdShot params = Params(40, kind);
    params.m_MoveParams[0] = p1;
    params.m_MoveParams[1] = p2;
    params.m_MoveParams[2] = p3;
    cChara& owner = Enemy(1);
    owner.SetTarget(nullptr);  // no target: kind 3 has nothing to aim at
    return Fire(owner, params, Spawn(Hero().m_X1 + 200, Hero().m_Y1 + 100, 4.0, 0.0));
  }

  // The first UpdateShot call after which the shot's own vx has turned negative (0 within limit).
  static int TurnsOnCall(cShot& shot, int limit) {
    for (int call = 1; call <= limit; ++call) {
      UpdateShot(shot);
      if (shot.m_OwnVx < 0.0) return call;
    }
    return 0;
  }
};

TEST_F(ShotMovesTest, AimingAndHomingTurnOnTheirStep) {
  struct Case {
    const char* what;
    std::uint8_t kind;
    std::int16_t p1, p2;
    int turnsOn;
  };
  const Case cases[] = {
      {"aim at the hero at once", 1, 0, 0, 1},
      {"aim after 2 hbl at 4 a step: counter 8", 1, 2, 0, 9},
      {"home from the start", 4, 0, 999, 1},
      {"home after 1 hbl", 4, 1, 999, 5},
      {"homing that ends at 0 never homes", 4, 0, 0, 0},
      {"aim at a target there is none of", 3, 0, 0, 0},
      {"straight", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    cShot& shot = FireRight(c.kind, c.p1, c.p2);
    EXPECT_EQ(TurnsOnCall(shot, 30), c.turnsOn) << c.what;
  }
}

TEST_F(ShotMovesTest, AimAtTargetDeadBeforeTheChangeStepFliesStraight) {
  cChara& shooter = Enemy(1);
  cChara& target = Enemy(2);
  shooter.SetTarget(&target);
  cEdShot params = Params(40, 3);
  params.m_MoveParams[0] = 1;  // turns at counter 4
  cShot& shot = Fire(shooter, params, Spawn(target.m_X1 + 200, target.m_Y1 + 100, 4.0, 0.0));
  target.UpdateScreenRect();
  UpdateShot(shot);
  target.m_Dead = 1;
  for (int call = 0; call < 10; ++call) UpdateShot(shot);
  EXPECT_EQ(shot.m_OwnVx, 4.0);
  EXPECT_EQ(shot.m_OwnVy, 0.0);
  EXPECT_EQ(shot.m_MoveDone, 1);
}

TEST_F(ShotMovesTest, AimAtNearestWithNobodyInTheGroupNeverTurns) {
  cShot& shot = FireRight(2, 0, 3);
  UpdateShot(shot);
  cChara& late = Enemy(3);
  late.UpdateScreenRect();
  EXPECT_EQ(TurnsOnCall(shot, 20), 0);
  EXPECT_EQ(shot.m_MoveDone, 1);
}

// Both rows follow whichever character of the group is nearest on each step.
TEST_F(ShotMovesTest, BothRowsOfHomingOnTheNearestSwitchToTheNearest) {
  for (std::uint8_t kind : {std::uint8_t{5}, std::uint8_t{7}}) {
    cShot& shot = FireRight(kind, 0, 999, 2);
    shot.UpdateScreenRect();
    cChara& above = Enemy(2);
    cChara& below = Enemy(2);
    const auto put = [&shot](cChara& c, double dy) {
      c.m_X1 = shot.m_X1;
      c.m_Y1 = shot.m_Y1 + dy;
      c.ClampToStageY(2);
      c.UpdateScreenRect();
    };
    put(above, -40);
    put(below, 200);
    UpdateShot(shot);
    EXPECT_LT(shot.m_OwnVy, 0.0) << "kind " << int{kind} << " heads for the one above";
    put(above, -300);
    UpdateShot(shot);
    EXPECT_GT(shot.m_OwnVy, 0.0) << "kind " << int{kind} << " heads for the one below now";
    g_CharaList.Remove(&above);
    g_CharaList.Remove(&below);
  }
}

TEST_F(ShotMovesTest, FallStartsOnItsStepKeepingItsOwnHorizontalSpeed) {
  cEdShot params = Params(20, 9);
  params.m_MoveParams[0] = 4;  // 4 hbl at 2 dots a step: counter 32
  cShot& shot = Fire(Enemy(1), params, Spawn(Hero().m_X1, Hero().m_Y1, 2.0, 0.0));
  for (int call = 1; call <= 32; ++call) UpdateShot(shot);
  EXPECT_EQ(shot.m_Flying, 1);
  UpdateShot(shot);
  EXPECT_EQ(shot.m_Flying, 0);
  EXPECT_EQ(shot.m_OwnVx, 2.0);
}

TEST_F(ShotMovesTest, AWaveFiredRightSwingsVerticallyAndNeverTurnsBack) {
  struct Case {
    std::int16_t rate;
    bool swings;
  };
  for (const Case& c : {Case{4, true}, Case{0, false}}) {
    cEdShot params = Params(20, 8);
    params.m_MoveParams[0] = 4;
    params.m_MoveParams[1] = c.rate;
    cShot& shot = Fire(Enemy(1), params, Spawn(Hero().m_X1, Hero().m_Y1, 2.0, 0.0));
    bool up = false, down = false, backward = false, broken = false;
    for (int call = 0; call < 400; ++call) {
      UpdateShot(shot);
      up = up || shot.m_OwnVy < 0.0;
      down = down || shot.m_OwnVy > 0.0;
      backward = backward || shot.m_OwnVx < 0.0;
      broken = broken || std::isnan(shot.m_OwnVx) || std::isnan(shot.m_OwnVy);
    }
    EXPECT_EQ(up && down, c.swings) << "rate " << c.rate;
    EXPECT_FALSE(backward);
    EXPECT_FALSE(broken);
    if (!c.swings) {
      EXPECT_EQ(shot.m_OwnVx, 2.0);
    }
  }
}

}  // namespace
