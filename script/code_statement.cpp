// A flat statement of the code language: split into tokens at spaces, each resolved to an operand
// or an operator, then reduced by precedence with the assignments carried out.
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/save_data.h"
#include "script/code.h"

std::int32_t g_CodeError = 0;

namespace {

// An operand as the game's data lay it out (pointers 4 bytes): the size the failure line prints.
constexpr int kOperandBytes = 40;

enum eObject { kObjMy, kObjTarget, kObjPlayer, kObjSys };

template <std::size_t N>
int FindName(const std::array<const char*, N>& names, std::string_view token) {
  for (std::size_t i = 0; i < N; ++i)
    if (token == names[i]) return static_cast<int>(i);
  return -1;
}

std::int32_t Saturate(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

std::int32_t Arithmetic(std::int32_t op, std::int32_t a, std::int32_t b) {
  switch (op) {
    case 1:
      return Saturate(std::int64_t{a} + b);
    case 2:
      return Saturate(std::int64_t{a} - b);
    case 3:
      return Saturate(std::int64_t{a} * b);
    // The one quotient outside 32 bits keeps the bits it has; the remainder by -1 is always 0.
    case 4:
      return b == -1 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a)) : a / b;
    default:
      return b == -1 ? 0 : a % b;
  }
}

// The variable a token names: the rest of it is the index. A 32-bit element of either sign.
template <class T>
bool ResolveVariable(cCodeOperand& operand, CheckedVector<T>& vars, std::string_view token) {
  static_assert(sizeof(T) == 4);
  const std::int32_t index = ParseCodeNumber(token.substr(1));
  if (index < 0 || index >= vars.Size()) {
    ReportBadVectorIndex(index, vars.Size(), CheckedElementSize<T>());
    g_CodeError = 1;
    return false;
  }
  T& element = vars[static_cast<std::size_t>(index)];
  operand.m_Kind = kCodeVariable;
  operand.m_Target = &element;
  operand.m_Value = static_cast<std::int32_t>(element);
  return true;
}

// The operands' room is kept from statement to statement: a statement is reduced to its end before
// another one starts (what follows an assignment evaluates no code).
thread_local std::vector<cCodeOperand> t_Operands;

// Tokens are views into the text.
class cStatement {
 public:
  cStatement(std::string_view text, cCharaBase& self) : m_Text(text), m_Self(self), m_Operands(t_Operands) {
    m_Operands.clear();
  }

  // False after an error; the flag is set then.
  bool Tokenise();
  std::int32_t Reduce();

 private:
  bool Resolve(std::string_view token, eObject object);
  bool Fail() {
    g_CodeError = 1;
    return false;
  }

  std::string_view m_Text;
  cCharaBase& m_Self;
  std::vector<cCodeOperand>& m_Operands;
};

bool cStatement::Tokenise() {
  std::size_t start = 0;
  eObject object = kObjMy;
  bool completedAny = false;
  bool prefixBefore = false;  // the current word had a prefix just before the current token
  for (std::size_t i = 0; i <= m_Text.size(); ++i) {
    const char c = i < m_Text.size() ? m_Text[i] : '\0';
    const std::string_view token(m_Text.data() + start, i - start);
    if (c == '.') {
      const int found = FindName(CodeObjectNames, token);
      if (found >= 0) {
        object = static_cast<eObject>(found);
      } else if (!completedAny || prefixBefore) {
        ErrMesBox(SJ("オブジェクト \"%s.\" が認識できません！").c_str(), std::string(token).c_str());
        return Fail();
      }
      // An unknown prefix later in the statement is passed over; the object stays as it was.
      prefixBefore = true;
      start = i + 1;
      continue;
    }
    if (c != ' ' && c != '\0') continue;
    // A prefix belongs to its word only.
    if (!token.empty()) {
      if (!Resolve(token, object)) return false;
      completedAny = true;
    }
    // The text is a C string to its writer: a zero inside it ends it.
    if (c == '\0') break;
    start = i + 1;
    object = kObjMy;
    prefixBefore = false;
  }
  return true;
}

