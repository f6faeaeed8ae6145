// The frame conversion of every format against one-line scalar references, over row widths around
// the vector widths and the places where the extreme values (all bits set, all clear) fall.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/host/screen.h"
#include "tests/support/row_patterns.h"

namespace {

std::uint32_t Widen(std::uint32_t c, int bits) { return (c << (8 - bits)) | (c >> (2 * bits - 8)); }

// The colour of one pixel value of a format.
std::uint32_t Reference(PixelFormat format, std::uint32_t p, const std::uint32_t* palette) {
  switch (format) {
    case PixelFormat::Index8:
      return 0xFF000000u | (palette[p] & 0xFFFFFF);
    case PixelFormat::Rgb565:
      return 0xFF000000u | Widen(p >> 11 & 31, 5) << 16 | Widen(p >> 5 & 63, 6) << 8 | Widen(p & 31, 5);
    case PixelFormat::Argb1555:
      return 0xFF000000u | Widen(p >> 10 & 31, 5) << 16 | Widen(p >> 5 & 31, 5) << 8 | Widen(p & 31, 5);
    case PixelFormat::Xrgb8888:
    case PixelFormat::Argb8888:
      return 0xFF000000u | p;
  }
  return 0;
}

TEST(FrameConvertRows, EveryFormatMatchesTheScalarRuleAtEveryWidth) {
  std::mt19937 random(21);
  std::vector<std::uint32_t> palette(256);
  for (std::uint32_t& c : palette) c = random();
  for (PixelFormat format : {PixelFormat::Index8, PixelFormat::Rgb565, PixelFormat::Argb1555, PixelFormat::Xrgb8888,
                             PixelFormat::Argb8888})
    for (std::int32_t width : kRowLengths)
      for (RowMarks marks : kRowMarks)
        for (const bool extreme : {false, true}) {
          SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) + " width " + std::to_string(width) +
                       " marks " + std::to_string(static_cast<int>(marks)) + (extreme ? " ones" : " zeros"));
          const int size = BytesPerPixel(format);
          const std::uint32_t valueMask = size == 4 ? 0xFFFFFFFFu : (1u << (8 * size)) - 1;
          // Two rows, the second starting at an odd byte: an unaligned source row.
          const std::int32_t pitch = width * size + 3;
          std::vector<std::uint8_t> frame(static_cast<std::size_t>(pitch) * 2 + 1);
          std::vector<std::uint32_t> values(static_cast<std::size_t>(width) * 2);
          for (std::int32_t y = 0; y < 2; ++y)
            for (std::int32_t x = 0; x < width; ++x) {
              std::uint32_t v = MarkedAt(marks, x, width) ? (extreme ? valueMask : 0) : random() & valueMask;
              values[static_cast<std::size_t>(y * width + x)] = v;
              std::memcpy(frame.data() + static_cast<std::size_t>(y) * pitch + 1 + x * size, &v, size);
            }
          std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * 2 + 1, 0x12345678u);
          ConvertFrameToXrgb({frame.data() + 1, width, 2, pitch, format}, palette.data(), out.data(), width);
          for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_EQ(out[i], Reference(format, values[i], palette.data())) << "pixel " << i;
          EXPECT_EQ(out.back(), 0x12345678u) << "nothing written past the frame";
        }
}

}  // namespace
