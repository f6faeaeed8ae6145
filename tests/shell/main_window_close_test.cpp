// WM_CLOSE, the one road to the end: the stop order, the pause thread's turn, a close that meets a
// request in progress, and the window messages that lead there (Esc, activation).
#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/sound_effects.h"
#include "platform/host/input_devices.h"
#include "platform/services/thread.h"
#include "project/window_requests.h"
#include "tests/shell/window_fixture.h"

namespace {

std::mutex s_EndLock;
std::vector<int> s_Ended;

// A worker that lives until its WM_QUIT and then notes which one it was.
std::uint32_t Worker(void* tag) {
  while (auto msg = GetThreadMessage()) {
    if (msg->message == WM_QUIT) break;
  }
  std::lock_guard lock(s_EndLock);
  s_Ended.push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(tag)));
  return 0;
}

void* Tag(int n) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(n)); }

std::atomic<int> s_PlayCloses{0};
void CountPlayClose() { ++s_PlayCloses; }

class MainWindowCloseTest : public WindowThreadTest {
 protected:
  void SetUp() override {
    WindowThreadTest::SetUp();
    std::lock_guard lock(s_EndLock);
    s_Ended.clear();
    s_PlayCloses = 0;
  }
  void TearDown() override {
    for (cThread* t : {&thGame, &thPause, &g_RankingThread, &g_StageLoaderThread}) t->Quit();
    WindowThreadTest::TearDown();
  }
  std::vector<std::string> StopLines() {
    std::vector<std::string> stops;
    for (const std::string& l : TraceLines())
      if (l.starts_with("stop ") || l == "window destroyed") stops.push_back(l);
    return stops;
  }
};

TEST_F(MainWindowCloseTest, CloseStopsMusicThenTheWorkersThenTheGameThreadThenTheWindow) {
  ASSERT_TRUE(thGame.Start(Worker, Tag(4)));
  ASSERT_TRUE(g_RankingThread.Start(Worker, Tag(3)));
  ASSERT_TRUE(g_StageLoaderThread.Start(Worker, Tag(1)));
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  ASSERT_TRUE(ServeQueue()) << "the window's destruction posts WM_QUIT";
  EXPECT_EQ(StopLines(), (std::vector<std::string>{"stop music", "stop thread loader", "stop thread pause",
                                                   "stop thread ranking", "stop thread game", "window destroyed"}));
  std::lock_guard lock(s_EndLock);
  EXPECT_EQ(s_Ended, (std::vector<int>{1, 3, 4})) << "each thread ended before the next was asked";
  EXPECT_EQ(thGame.m_hThread.load(), 0u);
  EXPECT_EQ(g_hMainWnd.load(), nullptr);
  EXPECT_TRUE(MessageShutdownBegun());
  std::thread late([] {
    EXPECT_FALSE(SendMainWindowMessage(WM_GAME_PLAYSE, 0, 0).has_value()) << "no send waits on a closed window";
  });
  late.join();
}

TEST_F(MainWindowCloseTest, ASecondCloseAfterTheDestructionDoesNothing) {
  // The window's close event and the session's quit, or the frame count and Esc, can both arrive.
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  ASSERT_TRUE(ServeQueue());
  MainWndProc(g_MainWindow.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(StopLines().size(), 6u) << "one road only";
  EXPECT_EQ(TakePosted(WM_QUIT), 0) << "one WM_QUIT only";
}

TEST_F(MainWindowCloseTest, WhileThePauseThreadRunsCloseOnlyEndsItAndTheNextCloseEndsTheProgram) {
  g_PlayCloseHook = CountPlayClose;
  ASSERT_TRUE(thPause.Start(Worker, Tag(2)));
  MainWndProc(g_MainWindow.Handle(), WM_CLOSE, 0, 0);
  thPause.Wait();
  EXPECT_EQ(s_PlayCloses.load(), 1) << "the play scene is told to close again";
  EXPECT_FALSE(MessageShutdownBegun());
  EXPECT_NE(g_hMainWnd.load(), nullptr);
  EXPECT_TRUE(StopLines().empty());
  // The game thread closes again once the pause thread is gone.
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  ASSERT_TRUE(ServeQueue());
  EXPECT_EQ(StopLines().back(), "window destroyed");
  EXPECT_EQ(s_PlayCloses.load(), 1);
}

TEST_F(MainWindowCloseTest, ACloseMetInsideARequestWaitsUntilTheRequestIsAnswered) {
  ASSERT_TRUE(thGame.Start(Worker, Tag(4)));
  // The dialog's own message loop meets the close while the game thread waits for the dialog.
  std::vector<std::string> linesInside;
  SetFileDialogAnswerer([this, &linesInside](const FileDialogRequest&) -> std::optional<std::string> {
    DispatchMainWindowMessage(HostMessage(WM_CLOSE));
    linesInside = StopLines();
    return std::nullopt;
  });
  const bool chosen = OnGameThread<bool>([] { return SendDialogRequest(WM_GAME_OPENSTAGE, 0); });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(g_DialogDone.load(), 1) << "the request was answered, not cut off by the shutdown";
  EXPECT_TRUE(linesInside.empty()) << "nothing stopped while the request ran";
  EXPECT_TRUE(Traced("close deferred"));
  EXPECT_FALSE(MessageShutdownBegun());
  ASSERT_TRUE(ServeQueue()) << "the deferred close follows the request";
  EXPECT_EQ(StopLines().back(), "window destroyed");
  std::lock_guard lock(s_EndLock);
  EXPECT_EQ(s_Ended, std::vector<int>{4});
}

TEST_F(MainWindowCloseTest, EscapeClosesAndOtherKeysAreSwallowed) {
  MainWndProc(g_MainWindow.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  MainWndProc(g_MainWindow.Handle(), WM_KEYDOWN, 'Z', 0);
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
  MainWndProc(g_MainWindow.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(TakePosted(WM_CLOSE), 1);
}

TEST_F(MainWindowCloseTest, ActivationFollowsTheLastActivateMessage) {
  for (std::uintptr_t w : {1u, 0u, 2u, 0u}) {
    MainWndProc(g_MainWindow.Handle(), WM_ACTIVATEAPP, w, 0);
    EXPECT_EQ(g_AppActive.load(), static_cast<std::int32_t>(w));
  }
}

TEST_F(MainWindowCloseTest, ShowingTheWindowMakesTheProgramActive) {
  g_MainWindow.Show(SW_SHOW);
  EXPECT_EQ(TakePosted(WM_ACTIVATEAPP), 1);
  g_MainWindow.Show(SW_SHOWMINNOACTIVE);
  EXPECT_EQ(TakePosted(WM_ACTIVATEAPP), 0);
}

}  // namespace
