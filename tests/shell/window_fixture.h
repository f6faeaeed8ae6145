#pragma once
// The test thread as the window thread: a game folder with the report log and the trace open, the
// main window made on a headless screen, and helpers that serve the main window's queue while a
// stand-in game thread sends its requests.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "platform/ui/file_dialogs.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/window_loop.h"
#include "tests/support/game_folder.h"

class WindowThreadTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ResetMessageShutdown();
    while (MainWindowQueue().TryTake()) {
    }
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t) {
      m_Boxes.push_back(caption + ": " + text);
      return IDOK;
    });
    BindWindowThread();
    g_MainWindow.Create(std::make_unique<cHeadlessScreen>(640, 480));
    g_hMainWnd = g_MainWindow.Screen();
    g_EditorLaunched = 0;
  }
  void TearDown() override {
    SetFileDialogAnswerer({});
    g_PlayCloseHook = nullptr;
    g_MainWindow.ReleaseScreen();
    g_hMainWnd = nullptr;
    g_AppActive = 0;
    UnbindWindowThread();
    while (MainWindowQueue().TryTake()) {
    }
    ResetMessageShutdown();
    SetBoxSink({});
    CloseTrace();
    GameFolderTest::TearDown();
  }

  // Runs work on a stand-in game thread while this thread serves the main window's queue; gives
  // work's result. Messages the work posts stay queued unless serveAll is set.
  template <class T>
  T OnGameThread(std::function<T()> work) {
    std::packaged_task<T()> task(std::move(work));
    std::future<T> result = task.get_future();
    std::thread game(std::move(task));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
      if (std::chrono::steady_clock::now() > deadline) {
        BeginMessageShutdown();
        ADD_FAILURE() << "the game thread's request was never answered";
        break;
      }
      // Only sent messages are served here; what was posted stays for the test to look at.
      std::optional<HostMessage> msg = MainWindowQueue().TakeWithin(5);
      if (!msg) continue;
      if (IsSentMessage(*msg)) {
        DispatchMainWindowMessage(*msg);
      } else {
        m_Posted.push_back(msg->message);
      }
    }
    game.join();
    return result.get();
  }

  // Serves what waits in the queue (posted messages included) until it is empty or WM_QUIT comes.
  bool ServeQueue() {
    for (std::uint32_t m : m_Posted) MainWindowQueue().Post(HostMessage(m));
    m_Posted.clear();
    while (std::optional<HostMessage> msg = MainWindowQueue().TryTake()) {
      if (msg->message == WM_QUIT) return true;
      DispatchMainWindowMessage(*msg);
    }
    return false;
  }

  // Posted messages of one kind, taken from the queue and from those the helper set aside.
  int TakePosted(std::uint32_t message) {
    int count = 0;
    for (std::uint32_t m : m_Posted) count += m == message;
    m_Posted.clear();
    while (std::optional<HostMessage> msg = MainWindowQueue().TryTake()) count += msg->message == message;
    return count;
  }

  std::vector<std::string> TraceLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("trace.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Traced(const std::string& line) {
    for (const std::string& l : TraceLines())
      if (l == line) return true;
    return false;
  }
  int TraceCount(const std::string& prefix) {
    int n = 0;
    for (const std::string& l : TraceLines()) n += l.starts_with(prefix);
    return n;
  }
  std::string Report() { return ReadHostFile("Report_Game.txt"); }

  std::vector<std::string> m_Boxes;
  std::vector<std::uint32_t> m_Posted;
};
