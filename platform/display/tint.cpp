// The tint: every pixel of a source rectangle pulled toward one palette colour. DirectDraw halves
// the way to the colour once per step (8 bits: one blend-table lookup per step); Direct3D draws
// one quad weighing texel and colour by the step count, or, with a system-memory texture, does the
// same weighing per pixel. Each channel value maps to one result, so the rules are tables made
// once per call and every pixel only looks up.
#include <array>

#include "platform/display/blend_table.h"
#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/quad.h"

namespace {

// Stage 0 operation: texel * factor alpha + factor colour * (1 - factor alpha).
constexpr std::uint32_t kBlendFactorAlpha = 14;

// The texel's weight out of 255 by step count (steps 5 and more: 0, the target colour itself).
// The quad (index: steps 1 to 4):
constexpr std::array<std::uint32_t, 5> kQuadWeight = {0, 0x80, 0x50, 0x30, 0x10};
// The per-pixel rule of system-memory textures (steps 2 to 4; one step is a plain halving):
constexpr std::array<std::uint32_t, 5> kSoftwareWeight = {0, 0, 0x40, 0x20, 0x10};

std::uint32_t WeightOf(const std::array<std::uint32_t, 5>& table, std::int32_t steps) {
  return steps < static_cast<std::int32_t>(table.size()) ? table[static_cast<std::size_t>(steps)] : 0;
}

// Halvings toward t: the distance to t halves (rounding down) each time, so after 32 of them
// every value has arrived where more halvings leave it.
std::uint32_t Halve(std::uint32_t c, std::uint32_t t, std::int32_t steps) {
  const std::int32_t n = std::min(steps, 32);
  for (std::int32_t k = 0; k < n; ++k) c = (c + t) >> 1;
  return c;
}

const std::uint8_t& PaletteChannel(const PALETTEENTRY& e, int channel) {
  return channel == 0 ? e.peRed : channel == 1 ? e.peGreen : e.peBlue;
}

// ---- DirectDraw

bool TintDD(const cEffectLocks& frame, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
            std::int32_t sx, std::int32_t sy, bool keyed, const PALETTEENTRY& target, const std::uint8_t* blendTable,
            std::uint8_t palIndex, std::int32_t steps) {
  const int bytes = frame.PixelBytes();
  const std::uint32_t key = g_TransparentPixel;
  if (bytes == 1) {
    // The index after steps lookups: the map p -> T[p][palIndex] raised to the power steps by
    // squaring, so a large count costs a few passes over 256 entries.
    std::array<std::uint8_t, 256> result, power;
    for (int p = 0; p < 256; ++p) {
      result[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
      power[static_cast<std::size_t>(p)] = blendTable[static_cast<std::size_t>(p) * 256 + palIndex];
    }
    for (std::int32_t n = std::max(steps, 0); n > 0; n >>= 1) {
      if (n & 1)
        for (std::uint8_t& r : result) r = power[r];
      std::array<std::uint8_t, 256> squared;
      for (int p = 0; p < 256; ++p) squared[static_cast<std::size_t>(p)] = power[power[static_cast<std::size_t>(p)]];
      power = squared;
    }
    ForEachPixelPair<std::uint8_t>(frame, x, y, w, h, sx, sy, [&](std::uint8_t s, std::uint8_t& d) {
      if (keyed && s == key) return false;
      d = result[s];
      return true;
    });
  } else if (bytes == 2) {
    // In the 0..255 scale: the pixel's channel and the target's, both from the format's range.
    const sChannelMasks m = sChannelMasks::Surface();
    std::array<std::array<std::uint16_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t t = PaletteChannel(target, c) * 255u / m.Divisor(c);
      for (std::uint32_t v = 0; v <= m.mask[c]; ++v)
        table[c][v] = static_cast<std::uint16_t>(m.Put(Halve(v * 255 / m.Divisor(c), t, steps) * m.mask[c] / 255, c));
    }
    ForEachPixelPair<std::uint16_t>(frame, x, y, w, h, sx, sy, [&](std::uint16_t s, std::uint16_t& d) {
      if (keyed && s == key) return false;
      d = static_cast<std::uint16_t>(table[0][m.Get(s, 0)] | table[1][m.Get(s, 1)] | table[2][m.Get(s, 2)]);
      return true;
    });
  } else if (bytes == 4) {
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c)
      for (std::uint32_t v = 0; v < 256; ++v) table[c][v] = Halve(v, PaletteChannel(target, c), steps) << (16 - 8 * c);
    ForEachPixelPair<std::uint32_t>(frame, x, y, w, h, sx, sy, [&](std::uint32_t s, std::uint32_t& d) {
      if (keyed && s == key) return false;
      d = (d & 0xFF000000u) | table[0][(s >> 16) & 0xFF] | table[1][(s >> 8) & 0xFF] | table[2][s & 0xFF];
      return true;
    });
  }
  return true;
}

