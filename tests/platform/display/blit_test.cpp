// The copies, DDBlt and DDStretchBlt, under both back-ends: clipping, keys, scaling and mirrors.
#include "tests/platform/display/draw_fixture.h"

namespace {

class BlitTest : public DrawTest {};

const std::vector<std::string> kSource = {"abcdef", "ghijkl", "mnopqr"};

// ---- clipping

struct sClipCase {
  const char* name;
  std::int32_t x, y, w, h, sx, sy;
  std::vector<std::string> expected;  // the 4 x 4 destination afterwards
};

// Copies cut by the destination's edges, the same under both back-ends.
const sClipCase kClipCases[] = {
    {"inside", 1, 1, 2, 2, 1, 0, {"....", ".bc.", ".hi.", "...."}},
    {"left edge", -1, 0, 3, 1, 0, 0, {"bc..", "....", "....", "...."}},
    {"right edge", 3, 0, 3, 1, 0, 0, {"...a", "....", "....", "...."}},
    {"both side edges", -1, 0, 6, 1, 0, 0, {"bcde", "....", "....", "...."}},
    {"top edge", 0, -1, 2, 3, 0, 0, {"gh..", "mn..", "....", "...."}},
    {"bottom edge", 0, 3, 1, 3, 0, 0, {"....", "....", "....", "a..."}},
    {"all four edges", -2, -1, 6, 3, 0, 0, {"ijkl", "opqr", "....", "...."}},
    // A negative width covers the pixels before x, unmirrored.
    {"negative width", 3, 0, -2, 1, 2, 0, {".ab.", "....", "....", "...."}},
    {"outside", 4, 0, 3, 3, 0, 0, {"....", "....", "....", "...."}},
};

// Copies reaching past the source's edges: DirectDraw cuts them without moving the picture; the
// Direct3D quad wraps round the texture (its addressing mode), here as wide as the picture.
struct sSourceEdgeCase {
  const char* name;
  std::int32_t x, y, w, h, sx, sy;
  std::vector<std::string> directDraw;
  std::vector<std::string> direct3D;
};

const sSourceEdgeCase kSourceEdgeCases[] = {
    {"source left edge", 1, 0, 3, 1, -1, 0, {"..ab", "....", "....", "...."}, {".fab", "....", "....", "...."}},
    {"source right edge", 0, 0, 4, 1, 4, 0, {"ef..", "....", "....", "...."}, {"efab", "....", "....", "...."}},
    {"source bottom edge", 0, 0, 1, 4, 0, 1, {"g...", "m...", "....", "...."}, {"g...", "m...", "a...", "g..."}},
};

TEST_F(BlitTest, CopiesAreCutAtEveryEdgeUnderBothBackEnds) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    ASSERT_TRUE(Start(backEnd, 32));
    auto copy = [&](const char* name, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
                    std::int32_t sy, const std::vector<std::string>& expected) {
      DDSURFACEDATA dst, src;
      Make(dst, 4, 4);
      Make(src, 6, 3);
      Paint(dst, {"....", "....", "....", "...."});
      Paint(src, kSource);
      EXPECT_EQ(DDBlt(&dst, x, y, w, h, &src, sx, sy, 0), DD_OK);
      EXPECT_EQ(Show(dst, 4, 4), expected) << name << " under " << BackEndName(static_cast<int>(backEnd));
      DDReleaseSurface(&dst);
      DDReleaseSurface(&src);
    };
    for (const sClipCase& c : kClipCases) copy(c.name, c.x, c.y, c.w, c.h, c.sx, c.sy, c.expected);
    for (const sSourceEdgeCase& c : kSourceEdgeCases)
      copy(c.name, c.x, c.y, c.w, c.h, c.sx, c.sy, backEnd == BackEnd::Direct3D ? c.direct3D : c.directDraw);
  }
}

