// The program's entry, as the game's WinMain: the report log, one instance, the hidden main window,
// the start-up, the game thread, and the window thread's loop until the window is destroyed. Every
// road out of the game itself ends with exit code 0; a replay check that finds a difference ends
// with 1.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/host/clock.h"
#include "platform/host/instance_lock.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "platform/services/paths.h"
#include "platform/services/record.h"
#include "platform/services/system_report.h"
#include "platform/services/thread.h"
#include "platform/ui/window.h"
#include "script/event_scripts.h"
#include "shell/app_state.h"
#include "shell/editor_link.h"
#include "shell/game_loop.h"
#include "shell/headless.h"
#include "shell/main_window.h"
#include "shell/run_options.h"
#include "shell/single_instance.h"
#include "shell/startup.h"
#include "shell/window_loop.h"

namespace {

constexpr std::int32_t kClientWidth = 640;
constexpr std::int32_t kClientHeight = 480;
constexpr std::uint32_t kMainWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The game thread's queue exists before the thread runs, so the first post is taken at once; a
// thread that still takes nothing after this long is not waited for any longer.
constexpr std::uint32_t kGameThreadHandshakeMs = 5000;

// The command line's own work, before the game starts: help, version, the game folder, the trace
// and the headless set-up. A value means the program ends here with that code.
std::optional<int> PrepareRun(int argc, char** argv) {
  std::string error;
  if (!ParseRunOptions(argc, argv, &g_RunOptions, &error)) {
    std::fprintf(stderr, "player: %s\n%s", error.c_str(), RunOptionsUsage().c_str());
    return 2;
  }
  if (g_RunOptions.help) {
    std::fputs(RunOptionsUsage().c_str(), stdout);
    return 0;
  }
  if (g_RunOptions.version) {
    std::printf("player %u\n", static_cast<unsigned>(kRecordVersion));
    return 0;
  }
  if (!g_RunOptions.gameFolder.empty()) {
    std::error_code ec;
    std::filesystem::current_path(g_RunOptions.gameFolder, ec);
    if (ec) {
      std::fprintf(stderr, "player: cannot enter the game folder %s\n", g_RunOptions.gameFolder.c_str());
      return 1;
    }
  }
  if (!g_RunOptions.traceFile.empty() && !OpenTrace(g_RunOptions.traceFile)) {
    std::fprintf(stderr, "player: cannot write the trace %s\n", g_RunOptions.traceFile.c_str());
    return 1;
  }
  if (!StartHeadless(g_RunOptions, &error)) {
    std::fprintf(stderr, "player: %s\n", error.c_str());
    return 1;
  }
  return std::nullopt;
}

// The main window's screen: a window, or the frame keeper of a headless run.
std::unique_ptr<cScreen> MakeScreen() {
  if (g_RunOptions.headless) return std::make_unique<cHeadlessScreen>(kClientWidth, kClientHeight);
  return cSdlScreen::Open("", kClientWidth, kClientHeight, false, false);
}

// InitGame, with what escapes it (a checked container's exception on a damaged project) reported
// and taken as a failed start, like the window thread's other work.
bool StartGame(const char* lpCmdLine, int nCmdShow) {
  try {
    return InitGame(lpCmdLine, nCmdShow);
  } catch (const std::exception& e) {
    ReportLog("Window : %s", e.what());
  } catch (...) {
    ReportLog("Window : unknown exception");
  }
  return false;
}

int WinMain(const char* lpCmdLine, int nCmdShow) {
  // 1-3: the logs first.
  LogInit(0, "EC_Game.txt");
  std::string reportPath = "Report_Game.txt";
  MakeAbsolutePath(reportPath);
  if (!ReportLogOpen(reportPath)) return 0;
  ReportLog("App : ver %s", "556");
  WriteSystemReport();

  // 4-5: the editor's test play, and one instance.
  g_EditorLaunched = nCmdShow == SW_SHOW ? 1 : 0;
  cInstanceLock instance;
  if (!AcquireSingleInstance(instance)) return 0;

  // 6-9: the window, hidden, laid out and centred.
  BindWindowThread();
  g_MainWindow.Layout(kClientWidth, kClientHeight, 100, 100, kClientWidth, kClientHeight, kMainWindowStyle, 0, 0, 0,
                      0, 0);
  std::unique_ptr<cScreen> screen = MakeScreen();
  if (!screen) {
    ErrBox(SJ("ウインドウが生成出来ません！"));
    return 0;
  }
  g_MainWindow.Create(std::move(screen));
  g_MainWindow.CenterOnDesktop();

  // 10-11: the start-up.
  if (g_EditorLaunched) NotifyEditorStart();
  if (!StartGame(lpCmdLine, nCmdShow)) {
    UnInitGame();
    g_MainWindow.ReleaseScreen();
    instance.Release();
    if (g_EditorLaunched) NotifyEditorEnd(0);
    return 0;
  }
  g_Initialised = 1;

  // 13-14: the game thread, and the hand-shake that its queue takes messages.
  if (!thGame.Start(GameLoop, nullptr)) {
    ReportLog("Thread : the game thread does not start");
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  if (thGame.m_hThread && !PostThreadMessageWithin(thGame, WM_APP, kGameThreadHandshakeMs)) {
    ReportLog("Thread : the game thread takes no messages");
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }

  // 15-16: the window thread's loop until the window is destroyed.
  const std::intptr_t code = RunWindowLoop();
  UnInitGame();
  LogF("UnInitGame後");
  g_MainWindow.ReleaseScreen();
  UnbindWindowThread();
  instance.Release();
  LogF("ReleaseMutex後");
  return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (std::optional<int> early = PrepareRun(argc, argv)) return *early;
  // Stage play runs the flows of its objects through the event scripts.
  InstallEventScripts();
  return FinishReplayCheck(WinMain(g_RunOptions.stageText.c_str(), g_RunOptions.ShowCode()));
}
