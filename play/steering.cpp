#include "play/steering.h"

#include <cmath>

#include "play/dots.h"
#include "play/flow_runner.h"
#include "play/game_obj.h"
#include "play/play_scene.h"
#include "project/ed_move.h"
#include "project/system_data.h"

namespace {

enum class Correction { kNone, kAdd, kSubtract, kIntercept };

// The scroll correction by the kind of move (toward, away) and by the mover: none, follows the
// auto-scroll with variant 0 or 1, does not follow with variant 0 or 1. The project switch that makes
// every move take the scroll along comes before this table.
constexpr Correction kCorrections[2][5] = {
    {Correction::kNone, Correction::kIntercept, Correction::kNone, Correction::kSubtract, Correction::kSubtract},
    {Correction::kNone, Correction::kSubtract, Correction::kNone, Correction::kNone, Correction::kSubtract},
};

Correction CorrectionFor(bool flee, const cGameObj* mover, std::int32_t variant) {
  if (MoveWithScroll()) return Correction::kAdd;
  int column = 0;
  if (mover != nullptr) column = (mover->m_FollowsScroll != 0 ? 1 : 3) + (variant != 0 ? 1 : 0);
  return kCorrections[flee ? 1 : 0][column];
}

// The scroll speed of an axis that counts, else 0.
double CountingSpeed(const ScrollAxis& axis) { return axis.Counts() ? axis.m_AutoSpeed : 0.0; }

// The velocity that meets a point moving with the scroll (ux, uy) at the speed of (vx, vy). False
// when there is no such velocity: a zero denominator, or a negative discriminant (the point runs
// away faster than the mover can follow); vx and vy may then hold a partial result, as the caller
// leaves them.
bool Intercept(double& vx, double& vy, double dx, double dy, double fromX, double fromY, double toX, double toY,
               double ux, double uy) {
  const double v = std::sqrt(vx * vx + vy * vy);
  if (std::fabs(dx) <= std::fabs(dy)) {
    const double dy2 = dy * dy;
    if (dy2 == 0) return false;
    const double a = dx * dx / dy2 + 1;
    const double b = (2 * dx * dx * uy - 2 * ux * dx * dy) / dy2;
    const double c = (ux * ux * dy2 + uy * uy * dx * dx - 2 * ux * uy * dx * dy) / dy2 - v * v;
    const double disc = b * b - 4 * a * c;
    if (!(disc >= 0) || a == 0) return false;
    vy = (b + std::sqrt(disc)) / (2 * a);
    if (dy < 0) vy = -vy;
    if (uy - vy == 0) return false;
    const double t = (fromY - toY) / (uy - vy);
    if (t == 0) return false;
    vx = (t * ux + dx) / t;
    return true;
  }
  const double dx2 = dx * dx;
  if (dx2 == 0) return false;
  const double a = dy * dy / dx2 + 1;
  const double b = (2 * dy * dy * ux - 2 * uy * dx * dy) / dx2;
  const double c = (ux * ux * dy * dy + uy * uy * dx2 - 2 * ux * uy * dx * dy) / dx2 - v * v;
  const double disc = b * b - 4 * a * c;
  if (!(disc >= 0) || a == 0) return false;
  vx = (b + std::sqrt(disc)) / (2 * a);
  if (dx < 0) vx = -vx;
  if (ux - vx == 0) return false;
  const double t = (fromX - toX) / (ux - vx);
  if (t == 0) return false;
  vy = (t * uy + dy) / t;
  return true;
}

// Adds (sign 1) or subtracts (sign -1) the speeds of the axes that count.
void ApplyScroll(double& vx, double& vy, double sign) {
  vx += sign * CountingSpeed(g_PlayScene->m_ScrollX);
  vy += sign * CountingSpeed(g_PlayScene->m_ScrollY);
}

std::uint8_t DirectionOf(double vx) {
  if (vx > 0) return kSteerRight;
  if (vx < 0) return kSteerLeft;
  return kSteerStill;
}

// Whether the command's move record asks to put the mover on the point when it arrives.
bool SnapsOnArrival(const cCommandInstance& instance) {
  return instance.m_Command != nullptr && instance.m_Command->m_Move != nullptr &&
         instance.m_Command->m_Move->m_StopOnPoint != 0;
}

}  // namespace

bool MoveWithScroll() { return g_System.m_LegacyScrollSync != 0; }

double CountingScrollSpeed(bool horizontal) {
  if (g_PlayScene == nullptr) return 0.0;
  const ScrollAxis& axis = horizontal ? g_PlayScene->m_ScrollX : g_PlayScene->m_ScrollY;
  return axis.Counts() ? axis.m_AutoSpeed : 0.0;
}

