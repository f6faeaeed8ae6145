#pragma once
// Tiny pictures for the drawing primitives: records painted from rows of characters and read back
// as rows, so a test shows the picture it expects. A character stands for the pixel value of its
// code ('.' is 0); Direct3D pixels of letters are opaque (alpha 255), '.' is transparent black.
#include <string>
#include <vector>

#include "platform/display/blit.h"
#include "tests/platform/display/display_fixture.h"

class DrawTest : public DisplayTest {
 protected:
  enum class BackEnd { DirectDraw, Direct3D };

  bool Start(BackEnd backEnd, int bpp = 32) {
    return backEnd == BackEnd::Direct3D ? StartDirect3D(bpp) : StartDirectDraw(bpp);
  }

  // An empty record (Direct3D: a render-target texture, or a system-memory one when software).
  static void Make(DDSURFACEDATA& record, int width, int height, int colourKey = 0, int software = 0) {
    ASSERT_TRUE(DDCreateSurface(&record, width, height, colourKey, 0, software, 0, 0));
  }

  static std::uint32_t ValueOf(char c) {
    if (c == '.') return 0;
    const auto code = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
    return DisplayIsD3D() && BytesPerPixel(PixelsOf(g_BackSurface).Format()) == 4 ? 0xFF000000u | code : code;
  }

  // Sets the top-left pixels of a record, one string a row.
  static void Paint(DDSURFACEDATA& record, const std::vector<std::string>& rows) {
    cPixelBuffer& pixels = PixelsOf(record);
    for (std::size_t y = 0; y < rows.size(); ++y)
      for (std::size_t x = 0; x < rows[y].size(); ++x)
        pixels.SetPixel(static_cast<int>(x), static_cast<int>(y), ValueOf(rows[y][x]));
  }

  // The top-left width x height pixels, one string a row: '.' for a low byte of 0, else its character.
  static std::vector<std::string> Show(DDSURFACEDATA& record, int width, int height) {
    const cPixelBuffer& pixels = PixelsOf(record);
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
      std::string row;
      for (int x = 0; x < width; ++x) {
        const std::uint32_t low = pixels.Pixel(x, y) & 0xFF;
        row += low == 0 ? '.' : static_cast<char>(low);
      }
      rows.push_back(row);
    }
    return rows;
  }

  static std::uint32_t At(DDSURFACEDATA& record, int x, int y) { return PixelsOf(record).Pixel(x, y); }
};

inline const char* BackEndName(int backEnd) { return backEnd == 0 ? "DirectDraw" : "Direct3D"; }
