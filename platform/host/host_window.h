#pragma once
// What the window thread needs of the SDL window beyond showing frames: its events, showing and
// hiding, its title, its place on the desktop and the mouse over it. Every function takes the
// screen that stands for the window; for a screen without a window (headless) they do nothing and
// report nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/screen.h"

// Window-level happenings, already in the game's terms.
enum class HostWindowEventKind : std::uint8_t {
  Close,       // the close button, or the session asks the program to quit
  Activate,    // the window got the keyboard focus or was restored
  Deactivate,  // the window lost the focus or was minimised
  Moved,       // x, y: the new top-left of the client area on the desktop
  Resized,     // x, y: the new client size
  KeyDown,     // virtualKey: a key went down (auto-repeats included, as the game's window sees them)
  KeyUp,       // virtualKey: a key went up
  MouseDown,   // x, y: where in the window (window pixels); button 1 left, 2 right; clicks 2 a double click
  MouseUp,     // x, y, button
  MouseMove,   // x, y
  Text,        // text: characters typed, UTF-8 (an input method's committed text comes here too)
  Composition, // text: what the input method is composing, UTF-8; empty once it is committed or dropped
};

struct HostWindowEvent {
  HostWindowEventKind kind = HostWindowEventKind::Close;
  std::int32_t x = 0;
  std::int32_t y = 0;
  int virtualKey = 0;
  int button = 0;
  int clicks = 0;
  // Text and Composition: NUL-terminated UTF-8, as much as one event of the host carries.
  char text[32] = {};
};

// Takes every waiting SDL event. Keyboard, focus and joystick events go to the SDL input source
// first (HandleSdlInputEvent); the window-level ones are appended to out. Nothing happens while the
// video subsystem is not running. Does not allocate once out has room for a handful of events.
void PumpHostWindowEvents(std::vector<HostWindowEvent>& out);

void ShowHostWindow(cScreen& screen, bool show);
void MinimiseHostWindow(cScreen& screen);
// The title is code page 932.
void SetHostWindowTitle(cScreen& screen, const std::string& title);
// The usable desktop of the window's display (of the first display when there is no window yet).
bool GetHostDesktopSize(cScreen* screen, std::int32_t* width, std::int32_t* height);
// The client area's top-left on the desktop and its size.
bool GetHostWindowRect(cScreen& screen, ScreenRect* rect);
void MoveHostWindow(cScreen& screen, std::int32_t x, std::int32_t y);
// The mouse over the client area (may lie outside it) and its buttons: bit 0 left, bit 1 right.
bool GetHostMouse(cScreen& screen, std::int32_t* x, std::int32_t* y, std::uint32_t* buttons);

// True when the screen is a window the player can see and use (not the headless screen).
bool HostScreenIsWindow(cScreen& screen);
// A point of the window (window pixels, as mouse events give it) in the frame's pixels, through the
// same scaling and black bars the frame is shown with; false without a window. The point may lie
// outside the frame.
bool HostPointToFrame(cScreen& screen, std::int32_t x, std::int32_t y, std::int32_t* frameX, std::int32_t* frameY);
// Puts the mouse pointer over a point of the frame (SetCursorPos in the frame's terms).
void WarpHostMouseToFrame(cScreen& screen, std::int32_t frameX, std::int32_t frameY);
// Text entry: on while a text field has the focus, so that keys become characters and an input
// method may compose; rect is the field in frame pixels, where the input method shows its window.
void SetHostTextInput(cScreen& screen, bool on, const ScreenRect& rect);
