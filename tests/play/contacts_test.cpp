// The contacts between objects of different groups: who touches whom, what a touch costs and
// sounds like, the protection that spaces hits 30 frames apart at every speed level, the end of
// the pass when the hero is killed, objects removed by a death's flows in the middle of a pass, a
// shot striking an object, and the deaths left behind by status operations.
#include "play/contacts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "play/flow_runner.h"
#include "play/play_scene.h"
#include "tests/play/contact_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

using playtest::ContactTest;

using ContactsTest = ContactTest;

TEST_F(ContactsTest, OnlyObjectsOfDifferentGroupsThatCanHurtDoHurtAndMakeASound) {
  struct Case {
    const char* what;
    std::int32_t group;
    std::int32_t power;
    std::int8_t impact;
    std::int32_t defence;
    std::int32_t onScreen;  // the enemy's on-screen flag
    std::int32_t onScreenOnly;
    std::int32_t heroHp;
    int hurtSounds;
    bool knocked;
  };
  const Case cases[] = {
      {"same group", 0, 5, 3, 0, 1, 1, 10, 0, false},
      {"no power, no impact", 1, 0, 0, 0, 1, 1, 10, 0, false},
      {"power below defence", 1, 3, 3, 10, 1, 1, 10, 1, true},
      {"impact only", 1, 0, 3, 0, 1, 1, 10, 1, true},
      {"power", 1, 4, 0, 0, 1, 1, 6, 1, false},
      {"off screen, on-screen contacts only", 1, 4, 0, 0, 0, 1, 10, 0, false},
      {"off screen, every contact", 1, 4, 0, 0, 0, 0, 6, 1, false},
  };
  for (const Case& c : cases) {
    g_Stage.SetField(kOnScreenContactsOnly, c.onScreenOnly);
    m_Sounds.clear();
    Hero().m_Hp = 10;
    Hero().m_Def.m_Defence = c.defence;
    Hero().m_Immunity.clear();
    Hero().m_Knocked = 0;
    cChara& enemy = Enemy(c.group, c.power, c.impact);
    enemy.m_Vx = 1.0;
    enemy.m_OnScreen = c.onScreen;
    EXPECT_EQ(HeroCharaContacts(), 0) << c.what;
    EXPECT_EQ(Hero().m_Hp, c.heroHp) << c.what;
    EXPECT_EQ(Count(kSoundHurt), c.hurtSounds) << c.what;
    EXPECT_EQ(Hero().m_Knocked != 0, c.knocked) << c.what;
    EXPECT_EQ(m_Sounds.size(), static_cast<std::size_t>(c.hurtSounds)) << c.what;
    m_Scene->RemoveChara(enemy);
  }
}

