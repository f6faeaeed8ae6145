#pragma once
// The pixel formats the display draws in, and a read-only view of a block of pixels in one of them.
// Every surface, back buffer and texture is memory in one of these formats; the host shows a frame
// of any of them.
#include <cstdint>

enum class PixelFormat : std::uint8_t {
  Index8,    // one byte, an index into a 256-entry palette
  Rgb565,    // u16: red 11-15, green 5-10, blue 0-4
  Argb1555,  // u16: alpha 15, red 10-14, green 5-9, blue 0-4
  Xrgb8888,  // u32: blue, green, red bytes, the fourth unused
  Argb8888,  // u32: blue, green, red, alpha bytes
};

constexpr int BytesPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Index8:
      return 1;
    case PixelFormat::Rgb565:
    case PixelFormat::Argb1555:
      return 2;
    case PixelFormat::Xrgb8888:
    case PixelFormat::Argb8888:
      return 4;
  }
  return 1;
}

constexpr int BitsPerPixel(PixelFormat format) { return BytesPerPixel(format) * 8; }

// Rows of pitch bytes, top row first; only width * BytesPerPixel bytes of a row are pixels.
struct PixelView {
  const std::uint8_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t pitch = 0;
  PixelFormat format = PixelFormat::Xrgb8888;
};
