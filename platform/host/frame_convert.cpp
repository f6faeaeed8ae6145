// The conversion of a finished frame to the window's 32-bit colour, once per present. Each format
// has its own straight loop over a row, with no branch per pixel, so the compiler vectorises the 16
// and 32-bit ones; the indexed one is one table look-up a pixel. The whole conversion is built twice
// (any x86-64, and AVX2), picked once at start.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/host/screen.h"
#include "platform/host/vector_clones.h"

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

inline std::uint32_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// A 5 or 6-bit channel widened to 8 bits so that the largest value becomes 255.
inline std::uint32_t Widen5(std::uint32_t c) { return (c << 3) | (c >> 2); }
inline std::uint32_t Widen6(std::uint32_t c) { return (c << 2) | (c >> 4); }

inline void RowIndex8(const std::uint8_t* src, std::int32_t width, const std::uint32_t* colours, std::uint32_t* out) {
  for (std::int32_t x = 0; x < width; ++x) out[x] = colours[src[x]];
}

inline void RowRgb565(const std::uint8_t* src, std::int32_t width, std::uint32_t* out) {
  for (std::int32_t x = 0; x < width; ++x) {
    std::uint32_t p = Load16(src + 2 * x);
    out[x] = kOpaque | (Widen5((p >> 11) & 31) << 16) | (Widen6((p >> 5) & 63) << 8) | Widen5(p & 31);
  }
}

inline void RowArgb1555(const std::uint8_t* src, std::int32_t width, std::uint32_t* out) {
  for (std::int32_t x = 0; x < width; ++x) {
    std::uint32_t p = Load16(src + 2 * x);
    out[x] = kOpaque | (Widen5((p >> 10) & 31) << 16) | (Widen5((p >> 5) & 31) << 8) | Widen5(p & 31);
  }
}

inline void Row8888(const std::uint8_t* src, std::int32_t width, std::uint32_t* out) {
  for (std::int32_t x = 0; x < width; ++x) out[x] = kOpaque | Load32(src + 4 * x);
}

}  // namespace

PIXEL_CLONES void ConvertFrameToXrgb(const PixelView& frame, const std::uint32_t* palette, std::uint32_t* out,
                                     std::int32_t outPitch) {
  std::array<std::uint32_t, 256> colours{};
  if (frame.format == PixelFormat::Index8)
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = kOpaque | (palette ? palette[i] & 0xFFFFFF : 0);
  for (std::int32_t y = 0; y < frame.height; ++y) {
    const std::uint8_t* src = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.pitch;
    std::uint32_t* dst = out + static_cast<std::ptrdiff_t>(y) * outPitch;
    switch (frame.format) {
      case PixelFormat::Index8:
        RowIndex8(src, frame.width, colours.data(), dst);
        break;
      case PixelFormat::Rgb565:
        RowRgb565(src, frame.width, dst);
        break;
      case PixelFormat::Argb1555:
        RowArgb1555(src, frame.width, dst);
        break;
      case PixelFormat::Xrgb8888:
      case PixelFormat::Argb8888:
        Row8888(src, frame.width, dst);
        break;
    }
  }
}

ScreenRect FitFrameToWindow(std::int32_t windowWidth, std::int32_t windowHeight, std::int32_t frameWidth,
                            std::int32_t frameHeight) {
  if (windowWidth <= 0 || windowHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
  std::int32_t factor = std::min(windowWidth / frameWidth, windowHeight / frameHeight);
  std::int64_t w = std::int64_t{frameWidth} * factor;
  std::int64_t h = std::int64_t{frameHeight} * factor;
  if (factor < 1) {
    // Smaller than the frame: the largest size of the frame's shape that fits.
    if (std::int64_t{windowWidth} * frameHeight <= std::int64_t{windowHeight} * frameWidth) {
      w = windowWidth;
      h = std::max<std::int64_t>(1, std::int64_t{windowWidth} * frameHeight / frameWidth);
    } else {
      h = windowHeight;
      w = std::max<std::int64_t>(1, std::int64_t{windowHeight} * frameWidth / frameHeight);
    }
  }
  return {static_cast<std::int32_t>((windowWidth - w) / 2), static_cast<std::int32_t>((windowHeight - h) / 2),
          static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}
