// The SDL window's events and its place on the desktop.
#include "platform/host/host_window.h"

#include <SDL.h>

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
