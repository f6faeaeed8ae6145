// The condition lists of cells, characters, items and flows, the kinds that compare variables, and
// the comparison and percentage every kind shares.
#include "script/conditions.h"

#include <algorithm>
#include <array>
#include <limits>

#include "play/chara_base.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "project/map_cell.h"
#include "project/save_data.h"
#include "script/condition_parts.h"

namespace {

using KindTest = std::int32_t (*)(cConditionDef& condition, cCharaBase* object);

std::int32_t CompareVariable(std::uint8_t scope, const cConditionDef& condition) {
  const std::optional<std::int32_t> value = ConditionVariable(scope, condition.m_Number);
  return value ? CompareByOp(*value, condition.m_Value, condition.m_Operator) : 0;
}

// The tests of the kinds, by stored kind. The object is null when there is no hero 0 to test a
// cell or an item on: only the variable kinds can hold then.
constexpr std::array<KindTest, 8> kKindTests = {{
    nullptr,  // no condition
    [](cConditionDef& c, cCharaBase*) { return CompareVariable(0, c); },
    [](cConditionDef& c, cCharaBase*) { return CompareVariable(1, c); },
    [](cConditionDef& c, cCharaBase* o) -> std::int32_t {
      if (o == nullptr) return 0;
      const std::optional<std::int32_t> value = ReadVariable(o->m_Vars, c.m_Number);
      return value ? CompareByOp(*value, c.m_Value, c.m_Operator) : 0;
    },
    [](cConditionDef& c, cCharaBase* o) { return o != nullptr ? EvalStatusCondition(c, *o) : 0; },
    [](cConditionDef& c, cCharaBase* o) { return o != nullptr ? TestStatusCondition(c, *o) : 0; },
    [](cConditionDef& c, cCharaBase* o) { return o != nullptr ? TestStateCondition(c, *o) : 0; },
    [](cConditionDef& c, cCharaBase* o) { return o != nullptr ? TestDistanceCondition(c, *o) : 0; },
}};

std::int32_t CheckOn(cConditionDef& condition, cCharaBase* object) {
  if (condition.m_Kind >= kKindTests.size() || kKindTests[condition.m_Kind] == nullptr) return 0;
  return kKindTests[condition.m_Kind](condition, object);
}

std::int32_t CheckListOn(CheckedVector<cConditionDef>& list, std::int32_t mode, cCharaBase* object) {
  if (mode == 0) {
    for (cConditionDef& condition : list)
      if (CheckOn(condition, object) == 0) return 0;
    return 1;
  }
  if (mode == 1) {
    for (cConditionDef& condition : list)
      if (CheckOn(condition, object) != 0) return 1;
  }
  return 0;
}

// The list check every owner shares: its list, mode, keep-once-met flag and latch.
template <class Latch>
std::int32_t CheckOwnerList(CheckedVector<cConditionDef>& list, std::uint8_t mode, std::uint8_t keepOnceMet,
                            Latch& latch, cCharaBase* object) {
  if (list.empty()) return 1;
  if (keepOnceMet != 0 && latch != 0) return 1;
  if (CheckListOn(list, mode, object) == 0) return 0;
  latch = 1;
  return 1;
}

cCharaBase* HeroZero() { return g_PlayScene != nullptr ? g_PlayScene->Hero(0) : nullptr; }

}  // namespace

std::optional<std::int32_t> ConditionVariable(std::uint8_t scope, std::int32_t index) {
  if (scope == 0) return ReadVariable(g_SaveData.m_Variables, index);
  if (scope == 1 && g_PlayScene != nullptr) return ReadVariable(g_PlayScene->m_StageVars, index);
  return std::nullopt;
}

cCharaBase* ConditionCharacter(cCharaBase& chara, std::uint8_t owner) {
  if (owner == kSubjectSelf) return &chara;
  if (owner == kSubjectTarget) return chara.m_Target;
  return nullptr;
}

std::int32_t script::CheckCellConditions(cMapCell& cell) {
  return CheckOwnerList(cell.m_Conditions, cell.m_ConditionMode, cell.m_KeepOnceMet, cell.m_ConditionLatch,
                        HeroZero());
}

std::int32_t script::CheckCharaConditions(cCharaBase& chara) {
  cCharaDef& def = chara.m_Def;
  return CheckOwnerList(def.m_Conditions, def.m_ConditionMode, def.m_KeepOnceMet, chara.m_AppearanceLatched,
                        &chara);
}

std::int32_t script::CheckItemConditions(cItem& item) {
  cItemDef& def = item.m_Def;
  return CheckOwnerList(def.m_Conditions, def.m_ConditionMode, def.m_KeepOnceMet, item.m_AppearanceLatched,
                        HeroZero());
}

std::int32_t CheckFlowConditions(cFlowRunner& runner, cCharaBase& chara) {
  // A runner left without its flow has nothing to start.
  if (runner.m_Flow == nullptr) return 0;
  cFlow& flow = *runner.m_Flow;
  return CheckOwnerList(flow.m_Conditions, flow.m_ConditionMode, flow.m_KeepOnceMet, runner.m_ConditionsLatched,
                        &chara);
}

std::int32_t CheckConditionList(CheckedVector<cConditionDef>& list, std::int32_t mode, cCharaBase& object) {
  return CheckListOn(list, mode, &object);
}

std::int32_t CheckCondition(cConditionDef& condition, cCharaBase& object) { return CheckOn(condition, &object); }

std::int32_t CompareByOp(std::int32_t a, std::int32_t b, std::int32_t op) {
  switch (op) {
    case 0: return a == b;
    case 1: return a != b;
    case 2: return a >= b;
    case 3: return a <= b;
    case 4: return a > b;
    case 5: return a < b;
    default: return 0;
  }
}

std::int32_t CompareByOpByte(std::int32_t a, std::int32_t b, std::int32_t op) {
  return CompareByOp(static_cast<std::int8_t>(a), static_cast<std::int8_t>(b), op);
}

std::int32_t CompareByOp16(std::int32_t a, std::int32_t b, std::int32_t op) {
  return CompareByOp(static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), op);
}

std::int32_t PercentOfRounded(std::int32_t a, std::int32_t p) {
  // Whole numbers throughout: the exact product, then half away from zero by the remainder.
  const std::int64_t product = std::int64_t{a} * p;
  std::int64_t quotient = product / 100;
  const std::int64_t remainder = product % 100;
  if (remainder >= 50) ++quotient;
  if (remainder <= -50) --quotient;
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(quotient, kLow, kHigh));
}
