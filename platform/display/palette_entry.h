#pragma once
// One palette entry, as the game's palettes hold them: red, green, blue and a flag byte.
#include <cstdint>

struct PALETTEENTRY {
  std::uint8_t peRed = 0;
  std::uint8_t peGreen = 0;
  std::uint8_t peBlue = 0;
  std::uint8_t peFlags = 0;

  bool operator==(const PALETTEENTRY&) const = default;
};