TEST_F(ContactsTest, TouchesAreTriedBetweenGroupsOnlyWhereOneSideHurtsOrCouldStartAFlow) {
  cFlow touchedFlow;
  touchedFlow.m_Trigger = kTriggerTouched;
  using Raises = std::vector<std::pair<std::int32_t, std::int32_t>>;
  struct Case {
    const char* what;
    bool listens;  // the first object of group 2 has a flow of the touched trigger
    std::int32_t power;  // the object of group 1 hurts by touch
  };
  const Case cases[] = {{"nobody", false, 0}, {"a listener in group 2", true, 0}, {"an attacker in group 1", false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    playtest::cRaiseLog log;
    cEventScripts* const before = SetEventScripts(&log);
    Hero().m_Hp = 100;
    Hero().m_Immunity.clear();
    cChara& one = Enemy(1, c.power);
    cChara& twoA = Enemy(2);
    cChara& twoB = Enemy(2);
    for (cChara* e : {&one, &twoA, &twoB}) SetHp(*e, 100, 100);
    if (c.listens) {
      twoA.m_Runners.resize(1);
      twoA.m_Runners[0].m_Flow = &touchedFlow;
    }
    EXPECT_EQ(HeroCharaContacts(), 0);
    const std::int32_t hero = Hero().m_Id, a = twoA.m_Id, b = twoB.m_Id, o = one.m_Id;
    const std::int32_t t = kTriggerTouched;
    Raises expected;
    if (c.listens)  // groups 0 and 2, then 1 and 2; each touch tells both sides
      expected = {{hero, t}, {a, t}, {hero, t}, {b, t}, {o, t}, {a, t}, {o, t}, {b, t}};
    else if (c.power != 0)  // groups 0 and 1, then 1 and 2
      expected = {{hero, t}, {o, t}, {o, t}, {a, t}, {o, t}, {b, t}};
    Raises touched;
    for (const auto& raise : log.m_Raised)
      if (raise.second == t) touched.push_back(raise);
    EXPECT_EQ(touched, expected);
    SetEventScripts(before);
    for (cChara* e : {&one, &twoA, &twoB}) m_Scene->RemoveChara(*e);
  }
}

TEST_F(ContactsTest, BothSidesOfATouchHurtEachOtherAndNeitherAgainAtOnce) {
  Arm(Hero(), 3, 0);
  cChara& enemy = Enemy(1, 2, 0);
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(Hero().m_Hp, 8);
  EXPECT_EQ(enemy.m_Hp, 7);
  EXPECT_EQ(Count(kSoundHurt), 1);  // one sound for the pair
  EXPECT_TRUE(Hero().IsImmuneTo(enemy.m_Id));
  EXPECT_TRUE(enemy.IsImmuneTo(Hero().m_Id));
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(Hero().m_Hp, 8);
  EXPECT_EQ(enemy.m_Hp, 7);
  // Bodies apart never touch.
  Shift(enemy, 1000.0);
  Hero().m_Immunity.clear();
  enemy.m_Immunity.clear();
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(Hero().m_Hp, 8);
}

TEST_F(ContactsTest, BlockCharactersAndTheDeadAreNotTouched) {
  cChara& block = Enemy(1, 5, 0);
  block.m_Def.m_BlockChara = 1;
  cChara& dead = Enemy(2, 5, 0);
  dead.m_Dead = 1;
  cChara& absent = Enemy(3, 5, 0);
  absent.m_Present = 0;
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(Hero().m_Hp, 10);
  EXPECT_TRUE(m_Sounds.empty());
}

TEST_F(ContactsTest, AnAttackerHitsOnceEvery30FramesAtAnySpeedLevel) {
  for (std::int32_t level : {1, 4, 10, 12, 19}) {
    SetSpeedLevel(level);
    g_Stage.SetField(kHeroImmunityFrames, 30);
    g_Stage.SetField(kHeroInvincibleFrames, 0);
    SetHp(Hero(), 1000, 1000);
    Hero().m_Immunity.clear();
    cChara& enemy = Enemy(1, 1, 0);
    std::vector<int> hitFrames;
    for (int frame = 0; frame < 95; ++frame) {
      for (std::int32_t step = 1; step <= g_StepsPerFrame; ++step) {
        Hero().TickInvincibility();
        enemy.TickInvincibility();
        const std::int32_t hp = Hero().m_Hp;
        ASSERT_EQ(HeroCharaContacts(), 0);
        if (Hero().m_Hp != hp) hitFrames.push_back(frame);
      }
    }
    EXPECT_EQ(hitFrames, (std::vector<int>{0, 30, 60, 90})) << "speed level " << level;
    m_Scene->RemoveChara(enemy);
  }
}

TEST_F(ContactsTest, AKilledHeroEndsThePassAtOnce) {
  Arm(Hero(), 1, 0);
  cChara& killer = Enemy(1, 100, 0);
  cChara& next = Enemy(2, 1, 0);
  EXPECT_EQ(HeroCharaContacts(), 2);
  EXPECT_EQ(Hero().m_Hp, 0);
  EXPECT_EQ(killer.m_Hp, 9);  // the hero's own blow landed in the same touch
  EXPECT_EQ(next.m_Hp, 10);   // not reached
  EXPECT_EQ(Count(kSoundHeroDies), 0);  // the logic step plays it and kills the hero
  EXPECT_EQ(Hero().m_Dead, 0);
}

TEST_F(ContactsTest, AKilledCharacterDiesWithItsSoundAndAPendingClearEndsThePass) {
  Arm(Hero(), 20, 0);
  cChara& victim = Enemy(1);
  victim.m_Def.m_Score = 50;
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(victim.m_Dead, 1);
  EXPECT_EQ(g_SaveData.m_Score, 50);
  EXPECT_EQ(Count(kSoundCharaKilled), 1);
  EXPECT_EQ(Count(kSoundHurt), 1);
  // With a clear requested, the death gives way to the clear.
  cChara& second = Enemy(2);
  m_Scene->m_StageEndRequest = 1;
  EXPECT_EQ(HeroCharaContacts(), 1);
  EXPECT_EQ(second.m_Dead, 0);
  EXPECT_EQ(g_SaveData.m_Score, 50);
}

// An object whose death flows take another object off the stage.
class cRemovingOnDeath : public cCharaBase {
 public:
  std::int32_t RunFlows(std::int32_t deathOnly) override {
    if (deathOnly != 0 && m_Victim != nullptr) g_PlayScene->RemoveChara(*m_Victim);
    return 0;
  }
  cChara* m_Victim = nullptr;
};

TEST_F(ContactsTest, ObjectsRemovedByADeathInThePassAreNotVisitedAgainAndGoAfterIt) {
  // The dying object is in group 2, behind the object of group 1 that the pair walk stands on; its
  // death flows take that object away, and the object it would have hurt next is spared.
  {
    cChara& outer = Enemy(1, 100, 0);
    cRemovingOnDeath killed;
    killed.m_Def = CharaDef();
    killed.m_Operator = 1;
    killed.m_Hp = 1;
    killed.m_BodyBox = outer.m_BodyBox;
    List(killed, 2);
    killed.m_Victim = &outer;
    cChara& spared = Enemy(2);
    Shift(Hero(), 1000.0);
    EXPECT_EQ(HeroCharaContacts(), 0);
    EXPECT_EQ(killed.m_Dead, 1);
    EXPECT_EQ(spared.m_Hp, 10);
    EXPECT_EQ(g_CharaList.Size(), 1);
    EXPECT_EQ(FindCharaById(spared.m_Id), &spared);
  }
  g_CharaList.Clear();
  // Both hurt each other in one touch and the death of the first takes the second away before its
  // own hit is finished: the second stays readable until the pass ends, then goes.
  cRemovingOnDeath first;
  first.m_Def = CharaDef();
  first.m_Operator = 1;
  first.m_Hp = 1;
  Arm(first, 5, 0);
  first.m_BodyBox = Hero().m_BodyBox;
  List(first, 1);
  cChara& second = Enemy(2, 100, 0);
  first.m_Victim = &second;
  Shift(Hero(), 2000.0);
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(first.m_Dead, 1);
  EXPECT_EQ(g_CharaList.Size(), 0);
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(2).Empty());
}

