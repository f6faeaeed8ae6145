// Shots against characters (a normal shot goes after its hit, a piercing shot and a swing hit each
// object once, shots pass through invincible state 2) and shots cancelling shots by strength.
#include "play/shot.h"
#include "project/database_resources.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

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

}  // namespace
