#include "platform/display/blit.h"
#include "platform/display/palette_fade.h"
#include "tests/platform/display/display_fixture.h"

namespace {

class FadeTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    for (int i = 0; i < 256; ++i) m_Source[i] = {static_cast<std::uint8_t>(i), 100, 40, 2};
  }

  PALETTEENTRY m_Source[256];
  PALETTEENTRY m_Palette[256] = {};
};

TEST_F(FadeTest, FadePaletteMixesOnlyItsRangeTowardTheColour) {
  struct sCase {
    std::int32_t level;
    PALETTEENTRY expected;  // entry 200 (red 200, green 100, blue 40) toward (0, 0, 255)
  };
  const sCase cases[] = {
      {256, {200, 100, 40, 1}}, {0, {0, 0, 255, 1}},
      {128, {100, 50, 147, 1}}, {300, {200, 100, 40, 1}},  // beyond the ends: the nearer end, never a wrapped channel
      {-20, {0, 0, 255, 1}},
  };
  for (const sCase& c : cases) {
    PALETTEENTRY out[256] = {};
    FadePalette(out, 199, 200, c.level, 0, 0, 255, m_Source);
    EXPECT_EQ(out[200], c.expected) << c.level;
    EXPECT_EQ(out[201], PALETTEENTRY{}) << "outside the range";
    EXPECT_EQ(out[198], PALETTEENTRY{});
  }
  // Into itself, and a range that does not fit the palette changes nothing.
  PALETTEENTRY palette[256];
  std::copy(std::begin(m_Source), std::end(m_Source), palette);
  FadePalette(palette, 0, 255, 0, 1, 2, 3, palette);
  EXPECT_EQ(palette[77], (PALETTEENTRY{1, 2, 3, 1}));
  FadePalette(palette, 250, 256, 256, 0, 0, 0, m_Source);
  FadePalette(palette, -1, 3, 256, 0, 0, 0, m_Source);
  FadePalette(palette, 9, 8, 256, 0, 0, 0, m_Source);
  EXPECT_EQ(palette[250], (PALETTEENTRY{1, 2, 3, 1}));
  EXPECT_EQ(palette[0], (PALETTEENTRY{1, 2, 3, 1}));
}

TEST_F(FadeTest, RotatePaletteTurnsItsRangeAndCopiesTheRest) {
  ASSERT_TRUE(StartDirectDraw(8));
  auto reds = [](const PALETTEENTRY* p, int from, int to) {
    std::vector<int> out;
    for (int i = from; i <= to; ++i) out.push_back(p[i].peRed);
    return out;
  };
  struct sCase {
    std::int32_t count, direction;
    std::vector<int> expected;  // entries 9..14 after rotating 10..13
  };
  const sCase cases[] = {
      {1, 0, {9, 13, 10, 11, 12, 14}}, {1, 1, {9, 11, 12, 13, 10, 14}}, {3, 0, {9, 11, 12, 13, 10, 14}},
      {4, 0, {9, 10, 11, 12, 13, 14}}, {5, 0, {9, 13, 10, 11, 12, 14}}, {1, 2, {9, 10, 11, 12, 13, 14}},
  };
  for (const sCase& c : cases) {
    PALETTEENTRY out[256] = {};
    RotatePalette(out, 10, 13, c.count, c.direction, m_Source);
    EXPECT_EQ(reds(out, 9, 14), c.expected) << c.count << " " << c.direction;
    EXPECT_EQ(out[255], m_Source[255]) << "the whole palette is copied";
  }
  // In place, as the colour cycling does it.
  PALETTEENTRY palette[256];
  std::copy(std::begin(m_Source), std::end(m_Source), palette);
  RotatePalette(palette, 0, 255, 1, 0, palette);
  EXPECT_EQ(reds(palette, 0, 2), (std::vector<int>{255, 0, 1}));
  // A range outside the palette leaves a plain copy.
  PALETTEENTRY out[256] = {};
  RotatePalette(out, 200, 300, 1, 0, m_Source);
  EXPECT_EQ(reds(out, 200, 201), (std::vector<int>{200, 201}));

  // At 24 bits there is nothing to rotate into: the destination is left alone.
  g_DisplayParams.bpp = 24;
  PALETTEENTRY untouched[256] = {};
  RotatePalette(untouched, 0, 3, 1, 0, m_Source);
  EXPECT_EQ(untouched[1], PALETTEENTRY{});
  g_DisplayParams.bpp = 8;
}

