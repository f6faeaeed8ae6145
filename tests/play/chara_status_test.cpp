// Character base: HP and SP with their gauges, knock-back, landing and the ground physics.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/chara_base.h"
#include "play/motion.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

class CharaStatusTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    SetSpeedLevel(1);
  }
};

TEST_F(CharaStatusTest, ChangeHpRespectsInvincibilityTheMaximumAndDeath) {
  struct Case {
    std::uint8_t invincible;
    std::int32_t hp, maxHp, delta, force;
    std::int32_t wantResult, wantHp;
    bool gauge;
    double gaugeChange;
    std::int32_t gaugeStart;
  };
  const Case cases[] = {
      {2, 10, 20, -5, 0, 0, 10, false, 0, 0},   // invincible: a loss is refused
      {2, 10, 20, 5, 0, 0, 15, true, 12.5, 37},  // ... a gain is not
      {2, 10, 20, -5, 1, 0, 5, true, -12.5, 12},  // forced through
      {0, 17, 20, 100, 0, 0, 20, true, 7.5, 50},  // +100 at max - 3 heals by 3
      {0, 10, 20, -999, 0, 1, 0, false, 0, 0},    // death: HP 0, no gauge
      {0, 0, 0, 5, 0, 1, 0, false, 0, 0},         // no maximum: nothing to gain
      {0, 0, -4, 5, 0, 1, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    cTestChara chara;
    chara.m_Def.m_Invincible = c.invincible;
    chara.m_Def.m_MaxHp = c.maxHp;
    chara.m_Hp = c.hp;
    SCOPED_TRACE(testing::Message() << "hp " << c.hp << " delta " << c.delta);
    EXPECT_EQ(chara.ChangeHP(c.delta, c.force, 1), c.wantResult);
    EXPECT_EQ(chara.m_Hp, c.wantHp);
    EXPECT_EQ(chara.m_HpGauge.m_FramesLeft, c.gauge ? 120 : 0);
    EXPECT_EQ(chara.m_HpGauge.m_Change, c.gaugeChange);
    EXPECT_EQ(chara.m_HpGauge.m_ChangePerFrame, c.gaugeChange / 60);
    EXPECT_EQ(chara.m_HpGauge.m_StartLength, c.gaugeStart);
  }
}

TEST_F(CharaStatusTest, ChangeSpWithoutAMaximumReportsItWhateverTheDelta) {
  for (std::int32_t delta : {-5, 0, 5}) {
    cTestChara chara;
    chara.m_Def.m_MaxSp = 0;
    EXPECT_EQ(chara.ChangeSP(delta, 1), 1);
    EXPECT_EQ(chara.m_Sp, 0);
    EXPECT_EQ(chara.m_SpGauge.m_FramesLeft, 0);
  }
  cTestChara chara;
  chara.m_Def.m_MaxSp = 10;
  chara.m_Sp = 3;
  EXPECT_EQ(chara.ChangeSP(20, 1), 0);
  EXPECT_EQ(chara.m_Sp, 10);
  EXPECT_EQ(chara.m_SpGauge.m_Change, 7 * 50.0 / 10);
}

TEST_F(CharaStatusTest, AGaugeWithoutAMaximumDividesNothing) {
  cTestChara chara;
  chara.m_Def.m_MaxHp = 0;
  chara.m_Hp = 5;  // a hand-made state: HP with no maximum
  chara.StartHPGauge(3);
  EXPECT_EQ(chara.m_HpGauge.m_FramesLeft, 0);
  EXPECT_EQ(chara.m_HpGauge.m_Change, 0.0);
}

TEST_F(CharaStatusTest, ResistanceWeakensKnockBackButTheCharacterIsStillKnocked) {
  cTestChara chara;
  chara.m_Def.m_ImpactResistance = 7;
  chara.m_KnockVx = 0.25;
  chara.m_KnockVy = -0.5;
  chara.ApplyKnockBack(5, 1, 0);
  EXPECT_EQ(chara.m_KnockVx, 0.25);
  EXPECT_EQ(chara.m_KnockVy, -0.5);
  EXPECT_EQ(chara.m_Knocked, 1);
}

TEST_F(CharaStatusTest, KnockBackIsLimitedToTwentyAndStopsOpposingMotion) {
  cTestChara chara;
  chara.m_DriveX = 1.0;   // toward the right, against the push
  chara.m_DriveY = -0.5;  // the push has no vertical part: kept
  chara.m_Vy = 0.75;
  chara.ApplyKnockBack(-30, 1, 0);
  double wantX = 0;
  double wantY = 0;
  SplitSpeedToVector(wantX, wantY, -20, 1, 0);
  EXPECT_EQ(chara.m_KnockVx, wantX);
  EXPECT_LT(chara.m_KnockVx, 0);
  EXPECT_EQ(chara.m_KnockVy, 0.0);
  EXPECT_EQ(chara.m_DriveX, 0.0);
  EXPECT_EQ(chara.m_DriveY, -0.5);
  EXPECT_EQ(chara.m_Vy, 0.75);
  // Upward knock-back against a fall stops the fall.
  chara.ApplyKnockBack(4, 0, -1);
  EXPECT_LT(chara.m_KnockVy, 0);
  EXPECT_EQ(chara.m_Vy, 0.0);
}

TEST_F(CharaStatusTest, AWalkersFallIsNotAPush) {
  cTestChara attacker;
  attacker.m_Def.m_BodyImpact = 3;
  attacker.m_Vx = 2;
  attacker.m_Vy = 3;  // below 8 x 1 x 0.4
  cTestChara chara;
  chara.KnockBackFromChara(attacker);
  EXPECT_GT(chara.m_KnockVx, 0);
  EXPECT_EQ(chara.m_KnockVy, 0.0);
  attacker.m_Vy = 3.2;
  chara.KnockBackFromChara(attacker);
  EXPECT_GT(chara.m_KnockVy, 0);
}

TEST_F(CharaStatusTest, LandingPutsTheFeetOnTheCellBoundary) {
  for (std::int32_t op : {0, 1}) {
    cTestChara chara;
    Place(chara, 500, 72.7);
    ASSERT_EQ(chara.m_Y2, 95.7);
    chara.m_Operator = op;
    chara.m_Vy = 2;
    chara.m_DriveY = 1;
    chara.m_J2 = chara.m_J3 = chara.m_J4 = chara.m_J6 = chara.m_J7 = chara.m_Knocked = 1;
    chara.Land();
    // Up by (95 & 31) + 1 = 32: the bottom is back in the free cell above.
    EXPECT_DOUBLE_EQ(chara.m_Y1, 72.7 - 32);
    EXPECT_DOUBLE_EQ(chara.m_Y2, 63.7);
    EXPECT_EQ(chara.m_Vy, 0.0);
    EXPECT_EQ(chara.m_DriveY, 0.0);
    EXPECT_EQ(chara.m_LRUD[kContactDown], 1);
    EXPECT_EQ(chara.m_J2 + chara.m_J3 + chara.m_J4 + chara.m_J7 + chara.m_Knocked, 0);
    // A player's refused jump stays refused after landing; the computer's does not.
    EXPECT_EQ(chara.m_J6, op == 0 ? 1 : 0);
  }
}

TEST_F(CharaStatusTest, ACeilingPushesDownToTheNextBoundaryAndRefusesTheJump) {
  cTestChara chara;
  Place(chara, 500, 100.3);
  chara.m_Vy = -3;
  chara.HitCeiling();
  EXPECT_DOUBLE_EQ(chara.m_Y1, 128.3);
  EXPECT_EQ(chara.m_Vy, 0.0);
  EXPECT_EQ(chara.m_LRUD[kContactUp], 1);
  EXPECT_EQ(chara.m_J3 + chara.m_J4 + chara.m_J6, 3);
}

TEST_F(CharaStatusTest, GravityWaitsWhileFlyingStandingHeldOrKnockedUp) {
  struct Case {
    std::int32_t flying, onBlock, held;
    double knockVy;
    double wantVy;
  };
  const Case cases[] = {{0, 0, 0, 0, 1.4},  {1, 0, 0, 0, 1.0},  {0, 1, 0, 0, 1.0},
                        {0, 0, 1, 0, 1.0},  {0, 0, 0, -1, 1.0}, {0, 0, 0, 1, 1.4}};
  for (const Case& c : cases) {
    cTestChara chara;
    chara.m_Vy = 1.0;
    chara.m_Flying = c.flying;
    chara.m_OnBlockChara = c.onBlock;
    chara.m_Held = c.held;
    chara.m_KnockVy = c.knockVy;
    chara.ApplyGravityStep();
    EXPECT_DOUBLE_EQ(chara.m_Vy, c.wantVy) << c.flying << c.onBlock << c.held << " " << c.knockVy;
  }
}

TEST_F(CharaStatusTest, VerticalKnockBackReplacesLastStepsPushAndEndsOnTheGround) {
  cTestChara chara;
  chara.m_Vy = 1.0;
  chara.m_KnockVy = -2.0;
  chara.VerticalKnockBackStep();
  EXPECT_EQ(chara.m_Vy, -1.0);
  chara.m_KnockVy = -1.5;
  chara.VerticalKnockBackStep();  // -1 - (-2) + (-1.5)
  EXPECT_EQ(chara.m_Vy, -0.5);
  EXPECT_EQ(chara.m_PrevKnockVy, -1.5);
  // A downward push on solid ground ends at once.
  chara.m_KnockVy = 0.5;
  chara.m_CellUnderFeet = &SolidCell(15, 15);
  chara.VerticalKnockBackStep();
  EXPECT_EQ(chara.m_KnockVy, 0.0);
  EXPECT_EQ(chara.m_PrevKnockVy, 0.0);
  EXPECT_EQ(chara.m_Vy, -0.5);
  // A flyer simply adds it.
  chara.m_Flying = 1;
  chara.m_KnockVy = 0.5;
  chara.VerticalKnockBackStep();
  EXPECT_EQ(chara.m_Vy, 0.0);
}

TEST_F(CharaStatusTest, KnockBackDecaysByOneOverTheStepsAndStopsAtZero) {
  SetSpeedLevel(4);
  cTestChara chara;
  chara.m_KnockVx = 0.6;
  chara.m_KnockVy = -0.2;
  chara.DecayKnockBackX();
  chara.DecayKnockBackY();
  EXPECT_DOUBLE_EQ(chara.m_KnockVx, 0.35);
  EXPECT_EQ(chara.m_KnockVy, 0.0);
  chara.DecayKnockBackX();
  chara.DecayKnockBackX();
  EXPECT_EQ(chara.m_KnockVx, 0.0);
}

TEST_F(CharaStatusTest, LeavingTheGroundKeepsAKnockBackFall) {
  cTestChara chara;
  chara.m_OnBlockChara = 1;
  chara.m_Vy = 2;
  chara.LeaveGround(1);
  EXPECT_EQ(chara.m_OnBlockChara, 0);
  EXPECT_EQ(chara.m_Vy, 0.0);
  EXPECT_EQ(chara.m_LeftGroundMark, 1);
  chara.m_Vy = 2;
  chara.m_KnockVy = 1;
  chara.LeaveGround(0);
  EXPECT_EQ(chara.m_Vy, 2.0);
}

TEST_F(CharaStatusTest, UnitConversionsOfTheDefinition) {
  EXPECT_EQ(HblToDots(5), 80);
  EXPECT_EQ(HblToDots(-3), -48);
  SetSpeedLevel(4);
  EXPECT_DOUBLE_EQ(PercentPerStep(80), 0.8 / 16);
}

}  // namespace
