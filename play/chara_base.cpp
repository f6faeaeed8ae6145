#include "play/chara_base.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "play/dots.h"
#include "play/flow_seam.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/database.h"
#include "project/stage_data.h"
#include "project/system_data.h"

namespace {

// Frames of an animation-set entry: its time counts tenths of a second.
constexpr std::int64_t kFramesPerTenth = 6;

std::int32_t SaturateToInt(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// Every member of the character part except the links, copied or moved from other (one list for
// both, so that a member added later cannot be forgotten by one of them).
template <class Other>
void TransferCharaPart(cCharaBase& to, Other&& other) {
  auto&& from = std::forward<Other>(other);
  to.m_Def = std::forward<Other>(other).m_Def;
  to.m_Runners = std::forward<Other>(other).m_Runners;
  to.m_RunnerCounter = from.m_RunnerCounter;
  to.m_GroupBusy = std::forward<Other>(other).m_GroupBusy;
  to.m_GroupRelease = std::forward<Other>(other).m_GroupRelease;
  to.m_GroupStarted = std::forward<Other>(other).m_GroupStarted;
  to.m_ReleaseRequested = from.m_ReleaseRequested;
  to.m_RemoveFlowsRequested = from.m_RemoveFlowsRequested;
  to.m_HomeX = from.m_HomeX;
  to.m_HomeY = from.m_HomeY;
  to.m_MovedThisStep = from.m_MovedThisStep;
  to.m_KnockVx = from.m_KnockVx;
  to.m_KnockVy = from.m_KnockVy;
  to.m_Knocked = from.m_Knocked;
  to.m_PrevKnockVy = from.m_PrevKnockVy;
  to.m_Held = from.m_Held;
  to.m_J1 = from.m_J1;
  to.m_J2 = from.m_J2;
  to.m_J3 = from.m_J3;
  to.m_J4 = from.m_J4;
  to.m_J5 = from.m_J5;
  to.m_J6 = from.m_J6;
  to.m_J7 = from.m_J7;
  to.m_CellUnderFeet = from.m_CellUnderFeet;
  to.m_CellIndexUnderFeet = from.m_CellIndexUnderFeet;
  to.m_LastLandedCell = from.m_LastLandedCell;
  to.m_PrevCellIndex = from.m_PrevCellIndex;
  to.m_Countdown = from.m_Countdown;
  to.m_Dead = from.m_Dead;
  to.m_DeathCounter = from.m_DeathCounter;
  to.m_LRUD = from.m_LRUD;
  to.m_LeftGroundMark = from.m_LeftGroundMark;
  to.m_OnBlockChara = from.m_OnBlockChara;
  to.m_CarrierId = from.m_CarrierId;
  to.m_CarrierRect = from.m_CarrierRect;
  to.m_PushedByBlockChara = from.m_PushedByBlockChara;
  to.m_CommandAnimeSet = from.m_CommandAnimeSet;
  to.m_PrevRect = from.m_PrevRect;
  to.m_Hp = from.m_Hp;
  to.m_HpGauge = from.m_HpGauge;
  to.m_Sp = from.m_Sp;
  to.m_SpGauge = from.m_SpGauge;
  to.m_Vars = std::forward<Other>(other).m_Vars;
  to.m_InvincibleSteps = from.m_InvincibleSteps;
  to.m_Immunity = std::forward<Other>(other).m_Immunity;
  to.m_FlowAnimations = std::forward<Other>(other).m_FlowAnimations;
  to.m_CharaEffect = from.m_CharaEffect;
  to.m_RemovalMark = from.m_RemovalMark;
  to.m_SummonedCellMark = from.m_SummonedCellMark;
  to.m_Sight = from.m_Sight;
  to.m_HiddenThisStep = from.m_HiddenThisStep;
  to.m_BodyBox = from.m_BodyBox;
  to.m_ShotBox = from.m_ShotBox;
}

}  // namespace

cCharaBase::cCharaBase()
    : m_GroupBusy(kFlowGroupSlots), m_GroupRelease(kFlowGroupSlots), m_GroupStarted(kFlowGroupSlots) {}

cCharaBase::~cCharaBase() { UnlinkEverywhere(); }

cCharaBase::cCharaBase(const cCharaBase& other) : cGameObj(other) {
  CopyCharaPart(other);
  SetTarget(other.m_Target);
}

cCharaBase& cCharaBase::operator=(const cCharaBase& other) {
  if (this == &other) return *this;
  cGameObj::operator=(other);
  CopyCharaPart(other);
  // Whoever aims at this object goes on aiming at it; it takes the other's target.
  SetTarget(other.m_Target);
  return *this;
}

cCharaBase::cCharaBase(cCharaBase&& other) noexcept : cGameObj(std::move(other)) {
  // The flows keep their storage, so the runners stay bound to them.
  TransferCharaPart(*this, std::move(other));
  TakeOverLinks(other);
}

void cCharaBase::CopyCharaPart(const cCharaBase& other) {
  TransferCharaPart(*this, other);
  BindFlowRunners();
}

void cCharaBase::TakeOverLinks(cCharaBase& old) {
  m_Target = std::exchange(old.m_Target, nullptr);
  if (m_Target != nullptr) std::replace(m_Target->m_TargetedBy.begin(), m_Target->m_TargetedBy.end(), &old, this);
  m_TargetedBy = std::move(old.m_TargetedBy);
  old.m_TargetedBy.clear();
  for (cCharaBase* chara : m_TargetedBy)
    if (chara->m_Target == &old) chara->m_Target = this;
  // An object that aims at itself (hero 0 targets itself) followed above only if it is listed.
  if (m_Target == &old) m_Target = this;
  m_ShotsAimedHere = std::move(old.m_ShotsAimedHere);
  old.m_ShotsAimedHere.clear();
  for (cGameObj* shot : m_ShotsAimedHere) shot->RetargetAim(&old, this);
  if (g_PlayScene != nullptr) {
    for (auto& group : g_PlayScene->m_GroupCharas) group.Replace(&old, this);
    std::replace(g_PlayScene->m_Heroes.begin(), g_PlayScene->m_Heroes.end(), &old, this);
  }
}

void cCharaBase::SetTarget(cCharaBase* target) {
  if (m_Target != nullptr && m_Target != target) m_Target->m_TargetedBy.EraseValue(this);
  m_Target = target;
  if (target != nullptr && std::find(target->m_TargetedBy.begin(), target->m_TargetedBy.end(), this) ==
                               target->m_TargetedBy.end())
    target->m_TargetedBy.push_back(this);
}

void cCharaBase::UnlinkEverywhere() {
  for (cCharaBase* chara : m_TargetedBy)
    if (chara != this && chara->m_Target == this) chara->m_Target = nullptr;
  m_TargetedBy.clear();
  for (cGameObj* shot : m_ShotsAimedHere) shot->DropAimTarget(this);
  m_ShotsAimedHere.clear();
  SetTarget(nullptr);
  if (g_PlayScene != nullptr) {
    for (auto& group : g_PlayScene->m_GroupCharas) group.RemoveIf([this](const cCharaBase* c) { return c == this; });
    std::replace(g_PlayScene->m_Heroes.begin(), g_PlayScene->m_Heroes.end(), this, static_cast<cCharaBase*>(nullptr));
  }
}

void cCharaBase::Init(const cCharaDef* def, double homeX, double homeY, std::uint16_t tag) {
  m_Tag = tag;
  // Whatever aimed at this object before lets go, as the vectors are emptied.
  for (cCharaBase* chara : m_TargetedBy)
    if (chara != this && chara->m_Target == this) chara->m_Target = nullptr;
  m_TargetedBy.clear();
  for (cGameObj* shot : m_ShotsAimedHere) shot->DropAimTarget(this);
  m_ShotsAimedHere.clear();
  SetTarget(g_PlayScene != nullptr ? g_PlayScene->Hero(0) : nullptr);

  m_GroupBusy.assign(kFlowGroupSlots, 0);
  m_GroupRelease.assign(kFlowGroupSlots, 0);
  m_GroupStarted.assign(kFlowGroupSlots, 0);
  m_ReleaseRequested = 0;
  m_RemoveFlowsRequested = 0;
  m_HomeX = homeX;
  m_HomeY = homeY;
  m_KnockVx = m_KnockVy = 0.0;
  m_Knocked = 0;
  m_PrevKnockVy = 0.0;
  m_Held = 0;
  m_J1 = -1;
  m_J2 = 1;
  m_J3 = m_J4 = m_J5 = m_J6 = m_J7 = 0;
  m_CellUnderFeet = nullptr;
  // Cells of an earlier stage are gone.
  m_LastLandedCell = nullptr;
  m_Dead = 0;
  m_AppearanceLatched = 0;
  m_LRUD.fill(0);
  m_LeftGroundMark = 0;
  m_OnBlockChara = 0;
  m_CarrierId = 0;
  m_PushedByBlockChara = 0;
  m_Hp = m_Sp = 0;
  m_HpGauge = cStatusGauge();
  m_SpGauge = cStatusGauge();
  m_Vars.assign(9, 0);
  if (def != nullptr) {
    m_Def = *def;
    m_Hp = m_Def.m_MaxHp;
    m_Sp = m_Def.m_MaxSp;
  }
  m_FollowsScroll = m_Def.m_ScrollSync;
  m_RemovalMark = 0;
  m_SummonedCellMark = 0;
  m_HiddenThisStep = 0;
  m_Sight = HblToDots(static_cast<std::int8_t>(m_Def.m_SightRange));
  m_Friction = PercentPerStep(m_Def.m_Stopping);
  m_CharaEffect = cCharaEffectPlayer();
  if (m_Def.m_AppearEffect != 0)
    StartCharaEffect(m_CharaEffect, m_Def.m_AppearEffect, m_Def.m_AppearEffectMode, m_Def.m_AppearEffectLoop);
  m_InvincibleSteps = 0;
  m_Immunity.clear();
  SetAnimeSet(m_Def.m_AnimeSet, 1);
  m_FlowAnimations.clear();
}

void cCharaBase::SetAnimeSet(std::int32_t set, std::int32_t force) {
  if (force == 0 && set == m_Def.m_AnimeSet) return;
  m_Def.m_AnimeSet = static_cast<std::int16_t>(set);
  m_Anime.ClearPatterns();
  // A database without sets gives no patterns; a set number beyond them is reported by the checked
  // access and set 0 stands in.
  if (g_Database.m_AnimeSets.empty()) return;
  const cAnimeSetDef& def = g_Database.m_AnimeSets.At(set);
  for (const cAnimeEntry& entry : def.m_Entries) {
    AnimeFrameList& frames = m_Anime.AppendPattern();
    frames.reserve(entry.m_Frames.size() + 1);
    for (const cAnimeEntryFrame& frame : entry.m_Frames)
      frames.push_back(AnimeFrame{frame.m_Cell, SaturateToInt(frame.m_Time * kFramesPerTenth), 1});
    frames.push_back(AnimeFrame{kAnimeLoop, 0, 1});
  }
}

void cCharaBase::SetBodyBox(std::int32_t bottomAligned, std::int32_t width, std::int32_t height) {
  cSubBox& box = m_BodyBox;
  box.m_OffsetX = box.m_BaseOffsetX = 16 - m_DrawOffsetX - width / 2;
  box.m_OffsetY = box.m_BaseOffsetY =
      bottomAligned != 0 ? 32 - m_DrawOffsetY - height : 16 - m_DrawOffsetY - height / 2;
  box.m_Width = box.m_BaseWidth = width;
  box.m_Height = box.m_BaseHeight = height;
}

void cCharaBase::AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) {
  const std::int32_t d = newScale - oldScale;
  // Older projects keep the bottom of the hit box; newer ones the bottom of the drawn box.
  if (g_System.m_LegacyScaleAnchor != 0)
    m_Y1 -= m_BaseHeight * d;
  else
    m_Y1 = m_Y1 - m_BaseDrawHeight * d + m_BaseDrawOffsetY * d;
  OnMovedY();
}

