// The geometric effects: rotation at the right angles exact under every path and depth, keys and
// the source's edges; the lens's enlargement and rim; the circle's strips and their clipping.
#include <cmath>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "tests/platform/display/effect_fixture.h"

namespace {

class RotateTest : public EffectTest {};

const std::vector<std::string> kPicture = {"abc", "def"};

// The 3 x 2 picture turned about its pivot (1, 1), landing on (2, 2) of a 5 x 5 destination. The
// software rule turns about the pivot pixel's centre; the quad about the pivot's corner.
struct sTurnCase {
  std::int32_t degrees;
  std::vector<std::string> software, quad;
};
const sTurnCase kTurns[] = {
    {0, {".....", ".abc.", ".def.", ".....", "....."}, {".....", ".abc.", ".def.", ".....", "....."}},
    {90, {".....", "..da.", "..eb.", "..fc.", "....."}, {".....", ".da..", ".eb..", ".fc..", "....."}},
    {180, {".....", ".....", ".fed.", ".cba.", "....."}, {".....", "fed..", "cba..", ".....", "....."}},
    {270, {".....", ".cf..", ".be..", ".ad..", "....."}, {".cf..", ".be..", ".ad..", ".....", "....."}},
    {-90, {".....", ".cf..", ".be..", ".ad..", "....."}, {".cf..", ".be..", ".ad..", ".....", "....."}},
};

TEST_F(RotateTest, RightAnglesAreExactInSoftwareAtEveryDepth) {
  struct sPath {
    const sDepth* depth;
    int software;  // Direct3D: a system-memory texture takes part
  };
  for (const sPath& path : {sPath{&kDD8, 0}, sPath{&kDD16, 0}, sPath{&kDD32, 0}, sPath{&kD3D16, 1},
                            sPath{&kD3D32, 1}}) {
    ASSERT_TRUE(Start(*path.depth));
    for (const sTurnCase& c : kTurns) {
      sOwnedRecord dst, src;
      Make(dst, 5, 5);
      Make(src, 3, 2, 0, path.software);
      Paint(src, kPicture);
      EXPECT_TRUE(RotateBlt(&dst, 2, 2, 3, 2, 1, 1, c.degrees, &src, 0, 0, 0));
      EXPECT_EQ(Show(dst, 5, 5), c.software) << path.depth->name << " " << c.degrees;
    }
  }
}

TEST_F(RotateTest, RightAnglesAreExactThroughTheQuad) {
  ASSERT_TRUE(Start(kD3D32));
  for (const sTurnCase& c : kTurns) {
    sOwnedRecord dst, src;
    Make(dst, 5, 5);
    Make(src, 3, 2);
    Paint(src, kPicture);
    EXPECT_TRUE(RotateBlt(&dst, 2, 2, 3, 2, 1, 1, c.degrees, &src, 0, 0, 0));
    EXPECT_EQ(Show(dst, 5, 5), c.quad) << c.degrees;
  }
  // A null record draws nothing and is not a failure.
  EXPECT_TRUE(RotateBlt(nullptr, 0, 0, 1, 1, 0, 0, 0, &g_BackSurface, 0, 0, 0));
}

TEST_F(RotateTest, KeyedRotationLeavesTheDestinationAtKeyPixelsOnly) {
  ASSERT_TRUE(Start(kDD32));
  g_TransparentPixel = 'b';
  sOwnedRecord dst, src;
  Make(dst, 5, 4);
  Make(src, 3, 2);
  Paint(src, kPicture);
  for (int key : {0, 1}) {
    Paint(dst, {"zzzzz", "zzzzz", "zzzzz", "zzzzz"});
    EXPECT_TRUE(RotateBlt(&dst, 2, 2, 3, 2, 1, 1, 0, &src, 0, 0, key));
    // The scan area is two pixels wider than the picture; those pixels map outside it.
    EXPECT_EQ(Show(dst, 5, 4), (std::vector<std::string>{"zzzzz", key ? "zazcz" : "zabcz", "zdefz", "zzzzz"}))
        << key;
  }
}

TEST_F(RotateTest, RotationReadsOnlyTheSourceSurface) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 6, 4);
  Make(src, 3, 2);
  Paint(src, kPicture);
  // A rectangle reaching past the source on both sides: only pixels it has are drawn.
  EXPECT_TRUE(RotateBlt(&dst, 2, 1, 6, 4, 0, 0, 0, &src, -1, -1, 0));
  EXPECT_EQ(Show(dst, 6, 4), (std::vector<std::string>{"......", "......", "...abc", "...def"}));
}

TEST_F(RotateTest, SoftwareRotationIntoTheFullScreenBackBufferIsRepacked) {
  ASSERT_TRUE(StartDirect3D(16, 0));
  sOwnedRecord src;
  Make(src, 1, 1, 0, 1);
  Put(src, 1, {0x8000 | 3 << 10 | 5 << 5 | 7});
  EXPECT_TRUE(RotateBlt(&g_BackSurface, 10, 10, 1, 1, 0, 0, 90, &src, 0, 0, 0));
  EXPECT_EQ(At(g_BackSurface, 10, 10), 3u << 11 | 10 << 5 | 7);
}

