// The game thread's loop: frames only while the program is active, none once the frame budget of a
// headless run is spent, an orderly close after a failed frame, and the workers' suspension.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/host/message_queue.h"
#include "platform/services/thread.h"
#include "platform/ui/window.h"
#include "shell/app_state.h"
#include "shell/game_loop.h"
#include "shell/headless.h"
#include "tests/support/messages.h"

namespace {

std::atomic<int> s_Frames{0};
std::atomic<int> s_FailAt{-1};

int CountingFrame() {
  const int n = ++s_Frames;
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  return n == s_FailAt.load() ? 0 : 1;
}

// Waits (real time) until pred holds; false after two seconds.
template <class Pred>
bool Eventually(Pred pred) {
  for (int i = 0; i < 2000; ++i) {
    if (pred()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return pred();
}

// Frames run within a while of real time.
int FramesWithin(int ms) {
  const int before = s_Frames.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return s_Frames.load() - before;
}

class GameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMessageShutdown();
    TakeMainWindowMessages(WM_CLOSE);
    ResetHeadless();
    s_Frames = 0;
    s_FailAt = -1;
    SetGameFrameFunction(CountingFrame);
  }
  void TearDown() override {
    thGame.Quit();
    SetGameFrameFunction(nullptr);
    g_AppActive = 0;
    ResetHeadless();
    TakeMainWindowMessages(WM_CLOSE);
  }
};

TEST_F(GameLoopTest, FramesRunOnlyWhileActiveAndResumeWithoutANewStart) {
  g_AppActive = 0;
  ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
  EXPECT_EQ(FramesWithin(30), 0) << "inactive: no frame";
  g_AppActive = 1;
  ASSERT_TRUE(Eventually([] { return s_Frames.load() >= 5; }));
  g_AppActive = 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(FramesWithin(30), 0) << "deactivated: frames stop";
  g_AppActive = 1;
  EXPECT_TRUE(Eventually([] { return s_Frames.load() >= 10; })) << "reactivated: frames go on";
  EXPECT_NE(thGame.m_hThread.load(), 0u) << "the same thread all along";
}

TEST_F(GameLoopTest, WmQuitEndsTheLoopAndOtherMessagesAreDropped) {
  g_AppActive = 0;
  ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
  ASSERT_TRUE(PostThreadMessage(thGame.id, WM_APP, 0, 0));
  ASSERT_TRUE(PostThreadMessage(thGame.id, WM_QUIT, 0, 0));
  thGame.Wait();
  EXPECT_EQ(thGame.m_hThread.load(), 0u);
  EXPECT_EQ(s_Frames.load(), 0);
}

TEST_F(GameLoopTest, AFailedFrameClosesTheProgramAndEndsTheThread) {
  s_FailAt = 3;
  g_AppActive = 1;
  ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
  thGame.Wait();
  EXPECT_EQ(s_Frames.load(), 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(GameLoopTest, NoFrameRunsOnceTheFrameBudgetIsSpent) {
  RunOptions options;
  options.frames = 4;
  std::string error;
  ASSERT_TRUE(StartHeadless(options, &error)) << error;
  g_AppActive = 1;
  // The frame function stands for the scene manager, which reports each present.
  SetGameFrameFunction([] {
    ++s_Frames;
    OnFramePresented();
    return 1;
  });
  ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
  ASSERT_TRUE(Eventually([] { return s_Frames.load() >= 4; }));
  EXPECT_EQ(FramesWithin(30), 0);
  EXPECT_EQ(s_Frames.load(), 4) << "exactly the frames asked for";
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(GameLoopTest, SuspendedWorkersRunNoFrameUntilResumed) {
  g_AppActive = 1;
  ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
  ASSERT_TRUE(Eventually([] { return s_Frames.load() >= 3; }));
  SuspendWorkers();
  ASSERT_TRUE(Eventually([] { return thGame.IsHeld(); }));
  EXPECT_EQ(FramesWithin(30), 0);
  ResumeWorkers();
  const int held = s_Frames.load();
  EXPECT_TRUE(Eventually([held] { return s_Frames.load() > held + 3; }));
}

}  // namespace
