// The colour effects: the tint, half translucency and the colour change at every depth of both
// back-ends, their rounding, and the blend table they read at 8 bits.
#include "platform/display/blend_table.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/quad.h"
#include "tests/platform/display/effect_fixture.h"

namespace {

class BlendTest : public EffectTest {
 protected:
  void SetUp() override {
    EffectTest::SetUp();
    m_Palette[5] = {255, 255, 255, 1};
    m_Palette[6] = {10, 20, 30, 1};
    // A table whose mixes are easy to follow: T[a][b] = 3a + b.
    for (std::size_t a = 0; a < 256; ++a)
      for (std::size_t b = 0; b < 256; ++b) m_Table[a * 256 + b] = static_cast<std::uint8_t>(3 * a + b);
  }
  PALETTEENTRY m_Palette[256] = {};
  BlendTable m_Table{};
};

// ---- tint

TEST_F(BlendTest, DirectDrawTintHalvesTheWayToTheColourPerStep) {
  ASSERT_TRUE(Start(kDD32));
  sOwnedRecord dst, src;
  Make(dst, 1, 1);
  Make(src, 1, 1);
  const struct {
    std::int32_t steps;
    std::uint32_t expected;
  } cases[] = {{1, 0x7F7F7F}, {2, 0xBFBFBF}, {8, 0xFEFEFE}, {1000, 0xFEFEFE}, {-3, 0}};
  for (const auto& c : cases) {
    PixelsOf(dst).Fill(0x42000000);
    EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, m_Table.data(), 5, c.steps));
    EXPECT_EQ(At(dst, 0, 0), 0x42000000 | c.expected) << c.steps;
  }
  // No steps: nothing drawn.
  PixelsOf(dst).Fill(0x11);
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, m_Table.data(), 5, 0));
  EXPECT_EQ(At(dst, 0, 0), 0x11u);
}

TEST_F(BlendTest, EightBitTintLooksTheTableUpOncePerStep) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 2, 1);
  Make(src, 2, 1);
  Put(src, 2, {2, 4});
  g_TransparentPixel = 4;
  // 2 -> 3 * 2 + 5 = 11 -> 38 -> 119; the key pixel is left with colourKey 1.
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 1, m_Palette, m_Table.data(), 5, 3));
  EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{119, 0}));
  // Many steps give what as many lookups give.
  std::uint8_t p = 2;
  for (int k = 0; k < 777; ++k) p = m_Table[p * 256u + 5];
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 1, m_Palette, m_Table.data(), 5, 777));
  EXPECT_EQ(At(dst, 0, 0), p);
}

TEST_F(BlendTest, SixteenBitDirectDrawTintWorksInTheEightBitScale) {
  ASSERT_TRUE(Start(kDD16));
  // The 16-bit palette holds each channel in its format's range.
  m_Palette[7] = {0, 63, 31, 1};
  sOwnedRecord dst, src;
  Make(dst, 1, 1);
  Make(src, 1, 1);
  Put(src, 1, {31 << 11 | 0 << 5 | 10});
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, m_Table.data(), 7, 1));
  EXPECT_EQ(At(dst, 0, 0), 15u << 11 | 31 << 5 | 20);
  // No halving at all: the copy through the scale loses a step of blue (10 -> 82 -> 9).
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, m_Table.data(), 7, -1));
  EXPECT_EQ(At(dst, 0, 0), 31u << 11 | 9);
}

TEST_F(BlendTest, Direct3DTintQuadWeighsTexelAndColourByTheStepCount) {
  ASSERT_TRUE(Start(kD3D32));
  sOwnedRecord dst, src;
  Make(dst, 2, 1);
  Make(src, 2, 1);
  Put(src, 2, {0xFF000000, 0});
  const struct {
    std::int32_t steps;
    std::uint32_t expected;  // the opaque black texel toward white
  } cases[] = {{1, 0xFF7F7F7F}, {2, 0xFFAFAFAF}, {4, 0xFFEFEFEF}, {5, 0xFFFFFFFF}, {9, 0xFFFFFFFF}};
  for (const auto& c : cases) {
    PixelsOf(dst).Fill(0xFF0000FF);
    EXPECT_TRUE(TintBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 1, m_Palette, nullptr, 5, c.steps));
    // The transparent texel leaves the destination as it was.
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{c.expected, 0xFF0000FF})) << c.steps;
  }
  PixelsOf(dst).Fill(0xFF0000FF);
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 1, m_Palette, nullptr, 5, 0));
  EXPECT_EQ(At(dst, 0, 0), 0xFF0000FFu);
}

