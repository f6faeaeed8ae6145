#include "tests/platform/display/display_fixture.h"

namespace {

class DeviceLossTest : public DisplayTest {};

TEST_F(DeviceLossTest, ALostDeviceResetsOnlyOnceItsRenderTargetsAreLetGo) {
  ASSERT_TRUE(StartDirect3D(32, 0));
  PixelsOf(g_VirBackSurface).Fill(0xFF00FF00);
  InjectDisplayLoss(2);
  EXPECT_TRUE(lpDevice->Lost());
  EXPECT_EQ(lpDevice->Present(), D3DERR_DEVICELOST);
  EXPECT_EQ(PixelsOf(g_VirBackSurface).Pixel(5, 5), 0u) << "render targets lose their pixels";
  // Not yet resettable twice, then ready for the reset.
  EXPECT_EQ(lpDevice->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(lpDevice->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(lpDevice->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

  const D3DPresentParams params = g_DisplayContext->presentParams;
  EXPECT_EQ(lpDevice->Reset(params), D3DERR_INVALIDCALL) << "render-target textures still held";
  for (DDSURFACEDATA* record : g_DynamicSurfaces) {
    record->lpDT->texture.reset();
    record->lpDT->lpSurface.reset();
  }
  EXPECT_EQ(lpDevice->Reset(params), D3DERR_INVALIDCALL) << "the back buffer still held";
  g_BackSurface.lpDT->lpSurface.reset();
  ASSERT_EQ(lpDevice->Reset(params), D3D_OK);
  EXPECT_FALSE(lpDevice->Lost());
  // A reset device has the interface's default states until they are set again.
  EXPECT_FALSE(lpDevice->m_RenderStates.alphaBlendEnable);
  SetDefaultRenderStates();
  EXPECT_TRUE(lpDevice->m_RenderStates.alphaBlendEnable);

  // The records come back in place: same numbers, not listed twice.
  lpDevice->GetBackBuffer(&g_BackSurface.lpDT->lpSurface);
  for (DDSURFACEDATA* record : std::list<DDSURFACEDATA*>(g_DynamicSurfaces))
    ASSERT_TRUE(DDCreateSurface(record, record->width, record->height, record->lpDT->colourKey, record->systemMemory,
                                record->lpDT->software, 0, 1));
  EXPECT_EQ(g_DynamicSurfaces, (std::list<DDSURFACEDATA*>{&g_VirBackSurface, &g_WorkSurface}));
  EXPECT_EQ(g_WorkSurface.lpDT->textureNumber, 2);
  EXPECT_TRUE(g_WorkSurface.lpDT->texture);
  EXPECT_EQ(lpDevice->Present(), D3D_OK);
}

TEST_F(DeviceLossTest, SystemMemoryTexturesSurviveTheLoss) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA software;
  ASSERT_TRUE(DDCreateSurface(&software, 8, 8, 0, 0, 1, 0, 0));
  PixelsOf(software).Fill(0xFF123456);
  InjectDisplayLoss();
  EXPECT_EQ(PixelsOf(software).Pixel(7, 7), 0xFF123456u);
  // Taken up again by a restore, not made anew.
  std::shared_ptr<cD3DTexture> before = software.lpDT->texture;
  ASSERT_TRUE(DDCreateSurface(&software, 8, 8, 0, 0, 1, 0, 1));
  EXPECT_EQ(software.lpDT->texture, before);
  DDReleaseSurface(&software);
}

TEST_F(DeviceLossTest, DirectDrawLosesVideoMemoryAndItsPrimaryUntilRestored) {
  ASSERT_TRUE(StartDirectDraw(16));
  InjectDisplayLoss();
  cDDSurface& primary = *g_PrimarySurface.lpDDPart->surface;
  EXPECT_EQ(primary.IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(g_BackSurface.lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(g_ScreenCopySurface.lpDDPart->surface->IsLost(), DD_OK) << "system memory is never lost";
  EXPECT_EQ(g_lpDD->Flip(), DDERR_SURFACELOST);
  primary.Restore();
  g_BackSurface.lpDDPart->surface->Restore();
  EXPECT_EQ(g_lpDD->Flip(), DD_OK);
}

}  // namespace
