// The end of the frame: the present through either back-end, and the way back after DirectDraw
// lost its surfaces.
#include "platform/display/bitmap_surface.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/present.h"
#include "play/play_scene.h"
#include "project/stage_data.h"
#include "shell/headless.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

cDDSurface* DirectDrawSurfaceOf(DDSURFACEDATA& record) {
  return record.lpDDPart ? record.lpDDPart->surface.get() : nullptr;
}

// A stage running faster than the monitor's usual 60 frames must not wait for the vertical blank.
bool FastStageRunning() { return g_PlayScene != nullptr && g_Stage.Field(kFrameRate) > 60; }

}  // namespace

void cSceneManager::PresentFrame() {
  if (DisplayIsD3D()) {
    m_LastPresent = PresentKind::Direct3D;
    // The window thread restores the device; this frame is simply not shown.
    if (!DDPresent()) ReportDeviceLost();
  } else if (g_lpDD && g_BackSurface.lpDDPart && g_BackSurface.lpDDPart->surface) {
    cDDSurface& back = *g_BackSurface.lpDDPart->surface;
    // The window's renderer does the waiting for the vertical blank when vertical sync is on; the
    // game thread only hands the frame over. A lost surface is brought back by the next frame.
    if (g_DisplayParams.windowed) {
      m_LastPresent = FastStageRunning() ? PresentKind::WindowAtOnce : PresentKind::WindowAfterVBlank;
      g_lpDD->BltToWindow(back);
    } else if (g_TimerPresentation == 0 && !FastStageRunning()) {
      m_LastPresent = PresentKind::Flip;
      g_lpDD->Flip();
    } else {
      m_LastPresent = PresentKind::Copy;
      g_lpDD->BltToWindow(back);
    }
  }
  OnFramePresented();
}

void cSceneManager::AddRestoreSurfaces(std::vector<DDSURFACEDATA>* surfaces) {
  if (surfaces) m_RestoreSets.push_back({surfaces, nullptr});
}

void cSceneManager::AddRestoreSurfaces(std::list<DDSURFACEDATA>* surfaces) {
  if (surfaces) m_RestoreSets.push_back({nullptr, surfaces});
}

int cSceneManager::RestoreSurface(DDSURFACEDATA& record) {
  cDDSurface* surface = DirectDrawSurfaceOf(record);
  if (!surface || surface->IsLost() != DDERR_SURFACELOST) return 1;
  surface->Restore();
  if (surface->SystemMemory() || !HasPictureFile(record)) return 1;
  return RestoreSurfaceBitmap(&record, g_DisplayParams.bpp) ? 1 : 0;
}

int cSceneManager::RestoreLostSurfaces() {
  if (DisplayIsD3D()) return 1;
  cDDSurface* primary = DirectDrawSurfaceOf(g_PrimarySurface);
  if (!primary || primary->IsLost() != DDERR_SURFACELOST) return 1;
  if (!DDRestore()) return 0;
  for (const sRestoreSet& set : m_RestoreSets) {
    if (set.vector)
      for (DDSURFACEDATA& record : *set.vector)
        if (!RestoreSurface(record)) return 0;
    if (set.list)
      for (DDSURFACEDATA& record : *set.list)
        if (!RestoreSurface(record)) return 0;
  }
  // The digit strips are drawn, not loaded: they are drawn again and never fail.
  for (int i = 0; i < kFontCount; ++i) {
    cDDSurface* strip = DirectDrawSurfaceOf(g_FontSurfaces[i]);
    if (!strip || strip->IsLost() != DDERR_SURFACELOST) continue;
    strip->Restore();
    DrawDigitStrip(&g_FontSurfaces[i], &g_Fonts[i]);
  }
  return 1;
}
