// System.ini, read byte by byte as the game always read it: a key up to '=', a value up to the first
// blank, tab, '/' or line end, and the file valid only when its last line is "Exit".
#include "shell/system_ini.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "platform/host/game_files.h"
#include "platform/services/text.h"
#include "project/system_data.h"

SystemIni g_SystemIni;

namespace {

// Lines read at most; a file this long is taken as read.
constexpr int kMaxLines = 10000;
// Key and value each have a 2048-byte buffer: 2047 bytes of text and the NUL.
constexpr std::size_t kPartBufferText = 2047;

constexpr const char* kExitKey = "Exit";

// Fields 0-4 of SystemIni by key position.
constexpr std::int32_t SystemIni::*kNumberFields[] = {
    &SystemIni::Direct3D, &SystemIni::WindowMode, &SystemIni::Bpp, &SystemIni::VSync, &SystemIni::ShowFps,
};
constexpr int kNumberFieldCount = static_cast<int>(std::size(kNumberFields));
constexpr int kFreeStageKey = 5;

// One part (key or value) as it is gathered: bytes beyond the buffer are consumed but not stored,
// and a part that overflowed says so.
struct sPart {
  std::string text;
  bool overflowed = false;

  void Clear() {
    text.clear();
    overflowed = false;
  }
  void Append(char c) {
    if (text.size() < kPartBufferText)
      text.push_back(c);
    else
      overflowed = true;
  }
};

// The decimal value the game's conversion gives: blanks the value cannot hold skipped, an optional
// sign, the leading digits; no digits give 0, and a value beyond the 32-bit range stops at its end.
std::int32_t DecimalValue(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == '\v' || text[i] == '\f')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, kLimit - 1));
}

// The position of key in keys (exact, case-sensitive, the first that matches), or -1.
int KeyPosition(const sPart& key, const SystemIniKeys& keys) {
  if (key.overflowed) return -1;  // a key longer than its buffer names nothing
  for (std::size_t k = 0; k < keys.size(); ++k)
    if (keys[k].m_IniName == key.text) return static_cast<int>(k);
  return -1;
}

void ApplyValue(SystemIni& ini, int k, const sPart& value) {
  if (k < 0) return;
  if (k < kNumberFieldCount) {
    ini.*kNumberFields[k] = DecimalValue(value.text);
  } else if (k == kFreeStageKey) {
    // A one-byte name is taken for a stray character, and a name that does not fit the field is
    // refused whole rather than cut into the name of some other file.
    if (!value.overflowed && value.text.size() > 1 && value.text.size() <= kFreeStageMax) ini.FreeStage = value.text;
  }
}

enum class KeyEnd { Value, Ignored, Valid, Invalid };

// Reads one key part. Value: '=' was met; Ignored: a line without '='; Valid: "Exit" or a NUL byte
// ended the file as it should; Invalid: the file ended first.
KeyEnd ReadKey(std::FILE* file, sPart& key) {
  key.Clear();
  for (;;) {
    const int c = std::fgetc(file);
    if (c == EOF) return KeyEnd::Invalid;
    switch (c) {
      case '=':
        return KeyEnd::Value;
      case '\0':
        return KeyEnd::Valid;
      case '\n':
        return !key.overflowed && key.text == kExitKey ? KeyEnd::Valid : KeyEnd::Ignored;
      case '\r':
      case ' ':
      case '\t':
        break;  // dropped wherever they stand, so "Win dow Mode" is WindowMode
      default:
        key.Append(static_cast<char>(c));
        break;
    }
  }
}

// Reads one value part up to and including the byte that ends it. The end of the file ends it too;
// the next key part then finds the file ended.
void ReadValue(std::FILE* file, sPart& value) {
  value.Clear();
  for (;;) {
    const int c = std::fgetc(file);
    if (c == EOF || c == ' ' || c == '\t' || c == '/' || c == '\r' || c == '\n' || c == '\0') return;
    value.Append(static_cast<char>(c));
  }
}

}  // namespace

std::string CutToBytes(const std::string& text, std::size_t max) {
  if (text.size() <= max) return text;
  std::size_t end = 0;
  while (end < max) {
    const std::size_t step = IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + step > max) break;
    end += step;
  }
  return text.substr(0, end);
}

void SetSystemIniDefaults(SystemIni& ini, const SystemIniKeys& keys) {
  ini = SystemIni{};
  for (int k = 0; k < kNumberFieldCount && k < static_cast<int>(keys.size()); ++k)
    ini.*kNumberFields[k] = keys[static_cast<std::size_t>(k)].m_IntValue;
  if (keys.size() > static_cast<std::size_t>(kFreeStageKey))
    ini.FreeStage = CutToBytes(keys[kFreeStageKey].m_StringValue, kFreeStageMax);
}

std::int32_t ReadSystemIni(const char* path, SystemIni& ini, const SystemIniKeys& keys) {
  GameFile file = OpenGameFile(path ? path : "", "rb");
  if (!file) return 0;
  sPart key;
  sPart value;
  for (int line = 0; line < kMaxLines; ++line) {
    switch (ReadKey(file.get(), key)) {
      case KeyEnd::Valid:
        return 1;
      case KeyEnd::Invalid:
        return 0;
      case KeyEnd::Ignored:
        continue;
      case KeyEnd::Value:
        break;
    }
    ReadValue(file.get(), value);
    ApplyValue(ini, KeyPosition(key, keys), value);
  }
  return 1;
}
