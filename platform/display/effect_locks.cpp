#include "platform/display/effect_locks.h"

#include <cstring>

#include "platform/display/blit_internal.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/quad.h"

namespace {

sEffectSurface SurfaceOf(const cPixelBuffer& buffer, const DDSURFACEDATA* record) {
  sEffectSurface s;
  s.bits = const_cast<std::uint8_t*>(buffer.Bits());
  s.pitch = buffer.Pitch();
  // A texture may be larger than its picture (rounded sizes): the record's size is what is drawn.
  s.width = std::clamp(record->width, 0, buffer.Width());
  s.height = std::clamp(record->height, 0, buffer.Height());
  s.format = buffer.Format();
  return s;
}

// The source of an effect drawn onto its own record: the pixels as they were when the call began.
// Kept per thread and grown only when a larger surface comes, so a call allocates once at most.
cPixelBuffer& SnapshotOf(const cPixelBuffer& from) {
  thread_local cPixelBuffer snapshot;
  if (snapshot.Empty() || snapshot.Width() != from.Width() || snapshot.Height() != from.Height() ||
      snapshot.Format() != from.Format())
    snapshot.Create(from.Width(), from.Height(), from.Format());
  if (!snapshot.Empty() && snapshot.SizeBytes() == from.SizeBytes())
    std::memcpy(snapshot.Bits(), from.Bits(), from.SizeBytes());
  return snapshot;
}

sChannelMasks MasksOf(int set) {
  sChannelMasks m;
  const std::uint32_t* g = g_ColorMasks.data() + set;
  const int shifts[4] = {kMaskRShift, kMaskGShift, kMaskBShift, kMaskAShift};
  const int masks[4] = {kMaskR, kMaskG, kMaskB, kMaskA};
  for (int c = 0; c < 4; ++c) {
    // Shifts past the pixel would be undefined; the masks stay within one byte's range of values.
    m.shift[c] = std::min<std::uint32_t>(g[shifts[c]], 31);
    m.mask[c] = std::min<std::uint32_t>(g[masks[c]], 255);
  }
  return m;
}

}  // namespace

void ResolveEffectRecords(DDSURFACEDATA** dst, DDSURFACEDATA** src) {
  if (!DisplayIsD3D()) return;
  ResolveSharedSurface(dst);
  ResolveSharedSurface(src);
  RedirectToVirBackBuffer(dst);
  RedirectToVirBackBuffer(src);
}

bool cEffectLocks::Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src) {
  if (!dst || !src) return false;
  if (!m_DstLock.Lock(dst, nullptr, nullptr)) return false;
  const cPixelBuffer& to = *m_DstLock.Buffer();
  m_Dst = SurfaceOf(to, dst);
  if (src == dst) {
    cPixelBuffer& copy = SnapshotOf(to);
    if (copy.Empty()) {
      m_DstLock.Unlock();
      return false;
    }
    m_Src = SurfaceOf(copy, src);
    return true;
  }
  if (!m_SrcLock.Lock(src, nullptr, nullptr)) {
    m_DstLock.Unlock();
    return false;
  }
  m_Src = SurfaceOf(*m_SrcLock.Buffer(), src);
  return true;
}

int cEffectLocks::PixelBytes() const {
  const int bytes = ::BytesPerPixel(m_Dst.format);
  if (bytes != ::BytesPerPixel(m_Src.format) || bytes * 8 != g_DisplayParams.bpp) return 0;
  return bytes;
}

sSpan ClipSpan(std::int64_t n, std::int64_t a, std::int64_t limitA, std::int64_t b, std::int64_t limitB) {
  const std::int64_t first = std::max({std::int64_t{0}, -a, -b});
  const std::int64_t end = std::min({n, limitA - a, limitB - b});
  if (first >= end) return {};
  return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(end)};
}

sChannelMasks sChannelMasks::Surface() { return MasksOf(kSurfaceMasks); }
sChannelMasks sChannelMasks::BackBuffer() { return MasksOf(kBackBufferMasks); }

std::uint32_t EffectTransparent(int bytes) {
  if (!DisplayIsD3D()) return g_TransparentPixel;
  return bytes == 2 ? g_DisplayContext->transparent16 : g_DisplayContext->transparent32;
}

cD3D16Packer::cD3D16Packer(const DDSURFACEDATA* dst)
    : m_Fullscreen(DisplayIsD3D() && IsFullscreenBackBuffer(dst)),
      m_Surface(sChannelMasks::Surface()),
      m_Back(sChannelMasks::BackBuffer()),
      m_AlphaBit(m_Surface.AlphaBit()) {}

bool IsSoftwareTexture(const DDSURFACEDATA* lpSD) { return lpSD && lpSD->lpDT && lpSD->lpDT->software; }

bool DrawEffectQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const D3DTextureStage& stage,
                    std::uint32_t textureFactor) {
  if (!lpDevice || !src || !src->lpDT || !src->lpDT->vertexBuffer) return false;
  if (!SceneBegin() || !SetRenderTargetChecked(dst)) return false;
  lpDevice->m_Stage0 = stage;
  lpDevice->m_RenderStates.textureFactor = textureFactor;
  // A record without a texture of its own (the back buffer) gives stage 0 opaque white texels.
  DrawQuad(*lpDevice, *src->lpDT->vertexBuffer, src->lpDT->texture ? src->lpDT->lpSurface.get() : nullptr);
  RestoreContextRenderTarget();
  return true;
}
