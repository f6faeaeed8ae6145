// The velocity rules the move commands share: directions and angles, the target point, the ledge
// turn of a walker, the steering toward a point, the escape from the screen's edge, and how a move's
// velocity reaches the character.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "play/chara.h"
#include "play/chara_base.h"
#include "play/flow_runner.h"
#include "play/map_cells.h"
#include "play/motion.h"
#include "play/play_scene.h"
#include "play/steering.h"
#include "project/ed_move.h"
#include "project/stage_data.h"
#include "script/move_commands.h"

namespace {

// What an absolute direction means to a move: the unit steps on each axis (y downward), whether it
// is a diagonal (each axis then gets speed / sqrt(2)), the facing it asks for, and the angle an
// angled move starts from (0 left, 90 up, 180 right, 270 down).
struct DirectionRow {
  std::int8_t x;
  std::int8_t y;
  bool diagonal;
  std::int32_t request;
  std::int32_t baseAngle;
};

constexpr std::array<DirectionRow, 13> kDirections{{
    {0, 0, false, kRequestKeep, 0},     // 0 front (resolved before use)
    {0, 0, false, kRequestKeep, 0},     // 1 back
    {-1, 0, false, kRequestLeft, 0},    // 2 left
    {1, 0, false, kRequestRight, 180},  // 3 right
    {0, 0, false, kRequestKeep, 0},     // 4 front Y
    {0, 0, false, kRequestKeep, 0},     // 5 back Y
    {0, -1, false, kRequestKeep, 90},   // 6 up
    {0, 1, false, kRequestKeep, 270},   // 7 down
    {-1, -1, true, kRequestLeft, 45},   // 8 up-left
    {-1, 1, true, kRequestLeft, 315},   // 9 down-left
    {1, -1, true, kRequestRight, 135},  // 10 up-right
    {1, 1, true, kRequestRight, 225},   // 11 down-right
    {0, 0, false, kRequestKeep, 0},     // 12 input (resolved before use)
}};

// A code no table has moves nowhere.
const DirectionRow& DirectionOf(std::int32_t code) {
  static constexpr DirectionRow kNowhere{0, 0, false, kRequestKeep, 0};
  return code >= 0 && code < static_cast<std::int32_t>(kDirections.size()) ? kDirections[code] : kNowhere;
}

// The sides a move that keeps off the screen's edge wants to go to, by absolute direction.
struct WantedSides {
  bool left;
  bool right;
  bool up;
  bool down;
};

constexpr std::array<WantedSides, 13> kWantedSides{{
    {false, false, false, false},  // 0 (resolved before use)
    {false, false, false, false},  // 1
    {true, false, false, false},   // 2 left
    {false, true, false, false},   // 3 right
    {false, false, false, false},  // 4
    {false, false, false, false},  // 5
    {false, false, true, false},   // 6 up
    {false, false, false, true},   // 7 down
    {true, false, true, false},    // 8 left and up
    {true, false, false, true},    // 9 left and down
    {false, true, true, false},    // 10 right and up
    {false, true, false, true},    // 11 right and down
    {false, false, false, false},  // 12 (resolved before use)
}};

// Coordinate kinds of a target point.
constexpr std::uint8_t kFromPlacement = 0;
constexpr std::uint8_t kRelative = 1;
constexpr std::uint8_t kAbsolute = 2;
constexpr std::uint8_t kScreen = 3;

// Below this a velocity asks for no facing.
constexpr double kFacingEpsilon = 1e-8;

// The screen edges within which a character counts as about to leave the view.
constexpr std::int32_t kEdgeFar = 608;   // 640 - 32
constexpr std::int32_t kEdgeFarY = 448;  // 480 - 32
constexpr std::int32_t kEdgeNear = 32;

bool Flies(const cCharaBase& chara) { return chara.m_Flying != 0; }

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

// The target point on one axis in stage dots, or the distance itself for relative points.
double TargetDistance(std::uint8_t kind, double offset, double home, double camera, double centre) {
  switch (kind) {
    case kFromPlacement:
      return home + offset - centre;
    case kRelative:
      return offset;
    case kAbsolute:
      return kStageBaseDots + offset + 16 - centre;
    case kScreen:
      return camera + offset + 16 - centre;
    default:
      return 0.0;
  }
}

// The block character the character stands on, by its recorded id, or null.
const cChara* RiddenBlockChara(const cCharaBase& chara) {
  for (const cChara& c : g_CharaList)
    if (c.m_Id == chara.m_CarrierId && c.m_Def.m_BlockChara != 0) return &c;
  return nullptr;
}

// The absolute side one axis of the avoiding move takes: -speed, +speed or 0, corrected by the
// automatic scroll when that axis scrolls by itself.
double AvoidOnAxis(const ScrollAxis& axis, bool toLow, bool toHigh, std::int32_t lowEdge, std::int32_t highEdge,
                   std::int32_t farEdge, std::int32_t view, double speed) {
  if (axis.Counts()) {
    const double u = axis.m_AutoSpeed;
    const double c = axis.m_Pos;
    const double e = axis.m_Extent;
    const double slack = std::fabs(u + 1);
    if (toLow && lowEdge > farEdge - slack && c > 0 && c + u <= e - view) return u - speed;
    if (toHigh && highEdge < slack + kEdgeNear && c + u > 0 && c < e - view) return u + speed;
    return 0.0;
  }
  if (toLow && lowEdge > farEdge) return -speed;
  if (toHigh && highEdge < kEdgeNear) return speed;
  return 0.0;
}

// One axis of an accelerating move: the drive speed pushed by a; braking (a against the drive) by the
// move's braking factor, otherwise with the friction off for this step; then held to the top speed.
void Accelerate(double& drive, std::int32_t& friction, double a, const cEdMove& move) {
  if ((drive < 0 && a > 0) || (drive > 0 && a < 0)) {
    drive += PerStepFromPerSecond(a) * move.m_BrakingFactor;
  } else {
    friction = 0;
    drive += PerStepFromPerSecond(a);
  }
  // A negative limit from a damaged file holds the speed as its size would.
  const double top = std::fabs(move.m_InertiaLimit * 0.1 / g_StepsPerFrameF);
  drive = std::clamp(drive, -top, top);
}

}  // namespace

