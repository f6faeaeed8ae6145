#pragma once
// The vocabulary of the move and shot records: directions and how the player's input picks one,
// the choices of a move, the shot patterns and shot movements with their parameter tables, and the
// choices of the summon commands. The player reads the direction tables and the parameter tables;
// the label lists are the editing program's names for the stored values.
#include <array>
#include <cstdint>
#include <span>

#include "project/label_list.h"
#include "project/param_desc.h"

// Rows of the direction vocabulary (the direction of a move, a warp or a shot). The relative rows
// (front, back, front Y, back Y, input) are resolved at run time into one of the absolute rows.
enum MoveDirection : std::uint8_t {
  kDirFront = 0,
  kDirBack = 1,
  kDirLeft = 2,
  kDirRight = 3,
  kDirFrontY = 4,
  kDirBackY = 5,
  kDirUp = 6,
  kDirDown = 7,
  kDirUpLeft = 8,
  kDirDownLeft = 9,
  kDirUpRight = 10,
  kDirDownRight = 11,
  kDirInput = 12,
};
const LabelList& MoveDirectionLabels();

// The absolute direction of each input direction (0 none, 1 left, 2 right, 3 up, 4 down, 5 up-left,
// 6 down-left, 7 up-right, 8 down-right).
inline constexpr std::array<std::uint8_t, 9> InputDirectionTable{
    kDirFront,      // 0: no input, decided by the facing instead
    kDirLeft,       // 1
    kDirRight,      // 2
    kDirUp,         // 3
    kDirDown,       // 4
    kDirUpLeft,     // 5
    kDirDownLeft,   // 6
    kDirUpRight,    // 7
    kDirDownRight,  // 8
};

// The direction row of "入力方向": the input's own direction, or without one (or with a value that
// is no direction) the way the character faces: left for facing 0, right otherwise.
int DirectionFromInput(int inputDirection, int facing);

// The rows that are relative to the facing ("前", "後", "前Y", "後Y") turned into their absolute
// direction for a character facing left (0) or right; every other row is returned as it is.
int DirectionFromFacing(int code, int facing);

// Straight and charge moves, then warps: how the destination is given.
const LabelList& MoveTargetModeLabels();
const LabelList& WarpTargetModeLabels();
// How a target point is taken, for moves and for warps.
const LabelList& MoveCoordinateLabels();
const LabelList& WarpCoordinateLabels();
// Time mode of a move, and the second list with time or speed alone. The unit is JumpUnitLabels.
const LabelList& MoveTimeModeLabels();
const LabelList& MoveTimeOnlyLabels();
// Sense of the circle move.
const LabelList& CircleSenseLabels();

// Rows of the shot pattern.
enum ShotPattern : std::uint8_t {
  kPatternStraightA = 0,
  kPatternStraightB = 1,
  kPatternSpread = 2,
  kPatternThunder = 3,
  kPatternExplosion = 4,
  kPatternSurround = 5,
};
const LabelList& ShotPatternLabels();

// Rows of the shot movement (ShotMoveTable). For "ソード" the same member is the sword type.
enum ShotMove : std::uint8_t {
  kShotMoveStraight = 0,
  kShotMoveAimHero = 1,
  kShotMoveAimNearest = 2,
  kShotMoveAimTarget = 3,
  kShotMoveHomeHero = 4,
  kShotMoveHomeNearestOnce = 5,  // the homing ends when its object dies
  kShotMoveHomeTarget = 6,
  kShotMoveHomeNearest = 7,  // a new object is taken when the first dies
  kShotMoveWave = 8,
  kShotMoveFall = 9,
};
const LabelList& ShotMoveTable();
constexpr bool IsHomingShotMove(int kind) { return kind >= kShotMoveHomeHero && kind <= kShotMoveHomeNearest; }

// What "ブロック召喚" does, and what the summoned object's setting follows. The summon palette is
// PaletteChoiceLabels.
const LabelList& BlockSummonLabels();
const LabelList& SummonSettingLabels();

// Three parameters per pattern and per movement kind: row = 3 x kind + parameter.
constexpr int kShotParamsPerKind = 3;
std::span<const ParamDesc> ShotPatternParams();
std::span<const ParamDesc> ShotMoveParams();
// Parameter param of kind in one of those tables; null outside it.
const ParamDesc* ShotParamRow(std::span<const ParamDesc> table, int kind, int param);
