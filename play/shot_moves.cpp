// The ten movement kinds of shots: straight flight, a one-time turn toward the hero, the nearest
// character or the target, homing toward them between a start and an end distance, a sideways
// wave, and a switch to falling. Each changes only the shot's own velocity (falling also its flight).
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "play/chara_search.h"
#include "play/dots.h"
#include "play/hero.h"
#include "play/motion.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/steering.h"
#include "project/stage_data.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308239;
constexpr double kRadiansPerDegree = 0.017453292519943278;
constexpr double kTwoPi = 6.283185307179586;

// The steps until a distance in hbl is covered at the shot's speed; 0 for no distance or no speed.
std::int32_t StepsToCover(std::int16_t hbl, double speed) {
  if (hbl == 0 || speed == 0.0) return 0;
  return TruncDot(hbl * 16.0 / speed);
}

// The first call of a steering or falling kind works out its speed and the steps at which it acts.
void PrepareOnFirstCall(cShot& shot, bool homing) {
  if (shot.m_StepCounter != 0) return;
  const cEdShot& p = shot.m_Params;
  shot.m_Speed = (p.m_Speed + p.m_SpeedStep * static_cast<double>(shot.m_Tag)) * 0.1 / g_StepsPerFrameF;
  if (p.m_MoveParams[0] != 0) shot.m_ChangeStep = StepsToCover(p.m_MoveParams[0], shot.m_Speed);
  if (homing && p.m_MoveParams[1] != 0) shot.m_EndStep = StepsToCover(p.m_MoveParams[1], shot.m_Speed);
}

// The velocity at the shot's speed from its drawn centre toward that of object.
void SteerToward(cShot& shot, const cCharaBase& object, double& vx, double& vy) {
  shot.UpdateScreenRect();
  std::uint8_t direction = 0;
  MoveTowardPoint(vx, vy, direction, &shot, shot.ScreenCentreX(), shot.ScreenCentreY(), object.ScreenCentreX(),
                  object.ScreenCentreY(), shot.m_Speed, shot.m_FollowsScroll, 1, 0);
}

void TurnToward(cShot& shot, const cCharaBase& object) {
  SteerToward(shot, object, shot.m_OwnVx, shot.m_OwnVy);
  if (shot.m_Accelerating != 0) shot.SplitAcceleration(shot.m_DriveX, shot.m_DriveY, shot.m_OwnVx, shot.m_OwnVy);
}

cCharaBase* Hero0OrNull() { return g_Heroes.empty() ? nullptr : &g_Heroes[0]; }

// While a pass of shot steps runs no character moves, so the nearest searches of the shots read
// per-group copies of what they compare, taken at the first search of the group in the pass: a
// compact walk instead of the list and the characters behind it. Outside a pass they search the
// lists themselves. The buffers keep their room from pass to pass.
class cAimCopies {
 public:
  void Begin() {
    m_Active = true;
    Forget();
  }
  void End() { m_Active = false; }
  void Forget() { m_Fresh.fill(false); }

  cCharaBase* Nearest(const cShot& shot, cPlayScene& scene, std::int16_t group) {
    auto& list = scene.m_GroupCharas.At(group);
    const auto index = static_cast<std::size_t>(&list - scene.m_GroupCharas.data());
    if (!m_Active || index >= kObjectGroups) return FindNearestChara(shot, list);
    auto& copies = m_Copies[index];
    if (!m_Fresh[index]) {
      const CharaFilter filter = AimFilter();
      copies.clear();
      for (cCharaBase* c : list)
        if (MayBeNearest(c, filter)) copies.push_back({c, c->ScreenCentreX(), c->ScreenCentreY(), c->m_OnScreen != 0});
      m_Fresh[index] = true;
    }
    cNearestPick pick(shot.ScreenCentreX(), shot.ScreenCentreY(), AimSearchMode());
    for (const cCopy& copy : copies) pick.Offer(copy.m_Chara, copy.m_CentreX, copy.m_CentreY, copy.m_OnScreen);
    return pick.Best();
  }

 private:
  struct cCopy {
    cCharaBase* m_Chara;
    std::int32_t m_CentreX;
    std::int32_t m_CentreY;
    bool m_OnScreen;
  };
  bool m_Active = false;
  std::array<bool, kObjectGroups> m_Fresh{};
  std::array<std::vector<cCopy>, kObjectGroups> m_Copies;
};

cAimCopies s_AimCopies;

cCharaBase* NearestInGroup(cShot& shot, std::int16_t group) {
  if (g_PlayScene == nullptr) return nullptr;
  shot.UpdateScreenRect();
  return s_AimCopies.Nearest(shot, *g_PlayScene, group);
}

cCharaBase* LivingTarget(const cShot& shot) {
  return shot.m_Target != nullptr && shot.m_Target->m_Dead == 0 ? shot.m_Target : nullptr;
}

// Kinds 1 to 3: one turn toward the object when the counter reaches the change step.
template <class Find>
void AimOnce(cShot& shot, Find&& find) {
  if (shot.m_MoveDone != 0) return;
  PrepareOnFirstCall(shot, false);
  if (shot.m_StepCounter != shot.m_ChangeStep) {
    ++shot.m_StepCounter;
    return;
  }
  if (cCharaBase* object = find(); object != nullptr) TurnToward(shot, *object);
  shot.m_MoveDone = 1;
}

