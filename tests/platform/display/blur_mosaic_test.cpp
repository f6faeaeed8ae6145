// The box blur and the block mosaic at every depth of both back-ends: exact pixels on tiny pictures,
// keys, clipping at both surfaces' edges, and the blur's running sums against the rule sample by
// sample.
#include <optional>
#include <random>

#include "platform/display/display.h"
#include "platform/display/display_faults.h"
#include "platform/display/palette.h"
#include "tests/platform/display/effect_fixture.h"

namespace {

class BlurMosaicTest : public EffectTest {};

struct sRgb {
  std::uint32_t r, g, b;
};

// A 3 x 2 picture and its radius-1 blur: each pixel the mean of itself and its left, upper and
// upper-left neighbours that lie in the picture.
const sRgb kPicture[6] = {{4, 8, 12}, {8, 0, 4}, {20, 10, 0}, {0, 4, 8}, {12, 12, 12}, {2, 3, 1}};
const sRgb kBlurred[6] = {{4, 8, 12}, {6, 4, 8}, {14, 5, 2}, {2, 6, 10}, {6, 6, 9}, {10, 6, 4}};

TEST_F(BlurMosaicTest, BlurOfRadiusOneAveragesTheWindowUpAndLeftAtEveryDepth) {
  constexpr std::uint32_t kBackground = 0x0841;
  for (const sDepth& depth : {kDD16, kDD32, kD3D16, kD3D32}) {
    ASSERT_TRUE(Start(depth));
    sOwnedRecord dst, src;
    Make(dst, 5, 3);
    Make(src, 3, 2);
    std::vector<std::uint32_t> picture;
    for (const sRgb& p : kPicture) picture.push_back(Colour(depth, p.r, p.g, p.b, 0x12));
    Put(src, 3, picture);
    // The fourth byte of a 32-bit destination is kept.
    PixelsOf(dst).Fill(depth.bpp == 32 ? 0x5A000000 | kBackground : kBackground);
    EXPECT_TRUE(BlurBlt(&dst, 1, 1, 3, 2, 1, 1, &src, 0, 0, 0)) << depth.name;
    std::vector<std::uint32_t> expected;
    for (const sRgb& p : kBlurred) expected.push_back(Colour(depth, p.r, p.g, p.b, 0x5A));
    EXPECT_EQ(Get(dst, 1, 1, 3, 2), expected) << depth.name;
    EXPECT_EQ(At(dst, 0, 0), depth.bpp == 32 ? 0x5A000000 | kBackground : kBackground) << depth.name;
  }
}

TEST_F(BlurMosaicTest, BlurIntoTheFullScreenBackBufferDoublesGreen) {
  ASSERT_TRUE(StartDirect3D(16, 0));
  sOwnedRecord src;
  Make(src, 3, 2);
  std::vector<std::uint32_t> picture;
  for (const sRgb& p : kPicture) picture.push_back(Colour(kD3D16, p.r, p.g, p.b));
  Put(src, 3, picture);
  EXPECT_TRUE(BlurBlt(&g_BackSurface, 0, 0, 3, 2, 1, 1, &src, 0, 0, 0));
  std::vector<std::uint32_t> expected;
  for (const sRgb& p : kBlurred) expected.push_back(p.r << 11 | (2 * p.g) << 5 | p.b);
  EXPECT_EQ(Get(g_BackSurface, 0, 0, 3, 2), expected);
}

TEST_F(BlurMosaicTest, BlurDrawsNothingForRadiusZeroOrAtEightBits) {
  ASSERT_TRUE(Start(kDD32));
  sOwnedRecord dst, src;
  Make(dst, 3, 2);
  Make(src, 3, 2);
  PixelsOf(src).Fill(0x00808080);
  EXPECT_TRUE(BlurBlt(&dst, 0, 0, 3, 2, 0, 4, &src, 0, 0, 0));
  EXPECT_TRUE(BlurBlt(&dst, 0, 0, 3, 2, 4, 0, &src, 0, 0, 0));
  EXPECT_TRUE(BlurBlt(&dst, 0, 0, 3, 2, -1, 2, &src, 0, 0, 0));
  EXPECT_EQ(All(dst), std::vector<std::uint32_t>(6, 0));

  ASSERT_TRUE(Start(kDD8));
  LogInit(1, "log.txt");
  Make(dst, 3, 2);
  Make(src, 3, 2);
  PixelsOf(src).Fill(9);
  EXPECT_TRUE(BlurBlt(&dst, 0, 0, 3, 2, 1, 1, &src, 0, 0, 0));
  EXPECT_EQ(All(dst), std::vector<std::uint32_t>(6, 0));
  EXPECT_NE(ReadHostFile("log.txt").find("8ビットぼかしは不可能！"), std::string::npos);
  LogInit(0, "log.txt");
}

TEST_F(BlurMosaicTest, KeyedBlurLeavesTransparentPixelsAndAveragesOnlyOpaqueOnes) {
  for (const sDepth& depth : {kDD32, kD3D32}) {
    ASSERT_TRUE(Start(depth));
    const std::uint32_t key = depth.d3d ? 0 : 0x00FF00FF;
    g_TransparentPixel = key;
    sOwnedRecord dst, src;
    Make(dst, 3, 1);
    Make(src, 3, 1);
    Put(src, 3, {Colour(depth, 10, 20, 30, depth.d3d ? 0xFF : 0), key, Colour(depth, 30, 40, 50, depth.d3d ? 0xFF : 0)});
    PixelsOf(dst).Fill(0x77);
    // Radius 2: each pixel's window holds up to two columns left of it and one right.
    EXPECT_TRUE(BlurBlt(&dst, 0, 0, 3, 1, 2, 1, &src, 0, 0, 1)) << depth.name;
    // Written pixels keep the destination's fourth byte (0 here).
    EXPECT_EQ(Get(dst, 0, 0, 3, 1),
              (std::vector<std::uint32_t>{Colour(depth, 10, 20, 30), 0x77, Colour(depth, 20, 30, 40)}))
        << depth.name;
  }
}

// The blur as its rule states it: per pixel, the window's samples summed one by one.
std::optional<sRgb> BlurRule(const std::vector<std::uint32_t>& px, int w, int h, int i, int j, int rx, int ry,
                             bool keyed, std::uint32_t key) {
  if (keyed && px[static_cast<std::size_t>(j * w + i)] == key) return std::nullopt;
  std::uint32_t r = 0, g = 0, b = 0, n = 0;
  for (int dy = -ry; dy < ry; ++dy) {
    if (j + dy < 0) continue;
    if (j + dy >= h) break;
    for (int dx = -rx; dx < rx; ++dx) {
      if (i + dx < 0) continue;
      if (i + dx >= w) break;
      const std::uint32_t p = px[static_cast<std::size_t>((j + dy) * w + i + dx)];
      if (keyed && p == key) continue;
      r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF, ++n;
    }
  }
  if (n == 0) return std::nullopt;
  return sRgb{r / n, g / n, b / n};
}

TEST_F(BlurMosaicTest, BlurRunningSumsGiveTheRulesMeansForAnyRadii) {
  ASSERT_TRUE(Start(kDD32));
  constexpr int kW = 23, kH = 17;
  constexpr std::uint32_t kKey = 0x00010203;
  g_TransparentPixel = kKey;
  std::mt19937 random(5);
  std::vector<std::uint32_t> picture(kW * kH);
  for (std::uint32_t& p : picture) p = random() % 7 == 0 ? kKey : random() & 0x00FFFFFF;
  sOwnedRecord dst, src;
  Make(dst, kW, kH);
  Make(src, kW, kH);
  Put(src, kW, picture);
  const int radii[][2] = {{1, 1}, {2, 2}, {3, 1}, {1, 5}, {7, 4}, {40, 40}};
  for (const auto& radius : radii) {
    for (int keyed : {0, 1}) {
      PixelsOf(dst).Fill(0xAB000000);
      ASSERT_TRUE(BlurBlt(&dst, 0, 0, kW, kH, radius[0], radius[1], &src, 0, 0, keyed));
      for (int j = 0; j < kH; ++j) {
        for (int i = 0; i < kW; ++i) {
          const std::optional<sRgb> m = BlurRule(picture, kW, kH, i, j, radius[0], radius[1], keyed == 1, kKey);
          const std::uint32_t expected = m ? 0xAB000000 | m->r << 16 | m->g << 8 | m->b : 0xAB000000;
          ASSERT_EQ(At(dst, i, j), expected) << "radius " << radius[0] << "x" << radius[1] << " keyed " << keyed
                                             << " at " << i << "," << j;
        }
      }
    }
  }
  // A rectangle inside the picture: the window is cut to the rectangle, not to the surface.
  constexpr int kSx = 5, kSy = 4, kRw = 10, kRh = 8;
  std::vector<std::uint32_t> part;
  for (int j = 0; j < kRh; ++j)
    for (int i = 0; i < kRw; ++i) part.push_back(picture[static_cast<std::size_t>((kSy + j) * kW + kSx + i)]);
  PixelsOf(dst).Fill(0);
  ASSERT_TRUE(BlurBlt(&dst, 1, 2, kRw, kRh, 3, 2, &src, kSx, kSy, 1));
  for (int j = 0; j < kRh; ++j) {
    for (int i = 0; i < kRw; ++i) {
      const std::optional<sRgb> m = BlurRule(part, kRw, kRh, i, j, 3, 2, true, kKey);
      ASSERT_EQ(At(dst, 1 + i, 2 + j), m ? m->r << 16 | m->g << 8 | m->b : 0u) << i << "," << j;
    }
  }
}

TEST_F(BlurMosaicTest, RectanglesReachingPastEitherSurfaceAreCut) {
  // The source rectangle reaches past the source on every side and the destination past the
  // destination: only pixels inside both are written, and the window never reads beyond the source.
  for (const sDepth& depth : {kDD32, kD3D32}) {
    ASSERT_TRUE(Start(depth));
    sOwnedRecord dst, src;
    Make(dst, 3, 3);
    Make(src, 2, 2);
    PixelsOf(src).Fill(Colour(depth, 40, 40, 40, 0xFF));
    PixelsOf(dst).Fill(0x11);
    EXPECT_TRUE(BlurBlt(&dst, 0, 0, 4, 4, 3, 3, &src, -1, -1, 0)) << depth.name;
    // Source (sx + i, sy + j) exists for i, j in 1..2; destination (i, j) for i, j in 0..2.
    const std::uint32_t grey = Colour(depth, 40, 40, 40);
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{0x11, 0x11, 0x11, 0x11, grey, grey, 0x11, grey, grey}))
        << depth.name;
    // The mosaic's one block with pixels in both surfaces: offsets 2 of a rectangle at (-2, -2).
    EXPECT_TRUE(MosaicBlt(&dst, -2, -2, 9, 9, 2, &src, -1, -1, 0)) << depth.name;
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{grey, 0x11, 0x11, 0x11, grey, grey, 0x11, grey, grey}))
        << depth.name;
  }
}

