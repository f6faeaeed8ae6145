// The headless run's frame bookkeeping: the close after exactly N frames, screenshots of the frame
// asked for, the scripted input frame by frame (Esc as the window's key), the short loss of focus,
// and the answers for boxes and file dialogs.
#include <vector>
#include <filesystem>

#include "platform/host/clock.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/input_devices.h"
#include "platform/host/text_codec.h"
#include "shell/headless.h"
#include "tests/shell/window_fixture.h"

namespace {

class HeadlessTest : public WindowThreadTest {
 protected:
  void TearDown() override {
    ResetHeadless();
    UseSteadyClock();
    SetRealAudioWanted(true);
    WindowThreadTest::TearDown();
  }
  void Start() {
    std::string error;
    ASSERT_TRUE(StartHeadless(m_Options, &error)) << error;
  }
  // A frame of one colour, presented.
  void Present(std::uint32_t colour) {
    const std::vector<std::uint32_t> pixels(640 * 480, colour);
    PixelView view{};
    view.format = PixelFormat::Xrgb8888;
    view.width = 640;
    view.height = 480;
    view.pitch = 640 * 4;
    view.pixels = reinterpret_cast<const std::uint8_t*>(pixels.data());
    g_MainWindow.Screen()->SubmitFrame(view, nullptr);
    OnFramePresented();
  }

  RunOptions m_Options;
};

TEST_F(HeadlessTest, TheCloseComesAfterExactlyTheFramesAskedFor) {
  m_Options.headless = true;
  m_Options.frames = 3;
  Start();
  EXPECT_TRUE(IsVirtualClock());
  for (int i = 0; i < 2; ++i) Present(0xFF000000);
  EXPECT_FALSE(FrameBudgetSpent());
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
  Present(0xFF000000);
  EXPECT_TRUE(FrameBudgetSpent());
  EXPECT_EQ(PresentedFrameCount(), 3u);
  EXPECT_EQ(TakePosted(WM_CLOSE), 1);
  EXPECT_TRUE(Traced("frames 3 done"));
}

TEST_F(HeadlessTest, AShotIsTheFramePresentedAsThatFrame) {
  m_Options.shots = {{2, (m_Folder / "two.png").string()}, {9, (m_Folder / "never.png").string()}};
  Start();
  Present(0xFF102030);
  Present(0xFFA0B0C0);
  Present(0xFF000000);
  std::vector<std::uint32_t> pixels;
  std::int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadXrgbPng(m_Folder / "two.png", &pixels, &w, &h));
  ASSERT_EQ(w, 640);
  ASSERT_EQ(h, 480);
  EXPECT_EQ(pixels[1234], 0xFFA0B0C0u);
  EXPECT_FALSE(std::filesystem::exists(m_Folder / "never.png"));
  EXPECT_EQ(TraceCount("shot 2 "), 1);
}

TEST_F(HeadlessTest, TheScriptHoldsKeysFromTheirFrameAndEscapeIsTheWindowsKey) {
  WriteHostFile("keys.txt", "0 Z\n2 RIGHT\n3 ESCAPE\n5 ESCAPE RIGHT\n6\n");
  m_Options.inputFile = (m_Folder / "keys.txt").string();
  Start();
  struct Expect {
    bool z, right, escapeKeyDown;
  };
  // Before frame n (n frames presented so far): what is held, and whether the window got Esc.
  const Expect frames[] = {{true, false, false},  {true, false, false}, {false, true, false},
                           {false, false, true},  {false, false, false}, {false, true, false},
                           {false, false, false}};
  for (std::size_t n = 0; n < std::size(frames); ++n) {
    EXPECT_EQ(GetAsyncKeyState('Z') < 0, frames[n].z) << "frame " << n;
    EXPECT_EQ(GetAsyncKeyState(VK_RIGHT) < 0, frames[n].right) << "frame " << n;
    std::optional<HostMessage> key;
    while (auto msg = MainWindowQueue().TryTake())
      if (msg->message == WM_KEYDOWN) key = msg;
    EXPECT_EQ(key.has_value(), frames[n].escapeKeyDown) << "frame " << n << ": Esc goes down once while held";
    if (key) {
      EXPECT_EQ(key->wParam, static_cast<std::uintptr_t>(VK_ESCAPE));
    }
    OnFramePresented();
  }
}

TEST_F(HeadlessTest, ABrokenScriptStopsTheRunBeforeItStarts) {
  WriteHostFile("keys.txt", "5 Z\n3 X\n");
  m_Options.inputFile = (m_Folder / "keys.txt").string();
  std::string error;
  EXPECT_FALSE(StartHeadless(m_Options, &error));
  EXPECT_NE(error.find("keys.txt"), std::string::npos);
}

TEST_F(HeadlessTest, TheInactivePauseDeactivatesBeforeTheNextFrameAndEndsByItself) {
  m_Options.inactive = std::make_pair(2u, 30u);
  Start();
  Present(0xFF000000);
  // The game thread's present waits until the window thread has handled the deactivation.
  OnGameThread<int>([this] {
    Present(0xFF000000);
    return 0;
  });
  EXPECT_EQ(g_AppActive.load(), 0);
  EXPECT_TRUE(Traced("activate 0 after frame 2"));
  bool reactivated = false;
  for (int i = 0; i < 1000 && !reactivated; ++i) {
    HeadlessWindowTick();
    while (auto msg = MainWindowQueue().TryTake())
      if (msg->message == WM_ACTIVATEAPP && msg->wParam == 1) reactivated = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(reactivated) << "the pause ends after its time";
}

}  // namespace
