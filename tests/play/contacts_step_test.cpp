// Contacts in whole frames of play: an enemy beside the hero hurts it once every 30 frames with the
// hurt sound, and one that hits hard kills it, which ends the frame with the hero's death sound.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/chara.h"
#include "play/damage.h"
#include "tests/play/play_scene_fixture.h"

namespace {

using playtest::PlaySceneTest;

class ContactsStepTest : public PlaySceneTest {
 protected:
  // An enemy of group 1 standing on the floor on the hero's cell, with this body attack.
  static void PlaceEnemy(std::int32_t power) {
    cCharaDef enemy = CharaDef();
    enemy.m_PosX = kHeroColumn;
    enemy.m_PosY = kFloorRow - 1;
    enemy.m_BodyAttack = power;
    g_Stage.m_PlacedCharas.push_back(enemy);
    g_PlayState.CopyHeaderFrom(g_Stage);
  }
  void Play() {
    m_Scene->SetStage(0, 1);
    m_Scene->m_State = kPlayRunning;
  }
  int Count(int sound) const { return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), sound)); }
};

TEST_F(ContactsStepTest, AnEnemyOnTheHeroHurtsItOnceEvery30Frames) {
  PlaceEnemy(1);
  Play();
  ASSERT_EQ(g_CharaList.Size(), 1);
  ASSERT_NE(g_CharaList.begin()->m_Group, Hero().m_Group);
  const std::int32_t full = Hero().m_Hp;
  std::vector<int> hitFrames;
  for (int frame = 0; frame < 61; ++frame) {
    const std::int32_t hp = Hero().m_Hp;
    RunFrame();
    if (Hero().m_Hp != hp) hitFrames.push_back(frame);
  }
  EXPECT_EQ(hitFrames, (std::vector<int>{0, 30, 60}));
  EXPECT_EQ(Hero().m_Hp, full - 3);
  EXPECT_EQ(Count(kSoundHurt), 3);
  EXPECT_EQ(Hero().m_Dead, 0);
}

TEST_F(ContactsStepTest, AnEnemyThatHitsHardKillsTheHeroAndEndsTheFrame) {
  PlaceEnemy(1000);
  Play();
  RunFrame();
  EXPECT_EQ(Hero().m_Hp, 0);
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
  EXPECT_EQ(Count(kSoundHurt), 1);
}

}  // namespace
