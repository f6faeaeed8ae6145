#pragma once
// BMP files for tests, written byte by byte from a description, so that a fault of the reader
// cannot hide behind a matching fault of a writer of the program.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/bmp.h"

struct BmpSpec {
  std::int32_t width = 0;
  std::int32_t height = 0;  // the picture's height
  bool topDown = false;     // stored top row first (negative height in the header)
  int bpp = 8;
  std::vector<BmpColour> table{};
  // Row-major, top row first: indices for 1, 4 and 8 bits, 0xRRGGBB for 24 and 32 bits, raw values
  // for 16 bits.
  std::vector<std::uint32_t> pixels{};
  std::uint32_t compression = 0;
  std::optional<std::uint32_t> coloursUsed{};  // written as the table's length when not given
  std::array<std::uint32_t, 3> masks{};        // written after the header when compression is 3
};

std::string MakeBmp(const BmpSpec& layout);

// A grey-ramp 8-bit palette of count entries: entry i is (i, i, i).
std::vector<BmpColour> GreyTable(int count);
