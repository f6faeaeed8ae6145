#include "platform/host/screen.h"

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "tests/support/game_folder.h"

namespace {

// A frame of w x h pixels in format, rows pitch bytes apart, from values of that format.
struct sFrame {
  std::vector<std::uint8_t> bytes;
  PixelView view;
};

sFrame MakeFrame(PixelFormat format, std::int32_t w, std::int32_t h, std::int32_t pitch,
                 const std::vector<std::uint32_t>& values) {
  sFrame frame;
  frame.bytes.assign(static_cast<std::size_t>(pitch) * h, 0xEE);
  const int size = BytesPerPixel(format);
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x)
      std::memcpy(frame.bytes.data() + y * pitch + x * size, &values[static_cast<std::size_t>(y) * w + x], size);
  frame.view = {frame.bytes.data(), w, h, pitch, format};
  return frame;
}

TEST(FrameConvertTest, EachFormatBecomesOpaqueXrgb) {
  std::uint32_t palette[256] = {};
  palette[0] = 0x000000;
  palette[1] = 0x102030;
  palette[255] = 0xFFFFFF;
  struct sCase {
    PixelFormat format;
    std::vector<std::uint32_t> values;
    std::vector<std::uint32_t> expected;
  };
  const sCase cases[] = {
      {PixelFormat::Index8, {0, 1, 255, 1}, {0xFF000000, 0xFF102030, 0xFFFFFFFF, 0xFF102030}},
      // Full channels widen to 255, and 5 or 6-bit values repeat their top bits below.
      {PixelFormat::Rgb565, {0xF800, 0x07E0, 0x001F, 0x8410}, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848284}},
      {PixelFormat::Argb1555, {0x7C00, 0x03E0, 0x801F, 0x4210}, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848484}},
      {PixelFormat::Xrgb8888, {0x00123456, 0xAB000001, 0, 0xFFFFFF}, {0xFF123456, 0xFF000001, 0xFF000000, 0xFFFFFFFF}},
      {PixelFormat::Argb8888, {0x00123456, 0x80654321, 0, 1}, {0xFF123456, 0xFF654321, 0xFF000000, 0xFF000001}},
  };
  for (const sCase& c : cases) {
    // Rows longer than their pixels: the padding must not show.
    sFrame frame = MakeFrame(c.format, 2, 2, 16, c.values);
    std::uint32_t out[3 * 2] = {};
    ConvertFrameToXrgb(frame.view, palette, out, 3);
    EXPECT_EQ(out[0], c.expected[0]);
    EXPECT_EQ(out[1], c.expected[1]);
    EXPECT_EQ(out[2], 0u) << "past the row";
    EXPECT_EQ(out[3], c.expected[2]);
    EXPECT_EQ(out[4], c.expected[3]);
  }
}

TEST(FitFrameTest, WholeFactorsCentredAndShrinkingOnlyBelowTheFrame) {
  struct sCase {
    std::int32_t w, h;
    ScreenRect fit;
  };
  const sCase cases[] = {
      {640, 480, {0, 0, 640, 480}},     {1920, 1080, {320, 60, 1280, 960}},  // 2x: 2.25x would make uneven pixels
      {1280, 1024, {0, 32, 1280, 960}}, {2560, 1440, {320, 0, 1920, 1440}},
      {700, 500, {30, 10, 640, 480}},   {320, 480, {0, 120, 320, 240}},  // smaller: the shape kept
      {640, 240, {160, 0, 320, 240}},   {0, 480, {}},
  };
  for (const sCase& c : cases) EXPECT_EQ(FitFrameToWindow(c.w, c.h, 640, 480), c.fit) << c.w << "x" << c.h;
}

class HeadlessScreenTest : public GameFolderTest {};

TEST_F(HeadlessScreenTest, KeepsTheLastFrameAndWritesItAsPng) {
  cHeadlessScreen screen(4, 3);
  std::vector<std::uint32_t> values(12);
  for (std::uint32_t i = 0; i < 12; ++i) values[i] = (i * 0x151515u) & 0xFFFFFF;
  sFrame frame = MakeFrame(PixelFormat::Xrgb8888, 4, 3, 16, values);
  // Submitted from the drawing thread, taken by the window's.
  std::thread drawing([&] { screen.SubmitFrame(frame.view, nullptr); });
  drawing.join();
  EXPECT_TRUE(screen.ShowPendingFrame());
  EXPECT_FALSE(screen.ShowPendingFrame());
  std::vector<std::uint32_t> last = screen.LastFrame();
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(last[i], 0xFF000000u | values[i]) << i;

  ASSERT_TRUE(screen.WriteLastFramePng(m_Folder / "shot.png"));
  std::vector<std::uint32_t> read;
  std::int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadXrgbPng(m_Folder / "shot.png", &read, &w, &h));
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(read, last);
}

