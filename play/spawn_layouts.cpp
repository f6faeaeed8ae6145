// The start layouts of the spawn patterns: first position, steps and velocity of a volley.
#include "play/spawn_layouts.h"

#include <cmath>

#include "play/chara_base.h"
#include "play/dots.h"
#include "play/firing.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/system_data.h"

namespace {

constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;

// What every layout reads: the camera, the picture of the object it is placed around (the shooter,
// or the target for the thunder), the size of one spawned object and the row of the volley.
struct LayoutFrame {
  double cx, cy;         // camera
  std::int32_t fcx, fcy; // camera, truncated
  std::int32_t sl, st, sr, sb, hw, hh;
  std::int32_t centreX, centreY;  // the drawn centre in stage dots
  std::int32_t w, h, sw, sh;
  std::int32_t n, k, gap, g2;
  double v;
};

LayoutFrame FrameOf(const cShotSpawn& spawn, const cEdShot& shot, const cGameObj& obj) {
  LayoutFrame f{};
  f.cx = g_PlayScene->m_ScrollX.m_Pos;
  f.cy = g_PlayScene->m_ScrollY.m_Pos;
  f.fcx = TruncDot(f.cx);
  f.fcy = TruncDot(f.cy);
  f.sl = obj.m_ScreenLeft;
  f.st = obj.m_ScreenTop;
  f.sr = obj.m_ScreenRight;
  f.sb = obj.m_ScreenBottom;
  f.hw = obj.m_DrawWidth / 2;
  f.hh = obj.m_DrawHeight / 2;
  f.centreX = f.fcx + f.sl + f.hw;
  f.centreY = f.fcy + f.st + f.hh;
  f.w = spawn.m_Width;
  f.h = spawn.m_Height;
  f.sw = f.w / 2;
  f.sh = f.h / 2;
  f.n = ShotCount(shot);
  f.k = f.n - 1;
  f.gap = shot.m_PatternParams[0] * 16;
  f.g2 = f.gap / 2;
  f.v = spawn.m_Speed;
  return f;
}

void SetStart(cShotSpawn& spawn, std::int32_t x, std::int32_t y) {
  spawn.m_StartX = x;
  spawn.m_StartY = y;
}
void SetStep(cShotSpawn& spawn, std::int32_t x, std::int32_t y) {
  spawn.m_StepX = x;
  spawn.m_StepY = y;
}
void SetVelocity(cShotSpawn& spawn, double vx, double vy) {
  spawn.m_Vx = vx;
  spawn.m_Vy = vy;
}
void AddOffsets(cShotSpawn& spawn) {
  spawn.m_StartX += spawn.m_OffsetX;
  spawn.m_StartY += spawn.m_OffsetY;
}

// The row of 直進A, without offsets; false for a code that is not a direction. With k = 0 and n = 1
// it is the single start point of 拡散.
bool LayoutRowA(cShotSpawn& spawn, const LayoutFrame& f) {
  const double r2 = g_InvSqrt2;
  const std::int32_t acrossY = f.centreY - f.k * f.g2 - f.sh * f.n;
  const std::int32_t acrossX = f.centreX - f.k * f.g2 - f.sw * f.n;
  const std::int32_t x0 = TruncDot(f.centreX + (1 - f.hw - f.sw) * r2 - f.sw);
  const std::int32_t x1 = TruncDot(f.centreX + (f.sr - f.sl - f.hw + f.sw + 1) * r2 - f.sw);
  const std::int32_t y0 = TruncDot(f.centreY - (f.hh + f.sh) * r2 - f.sh);
  const std::int32_t y1 = TruncDot(f.centreY + (f.sb - f.st - f.hh + f.sh + 1) * r2 - f.sh);
  const double alongX = f.k * (f.sw + f.g2) * r2;
  const double alongY = f.k * (f.sh + f.g2) * r2;
  const std::int32_t diagX = TruncDot((f.w + f.gap) * r2);
  const std::int32_t diagY = TruncDot((f.h + f.gap) * r2);
  const double dv = r2 * f.v;
  switch (spawn.m_Direction) {
    case kShotLeft:
      SetStart(spawn, TruncDot(f.sl + f.cx + 1 - f.w), acrossY);
      SetStep(spawn, 0, f.h + f.gap);
      SetVelocity(spawn, -f.v, 0.0);
      return true;
    case kShotRight:
      SetStart(spawn, TruncDot(f.sr + f.cx + 1), acrossY);
      SetStep(spawn, 0, f.h + f.gap);
      SetVelocity(spawn, f.v, 0.0);
      return true;
    case kShotUp:
      SetStart(spawn, acrossX, f.fcy + f.st - f.h);
      SetStep(spawn, f.w + f.gap, 0);
      SetVelocity(spawn, 0.0, -f.v);
      return true;
    case kShotDown:
      SetStart(spawn, acrossX, f.fcy + f.sb + 1);
      SetStep(spawn, f.w + f.gap, 0);
      SetVelocity(spawn, 0.0, f.v);
      return true;
    case kShotUpLeft:
      SetStart(spawn, TruncDot(x0 - alongX), TruncDot(y0 + alongY));
      SetStep(spawn, diagX, -diagY);
      SetVelocity(spawn, -dv, -dv);
      return true;
    case kShotDownLeft:
      SetStart(spawn, TruncDot(x0 - alongX), TruncDot(y1 - alongY));
      SetStep(spawn, diagX, diagY);
      SetVelocity(spawn, -dv, dv);
      return true;
    case kShotUpRight:
      SetStart(spawn, TruncDot(x1 - alongX), TruncDot(y0 - alongY));
      SetStep(spawn, diagX, diagY);
      SetVelocity(spawn, dv, -dv);
      return true;
    case kShotDownRight:
      SetStart(spawn, TruncDot(x1 - alongX), TruncDot(y1 + alongY));
      SetStep(spawn, diagX, -diagY);
      SetVelocity(spawn, dv, dv);
      return true;
    default:
      return false;
  }
}

// The angle of an angled layout before the rotated start: aimed from the shooter's drawn centre, or
// the direction's own, turned by the angle offset.
std::int32_t CentreAngle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter, const LayoutFrame& f) {
  const std::int32_t base = ShotAims(shot) != 0
                                ? AimAngleToTarget(f.centreX + spawn.m_OffsetX, f.centreY + spawn.m_OffsetY, shooter,
                                                   shot, spawn)
                                : ShotBaseAngle(spawn.m_Direction);
  return base + spawn.m_AngleOffset;
}

