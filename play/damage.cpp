// Damage from a body or a shot, the protection after a hit, and the search of an object by its id.
#include "play/damage.h"

#include <algorithm>
#include <limits>

#include "play/chara.h"
#include "play/effect_instance.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "project/stage_data.h"

namespace {

// The HP change of a hit of this power against this defence. Power above 0 is lessened by the
// defence and limited to 0..kMaxDamage (a defence above the power leaves nothing); power of 0 or
// below is taken as it is, so a negative power heals. Worked in 64 bits: neither a huge power nor a
// negative defence can wrap, and even the smallest power turns into a heal that fits.
std::int32_t HpChangeOfHit(std::int32_t power, std::int32_t defence) {
  std::int64_t damage = power;
  if (damage > 0) damage = std::clamp<std::int64_t>(damage - defence, 0, kMaxDamage);
  return static_cast<std::int32_t>(std::min<std::int64_t>(-damage, std::numeric_limits<std::int32_t>::max()));
}

// The frames of protection of the object's kind, as logic steps.
std::int32_t ProtectionSteps(const cCharaBase& chara, StageField heroField, StageField charaField) {
  const std::int64_t frames = g_Stage.Field(chara.m_Operator == 0 ? heroField : charaField);
  const std::int64_t steps = frames * g_StepsPerFrame;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(steps, 0, std::numeric_limits<std::int32_t>::max()));
}

// The end of a hit common to bodies and shots: the triggers of what the attacker brought.
void RaiseHitTriggers(cCharaBase& struck, std::int32_t power, std::int8_t impact) {
  if (power != 0) RunTriggeredFlows(struck, kTriggerDamaged);
  if (impact != 0) RunTriggeredFlows(struck, kTriggerImpacted);
}

}  // namespace

std::int32_t cCharaBase::TakeDamageFromChara(const cCharaBase& attacker) {
  const std::int32_t power = attacker.m_Def.m_BodyAttack;
  const std::int32_t result = ChangeHP(HpChangeOfHit(power, m_Def.m_Defence), 0, 1);
  if (attacker.m_Def.m_HitEffect != 0)
    StartHitEffect(attacker.m_Def.m_HitEffect, m_BodyBox, attacker.m_BodyBox, attacker.Scale());
  KnockBackFromChara(attacker);
  RaiseHitTriggers(*this, power, attacker.m_Def.m_BodyImpact);
  return result;
}

std::int32_t cCharaBase::TakeDamageFromShot(const cShotStrike& shot) {
  const std::int32_t result = ChangeHP(HpChangeOfHit(shot.m_Power, m_Def.m_Defence), 0, 1);
  if (shot.m_HitEffect != 0) StartHitEffect(shot.m_HitEffect, m_ShotBox, shot.m_Box, shot.m_HitEffectScale);
  KnockBackFromShot(shot);
  RaiseHitTriggers(*this, shot.m_Power, shot.m_Impact);
  return result;
}

void cCharaBase::KnockBackFromShot(const cShotStrike& shot) { ApplyKnockBack(shot.m_Impact, shot.m_PushX, shot.m_PushY); }

void cCharaBase::StartInvincibilityAll() {
  m_InvincibleSteps = ProtectionSteps(*this, kHeroInvincibleFrames, kCharaInvincibleFrames);
}

void cCharaBase::StartInvincibility(std::int32_t attackerId) {
  StartInvincibilityAll();
  m_Immunity.push_back({attackerId, ProtectionSteps(*this, kHeroImmunityFrames, kCharaImmunityFrames)});
}

void cCharaBase::TickInvincibility() {
  if (m_InvincibleSteps > 0) --m_InvincibleSteps;
  for (auto it = m_Immunity.begin(); it != m_Immunity.end();) {
    if (--it->m_StepsLeft <= 0)
      it = m_Immunity.erase(it);
    else
      ++it;
  }
}

bool cCharaBase::IsImmuneTo(std::int32_t attackerId) const {
  return IsInvincible() || std::any_of(m_Immunity.begin(), m_Immunity.end(),
                                       [attackerId](const cImmunity& entry) { return entry.m_AttackerId == attackerId; });
}

cCharaBase* FindCharaById(std::int32_t id) {
  for (cHero& hero : g_Heroes)
    if (hero.m_Id == id) return &hero;
  for (cChara& chara : g_CharaList)
    if (chara.m_Id == id) return &chara;
  return nullptr;
}
