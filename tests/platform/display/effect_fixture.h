#pragma once
// Tiny pictures for the pixel effects at every depth of both back-ends: pixels made from channel
// values as each format holds them, set and read back as rows of numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/pixel_effects.h"
#include "tests/platform/display/draw_fixture.h"

// A display depth of one back-end, as the effects see its surfaces.
struct sDepth {
  const char* name;
  bool d3d;
  int bpp;
};

inline const sDepth kDD8{"DirectDraw 8", false, 8};
inline const sDepth kDD16{"DirectDraw 16", false, 16};
inline const sDepth kDD32{"DirectDraw 32", false, 32};
inline const sDepth kD3D16{"Direct3D 16", true, 16};
inline const sDepth kD3D32{"Direct3D 32", true, 32};

// A record that is released when its case is done with it.
struct sOwnedRecord : DDSURFACEDATA {
  sOwnedRecord() = default;
  sOwnedRecord(const sOwnedRecord&) = delete;
  sOwnedRecord& operator=(const sOwnedRecord&) = delete;
  ~sOwnedRecord() { DDReleaseSurface(this); }
};

class EffectTest : public DrawTest {
 protected:
  bool Start(const sDepth& depth, int windowed = 1) {
    return depth.d3d ? StartDirect3D(depth.bpp, windowed) : StartDirectDraw(depth.bpp, windowed);
  }

  // A pixel of the surfaces' format from channel values in the format's own ranges: DirectDraw 16
  // is R5G6B5, Direct3D 16 A1R5G5B5 (alpha bit set), 32 bits B, G, R and top.
  static std::uint32_t Colour(const sDepth& d, std::uint32_t r, std::uint32_t g, std::uint32_t b,
                              std::uint32_t top = 0) {
    if (d.bpp == 16) return d.d3d ? 0x8000 | r << 10 | g << 5 | b : r << 11 | g << 5 | b;
    return top << 24 | r << 16 | g << 8 | b;
  }

  // Sets the top-left of a record from values, rows of w.
  static void Put(DDSURFACEDATA& record, int w, const std::vector<std::uint32_t>& values) {
    cPixelBuffer& pixels = PixelsOf(record);
    for (std::size_t k = 0; k < values.size(); ++k)
      pixels.SetPixel(static_cast<int>(k % static_cast<std::size_t>(w)), static_cast<int>(k / static_cast<std::size_t>(w)),
                      values[k]);
  }
  // The pixels of (x, y, w, h), rows of w.
  static std::vector<std::uint32_t> Get(DDSURFACEDATA& record, int x, int y, int w, int h) {
    std::vector<std::uint32_t> values;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) values.push_back(PixelsOf(record).Pixel(x + i, y + j));
    return values;
  }
  static std::vector<std::uint32_t> All(DDSURFACEDATA& record) {
    return Get(record, 0, 0, PixelsOf(record).Width(), PixelsOf(record).Height());
  }
};
