// The row loops of the copies, each built twice: for any x86-64 and for processors with AVX2, chosen
// once when the program starts. Every loop is free of branches on the pixel, so that it vectorises.
#include "platform/display/blit_rows.h"

#include "platform/display/pixel_buffer.h"
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

// The rows of a span copy that keep pixels in the copied columns: visit(row, dst, srcRow, lo, hi)
// with dst the destination row at column copy.x, srcRow the source row and [lo, hi) the columns
// between its first and last kept pixel.
template <typename Visit>
inline void ForEachKeptRow(const sSpanCopy& copy, const cKeySpans& spans, Visit&& visit) {
  for (std::int32_t r = 0; r < copy.rows; ++r) {
    const sRowSpans& row = spans.Row(copy.row0 + r);
    std::uint8_t* dst = copy.dst + static_cast<std::ptrdiff_t>(r) * copy.dstPitch;
    const std::uint8_t* srcRow = copy.src + static_cast<std::ptrdiff_t>(copy.row0 + r) * copy.srcPitch;
    std::int32_t lo = 0, hi = 0;
    if (KeptStretch(row, copy.x, copy.count, &lo, &hi)) visit(row, dst, srcRow, lo, hi);
  }
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

// A 16-bit texel as a pixel of the target's format: what widening it to 8 bits a channel and
// narrowing it again gives (PackColour(To, UnpackColour(From, t))), in 16-bit arithmetic so that a
// vector holds 16 texels. Within one format the round trip changes nothing; Argb1555 to Rgb565
// widens green by repeating its top bit; Rgb565 to Argb1555 drops green's low bit and is opaque.
template <PixelFormat To, PixelFormat From>
inline std::uint16_t Texel16As(std::uint16_t t) {
  if constexpr (To == From)
    return t;
  else if constexpr (To == PixelFormat::Rgb565)
    return static_cast<std::uint16_t>(((t & 0x7FE0) << 1) | ((t >> 4) & 0x20) | (t & 0x1F));
  else
    return static_cast<std::uint16_t>(0x8000 | ((t >> 1) & 0x7FE0) | (t & 0x1F));
}

// A row of CopyTexels16, without a branch on the pixel. Only Argb1555 texels can be transparent.
template <PixelFormat To, PixelFormat From, bool Blend, bool Gather>
inline void Texels16(const sTexelRow16& row) {
  std::uint8_t* __restrict dst = row.dst;
  const std::uint8_t* __restrict src = row.src;
  const std::int32_t* __restrict columns = row.columns;
  const std::int32_t column0 = row.column0;
  for (std::int32_t i = 0; i < row.count; ++i) {
    const std::uint16_t t = LoadPixel<std::uint16_t>(src, Gather ? columns[i] : column0 + i);
    const std::uint16_t c = Texel16As<To, From>(t);
    if constexpr (Blend && From == PixelFormat::Argb1555) {
      const std::uint16_t d = LoadPixel<std::uint16_t>(dst, i);
      StorePixel<std::uint16_t>(dst, i, (t & 0x8000) ? c : d);
    } else {
      StorePixel<std::uint16_t>(dst, i, c);
    }
  }
}

template <PixelFormat To, PixelFormat From>
inline void Texels16From(const sTexelRow16& row) {
  if (row.columns)
    row.blend ? Texels16<To, From, true, true>(row) : Texels16<To, From, false, true>(row);
  else
    row.blend ? Texels16<To, From, true, false>(row) : Texels16<To, From, false, false>(row);
}

template <PixelFormat To>
inline void Texels16To(const sTexelRow16& row) {
  if (row.textureFormat == PixelFormat::Argb1555)
    Texels16From<To, PixelFormat::Argb1555>(row);
  else
    Texels16From<To, PixelFormat::Rgb565>(row);
}

// A run of opaque Argb1555 texels: onto Argb1555 they are the pixels themselves.
template <PixelFormat To>
inline void OpaqueTexels16Run(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count) {
  if constexpr (To == PixelFormat::Argb1555) {
    CopyRun(dst, src, static_cast<std::size_t>(count) * 2);
  } else {
    for (std::int32_t i = 0; i < count; ++i)
      StorePixel<std::uint16_t>(dst, i, Texel16As<To, PixelFormat::Argb1555>(LoadPixel<std::uint16_t>(src, i)));
  }
}

template <PixelFormat To>
inline void TexelRowsBySpans16(const sSpanCopy& copy, const cKeySpans& spans) {
  ForEachKeptRow(copy, spans, [&](const sRowSpans& row, std::uint8_t* dst, const std::uint8_t* srcRow, std::int32_t lo,
                                  std::int32_t hi) {
    std::uint8_t* out = dst + static_cast<std::ptrdiff_t>(lo - copy.x) * 2;
    switch (row.shape) {
      case RowShape::Empty:
        break;
      case RowShape::Solid:
        OpaqueTexels16Run<To>(out, srcRow + static_cast<std::ptrdiff_t>(lo) * 2, hi - lo);
        break;
      case RowShape::Spans:
        ForEachRun(spans, row, lo, hi, [&](std::int32_t b, std::int32_t e, const sPixelSpan& run) {
          OpaqueTexels16Run<To>(dst + static_cast<std::ptrdiff_t>(b - copy.x) * 2,
                                spans.Packed() + (run.packed + static_cast<std::size_t>(b - run.begin)) * 2, e - b);
        });
        break;
      case RowShape::Scattered:
      case RowShape::Blended:
        Texels16<To, PixelFormat::Argb1555, true, false>(
            {out, srcRow, nullptr, lo, hi - lo, To, PixelFormat::Argb1555, true});
        break;
    }
  });
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
  ForEachKeptRow(copy, spans, [&](const sRowSpans& row, std::uint8_t* dst, const std::uint8_t* srcRow, std::int32_t lo,
                                  std::int32_t hi) {
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
        // Only opaque and fully transparent texels here: a select, with nothing to report.
        for (std::int32_t i = 0; i < hi - lo; ++i) {
          const std::uint32_t t = LoadPixel<std::uint32_t>(in, i);
          StorePixel<std::uint32_t>(out, i, (t >> 24) != 0 ? (t & keepMask) : LoadPixel<std::uint32_t>(out, i));
        }
        break;
      case RowShape::Blended:
        BlendTexels32(out, in, hi - lo, keepMask);
        break;
    }
  });
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
  // Eight pixels a step in 16-bit lanes, no lane crossing: the blue and red bytes of the pixels in
  // the low halves of one vector's lanes, green and alpha in the other's. The colour's part
  // (channel * a + 128) is the same for every pixel, so a lane takes one multiply and one add, and
  // Over's rounding (t + (t >> 8)) >> 8 never leaves 16 bits (t <= 255 * 255 + 128).
  typedef std::uint16_t tLanes16 __attribute__((vector_size(32)));
  tLanes16 baseLow, baseHigh, keepLanes;
  for (int lane = 0; lane < 16; ++lane) {
    const int shift = lane % 2 * 16;  // blue (low) or red (high) of a pixel; green or alpha for High
    baseLow[lane] = static_cast<std::uint16_t>(((colour >> shift) & 0xFF) * a + 128);
    baseHigh[lane] = static_cast<std::uint16_t>(((colour >> (shift + 8)) & 0xFF) * a + 128);
    keepLanes[lane] = static_cast<std::uint16_t>(keepMask >> shift);
  }
  const std::uint16_t weight = static_cast<std::uint16_t>(255 - a);
  std::int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    tLanes16 d;
    std::memcpy(&d, dst + static_cast<std::ptrdiff_t>(i) * 4, sizeof d);
    tLanes16 low = (d & 0xFF) * weight + baseLow;
    tLanes16 high = (d >> 8) * weight + baseHigh;
    low = (low + (low >> 8)) >> 8;
    high = (high + (high >> 8)) >> 8;
    const tLanes16 out = (low | (high << 8)) & keepLanes;
    std::memcpy(dst + static_cast<std::ptrdiff_t>(i) * 4, &out, sizeof out);
  }
  for (; i < count; ++i)
    StorePixel<std::uint32_t>(dst, i, Over(colour, LoadPixel<std::uint32_t>(dst, i)) & keepMask);
}

