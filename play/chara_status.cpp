// HP and SP with their gauges, and knock-back.
#include <algorithm>
#include <cstdint>

#include "play/chara_base.h"
#include "play/motion.h"
#include "project/stage_data.h"

namespace {

// Frames a gauge shows a change, its bar length in dots, and the frames the bar takes to move.
constexpr std::int32_t kGaugeFrames = 120;
constexpr std::int32_t kGaugeBarDots = 50;
constexpr double kGaugeMoveFrames = 60;

// Below this a velocity counts as still when knock-back and drive are compared.
constexpr double kKnockEpsilon = 1e-08;

// value + delta kept within 0..maximum (a maximum below 0 holds nothing).
std::int32_t AddClamped(std::int32_t value, std::int32_t delta, std::int32_t maximum) {
  const std::int64_t sum = std::int64_t{value} + delta;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, std::max(maximum, 0)));
}

// A positive delta no larger than what is missing up to the maximum.
std::int32_t LimitGain(std::int32_t delta, std::int32_t value, std::int32_t maximum) {
  if (delta <= 0) return delta;
  return static_cast<std::int32_t>(std::min<std::int64_t>(delta, std::int64_t{maximum} - value));
}

void StartGauge(cStatusGauge& gauge, std::int32_t value, std::int32_t maximum, std::int32_t delta) {
  // No maximum, no bar: nothing to divide by and nothing to show.
  if (delta == 0 || maximum <= 0) return;
  gauge.m_FramesLeft = kGaugeFrames;
  gauge.m_StartLength = static_cast<std::int32_t>(std::int64_t{value} * kGaugeBarDots / maximum);
  gauge.m_Change = static_cast<double>(delta) * kGaugeBarDots / maximum;
  gauge.m_ChangePerFrame = gauge.m_Change / kGaugeMoveFrames;
}

// True when a and b point in opposite directions, both clearly moving.
bool Opposed(double a, double b) {
  return (a > kKnockEpsilon && b < -kKnockEpsilon) || (a < -kKnockEpsilon && b > kKnockEpsilon);
}

}  // namespace

std::int32_t cCharaBase::ChangeHP(std::int32_t delta, std::int32_t force, std::int32_t animate) {
  if (force == 0 && delta < 1 && m_Def.m_Invincible != 0) return 0;
  delta = LimitGain(delta, m_Hp, m_Def.m_MaxHp);
  m_Hp = AddClamped(m_Hp, delta, m_Def.m_MaxHp);
  if (m_Hp > 0) {
    if (animate != 0) StartHPGauge(delta);
    return 0;
  }
  m_Hp = 0;
  return 1;
}

std::int32_t cCharaBase::ChangeSP(std::int32_t delta, std::int32_t animate) {
  delta = LimitGain(delta, m_Sp, m_Def.m_MaxSp);
  m_Sp = AddClamped(m_Sp, delta, m_Def.m_MaxSp);
  if (m_Def.m_MaxSp < 1) return 1;
  if (animate != 0) StartSPGauge(delta);
  return 0;
}

void cCharaBase::StartHPGauge(std::int32_t delta) { StartGauge(m_HpGauge, m_Hp, m_Def.m_MaxHp, delta); }

void cCharaBase::StartSPGauge(std::int32_t delta) { StartGauge(m_SpGauge, m_Sp, m_Def.m_MaxSp, delta); }

void cCharaBase::ApplyKnockBack(std::int8_t amount, double dx, double dy) {
  if (amount == 0) return;
  const std::int32_t resistance = m_Def.m_ImpactResistance;
  std::int32_t weakened = 0;
  if (amount < 0)
    weakened = std::clamp(amount + resistance, -20, 0);
  else
    weakened = std::clamp(amount - resistance, 0, 20);
  // A knock-back the resistance took up entirely leaves the velocities as they were.
  SplitSpeedToVector(m_KnockVx, m_KnockVy, static_cast<std::int8_t>(weakened), dx, dy);
  if (Opposed(m_DriveX, m_KnockVx)) m_DriveX = 0.0;
  if (Opposed(m_DriveY, m_KnockVy)) m_DriveY = 0.0;
  if (Opposed(m_Vy, m_KnockVy)) m_Vy = 0.0;
  m_Knocked = 1;
}

void cCharaBase::KnockBackFromChara(const cCharaBase& attacker) {
  double vy = attacker.m_Vy;
  // A walker's fall is not a push.
  if (attacker.m_Flying == 0 && vy < 8 * g_StepsPerFrame * g_Gravity) vy = 0.0;
  ApplyKnockBack(attacker.m_Def.m_BodyImpact, attacker.m_Vx, vy);
}