TEST_F(BlurMosaicTest, EffectsOfALostSurfaceFailAndDrawNothing) {
  ASSERT_TRUE(Start(kDD32));
  sOwnedRecord dst, src;
  Make(dst, 2, 2);
  Make(src, 2, 2);
  InjectDisplayLoss();
  EXPECT_FALSE(BlurBlt(&dst, 0, 0, 2, 2, 1, 1, &src, 0, 0, 0));
  EXPECT_FALSE(MosaicBlt(&dst, 0, 0, 2, 2, 1, &src, 0, 0, 0));
  DDReleaseSurface(&dst);
  DDReleaseSurface(&src);

  ASSERT_TRUE(Start(kD3D32));
  Make(dst, 2, 2);
  Make(src, 2, 2);
  InjectDisplayLoss(1);
  EXPECT_FALSE(BlurBlt(&dst, 0, 0, 2, 2, 1, 1, &src, 0, 0, 0));
  EXPECT_FALSE(MosaicBlt(&dst, 0, 0, 2, 2, 1, &src, 0, 0, 0));
}

// ---- mosaic

TEST_F(BlurMosaicTest, MosaicBlocksStartAtTheRectanglesCornerAndAreCutAtItsEdge) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 10, 2);
  Make(src, 10, 2);
  Put(src, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
  EXPECT_TRUE(MosaicBlt(&dst, 0, 0, 10, 2, 4, &src, 0, 0, 0));
  EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{1, 1, 1, 1, 5, 5, 5, 5, 9, 9, 1, 1, 1, 1, 5, 5, 5, 5, 9, 9}));
  // A block larger than the rectangle paints it all with the top-left pixel.
  EXPECT_TRUE(MosaicBlt(&dst, 0, 0, 10, 2, 50, &src, 2, 0, 0));
  EXPECT_EQ(Get(dst, 0, 0, 8, 2), std::vector<std::uint32_t>(16, 3));
  // Keyed: a block whose top-left pixel is the key keeps the destination.
  g_TransparentPixel = 3;
  PixelsOf(dst).Fill(0);
  EXPECT_TRUE(MosaicBlt(&dst, 0, 0, 4, 2, 2, &src, 2, 0, 1));
  EXPECT_EQ(Get(dst, 0, 0, 4, 2), (std::vector<std::uint32_t>{0, 0, 5, 5, 0, 0, 5, 5}));
}

