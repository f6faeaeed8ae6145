#include "platform/display/present.h"

#include <atomic>
#include <thread>

#include "platform/display/blit.h"
#include "tests/platform/display/display_fixture.h"
#include "tests/support/messages.h"

namespace {

// Records the order in which the restores call their clients.
class cRecordingClient : public cRestoreClient {
 public:
  void OnLostDevice() override { m_Calls.push_back("lost"); }
  void Restore() override { m_Calls.push_back("restore"); }
  std::vector<std::string> m_Calls;
};

class PresentTest : public DisplayTest {
 protected:
  void TearDown() override {
    UnregisterRestoreClient(&m_Client);
    DisplayTest::TearDown();
  }

  // Every pixel of a record, row by row.
  static std::vector<std::uint32_t> AllPixels(DDSURFACEDATA& record) {
    const cPixelBuffer& pixels = PixelsOf(record);
    std::vector<std::uint32_t> out;
    for (std::int32_t y = 0; y < pixels.Height(); ++y)
      for (std::int32_t x = 0; x < pixels.Width(); ++x) out.push_back(pixels.Pixel(x, y));
    return out;
  }

  // A 24-bit 4 x 2 picture with a different colour in every pixel; its top-left pixel is the
  // (unused) key colour, so that a keyed copy shows a transparent pixel there.
  void WritePicture(const std::string& hostPath) {
    WriteBmp(hostPath, {.width = 4,
                        .height = 2,
                        .bpp = 24,
                        .pixels = {0xFF0080, 0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203, 0x040506}});
  }

  cRecordingClient m_Client;
};

TEST_F(PresentTest, EveryBackEndAndModeShowsTheBackSurfaceOnTheScreen) {
  struct sCase {
    int useD3D;
    int bpp;
    int windowed;
  };
  // clang-format off
  const sCase cases[] = {
      {1, 32, 1}, {1, 32, 0}, {1, 16, 1}, {1, 16, 0},
      {0, 8, 0},  {0, 16, 0}, {0, 32, 0}, {0, 8, 1}, {0, 16, 1}, {0, 32, 1},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "D3D " << c.useD3D << " bpp " << c.bpp << " windowed " << c.windowed);
    ASSERT_TRUE(c.useD3D ? StartDirect3D(c.bpp, c.windowed) : StartDirectDraw(c.bpp, c.windowed));
    // Magenta and black survive every format unchanged; at 8 bits they are palette entries 7 and 8.
    cPixelBuffer& back = PixelsOf(g_BackSurface);
    if (c.bpp == 8) {
      const PALETTEENTRY colours[2] = {{255, 0, 255, 1}, {0, 0, 0, 1}};
      g_lpDDPalette->SetEntries(7, 2, colours);
      back.Fill(7);
      back.SetPixel(639, 479, 8);
    } else {
      back.Fill(PackColour(back.Format(), 0xFFFF00FF));
      back.SetPixel(639, 479, PackColour(back.Format(), 0xFF000000));
    }
    EXPECT_NE(m_Screen.LastFrame()[0], 0xFFFF00FFu) << "shown only once presented";

    if (c.useD3D)
      EXPECT_TRUE(DDPresent());
    else if (c.windowed)
      EXPECT_EQ(g_lpDD->BltToWindow(*g_BackSurface.lpDDPart->surface), DD_OK);
    else
      EXPECT_EQ(g_lpDD->Flip(), DD_OK);
    const std::vector<std::uint32_t> frame = m_Screen.LastFrame();
    EXPECT_EQ(frame[0], 0xFFFF00FFu);
    EXPECT_EQ(frame[640 * 240 + 320], 0xFFFF00FFu);
    EXPECT_EQ(frame[640 * 480 - 1], 0xFF000000u);
    m_Screen.SubmitFrame({}, nullptr);
  }
}

