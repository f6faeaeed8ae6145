// The play scene's states: lives, banners, the hero's death and what follows it, the pause and retry
// menus, game over, and an entry or fade-out whose pictures or stage cannot be had.
#include <gtest/gtest.h>

#include "platform/display/blit.h"
#include "tests/play/play_scene_fixture.h"

namespace {

using playtest::PlaySceneTest;
using PlayStatesTest = PlaySceneTest;

constexpr int kKeyButton1 = 'Z';
constexpr int kKeyButton2 = 'X';
constexpr int kSoundHeroDies = 8;

TEST_F(PlayStatesTest, UseLife) {
  struct Case {
    std::int32_t testPlay;
    std::int32_t lives;
    std::int32_t result;
    std::int32_t after;
  };
  const Case cases[] = {
      {0, 3, 1, 2}, {0, 1, 1, 0}, {0, 0, 0, 0}, {0, kUnlimitedLives, 1, kUnlimitedLives}, {1, 0, 1, 0},
  };
  for (const Case& c : cases) {
    g_TestPlay = c.testPlay;
    cSaveData progress;
    progress.m_Lives = c.lives;
    EXPECT_EQ(UseLife(progress), c.result) << c.testPlay << " " << c.lives;
    EXPECT_EQ(progress.m_Lives, c.after) << c.testPlay << " " << c.lives;
  }
  g_TestPlay = 0;
}

class Playing : public PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    g_SaveData.m_StartLives = 3;
  }

  // The entry's part of the life accounting, then the stage and its first state after the fade.
  void Start() {
    m_Scene->ResetPlayProgress();
    UseLife(g_SaveData);
    m_Scene->SetStage(0, 1);
    m_Scene->m_State = kPlayReady;
  }

  // The hero killed in the next frame of play; the frames until the state leaves play.
  int KillAndWatch() {
    EXPECT_EQ(m_Scene->m_State, kPlayRunning);
    m_Scene->m_StageEndRequest = 2;
    return FramesWhile(kPlayRunning, 1000);
  }
};

TEST_F(Playing, LivesAfterEntryAndGameOverAtTheThirdDeath) {
  Start();
  EXPECT_EQ(g_SaveData.m_Lives, 2) << "one of the three is in play";
  RunFrame();
  ASSERT_EQ(m_Scene->m_State, kPlayRunning) << "no banner: play in the first frame";
  // The frame of the death, then one second of the dead hero, then the retry.
  EXPECT_EQ(KillAndWatch(), 1 + 61);
  EXPECT_EQ(m_Scene->m_State, kPlayReady);
  EXPECT_EQ(g_SaveData.m_Lives, 1);
  EXPECT_EQ(Hero().m_Dead, 0) << "a new hero";
  EXPECT_EQ(std::count(m_Sounds.begin(), m_Sounds.end(), kSoundHeroDies), 1);
  RunFrame();
  KillAndWatch();
  EXPECT_EQ(g_SaveData.m_Lives, 0);
  RunFrame();
  KillAndWatch();
  EXPECT_EQ(m_Scene->m_State, kPlayGameOver);
  EXPECT_EQ(g_SaveData.m_Lives, 0);
}

TEST_F(Playing, UnlimitedLivesNeverRunOut) {
  g_SaveData.m_StartLives = kUnlimitedLives;
  Start();
  EXPECT_EQ(g_SaveData.m_Lives, kUnlimitedLives);
  for (int death = 0; death < 4; ++death) {
    RunFrame();
    KillAndWatch();
    EXPECT_EQ(m_Scene->m_State, kPlayReady);
    EXPECT_EQ(g_SaveData.m_Lives, kUnlimitedLives);
  }
}

TEST_F(Playing, AStoryWithTheRetryMenuAsksAfterALostLife) {
  g_SceneManager.m_PlayMode = kPlayStory;
  g_SceneManager.m_TitleChoice = kTitleNewStory;
  g_System.m_StoryRetryMenu = 1;
  Start();
  RunFrame();
  KillAndWatch();
  ASSERT_EQ(m_Scene->m_State, kPlayRetryMenu);
  RunFrame();
  EXPECT_EQ(g_MenuCursor.current->row, 0) << "on リトライ";
  HoldKeys({VK_DOWN});
  RunFrame();
  HoldKeys({});
  RunFrame();
  HoldKeys({kKeyButton1});
  RunFrame();
  EXPECT_EQ(m_Scene->m_State, kPlayFadeOut);
  EXPECT_EQ(g_SceneManager.m_Next, kSceneWorldMap);
  EXPECT_EQ(g_SaveData.m_BackToMap, 1);
}

TEST_F(Playing, Banners) {
  struct Case {
    std::int32_t stageBanner;
    std::int32_t startBanner;
    std::int32_t titleChoice;
    std::int32_t editor;
    int framesInReady;
  };
  // Each banner stays 79 frames; the frame whose counter reaches 80 already runs what follows.
  const Case cases[] = {
      {0, 0, kTitleFreePlay, 0, 1},        {1, 0, kTitleFreePlay, 0, 80},
      {0, 1, kTitleFreePlay, 0, 80},       {1, 1, kTitleFreePlay, 0, 159},
      {1, 1, kTitleChoiceReplay, 0, 159},  {0, 0, kTitleChoiceReplay, 0, 80},
      {1, 1, kTitleFreePlay, 1, 1},
  };
  for (const Case& c : cases) {
    g_Stage.SetField(static_cast<StageField>(31), c.stageBanner);
    g_Stage.SetField(kStartBanner, c.startBanner);
    g_SceneManager.m_TitleChoice = c.titleChoice;
    g_EditorLaunched = c.editor;
    g_TestPlay = c.editor;
    m_Scene->m_BannerCounter = m_Scene->m_StartBannerCounter = 0;
    m_Scene->m_State = kPlayReady;
    EXPECT_EQ(FramesWhile(kPlayReady, 500), c.framesInReady)
        << c.stageBanner << c.startBanner << " choice " << c.titleChoice << " editor " << c.editor;
    EXPECT_EQ(m_Scene->m_State, kPlayRunning);
    EXPECT_EQ(m_Scene->m_BannerCounter, 0);
  }
  g_EditorLaunched = 0;
  g_TestPlay = 0;
}