TEST_F(BlitTest, DirectDrawCopyStartingLeftOfTheScreenKeepsItsPlace) {
  // x = -10, w = 50: the copy starts 10 pixels into the source and lands at x = 0, 40 wide.
  ASSERT_TRUE(StartDirectDraw(32));
  DDSURFACEDATA src;
  Make(src, 700, 1);
  for (int x = 0; x < 700; ++x) PixelsOf(src).SetPixel(x, 0, 1000 + x);
  PixelsOf(g_BackSurface).Fill(7);
  EXPECT_EQ(DDBlt(&g_BackSurface, -10, 0, 50, 1, &src, 0, 0, 0), DD_OK);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 1010u);
  EXPECT_EQ(At(g_BackSurface, 39, 0), 1049u);
  EXPECT_EQ(At(g_BackSurface, 40, 0), 7u);
  // A copy wider than the screen on both sides is cut on both, not refused.
  EXPECT_EQ(DDBlt(&g_BackSurface, -10, 1, 700, 1, &src, 0, 0, 0), DD_OK);
  EXPECT_EQ(At(g_BackSurface, 0, 1), 1010u);
  EXPECT_EQ(At(g_BackSurface, 639, 1), 1649u);
  DDReleaseSurface(&src);
}

TEST_F(BlitTest, CopyWithinOneSurfaceReadsThePixelsAsTheyWere) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    ASSERT_TRUE(Start(backEnd, backEnd == BackEnd::DirectDraw ? 8 : 32));
    DDSURFACEDATA s;
    Make(s, 6, 1);
    Paint(s, {"abcd.."});
    DDBlt(&s, 2, 0, 4, 1, &s, 0, 0, 0);
    EXPECT_EQ(Show(s, 6, 1), std::vector<std::string>{"ababcd"}) << BackEndName(static_cast<int>(backEnd));
    DDReleaseSurface(&s);
  }
}

TEST_F(BlitTest, DirectDrawCopyOfALostSurfaceFails) {
  ASSERT_TRUE(StartDirectDraw(32));
  DDSURFACEDATA src;
  Make(src, 2, 2);
  InjectDisplayLoss();
  EXPECT_EQ(DDBlt(&g_BackSurface, 0, 0, 2, 2, &src, 0, 0, 0), DDERR_SURFACELOST);
  DDReleaseSurface(&src);
}

// ---- keys

TEST_F(BlitTest, DirectDrawKeyLeavesOutTheSourceKeyForAnyKeyFlag) {
  struct sCase {
    int bpp;
    std::uint32_t key;
  };
  for (const sCase& c : {sCase{8, 'k'}, sCase{16, 'k'}, sCase{32, 'k'}}) {
    ASSERT_TRUE(StartDirectDraw(c.bpp));
    g_TransparentPixel = c.key;
    DDSURFACEDATA dst, src;
    Make(dst, 4, 1);
    Make(src, 4, 1, 1);
    for (std::int32_t key : {0, 1, 2}) {
      Paint(dst, {"zzzz"});
      Paint(src, {"kakb"});
      DDBlt(&dst, 0, 0, 4, 1, &src, 0, 0, key);
      EXPECT_EQ(Show(dst, 4, 1)[0], key ? "zazb" : "kakb") << c.bpp << " bits, key " << key;
      // The scaled copy keys the same way.
      Paint(dst, {"zzzz"});
      DDStretchBlt(&dst, 0, 0, 4, 1, &src, 0, 0, 2, 1, key);
      EXPECT_EQ(Show(dst, 4, 1)[0], key ? "zzaa" : "kkaa") << c.bpp << " bits, key " << key;
    }
    DDReleaseSurface(&dst);
    DDReleaseSurface(&src);
  }
}