PIXEL_CLONES void ModulateColours32(std::uint32_t* colours, std::int32_t count, std::uint32_t diffuse) {
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t c = colours[i];
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
      out |= Div255(((c >> shift) & 0xFF) * ((diffuse >> shift) & 0xFF)) << shift;
    colours[i] = out;
  }
}

PIXEL_CLONES void OverColours32(std::uint8_t* __restrict dst, const std::uint32_t* __restrict colours,
                                std::int32_t count, std::uint32_t keepMask) {
  for (std::int32_t i = 0; i < count; ++i)
    StorePixel<std::uint32_t>(dst, i, Over(colours[i], LoadPixel<std::uint32_t>(dst, i)) & keepMask);
}

PIXEL_CLONES void CopyTexels16(const sTexelRow16& row) {
  if (row.targetFormat == PixelFormat::Argb1555)
    Texels16To<PixelFormat::Argb1555>(row);
  else
    Texels16To<PixelFormat::Rgb565>(row);
}

PIXEL_CLONES void CopyTexelRowsBySpans16(const sSpanCopy& copy, const cKeySpans& spans, PixelFormat targetFormat) {
  if (targetFormat == PixelFormat::Argb1555)
    TexelRowsBySpans16<PixelFormat::Argb1555>(copy, spans);
  else
    TexelRowsBySpans16<PixelFormat::Rgb565>(copy, spans);
}
