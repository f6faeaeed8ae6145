#pragma once
// The stage graphics with a play scene over a small map: the sheets of the stage, the mark,
// status-bar, accessory and word sheets and up to eight background images, the play scene's axes for
// a map of kCellsX x kCellsY stage cells, empty map cells, and the object drawers cleared. Every
// picture follows SheetPixel (or BackgroundPixel), so a test predicts each pixel of the frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display/display.h"
#include "platform/services/record.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "play/stage_draw.h"
#include "play/stage_draw_objects.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "tests/play/stage_graphics_fixture.h"

// clang-format off
inline const sSheetFile kDrawSheets[] = {
    {"bmp/Mark.bmp",          0xD0, 32, 128, 480},
    {"bmp/StatusWindow.bmp",  0xD8, 32, 640, 32},
    {"bmp/Accessory.bmp",     0xE0, 16, 128, 192},
    {"bmp/Word.bmp",          0xE8, 32, 320, 192},
};
// clang-format on

// Background image i: kBgWidth x kBgHeight, red 0x80 + i, green the column, blue the row; with
// keyed set, the dots whose column and row are both even are the key colour.
constexpr int kBgWidth = 100;
constexpr int kBgHeight = 60;
inline std::uint32_t BackgroundPixel(int i, int x, int y, bool keyed) {
  if (keyed && x % 2 == 0 && y % 2 == 0) return kSheetKey;
  return static_cast<std::uint32_t>(0x80 + i) << 16 | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y);
}

// Palette colour 16, the colour of a frame without layers.
constexpr std::uint32_t kColour16 = 0x123456;

class StageDrawTest : public StageGraphicsTest {
 public:
  // The pixels of a record, for the drawers the tests hand to the object pass.
  static cPixelBuffer& Pixels(DDSURFACEDATA& record) { return PixelsOf(record); }

 protected:
  static constexpr BackEnd kBackEnds[] = {BackEnd::DirectDraw, BackEnd::Direct3D};
  static constexpr std::int32_t kCellsX = 40;
  static constexpr std::int32_t kCellsY = 20;
  static constexpr double kOriginX = kStageBaseDots;  // the camera at the stage's top left
  static constexpr double kOriginY = kStageBaseDots;

  void SetUp() override {
    StageGraphicsTest::SetUp();
    InitRecordSettings();
    for (const sSheetFile& sheet : kDrawSheets) WriteSheet(sheet);
    for (int i = 0; i < kMaxBgLayers; ++i) {
      BmpSpec layout{.width = kBgWidth, .height = kBgHeight, .bpp = 24};
      for (int y = 0; y < kBgHeight; ++y)
        for (int x = 0; x < kBgWidth; ++x) layout.pixels.push_back(BackgroundPixel(i, x, y, i > 0));
      WriteBmp("bmp/bg" + std::to_string(i) + ".bmp", layout);
    }
    g_Stage.Reset();
    g_Stage.m_BgLayers.clear();
    m_Scene = std::make_unique<cPlayScene>();
    g_PlayScene = m_Scene.get();
    g_ObjectDrawers = {};
    g_DarknessDrawer = nullptr;
  }

  void TearDown() override {
    m_Scene.reset();
    g_MapCells.clear();
    g_Stage.Reset();
    g_ObjectDrawers = {};
    g_DarknessDrawer = nullptr;
    for (int i = 0; i < kMaxBgLayers; ++i) g_SurfaceDescriptors[kBgLayerSurface + i].name.clear();
    StageGraphicsTest::TearDown();
  }

  // The display of a back-end with the stage sheets, the drawing sheets, the background images of
  // the first `images` layers, and the map set up with the camera at the stage's top left.
  void StartDrawing(BackEnd backEnd, int images = 0) {
    StartStage(backEnd);
    g_Palette[16] = {0x12, 0x34, 0x56, 0};
    ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {kMarkSheet, kMarkSheetShared, 46, 49, 51}));
    for (int i = 0; i < images; ++i) {
      g_SurfaceDescriptors[kBgLayerSurface + i].name = "bmp\\bg" + std::to_string(i) + ".bmp";
      ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {kBgLayerSurface + i}));
    }
    cPlayScene& scene = *m_Scene;
    scene.m_ScrollX.Setup(0, kCellsX, kCellsX * 32);
    scene.m_ScrollY.Setup(1, kCellsY, kCellsY * 32);
    scene.m_ScrollX.SetScrollRange(0, 0, 0, 0);
    scene.m_ScrollY.SetScrollRange(0, 0, 0, 0);
    SetCamera(kOriginX, kOriginY);
    cStageData empty;
    empty.m_PlacedBlocks.clear();
    BuildMapCells(empty);
  }

  void SetCamera(double x, double y) {
    m_Scene->m_ScrollX.m_Pos = x;
    m_Scene->m_ScrollY.m_Pos = y;
  }

  // A layer of plane `plane` showing image i (its rates, scroll and offsets as the test sets them).
  static cBgLayer& AddLayer(std::uint32_t plane = kPlaneBack) {
    cBgLayer& layer = g_Stage.m_BgLayers.emplace_back();
    layer.SetDefaults();
    layer.m_Pass = plane;
    return layer;
  }

  // Block chip `chip` at map column tx, row ty (margin included).
  static cMapCell& PutCell(std::int32_t tx, std::int32_t ty, std::int16_t chip, std::uint8_t plane = kPlaneBack) {
    cMapCell& cell = MapCellAt(tx, ty);
    cell.m_ChipSource = kChipBlock;
    cell.m_ChipIndex = chip;
    cell.m_FrontLayer = plane;
    return cell;
  }

  static cPixelBuffer& Back() { return PixelsOf(g_BackSurface); }
  // A pixel of the frame as red, green, blue.
  static std::uint32_t Frame(int x, int y) { return Back().Pixel(x, y) & 0xFFFFFF; }
  static void ClearFrame(std::uint32_t rgb) { Back().Fill(rgb); }

  // What the frame shows at (x, y) after a keyed copy of a sheet pixel over `under`.
  static std::uint32_t Over(std::uint32_t sheetRgb, std::uint32_t under) {
    return sheetRgb == kSheetKey ? under : sheetRgb;
  }

  std::unique_ptr<cPlayScene> m_Scene;
};
