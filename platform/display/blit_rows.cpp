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

// Short runs (a sprite's rows are mostly a few dozen pixels) are copied in 32-byte pieces, the last
// one ending at the run's end and overlapping the one before it; no call, and in the AVX2 build one
// store a piece. Long runs go to memcpy.
typedef std::uint8_t tBytes32 __attribute__((vector_size(32)));
typedef std::uint32_t tTexels8 __attribute__((vector_size(32)));
typedef std::uint32_t tTexels4 __attribute__((vector_size(16)));

// One piece of V's size; the vector never crosses a call (passing it would depend on the clone).
template <typename V>
inline void CopyPiece(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src) {
  V v;
  std::memcpy(&v, src, sizeof v);
  std::memcpy(dst, &v, sizeof v);
}

// The same, each texel ANDed with the mask.
template <typename V>
inline void CopyMaskedPiece(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, const V& mask) {
  V v;
  std::memcpy(&v, src, sizeof v);
  v &= mask;
  std::memcpy(dst, &v, sizeof v);
}

// Two masked pieces, the second ending at the end: any length from one piece to two.
template <typename V>
inline void CopyTwoMaskedPieces(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::size_t bytes,
                                const V& mask) {
  V first, last;
  std::memcpy(&first, src, sizeof first);
  std::memcpy(&last, src + bytes - sizeof last, sizeof last);
  first &= mask;
  last &= mask;
  std::memcpy(dst, &first, sizeof first);
  std::memcpy(dst + bytes - sizeof last, &last, sizeof last);
}

// Two pieces of N bytes, the second ending at the end: any length from N to 2N.
template <typename V>
inline void CopyTwoPieces(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::size_t bytes) {
  V first, last;
  std::memcpy(&first, src, sizeof first);
  std::memcpy(&last, src + bytes - sizeof last, sizeof last);
  std::memcpy(dst, &first, sizeof first);
  std::memcpy(dst + bytes - sizeof last, &last, sizeof last);
}

inline void CopyRun(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::size_t bytes) {
  if (bytes >= 32) {
    if (bytes > 1024) {
      std::memcpy(dst, src, bytes);
      return;
    }
    std::size_t i = 0;
    for (; i + 32 < bytes; i += 32) CopyPiece<tBytes32>(dst + i, src + i);
    CopyPiece<tBytes32>(dst + bytes - 32, src + bytes - 32);
  } else if (bytes >= 8) {
    if (bytes >= 16)
      CopyTwoPieces<__uint128_t>(dst, src, bytes);
    else
      CopyTwoPieces<std::uint64_t>(dst, src, bytes);
  } else if (bytes >= 4) {
    CopyTwoPieces<std::uint32_t>(dst, src, bytes);
  } else {
    for (std::size_t i = 0; i < bytes; ++i) dst[i] = src[i];
  }
}

// A run of opaque texels, each ANDed with keepMask.
inline void CopyTexelRun(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                         std::uint32_t keepMask) {
  if (keepMask == 0xFFFFFFFFu) {
    CopyRun(dst, src, static_cast<std::size_t>(count) * 4);
    return;
  }
  const std::size_t bytes = static_cast<std::size_t>(count) * 4;
  if (count >= 8) {
    const tTexels8 mask = {keepMask, keepMask, keepMask, keepMask, keepMask, keepMask, keepMask, keepMask};
    std::size_t i = 0;
    for (; i + 32 < bytes; i += 32) CopyMaskedPiece(dst + i, src + i, mask);
    CopyMaskedPiece(dst + bytes - 32, src + bytes - 32, mask);
  } else if (count >= 4) {
    const tTexels4 mask = {keepMask, keepMask, keepMask, keepMask};
    CopyTwoMaskedPieces(dst, src, bytes, mask);
  } else if (count >= 2) {
    const std::uint64_t mask = keepMask | (std::uint64_t{keepMask} << 32);
    CopyTwoMaskedPieces(dst, src, bytes, mask);
  } else if (count == 1) {
    StorePixel<std::uint32_t>(dst, 0, LoadPixel<std::uint32_t>(src, 0) & keepMask);
  }
}

// The columns [lo, hi) of the row that a copy of [x, x + count) meets; false when none.
inline bool KeptStretch(const sRowSpans& row, std::int32_t x, std::int32_t count, std::int32_t* lo, std::int32_t* hi) {
  *lo = row.first > x ? row.first : x;
  *hi = row.end < x + count ? row.end : x + count;
  return *lo < *hi;
}

