// The status commands: "ステータスの操作" (one operation on a status or a variable) and
// "ステータスの操作2" (a state of a character, or an auto-scroll axis).
#include "script/status_operations.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "play/chara_base.h"
#include "play/contacts.h"
#include "play/flow_runner.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/condition.h"
#include "project/flow_command.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/apply_operation.h"
#include "script/condition_parts.h"
#include "script/conditions.h"
#include "script/status_values.h"

namespace {

// The parameters of "ステータスの操作", by index.
enum OperationParam : std::size_t {
  kChangeWhat,   // 0 a status, 1 a variable
  kVarScope,     // 0 common, 1 stage variable
  kVarIndex,     // also the character variable of status 0
  kOwner,        // 0 self, 1 the target, 2 the system
  kStatus,       // character or system status row
  kOperation,    // StatusOperationKind
  kOperandKind,  // 0 constant, 1 random, 2 status, 3 variable
  kConstant,
  kRandomA,
  kRandomB,  // the bounds in either order
  kOperandVarScope,
  kOperandIndex,  // operand variable, or the character variable of an operand status 0
  kOperandOwner,
  kOperandStatus,
  kPercentOfCurrent,  // the operand is a percentage of the current value
  kGaugeMode,         // HP and SP: 0 plain, 1 percent of the maximum, 2 percent of the current value
  kAnimateGauge,      // HP and SP
  kSpareInvincible,   // leave characters with an invincible state alone
  kOperationParamCount
};

// The parameters of "ステータスの操作2".
enum StateParam : std::size_t { kStateOwner, kStateWhich, kStateValue, kStateParamCount };

constexpr std::int32_t kChangeStatus = 0;
constexpr std::int32_t kChangeVariable = 1;
constexpr std::int32_t kGaugePercentOfMax = 1;
constexpr std::int32_t kGaugePercentOfCurrent = 2;
constexpr StatusRange kVariableRange = {-999999, 999999};

// The command's parameters, those a short vector lacks read as 0.
template <std::size_t N>
std::array<std::int32_t, N> ParamsOf(const cFlowCommand& command) {
  std::array<std::int32_t, N> params{};
  const std::size_t n = std::min(N, command.m_Params.size());
  std::copy_n(command.m_Params.begin(), n, params.begin());
  return params;
}
using OperationParams = std::array<std::int32_t, kOperationParamCount>;

cPlayScene* Scene() { return g_PlayScene; }

StatusValue Variable(std::int32_t scope, std::int32_t index) {
  if (scope != 0 && scope != 1) return std::nullopt;
  return ConditionVariable(static_cast<std::uint8_t>(scope), index);
}

// A bad index has been reported by the read that preceded; nothing is written for it.
template <class T>
void StoreAt(CheckedVector<T>& vars, std::int32_t index, std::int32_t value) {
  if (index >= 0 && index < vars.Size()) vars[static_cast<std::size_t>(index)] = static_cast<T>(value);
}

void StoreVariable(std::int32_t scope, std::int32_t index, std::int32_t value) {
  if (scope == 0)
    StoreAt(g_SaveData.m_Variables, index, value);
  else if (Scene() != nullptr)
    StoreAt(Scene()->m_StageVars, index, value);
}

StatusValue Operand(cCharaBase& object, const OperationParams& p) {
  switch (p[kOperandKind]) {
    case 0:
      return p[kConstant];
    case 1:
      return RandomBetween(p[kRandomA], p[kRandomB]);
    case 2:
      return StatusOperand(object, p[kOperandOwner], p[kOperandStatus], p[kOperandIndex]);
    case 3:
      return Variable(p[kOperandVarScope], p[kOperandIndex]);
    default:
      return std::nullopt;
  }
}

// The operand as a percentage of the value it works on, when the command asks for it.
std::int32_t OperandOf(const OperationParams& p, std::int32_t current, std::int32_t operand) {
  return p[kPercentOfCurrent] != 0 ? PercentOfRounded(current, operand) : operand;
}

void ChangeVariable(const OperationParams& p, std::int32_t operand) {
  const StatusValue current = Variable(p[kVarScope], p[kVarIndex]);
  if (!current) return;
  std::int32_t value = *current;
  ApplyOperation(value, OperandOf(p, value, operand), p[kOperation], kVariableRange.low, kVariableRange.high);
  StoreVariable(p[kVarScope], p[kVarIndex], value);
}

// --- System statuses ------------------------------------------------------------------------------

std::int32_t* SystemSlot(std::int32_t status) {
  switch (status) {
    case kSystemStatusTime:
      return Scene() != nullptr ? &Scene()->m_TimeLeft : nullptr;
    case kSystemStatusScrollX:
      return &g_ScrollSpeedX;
    case kSystemStatusScrollY:
      return &g_ScrollSpeedY;
    case kSystemStatusScore:
      return &g_SaveData.m_Score;
    case kSystemStatusLives:
      return &g_SaveData.m_Lives;
    default:
      return nullptr;
  }
}

void ChangeSystemStatus(const OperationParams& p, std::int32_t operand) {
  const std::int32_t status = p[kStatus];
  std::int32_t* slot = SystemSlot(status);
  if (slot == nullptr) return;
  // Unlimited lives stay unlimited.
  if (status == kSystemStatusLives && *slot == kUnlimitedLives) return;
  const StatusRange range = SystemStatusRanges[static_cast<std::size_t>(status)];
  ApplyOperation(*slot, OperandOf(p, *slot, operand), p[kOperation], range.low, range.high);
  if (status == kSystemStatusScrollX) ScrollSpeedChanged(0);
  if (status == kSystemStatusScrollY) ScrollSpeedChanged(1);
}

// --- Character statuses ---------------------------------------------------------------------------

// Where an operation puts a character status, and the range it is held in; the statuses that go
// their own way (the character variable, HP and SP) have no store.
using StatusStore = void (*)(cCharaBase& chara, std::int32_t value);
struct StatusWrite {
  StatusRange range;
  StatusStore store;
};

constexpr std::array<StatusWrite, kCharaStatusCount> kStatusWrites = {{
    {{-999999, 999999}, nullptr},  // キャラ変数
    {{0, 999999}, nullptr},        // HP
    {{0, 999999}, nullptr},        // SP
    {{0, 999999},
     [](cCharaBase& c, std::int32_t v) {
       c.m_Def.m_MaxHp = v;
       c.m_Hp = std::min(c.m_Hp, v);
     }},  // 最大HP
    {{0, 999999},
     [](cCharaBase& c, std::int32_t v) {
       c.m_Def.m_MaxSp = v;
       c.m_Sp = std::min(c.m_Sp, v);
     }},                                                                                                 // 最大SP
    {{0, 99}, [](cCharaBase& c, std::int32_t v) { c.m_Def.m_CharaId = static_cast<std::uint8_t>(v); }},  // キャラID
    {{0, 7}, [](cCharaBase& c, std::int32_t v) { c.m_Def.m_Z = static_cast<std::uint8_t>(v); }},         // Z座標
    {{0, 119},
     [](cCharaBase& c, std::int32_t v) { c.m_Def.m_MarkNumber = static_cast<std::int16_t>(v); }},  // マーク番号
    {{0, 40},
     [](cCharaBase& c, std::int32_t v) { c.m_Def.m_SightRange = static_cast<std::uint8_t>(v); }},  // 視界範囲(hbl)
    {{-999999, 999999}, [](cCharaBase& c, std::int32_t v) { c.m_Def.m_BodyAttack = v; }},  // 体当たりの威力
    {{-20, 20},
     [](cCharaBase& c, std::int32_t v) { c.m_Def.m_BodyImpact = static_cast<std::int8_t>(v); }},  // 体当たりの衝撃
    {{0, 999999}, [](cCharaBase& c, std::int32_t v) { c.m_Def.m_Defence = v; }},                  // 防御力
    {{0, 20},
     [](cCharaBase& c, std::int32_t v) { c.m_Def.m_ImpactResistance = static_cast<std::uint8_t>(v); }},  // 衝撃耐性
    {{0, 200},
     [](cCharaBase& c, std::int32_t v) {
       c.m_Def.m_Stopping = static_cast<std::int16_t>(v);
       c.m_Friction = PercentPerStep(c.m_Def.m_Stopping);
     }},                                                                              // 止まりやすさ
    {{-999999, 999999}, [](cCharaBase& c, std::int32_t v) { c.m_Def.m_Score = v; }},  // 獲得スコア
}};

// The operation in the width the status is kept in.
std::int32_t OperateInWidth(int bits, std::int32_t current, std::int32_t operand, std::int32_t operation,
                            const StatusRange& range) {
  if (bits == 8) {
    auto v = static_cast<std::int8_t>(current);
    ApplyOperation(v, operand, operation, range.low, range.high);
    return v;
  }
  if (bits == 16) {
    auto v = static_cast<std::int16_t>(current);
    ApplyOperation(v, operand, operation, range.low, range.high);
    return v;
  }
  ApplyOperation(current, operand, operation, range.low, range.high);
  return current;
}

// HP or SP: the operand may be a percentage of the maximum or of the current value, and the change
// goes through the character's own HP (SP) change, past invincibility, with its gauge when asked.
void ChangeGaugeStatus(cCharaBase& object, cCharaBase& owner, const OperationParams& p, std::int32_t operand) {
  const bool hp = p[kStatus] == kCharaStatusHp;
  const std::int32_t current = hp ? owner.m_Hp : owner.m_Sp;
  const std::int32_t maximum = hp ? owner.m_Def.m_MaxHp : owner.m_Def.m_MaxSp;
  if (p[kGaugeMode] == kGaugePercentOfMax) operand = PercentOfRounded(maximum, operand);
  if (p[kGaugeMode] == kGaugePercentOfCurrent) operand = PercentOfRounded(current, operand);
  std::int32_t value = current;
  const StatusRange range = kStatusWrites[static_cast<std::size_t>(p[kStatus])].range;
  ApplyOperation(value, operand, p[kOperation], range.low, range.high);
  // A current value the data made negative cannot make the change overflow.
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
  const auto delta = static_cast<std::int32_t>(std::clamp(std::int64_t{value} - current, kLow, kHigh));
  if (hp) {
    owner.ChangeHP(delta, 1, p[kAnimateGauge]);
    AskForDeathCheck(object, owner);
  } else {
    owner.ChangeSP(delta, p[kAnimateGauge]);
  }
}

void ChangeCharaVariable(cCharaBase& owner, const OperationParams& p, std::int32_t operand) {
  const StatusValue current = CharaStatusReaders[kCharaStatusVar].read(owner, p[kVarIndex]);
  if (!current) return;
  std::int32_t value = *current;
  const StatusRange range = kStatusWrites[kCharaStatusVar].range;
  ApplyOperation(value, OperandOf(p, value, operand), p[kOperation], range.low, range.high);
  StoreAt(owner.m_Vars, p[kVarIndex], value);
}

void ChangeCharaStatus(cCharaBase& object, cCharaBase& owner, const OperationParams& p, std::int32_t operand) {
  const std::int32_t status = p[kStatus];
  if (status < 0 || status >= kCharaStatusCount) return;
  if (status == kCharaStatusVar) return ChangeCharaVariable(owner, p, operand);
  if (status == kCharaStatusHp || status == kCharaStatusSp) return ChangeGaugeStatus(object, owner, p, operand);
  // Only a hero has a field of view to change.
  if (status == kCharaStatusSight && owner.m_Operator != 0) return;
  const auto row = static_cast<std::size_t>(status);
  const std::int32_t current = CharaStatusReaders[row].read(owner, 0).value_or(0);
  const StatusWrite& write = kStatusWrites[row];
  write.store(owner, OperateInWidth(CharaStatusReaders[row].bits, current, OperandOf(p, current, operand),
                                    p[kOperation], write.range));
  if (status == kCharaStatusSight) SightChanged(owner);
  if (status == kCharaStatusMaxHp) AskForDeathCheck(object, owner);
}

// --- States (ステータスの操作2) ----------------------------------------------------------------

constexpr std::int32_t kFlightModes = 4;
constexpr StatusRange kScaleRange = {1, 10};

// Vanishing: a computer-operated character goes at the end of its flow step, a hero loses its HP.
void Vanish(cCharaBase& object, cCharaBase& owner, std::int32_t) {
  if (owner.m_Operator == 0)
    owner.m_Hp = 0;
  else
    owner.m_RemovalMark = 1;
  if (&owner != &object && Scene() != nullptr) Scene()->m_StatusChanged = 1;
}

// Flight is a hero's state only; a mode the flight states do not have changes nothing.
void SetFlight(cCharaBase&, cCharaBase& owner, std::int32_t value) {
  cHero* hero = Scene() != nullptr ? Scene()->Hero0() : nullptr;
  if (owner.m_Operator != 0 || hero == nullptr || value < 0 || value >= kFlightModes) return;
  hero->ApplyFlightMode(value, 1);
}

// A scale outside 1..10 has no size to take (0 would leave the object without a box).
void Enlarge(cCharaBase&, cCharaBase& owner, std::int32_t value) {
  if (value < kScaleRange.low || value > kScaleRange.high) return;
  owner.SetScale(value, owner.Scale());
  owner.m_Def.m_Enlargement = static_cast<std::uint8_t>(value);
  cHero* hero = Scene() != nullptr ? Scene()->Hero0() : nullptr;
  if (owner.m_Operator == 0 && hero != nullptr) hero->BuildHitBoxOverlay();
}

void FollowScroll(cCharaBase&, cCharaBase& owner, std::int32_t value) {
  owner.m_Def.m_ScrollSync = static_cast<std::uint8_t>(value);
  owner.m_FollowsScroll = value & 0xFF;
}

using StateSetter = void (*)(cCharaBase& object, cCharaBase& owner, std::int32_t value);
constexpr std::array<StateSetter, kCharaStateCount> kStateSetters = {{
    Vanish,                                                                                                    // 消滅
    [](cCharaBase&, cCharaBase& o, std::int32_t v) { o.m_Def.m_Transparent = static_cast<std::uint8_t>(v); },  // 透明
    [](cCharaBase&, cCharaBase& o, std::int32_t v) {
      o.m_Def.m_FixedFacing = static_cast<std::uint8_t>(v);
    },          // 向き固定
    SetFlight,  // 飛行
    [](cCharaBase&, cCharaBase& o, std::int32_t v) { o.m_Def.m_Invincible = static_cast<std::uint8_t>(v); },  // 無敵
    Enlarge,       // 巨大化
    FollowScroll,  // オートスクロールとシンクロ
}};

}  // namespace

