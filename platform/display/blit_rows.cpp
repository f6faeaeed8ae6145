// The keyed row copies, each built twice: for any x86-64 and for processors with AVX2, chosen once
// when the program starts.
#include "platform/display/blit_rows.h"

namespace {

template <typename T>
inline void KeyedRow(std::uint8_t* __restrict dst, const std::uint8_t* __restrict src, std::int32_t count, T key) {
  for (std::int32_t i = 0; i < count; ++i) {
    const T s = LoadPixel<T>(src, i);
    const T d = LoadPixel<T>(dst, i);
    StorePixel<T>(dst, i, s == key ? d : s);
  }
}

}  // namespace

__attribute__((target_clones("avx2", "default"))) void CopyRowKeyed8(std::uint8_t* __restrict dst,
                                                                     const std::uint8_t* __restrict src,
                                                                     std::int32_t count, std::uint8_t key) {
  KeyedRow(dst, src, count, key);
}

__attribute__((target_clones("avx2", "default"))) void CopyRowKeyed16(std::uint8_t* __restrict dst,
                                                                      const std::uint8_t* __restrict src,
                                                                      std::int32_t count, std::uint16_t key) {
  KeyedRow(dst, src, count, key);
}

__attribute__((target_clones("avx2", "default"))) void CopyRowKeyed32(std::uint8_t* __restrict dst,
                                                                      const std::uint8_t* __restrict src,
                                                                      std::int32_t count, std::uint32_t key) {
  KeyedRow(dst, src, count, key);
}

__attribute__((target_clones("avx2", "default"))) bool CopyOpaqueTexels32(std::uint8_t* __restrict dst,
                                                                          const std::uint8_t* __restrict src,
                                                                          std::int32_t count, std::uint32_t keepMask) {
  // Branch-free, so that it vectorises.
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
