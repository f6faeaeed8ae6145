// The conditions on statuses (kind 4), state bytes (kind 5) and states (kind 6) of a character, its
// target or the system.
#include <algorithm>
#include <array>
#include <optional>

#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/condition_labels.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/condition_parts.h"
#include "script/conditions.h"
#include "script/status_values.h"

namespace {

using Value = StatusValue;

// The system status on the left of a comparison: the time is compared as it stands, even without a
// limit; unlimited lives are no number, and a test of them fails.
Value LeftSystemStatus(std::uint8_t status) {
  const Value value = ReadSystemStatus(status);
  if (value && status == kSystemStatusLives && *value == kUnlimitedLives) return std::nullopt;
  return value;
}

std::int32_t CompareInWidth(int bits, std::int32_t left, std::int32_t right, std::int32_t op) {
  if (bits == 8) return CompareByOpByte(left, right, op);
  if (bits == 16) return CompareByOp16(left, right, op);
  return CompareByOp(left, right, op);
}

std::int32_t ClampToRange(std::int32_t value, const StatusRange& range) {
  return std::clamp(value, range.low, range.high);
}

Value RightOperand(const cConditionDef& c, cCharaBase& chara) {
  switch (c.m_RightKind) {
    case kRightConstant: return c.m_Value;
    case kRightRandom: return RandomBetween(c.m_RandomLow, c.m_RandomHigh);
    case kRightStatus: return StatusOperand(chara, c.m_RightSubject, c.m_RightItem, c.m_RightNumber);
    case kRightVariable: return ConditionVariable(c.m_RightVarScope, c.m_RightNumber);
    default: return std::nullopt;
  }
}

std::int32_t CompareCharaStatus(const cConditionDef& c, cCharaBase& chara, std::int32_t right) {
  const cCharaBase* owner = ConditionCharacter(chara, c.m_Subject);
  if (owner == nullptr || c.m_Item >= CharaStatusReaders.size()) return 0;
  const CharaStatusReader& row = CharaStatusReaders[c.m_Item];
  const Value left = row.read(*owner, c.m_Number);
  if (!left) return 0;
  if (c.m_Percent != 0) {
    const std::int32_t base = row.percentBase != nullptr ? row.percentBase(*owner, c.m_Number).value_or(0) : 0;
    right = ClampToRange(PercentOfRounded(base, right), CharaStatusRanges[c.m_Item]);
  }
  return CompareInWidth(row.bits, *left, right, c.m_Operator);
}

std::int32_t CompareSystemStatus(const cConditionDef& c, std::int32_t right) {
  const Value left = LeftSystemStatus(c.m_Item);
  if (!left) return 0;
  if (c.m_Percent != 0) right = ClampToRange(PercentOfRounded(0, right), SystemStatusRanges[c.m_Item]);
  return CompareByOp(*left, right, c.m_Operator);
}

// Kind 5: the state bytes by flag 1..6; 透明 is kept unsigned, the others signed.
constexpr std::array<std::int32_t (*)(const cCharaDef&), kCharaStateCount> kStateBytes = {{
    nullptr,  // 消滅 is no state a condition tests
    [](const cCharaDef& d) -> std::int32_t { return d.m_Transparent; },
    [](const cCharaDef& d) -> std::int32_t { return static_cast<std::int8_t>(d.m_FixedFacing); },
    [](const cCharaDef& d) -> std::int32_t { return static_cast<std::int8_t>(d.m_Flight); },
    [](const cCharaDef& d) -> std::int32_t { return static_cast<std::int8_t>(d.m_Invincible); },
    [](const cCharaDef& d) -> std::int32_t { return static_cast<std::int8_t>(d.m_Enlargement); },
    [](const cCharaDef& d) -> std::int32_t { return static_cast<std::int8_t>(d.m_ScrollSync); },
}};

// Kind 6: the states by their stored number.
constexpr std::array<bool (*)(const cCharaBase&), 4> kStates = {{
    [](const cCharaBase& c) { return c.m_Direction == 0; },  // 左向き
    [](const cCharaBase& c) { return c.m_Direction != 0; },  // 右向き
    // Standing: not flying, and on a block character or neither jumping nor falling.
    [](const cCharaBase& c) { return c.m_Flying == 0 && (c.m_OnBlockChara != 0 || (c.m_J2 == 0 && c.m_J3 == 0)); },
    // On screen: a computer-operated character as the presence pass found it this step, a hero by
    // the screen test itself.
    [](const cCharaBase& c) { return c.m_Operator == 1 ? c.m_OnScreen != 0 : c.IsOnScreen(); },
}};
constexpr std::uint8_t kStateOnScreen = 3;

}  // namespace

std::int32_t EvalStatusCondition(cConditionDef& c, cCharaBase& chara) {
  const Value right = RightOperand(c, chara);
  if (!right) return 0;
  c.m_Value = *right;
  if (c.m_LeftIsVariable == 1) {
    const Value left = ConditionVariable(c.m_LeftVarScope, c.m_Number);
    if (!left) return 0;
    // A variable has no maximum to take a percentage of.
    const std::int32_t operand = c.m_Percent != 0 ? 0 : *right;
    return CompareByOp(*left, operand, c.m_Operator);
  }
  if (c.m_LeftIsVariable != 0) return 0;
  if (c.m_Subject == kSubjectSystem) return CompareSystemStatus(c, *right);
  return CompareCharaStatus(c, chara, *right);
}

std::int32_t TestStatusCondition(const cConditionDef& c, cCharaBase& chara) {
  if (c.m_Subject == kSubjectSystem) {
    if (g_PlayScene == nullptr || c.m_Item > 1) return 0;
    const ScrollAxis& axis = c.m_Item == 0 ? g_PlayScene->m_ScrollX : g_PlayScene->m_ScrollY;
    return CompareByOp(axis.m_AutoOn, c.m_Number, c.m_Operator);
  }
  const cCharaBase* owner = ConditionCharacter(chara, c.m_Subject);
  if (owner == nullptr || c.m_Item >= kStateBytes.size() || kStateBytes[c.m_Item] == nullptr) return 0;
  return CompareByOp(kStateBytes[c.m_Item](owner->m_Def), c.m_Number, c.m_Operator);
}

std::int32_t TestStateCondition(const cConditionDef& c, cCharaBase& chara) {
  const cCharaBase* owner = ConditionCharacter(chara, c.m_Subject);
  if (owner == nullptr || c.m_Item >= kStates.size() || c.m_Operator > 1) return 0;
  // A hero's screen test needs the scene's camera.
  if (c.m_Item == kStateOnScreen && owner->m_Operator != 1 && g_PlayScene == nullptr) return 0;
  const bool state = kStates[c.m_Item](*owner);
  return (c.m_Operator == 0 ? state : !state) ? 1 : 0;
}
