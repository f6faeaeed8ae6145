#include "platform/ui/dialog_loop.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/ui/dialog_draw.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/keyboard_hook.h"
#include "platform/ui/window.h"

namespace {

// How long the loop waits between two looks at the window's events.
constexpr auto kLoopWait = std::chrono::milliseconds(5);

std::mutex s_Lock;
DialogAnswerer s_Answerer;

void DispatchAllPosted(cDialogWindow& window) {
  while (!window.Ended() && window.DispatchPosted()) {
  }
}

// The length of the UTF-8 sequence that starts with byte c (a stray continuation byte counts 1).
std::size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

void Close(cDialogWindow& window) {
  window.Send(WM_CLOSE, 0, 0);
  DispatchAllPosted(window);
}

void Present(cDialogWindow& window, cScreen& screen, const std::vector<std::uint32_t>& background,
             std::vector<std::uint32_t>& canvas) {
  canvas = background;
  DialogCanvas target{canvas.data(), screen.Width(), screen.Height(), screen.Width()};
  DrawDialogWindow(window, target);
  PixelView view{reinterpret_cast<const std::uint8_t*>(canvas.data()), screen.Width(), screen.Height(),
                 screen.Width() * 4, PixelFormat::Xrgb8888};
  screen.SubmitFrame(view, nullptr);
  screen.ShowPendingFrame();
}

void HandleEvent(cDialogWindow& window, cScreen& screen, const HostWindowEvent& e, bool* redraw) {
  std::int32_t x = 0, y = 0;
  switch (e.kind) {
    case HostWindowEventKind::Close: Close(window); break;
    case HostWindowEventKind::KeyDown: DeliverDialogKey(window, e.virtualKey, true); break;
    case HostWindowEventKind::KeyUp: DeliverDialogKey(window, e.virtualKey, false); break;
    case HostWindowEventKind::Text: DeliverDialogText(window, e.text); break;
    case HostWindowEventKind::Composition: window.SetComposition(e.text); break;
    case HostWindowEventKind::MouseDown:
      if (HostPointToFrame(screen, e.x, e.y, &x, &y)) window.MouseDown(x, y, e.button, e.clicks);
      break;
    case HostWindowEventKind::MouseUp:
      if (HostPointToFrame(screen, e.x, e.y, &x, &y)) window.MouseUp(x, y, e.button);
      break;
    case HostWindowEventKind::Resized:
    case HostWindowEventKind::Activate: *redraw = true; break;
    default: break;
  }
  DispatchAllPosted(window);
}

void RunInWindow(cDialogWindow& window, cScreen& screen) {
  std::vector<std::uint32_t> background = screen.LastFrame();
  background.resize(static_cast<std::size_t>(screen.Width()) * static_cast<std::size_t>(screen.Height()), 0xFF000000u);
  std::vector<std::uint32_t> canvas;
  const bool cursorWasVisible = screen.State().cursorVisible;
  screen.SetCursorVisible(true);
  std::vector<HostWindowEvent> events;
  events.reserve(32);
  bool textInput = false;
  bool redraw = true;
  DispatchAllPosted(window);
  while (!window.Ended()) {
    events.clear();
    PumpHostWindowEvents(events);
    for (const HostWindowEvent& e : events) {
      if (window.Ended()) break;
      HandleEvent(window, screen, e, &redraw);
    }
    if (!window.Ended()) {
      // Text entry is on while a field has the focus, so that an input method can compose into it.
      const sDialogItem* focused = window.FocusedItem();
      const bool wantText = focused && focused->kind == DialogItemKind::Edit;
      if (wantText != textInput) {
        const ScreenRect client = window.ClientRect();
        SetHostTextInput(screen, wantText,
                         wantText ? ScreenRect{client.x + focused->rect.x, client.y + focused->rect.y,
                                               focused->rect.w, focused->rect.h}
                                  : ScreenRect{});
        textInput = wantText;
      }
    }
    if (window.TakeDirty() || redraw) {
      Present(window, screen, background, canvas);
      redraw = false;
    }
    if (!window.Ended()) std::this_thread::sleep_for(kLoopWait);
  }
  if (textInput) SetHostTextInput(screen, false, {});
  // The game's own frame again, as it was before the dialog.
  PixelView view{reinterpret_cast<const std::uint8_t*>(background.data()), screen.Width(), screen.Height(),
                 screen.Width() * 4, PixelFormat::Xrgb8888};
  screen.SubmitFrame(view, nullptr);
  screen.ShowPendingFrame();
  screen.SetCursorVisible(cursorWasVisible);
}

}  // namespace