// ---- lens

TEST_F(RotateTest, LensRefusesADepthItsRadiusCannotHold) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 4, 4);
  Make(src, 4, 4);
  PixelsOf(src).Fill(7);
  EXPECT_FALSE(LensBlt(&dst, 2, 2, 10, 100, &src, 2, 2, 0)) << "sqrt(100 + 10000) is 100";
  EXPECT_FALSE(LensBlt(&dst, 2, 2, -1, 3, &src, 2, 2, 0));
  EXPECT_FALSE(LensBlt(&dst, 2, 2, 3, -1, &src, 2, 2, 0));
  EXPECT_EQ(All(dst), std::vector<std::uint32_t>(16, 0));
}

TEST_F(RotateTest, LensSamplesTowardTheCentreAndLeavesTransparentPixels) {
  ASSERT_TRUE(Start(kDD8));
  g_TransparentPixel = 99;
  sOwnedRecord dst, src;
  Make(dst, 9, 1);
  Make(src, 9, 1);
  Put(src, 9, {10, 11, 12, 13, 14, 15, 99, 17, 18});
  // Radius 3, depth 4: e = 5. Offsets dx * 4 / sqrt(25 - dx^2) + 0.5, truncated toward zero:
  // -3 -> -2, -2 -> -1, -1 -> 0, 0 -> 0, 1 -> 1, 2 -> 2, 3 -> 3 (the rim).
  EXPECT_TRUE(LensBlt(&dst, 4, 0, 3, 4, &src, 4, 0, 0));
  // Column 6 would take the transparent pixel and is left, whatever the flag.
  EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{0, 12, 13, 14, 14, 15, 0, 17, 0}));
}

TEST_F(RotateTest, LensSamplesOnlyWhereTheSourceHasPixels) {
  ASSERT_TRUE(Start(kDD32));
  sOwnedRecord dst, src;
  Make(dst, 8, 8);
  Make(src, 3, 3);
  PixelsOf(src).Fill(0x00445566);
  // The source is smaller than the screen: samples beyond it are not drawn.
  EXPECT_TRUE(LensBlt(&dst, 4, 4, 3, 1, &src, 1, 1, 1));
  EXPECT_EQ(At(dst, 4, 4), 0x00445566u);
  EXPECT_EQ(At(dst, 7, 4), 0u);
  EXPECT_EQ(At(dst, 1, 4), 0u);
}

// Every pixel of lenses whole, cut by the destination's edges or centred outside it, against the
// lens's rule written pixel by pixel: inside the disc, the sample at the offset scaled by
// depth / sqrt(e^2 - d^2), rounded half up toward the centre; no sample beyond the source, none of
// the key.
TEST_F(RotateTest, LensDrawsEveryPixelByItsRule) {
  ASSERT_TRUE(Start(kDD32));
  g_TransparentPixel = 0x0000AA;
  constexpr int kW = 40, kH = 30;
  sOwnedRecord dst, src;
  Make(dst, kW, kH);
  Make(src, kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      PixelsOf(src).SetPixel(x, y,
                             (x * 7 + y) % 23 == 0 ? 0x0000AAu : 0x010000u | static_cast<std::uint32_t>(y << 8 | x));
  struct sLensCase {
    int cx, cy, radius, depth, scx, scy;
  };
  const sLensCase cases[] = {{20, 15, 12, 9, 20, 15}, {2, 28, 20, 5, 2, 28},  {-5, 10, 15, 3, -5, 10},
                             {39, 0, 50, 40, 30, 5},  {20, 15, 3, 0, 20, 15}, {10, 10, 8, 5, 12, 9},
                             {20, 15, 20000, 134217728, 20, 15}};
  for (const sLensCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "centre " << c.cx << ", " << c.cy << " radius " << c.radius);
    PixelsOf(dst).Fill(0);
    ASSERT_TRUE(LensBlt(&dst, c.cx, c.cy, c.radius, c.depth, &src, c.scx, c.scy, 0));
    const std::int64_t r = c.radius, d = c.depth;
    const auto e = static_cast<std::int64_t>(std::sqrt(static_cast<double>(r * r + d * d)));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const std::int64_t dx = x - c.cx, dy = y - c.cy;
        std::uint32_t expected = 0;
        if (dx * dx + dy * dy <= r * r) {
          const double q = std::sqrt(static_cast<double>(e * e - (dx * dx + dy * dy)));
          std::int64_t u = dx, v = dy;
          if (q != 0) {
            u = static_cast<std::int64_t>(static_cast<double>(dx * d) / q + 0.5);
            v = static_cast<std::int64_t>(static_cast<double>(dy * d) / q + 0.5);
          }
          const std::int64_t px = c.scx + u, py = c.scy + v;
          if (px >= 0 && py >= 0 && px < kW && py < kH) {
            const std::uint32_t sample = At(src, static_cast<int>(px), static_cast<int>(py));
            if (sample != 0x0000AAu) expected = sample;
          }
        }
        ASSERT_EQ(At(dst, x, y), expected) << x << ", " << y;
      }
  }
}

