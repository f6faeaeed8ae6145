// The entry of the code language and its first stage: parentheses and function calls are evaluated
// and replaced by their values in the text until a flat statement is left.
#include <string>
#include <string_view>

#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "play/chara_base.h"
#include "play/flow_runner.h"
#include "script/code.h"
#include "script/condition_parts.h"

namespace {

// Parentheses nested deeper than this end the text as an error: each level is a recursion of the
// evaluator, and a damaged or hostile text must not run the stack out.
constexpr int kMaxParenDepth = 64;

constexpr std::size_t kNone = std::string::npos;

std::int32_t Parens(std::string_view text, cCharaBase& self, int depth);

// S[from .. to] replaced by the value in decimal.
void Splice(std::string& s, std::size_t from, std::size_t to, std::int32_t value) {
  s.replace(from, to - from + 1, std::to_string(value));
}

// The ")" that closes the "(" just before from, or kNone when the text ends first.
std::size_t FindPartner(const std::string& s, std::size_t from) {
  int depth = 0;
  for (std::size_t j = from; j < s.size(); ++j) {
    if (s[j] == '(') {
      ++depth;
    } else if (s[j] == ')') {
      if (depth == 0) return j;
      --depth;
    }
  }
  return kNone;
}

// The call of function name whose "(" is at open: its arguments are evaluated as they close, empty
// ones skipped. The closing ")" and the value, or kNone after an error.
std::size_t EvalCall(const std::string& s, std::size_t open, std::string_view name, cCharaBase& self, int depth,
                     std::int32_t& value) {
  std::int32_t args[2] = {0, 0};
  int count = 0;
  int nesting = 0;
  std::size_t argStart = open + 1;
  for (std::size_t j = open + 1; j < s.size(); ++j) {
    const char c = s[j];
    if (c == '(') {
      ++nesting;
    } else if (c == ')' && nesting > 0) {
      --nesting;
    } else if (nesting == 0 && (c == ',' || c == ')')) {
      if (j > argStart) {
        const std::int32_t v = Parens(std::string_view(s).substr(argStart, j - argStart), self, depth + 1);
        if (count < 2) args[count] = v;
        ++count;
      }
      argStart = j + 1;
      if (c != ')') continue;
      if (count != 2) {
        ErrMesBox(SJ("関数 %s の引数が不正です！").c_str(), std::string(name).c_str());
        g_CodeError = 1;
        return kNone;
      }
      value = RandomBetween(args[0], args[1]);
      return j;
    }
  }
  ErrMesBox(SJ("関数 %s で\")\"が見つかりません！").c_str(), std::string(name).c_str());
  g_CodeError = 1;
  return kNone;
}

std::int32_t Parens(std::string_view text, cCharaBase& self, int depth) {
  if (depth > kMaxParenDepth) {
    g_CodeError = 1;
    return 0;
  }
  // Values are spliced into a copy of the text; one without parentheses is a statement already.
  if (text.find('(') == std::string_view::npos) return EvalCodeStatement(text, self);
  std::string s(text);
  std::size_t w = 0;
  // The terminating zero counts as a position, which is neither a space nor "(".
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == ' ') {
      w = ++i;
      continue;
    }
    if (s[i] != '(') {
      ++i;
      continue;
    }
    if (i == w) {
      const std::size_t partner = FindPartner(s, i + 1);
      if (partner == kNone) {
        ErrMesBox("%s", SJ("\")\"が見つかりません！").c_str());
        g_CodeError = 1;
        return 0;
      }
      Splice(s, w, partner, Parens(std::string_view(s).substr(i + 1, partner - i - 1), self, depth + 1));
      i = w;
      continue;
    }
    // A "(" inside a word: a call when the word up to its first "(" names a function; otherwise
    // the parenthesis stays in the statement as it is.
    const std::string_view name = std::string_view(s).substr(w, s.find('(', w) - w);
    bool isFunction = false;
    for (const char* f : CodeFunctionNames) isFunction = isFunction || name == f;
    if (!isFunction) {
      ++i;
      continue;
    }
    std::int32_t value = 0;
    const std::size_t close = EvalCall(s, i, name, self, depth, value);
    if (close == kNone) return 0;
    Splice(s, w, close, value);
    i = w;
  }
  return EvalCodeStatement(s, self);
}

}  // namespace

// The text is a C string to its writer: a zero inside it ends it.
std::int32_t EvalCodeParens(const std::string& text, cCharaBase& self) {
  return Parens(std::string_view(text).substr(0, text.find('\0')), self, 0);
}

std::int32_t EvalCode(const std::string& text, cCharaBase& self) {
  g_CodeError = 0;
  const std::int32_t hp = self.m_Hp;
  const std::int32_t sp = self.m_Sp;
  EvalCodeParens(text, self);
  if (g_CodeError != 0) return 0;
  // Only the executing character shows what its own code changed.
  if (self.m_Hp != hp)
    self.StartHPGauge(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(self.m_Hp) - static_cast<std::uint32_t>(hp)));
  if (self.m_Sp != sp)
    self.StartSPGauge(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(self.m_Sp) - static_cast<std::uint32_t>(sp)));
  return 1;
}