// An object whose death flows bring another one onto the hero.
class cBringingOnDeath : public cCharaBase {
 public:
  std::int32_t RunFlows(std::int32_t deathOnly) override {
    if (deathOnly != 0 && m_Brought != nullptr) m_Brought->m_BodyBox = Hero0Box();
    return 0;
  }
  static cSubBox Hero0Box() { return g_Heroes[0].m_BodyBox; }
  cChara* m_Brought = nullptr;
};

TEST_F(ContactsTest, ATouchMeetsWhatADeathEarlierInThePassBroughtWithinReach) {
  Arm(Hero(), 100, 0);
  cChara& away = Enemy(1);
  Shift(away, 1000.0);
  cBringingOnDeath dying;
  dying.m_Def = CharaDef();
  dying.m_Operator = 1;
  dying.m_Hp = 1;
  dying.m_BodyBox = Hero().m_BodyBox;
  List(dying, 1);
  cChara& brought = Enemy(1);
  Shift(brought, 1000.0);
  dying.m_Brought = &brought;
  EXPECT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(dying.m_Dead, 1);
  EXPECT_EQ(brought.m_Dead, 1) << "listed after the one whose death brought it";
  EXPECT_EQ(away.m_Dead, 0);
  m_Scene->m_GroupCharas.At(1).Clear();
}

TEST_F(ContactsTest, AShotStrikesOnlyWhatItMayAndHurtsOnlyWithSomethingToBring) {
  struct Case {
    const char* what;
    std::uint8_t invincibleState;
    std::int32_t invincibleSteps;
    std::int32_t power;
    bool hasItem;
    bool mayStrike;
    bool struck;
    std::int32_t hpAfter;
  };
  const Case cases[] = {
      {"plain", 0, 0, 4, false, true, true, 6},
      {"state 1 is struck but loses nothing", 1, 0, 4, false, true, true, 10},
      {"state 2 lets shots through", 2, 0, 4, false, false, false, 10},
      {"invincible after a hit", 0, 5, 4, false, true, false, 10},
      {"nothing to bring", 0, 0, 0, false, true, false, 10},
      {"an item alone", 0, 0, 0, true, true, true, 10},
  };
  g_Stage.SetField(kCharaInvincibleFrames, 3);
  for (const Case& c : cases) {
    m_Sounds.clear();
    cChara& target = Enemy(1);
    target.m_Def.m_Invincible = c.invincibleState;
    target.m_InvincibleSteps = c.invincibleSteps;
    cShotStrike shot;
    shot.m_Power = c.power;
    shot.m_HasItem = c.hasItem;
    EXPECT_EQ(ShotMayStrike(target, true), c.mayStrike) << c.what;
    if (!c.mayStrike) continue;
    bool struck = false;
    EXPECT_EQ(ShotStrikesChara(shot, target, struck), 0) << c.what;
    EXPECT_EQ(struck, c.struck) << c.what;
    EXPECT_EQ(target.m_Hp, c.hpAfter) << c.what;
    EXPECT_EQ(Count(kSoundHurt), c.struck ? 1 : 0) << c.what;
    EXPECT_EQ(target.m_InvincibleSteps, c.struck ? 3 * g_StepsPerFrame : c.invincibleSteps) << c.what;
  }
  // Killed: the computer's death sound and its death code; a hero's code is 2.
  cChara& target = Enemy(1);
  cShotStrike shot;
  shot.m_Power = 50;
  bool struck = false;
  m_Sounds.clear();
  EXPECT_EQ(ShotStrikesChara(shot, target, struck), 0);
  EXPECT_EQ(target.m_Dead, 1);
  EXPECT_EQ(m_Sounds, (std::vector<int>{kSoundCharaKilled}));
  m_Sounds.clear();
  EXPECT_EQ(ShotStrikesChara(shot, Hero(), struck), 2);
  EXPECT_TRUE(m_Sounds.empty());
  // Off screen with on-screen contacts only.
  g_Stage.SetField(kOnScreenContactsOnly, 1);
  EXPECT_FALSE(ShotMayStrike(Enemy(1), false));
}

