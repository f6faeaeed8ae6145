#include <algorithm>

#include "tests/platform/display/display_fixture.h"

namespace {

class SurfaceTest : public DisplayTest {};

TEST_F(SurfaceTest, EmptySurfacesStartWithTheirBackEndsFill) {
  // DirectDraw: palette colour 0, in the display's channel ranges above 8 bits; keyed surfaces get
  // the transparent pixel as their colour key.
  ASSERT_TRUE(StartDirectDraw(16));
  g_Palette[0] = {31, 1, 2, 1};
  g_TransparentPixel = 0xF81F;
  DDSURFACEDATA keyed;
  ASSERT_TRUE(DDCreateSurface(&keyed, 5, 3, 1, 0, 0, 0, 0));
  EXPECT_EQ(PixelsOf(keyed).Pixel(4, 2), 0xF800u | (1u << 5) | 2u);
  EXPECT_EQ(keyed.lpDDPart->surface->ColorKey(), 0xF81Fu);
  EXPECT_EQ(keyed.width, 5);
  EXPECT_EQ(keyed.textureHeight, 3);
  EXPECT_EQ(keyed.systemMemory, 0);
  DDReleaseSurface(&keyed);

  // Direct3D: the opaque key colour, which is 0 at 16 bits.
  ASSERT_TRUE(StartDirect3D(32));
  DDSetTransmit(255, 0, 128);
  DDSURFACEDATA empty;
  ASSERT_TRUE(DDCreateSurface(&empty, 4, 4, 0, 0, 0, 0, 0));
  EXPECT_EQ(PixelsOf(empty).Pixel(3, 3), 0xFFFF0080u);
  EXPECT_EQ(empty.szFileName, "E");
  EXPECT_EQ(empty.szSurfaceType, "OffScreen");
  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface) << "the render target is put back";
  DDReleaseSurface(&empty);
  ASSERT_TRUE(StartDirect3D(16));
  DDSetTransmit(31, 0, 31);
  ASSERT_TRUE(DDCreateSurface(&empty, 4, 4, 0, 0, 0, 0, 0));
  EXPECT_EQ(PixelsOf(empty).Pixel(0, 0), 0u);
  DDReleaseSurface(&empty);
}

TEST_F(SurfaceTest, TexturesAreRoundedAsTheDeviceNeeds) {
  WriteBmp("bmp/wide.bmp",
           {.width = 100, .height = 60, .bpp = 24, .pixels = std::vector<std::uint32_t>(6000, 0x405060)});
  struct sCase {
    bool pow2;
    bool square;
    std::int32_t textureWidth, textureHeight;
  };
  const sCase cases[] = {
      {false, false, 100, 60}, {true, false, 128, 64}, {true, true, 128, 128}, {false, true, 100, 100}};
  for (const sCase& c : cases) {
    g_DisplayFaults.texturesPow2 = c.pow2;
    g_DisplayFaults.texturesSquare = c.square;
    ASSERT_TRUE(StartDirect3D(32));
    DDSURFACEDATA record;
    ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\wide.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
    EXPECT_EQ(record.width, 100);
    EXPECT_EQ(record.height, 60);
    EXPECT_EQ(record.textureWidth, c.textureWidth);
    EXPECT_EQ(record.textureHeight, c.textureHeight);
    // The picture sits at the texture's top-left corner, the rest transparent.
    EXPECT_EQ(PixelsOf(record).Pixel(99, 59), 0xFF405060u);
    if (c.pow2) {
      EXPECT_EQ(PixelsOf(record).Pixel(100, 0), 0u);
    }
    DDReleaseSurface(&record);
  }

  g_DisplayFaults.texturesPow2 = true;
  g_DisplayFaults.texturesSquare = false;
  ASSERT_TRUE(StartDirect3D(32));
  struct sSize {
    std::int32_t w, h, roundedW, roundedH;
  };
  // A side of 0 has no highest bit to double: it becomes 1.
  for (const sSize& c : {sSize{0, -5, 1, 1}, sSize{64, 65, 64, 128}, sSize{100, 60, 128, 64}, sSize{1, 3, 1, 4}}) {
    std::int32_t w = c.w, h = c.h;
    RoundTextureSize(&w, &h);
    EXPECT_EQ(w, c.roundedW) << c.w;
    EXPECT_EQ(h, c.roundedH) << c.h;
  }
}

