// A shot's life as an object: its set-up from the firing command's parameters, its copies, its
// place in the play scene's lists and its links to the character it aims at, its moves and boxes.
#include "play/shot.h"

#include <algorithm>
#include <cmath>

#include "play/chara.h"
#include "play/dots.h"
#include "play/motion.h"
#include "play/play_scene.h"
#include "play/shot_sword.h"
#include "play/stage_boxes.h"
#include "project/stage_data.h"

namespace {

// Shots show frames 0 and 1 of their graphic (pattern 1); sword swings start pattern 0, which
// their drawing does not use.
constexpr AnimeSourceFrame kShotPattern0[] = {{0, 7, 0}, {1, 7, 0}, {2, 7, 0}, {kAnimeEnd, 0, 0}};
constexpr AnimeSourceFrame kShotPattern1[] = {{0, 8, 0}, {1, 8, 0}, {kAnimeLoop, 0, 0}};
constexpr const AnimeSourceFrame* kShotAnimeTable[] = {kShotPattern0, kShotPattern1, nullptr};

// A shot is a picture of this many dots square with its boxes centred in it.
constexpr std::int32_t kShotPicture = 16;
// Flight mode 1: flies, and cells do not stop it by the object rules (ShotHitsBlock does).
constexpr std::int32_t kShotFlightMode = 1;
// The movement kinds that keep the shooter's target: aim at it, home on it.
constexpr std::uint8_t kMoveAimTarget = 3;
constexpr std::uint8_t kMoveHomeTarget = 6;

// Logic steps per tenth of a second are steps per frame x 6.
constexpr double kFramesPerTenth = 6.0;

void SetShotBox(cSubBox& box, std::int32_t offsetX, std::int32_t offsetY, std::int32_t width, std::int32_t height) {
  box.m_BaseOffsetX = box.m_OffsetX = offsetX;
  box.m_BaseOffsetY = box.m_OffsetY = offsetY;
  box.m_BaseWidth = box.m_Width = width;
  box.m_BaseHeight = box.m_Height = height;
}

// The logic steps the shot may travel before its range ends, and the own velocity that covers a
// range shorter than one frame in exactly one frame.
void SetupRange(cShot& shot, const cShotSpawn& spawn) {
  const double steps = g_StepsPerFrameF;
  const double d = std::max(0.0, static_cast<double>(spawn.m_Range) * 16.0 - shot.m_Width);
  const double s = std::fabs(spawn.m_Speed / steps);
  if (d > 0.0 && s > 0.0) {
    shot.m_RangeStepsLeft = TruncDot(d / s);
  } else {
    shot.m_RangeStepsLeft = TruncDot(steps);
    if (s > 0.0 && TruncDot(steps * s) > shot.m_Width) shot.m_RangeStepsLeft = TruncDot(shot.m_Width / s);
  }
  if (static_cast<double>(shot.m_RangeStepsLeft) >= steps) return;
  // The whole range within one frame. Without a direction to spread it along (a speed but no spawn
  // velocity) the shot keeps the steps worked out above.
  const double m = std::fabs(spawn.m_Vx) + std::fabs(spawn.m_Vy);
  if (m == 0.0) return;
  const double t = d / steps;
  shot.m_OwnVx = spawn.m_Vx * t / m;
  shot.m_OwnVy = spawn.m_Vy * t / m;
  shot.m_RangeStepsLeft = TruncDot(steps);
}

}  // namespace

cShot::cShot() { m_Params.RegisterFields(g_CurrentVersion); }

cShot::cShot(const cShot& other)
    : cGameObj(other),
      m_OwnerId(other.m_OwnerId),
      m_RealShot(other.m_RealShot),
      m_RangeStepsLeft(other.m_RangeStepsLeft),
      m_LifeStepsLeft(other.m_LifeStepsLeft),
      m_StepCounter(other.m_StepCounter),
      m_SwordPart(other.m_SwordPart),
      m_Acceleration(other.m_Acceleration),
      m_Speed(other.m_Speed),
      m_OwnVx(other.m_OwnVx),
      m_OwnVy(other.m_OwnVy),
      m_Accelerating(other.m_Accelerating),
      m_ChangeStep(other.m_ChangeStep),
      m_EndStep(other.m_EndStep),
      m_MoveDone(other.m_MoveDone),
      m_WavePhase(other.m_WavePhase),
      m_WaveSine(other.m_WaveSine),
      m_WaveCosine(other.m_WaveCosine),
      m_ShotBox(other.m_ShotBox),
      m_HitList(other.m_HitList),
      m_Target(other.m_Target) {
  m_Params = other.m_Params;
}