void cCharaBase::SetCenter(std::int32_t x, std::int32_t y) {
  SetCenterX(x);
  SetCenterY(y);
}

void cCharaBase::SetCenterAndStop(std::int32_t x, std::int32_t y, cCommandInstance& instance) {
  SetCenter(x, y);
  instance.m_Vx = instance.m_Vy = 0.0;
}

void cCharaBase::SetCenterX(std::int32_t x) {
  m_X1 += x - ScreenCentreX();
  OnMovedX();
}

void cCharaBase::SetCenterXAndStop(std::int32_t x, cCommandInstance& instance) {
  SetCenterX(x);
  instance.m_Vx = instance.m_Vy = 0.0;
}

void cCharaBase::SetCenterY(std::int32_t y) {
  m_Y1 += y - ScreenCentreY();
  OnMovedY();
}

void cCharaBase::SetCenterYAndStop(std::int32_t y, cCommandInstance& instance) {
  SetCenterY(y);
  instance.m_Vx = instance.m_Vy = 0.0;
}

void cCharaBase::PlaceAtColumn(std::int32_t column) {
  const std::int32_t origin = g_PlayScene->TileOriginX();
  m_X1 = (static_cast<double>(column) + origin) * 32 + m_BaseDrawOffsetX + 0.5;
  RecentreX(Scale(), 1);
  OnMovedX();
}

