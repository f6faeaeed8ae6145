// The Direct3D quad: its texel rule, the colour operations of stage 0 and the blending, through the
// copies that draw with it.
#include "platform/display/quad.h"

#include "platform/display/palette_fade.h"

#include "tests/platform/display/draw_fixture.h"

namespace {

class QuadTest : public DrawTest {
 protected:
  // Draws one opaque-or-not texel with a draw state onto a destination pixel; the result.
  std::uint32_t DrawTexel(std::uint32_t texel, std::uint32_t under, const DrawState* state, bool ontoTexture = false) {
    DDSURFACEDATA src, texture;
    Make(src, 1, 1);
    PixelsOf(src).SetPixel(0, 0, texel);
    DDSURFACEDATA* dst = &g_BackSurface;
    if (ontoTexture) {
      Make(texture, 1, 1);
      dst = &texture;
    }
    PixelsOf(*dst).SetPixel(0, 0, under);
    DDBltState(dst, 0, 0, 1, 1, &src, 0, 0, 1, state);
    const std::uint32_t result = At(*dst, 0, 0);
    DDReleaseSurface(&src);
    DDReleaseSurface(&texture);
    return result;
  }
};

TEST(QuadTexelTest, StretchedQuadsSampleTheTexelUnderEachPixelCentre) {
  struct sCase {
    std::int64_t k, sn, n, texel;
  };
  // floor((2k + 1) * sn / 2n), rounding towards minus infinity for mirrors.
  // clang-format off
  const sCase cases[] = {
      {0, 2, 4, 0},    {1, 2, 4, 0},   {2, 2, 4, 1},   {3, 2, 4, 1},    // 2x up
      {0, 3, 2, 0},    {1, 3, 2, 2},                                    // 3 -> 2 down
      {0, -32, 32, -1}, {31, -32, 32, -32},                             // mirror: 63 .. 32 from 64
      {-1, 2, -4, 0},  {-4, 2, -4, 1},                                  // drawn right to left
      {0, 7, 7, 0},    {6, 7, 7, 6},                                    // same size
      {2000000000, 2000000000, 1, 4000000001000000000},                 // no overflow
  };
  // clang-format on
  for (const sCase& c : cases) EXPECT_EQ(QuadTexel(c.k, c.sn, c.n), c.texel) << c.k << " " << c.sn << " " << c.n;
}

TEST(QuadChannelTest, ProductsRoundToNearest) {
  EXPECT_EQ(MulChannel(255, 255), 255u);
  EXPECT_EQ(MulChannel(255, 0), 0u);
  EXPECT_EQ(MulChannel(128, 128), 64u);  // 64.25
  EXPECT_EQ(MulChannel(50, 64), 13u);    // 12.55
  EXPECT_EQ(MulChannel(1, 127), 0u);     // 0.498
  EXPECT_EQ(MulChannel(1, 128), 1u);     // 0.502
  for (std::uint32_t a = 0; a < 256; ++a)
    for (std::uint32_t b = 0; b < 256; ++b) ASSERT_EQ(MulChannel(a, b), (2 * a * b + 255) / 510) << a << " " << b;
}

TEST_F(QuadTest, DrawColourCombinesWithEachTexelByTheColourOperation) {
  ASSERT_TRUE(StartDirect3D(32));
  const std::uint32_t texel = 0xFFC86432;  // red 200, green 100, blue 50, opaque
  struct sCase {
    const char* name;
    DrawState state;
    std::uint32_t expected;
  };
  const sCase cases[] = {
      // 200 * 255 / 255, 100 * 128 / 255 = 50.2, 50 * 64 / 255 = 12.55: rounded. The draw colour's alpha
      // does not make the copy translucent.
      {"MODULATE 0x80FF8040", {0x80FF8040, D3DTOP_MODULATE}, 0xC8320D},
      {"ADD", {0xFF204080, D3DTOP_ADD}, 0xE8A4B2},
      {"ADD saturates", {0xFF80FFFF, D3DTOP_ADD}, 0xFFFFFF},
      {"SUBTRACT", {0xFF204080, D3DTOP_SUBTRACT}, 0xA82400},
      {"SELECTARG1", {0xFF204080, D3DTOP_SELECTARG1}, 0xC86432},
      {"SELECTARG2", {0xFF204080, D3DTOP_SELECTARG2}, 0x204080},
  };
  for (const sCase& c : cases) EXPECT_EQ(DrawTexel(texel, 0x000000, &c.state), c.expected) << c.name;

  // The state is set around the one copy only.
  EXPECT_EQ(g_DisplayContext->drawColor, 0xFFFFFFFFu);
  EXPECT_EQ(g_DisplayContext->colorOp, D3DTOP_MODULATE);
  EXPECT_EQ(DrawTexel(texel, 0x000000, nullptr), 0xC86432u);
  // SetDrawColor stays until it is reset.
  SetDrawColor(0xFF808080);
  EXPECT_EQ(DrawTexel(texel, 0x000000, nullptr), 0x643219u);
  ResetDrawColor();
  SetDrawColorOp(D3DTOP_SELECTARG2);
  SetDrawColor(0xFF010203);
  EXPECT_EQ(DrawTexel(texel, 0x000000, nullptr), 0x010203u);
  ResetDrawColorOp();
  ResetDrawColor();
}

TEST_F(QuadTest, TranslucentTexelsBlendByTheirAlphaRoundedToNearest) {
  ASSERT_TRUE(StartDirect3D(32));
  // Alpha 128 over an opaque pixel: (s * 128 + d * 127) / 255 rounded, per channel.
  // red (255, 0) -> 128; green (64, 128) -> 95.9 -> 96; blue (16, 255) -> 135.0 -> 135.
  EXPECT_EQ(DrawTexel(0x80FF4010, 0x000080FF, nullptr), 0x806087u);
  // Onto a texture the alpha blends too: 128 over transparent leaves 128 * 128 / 255 = 64.
  EXPECT_EQ(DrawTexel(0x80FF4010, 0x00000000, nullptr, true), 0x40802008u);
  // Opaque texels replace, transparent ones leave the pixel.
  EXPECT_EQ(DrawTexel(0xFF112233, 0x00445566, nullptr), 0x112233u);
  EXPECT_EQ(DrawTexel(0x00112233, 0x00445566, nullptr), 0x445566u);
}

TEST_F(QuadTest, RowsMixingOpaqueAndTranslucentTexelsBlendEachOne) {
  // The plain copy takes a quicker road for rows of opaque and transparent texels only; a row with
  // one translucent texel must still blend it and copy the rest.
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA src;
  Make(src, 40, 2);
  for (int x = 0; x < 40; ++x) {
    PixelsOf(src).SetPixel(x, 0, x % 2 ? 0xFF0000FFu : 0u);
    PixelsOf(src).SetPixel(x, 1, x == 17 ? 0x80FF0000u : 0xFF00FF00u);
  }
  PixelsOf(g_BackSurface).Fill(0x000000);
  DDBlt(&g_BackSurface, 0, 0, 40, 2, &src, 0, 0, 1);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0u);
  EXPECT_EQ(At(g_BackSurface, 1, 0), 0x0000FFu);
  EXPECT_EQ(At(g_BackSurface, 16, 1), 0x00FF00u);
  EXPECT_EQ(At(g_BackSurface, 17, 1), 0x800000u);
  EXPECT_EQ(At(g_BackSurface, 18, 1), 0x00FF00u);
  DDReleaseSurface(&src);
}

