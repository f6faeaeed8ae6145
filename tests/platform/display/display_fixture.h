#pragma once
// A game folder with the display's state fresh for each test: a headless 640x480 screen, no
// back-end up, the palette, key and masks cleared, no fault switched on, and every box recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/display/bitmap_surface.h"
#include "platform/display/display.h"
#include "platform/display/display_faults.h"
#include "platform/display/palette.h"
#include "platform/display/present.h"
#include "platform/host/box_sink.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/game_folder.h"

class DisplayTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ClearDisplayState();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t) {
      m_Boxes.push_back(caption + ": " + text);
      return IDOK;
    });
  }
  void TearDown() override {
    DDRelease();
    ClearDisplayState();
    GameFolderTest::TearDown();
  }

  static void ClearDisplayState() {
    ResetDisplayFaults();
    std::fill(std::begin(g_Palette), std::end(g_Palette), PALETTEENTRY{});
    std::fill(std::begin(g_FadePalette), std::end(g_FadePalette), PALETTEENTRY{});
    g_TransparentPixel = 0;
    g_ColorMasks.fill(0);
  }

  bool StartDirectDraw(int bpp, int windowed = 0, int backBufferFlag = 1) {
    return DDInit(0, &m_Screen, 640, 480, bpp, 0, windowed, backBufferFlag, 60, 1, m_Table, m_Descriptors.data(),
                  static_cast<std::int32_t>(m_Descriptors.size()));
  }
  bool StartDirect3D(int bpp, int windowed = 1) {
    return DDInit(1, &m_Screen, 640, 480, bpp, 0, windowed, 1, 60, 1, m_Table, m_Descriptors.data(),
                  static_cast<std::int32_t>(m_Descriptors.size()));
  }

  void WriteBmp(const std::string& hostPath, const BmpSpec& layout) { WriteHostFile(hostPath, MakeBmp(layout)); }

  // The back surface shown in the headless window (presented under Direct3D, copied to the window
  // under DirectDraw) and written as the PNG file png; false when a step fails.
  bool ShowAndWriteFrame(const std::filesystem::path& png) {
    if (DisplayIsD3D()) {
      if (!DDPresent()) return false;
    } else if (g_lpDD->BltToWindow(*g_BackSurface.lpDDPart->surface) != DD_OK) {
      return false;
    }
    std::filesystem::create_directories(png.parent_path());
    return m_Screen.WriteLastFramePng(png);
  }

  // The report log as it stands (UTF-8 on disk).
  std::string Report() { return ReadHostFile("Report_Game.txt"); }

  // The pixels of a record, whichever back-end made them.
  static cPixelBuffer& PixelsOf(DDSURFACEDATA& record) {
    if (record.lpDT) return *record.lpDT->lpSurface;
    return record.lpDDPart->surface->Pixels();
  }

  cHeadlessScreen m_Screen{640, 480};
  std::vector<std::string> m_Boxes;
  std::vector<SurfaceDescriptor> m_Descriptors = std::vector<SurfaceDescriptor>(8);
  DDSURFACEDATA m_Table[8];
};

// A 100 x 2 8-bit picture whose pixel at column x is index x + 1 (row 1: x + 101 wraps past 255).
inline BmpSpec WideIndexedPicture(int width = 100, int height = 2) {
  BmpSpec layout{.width = width, .height = height, .bpp = 8, .table = GreyTable(256)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) layout.pixels.push_back(static_cast<std::uint32_t>((x + 1 + 100 * y) & 0xFF));
  return layout;
}

// Where the screenshot tests write their pictures for people to look at: $PLAYER_TEST_OUTPUT, or
// test_output in the folder the test program started in (take it before entering a game folder).
inline std::filesystem::path TestOutputDir() {
  const char* dir = std::getenv("PLAYER_TEST_OUTPUT");
  return dir ? std::filesystem::path(dir) : std::filesystem::current_path() / "test_output";
}

// A 640 x 480 frame read back from a PNG file, for the screenshot tests' checks.
struct sFramePng {
  std::vector<std::uint32_t> pixels;
  // Red, green, blue of (x, y).
  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)] & 0xFFFFFF;
  }
};
// False when the file cannot be read or is not 640 x 480.
inline bool ReadFramePng(const std::filesystem::path& file, sFramePng* frame) {
  std::int32_t width = 0, height = 0;
  return ReadXrgbPng(file, &frame->pixels, &width, &height) && width == 640 && height == 480;
}
