#include "tests/platform/display/display_fixture.h"

namespace {

class BitmapSurfaceTest : public DisplayTest {
 protected:
  bool Start(int useD3D, int bpp) { return useD3D ? StartDirect3D(bpp) : StartDirectDraw(bpp); }
};

// A grey level as the pixel a surface of format holds after loading it from a picture.
std::uint32_t Loaded(PixelFormat format, std::uint32_t grey) {
  std::uint32_t rgb = grey * 0x010101u;
  switch (format) {
    case PixelFormat::Index8:
      return grey;
    case PixelFormat::Xrgb8888:
      return rgb;
    default:
      return PackColour(format, 0xFF000000u | rgb);
  }
}

TEST_F(BitmapSurfaceTest, MirrorCellsOf32On100ColumnsFlipThreeCellsAndLeaveTheRest) {
  struct sCase {
    int useD3D;
    int bpp;
    int width;  // 120: the last part-cell would land partly inside the picture if it were drawn
  };
  for (const sCase& c : {sCase{0, 8, 100}, sCase{0, 16, 100}, sCase{0, 32, 100}, sCase{1, 16, 100}, sCase{1, 32, 100},
                         sCase{0, 8, 120}, sCase{0, 32, 120}, sCase{1, 32, 120}}) {
    SCOPED_TRACE(testing::Message() << "useD3D " << c.useD3D << ", " << c.bpp << " bits, width " << c.width);
    WriteBmp("bmp/Character1.bmp", WideIndexedPicture(c.width, 2));
    ASSERT_TRUE(Start(c.useD3D, c.bpp));
    DDSURFACEDATA record;
    ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\Character1.bmp", 1, c.bpp, 0, 0, 0, 0, 32, 0, 0), SURFACE_OK);
    EXPECT_EQ(record.mirrorCellWidth, 32);
    const cPixelBuffer& pixels = PixelsOf(record);
    for (int y = 0; y < 2; ++y) {
      for (int cell = 0; cell < 3; ++cell) {
        for (int c2 = 0; c2 < 32; ++c2) {
          const int from = cell * 32 + 31 - c2;
          ASSERT_EQ(pixels.Pixel(cell * 32 + c2, y), Loaded(pixels.Format(), (from + 1 + 100 * y) & 0xFF))
              << "column " << cell * 32 + c2 << " row " << y;
        }
      }
      // Past the last whole cell nothing is drawn: the surface's first fill stays.
      for (int x = 96; x < c.width; ++x) ASSERT_EQ(pixels.Pixel(x, y), 0u) << "column " << x << " row " << y;
    }
    DDReleaseSurface(&record);
    if (c.useD3D) {
      EXPECT_EQ(g_DynamicSurfaces.size(), 2u) << "the unflipped copy is gone again";
    }
  }
}

TEST_F(BitmapSurfaceTest, MirrorCellsFlipRowsToo) {
  WriteBmp("bmp/a.bmp", WideIndexedPicture(2, 5));
  ASSERT_TRUE(StartDirectDraw(8));
  DDSURFACEDATA record;
  ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\a.bmp", 0, 8, 0, 0, 0, 0, 0, 2, 0), SURFACE_OK);
  const cPixelBuffer& pixels = PixelsOf(record);
  const std::uint32_t column0[5] = {101, 1, 45, 201, 0};  // rows 0-1 and 2-3 swapped, row 4 not drawn
  for (int y = 0; y < 5; ++y) EXPECT_EQ(pixels.Pixel(0, y), column0[y]) << y;
}

TEST_F(BitmapSurfaceTest, SixteenBitsNeverTurnAnOpaqueColourTransparent) {
  struct sCase {
    std::uint32_t transparent;
    std::uint8_t keyR, keyG, keyB;
    std::uint32_t rgb;
    std::uint32_t expected;
  };
  const sCase cases[] = {
      {0xF81F, 255, 0, 255, 0xFF00FF, 0xF81F},  // the key colour itself
      {0xF81F, 255, 0, 255, 0xFF04FF, 0xF81E},  // packs to the key, blue at its maximum: one down
      {0xF81F, 255, 0, 255, 0x808080, 0x7BEF},  // (128 * 31) / 255 = 15, (128 * 63) / 255 = 31
      {0x0000, 1, 2, 3, 0x000000, 0x0001},      // packs to the key, blue below its maximum: one up
      {0x0000, 1, 2, 3, 0x010203, 0x0000},
  };
  ASSERT_TRUE(StartDirectDraw(16));
  for (int bpp : {24, 32}) {
    for (const sCase& c : cases) {
      SCOPED_TRACE(testing::Message() << bpp << " bits, colour " << std::hex << c.rgb);
      g_TransparentPixel = c.transparent;
      g_DDContext->key16R = c.keyR;
      g_DDContext->key16G = c.keyG;
      g_DDContext->key16B = c.keyB;
      WriteBmp("bmp/p.bmp", {.width = 1, .height = 1, .bpp = bpp, .pixels = {c.rgb}});
      DDSURFACEDATA record;
      ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\p.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
      EXPECT_EQ(PixelsOf(record).Pixel(0, 0), c.expected);
      DDReleaseSurface(&record);
    }
  }
}

TEST_F(BitmapSurfaceTest, APictureLargerThanItsSurfaceIsCutToIt) {
  WriteBmp("bmp/big.bmp", WideIndexedPicture(6, 5));
  ASSERT_TRUE(StartDirectDraw(8));
  DDSURFACEDATA record;
  ASSERT_TRUE(DDCreateSurface(&record, 4, 3, 0, 0, 0, 0, 0));
  ASSERT_TRUE(ReloadSurfaceBitmap(&record, "bmp\\big.bmp", 8, 0, 0, 0));
  EXPECT_EQ(record.width, 4);
  EXPECT_EQ(record.height, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelsOf(record).Pixel(x, y), static_cast<std::uint32_t>(x + 1 + 100 * y));
  EXPECT_FALSE(ReloadSurfaceBitmap(&record, "bmp\\none.bmp", 8, 0, 0, 0));
  EXPECT_TRUE(ReloadSurfaceBitmap(&record, "", 8, 0, 0, 0));
}

TEST_F(BitmapSurfaceTest, ALostSurfaceSkipsTheCopyAndIsReloadedAfterItsRestore) {
  WriteBmp("bmp/Block.bmp", WideIndexedPicture(4, 2));
  ASSERT_TRUE(StartDirectDraw(8));
  DDSURFACEDATA video, system;
  ASSERT_EQ(CreateSurfaceFromFile(&video, "bmp\\Block.bmp", 1, 8, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
  ASSERT_EQ(CreateSurfaceFromFile(&system, "bmp\\Block.bmp", 1, 8, 1, 0, 0, 0, 0, 0, 0), SURFACE_OK);
  InjectDisplayLoss();
  cDDSurface& surface = *video.lpDDPart->surface;
  EXPECT_EQ(surface.IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(system.lpDDPart->surface->IsLost(), DD_OK);
  EXPECT_EQ(PixelsOf(system).Pixel(3, 1), 104u);
  cPixelBuffer* locked = nullptr;
  EXPECT_EQ(surface.Lock(&locked), DDERR_SURFACELOST);
  EXPECT_TRUE(RestoreSurfaceBitmap(&video, 8)) << "a failed lock skips the copy, and that is no failure";
  EXPECT_EQ(surface.Pixels().Pixel(3, 1), 0u);
  ASSERT_EQ(surface.Restore(), DD_OK);
  ASSERT_TRUE(RestoreSurfaceBitmap(&video, 8));
  EXPECT_EQ(surface.Pixels().Pixel(3, 1), 104u);
  EXPECT_EQ(video.szFileName, "bmp\\Block.bmp");
  DDReleaseSurface(&video);
  DDReleaseSurface(&system);
}

TEST_F(BitmapSurfaceTest, ThePaletteIndexMapHoldsEachPixelsFirstIndex) {
  g_Palette[5] = {10, 20, 30, 1};
  g_Palette[6] = {10, 20, 30, 1};
  g_Palette[7] = {1, 2, 3, 1};
  WriteBmp("bmp/m.bmp", {.width = 3, .height = 2, .bpp = 24, .pixels = {0x0A141E, 0x010203, 0x999999, 0, 0, 0}});
  ASSERT_TRUE(StartDirectDraw(32));
  DDSURFACEDATA record;
  ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\m.bmp", 0, 32, 0, 0, 0, 1, 0, 0, 0), SURFACE_OK);
  const std::vector<std::uint8_t>& map = record.lpDDPart->paletteIndexMap;
  const std::size_t pitch = static_cast<std::size_t>(PixelsOf(record).Pitch() / 4);
  ASSERT_EQ(map.size(), pitch * 2);
  EXPECT_EQ(map[0], 5);
  EXPECT_EQ(map[1], 7);
  EXPECT_EQ(map[2], 0) << "a colour in no entry";
  EXPECT_EQ(map[pitch], 0) << "black is entry 0";
  // The restore asks for a map again because the record has one.
  ASSERT_TRUE(RestoreSurfaceBitmap(&record, 32));
  EXPECT_EQ(record.lpDDPart->paletteIndexMap.size(), pitch * 2);
  ASSERT_TRUE(ReloadSurfaceBitmap(&record, "bmp\\m.bmp", 32, 0, 0, 0));
  EXPECT_TRUE(record.lpDDPart->paletteIndexMap.empty());
  DDReleaseSurface(&record);
}

TEST_F(BitmapSurfaceTest, AnEightBitDisplayShowsADeeperPictureInItsNearestColours) {
  g_Palette[3] = {200, 0, 0, 1};
  g_Palette[4] = {0, 0, 200, 1};
  WriteBmp("bmp/t.bmp", {.width = 3, .height = 1, .bpp = 24, .pixels = {0xC80000, 0x0000C0, 0x101010}});
  ASSERT_TRUE(StartDirectDraw(8));
  DDSURFACEDATA record;
  ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\t.bmp", 0, 8, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
  EXPECT_EQ(PixelsOf(record).Pixel(0, 0), 3u);
  EXPECT_EQ(PixelsOf(record).Pixel(1, 0), 4u);
  EXPECT_EQ(PixelsOf(record).Pixel(2, 0), 0u);
  DDReleaseSurface(&record);
}

TEST_F(BitmapSurfaceTest, DamagedOrMissingFilesLeaveTheRecordEmpty) {
  WriteHostFile("bmp/cut.bmp", MakeBmp(WideIndexedPicture(8, 8)).substr(0, 200));
  for (int useD3D : {0, 1}) {
    ASSERT_TRUE(Start(useD3D, 32));
    DDSURFACEDATA record;
    EXPECT_EQ(CreateSurfaceFromFile(&record, "bmp\\cut.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), LOADIMAGE_ERR);
    EXPECT_FALSE(record.lpDT || record.lpDDPart);
    EXPECT_EQ(CreateSurfaceFromFile(&record, "bmp\\none.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), LOADIMAGE_ERR);
    EXPECT_FALSE(record.lpDT || record.lpDDPart);
  }
}

}  // namespace
