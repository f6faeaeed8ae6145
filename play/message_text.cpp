// The text of message windows: the "#" codes that show variable values, and the window size of a text.
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/display/font.h"
#include "platform/services/text.h"
#include "play/message_window.h"
#include "play/play_scene.h"
#include "project/save_data.h"

namespace {

constexpr std::int32_t kFirstVariable = 1;
constexpr std::int32_t kLastVariable = 255;
// Index digits stop growing here: any longer number is out of range all the same.
constexpr std::int32_t kIndexCap = 100000;
// The margin of a window around its text, each way.
constexpr std::int64_t kTextMargin = 2;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct sTextCode {
  bool common = false;
  bool stage = false;
  bool hasDigits = false;
  std::int32_t index = 0;
  std::int32_t width = 0;
  bool keepZeros = false;
  bool plus = false;
  std::size_t end = 0;  // one past the code's last byte ("." included)
};

// Reads the code whose "#" is at `hash`.
sTextCode ReadCode(const std::string& text, std::size_t hash) {
  sTextCode code;
  bool afterUnderscore = false;
  std::size_t q = hash + 1;
  for (; q < text.size(); ++q) {
    const char c = text[q];
    if (!afterUnderscore) {
      if (c == 'C' || c == 'c') {
        code.common = true;
      } else if (c == 'S' || c == 's') {
        code.stage = true;
      } else if (IsDigit(c)) {
        code.hasDigits = true;
        code.index = std::min(code.index * 10 + (c - '0'), kIndexCap);
      } else if (c == '_') {
        afterUnderscore = true;
      } else {
        break;
      }
    } else if (c == 'Z' || c == 'z') {
      code.keepZeros = true;
    } else if (c == 'P' || c == 'p') {
      code.plus = true;
    } else if (IsDigit(c)) {
      code.width = c - '0';
    } else {
      break;
    }
  }
  if (q < text.size() && text[q] == '.') ++q;
  code.end = q;
  return code;
}

// The variable a code names, through the vectors' bounds checks; false when there is nothing to read
// (no such scope, no digits, an index outside 1 .. 255, or no variables made yet).
bool CodeValue(const sTextCode& code, std::int32_t& value) {
  if (!code.hasDigits || code.index < kFirstVariable || code.index > kLastVariable) return false;
  if (code.common) {
    if (g_SaveData.m_Variables.empty()) return false;
    value = static_cast<std::int32_t>(g_SaveData.m_Variables.At(code.index));
    return true;
  }
  if (!code.stage || g_PlayScene == nullptr || g_PlayScene->m_StageVars.empty()) return false;
  value = g_PlayScene->m_StageVars.At(code.index);
  return true;
}

}  // namespace

void ParseMessageText(std::string& text) {
  std::string number;
  std::size_t p = 0;
  while (p < text.size()) {
    // A "#" inside a double-byte character is part of that character.
    if (IsDoubleByte(text.c_str() + p)) {
      p += 2;
      continue;
    }
    if (text[p] != '#') {
      ++p;
      continue;
    }
    const sTextCode code = ReadCode(text, p);
    std::int32_t value = 0;
    if (!CodeValue(code, value)) {
      ++p;
      continue;
    }
    IntToPaddedString(number, value, code.width, code.keepZeros ? 1 : 0, code.plus ? 1 : 0);
    text.replace(p, code.end - p, number);
    p += number.size();
  }
}

void MeasureMessageText(std::int32_t& width, std::int32_t& height, const std::string& text) {
  // The message font measures under both back-ends, a proportional face too, and walks lines of any
  // length.
  const SIZE size = g_Fonts[1].MeasureText(text.c_str());
  width = static_cast<std::int32_t>(std::min<std::int64_t>(size.cx + kTextMargin, INT32_MAX));
  height = static_cast<std::int32_t>(std::min<std::int64_t>(size.cy + kTextMargin, INT32_MAX));
}
