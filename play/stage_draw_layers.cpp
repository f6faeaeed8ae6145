// The background layers of a stage (images tiled over the frame, following the camera by their
// factor or scrolling by themselves) and the map cells drawn over them.
#include <algorithm>
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "play/chip_sheets.h"
#include "play/dots.h"
#include "play/flow_seam.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "play/stage_draw.h"
#include "project/stage_data.h"

namespace {

// A screen needs at most 16 rows and 21 columns of cells (the view is 15 x 20 and may sit across a
// cell boundary).
constexpr std::int32_t kVisibleRows = 16;
constexpr std::int32_t kVisibleColumns = 21;
// No image is tiled in more pieces than this along one axis.
constexpr std::int32_t kMaxTiles = 1000;

std::int32_t LayerCount() { return std::min(g_Stage.m_BgLayers.Size(), kMaxBgLayers); }

// The image of layer i when it has pixels to tile with; an image of no size has none.
DDSURFACEDATA* LayerImage(std::int32_t i) {
  DDSURFACEDATA* image = &g_SurfaceTable[kBgLayerSurface + i];
  if (!image->lpDT && !image->lpDDPart) return nullptr;
  if (image->width <= 0 || image->height <= 0) return nullptr;
  return image;
}

// An offset that scrolled by `speed` brought back into [0, size) by one turn of the image.
void WrapOffset(double& offset, double speed, std::int32_t size) {
  offset -= speed;
  if (offset < 0.0)
    offset += size;
  else if (offset >= size)
    offset -= size;
}

// Where the top-left of the frame lies in the layer's image, on one axis: its own offset when it
// scrolls by itself, else the camera's place in the stage proper times its factor. The camera's
// x is rounded, its y truncated.
std::int32_t LayerSource(bool autoScroll, double offset, double rate, double camera, std::int32_t margin, bool round) {
  if (autoScroll) return TruncDot(offset + camera - margin);
  const std::int32_t view = TruncDot(round ? camera + 0.5 : camera);
  return TruncDot(static_cast<double>(std::int64_t{view} - margin) * rate);
}

std::int32_t PositiveModulo(std::int32_t v, std::int32_t size) {
  const std::int32_t r = v % size;
  return r < 0 ? r + size : r;
}

// The image tiled over the whole frame with (sx, sy) of the image at the frame's top left.
void TileImage(DDSURFACEDATA* dst, DDSURFACEDATA* image, std::int32_t sx, std::int32_t sy, std::int32_t key) {
  const std::int32_t w = image->width, h = image->height;
  const std::int32_t sx0 = PositiveModulo(sx, w), sy0 = PositiveModulo(sy, h);
  std::int32_t y = 0, fromY = sy0;
  for (std::int32_t row = 0; row < kMaxTiles && y < kViewHeight; ++row) {
    const std::int32_t pieceH = h - fromY;
    std::int32_t x = 0, fromX = sx0;
    for (std::int32_t column = 0; column < kMaxTiles && x < kViewWidth; ++column) {
      const std::int32_t pieceW = w - fromX;
      DDBlt(dst, x, y, pieceW, pieceH, image, fromX, fromY, key);
      x += pieceW;
      fromX = 0;
    }
    y += pieceH;
    fromY = 0;
  }
}

}  // namespace

void ScrollBackgrounds() {
  for (std::int32_t i = 0; i < LayerCount(); ++i) {
    cBgLayer& layer = g_Stage.m_BgLayers.At(i);
    const DDSURFACEDATA* image = LayerImage(i);
    // Without an image the layer has no size to wrap in and nothing of it shows.
    if (image == nullptr) continue;
    if (layer.m_AutoScrollX != 0) WrapOffset(layer.m_OffsetX, layer.m_RateX, image->width);
    if (layer.m_AutoScrollY != 0) WrapOffset(layer.m_OffsetY, layer.m_RateY, image->height);
  }
}

