#pragma once
// The player's key configuration, user_data\KeyConfig.dat: which key or joystick axis or button
// stands for each direction and button. The file is a raw image of exactly 108 bytes, little-endian,
// with no version number, written by the key configuration tool; the game only reads it (its first
// 108 bytes: a longer file is read as far as that).
#include <array>
#include <cstdint>

// The device number of the keyboard; any other number is a joystick (0 the first).
constexpr std::uint32_t kKeyboardDevice = 8;
// Entries 0 to 3 are left, right, up, down; 4 to 11 buttons 1 to 8.
constexpr int kKeyConfigEntries = 12;
constexpr int kKeyConfigEntryLeft = 0;
constexpr int kKeyConfigEntryRight = 1;
constexpr int kKeyConfigEntryUp = 2;
constexpr int kKeyConfigEntryDown = 3;
constexpr int kKeyConfigFirstButton = 4;
constexpr int kKeyConfigFileSize = 108;

struct KeyConfigEntry {
  std::uint32_t m_Device = 0;
  // A virtual-key code on the keyboard; on a joystick an axis code or a button mask (button n is
  // 1 << (n - 1)).
  std::uint16_t m_Code = 0;
  std::uint16_t m_Unused = 0;
};

class cKeyConfig {
 public:
  std::array<KeyConfigEntry, kKeyConfigEntries> m_Entries{};
  std::uint32_t m_EntryCount = 0;  // more than 12 counts as 12
  std::uint32_t m_JoyCount = 0;    // joysticks 0 .. count - 1 are read
  std::uint32_t m_UseConfig = 0;   // 0: the fixed layout, else this one

  // The counts as the poll may use them: no more entries than there are, no more joysticks than
  // can exist.
  int EntryCount() const;
  int JoyCount() const;
};

// Zero until the start-up loads it.
extern cKeyConfig g_KeyConfig;

// Reads the first 108 bytes of the file at path (a game path) over config: 1 when they were read;
// 0, leaving config as it was, when the file cannot be opened or is shorter (a short file is
// reported once to the report log). A joystick count above the 16 joysticks that can exist is read
// as 16.
int LoadKeyConfig(const char* path, cKeyConfig* config);
// Arrows and Z X C V A S D F on the keyboard, joystick 0, the fixed layout.
void SetDefaultKeyConfig(cKeyConfig* config);

// The start-up's part: g_KeyConfig from path or the defaults, then the joystick button masks and
// the key repeat (18, 6) of every element of g_Inputs.
void InitInput(const char* keyConfigPath);