void cCharaBase::PlaceAtRow(std::int32_t row) {
  const std::int32_t origin = g_PlayScene->TileOriginY();
  m_Y1 = (static_cast<double>(row) + origin) * 32 + m_BaseDrawOffsetY;
  AnchorAfterScale(Scale(), 1);
  OnMovedY();
}

void cCharaBase::PlaceAtColumnRow(std::int32_t column, std::int32_t row) {
  PlaceAtColumn(column);
  PlaceAtRow(row);
}

void cCharaBase::ApplyGravityStep() {
  if (m_Flying != 0 || m_OnBlockChara != 0 || m_Held != 0 || m_KnockVy < 0) return;
  m_Vy += g_Gravity;
}

bool cCharaBase::IsOnGround() const {
  if (m_OnBlockChara != 0) return true;
  return m_CellUnderFeet != nullptr && IsSolidFor(*m_CellUnderFeet, m_Group) != kSolidNone;
}

void cCharaBase::Land() {
  m_Vy = 0.0;
  m_DriveY = 0.0;
  m_LRUD[kContactDown] = 1;
  m_J2 = m_J3 = m_J4 = m_J7 = 0;
  m_Knocked = 0;
  if (m_Operator != 0) m_J6 = 0;
  // The bottom edge comes to rest on the last dot row above the cell it went into.
  m_Y1 -= (TruncDot(m_Y2) & 31) + 1;
  OnMovedY();
  RunTriggeredFlows(*this, kTriggerBlockHit);
  RunTriggeredFlows(*this, kTriggerBlockAboveOrBelow);
  RunTriggeredFlows(*this, kTriggerBlockBelow);
}

