// Half translucency and the colour change of a whole surface. DirectDraw mixes pixels itself (8 bits
// through the blend table); Direct3D draws one quad that the device's alpha blending mixes in, and
// mixes per pixel only where a quad cannot be drawn (a system-memory texture, or the virtual back
// buffer, which is a render target the quad would read and write at once).
#include <array>

#include "platform/display/blend_table.h"
#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/quad.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// (a + b) >> 1 in each of the three low bytes at once.
inline std::uint32_t HalfBytes(std::uint32_t a, std::uint32_t b) {
  return ((a & b) + (((a ^ b) & 0x00FEFEFEu) >> 1)) & 0x00FFFFFFu;
}

// ---- half translucency

bool HalfBlendDD(const cEffectLocks& frame, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                 std::int32_t sx, std::int32_t sy, bool keyed, const std::uint8_t* blendTable) {
  const int bytes = frame.PixelBytes();
  const std::uint32_t key = g_TransparentPixel;
  if (bytes == 1) {
    // Index 0 is the transparent colour of 8-bit pictures.
    ForEachPixelPair<std::uint8_t>(frame, x, y, w, h, sx, sy, [&](std::uint8_t s, std::uint8_t& d) {
      if (keyed && s == 0) return false;
      d = d == 0 ? s : blendTable[static_cast<std::size_t>(d) * 256 + s];
      return true;
    });
  } else if (bytes == 2) {
    // Through the 0..255 scale: up (c * 255 / mask) and back down (v * mask / 255) by table.
    const sChannelMasks m = sChannelMasks::Surface();
    std::array<std::array<std::uint32_t, 256>, 3> up{}, down{};
    for (int c = 0; c < 3; ++c) {
      for (std::uint32_t v = 0; v <= m.mask[c]; ++v) up[c][v] = v * 255 / m.Divisor(c);
      for (std::uint32_t v = 0; v < 256; ++v) down[c][v] = m.Put(v * m.mask[c] / 255, c);
    }
    ForEachPixelPair<std::uint16_t>(frame, x, y, w, h, sx, sy, [&](std::uint16_t s, std::uint16_t& d) {
      if (keyed && s == key) return false;
      if (d == key) {
        d = s;
        return true;
      }
      std::uint32_t v = 0;
      for (int c = 0; c < 3; ++c) v |= down[c][(up[c][m.Get(d, c)] + up[c][m.Get(s, c)]) >> 1];
      d = static_cast<std::uint16_t>(v);
      return true;
    });
  } else if (bytes == 4) {
    ForEachPixelPair<std::uint32_t>(frame, x, y, w, h, sx, sy, [&](std::uint32_t s, std::uint32_t& d) {
      if (keyed && s == key) return false;
      d = (d & 0xFF000000u) | (d == key ? s & 0x00FFFFFFu : HalfBytes(d, s));
      return true;
    });
  }
  return true;
}

void HalfBlendSoftware(const cEffectLocks& frame, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w,
                       std::int32_t h, std::int32_t sx, std::int32_t sy, bool keyed) {
  const int bytes = frame.PixelBytes();
  if (bytes == 2) {
    const std::uint16_t key = g_DisplayContext->transparent16;
    const sChannelMasks m = sChannelMasks::Surface();
    const sChannelMasks back = sChannelMasks::BackBuffer();
    const cD3D16Packer packer(dst);
    ForEachPixelPair<std::uint16_t>(frame, x, y, w, h, sx, sy, [&](std::uint16_t s, std::uint16_t& d) {
      if (keyed && s == key) return false;
      if (packer.Fullscreen()) {
        // The back buffer's green has six bits: the source's five are doubled to meet it.
        d = packer.PackBackBuffer((m.Get(s, 0) + back.Get(d, 0)) >> 1, (back.Get(d, 1) + 2 * m.Get(s, 1)) >> 1,
                                  (m.Get(s, 2) + back.Get(d, 2)) >> 1);
      } else {
        d = packer.Pack((m.Get(s, 0) + m.Get(d, 0)) >> 1, (m.Get(s, 1) + m.Get(d, 1)) >> 1,
                        (m.Get(s, 2) + m.Get(d, 2)) >> 1);
      }
      return true;
    });
  } else if (bytes == 4) {
    const std::uint32_t key = g_DisplayContext->transparent32;
    ForEachPixelPair<std::uint32_t>(frame, x, y, w, h, sx, sy, [&](std::uint32_t s, std::uint32_t& d) {
      if (keyed && s == key) return false;
      d = 0xFF000000u | HalfBytes(d, s);
      return true;
    });
  }
}

// ---- colour change