// ---- Direct3D, system-memory textures

// One channel of the software rule; c and t in the channel's range.
std::uint32_t WeighChannel(std::uint32_t c, std::uint32_t t, std::int32_t steps) {
  if (steps == 1) return (c + t) >> 1;
  const double a = WeightOf(kSoftwareWeight, steps) / 255.0;
  return static_cast<std::uint32_t>(static_cast<int>(c * a + t * (1 - a)));
}

void TintSoftware(const cEffectLocks& frame, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w,
                  std::int32_t h, std::int32_t sx, std::int32_t sy, bool keyed, const PALETTEENTRY& target,
                  std::int32_t steps) {
  const int bytes = frame.PixelBytes();
  const sChannelMasks m = sChannelMasks::Surface();
  if (bytes == 2) {
    const std::uint16_t key = g_DisplayContext->transparent16;
    const cD3D16Packer packer(dst);
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t t = PaletteChannel(target, c) * m.mask[c] / 255;
      for (std::uint32_t v = 0; v <= m.mask[c]; ++v) {
        const std::uint32_t result = WeighChannel(v, t, steps);
        // The six-bit green of the full-screen back buffer keeps the bit a halving drops.
        table[c][v] = c == 1 && packer.Fullscreen() ? (steps == 1 ? v + t : 2 * result) : result;
      }
    }
    ForEachPixelPair<std::uint16_t>(frame, x, y, w, h, sx, sy, [&](std::uint16_t s, std::uint16_t& d) {
      if (keyed && s == key) return false;
      const std::uint32_t r = table[0][m.Get(s, 0)], g = table[1][m.Get(s, 1)], b = table[2][m.Get(s, 2)];
      d = packer.Fullscreen() ? packer.PackBackBuffer(r, g, b) : packer.Pack(r, g, b);
      return true;
    });
  } else if (bytes == 4) {
    const std::uint32_t key = g_DisplayContext->transparent32;
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int c = 0; c < 3; ++c)
      for (std::uint32_t v = 0; v < 256; ++v)
        table[c][v] = (WeighChannel(v, PaletteChannel(target, c), steps) & 0xFF) << (16 - 8 * c);
    ForEachPixelPair<std::uint32_t>(frame, x, y, w, h, sx, sy, [&](std::uint32_t s, std::uint32_t& d) {
      if (keyed && s == key) return false;
      d = 0xFF000000u | table[0][(s >> 16) & 0xFF] | table[1][(s >> 8) & 0xFF] | table[2][s & 0xFF];
      return true;
    });
  }
}

}  // namespace

bool TintBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
             std::int32_t sx, std::int32_t sy, std::int32_t colourKey, const PALETTEENTRY* palette,
             const std::uint8_t* blendTable, std::uint8_t palIndex, std::int32_t steps) {
  const PALETTEENTRY target = palette ? palette[palIndex] : PALETTEENTRY{};
  if (!blendTable) blendTable = g_BlendTable.data();
  const bool keyed = colourKey == 1;
  if (!DisplayIsD3D()) {
    if (steps == 0) return true;
    cEffectLocks frame;
    if (!frame.Lock(dst, src)) return false;
    return TintDD(frame, x, y, w, h, sx, sy, keyed, target, blendTable, palIndex, steps);
  }
  if (steps < 1) return true;
  ResolveEffectRecords(&dst, &src);
  if (!dst || !src || !dst->lpDT || !src->lpDT) return false;
  if (!IsSoftwareTexture(dst) && !IsSoftwareTexture(src)) {
    // Transparent texels stay transparent through the blending: the key flag is not needed.
    if (!src->lpDT->vertexBuffer) return true;
    WriteQuadVertices(*src->lpDT->vertexBuffer, x, y, w, h, sx, sy, w, h, src->textureWidth, src->textureHeight,
                      0xFFFFFFFF);
    const std::uint32_t factor = WeightOf(kQuadWeight, steps) << 24 | std::uint32_t{target.peRed} << 16 |
                                 std::uint32_t{target.peGreen} << 8 | target.peBlue;
    DrawEffectQuad(dst, src,
                   {kBlendFactorAlpha, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                   factor);
    return true;
  }
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  TintSoftware(frame, dst, x, y, w, h, sx, sy, keyed, target, steps);
  return true;
}
