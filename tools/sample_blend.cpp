// The half-blend table of the 8-bit display (bmp\hbt\hbt00.dat, for the default 8-bit palette
// option 0): entry [a][b] is the palette colour nearest to the mean of colours a and b. Only an
// 8-bit full-screen start reads it, but without it such a start cannot run at all.
#include <cstdint>
#include <vector>

#include "tools/sample_canvas.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"

namespace {

// The nearest entry by squared distance, the key colour never chosen (a blend stays visible).
std::uint8_t NearestEntry(int red, int green, int blue) {
  const auto& palette = SamplePalette();
  int best = 1;
  long long bestDistance = -1;
  for (int i = 1; i < 256; ++i) {
    const SampleColour& c = palette[static_cast<std::size_t>(i)];
    const long long dr = c.red - red, dg = c.green - green, db = c.blue - blue;
    const long long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace

bool WriteSampleBlendTable() {
  const auto& palette = SamplePalette();
  std::vector<std::uint8_t> table(256 * 256);
  for (int a = 0; a < 256; ++a)
    for (int b = a; b < 256; ++b) {
      const SampleColour& ca = palette[static_cast<std::size_t>(a)];
      const SampleColour& cb = palette[static_cast<std::size_t>(b)];
      const std::uint8_t mean = NearestEntry((ca.red + cb.red) / 2, (ca.green + cb.green) / 2, (ca.blue + cb.blue) / 2);
      table[static_cast<std::size_t>(a) * 256 + b] = mean;
      table[static_cast<std::size_t>(b) * 256 + a] = mean;
    }
  return WriteGameBytes("bmp\\hbt\\hbt00.dat", table);
}