TEST_F(BlitTest, Direct3DKeyFlagDecidesWhetherTransparencyIsClearedFirst) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSetTransmit(0, 255, 0);
  DDSURFACEDATA src, texture;
  Make(src, 4, 1, 1);
  Make(texture, 4, 1);
  Paint(src, {"a.b."});  // '.' is a transparent texel: the key colour of a file texture

  // Keyed: transparent texels leave the destination alone.
  Paint(texture, {"zzzz"});
  DDBlt(&texture, 0, 0, 4, 1, &src, 0, 0, 1);
  EXPECT_EQ(Show(texture, 4, 1)[0], "azbz");

  // Unkeyed onto the back buffer: the key colour shows, opaque, where the source is transparent.
  PixelsOf(g_BackSurface).Fill(0x123456);
  DDBlt(&g_BackSurface, 0, 0, 4, 1, &src, 0, 0, 0);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x000061u);
  EXPECT_EQ(At(g_BackSurface, 1, 0), 0x00FF00u);
  EXPECT_EQ(At(g_BackSurface, 4, 0), 0x123456u) << "only the copy's rectangle is cleared";

  // Unkeyed onto another texture: those pixels become transparent.
  Paint(texture, {"zzzz"});
  DDBlt(&texture, 0, 0, 4, 1, &src, 0, 0, 0);
  EXPECT_EQ(At(texture, 0, 0), 0xFF000061u);
  EXPECT_EQ(At(texture, 1, 0), 0u);
  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface) << "the render target is put back";
  DDReleaseSurface(&src);
  DDReleaseSurface(&texture);
}

// ---- scaling and mirrors

struct sScaleCase {
  const char* name;
  std::int32_t w, sx, sw;
  std::string expected;
};

// Destination pixel c takes source column sx + floor((2c + 1) * sw / 2w).
// clang-format off
const sScaleCase kScaleCases[] = {
    {"2x up", 4, 0, 2, "aabb"},
    {"3 -> 2 down", 2, 0, 3, "ac"},
    {"5 -> 2 down", 2, 1, 5, "ce"},
    {"mirror", 3, 3, -3, "cba"},
    {"mirror 2x up", 4, 4, -2, "ddcc"},
    {"mirror and shrink", 2, 6, -4, "fd"},
    {"right to left", -4, 0, 2, ""},  // covers the pixels before x: see the drawing below
};
// clang-format on

TEST_F(BlitTest, ScaledCopiesPickTheSameTexelsUnderBothBackEnds) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    ASSERT_TRUE(Start(backEnd, 32));
    DDSURFACEDATA dst, src;
    Make(dst, 8, 1);
    Make(src, 6, 3);
    Paint(src, kSource);
    for (const sScaleCase& c : kScaleCases) {
      Paint(dst, {"........"});
      if (c.w > 0) {
        DDStretchBlt(&dst, 0, 0, c.w, 1, &src, c.sx, 0, c.sw, 1, 0);
        EXPECT_EQ(Show(dst, c.w, 1)[0], c.expected) << c.name << " under " << BackEndName(static_cast<int>(backEnd));
      } else {
        // A negative width mirrors the quad: it covers x + w .. x - 1, right to left.
        DDStretchBlt(&dst, 8, 0, c.w, 1, &src, c.sx, 0, c.sw, 1, 0);
        EXPECT_EQ(Show(dst, 8, 1)[0], "....bbaa") << c.name << " under " << BackEndName(static_cast<int>(backEnd));
      }
    }
    // Rows scale by the same rule: 3 rows onto 1 take the middle one.
    Paint(dst, {"........"});
    DDStretchBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 1, 3, 0);
    EXPECT_EQ(Show(dst, 1, 1)[0], "g");
    DDReleaseSurface(&dst);
    DDReleaseSurface(&src);
  }
}

TEST_F(BlitTest, MirroredCopyOfThirtyTwoColumnsReadsSixtyThreeDownToThirtyTwo) {
  // Under DirectDraw, as a Direct3D quad, and as a Direct3D software-texture copy.
  struct sCase {
    BackEnd backEnd;
    int software;
  };
  for (const sCase& c : {sCase{BackEnd::DirectDraw, 0}, sCase{BackEnd::Direct3D, 0}, sCase{BackEnd::Direct3D, 1}}) {
    ASSERT_TRUE(Start(c.backEnd, 32));
    DDSURFACEDATA dst, src;
    Make(dst, 32, 1);
    Make(src, 100, 1, 0, c.software);
    for (int x = 0; x < 100; ++x) PixelsOf(src).SetPixel(x, 0, 0xFF000000u | static_cast<std::uint32_t>(x + 1));
    DDStretchBlt(&dst, 0, 0, 32, 1, &src, 64, 0, -32, 1, 0);
    for (int c2 = 0; c2 < 32; ++c2) {
      EXPECT_EQ(At(dst, c2, 0) & 0xFF, static_cast<std::uint32_t>(63 - c2 + 1))
          << "column " << c2 << " under " << BackEndName(static_cast<int>(c.backEnd)) << " software " << c.software;
    }
    DDReleaseSurface(&dst);
    DDReleaseSurface(&src);
  }
}