std::int32_t MoveTowardPoint(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double fromX,
                             double fromY, double toX, double toY, double speed, std::int32_t variant,
                             std::int32_t noFlee, std::int32_t arrivalTest) {
  vx = 0.0;
  vy = 0.0;
  const double dx = toX - fromX;
  const double dy = toY - fromY;

  if (speed < 0 && noFlee == 0) {
    const double s = g_InvSqrt2 * -speed;
    vx = fromX < toX ? -s : s;
    vy = fromY < toY ? -s : s;
    direction = DirectionOf(vx);
    const Correction correction = CorrectionFor(true, mover, variant);
    if (correction == Correction::kAdd) ApplyScroll(vx, vy, 1.0);
    if (correction == Correction::kSubtract) ApplyScroll(vx, vy, -1.0);
    return 0;
  }

  double d = std::sqrt(dx * dx + dy * dy);
  if (d == 0) d = 1;
  vx = dx / d * speed;
  vy = dy / d * speed;

  switch (CorrectionFor(false, mover, variant)) {
    case Correction::kAdd:
      ApplyScroll(vx, vy, 1.0);
      break;
    case Correction::kSubtract:
      ApplyScroll(vx, vy, -1.0);
      break;
    case Correction::kIntercept: {
      const ScrollAxis& sx = g_PlayScene->m_ScrollX;
      const ScrollAxis& sy = g_PlayScene->m_ScrollY;
      if (sx.Counts() || sy.Counts()) {
        if (!Intercept(vx, vy, dx, dy, fromX, fromY, toX, toY, CountingSpeed(sx), CountingSpeed(sy))) return 0;
      }
      break;
    }
    case Correction::kNone:
      break;
  }

  direction = DirectionOf(vx);
  if (arrivalTest != 0 && std::fabs(dx) < std::fabs(speed) && std::fabs(dy) < std::fabs(speed)) return 1;
  return 0;
}

std::int32_t MoveTowardPointXY(cCommandInstance& instance, cGameObj& mover, double toX, double toY,
                               std::int32_t variant, std::int32_t arrivalTest) {
  const std::int32_t arrived =
      MoveTowardPoint(instance.m_Vx, instance.m_Vy, instance.m_DirectionCode, &mover, mover.ScreenCentreX(),
                      mover.ScreenCentreY(), toX, toY, instance.m_Speed, variant, 0, arrivalTest);
  if (arrived != 0 && SnapsOnArrival(instance)) mover.SetCenterAndStop(TruncDot(toX), TruncDot(toY), instance);
  return arrived;
}

std::int32_t MoveTowardPointStepX(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double from,
                                  double to, double speed, std::int32_t noFollow, std::int32_t arrivalTest) {
  if (from < to) {
    direction = kSteerRight;
    vx = speed;
  } else {
    direction = kSteerLeft;
    vx = -speed;
  }
  const ScrollAxis& axis = g_PlayScene->m_ScrollX;
  if (noFollow == 0 && mover != nullptr && mover->m_FollowsScroll != 0 && MoveWithScroll() && axis.Counts())
    vx += axis.m_AutoSpeed;
  vy = 0.0;
  return arrivalTest != 0 && std::fabs(from - to) < std::fabs(speed) ? 1 : 0;
}

std::int32_t MoveTowardPointStepY(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double from,
                                  double to, double speed, std::int32_t noFollow, std::int32_t arrivalTest) {
  direction = kSteerStill;
  vy = from < to ? speed : -speed;
  const ScrollAxis& axis = g_PlayScene->m_ScrollY;
  if (noFollow == 0 && mover != nullptr && mover->m_FollowsScroll != 0 && MoveWithScroll() && axis.Counts())
    vy += axis.m_AutoSpeed;
  vx = 0.0;
  return arrivalTest != 0 && std::fabs(from - to) < std::fabs(speed) ? 1 : 0;
}

std::int32_t MoveTowardPointX(cCommandInstance& instance, cGameObj& mover, double toX, std::int32_t noFollow,
                              std::int32_t arrivalTest) {
  const std::int32_t arrived = MoveTowardPointStepX(instance.m_Vx, instance.m_Vy, instance.m_DirectionCode, &mover,
                                                    mover.ScreenCentreX(), toX, instance.m_Speed, noFollow,
                                                    arrivalTest);
  if (arrived != 0 && SnapsOnArrival(instance)) mover.SetCenterXAndStop(TruncDot(toX), instance);
  return arrived;
}

std::int32_t MoveTowardPointY(cCommandInstance& instance, cGameObj& mover, double toY, std::int32_t noFollow,
                              std::int32_t arrivalTest) {
  const std::int32_t arrived = MoveTowardPointStepY(instance.m_Vx, instance.m_Vy, instance.m_DirectionCode, &mover,
                                                    mover.ScreenCentreY(), toY, instance.m_Speed, noFollow,
                                                    arrivalTest);
  if (arrived != 0 && SnapsOnArrival(instance)) mover.SetCenterYAndStop(TruncDot(toY), instance);
  return arrived;
}
