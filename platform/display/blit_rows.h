#pragma once
// Inside the display library: the row loops of the software copies. They run for every pixel the
// game copies, so they are written to vectorise: no branch on the pixel, the keyed copy a select.
// Pixels are T values (u8, u16, u32) in byte memory, read and written through memcpy, which the
// compiler turns into plain loads and stores.
#include <cstdint>
#include <cstring>

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
