#include "play/placing.h"

#include <algorithm>

#include "platform/services/log.h"
#include "play/chara.h"
#include "play/collision.h"
#include "play/dots.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/common_palette.h"
#include "project/ed_shot.h"
#include "project/stage_data.h"

namespace {

// The centre of map cell (column, row) of the stage proper, in map dots.
double CellCentreX(std::int32_t column) { return (g_PlayScene->TileOriginX() + static_cast<double>(column)) * 32 + 16; }
double CellCentreY(std::int32_t row) { return (g_PlayScene->TileOriginY() + static_cast<double>(row)) * 32 + 16; }

void MoveBox(cGameObj& obj, double dx, double dy) {
  obj.m_X1 += dx;
  obj.m_X2 += dx;
  obj.m_Y1 += dy;
  obj.m_Y2 += dy;
}

// The box with its top left at (x, y) and the object's hit size.
void PutBox(cGameObj& obj, double x, double y) {
  obj.m_X1 = x;
  obj.m_Y1 = y;
  obj.m_X2 = x + obj.m_Width - 1;
  obj.m_Y2 = y + obj.m_Height - 1;
}

// A summon's time limit as remaining life in logic steps.
void ApplyTimeLimit(cGameObj& obj, const SummonOptions& options) {
  if (options.timeLimitOn == 0) return;
  const std::int64_t steps = std::int64_t{options.timeLimit} * 6 * g_StepsPerFrame;
  obj.m_Life = static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, 0, kEndlessLife));
}

bool Overlaps(const cGameObj& obj, double x1, double y1, double x2, double y2) {
  return obj.m_X1 <= x2 && obj.m_X2 >= x1 && obj.m_Y1 <= y2 && obj.m_Y2 >= y1;
}

// Replaces the cell by block; with a refuse option an occupied place puts the old cell back. True
// when the block stays.
bool SummonCell(cMapCell& cell, std::int32_t index, std::int32_t column, std::int32_t row,
                const SummonOptions& options, const cBlock& block) {
  if (options.refuseOnHero == 0 && options.refuseOnChara == 0) {
    cell = block;
    // Run for the marks it leaves on the objects under the new cell.
    IsAreaOccupied(index, column, row, options);
    return true;
  }
  const cMapCell saved = cell;
  cell = block;
  if (IsAreaOccupied(index, column, row, options) == 0) return true;
  cell = saved;
  return false;
}

// The empty cell: entry 0 of the common palette's blocks is always the default block.
void RemoveCell(cMapCell& cell) { cell = g_CommonPalette.m_Blocks.At(0); }

bool InsideMap(std::int32_t column, std::int32_t row) {
  return column >= 0 && column < g_PlayScene->m_ScrollX.m_CellCount && row >= 0 &&
         row < g_PlayScene->m_ScrollY.m_CellCount;
}

}  // namespace

SummonOptions SummonOptionsOf(const cEdShot& shot) {
  SummonOptions o;
  o.timeLimitOn = shot.m_LimitedLife;
  o.timeLimit = shot.m_Word102;
  o.blockMode = shot.m_Byte126;
  o.refuseOnHero = shot.m_Byte131;
  o.refuseOnChara = shot.m_Byte132;
  o.noScore = shot.m_Byte130;
  o.groupMode = shot.m_Byte133;
  o.reverseFacing = shot.m_Byte134;
  return o;
}

void SpawnCharaFromStage(cObjectList<cChara>& list, std::int32_t column, std::int32_t row, std::int32_t& idCounter,
                         const cCharaDef& record, const cItem* heldItem) {
  const std::int32_t copies = ExtraCopiesOf(record);
  for (std::int32_t k = 0; k <= copies; ++k) {
    cChara chara;
    chara.Setup(idCounter, record, heldItem, CellCentreX(column), CellCentreY(row), static_cast<std::uint16_t>(k));
    chara.PlaceAtCell(column, row);
    MoveBox(chara, record.OffsetX(k, record.m_Facing), record.OffsetY(k, record.m_Facing));
    if (!chara.IsInsideStage(true)) continue;
    chara.OnMovedX();
    chara.OnMovedY();
    cChara& placed = list.Emplace(std::move(chara));
    placed.UpdateScreenRect();
    ++idCounter;
  }
}

void SpawnItemFromStage(cObjectList<cItem>& list, std::int32_t column, std::int32_t row, std::int32_t& idCounter,
                        const cItemDef& record) {
  cItem item;
  item.Setup(idCounter, record, 0);
  item.PlaceOnGrid(column, row);
  MoveBox(item, item.DotOffsetX(), item.DotOffsetY());
  if (!item.IsInsideStage(true)) return;
  item.ClampToStageX(2);
  item.ClampToStageY(2);
  cItem& placed = list.Emplace(std::move(item));
  placed.UpdateScreenRect();
  ++idCounter;
}

