// The block mosaic: the rectangle cut into blocks of blockSize pixels from its top-left corner, each
// block painted with one colour. The colour is the block's mean where channels can be read (16 bits
// through the 0..255 scale under DirectDraw, 32 bits per byte), else its top-left pixel (8-bit
// indices; Direct3D at 16 bits).
#include <optional>

#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/pixel_effects.h"

namespace {

// One block: its offsets in the rectangle that are read (source inside the source) and written
// (destination inside the destination as well).
struct sBlock {
  sSpan readCols, readRows;
  sSpan writeCols, writeRows;
};

sSpan Cut(sSpan span, std::int64_t first, std::int64_t end) {
  const std::int64_t a = std::max<std::int64_t>(span.first, first);
  const std::int64_t b = std::min<std::int64_t>(span.end, end);
  if (a >= b) return {};
  return {static_cast<std::int32_t>(a), static_cast<std::int32_t>(b)};
}

struct sMosaicArea {
  std::int32_t x, y, sx, sy;
};

// The block colour rules. Each gives the colour of a block, or none (the block is left alone).
enum class eRule { TopLeft, Mean16, Mean32 };

template <typename T>
struct sMosaicRule {
  eRule rule;
  bool keyed;
  T key;
  sChannelMasks masks;
  const std::uint32_t* scaleUp[3];    // 16 bits: c * 255 / mask for each channel value
  cD3D16Packer packer;                // Direct3D at 16 bits: the top-left pixel where it goes
  bool convert;

  std::optional<T> Colour(const sEffectSurface& from, const sBlock& b, const sMosaicArea& a) const {
    if (rule == eRule::TopLeft) {
      const T p = EffectPixel<T>(from, a.sx + b.readCols.first, a.sy + b.readRows.first);
      if (keyed && p == key) return std::nullopt;
      if constexpr (sizeof(T) == 2) {
        if (convert) return packer.Convert(p);
      }
      return p;
    }
    std::uint64_t r = 0, g = 0, bl = 0, n = 0;
    for (std::int32_t j = b.readRows.first; j < b.readRows.end; ++j) {
      const std::uint8_t* row = from.Row(a.sy + j);
      for (std::int32_t i = b.readCols.first; i < b.readCols.end; ++i) {
        const T p = LoadPixel<T>(row, a.sx + i);
        if (keyed && p == key) continue;
        if constexpr (sizeof(T) == 2) {
          r += scaleUp[0][masks.Get(p, 0)], g += scaleUp[1][masks.Get(p, 1)], bl += scaleUp[2][masks.Get(p, 2)];
        } else {
          r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, bl += p & 0xFF;
        }
        ++n;
      }
    }
    if (n == 0) return std::nullopt;
    std::uint32_t colour;
    if constexpr (sizeof(T) == 2) {
      auto down = [&](std::uint64_t sum, int c) {
        return static_cast<std::uint32_t>(sum / n) * masks.mask[c] / 255;
      };
      colour = masks.Put(down(r, 0), 0) | masks.Put(down(g, 1), 1) | masks.Put(down(bl, 2), 2);
    } else {
      colour = static_cast<std::uint32_t>((r / n) << 16 | (g / n) << 8 | bl / n);
    }
    if (keyed && colour == key) return std::nullopt;
    return static_cast<T>(colour);
  }
};

template <typename T>
void Mosaic(const cEffectLocks& frame, const sMosaicRule<T>& rule, std::int32_t w, std::int32_t h,
            std::int64_t size, const sMosaicArea& a) {
  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  const sSpan readCols = ClipSpan(w, a.sx, from.width, a.sx, from.width);
  const sSpan readRows = ClipSpan(h, a.sy, from.height, a.sy, from.height);
  const sSpan writeCols = ClipSpan(w, a.x, to.width, a.sx, from.width);
  const sSpan writeRows = ClipSpan(h, a.y, to.height, a.sy, from.height);
  if (writeCols.Empty() || writeRows.Empty()) return;
  // Only the blocks that have pixels to write.
  for (std::int64_t by = writeRows.first / size * size; by < writeRows.end; by += size) {
    for (std::int64_t bx = writeCols.first / size * size; bx < writeCols.end; bx += size) {
      sBlock b{Cut(readCols, bx, bx + size), Cut(readRows, by, by + size), Cut(writeCols, bx, bx + size),
               Cut(writeRows, by, by + size)};
      if (b.writeCols.Empty() || b.writeRows.Empty()) continue;
      const std::optional<T> colour = rule.Colour(from, b, a);
      if (!colour) continue;
      for (std::int32_t j = b.writeRows.first; j < b.writeRows.end; ++j) {
        std::uint8_t* row = to.Row(a.y + j);
        for (std::int32_t i = b.writeCols.first; i < b.writeCols.end; ++i) {
          if constexpr (sizeof(T) == 4) {
            // The destination's fourth byte stays.
            StorePixel<T>(row, a.x + i, (LoadPixel<T>(row, a.x + i) & 0xFF000000u) | *colour);
          } else {
            StorePixel<T>(row, a.x + i, *colour);
          }
        }
      }
    }
  }
}

}  // namespace

bool MosaicBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
               std::int32_t blockSize, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey) {
  // The block size steps the blocks: below 1 it would never move on, so it is taken as 1.
  const std::int64_t size = std::max(blockSize, 1);
  ResolveEffectRecords(&dst, &src);
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  const int bytes = frame.PixelBytes();
  if (bytes == 0) return true;
  const bool keyed = colourKey == 1;
  const std::uint32_t key = EffectTransparent(bytes);
  const bool d3d = DisplayIsD3D();
  const sChannelMasks masks = sChannelMasks::Surface();
  const sMosaicArea area{x, y, sx, sy};
  const cD3D16Packer packer(dst);
  if (bytes == 1) {
    const sMosaicRule<std::uint8_t> rule{eRule::TopLeft, keyed, static_cast<std::uint8_t>(key), masks, {}, packer,
                                         false};
    Mosaic(frame, rule, w, h, size, area);
  } else if (bytes == 2) {
    std::uint32_t scale[3][256];
    for (int c = 0; c < 3; ++c)
      for (std::uint32_t v = 0; v <= masks.mask[c]; ++v) scale[c][v] = v * 255 / masks.Divisor(c);
    const sMosaicRule<std::uint16_t> rule{
        d3d ? eRule::TopLeft : eRule::Mean16, keyed, static_cast<std::uint16_t>(key), masks,
        {scale[0], scale[1], scale[2]},       packer, d3d && packer.Fullscreen()};
    Mosaic(frame, rule, w, h, size, area);
  } else if (bytes == 4) {
    const sMosaicRule<std::uint32_t> rule{eRule::Mean32, keyed, key, masks, {}, packer, false};
    Mosaic(frame, rule, w, h, size, area);
  }
  return true;
}
