// Locks of a record's pixels. Under Direct3D a render-target texture cannot be read where it lives:
// a lock reads it into the record's system-memory copy and the unlock writes the copy back, as the
// device's read-back and update would; the back buffer and software textures are locked directly.
#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"

namespace {

// The device's read-back (GetRenderTargetData) and update (UpdateSurface): whole surfaces of one
// size and format; they fail while the device is lost.
bool CopySurface(const cPixelBuffer& from, cPixelBuffer& to) {
  if (!lpDevice || lpDevice->Lost() || from.Empty() || from.Width() != to.Width() || from.Height() != to.Height() ||
      from.Format() != to.Format() || from.SizeBytes() != to.SizeBytes())
    return false;
  std::copy_n(from.Bits(), from.SizeBytes(), to.Bits());
  return true;
}

// A record locked through its system-memory copy.
bool ReadsBack(const DDSURFACEDATA* lpSD) { return lpSD->lpDT->renderTarget && lpSD != &g_BackSurface; }

}  // namespace

bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* desc, void** pixels, std::int32_t bpp) {
  if (DisplayIsD3D()) {
    // Direct3D records are locked with SurfaceLock; a caller given no pixels must not write.
    LogF("%s", SJ("D3DではDDLockは未対応").c_str());
    return false;
  }
  if (!lpSD || !desc || !lpSD->lpDDPart || !lpSD->lpDDPart->surface) return false;
  cDDSurface& surface = *lpSD->lpDDPart->surface;
  cPixelBuffer* buffer = nullptr;
  if (FAILED(surface.Lock(&buffer))) return false;
  *desc = {};
  desc->dwWidth = buffer->Width();
  desc->dwHeight = buffer->Height();
  desc->lPitch = buffer->Pitch();
  desc->lpSurface = buffer->Bits();
  surface.GetPixelFormat(&desc->ddpfPixelFormat);
  if (pixels && (bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) *pixels = desc->lpSurface;
  return true;
}

void DDUnlock(DDSURFACEDATA* lpSD) {
  if (!DisplayIsD3D() && lpSD && lpSD->lpDDPart && lpSD->lpDDPart->surface) lpSD->lpDDPart->surface->Unlock();
}

bool SurfaceLock::Lock(DDSURFACEDATA* lpSD, void** pixels, std::int32_t* pitchPixels) {
  Unlock();
  if (!lpSD) return false;
  cPixelBuffer* buffer = nullptr;
  if (DisplayIsD3D()) {
    if (!lpSD->lpDT) return false;
    D3DSurfacePart& dt = *lpSD->lpDT;
    if (ReadsBack(lpSD)) {
      if (!dt.lpSurface || !dt.lpSystemSurface || !CopySurface(*dt.lpSurface, *dt.lpSystemSurface)) {
        DebugMesBox("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )");
        return false;
      }
      buffer = dt.lpSystemSurface.get();
    } else {
      if (!dt.lpSurface || dt.lpSurface->Empty()) {
        DebugMesBox("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
        return false;
      }
      buffer = dt.lpSurface.get();
    }
  } else {
    DDSURFACEDESC2 desc;
    void* bits = nullptr;
    if (!DDLock(lpSD, &desc, &bits, g_DisplayParams.bpp)) return false;
    buffer = &lpSD->lpDDPart->surface->Pixels();
  }
  // A DirectDraw buffer was opened for writing by DDLock already.
  if (DisplayIsD3D()) buffer->OpenWrites();
  m_lpSD = lpSD;
  m_Buffer = buffer;
  m_pPixels = buffer->Bits();
  if (pixels) *pixels = m_pPixels;
  if (pitchPixels) *pitchPixels = buffer->Pitch() / buffer->BytesPerPixel();
  return true;
}

void SurfaceLock::Unlock() {
  if (!m_lpSD) return;
  if (DisplayIsD3D()) {
    m_Buffer->CloseWrites();
    if (m_lpSD->lpDT && ReadsBack(m_lpSD) && m_lpSD->lpDT->lpSurface && m_lpSD->lpDT->lpSystemSurface &&
        !CopySurface(*m_lpSD->lpDT->lpSystemSurface, *m_lpSD->lpDT->lpSurface))
      DebugMesBox(
          "FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, m_lpSD->lpDT->lpSurface, NULL)");
  } else {
    DDUnlock(m_lpSD);
  }
  m_lpSD = nullptr;
  m_pPixels = nullptr;
  m_Buffer = nullptr;
}