// ---- circle

TEST_F(RotateTest, CircleStripsFollowTheDisc) {
  for (const sDepth& depth : {kDD8, kD3D32}) {
    ASSERT_TRUE(Start(depth));
    sOwnedRecord dst, src;
    Make(dst, 9, 9);
    Make(src, 9, 9);
    Paint(src, std::vector<std::string>(9, "xxxxxxxxx"));
    // Radius 3, strips of one row: half widths 2, 2, 2 (3 becomes 2), 2, 2, 0 from the bottom.
    CircleBlt(&dst, 4, 4, 10, 10, 3, 1, &src, 4, 4, 0);
    const std::vector<std::string> radius3 = {".........", ".........", "..xxxx...", "..xxxx...", "..xxxx...",
                                              "..xxxx...", "..xxxx...", ".........", "........."};
    EXPECT_EQ(Show(dst, 9, 9), radius3) << depth.name;
    // A strip height below 1 is taken as 1.
    Paint(dst, std::vector<std::string>(9, "........."));
    CircleBlt(&dst, 4, 4, 10, 10, 3, 0, &src, 4, 4, 0);
    EXPECT_EQ(Show(dst, 9, 9), radius3) << depth.name;
    // Radius 4: half widths 2, 3, 3, 3 (4 becomes 3), 3, 3, 2, 0.
    Paint(dst, std::vector<std::string>(9, "........."));
    CircleBlt(&dst, 4, 4, 10, 10, 4, 1, &src, 4, 4, 0);
    EXPECT_EQ(Show(dst, 9, 9), (std::vector<std::string>{".........", "..xxxx...", ".xxxxxx..", ".xxxxxx..",
                                                         ".xxxxxx..", ".xxxxxx..", ".xxxxxx..", "..xxxx...",
                                                         "........."}))
        << depth.name;
  }
}

TEST_F(RotateTest, CircleStripsAreMovedInsideHalfHeightAndCutToHalfWidth) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 12, 12);
  Make(src, 12, 12);
  Paint(src, std::vector<std::string>(12, "abcdefghijkl"));
  // Radius 5, strips of 2, halfH 2: the strip at dy 1 is moved up to 0 (rows 0-1, half width at
  // row 1: 4); the next at -2 (half width at -1: 4); the one after reaches -halfH and stops.
  CircleBlt(&dst, 6, 6, 3, 2, 5, 2, &src, 6, 6, 0);
  // halfW 3 cuts the source columns to 3 .. 8 (exclusive): strips start at 3, run to 9 - 1.
  EXPECT_EQ(Show(dst, 12, 12), (std::vector<std::string>{
                                   "............", "............", "............", "............",
                                   "...defghi...", "...defghi...", "...defghi...", "...defghi...",
                                   "............", "............", "............", "............"}));
}

TEST_F(RotateTest, CircleNeverCopiesRowsTheSourceDoesNotHave) {
  // Under Direct3D a copy from below the texture would wrap round to its top rows.
  ASSERT_TRUE(Start(kD3D32));
  sOwnedRecord dst, src;
  Make(dst, 6, 6);
  Make(src, 6, 4);
  Paint(src, {"aaaaaa", "bbbbbb", "cccccc", "dddddd"});
  CircleBlt(&dst, 3, 3, 10, 10, 3, 1, &src, 3, 3, 0);
  EXPECT_EQ(Show(dst, 6, 6), (std::vector<std::string>{"......", ".bbbb.", ".cccc.", ".dddd.", "......", "......"}));
}

TEST_F(RotateTest, HugeCircleValuesStayWithinTheSurfaces) {
  ASSERT_TRUE(Start(kDD8));
  sOwnedRecord dst, src;
  Make(dst, 4, 4);
  Make(src, 4, 4);
  Paint(src, std::vector<std::string>(4, "pqrs"));
  // Every row inside both surfaces is a plain strip of the whole width: drawn at once, however
  // many strips of the disc lie outside.
  CircleBlt(&dst, 2, 2, 1 << 30, 1 << 30, 1 << 30, 1, &src, 2, 2, 0);
  EXPECT_EQ(Show(dst, 4, 4), std::vector<std::string>(4, "pqrs"));
  Paint(dst, std::vector<std::string>(4, "...."));
  CircleBlt(&dst, 2, 2, 2000000000, 2000000000, 2000000000, 3, &src, 2, 2, 0);
  EXPECT_EQ(Show(dst, 4, 4), std::vector<std::string>(4, "pqrs"));
}

}  // namespace
