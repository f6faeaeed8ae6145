// The object's own part of a flow step: the motion reset before the flows run (with and without the
// auto-scroll), the per-step flags, and the standing pattern after them.
#include "play/hero.h"
#include "tests/script/flow_fixture.h"

namespace flowtest {
namespace {

constexpr double kScrollX = 0.5;
constexpr double kScrollY = -0.25;

TEST_F(FlowTest, TheOwnMotionStartsFromTheScrollTheObjectFollows) {
  struct Case {
    const char* name;
    bool hero;
    std::int32_t moveWithScroll, follows, flying;
    double vx, vy;  // 9.0 stands for "kept"
  };
  const Case cases[] = {
      {"character, walking", false, 0, 0, 0, 0.0, 9.0},
      {"character, flying", false, 0, 0, 1, 0.0, 0.0},
      {"character following the scroll, walking", false, 0, 1, 0, kScrollX, 9.0},
      {"character following the scroll, flying", false, 0, 1, 1, kScrollX, kScrollY},
      {"character under the project switch", false, 1, 1, 1, 0.0, 0.0},
      {"hero following the scroll, flying", true, 0, 1, 1, kScrollX, kScrollY},
      {"hero under the project switch, flying", true, 1, 0, 1, kScrollX, kScrollY},
      {"hero under the project switch, walking", true, 1, 1, 0, 0.0, 9.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_System.m_LegacyScrollSync = c.moveWithScroll;
    g_PlayScene->m_ScrollX.m_AutoSpeed = kScrollX;
    g_PlayScene->m_ScrollY.m_AutoSpeed = kScrollY;
    cChara chara;
    cHero hero;
    cCharaBase& object = c.hero ? static_cast<cCharaBase&>(hero) : chara;
    object.Init(nullptr, 0, 0, 0);
    object.m_FollowsScroll = c.follows;
    object.m_Flying = c.flying;
    object.m_Vx = object.m_Vy = 9.0;
    object.m_Held = 1;
    object.m_FrictionX = object.m_FrictionY = 0;
    object.m_MovedThisStep = object.m_HiddenThisStep = object.m_CommandAnimeSet = 1;
    object.m_Countdown = 2;
    object.m_Hp = 5;
    hero.m_JumpDoneThisStep = 1;
    hero.m_StepWords[0] = hero.m_StepWords[1] = 1;
    EXPECT_EQ(c.hero ? hero.RunFlows(0) : chara.RunFlows(0), 0);
    EXPECT_EQ(object.m_Vx, c.vx);
    EXPECT_EQ(object.m_Vy, c.vy);
    EXPECT_EQ(object.m_Held, 0);
    EXPECT_EQ(object.m_FrictionX, 1);
    EXPECT_EQ(object.m_FrictionY, 1);
    EXPECT_EQ(object.m_MovedThisStep + object.m_HiddenThisStep + object.m_CommandAnimeSet, 0);
    EXPECT_EQ(object.m_Countdown, 1);
    if (c.hero) {
      EXPECT_EQ(hero.m_JumpDoneThisStep + hero.m_StepWords[0] + hero.m_StepWords[1], 0);
    }
  }
}

TEST_F(FlowTest, TheAxisHeldAtItsLimitCarriesNothing) {
  g_PlayScene->m_ScrollX.m_AutoSpeed = kScrollX;
  g_PlayScene->m_ScrollX.m_AtLimit = 1;
  cChara chara;
  chara.Init(nullptr, 0, 0, 0);
  chara.m_FollowsScroll = 1;
  chara.m_Vx = 3.0;
  chara.RunFlows(0);
  EXPECT_EQ(chara.m_Vx, 0.0);
}

TEST_F(FlowTest, AnObjectNoCommandAnimatedAndWithoutDriveStands) {
  // Patterns 0 (standing), 1 (walking) and 2 (flying) of one-frame loops; a wait command that
  // may say it set the animation.
  m_Custom = [](cCharaBase& object, cCommandInstance&) { object.m_CommandAnimeSet = 1; };
  struct Case {
    const char* name;
    std::int32_t flying, animated;
    double drive;
    std::int32_t pattern;
  };
  const Case cases[] = {
      {"walking", 0, 0, 0.0, 0},
      {"flying", 1, 0, 0.0, 2},
      {"animated by a command", 0, 1, 0.0, 1},
      {"driven", 0, 0, 0.25, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cCharaDef def;
    def.m_Flows.assign(1, Flow(kTriggerAlways, {Command(kCharaWait, 1, false, c.animated ? kCustom : kDoNothing)}));
    cChara chara;
    chara.Init(&def, 0, 0, 0);
    AddFlows(chara, chara.m_Def.m_Flows, 0, 0, -1);
    chara.m_Flying = c.flying;
    chara.m_DriveX = c.drive;
    for (int p = 0; p < 3; ++p) chara.m_Anime.AppendPattern() = AnimeFrameList{{p, 4, 0}, {kAnimeLoop, 0, 0}};
    chara.m_Anime.SetPattern(1, 1);
    RunTriggeredFlows(chara, kTriggerAlways);
    chara.RunFlows(0);
    EXPECT_EQ(chara.m_Anime.Pattern(), c.pattern);
  }
}

TEST_F(FlowTest, TheHerosQueuedFlowChangesAreTakenAfterItsFlows) {
  cHero hero;
  hero.Init(nullptr, 0, 0, 0);
  hero.m_QueuedFlowChanges.assign(2, cFlowCommand());
  hero.RunFlows(0);
  EXPECT_TRUE(hero.m_QueuedFlowChanges.empty());
}

}  // namespace
}  // namespace flowtest
