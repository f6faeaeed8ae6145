// Fills: a rectangle of a record set to a palette colour or a ready value. The rectangle is cut to
// the record at all four edges under both back-ends; a fill of no width or height changes nothing.
#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/blit_internal.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/quad.h"

namespace {

// The part of (x, y, w, h) inside a record of width x height; empty (left == right) when none.
PixelRect ClipToRecord(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t width,
                       std::int32_t height) {
  const auto clamp = [](std::int64_t v, std::int32_t limit) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, limit));
  };
  PixelRect r{clamp(x, width), clamp(y, height), clamp(std::int64_t{x} + std::max(w, 0), width),
              clamp(std::int64_t{y} + std::max(h, 0), height)};
  if (r.left >= r.right || r.top >= r.bottom) r.right = r.left, r.bottom = r.top;
  return r;
}

bool IsEmpty(const PixelRect& r) { return r.left >= r.right || r.top >= r.bottom; }

HRESULT FillDD(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
               std::uint32_t value) {
  if (!lpSD || !lpSD->lpDDPart || !lpSD->lpDDPart->surface) return DDERR_INVALIDPARAMS;
  cDDSurface& surface = *lpSD->lpDDPart->surface;
  cPixelBuffer* pixels = nullptr;
  if (HRESULT hr = surface.Lock(&pixels); FAILED(hr)) return hr;
  const PixelRect rect = ClipToRecord(x, y, w, h, pixels->Width(), pixels->Height());
  if (!IsEmpty(rect)) pixels->FillRect(rect, value);
  surface.Unlock();
  return DD_OK;
}

// A Direct3D render target: a keyed record's key value clears; every other colour is a quad of the
// texture factor, blended by its alpha.
void FillRenderTarget(DDSURFACEDATA* lpSD, const PixelRect& rect, std::uint32_t colour) {
  const DisplayContext& context = *g_DisplayContext;
  D3DSurfacePart& dt = *lpSD->lpDT;
  if (dt.colourKey) {
    if (lpSD == &g_BackSurface && colour == context.opaqueKey32) {
      lpDevice->Clear(&rect, context.opaqueKey32);
      return;
    }
    if (lpSD != &g_BackSurface && colour == context.transparent32) {
      lpDevice->Clear(&rect, g_DisplayParams.bpp == 16 ? UnpackColour(PixelFormat::Argb1555, context.transparent16)
                                                       : context.transparent32);
      return;
    }
  }
  if (!dt.vertexBuffer) return;
  WriteQuadVertices(*dt.vertexBuffer, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0, 0, 0,
                    1, 1, colour);
  lpDevice->m_RenderStates.textureFactor = colour;
  D3DTextureStage& stage = lpDevice->m_Stage0;
  stage.colorOp = D3DTOP_SELECTARG2;
  stage.colorArg2 = D3DTA_TFACTOR;
  stage.alphaOp = D3DTOP_SELECTARG2;
  stage.alphaArg2 = D3DTA_TFACTOR;
  DrawQuad(*lpDevice, *dt.vertexBuffer, nullptr);
}

void FillD3D(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
             std::uint32_t colour) {
  if (!lpSD || !g_DisplayContext || !lpDevice) return;
  ResolveSharedSurface(&lpSD);
  RedirectToVirBackBuffer(&lpSD);
  if (!lpSD->lpDT) return;
  if (!lpSD->lpDT->software) {
    if (!SceneBegin() || !SetRenderTargetChecked(lpSD)) return;
    const PixelRect rect = ClipToRecord(x, y, w, h, lpSD->width, lpSD->height);
    if (!IsEmpty(rect)) FillRenderTarget(lpSD, rect, colour);
    RestoreContextRenderTarget();
    return;
  }
  // A software texture takes the value as it is, unblended: 32 bits the colour itself, 16 bits the
  // colour in the texture's format.
  SurfaceLock lock;
  if (!lock.Lock(lpSD, nullptr, nullptr)) return;
  cPixelBuffer& pixels = *lock.Buffer();
  const PixelRect rect =
      ClipToRecord(x, y, w, h, std::min(lpSD->width, pixels.Width()), std::min(lpSD->height, pixels.Height()));
  if (IsEmpty(rect)) return;
  pixels.FillRect(rect, pixels.BytesPerPixel() == 4 ? colour : PackColour(pixels.Format(), colour));
}

}  // namespace

HRESULT DDFillRect(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   std::uint32_t dwPalNum) {
  const std::uint32_t value = PalNumToRGB(dwPalNum);
  if (DisplayIsD3D()) {
    FillD3D(lpSD, x, y, w, h, value);
    return DD_OK;
  }
  return FillDD(lpSD, x, y, w, h, value);
}

void DDClear(DDSURFACEDATA* lpSD, std::uint32_t dwPalNum) {
  if (lpSD) DDFillRect(lpSD, 0, 0, lpSD->width, lpSD->height, dwPalNum);
}

void DDFillRectColor(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::uint32_t colour) {
  if (DisplayIsD3D())
    FillD3D(lpSD, x, y, w, h, colour);
  else
    FillDD(lpSD, x, y, w, h, colour);
}
