// The Direct3D scene and render target, the virtual back buffer, and the locks of both back-ends.
#include "tests/platform/display/draw_fixture.h"

namespace {

class RenderTargetTest : public DrawTest {};

TEST_F(RenderTargetTest, VirtualBackBufferTakesBackBufferDrawsAndIsCopiedBackOnce) {
  ASSERT_TRUE(StartDirect3D(32));
  PixelsOf(g_BackSurface).Fill(0x000001);
  PixelsOf(g_VirBackSurface).Fill(0xFF000002);

  SetVirBackBuffer(1);
  EXPECT_EQ(g_DisplayContext->renderTarget, &g_VirBackSurface);
  EXPECT_EQ(lpDevice->RenderTarget(), g_VirBackSurface.lpDT->lpSurface);
  DDSURFACEDATA* p = &g_BackSurface;
  EXPECT_TRUE(RedirectToVirBackBuffer(&p));
  EXPECT_EQ(p, &g_VirBackSurface);

  DDFillRectColor(&g_BackSurface, 0, 0, 2, 1, 0xFF000003);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x000001u) << "drawn to the virtual back buffer instead";
  EXPECT_EQ(At(g_VirBackSurface, 0, 0), 0xFF000003u);

  SetVirBackBuffer(0);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x000003u);
  EXPECT_EQ(At(g_BackSurface, 2, 0), 0x000002u);
  EXPECT_EQ(g_DisplayContext->renderTarget, &g_BackSurface);
  EXPECT_EQ(lpDevice->RenderTarget(), g_BackSurface.lpDT->lpSurface);
  EXPECT_EQ(g_DisplayContext->rawCopy, 0);
  p = &g_BackSurface;
  EXPECT_FALSE(RedirectToVirBackBuffer(&p));

  // Switched off again while off: nothing is copied.
  PixelsOf(g_VirBackSurface).Fill(0xFF000004);
  SetVirBackBuffer(0);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x000003u);
}

TEST_F(RenderTargetTest, RawCopyAlwaysCopiesTheVirtualBackBufferToTheBackBuffer) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA other;
  Make(other, 4, 4);
  PixelsOf(g_VirBackSurface).Fill(0xFF000009);
  PixelsOf(other).Fill(0xFF000005);
  // Whatever the records passed, the copy is of the virtual back buffer onto the back buffer.
  CopyVirBackBuffer(&other, &other);
  EXPECT_EQ(At(g_BackSurface, 0, 0), 0x000009u);
  EXPECT_EQ(At(g_BackSurface, 3, 3), 0x000009u);
  EXPECT_EQ(At(g_BackSurface, 4, 4), 0u) << "as large as the record passed as source";
  EXPECT_EQ(At(other, 0, 0), 0xFF000005u);
  DDReleaseSurface(&other);
}

TEST_F(RenderTargetTest, ScenesOpenWithTheFirstDrawAndRenderTargetsAreChecked) {
  EXPECT_FALSE(SceneBegin()) << "no device";
  ASSERT_TRUE(StartDirect3D(32));
  EXPECT_EQ(g_DisplayContext->inScene, 0);
  DDFillRectColor(&g_BackSurface, 0, 0, 1, 1, 0xFFFFFFFF);
  EXPECT_EQ(g_DisplayContext->inScene, 1);
  EXPECT_TRUE(SceneBegin());
  SceneEnd();
  EXPECT_EQ(g_DisplayContext->inScene, 0);

  DDSURFACEDATA software, target;
  Make(software, 2, 2, 0, 1);
  Make(target, 2, 2);
  EXPECT_FALSE(SetRenderTargetChecked(&software));
  EXPECT_FALSE(SetRenderTargetChecked(nullptr));
  EXPECT_TRUE(SetRenderTargetChecked(&target));
  EXPECT_EQ(lpDevice->RenderTarget(), target.lpDT->lpSurface);
  // A render target whose surface is gone cannot be drawn to: the report log says which.
  target.lpDT->lpSurface.reset();
  target.szFileName = "gone.bmp";
  EXPECT_FALSE(SetRenderTargetChecked(&target));
  EXPECT_NE(Report().find("SetRenderTarget Err 8876086c (gone.bmp)"), std::string::npos);
  DDReleaseSurface(&software);
  DDReleaseSurface(&target);
}