TEST_F(FadeTest, EightBitFadeOutWithStep30TakesFourCallsAndStartsAgainAfterwards) {
  ASSERT_TRUE(StartDirectDraw(8));
  // Entry 200 toward blue at the levels of 90, 60, 30 and 0 degrees: 256, 221, 127 and 0.
  const PALETTEENTRY expected[4] = {{200, 100, 40, 1}, {172, 86, 69, 1}, {99, 49, 148, 1}, {0, 0, 255, 1}};
  for (int run = 0; run < 2; ++run) {
    for (int call = 0; call < 4; ++call) {
      EXPECT_EQ(ScreenFadeOut(m_Palette, 100, 200, 0, 0, 255, 30.0, m_Source, false), call == 3) << call;
      EXPECT_EQ(m_Palette[200], expected[call]) << call;
      PALETTEENTRY shown;
      g_lpDDPalette->GetEntries(200, 1, &shown);
      EXPECT_EQ(shown, expected[call]) << "the display's palette shows it";
    }
  }
  EXPECT_EQ(m_Palette[99], PALETTEENTRY{}) << "outside the range";
  PALETTEENTRY shown;
  g_lpDDPalette->GetEntries(201, 1, &shown);
  EXPECT_EQ(shown, (PALETTEENTRY{201, 201, 0, 1})) << "the provisional palette outside the range";
}

TEST_F(FadeTest, ThirtyTwoBitFadesWorkFromTheScreenCopyTakenAtTheStart) {
  ASSERT_TRUE(StartDirectDraw(32));
  cPixelBuffer& back = PixelsOf(g_BackSurface);
  back.Fill(0x00C86428);
  const std::uint32_t expected[4] = {0x00C86428, 0x00AC5645, 0x00633194, 0x000000FF};
  for (int call = 0; call < 4; ++call) {
    EXPECT_EQ(ScreenFadeOut(m_Palette, 0, 255, 0, 0, 255, 30.0, m_Source, false), call == 3) << call;
    EXPECT_EQ(back.Pixel(639, 479), expected[call]) << call;
    // What the scene draws meanwhile is not faded: the picture of the fade's start is.
    back.Fill(0x00FFFFFF);
  }

  // Fading in runs the other way, from the colour to the picture of its start.
  back.Fill(0x00C86428);
  for (int call = 0; call < 4; ++call) {
    EXPECT_EQ(ScreenFadeIn(m_Palette, 0, 255, 0, 0, 255, 30.0, m_Source, false), call == 3) << call;
    EXPECT_EQ(back.Pixel(10, 10), expected[3 - call]) << call;
  }
}

TEST_F(FadeTest, FadesThatADisplayLeftUnfinishedStartAgainUnderTheNext) {
  ASSERT_TRUE(StartDirectDraw(32));
  PixelsOf(g_BackSurface).Fill(0x00123456);
  EXPECT_FALSE(ScreenFadeIn(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, false));
  EXPECT_FALSE(ScreenFadeOut(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, false));
  DDRelease();

  // The next display's fades begin at their start and work from its own picture.
  ASSERT_TRUE(StartDirectDraw(32));
  cPixelBuffer& back = PixelsOf(g_BackSurface);
  back.Fill(0x00C86428);
  EXPECT_FALSE(ScreenFadeOut(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, false));
  EXPECT_EQ(back.Pixel(5, 5), 0x00C86428u) << "the whole picture first";
  int calls = 1;
  while (!ScreenFadeOut(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, false) && calls < 10) ++calls;
  EXPECT_EQ(calls, 3);
  back.Fill(0x00C86428);
  calls = 0;
  while (!ScreenFadeIn(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, false) && calls < 10) ++calls;
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(back.Pixel(5, 5), 0x00C86428u);
}