TEST_F(PresentTest, DirectDrawCopyPresentConvertsOnceInAWindowAndKeepsTheFlipChainInFullScreen) {
  // In a window the frame goes straight from the back surface to the screen: the primary, which
  // nothing reads, is not written.
  ASSERT_TRUE(StartDirectDraw(32, 1));
  cPixelBuffer& primary = g_PrimarySurface.lpDDPart->surface->Pixels();
  primary.Fill(0x0000FF);
  PixelsOf(g_BackSurface).Fill(0x00FF00);
  ASSERT_EQ(g_lpDD->BltToWindow(*g_BackSurface.lpDDPart->surface), DD_OK);
  EXPECT_EQ(m_Screen.LastFrame()[640 * 100 + 5], 0xFF00FF00u);
  EXPECT_EQ(primary.Pixel(5, 100), 0x0000FFu) << "no copy into the window's primary";

  // In full screen the copy lands in the primary, whose picture the next flip hands to the chain.
  ASSERT_TRUE(StartDirectDraw(32, 0));
  PixelsOf(g_BackSurface).Fill(0x00FF00);
  ASSERT_EQ(g_lpDD->BltToWindow(*g_BackSurface.lpDDPart->surface), DD_OK);
  EXPECT_EQ(m_Screen.LastFrame()[7], 0xFF00FF00u);
  PixelsOf(g_BackSurface).Fill(0xFF0000);
  ASSERT_EQ(g_lpDD->Flip(), DD_OK);
  EXPECT_EQ(m_Screen.LastFrame()[7], 0xFFFF0000u);
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(7, 0), 0x00FF00u) << "the copied frame went down the chain";
}

TEST_F(PresentTest, Direct3DPresentShowsTheVirtualBackBufferWhileItIsOn) {
  ASSERT_TRUE(StartDirect3D(32));
  PixelsOf(g_BackSurface).Fill(0xFF000000);
  SetVirBackBuffer(1);
  PixelsOf(g_VirBackSurface).Fill(0xFF00FF00);
  ASSERT_TRUE(DDPresent());
  EXPECT_EQ(m_Screen.LastFrame()[1000], 0xFF00FF00u);
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(5, 5) & 0xFFFFFF, 0x00FF00u) << "copied into the back buffer";
  EXPECT_EQ(g_DisplayContext->inScene, 0) << "the present closes the scene";
  SetVirBackBuffer(0);
}

TEST_F(PresentTest, PresentIsTrueAtOnceWithoutADirect3DContext) {
  EXPECT_TRUE(DDPresent());
  ASSERT_TRUE(StartDirectDraw(32));
  PixelsOf(g_BackSurface).Fill(0x00FF0000);
  EXPECT_TRUE(DDPresent());
  EXPECT_EQ(m_Screen.LastFrame()[0], 0xFF000000u) << "DirectDraw presents through its own flip";
}

TEST_F(PresentTest, ALostFullScreenDeviceMinimisesTheWindowAndAWindowedOneDoesNot) {
  for (int windowed : {0, 1}) {
    ASSERT_TRUE(StartDirect3D(32, windowed));
    m_Screen.SetMinimised(false);
    InjectDisplayLoss();
    EXPECT_FALSE(DDPresent()) << windowed;
    EXPECT_EQ(m_Screen.State().minimised, windowed == 0);
  }
}