TEST_F(HeadlessScreenTest, AFrameNotYetShownCountsAndASmallerOneLeavesBlack) {
  cHeadlessScreen screen(3, 2);
  sFrame big = MakeFrame(PixelFormat::Xrgb8888, 3, 2, 12, std::vector<std::uint32_t>(6, 0x808080));
  screen.SubmitFrame(big.view, nullptr);
  std::uint32_t palette[256] = {};
  palette[7] = 0x00FF00;
  sFrame small = MakeFrame(PixelFormat::Index8, 1, 1, 4, {7});
  screen.SubmitFrame(small.view, palette);
  std::vector<std::uint32_t> last = screen.LastFrame();
  EXPECT_EQ(last, (std::vector<std::uint32_t>{0xFF00FF00, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}));
  EXPECT_FALSE(WriteXrgbPng(m_Folder / "no" / "folder.png", last.data(), 3, 2));
}

// Records where and with what the window changes are carried out.
class cRecordingScreen : public cScreen {
 public:
  cRecordingScreen() : cScreen(2, 2) {}
  std::vector<std::pair<ScreenState, std::thread::id>> m_Applied;

 protected:
  void ShowImage(const std::uint32_t*) override {}
  void ApplyState(const ScreenState& state) override { m_Applied.emplace_back(state, std::this_thread::get_id()); }
};

TEST(ScreenStateTest, ChangesAskedFromAnotherThreadWaitForTheWindowsThread) {
  cRecordingScreen screen;
  screen.SetFullScreen(true);
  ASSERT_EQ(screen.m_Applied.size(), 1u);
  EXPECT_TRUE(screen.m_Applied[0].first.fullScreen);
  std::thread other([&] {
    screen.SetMinimised(true);
    screen.SetCursorVisible(false);
  });
  other.join();
  EXPECT_EQ(screen.m_Applied.size(), 1u);
  screen.ShowPendingFrame();
  ASSERT_EQ(screen.m_Applied.size(), 2u);
  const ScreenState& applied = screen.m_Applied[1].first;
  EXPECT_TRUE(applied.fullScreen);
  EXPECT_TRUE(applied.minimised);
  EXPECT_FALSE(applied.cursorVisible);
  EXPECT_EQ(screen.m_Applied[1].second, std::this_thread::get_id());
}

// Shows one frame in a real window and reads the window's pixels back.
void ExpectWindowShowsFrame() {
  std::unique_ptr<cSdlScreen> screen = cSdlScreen::Open("player", 640, 480, false, false);
  if (!screen) GTEST_SKIP() << "no SDL video driver: " << SDL_GetError();
  std::vector<std::uint32_t> values(640 * 480);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint32_t>((i * 2654435761u) & 0xFFFF);
  sFrame frame = MakeFrame(PixelFormat::Rgb565, 640, 480, 1280, values);
  screen->SubmitFrame(frame.view, nullptr);
  ASSERT_TRUE(screen->ShowPendingFrame());
  std::int32_t w = 0, h = 0;
  std::vector<std::uint32_t> shown = screen->ReadWindowPixels(&w, &h);
  if (shown.empty()) GTEST_SKIP() << "the renderer cannot read back";
  ASSERT_EQ(w, 640);
  ASSERT_EQ(h, 480);
  EXPECT_EQ(shown, screen->LastFrame());
}

// SDL's dummy video driver keeps the window's pixels in memory.
TEST(SdlScreenTest, OpensA640x480WindowAndShowsTheSubmittedFrame) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  ExpectWindowShowsFrame();
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
}

// The same on a real X server, a virtual one started for the test where Xvfb is installed.
TEST(SdlScreenTest, ShowsTheFrameInAnXWindow) {
  if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
#if defined(__SANITIZE_ADDRESS__)
  // The X client libraries keep a few allocations the leak checker cannot trace back; the normal
  // build runs this test.
  GTEST_SKIP() << "not in the sanitizer build";
#endif
  const std::string display = ":" + std::to_string(90 + getpid() % 500);
  const pid_t server = fork();
  if (server == 0) {
    execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(server, 0);
  const std::string socket = "/tmp/.X11-unix/X" + display.substr(1);
  for (int i = 0; i < 200 && access(socket.c_str(), F_OK) != 0; ++i) usleep(10000);
  setenv("DISPLAY", display.c_str(), 1);
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  ExpectWindowShowsFrame();
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
  unsetenv("DISPLAY");
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
}

}  // namespace
