#include "platform/services/thread.h"

#include <atomic>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/services/log.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

using namespace std::chrono_literals;

class ThreadTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
  void TearDown() override {
    ResetMessageShutdown();
    GameFolderTest::TearDown();
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // Waits on the real clock until done() holds; false after a generous deadline.
  template <class Pred>
  static bool Eventually(Pred done) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(100us);
    }
    return true;
  }
};

// A thread that reads its queue like a message loop until WM_QUIT.
struct Listener {
  std::atomic<int> handled{0};
  std::atomic<std::uint32_t> last{0};
  std::atomic<bool> ended{false};

  static std::uint32_t Run(void* arg) {
    auto& self = *static_cast<Listener*>(arg);
    while (auto msg = GetThreadMessage()) {
      if (msg->message == WM_QUIT) break;
      self.last = msg->message;
      ++self.handled;
    }
    self.ended = true;
    return 0;
  }
};

// A thread that never reads its queue, only the quit flag, with a safe point per round.
struct BusyWorker {
  std::atomic<std::uint64_t> rounds{0};

  static std::uint32_t Run(void* arg) {
    auto& self = *static_cast<BusyWorker*>(arg);
    while (!QuitRequested()) {
      PassSafePoint();
      ++self.rounds;
    }
    return 0;
  }
};

TEST_F(ThreadTest, IdleObjectIgnoresEveryControl) {
  cThread thread;
  EXPECT_EQ(thread.m_hThread, 0u);
  thread.Quit();
  thread.Wait();
  EXPECT_TRUE(thread.Suspend());
  EXPECT_TRUE(thread.Resume());
  EXPECT_EQ(thread.m_hThread, 0u);
  EXPECT_TRUE(ReportLines().empty());
  for (cThread* shared : {&thGame, &thPause, &g_RankingThread, &g_StageLoaderThread}) {
    EXPECT_EQ(shared->m_hThread, 0u);
    shared->Quit();
  }
}

TEST_F(ThreadTest, ThreadEndingByItselfIsWaitedForAndCanStartAgain) {
  static std::atomic<int> runs;
  runs = 0;
  auto proc = [](void* arg) -> std::uint32_t {
    runs += *static_cast<int*>(arg);
    return 0;
  };
  int step = 5;
  ASSERT_TRUE(thGame.Start(proc, &step));
  EXPECT_NE(thGame.m_hThread, 0u);
  const std::uint32_t firstId = thGame.id;
  thGame.Wait();
  EXPECT_EQ(thGame.m_hThread, 0u);
  EXPECT_EQ(runs, 5);

  ASSERT_TRUE(thGame.Start(proc, &step));
  EXPECT_NE(thGame.id, firstId);
  // Not waited for: once it has ended, the next start takes its place.
  ASSERT_TRUE(Eventually([&] { return thGame.Start(proc, &step); }));
  thGame.Wait();
  EXPECT_EQ(runs, 15);
  EXPECT_EQ(thGame.m_hThread, 0u);
}

TEST_F(ThreadTest, StartRefusesWhileThePreviousThreadRuns) {
  Listener listener;
  cThread thread;
  ASSERT_TRUE(thread.Start(Listener::Run, &listener));
  const auto handle = thread.m_hThread.load();
  EXPECT_FALSE(thread.Start(Listener::Run, &listener));
  EXPECT_EQ(thread.m_hThread, handle);
  thread.Quit();
  EXPECT_TRUE(listener.ended);
}

TEST_F(ThreadTest, MessagePostedRightAfterStartIsNotLost) {
  Listener listener;
  cThread thread;
  ASSERT_TRUE(thread.Start(Listener::Run, &listener));
  EXPECT_TRUE(PostThreadMessage(thread.id, WM_USER + 9, 0, 0));
  ASSERT_TRUE(Eventually([&] { return listener.handled == 1; }));
  EXPECT_EQ(listener.last, WM_USER + 9);
  thread.Quit();
  // An ended thread's queue is gone: posts to it fail as they would to a dead thread.
  EXPECT_FALSE(PostThreadMessage(thread.id, WM_USER + 9, 0, 0));
}

TEST_F(ThreadTest, ABoundedPostReachesARunningThreadAndGivesUpOnNone) {
  cThread idle;
  const auto before = std::chrono::steady_clock::now();
  EXPECT_FALSE(PostThreadMessageWithin(idle, WM_USER + 3, 60000)) << "no thread runs: nothing to wait for";
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);

  Listener listener;
  cThread thread;
  ASSERT_TRUE(thread.Start(Listener::Run, &listener));
  EXPECT_TRUE(PostThreadMessageWithin(thread, WM_USER + 3, 5000));
  ASSERT_TRUE(Eventually([&] { return listener.handled == 1; }));
  EXPECT_EQ(listener.last, WM_USER + 3);
  thread.Quit();
  EXPECT_FALSE(PostThreadMessageWithin(thread, WM_USER + 3, 60000));
}