TEST_F(PresentTest, DeviceResetBringsEveryDynamicSurfaceBackAsItWas) {
  WritePicture("bmp/cells.bmp");
  m_Descriptors[1] = SurfaceDescriptor("bmp\\cells.bmp", 1, 0, 0, 0, 0, 0, 2, 0, 0, 0);
  m_Descriptors[2] = SurfaceDescriptor("E", 0, 0, 0, 0, 0, 0, 0, 0, 3, 2);
  ASSERT_TRUE(StartDirect3D(32, 0));
  DDSetTransmit(255, 0, 128);
  ASSERT_TRUE(LoadSurfaceList(m_Table, {1, 2}));
  DDSURFACEDATA& file = m_Table[1];
  DDSURFACEDATA& empty = m_Table[2];
  const std::vector<std::uint32_t> picture = AllPixels(file);
  const std::int32_t fileNumber = file.lpDT->textureNumber;
  const std::int32_t emptyNumber = empty.lpDT->textureNumber;
  const std::list<DDSURFACEDATA*> listed = g_DynamicSurfaces;
  PixelsOf(empty).Fill(0xFF112233);
  RegisterRestoreClient(&m_Client);

  InjectDisplayLoss(1);
  EXPECT_FALSE(DDPresent());
  EXPECT_TRUE(m_Screen.State().minimised);
  // Not resettable yet: the render targets are let go and the caller asks again later.
  EXPECT_FALSE(DDRestoreSurface());
  EXPECT_FALSE(file.lpDT->texture);
  EXPECT_FALSE(empty.lpDT->lpSurface);
  EXPECT_TRUE(lpDevice->Lost());
  ASSERT_TRUE(DDRestoreSurface());
  EXPECT_FALSE(lpDevice->Lost());

  // The file surface: its picture (mirror cells included), size, key flag and number.
  EXPECT_EQ(AllPixels(file), picture);
  EXPECT_EQ(file.lpDT->textureNumber, fileNumber);
  EXPECT_EQ(file.lpDT->colourKey, 1);
  EXPECT_EQ(file.mirrorCellWidth, 2);
  EXPECT_EQ(file.width, 4);
  EXPECT_EQ(file.height, 2);
  EXPECT_EQ(file.lpDT->recreated, 0);
  // The empty surface: made anew with the creation's fill and marked, so its owner draws it again.
  EXPECT_EQ(PixelsOf(empty).Pixel(2, 1), 0xFFFF0080u);
  EXPECT_EQ(empty.lpDT->textureNumber, emptyNumber);
  EXPECT_EQ(empty.lpDT->recreated, 1);
  EXPECT_EQ(g_DynamicSurfaces, listed) << "nothing listed twice, nothing dropped";

  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface);
  EXPECT_TRUE(lpDevice->m_RenderStates.alphaBlendEnable) << "the default states are set again";
  EXPECT_FALSE(m_Screen.State().minimised);
  EXPECT_EQ(m_Client.m_Calls, (std::vector<std::string>{"lost", "lost", "restore"}));
  PixelsOf(g_BackSurface).Fill(0xFF0000FF);
  EXPECT_TRUE(DDPresent());
  EXPECT_EQ(m_Screen.LastFrame()[7], 0xFF0000FFu);
}

TEST_F(PresentTest, DeviceResetKeepsDrawingIntoTheVirtualBackBufferAndKeepsSoftwareTextures) {
  ASSERT_TRUE(StartDirect3D(16));
  DDSURFACEDATA software;
  ASSERT_TRUE(DDCreateSurface(&software, 4, 4, 0, 0, 1, 0, 0));
  const std::shared_ptr<cD3DTexture> kept = software.lpDT->texture;
  SetVirBackBuffer(1);
  InjectDisplayLoss();
  ASSERT_TRUE(DDRestoreSurface());
  EXPECT_EQ(lpDevice->RenderTarget(), g_VirBackSurface.lpDT->lpSurface);
  EXPECT_EQ(software.lpDT->texture, kept) << "a system-memory texture is taken up again, not made anew";
  SetVirBackBuffer(0);
  DDReleaseSurface(&software);
}

TEST_F(PresentTest, TheGameThreadsLossReportResetsTheDeviceOnTheWindowThread) {
  ASSERT_TRUE(StartDirect3D(32));
  TakeMainWindowMessages(WM_CLOSE);
  InjectDisplayLoss();
  std::atomic<bool> reported{false};
  std::thread game([&] {
    if (!DDPresent()) {
      ReportDeviceLost();
      reported = true;
    }
  });
  // The window thread: its procedure answers the request while the game thread waits.
  std::optional<HostMessage> msg;
  while ((msg = MainWindowQueue().TakeWithin(5000)) && msg->message != WM_GAME_DEVICELOST) {
  }
  if (!msg) BeginMessageShutdown();
  ASSERT_TRUE(msg.has_value()) << "no WM_GAME_DEVICELOST";
  EXPECT_TRUE(IsSentMessage(*msg));
  EXPECT_FALSE(reported) << "the sender waits for the restore";
  ReplyMessage(*msg, HandleDeviceLostMessage());
  game.join();
  EXPECT_TRUE(reported);
  EXPECT_FALSE(lpDevice->Lost());
  EXPECT_TRUE(DDPresent());
}

