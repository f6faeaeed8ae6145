// Reading the keyboard and the joysticks into the input words, once per frame. Nothing here
// allocates: the frame loop calls it every frame.
#include <algorithm>
#include <limits>

#include "platform/input/input.h"
#include "platform/input/key_config.h"

namespace {

// The fixed layout's keys for buttons 1 to 8.
constexpr std::array<int, kButtonCount> kFixedButtonKeys = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};

struct sDirectionKey {
  int virtualKey;
  std::uint16_t bit;
  int digitStep;
};

// The fixed layout's arrows; left and right together cancel in the digit, as up and down do.
constexpr std::array<sDirectionKey, 4> kFixedDirectionKeys = {{
    {VK_LEFT, kDirLeft, -1},
    {VK_RIGHT, kDirRight, +1},
    {VK_UP, kDirUp, -3},
    {VK_DOWN, kDirDown, +3},
}};

bool KeyIsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// How many polls a failed joystick is left alone: twice the retry frames.
std::int32_t RetryPolls(int retryFrames) {
  std::int64_t polls = 2 * static_cast<std::int64_t>(std::max(retryFrames, 0));
  return static_cast<std::int32_t>(std::min<std::int64_t>(polls, std::numeric_limits<std::int32_t>::max()));
}

// Reads joystick id unless a failure keeps it waiting; true with info filled when it was read.
bool ReadJoystick(std::uint32_t id, JOYINFOEX* info, std::int32_t* ready, std::int32_t* retry, int retryFrames) {
  if (*ready == 0 && *retry > 0) {
    --*retry;
    return false;
  }
  *info = JOYINFOEX{};
  info->dwSize = sizeof(JOYINFOEX);
  info->dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
  if (joyGetPosEx(id, info) != JOYERR_NOERROR) {
    *ready = 0;
    *retry = RetryPolls(retryFrames);
    return false;
  }
  *ready = 1;
  return true;
}

}  // namespace

int JoyAxisTest(const JOYINFOEX* info, std::uint16_t code) {
  switch (code) {
    case kJoyXLow:
      return info->dwXpos <= kJoyAxisLow ? 1 : 0;
    case kJoyXHigh:
      return info->dwXpos >= kJoyAxisHigh ? 1 : 0;
    case kJoyYLow:
      return info->dwYpos <= kJoyAxisLow ? 1 : 0;
    case kJoyYHigh:
      return info->dwYpos >= kJoyAxisHigh ? 1 : 0;
    default:
      return 0;
  }
}

int DirectionDigit(const cInput* input) {
  int digit = (input->m_Direction & kDirLeft) ? 4 : (input->m_Direction & kDirRight) ? 6 : 5;
  if (input->m_Direction & kDirUp) {
    digit -= 3;
  } else if (input->m_Direction & kDirDown) {
    digit += 3;
  }
  return digit;
}

void cInput::SetButtonMasks() {
  for (int n = 0; n < kButtonCount; ++n)
    m_JoyButtonMasks[static_cast<std::size_t>(n)] = static_cast<std::uint16_t>(1u << n);
}

int cInput::Poll(int joystickId, int devices, int retryFrames) {
  if (g_KeyConfig.m_UseConfig != 0) return 0;

  bool joyDirection = false;
  bool joyButtons = false;
  JOYINFOEX info;
  if (ReadJoystick(static_cast<std::uint32_t>(joystickId), &info, &m_JoyReady, &m_JoyRetry, retryFrames) &&
      (devices & kPollJoystick)) {
    m_Digit = 5;
    m_Direction = 0;
    if (JoyAxisTest(&info, kJoyXLow)) {
      m_Digit = 4;
      m_Direction |= kDirLeft;
    } else if (JoyAxisTest(&info, kJoyXHigh)) {
      m_Digit = 6;
      m_Direction |= kDirRight;
    }
    if (JoyAxisTest(&info, kJoyYLow)) {
      m_Digit -= 3;
      m_Direction |= kDirUp;
    } else if (JoyAxisTest(&info, kJoyYHigh)) {
      m_Digit += 3;
      m_Direction |= kDirDown;
    }
    joyDirection = m_Digit != 5;
    m_Buttons = 0;
    for (int n = 0; n < kButtonCount; ++n) {
      if (info.dwButtons & m_JoyButtonMasks[static_cast<std::size_t>(n)])
        m_Buttons |= static_cast<std::uint16_t>(1u << n);
    }
    joyButtons = m_Buttons != 0;
  }

  if (devices & kPollKeyboard) {
    if (!joyDirection) {
      m_Digit = 5;
      m_Direction = 0;
      for (const sDirectionKey& key : kFixedDirectionKeys) {
        if (!KeyIsDown(key.virtualKey)) continue;
        m_Digit += key.digitStep;
        m_Direction |= key.bit;
      }
    }
    if (!joyButtons) {
      m_Buttons = 0;
      for (int n = 0; n < kButtonCount; ++n) {
        if (KeyIsDown(kFixedButtonKeys[static_cast<std::size_t>(n)])) m_Buttons |= static_cast<std::uint16_t>(1u << n);
      }
    }
  }
  return 1;
}

int cInput::PollConfigured([[maybe_unused]] int players, int retryFrames) {
  const cKeyConfig& config = g_KeyConfig;
  if (config.m_UseConfig == 0) return 0;

  const int joyCount = config.JoyCount();
  std::array<JOYINFOEX, kMaxJoysticks> readings;
  std::array<bool, kMaxJoysticks> read{};
  for (int j = 0; j < joyCount; ++j) {
    auto slot = static_cast<std::size_t>(j);
    read[slot] = ReadJoystick(static_cast<std::uint32_t>(j), &readings[slot], &m_ConfigJoyReady[slot],
                              &m_ConfigJoyRetry[slot], retryFrames);
  }

  auto entryDown = [&](int index, bool direction) {
    const KeyConfigEntry& entry = config.m_Entries[static_cast<std::size_t>(index)];
    if (entry.m_Device == kKeyboardDevice) return KeyIsDown(entry.m_Code);
    if (entry.m_Device >= static_cast<std::uint32_t>(joyCount) || !read[entry.m_Device]) return false;
    const JOYINFOEX& reading = readings[entry.m_Device];
    return (direction && JoyAxisTest(&reading, entry.m_Code)) || (entry.m_Code & reading.dwButtons) != 0;
  };

  m_Digit = 5;
  m_Direction = 0;
  m_Buttons = 0;
  if (entryDown(kKeyConfigEntryLeft, true)) {
    m_Digit -= 1;
    m_Direction |= kDirLeft;
  } else if (entryDown(kKeyConfigEntryRight, true)) {
    m_Digit += 1;
    m_Direction |= kDirRight;
  }
  if (entryDown(kKeyConfigEntryUp, true)) {
    m_Digit -= 3;
    m_Direction |= kDirUp;
  } else if (entryDown(kKeyConfigEntryDown, true)) {
    m_Digit += 3;
    m_Direction |= kDirDown;
  }
  for (int k = 0; k + kKeyConfigFirstButton < config.EntryCount(); ++k) {
    if (entryDown(kKeyConfigFirstButton + k, false)) m_Buttons |= static_cast<std::uint16_t>(1u << k);
  }
  return 1;
}
