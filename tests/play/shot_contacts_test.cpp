// Shots against characters (a normal shot goes after its hit, a piercing shot and a swing hit each
// object once, shots pass through invincible state 2) and shots cancelling shots by strength.
#include <functional>
#include <vector>

#include "play/flow_runner.h"
#include "play/shot.h"
#include "project/database_resources.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

// An object whose death flows change the stage through change.
class cChangingOnDeath : public cCharaBase {
 public:
  std::int32_t RunFlows(std::int32_t deathOnly) override {
    if (deathOnly != 0 && m_Change) m_Change();
    return 0;
  }
  std::function<void()> m_Change;
};

cSubBox BoxAt(double x1, double x2) {
  cSubBox box;
  box.m_X1 = x1;
  box.m_X2 = x2;
  box.m_Y1 = 100.0;
  box.m_Y2 = 131.0;
  return box;
}

class ShotContactsTest : public ShotTest {
 protected:
  // A shot of the hero's group lying over enemy, with power 1.
  cShot& ShotOver(cCharaBase& enemy, std::uint8_t pierce, bool sword) {
    cEdShot params = Params();
    params.m_Word112 = 1;
    params.m_Byte107 = pierce;
    cShot& shot = Fire(Hero(), params, Spawn(enemy.m_X1, enemy.m_Y1, 0.0, 0.0), sword ? kSwordCommand : 11);
    shot.m_ShotBox = enemy.m_ShotBox;
    shot.m_OnScreen = 1;
    return shot;
  }

  // dying as a character of group 1 with 1 HP, its shot box at box.
  void ListDying(cChangingOnDeath& dying, const cSubBox& box) {
    dying.m_Def = CharaDef();
    dying.m_Operator = 1;
    dying.m_Id = ++m_LastId;
    SetHp(dying, 1, 1);
    dying.m_ShotBox = box;
    List(dying, 1);
  }
};

TEST_F(ShotContactsTest, NormalShotsGoPiercingShotsAndSwingsHitEachObjectOnce) {
  g_Database.m_SwordTypes.assign(1, cSwordTypeDef());
  struct Case {
    const char* what;
    std::uint8_t pierce, invincibleState;
    bool sword;
    std::int32_t hpAfter;
    bool stays;
  };
  const Case cases[] = {
      {"normal", 0, 0, false, 9, false},
      {"piercing", 1, 0, false, 9, true},
      {"sword swing", 0, 0, true, 9, true},
      {"through invincible state 2", 0, 2, false, 10, true},
  };
  for (const Case& c : cases) {
    cChara& enemy = Enemy(1);
    SetHp(enemy, 10, 10);
    enemy.m_Def.m_Invincible = c.invincibleState;
    ShotOver(enemy, c.pierce, c.sword);
    for (int pass = 0; pass < 3; ++pass) {
      EXPECT_EQ(ShotsAgainstCharas(), 0);
      enemy.m_InvincibleSteps = 0;  // only the hit list keeps a second hit away
    }
    EXPECT_EQ(enemy.m_Hp, c.hpAfter) << c.what;
    EXPECT_EQ(m_Scene->m_ShotList.size(), c.stays ? 1u : 0u) << c.what;
    EXPECT_EQ(m_Scene->m_GroupShots.At(0).Size(), c.stays ? 1 : 0) << c.what;
    ClearShots();
    g_CharaList.Remove(&enemy);
  }
}

