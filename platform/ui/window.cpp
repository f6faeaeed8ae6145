#include "platform/ui/window.h"

#include <algorithm>

#include "platform/host/host_window.h"
#include "platform/services/log.h"

cWindowGroup g_WindowGroup;

namespace {

struct SystemMetric {
  int index;
  std::int32_t value;
};

// The classic frame sizes, one row per part.
constexpr SystemMetric kSystemMetrics[] = {
    {SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CYCAPTION, 19}, {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3}, {SM_CYMENU, 19},    {SM_CXFRAME, 4},    {SM_CYFRAME, 4},
};

// One mouse, so one set of latches for every window.
std::int32_t s_PrevLeftDown = 0;
std::int32_t s_PrevRightDown = 0;
std::int32_t s_LeftLatch = 0;
std::int32_t s_RightLatch = 0;

void PressEdge(std::int32_t down, std::int32_t& latch, std::int32_t& pressed) {
  if (!down) {
    latch = 0;
    pressed = 0;
  } else if (!latch) {
    latch = 1;
    pressed = 1;
  } else {
    pressed = 0;
  }
}

}  // namespace

std::int32_t GetSystemMetrics(int index) {
  for (const SystemMetric& m : kSystemMetrics)
    if (m.index == index) return m.value;
  return 0;
}

void MouseButtons(MouseState& state, std::uint32_t flags, std::uint32_t held) {
  const std::int32_t prevLeft = s_PrevLeftDown;
  const std::int32_t prevRight = s_PrevRightDown;
  if (flags & 1) {
    state.leftDown = (held & 1) ? 1 : 0;
    state.rightDown = (held & 2) ? 1 : 0;
  }
  if (flags & 2) {
    PressEdge(state.leftDown, s_LeftLatch, state.leftPressed);
    PressEdge(state.rightDown, s_RightLatch, state.rightPressed);
  }
  if (flags & 4) {
    state.leftReleased = (prevLeft == 1 && state.leftDown == 0) ? 1 : 0;
    state.rightReleased = (prevRight == 1 && state.rightDown == 0) ? 1 : 0;
  }
  s_PrevLeftDown = state.leftDown;
  s_PrevRightDown = state.rightDown;
}

void ResetMouseLatches() {
  s_PrevLeftDown = s_PrevRightDown = 0;
  s_LeftLatch = s_RightLatch = 0;
}

cWindow::cWindow() = default;
cWindow::~cWindow() = default;

void cWindow::SetIds(std::uint32_t id, HWND parent, cWindowGroup* group) {
  m_ResourceId = id & 0xFFFF;
  m_Parent = parent;
  m_Group = group;
}

