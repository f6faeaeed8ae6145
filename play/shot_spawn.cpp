// The six spawn patterns of a volley, the aim at the shooter's target, and the making of one
// spawned object.
#include <algorithm>
#include <cmath>
#include <list>

#include "play/chara.h"
#include "play/chara_base.h"
#include "play/dots.h"
#include "play/firing.h"
#include "play/flow_runner.h"
#include "play/placing.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/spawn_layouts.h"
#include "play/steering.h"
#include "project/command_vocabulary.h"
#include "project/common_palette.h"
#include "project/stage_data.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;

// Shot movement kinds that steer toward the target after they leave: the target knows of them.
constexpr std::int32_t kShotMoveAimOnce = 3;
constexpr std::int32_t kShotMoveHoming = 6;

void Fire(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot, cShotSpawn& spawn,
          std::int32_t x, std::int32_t y) {
  spawn.m_X = x;
  spawn.m_Y = y;
  FireShot(list, spawn, shooter, instance, shot);
}

// 直進A and 直進B: a row of n objects from the start, one step apart.
void SpawnRow(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
              cShotSpawn& spawn) {
  std::int32_t x = spawn.m_StartX;
  std::int32_t y = spawn.m_StartY;
  for (std::int32_t i = 0; i < ShotCount(shot); ++i) {
    Fire(list, shooter, instance, shot, spawn, x, y);
    x += spawn.m_StepX;
    y += spawn.m_StepY;
  }
}

// n shots from the start point, the first at angle, each next one gap degrees further.
void FireFan(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
             cShotSpawn& spawn, std::int32_t n, double angle, double gap) {
  for (std::int32_t i = 0; i < n; ++i) {
    SetSpawnVelocity(spawn, angle);
    Fire(list, shooter, instance, shot, spawn, spawn.m_StartX, spawn.m_StartY);
    angle += gap;
  }
}

bool Straight(const cEdShot& shot, const cShotSpawn& spawn) {
  return spawn.m_AngleOffset == 0 && ShotAims(shot) == 0;
}

// The stage palette's or the common palette's list, by the record's palette source.
template <class T>
const CheckedVector<T>& PaletteOf(const cEdShot& shot, const CheckedVector<T>& common, const CheckedVector<T>& stage) {
  return shot.m_SummonPalette == 0 ? common : stage;
}

}  // namespace

const std::array<SpawnPattern, 6> PatternSpawnTable{
    SpawnStraightA,  // 0 "直進A"
    SpawnStraightB,  // 1 "直進B"
    SpawnSpread,     // 2 "拡散"
    SpawnThunder,    // 3 "落雷"
    SpawnExplosion,  // 4 "爆発"
    SpawnSurround,   // 5 "包囲"
};

void SpawnStraightA(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn) {
  (Straight(shot, spawn) ? SpawnStartLayoutA : SpawnStartAngledA)(spawn, shot, shooter);
  SpawnRow(list, shooter, instance, shot, spawn);
}

void SpawnStraightB(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn) {
  (Straight(shot, spawn) ? SpawnStartLayoutB : SpawnStartAngledB)(spawn, shot, shooter);
  SpawnRow(list, shooter, instance, shot, spawn);
}

void SpawnSpread(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                 cShotSpawn& spawn) {
  const std::int32_t n = ShotCount(shot);
  if (n <= 0) return;
  if (Straight(shot, spawn))
    SpawnStartSingle(spawn, shot, shooter);
  else
    SpawnStartAngledSingle(spawn, shot, shooter);
  const double gap = shot.m_PatternParams[0];
  double base = ShotAims(shot) != 0 ? AimAngleToTarget(spawn.m_StartX + spawn.m_Width / 2,
                                                       spawn.m_StartY + spawn.m_Height / 2, shooter, shot, spawn)
                                    : ShotBaseAngle(spawn.m_Direction);
  base += spawn.m_AngleOffset;
  // The fan is centred on the base angle: an even count has no shot along it.
  const double half = n % 2 != 0 ? n / 2 : n / 2 - 0.5;
  const double angle = base - half * gap;
  FireFan(list, shooter, instance, shot, spawn, n, angle, gap);
}

void SpawnThunder(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                  cShotSpawn& spawn) {
  if (shooter.m_Target == nullptr) return;
  if (spawn.m_AngleOffset == 0)
    SpawnStartThunder(spawn, shot, shooter);
  else
    SpawnStartThunderAngled(spawn, shot, shooter);
  std::int32_t x = spawn.m_StartX;
  std::int32_t y = spawn.m_StartY;
  for (std::int32_t i = 0; i < ShotCount(shot); ++i) {
    // One shot per line at each position along the direction.
    cShotSpawn line = spawn;
    std::int32_t lx = x;
    std::int32_t ly = y;
    for (std::int32_t j = 0; j < shot.m_PatternParams[1]; ++j) {
      Fire(list, shooter, instance, shot, line, lx, ly);
      lx += line.m_RowStepX;
      ly += line.m_RowStepY;
    }
    x += spawn.m_StepX;
    y += spawn.m_StepY;
  }
}

void SpawnExplosion(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn) {
  const std::int32_t n = ShotCount(shot);
  if (n <= 0) return;
  SpawnStartCentre(spawn, shot, shooter);
  const double angle = static_cast<double>(ShotBaseAngle(spawn.m_Direction)) + spawn.m_AngleOffset;
  const double gap = 360.0 / n;
  FireFan(list, shooter, instance, shot, spawn, n, angle, gap);
}