TEST_F(ShotContactsTest, APiercingShotStrikesInListOrderAndMeetsWhatAStrikeChanged) {
  cEdShot params = Params();
  params.m_Word112 = 1;
  params.m_Byte107 = 1;
  const auto strikeOrder = [&](cCharaBase& before) {
    cShot& shot = Fire(Hero(), params, Spawn(100, 100, 0.0, 0.0));
    shot.m_ShotBox = BoxAt(100.0, 200.0);
    shot.m_OnScreen = 1;
    before.m_ShotBox = BoxAt(300.0, 331.0);  // listed first, out of reach
    EXPECT_EQ(ShotsAgainstCharas(), 0);
    return std::vector<std::int32_t>(shot.m_HitList.begin(), shot.m_HitList.end());
  };
  {
    // The one further right is listed first, and is struck first.
    cChara& before = Enemy(1);
    cChara& right = Enemy(1);
    cChara& left = Enemy(1);
    right.m_ShotBox = BoxAt(160.0, 191.0);
    left.m_ShotBox = BoxAt(100.0, 131.0);
    EXPECT_EQ(strikeOrder(before), (std::vector<std::int32_t>{right.m_Id, left.m_Id}));
  }
  ClearShots();
  g_CharaList.Clear();
  m_Scene->m_GroupCharas.At(1).Clear();
  // The first one struck dies, and its death brings one listed later into the shot's reach and
  // lists a new one there: the shot meets both after it, in list order.
  cChara& before = Enemy(1);
  cChangingOnDeath dying;
  ListDying(dying, BoxAt(180.0, 211.0));
  cChara& brought = Enemy(1);
  brought.m_ShotBox = BoxAt(500.0, 531.0);
  cChara& late = g_CharaList.Emplace();
  late.Setup(++m_LastId, CharaDef(), nullptr, 0.0, 0.0, 0);
  late.m_Present = late.m_OnScreen = 1;
  late.m_ShotBox = BoxAt(120.0, 151.0);
  dying.m_Change = [&] {
    brought.m_ShotBox = BoxAt(140.0, 171.0);
    List(late, 1);
  };
  EXPECT_EQ(strikeOrder(before), (std::vector<std::int32_t>{dying.m_Id, brought.m_Id, late.m_Id}));
  EXPECT_EQ(dying.m_Dead, 1);
  m_Scene->m_GroupCharas.At(1).Clear();
}

TEST_F(ShotContactsTest, ShotsAfterAStrikeMeetTheObjectsAsTheStrikeLeftThem) {
  // The first shot kills an object whose death brings another one under the second shot, and a
  // third shot listed later still strikes what it overlaps.
  cEdShot params = Params();
  params.m_Word112 = 1;
  params.m_Byte107 = 1;
  cChangingOnDeath dying;
  ListDying(dying, BoxAt(100.0, 131.0));
  cChara& brought = Enemy(1);
  brought.m_ShotBox = BoxAt(900.0, 931.0);
  cChara& standing = Enemy(1);
  standing.m_ShotBox = BoxAt(600.0, 631.0);
  dying.m_Change = [&] { brought.m_ShotBox = BoxAt(300.0, 331.0); };
  std::vector<cShot*> shots;
  for (double x : {100.0, 300.0, 600.0}) {
    cShot& shot = Fire(Hero(), params, Spawn(x, 100, 0.0, 0.0));
    shot.m_ShotBox = BoxAt(x, x + 15.0);
    shot.m_OnScreen = 1;
    shots.push_back(&shot);
  }
  EXPECT_EQ(ShotsAgainstCharas(), 0);
  EXPECT_EQ(dying.m_Dead, 1);
  EXPECT_EQ(shots[1]->m_HitList, CheckedVector<std::int32_t>{brought.m_Id});
  EXPECT_EQ(shots[2]->m_HitList, CheckedVector<std::int32_t>{standing.m_Id});
  m_Scene->m_GroupCharas.At(1).Clear();
}

TEST_F(ShotContactsTest, OverlappingShotsCancelByStrength) {
  struct Case {
    std::uint8_t sCancels;
    std::int8_t sStrength;
    std::uint8_t tCancels;
    std::int8_t tStrength;
    bool sStays, tStays;
  };
  const Case cases[] = {
      {1, 3, 1, 2, true, false}, {1, 2, 1, 3, false, true}, {1, 2, 1, 2, false, false},
      {1, 9, 0, 0, false, true}, {0, 0, 1, 9, true, false}, {0, 0, 0, 0, true, true},
  };
  cChara& enemy = Enemy(1);
  for (const Case& c : cases) {
    cEdShot ps = Params();
    ps.m_Byte108 = c.sCancels;
    ps.m_Byte109 = static_cast<std::uint8_t>(c.sStrength);
    cEdShot pt = Params();
    pt.m_Byte108 = c.tCancels;
    pt.m_Byte109 = static_cast<std::uint8_t>(c.tStrength);
    const cShot& s = Fire(Hero(), ps, Spawn(600, 600, 0.0, 0.0));
    const cShot& t = Fire(enemy, pt, Spawn(610, 605, 0.0, 0.0));
    ShotsAgainstShots();
    const auto listed = [this](const cShot& shot) {
      for (const cShot& one : m_Scene->m_ShotList)
        if (&one == &shot) return true;
      return false;
    };
    SCOPED_TRACE(testing::Message() << int{c.sCancels} << "/" << int{c.sStrength} << " against " << int{c.tCancels}
                                    << "/" << int{c.tStrength});
    EXPECT_EQ(listed(s), c.sStays);
    EXPECT_EQ(listed(t), c.tStays);
    EXPECT_EQ(m_Scene->m_GroupShots.At(0).Size(), c.sStays ? 1 : 0);
    EXPECT_EQ(m_Scene->m_GroupShots.At(1).Size(), c.tStays ? 1 : 0);
    ClearShots();
  }
}

