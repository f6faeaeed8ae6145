// The movement kinds of shots: when the aiming kinds turn, when homing starts and ends, that both
// rows of homing on the nearest character behave alike, the wave and the fall.
#include <cmath>
#include <vector>

#include "play/shot.h"
#include "project/database_resources.h"
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

// In a pass of shot steps the nearest searches read copies of the group taken once: the shots aim
// as searches of the lists would, past those that may not be aimed at, and a sword swing that brings
// its owner's screen box up to date is seen by the shots after it.
TEST_F(ShotMovesTest, HomingShotsOfAPassAimAsSearchesOfTheListsWould) {
  g_Database.m_SwordTypes.assign(1, cSwordTypeDef());
  cSwordPartDef part;
  part.m_Values[7] = part.m_Values[8] = part.m_Values[9] = 10;
  g_Database.m_SwordTypes.At(0).m_Parts.assign(1, part);
  const auto put = [](cChara& c, double x, double y) {
    c.m_X1 = x;
    c.m_Y1 = y;
    c.UpdateScreenRect();
  };
  put(Enemy(2), 300, 200);
  put(Enemy(2), 600, 300);
  cChara& dead = Enemy(2);
  put(dead, 820, 220);
  dead.m_Dead = 1;
  cChara& passedThrough = Enemy(2);
  put(passedThrough, 500, 390);
  passedThrough.m_Def.m_Invincible = 2;
  cChara& absent = Enemy(2);
  put(absent, 110, 110);
  absent.m_Present = 0;
  cChara& swinger = Enemy(2);
  put(swinger, 800, 200);
  swinger.m_ScreenLeft -= 600;  // drawn where it was before it moved, until its swing looks again
  const double spots[][2] = {{100, 100}, {830, 210}, {500, 400}, {700, 150}};
  const auto fireHoming = [&] {
    for (const auto& spot : spots)
      for (std::uint8_t kind : {std::uint8_t{5}, std::uint8_t{7}}) {
        cEdShot params = Params(40, kind);
        params.m_MoveParams[1] = 999;
        params.m_MoveParams[2] = 2;
        Fire(Hero(), params, Spawn(spot[0], spot[1], 4.0, 0.0));
      }
  };
  fireHoming();
  const std::size_t beforeSwing = m_Scene->m_ShotList.size();
  Fire(swinger, Params(), Spawn(800, 200, 0.0, 0.0), kSwordCommand);
  fireHoming();
  std::vector<cShot> expected(m_Scene->m_ShotList.begin(), m_Scene->m_ShotList.end());
  for (std::size_t i = 0; i < beforeSwing; ++i) UpdateShot(expected[i]);
  StepShots(2);
  for (std::size_t i = beforeSwing + 1; i < expected.size(); ++i) UpdateShot(expected[i]);
  ASSERT_EQ(m_Scene->m_ShotList.size(), expected.size());
  std::size_t i = 0;
  for (const cShot& shot : m_Scene->m_ShotList) {
    if (shot.m_RealShot != 0) {
      EXPECT_EQ(shot.m_OwnVx, expected[i].m_OwnVx) << "shot " << i;
      EXPECT_EQ(shot.m_OwnVy, expected[i].m_OwnVy) << "shot " << i;
    }
    ++i;
  }
  EXPECT_NE(expected[1].m_OwnVy, expected[beforeSwing + 2].m_OwnVy) << "the swing moved what the shots aim at";
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
