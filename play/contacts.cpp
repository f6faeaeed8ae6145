// The contacts between objects of different groups in a logic step: shots on objects, bodies on
// bodies, shots on shots. Deaths in a pass run flows that may remove objects; every walk here holds
// its list (and the character list) so that a removed object stays readable until the passes end
// and is never visited again.
#include <algorithm>
#include <cstdint>

#include "platform/audio/sound_effects.h"
#include "play/chara.h"
#include "play/contacts.h"
#include "play/damage.h"
#include "play/flow_seam.h"
#include "play/group_boxes.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/stage_data.h"

namespace {

using GroupWalk = cObjectList<cCharaBase*>::cWalk;

bool OnScreenContactsOnly() { return g_Stage.Field(kOnScreenContactsOnly) != 0; }

// Invincible state 2 of a definition: shots pass through the object.
constexpr std::uint8_t kShotsPassThrough = 2;

bool MayTouch(const cCharaBase& c, bool onScreenOnly) {
  return (!onScreenOnly || c.m_OnScreen != 0) && c.m_Def.m_BlockChara == 0 && c.m_Present != 0 && c.m_Dead == 0;
}

// A body with neither power nor impact does nothing by touch.
bool BodyStrikes(const cCharaBase& c) { return c.m_Def.m_BodyAttack != 0 || c.m_Def.m_BodyImpact != 0; }

// After a touch that hit struck: its death code when it was killed, else its protection against
// this attacker.
std::int32_t AfterTouch(cCharaBase& struck, bool killed, const cCharaBase& attacker) {
  if (!killed) {
    struck.StartInvincibility(attacker.m_Id);
    return 0;
  }
  if (struck.m_Operator != 0) PlaySE(kSoundCharaKilled);
  return DeathCode(struck);
}

// Two overlapping bodies: both are told, then each hurts the other unless it has nothing to hurt
// with or the other is protected from it. hit tells whether either was hurt (only then can anything
// have moved: the triggers only start flows).
std::int32_t Touch(cCharaBase& a, cCharaBase& b, bool& hit) {
  RunTriggeredFlows(a, kTriggerTouched);
  RunTriggeredFlows(b, kTriggerTouched);
  const bool hitA = BodyStrikes(b) && !a.IsImmuneTo(b.m_Id);
  const bool killedA = hitA && a.TakeDamageFromChara(b) != 0;
  const bool hitB = BodyStrikes(a) && !b.IsImmuneTo(a.m_Id);
  const bool killedB = hitB && b.TakeDamageFromChara(a) != 0;
  hit = hitA || hitB;
  if (hit) PlaySE(kSoundHurt);
  if (hitA)
    if (const std::int32_t code = AfterTouch(a, killedA, b); code != 0) return code;
  if (hitB)
    if (const std::int32_t code = AfterTouch(b, killedB, a); code != 0) return code;
  return 0;
}

cGroupBoxes s_BodyBoxes(&cCharaBase::m_BodyBox);

// A touch changes something only where one of the two hurts by touch or could start a flow when
// touched: two groups with neither are left out.
bool TouchMayChange(const cCharaBase& c) { return BodyStrikes(c) || MayStartFlows(c, kTriggerTouched); }
cGroupAny s_TouchingGroups(&TouchMayChange);

// Every pair of objects of two different groups whose bodies overlap.
std::int32_t TouchBetweenGroups(cPlayScene& scene) {
  const bool onScreenOnly = OnScreenContactsOnly();
  auto& groups = scene.m_GroupCharas;
  const std::size_t count = std::min<std::size_t>(groups.size(), kObjectGroups);
  s_BodyBoxes.Invalidate();
  s_TouchingGroups.Invalidate();
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (groups[i].Empty() || groups[j].Empty()) continue;
      if (!s_TouchingGroups.Of(i, groups[i]) && !s_TouchingGroups.Of(j, groups[j])) continue;
      for (GroupWalk walkA(groups[i]); !walkA.Done(); walkA.Next()) {
        cCharaBase& a = *walkA.Current();
        if (!MayTouch(a, onScreenOnly)) continue;
        const auto& places = s_BodyBoxes.Overlapping(j, groups[j], a.m_BodyBox);
        if (places.empty()) continue;
        bool hit = false;
        const std::int32_t code = TryInListOrder(
            groups[j], places, hit,
            [&](cCharaBase& b, bool& hitNow) {
              hitNow = false;
              if (!BoxesOverlap(a.m_BodyBox, b.m_BodyBox) || !MayTouch(b, onScreenOnly)) return 0;
              return Touch(a, b, hitNow);
            },
            // Only a touch changes a: it may have died, or a death's flows may have removed it.
            [&] { return walkA.CurrentLive() && MayTouch(a, onScreenOnly); });
        if (hit) {
          s_BodyBoxes.Invalidate();
          s_TouchingGroups.Invalidate();
        }
        if (code != 0) return code;
      }
    }
  }
  return 0;
}

// Shots are tested against objects only on the steps the stage's contact schedule marks.
bool ShotContactsThisStep(const cPlayScene& scene) {
  const std::int32_t index = scene.m_StepInFrame - 1;
  if (index < 0 || index >= scene.m_ContactSchedule.Size()) return true;
  return scene.m_ContactSchedule[static_cast<std::size_t>(index)] != 0;
}

}  // namespace

bool ShotMayStrike(const cCharaBase& chara, bool shotOnScreen) {
  if (OnScreenContactsOnly() && (!shotOnScreen || chara.m_OnScreen == 0)) return false;
  return chara.m_Present != 0 && chara.m_Dead == 0 && chara.m_Def.m_Invincible != kShotsPassThrough;
}

std::int32_t ShotStrikesChara(const cShotStrike& shot, cCharaBase& chara, bool& struck) {
  RunTriggeredFlows(chara, kTriggerShotStruck);
  struck = StrikeBringsSomething(shot) && !chara.IsInvincible();
  if (!struck) return 0;
  if (chara.TakeDamageFromShot(shot) != 0) {
    if (chara.m_Operator != 0) PlaySE(kSoundCharaKilled);
    return DeathCode(chara);
  }
  PlaySE(kSoundHurt);
  chara.StartInvincibilityAll();
  return 0;
}

std::int32_t HeroCharaContacts() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return 0;
  // No character removed during the passes is destroyed before they end.
  cObjectList<cChara>::cWalk holdCharas(g_CharaList);
  if (ShotContactsThisStep(*scene))
    if (const std::int32_t code = ShotsAgainstCharas(); code != 0) return code;
  if (const std::int32_t code = TouchBetweenGroups(*scene); code != 0) return code;
  ShotsAgainstShots();
  return 0;
}