std::int32_t ExecInputDirection() {
  const cFlowRunner* runner = g_PlayScene != nullptr ? g_PlayScene->m_ExecFlow : nullptr;
  return runner != nullptr ? runner->m_InputDirection : 0;
}

void DirectionVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code) {
  const DirectionRow& row = DirectionOf(ResolveDirectionCode(chara, code));
  const double s = row.diagonal ? speed / std::sqrt(2.0) : speed;
  instance.m_Vx = row.x * s;
  instance.m_Vy = Flies(chara) ? row.y * s : 0.0;
  instance.m_FacingRequest = HasFixedFacing(chara) ? kRequestKeep : row.request;
}

void AngleVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code, std::int32_t angle) {
  const DirectionRow& row = DirectionOf(ResolveDirectionCode(chara, code));
  const double a = Radians(static_cast<double>(row.baseAngle) + angle);
  instance.m_Vx = -std::cos(a) * speed;
  instance.m_Vy = Flies(chara) ? -std::sin(a) * speed : 0.0;
  instance.m_FacingRequest = HasFixedFacing(chara) ? kRequestKeep : row.request;
}

void TargetPointVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t offsetX,
                         std::int32_t offsetY, const cEdMove& move) {
  const double cameraX = g_PlayScene->m_ScrollX.m_Pos;
  const double cameraY = g_PlayScene->m_ScrollY.m_Pos;
  const double centreX = chara.ScreenCentreX() + cameraX;
  const double centreY = chara.ScreenCentreY() + cameraY;
  const std::uint8_t kind = move.m_CoordinateKind;
  const double dx = move.m_UseTargetX != 0 ? TargetDistance(kind, offsetX, chara.m_HomeX, cameraX, centreX) : 0.0;
  const double dy = move.m_UseTargetY != 0 ? TargetDistance(kind, offsetY, chara.m_HomeY, cameraY, centreY) : 0.0;
  const double length = std::sqrt(dx * dx + dy * dy);
  instance.m_Vx = 0.0;
  instance.m_Vy = 0.0;
  if (length > 0) {
    if (move.m_NoMoveX == 0) instance.m_Vx = dx / length * speed;
    if (move.m_NoMoveY == 0) instance.m_Vy = dy / length * speed;
  }
  instance.m_FacingRequest = kRequestKeep;
  if (!HasFixedFacing(chara)) {
    if (instance.m_Vx < -kFacingEpsilon)
      instance.m_FacingRequest = kRequestLeft;
    else if (instance.m_Vx > kFacingEpsilon)
      instance.m_FacingRequest = kRequestRight;
  }
  if (move.m_EndOnArrival != 0 && speed != 0) {
    const double steps = std::trunc(std::fabs(length) / std::fabs(speed));
    // A travel beyond any command's life ends with the longest one.
    instance.m_StepsLeft = steps < 2147483647.0 ? static_cast<std::int32_t>(steps) : 2147483647;
  }
}

