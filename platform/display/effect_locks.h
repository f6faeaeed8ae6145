#pragma once
// Inside the display library: what every pixel effect shares. An effect draws a rectangle of one
// surface into another through a per-pixel rule, on the locked pixels of both: the records are
// resolved (Direct3D: shared records, then the virtual back buffer), the destination is locked, then
// the source; they are unlocked in the reverse order. The rules read channels with the shifts and
// masks of g_ColorMasks and compare pixels with the back-end's transparent value.
//
// No effect reads or writes a pixel outside the records it was given, whatever rectangle a script
// asks for: the spans below cut every rectangle to both surfaces first.
#include <algorithm>
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/blit_rows.h"
#include "platform/display/d3d_device.h"
#include "platform/display/pixel_buffer.h"

struct DDSURFACEDATA;

// One locked surface as an effect sees it: the record's pixels, never more than the buffer holds.
struct sEffectSurface {
  std::uint8_t* bits = nullptr;
  std::int32_t pitch = 0;  // bytes
  std::int32_t width = 0;
  std::int32_t height = 0;
  PixelFormat format = PixelFormat::Xrgb8888;

  std::uint8_t* Row(std::int32_t y) const { return bits + static_cast<std::ptrdiff_t>(y) * pitch; }
  bool Inside(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Direct3D: each record replaced by the one it shares its texture with, then g_BackSurface by the
// virtual back buffer while that is on. DirectDraw: unchanged.
void ResolveEffectRecords(DDSURFACEDATA** dst, DDSURFACEDATA** src);

// The locks of one effect call. The destination is locked first and released last.
class cEffectLocks {
 public:
  cEffectLocks() = default;
  cEffectLocks(const cEffectLocks&) = delete;
  cEffectLocks& operator=(const cEffectLocks&) = delete;

  // Locks the records as given (resolve them first). False when a lock failed (the lock reports
  // it); nothing is held then. When both are one record the source is a copy taken before the
  // effect draws, so a rule never reads pixels it has already changed.
  bool Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src);

  const sEffectSurface& Dst() const { return m_Dst; }
  const sEffectSurface& Src() const { return m_Src; }
  // The bytes of a pixel of both surfaces when they agree with each other and with the display
  // depth (1, 2 or 4); 0 when the rule must draw nothing.
  int PixelBytes() const;

 private:
  SurfaceLock m_DstLock;
  SurfaceLock m_SrcLock;
  sEffectSurface m_Dst;
  sEffectSurface m_Src;
};

// The offsets k of 0 .. n - 1 for which a + k lies in 0 .. limitA - 1 and b + k in 0 .. limitB - 1:
// one axis of a rectangle cut to both surfaces. Empty (first >= end) when none does.
struct sSpan {
  std::int32_t first = 0;
  std::int32_t end = 0;
  bool Empty() const { return first >= end; }
};
sSpan ClipSpan(std::int64_t n, std::int64_t a, std::int64_t limitA, std::int64_t b, std::int64_t limitB);

// The shifts and masks of one group of g_ColorMasks: red, green, blue, alpha.
struct sChannelMasks {
  std::uint32_t shift[4] = {0, 0, 0, 0};
  std::uint32_t mask[4] = {0, 0, 0, 0};

  // The group every surface the effects read is described by.
  static sChannelMasks Surface();
  // The Direct3D back buffer of 16-bit mode.
  static sChannelMasks BackBuffer();

