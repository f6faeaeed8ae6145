#include <algorithm>

#include "platform/display/present.h"
#include "tests/platform/display/font_fixture.h"

namespace {

using FontLifecycleTest = FontBothTest;
INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontLifecycleTest, ::testing::Values(false, true), BackEndName);

bool Listed(const Font* font) { return std::count(g_FontList.begin(), g_FontList.end(), font) == 1; }

TEST_P(FontLifecycleTest, ReleasingTwiceOrReleasingAFontNeverMadeIsHarmless) {
  Font never;
  never.Release();
  never.Release();
  EXPECT_FALSE(Listed(&never));

  Font& font = MakeFont(16, 16);
  EXPECT_TRUE(Listed(&font));
  EXPECT_TRUE(GetParam() ? font.lpFont && font.lpSprite && !font.hFont : font.hFont && !font.lpFont);
  EXPECT_EQ(font.Work.width, 640);
  EXPECT_EQ(font.Work.height, 480);
  font.Release();
  EXPECT_FALSE(font.hFont || font.lpFont || font.lpSprite || font.Work.lpDT || font.Work.lpDDPart);
  font.Release();
  // Released fonts draw nothing and measure as blank text.
  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, "#", 0);
  EXPECT_EQ(Count(*dst, kText), 0);
  EXPECT_EQ(font.MeasureTextGdi("W"), (SIZE{0, 20}));
}

TEST_P(FontLifecycleTest, FontsAreListedOnceAndLeaveTheListWhenDestroyed) {
  const std::int32_t before = GetParam() ? g_DisplayContext->fontCounter : g_DDContext->fontCounter;
  const Font* gone[2] = {};
  {
    Font first;
    first.Create("Cells", 0, 16, 16, 16, kTextPal, nullptr, 1, kFramePal, nullptr);
    Font second;
    second.Create("Cells", 0, 16, 16, 16, kTextPal, nullptr, 1, kFramePal, nullptr);
    EXPECT_EQ(second.nId, first.nId + 1);
    EXPECT_EQ(first.nId, before);
    first.Create("Cells", 0, 16, 16, 16, kTextPal, nullptr, 1, kFramePal, nullptr);
    EXPECT_TRUE(Listed(&first));
    EXPECT_EQ(
        *std::find_if(g_FontList.begin(), g_FontList.end(), [&](const Font* f) { return f == &first || f == &second; }),
        &first);
    // The face is kept (cut to 31 bytes) under Direct3D only.
    EXPECT_EQ(first.lpszFace, GetParam() ? "Cells" : "");
    gone[0] = &first;
    gone[1] = &second;
  }
  for (const Font* font : gone) EXPECT_EQ(std::count(g_FontList.begin(), g_FontList.end(), font), 0);
}

TEST_P(FontLifecycleTest, TheStartUpMakesTheThreeFontsAndTheirDigitStrips) {
  CreateGameFonts(SJ("ＭＳ Ｐゴシック"), 1, 1);
  for (const FontSetting& setting : g_FontSettings) EXPECT_EQ(setting.face, SJ("ＭＳ Ｐゴシック"));
  EXPECT_EQ(g_Fonts[1].bLetters, 1);
  EXPECT_EQ(g_Fonts[1].bCenterGlyphs, 1);
  EXPECT_EQ(g_Fonts[0].bCenterGlyphs, 0);
  EXPECT_EQ(g_Fonts[2].lpLetterSD, &g_SurfaceTable[50]);
  EXPECT_EQ(g_Fonts[2].lpWindowSD, &g_SurfaceTable[45]);
  EXPECT_EQ(g_Fonts[0].nLineHeight, 10);

  const std::int32_t widths[] = {100, 160, 320};
  const std::int32_t heights[] = {10, 16, 32};
  for (int i = 0; i < kFontCount; ++i) {
    EXPECT_EQ(g_FontSurfaces[i].width, widths[i]) << i;
    EXPECT_EQ(g_FontSurfaces[i].height, heights[i]) << i;
  }
  // Font 2's strip: digit d in the cell at d x 32, a bar d + 1 pixels high four pixels into it,
  // standing on row 14 (the baseline, one row above the cell's top less one).
  DDSURFACEDATA& strip = g_FontSurfaces[2];
  for (std::int32_t d = 0; d < 10; ++d) {
    int ink = 0;
    for (std::int32_t y = 0; y < 32; ++y)
      for (std::int32_t x = 0; x < 32; ++x) ink += Rgb(strip, d * 32 + x, y) == kText;
    EXPECT_EQ(ink, d + 1) << d;
    EXPECT_EQ(Rgb(strip, d * 32 + 4, 14), kText) << d;
  }
  // The strip keeps its background out of draws from it.
  DDSURFACEDATA* dst = Painted(64, 32, kWindow);
  DDBlt(dst, 0, 0, 64, 32, &strip, 0, 0, 1);
  EXPECT_EQ(Count(*dst, kWindow), 64 * 32 - 1 - 2);
}

TEST_F(FontTest, Direct3DFontsDrawAgainAfterTheDeviceIsReset) {
  ASSERT_TRUE(StartDirect3D(32));
  CreateGameFonts("Cells", 0, 0);
  Font& font = g_Fonts[1];
  InjectDisplayLoss(1);
  // Not yet resettable: the fonts have let go of the device and draw nothing.
  EXPECT_FALSE(DDRestoreSurface());
  EXPECT_TRUE(font.lpFont->Lost());
  EXPECT_TRUE(font.lpSprite->Lost());
  ASSERT_TRUE(DDRestoreSurface());
  EXPECT_FALSE(font.lpFont->Lost());
  EXPECT_FALSE(font.lpSprite->Lost());

  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(Count(*dst, kText), 16 * 16);
  // The digit strips came back empty and were drawn again.
  EXPECT_EQ(Rgb(g_FontSurfaces[2], 9 * 32 + 4, 14), kText);
  EXPECT_EQ(g_FontSurfaces[2].lpDT->recreated, 0);
}

TEST_F(FontTest, ALostDirectDrawWorkSurfaceIsRestored) {
  ASSERT_TRUE(StartDirectDraw(32));
  Font& font = MakeFont(16, 16);
  InjectDisplayLoss();
  EXPECT_EQ(font.Work.lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  DDSURFACEDATA* dst = Blank(16, 16);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(Count(*dst, kText), 0) << "nothing drawn while the work surface is lost";
  EXPECT_TRUE(DDRestore());
  EXPECT_EQ(font.Work.lpDDPart->surface->IsLost(), DD_OK);
  font.Draw(dst, 0, 0, SJ("■").c_str(), 0);
  EXPECT_EQ(Count(*dst, kText), 16 * 16);
}

}  // namespace