TEST_F(RenderTargetTest, Direct3DLocksReadRenderTargetsBackAndWriteThemOnUnlock) {
  ASSERT_TRUE(StartDirect3D(32));
  DDSURFACEDATA target;
  Make(target, 4, 2);
  PixelsOf(target).Fill(0xFF000011);
  {
    SurfaceLock lock;
    void* pixels = nullptr;
    std::int32_t pitch = 0;
    ASSERT_TRUE(lock.Lock(&target, &pixels, &pitch));
    EXPECT_EQ(lock.m_lpSD, &target);
    EXPECT_EQ(pixels, target.lpDT->lpSystemSurface->Bits()) << "the system-memory copy";
    EXPECT_EQ(pitch, 16 / 4);
    EXPECT_EQ(lock.Buffer()->Pixel(3, 1), 0xFF000011u);
    lock.Buffer()->SetPixel(0, 0, 0xFF000022);
    EXPECT_EQ(At(target, 0, 0), 0xFF000011u) << "not yet written back";
  }
  EXPECT_EQ(At(target, 0, 0), 0xFF000022u);

  // The back buffer is locked where it is.
  SurfaceLock back;
  void* pixels = nullptr;
  ASSERT_TRUE(back.Lock(&g_BackSurface, &pixels, nullptr));
  EXPECT_EQ(pixels, g_BackSurface.lpDT->lpSurface->Bits());
  back.Unlock();
  EXPECT_EQ(back.m_lpSD, nullptr);
  EXPECT_EQ(back.m_pPixels, nullptr);

  // A lost device cannot read a render target back: nothing is locked.
  InjectDisplayLoss(1);
  SurfaceLock failed;
  EXPECT_FALSE(failed.Lock(&target, &pixels, nullptr));
  EXPECT_EQ(failed.m_lpSD, nullptr);
  DDReleaseSurface(&target);
}

TEST_F(RenderTargetTest, DirectDrawLocksGiveTheSurfacePixelsUnlessLost) {
  ASSERT_TRUE(StartDirectDraw(16));
  DDSURFACEDATA record;
  Make(record, 3, 2);
  DDSURFACEDESC2 desc;
  void* pixels = nullptr;
  ASSERT_TRUE(DDLock(&record, &desc, &pixels, 16));
  EXPECT_EQ(pixels, PixelsOf(record).Bits());
  EXPECT_EQ(desc.dwWidth, 3);
  EXPECT_EQ(desc.lPitch, 16);
  EXPECT_EQ(desc.ddpfPixelFormat.gBitMask, 0x07E0u);
  DDUnlock(&record);

  SurfaceLock lock;
  std::int32_t pitch = 0;
  ASSERT_TRUE(lock.Lock(&record, &pixels, &pitch));
  EXPECT_EQ(pitch, 8);
  lock.Unlock();

  InjectDisplayLoss();
  EXPECT_FALSE(DDLock(&record, &desc, &pixels, 16));
  EXPECT_FALSE(lock.Lock(&record, &pixels, &pitch));
  EXPECT_EQ(lock.Buffer(), nullptr);
  DDReleaseSurface(&record);

  // Direct3D records are not locked this way; the caller gets no pixels to write to.
  ASSERT_TRUE(StartDirect3D(32));
  pixels = nullptr;
  EXPECT_FALSE(DDLock(&g_BackSurface, &desc, &pixels, 32));
  EXPECT_EQ(pixels, nullptr);
}

}  // namespace
