// Fills: DDFillRect, DDClear and DDFillRectColor under both back-ends.
#include "tests/platform/display/draw_fixture.h"

namespace {

class FillTest : public DrawTest {};

struct sFillCase {
  const char* name;
  std::int32_t x, y, w, h;
  std::vector<std::string> expected;  // the 4 x 3 record afterwards
};

const sFillCase kFillCases[] = {
    {"inside", 1, 1, 2, 1, {"....", ".ff.", "...."}},
    {"left edge", -2, 0, 3, 1, {"f...", "....", "...."}},
    {"right edge", 3, 0, 5, 1, {"...f", "....", "...."}},
    {"both side edges", -1, 0, 9, 1, {"ffff", "....", "...."}},
    {"top edge", 0, -5, 1, 6, {"f...", "....", "...."}},
    {"bottom edge", 0, 2, 1, 9, {"....", "....", "f..."}},
    {"all four edges", -3, -3, 20, 20, {"ffff", "ffff", "ffff"}},
    {"negative width", 2, 0, -2, 1, {"....", "....", "...."}},
    {"no height", 0, 0, 4, 0, {"....", "....", "...."}},
    {"outside", 0, 3, 4, 2, {"....", "....", "...."}},
};

TEST_F(FillTest, FillsAreCutAtEveryEdgeUnderBothBackEnds) {
  struct sMode {
    BackEnd backEnd;
    int bpp;
  };
  for (const sMode& mode : {sMode{BackEnd::DirectDraw, 8}, sMode{BackEnd::DirectDraw, 16},
                            sMode{BackEnd::DirectDraw, 32}, sMode{BackEnd::Direct3D, 32}}) {
    ASSERT_TRUE(Start(mode.backEnd, mode.bpp));
    // Palette colour 'f' is (0, 0, 'f'): its pixel has 'f' in the low byte at every depth but 16
    // bits, where the channel masks keep blue's five low bits.
    g_Palette['f'] = {0, 0, 'f', 0};
    DDSURFACEDATA record;
    Make(record, 4, 3);
    for (const sFillCase& c : kFillCases) {
      Paint(record, {"....", "....", "...."});
      EXPECT_EQ(DDFillRect(&record, c.x, c.y, c.w, c.h, 'f'), DD_OK);
      std::vector<std::string> shown = Show(record, 4, 3);
      if (mode.bpp == 16)
        for (std::string& row : shown)
          for (char& ch : row) ch = ch == ('f' & 0x1F) ? 'f' : ch;
      EXPECT_EQ(shown, c.expected) << c.name << " under " << BackEndName(static_cast<int>(mode.backEnd)) << " "
                                   << mode.bpp;
    }
    // DDClear is the fill of the whole record.
    Paint(record, {"....", "....", "...."});
    DDClear(&record, 'f');
    EXPECT_EQ(Show(record, 4, 3)[2].back(), mode.bpp == 16 ? ('f' & 0x1F) : 'f');
    DDReleaseSurface(&record);
  }
}

TEST_F(FillTest, Direct3DPaletteZeroClearsKeyedRecordsAndLeavesOthers) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSetTransmit(255, 0, 255);
  DDSURFACEDATA keyed, plain;
  Make(keyed, 2, 1, 1);
  Make(plain, 2, 1);
  Paint(keyed, {"ab"});
  Paint(plain, {"ab"});
  DDFillRect(&keyed, 0, 0, 1, 1, 0);
  DDFillRect(&plain, 0, 0, 1, 1, 0);
  EXPECT_EQ(At(keyed, 0, 0), 0u) << "cleared to transparent";
  EXPECT_EQ(At(keyed, 1, 0), 0xFF000062u);
  EXPECT_EQ(At(plain, 0, 0), 0xFF000061u) << "palette 0 has alpha 0: nothing changes";
  // A number beyond the palette is colour 0.
  DDFillRect(&keyed, 1, 0, 1, 1, 256);
  EXPECT_EQ(At(keyed, 1, 0), 0u);
  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface);
  DDReleaseSurface(&keyed);
  DDReleaseSurface(&plain);
}

TEST_F(FillTest, Direct3DColourFillsBlendByTheirAlpha) {
  ASSERT_TRUE(StartDirect3D(32));
  PixelsOf(g_BackSurface).Fill(0x0000FF);
  DDFillRectColor(&g_BackSurface, 0, 0, 1, 1, 0x80FF0000);
  DDFillRectColor(&g_BackSurface, 1, 0, 1, 1, 0xFF00FF00);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x80007Fu);
  EXPECT_EQ(At(g_BackSurface, 1, 0), 0x00FF00u);
  EXPECT_EQ(At(g_BackSurface, 2, 0), 0x0000FFu);
}

TEST_F(FillTest, Direct3DFillsStopAtTheRecordNotItsLargerTexture) {
  g_DisplayFaults.texturesPow2 = true;
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA record;
  Make(record, 5, 3);
  ASSERT_EQ(PixelsOf(record).Width(), 8);
  PixelsOf(record).Fill(0);
  DDFillRectColor(&record, -1, -1, 20, 20, 0xFF000066);
  EXPECT_EQ(Show(record, 8, 4), (std::vector<std::string>{"fffff...", "fffff...", "fffff...", "........"}));
  DDReleaseSurface(&record);
}

TEST_F(FillTest, SoftwareTexturesTakeTheValueUnblended) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA record;
  Make(record, 3, 1, 0, 1);
  PixelsOf(record).Fill(0xFF0000FF);
  DDFillRectColor(&record, 1, 0, 5, 1, 0x80FF0000);
  EXPECT_EQ(At(record, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(At(record, 1, 0), 0x80FF0000u);
  EXPECT_EQ(At(record, 2, 0), 0x80FF0000u);
  DDReleaseSurface(&record);

  // At 16 bits the colour in the texture's format.
  ASSERT_TRUE(StartDirect3D(16));
  Make(record, 2, 1, 0, 1);
  DDFillRectColor(&record, 0, 0, 1, 1, 0xFFFF0000);
  EXPECT_EQ(At(record, 0, 0), 0xFC00u);
  EXPECT_EQ(At(record, 1, 0), 0u);
  DDReleaseSurface(&record);
}

TEST_F(FillTest, DirectDrawFillOfALostSurfaceFails) {
  ASSERT_TRUE(StartDirectDraw(16));
  InjectDisplayLoss();
  EXPECT_EQ(DDFillRect(&g_BackSurface, 0, 0, 4, 4, 1), DDERR_SURFACELOST);
  EXPECT_EQ(DDFillRect(nullptr, 0, 0, 4, 4, 1), DDERR_INVALIDPARAMS);
}

}  // namespace
