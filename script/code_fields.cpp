// The vocabulary of the code language and the fields its names stand for: where each is kept, its
// storage width, the range an assignment is clamped to, and what follows an assignment.
#include <cstring>

#include "play/chara_base.h"
#include "play/contacts.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/code.h"

const std::array<const char*, 1> CodeFunctionNames = {"rand"};
const std::array<const char*, 6> CodeOperatorNames = {"=", "+", "-", "*", "/", "%"};
// Level 0 is reduced first.
const std::array<std::int32_t, 6> OperatorPrecedence = {2, 1, 1, 0, 0, 0};
const std::array<const char*, 4> CodeObjectNames = {"my", "tg", "pl", "sys"};
const std::array<const char*, 22> CodeCharaFields = {
    "v1",  "v2",  "v3", "v4",   "v5",    "v6",    "v7",  "v8",  "hp",   "sp",   "mhp",
    "msp", "cid", "z",  "mark", "sight", "power", "imp", "def", "impd", "stop", "getsc",
};
const std::array<const char*, 5> CodeSysFields = {"time", "scrlx", "scrly", "score", "life"};

namespace {

constexpr std::int32_t kFieldHp = 8;
constexpr std::int32_t kFieldSp = 9;
constexpr std::int32_t kFieldMaxHp = 10;
constexpr std::int32_t kFieldMaxSp = 11;
constexpr std::int32_t kFieldSight = 15;
constexpr std::int32_t kSysTime = 0;
constexpr std::int32_t kSysScrollX = 1;
constexpr std::int32_t kSysScrollY = 2;
constexpr std::int32_t kSysLives = 4;

// Row of a character field: where it is kept, its width and sign, and its range on assignment (HP
// and SP take their top from the character's maximum as the token is read).
struct CharaFieldRow {
  void* (*at)(cCharaBase& c);
  std::int32_t width;
  bool isSigned;
  std::int32_t min;
  std::int32_t max;
};

template <int N>
void* VarAt(cCharaBase& c) {
  return c.m_Vars.Size() > N ? &c.m_Vars[N] : nullptr;
}

constexpr CharaFieldRow kVarRow(void* (*at)(cCharaBase&)) { return {at, kCodeWidth32, true, -999999, 999999}; }

const std::array<CharaFieldRow, 22> kCharaFieldRows = {{
    kVarRow(VarAt<1>),  // v1
    kVarRow(VarAt<2>),
    kVarRow(VarAt<3>),
    kVarRow(VarAt<4>),
    kVarRow(VarAt<5>),
    kVarRow(VarAt<6>),
    kVarRow(VarAt<7>),
    kVarRow(VarAt<8>),                                                                                    // v8
    {[](cCharaBase& c) -> void* { return &c.m_Hp; }, kCodeWidth32, true, 0, 0},                           // hp
    {[](cCharaBase& c) -> void* { return &c.m_Sp; }, kCodeWidth32, true, 0, 0},                           // sp
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_MaxHp; }, kCodeWidth32, true, 1, 999999},             // mhp
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_MaxSp; }, kCodeWidth32, true, 1, 999999},             // msp
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_CharaId; }, kCodeWidth8, false, 0, 99},               // cid
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_Z; }, kCodeWidth8, false, 0, 7},                      // z
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_MarkNumber; }, kCodeWidth16, true, 0, 119},           // mark
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_SightRange; }, kCodeWidth8, false, 0, 40},            // sight
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_BodyAttack; }, kCodeWidth32, true, -999999, 999999},  // power
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_BodyImpact; }, kCodeWidth8, true, -20, 20},           // imp
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_Defence; }, kCodeWidth32, true, 0, 999999},           // def
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_ImpactResistance; }, kCodeWidth8, false, 0, 20},      // impd
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_Stopping; }, kCodeWidth16, true, 0, 200},             // stop
    {[](cCharaBase& c) -> void* { return &c.m_Def.m_Score; }, kCodeWidth32, true, -999999, 999999},       // getsc
}};

std::int32_t ReadTarget(const void* target, std::int32_t width, bool isSigned) {
  if (width == kCodeWidth8) {
    std::uint8_t b;
    std::memcpy(&b, target, 1);
    return isSigned ? static_cast<std::int8_t>(b) : b;
  }
  if (width == kCodeWidth16) {
    std::int16_t h;
    std::memcpy(&h, target, 2);
    return h;
  }
  std::int32_t w;
  std::memcpy(&w, target, 4);
  return w;
}