void SpawnSurround(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                   cShotSpawn& spawn) {
  const std::int32_t n = ShotCount(shot);
  const cCharaBase* target = shooter.m_Target;
  if (target == nullptr || n <= 0) return;
  SpawnStartCentre(spawn, shot, shooter);
  const double cx = g_PlayScene->m_ScrollX.m_Pos;
  const double cy = g_PlayScene->m_ScrollY.m_Pos;
  const std::int32_t x0 = TruncDot(target->m_ScreenLeft + target->m_DrawWidth / 2 + cx - spawn.m_Width / 2 +
                                   spawn.m_OffsetX);
  const std::int32_t y0 = TruncDot(target->m_ScreenTop + target->m_DrawHeight / 2 + cy - spawn.m_Height / 2 +
                                   spawn.m_OffsetY);
  const double d = shot.m_PatternParams[0] * 16.0;
  double angle = static_cast<double>(ShotBaseAngle(spawn.m_Direction)) + spawn.m_AngleOffset;
  const double gap = 360.0 / n;
  for (std::int32_t i = 0; i < n; ++i) {
    const double c = std::cos(angle * kRadiansPerDegree);
    const double s = std::sin(angle * kRadiansPerDegree);
    spawn.m_Vx = -c * spawn.m_Speed;
    spawn.m_Vy = -s * spawn.m_Speed;
    Fire(list, shooter, instance, shot, spawn, x0 + TruncDot(c * d + 0.5), y0 + TruncDot(s * d + 0.5));
    angle += gap;
  }
}

std::int32_t AimAngleToTarget(double x, double y, cCharaBase& shooter, cEdShot& shot, cShotSpawn& spawn) {
  const cCharaBase* target = shooter.m_Target;
  if (target == nullptr) return shooter.m_Direction != 0 ? 180 : 0;
  const double cx = g_PlayScene->m_ScrollX.m_Pos;
  const double cy = g_PlayScene->m_ScrollY.m_Pos;
  const bool scrolling = g_PlayScene->m_ScrollX.Counts() || g_PlayScene->m_ScrollY.Counts();
  if (scrolling && ShotFollowsScroll(shot) == 0 && target->m_FollowsScroll != 0) {
    // The target rides the auto-scroll and the shot will not: aim where the steering of a shot
    // that does not follow would lead it.
    cShot probe;
    probe.Setup(0, shooter, kCharaShot, shot, spawn);
    probe.m_FollowsScroll = 0;
    const double speed = (shot.m_Speed + shot.m_SpeedStep * spawn.m_Repetition) * 0.1 / g_StepsPerFrameF;
    double vx = 0.0;
    double vy = 0.0;
    std::uint8_t scratch = 0;
    MoveTowardPoint(vx, vy, scratch, &probe, x - TruncDot(cx), y - TruncDot(cy), target->ScreenCentreX(),
                    target->ScreenCentreY(), speed, 0, 1, 0);
    spawn.m_Speed = std::sqrt(vx * vx + vy * vy) * g_StepsPerFrameF;
    return TruncDot(std::atan2(vy, vx) * kDegreesPerRadian + 180.0);
  }
  const double dx = TruncDot(cx) + target->ScreenCentreX() - x;
  const double dy = TruncDot(cy) + target->ScreenCentreY() - y;
  return TruncDot(std::atan2(dy, dx) * kDegreesPerRadian + 180.0 + 0.5);
}

void FireShot(std::list<cShot>* list, cShotSpawn& spawn, cCharaBase& shooter, cCommandInstance& instance,
              cEdShot& shot) {
  if (instance.m_Command == nullptr) return;
  cPlayScene& scene = *g_PlayScene;
  const double x = spawn.m_X;
  const double y = spawn.m_Y;
  switch (instance.m_Command->m_CommandNumber) {
    case kCharaShot: {
      if (list == nullptr) return;
      cShot made;
      made.Setup(scene.m_NextExtraId, shooter, kCharaShot, shot, spawn);
      cShot& listed = AddShot(*list, made);
      ++scene.m_NextExtraId;
      const std::int32_t kind = listed.m_Params.m_MoveKind;
      if ((kind == kShotMoveAimOnce || kind == kShotMoveHoming) && listed.m_Target != nullptr) {
        CheckedVector<cGameObj*>& aimed = listed.m_Target->m_ShotsAimedHere;
        if (std::find(aimed.begin(), aimed.end(), &listed) == aimed.end()) aimed.push_back(&listed);
      } else {
        listed.m_Target = nullptr;
      }
      return;
    }
    case kCharaSummonBlock: {
      const cBlock& block = PaletteOf(shot, g_CommonPalette.m_Blocks, g_Stage.m_PaletteBlocks).At(shot.m_SummonIndex);
      ChangeMapCellsAt(x, y, SummonOptionsOf(shot), block);
      return;
    }
    case kCharaSummonChara: {
      const SummonOptions options = SummonOptionsOf(shot);
      const std::int32_t facing = options.reverseFacing != 0 ? (shooter.m_Direction != 0 ? 0 : 1)
                                                              : (shooter.m_Direction != 0 ? 1 : 0);
      const cCharaDef& def = PaletteOf(shot, g_CommonPalette.m_Charas, g_Stage.m_PaletteCharas).At(shot.m_SummonIndex);
      std::int32_t group = def.m_SpareByte2;
      if (options.groupMode == 1) group = shooter.m_Def.m_SpareByte2;
      if (options.groupMode == 2) group = shot.m_Group;
      SpawnCharaAt(g_CharaList, x, y, group, facing, options, def, scene.m_NextCharaId);
      return;
    }
    case kCharaSummonItem: {
      const cItemDef& def = PaletteOf(shot, g_CommonPalette.m_Items, g_Stage.m_PaletteItems).At(shot.m_SummonIndex);
      SpawnItemAt(g_ItemList, x, y, SummonOptionsOf(shot), def, scene.m_NextItemId);
      return;
    }
    default:
      // The sword's swing is made by its command; other commands spawn nothing.
      return;
  }
}
