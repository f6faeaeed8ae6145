#pragma once
// The expression language of the command "コードの実行": one line of integer arithmetic over the
// fields of characters, a few system values and the common and stage variables, with one function
// (rand) and assignment clamped to the range of the target. EvalCode is the entry; the other two are
// its stages: parentheses and calls are reduced by text substitution, then the flat statement is
// split at spaces and reduced by precedence. Game thread only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class cCharaBase;

// 0 while all is well, 1 after any error of the last evaluation.
extern std::int32_t g_CodeError;

// Evaluates text for self, then starts self's HP and SP gauges by what the text changed. 1 when the
// text ran without error, 0 after one (then no gauge starts).
std::int32_t EvalCode(const std::string& text, cCharaBase& self);
// The value of text with every parenthesis and call replaced by its value; 0 after an error.
std::int32_t EvalCodeParens(const std::string& text, cCharaBase& self);
// The value of a statement without parentheses; 0 after an error.
std::int32_t EvalCodeStatement(std::string_view statement, cCharaBase& self);

// The vocabulary; the position of a name is its meaning.
extern const std::array<const char*, 1> CodeFunctionNames;
extern const std::array<const char*, 6> CodeOperatorNames;
extern const std::array<std::int32_t, 6> OperatorPrecedence;
extern const std::array<const char*, 4> CodeObjectNames;
extern const std::array<const char*, 22> CodeCharaFields;
extern const std::array<const char*, 5> CodeSysFields;

// Operand kinds.
enum : std::int32_t {
  kCodeConstant = 0,
  kCodeVariable = 1,
  kCodeCharaField = 2,
  kCodeSysField = 3,
  kCodeOperator = 4,
};

// Storage widths of an assignment target.
enum : std::int32_t { kCodeWidth8 = 0, kCodeWidth16 = 2, kCodeWidth32 = 4 };

constexpr std::int32_t kCodeValueMin = -999999;
constexpr std::int32_t kCodeValueMax = 999999;

// One token of a flat statement.
struct cCodeOperand {
  std::int32_t m_Kind = kCodeConstant;
  std::int32_t m_Value = 0;
  void* m_Target = nullptr;  // where an assignment stores; null for constants and results
  std::int32_t m_Width = kCodeWidth32;
  std::int32_t m_Operator = 0;
  std::int32_t m_Min = kCodeValueMin;
  std::int32_t m_Max = kCodeValueMax;
  std::int32_t m_CharaField = 0;
  std::int32_t m_SysField = 0;
  cCharaBase* m_Chara = nullptr;
};

// A token read as a decimal integer: an optional sign, then the digits up to the first other
// character (none: 0); a number beyond 32 bits is held at the nearest 32-bit value.
std::int32_t ParseCodeNumber(std::string_view text);

// Resolving a token that names a field: the operand holds its value, target, width and range as
// they are now. False when the field has no place to read (no play scene for "time").
bool ResolveCharaField(cCodeOperand& operand, cCharaBase& chara, std::int32_t field);
bool ResolveSysField(cCodeOperand& operand, std::int32_t field);
// Stores v at the operand's target in its width (8- and 16-bit targets keep the low bits); nothing
// without a target.
void StoreCodeTarget(const cCodeOperand& operand, std::int32_t v);
// What follows an assignment to the operand's field (self: the executing character).
void AfterCodeAssignment(const cCodeOperand& operand, const cCharaBase& self);