std::int32_t ClampTo(std::int32_t v, std::int32_t low, std::int32_t high) {
  if (v > high) v = high;
  return v < low ? low : v;
}

}  // namespace

bool ResolveCharaField(cCodeOperand& operand, cCharaBase& chara, std::int32_t field) {
  const CharaFieldRow& row = kCharaFieldRows.at(static_cast<std::size_t>(field));
  void* target = row.at(chara);
  if (target == nullptr) return false;
  operand.m_Kind = kCodeCharaField;
  operand.m_Value = ReadTarget(target, row.width, row.isSigned);
  operand.m_Target = target;
  operand.m_Width = row.width;
  operand.m_Min = row.min;
  operand.m_Max = row.max;
  // HP and SP go up to the maximum the character has as the statement is read.
  if (field == kFieldHp) operand.m_Max = chara.m_Def.m_MaxHp;
  if (field == kFieldSp) operand.m_Max = chara.m_Def.m_MaxSp;
  operand.m_CharaField = field;
  operand.m_Chara = &chara;
  return true;
}

bool ResolveSysField(cCodeOperand& operand, std::int32_t field) {
  static constexpr std::array<std::int32_t, 5> kMin = {0, -480, -480, 0, 0};
  static constexpr std::array<std::int32_t, 5> kMax = {999, 480, 480, 999999, 99};
  std::int32_t* target = nullptr;
  switch (field) {
    case kSysTime:
      target = g_PlayScene != nullptr ? &g_PlayScene->m_TimeLeft : nullptr;
      break;
    case kSysScrollX:
      target = &g_ScrollSpeedX;
      break;
    case kSysScrollY:
      target = &g_ScrollSpeedY;
      break;
    case kSysLives:
      target = &g_SaveData.m_Lives;
      break;
    default:
      target = &g_SaveData.m_Score;
      break;
  }
  if (target == nullptr) return false;
  const auto i = static_cast<std::size_t>(field);
  operand.m_Kind = kCodeSysField;
  operand.m_Value = *target;
  operand.m_Target = target;
  operand.m_Width = kCodeWidth32;
  operand.m_Min = kMin.at(i);
  operand.m_Max = kMax.at(i);
  operand.m_SysField = field;
  // Unlimited lives read as none left and stay unlimited whatever is assigned.
  if (field == kSysLives && *target == kUnlimitedLives) {
    operand.m_Value = 0;
    operand.m_Min = operand.m_Max = kUnlimitedLives;
  }
  return true;
}

void AfterCodeAssignment(const cCodeOperand& operand, const cCharaBase& self) {
  if (operand.m_Kind == kCodeSysField) {
    if (operand.m_SysField == kSysScrollX) ScrollSpeedChanged(0);
    if (operand.m_SysField == kSysScrollY) ScrollSpeedChanged(1);
    return;
  }
  if (operand.m_Kind != kCodeCharaField || operand.m_Chara == nullptr) return;
  cCharaBase& owner = *operand.m_Chara;
  switch (operand.m_CharaField) {
    case kFieldHp:
      // Another character's death is run by the stage step; self's own flow decides about its own.
      AskForDeathCheck(self, owner);
      break;
    case kFieldMaxHp:
      owner.m_Hp = ClampTo(owner.m_Hp, 1, owner.m_Def.m_MaxHp);
      break;
    case kFieldMaxSp:
      owner.m_Sp = ClampTo(owner.m_Sp, 1, owner.m_Def.m_MaxSp);
      break;
    case kFieldSight:
      // Only a hero has a light; the field of any other character is only stored.
      if (dynamic_cast<cHero*>(&owner) != nullptr) SightChanged(owner);
      break;
    default:
      break;
  }
}

// Stores v in the operand's target in its width; 8- and 16-bit targets keep the low bits.
void StoreCodeTarget(const cCodeOperand& operand, std::int32_t v) {
  if (operand.m_Target == nullptr) return;
  const auto bits = static_cast<std::uint32_t>(v);
  if (operand.m_Width == kCodeWidth8) {
    const auto b = static_cast<std::uint8_t>(bits);
    std::memcpy(operand.m_Target, &b, 1);
  } else if (operand.m_Width == kCodeWidth16) {
    const auto h = static_cast<std::uint16_t>(bits);
    std::memcpy(operand.m_Target, &h, 2);
  } else {
    std::memcpy(operand.m_Target, &v, 4);
  }
}
