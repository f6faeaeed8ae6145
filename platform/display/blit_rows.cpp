// The keyed row copies, each built twice: for any x86-64 and for processors with AVX2, chosen once
// when the program starts.
#include "platform/display/blit_rows.h"

// The resolver that picks a clone runs before ThreadSanitizer's runtime is ready, so the race-checking
// build keeps the one portable version.
#if defined(__SANITIZE_THREAD__)
#define ROW_CLONES
#else
#define ROW_CLONES __attribute__((target_clones("avx2", "default")))
#endif

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

ROW_CLONES void CopyRowKeyed8(std::uint8_t* __restrict dst,
                                                                     const std::uint8_t* __restrict src,
                                                                     std::int32_t count, std::uint8_t key) {
  KeyedRow(dst, src, count, key);
}

ROW_CLONES void CopyRowKeyed16(std::uint8_t* __restrict dst,
                                                                      const std::uint8_t* __restrict src,
                                                                      std::int32_t count, std::uint16_t key) {
  KeyedRow(dst, src, count, key);
}

ROW_CLONES void CopyRowKeyed32(std::uint8_t* __restrict dst,
                                                                      const std::uint8_t* __restrict src,
                                                                      std::int32_t count, std::uint32_t key) {
  KeyedRow(dst, src, count, key);
}

ROW_CLONES bool CopyOpaqueTexels32(std::uint8_t* __restrict dst,
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
