#pragma once
// The main window: the only top-level window of the program. Its procedure runs on the window
// thread and serves the ordinary window messages (activation, Esc, close, destroy) and the requests
// by which the game thread asks the window thread for work that must run there: dialogs, sound
// effects, music and the display's restore. WM_CLOSE is the one road to the end of the program.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/host/message_queue.h"
#include "platform/ui/window.h"

class cMainWindow : public cWindow {
 public:
  // The window thread: takes the screen that stands for the window, which stays hidden until Show.
  void Create(std::unique_ptr<cScreen> screen);
  // The screen of the window; null before Create and after ReleaseScreen.
  cScreen* Screen() const { return m_Screen.get(); }
  // Shows the window as the show-window code asks (SW_HIDE hides it, the minimised codes minimise
  // it). A window shown active makes the program active, as the system tells a window it activates.
  void Show(int nCmdShow);
  // The title is code page 932.
  void SetTitle(const std::string& sjisTitle);
  // Joins the framework: the main window has id 0, no parent and the group of windows that modal
  // dialogs hide.
  void Attach(std::uint32_t id = 0, HWND parent = nullptr, cWindowGroup* group = &g_WindowGroup);
  // After the start-up was undone: the window itself goes.
  void ReleaseScreen();

  std::intptr_t WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  int Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // The main window's own operation after the framework's: called once, when the window is made.
  virtual void OnCreate(std::uintptr_t, std::intptr_t) {}

  // True while a request of the game thread is being served (a nested message loop may run then).
  bool InRequest() const { return m_RequestDepth > 0; }

 private:
  void OnClose(HWND hWnd);
  void OnDestroy();
  std::intptr_t OnRequest(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  std::unique_ptr<cScreen> m_Screen;
  int m_RequestDepth = 0;
  bool m_CloseDeferred = false;
  // After the destruction the window hears nothing more: a second close (the window's own close
  // event and the session's quit come together) must not run the road again.
  bool m_Destroyed = false;
};

extern cMainWindow g_MainWindow;

// The main window's procedure: g_MainWindow's WndProc.
std::intptr_t MainWndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// The window thread's dispatch of one message taken from the main window's queue: runs the
// procedure and answers a sender. Whatever escapes the procedure is reported to the report log and
// closes the program in order, like every other thread's.
void DispatchMainWindowMessage(const HostMessage& msg);

// The play scene's part of a close that arrives while the pause thread runs: it marks the play
// scene so that the game thread closes again once the pause thread has ended. The play scene sets
// it while it exists; null means there is no play scene to tell.
using PlayCloseHook = void (*)();
extern std::atomic<PlayCloseHook> g_PlayCloseHook;

// The request handlers, for the window procedure and for tests.
void HandleNameEntryRequest();
void HandleOpenStageRequest();
void HandleOpenReplayRequest();
void HandleSaveReplayRequest(std::uintptr_t previousAttempt);
void HandleBgmRequest(std::uintptr_t slot, std::intptr_t number);
void HandleSoundVolumeRequest(std::uintptr_t step);
void HandleRestartMusicRequest();