// The angle from the start point (offsets included) or the direction's own, turned by the offset.
std::int32_t StartAngle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter, const LayoutFrame& f) {
  const std::int32_t base = ShotAims(shot) != 0 ? AimAngleToTarget(spawn.m_StartX + f.sw, spawn.m_StartY + f.sh,
                                                                   shooter, shot, spawn)
                                                : ShotBaseAngle(spawn.m_Direction);
  return base + spawn.m_AngleOffset;
}

}  // namespace

std::int32_t ShotBaseAngle(std::int32_t code) {
  switch (code) {
    case kShotRight:
      return 180;
    case kShotUp:
      return 90;
    case kShotDown:
      return 270;
    case kShotUpLeft:
      return 45;
    case kShotDownLeft:
      return 315;
    case kShotUpRight:
      return 135;
    case kShotDownRight:
      return 225;
    default:
      return 0;
  }
}

void SetSpawnVelocity(cShotSpawn& spawn, double angle) {
  const double a = angle * kRadiansPerDegree;
  spawn.m_Vx = -std::cos(a) * spawn.m_Speed;
  spawn.m_Vy = -std::sin(a) * spawn.m_Speed;
}

void SpawnStartLayoutA(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  LayoutRowA(spawn, FrameOf(spawn, shot, shooter));
  AddOffsets(spawn);
}

void SpawnStartSingle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  LayoutFrame f = FrameOf(spawn, shot, shooter);
  f.n = 1;
  f.k = 0;
  // Only the point: the spread sets its own velocities and has no step.
  const cShotSpawn before = spawn;
  if (LayoutRowA(spawn, f)) {
    SetStep(spawn, before.m_StepX, before.m_StepY);
    SetVelocity(spawn, before.m_Vx, before.m_Vy);
  }
  AddOffsets(spawn);
}

void SpawnStartRotated(cShotSpawn& spawn, const cCharaBase& shooter, std::int32_t angle) {
  const double cx = g_PlayScene->m_ScrollX.m_Pos;
  const double cy = g_PlayScene->m_ScrollY.m_Pos;
  const std::int32_t hw = shooter.m_DrawWidth / 2;
  const std::int32_t hh = shooter.m_DrawHeight / 2;
  const std::int32_t sw = spawn.m_Width / 2;
  const std::int32_t sh = spawn.m_Height / 2;
  const double theta = (angle + 225) * kRadiansPerDegree;
  const double rx = (shooter.m_ScreenRight - shooter.m_ScreenLeft - hw + sw + 1) * g_InvSqrt2;
  const double ry = (shooter.m_ScreenBottom - shooter.m_ScreenTop - hh + sh + 1) * g_InvSqrt2;
  const double x = shooter.m_ScreenLeft + hw + cx;
  const double y = shooter.m_ScreenTop + hh + cy;
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  SetStart(spawn, TruncDot(x + rx * c + ry * s - sw), TruncDot(y + rx * s - ry * c - sh));
}