TEST_F(BlendTest, Direct3DSoftwareTintAtBothDepths) {
  ASSERT_TRUE(Start(kD3D32));
  sOwnedRecord dst, src;
  Make(dst, 2, 1);
  Make(src, 2, 1, 0, 1);
  Put(src, 2, {0x00000000, 0x80FF0000});
  for (const auto& c : {std::pair{1, 0xFF7F7F7Fu}, std::pair{2, 0xFFBFBFBFu}, std::pair{3, 0xFFDFDFDFu}}) {
    PixelsOf(dst).Fill(0x11);
    // Keyed: the first pixel is transparent black and is left.
    EXPECT_TRUE(TintBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 1, m_Palette, nullptr, 5, c.first));
    EXPECT_EQ(At(dst, 0, 0), 0x11u) << c.first;
    EXPECT_TRUE(TintBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 0, m_Palette, nullptr, 5, c.first));
    EXPECT_EQ(At(dst, 0, 0), c.second) << c.first;
  }
  DDReleaseSurface(&dst);
  DDReleaseSurface(&src);

  // 16 bits: t'' = 255 * 31 / 255 = 31; one step (0 + 31) >> 1 = 15, two steps trunc(31 * 191/255) = 23.
  ASSERT_TRUE(StartDirect3D(16, 0));
  Make(src, 1, 1, 0, 1);
  Put(src, 1, {0x8000});
  EXPECT_TRUE(TintBlt(&g_BackSurface, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, nullptr, 5, 1));
  // The full-screen back buffer takes green as c + t'' = 31 of six bits.
  EXPECT_EQ(At(g_BackSurface, 0, 0), 15u << 11 | 31 << 5 | 15);
  EXPECT_TRUE(TintBlt(&g_BackSurface, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, nullptr, 5, 2));
  EXPECT_EQ(At(g_BackSurface, 0, 0), 23u << 11 | 46 << 5 | 23);
  Make(dst, 1, 1);
  EXPECT_TRUE(TintBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, m_Palette, nullptr, 5, 1));
  EXPECT_EQ(At(dst, 0, 0), 0x8000u | 15 << 10 | 15 << 5 | 15);
}

// ---- half translucency

TEST_F(BlendTest, DirectDrawHalfBlendAtEveryDepth) {
  struct sCase {
    const sDepth* depth;
    std::uint32_t key;
    std::vector<std::uint32_t> source, under, expected;
  };
  const sCase cases[] = {
      // 8 bits: index 0 under takes the source; otherwise T[d][s]; a source of 0 is left when keyed.
      {&kDD8, 99, {7, 7, 0}, {0, 2, 2}, {7, 13, 2}},
      // Rounding through the 0..255 scale: 1 and 2 of 31 mean 1; 31 and 0 mean 15 (green 31 of 63).
      {&kDD16, 0xF81F, {2 << 11 | 2 << 5 | 2, 0, 0x1234}, {1 << 11 | 1 << 5 | 1, 0xFFFF, 0xF81F},
       {1 << 11 | 1 << 5 | 1, 15 << 11 | 31 << 5 | 15, 0x1234}},
      {&kDD32, 0x00FF00FF, {0x00102030, 0x00FF00FF, 0x00ABCDEF}, {0x77203041, 0x00FFFFFF, 0x00FF00FF},
       {0x77182838, 0x00FFFFFF, 0x00ABCDEF}},
  };
  for (const sCase& c : cases) {
    ASSERT_TRUE(Start(*c.depth));
    g_TransparentPixel = c.key;
    sOwnedRecord dst, src;
    Make(dst, 3, 1);
    Make(src, 3, 1);
    Put(src, 3, c.source);
    Put(dst, 3, c.under);
    EXPECT_TRUE(HalfBlendBlt(&dst, 0, 0, 3, 1, &src, 0, 0, 1, m_Table.data())) << c.depth->name;
    EXPECT_EQ(All(dst), c.expected) << c.depth->name;
  }
}

TEST_F(BlendTest, Direct3DHalfBlendQuadCoversHalfAndRoundsToNearest) {
  ASSERT_TRUE(Start(kD3D32));
  sOwnedRecord src;
  Make(src, 2, 1);
  Put(src, 2, {0xFFC86428, 0});
  PixelsOf(g_BackSurface).Fill(0x00204060);
  lpDevice->m_Stage0.alphaOp = D3DTOP_MODULATE;
  EXPECT_TRUE(HalfBlendBlt(&g_BackSurface, 0, 0, 2, 1, &src, 0, 0, 1, nullptr));
  // Alpha 255 * 128 / 255 = 128: (s * 128 + d * 127) / 255 rounded; the transparent texel adds nothing.
  EXPECT_EQ(Get(g_BackSurface, 0, 0, 2, 1), (std::vector<std::uint32_t>{0x745244, 0x204060}));
  EXPECT_EQ(lpDevice->m_Stage0.alphaOp, D3DTOP_SELECTARG1);
}

