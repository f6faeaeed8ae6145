// The row loops of the copies, each built twice: for any x86-64 and for processors with AVX2, chosen
// once when the program starts. Every loop is free of branches on the pixel, so that it vectorises.
#include "platform/display/blit_rows.h"

#include "platform/host/vector_clones.h"

namespace {

template <typename T>
inline void KeyedRow(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count, T key) {
  for (std::int32_t i = 0; i < count; ++i) {
    const T s = LoadPixel<T>(src, i);
    const T d = LoadPixel<T>(dst, i);
    StorePixel<T>(dst, i, s == key ? d : s);
  }
}

// x / 255 rounded to nearest for x up to 255 * 255, with shifts only (the same as (2x + 255) / 510).
inline std::uint32_t Div255(std::uint32_t x) {
  const std::uint32_t t = x + 128;
  return (t + (t >> 8)) >> 8;
}

// s over d by s's alpha, every channel.
inline std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  const std::uint32_t na = 255 - a;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= Div255(((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * na) << shift;
  return out;
}

}  // namespace

PIXEL_CLONES void CopyRowKeyed8(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                                std::uint8_t key) {
  KeyedRow(dst, src, count, key);
}

PIXEL_CLONES void CopyRowKeyed16(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src,
                                 std::int32_t count, std::uint16_t key) {
  KeyedRow(dst, src, count, key);
}

PIXEL_CLONES void CopyRowKeyed32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src,
                                 std::int32_t count, std::uint32_t key) {
  KeyedRow(dst, src, count, key);
}

PIXEL_CLONES bool CopyOpaqueTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src,
                                     std::int32_t count, std::uint32_t keepMask) {
  std::uint32_t partial = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t s = LoadPixel<std::uint32_t>(src, i);
    const std::uint32_t d = LoadPixel<std::uint32_t>(dst, i);
    const std::uint32_t a = s >> 24;
    partial |= static_cast<std::uint32_t>(a - 1u < 254u);
    StorePixel<std::uint32_t>(dst, i, a == 255 ? (s & keepMask) : d);
  }
  return partial == 0;
}

PIXEL_CLONES void BlendTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                                std::uint32_t keepMask) {
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t s = LoadPixel<std::uint32_t>(src, i);
    const std::uint32_t d = LoadPixel<std::uint32_t>(dst, i);
    // A transparent texel keeps the pixel as it is, bits the format does not use included.
    StorePixel<std::uint32_t>(dst, i, (s >> 24) == 0 ? d : (Over(s, d) & keepMask));
  }
}

PIXEL_CLONES void CopyTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                               std::uint32_t keepMask) {
  for (std::int32_t i = 0; i < count; ++i) StorePixel<std::uint32_t>(dst, i, LoadPixel<std::uint32_t>(src, i) & keepMask);
}

PIXEL_CLONES void BlendColour32(std::uint8_t* dst, std::int32_t count, std::uint32_t colour, std::uint32_t keepMask) {
  const std::uint32_t a = colour >> 24;
  if (a == 0) return;
  if (a == 255) {
    for (std::int32_t i = 0; i < count; ++i) StorePixel<std::uint32_t>(dst, i, colour & keepMask);
    return;
  }
  for (std::int32_t i = 0; i < count; ++i)
    StorePixel<std::uint32_t>(dst, i, Over(colour, LoadPixel<std::uint32_t>(dst, i)) & keepMask);
}
