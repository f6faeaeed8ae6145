#pragma once
// The tests that drive windows on a virtual X server through Xlib: a fixture with the server and a
// connection to it, waiting for a state, a window manager's close request, and the colour of a point.
// Include it after every other header: the X client headers' macros (None, Bool, Status) would bend
// the names of the program's headers.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "tests/shell/virtual_x_server.h"
#include "tests/support/game_folder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Xlib's default answer to a failed request ends the process; a test only wants to know.
inline int NoteXError(::Display*, XErrorEvent*) { return 0; }

// Polls pred every few milliseconds until it holds or ms have passed; its last answer.
template <class Pred>
bool Within(int ms, Pred pred) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    if (pred()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return pred();
}

// What a window manager sends when the window's close button is pressed.
inline void PressCloseButton(::Display* x, Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, w, False, NoEventMask, &e);
  XFlush(x);
}

// The 0xRRGGBB colour of a point of a window (or of the root window), 0 when it cannot be read.
inline unsigned long WindowPixel(::Display* x, Window w, int px, int py) {
  XImage* image = XGetImage(x, w, px, py, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return p;
}

// A game folder, a virtual X server and a connection to it; skipped where there is no server and in
// the sanitizer build.
class XServerTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    if (kSanitizerBuild) GTEST_SKIP() << "not in the sanitizer build";
    m_Server = std::make_unique<cVirtualXServer>();
    if (!m_Server->Available()) GTEST_SKIP() << "no virtual X server";
    XSetErrorHandler(NoteXError);
    m_X = XOpenDisplay(m_Server->Display().c_str());
    ASSERT_NE(m_X, nullptr);
  }
  void TearDown() override {
    if (m_X) XCloseDisplay(m_X);
    m_X = nullptr;
    m_Server.reset();
    GameFolderTest::TearDown();
  }

  std::unique_ptr<cVirtualXServer> m_Server;
  ::Display* m_X = nullptr;
};
