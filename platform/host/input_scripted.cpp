// Keys and joysticks set by hand or by an input script.
#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/host/input_devices.h"

namespace {

struct sKeyName {
  std::string_view name;
  int virtualKey;
};

// Names of the keys that are not a letter, a digit or F1 to F24.
constexpr sKeyName kKeyNames[] = {
    {"BACK", VK_BACK},
    {"BACKSPACE", VK_BACK},
    {"TAB", VK_TAB},
    {"RETURN", VK_RETURN},
    {"ENTER", VK_RETURN},
    {"SHIFT", VK_SHIFT},
    {"CONTROL", VK_CONTROL},
    {"CTRL", VK_CONTROL},
    {"MENU", VK_MENU},
    {"ALT", VK_MENU},
    {"PAUSE", 0x13},
    {"ESCAPE", VK_ESCAPE},
    {"ESC", VK_ESCAPE},
    {"SPACE", VK_SPACE},
    {"PRIOR", 0x21},
    {"PAGEUP", 0x21},
    {"NEXT", 0x22},
    {"PAGEDOWN", 0x22},
    {"END", 0x23},
    {"HOME", 0x24},
    {"LEFT", VK_LEFT},
    {"UP", VK_UP},
    {"RIGHT", VK_RIGHT},
    {"DOWN", VK_DOWN},
    {"INSERT", 0x2D},
    {"DELETE", 0x2E},
    {"LSHIFT", VK_LSHIFT},
    {"RSHIFT", VK_RSHIFT},
    {"LCONTROL", VK_LCONTROL},
    {"RCONTROL", VK_RCONTROL},
    {"LMENU", VK_LMENU},
    {"RMENU", VK_RMENU},
};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// A decimal or 0x-hexadecimal number that fills the whole text.
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "joyN=X,Y,BUTTONS".
bool ParseJoystick(std::string_view token, int* id, JoystickPosition* position) {
  if (token.size() < 4 || !SameName(token.substr(0, 3), "joy")) return false;
  std::size_t equals = token.find('=');
  if (equals == std::string_view::npos) return false;
  std::optional<std::uint32_t> number = ParseNumber(token.substr(3, equals - 3));
  if (!number || *number >= static_cast<std::uint32_t>(kMaxJoysticks)) return false;
  std::array<std::uint32_t, 3> values{};
  std::string_view rest = token.substr(equals + 1);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::size_t comma = rest.find(',');
    if ((i + 1 < values.size()) == (comma == std::string_view::npos)) return false;
    std::optional<std::uint32_t> value = ParseNumber(rest.substr(0, comma));
    if (!value) return false;
    values[i] = *value;
    if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
  }
  if (values[0] > 0xFFFF || values[1] > 0xFFFF) return false;
  *id = static_cast<int>(*number);
  *position = JoystickPosition{};
  position->axes[0] = values[0];
  position->axes[1] = values[1];
  position->buttons = values[2];
  return true;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

}  // namespace

