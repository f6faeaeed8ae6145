#pragma once
// Inside the display library: the row loops of the software copies. They run for every pixel the
// game copies, so they are written to vectorise: no branch on the pixel, the keyed copy a select.
// Pixels are T values (u8, u16, u32) in byte memory, read and written through memcpy, which the
// compiler turns into plain loads and stores.
#include <cstdint>
#include <cstring>

#include "platform/display/key_spans.h"
#include "platform/host/pixel_format.h"

template <typename T>
inline T LoadPixel(const std::uint8_t* p, std::int32_t i) {
  T v;
  std::memcpy(&v, p + static_cast<std::ptrdiff_t>(i) * sizeof(T), sizeof(T));
  return v;
}

template <typename T>
inline void StorePixel(std::uint8_t* p, std::int32_t i, T v) {
  std::memcpy(p + static_cast<std::ptrdiff_t>(i) * sizeof(T), &v, sizeof(T));
}

// A plain run of count pixels.
template <typename T>
inline void CopyRow(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count) {
  std::memcpy(dst, src, static_cast<std::size_t>(count) * sizeof(T));
}

// A run of pixels leaving out those equal to key. Built for the wider vectors of the processor it
// runs on as well (blit_rows.cpp).
void CopyRowKeyed8(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                   std::uint8_t key);
void CopyRowKeyed16(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                    std::uint16_t key);
void CopyRowKeyed32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                    std::uint32_t key);

// The Direct3D copy of 32-bit texels onto a 32-bit target under the usual blend, for the texels
// that are opaque (copied, ANDed with keepMask) or fully transparent (left out). Partly transparent
// texels are left alone: false when the row has any, for the caller to blend them (going over the
// row again changes nothing else).
bool CopyOpaqueTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                        std::uint32_t keepMask);
// The same copy for every texel, the partly transparent ones blended (each channel
// (s * a + d * (255 - a)) / 255 rounded to nearest, the alpha channel too), fully transparent ones
// left out. Exact for any row, but slower than the copy above.
void BlendTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                   std::uint32_t keepMask);
// Texels known to be opaque: copied, ANDed with keepMask.
void CopyTexels32(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count,
                  std::uint32_t keepMask);
// One colour 0xAARRGGBB blended over count 32-bit pixels under the usual blend, ANDed with keepMask
// (alpha 0 changes nothing; 255 sets the colour).
void BlendColour32(std::uint8_t* dst, std::int32_t count, std::uint32_t colour, std::uint32_t keepMask);

// Stage 0's modulation of count colours 0xAARRGGBB by one diffuse colour, every channel the
// product rounded as the texture stage rounds it, in place.
void ModulateColours32(std::uint32_t* colours, std::int32_t count, std::uint32_t diffuse);
// count colours blended over 32-bit pixels under the usual blend, every pixel (alpha 0 gives the
// pixel back, ANDed with keepMask like the rest), as the general triangle rule does.
void OverColours32(std::uint8_t* __restrict dst, const std::uint32_t* __restrict colours, std::int32_t count,
                   std::uint32_t keepMask);

template <typename T>
inline void CopyRowKeyed(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count, T key) {
  if constexpr (sizeof(T) == 1)
    CopyRowKeyed8(dst, src, count, key);
  else if constexpr (sizeof(T) == 2)
    CopyRowKeyed16(dst, src, count, key);
  else
    CopyRowKeyed32(dst, src, count, key);
}

// Pixel i of dst from pixel columns[i] of src.
template <typename T>
inline void GatherRow(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src,
                      const std::int32_t* __restrict columns, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) StorePixel<T>(dst, i, LoadPixel<T>(src, columns[i]));
}

template <typename T>
inline void GatherRowKeyed(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src,
                           const std::int32_t* __restrict columns, std::int32_t count, T key) {
  for (std::int32_t i = 0; i < count; ++i) {
    const T s = LoadPixel<T>(src, columns[i]);
    const T d = LoadPixel<T>(dst, i);
    StorePixel<T>(dst, i, s == key ? d : s);
  }
}

// A keyed copy of rows guided by the source's key spans: the columns [x, x + count) of source rows
// row0 .. row0 + rows - 1 (src: the source's first pixel, rows srcPitch bytes apart) to dst (the
// pixel of column x in the first destination row, rows dstPitch bytes apart). Transparent stretches
// are skipped unread, runs of kept pixels copied as memory, scattered rows selected pixel by pixel.
struct sSpanCopy {
  std::uint8_t* dst = nullptr;
  std::int32_t dstPitch = 0;
  const std::uint8_t* src = nullptr;
  std::int32_t srcPitch = 0;
  std::int32_t row0 = 0;
  std::int32_t rows = 0;
  std::int32_t x = 0;
  std::int32_t count = 0;
};
void CopyRowsKeyedBySpans8(const sSpanCopy& copy, const cKeySpans& spans, std::uint8_t key);
void CopyRowsKeyedBySpans16(const sSpanCopy& copy, const cKeySpans& spans, std::uint16_t key);
void CopyRowsKeyedBySpans32(const sSpanCopy& copy, const cKeySpans& spans, std::uint32_t key);

template <typename T>
inline void CopyRowsKeyedBySpans(const sSpanCopy& copy, const cKeySpans& spans, T key) {
  if constexpr (sizeof(T) == 1)
    CopyRowsKeyedBySpans8(copy, spans, key);
  else if constexpr (sizeof(T) == 2)
    CopyRowsKeyedBySpans16(copy, spans, key);
  else
    CopyRowsKeyedBySpans32(copy, spans, key);
}

// The key rule of 32-bit texels under the usual blend: alpha 0 is left out, alpha 255 copied.
constexpr sKeyRule kTexelKeyRule{0xFF000000u, 0, 0xFF000000u};

// The texel copy of CopyOpaqueTexels32 and BlendTexels32 for rows of a texture, guided by its spans
// under kTexelKeyRule.
void CopyTexelRowsBySpans(const sSpanCopy& copy, const cKeySpans& spans, std::uint32_t keepMask);

// The Direct3D copy of 16-bit texels (Argb1555 or Rgb565) onto a 16-bit target of either format, as
// stage 0 passes them: each texel widened to 8 bits a channel and narrowed to the target's format,
// as the per-pixel rule does. Under the usual blend (blend) a texel of alpha 0 leaves its pixel
// alone; a 16-bit texel is never partly transparent, so the others are simply copied. Pixel i of
// dst takes texel columns[i] of the texture row src, or texel column0 + i when columns is null.
struct sTexelRow16 {
  std::uint8_t* dst = nullptr;
  const std::uint8_t* src = nullptr;  // the texture row
  const std::int32_t* columns = nullptr;
  std::int32_t column0 = 0;
  std::int32_t count = 0;
  PixelFormat targetFormat = PixelFormat::Rgb565;
  PixelFormat textureFormat = PixelFormat::Argb1555;
  bool blend = false;
};
void CopyTexels16(const sTexelRow16& row);

// The key rule of Argb1555 texels under the usual blend: alpha 0 is left out, every other copied.
constexpr sKeyRule kTexel16KeyRule{0x8000u, 0, 0x8000u};

// CopyTexels16 of rows of an Argb1555 texture under the usual blend, guided by its spans under
// kTexel16KeyRule: transparent stretches skipped unread, runs copied without a select.
void CopyTexelRowsBySpans16(const sSpanCopy& copy, const cKeySpans& spans, PixelFormat targetFormat);