bool cStatement::Resolve(std::string_view token, eObject object) {
  cCodeOperand& operand = m_Operands.emplace_back();
  if (const int op = FindName(CodeOperatorNames, token); op >= 0) {
    operand.m_Kind = kCodeOperator;
    operand.m_Operator = op;
    return true;
  }
  cCharaBase* chara = nullptr;
  switch (object) {
    case kObjMy:
      chara = &m_Self;
      break;
    // No target: the statement ends without a message.
    case kObjTarget:
      chara = m_Self.m_Target;
      if (chara == nullptr) return Fail();
      break;
    case kObjPlayer:
      if (g_Heroes.empty()) {
        ReportBadVectorIndex(0, 0, CheckedElementSize<cHero>());
        return Fail();
      }
      chara = &g_Heroes.At(0);
      break;
    case kObjSys:
      break;
  }
  if (token[0] == 'C') return ResolveVariable(operand, g_SaveData.m_Variables, token);
  if (token[0] == 'S') {
    static CheckedVector<std::int32_t> s_NoStage;
    return ResolveVariable(operand, g_PlayScene != nullptr ? g_PlayScene->m_StageVars : s_NoStage, token);
  }
  if (const int field = FindName(CodeCharaFields, token); field >= 0) {
    // A character field of "sys." names no character: as a missing target, no message.
    if (chara == nullptr || !ResolveCharaField(operand, *chara, field)) return Fail();
    return true;
  }
  if (const int field = FindName(CodeSysFields, token); field >= 0) {
    if (!ResolveSysField(operand, field)) return Fail();
    return true;
  }
  operand.m_Value = ParseCodeNumber(token);
  return true;
}

std::int32_t cStatement::Reduce() {
  std::int32_t result = 0;
  bool operated = false;
  for (std::int32_t level = 0; level <= 2; ++level) {
    for (;;) {
      std::size_t at = 0;
      while (at < m_Operands.size() &&
             (m_Operands[at].m_Kind != kCodeOperator ||
              OperatorPrecedence[static_cast<std::size_t>(m_Operands[at].m_Operator)] != level))
        ++at;
      if (at == m_Operands.size()) break;
      const int size = static_cast<int>(m_Operands.size());
      // An operator without an operand on one side reaches past the list.
      if (at == 0 || at + 1 == m_Operands.size()) {
        ReportBadVectorIndex(at == 0 ? -1 : size, size, kOperandBytes);
        g_CodeError = 1;
        return 0;
      }
      const cCodeOperand& left = m_Operands[at - 1];
      const cCodeOperand& right = m_Operands[at + 1];
      const std::int32_t op = m_Operands[at].m_Operator;
      if ((op == 4 || op == 5) && right.m_Value == 0) {
        ErrMesBox(SJ("0除算が行われました！(%s)").c_str(), std::string(m_Text).c_str());
        g_CodeError = 1;
        return 0;
      }
      if (op == 0) {
        // A left side without a target (a constant, a misspelt name, a result) stores nothing.
        result = right.m_Value < left.m_Min ? left.m_Min : (right.m_Value > left.m_Max ? left.m_Max : right.m_Value);
        StoreCodeTarget(left, result);
        AfterCodeAssignment(left, m_Self);
      } else {
        result = Arithmetic(op, left.m_Value, right.m_Value);
      }
      operated = true;
      cCodeOperand merged;
      merged.m_Value = result;
      m_Operands[at - 1] = merged;
      m_Operands.erase(m_Operands.begin() + static_cast<std::ptrdiff_t>(at),
                       m_Operands.begin() + static_cast<std::ptrdiff_t>(at + 2));
    }
  }
  if (operated) return result;
  return m_Operands.empty() ? 0 : m_Operands.back().m_Value;
}

}  // namespace

std::int32_t ParseCodeNumber(std::string_view text) {
  bool negative = false;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > std::int64_t{INT32_MAX} + 1) v = std::int64_t{INT32_MAX} + 1;  // held beyond every 32-bit value
  }
  return Saturate(negative ? -v : v);
}

std::int32_t EvalCodeStatement(std::string_view statement, cCharaBase& self) {
  cStatement s(statement, self);
  if (!s.Tokenise()) return 0;
  return s.Reduce();
}
