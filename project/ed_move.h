#pragma once
// The settings of a move command ("直線移動" .. "画面外回避移動" and "ワープ"): kept in a record of
// their own instead of the command's integer parameters. A command holds its record through a
// shared pointer and never shares it with another command (see ed_params.h for copying).
//
// n below is the summon index of the moving object (0 for an object placed on the stage); "hbl" is
// 16 dots.
#include <cstdint>
#include <memory>

#include "platform/services/record.h"

class cEdMove : public cDataRecord {
 public:
  cEdMove() = default;
  cEdMove(const cEdMove&) = default;
  // Re-registers this record for the current version and copies every member.
  cEdMove& operator=(const cEdMove&) = default;

  void RegisterFields(std::uint32_t version) override;
  // The body, then the defaults of the members the file's version did not hold yet.
  void Read(cRecordReader& in) override;

  // Every member back to the value of a new record.
  void SetDefaults() { *this = cEdMove(); }

  std::uint8_t m_TargetMode = 0;    // moves: 0 by direction, 1 toward a point; warp: see WarpTargetModeLabels
  std::uint8_t m_Direction = 0;     // a MoveDirection row
  std::int16_t m_StartAngle = 0;    // degrees; the angle used is start + step x n, below 360
  std::int16_t m_AngleStep = 0;     // degrees per summon index
  std::uint8_t m_MirrorAngle = 1;   // the angle becomes 360 - angle when facing right (from 158)
  std::uint8_t m_UseTargetX = 1;    // 0: the target point keeps the character's own x
  std::uint8_t m_UseTargetY = 1;    // 0: the target point keeps the character's own y
  std::int16_t m_TargetCellsX = 0;  // target offset in map cells (32 dots)
  std::int16_t m_TargetCellsY = 0;
  std::int16_t m_TargetDotsX = 0;  // further target offset in dots
  std::int16_t m_TargetDotsY = 0;
  std::uint8_t m_CoordinateKind = 0;  // MoveCoordinateLabels / WarpCoordinateLabels
  std::uint8_t m_EndOnArrival = 1;    // the command lasts the travel time to the target point
  std::uint8_t m_NoMoveX = 0;         // no velocity along x toward a target point
  std::uint8_t m_NoMoveY = 0;
  std::uint8_t m_MirrorX = 1;  // the x offset changes sign when facing right
  std::uint8_t m_MirrorY = 0;
  std::uint8_t m_TurnWithFacing = 1;  // with fixed facing, a turn reverses the velocity
  std::uint8_t m_StopOnPoint = 0;     // on arrival: put on the point, velocity cleared
  std::uint8_t m_KeepFacing = 0;      // the character does not turn toward its move (from 162)
  std::uint8_t m_TimeMode = 0;        // MoveTimeModeLabels
  std::int16_t m_Speed = 10;          // (speed + step x n) / 10 dots per frame
  std::int16_t m_SpeedStep = 0;
  std::int16_t m_Distance = 0;  // distance + step x n in the unit; circle move: angular speed
  std::int16_t m_DistanceStep = 0;
  std::uint8_t m_Unit = 0;    // JumpUnitLabels (from 159)
  std::int16_t m_Radius = 0;  // circle: radius + step x n, 0..20 hbl; homing: turning rate
  std::int16_t m_RadiusStep = 0;
  std::uint8_t m_Inertia = 0;        // the velocity is accelerated toward the direction, not set
  std::int16_t m_InertiaLimit = 0;   // tenths of a dot per frame
  double m_BrakingFactor = 1.0;      // on the acceleration while the velocity points the other way
  std::uint8_t m_KeepAnimation = 0;  // the move keeps the character's animation (from 162)
};

// A new record with the defaults, registered for the current version, in holder (whose previous
// record is released).
void NewEdMove(std::shared_ptr<cEdMove>& holder);