template <typename T>
inline void KeyedRowBySpans(std::uint8_t* __restrict dst, const std::uint8_t* __restrict srcRow, std::int32_t x,
                            std::int32_t count, const cKeySpans& spans, const sRowSpans& row, T key) {
  std::int32_t lo = 0, hi = 0;
  if (!KeptStretch(row, x, count, &lo, &hi)) return;
  std::uint8_t* out = dst + static_cast<std::ptrdiff_t>(lo - x) * sizeof(T);
  const std::uint8_t* in = srcRow + static_cast<std::ptrdiff_t>(lo) * sizeof(T);
  switch (row.shape) {
    case RowShape::Empty:
      return;
    case RowShape::Solid:
      CopyRow<T>(out, in, hi - lo);
      return;
    case RowShape::Spans:
      ForEachRun(spans, row, lo, hi, [&](std::int32_t b, std::int32_t e, const sPixelSpan& run) {
        CopyRun(dst + static_cast<std::ptrdiff_t>(b - x) * sizeof(T),
                spans.Packed() + (run.packed + static_cast<std::size_t>(b - run.begin)) * sizeof(T),
                static_cast<std::size_t>(e - b) * sizeof(T));
      });
      return;
    case RowShape::Scattered:
    case RowShape::Blended:
      KeyedRow<T>(out, in, hi - lo, key);
      return;
  }
}

}  // namespace

template <typename T>
inline void KeyedRowsBySpans(const sSpanCopy& copy, const cKeySpans& spans, T key) {
  for (std::int32_t r = 0; r < copy.rows; ++r)
    KeyedRowBySpans<T>(copy.dst + static_cast<std::ptrdiff_t>(r) * copy.dstPitch,
                       copy.src + static_cast<std::ptrdiff_t>(copy.row0 + r) * copy.srcPitch, copy.x, copy.count, spans,
                       spans.Row(copy.row0 + r), key);
}

PIXEL_CLONES void CopyRowsKeyedBySpans8(const sSpanCopy& copy, const cKeySpans& spans, std::uint8_t key) {
  KeyedRowsBySpans(copy, spans, key);
}

PIXEL_CLONES void CopyRowsKeyedBySpans16(const sSpanCopy& copy, const cKeySpans& spans, std::uint16_t key) {
  KeyedRowsBySpans(copy, spans, key);
}

PIXEL_CLONES void CopyRowsKeyedBySpans32(const sSpanCopy& copy, const cKeySpans& spans, std::uint32_t key) {
  KeyedRowsBySpans(copy, spans, key);
}

PIXEL_CLONES void CopyTexelRowsBySpans(const sSpanCopy& copy, const cKeySpans& spans, std::uint32_t keepMask) {
  for (std::int32_t r = 0; r < copy.rows; ++r) {
    const sRowSpans& row = spans.Row(copy.row0 + r);
    std::uint8_t* dst = copy.dst + static_cast<std::ptrdiff_t>(r) * copy.dstPitch;
    const std::uint8_t* srcRow = copy.src + static_cast<std::ptrdiff_t>(copy.row0 + r) * copy.srcPitch;
    std::int32_t lo = 0, hi = 0;
    if (!KeptStretch(row, copy.x, copy.count, &lo, &hi)) continue;
    std::uint8_t* out = dst + static_cast<std::ptrdiff_t>(lo - copy.x) * 4;
    const std::uint8_t* in = srcRow + static_cast<std::ptrdiff_t>(lo) * 4;
    switch (row.shape) {
      case RowShape::Empty:
        break;
      case RowShape::Solid:
        CopyTexelRun(out, in, hi - lo, keepMask);
        break;
      case RowShape::Spans:
        ForEachRun(spans, row, lo, hi, [&](std::int32_t b, std::int32_t e, const sPixelSpan& run) {
          CopyTexelRun(dst + static_cast<std::ptrdiff_t>(b - copy.x) * 4,
                       spans.Packed() + (run.packed + static_cast<std::size_t>(b - run.begin)) * 4, e - b, keepMask);
        });
        break;
      case RowShape::Scattered:
        CopyOpaqueTexels32(out, in, hi - lo, keepMask);
        break;
      case RowShape::Blended:
        BlendTexels32(out, in, hi - lo, keepMask);
        break;
    }
  }
}

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
