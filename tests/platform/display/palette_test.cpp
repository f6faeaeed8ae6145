#include "tests/platform/display/display_fixture.h"

namespace {

class PaletteTest : public DisplayTest {
 protected:
  bool Start(int useD3D, int bpp) { return useD3D ? StartDirect3D(bpp) : StartDirectDraw(bpp); }

  // A 16 x 24 palette image: the pixel at (c, 8 + r) is index r * 16 + c, the top-left one index 7.
  void WritePaletteImage(std::vector<BmpColour> table) {
    BmpSpec layout{.width = 16, .height = 24, .bpp = 8, .table = std::move(table)};
    layout.pixels.assign(16 * 24, 0);
    layout.pixels[0] = 7;
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 16; ++c) layout.pixels[(8 + r) * 16 + c] = static_cast<std::uint32_t>(r * 16 + c);
    WriteBmp("bmp/plt/Palette.bmp", layout);
  }
};

TEST_F(PaletteTest, TransmitFromRedGreenBlue) {
  struct sCase {
    int useD3D;
    int bpp;
    std::uint8_t r, g, b;
    std::uint32_t transparent;
  };
  const sCase cases[] = {
      {0, 32, 255, 0, 128, 0xFF0080},
      {0, 16, 255, 0, 128, 0xF80F},  // scaled: (128 * 31) / 255 = 15
      {0, 8, 255, 0, 128, 77},       // nothing changes at 8 bits
      {1, 32, 255, 0, 128, 0},
      {1, 16, 31, 0, 16, 0xFC10},  // already in 5-bit ranges: masked, with the alpha bit
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.useD3D << " " << c.bpp);
    ASSERT_TRUE(Start(c.useD3D, c.bpp));
    g_TransparentPixel = 77;
    EXPECT_TRUE(DDSetTransmit(c.r, c.g, c.b));
    EXPECT_EQ(g_TransparentPixel, c.transparent);
    if (c.useD3D) {
      const DisplayContext& context = *g_DisplayContext;
      EXPECT_EQ(context.keyR, c.r);
      EXPECT_EQ(context.keyB, c.b);
      EXPECT_EQ(context.opaqueKey32, c.bpp == 32 ? 0xFFFF0080u : 0u);
      EXPECT_EQ(context.opaqueKey16, c.bpp == 16 ? 0xFC10u : 0u);
      EXPECT_EQ(context.transparent32, 0u);
    } else if (c.bpp == 32) {
      EXPECT_EQ(g_DDContext->keyB, 128);
      EXPECT_EQ(g_DDContext->keyG, 0);
      EXPECT_EQ(g_DDContext->keyR, 255);
    }
  }
}

TEST_F(PaletteTest, ADisplayStartedAgainKeysItsSurfacesOnlyWithItsOwnKey) {
  // Each way a display ends: released on its own, or by the next start.
  for (const bool releasedFirst : {true, false}) {
    SCOPED_TRACE(releasedFirst);
    ASSERT_TRUE(StartDirectDraw(32));
    ASSERT_TRUE(DDSetTransmit(255, 0, 128));
    if (releasedFirst) DDRelease();
    ASSERT_TRUE(StartDirectDraw(32));
    EXPECT_EQ(g_DDContext->keyR, 0);
    EXPECT_EQ(g_TransparentPixel, 0u) << "the key of the display before";
    DDSURFACEDATA keyed;
    ASSERT_TRUE(DDCreateSurface(&keyed, 4, 4, 1, 0, 0, 0, 0));
    EXPECT_EQ(keyed.lpDDPart->surface->ColorKey(), 0u);
    DDReleaseSurface(&keyed);
    DDRelease();
  }
}

TEST_F(PaletteTest, TransmitFromThePaletteImagesTopLeftPixel) {
  std::vector<BmpColour> table = GreyTable(256);
  table[0] = {7, 8, 9, 0};
  table[7] = {8, 128, 255, 0};  // red 255, green 128, blue 8
  WritePaletteImage(table);
  struct sCase {
    int useD3D;
    int bpp;
    std::uint32_t transparent;
  };
  // clang-format off
  const sCase cases[] = {
      {0, 8, 7},          // the index
      {0, 16, 0xFC01},    // 255, 128, 8 as 5-6-5
      {0, 32, 0xFF8008},
      {1, 32, 0},         // the key goes into the context; the pixel value is transparent black
      {1, 16, 0xFE01},    // 1-5-5-5 with the alpha bit
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.useD3D << " " << c.bpp);
    ASSERT_TRUE(Start(c.useD3D, c.bpp));
    ASSERT_TRUE(DDSetTransmit(std::string("bmp\\plt\\Palette.bmp")));
    EXPECT_EQ(g_TransparentPixel, c.transparent);
    if (c.useD3D && c.bpp == 32) {
      EXPECT_EQ(g_DisplayContext->opaqueKey32, 0xFFFF8008u);
    }
    if (c.useD3D && c.bpp == 16) {
      // The key of 16-bit mode is the colour table's first entry.
      EXPECT_EQ(g_DisplayContext->key16R, 9);
      EXPECT_EQ(g_DisplayContext->key16G, 8);
      EXPECT_EQ(g_DisplayContext->key16B, 7);
    }
    if (!c.useD3D && c.bpp == 32) {
      EXPECT_EQ(g_DDContext->keyB, 8);
      EXPECT_EQ(g_DDContext->keyR, 255);
    }
    EXPECT_FALSE(DDSetTransmit(std::string("bmp\\plt\\none.bmp")));
  }
  EXPECT_TRUE(g_DynamicSurfaces.size() == 2u) << "the palette image was let go";
}

