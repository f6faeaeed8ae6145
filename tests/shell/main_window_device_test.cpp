// WM_USER+100: the game thread's report of a lost Direct3D device reaches the reset on the window
// thread while the game thread waits, and the next present succeeds.
#include <atomic>
#include <memory>
#include <thread>

#include "platform/display/display.h"
#include "platform/display/present.h"
#include "platform/host/screen.h"
#include "shell/main_window.h"
#include "shell/window_loop.h"
#include "tests/platform/display/display_fixture.h"
#include "tests/support/messages.h"

namespace {

class MainWindowDeviceTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ResetMessageShutdown();
    BindWindowThread();
    // A window of its own: one that an earlier test closed takes no more messages.
    g_MainWindow.Create(std::make_unique<cHeadlessScreen>(640, 480));
  }
  void TearDown() override {
    g_MainWindow.ReleaseScreen();
    UnbindWindowThread();
    DisplayTest::TearDown();
  }
};

TEST_F(MainWindowDeviceTest, TheLossReportResetsTheDeviceThroughTheWindowProcedure) {
  ASSERT_TRUE(StartDirect3D(32));
  InjectDisplayLoss();
  ASSERT_FALSE(DDPresent());
  std::atomic<bool> done{false};
  std::thread game([&] {
    ReportDeviceLost();
    done = true;
  });
  std::optional<HostMessage> msg;
  while ((msg = MainWindowQueue().TakeWithin(5000)) && msg->message != WM_GAME_DEVICELOST) {
  }
  if (!msg) BeginMessageShutdown();
  ASSERT_TRUE(msg.has_value());
  EXPECT_FALSE(done) << "the game thread waits for the reset";
  DispatchMainWindowMessage(*msg);
  game.join();
  EXPECT_TRUE(done);
  EXPECT_FALSE(lpDevice->Lost());
  EXPECT_TRUE(DDPresent());
  TakeMainWindowMessages(WM_CLOSE);
}

}  // namespace