TEST_F(ThreadTest, QuitEndsASuspendedThreadWaitingOnItsQueue) {
  Listener listener;
  ASSERT_TRUE(thPause.Start(Listener::Run, &listener));
  EXPECT_TRUE(thPause.Suspend());
  // Waiting for a message while suspended counts as held.
  ASSERT_TRUE(Eventually([] { return thPause.IsHeld(); }));
  EXPECT_TRUE(PostThreadMessage(thPause.id, WM_USER + 1, 0, 0));
  // Suspended: the message may be taken, but it is not acted on.
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(listener.handled, 0);

  thPause.Quit();
  EXPECT_EQ(thPause.m_hThread, 0u);
  EXPECT_TRUE(listener.ended);
  EXPECT_EQ(listener.handled, 1);
  EXPECT_TRUE(ReportLines().empty());
}

TEST_F(ThreadTest, SuspensionsCountAndHoldABusyWorkerAtItsSafePoint) {
  BusyWorker worker;
  cThread thread;
  ASSERT_TRUE(thread.Start(BusyWorker::Run, &worker));
  ASSERT_TRUE(Eventually([&] { return worker.rounds > 0; }));

  EXPECT_TRUE(thread.Suspend());
  EXPECT_TRUE(thread.Suspend());
  ASSERT_TRUE(Eventually([&] { return thread.IsHeld(); }));  // stopped at its safe point
  const auto held = worker.rounds.load();
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(worker.rounds, held);

  EXPECT_TRUE(thread.Resume());  // one suspension still stands
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(worker.rounds, held);

  EXPECT_TRUE(thread.IsHeld());
  EXPECT_TRUE(thread.Resume());
  EXPECT_TRUE(Eventually([&] { return worker.rounds > held; }));
  EXPECT_FALSE(thread.IsHeld());
  EXPECT_TRUE(thread.Resume());  // more resumes than suspensions do no harm

  thread.Quit();
  EXPECT_EQ(thread.m_hThread, 0u);
}

TEST_F(ThreadTest, QuitEndsASuspendedBusyWorkerThatPollsItsQuitFlag) {
  BusyWorker worker;
  ASSERT_TRUE(g_RankingThread.Start(BusyWorker::Run, &worker));
  ASSERT_TRUE(Eventually([&] { return worker.rounds > 0; }));
  g_RankingThread.Suspend();
  g_RankingThread.Suspend();
  // Held at its safe point, where no quit flag is read.
  ASSERT_TRUE(Eventually([] { return g_RankingThread.IsHeld(); }));
  g_RankingThread.Quit();
  EXPECT_EQ(g_RankingThread.m_hThread, 0u);
  EXPECT_TRUE(ReportLines().empty());
}

TEST_F(ThreadTest, SenderToAThreadThatEndsUnansweredIsReleased) {
  static std::atomic<bool> go{false};
  go = false;
  cThread thread;
  ASSERT_TRUE(thread.Start(
      [](void*) -> std::uint32_t {
        while (!go) std::this_thread::sleep_for(100us);
        return 0;  // ends without reading its queue
      },
      nullptr));
  auto queue = FindThreadQueue(thread.id);
  ASSERT_TRUE(queue);
  std::optional<std::intptr_t> result = 5;
  std::thread sender([&] { result = queue->Send(WM_USER, 0, 0); });
  ASSERT_TRUE(Eventually([&] { return !queue->Empty(); }));
  go = true;
  sender.join();
  EXPECT_EQ(result, std::nullopt);
  thread.Wait();
}

TEST_F(ThreadTest, EscapingExceptionIsReportedAndClosesTheProgram) {
  cThread thread;
  ASSERT_TRUE(thread.Start([](void*) -> std::uint32_t { throw std::runtime_error("broken stage"); }, nullptr));
  thread.Wait();
  EXPECT_EQ(thread.m_hThread, 0u);
  auto lines = ReportLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("broken stage"), std::string::npos);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(ThreadTest, ThreadDeafToQuitIsReportedAndTheProgramEnds) {
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        SetQuitGraceMs(30);
        cThread deaf;
        deaf.Start(
            [](void*) -> std::uint32_t {
              for (;;) std::this_thread::sleep_for(1ms);
            },
            nullptr);
        deaf.Quit();
        std::_Exit(1);  // not reached: Quit ends the program
      },
      ::testing::ExitedWithCode(kStuckThreadExitCode), "");
  auto lines = ReportLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("200"), std::string::npos);
  EXPECT_NE(lines[1].find("the program ends"), std::string::npos);
}

TEST_F(ThreadTest, ThreadSideCallsOutsideACThreadDoNothing) {
  PassSafePoint();
  EXPECT_FALSE(QuitRequested());
  EXPECT_EQ(GetThreadMessageWithin(0), std::nullopt);
  EXPECT_EQ(GetThreadMessage(), std::nullopt);
}

}  // namespace