void ExecStatusOperation(cCharaBase& object, const cFlowCommand& command) {
  const OperationParams p = ParamsOf<kOperationParamCount>(command);
  const StatusValue operand = Operand(object, p);
  if (!operand) return;
  if (p[kChangeWhat] == kChangeVariable) return ChangeVariable(p, *operand);
  if (p[kChangeWhat] != kChangeStatus) return;
  if (p[kOwner] == kSubjectSystem) return ChangeSystemStatus(p, *operand);
  if (p[kOwner] != kSubjectSelf && p[kOwner] != kSubjectTarget) return;
  cCharaBase* owner = ConditionCharacter(object, static_cast<std::uint8_t>(p[kOwner]));
  if (owner == nullptr) return;
  if (p[kSpareInvincible] != 0 && owner->m_Def.m_Invincible != 0) return;
  ChangeCharaStatus(object, *owner, p, *operand);
}

void DoStatusOperation2(cCharaBase& object, const cFlowCommand& command) {
  const auto p = ParamsOf<kStateParamCount>(command);
  const std::int32_t which = p[kStateWhich];
  if (p[kStateOwner] == kSubjectSystem) {
    if (Scene() == nullptr) return;
    if (which == 0) Scene()->m_ScrollX.SetAutoScroll(p[kStateValue], g_ScrollSpeedX);
    if (which == 1) Scene()->m_ScrollY.SetAutoScroll(p[kStateValue], g_ScrollSpeedY);
    return;
  }
  if (p[kStateOwner] != kSubjectSelf && p[kStateOwner] != kSubjectTarget) return;
  cCharaBase* owner = ConditionCharacter(object, static_cast<std::uint8_t>(p[kStateOwner]));
  if (owner == nullptr || which < 0 || which >= kCharaStateCount) return;
  kStateSetters[static_cast<std::size_t>(which)](object, *owner, p[kStateValue]);
}

void CmdStatusOperation(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) ExecStatusOperation(chara, *instance.m_Command);
}

void CmdStatusOperation2(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) DoStatusOperation2(chara, *instance.m_Command);
}
