#include "platform/display/display_report.h"
#include "platform/services/boxes.h"
#include "tests/platform/display/display_fixture.h"

namespace {

class StartUpTest : public DisplayTest {};

TEST_F(StartUpTest, Direct3DTakesOnly16And32BitsAndDirectDrawThenStarts) {
  struct sCase {
    int bpp;
    int windowed;
    bool starts;
    PixelFormat backBuffer;
  };
  // clang-format off
  const sCase cases[] = {
      {32, 1, true, PixelFormat::Xrgb8888},
      {32, 0, true, PixelFormat::Xrgb8888},
      {16, 1, true, PixelFormat::Argb1555},
      {16, 0, true, PixelFormat::Rgb565},
      {24, 1, false, PixelFormat::Xrgb8888},
      {8, 0, false, PixelFormat::Xrgb8888},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.bpp);
    EXPECT_EQ(StartDirect3D(c.bpp, c.windowed), c.starts);
    if (c.starts) {
      ASSERT_TRUE(g_DisplayContext);
      EXPECT_EQ(PixelsOf(g_BackSurface).Format(), c.backBuffer);
      EXPECT_EQ(g_DisplayReady, 1);
      EXPECT_EQ(m_Screen.State().fullScreen, c.windowed == 0);
      continue;
    }
    EXPECT_EQ(g_DisplayReady, 0);
    // The start-up's fall-back: release, then DirectDraw.
    DDRelease();
    EXPECT_FALSE(g_DisplayContext);
    EXPECT_FALSE(lpDevice);
    ASSERT_TRUE(StartDirectDraw(32));
    EXPECT_TRUE(g_DDContext);
    EXPECT_FALSE(g_DisplayContext);
    EXPECT_FALSE(DisplayIsD3D());
    EXPECT_EQ(PixelsOf(g_BackSurface).Format(), PixelFormat::Xrgb8888);
  }
}

TEST_F(StartUpTest, TheDeviceLineSaysHowVerticesAreProcessed) {
  struct sCase {
    bool hardware;
    bool softwareFails;
    int bpp;
    int windowed;
    const char* lines;  // nullptr: the start fails
  };
  const sCase cases[] = {
      {false, false, 32, 1, "Device HAL-SOFT\nX8R8G8B8\n"},
      {true, false, 32, 1, "Device HAL-HARD\nX8R8G8B8\n"},
      {false, false, 16, 1, "Device HAL-SOFT\nA1R5G5B5\n"},
      {false, false, 16, 0, "Device HAL-SOFT\nR5G6B5\n"},
      {false, true, 32, 1, nullptr},
      {false, true, 16, 0, nullptr},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hardware << c.softwareFails << c.bpp << c.windowed);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    g_DisplayFaults.hardwareVertexProcessing = c.hardware;
    g_DisplayFaults.softwareVertexProcessingFails = c.softwareFails;
    EXPECT_EQ(StartDirect3D(c.bpp, c.windowed), c.lines != nullptr);
    EXPECT_EQ(Report(), c.lines ? c.lines : "");
    DDRelease();
    // Whatever the start left, the DirectDraw fall-back starts on a clean slate.
    ASSERT_TRUE(StartDirectDraw(16));
    EXPECT_FALSE(DisplayIsD3D());
    DDRelease();
  }
}

TEST_F(StartUpTest, ASecondDirectDrawStartReleasesTheFirstWholly) {
  m_Descriptors[0] = {"E", 1, 0, 0, 0, 0, 0, 0, 0, 32, 32};
  m_Descriptors[1] = {"E", 0, 1, 0, 0, 0, 0, 0, 0, 16, 8};
  ASSERT_TRUE(StartDirectDraw(8));
  ASSERT_TRUE(LoadSurfaceList(m_Table, {0, 1}));
  std::weak_ptr<cDirectDraw> first = g_lpDD;
  ASSERT_TRUE(StartDirectDraw(32, 1));
  EXPECT_TRUE(first.expired()) << "an object of the first start lives on";
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_FALSE(m_Table[0].lpDDPart);
  EXPECT_FALSE(m_Table[1].lpDDPart);
  // The new start's context is the one that stands, and it works.
  ASSERT_TRUE(g_DDContext);
  EXPECT_FALSE(g_DisplayContext);
  EXPECT_TRUE(DDSetTransmit(255, 0, 128));
  EXPECT_EQ(g_DDContext->keyR, 255);
  EXPECT_EQ(g_lpDD->LiveObjects(), 4);  // primary, back surface, screen copy and palette
}

TEST_F(StartUpTest, ASurfaceStillHeldAtReleaseIsReportedAsALeak) {
  ASSERT_TRUE(StartDirectDraw(16));
  std::shared_ptr<cDDSurface> kept = g_BackSurface.lpDDPart->surface;
  DDRelease();
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_EQ(m_Boxes[0], "DirectDraw: " + SJ("解放漏れがあります"));
}