TEST_F(PresentTest, DirectDrawRestoreGivesTheTableItsPicturesBack) {
  WritePicture("bmp/pic.bmp");
  m_Descriptors[1] = SurfaceDescriptor("bmp\\pic.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  m_Descriptors[2] = SurfaceDescriptor("bmp\\pic.bmp", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  m_Descriptors[3] = SurfaceDescriptor("E", 0, 0, 0, 0, 0, 0, 0, 0, 3, 2);
  ASSERT_TRUE(StartDirectDraw(16));
  ASSERT_TRUE(LoadSurfaceList(m_Table, {1, 2, 3}));
  const std::vector<std::uint32_t> picture = AllPixels(m_Table[1]);
  PixelsOf(m_Table[2]).SetPixel(0, 0, 0x1234);
  PixelsOf(m_Table[3]).Fill(0x5555);
  RegisterRestoreClient(&m_Client);

  // Nothing lost: nothing done.
  EXPECT_TRUE(DDRestore());
  EXPECT_TRUE(m_Client.m_Calls.empty());

  InjectDisplayLoss();
  EXPECT_TRUE(DDRestore());
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->IsLost(), DD_OK);
  EXPECT_EQ(g_BackSurface.lpDDPart->surface->IsLost(), DD_OK);
  for (int i : {1, 2, 3}) EXPECT_EQ(m_Table[i].lpDDPart->surface->IsLost(), DD_OK) << i;
  EXPECT_EQ(AllPixels(m_Table[1]), picture) << "a video-memory picture is read again";
  EXPECT_EQ(PixelsOf(m_Table[2]).Pixel(0, 0), 0x1234u) << "system memory was never lost";
  EXPECT_EQ(PixelsOf(m_Table[3]).Pixel(2, 1), 0u) << "an empty surface keeps what the restore left";
  EXPECT_EQ(m_Client.m_Calls, std::vector<std::string>{"restore"});
  EXPECT_EQ(g_lpDD->Flip(), DD_OK);
}

TEST_F(PresentTest, DirectDrawRestoreAtEightBitsSetsTheFadePalette) {
  ASSERT_TRUE(StartDirectDraw(8));
  g_FadePalette[5] = {1, 2, 3, 1};
  InjectDisplayLoss();
  const PALETTEENTRY other{9, 9, 9, 1};
  g_lpDDPalette->SetEntries(5, 1, &other);
  EXPECT_TRUE(DDRestore());
  PALETTEENTRY shown;
  g_lpDDPalette->GetEntries(5, 1, &shown);
  EXPECT_EQ(shown, g_FadePalette[5]);
}

TEST_F(PresentTest, EachRestoreIsANoOpUnderTheOtherBackEnd) {
  ASSERT_TRUE(StartDirectDraw(32));
  InjectDisplayLoss();
  EXPECT_TRUE(DDRestoreSurface());
  EXPECT_EQ(g_PrimarySurface.lpDDPart->surface->IsLost(), DDERR_SURFACELOST);

  ASSERT_TRUE(StartDirect3D(32));
  InjectDisplayLoss();
  EXPECT_TRUE(DDRestore());
  EXPECT_TRUE(lpDevice->Lost());
}

TEST_F(PresentTest, AHeadlessRunWritesTheBackSurfaceAsPng) {
  ASSERT_TRUE(StartDirect3D(32));
  cPixelBuffer& back = PixelsOf(g_BackSurface);
  for (std::int32_t y = 0; y < 480; ++y)
    for (std::int32_t x = 0; x < 640; ++x)
      back.SetPixel(x, y,
                    0xFF000000u | static_cast<std::uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x + y) & 0xFF)));
  ASSERT_TRUE(DDPresent());
  ASSERT_TRUE(m_Screen.WriteLastFramePng(m_Folder / "frame.png"));

  std::vector<std::uint32_t> png;
  std::int32_t width = 0, height = 0;
  ASSERT_TRUE(ReadXrgbPng(m_Folder / "frame.png", &png, &width, &height));
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);
  for (std::int32_t y = 0; y < 480; y += 37)
    for (std::int32_t x = 0; x < 640; x += 29)
      ASSERT_EQ(png[static_cast<std::size_t>(y) * 640 + x], back.Pixel(x, y)) << x << "," << y;
}

}  // namespace
