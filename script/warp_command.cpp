// "ワープ": the object jumps to another place at once, by a direction and distance from where it is
// or from its target, or to a point. A place outside the stage proper, or one a wall or a block
// character takes, undoes the jump.
#include <array>
#include <cmath>
#include <cstdint>

#include "play/chara_base.h"
#include "play/collision.h"
#include "play/flow_runner.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/ed_move.h"
#include "project/flow_command.h"
#include "script/move_commands.h"
#include "script/stage_commands.h"

namespace {

// How the destination is given (the move record's target mode).
constexpr std::int32_t kWarpByDirection = 0;
constexpr std::int32_t kWarpFromTarget = 1;
constexpr std::int32_t kWarpToPoint = 2;
// How the point is read (its coordinate kind).
constexpr std::int32_t kPointRelative = 0;
constexpr std::int32_t kPointAbsolute = 1;
constexpr std::int32_t kPointScreen = 2;

void MoveByX(cCharaBase& object, double dx) {
  object.m_X1 += dx;
  object.OnMovedX();
}
void MoveByY(cCharaBase& object, double dy) {
  object.m_Y1 += dy;
  object.OnMovedY();
}

// Moves the object d along a resolved direction (s on each axis of a diagonal), x first. Vertical
// warps move walkers too.
void Shift(cCharaBase& object, const DirectionSteps& steps, double d, double s) {
  const double along = steps.diagonal ? s : d;
  if (steps.x != 0) MoveByX(object, steps.x * along);
  if (steps.y != 0) MoveByY(object, steps.y * along);
}

// The object's drawn box centred on the target's.
void CentreOn(cCharaBase& object, const cCharaBase& target) {
  object.m_X1 = target.m_X1 - target.m_DrawOffsetX + target.m_DrawWidth / 2 + object.m_DrawOffsetX -
                object.m_DrawWidth / 2;
  object.OnMovedX();
  object.m_Y1 = target.m_Y1 - target.m_DrawOffsetY + target.m_DrawHeight / 2 + object.m_DrawOffsetY -
                object.m_DrawHeight / 2;
  object.OnMovedY();
}

// To the move record's point. The offsets of a relative or screen point are mirrored for an
// object facing right on the axes the record asks for; an absolute cell is where it is.
void WarpToPoint(cCharaBase& object, const cEdMove& move) {
  double ox = std::int32_t{move.m_TargetCellsX} * 32 + move.m_TargetDotsX;
  double oy = std::int32_t{move.m_TargetCellsY} * 32 + move.m_TargetDotsY;
  if (object.m_Direction != 0) {
    if (move.m_MirrorX != 0) ox = -ox;
    if (move.m_MirrorY != 0) oy = -oy;
  }
  switch (move.m_CoordinateKind) {
    case kPointRelative:
      MoveByX(object, ox);
      MoveByY(object, oy);
      break;
    case kPointAbsolute:
      object.PlaceAtColumn(move.m_TargetCellsX);
      object.PlaceAtRow(move.m_TargetCellsY);
      MoveByX(object, move.m_TargetDotsX);
      MoveByY(object, move.m_TargetDotsY);
      break;
    case kPointScreen:
      object.m_X1 = g_PlayScene->m_ScrollX.m_Pos + object.m_DrawOffsetX + ox;
      object.OnMovedX();
      object.m_Y1 = g_PlayScene->m_ScrollY.m_Pos + object.m_DrawOffsetY + oy;
      object.OnMovedY();
      break;
    default:
      break;
  }
}

}  // namespace

void DoWarp(cCharaBase& object, const cFlowCommand& command) {
  const cEdMove* move = command.m_Move.get();
  if (move == nullptr || g_PlayScene == nullptr) return;
  const std::array<double, 4> saved{object.m_X1, object.m_Y1, object.m_X2, object.m_Y2};
  // Always in hbl, whatever the record's unit.
  const double d =
      static_cast<double>(std::int64_t{move->m_DistanceStep} * object.m_SpawnIndex + move->m_Distance) * kHblDots;
  const double s = d / std::sqrt(2.0);
  // A code that is no direction leaves the object where it was.
  const DirectionSteps steps = StepsOfDirection(ResolveDirectionCode(object, move->m_Direction));
  const bool moves = steps.x != 0 || steps.y != 0;
  switch (move->m_TargetMode) {
    case kWarpByDirection:
      if (!moves) return;
      Shift(object, steps, d, s);
      break;
    case kWarpFromTarget:
      if (object.m_Target == nullptr || !moves) return;
      CentreOn(object, *object.m_Target);
      Shift(object, steps, d, s);
      break;
    case kWarpToPoint:
      WarpToPoint(object, *move);
      break;
    default:
      return;
  }
  RefreshScreenRect(object);
  if (!object.IsInsideStage(false) || IsPlaceBlocked(object) != 0) {
    object.m_X1 = saved[0];
    object.m_Y1 = saved[1];
    object.m_X2 = saved[2];
    object.m_Y2 = saved[3];
    object.OnMovedX();
    object.OnMovedY();
    RefreshScreenRect(object);
    return;
  }
  if (object.m_Flying == 0) object.m_Vy = 0.0;
}

void CmdWarp(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) DoWarp(chara, *instance.m_Command);
}
