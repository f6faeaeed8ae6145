#include "tests/platform/display/font_fixture.h"

namespace {

INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontBothTest, ::testing::Values(false, true), BackEndName);

TEST_P(FontBothTest, AnEmptyTextDrawsNothing) {
  Font& fixed = MakeFont(16, 16);
  Font& proportional = MakeFont(0, 16);
  DDSURFACEDATA* dst = Blank(32, 32);
  fixed.Draw(dst, 0, 0, "", 0);
  proportional.Draw(dst, 0, 0, "", 0);
  proportional.Printf(dst, 0, 0, "%s", "");
  EXPECT_EQ(Count(*dst, 0), 32 * 32);
}

TEST_P(FontBothTest, FixedPitchPutsEachCharacterInItsCell) {
  struct sCase {
    const char* utf8;
    std::int32_t pitch, lineHeight, centred;
    PixelRect ink;  // drawn at (4, 2)
  };
  const sCase cases[] = {
      // A double-width glyph at the cell's corner.
      {"■", 16, 16, 0, {4, 2, 20, 18}},
      // A single-width glyph an eighth of the pitch right and a sixteenth of the line height less one
      // down: 16 / 8 = 2 and 16 / 16 - 1 = 0.
      {"#", 16, 16, 0, {6, 2, 14, 18}},
      {"1", 16, 16, 0, {6, 14, 7, 16}},
      {"#", 32, 32, 0, {8, 3, 16, 19}},
      // Cells follow one another, double-width characters taking one cell too.
      {"■#", 16, 16, 0, {4, 2, 30, 18}},
      {"■\n#", 16, 20, 0, {4, 2, 20, 38}},
      // Centred: half the pitch and half the line height, less half the glyph's measure (its advance
      // and the cell height).
      {"■", 32, 32, 1, {12, 10, 28, 26}},
      {"#", 32, 32, 1, {16, 10, 24, 26}},
  };
  for (const sCase& c : cases) {
    Font& font = MakeFont(c.pitch, c.lineHeight);
    font.bCenterGlyphs = c.centred;
    DDSURFACEDATA* dst = Blank(64, 48);
    font.Draw(dst, 4, 2, SJ(c.utf8).c_str(), 0);
    EXPECT_EQ(Extent(*dst, kText), c.ink) << c.utf8 << " pitch " << c.pitch << " centred " << c.centred;
  }
}

TEST_P(FontBothTest, ProportionalLinesFollowTheGlyphAdvances) {
  Font& font = MakeFont(0, 20);
  DDSURFACEDATA* dst = Blank(16, 40);
  font.Draw(dst, 0, 0, "iW\ni", 0);
  const std::vector<std::string> rows = Rows(*dst, 0, 7, 16, 23);
  // 'i' is a bar at column 1 of its 3-pixel advance, rows 8-13; 'W' follows at 3, one row at 13.
  EXPECT_EQ(rows[0], "................");
  EXPECT_EQ(rows[1], ".#..............");
  EXPECT_EQ(rows[6], ".#.##########...");
  EXPECT_EQ(rows[7], "................");
  EXPECT_EQ(Extent(*dst, kText), (PixelRect{1, 8, 13, 34}));
  // The second line one line height lower.
  EXPECT_EQ(Rgb(*dst, 1, 28), kText);
  EXPECT_EQ(Rgb(*dst, 1, 27), 0u);
}

TEST_P(FontBothTest, TheFullWidthSpaceIsLeftOutOnlyByTheDirect3DFont) {
  Font& font = MakeFont(16, 16);
  DDSURFACEDATA* dst = Blank(32, 16);
  font.Draw(dst, 0, 0, SJ("　").c_str(), 0);
  if (GetParam())
    EXPECT_EQ(Count(*dst, kText), 0);
  else
    EXPECT_EQ(Extent(*dst, kText), (PixelRect{7, 6, 9, 8}));
}

TEST_P(FontBothTest, LetterPicturesReplaceTheLettersWhileTheirPictureIsLoaded) {
  // Cell k of the letter picture has one column lit, at column k (mod 16) of the cell; the rest is
  // the key.
  DDSURFACEDATA* letters = Painted(26 * 16, 16, 0, 1);
  for (std::int32_t k = 0; k < 26; ++k)
    for (std::int32_t y = 0; y < 16; ++y)
      PixelsOf(*letters).SetPixel(k * 16 + k % 16, y, (GetParam() ? 0xFF000000u : 0u) | kLetter);
  DDSURFACEDATA unloaded;

  struct sCase {
    DDSURFACEDATA* picture;
    std::int32_t letters;
    bool pictures;  // the letter pictures shown, the glyphs not
  };
  const sCase cases[] = {{letters, 1, true}, {&unloaded, 1, false}, {letters, 0, false}};
  for (const sCase& c : cases) {
    Font& font = MakeFont(16, 16, nullptr, c.picture);
    EXPECT_EQ(font.bLetters, 1);
    font.bLetters = c.letters;
    DDSURFACEDATA* dst = Blank(64, 16);
    font.Draw(dst, 0, 0, "abc#", 0);
    if (c.pictures) {
      EXPECT_EQ(Extent(*dst, kLetter), (PixelRect{0, 0, 35, 16}));
      for (std::int32_t x : {0, 17, 34}) EXPECT_EQ(Rgb(*dst, x, 5), kLetter) << x;
      // Only the '#' in the fourth cell is a glyph.
      EXPECT_EQ(Extent(*dst, kText), (PixelRect{50, 0, 58, 16}));
    } else {
      EXPECT_EQ(Count(*dst, kLetter), 0);
      // a, b, c: 2 pixels wide, 2, 3 and 4 high on the baseline, two pixels into their cells.
      EXPECT_EQ(Count(*dst, kText), 2 * 2 + 2 * 3 + 2 * 4 + 8 * 16);
      EXPECT_EQ(Rgb(*dst, 2, 13), kText);
      EXPECT_EQ(Rgb(*dst, 34, 10), kText);
    }
  }
}