TEST_F(BlurMosaicTest, MosaicBlockSizeBelowOneIsTakenAsOne) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 3, 1);
  Make(src, 3, 1);
  Put(src, 3, {7, 8, 9});
  for (int size : {0, -5}) {
    PixelsOf(dst).Fill(0);
    EXPECT_TRUE(MosaicBlt(&dst, 0, 0, 3, 1, size, &src, 0, 0, 0)) << size;
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{7, 8, 9})) << size;
  }
}

// One 2 x 2 block per case: the source block, the colour it gets, and with the key.
struct sMosaicCase {
  const sDepth* depth;
  int windowed;
  std::vector<std::uint32_t> block;  // four source pixels
  std::uint32_t key;
  std::uint32_t plain;  // the block's colour without the key
  std::optional<std::uint32_t> keyed;
};

TEST_F(BlurMosaicTest, MosaicBlockColourAtEachDepth) {
  const sMosaicCase cases[] = {
      // Means through the 0..255 scale: red 1 of 31 comes back as 0; green (8 + 9 + 10 + 11) / 4 of 63.
      // Keyed: the second pixel is the key, blue (255 + 0 + 0) / 3 = 85 comes back as 10.
      {&kDD16, 1, {1 << 11 | 8 << 5 | 31, 1 << 11 | 9 << 5 | 31, 1 << 11 | 10 << 5, 1 << 11 | 11 << 5},
       1 << 11 | 9 << 5 | 31, 9 << 5 | 15, 9 << 5 | 10},
      // Bytes averaged, the destination's fourth byte kept; the keyed mean leaves the key out.
      {&kDD32, 1, {0x00102030, 0x00306050, 0x00FF00FF, 0x00000000}, 0x00FF00FF, 0x3F000000 | 0x004F205F,
       0x3F000000 | 0x00152A2A},
      // Direct3D 16: the top-left pixel as it is.
      {&kD3D16, 1, {0x8421, 0x8000, 0x8000, 0x8000}, 0, 0x8421, 0x8421},
      // Direct3D 32: pixels equal to transparent black do not count; a black mean draws nothing.
      {&kD3D32, 1, {0xFF102030, 0xFF000000, 0, 0}, 0, 0x3F000000 | 0x0004080C, 0x3F000000 | 0x00081018},
      {&kD3D32, 1, {0xFF000000, 0xFF000000, 0, 0}, 0, 0x3F000000, std::nullopt},
  };
  for (const sMosaicCase& c : cases) {
    ASSERT_TRUE(Start(*c.depth, c.windowed));
    g_TransparentPixel = c.key;
    sOwnedRecord dst, src;
    Make(dst, 2, 2);
    Make(src, 2, 2);
    Put(src, 2, c.block);
    for (int keyed : {0, 1}) {
      const std::uint32_t background = c.depth->bpp == 32 ? 0x3F000000 : 0x0001;
      PixelsOf(dst).Fill(background);
      EXPECT_TRUE(MosaicBlt(&dst, 0, 0, 2, 2, 2, &src, 0, 0, keyed));
      const std::optional<std::uint32_t> colour = keyed ? c.keyed : std::optional<std::uint32_t>(c.plain);
      EXPECT_EQ(All(dst), std::vector<std::uint32_t>(4, colour.value_or(background)))
          << c.depth->name << " keyed " << keyed;
    }
  }
}

TEST_F(BlurMosaicTest, MosaicIntoTheFullScreenBackBufferConvertsTheTopLeftPixel) {
  ASSERT_TRUE(StartDirect3D(16, 0));
  sOwnedRecord src;
  Make(src, 2, 2);
  Put(src, 2, {0x8000 | 3 << 10 | 5 << 5 | 7, 0, 0, 0});
  EXPECT_TRUE(MosaicBlt(&g_BackSurface, 0, 0, 2, 2, 2, &src, 0, 0, 0));
  EXPECT_EQ(Get(g_BackSurface, 0, 0, 2, 2), std::vector<std::uint32_t>(4, 3 << 11 | 10 << 5 | 7));
}

}  // namespace
