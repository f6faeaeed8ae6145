#include "tests/platform/display/font_fixture.h"

namespace {

using FontWindowTest = FontBothTest;
INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontWindowTest, ::testing::Values(false, true), BackEndName);

TEST_P(FontWindowTest, TenThousandCentresTheWindowOnTheWindowPicture) {
  Font& font = MakeFont(16, 16, Painted(640, 100, kWindow));
  DDSURFACEDATA* dst = Blank(640, 100);
  font.DrawWindow(dst, 10000, 10000, 200, 20);
  // 640 / 2 - 200 / 2 and 100 / 2 - 20 / 2, the frame one pixel around the outside.
  EXPECT_EQ(Extent(*dst, kWindow), (PixelRect{220, 40, 420, 60}));
  EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{219, 39, 421, 61}));

  DDSURFACEDATA* odd = Blank(640, 100);
  font.DrawWindow(odd, 10000, 5, 201, 21);
  EXPECT_EQ(Extent(*odd, kWindow), (PixelRect{220, 5, 421, 26}));
}

TEST_P(FontWindowTest, AWindowOfNoSizeTakesTheTextsMeasureAndTheMargin) {
  struct sCase {
    std::int32_t pitch;
    const char* utf8;
    PixelRect window;
    PixelRect ink;
  };
  const sCase cases[] = {
      // 2 cells of 16 plus the margin of 4; the text 4 pixels right of the window's edge.
      {16, "■■", {10, 8, 46, 24}, {14, 8, 46, 24}},
      // Proportional: 'i' then 'W', 13 pixels.
      {0, "iW", {10, 8, 27, 24}, {15, 16, 27, 22}},
  };
  for (const sCase& c : cases) {
    Font& font = MakeFont(c.pitch, 16, Painted(640, 100, kWindow));
    DDSURFACEDATA* dst = Blank(64, 40);
    font.DrawTextWindow(dst, 10, 8, 0, 0, SJ(c.utf8).c_str(), 4);
    // The text covers part of the window; together they fill its rectangle.
    PixelRect window = Extent(*dst, kWindow);
    const PixelRect ink = Extent(*dst, kText);
    window = {std::min(window.left, ink.left), std::min(window.top, ink.top), std::max(window.right, ink.right),
              std::max(window.bottom, ink.bottom)};
    EXPECT_EQ(window, c.window) << c.utf8;
    EXPECT_EQ(ink, c.ink) << c.utf8;
    EXPECT_EQ(Extent(*dst, kFrame),
              (PixelRect{c.window.left - 1, c.window.top - 1, c.window.right + 1, c.window.bottom + 1}))
        << c.utf8;
  }
}

TEST_P(FontWindowTest, AGivenSizeIsKeptAndTheOtherMeasured) {
  Font& font = MakeFont(16, 16, Painted(640, 100, kWindow));
  DDSURFACEDATA* dst = Blank(64, 60);
  font.DrawTextWindow(dst, 2, 2, 40, 0, SJ("■\n■").c_str(), 0);
  EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{1, 1, 43, 35}));
}

TEST_P(FontWindowTest, FormattedTextsAreNotCut) {
  // One-pixel cells, so that a long text still fits the destination and the work surface; the
  // digits are bars one pixel wide.
  Font& font = MakeFont(1, 16, Painted(640, 100, kWindow));
  DDSURFACEDATA* dst = Blank(600, 20);
  // 255 blanks and a 7: the 7 lies beyond 255 bytes.
  font.Printf(dst, 0, 0, "%s%d", std::string(255, ' ').c_str(), 7);
  EXPECT_EQ(Extent(*dst, kText), (PixelRect{255, 6, 256, 14}));

  DDSURFACEDATA* window = Blank(600, 20);
  font.PrintfWindow(window, 1, 1, 0, 0, "%s%d", std::string(518, ' ').c_str(), 71);
  // 520 characters: the window is 520 pixels wide, the 7 and the 1 at its end.
  EXPECT_EQ(Extent(*window, kFrame), (PixelRect{0, 0, 522, 18}));
  EXPECT_EQ(Extent(*window, kText), (PixelRect{519, 7, 521, 15}));
  EXPECT_EQ(Rgb(*window, 520, 14), kText);
}

}  // namespace
