#pragma once
// The window framework: the base of the main window and of the dialogs. A window object keeps its
// window (the screen that stands for it), its identity, its client and outer geometry with the
// frame margins that its style adds, the limits of user resizing and the mouse state, and turns the
// common window messages into calls of its virtual handlers.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/message_queue.h"
#include "platform/host/screen.h"

// The low and high words of a message parameter, and a parameter made of two.
constexpr std::uint32_t LOWORD(std::uintptr_t v) { return static_cast<std::uint32_t>(v & 0xFFFF); }
constexpr std::uint32_t HIWORD(std::uintptr_t v) { return static_cast<std::uint32_t>((v >> 16) & 0xFFFF); }
constexpr std::uintptr_t MAKEWPARAM(std::uint32_t low, std::uint32_t high) {
  return static_cast<std::uintptr_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

// The window messages the framework and the main window handle, with the numbers the game uses.
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_MOVE = 0x0003;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_SETREDRAW = 0x000B;
constexpr std::uint32_t WM_SETTEXT = 0x000C;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr std::uint32_t WM_NOTIFY = 0x004E;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_INITDIALOG = 0x0110;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_HSCROLL = 0x0114;
constexpr std::uint32_t WM_VSCROLL = 0x0115;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_QUERYNEWPALETTE = 0x030F;
constexpr std::uint32_t WM_PALETTECHANGED = 0x0311;
constexpr std::uint32_t WM_APP = 0x8000;

// Window styles.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;

// The message's name as the message log writes it: the name of the table, or for a number not in it
// its decimal digits (in one buffer shared by every call).
const char* GetMessageName(std::uint32_t message);

// Show-window codes.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;

// The frame parts the geometry counts. The window manager draws the real frame; these are the sizes
// the game's layout arithmetic was made with, so limits and outer sizes come out as it expects.
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
std::int32_t GetSystemMetrics(int index);

struct POINT {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct RECT {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

// The window stands for its handle: the screen object of the window, null when there is none.
using HWND = cScreen*;

struct MouseState {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint32_t buttons = 7;
  std::int32_t leftDown = 0;
  std::int32_t rightDown = 0;
  std::int32_t leftPressed = 0;
  std::int32_t rightPressed = 0;
  std::int32_t leftReleased = 0;
  std::int32_t rightReleased = 0;
};

// The button part of the mouse state from the buttons now held (bit 0 left, bit 1 right). Flag bit
// 0 takes the held state, bit 1 the press edges, bit 2 the release edges. The press latches and the
// remembered state are shared by every window, as there is one mouse.
void MouseButtons(MouseState& state, std::uint32_t flags, std::uint32_t held);
// Forgets the shared latches (tests).
void ResetMouseLatches();

class cWindowGroup;

class cWindow {
 public:
  cWindow();
  virtual ~cWindow();
  cWindow(const cWindow&) = delete;
  cWindow& operator=(const cWindow&) = delete;

  virtual void OnCommand(std::uintptr_t, std::intptr_t) {}
  virtual void OnMouseMove(std::uintptr_t, std::intptr_t) {}
  virtual void OnLButtonDown(std::uintptr_t, std::intptr_t) {}
  virtual void OnRButtonDown(std::uintptr_t, std::intptr_t) {}
  virtual void OnLButtonDblClk(std::uintptr_t, std::intptr_t) {}
  virtual void OnRButtonDblClk(std::uintptr_t, std::intptr_t) {}
  virtual void OnLButtonUp(std::uintptr_t, std::intptr_t) {}
  virtual void OnRButtonUp(std::uintptr_t, std::intptr_t) {}
  virtual std::intptr_t WndProc(HWND, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }
  // The framework's share of a message; 1 when it handled it.
  virtual int Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  virtual void RefreshControls() {}
  virtual void OnPaint() {}

  // Stores the low 16 bits of id, the parent and the group.
  void SetIds(std::uint32_t id, HWND parent, cWindowGroup* group);
  // The geometry before the window exists.
  void Layout(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t minWidth, std::int32_t minHeight,
              std::int32_t maxWidth, std::int32_t maxHeight, std::uint32_t style, std::int32_t menu,
              std::int32_t toolBarRows, std::int32_t statusBarKind, std::int32_t reserved, std::int32_t scrollBars);
  void ComputeFrame();
  // Re-reads the client size from the window, then ComputeFrame.
  void UpdateStyle();
  void GetFrameRect(MINMAXINFO* info) const;
  void MoveTo(std::int32_t x, std::int32_t y);
  // Keeps the top-left, makes the client area width x height and the window that plus its frame.
  void SetClientSize(std::int32_t width, std::int32_t height);
  void CenterOnDesktop();
  // Where PlaceInWorkArea puts the window; -1000 on either axis is no request.
  void RequestPosition(std::int32_t x, std::int32_t y) { m_RequestedPos = {x, y}; }
  // Moves the window to the requested position, kept inside the work area.
  void PlaceInWorkArea();
  // The style with bits added or taken away, then the frame again.
  void SetStyleBits(std::uint32_t bits);
  void ClearStyleBits(std::uint32_t bits);
  void GetWindowPos(POINT* out) const;
  // Nothing is written when there is no window.
  void GetClientRect(RECT* out) const;
  // 1 when the mouse state was updated, 0 when the cursor is outside the drawing area and always is 0.
  int UpdateMouse(int always, std::uint32_t buttons);
  void EndCommand() { m_CommandGuard = 0; }

  HWND Handle() const { return m_hWnd; }
  void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
  std::uint32_t ResourceId() const { return m_ResourceId; }
  HWND Parent() const { return m_Parent; }
  cWindowGroup* Group() const { return m_Group; }
  const RECT& ClientRect() const { return m_ClientRect; }
  const RECT& WindowRect() const { return m_WindowRect; }
  const RECT& Margins() const { return m_Margins; }  // left, top, right, bottom frame widths
  POINT MinClientSize() const { return m_MinClient; }
  POINT MaxClientSize() const { return m_MaxClient; }
  POINT WindowPosition() const { return m_WindowPos; }
  std::uint32_t Style() const { return m_Style; }
  const MouseState& Mouse() const { return m_Mouse; }
  int Created() const { return m_Created; }
  void SetCreated(int created) { m_Created = created; }
  POINT RequestedPosition() const { return m_RequestedPos; }

  std::string m_Name;
  // 1: every message is written to the debug log (a developer's switch; the game never sets it).
  int m_MessageLog = 0;

 protected:
  // Where the window lives: the main window is a window of the desktop, a dialog a picture drawn in
  // the game's frame. These three carry the geometry over to it.
  virtual void PlaceWindow(std::int32_t x, std::int32_t y);
  virtual void ResizeWindow(std::int32_t width, std::int32_t height);
  // The area windows are kept in; false when it cannot be read.
  virtual bool WorkArea(RECT* area) const;
  // The mouse over the client area and its buttons (bit 0 left, bit 1 right).
  virtual bool ReadMouse(std::int32_t* x, std::int32_t* y, std::uint32_t* held) const;
  // The client area's size as the window has it now.
  virtual bool ReadClientSize(std::int32_t* width, std::int32_t* height) const;

  HWND m_hWnd = nullptr;
  std::uint32_t m_ResourceId = 0;
  HWND m_Parent = nullptr;
  cWindowGroup* m_Group = nullptr;
  POINT m_WindowPos;
  POINT m_DrawOrigin;
  POINT m_DrawSize;
  MouseState m_Mouse;
  RECT m_InitialClientRect;
  RECT m_ClientRect;
  POINT m_MinClient;
  POINT m_MaxClient;
  RECT m_WindowRect;
  std::uint32_t m_Style = 0;
  std::int32_t m_Menu = 0;
  std::int32_t m_ToolBarRows = 0;
  std::int32_t m_StatusBarKind = 0;
  std::int32_t m_ScrollBars = 0;
  RECT m_Margins;
  int m_Created = 0;
  int m_CommandGuard = 0;
  POINT m_RequestedPos{-1000, -1000};
};

// The windows that a modal dialog hides or disables while it runs.
class cWindowGroup {
 public:
  void Add(cWindow* window);
  void Remove(cWindow* window);
  // Shows (1) or hides (0) every window of the group; enables or disables them.
  void Show(int show);
  void Enable(int enable);
  const std::vector<cWindow*>& Windows() const { return m_Windows; }

 private:
  std::vector<cWindow*> m_Windows;
};

extern cWindowGroup g_WindowGroup;
