#include "play/collision.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "play/chara.h"
#include "play/dots.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/stage_data.h"

namespace {

bool PassesBlocks(const cGameObj& obj) { return obj.m_Flying != 0 && obj.m_BlockMode == 0; }
bool DiesOnBlocks(const cGameObj& obj) { return obj.m_Flying != 0 && obj.m_BlockMode == 2; }
bool FliesIntoBlocks(const cGameObj& obj) { return obj.m_Flying != 0 && obj.m_BlockMode == 1; }
// Only computer-operated objects take a deadly cell for a plain solid one.
bool IsComputer(const cGameObj& obj) { return obj.m_Operator == 1; }

// The size factor of the sampling; a scale the set-up has not raised yet counts as 1.
std::int32_t SampleFactor(const cCharaBase& obj) { return std::max<std::int32_t>(1, obj.Scale()); }

// The tile of a sample dot; samples of a huge box saturate, and the checked access reports them.
std::int32_t TileOf(std::int64_t dot) {
  const std::int64_t tile = dot >> kCellShift;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(tile, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t SolidityAt(std::int32_t index, std::int32_t group) { return IsSolidFor(g_MapCells.At(index), group); }

// Keeps the most solid sample; on a horizontal edge equal cells go to the sample nearest the middle.
struct EdgeBest {
  std::int32_t solidity = -1;
  std::int32_t cell = 0;
  std::int64_t distance = std::numeric_limits<std::int32_t>::max();

  void Offer(std::int32_t index, std::int32_t group) {
    const std::int32_t s = SolidityAt(index, group);
    if (s > solidity) {
      solidity = s;
      cell = index;
    }
  }
  void OfferNearMiddle(std::int32_t index, std::int32_t group, std::int64_t d) {
    const std::int32_t s = SolidityAt(index, group);
    if (s > solidity || (s == solidity && d < distance)) {
      solidity = s;
      cell = index;
      distance = d;
    }
  }
};

void SetFeet(cCharaBase& obj, std::int32_t index) {
  obj.m_CellUnderFeet = &g_MapCells.At(index);
  obj.m_CellIndexUnderFeet = index;
}

// The floor cell a standing object records: a hero's is the cell under the middle of its feet.
std::int32_t StandingCell(const cCharaBase& obj, std::int32_t edgeCell) {
  return obj.m_Operator == 0 ? FindFootCell(obj) : edgeCell;
}

void Stand(cCharaBase& obj, std::int32_t cell) {
  SetFeet(obj, cell);
  obj.m_LastLandedCell = obj.m_CellUnderFeet;
}

std::int32_t FloorEdgeCell(const cCharaBase& obj) {
  const std::int32_t y = TruncDot(obj.m_Y2);
  return FindEdgeCell(obj, TruncDot(obj.m_X1), y, TruncDot(obj.m_X2), y);
}

// The object found no floor this step; past the grace time it falls.
void StepInAir(cCharaBase& obj) {
  obj.m_CellUnderFeet = nullptr;
  ++obj.m_J7;
  if (obj.m_J7 < g_Stage.Field(kEightTimesSteps)) return;
  if (obj.m_Operator == 0) {
    // A hero carried by a block character is not falling.
    if (obj.m_OnBlockChara != 0) return;
    if (auto* hero = dynamic_cast<cHero*>(g_PlayScene->Hero(0))) hero->m_JumpAllowed = 1;
  }
  obj.m_J2 = 1;
}

std::int32_t HitWall(cCharaBase& obj, bool right) {
  if (PassesBlocks(obj)) return kCellSafe;
  const std::int32_t x = TruncDot(right ? obj.m_X2 : obj.m_X1);
  const std::int32_t cell = FindEdgeCell(obj, x, TruncDot(obj.m_Y1), x, TruncDot(obj.m_Y2));
  const std::int32_t s = SolidityAt(cell, obj.m_Group);
  if (s == kSolidDeadly && !IsComputer(obj)) return kCellKilled;
  if (s == kSolidNone) return kCellSafe;
  if (DiesOnBlocks(obj)) return kCellKilled;
  if (right) {
    obj.m_LRUD[kContactRight] = 1;
    // The right edge comes to rest on the last dot column before the cell.
    obj.m_X1 -= (TruncDot(obj.m_X2) & 31) + 1;
  } else {
    obj.m_LRUD[kContactLeft] = 1;
    // A left edge exactly on a cell boundary moves a full cell, out of the cell it lies in.
    obj.m_X1 += 32 - (TruncDot(obj.m_X1) & 31);
  }
  obj.m_DriveX = 0.0;
  obj.OnMovedX();
  obj.m_J1 = right ? 1 : 0;
  RunTriggeredFlows(obj, kTriggerBlockHit);
  RunTriggeredFlows(obj, kTriggerBlockBeside);
  RunTriggeredFlows(obj, right ? kTriggerBlockRight : kTriggerBlockLeft);
  return kCellSafe;
}

// Two tests in order: a kill by the first ends it, else the second's answer.
template <class First, class Second>
std::int32_t InOrder(cCharaBase& obj, First first, Second second) {
  if (first(obj) == kCellKilled) return kCellKilled;
  return second(obj);
}

}  // namespace

std::int32_t FindEdgeCell(const cCharaBase& obj, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  const std::int32_t samples = SampleFactor(obj) + 1;
  EdgeBest best;
  if (x1 == x2) {
    const std::int32_t column = x1 >> kCellShift;
    const std::int64_t step = std::int64_t{obj.m_BaseHeight} - 1;
    for (std::int32_t i = 0; i < samples; ++i)
      best.Offer(MapCellIndex(column, TileOf(y1 + i * step)), obj.m_Group);
  } else if (y1 == y2) {
    const std::int32_t row = y1 >> kCellShift;
    const std::int64_t middle = (std::int64_t{x1} + x2) >> 1;
    const std::int64_t step = std::int64_t{obj.m_BaseWidth} - 1;
    for (std::int32_t i = 0; i < samples; ++i) {
      const std::int64_t x = x1 + i * step;
      best.OfferNearMiddle(MapCellIndex(TileOf(x), row), obj.m_Group, std::llabs(x - middle));
    }
  }
  return best.cell;
}

std::int32_t FindFootCell(const cCharaBase& obj) {
  const std::int32_t factor = SampleFactor(obj);
  const std::int32_t count = factor % 2 == 0 ? factor + 1 : factor + 2;
  const std::int64_t step = obj.m_Width / (count - 1);
  const std::int32_t row = TruncDot(obj.m_Y2) >> kCellShift;
  const std::int64_t left = TruncDot(obj.m_X1);
  const std::int64_t right = TruncDot(obj.m_X2);
  const std::int64_t middle = (left + right) >> 1;
  EdgeBest best;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int64_t x = i == count - 1 ? right : left + i * step;
    best.OfferNearMiddle(MapCellIndex(TileOf(x), row), obj.m_Group, std::llabs(x - middle));
  }
  return best.cell;
}

std::int32_t MostSolidCornerCell(std::int32_t tx1, std::int32_t ty1, std::int32_t tx2, std::int32_t ty2,
                                 std::int32_t group) {
  EdgeBest best;
  best.Offer(MapCellIndex(tx1, ty1), group);
  best.Offer(MapCellIndex(tx2, ty1), group);
  best.Offer(MapCellIndex(tx1, ty2), group);
  best.Offer(MapCellIndex(tx2, ty2), group);
  return best.cell;
}

std::int32_t HitLeftWall(cCharaBase& obj) { return HitWall(obj, false); }
std::int32_t HitRightWall(cCharaBase& obj) { return HitWall(obj, true); }

std::int32_t HitCeilingCells(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  const std::int32_t y = TruncDot(obj.m_Y1);
  const std::int32_t cell = FindEdgeCell(obj, TruncDot(obj.m_X1), y, TruncDot(obj.m_X2), y);
  const std::int32_t s = SolidityAt(cell, obj.m_Group);
  if (s == kSolidDeadly && !IsComputer(obj)) return kCellKilled;
  if (s == kSolidNone) return kCellSafe;
  if (DiesOnBlocks(obj)) return kCellKilled;
  obj.HitCeiling();
  return kCellSafe;
}

std::int32_t HitFloorCells(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  const std::int32_t cell = FloorEdgeCell(obj);
  SetFeet(obj, cell);
  const std::int32_t s = SolidityAt(cell, obj.m_Group);
  if (s == kSolidDeadly) {
    obj.m_LastLandedCell = obj.m_CellUnderFeet;
    if (!IsComputer(obj) || DiesOnBlocks(obj)) return kCellKilled;
    obj.Land();
    return kCellSafe;
  }
  if (s != kSolidNone) {
    if (DiesOnBlocks(obj)) return kCellKilled;
    if (obj.m_Operator == 0) SetFeet(obj, FindFootCell(obj));
    obj.m_LastLandedCell = obj.m_CellUnderFeet;
    obj.Land();
    return kCellSafe;
  }
  StepInAir(obj);
  return kCellSafe;
}

std::int32_t ResolveWallHit(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  if (FliesIntoBlocks(obj) || obj.m_Vx > 0.0) return InOrder(obj, HitRightWall, HitLeftWall);
  return InOrder(obj, HitLeftWall, HitRightWall);
}

std::int32_t ResolveFloorHit(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  obj.m_CellUnderFeet = nullptr;
  if (FliesIntoBlocks(obj) || obj.m_Vy > 0.0) return InOrder(obj, HitFloorCells, HitCeilingCells);
  return InOrder(obj, HitCeilingCells, HitFloorCells);
}

std::int32_t RecheckWallHit(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  return InOrder(obj, HitRightWall, HitLeftWall);
}

std::int32_t RecheckFloorHit(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  // The air counter and the cell under the feet stay as the first pass left them.
  const std::int32_t edge = FloorEdgeCell(obj);
  const std::int32_t s = SolidityAt(edge, obj.m_Group);
  if (s == kSolid) {
    if (DiesOnBlocks(obj)) return kCellKilled;
    Stand(obj, StandingCell(obj, edge));
    obj.Land();
  } else if (s == kSolidDeadly) {
    Stand(obj, StandingCell(obj, edge));
    if (!IsComputer(obj) || DiesOnBlocks(obj)) return kCellKilled;
    obj.Land();
  }
  return HitCeilingCells(obj);
}

void ClampToScreenX(cCharaBase& obj) {
  const ScrollAxis& axis = g_PlayScene->m_ScrollX;
  if (axis.m_AutoOn == 0 && obj.m_Flying == 0) return;
  UpdateScreenRectKeepingPixels(obj);
  if (obj.m_ScreenLeft + obj.m_DrawOffsetX < 0) {
    obj.m_LRUD[kContactLeft] = 1;
    obj.m_X1 = axis.m_Pos;
    obj.OnMovedX();
  } else if (obj.m_ScreenRight - obj.m_DrawOffsetX + 1 >= kViewWidth) {
    obj.m_LRUD[kContactRight] = 1;
    obj.m_X1 = axis.m_Pos + kViewWidth - obj.m_Width - 1;
    obj.OnMovedX();
  }
}

std::int32_t ClampToScreenY(cCharaBase& obj) {
  const ScrollAxis& axis = g_PlayScene->m_ScrollY;
  if (axis.m_AutoOn == 0 && obj.m_Flying == 0) return kCellSafe;
  UpdateScreenRectKeepingPixels(obj);
  if (obj.m_ScreenTop + obj.m_DrawOffsetY < 0) {
    obj.m_LRUD[kContactUp] = 1;
    obj.m_Y1 = axis.m_Pos;
    obj.OnMovedY();
    return kCellSafe;
  }
  if (obj.m_ScreenBottom - obj.m_DrawOffsetY + 1 >= kViewHeight) {
    obj.m_LRUD[kContactDown] = 1;
    obj.m_Y1 = axis.m_Pos + kViewHeight - obj.m_Height - 1;
    obj.OnMovedY();
    // Pushed up by the bottom of the screen: a walking object is crushed there.
    return obj.m_Flying == 0 ? kCellKilled : kCellSafe;
  }
  return kCellSafe;
}

std::int32_t IsPlaceBlocked(const cCharaBase& obj) {
  if (PassesBlocks(obj)) return 0;
  const std::int32_t cell = MostSolidCornerCell(obj.m_CellX1, obj.m_CellY1, obj.m_CellX2, obj.m_CellY2, obj.m_Group);
  if (SolidityAt(cell, obj.m_Group) != kSolidNone) return 1;
  return OverlapsBlockChara(obj, g_CharaList);
}

std::int32_t OverlapsBlockChara(const cCharaBase& obj, const cObjectList<cChara>& list) {
  if (PassesBlocks(obj)) return 0;
  for (const cChara& c : list) {
    if (c.m_Def.m_BlockChara == 0 || c.m_Dead != 0 || c.m_Present == 0 || c.m_Id == obj.m_Id) continue;
    if (c.m_X1 <= obj.m_X2 && c.m_X2 >= obj.m_X1 && c.m_Y1 <= obj.m_Y2 && c.m_Y2 >= obj.m_Y1) return 1;
  }
  return 0;
}
