// A BMP file as the display reads every picture of a game: decoded, then each pixel looked up as
// the loaders do (through the colour table or from its own bits).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "fuzz/fuzz_support.h"
#include "platform/host/bmp.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<cBitmap> bitmap = DecodeBmp(std::span<const std::uint8_t>(data, size));
  if (bitmap) {
    volatile std::uint32_t sink = 0;
    const auto table = bitmap->ColourTable256();
    sink = sink + table[255].red;
    // Every pixel of a small picture; the first rows and columns of a large one keep a run fast.
    const std::int32_t w = std::min(bitmap->Width(), 256);
    const std::int32_t h = std::min(bitmap->Height(), 256);
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) sink = sink + bitmap->PixelRgb(x, y) + bitmap->PixelIndex(x, y);
    // The last byte of the last row: the rows the decoder kept are as long as it says.
    if (bitmap->Height() > 0 && bitmap->RowBytes() > 0)
      sink = sink + bitmap->Row(bitmap->Height() - 1)[bitmap->RowBytes() - 1];
  }
  EndFuzzInput();
  return 0;
}