TEST_F(QuadTest, TheUsualCopiesFillsAndFadesTakeTheRowLoops) {
  // What the game draws every frame under Direct3D at 32 bits: keyed and unkeyed copies of pictures
  // (opaque, transparent and translucent texels, described by key spans or not), colour fills and a
  // fade step. None of it may go pixel by pixel through the general rule.
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA picture, texture;
  Make(picture, 64, 32, 1);
  Make(texture, 64, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      PixelsOf(picture).SetPixel(x, y, (x + y) % 3 == 0 ? 0u : y == 5 && x == 9 ? 0x80FF0000u : 0xFF00FF00u);
  const std::uint64_t before = QuadPixelsDrawnOneByOne();
  for (int i = 0; i < 3; ++i) {
    DDBlt(&g_BackSurface, 10, 10, 64, 32, &picture, 0, 0, 1);
    DDBlt(&g_BackSurface, 100, 10, 64, 32, &picture, 0, 0, 0);
    DDBlt(&texture, -5, 3, 64, 32, &picture, 0, 0, 1);
  }
  DDFillRect(&g_BackSurface, 0, 0, 50, 50, 3);
  DDFillRectColor(&g_BackSurface, 0, 0, 50, 50, 0x80FFFFFF);
  DDFillRectColor(&texture, 0, 0, 50, 50, 0x40102030);
  PALETTEENTRY palette[256] = {};
  ScreenFadeOut(palette, 0, 255, 0, 0, 0, 30.0, palette, false);
  ScreenFadeOut(palette, 0, 255, 0, 0, 0, 30.0, palette, false);
  EXPECT_EQ(QuadPixelsDrawnOneByOne(), before);

  // A copy in a draw colour is shaded texel by texel: the count sees it.
  const DrawState shaded{0xFF808080, 4};
  DDBltState(&g_BackSurface, 0, 0, 64, 32, &picture, 0, 0, 1, &shaded);
  EXPECT_EQ(QuadPixelsDrawnOneByOne(), before + 64 * 32);
  DDReleaseSurface(&picture);
  DDReleaseSurface(&texture);
}

TEST_F(QuadTest, SixteenBitCopiesTakeTheRowLoops) {
  // The same copies at 16 bits, onto the windowed (Argb1555) and the full-screen (Rgb565) back
  // buffer: 16-bit texels are opaque or transparent, so none of it needs the per-pixel rule.
  for (const int windowed : {1, 0}) {
    ASSERT_TRUE(StartDirect3D(16, windowed));
    DDSURFACEDATA picture, texture;
    Make(picture, 64, 32, 1);
    Make(texture, 64, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) PixelsOf(picture).SetPixel(x, y, (x + y) % 3 == 0 ? 0x1234u : 0xFC1Fu);
    const std::uint64_t before = QuadPixelsDrawnOneByOne();
    for (int i = 0; i < 3; ++i) {
      DDBlt(&g_BackSurface, 10, 10, 64, 32, &picture, 0, 0, 1);
      DDBlt(&g_BackSurface, 100, 10, 64, 32, &picture, 0, 0, 0);
      DDBlt(&texture, -5, 3, 64, 32, &picture, 0, 0, 1);
      DDStretchBlt(&g_BackSurface, 200, 10, 96, 40, &picture, 0, 0, 64, 32, 1);
    }
    EXPECT_EQ(QuadPixelsDrawnOneByOne(), before) << "windowed " << windowed;
    // Transparent texels left the back buffer alone, opaque ones were copied.
    const std::uint32_t under = At(g_BackSurface, 10, 10);
    EXPECT_EQ(At(g_BackSurface, 11, 10), windowed ? 0xFC1Fu : 0xF81Fu) << "windowed " << windowed;
    DDReleaseSurface(&picture);
    DDReleaseSurface(&texture);
    EXPECT_NE(under, 0xFC1Fu);
    DDRelease();
  }
}

TEST_F(QuadTest, QuadsThatAreNotRectanglesCoverEachPixelOnce) {
  // A turned quad (as rotations draw): two triangles sharing a diagonal, every pixel centre inside
  // drawn once, so a translucent colour is not blended twice on the diagonal.
  ASSERT_TRUE(StartDirect3D(32));
  PixelsOf(g_BackSurface).Fill(0);
  cVertexBuffer vb;
  const std::uint32_t colour = 0x80FFFFFF;
  // A diamond centred on (10, 10).
  vb.m_Vertices[0] = {10.f, 2.f, 0, 1, colour, 0, 0};
  vb.m_Vertices[1] = {2.f, 10.f, 0, 1, colour, 0, 1};
  vb.m_Vertices[2] = {18.f, 10.f, 0, 1, colour, 1, 0};
  vb.m_Vertices[3] = {10.f, 18.f, 0, 1, colour, 1, 1};
  lpDevice->m_Stage0 = {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE,
                        D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE};
  ASSERT_EQ(DrawQuad(*lpDevice, vb, nullptr), D3D_OK);
  int covered = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const std::uint32_t p = At(g_BackSurface, x, y);
      if (p == 0) continue;
      ++covered;
      EXPECT_EQ(p, 0x808080u) << x << "," << y;
    }
  // The diamond's area is 128 pixels; centres on its edges go to one side only.
  EXPECT_NEAR(covered, 128, 8);
  EXPECT_EQ(At(g_BackSurface, 10, 10), 0x808080u);
  EXPECT_EQ(At(g_BackSurface, 3, 3), 0u);
}

TEST_F(QuadTest, NothingIsDrawnWhileTheDeviceIsLost) {
  ASSERT_TRUE(StartDirect3D(32));
  InjectDisplayLoss(1);
  DDFillRectColor(&g_BackSurface, 0, 0, 2, 2, 0xFF123456);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0u);
}

}  // namespace