TEST_F(SurfaceTest, FileTexturesTurnTheKeyColourTransparent) {
  WriteBmp("bmp/keyed.bmp", {.width = 3, .height = 1, .bpp = 24, .pixels = {0xFF00FF, 0xFF00FE, 0x000000}});
  ASSERT_TRUE(StartDirect3D(32));
  DDSetTransmit(255, 0, 255);
  DDSURFACEDATA record;
  // The key flag 0 still loads the key colour transparent: the flag only tells the draws.
  ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\keyed.bmp", 0, 32, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
  EXPECT_EQ(PixelsOf(record).Pixel(0, 0), 0u);
  EXPECT_EQ(PixelsOf(record).Pixel(1, 0), 0xFFFF00FEu);
  EXPECT_EQ(PixelsOf(record).Pixel(2, 0), 0xFF000000u);
  EXPECT_EQ(record.lpDT->colourKey, 0);
  EXPECT_EQ(record.szSurfaceType, "OffScreenFromFile");
  EXPECT_EQ(record.szFileName, "bmp\\keyed.bmp");
  DDReleaseSurface(&record);

  // 16 bits: the key of 16-bit mode, and 1-5-5-5 texels with the alpha bit.
  ASSERT_TRUE(StartDirect3D(16));
  g_DisplayContext->key16R = 0;
  g_DisplayContext->key16G = 0;
  g_DisplayContext->key16B = 0;
  ASSERT_EQ(CreateSurfaceFromFile(&record, "bmp\\keyed.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), SURFACE_OK);
  EXPECT_EQ(PixelsOf(record).Pixel(0, 0), 0xFC1Fu);
  EXPECT_EQ(PixelsOf(record).Pixel(2, 0), 0u);
  DDReleaseSurface(&record);
}

TEST_F(SurfaceTest, LoadSurfaceListFailsOnlyForEntriesThatMatter) {
  WriteBmp("bmp/Block.bmp", WideIndexedPicture(8, 4));
  m_Descriptors[0] = {"bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  m_Descriptors[1] = {"bmp\\Missing.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0};
  m_Descriptors[2] = {"bmp\\Missing.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  m_Descriptors[3] = {"E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960};
  for (int useD3D : {0, 1}) {
    SCOPED_TRACE(useD3D);
    m_Boxes.clear();
    ASSERT_TRUE(useD3D ? StartDirect3D(32) : StartDirectDraw(8));
    EXPECT_TRUE(LoadSurfaceList(m_Table, {0, 1, 3}));
    EXPECT_EQ(m_Table[0].width, 8);
    EXPECT_FALSE(m_Table[1].lpDT || m_Table[1].lpDDPart) << "an optional entry that failed holds nothing";
    EXPECT_EQ(m_Table[3].width, 256);
    EXPECT_EQ(m_Table[3].height, 960);
    // Loading again releases first: nothing is listed twice.
    EXPECT_TRUE(LoadSurfaceList(m_Table, {0, 3}));
    if (useD3D) {
      EXPECT_EQ(g_DynamicSurfaces.size(), 4u);
    }
    EXPECT_TRUE(m_Boxes.empty());

    EXPECT_FALSE(LoadSurfaceList(m_Table, {2, 0}));
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0], SJ("エラー") + ": " + SJ("bmp\\Missing.bmp の読み込みに失敗！"));
    EXPECT_FALSE(LoadSurfaceList(m_Table, {8}));
    EXPECT_TRUE(LoadSurfaceList(m_Table, nullptr, 0));
  }
}