TEST_F(BlendTest, Direct3DSoftwareHalfBlend) {
  ASSERT_TRUE(StartDirect3D(16, 0));
  sOwnedRecord dst, src;
  Make(src, 2, 1, 0, 1);
  Put(src, 2, {0x8000 | 6 << 10 | 7 << 5 | 8, 0});
  // Onto the full-screen back buffer: the six-bit green meets the doubled five-bit one.
  Put(g_BackSurface, 2, {2 << 11 | 10 << 5 | 4, 0x1234});
  EXPECT_TRUE(HalfBlendBlt(&g_BackSurface, 0, 0, 2, 1, &src, 0, 0, 1, nullptr));
  EXPECT_EQ(Get(g_BackSurface, 0, 0, 2, 1), (std::vector<std::uint32_t>{4 << 11 | 12 << 5 | 6, 0x1234}));
  // Onto a texture: channels of the one format, the alpha bit set.
  Make(dst, 1, 1);
  Put(dst, 1, {2 << 10 | 3 << 5 | 4});
  EXPECT_TRUE(HalfBlendBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 1, nullptr));
  EXPECT_EQ(At(dst, 0, 0), 0x8000u | 4 << 10 | 5 << 5 | 6);
  DDReleaseSurface(&dst);
  DDReleaseSurface(&src);

  ASSERT_TRUE(Start(kD3D32));
  Make(dst, 1, 1);
  Make(src, 1, 1, 0, 1);
  Put(src, 1, {0x00102031});
  Put(dst, 1, {0x00304050});
  EXPECT_TRUE(HalfBlendBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0, nullptr));
  EXPECT_EQ(At(dst, 0, 0), 0xFF203040u);
}

// ---- colour change

TEST_F(BlendTest, ColourChangeMixesTheWholeSurfaceUnderDirect3DOnly) {
  ASSERT_TRUE(Start(kDD32));
  LogInit(1, "log.txt");
  PixelsOf(g_BackSurface).Fill(0x00808080);
  EXPECT_TRUE(DDChangeColor(&g_BackSurface, 0, 0, 640, 480, 0, 255, 0, 0));
  EXPECT_EQ(At(g_BackSurface, 5, 5), 0x00808080u);
  EXPECT_NE(ReadHostFile("log.txt").find("は未対応"), std::string::npos);
  LogInit(0, "log.txt");

  // The quad: colour with alpha 255 - nAlpha blended over the back buffer.
  ASSERT_TRUE(Start(kD3D32));
  PixelsOf(g_BackSurface).Fill(0x000000FF);
  EXPECT_TRUE(DDChangeColor(&g_BackSurface, 0, 0, 640, 480, 127, 255, 0, 0));
  EXPECT_EQ(At(g_BackSurface, 639, 479), 0x0080007Fu);

  // The virtual back buffer is mixed per pixel: (c * nAlpha + colour * (256 - nAlpha)) >> 8.
  SetVirBackBuffer(1);
  const struct {
    std::int32_t alpha;
    std::uint32_t expected;
  } cases[] = {{255, 0xFF807F7F}, {0, 0xFFFF0000}, {300, 0xFF807F7F}, {-5, 0xFFFF0000}};
  for (const auto& c : cases) {
    PixelsOf(g_VirBackSurface).Fill(0xFF808080);
    EXPECT_TRUE(DDChangeColor(&g_BackSurface, 0, 0, 640, 480, c.alpha, 255, 0, 0));
    EXPECT_EQ(At(g_VirBackSurface, 320, 240), c.expected) << c.alpha;
  }
  SetVirBackBuffer(0);

  ASSERT_TRUE(Start(kD3D16));
  SetVirBackBuffer(1);
  PixelsOf(g_VirBackSurface).Fill(16 << 10 | 16 << 5 | 16);
  // t = 255 * 31 / 255 = 31 red: (16 * 128 + 31 * 128) >> 8 = 23; others 16 * 128 >> 8 = 8.
  EXPECT_TRUE(DDChangeColor(&g_BackSurface, 0, 0, 640, 480, 128, 255, 0, 0));
  EXPECT_EQ(At(g_VirBackSurface, 0, 0), 0x8000u | 23 << 10 | 8 << 5 | 8);
  SetVirBackBuffer(0);
}

// ---- the blend table

TEST_F(BlendTest, BlendTableLoadsWholeFilesOnlyAndNotUnderDirect3D) {
  ASSERT_TRUE(Start(kDD8));
  BlendTable table;
  table.fill(7);
  EXPECT_FALSE(LoadBlendTable(table, "bmp\\hbt\\missing.dat"));
  WriteHostFile("short.dat", std::string(100, '\x05'));
  EXPECT_FALSE(LoadBlendTable(table, "short.dat"));
  EXPECT_EQ(table[0], 7) << "a damaged file leaves the table as it was";
  WriteHostFile("whole.dat", std::string(kBlendTableBytes, '\x09'));
  EXPECT_TRUE(LoadBlendTable(table, "whole.dat"));
  EXPECT_EQ(table[kBlendTableBytes - 1], 9);

  ASSERT_TRUE(Start(kD3D32));
  EXPECT_TRUE(LoadBlendTable(table, "bmp\\hbt\\missing.dat"));
  EXPECT_EQ(table[0], 9);
}

}  // namespace
