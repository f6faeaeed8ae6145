#pragma once
// A game folder with small stage sheets, the display up over the game's own surface table, and the
// database's picture tables set by the test. Every sheet is drawn from one rule (SheetPixel), so a
// test predicts any pixel of a sheet, of its cell mirror, or of what was drawn from it.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/display/blit.h"
#include "play/chip_sheets.h"
#include "play/stage_bitmaps.h"
#include "project/database.h"
#include "project/surface_descriptors.h"
#include "tests/platform/display/display_fixture.h"

// The key colour of the sheets (DDSetTransmit).
constexpr std::uint32_t kSheetKey = 0xFF00FF;
// Palette colour 0 under DirectDraw: what the composed shot sheets are filled with.
constexpr std::uint32_t kPaletteZero = 0x0A141E;

// Pixel (x, y) of a test sheet of `cell`-dot cells: red names the sheet, green the cell column
// (and which half of the cell), blue the cell row; the top-left 2x2 dots of a cell are the key.
inline std::uint32_t SheetPixel(std::uint32_t tag, int cell, int x, int y) {
  const int inX = x % cell, inY = y % cell;
  if (inX < 2 && inY < 2) return kSheetKey;
  const std::uint32_t green = static_cast<std::uint32_t>(x / cell * 12 + (inX >= cell / 2 ? 6 : 0));
  const std::uint32_t blue = static_cast<std::uint32_t>(y / cell * 16 + 1);
  return tag << 16 | green << 8 | blue;
}

// The same sheet mirrored cell by cell, as the mirrored table rows hold it.
inline std::uint32_t MirroredSheetPixel(std::uint32_t tag, int cell, int x, int y) {
  return SheetPixel(tag, cell, x - x % cell + (cell - 1 - x % cell), y);
}

struct sSheetFile {
  const char* path;  // host path under the game folder
  std::uint32_t tag;
  int cell;
  int width, height;
};

// Character sheets 3 to 7 are left out: they are optional, and a missing one is a case of its own.
// Character sheets are two frame columns wide, so a third column lies beyond them.
// clang-format off
inline const sSheetFile kStageSheets[] = {
    {"bmp/Block.bmp",      0x10, 32, 64,  480},
    {"bmp/Character1.bmp", 0x20, 32, 64,  480},
    {"bmp/Character2.bmp", 0x30, 32, 64,  480},
    {"bmp/Character8.bmp", 0x40, 32, 64,  480},
    {"bmp/Shot.bmp",       0x50, 16, 128, 480},
    {"bmp/Item.bmp",       0x60, 32, 128, 480},
    {"bmp/Item_Mini.bmp",  0x70, 16, 64,  240},
};
// Dedicated bitmaps, swords and effects named by the database of the tests.
inline const sSheetFile kDatabaseSheets[] = {
    {"bmp/CharaExc/big.bmp",   0x80, 64, 192, 128},  // cell size 2
    {"bmp/CharaExc/small.bmp", 0x90, 32, 64,  64},
    {"bmp/sword_l.bmp",        0xA0, 16, 32,  16},
    {"bmp/sword_r.bmp",        0xB0, 16, 48,  16},
    {"bmp/effect.bmp",         0xC0, 16, 64,  16},
};
// clang-format on

class StageGraphicsTest : public DisplayTest {
 protected:
  enum class BackEnd { DirectDraw, Direct3D };
  static const char* BackEndName(BackEnd backEnd) { return backEnd == BackEnd::Direct3D ? "Direct3D" : "DirectDraw"; }

  void SetUp() override {
    DisplayTest::SetUp();
    for (const sSheetFile& sheet : kStageSheets) WriteSheet(sheet);
    for (const sSheetFile& sheet : kDatabaseSheets) WriteSheet(sheet);
    LogInit(1, "EC_Game.txt");
  }

  void TearDown() override {
    ReleaseLists();
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    DisplayTest::TearDown();
    EXPECT_TRUE(m_Boxes.empty()) << m_Boxes.front();
    LogInit(0, "EC_Game.txt");
    g_Database.SetDefaults();
  }