TEST_F(FontTest, ASystemMemoryTextureGetsTheTextThroughTheWorkSurface) {
  ASSERT_TRUE(StartDirect3D(32));
  Font& fixed = MakeFont(16, 16);
  Font& proportional = MakeFont(0, 16);
  DDSURFACEDATA* dst = Blank(64, 40, 1);
  ASSERT_TRUE(dst->lpDT->software);
  fixed.Draw(dst, 4, 2, SJ("■").c_str(), 0);
  // Measured, not taken as 0 x 0: the proportional text reaches the destination too.
  proportional.Draw(dst, 0, 20, "W", 0);
  EXPECT_EQ(Extent(*dst, kText), (PixelRect{0, 2, 20, 34}));
  EXPECT_EQ(Rgb(*dst, 9, 33), kText);
  EXPECT_EQ(Rgb(*dst, 10, 33), 0u);
}

TEST_P(FontBothTest, TheTextColourIsTakenOnceAtCreation) {
  Font& font = MakeFont(16, 16);
  g_Palette[kTextPal] = {1, 2, 3, 1};
  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(Count(*dst, kText), 16 * 16);
  EXPECT_EQ(font.dwColor, GetParam() ? 0xFF204060u : 0x604020u);
}

class FontDirectDrawTest : public FontTest {};

TEST_F(FontDirectDrawTest, TextInTheKeyColourIsInvisible) {
  ASSERT_TRUE(StartDirectDraw(32));
  g_Palette[7] = {0, 0, 0, 1};  // the transparent colour
  Font& font = MakeFont(16, 16, nullptr, nullptr, 7);
  DDSURFACEDATA* dst = Painted(32, 16, kWindow);
  font.Draw(dst, 0, 0, SJ("■■").c_str(), 0);
  EXPECT_EQ(Count(*dst, kWindow), 32 * 16);
}

TEST_F(FontDirectDrawTest, GlyphPixelsTakeThePaletteNumberAt8Bits) {
  ASSERT_TRUE(StartDirectDraw(8));
  Font& font = MakeFont(16, 16);
  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(PixelsOf(*dst).Pixel(0, 0), kTextPal);
  EXPECT_EQ(PixelsOf(*dst).Pixel(15, 15), kTextPal);
}

TEST_F(FontDirectDrawTest, At16BitsTheColourRoundTripsToThePalettePixel) {
  ASSERT_TRUE(StartDirectDraw(16));
  // Above 8 bits the palette holds each channel in its pixel format's range (5, 6, 5 bits).
  g_Palette[kTextPal] = {0x1F, 0x21, 0x0B, 1};
  Font& font = MakeFont(16, 16);
  EXPECT_EQ(font.dwColor, 255u | (0x21u * 255 / 63) << 8 | (0x0Bu * 255 / 31) << 16);
  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(PixelsOf(*dst).Pixel(3, 3), PalNumToRGB(kTextPal));
  EXPECT_EQ(PixelsOf(*dst).Pixel(3, 3), 0xFC2Bu);
}

TEST_F(FontTest, Direct3DBlendsTheTextColourOverTheDestination) {
  ASSERT_TRUE(StartDirect3D(32));
  g_Palette[kTextPal] = {0xFF, 0x00, 0x00, 1};
  Font& font = MakeFont(16, 16);
  // A keyed destination that is transparent where the text goes: the glyph's own alpha shows.
  DDSURFACEDATA* dst = Painted(16, 16, 0, 1);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(PixelsOf(*dst).Pixel(0, 0), 0xFFFF0000u);
}

TEST_F(FontTest, Direct3DAt16BitsWritesTheColourInTheTargetsFormat) {
  ASSERT_TRUE(StartDirect3D(16, 0));
  Font& font = MakeFont(16, 16);
  DDSURFACEDATA* dst = Blank(16, 16);
  PixelsOf(*dst).Fill(0);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  // 0x20, 0x40, 0x60 cut to five bits each, opaque.
  EXPECT_EQ(PixelsOf(*dst).Pixel(5, 5), 0x8000u | 4u << 10 | 8u << 5 | 12u);
  // Onto the full-screen back buffer, which is RGB565.
  PixelsOf(g_BackSurface).Fill(0);
  font.Draw(&g_BackSurface, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(5, 5), 4u << 11 | 16u << 5 | 12u);
}

}  // namespace
