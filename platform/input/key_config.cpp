// The key configuration file and the defaults.
#include "platform/input/key_config.h"

#include <algorithm>

#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "platform/input/input.h"
#include "platform/services/log.h"

cKeyConfig g_KeyConfig;

namespace {

// The fixed layout, entry by entry.
constexpr std::array<std::uint16_t, kKeyConfigEntries> kDefaultKeys = {
    VK_LEFT,   // left
    VK_RIGHT,  // right
    VK_UP,     // up
    VK_DOWN,   // down
    'Z',       // button 1
    'X',       // button 2
    'C',       // button 3
    'V',       // button 4
    'A',       // button 5
    'S',       // button 6
    'D',       // button 7
    'F',       // button 8
};

std::uint32_t U32At(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t U16At(const unsigned char* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }

constexpr int kEntrySize = 8;
constexpr int kEntryCountOffset = 96;
constexpr int kJoyCountOffset = 100;
constexpr int kUseConfigOffset = 104;

}  // namespace

int cKeyConfig::EntryCount() const {
  return static_cast<int>(std::min<std::uint32_t>(m_EntryCount, kKeyConfigEntries));
}

int cKeyConfig::JoyCount() const { return static_cast<int>(std::min<std::uint32_t>(m_JoyCount, kMaxJoysticks)); }

int LoadKeyConfig(const char* path, cKeyConfig* config) {
  GameFile file = OpenGameFile(path, "rb");
  if (!file) return 0;
  // The image is the file's first 108 bytes; whatever follows is not read. A shorter file was cut
  // off: half of it over the defaults would mix two layouts, so it is reported and not used.
  std::array<unsigned char, kKeyConfigFileSize> bytes{};
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (got != bytes.size()) {
    ReportLog(SJ("%s が破損しています！").c_str(), path);
    return 0;
  }

  for (int i = 0; i < kKeyConfigEntries; ++i) {
    const unsigned char* entry = bytes.data() + i * kEntrySize;
    KeyConfigEntry& out = config->m_Entries[static_cast<std::size_t>(i)];
    out.m_Device = U32At(entry);
    out.m_Code = U16At(entry + 4);
    out.m_Unused = U16At(entry + 6);
  }
  config->m_EntryCount = U32At(bytes.data() + kEntryCountOffset);
  config->m_JoyCount = std::min<std::uint32_t>(U32At(bytes.data() + kJoyCountOffset), kMaxJoysticks);
  config->m_UseConfig = U32At(bytes.data() + kUseConfigOffset);
  return 1;
}

void SetDefaultKeyConfig(cKeyConfig* config) {
  for (int i = 0; i < kKeyConfigEntries; ++i) {
    KeyConfigEntry& entry = config->m_Entries[static_cast<std::size_t>(i)];
    entry.m_Device = kKeyboardDevice;
    entry.m_Code = kDefaultKeys[static_cast<std::size_t>(i)];
  }
  config->m_EntryCount = kKeyConfigEntries;
  config->m_JoyCount = 1;
  config->m_UseConfig = 0;
}

void InitInput(const char* keyConfigPath) {
  if (!LoadKeyConfig(keyConfigPath, &g_KeyConfig)) SetDefaultKeyConfig(&g_KeyConfig);
  for (cInput& input : g_Inputs) {
    input.SetButtonMasks();
    input.SetRepeat(18, 6);
  }
}