  static void ReleaseLists() {
    for (auto* list : {&g_CharaExcSurfaces, &g_SwordSurfaces, &g_EffectSurfaces}) {
      ReleaseSurfaceVector(*list);
      list->clear();
    }
  }

  void WriteSheet(const sSheetFile& sheet) {
    BmpSpec layout{.width = sheet.width, .height = sheet.height, .bpp = 24};
    for (int y = 0; y < sheet.height; ++y)
      for (int x = 0; x < sheet.width; ++x) layout.pixels.push_back(SheetPixel(sheet.tag, sheet.cell, x, y));
    WriteBmp(sheet.path, layout);
  }

  // The display over g_SurfaceTable with its links, the key and palette colour 0 set, and the
  // rows of the sheets loaded (the missing character sheets are optional rows).
  void StartStage(BackEnd backEnd) {
    ReleaseLists();
    m_BackEnd = backEnd;
    ASSERT_TRUE(DDInit(backEnd == BackEnd::Direct3D ? 1 : 0, &m_Screen, 640, 480, 32, 0, 1, 1, 60, 1, g_SurfaceTable,
                       g_SurfaceDescriptors, kSurfaceTableSize));
    LinkSourceSurfaces();
    DDSetTransmit(0xFF, 0x00, 0xFF);
    g_Palette[0] = {0x0A, 0x14, 0x1E, 0};
    std::vector<std::int32_t> rows;
    for (std::int32_t row = 2; row <= 42; ++row) rows.push_back(row);
    rows.push_back(kShotSheet);
    rows.push_back(kShotSheetMirrored);
    ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, rows.data(), static_cast<std::int32_t>(rows.size())));
  }

  // What a keyed file texture or surface holds for a sheet colour: Direct3D makes the key
  // transparent black and every other texel opaque.
  std::uint32_t Stored(std::uint32_t rgb) const {
    if (m_BackEnd == BackEnd::DirectDraw) return rgb;
    return rgb == kSheetKey ? 0u : 0xFF000000u | rgb;
  }
  // Palette colour 0 as a fill of a keyed surface leaves.
  std::uint32_t FillColour() const { return m_BackEnd == BackEnd::DirectDraw ? kPaletteZero : 0u; }

  // The dedicated bitmaps: 1 with large cells of size 2, 2 a file that is not there, 3 plain cells.
  static void SetCharaBitmaps() {
    auto& table = g_Database.m_CharaBitmaps;
    table.assign(4, cBmpCharaExcDef());
    table.At(1).m_FileName = "bmp\\CharaExc\\big.bmp";
    table.At(1).m_LargeCells = 1;
    table.At(1).m_CellScale = 2;
    table.At(2).m_FileName = "bmp\\CharaExc\\missing.bmp";
    table.At(3).m_FileName = "bmp\\CharaExc\\small.bmp";
  }

  // Sword types from entry 0, each {facing-left file, facing-right file}.
  static void SetSwords(std::initializer_list<std::pair<const char*, const char*>> files) {
    auto& table = g_Database.m_SwordTypes;
    table.assign(files.size(), cSwordTypeDef());
    int i = 0;
    for (const auto& [left, right] : files) {
      table.At(i).m_LeftFileName = left;
      table.At(i++).m_RightFileName = right;
    }
  }
  // Effects 1 on; entry 0 is "none".
  static void SetEffects(std::initializer_list<const char*> files) {
    auto& table = g_Database.m_Effects;
    table.assign(files.size() + 1, cEffectDef());
    int i = 1;
    for (const char* file : files) table.At(i++).m_FileName = file;
  }
  static void LoadLists() {
    LoadCharaBitmaps();
    LoadSwordBitmaps();
    LoadEffectBitmaps();
  }

  std::string DebugLog() { return ReadHostFile("EC_Game.txt"); }

  BackEnd m_BackEnd = BackEnd::DirectDraw;
};

inline DDSURFACEDATA* TableRow(std::int32_t row) { return &g_SurfaceTable[row]; }
inline DDSURFACEDATA* CharaExc(std::size_t index) { return &g_CharaExcSurfaces[index]; }
