// The SDL window's events and its place on the desktop.
#include "platform/host/host_window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/host/input_devices.h"
#include "platform/host/text_codec.h"

namespace {

SDL_Window* WindowOf(cScreen& screen) {
  auto* sdl = dynamic_cast<cSdlScreen*>(&screen);
  return sdl ? sdl->Window() : nullptr;
}

void AddEvent(std::vector<HostWindowEvent>& out, HostWindowEventKind kind, std::int32_t x = 0, std::int32_t y = 0,
              int virtualKey = 0) {
  HostWindowEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.virtualKey = virtualKey;
  out.push_back(e);
}

void AddText(std::vector<HostWindowEvent>& out, HostWindowEventKind kind, const char* text) {
  HostWindowEvent e;
  e.kind = kind;
  const std::size_t length = std::min(std::strlen(text), sizeof(e.text) - 1);
  std::memcpy(e.text, text, length);
  e.text[length] = '\0';
  out.push_back(e);
}

void AddButton(std::vector<HostWindowEvent>& out, HostWindowEventKind kind, const SDL_MouseButtonEvent& b) {
  HostWindowEvent e;
  e.kind = kind;
  e.x = b.x;
  e.y = b.y;
  e.button = b.button == SDL_BUTTON_LEFT ? 1 : b.button == SDL_BUTTON_RIGHT ? 2 : 0;
  e.clicks = b.clicks;
  if (e.button != 0) out.push_back(e);
}

void WindowChange(const SDL_WindowEvent& window, std::vector<HostWindowEvent>& out) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: AddEvent(out, HostWindowEventKind::Close); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED: AddEvent(out, HostWindowEventKind::Activate); break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED: AddEvent(out, HostWindowEventKind::Deactivate); break;
    case SDL_WINDOWEVENT_MOVED: AddEvent(out, HostWindowEventKind::Moved, window.data1, window.data2); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: AddEvent(out, HostWindowEventKind::Resized, window.data1, window.data2); break;
    default: break;
  }
}

}  // namespace

void PumpHostWindowEvents(std::vector<HostWindowEvent>& out) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    HandleSdlInputEvent(event);
    switch (event.type) {
      case SDL_QUIT: AddEvent(out, HostWindowEventKind::Close); break;
      case SDL_WINDOWEVENT: WindowChange(event.window, out); break;
      case SDL_KEYDOWN: {
        int vk = VirtualKeyForScancode(event.key.keysym.scancode);
        if (vk != 0) AddEvent(out, HostWindowEventKind::KeyDown, 0, 0, vk);
        break;
      }
      case SDL_KEYUP: {
        int vk = VirtualKeyForScancode(event.key.keysym.scancode);
        if (vk != 0) AddEvent(out, HostWindowEventKind::KeyUp, 0, 0, vk);
        break;
      }
      case SDL_MOUSEBUTTONDOWN: AddButton(out, HostWindowEventKind::MouseDown, event.button); break;
      case SDL_MOUSEBUTTONUP: AddButton(out, HostWindowEventKind::MouseUp, event.button); break;
      case SDL_MOUSEMOTION: AddEvent(out, HostWindowEventKind::MouseMove, event.motion.x, event.motion.y); break;
      case SDL_TEXTINPUT: AddText(out, HostWindowEventKind::Text, event.text.text); break;
      case SDL_TEXTEDITING: AddText(out, HostWindowEventKind::Composition, event.edit.text); break;
      default: break;
    }
  }
}

void ShowHostWindow(cScreen& screen, bool show) {
  SDL_Window* window = WindowOf(screen);
  if (!window) return;
  if (show) {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  } else {
    SDL_HideWindow(window);
  }
}

void MinimiseHostWindow(cScreen& screen) {
  if (SDL_Window* window = WindowOf(screen)) SDL_MinimizeWindow(window);
}

void SetHostWindowTitle(cScreen& screen, const std::string& title) {
  if (SDL_Window* window = WindowOf(screen)) SDL_SetWindowTitle(window, Cp932ToUtf8(title).c_str());
}

bool GetHostDesktopSize(cScreen* screen, std::int32_t* width, std::int32_t* height) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  SDL_Window* window = screen ? WindowOf(*screen) : nullptr;
  int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  SDL_Rect usable;
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return false;
  *width = usable.x + usable.w;
  *height = usable.y + usable.h;
  return true;
}