TEST_F(PaletteTest, PaletteFromTheImageAtEachDepth) {
  // 16 colours only: the rest of the table is black.
  std::vector<BmpColour> table = GreyTable(16);
  for (auto& c : table) c.red = 255;
  WritePaletteImage(table);
  PALETTEENTRY out[256];

  ASSERT_TRUE(StartDirectDraw(8));
  ASSERT_TRUE(DDLoadPaletteFromFile(out, "bmp\\plt\\Palette.bmp", 0));
  EXPECT_EQ(out[3], (PALETTEENTRY{255, 3, 3, 2}));
  EXPECT_EQ(out[15], (PALETTEENTRY{255, 15, 15, 1}));
  EXPECT_EQ(out[16], (PALETTEENTRY{0, 0, 0, 1}));
  EXPECT_EQ(out[250], (PALETTEENTRY{0, 0, 0, 2}));
  PALETTEENTRY shown[256];
  g_lpDDPalette->GetEntries(0, 256, shown);
  EXPECT_TRUE(std::equal(out, out + 256, shown));

  // Above 8 bits: the colours of the block in the image, in the depth's channel ranges.
  struct sCase {
    int useD3D;
    int bpp;
    PALETTEENTRY entry3;
    PALETTEENTRY entry40;
  };
  const sCase cases[] = {
      {0, 32, {255, 3, 3, 0}, {0, 0, 0, 0}},  // the fourth byte goes into the flags
      {0, 16, {31, 0, 0, 2}, {0, 0, 0, 1}},   // 5-6-5 ranges
      {1, 32, {255, 3, 3, 2}, {0, 0, 0, 1}},  // flags stay
      {1, 16, {255, 0, 0, 2}, {0, 0, 0, 1}},  // 5-bit channels scaled back to 0-255
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.useD3D << " " << c.bpp);
    ASSERT_TRUE(Start(c.useD3D, c.bpp));
    ASSERT_TRUE(DDLoadPaletteFromFile(out, "bmp\\plt\\Palette.bmp", 0));
    EXPECT_EQ(out[3], c.entry3);
    EXPECT_EQ(out[40], c.entry40);
  }
  EXPECT_FALSE(DDLoadPaletteFromFile(out, "bmp\\plt\\none.bmp", 0));
}

TEST_F(PaletteTest, APaletteImageTooSmallForTheBlockGivesBlackNotAnOverrun) {
  WriteBmp("bmp/small.bmp", WideIndexedPicture(4, 10));
  ASSERT_TRUE(StartDirectDraw(32));
  PALETTEENTRY out[256];
  ASSERT_TRUE(DDLoadPaletteFromFile(out, "bmp\\small.bmp", 0));
  EXPECT_EQ(out[1], (PALETTEENTRY{34, 34, 34, 0}));      // pixel (1, 8): index 802 & 255
  EXPECT_EQ(out[17], (PALETTEENTRY{134, 134, 134, 0}));  // pixel (1, 9)
  EXPECT_EQ(out[4], (PALETTEENTRY{0, 0, 0, 2}));         // column 4 is outside
  EXPECT_EQ(out[32], (PALETTEENTRY{0, 0, 0, 1}));        // so is row 10
}

TEST_F(PaletteTest, PaletteNumbersAsPixelValues) {
  g_Palette[1] = {31, 40, 8, 1};
  g_Palette[255] = {255, 255, 255, 1};
  struct sCase {
    int useD3D;
    int bpp;
    std::uint32_t zero, one;
    std::uint16_t packed;
  };
  const sCase cases[] = {
      {0, 8, 0, 1, 0},  // no masks at 8 bits
      {0, 16, 0, (31u << 11) | (40u << 5) | 8u, (31u << 11) | (40u << 5) | 8u},
      {0, 32, 0, 0x1F2808, 0x2808},
      {1, 32, 0, 0xFF1F2808, 0},
      {1, 16, 0, 0xFF1F2808, 0},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.useD3D << " " << c.bpp);
    ASSERT_TRUE(Start(c.useD3D, c.bpp));
    EXPECT_EQ(PalNumToRGB(0), c.zero);
    EXPECT_EQ(PalNumToRGB(1), c.one);
    EXPECT_EQ(PalNumToRGB(256), 0u);
    EXPECT_EQ(RGBToPixel(&g_Palette[1]), c.packed);
  }
}

}  // namespace