void DrawBackgroundLayers(DDSURFACEDATA* dst, std::int32_t plane) {
  if (g_PlayScene == nullptr) return;
  const std::int32_t count = LayerCount();
  if (plane == kPlaneBack) {
    bool anyShown = false;
    for (std::int32_t i = 0; i < count; ++i) anyShown = anyShown || g_Stage.m_BgLayers.At(i).m_Shown != 0;
    if (!anyShown) {
      DDFillRect(dst, 0, 0, kViewWidth, kViewHeight, kNoLayerColour);
      return;
    }
  }
  const ScrollAxis& axisX = g_PlayScene->m_ScrollX;
  const ScrollAxis& axisY = g_PlayScene->m_ScrollY;
  for (std::int32_t i = 0; i < count; ++i) {
    const cBgLayer& layer = g_Stage.m_BgLayers.At(i);
    if (layer.m_Shown == 0 || layer.m_Pass != static_cast<std::uint32_t>(plane)) continue;
    if (layer.m_PlainColour != 0) {
      DDFillRect(dst, 0, 0, kViewWidth, kViewHeight, layer.m_FillColour);
      continue;
    }
    const std::int32_t sx = LayerSource(layer.m_AutoScrollX != 0, layer.m_OffsetX, layer.m_RateX, axisX.m_Pos,
                                        axisX.m_MarginCells * kCellDots, true);
    const std::int32_t sy = LayerSource(layer.m_AutoScrollY != 0, layer.m_OffsetY, layer.m_RateY, axisY.m_Pos,
                                        axisY.m_MarginCells * kCellDots, false);
    DDSURFACEDATA* image = LayerImage(i);
    if (image == nullptr) continue;
    // The first layer is the backdrop: it is drawn whole, its key colour included.
    TileImage(dst, image, sx, sy, i == 0 ? 0 : 1);
  }
}

void DrawMapCells(DDSURFACEDATA* dst, std::int32_t plane) {
  if (g_PlayScene == nullptr) return;
  const ScrollAxis& axisX = g_PlayScene->m_ScrollX;
  const ScrollAxis& axisY = g_PlayScene->m_ScrollY;
  const std::int32_t cameraX = TruncDot(axisX.m_Pos), cameraY = TruncDot(axisY.m_Pos);
  const std::int32_t c0 = cameraX >> kCellShift, r0 = cameraY >> kCellShift;
  const std::int32_t shiftX = cameraX & (kCellDots - 1), shiftY = cameraY & (kCellDots - 1);
  const std::int64_t cellCount = static_cast<std::int64_t>(g_MapCells.size());
  for (std::int32_t row = 0; row < kVisibleRows; ++row) {
    const std::int64_t r = std::int64_t{r0} + row;
    if (r < 0 || r >= axisY.m_CellCount) continue;
    for (std::int32_t column = 0; column < kVisibleColumns; ++column) {
      const std::int64_t c = std::int64_t{c0} + column;
      if (c < 0 || c >= axisX.m_CellCount) continue;
      const std::int64_t index = (r << axisX.m_Shift) + c;
      if (index >= cellCount) continue;
      cMapCell& cell = g_MapCells[static_cast<std::size_t>(index)];
      if (cell.m_ChipIndex == 0 || cell.m_FrontLayer != plane) continue;
      if (CheckCellConditions(cell) == 0 || cell.m_Hidden != 0) continue;
      DrawBlock(cell, dst, column * kCellDots - shiftX, row * kCellDots - shiftY);
    }
  }
}

void DrawBlock(const cBlock& block, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y) {
  cChipSource chip;
  GetChipSource(chip, kChipPlain, block.m_ChipSource, block.m_ChipIndex, block.m_ChipFrame, 0, 0);
  if (chip.m_Surface != nullptr)
    DDBlt(dst, x, y, kChipSize, kChipSize, chip.m_Surface, chip.m_SourceX, chip.m_SourceY, 1);
  if (block.m_MarkMode != 1) return;
  const std::int32_t mark = block.m_MarkNumber;
  DDBlt(dst, x, y, kChipSize, kChipSize, &g_SurfaceTable[kMarkSheet], mark / kChipsPerColumn * kChipSize,
        mark % kChipsPerColumn * kChipSize, 1);
}