bool GetHostWindowRect(cScreen& screen, ScreenRect* rect) {
  SDL_Window* window = WindowOf(screen);
  if (!window) return false;
  SDL_GetWindowPosition(window, &rect->x, &rect->y);
  SDL_GetWindowSize(window, &rect->w, &rect->h);
  return true;
}

void MoveHostWindow(cScreen& screen, std::int32_t x, std::int32_t y) {
  if (SDL_Window* window = WindowOf(screen)) SDL_SetWindowPosition(window, x, y);
}

bool GetHostMouse(cScreen& screen, std::int32_t* x, std::int32_t* y, std::uint32_t* buttons) {
  SDL_Window* window = WindowOf(screen);
  if (!window) return false;
  int gx = 0, gy = 0, wx = 0, wy = 0;
  Uint32 state = SDL_GetGlobalMouseState(&gx, &gy);
  SDL_GetWindowPosition(window, &wx, &wy);
  *x = gx - wx;
  *y = gy - wy;
  *buttons = ((state & SDL_BUTTON_LMASK) ? 1u : 0u) | ((state & SDL_BUTTON_RMASK) ? 2u : 0u);
  return true;
}

bool HostScreenIsWindow(cScreen& screen) { return WindowOf(screen) != nullptr; }

namespace {

// The frame's place in the window's output pixels, and the output's scale against window pixels.
bool FrameInWindow(cScreen& screen, ScreenRect* fit, double* scaleX, double* scaleY) {
  SDL_Window* window = WindowOf(screen);
  SDL_Renderer* renderer = window ? SDL_GetRenderer(window) : nullptr;
  if (!renderer) return false;
  int outW = 0, outH = 0, winW = 0, winH = 0;
  SDL_GetRendererOutputSize(renderer, &outW, &outH);
  SDL_GetWindowSize(window, &winW, &winH);
  if (outW <= 0 || outH <= 0 || winW <= 0 || winH <= 0) return false;
  *fit = FitFrameToWindow(outW, outH, screen.Width(), screen.Height());
  if (fit->w <= 0 || fit->h <= 0) return false;
  *scaleX = static_cast<double>(outW) / winW;
  *scaleY = static_cast<double>(outH) / winH;
  return true;
}

}  // namespace

bool HostPointToFrame(cScreen& screen, std::int32_t x, std::int32_t y, std::int32_t* frameX, std::int32_t* frameY) {
  ScreenRect fit;
  double sx = 1.0, sy = 1.0;
  if (!FrameInWindow(screen, &fit, &sx, &sy)) return false;
  const double ox = x * sx - fit.x;
  const double oy = y * sy - fit.y;
  *frameX = static_cast<std::int32_t>(std::floor(ox * screen.Width() / fit.w));
  *frameY = static_cast<std::int32_t>(std::floor(oy * screen.Height() / fit.h));
  return true;
}

void WarpHostMouseToFrame(cScreen& screen, std::int32_t frameX, std::int32_t frameY) {
  ScreenRect fit;
  double sx = 1.0, sy = 1.0;
  if (!FrameInWindow(screen, &fit, &sx, &sy)) return;
  // The middle of the frame pixel, so that reading the pointer back gives the same pixel.
  const double ox = fit.x + (frameX + 0.5) * fit.w / screen.Width();
  const double oy = fit.y + (frameY + 0.5) * fit.h / screen.Height();
  SDL_WarpMouseInWindow(WindowOf(screen), static_cast<int>(ox / sx), static_cast<int>(oy / sy));
}

void SetHostTextInput(cScreen& screen, bool on, const ScreenRect& rect) {
  if (!WindowOf(screen)) return;
  if (!on) {
    SDL_StopTextInput();
    return;
  }
  ScreenRect fit;
  double sx = 1.0, sy = 1.0;
  if (FrameInWindow(screen, &fit, &sx, &sy)) {
    SDL_Rect r;
    r.x = static_cast<int>((fit.x + static_cast<double>(rect.x) * fit.w / screen.Width()) / sx);
    r.y = static_cast<int>((fit.y + static_cast<double>(rect.y) * fit.h / screen.Height()) / sy);
    r.w = static_cast<int>(static_cast<double>(rect.w) * fit.w / screen.Width() / sx);
    r.h = static_cast<int>(static_cast<double>(rect.h) * fit.h / screen.Height() / sy);
    SDL_SetTextInputRect(&r);
  }
  SDL_StartTextInput();
}