void GroundTurnVelocity(cCharaBase& chara, cCommandInstance& instance, double speed) {
  instance.m_Vy = 0.0;
  instance.m_FacingRequest = kRequestKeep;
  instance.m_Vx = chara.Facing() * speed;
  if (chara.m_PushedByBlockChara == 0) {
    const ScrollAxis& across = g_PlayScene->m_ScrollX;
    const ScrollAxis& down = g_PlayScene->m_ScrollY;
    // The cells under both feet, kept on the map.
    const std::int32_t row =
        std::clamp(static_cast<std::int32_t>(chara.m_Y2 + 1.1) >> 5, 0, std::max(down.m_CellCount - 1, 0));
    const std::int32_t lastColumn = std::max(across.m_CellCount - 1, 0);
    const std::int32_t left = std::clamp(static_cast<std::int32_t>(chara.m_X1) >> 5, 0, lastColumn);
    const std::int32_t right = std::clamp(static_cast<std::int32_t>(chara.m_X2) >> 5, 0, lastColumn);
    const bool leftSolid = IsSolidFor(MapCellAt(left, row), chara.m_Group) != kSolidNone;
    const bool rightSolid = IsSolidFor(MapCellAt(right, row), chara.m_Group) != kSolidNone;
    if (leftSolid && !rightSolid) instance.m_FacingRequest = kRequestLeft;
    if (!leftSolid && rightSolid) instance.m_FacingRequest = kRequestRight;
    return;
  }
  // Pushed by a block character: the walker turns back, and leaves the ride with the block's motion
  // taken out (twice where it pushed against the walker's new way).
  const bool facingRight = chara.m_Direction != 0;
  instance.m_FacingRequest = facingRight ? kRequestLeft : kRequestRight;
  instance.m_Vx = -instance.m_Vx;
  if (const cChara* ridden = RiddenBlockChara(chara); ridden != nullptr) {
    const double dv = ridden->m_X1 - chara.m_CarrierRect[0];
    if ((facingRight && dv < 0) || (!facingRight && dv > 0))
      instance.m_Vx += 2 * dv;
    else
      instance.m_Vx += dv;
  }
  chara.m_PushedByBlockChara = 0;
}

void AimAtPoint(cCharaBase& chara, cCommandInstance& instance, const cEdMove& move, double x, double y) {
  // The byte after the reverse-with-facing flag picks the steering's scroll variant.
  const std::int32_t variant = move.m_StopOnPoint;
  if (move.m_NoMoveX == 0 && move.m_NoMoveY == 0)
    MoveTowardPointXY(instance, chara, x, y, variant, 0);
  else if (move.m_NoMoveX != 0 && move.m_NoMoveY == 0)
    MoveTowardPointY(instance, chara, y, chara.m_FollowsScroll, 0);
  else
    MoveTowardPointX(instance, chara, x, chara.m_FollowsScroll, 0);
}

void AvoidOffscreenVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code) {
  const std::int32_t resolved = ResolveDirectionCode(chara, code);
  static constexpr WantedSides kNone{false, false, false, false};
  const WantedSides& want =
      resolved >= 0 && resolved < static_cast<std::int32_t>(kWantedSides.size()) ? kWantedSides[resolved] : kNone;
  instance.m_Vx = AvoidOnAxis(g_PlayScene->m_ScrollX, want.left, want.right, chara.m_ScreenLeft, chara.m_ScreenRight,
                              kEdgeFar, kViewWidth, speed);
  instance.m_Vy = AvoidOnAxis(g_PlayScene->m_ScrollY, want.up, want.down, chara.m_ScreenTop, chara.m_ScreenBottom,
                              kEdgeFarY, kViewHeight, speed);
  instance.m_FacingRequest = kRequestKeep;
}

void ApplyMoveVelocity(cCharaBase& chara, double vx, double vy, std::int32_t request, cCommandInstance&,
                       const cEdMove& move, std::int32_t force) {
  if ((!HasFixedFacing(chara) || force != 0) && move.m_KeepFacing == 0) {
    if (request == kRequestLeft) chara.m_Direction = 0;
    if (request == kRequestRight) chara.m_Direction = 1;
  }
  if (move.m_Inertia == 0) {
    chara.m_Vx += vx;
    chara.m_Vy += vy;
  } else {
    Accelerate(chara.m_DriveX, chara.m_FrictionX, vx, move);
    Accelerate(chara.m_DriveY, chara.m_FrictionY, vy, move);
  }
  if (move.m_KeepAnimation == 0) {
    chara.m_CommandAnimeSet = 1;
    chara.m_Anime.ChangePattern(Flies(chara) ? 3 : 1, 1);
  }
}

DirectionSteps StepsOfDirection(std::int32_t code) {
  const DirectionRow& row = DirectionOf(code);
  return {row.x, row.y, row.diagonal};
}