TEST_F(ShotContactsTest, AShotBringingNothingRaisesTheStruckTriggerWhereAFlowCouldStart) {
  cFlow struckFlow;
  struckFlow.m_Trigger = kTriggerShotStruck;
  cFlow otherFlow;
  otherFlow.m_Trigger = kTriggerBlockHit;
  const auto bind = [](cCharaBase& c, cFlow* flow) {
    c.m_Runners.resize(1);
    c.m_Runners[0].m_Flow = flow;
  };
  // Group 1 has one object with a struck flow among others; group 2 has flows of other triggers
  // only, and runners bound to none.
  cChara& plain = Enemy(1);
  cChara& listening = Enemy(1);
  cChara& elsewhere = Enemy(2);
  cChara& unbound = Enemy(2);
  bind(listening, &struckFlow);
  bind(elsewhere, &otherFlow);
  bind(unbound, nullptr);

  // Without scripts no flow can start, whatever the object has.
  for (const cChara* c : {&plain, &listening, &elsewhere, &unbound})
    EXPECT_FALSE(MayStartFlows(*c, kTriggerShotStruck)) << c->m_Id;
  playtest::cRaiseLog log;
  cEventScripts* const before = SetEventScripts(&log);
  EXPECT_TRUE(MayStartFlows(listening, kTriggerShotStruck));
  EXPECT_FALSE(MayStartFlows(listening, kTriggerBlockHit));
  EXPECT_TRUE(MayStartFlows(elsewhere, kTriggerBlockHit));
  EXPECT_FALSE(MayStartFlows(elsewhere, kTriggerShotStruck));
  EXPECT_FALSE(MayStartFlows(unbound, kTriggerShotStruck));

  // A shot with no power, impact or item over all four: the group that could answer is told of
  // the strike for every object the shot overlaps, in list order; the other group is left out.
  cShot& shot = Fire(Hero(), Params(), Spawn(plain.m_X1, plain.m_Y1, 0.0, 0.0));
  shot.m_ShotBox = plain.m_ShotBox;
  shot.m_OnScreen = 1;
  EXPECT_EQ(ShotsAgainstCharas(), 0);
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {{plain.m_Id, kTriggerShotStruck},
                                                                       {listening.m_Id, kTriggerShotStruck}};
  EXPECT_EQ(log.m_Raised, expected);

  // A shot with power tells every object it strikes, listening or not.
  log.m_Raised.clear();
  ClearShots();
  cEdShot params = Params();
  params.m_Word112 = 1;
  params.m_Byte107 = 1;  // piercing: it stays to strike them all
  cShot& strong = Fire(Hero(), params, Spawn(plain.m_X1, plain.m_Y1, 0.0, 0.0));
  strong.m_ShotBox = plain.m_ShotBox;
  strong.m_OnScreen = 1;
  EXPECT_EQ(ShotsAgainstCharas(), 0);
  std::vector<std::int32_t> told;
  for (const auto& [id, trigger] : log.m_Raised)
    if (trigger == kTriggerShotStruck) told.push_back(id);
  EXPECT_EQ(told, (std::vector<std::int32_t>{plain.m_Id, listening.m_Id, elsewhere.m_Id, unbound.m_Id}));
  SetEventScripts(before);
}

}  // namespace