void SpawnStartAngledA(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  const LayoutFrame f = FrameOf(spawn, shot, shooter);
  if (ShotRotatesStart(shot) == 0) {
    SpawnStartLayoutA(spawn, shot, shooter);
    SetSpawnVelocity(spawn, StartAngle(spawn, shot, shooter, f));
    return;
  }
  std::int32_t a = CentreAngle(spawn, shot, shooter, f);
  SpawnStartRotated(spawn, shooter, a);
  if (ShotAims(shot) != 0)
    a = AimAngleToTarget(spawn.m_StartX + f.sw + spawn.m_OffsetX, spawn.m_StartY + f.sh + spawn.m_OffsetY, shooter,
                         shot, spawn) +
        spawn.m_AngleOffset;
  // The row runs across the direction of travel, centred on the rotated point.
  const double s = std::sin(a * kRadiansPerDegree);
  const double c = std::cos(a * kRadiansPerDegree);
  const double alongX = f.k * (f.sw + f.g2);
  const double alongY = f.k * (f.sh + f.g2);
  if ((s >= 0.0) == (c >= 0.0)) {
    SetStart(spawn, TruncDot(spawn.m_StartX - alongX * s), TruncDot(spawn.m_StartY + alongY * c));
    SetStep(spawn, TruncDot((f.w + f.gap) * s), TruncDot(-(f.h + f.gap) * c));
  } else {
    SetStart(spawn, TruncDot(spawn.m_StartX + alongX * s), TruncDot(spawn.m_StartY - alongY * c));
    SetStep(spawn, TruncDot(-(f.w + f.gap) * s), TruncDot((f.h + f.gap) * c));
  }
  AddOffsets(spawn);
  SetSpawnVelocity(spawn, a);
}

void SpawnStartLayoutB(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  const LayoutFrame f = FrameOf(spawn, shot, shooter);
  const std::int32_t left = TruncDot(f.sl + f.cx + 1 - f.w);
  const std::int32_t right = TruncDot(f.sr + f.cx + 1);
  const std::int32_t facing = shooter.m_Direction != 0 ? right : left;
  const double dv = g_InvSqrt2 * f.v;
  struct Column {
    std::int32_t x;
    double vx, vy;
  };
  Column column{};
  switch (spawn.m_Direction) {
    case kShotLeft: column = {left, -f.v, 0.0}; break;
    case kShotRight: column = {right, f.v, 0.0}; break;
    case kShotUp: column = {facing, 0.0, -f.v}; break;
    case kShotDown: column = {facing, 0.0, f.v}; break;
    case kShotUpLeft: column = {left, -dv, -dv}; break;
    case kShotDownLeft: column = {left, -dv, dv}; break;
    case kShotUpRight: column = {right, dv, -dv}; break;
    case kShotDownRight: column = {right, dv, dv}; break;
    default:
      AddOffsets(spawn);
      return;
  }
  SetStart(spawn, column.x, f.fcy + f.sb - f.h + 1);
  SetStep(spawn, 0, -(f.h + f.gap));
  SetVelocity(spawn, column.vx, column.vy);
  AddOffsets(spawn);
}

void SpawnStartAngledB(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  const LayoutFrame f = FrameOf(spawn, shot, shooter);
  SpawnStartLayoutB(spawn, shot, shooter);
  SetSpawnVelocity(spawn, StartAngle(spawn, shot, shooter, f));
}

void SpawnStartAngledSingle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  if (ShotRotatesStart(shot) == 0) {
    SpawnStartSingle(spawn, shot, shooter);
    return;
  }
  const LayoutFrame f = FrameOf(spawn, shot, shooter);
  SpawnStartRotated(spawn, shooter, CentreAngle(spawn, shot, shooter, f));
  AddOffsets(spawn);
}

void SpawnStartCentre(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  const LayoutFrame f = FrameOf(spawn, shot, shooter);
  SetStart(spawn, TruncDot(f.sl + f.hw + f.cx - f.sw), TruncDot(f.st + f.hh + f.cy - f.sh));
  AddOffsets(spawn);
}