TEST_F(ContactsTest, StatusDeathsRemoveOrKeepTheDeadAsTheProjectSays) {
  for (std::int32_t keep : {0, 1}) {
    g_System.m_KeepDeadCharacters = keep;
    m_Sounds.clear();
    cChara& dying = Enemy(1);
    dying.m_Hp = 0;
    cChara& marked = Enemy(1);
    marked.m_RemovalMark = 1;
    cChara& alive = Enemy(1);
    const std::int32_t dyingId = dying.m_Id;
    const std::int32_t markedId = marked.m_Id;
    EXPECT_EQ(CheckStatusDeaths(), 0) << keep;
    EXPECT_EQ(FindCharaById(alive.m_Id), &alive);
    EXPECT_EQ(FindCharaById(markedId), nullptr) << keep;
    if (keep == 0) {
      EXPECT_EQ(FindCharaById(dyingId), nullptr);
      EXPECT_TRUE(m_Sounds.empty());
    } else {
      ASSERT_NE(FindCharaById(dyingId), nullptr);
      EXPECT_EQ(FindCharaById(dyingId)->m_Dead, 1);
      EXPECT_EQ(m_Sounds, (std::vector<int>{kSoundCharaKilled}));
      // A later check leaves the character whose death plays out alone.
      EXPECT_EQ(CheckStatusDeaths(), 0);
      EXPECT_EQ(Count(kSoundCharaKilled), 1);
    }
    g_CharaList.Clear();
  }
}

TEST_F(ContactsTest, AStatusDeathOfTheHeroEndsTheStepWithItsSound) {
  Hero().m_Hp = 0;
  EXPECT_EQ(CheckStatusDeaths(), 1);
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_EQ(m_Sounds, (std::vector<int>{kSoundHeroDies}));
  // Dead already: no second death.
  EXPECT_EQ(CheckStatusDeaths(), 0);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
}

TEST_F(ContactsTest, ADeathThatClearsTheStageFinishesItAndShowsTheResult) {
  cChara& victim = Enemy(1);
  victim.m_Hp = 0;
  m_Scene->m_StageEndRequest = 1;
  m_Scene->m_State = kPlayRunning;
  EXPECT_EQ(CheckStatusDeaths(), 1);
  EXPECT_EQ(m_Scene->m_State, kPlayStageResult);
  EXPECT_EQ(g_CharaList.Size(), 0);
  // A player-operated object's death is the hero's.
  m_Scene->m_StageEndRequest = 0;
  m_Scene->m_State = kPlayRunning;
  EXPECT_EQ(ProcessDeath(Hero()), 2);
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_EQ(m_Scene->m_State, kPlayRunning);
}

TEST_F(ContactsTest, APassOverACrowdAllocatesNothing) {
  // Objects of every group on one spot: half of them armed, all touching every other group. After
  // the first pass every victim is protected from every attacker, as in a crowd that keeps touching.
  // The second pass is the first without hits: the first whose box copies last the pass, and so the
  // last to find their room too small.
  SetHp(Hero(), 1000000, 1000000);
  for (int i = 0; i < 64; ++i) {
    cChara& c = Enemy(1 + i % 7, i % 2, 0);
    SetHp(c, 1000000, 1000000);
  }
  ASSERT_EQ(HeroCharaContacts(), 0);
  ASSERT_EQ(HeroCharaContacts(), 0);
  cAllocationWatch watch;
  for (int pass = 0; pass < 20; ++pass) ASSERT_EQ(HeroCharaContacts(), 0);
  EXPECT_EQ(watch.Stop(), 0);
}

}  // namespace