TEST_F(SurfaceTest, ATextureTheDeviceRefusesIsAFailedLoadNotARecordWithoutPixels) {
  WriteBmp("bmp/big.bmp", WideIndexedPicture(100, 2));
  m_Descriptors[0] = {"bmp\\big.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  m_Descriptors[1] = {"bmp\\big.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0};
  g_DisplayFaults.maxTextureSide = 64;
  ASSERT_TRUE(StartDirect3D(32));
  ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  DDSURFACEDATA record;
  std::int32_t result = CreateSurfaceFromFile(&record, "bmp\\big.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(result, D3DERR_INVALIDCALL);
  EXPECT_FALSE(CheckSurfaceResult(result));
  EXPECT_FALSE(record.lpDT);
  EXPECT_EQ(Report(),
            "このビデオカードでは横幅64を超える画像はサポートされていません！\n"
            "上記の理由でテクスチャの描画が失敗する可能性があります。(bmp\\big.bmp)\n");
  EXPECT_FALSE(LoadSurfaceList(m_Table, {0}));
  EXPECT_EQ(m_Boxes.size(), 1u);
  EXPECT_TRUE(LoadSurfaceList(m_Table, {1}));
  // Not even the screen-sized work textures fit this device: nothing is listed.
  EXPECT_TRUE(g_DynamicSurfaces.empty());
}

TEST_F(SurfaceTest, RunningOutOfVideoMemoryFallsBackToSystemMemory) {
  ASSERT_TRUE(StartDirectDraw(32));
  g_DisplayFaults.videoMemoryBytes = VideoMemoryInUse() + 100;
  DDSURFACEDATA record;
  ASSERT_TRUE(DDCreateSurface(&record, 64, 64, 0, 0, 0, 0, 0));
  EXPECT_EQ(record.systemMemory, 1);
  EXPECT_TRUE(record.lpDDPart->surface->SystemMemory());
  DDReleaseSurface(&record);

  g_DisplayFaults.videoMemoryBytes = 0;
  ASSERT_TRUE(StartDirect3D(32));
  ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  g_DisplayFaults.videoMemoryBytes = VideoMemoryInUse() + 100;
  ASSERT_TRUE(DDCreateSurface(&record, 64, 64, 1, 0, 0, 0, 0));
  EXPECT_EQ(record.lpDT->software, 1);
  EXPECT_EQ(record.lpDT->renderTarget, 0);
  EXPECT_EQ(record.lpDT->texture->Desc().pool, D3DPool::SystemMem);
  EXPECT_FALSE(record.lpDT->lpSystemSurface);
  EXPECT_EQ(Report(), "VRAM不足のためシステムメモリにテクスチャを作成します。(空)\n");
  DDReleaseSurface(&record);
}

TEST_F(SurfaceTest, ScenesVectorsKeepTheDynamicListRightWhileTheyGrow) {
  ASSERT_TRUE(StartDirect3D(32));
  std::vector<DDSURFACEDATA> surfaces;
  std::vector<SurfaceDescriptor> descriptors;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(AddSurfaceToVector(surfaces, descriptors, 8 + i, 8, 1, 0, 0, 0));
  ASSERT_EQ(descriptors.size(), 20u);
  EXPECT_EQ(descriptors[3].colourKey, 1);
  EXPECT_EQ(descriptors[3].name, "");
  std::list<DDSURFACEDATA*> expected{&g_VirBackSurface, &g_WorkSurface};
  for (DDSURFACEDATA& s : surfaces) expected.push_back(&s);
  EXPECT_EQ(g_DynamicSurfaces, expected);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(surfaces[i].width, 8 + i);
  ReleaseSurfaceVector(surfaces);
  EXPECT_EQ(surfaces.size(), 20u);
  EXPECT_EQ(g_DynamicSurfaces.size(), 2u);
  // A record that goes away without a release takes its entry along.
  ASSERT_TRUE(AddSurfaceToVector(surfaces, descriptors, 4, 4, 0, 0, 0, 0));
  surfaces.clear();
  EXPECT_EQ(g_DynamicSurfaces.size(), 2u);
}

TEST_F(SurfaceTest, ListsRemoveOnlyWhatTheyHold) {
  ASSERT_TRUE(StartDirectDraw(16));
  std::list<DDSURFACEDATA> surfaces;
  std::list<SurfaceDescriptor> descriptors;
  ASSERT_TRUE(AddSurfaceToList(surfaces, descriptors, 4, 4, 0, 0, 0, 0));
  ASSERT_TRUE(AddSurfaceToList(surfaces, descriptors, 6, 6, 1, 1, 0, 0));
  DDSURFACEDATA stranger;
  EXPECT_FALSE(RemoveSurfaceFromList(surfaces, descriptors, &stranger));
  EXPECT_EQ(surfaces.size(), 2u);
  const DDSURFACEDATA* second = &surfaces.back();
  EXPECT_TRUE(RemoveSurfaceFromList(surfaces, descriptors, second));
  ASSERT_EQ(surfaces.size(), 1u);
  ASSERT_EQ(descriptors.size(), 1u);
  EXPECT_EQ(surfaces.front().width, 4);
  EXPECT_EQ(descriptors.front().colourKey, 0);
  ReleaseSurfaceList(surfaces);
  EXPECT_FALSE(surfaces.front().lpDDPart);
  // Too large for any surface: refused, and the record stays empty.
  EXPECT_FALSE(AddSurfaceToList(surfaces, descriptors, 100000, 4, 0, 0, 0, 0));
  EXPECT_FALSE(surfaces.back().lpDDPart);
}

TEST_F(SurfaceTest, SharedRecordsShowTheirSourceUnderDirect3D) {
  WriteBmp("bmp/Item.bmp", WideIndexedPicture(8, 2));
  m_Descriptors[0] = {"bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  m_Descriptors[1] = {"bmp\\Item.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(StartDirect3D(32));
  m_Table[1].shared = &m_Table[0];
  ASSERT_TRUE(LoadSurfaceList(m_Table, {0, 1}));
  EXPECT_FALSE(m_Table[1].lpDT->texture);
  EXPECT_EQ(m_Table[1].width, 8);
  DDSURFACEDATA* p = &m_Table[1];
  ResolveSharedSurface(&p);
  EXPECT_EQ(p, &m_Table[0]);
  EXPECT_EQ(g_DynamicSurfaces.size(), 3u);
  DDReleaseSurface(&m_Table[1]);
  EXPECT_EQ(g_DynamicSurfaces.size(), 3u) << "a shared record releases only itself";
}

TEST_F(SurfaceTest, BitmapExceedsSizeAnswersUnderDirectDrawOnly) {
  WriteBmp("bmp/a.bmp", WideIndexedPicture(100, 2));
  ASSERT_TRUE(StartDirectDraw(8));
  std::int32_t exceeds = -1;
  EXPECT_TRUE(BitmapExceedsSize(&exceeds, "bmp\\a.bmp", 99, 2));
  EXPECT_EQ(exceeds, 1);
  EXPECT_TRUE(BitmapExceedsSize(&exceeds, "bmp\\a.bmp", 100, 2));
  EXPECT_EQ(exceeds, 0);
  exceeds = 5;
  EXPECT_FALSE(BitmapExceedsSize(&exceeds, "bmp\\none.bmp", 1, 1));
  EXPECT_EQ(exceeds, 0);
  ASSERT_TRUE(StartDirect3D(32));
  exceeds = 5;
  EXPECT_TRUE(BitmapExceedsSize(&exceeds, "bmp\\a.bmp", 1, 1));
  EXPECT_EQ(exceeds, 5);
}

}  // namespace
