// Palette fades and colour cycling.
#include "platform/display/palette_fade.h"

#include <algorithm>
#include <array>

#include "platform/display/display.h"

namespace {

constexpr std::int32_t kFullLevel = 256;

// The range arguments come from scripts and settings as well as from code: a range that does not lie
// inside the palette is not acted on.
bool ValidRange(std::int32_t first, std::int32_t last) { return first >= 0 && first <= last && last <= 255; }

std::uint8_t MixChannel(std::uint8_t source, std::uint8_t colour, std::int32_t level) {
  return static_cast<std::uint8_t>((source * level + colour * (kFullLevel - level)) >> 8);
}

}  // namespace

void FadePalette(PALETTEENTRY dst[256], std::int32_t first, std::int32_t last, std::int32_t level, std::uint8_t R,
                 std::uint8_t G, std::uint8_t B, const PALETTEENTRY src[256]) {
  if (!dst || !src || !ValidRange(first, last)) return;
  // Beyond 256 a channel would pass 255 and wrap to a dark value; below 0 it would go negative.
  level = std::clamp(level, 0, kFullLevel);
  for (std::int32_t i = first; i <= last; ++i) {
    const PALETTEENTRY from = src[i];
    dst[i] = {MixChannel(from.peRed, R, level), MixChannel(from.peGreen, G, level), MixChannel(from.peBlue, B, level),
              std::uint8_t{1}};
  }
}

void RotatePalette(PALETTEENTRY dst[256], std::int32_t first, std::int32_t last, std::int32_t count,
                   std::int32_t direction, const PALETTEENTRY src[256]) {
  const std::int32_t bpp = g_DisplayParams.bpp;
  if (!dst || !src || (bpp != 8 && bpp != 16 && bpp != 32)) return;
  // Taken whole first, so that rotating a palette into itself reads every entry before it moves.
  std::array<PALETTEENTRY, 256> from;
  std::copy_n(src, 256, from.begin());
  std::copy(from.begin(), from.end(), dst);
  if (!ValidRange(first, last) || (direction != 0 && direction != 1)) return;
  const std::int32_t size = last - first + 1;
  std::int32_t shift = count % size;
  if (shift < 0) shift += size;
  if (direction == 1) shift = (size - shift) % size;
  for (std::int32_t i = 0; i < size; ++i) dst[first + (i + shift) % size] = from[static_cast<std::size_t>(first + i)];
}
