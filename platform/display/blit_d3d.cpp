// Direct3D copies: a textured quad from the source's texture onto the destination render target,
// or, when either record is a system-memory (software) texture, a pixel copy through locks.
#include <algorithm>
#include <vector>

#include "platform/display/blit.h"
#include "platform/display/blit_internal.h"
#include "platform/display/blit_rows.h"
#include "platform/display/display.h"
#include "platform/display/quad.h"

namespace {

// The colour an unkeyed copy of a keyed source clears its rectangle with first: the key colour,
// opaque, on the back buffer (where the copy's transparent pixels then show it, as an unkeyed
// copy would), transparency on a texture. The 16-bit values are pixels of the texture format and
// are given to Clear as the colours they stand for.
std::uint32_t UnkeyedClearColour(const DDSURFACEDATA* dst) {
  const DisplayContext& context = *g_DisplayContext;
  const bool sixteen = g_DisplayParams.bpp == 16;
  if (dst == &g_BackSurface)
    return sixteen ? UnpackColour(PixelFormat::Argb1555, context.opaqueKey16) : context.opaqueKey32;
  return sixteen ? UnpackColour(PixelFormat::Argb1555, context.transparent16) : context.transparent32;
}

void QuadCopy(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
              std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh, std::int32_t key) {
  DisplayContext& context = *g_DisplayContext;
  D3DSurfacePart& from = *src->lpDT;
  // A record without its vertex buffer cannot be drawn from.
  if (!from.vertexBuffer) return;
  WriteQuadVertices(*from.vertexBuffer, x, y, w, h, sx, sy, sw, sh, src->textureWidth, src->textureHeight,
                    context.drawColor);
  if (!SceneBegin() || !SetRenderTargetChecked(dst)) return;
  if (key == 0 && from.colourKey) {
    const PixelRect rect{std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)};
    lpDevice->Clear(&rect, UnkeyedClearColour(dst));
  }
  lpDevice->m_Stage0 = {context.colorOp, D3DTA_TEXTURE, D3DTA_DIFFUSE, context.alphaOp, D3DTA_TEXTURE, D3DTA_DIFFUSE};
  DrawQuad(*lpDevice, *from.vertexBuffer, from.lpSurface.get());
  RestoreContextRenderTarget();
}

std::vector<std::uint8_t>& SourceSnapshot(std::size_t n) {
  thread_local std::vector<std::uint8_t> bytes;
  if (bytes.size() < n) bytes.resize(n);
  return bytes;
}

// The software copy's pixel rule at one pixel width.
template <typename T>
struct sSoftwarePixels {
  std::uint8_t* to;
  std::int32_t toPitch;
  const std::uint8_t* from;
  std::int32_t fromPitch;
  bool keyed;
  T key;
  bool toFullscreen16;  // 16 bits onto the full-screen back buffer: re-packed

  T Convert(T p) const {
    if constexpr (sizeof(T) == 2) {
      if (toFullscreen16) {
        const std::uint32_t* s = g_ColorMasks.data() + kSurfaceMasks;
        const std::uint32_t* b = g_ColorMasks.data() + kBackBufferMasks;
        const std::uint32_t red = (p >> s[kMaskRShift]) & s[kMaskR];
        const std::uint32_t green = (p >> s[kMaskGShift]) & s[kMaskG];
        const std::uint32_t blue = (p >> s[kMaskBShift]) & s[kMaskB];
        return static_cast<T>((red << b[kMaskRShift]) | (green << (b[kMaskGShift] + 1)) | (blue << b[kMaskBShift]));
      }
    }
    return p;
  }
  void Put(std::int32_t dx, std::int32_t dy, std::int32_t sxx, std::int32_t syy) const {
    const T p = LoadPixel<T>(from + static_cast<std::ptrdiff_t>(syy) * fromPitch, sxx);
    if (keyed && p == key) return;
    StorePixel<T>(to + static_cast<std::ptrdiff_t>(dy) * toPitch, dx, Convert(p));
  }
  // Count pixels of one row, same size.
  void Run(std::int32_t dx, std::int32_t dy, std::int32_t sxx, std::int32_t syy, std::int32_t count) const {
    std::uint8_t* out = to + static_cast<std::ptrdiff_t>(dy) * toPitch + static_cast<std::ptrdiff_t>(dx) * sizeof(T);
    const std::uint8_t* in =
        from + static_cast<std::ptrdiff_t>(syy) * fromPitch + static_cast<std::ptrdiff_t>(sxx) * sizeof(T);
    if (sizeof(T) == 2 && toFullscreen16) {
      for (std::int32_t i = 0; i < count; ++i) Put(dx + i, dy, sxx + i, syy);
    } else if (keyed) {
      CopyRowKeyed<T>(out, in, count, key);
    } else {
      CopyRow<T>(out, in, count);
    }
  }
};

struct sBounds {
  std::int32_t toWidth, toHeight, fromWidth, fromHeight;
};