void ChangeColourSoftware(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                          std::int32_t nAlpha, const std::uint8_t colour[3]) {
  SurfaceLock lock;
  if (!lock.Lock(lpSD, nullptr, nullptr)) return;
  const cPixelBuffer& buffer = *lock.Buffer();
  const sEffectSurface s{const_cast<std::uint8_t*>(buffer.Bits()), buffer.Pitch(),
                         std::clamp(lpSD->width, 0, buffer.Width()), std::clamp(lpSD->height, 0, buffer.Height()),
                         buffer.Format()};
  const sSpan cols = ClipSpan(w, x, s.width, x, s.width);
  const sSpan rows = ClipSpan(h, y, s.height, y, s.height);
  if (cols.Empty() || rows.Empty()) return;
  const auto keep = static_cast<std::uint32_t>(nAlpha);
  const int bytes = buffer.BytesPerPixel();
  if (bytes * 8 != g_DisplayParams.bpp) return;
  if (bytes == 2) {
    const sChannelMasks m = sChannelMasks::Surface();
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t t = colour[c] * m.mask[c] / 255;
      for (std::uint32_t v = 0; v <= m.mask[c]; ++v) table[c][v] = m.Put((v * keep + t * (256 - keep)) >> 8, c);
    }
    for (std::int32_t j = rows.first; j < rows.end; ++j) {
      std::uint8_t* row = s.Row(y + j);
      for (std::int32_t i = cols.first; i < cols.end; ++i) {
        const std::uint16_t p = LoadPixel<std::uint16_t>(row, x + i);
        StorePixel<std::uint16_t>(
            row, x + i,
            static_cast<std::uint16_t>(table[0][m.Get(p, 0)] | table[1][m.Get(p, 1)] | table[2][m.Get(p, 2)] |
                                       m.AlphaBit()));
      }
    }
  } else if (bytes == 4) {
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c)
      for (std::uint32_t v = 0; v < 256; ++v) table[c][v] = ((v * keep + colour[c] * (256 - keep)) >> 8) << (16 - 8 * c);
    for (std::int32_t j = rows.first; j < rows.end; ++j) {
      std::uint8_t* row = s.Row(y + j);
      for (std::int32_t i = cols.first; i < cols.end; ++i) {
        const std::uint32_t p = LoadPixel<std::uint32_t>(row, x + i);
        StorePixel<std::uint32_t>(
            row, x + i, 0xFF000000u | table[0][(p >> 16) & 0xFF] | table[1][(p >> 8) & 0xFF] | table[2][p & 0xFF]);
      }
    }
  }
}

}  // namespace

bool HalfBlendBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey,
                  const std::uint8_t* blendTable) {
  if (!blendTable) blendTable = g_BlendTable.data();
  const bool keyed = colourKey == 1;
  if (!DisplayIsD3D()) {
    cEffectLocks frame;
    if (!frame.Lock(dst, src)) return false;
    return HalfBlendDD(frame, x, y, w, h, sx, sy, keyed, blendTable);
  }
  ResolveEffectRecords(&dst, &src);
  if (!dst || !src || !dst->lpDT || !src->lpDT) return false;
  if (!IsSoftwareTexture(dst) && !IsSoftwareTexture(src) && !g_DisplayContext->virBackOn) {
    // The texel's own alpha times 128/255: opaque texels cover the target half, transparent ones
    // not at all.
    if (!src->lpDT->vertexBuffer) return true;
    WriteQuadVertices(*src->lpDT->vertexBuffer, x, y, w, h, sx, sy, w, h, src->textureWidth, src->textureHeight,
                      0x80FFFFFF);
    if (DrawEffectQuad(dst, src,
                       {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                       lpDevice->m_RenderStates.textureFactor)) {
      lpDevice->m_Stage0.alphaOp = D3DTOP_SELECTARG1;
      lpDevice->m_Stage0.alphaArg1 = D3DTA_TEXTURE;
    }
    return true;
  }
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  HalfBlendSoftware(frame, dst, x, y, w, h, sx, sy, keyed);
  return true;
}

bool DDChangeColor(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t nWidth, std::int32_t nHeight,
                   std::int32_t nAlpha, std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue) {
  if (!DisplayIsD3D()) {
    LogF("%s", SJ("DDrawでは DDChangeColor(DDSURFACEDATA *lpSD,int x,int y,int nWidth,int nHeight,int nAlpha,BYTE "
                  "bRed,BYTE bGreen,BYTE bBlue) は未対応")
                   .c_str());
    return true;
  }
  if (!lpSD) return true;
  ResolveSharedSurface(&lpSD);
  RedirectToVirBackBuffer(&lpSD);
  if (!lpSD->lpDT) return true;
  // The share kept comes from event commands: outside 0..255 the quad's alpha and the mixed
  // channels would run past their byte.
  nAlpha = std::clamp(nAlpha, 0, 255);
  if (!g_DisplayContext->virBackOn) {
    if (!lpSD->lpDT->vertexBuffer) return true;
    // Every caller passes the whole surface: the quad covers it, mixed in with alpha 255 - nAlpha.
    const std::uint32_t diffuse = static_cast<std::uint32_t>(255 - nAlpha) << 24 | std::uint32_t{bRed} << 16 |
                                  std::uint32_t{bGreen} << 8 | bBlue;
    WriteQuadVertices(*lpSD->lpDT->vertexBuffer, 0, 0, lpSD->width, lpSD->height, 0, 0, lpSD->width, lpSD->height,
                      lpSD->textureWidth, lpSD->textureHeight, diffuse);
    DrawEffectQuad(lpSD, lpSD,
                   {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                   lpDevice->m_RenderStates.textureFactor);
    return true;
  }
  const std::uint8_t colour[3] = {bRed, bGreen, bBlue};
  ChangeColourSoftware(lpSD, x, y, nWidth, nHeight, nAlpha, colour);
  return true;
}