void SetDialogAnswerer(DialogAnswerer answerer) {
  std::lock_guard lock(s_Lock);
  s_Answerer = std::move(answerer);
}

void DeliverDialogKey(cDialogWindow& window, int virtualKey, bool down) {
  // The hook sees the key first and copies it to the dialog; then the key goes on to its item.
  cHook::HookProc(HC_ACTION, static_cast<std::uintptr_t>(virtualKey), down ? 0 : kKeyUpFlag);
  if (down)
    window.KeyDown(virtualKey);
  else
    window.KeyUp(virtualKey);
  DispatchAllPosted(window);
}

void DeliverDialogText(cDialogWindow& window, const std::string& utf8) {
  window.SetComposition("");
  for (std::size_t at = 0; at < utf8.size() && !window.Ended();) {
    const std::size_t length = std::min(Utf8Length(static_cast<unsigned char>(utf8[at])), utf8.size() - at);
    std::string sjis;
    if (TryUtf8ToCp932(std::string_view(utf8).substr(at, length), sjis) && !sjis.empty()) window.TypeText(sjis);
    at += length;
    DispatchAllPosted(window);
  }
}

void ApplyDialogAnswer(cDialogWindow& window, const std::string& answer) {
  std::size_t start = 0;
  while (start <= answer.size() && !window.Ended()) {
    std::size_t end = answer.find(',', start);
    if (end == std::string::npos) end = answer.size();
    const std::string action = answer.substr(start, end - start);
    start = end + 1;
    if (action == "close" || action == "cancel") {
      Close(window);
    } else if (action.starts_with("type:")) {
      DeliverDialogText(window, action.substr(5));
    } else if (action.starts_with("click:")) {
      window.ClickItem(std::atoi(action.c_str() + 6));
      DispatchAllPosted(window);
    } else if (action.starts_with("key:")) {
      if (const int vk = VirtualKeyFromName(action.substr(4))) {
        DeliverDialogKey(window, vk, true);
        DeliverDialogKey(window, vk, false);
      }
    }
    if (end == answer.size()) break;
  }
}

void RunDialogWindow(cDialogWindow& window, cScreen* screen, const std::string& name) {
  cDialogWindow* outer = ActiveDialogWindow();
  SetActiveDialogWindow(&window);
  DialogAnswerer answerer;
  {
    std::lock_guard lock(s_Lock);
    answerer = s_Answerer;
  }
  if (answerer) {
    DispatchAllPosted(window);
    const std::optional<std::string> answer = answerer(name);
    if (answer) ApplyDialogAnswer(window, *answer);
    if (!window.Ended()) DeliverDialogKey(window, VK_RETURN, true);
    if (!window.Ended()) DeliverDialogKey(window, VK_RETURN, false);
    // A dialog that would not end by its default button is closed, so a run never hangs in it.
    if (!window.Ended()) Close(window);
    if (!window.Ended()) window.End(0);
  } else if (screen && HostScreenIsWindow(*screen)) {
    RunInWindow(window, *screen);
  } else {
    Trace(FormatString("dialog %s: cancelled (no window)", name.c_str()));
    window.End(0);
    SetActiveDialogWindow(outer);
    return;
  }
  SetActiveDialogWindow(outer);
  Trace(FormatString("dialog %s: %d", name.c_str(), static_cast<int>(window.Result())));
}
