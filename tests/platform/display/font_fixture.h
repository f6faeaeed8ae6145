#pragma once
// Fonts on the tiny fixture font tests/fixtures/cells16.bdf, loaded by path so that every glyph's
// pixels are known whatever fonts are installed. Its cell is 16 pixels (ascent 14): '#' fills a
// half-width cell (8 x 16), "■" a full-width one (16 x 16), digit d is a bar 1 wide and d + 1 high
// on the baseline, 'a' 'b' 'c' are 2 wide and 2, 3, 4 high, 'i' advances 3 and 'W' 10 pixels, the
// full-width space has a 2 x 2 dot at (7, 6) of its cell.
//
// Drawn pixels read as characters: '.' the background (black), '#' the text colour, 'F' the frame
// colour, 'w' the window picture, 'L' a letter picture.
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "platform/display/blit.h"
#include "platform/display/font.h"
#include "platform/host/glyphs.h"
#include "tests/platform/display/display_fixture.h"

inline std::filesystem::path FixtureFontPath() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fixtures" / "cells16.bdf";
}

class FontTest : public DisplayTest {
 protected:
  static constexpr std::uint32_t kTextPal = 241;
  static constexpr std::uint32_t kFramePal = 240;
  static constexpr std::uint32_t kText = 0x204060;
  static constexpr std::uint32_t kFrame = 0xF0F0F0;
  static constexpr std::uint32_t kWindow = 0x777777;
  static constexpr std::uint32_t kLetter = 0x4C4C4C;

  void SetUp() override {
    DisplayTest::SetUp();
    SetFontFileOverride(FixtureFontPath());
    g_Palette[kTextPal] = {0x20, 0x40, 0x60, 1};
    g_Palette[kFramePal] = {0xF0, 0xF0, 0xF0, 1};
  }
  void TearDown() override {
    for (Font& font : m_Fonts) font.Release();
    ReleaseGameFonts();
    for (DDSURFACEDATA& record : m_Records) DDReleaseSurface(&record);
    SetFontFileOverride({});
    DisplayTest::TearDown();
  }

  // The back-end of a parameterised test: 1 Direct3D, 0 DirectDraw, both at 32 bits.
  bool Start(bool d3d) { return d3d ? StartDirect3D(32) : StartDirectDraw(32); }

  // A font of the fixture face: pitch 0 is the proportional layout.
  Font& MakeFont(std::int32_t pitch, std::int32_t lineHeight, DDSURFACEDATA* window = nullptr,
                 DDSURFACEDATA* letters = nullptr, std::uint32_t palNum = kTextPal) {
    Font& font = m_Fonts.emplace_back();
    font.Create("Cells", 0, 16, pitch, lineHeight, palNum, window, 1, kFramePal, letters);
    return font;
  }

  // An empty destination, cleared to black: a render target under Direct3D unless software.
  DDSURFACEDATA* Blank(std::int32_t width, std::int32_t height, std::int32_t software = 0) {
    DDSURFACEDATA& record = m_Records.emplace_back();
    EXPECT_TRUE(DDCreateSurface(&record, width, height, 0, 1, software, 0, 0));
    Fill(record, 0);
    return &record;
  }
  // A picture of one colour; keyed pictures leave out the transparent colour (black).
  DDSURFACEDATA* Painted(std::int32_t width, std::int32_t height, std::uint32_t rgb, std::int32_t key = 0) {
    DDSURFACEDATA& record = m_Records.emplace_back();
    EXPECT_TRUE(DDCreateSurface(&record, width, height, key, 1, 0, 0, 0));
    Fill(record, rgb);
    return &record;
  }
  void Fill(DDSURFACEDATA& record, std::uint32_t rgb) {
    PixelsOf(record).Fill(lpDevice ? (rgb == 0 && record.lpDT->colourKey ? 0u : 0xFF000000u | rgb) : rgb);
  }

  static std::uint32_t Rgb(DDSURFACEDATA& record, std::int32_t x, std::int32_t y) {
    return PixelsOf(record).Pixel(x, y) & 0xFFFFFF;
  }
  static char Symbol(std::uint32_t rgb) {
    switch (rgb) {
      case 0:
        return '.';
      case kText:
        return '#';
      case kFrame:
        return 'F';
      case kWindow:
        return 'w';
      case kLetter:
        return 'L';
      default:
        return '?';
    }
  }
  static std::vector<std::string> Rows(DDSURFACEDATA& record, std::int32_t x = 0, std::int32_t y = 0,
                                       std::int32_t w = -1, std::int32_t h = -1) {
    if (w < 0) w = record.width - x;
    if (h < 0) h = record.height - y;
    std::vector<std::string> rows;
    for (std::int32_t r = y; r < y + h; ++r) {
      std::string row;
      for (std::int32_t c = x; c < x + w; ++c) row += Symbol(Rgb(record, c, r));
      rows.push_back(row);
    }
    return rows;
  }
  // The bounding box of the pixels of one colour, {left, top, right, bottom} (right and bottom one
  // past); all -1 when there are none.
  static PixelRect Extent(DDSURFACEDATA& record, std::uint32_t rgb) {
    PixelRect box{-1, -1, -1, -1};
    for (std::int32_t y = 0; y < record.height; ++y)
      for (std::int32_t x = 0; x < record.width; ++x) {
        if (Rgb(record, x, y) != rgb) continue;
        if (box.left < 0 || x < box.left) box.left = x;
        if (box.top < 0) box.top = y;
        box.right = std::max(box.right, x + 1);
        box.bottom = y + 1;
      }
    return box;
  }
  static int Count(DDSURFACEDATA& record, std::uint32_t rgb) {
    int n = 0;
    for (std::int32_t y = 0; y < record.height; ++y)
      for (std::int32_t x = 0; x < record.width; ++x) n += Rgb(record, x, y) == rgb;
    return n;
  }

  std::list<Font> m_Fonts;
  std::list<DDSURFACEDATA> m_Records;
};

class FontBothTest : public FontTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    ASSERT_TRUE(Start(GetParam()));
  }
};

inline std::string BackEndName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Direct3D" : "DirectDraw";
}

inline bool operator==(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