TEST_F(Playing, PausingFromGameOverAndGoingOnReturnsToGameOver) {
  Start();
  m_Scene->m_State = kPlayGameOver;
  m_Scene->m_SubStep = 0;
  HoldKeys({VK_SPACE});
  RunFrame();
  ASSERT_EQ(m_Scene->m_State, kPlayPauseMenu);
  EXPECT_EQ(m_Scene->m_SavedState, kPlayGameOver);
  HoldKeys({});
  RunFrame();
  EXPECT_EQ(g_MenuCursor.current->row, 1) << "on つづける";
  HoldKeys({kKeyButton1});
  RunFrame();
  EXPECT_EQ(m_Scene->m_State, kPlayGameOver);
  EXPECT_EQ(m_Scene->m_SwallowButtons, 1);
}

TEST_F(Playing, ThePauseMenu) {
  struct Case {
    const char* name;
    std::int32_t playMode;
    int downs;  // cursor moves from つづける
    int key;
    std::int32_t state;
    std::int32_t subStep;
  };
  const Case cases[] = {
      {"free play: retry", kPlayFree, 1, kKeyButton1, kPlayReady, 0},
      {"free play: quit", kPlayFree, 2, kKeyButton1, kPlayFadeOut, 0},
      {"free play: cancel keeps the sub-step", kPlayFree, 0, kKeyButton2, kPlayStageResult, 5},
      {"story without retry: cancel restarts the result", kPlayStory, 0, kKeyButton2, kPlayStageResult, 0},
  };
  g_System.m_StoryPauseRetry = 0;
  for (const Case& c : cases) {
    g_SceneManager.m_PlayMode = c.playMode;
    Start();
    m_Scene->m_State = kPlayPauseMenu;
    m_Scene->m_SubStep = 0;
    m_Scene->m_SavedState = kPlayStageResult;
    m_Scene->m_SavedSubStep = 5;
    HoldKeys({});
    RunFrame();
    for (int i = 0; i < c.downs; ++i) {
      HoldKeys({VK_DOWN});
      RunFrame();
      HoldKeys({});
      RunFrame();
    }
    HoldKeys({c.key});
    RunFrame();
    EXPECT_EQ(m_Scene->m_State, c.state) << c.name;
    EXPECT_EQ(m_Scene->m_SubStep, c.subStep) << c.name;
    if (c.state == kPlayFadeOut) {
      EXPECT_EQ(g_SceneManager.m_Next, kSceneTitle) << c.name;
    }
  }
}

TEST_F(Playing, TheGameOverBannerLeavesForTheTitle) {
  Start();
  m_Scene->m_State = kPlayGameOver;
  HoldKeys({kKeyButton1});
  RunFrame();
  EXPECT_EQ(m_Scene->m_State, kPlayFadeOut);
  EXPECT_EQ(g_SceneManager.m_Next, kSceneTitle);
}

std::uint32_t BackPixel(int x, int y) {
  cPixelBuffer& pixels = g_BackSurface.lpDT ? *g_BackSurface.lpDT->lpSurface : g_BackSurface.lpDDPart->surface->Pixels();
  return pixels.Pixel(x, y);
}

TEST_F(PlayStatesTest, AnEntryWithoutItsPicturesDrawsNothingAndCloses) {
  DDClear(&g_BackSurface, 5);
  const std::uint32_t before = BackPixel(320, 240);
  m_Scene->Frame();
  EXPECT_TRUE(m_Scene->Failed());
  EXPECT_GE(TakeCloses(), 1);
  m_Scene->Frame();
  EXPECT_TRUE(m_Scene->Failed());
  EXPECT_EQ(BackPixel(320, 240), before);
  EXPECT_TRUE(g_Heroes.empty()) << "no stage was set up";
}

TEST_F(Playing, AFadeOutWhoseStageIsGoneClosesInOrder) {
  Start();
  g_SceneManager.m_TitleChoice = kTitleFreePlay;
  g_SaveData.m_SubStage = 0;
  g_Stage.m_FileName = "data\\stg4\\gone.stg4";
  g_SceneManager.m_Next = kSceneTitle;
  m_Scene->m_State = kPlayFadeOut;
  FramesWhile(kPlayFadeOut, 200);
  EXPECT_TRUE(m_Scene->Failed());
  EXPECT_GE(TakeCloses(), 1);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneTitle) << "no scene switch: the program closes";
  EXPECT_EQ(g_SceneManager.m_Previous, kSceneTitle);
}

TEST_F(Playing, AFadeOutSwitchesToTheNextScene) {
  Start();
  g_SceneManager.m_TitleChoice = kTitleNewStory;
  g_SceneManager.m_Next = kSceneWorldMap;
  g_SceneManager.m_Current = kScenePlay;
  m_Scene->m_State = kPlayFadeOut;
  FramesWhile(kPlayFadeOut, 200);
  EXPECT_EQ(m_Scene->m_State, cScene::kNotEntered);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneWorldMap);
  EXPECT_EQ(g_SceneManager.m_Previous, kScenePlay);
  EXPECT_EQ(g_SceneManager.m_FrameRate, 60);
}

}  // namespace
