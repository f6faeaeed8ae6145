// Text windows in the real Debian fonts, shown headless and written as PNG files for people to look
// at: test_output/font_window_<back-end>.png beside the test program (or in $PLAYER_TEST_OUTPUT).

#include "platform/display/present.h"
#include "tests/platform/display/font_fixture.h"

namespace {

constexpr std::uint32_t kBack = 0x303030;
constexpr std::uint32_t kWindowPicture = 0x102850;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x80A0FF;

class FontScreenshotTest : public FontBothTest {
 protected:
  void SetUp() override {
    m_OutputDir = TestOutputDir();
    FontBothTest::SetUp();
    // The installed fonts, found through fontconfig as the game finds them.
    SetFontFileOverride({});
    g_Palette[kTextPal] = {0xFF, 0xFF, 0xFF, 1};
    g_Palette[kFramePal] = {0x80, 0xA0, 0xFF, 1};
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[45]);
    FontBothTest::TearDown();
  }

  static std::uint32_t Opaque(std::uint32_t rgb) { return (lpDevice ? 0xFF000000u : 0u) | rgb; }

  std::filesystem::path m_OutputDir;
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontScreenshotTest, ::testing::Values(false, true), BackEndName);

TEST_P(FontScreenshotTest, TextWindowsInTheIpaFonts) {
  // The window picture, as bmp\Window.bmp would be.
  ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[45], 640, 480, 0, 0, 0, 0, 0));
  PixelsOf(g_SurfaceTable[45]).Fill(Opaque(kWindowPicture));
  PixelsOf(g_BackSurface).Fill(Opaque(kBack));
  CreateGameFonts(SJ("ＭＳ ゴシック"), 0, 0);

  const std::string message = SJ("ステージ１　ＳＣＯＲＥ 12345");
  struct sWindow {
    int font;
    std::int32_t y;
    std::string text;
    PixelRect rect;  // where the window lies: centred across, at y
    PixelRect ink;   // where its glyphs may lie
  };
  // Font 0's single-width glyphs stand one row higher than their cells (10 / 16 - 1), so the tallest
  // of them touch the window's frame.
  const sWindow windows[] = {
      {1, 200, message, {184, 200, 456, 216}, {184, 200, 456, 216}},
      {2, 260, SJ("ステージ１"), {240, 260, 400, 292}, {240, 260, 400, 292}},
      {0, 320, SJ("SCORE 12345 ｽﾃｰｼﾞ"), {235, 320, 405, 330}, {235, 319, 405, 330}},
  };
  for (const sWindow& w : windows) g_Fonts[w.font].DrawTextWindow(&g_BackSurface, 10000, w.y, 0, 0, w.text.c_str(), 0);

  if (GetParam())
    ASSERT_TRUE(DDPresent());
  else
    ASSERT_EQ(g_lpDD->Flip(), DD_OK);
  std::filesystem::create_directories(m_OutputDir);
  const std::filesystem::path png =
      m_OutputDir / (std::string("font_window_") + (GetParam() ? "Direct3D" : "DirectDraw") + ".png");
  ASSERT_TRUE(m_Screen.WriteLastFramePng(png)) << png;

  sFramePng frame;
  ASSERT_TRUE(ReadFramePng(png, &frame));
  auto at = [&](std::int32_t x, std::int32_t y) { return frame.At(x, y); };
  auto inside = [](const PixelRect& r, std::int32_t x, std::int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  };
  int ink[3] = {0, 0, 0};
  int partial = 0;
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      const std::uint32_t p = at(x, y);
      if (p == kBack || p == kWindowPicture || p == kBlue) continue;
      // A glyph pixel: inside one of the windows.
      int found = -1;
      for (int i = 0; i < 3; ++i)
        if (inside(windows[i].ink, x, y)) found = i;
      ASSERT_GE(found, 0) << "glyph pixel outside the windows at " << x << "," << y << ": " << std::hex << p;
      ++ink[found];
      partial += p != kWhite;
    }
  }
  // Each window holds a good deal of text, and its frame surrounds it.
  EXPECT_GT(ink[0], 400);
  EXPECT_GT(ink[1], 400);
  EXPECT_GT(ink[2], 100);
  for (const sWindow& w : windows) {
    EXPECT_EQ(at(w.rect.left - 1, w.rect.top - 1), kBlue);
    EXPECT_EQ(at(w.rect.right, w.rect.bottom), kBlue);
  }
  // Smoothed edges under Direct3D; ink or paper only under DirectDraw.
  if (GetParam())
    EXPECT_GT(partial, 100);
  else
    EXPECT_EQ(partial, 0);
}

}  // namespace