TEST_F(StartUpTest, ReleaseIsSafeOnAnyPartialStateAndEndsTheDisplay) {
  // 24 bits is no display mode here: the start stops after the DirectDraw object exists.
  EXPECT_FALSE(StartDirectDraw(24));
  EXPECT_TRUE(g_lpDD);
  DDRelease();
  EXPECT_FALSE(g_lpDD);
  EXPECT_FALSE(g_DDContext);
  DDRelease();

  int drawnBoxes = 0;
  ASSERT_TRUE(StartDirect3D(32, 0));
  SetFullScreenBox([&](const std::string&, const std::string&, std::uint32_t) { return ++drawnBoxes; });
  DDRelease();
  EXPECT_EQ(g_DisplayReady, 0);
  EXPECT_TRUE(g_DynamicSurfaces.empty());
  // A box after the display is gone is the host's box.
  ErrBox("x");
  EXPECT_EQ(drawnBoxes, 0);
  EXPECT_EQ(m_Boxes.size(), 1u);
  EXPECT_FALSE(m_Screen.State().fullScreen);
}

TEST_F(StartUpTest, FullScreenAsksOneOrTwoBackBuffersAndARefusedRateIsDroppedNotFatal) {
  ASSERT_TRUE(StartDirectDraw(8, 0, 1));
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->BackBufferCount(), 1);
  EXPECT_TRUE(m_Screen.State().fullScreen);
  EXPECT_FALSE(m_Screen.State().cursorVisible);
  ASSERT_TRUE(StartDirectDraw(8, 0, 0));
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->BackBufferCount(), 2);
  g_DisplayFaults.refreshRateRefused = true;
  EXPECT_TRUE(StartDirectDraw(16, 0, 1));
  ASSERT_TRUE(StartDirectDraw(16, 1));
  EXPECT_FALSE(m_Screen.State().fullScreen);
  EXPECT_TRUE(m_Screen.State().cursorVisible);
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->BackBufferCount(), 0);
}

TEST_F(StartUpTest, ProvisionalPalettesAndColourMasks) {
  PALETTEENTRY entries[256];
  ASSERT_TRUE(StartDirectDraw(8, 0));
  g_lpDDPalette->GetEntries(0, 256, entries);
  EXPECT_EQ(entries[0], (PALETTEENTRY{0, 0, 255, 1}));
  EXPECT_EQ(entries[5], (PALETTEENTRY{5, 5, 0, 1}));
  EXPECT_EQ(entries[255], (PALETTEENTRY{255, 255, 0, 1}));
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->Palette(), g_lpDDPalette);

  ASSERT_TRUE(StartDirectDraw(8, 1));
  g_lpDDPalette->GetEntries(0, 256, entries);
  EXPECT_EQ(entries[9], (PALETTEENTRY{9, 0, 0, 2}));
  EXPECT_EQ(entries[10], (PALETTEENTRY{10, 10, 0, 1}));
  EXPECT_EQ(entries[246], (PALETTEENTRY{246, 0, 0, 2}));

  using Masks = std::array<std::uint32_t, 8>;
  auto set = [](int first) {
    Masks m;
    std::copy_n(g_ColorMasks.begin() + first, 8, m.begin());
    return m;
  };
  ASSERT_TRUE(StartDirectDraw(16, 0));
  EXPECT_EQ(set(kSurfaceMasks), (Masks{11, 5, 0, 0, 31, 63, 31, 0}));
  ASSERT_TRUE(StartDirectDraw(32, 0));
  EXPECT_EQ(set(kSurfaceMasks), (Masks{16, 8, 0, 0, 255, 255, 255, 0}));
  ASSERT_TRUE(StartDirect3D(16, 0));
  EXPECT_EQ(set(kBackBufferMasks), (Masks{11, 5, 0, 16, 31, 63, 31, 0}));
  EXPECT_EQ(set(kSurfaceMasks), (Masks{10, 5, 0, 15, 31, 31, 31, 1}));
  ASSERT_TRUE(StartDirect3D(16, 1));
  EXPECT_EQ(set(kBackBufferMasks), (Masks{10, 5, 0, 15, 31, 31, 31, 1}));
  ASSERT_TRUE(StartDirect3D(32, 1));
  EXPECT_EQ(set(kSurfaceMasks), (Masks{16, 8, 0, 24, 255, 255, 255, 255}));
}