void SpawnCharaAt(cObjectList<cChara>& list, double x, double y, std::int32_t group, std::int32_t facing,
                  const SummonOptions& options, const cCharaDef& def, std::int32_t& idCounter) {
  const std::int32_t copies = ExtraCopiesOf(def);
  for (std::int32_t k = 0; k <= copies; ++k) {
    cCharaDef copy = def;
    if (options.noScore != 0) copy.m_Score = 0;
    copy.m_SpareByte2 = static_cast<std::uint8_t>(group);
    copy.m_Facing = static_cast<std::uint8_t>(facing);
    cChara chara;
    const double base = static_cast<double>(kStageBaseDots);
    chara.Setup(idCounter, copy, nullptr, base + x + 16, base + y + 16, static_cast<std::uint16_t>(k));
    PutBox(chara, x + chara.m_DrawOffsetX, y + chara.m_DrawOffsetY);
    MoveBox(chara, copy.OffsetX(k, copy.m_Facing), copy.OffsetY(k, copy.m_Facing));
    if (!chara.IsInsideStage(true)) continue;
    chara.OnMovedX();
    chara.OnMovedY();
    cChara& placed = list.Emplace(std::move(chara));
    if (IsPlaceBlocked(placed) != 0) {
      list.Remove(&placed);
      continue;
    }
    ApplyTimeLimit(placed, options);
    g_PlayScene->m_GroupCharas.At(placed.m_Group).Emplace(&placed);
    ++idCounter;
  }
}

void SpawnItemAt(cObjectList<cItem>& list, double x, double y, const SummonOptions& options, const cItemDef& def,
                 std::int32_t& idCounter) {
  cItem item;
  item.Setup(idCounter, def, 0);
  PutBox(item, x + item.m_DrawOffsetX + item.DotOffsetX(), y + item.m_DrawOffsetY + item.DotOffsetY());
  if (!item.IsInsideStage(true)) return;
  item.ClampToStageX(2);
  item.ClampToStageY(2);
  ApplyTimeLimit(item, options);
  list.Emplace(std::move(item));
  ++idCounter;
}

void ChangeMapCellsAt(double x, double y, const SummonOptions& options, const cBlock& block) {
  const std::int32_t column = TruncDot(x + 16.5) >> kCellShift;
  const std::int32_t row = TruncDot(y + 16.5) >> kCellShift;
  // A column past the row's end would land in the next row, and a cell outside the map in cell 0:
  // such a summon changes nothing.
  if (!InsideMap(column, row)) {
    if (g_PlayScene->m_OutsideCellReported == 0) {
      ReportLogAndLog("block summon outside the map ( %d , %d )", column, row);
      g_PlayScene->m_OutsideCellReported = 1;
    }
    return;
  }
  const std::int32_t index = MapCellIndex(column, row);
  cMapCell& cell = g_MapCells.At(index);
  if (cell.m_SummonProof != 0) return;
  switch (options.blockMode) {
    case kSummonBlock:
      SummonCell(cell, index, column, row, options, block);
      break;
    case kRemoveBlock:
      RemoveCell(cell);
      break;
    case kToggleBlock: {
      CheckedVector<std::int32_t>& toggled = g_PlayScene->m_ToggledCells;
      // A spawn pattern that reaches the same cell twice toggles it once.
      if (std::find(toggled.begin(), toggled.end(), index) != toggled.end()) return;
      bool changed = true;
      if (cell.m_ChipIndex == 0 || CheckCellConditions(cell) == 0)
        changed = SummonCell(cell, index, column, row, options, block);
      else
        RemoveCell(cell);
      if (changed) toggled.push_back(index);
      break;
    }
    default:
      break;
  }
}

std::int32_t IsAreaOccupied(std::int32_t cellIndex, std::int32_t column, std::int32_t row,
                            const SummonOptions& options) {
  cMapCell& cell = g_MapCells.At(cellIndex);
  const double x1 = column * 32.0;
  const double y1 = row * 32.0;
  const double x2 = (column + 1) * 32.0 - 0.1;
  const double y2 = (row + 1) * 32.0 - 0.1;
  for (cHero& hero : g_Heroes) {
    if (hero.m_Dead != 0 || IsSolidFor(cell, hero.m_Group) == kSolidNone || !Overlaps(hero, x1, y1, x2, y2)) continue;
    hero.m_SummonedCellMark = 2;
    if (options.refuseOnHero != 0) return 1;
  }
  for (cChara& chara : g_CharaList) {
    if (chara.m_Dead != 0 || chara.m_Present == 0 || IsSolidFor(cell, chara.m_Group) == kSolidNone ||
        !Overlaps(chara, x1, y1, x2, y2))
      continue;
    chara.m_SummonedCellMark = 2;
    if (options.refuseOnChara != 0) return 1;
  }
  return 0;
}

void PlaceStageCharasAndItems(const cStageData& stage, std::int32_t& nextCharaId, std::int32_t& nextItemId) {
  const CheckedVector<cItemDef>& items = stage.m_PlacedItems;
  CheckedVector<std::uint8_t> taken(items.size(), 0);
  cItem held;
  for (const cCharaDef& def : stage.m_PlacedCharas) {
    // Player-operated placements are heroes; the hero set-up places them.
    if (def.m_Operator == 0) continue;
    // The word after the position names the placed item the character holds; -1 (or an index the
    // stage does not have) holds none.
    const auto itemIndex = static_cast<std::int32_t>(def.m_StoredWord);
    if (itemIndex < 0 || itemIndex >= items.Size()) {
      SpawnCharaFromStage(g_CharaList, def.m_PosX, def.m_PosY, nextCharaId, def, nullptr);
      continue;
    }
    held.Setup(nextItemId++, items.At(itemIndex), 1);
    SpawnCharaFromStage(g_CharaList, def.m_PosX, def.m_PosY, nextCharaId, def, &held);
    taken.At(itemIndex) = 1;
  }
  for (std::int32_t i = 0; i < items.Size(); ++i)
    if (taken.At(i) == 0) SpawnItemFromStage(g_ItemList, items.At(i).m_PosX, items.At(i).m_PosY, nextItemId, items.At(i));
}