void cWindow::Layout(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t minWidth,
                     std::int32_t minHeight, std::int32_t maxWidth, std::int32_t maxHeight, std::uint32_t style,
                     std::int32_t menu, std::int32_t toolBarRows, std::int32_t statusBarKind, std::int32_t,
                     std::int32_t scrollBars) {
  const std::int32_t extraW = (scrollBars & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const std::int32_t extraH = toolBarRows * 28 + ((statusBarKind == 1 || statusBarKind == 2) ? 20 : 0) +
                              ((scrollBars & 1) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  m_Style = style;
  m_Menu = menu;
  m_ToolBarRows = toolBarRows;
  m_StatusBarKind = statusBarKind;
  m_ScrollBars = scrollBars;
  m_DrawOrigin = {0, toolBarRows * 28};
  m_MinClient = {minWidth + extraW, minHeight + extraH};
  m_MaxClient = {maxWidth + extraW, maxHeight + extraH};
  m_ClientRect = {0, 0, clientWidth + extraW, clientHeight + extraH};
  m_InitialClientRect = m_ClientRect;
  ComputeFrame();
}

void cWindow::ComputeFrame() {
  m_Margins = {};
  if (m_Style & WS_CAPTION) m_Margins.top += GetSystemMetrics(SM_CYCAPTION);
  if (m_Style & WS_THICKFRAME) {
    m_Margins.left += GetSystemMetrics(SM_CXFRAME);
    m_Margins.right += GetSystemMetrics(SM_CXFRAME);
    m_Margins.top += GetSystemMetrics(SM_CYFRAME);
    m_Margins.bottom += GetSystemMetrics(SM_CYFRAME);
  } else if (m_Style & WS_DLGFRAME) {
    m_Margins.left += GetSystemMetrics(SM_CXDLGFRAME);
    m_Margins.right += GetSystemMetrics(SM_CXDLGFRAME);
    m_Margins.top += GetSystemMetrics(SM_CYDLGFRAME);
    m_Margins.bottom += GetSystemMetrics(SM_CYDLGFRAME);
  }
  if (m_Menu) m_Margins.top += GetSystemMetrics(SM_CYMENU);
  const std::int32_t clientW = m_ClientRect.right - m_ClientRect.left;
  const std::int32_t clientH = m_ClientRect.bottom - m_ClientRect.top;
  m_WindowRect = {0, 0, clientW + m_Margins.left + m_Margins.right, clientH + m_Margins.top + m_Margins.bottom};
  m_DrawSize = {clientW - ((m_ScrollBars & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                clientH - m_ToolBarRows * 28 - ((m_ScrollBars & 1) ? GetSystemMetrics(SM_CYHSCROLL) : 0) -
                    (m_StatusBarKind == 1 ? 20 : 0)};
}

void cWindow::UpdateStyle() {
  std::int32_t w = 0, h = 0;
  if (ReadClientSize(&w, &h)) m_ClientRect = {0, 0, w, h};
  ComputeFrame();
}

bool cWindow::ReadClientSize(std::int32_t* width, std::int32_t* height) const {
  ScreenRect rect;
  if (!m_hWnd || !GetHostWindowRect(*m_hWnd, &rect)) return false;
  *width = rect.w;
  *height = rect.h;
  return true;
}

void cWindow::GetFrameRect(MINMAXINFO* info) const {
  if (!info) return;
  const std::int32_t mw = m_Margins.left + m_Margins.right;
  const std::int32_t mh = m_Margins.top + m_Margins.bottom;
  info->ptMinTrackSize = {m_MinClient.x + mw, m_MinClient.y + mh};
  info->ptMaxTrackSize = {m_MaxClient.x + mw, m_MaxClient.y + mh};
}

void cWindow::PlaceWindow(std::int32_t x, std::int32_t y) {
  if (m_hWnd) MoveHostWindow(*m_hWnd, x, y);
}

// The desktop window's client size follows the frame the game shows; the window manager keeps it.
void cWindow::ResizeWindow(std::int32_t, std::int32_t) {}

bool cWindow::WorkArea(RECT* area) const {
  std::int32_t w = 0, h = 0;
  if (!GetHostDesktopSize(m_hWnd, &w, &h)) return false;
  *area = {0, 0, w, h};
  return true;
}

bool cWindow::ReadMouse(std::int32_t* x, std::int32_t* y, std::uint32_t* held) const {
  return m_hWnd && GetHostMouse(*m_hWnd, x, y, held);
}

void cWindow::MoveTo(std::int32_t x, std::int32_t y) {
  PlaceWindow(x, y);
  m_WindowPos = {x, y};
  ComputeFrame();
}

void cWindow::SetClientSize(std::int32_t width, std::int32_t height) {
  m_ClientRect = {0, 0, width, height};
  ComputeFrame();
  ResizeWindow(m_WindowRect.right, m_WindowRect.bottom);
}

void cWindow::PlaceInWorkArea() {
  if (m_RequestedPos.x == -1000 || m_RequestedPos.y == -1000) return;
  RECT area;
  if (!WorkArea(&area)) return;
  const std::int32_t w = m_WindowRect.right - m_WindowRect.left;
  const std::int32_t h = m_WindowRect.bottom - m_WindowRect.top;
  std::int32_t x = m_RequestedPos.x;
  std::int32_t y = m_RequestedPos.y;
  if (x < 0) {
    x = 0;
  } else if (x + w >= area.right) {
    x = area.right - w;
  }
  if (y < 0) {
    y = 0;
  } else if (y + h >= area.bottom) {
    y = area.bottom - h;
  }
  m_RequestedPos = {x, y};
  MoveTo(x, y);
}

void cWindow::SetStyleBits(std::uint32_t bits) {
  m_Style |= bits;
  UpdateStyle();
}

void cWindow::ClearStyleBits(std::uint32_t bits) {
  m_Style &= ~bits;
  UpdateStyle();
}

void cWindow::GetWindowPos(POINT* out) const {
  if (out) *out = m_WindowPos;
}

void cWindow::GetClientRect(RECT* out) const {
  if (out && m_hWnd) *out = m_ClientRect;
}

void cWindow::CenterOnDesktop() {
  std::int32_t desktopW = 0, desktopH = 0;
  if (!GetHostDesktopSize(m_hWnd, &desktopW, &desktopH)) return;
  MoveTo((desktopW - m_WindowRect.right) / 2, (desktopH - m_WindowRect.bottom) / 2);
}

int cWindow::UpdateMouse(int always, std::uint32_t buttons) {
  std::int32_t x = 0, y = 0;
  std::uint32_t held = 0;
  if (!ReadMouse(&x, &y, &held)) return 0;
  x -= m_DrawOrigin.x;
  y -= m_DrawOrigin.y;
  if (!always && (x < 0 || x >= m_DrawSize.x || y < 0 || y >= m_DrawSize.y)) return 0;
  m_Mouse.x = x;
  m_Mouse.y = y;
  MouseButtons(m_Mouse, buttons, held);
  return 1;
}

int cWindow::Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  m_hWnd = hWnd;
  if (message == WM_COMMAND) {
    // A command sent while one is being handled is refused, not handled re-entrantly.
    if (m_CommandGuard) return 0;
    m_CommandGuard = 1;
  }
  if (m_MessageLog && message != WM_SETTEXT) {
    LogF("%s | msg:%s | wp:%u(%u,%u) | lp:%d(%d,%d)", m_Name.c_str(), GetMessageName(message),
         static_cast<unsigned>(wParam), HIWORD(wParam), LOWORD(wParam), static_cast<int>(lParam),
         static_cast<int>(HIWORD(static_cast<std::uintptr_t>(lParam))),
         static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lParam))));
  }
  UpdateMouse(0, 7);
  switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
    case WM_PAINT: OnPaint(); return 1;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      EndCommand();
      return 1;
    case WM_SIZE: UpdateStyle(); return 1;
    case WM_MOVE: {
      ScreenRect rect;
      if (m_hWnd && GetHostWindowRect(*m_hWnd, &rect)) m_WindowPos = {rect.x, rect.y};
      return 1;
    }
    case WM_GETMINMAXINFO: GetFrameRect(reinterpret_cast<MINMAXINFO*>(lParam)); return 1;
    case WM_DESTROY: m_hWnd = nullptr; return 1;
    case WM_ACTIVATEAPP: return 1;
    default: return 0;
  }
}

void cWindowGroup::Add(cWindow* window) {
  if (window && std::find(m_Windows.begin(), m_Windows.end(), window) == m_Windows.end()) m_Windows.push_back(window);
}

void cWindowGroup::Remove(cWindow* window) { std::erase(m_Windows, window); }

void cWindowGroup::Show(int show) {
  for (cWindow* window : m_Windows)
    if (window->Handle()) ShowHostWindow(*window->Handle(), show != 0);
}

void cWindowGroup::Enable(int enable) {
  for (cWindow* window : m_Windows) {
    if (enable)
      window->ClearStyleBits(WS_DISABLED);
    else
      window->SetStyleBits(WS_DISABLED);
  }
}