TEST_F(FadeTest, AFadeInFinishedAtOnceShowsTheWholePicture) {
  ASSERT_TRUE(StartDirectDraw(32));
  // An earlier fade left another picture in the screen copy.
  PixelsOf(g_ScreenCopySurface).Fill(0x00123456);
  PixelsOf(g_BackSurface).Fill(0x00C86428);
  EXPECT_TRUE(ScreenFadeIn(m_Palette, 0, 255, 0, 0, 0, 5.0, m_Source, true));
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(320, 240), 0x00C86428u);

  ASSERT_TRUE(StartDirectDraw(8));
  EXPECT_TRUE(ScreenFadeIn(m_Palette, 0, 255, 0, 0, 0, 5.0, m_Source, true));
  EXPECT_EQ(m_Palette[30], (PALETTEENTRY{30, 100, 40, 1}));
  // A fade-out cut short ends on the colour at once.
  EXPECT_TRUE(ScreenFadeOut(m_Palette, 0, 255, 9, 8, 7, 5.0, m_Source, true));
  EXPECT_EQ(m_Palette[30], (PALETTEENTRY{9, 8, 7, 1}));
}

TEST_F(FadeTest, SixteenBitFadeGoesThroughTheEightBitScale) {
  ASSERT_TRUE(StartDirectDraw(16));
  struct sCase {
    std::int32_t level;
    std::uint8_t R, G, B;
    std::uint32_t expected;  // from red 1, green 63, blue 16 (R5G6B5 0x0FF0)
  };
  const sCase cases[] = {
      {256, 0, 0, 0, 0x07EF},  // the source, low values losing a step on the way
      {0, 255, 128, 0, 0xFBE0},
  };
  DDSURFACEDATA from, to;
  ASSERT_TRUE(DDCreateSurface(&from, 2, 1, 0, 1, 0, 0, 0));
  ASSERT_TRUE(DDCreateSurface(&to, 3, 2, 0, 1, 0, 0, 0));
  PixelsOf(from).Fill(0x0FF0);
  for (const sCase& c : cases) {
    PixelsOf(to).Fill(0x1111);
    EXPECT_TRUE(DDFade_UnPal(&to, c.level, c.R, c.G, c.B, &from));
    EXPECT_EQ(PixelsOf(to).Pixel(1, 0), c.expected) << c.level;
    // Only where both surfaces have pixels.
    EXPECT_EQ(PixelsOf(to).Pixel(2, 0), 0x1111u);
    EXPECT_EQ(PixelsOf(to).Pixel(0, 1), 0x1111u);
  }
  DDReleaseSurface(&from);
  DDReleaseSurface(&to);
}

TEST_F(FadeTest, Direct3DFadeOutDarkensThePictureWithABlackQuad) {
  ASSERT_TRUE(StartDirect3D(32));
  cPixelBuffer& back = PixelsOf(g_BackSurface);
  std::vector<std::uint32_t> seen;
  std::vector<bool> results;
  for (int call = 0; call < 4; ++call) {
    back.Fill(0xFFC86428);
    results.push_back(ScreenFadeOut(m_Palette, 0, 255, 255, 255, 255, 30.0, m_Source, false));
    seen.push_back(back.Pixel(639, 0) & 0xFFFFFF);
  }
  EXPECT_EQ(results, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(seen[0], 0xC86428u) << "the first call draws nothing visible";
  // Alpha 35, then 128, black over the picture; the colour arguments are not used.
  EXPECT_EQ(seen[1], 0xAD5623u);
  EXPECT_EQ(seen[2], 0x643214u);
  EXPECT_EQ(seen[3], 0x000000u);

  // While the virtual back buffer is on, the fade darkens it and not the back buffer.
  SetVirBackBuffer(1);
  PixelsOf(g_VirBackSurface).Fill(0xFFC86428);
  back.Fill(0xFFC86428);
  EXPECT_TRUE(ScreenFadeOut(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, true));
  EXPECT_EQ(PixelsOf(g_VirBackSurface).Pixel(3, 3) & 0xFFFFFF, 0u);
  EXPECT_EQ(back.Pixel(3, 3) & 0xFFFFFF, 0xC86428u);
  SetVirBackBuffer(0);

  // A fade-in cut short leaves the picture as it is.
  back.Fill(0xFFC86428);
  EXPECT_TRUE(ScreenFadeIn(m_Palette, 0, 255, 0, 0, 0, 30.0, m_Source, true));
  EXPECT_EQ(back.Pixel(3, 3) & 0xFFFFFF, 0xC86428u);
}

}  // namespace
