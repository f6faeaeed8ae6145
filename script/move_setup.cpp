// The set-up of the move commands, once, when a character's flows are built: the angle, the target
// offsets, the circle's radius and phases, the delay of a homing move and the time the move takes.
// Everything a file gives is widened before it is multiplied, so that no stored value overflows.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "play/chara_base.h"
#include "play/flow_runner.h"
#include "project/ed_move.h"
#include "project/stage_data.h"
#include "script/move_commands.h"

namespace {

constexpr std::int32_t kTimeByDuration = 0;  // duration and speed as given
constexpr std::int32_t kTimeSpeedFromDistance = 1;
constexpr std::int32_t kTimeDurationFromDistance = 2;
constexpr std::int32_t kUnitHbl = 0;
// The circle move's own time modes.
constexpr std::int32_t kCircleSpeedFromTime = 0;
constexpr std::int32_t kCircleTimeFromSpeed = 1;
// Circle senses that a mirror swaps.
constexpr std::int32_t kSenseClockwise = 0;
constexpr std::int32_t kSenseCounter = 1;

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The whole part of a step count, kept inside 32 bits (a nan counts as 0).
std::int32_t StepsOf(double v) {
  if (!(v == v)) return 0;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::clamp(std::trunc(v), kMin, kMax));
}

// field + step x n, the value of a field for the n-th object of a summon.
std::int64_t Stepped(std::int16_t field, std::int16_t step, std::int32_t n) {
  return std::int64_t{field} + std::int64_t{step} * n;
}

bool FacingRight(std::int32_t facing) { return facing != 0; }

// The instance's angle: mirrored for a right-facing character when the move asks, then below 360.
void SetupAngle(cCommandInstance& instance, const cEdMove& move, std::int32_t n, std::int32_t facing) {
  std::int64_t angle = Stepped(move.m_StartAngle, move.m_AngleStep, n);
  if (move.m_MirrorAngle != 0 && FacingRight(facing)) angle = 360 - angle;
  if (angle >= 360) angle %= 360;
  instance.m_Angle = Saturate(angle);
}

// The target offsets in dots; a right-facing character mirrors the axes the move asks for.
void SetupTargetOffsets(cCommandInstance& instance, const cEdMove& move, std::int32_t facing) {
  std::int32_t x = move.m_TargetCellsX * 32 + move.m_TargetDotsX;
  std::int32_t y = move.m_TargetCellsY * 32 + move.m_TargetDotsY;
  if (FacingRight(facing)) {
    if (move.m_MirrorX != 0) x = -x;
    if (move.m_MirrorY != 0) y = -y;
  }
  instance.m_TargetOffsetX = x;
  instance.m_TargetOffsetY = y;
}

std::int32_t SpawnIndex(const cCharaBase& chara) { return chara.m_SpawnIndex; }

}  // namespace

void ResolveMoveTime(cCommandInstance& instance, const cEdMove& move, std::int32_t n) {
  if (move.m_TimeMode == kTimeByDuration) return;
  double d = static_cast<double>(Stepped(move.m_Distance, move.m_DistanceStep, n));
  if (move.m_Unit == kUnitHbl) d *= kHblDots;
  if (move.m_TimeMode == kTimeSpeedFromDistance) {
    // No time to cover the distance in: the move stands still and ends at once.
    instance.m_Speed = instance.m_Duration != 0 ? d / instance.m_Duration : 0.0;
  } else if (move.m_TimeMode == kTimeDurationFromDistance) {
    // A move without speed never gets anywhere: it takes no time.
    instance.m_Duration = instance.m_Speed != 0 ? StepsOf(d / instance.m_Speed) : 0;
  }
}

void SetupStraightMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  const std::int32_t n = SpawnIndex(chara);
  SetupAngle(instance, *move, n, facing);
  if (move->m_TargetMode == 1) SetupTargetOffsets(instance, *move, facing);
  ResolveMoveTime(instance, *move, n);
}

void SetupChargeMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  const std::int32_t n = SpawnIndex(chara);
  SetupAngle(instance, *move, n, facing);
  SetupTargetOffsets(instance, *move, facing);
  ResolveMoveTime(instance, *move, n);
}

void SetupHomingMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  const std::int32_t n = SpawnIndex(chara);
  SetupTargetOffsets(instance, *move, facing);
  // The radius fields hold the delay of a homing move, in frames.
  instance.m_MoveWords[0] = Saturate(Stepped(move->m_Radius, move->m_RadiusStep, n) * g_StepsPerFrame);
  ResolveMoveTime(instance, *move, n);
}

void SetupMoveTime(cCommandInstance& instance, cCharaBase& chara, std::int32_t) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  ResolveMoveTime(instance, *move, SpawnIndex(chara));
}

void SetupCircleMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  const std::int32_t n = SpawnIndex(chara);
  const std::int64_t steps = g_StepsPerFrame;
  std::int64_t extra = 0;
  std::int32_t sense = instance.m_DirectionCode;
  auto flip = [&sense] {
    if (sense == kSenseClockwise)
      sense = kSenseCounter;
    else if (sense == kSenseCounter)
      sense = kSenseClockwise;
  };
  if (FacingRight(facing)) {
    if (move->m_MirrorX != 0) {
      extra = 180;
      flip();
    }
    if (move->m_MirrorY != 0) flip();
  }
  instance.m_DirectionCode = static_cast<std::uint8_t>(sense);

  const std::int64_t radius =
      std::clamp<std::int64_t>(Stepped(move->m_Radius, move->m_RadiusStep, n), 0, kMaxCircleRadiusHbl);
  instance.m_MoveWords[0] = Saturate(radius * kHblDots * steps);
  // The distance fields hold the end angle of a circle move, in degrees.
  const std::int64_t angle = Stepped(move->m_StartAngle, move->m_AngleStep, n);
  const std::int64_t distance = Stepped(move->m_Distance, move->m_DistanceStep, n);
  const std::int64_t start = (extra + angle) * steps;
  const std::int64_t end = (extra + distance) * steps;
  instance.m_MoveWords[1] = Saturate(start);
  instance.m_MoveWords[2] = Saturate(end);
  const double span = static_cast<double>(distance <= angle ? start - end : end - start);
  if (move->m_TimeMode == kCircleSpeedFromTime) {
    instance.m_Speed = instance.m_Duration != 0 ? span / instance.m_Duration / g_StepsPerFrameF : 0.0;
  } else if (move->m_TimeMode == kCircleTimeFromSpeed) {
    instance.m_Duration = instance.m_Speed != 0 ? StepsOf(std::fabs(span / instance.m_Speed / g_StepsPerFrameF)) : 0;
  }
}

void SetupJumpCommand(cCommandInstance& instance, cCharaBase& chara, std::int32_t) {
  if (instance.m_Command == nullptr) return;
  const double height = CommandParam(instance, 2);
  instance.m_Speed = chara.JumpSpeedForHbl(height);
  // The command lasts as long as the jump: its time becomes the jump's, which the preparatory
  // animation of the command is fitted to as well.
  const std::int32_t tenths =
      std::clamp<std::int32_t>(chara.JumpDurationTenths(height), std::numeric_limits<std::int16_t>::min(),
                               std::numeric_limits<std::int16_t>::max());
  instance.m_Command->m_UseTime = static_cast<std::int16_t>(tenths);
  instance.m_Duration = Saturate(std::int64_t{tenths} * 6 * g_StepsPerFrame);
}