  std::uint32_t Get(std::uint32_t pixel, int channel) const { return (pixel >> shift[channel]) & mask[channel]; }
  std::uint32_t Put(std::uint32_t value, int channel) const { return (value & mask[channel]) << shift[channel]; }
  std::uint32_t AlphaBit() const { return (mask[3] & 1) << shift[3]; }
  // A channel's largest value as a divisor: a format without the channel divides by 1, not 0.
  std::uint32_t Divisor(int channel) const { return std::max<std::uint32_t>(mask[channel], 1); }
};

// The transparent value effects compare source pixels of `bytes` bytes with: DirectDraw the colour
// key as a pixel of the display format; Direct3D transparent16 or transparent32.
std::uint32_t EffectTransparent(int bytes);

// Direct3D at 16 bits: how a colour an effect computed (channels in the surface group's ranges) is
// packed where it goes. Into the full-screen back buffer with the back-buffer group, green doubled
// to its six bits; anywhere else with the surface group and the alpha bit set.
class cD3D16Packer {
 public:
  explicit cD3D16Packer(const DDSURFACEDATA* dst);
  bool Fullscreen() const { return m_Fullscreen; }
  std::uint16_t Pack(std::uint32_t r, std::uint32_t g, std::uint32_t b) const {
    if (m_Fullscreen) return PackBackBuffer(r, g << 1, b);
    return static_cast<std::uint16_t>(m_Surface.Put(r, 0) | m_Surface.Put(g, 1) | m_Surface.Put(b, 2) | m_AlphaBit);
  }
  // Channels already in the back buffer's own ranges (green of six bits).
  std::uint16_t PackBackBuffer(std::uint32_t r, std::uint32_t g6, std::uint32_t b) const {
    return static_cast<std::uint16_t>(m_Back.Put(r, 0) | m_Back.Put(g6, 1) | m_Back.Put(b, 2));
  }
  // A texture pixel as it is shown where it goes: re-packed into the full-screen back buffer,
  // unchanged anywhere else.
  std::uint16_t Convert(std::uint16_t texel) const {
    if (!m_Fullscreen) return texel;
    return PackBackBuffer(m_Surface.Get(texel, 0), m_Surface.Get(texel, 1) << 1, m_Surface.Get(texel, 2));
  }

 private:
  bool m_Fullscreen;
  sChannelMasks m_Surface;
  sChannelMasks m_Back;
  std::uint32_t m_AlphaBit;
};

// Direct3D: true when the record's texture lives in system memory (drawn in software).
bool IsSoftwareTexture(const DDSURFACEDATA* lpSD);

// Direct3D: draws the quad now in src's vertex buffer from src's texture onto dst, with stage 0 and
// the texture factor as given and the device's alpha blending, then makes the context's render
// target current again. False (nothing drawn) when the scene cannot be begun or dst is not a
// render target.
bool DrawEffectQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const D3DTextureStage& stage,
                    std::uint32_t textureFactor);

// Pixels of T in byte rows (the load and store of the copies).
template <typename T>
inline T EffectPixel(const sEffectSurface& s, std::int32_t x, std::int32_t y) {
  return LoadPixel<T>(s.Row(y), x);
}

// Runs rule(source pixel, destination pixel&) for every pixel of the rectangle (x, y, w, h) whose
// destination lies inside dst and whose source (sx + i, sy + j) inside src, rows outer; the
// destination pixel is stored again when the rule returns true.
template <typename T, typename Rule>
void ForEachPixelPair(const cEffectLocks& frame, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::int32_t sx, std::int32_t sy, const Rule& rule) {
  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  const sSpan cols = ClipSpan(w, x, to.width, sx, from.width);
  const sSpan rows = ClipSpan(h, y, to.height, sy, from.height);
  if (cols.Empty() || rows.Empty()) return;
  for (std::int32_t j = rows.first; j < rows.end; ++j) {
    std::uint8_t* out = to.Row(y + j);
    const std::uint8_t* in = from.Row(sy + j);
    for (std::int32_t i = cols.first; i < cols.end; ++i) {
      T d = LoadPixel<T>(out, x + i);
      if (rule(LoadPixel<T>(in, sx + i), d)) StorePixel<T>(out, x + i, d);
    }
  }
}

// Calls draw with a value of the pixel type that is `bytes` wide (u8, u16 or u32); nothing for any
// other width.
template <typename Draw>
void ForPixelType(int bytes, const Draw& draw) {
  switch (bytes) {
    case 1:
      draw(std::uint8_t{});
      break;
    case 2:
      draw(std::uint16_t{});
      break;
    case 4:
      draw(std::uint32_t{});
      break;
    default:
      break;
  }
}
