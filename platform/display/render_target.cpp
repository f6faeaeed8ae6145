// The Direct3D scene, the render target and the virtual back buffer. A frame's scene is opened by
// its first draw and closed by the present (or by the dialog mode). While the virtual back buffer
// is on, everything drawn to the back buffer goes to g_VirBackSurface, a texture the effects can
// read, and the present copies it to the back buffer.
#include "platform/display/blit.h"
#include "platform/display/blit_internal.h"
#include "platform/display/display.h"
#include "platform/services/log.h"

bool SceneBegin() {
  if (!lpDevice || !g_DisplayContext) return false;
  // The device keeps no scene of its own: drawing into memory needs no bracket.
  g_DisplayContext->inScene = 1;
  return true;
}

void SceneEnd() {
  if (lpDevice && g_DisplayContext) g_DisplayContext->inScene = 0;
}

bool SetRenderTargetChecked(DDSURFACEDATA* lpSD) {
  if (!lpDevice || !lpSD || !lpSD->lpDT || !lpSD->lpDT->renderTarget) return false;
  const HRESULT hr = lpDevice->SetRenderTarget(lpSD->lpDT->lpSurface);
  if (FAILED(hr)) {
    ReportLog("SetRenderTarget Err %x (%s)", static_cast<unsigned>(hr), lpSD->szFileName.c_str());
    return false;
  }
  return true;
}

void RestoreContextRenderTarget() {
  if (!lpDevice || !g_DisplayContext) return;
  DDSURFACEDATA* target = g_DisplayContext->renderTarget;
  if (target && target->lpDT && target->lpDT->lpSurface) lpDevice->SetRenderTarget(target->lpDT->lpSurface);
}

bool RedirectToVirBackBuffer(DDSURFACEDATA** p) {
  if (!p || !g_DisplayContext || !g_DisplayContext->virBackOn || *p != &g_BackSurface) return false;
  *p = &g_VirBackSurface;
  return true;
}

void CopyVirBackBuffer(DDSURFACEDATA* dst, DDSURFACEDATA* src) {
  if (!src) return;
  if (g_DisplayContext) g_DisplayContext->rawCopy = 1;
  DDBlt(dst, 0, 0, src->width, src->height, src, 0, 0, 0);
  if (g_DisplayContext) g_DisplayContext->rawCopy = 0;
}

void SetVirBackBuffer(std::int32_t on) {
  if (!g_DisplayContext) return;
  DisplayContext& context = *g_DisplayContext;
  const bool hasSurface = g_VirBackSurface.lpDT && g_VirBackSurface.lpDT->lpSurface;
  if (context.virBackOn && !on && hasSurface) CopyVirBackBuffer(&g_BackSurface, &g_VirBackSurface);
  context.virBackOn = on;
  DDSURFACEDATA* target = on ? &g_VirBackSurface : &g_BackSurface;
  context.renderTarget = target;
  if (lpDevice && target->lpDT && target->lpDT->lpSurface) lpDevice->SetRenderTarget(target->lpDT->lpSurface);
}

bool IsFullscreenBackBuffer(const DDSURFACEDATA* lpSD) { return lpSD == &g_BackSurface && !g_DisplayParams.windowed; }