int VirtualKeyFromName(std::string_view name) {
  for (const sKeyName& row : kKeyNames) {
    if (SameName(name, row.name)) return row.virtualKey;
  }
  if (name.size() == 1) {
    char c = Upper(name[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  }
  if (name.size() >= 2 && Upper(name[0]) == 'F' && name[1] != '0') {
    std::optional<std::uint32_t> n = ParseNumber(name.substr(1));
    if (n && *n >= 1 && *n <= 24 && name.substr(1).find_first_not_of("0123456789") == std::string_view::npos) {
      return VK_F1 + static_cast<int>(*n) - 1;
    }
  }
  std::optional<std::uint32_t> code = ParseNumber(name);
  if (code && *code >= 1 && *code < static_cast<std::uint32_t>(kVirtualKeyCount)) return static_cast<int>(*code);
  return 0;
}

bool cScriptedInputSource::KeyDown(int virtualKey) const {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  return m_Keys[static_cast<std::size_t>(virtualKey)].load(std::memory_order_relaxed);
}

std::optional<JoystickPosition> cScriptedInputSource::Joystick(int id) const {
  if (id < 0 || id >= kMaxJoysticks) return std::nullopt;
  m_Reads[static_cast<std::size_t>(id)].fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(m_JoyLock);
  return m_Joysticks[static_cast<std::size_t>(id)];
}

void cScriptedInputSource::SetKey(int virtualKey, bool down) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return;
  m_Keys[static_cast<std::size_t>(virtualKey)].store(down, std::memory_order_relaxed);
}

void cScriptedInputSource::ReleaseKeys() {
  for (auto& key : m_Keys) key.store(false, std::memory_order_relaxed);
}

void cScriptedInputSource::SetJoystick(int id, const JoystickPosition& position) {
  if (id < 0 || id >= kMaxJoysticks) return;
  std::lock_guard lock(m_JoyLock);
  m_Joysticks[static_cast<std::size_t>(id)] = position;
}

void cScriptedInputSource::UnplugJoystick(int id) {
  if (id < 0 || id >= kMaxJoysticks) return;
  std::lock_guard lock(m_JoyLock);
  m_Joysticks[static_cast<std::size_t>(id)].reset();
}

std::uint32_t cScriptedInputSource::JoystickReads(int id) const {
  if (id < 0 || id >= kMaxJoysticks) return 0;
  return m_Reads[static_cast<std::size_t>(id)].load(std::memory_order_relaxed);
}

void cScriptedInputSource::ResetJoystickReads() {
  for (auto& reads : m_Reads) reads.store(0, std::memory_order_relaxed);
}

bool cScriptedInputSource::LoadScript(std::string_view text, std::string* error) {
  std::vector<ScriptLine> script;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };
  while (!text.empty()) {
    ++lineNumber;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> tokens = Tokens(line);
    if (tokens.empty()) continue;
    std::optional<std::uint32_t> frame = ParseNumber(tokens[0]);
    if (!frame) return fail("a line begins with its frame number, not \"" + std::string(tokens[0]) + "\"");
    if (!script.empty() && *frame <= script.back().frame) return fail("frames must rise");
    ScriptLine entry;
    entry.frame = *frame;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
      int id = 0;
      JoystickPosition position;
      if (ParseJoystick(tokens[i], &id, &position)) {
        entry.joysticks.emplace_back(id, position);
      } else if (int key = VirtualKeyFromName(tokens[i]); key != 0) {
        entry.keys.push_back(static_cast<std::uint8_t>(key));
      } else {
        return fail("unknown key or joystick \"" + std::string(tokens[i]) + "\"");
      }
    }
    script.push_back(std::move(entry));
  }
  m_Script = std::move(script);
  return true;
}

bool cScriptedInputSource::LoadScriptFile(const std::filesystem::path& file, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + file.string();
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return LoadScript(text.str(), error);
}

void cScriptedInputSource::ApplyFrame(std::uint32_t frame) {
  auto after = std::upper_bound(m_Script.begin(), m_Script.end(), frame,
                                [](std::uint32_t f, const ScriptLine& line) { return f < line.frame; });
  // The new state is made whole before it is stored, so a reader never sees a key let go between two
  // lines that both hold it.
  std::array<bool, kVirtualKeyCount> keys{};
  std::array<std::optional<JoystickPosition>, kMaxJoysticks> joysticks;
  if (after != m_Script.begin()) {
    const ScriptLine& line = *std::prev(after);
    for (std::uint8_t key : line.keys) keys[key] = true;
    for (const auto& [id, position] : line.joysticks) joysticks[static_cast<std::size_t>(id)] = position;
  }
  for (std::size_t i = 0; i < keys.size(); ++i) m_Keys[i].store(keys[i], std::memory_order_relaxed);
  std::lock_guard lock(m_JoyLock);
  m_Joysticks = joysticks;
}
