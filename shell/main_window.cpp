#include "shell/main_window.h"

#include <exception>

#include "platform/audio/bgm.h"
#include "platform/audio/sound_effects.h"
#include "platform/display/present.h"
#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "platform/services/thread.h"
#include "project/window_requests.h"
#include "shell/app_state.h"
#include "shell/editor_link.h"
#include "shell/headless.h"
#include "shell/requests.h"

cMainWindow g_MainWindow;
std::atomic<PlayCloseHook> g_PlayCloseHook{nullptr};

void cMainWindow::Create(std::unique_ptr<cScreen> screen) {
  m_Screen = std::move(screen);
  m_hWnd = m_Screen.get();
  m_Destroyed = false;
  m_RequestDepth = 0;
  m_CloseDeferred = false;
  m_Created = 0;
  if (m_Screen) ShowHostWindow(*m_Screen, false);
  WndProc(m_hWnd, WM_CREATE, 0, 0);
}

void cMainWindow::Show(int nCmdShow) {
  if (!m_Screen) return;
  if (nCmdShow == SW_HIDE) {
    ShowHostWindow(*m_Screen, false);
    return;
  }
  ShowHostWindow(*m_Screen, true);
  const bool minimised = nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINNOACTIVE;
  if (minimised) {
    MinimiseHostWindow(*m_Screen);
    return;
  }
  // The window comes up active; the window manager's own focus events may follow and say the same.
  PostMainWindowMessage(WM_ACTIVATEAPP, 1, 0);
}

void cMainWindow::SetTitle(const std::string& sjisTitle) {
  if (m_Screen) SetHostWindowTitle(*m_Screen, sjisTitle);
}

void cMainWindow::Attach(std::uint32_t id, HWND parent, cWindowGroup* group) {
  SetIds(id, parent, group);
  if (group) group->Add(this);
}

void cMainWindow::ReleaseScreen() {
  if (m_Group) m_Group->Remove(this);
  m_hWnd = nullptr;
  m_Screen.reset();
}

int cMainWindow::Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  const int handled = cWindow::Dispatch(hWnd, message, wParam, lParam);
  // A window is made once: a second WM_CREATE finds it made.
  if (message == WM_CREATE && !m_Created) {
    m_Created = 1;
    OnCreate(wParam, lParam);
  }
  return handled;
}

std::intptr_t cMainWindow::WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (m_Destroyed) return 0;
  m_hWnd = hWnd;
  UpdateMouse(0, 7);
  switch (message) {
    case WM_CREATE: Dispatch(hWnd, message, wParam, lParam); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_MOVE: {
      // Frames go to the window's own picture, not to desktop coordinates: only the position is kept.
      ScreenRect rect;
      if (m_hWnd && GetHostWindowRect(*m_hWnd, &rect)) m_WindowPos = {rect.x, rect.y};
      return 0;
    }
    case WM_SIZE: UpdateStyle(); return 0;
    case WM_GETMINMAXINFO: GetFrameRect(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    // The frame is shown whole by every present, and this platform has no system palette to
    // share: painting and the palette messages have nothing to do.
    case WM_PAINT:
    case WM_PALETTECHANGED:
    case WM_QUERYNEWPALETTE: return 0;
    case WM_CLOSE: OnClose(hWnd); return 0;
    case WM_ACTIVATEAPP:
      g_AppActive = static_cast<std::int32_t>(wParam);
      Trace(FormatString("activate %d after frame %u", static_cast<int>(wParam), PresentedFrameCount()));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) PostMainWindowMessage(WM_CLOSE, 0, 0);
      return 0;
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: return 0;
    case WM_GAME_NAMEENTRY:
    case WM_GAME_OPENSTAGE:
    case WM_GAME_OPENREPLAY:
    case WM_GAME_SAVEREPLAY:
    case WM_GAME_PLAYSE:
    case WM_GAME_BGM:
    case WM_GAME_SEVOLUME:
    case WM_GAME_RESTARTMUSIC:
    case WM_GAME_DEVICELOST: return OnRequest(message, wParam, lParam);
    default: return 0;
  }
}

std::intptr_t cMainWindow::OnRequest(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::intptr_t result = 0;
  ++m_RequestDepth;
  struct sLeave {
    cMainWindow& window;
    ~sLeave() { --window.m_RequestDepth; }
  } leave{*this};
  switch (message) {
    case WM_GAME_NAMEENTRY: HandleNameEntryRequest(); break;
    case WM_GAME_OPENSTAGE: HandleOpenStageRequest(); break;
    case WM_GAME_OPENREPLAY: HandleOpenReplayRequest(); break;
    case WM_GAME_SAVEREPLAY: HandleSaveReplayRequest(wParam); break;
    case WM_GAME_PLAYSE: HandlePlaySeMessage(wParam); break;
    case WM_GAME_BGM: HandleBgmRequest(wParam, lParam); break;
    case WM_GAME_SEVOLUME: HandleSoundVolumeRequest(wParam); break;
    case WM_GAME_RESTARTMUSIC: HandleRestartMusicRequest(); break;
    case WM_GAME_DEVICELOST:
      // The game thread hears whether the device is back; while it is not, the next frame's
      // present fails again and asks again.
      result = HandleDeviceLostMessage();
      if (!result) Trace("device not restored");
      break;
    default: break;
  }
  if (m_RequestDepth == 1 && m_CloseDeferred) {
    // The close that came while the request ran: the request is answered first, then the road.
    m_CloseDeferred = false;
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  return result;
}

void cMainWindow::OnClose(HWND hWnd) {
  if (m_RequestDepth > 0) {
    // A message loop inside a request met the close: closing now would stop the game thread that
    // waits for this very request. It follows once the request has been answered.
    m_CloseDeferred = true;
    Trace("close deferred");
    return;
  }
  if (thPause.m_hThread) {
    Trace("close: end the pause thread");
    if (PlayCloseHook hook = g_PlayCloseHook.load()) hook();
    PostThreadMessage(thPause.id, WM_QUIT, 0, 0);
    return;
  }
  // From here no thread may wait for the window thread: every send returns cancelled.
  BeginMessageShutdown();
  Trace("stop music");
  g_Bgm.Stop();
  Trace("stop thread loader");
  g_StageLoaderThread.Quit();
  Trace("stop thread pause");
  thPause.Quit();
  Trace("stop thread ranking");
  g_RankingThread.Quit();
  Trace("stop thread game");
  thGame.Quit();
  LogF("WM_CLOSE 成功！");
  WndProc(hWnd, WM_DESTROY, 0, 0);
}

void cMainWindow::OnDestroy() {
  LogF("WM_DESTROY");
  m_Destroyed = true;
  cWindow::Dispatch(m_hWnd, WM_DESTROY, 0, 0);
  g_hMainWnd = nullptr;
  if (m_Screen) ShowHostWindow(*m_Screen, false);
  Trace("window destroyed");
  if (g_EditorLaunched) NotifyEditorEnd(1);
  PostMainWindowMessage(WM_QUIT, 0, 0);
}

std::intptr_t MainWndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return g_MainWindow.WndProc(hWnd, message, wParam, lParam);
}

void DispatchMainWindowMessage(const HostMessage& msg) {
  std::intptr_t result = 0;
  try {
    result = MainWndProc(g_MainWindow.Handle(), msg.message, msg.wParam, msg.lParam);
  } catch (const std::exception& e) {
    ReportLog("Window : %s", e.what());
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  } catch (...) {
    ReportLog("Window : unknown exception");
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  ReplyMessage(msg, result);
}

