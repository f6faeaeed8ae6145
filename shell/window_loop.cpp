#include "shell/window_loop.h"

#include <optional>
#include <vector>

#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/ui/window.h"
#include "shell/app_state.h"
#include "shell/headless.h"
#include "shell/main_window.h"

namespace {

// Waits of the loop: a short one while active (only so an idle loop does not burn a core), a longer
// one while inactive (WaitMessage; the window's own events are looked at between two waits).
constexpr std::uint32_t kActiveWaitMs = 1;
constexpr std::uint32_t kInactiveWaitMs = 10;

// The window's events in the window procedure's terms; the mouse and text events are only for the
// dialogs, which read them in their own loop.
std::optional<HostMessage> MessageOf(const HostWindowEvent& e) {
  switch (e.kind) {
    case HostWindowEventKind::Close: return HostMessage(WM_CLOSE);
    case HostWindowEventKind::Activate: return HostMessage(WM_ACTIVATEAPP, 1);
    case HostWindowEventKind::Deactivate: return HostMessage(WM_ACTIVATEAPP, 0);
    case HostWindowEventKind::Moved: return HostMessage(WM_MOVE);
    case HostWindowEventKind::Resized: return HostMessage(WM_SIZE);
    case HostWindowEventKind::KeyDown: return HostMessage(WM_KEYDOWN, static_cast<std::uintptr_t>(e.virtualKey));
    default: return std::nullopt;
  }
}

}  // namespace

void BindWindowThread() {
  MainWindowQueue().BindToCurrentThread([](const HostMessage& msg) {
    return MainWndProc(g_MainWindow.Handle(), msg.message, msg.wParam, msg.lParam);
  });
}

void UnbindWindowThread() { MainWindowQueue().UnbindFromCurrentThread(); }

std::intptr_t RunWindowLoop() {
  std::vector<HostWindowEvent> events;
  events.reserve(32);
  std::optional<HostMessage> waited;
  for (;;) {
    bool busy = false;
    events.clear();
    PumpHostWindowEvents(events);
    for (const HostWindowEvent& e : events)
      if (std::optional<HostMessage> msg = MessageOf(e)) DispatchMainWindowMessage(*msg);
    busy = !events.empty();

    for (;;) {
      std::optional<HostMessage> msg = waited ? std::move(waited) : MainWindowQueue().TryTake();
      waited.reset();
      if (!msg) break;
      if (msg->message == WM_QUIT) return static_cast<std::intptr_t>(msg->wParam);
      DispatchMainWindowMessage(*msg);
      busy = true;
    }
    if (cScreen* screen = g_MainWindow.Screen(); screen && screen->ShowPendingFrame()) busy = true;
    HeadlessWindowTick();
    if (!busy) waited = MainWindowQueue().TakeWithin(g_AppActive.load() ? kActiveWaitMs : kInactiveWaitMs);
  }
}
