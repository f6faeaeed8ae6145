// Damage of a body hit against the defence, its limits in both directions, the knock-back that comes
// with it; the protection after a hit by kind and speed level; the death's score, its pending-clear
// road; the search by id.
#include "play/damage.h"

#include <gtest/gtest.h>

#include <limits>

#include "play/effect_instance.h"
#include "project/database_frames.h"
#include "tests/play/contact_fixture.h"

namespace {

using playtest::ContactTest;

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

using DamageTest = ContactTest;

TEST_F(DamageTest, ABodyHitTakesPowerLessDefenceWithinItsLimitsAndNeverWraps) {
  struct Case {
    std::int32_t power;
    std::int32_t defence;
    std::int32_t hp;
    std::int32_t maxHp;
    std::int32_t hpAfter;
    std::int32_t result;
  };
  const Case cases[] = {
      {4, 0, 10, 10, 6, 0},
      {3, 10, 10, 10, 10, 0},                    // the defence takes it all
      {10, 0, 10, 10, 0, 1},                     // brought to 0
      {1000000, 0, 2000000, 2000000, 1000001, 0},  // one hit is at most 999999
      {kMax32, 0, 2000000, 2000000, 1000001, 0},
      {1000005, 5, 2000000, 2000000, 1000001, 0},
      {10, kMin32, 2000000, 2000000, 1000001, 0},  // a defence far below 0 does not wrap
      {-5, 0, 50, 100, 55, 0},                   // a negative power heals
      {kMin32, 0, 50, 100, 100, 0},              // ... up to the maximum, whatever its size
      {0, 0, 10, 10, 10, 0},
  };
  cChara& attacker = Enemy(1);
  for (const Case& c : cases) {
    Arm(attacker, c.power, 0);
    SetHp(Hero(), c.hp, c.maxHp);
    Hero().m_Def.m_Defence = c.defence;
    EXPECT_EQ(Hero().TakeDamageFromChara(attacker), c.result) << c.power << " against " << c.defence;
    EXPECT_EQ(Hero().m_Hp, c.hpAfter) << c.power << " against " << c.defence;
  }
}

TEST_F(DamageTest, AHitThatTheDefenceTakesStillKnocksBack) {
  cChara& attacker = Enemy(1, 3, 5);
  attacker.m_Vx = 2.0;
  Hero().m_Def.m_Defence = 10;
  EXPECT_EQ(Hero().TakeDamageFromChara(attacker), 0);
  EXPECT_EQ(Hero().m_Hp, Hero().m_Def.m_MaxHp);
  EXPECT_EQ(Hero().m_Knocked, 1);
  EXPECT_GT(Hero().m_KnockVx, 0.0);
}

TEST_F(DamageTest, TheInvincibleStateRefusesTheLossButNotTheKnockBack) {
  cChara& attacker = Enemy(1, 4, 5);
  attacker.m_Vx = -2.0;
  for (std::uint8_t state : {1, 2}) {
    Hero().m_Def.m_Invincible = state;
    Hero().m_KnockVx = 0.0;
    EXPECT_EQ(Hero().TakeDamageFromChara(attacker), 0);
    EXPECT_EQ(Hero().m_Hp, 10) << int{state};
    EXPECT_LT(Hero().m_KnockVx, 0.0) << int{state};
  }
}

TEST_F(DamageTest, AShotHitsWithItsOwnPowerAndPushesAlongItsDirection) {
  cShotStrike shot;
  shot.m_Power = 7;
  shot.m_Impact = 4;
  shot.m_PushX = -1.0;
  Hero().m_Def.m_Defence = 2;
  EXPECT_EQ(Hero().TakeDamageFromShot(shot), 0);
  EXPECT_EQ(Hero().m_Hp, 5);
  EXPECT_LT(Hero().m_KnockVx, 0.0);
  shot.m_Power = 2000000;
  EXPECT_EQ(Hero().TakeDamageFromShot(shot), 1);
  EXPECT_EQ(Hero().m_Hp, 0);
}

// Effect 1 of 32-dot cells; effect 2 the same, but scalable.
class HitEffectTest : public ContactTest {
 protected:
  void SetUp() override {
    ContactTest::SetUp();
    g_Database.m_Effects.assign(3, cEffectDef());
    g_Database.m_Effects.At(2).m_FollowsScale = 1;
    BuildEffectFrameLists(g_EffectFrameLists);
  }
  void TearDown() override {
    m_Scene->m_Effects.clear();
    g_EffectFrameLists.clear();
    g_Database.SetDefaults();
    ContactTest::TearDown();
  }
};

TEST_F(HitEffectTest, HitsWithAHitEffectStartItOverTheOverlap) {
  const cSubBox& box = Hero().m_BodyBox;
  const auto expectCentred = [&](const cEffectInstance& effect, std::int32_t size, std::int32_t number) {
    EXPECT_EQ(effect.m_Number, number);
    EXPECT_EQ(effect.m_Width, size);
    const double x = box.m_X1 + static_cast<std::int32_t>(box.m_X2 - box.m_X1 + 1) / 2 - size / 2;
    const double y = box.m_Y1 + static_cast<std::int32_t>(box.m_Y2 - box.m_Y1 + 1) / 2 - size / 2;
    EXPECT_LE(std::abs(effect.m_X - x), size / 8);
    EXPECT_LE(std::abs(effect.m_Y - y), size / 8);
  };
  cChara& attacker = Enemy(1);
  attacker.m_Def.m_HitEffect = 1;
  Hero().TakeDamageFromChara(attacker);
  ASSERT_EQ(m_Scene->m_Effects.size(), 1u);
  expectCentred(m_Scene->m_Effects.back(), 32, 1);

  cShotStrike shot;
  shot.m_Box = box;
  shot.m_HitEffect = 2;
  shot.m_HitEffectScale = 2;
  Hero().m_ShotBox = box;
  Hero().TakeDamageFromShot(shot);
  ASSERT_EQ(m_Scene->m_Effects.size(), 2u);
  expectCentred(m_Scene->m_Effects.back(), 64, 2);
  // Without a hit effect nothing starts.
  shot.m_HitEffect = 0;
  attacker.m_Def.m_HitEffect = 0;
  Hero().TakeDamageFromShot(shot);
  Hero().TakeDamageFromChara(attacker);
  EXPECT_EQ(m_Scene->m_Effects.size(), 2u);
}

TEST_F(DamageTest, ProtectionLastsTheFramesOfTheObjectsKindTimesTheSteps) {
  struct Case {
    std::int32_t speedLevel;
    bool hero;
    std::int32_t allSteps;
    std::int32_t perAttackerSteps;
  };
  // Heroes: 5 frames for all, 30 per attacker; other characters: 7 and 20.
  const Case cases[] = {{10, true, 50, 300}, {10, false, 70, 200}, {1, true, 5, 30}, {13, false, 21, 60}};
  g_Stage.SetField(kHeroInvincibleFrames, 5);
  g_Stage.SetField(kHeroImmunityFrames, 30);
  g_Stage.SetField(kCharaInvincibleFrames, 7);
  g_Stage.SetField(kCharaImmunityFrames, 20);
  for (const Case& c : cases) {
    SetSpeedLevel(c.speedLevel);
    cCharaBase& object = c.hero ? static_cast<cCharaBase&>(Hero()) : Enemy(1);
    object.m_Immunity.clear();
    object.StartInvincibility(42);
    EXPECT_EQ(object.m_InvincibleSteps, c.allSteps) << c.speedLevel << (c.hero ? " hero" : " chara");
    ASSERT_EQ(object.m_Immunity.size(), 1u);
    EXPECT_EQ(object.m_Immunity.front().m_AttackerId, 42);
    EXPECT_EQ(object.m_Immunity.front().m_StepsLeft, c.perAttackerSteps);
    object.StartInvincibilityAll();
    EXPECT_EQ(object.m_Immunity.size(), 1u);
  }
}

TEST_F(DamageTest, ImmunityEndsWithItsLastStepAndInvincibilityCoversEveryAttacker) {
  cHero& hero = Hero();
  hero.m_Immunity.push_back({7, 1});
  hero.m_Immunity.push_back({8, 3});
  EXPECT_TRUE(hero.IsImmuneTo(7));
  EXPECT_FALSE(hero.IsImmuneTo(9));
  EXPECT_FALSE(hero.IsInvincible());
  hero.TickInvincibility();
  EXPECT_FALSE(hero.IsImmuneTo(7));
  EXPECT_TRUE(hero.IsImmuneTo(8));
  hero.m_InvincibleSteps = 1;
  EXPECT_TRUE(hero.IsImmuneTo(9));
  hero.TickInvincibility();
  hero.TickInvincibility();
  EXPECT_EQ(hero.m_InvincibleSteps, 0);  // never below 0
  EXPECT_FALSE(hero.IsImmuneTo(8));
  EXPECT_TRUE(hero.m_Immunity.empty());
}

TEST_F(DamageTest, TheScoreOfADeathStaysWithin0And999999) {
  struct Case {
    std::int32_t score;
    std::int32_t getsc;
    std::int32_t after;
  };
  const Case cases[] = {{999990, 100, 999999}, {999990, kMax32, 999999}, {100, -30, 70}, {50, -100, 0},
                        {50, kMin32, 0}};
  for (const Case& c : cases) {
    cChara& victim = Enemy(1);
    victim.m_Def.m_Score = c.getsc;
    g_SaveData.m_Score = c.score;
    EXPECT_EQ(victim.Die(), 0);
    EXPECT_EQ(g_SaveData.m_Score, c.after) << c.score << " + " << c.getsc;
    EXPECT_EQ(victim.m_Dead, 1);
  }
}

TEST_F(DamageTest, ADeathWhileAClearIsPendingScoresButKeepsTheObjectAlive) {
  cChara& victim = Enemy(1);
  cChara& aimer = Enemy(2);
  aimer.SetTarget(&victim);
  victim.m_Def.m_Score = 30;
  m_Scene->m_StageEndRequest = 1;
  EXPECT_EQ(victim.Die(), 1);
  EXPECT_EQ(g_SaveData.m_Score, 30);
  EXPECT_EQ(victim.m_Dead, 0);
  EXPECT_EQ(aimer.m_Target, &victim);
  // Without the request the death lets go of every link.
  m_Scene->m_StageEndRequest = 0;
  EXPECT_EQ(victim.Die(), 0);
  EXPECT_EQ(victim.m_Dead, 1);
  EXPECT_EQ(aimer.m_Target, nullptr);
  EXPECT_TRUE(victim.m_TargetedBy.empty());
  EXPECT_EQ(victim.m_Target, nullptr);
}

TEST_F(DamageTest, FindCharaByIdLooksAtTheHeroesFirstThenTheCharacters) {
  cChara& first = Enemy(1);
  cChara& second = Enemy(1);
  EXPECT_EQ(FindCharaById(second.m_Id), &second);
  EXPECT_EQ(FindCharaById(first.m_Id), &first);
  EXPECT_EQ(FindCharaById(Hero().m_Id), &Hero());
  second.m_Id = Hero().m_Id;
  EXPECT_EQ(FindCharaById(Hero().m_Id), &Hero());
  EXPECT_EQ(FindCharaById(9999), nullptr);
  m_Scene->RemoveChara(first);
  EXPECT_EQ(FindCharaById(101), nullptr);
}

}  // namespace
