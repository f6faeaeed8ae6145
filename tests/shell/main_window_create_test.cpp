// The main window is made once: its own creation step runs once however WM_CREATE reaches it.
#include <memory>

#include <gtest/gtest.h>

#include "platform/host/screen.h"
#include "shell/main_window.h"

namespace {

class cCountingWindow : public cMainWindow {
 public:
  void OnCreate(std::uintptr_t, std::intptr_t) override { ++m_Creations; }
  int m_Creations = 0;
};

TEST(MainWindowCreateTest, OnCreateRunsOnceForEachWindowMade) {
  cCountingWindow window;
  window.Create(std::make_unique<cHeadlessScreen>(640, 480));
  EXPECT_EQ(window.m_Creations, 1);
  EXPECT_EQ(window.Created(), 1);
  // The framework's dispatch and the procedure both hear WM_CREATE: neither makes it again.
  window.WndProc(window.Handle(), WM_CREATE, 0, 0);
  window.Dispatch(window.Handle(), WM_CREATE, 0, 0);
  EXPECT_EQ(window.m_Creations, 1);
  window.ReleaseScreen();

  window.Create(std::make_unique<cHeadlessScreen>(640, 480));
  EXPECT_EQ(window.m_Creations, 2) << "a window made again is a new window";
  window.ReleaseScreen();
}

}  // namespace