cShot::~cShot() {
  if (m_Target != nullptr) m_Target->m_ShotsAimedHere.EraseValue(this);
}

void cShot::Setup(std::int32_t id, cCharaBase& owner, std::int32_t commandNumber, cEdShot& parameters,
                  const cShotSpawn& spawn) {
  if (parameters.m_Size == 0) parameters.m_Size = 1;
  m_Params = parameters;
  const std::int32_t facing = spawn.m_Vx > 0.0 ? 1 : spawn.m_Vx < 0.0 ? 0 : owner.m_Direction;

  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t drawOffsetX = 0;
  std::int32_t drawOffsetY = 0;
  const bool hero = owner.m_Operator == 0;
  if (commandNumber == kSwordCommand) {
    const SwordPart part = SwordPartOf(m_Params.m_MoveKind, 0);
    width = part.width;
    height = part.height;
    m_RealShot = 0;
  } else {
    const StageBox size = ReadStageBox(hero ? kHeroShotSize : kCharaShotSize);
    width = size.width;
    height = size.height;
    drawOffsetX = kShotPicture / 2 - width / 2;
    drawOffsetY = kShotPicture / 2 - height / 2;
    m_RealShot = 1;
  }
  m_OwnerId = owner.m_Id;
  Init(id, owner.m_Operator, owner.m_Player, m_Params.m_Group, m_Params.m_Picture, kShotAnimeTable, m_RealShot,
       drawOffsetX, drawOffsetY, width, height, kShotPicture, kShotPicture, facing, kShotFlightMode,
       spawn.m_Repetition);
  if (ShotGroupFromOwner(m_Params) != 0) {
    const std::int32_t group = CharaGroupOf(owner.m_Def);
    m_Params.m_Group = static_cast<std::uint8_t>(group);
    m_Group = group;
  }
  if (m_RealShot == 0) {
    SetShotBox(m_ShotBox, 0, 0, width, height);
  } else {
    const StageBox range = ReadStageBox(hero ? kHeroShotHitRange : kCharaShotHitRange);
    SetShotBox(m_ShotBox, kShotPicture / 2 - range.width / 2, kShotPicture / 2 - range.height / 2, range.width,
               range.height);
  }
  SetScale(Scale(), 1);
  m_X1 = spawn.m_X;
  ClampX();
  m_Y1 = spawn.m_Y;
  ClampToStageY(2);

  const double steps = g_StepsPerFrameF;
  m_OwnVx = spawn.m_Vx / steps;
  m_OwnVy = spawn.m_Vy / steps;
  if (m_Params.m_Accelerating != 0) {
    m_Accelerating = 1;
    m_Acceleration = (m_Params.m_Acceleration + m_Params.m_AccelerationStep * static_cast<double>(m_Tag)) * 0.1 / steps;
    SplitAcceleration(m_DriveX, m_DriveY, spawn.m_Vx, spawn.m_Vy);
  } else {
    m_Accelerating = 0;
    m_Acceleration = m_DriveX = m_DriveY = 0.0;
  }
  m_Vx = m_Vy = 0.0;
  m_FollowsScroll = ShotFollowsScroll(m_Params);
  if (m_Params.m_LimitedLife != 0)
    m_LifeStepsLeft = TruncDot(static_cast<double>(spawn.m_Life) * g_StepsPerFrame * kFramesPerTenth);
  if (m_Params.m_LimitedRange != 0) SetupRange(*this, spawn);
  m_StepCounter = m_SwordPart = m_ChangeStep = m_EndStep = m_MoveDone = 0;
  m_Target = owner.m_Target;
}

