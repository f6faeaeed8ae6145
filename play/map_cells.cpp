#include "play/map_cells.h"

#include <cstdint>
#include <new>

#include "play/flow_seam.h"
#include "play/play_scene.h"
#include "project/stage_data.h"

std::int32_t MapCellIndex(std::int32_t tx, std::int32_t ty) {
  const std::int32_t shift = g_PlayScene != nullptr ? g_PlayScene->m_ScrollX.m_Shift : 0;
  // Tiles come from clamped positions; the wide sum only keeps a stray one from overflowing, and the
  // checked access then reports it.
  const std::int64_t index = (std::int64_t{ty} << shift) + tx;
  if (index < INT32_MIN || index > INT32_MAX) return -1;
  return static_cast<std::int32_t>(index);
}

std::int32_t StageCellIndex(std::int32_t x, std::int32_t y) {
  return MapCellIndex(x + kMapMarginCells, y + kMapMarginCells);
}

cMapCell& MapCellAt(std::int32_t tx, std::int32_t ty) { return g_MapCells.At(MapCellIndex(tx, ty)); }

std::int32_t IsSolidFor(cMapCell& cell, std::int32_t group) {
  if (!cell.m_Conditions.empty() && CheckCellConditions(cell) == 0) return kSolidNone;
  if (cell.m_PassGroup == group) return kSolidNone;
  return cell.m_Solid;
}

void BuildMapCells(const cStageData& stage) {
  const ScrollAxis& across = g_PlayScene->m_ScrollX;
  const ScrollAxis& down = g_PlayScene->m_ScrollY;
  const std::int64_t count = std::int64_t{across.m_Stride} * down.m_CellCount;
  if (count > kMaxMapCells) throw std::bad_alloc();
  g_MapCells.clear();
  g_MapCells.resize(static_cast<std::size_t>(count));
  for (cMapCell& cell : g_MapCells) {
    cell.m_ChipIndex = 0;
    cell.m_Solid = kSolidNone;
    cell.m_SummonProof = 0;
  }
  for (const cBlock& block : stage.m_PlacedBlocks) {
    const std::int32_t tx = block.m_PosX + kMapMarginCells;
    const std::int32_t ty = block.m_PosY + kMapMarginCells;
    // A block the map has no cell for would land in another row's cell; it is not placed.
    if (tx < 0 || tx >= across.m_Stride || ty < 0 || ty >= down.m_CellCount) continue;
    g_MapCells.At(MapCellIndex(tx, ty)) = block;
  }
}
