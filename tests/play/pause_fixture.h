#pragma once
// The pause thread's tests: the play scene of PlaySceneTest playing, the keys of the pause's frames
// scripted as the headless run scripts them, and the game thread's side run on a thread of its own
// while the test thread answers the main window as the window thread does.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "platform/services/thread.h"
#include "play/pause.h"
#include "shell/headless.h"
#include "shell/main_window.h"
#include "tests/play/play_scene_fixture.h"

namespace playtest {

class PauseTest : public PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    m_Scene->ResetPlayProgress();
    m_Scene->SetStage(0, 1);
    m_Scene->m_State = kPlayRunning;
    g_AppActive = 1;
  }

  void TearDown() override {
    ResetHeadless();
    g_AppActive = 0;
    PlaySceneTest::TearDown();
  }

  // Player 1's keys by presented frame of the pause, as the headless input script holds them.
  void Script(const std::string& text) {
    const auto file = m_Folder / "input.txt";
    std::ofstream(file) << text;
    RunOptions options;
    options.inputFile = file.string();
    std::string error;
    ASSERT_TRUE(StartHeadless(options, &error)) << error;
  }

  // work run as the game thread runs it, on a thread of its own, while this thread answers the main
  // window (sounds recorded) and calls watch between messages.
  void RunAsGame(const std::function<void()>& work, const std::function<void()>& watch = {}) {
    std::atomic<bool> done{false};
    std::thread game([&] {
      work();
      done = true;
    });
    while (!done.load()) {
      if (auto msg = MainWindowQueue().TakeWithin(1)) {
        if (msg->message == WM_GAME_PLAYSE) m_Sounds.push_back(static_cast<int>(msg->wParam));
        if (msg->message == WM_CLOSE) ++m_Closes;
        ReplyMessage(*msg, 0);
      }
      if (watch) watch();
    }
    game.join();
    EXPECT_EQ(thPause.m_hThread.load(), 0u);
  }
  // The play scene's filled request run so.
  void RunPauseAsGame(bool postStart, const std::function<void()>& watch = {}) {
    RunAsGame([&] { RunPause(*m_Scene, postStart); }, watch);
  }

  // The window thread's close while the pause thread runs, once frame `at` was presented; with
  // lost, its WM_QUIT never arrives.
  std::function<void()> CloseAt(std::uint32_t at, bool lost) {
    return [this, at, lost, closed = false]() mutable {
      if (closed || PresentedFrameCount() < at) return;
      closed = true;
      ASSERT_NE(thPause.m_hThread.load(), 0u);
      g_PlayCloseHook.load()();
      m_ClosedAtMs = ClockMs();
      if (!lost) PostThreadMessage(thPause.id, WM_QUIT, 0, 0);
    };
  }

  std::uint32_t m_ClosedAtMs = 0;
  int m_Closes = 0;
};

}  // namespace playtest