void SpawnStartThunder(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  if (shooter.m_Target == nullptr) {
    AddOffsets(spawn);
    return;
  }
  const LayoutFrame f = FrameOf(spawn, shot, *shooter.m_Target);
  const double r2 = g_InvSqrt2;
  const std::int32_t dl = f.sl + f.hw;
  const std::int32_t dr = kViewWidth - dl;
  const std::int32_t dt = f.st + f.hh;
  const std::int32_t db = kViewHeight - dt;
  // Projects from before the gap existed keep the shots of a line touching.
  const bool noGap = g_System.m_LegacyEdgeEntry != 0;
  const std::int32_t along = noGap ? f.w : f.w + f.gap;
  const std::int32_t alongH = noGap ? f.h : f.h + f.gap;
  const std::int32_t diagX = TruncDot(along * r2);
  const std::int32_t diagY = TruncDot(alongH * r2);
  const std::int32_t rightEdge = TruncDot(f.cx + kViewWidth - f.w);
  const std::int32_t bottomEdge = TruncDot(f.cy + kViewHeight - f.h);
  const double dv = r2 * f.v;
  switch (spawn.m_Direction) {
    case kShotLeft:
      SetStart(spawn, rightEdge, f.fcy - f.sh + f.st + f.hh);
      SetStep(spawn, -along, 0);
      SetVelocity(spawn, -f.v, 0.0);
      break;
    case kShotRight:
      SetStart(spawn, f.fcx, f.fcy - f.sh + f.st + f.hh);
      SetStep(spawn, along, 0);
      SetVelocity(spawn, f.v, 0.0);
      break;
    case kShotUp:
      SetStart(spawn, f.fcx - f.sw + f.sl + f.hw, bottomEdge);
      SetStep(spawn, 0, -alongH);
      SetVelocity(spawn, 0.0, -f.v);
      break;
    case kShotDown:
      SetStart(spawn, f.fcx - f.sw + f.sl + f.hw, f.fcy);
      SetStep(spawn, 0, alongH);
      SetVelocity(spawn, 0.0, f.v);
      break;
    // A diagonal enters where it meets the nearer of its two screen edges; the side edge wins only
    // when strictly nearer.
    case kShotUpLeft:
      if (dr < db)
        SetStart(spawn, rightEdge, TruncDot(dt + f.cy + dr - f.h));
      else
        SetStart(spawn, TruncDot(dl + f.cx + db - f.w), bottomEdge);
      SetStep(spawn, TruncDot(-along * r2), TruncDot(-alongH * r2));
      SetVelocity(spawn, -dv, -dv);
      break;
    case kShotDownLeft:
      if (dr < dt)
        SetStart(spawn, rightEdge, TruncDot(dt + f.cy - dr));
      else
        SetStart(spawn, TruncDot(dl + f.cx + dt - f.w), f.fcy);
      SetStep(spawn, TruncDot(-along * r2), diagY);
      SetVelocity(spawn, -dv, dv);
      break;
    case kShotUpRight:
      if (dl < db)
        SetStart(spawn, f.fcx, TruncDot(dt + f.cy + dl - f.h));
      else
        SetStart(spawn, TruncDot(dl + f.cx - db), bottomEdge);
      SetStep(spawn, diagX, TruncDot(-alongH * r2));
      SetVelocity(spawn, dv, -dv);
      break;
    case kShotDownRight:
      if (dl < dt)
        SetStart(spawn, f.fcx, TruncDot(dt + f.cy - dl));
      else
        SetStart(spawn, TruncDot(dl + f.cx - dt), f.fcy);
      SetStep(spawn, diagX, diagY);
      SetVelocity(spawn, dv, dv);
      break;
    default:
      AddOffsets(spawn);
      return;
  }

  // Several lines lie side by side across the direction of travel, centred on the target's line.
  const std::int32_t lines = shot.m_PatternParams[1];
  if (lines >= 2) {
    const std::int32_t lgap = shot.m_PatternParams[2] * 16;
    const std::int32_t q = ((lines - 1) / 2) * lgap + (lines % 2 == 0 ? lgap / 2 : 0);
    const std::int32_t rowDiag = TruncDot(lgap * r2);
    const std::int32_t qDiag = TruncDot(q * r2);
    switch (spawn.m_Direction) {
      case kShotLeft:
      case kShotRight:
        spawn.m_RowStepX = 0;
        spawn.m_RowStepY = lgap;
        spawn.m_StartY -= q;
        break;
      case kShotUp:
      case kShotDown:
        spawn.m_RowStepX = lgap;
        spawn.m_RowStepY = 0;
        spawn.m_StartX -= q;
        break;
      case kShotUpLeft:
      case kShotDownRight:
        spawn.m_RowStepX = rowDiag;
        spawn.m_RowStepY = TruncDot(-lgap * r2);
        spawn.m_StartX -= qDiag;
        spawn.m_StartY += qDiag;
        break;
      default:  // down-left, up-right
        spawn.m_RowStepX = rowDiag;
        spawn.m_RowStepY = rowDiag;
        spawn.m_StartX -= qDiag;
        spawn.m_StartY -= qDiag;
        break;
    }
  }
  AddOffsets(spawn);
}

void SpawnStartThunderAngled(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter) {
  SpawnStartThunder(spawn, shot, shooter);
  SetSpawnVelocity(spawn, ShotBaseAngle(spawn.m_Direction) + spawn.m_AngleOffset);
}