void cCharaBase::HitCeiling() {
  m_J3 = m_J4 = m_J6 = 1;
  m_LRUD[kContactUp] = 1;
  m_Vy = 0.0;
  m_DriveY = 0.0;
  // Down to the next cell boundary, out of the cell above.
  m_Y1 += 32 - (TruncDot(m_Y1) & 31);
  OnMovedY();
  RunTriggeredFlows(*this, kTriggerBlockHit);
  RunTriggeredFlows(*this, kTriggerBlockAboveOrBelow);
  RunTriggeredFlows(*this, kTriggerBlockAbove);
}

void cCharaBase::LeaveGround(std::int32_t mark) {
  m_OnBlockChara = 0;
  if (m_KnockVy == 0) m_Vy = 0.0;
  if (mark != 0) m_LeftGroundMark = 1;
}

void cCharaBase::SaveRect() { m_PrevRect = {m_X1, m_Y1, m_X2, m_Y2}; }

void cCharaBase::RestoreRect() {
  m_X1 = m_PrevRect[0];
  m_Y1 = m_PrevRect[1];
  m_X2 = m_PrevRect[2];
  m_Y2 = m_PrevRect[3];
}

void cCharaBase::VerticalKnockBackStep() {
  if (m_KnockVy != 0) {
    if (m_Flying != 0)
      m_Vy += m_KnockVy;
    else if (m_KnockVy > 0 && IsOnGround())
      m_KnockVy = 0.0;
    else
      m_Vy = m_Vy - m_PrevKnockVy + m_KnockVy;
  }
  m_PrevKnockVy = m_KnockVy;
}

void cCharaBase::TakeKnockBackOrDriveX() {
  if (m_KnockVx != 0) {
    m_Vx = m_KnockVx;
  } else if (m_DriveX != 0) {
    DampDrive(m_DriveX, m_FrictionX);
    m_Vx += m_DriveX;
  }
}

void cCharaBase::DecayToZero(double& v) const {
  const double step = 1 / g_StepsPerFrameF;
  if (v > 0) {
    v -= step;
    if (v < 0) v = 0.0;
  } else if (v < 0) {
    v += step;
    if (v > 0) v = 0.0;
  }
}

double cCharaBase::JumpSpeedForHeight(double height) const {
  const double g = g_Gravity;
  // A height the gravity cannot reach (only a hand-made value) jumps with no speed of its own.
  double radicand = (8 * height + g) * g;
  if (!(radicand >= 0)) radicand = 0;
  double v = (-g - std::sqrt(radicand)) / 2;
  if (m_Operator == 0) v *= 0.99 - 0.025 * g_Stage.RealField(kGravityField);
  return v;
}

std::int32_t cCharaBase::JumpDurationTenths(double height) const {
  const double v = JumpSpeedForHbl(height);
  const std::int32_t steps = TruncDot(g_StepsPerFrameF - v / g_Gravity);
  return (steps / std::max(g_StepsPerFrame, 1)) / 6 + 1;
}

double PercentPerStep(std::int16_t v) {
  const double steps = g_StepsPerFrame;
  return v * 0.01 / (steps * steps);
}