// The homing step: the velocity toward the object, taken at once by a shot without acceleration;
// an accelerating one takes it on the first homing step only and then turns its acceleration.
void ShotHome(cShot& shot, const cCharaBase& object) {
  double tx = shot.m_OwnVx;
  double ty = shot.m_OwnVy;
  SteerToward(shot, object, tx, ty);
  if (shot.m_Accelerating == 0 || shot.m_StepCounter == shot.m_ChangeStep) {
    shot.m_OwnVx = tx;
    shot.m_OwnVy = ty;
  }
  if (shot.m_Accelerating != 0) shot.SplitAcceleration(shot.m_DriveX, shot.m_DriveY, tx, ty);
}

// Kinds 4 to 7: homing from the change step until the end step, toward the object found anew on
// every step.
template <class Find>
void HomeBetween(cShot& shot, Find&& find) {
  if (shot.m_MoveDone != 0) return;
  PrepareOnFirstCall(shot, true);
  if (shot.m_StepCounter >= shot.m_EndStep) {
    shot.m_MoveDone = 1;
  } else if (shot.m_StepCounter >= shot.m_ChangeStep) {
    if (cCharaBase* object = find(); object != nullptr) ShotHome(shot, *object);
  }
  ++shot.m_StepCounter;
}

void NoOp(cShot&) {}

void ShotAimHero(cShot& shot) { AimOnce(shot, [] { return Hero0OrNull(); }); }
void ShotAimNearest(cShot& shot) { AimOnce(shot, [&] { return NearestInGroup(shot, shot.m_Params.m_MoveParams[1]); }); }
void ShotAimTarget(cShot& shot) { AimOnce(shot, [&] { return LivingTarget(shot); }); }
void ShotHomeHero(cShot& shot) { HomeBetween(shot, [] { return Hero0OrNull(); }); }
void ShotHomeNearest(cShot& shot) {
  HomeBetween(shot, [&] { return NearestInGroup(shot, shot.m_Params.m_MoveParams[2]); });
}
void ShotHomeTarget(cShot& shot) { HomeBetween(shot, [&] { return LivingTarget(shot); }); }

// A component whose sign the wave would flip stops instead.
double AddWithoutFlip(double v, double add) {
  const double next = v + add;
  return (v < 0.0 && next > 0.0) || (v > 0.0 && next < 0.0) ? 0.0 : next;
}

// The wave swings the shot up to the amplitude to either side of its path, advancing its rate in
// degrees of phase per frame. A rate of 0 gives no wave at all.
void ShotWave(cShot& shot) {
  cEdShot& p = shot.m_Params;
  const double rate = p.m_MoveParams[1];
  if (shot.m_StepCounter == 0) {
    shot.m_StepCounter = 1;
    // From now on the amplitude is kept in dots.
    const std::int32_t amplitude = std::clamp<std::int32_t>(p.m_MoveParams[0] * 16, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max());
    p.m_MoveParams[0] = static_cast<std::int16_t>(amplitude);
    if (rate != 0.0) {
      const double start = p.m_MoveParams[2] + (shot.m_Direction == 0 ? 180.0 : 0.0);
      shot.m_WavePhase = start / rate * g_StepsPerFrameF;
      const double w = CircleMoveStepX(amplitude, rate, shot.m_WavePhase, 1.0, 0.0);
      double theta = std::atan2(shot.m_OwnVy, shot.m_OwnVx);
      if (theta < 0.0) theta += kTwoPi;
      theta = (theta * kDegreesPerRadian - 90.0) * kRadiansPerDegree;
      shot.m_WaveCosine = std::cos(theta);
      shot.m_WaveSine = std::sin(theta);
      shot.m_OwnVx += shot.m_WaveCosine * w;
      shot.m_OwnVy += shot.m_WaveSine * w;
    }
  } else if (rate != 0.0) {
    const double w = CircleMoveStepY(p.m_MoveParams[0], rate, shot.m_WavePhase, 1.0, 0.0);
    shot.m_OwnVx = AddWithoutFlip(shot.m_OwnVx, shot.m_WaveCosine * w);
    shot.m_OwnVy = AddWithoutFlip(shot.m_OwnVy, shot.m_WaveSine * w);
  }
  if (shot.m_Accelerating != 0) shot.SplitAcceleration(shot.m_DriveX, shot.m_DriveY, shot.m_OwnVx, shot.m_OwnVy);
}

// From the change step on the shot falls: gravity acts on it, its own horizontal velocity stays.
void ShotFall(cShot& shot) {
  if (shot.m_MoveDone != 0) return;
  PrepareOnFirstCall(shot, false);
  if (shot.m_StepCounter >= shot.m_ChangeStep) {
    shot.m_Vy = shot.m_OwnVy;
    shot.m_Flying = 0;
    shot.m_MoveDone = 1;
    return;
  }
  ++shot.m_StepCounter;
}

}  // namespace

// Rows 5 and 7 hold the same handler.
cShotPass::cShotPass() { s_AimCopies.Begin(); }
cShotPass::~cShotPass() { s_AimCopies.End(); }
void cShotPass::OwnerMoved() { s_AimCopies.Forget(); }

const ShotMoveHandler kShotMoveHandlers[10] = {NoOp,          ShotAimHero,     ShotAimNearest, ShotAimTarget, ShotHomeHero,
                                               ShotHomeNearest, ShotHomeTarget, ShotHomeNearest, ShotWave,     ShotFall};