TEST_F(BlitTest, ScaledCopyIsCutWithoutShiftingItsTexels) {
  // Clipping a 2x copy at the left edge keeps each visible pixel on the texel it had unclipped.
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    ASSERT_TRUE(Start(backEnd, 32));
    DDSURFACEDATA dst, src;
    Make(dst, 4, 1);
    Make(src, 6, 3);
    Paint(src, kSource);
    Paint(dst, {"...."});
    DDStretchBlt(&dst, -3, 0, 6, 1, &src, 0, 0, 3, 1, 0);
    EXPECT_EQ(Show(dst, 4, 1)[0], "bcc.") << BackEndName(static_cast<int>(backEnd));
    DDReleaseSurface(&dst);
    DDReleaseSurface(&src);
  }
}

TEST_F(BlitTest, SoftwareTextureCopyScalesByTruncatingTheStep) {
  // A system-memory texture is copied pixel by pixel with column trunc(c * sw / w): 3 onto 2 takes
  // columns 0 and 1, where the quad takes 0 and 2.
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA dst, src;
  Make(dst, 4, 1);
  Make(src, 6, 3, 0, 1);
  Paint(src, kSource);
  Paint(dst, {"...."});
  DDStretchBlt(&dst, 0, 0, 2, 1, &src, 0, 0, 3, 1, 0);
  EXPECT_EQ(Show(dst, 4, 1)[0], "ab..");
  // Keyed: pixels of transparent32 (0) are skipped; the copy is not blended.
  Paint(src, {"a.b"});
  PixelsOf(src).SetPixel(2, 0, 0x10000063);
  Paint(dst, {"zzzz"});
  DDBlt(&dst, 0, 0, 3, 1, &src, 0, 0, 1);
  EXPECT_EQ(Show(dst, 4, 1)[0], "azcz");
  EXPECT_EQ(At(dst, 2, 0), 0x10000063u);
  DDReleaseSurface(&dst);
  DDReleaseSurface(&src);
}

// ---- 8 and 16 bits

TEST_F(BlitTest, Direct3DSixteenBitCopiesKeepOrRepackTheirPixels) {
  // Windowed, the back buffer has the texture's format: pixels arrive unchanged.
  ASSERT_TRUE(StartDirect3D(16, 1));
  DDSURFACEDATA src;
  Make(src, 2, 1);
  const std::uint16_t texel = 0x8000 | (3 << 10) | (17 << 5) | 9;  // opaque, red 3, green 17, blue 9
  PixelsOf(src).SetPixel(0, 0, texel);
  PixelsOf(src).SetPixel(1, 0, 0);  // transparent
  PixelsOf(g_BackSurface).Fill(0x7FFF);
  DDBlt(&g_BackSurface, 0, 0, 2, 1, &src, 0, 0, 1);
  EXPECT_EQ(At(g_BackSurface, 0, 0), texel);
  EXPECT_EQ(At(g_BackSurface, 1, 0), 0x7FFFu);
  DDReleaseSurface(&src);

  // Full screen, a software texture onto the R5G6B5 back buffer: green one bit further up.
  ASSERT_TRUE(StartDirect3D(16, 0));
  Make(src, 2, 1, 0, 1);
  PixelsOf(src).SetPixel(0, 0, texel);
  DDBlt(&g_BackSurface, 0, 0, 1, 1, &src, 0, 0, 0);
  EXPECT_EQ(At(g_BackSurface, 0, 0), (3u << 11) | (34u << 5) | 9u);
  DDReleaseSurface(&src);
}

}  // namespace