TEST_F(StartUpTest, Direct3DSetsUpItsContextAndFixedSurfaces) {
  ASSERT_TRUE(StartDirect3D(32));
  const DisplayContext& context = *g_DisplayContext;
  EXPECT_EQ(context.drawColor, 0xFFFFFFFFu);
  EXPECT_EQ(context.colorOp, D3DTOP_MODULATE);
  EXPECT_EQ(context.alphaOp, D3DTOP_SELECTARG1);
  EXPECT_EQ(context.renderTarget, &g_BackSurface);
  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface);
  EXPECT_TRUE(lpDevice->m_RenderStates.alphaBlendEnable);
  EXPECT_EQ(lpDevice->m_RenderStates.srcBlend, D3DBLEND_SRCALPHA);
  EXPECT_EQ(lpDevice->m_RenderStates.destBlend, D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(lpDevice->m_Samplers[1].minFilter, D3DTEXF_POINT);
  EXPECT_EQ(g_BackSurface.szSurfaceType, "BackBuffer");
  EXPECT_EQ(g_VirBackSurface.szSurfaceType, "VirBackBuffer");
  EXPECT_EQ(g_WorkSurface.szSurfaceType, "WorkSD");
  EXPECT_EQ(g_BackSurface.lpDT->textureNumber, 0);
  EXPECT_EQ(g_VirBackSurface.lpDT->textureNumber, 1);
  EXPECT_EQ(g_WorkSurface.lpDT->textureNumber, 2);
  EXPECT_EQ(context.textureCounter, 3);
  EXPECT_EQ(g_DynamicSurfaces, (std::list<DDSURFACEDATA*>{&g_VirBackSurface, &g_WorkSurface}));
  EXPECT_EQ(g_VirBackSurface.lpDT->levelDesc.usage, D3DUSAGE_RENDERTARGET);
  EXPECT_TRUE(g_VirBackSurface.lpDT->lpSystemSurface);
}

TEST_F(StartUpTest, PresentsShowTheFrameThroughTheWindow) {
  // Direct3D: the back buffer as it is.
  ASSERT_TRUE(StartDirect3D(16, 0));
  PixelsOf(g_BackSurface).SetPixel(3, 2, 0xF800);
  ASSERT_EQ(lpDevice->Present(), D3D_OK);
  EXPECT_EQ(m_Screen.LastFrame()[2 * 640 + 3], 0xFFFF0000u);

  // DirectDraw full screen at 8 bits: the flipped picture through the palette.
  ASSERT_TRUE(StartDirectDraw(8, 0));
  PALETTEENTRY green{0, 200, 0, 1};
  g_lpDDPalette->SetEntries(7, 1, &green);
  PixelsOf(g_BackSurface).SetPixel(639, 479, 7);
  ASSERT_EQ(g_lpDD->Flip(), DD_OK);
  EXPECT_EQ(m_Screen.LastFrame().back(), 0xFF00C800u);

  // DirectDraw window: the back surface copied to the window.
  ASSERT_TRUE(StartDirectDraw(32, 1));
  PixelsOf(g_BackSurface).SetPixel(0, 0, 0x123456);
  ASSERT_EQ(g_lpDD->BltToWindow(*g_BackSurface.lpDDPart->surface), DD_OK);
  EXPECT_EQ(m_Screen.LastFrame()[0], 0xFF123456u);
}

class ReportScreen : public cHeadlessScreen {
 public:
  ReportScreen() : cHeadlessScreen(640, 480) {}
  std::optional<int> RefreshRate() const override { return 75; }
};

TEST_F(StartUpTest, ReportLinesTellTheModeTheDepthAndTheMonitorsRate) {
  ReportScreen monitor;
  struct sCase {
    int useD3D;
    cScreen* screen;
    int bpp;
    int windowed;
    const char* lines;
  };
  const sCase cases[] = {
      {0, &monitor, 16, 0, "Mode : Fullscreen\nBpp : 16\nRR : 75\n"},
      {0, &monitor, 32, 1, "Mode : Window\nBpp : 32\nRR : 75\n"},
      // The headless screen knows no monitor.
      {0, &m_Screen, 8, 0, "Mode : Fullscreen\nBpp : 8\n"},
      {1, &monitor, 32, 1, "Device HAL-SOFT\nX8R8G8B8\nMode : Window\nBpp : 32\n"},
  };
  for (const sCase& c : cases) {
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    ASSERT_TRUE(DDInit(c.useD3D, c.screen, 640, 480, c.bpp, 0, c.windowed, 1, 60, 1, m_Table, nullptr, 0));
    EXPECT_EQ(WriteDisplayReport(), 1);
    EXPECT_EQ(Report(), c.lines);
    DDRelease();
  }
  std::filesystem::remove("Report_Game.txt");
  EXPECT_EQ(WriteDisplayReport(), 0);
  // No diagnostic provider here: the version is unknown, which lets Direct3D start.
  EXPECT_EQ(GetDDIVersion(), 99999);
}

}  // namespace