template <typename T>
void SoftwarePixels(const sSoftwarePixels<T>& px, const sBounds& b, std::int32_t x, std::int32_t y, std::int32_t w,
                    std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh) {
  // The columns and rows of the destination that lie inside it.
  const std::int64_t c0 = std::max<std::int64_t>(0, -std::int64_t{x});
  const std::int64_t c1 = std::min<std::int64_t>(w, std::int64_t{b.toWidth} - x);
  const std::int64_t r0 = std::max<std::int64_t>(0, -std::int64_t{y});
  const std::int64_t r1 = std::min<std::int64_t>(h, std::int64_t{b.toHeight} - y);
  if (w == sw && h == sh) {
    // The source must lie inside the source as well.
    const std::int64_t first = std::max<std::int64_t>(c0, -std::int64_t{sx});
    const std::int64_t end = std::min<std::int64_t>(c1, std::int64_t{b.fromWidth} - sx);
    if (first >= end) return;
    for (std::int64_t r = r0; r < r1; ++r) {
      const std::int64_t syy = sy + r;
      if (syy < 0 || syy >= b.fromHeight) continue;
      px.Run(static_cast<std::int32_t>(x + first), static_cast<std::int32_t>(y + r),
             static_cast<std::int32_t>(sx + first), static_cast<std::int32_t>(syy),
             static_cast<std::int32_t>(end - first));
    }
    return;
  }
  // Scaled: source row sy + trunc(r * fy); source column offset u = trunc(c * fx), taken inside the
  // span, one to the left for a mirrored span.
  const float fx = static_cast<float>(sw) / static_cast<float>(w);
  const float fy = static_cast<float>(sh) / static_cast<float>(h);
  for (std::int64_t r = r0; r < r1; ++r) {
    const std::int64_t syy = sy + static_cast<std::int64_t>(static_cast<float>(r) * fy);
    if (syy < 0 || syy >= b.fromHeight) continue;
    for (std::int64_t c = c0; c < c1; ++c) {
      std::int64_t u = static_cast<std::int64_t>(static_cast<float>(c) * fx);
      if (sw > 0 ? (u < 0 || u >= sw) : (u <= sw || u > 0)) continue;
      if (sw < 0) --u;
      const std::int64_t sxx = sx + u;
      if (sxx < 0 || sxx >= b.fromWidth) continue;
      px.Put(static_cast<std::int32_t>(x + c), static_cast<std::int32_t>(y + r), static_cast<std::int32_t>(sxx),
             static_cast<std::int32_t>(syy));
    }
  }
}

void SoftwareCopy(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                  std::int32_t key) {
  // A quad drawn right to left (or bottom to top) covers the pixels before x: the same copy with
  // both spans turned round.
  if (w < 0) {
    x += w, w = -w, sx += sw, sw = -sw;
  }
  if (h < 0) {
    y += h, h = -h, sy += sh, sh = -sh;
  }
  if (w == 0 || h == 0) return;
  SurfaceLock toLock, fromLock;
  void* toPixels = nullptr;
  void* fromPixels = nullptr;
  if (!toLock.Lock(dst, &toPixels, nullptr) || !fromLock.Lock(src, &fromPixels, nullptr)) return;
  cPixelBuffer& to = *toLock.Buffer();
  const cPixelBuffer& from = *fromLock.Buffer();
  if (to.BytesPerPixel() != from.BytesPerPixel()) return;
  const sBounds bounds{std::min(dst->width, to.Width()), std::min(dst->height, to.Height()),
                       std::min(src->width, from.Width()), std::min(src->height, from.Height())};
  const std::uint8_t* fromBits = from.Bits();
  if (&to == &from) {
    std::vector<std::uint8_t>& copy = SourceSnapshot(from.SizeBytes());
    std::copy_n(from.Bits(), from.SizeBytes(), copy.begin());
    fromBits = copy.data();
  }
  const DisplayContext& context = *g_DisplayContext;
  if (to.BytesPerPixel() == 2) {
    const sSoftwarePixels<std::uint16_t> px{
        to.Bits(), to.Pitch(), fromBits, from.Pitch(), key != 0, context.transparent16, IsFullscreenBackBuffer(dst)};
    SoftwarePixels(px, bounds, x, y, w, h, sx, sy, sw, sh);
  } else if (to.BytesPerPixel() == 4) {
    const sSoftwarePixels<std::uint32_t> px{
        to.Bits(), to.Pitch(), fromBits, from.Pitch(), key != 0, context.transparent32, false};
    SoftwarePixels(px, bounds, x, y, w, h, sx, sy, sw, sh);
  }
}

}  // namespace

void StretchBltD3D(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                   std::int32_t key) {
  if (!dst || !src || !g_DisplayContext || !lpDevice) return;
  ResolveSharedSurface(&dst);
  ResolveSharedSurface(&src);
  if (g_DisplayContext->rawCopy) {
    dst = &g_BackSurface;
    src = &g_VirBackSurface;
  } else {
    RedirectToVirBackBuffer(&dst);
    RedirectToVirBackBuffer(&src);
  }
  if (!dst->lpDT || !src->lpDT) return;
  if (!dst->lpDT->software && !src->lpDT->software)
    QuadCopy(dst, x, y, w, h, src, sx, sy, sw, sh, key);
  else
    SoftwareCopy(dst, x, y, w, h, src, sx, sy, sw, sh, key);
}