std::int32_t cShot::ClampX() {
  std::int32_t code = kClampInside;
  const std::int32_t extent = g_PlayScene->m_ScrollX.MapExtent();
  if (m_X1 < 0.0) {
    m_X1 = 0.0;
    code = kClampMapEdge;
  } else if (m_X1 + m_Width - 1 >= extent) {
    m_X1 = extent - m_Width;
    code = kClampMapEdge;
  }
  m_X2 = m_X1 + m_Width - 1;
  UpdateSubBoxesX();
  m_CellX1 = DotToTile(m_X1);
  m_CellX2 = DotToTile(m_X2);
  return code;
}

std::int32_t cShot::StepX() {
  if (m_DriveX != 0.0) m_Vx += m_DriveX;
  if (m_Vx != 0.0) {
    // A NaN never reaches the position.
    m_Vx = m_Vx != m_Vx ? 0.0 : std::clamp(m_Vx, -g_MaxSpeed, g_MaxSpeed);
    m_X1 += m_Vx;
    ClampX();
  }
  return 0;
}

std::int32_t cShot::StepY() {
  if (m_DriveY != 0.0) m_Vy += m_DriveY;
  if (m_Vy != 0.0) MoveY(2);
  return 0;
}

void cShot::SplitAcceleration(double& outX, double& outY, double vx, double vy) const {
  const double a = m_Acceleration;
  if (vx == 0.0 && vy == 0.0) {
    outX = outY = 0.0;
  } else if (vx == 0.0) {
    outX = 0.0;
    outY = std::copysign(PerStepFromPerSecond(a), vy);
  } else if (vy == 0.0) {
    outX = std::copysign(PerStepFromPerSecond(a), vx);
    outY = 0.0;
  } else {
    const double l = std::sqrt(vx * vx + vy * vy);
    outX = PerStepFromPerSecond(vx / l * a);
    outY = PerStepFromPerSecond(vy / l * a);
  }
}

void cShot::ScaleSubBoxes(std::int32_t scale) { ScaleSubBox(m_ShotBox, scale); }

void cShot::AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) {
  if (newScale == oldScale) return;
  m_Y1 -= (m_BaseHeight / 2) * (newScale - oldScale);
  ClampToStageY(2);
}

void cShot::UpdateSubBoxesX() { PlaceSubBoxX(m_ShotBox, TruncDot(m_X1)); }
void cShot::UpdateSubBoxesY() { PlaceSubBoxY(m_ShotBox, TruncDot(m_Y1)); }

void cShot::DropAimTarget(const cCharaBase* target) {
  if (m_Target == target) m_Target = nullptr;
}

void cShot::RetargetAim(const cCharaBase* old, cCharaBase* moved) {
  if (m_Target == old) m_Target = moved;
}

cShot& AddShot(std::list<cShot>& list, const cShot& shot) {
  cShot& added = list.emplace_back(shot);
  // Only the aiming and homing kinds keep the target; the listed shot is what the target lets go of
  // when it goes away.
  if (added.m_Target != nullptr) {
    const std::uint8_t kind = added.m_Params.m_MoveKind;
    if (added.m_RealShot != 0 && (kind == kMoveAimTarget || kind == kMoveHomeTarget)) {
      if (std::find(added.m_Target->m_ShotsAimedHere.begin(), added.m_Target->m_ShotsAimedHere.end(), &added) ==
          added.m_Target->m_ShotsAimedHere.end())
        added.m_Target->m_ShotsAimedHere.push_back(&added);
    } else {
      added.m_Target = nullptr;
    }
  }
  if (g_PlayScene != nullptr) g_PlayScene->m_GroupShots.At(added.m_Group).Emplace(&added);
  return added;
}

void RemoveShot(cShot& shot) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  scene->m_GroupShots.At(shot.m_Group).RemoveIf([&shot](const cShot* listed) { return listed == &shot; });
  scene->m_ShotList.remove_if([&shot](const cShot& listed) { return &listed == &shot; });
}

void ClearShots() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  for (auto& group : scene->m_GroupShots) group.Clear();
  scene->m_ShotList.clear();
}
