#pragma once
// One player's input: four direction bits, eight button bits and a keypad-style direction digit,
// refreshed once per frame from the keyboard and the joysticks, with run-length histories of the
// last inputs, the menus' key repeat and a one-shot filter for buttons.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/host/input_devices.h"
#include "platform/services/checked.h"

// Direction bits.
constexpr std::uint16_t kDirLeft = 1;
constexpr std::uint16_t kDirRight = 2;
constexpr std::uint16_t kDirUp = 4;
constexpr std::uint16_t kDirDown = 8;
// Button n (1 to 8) is bit n - 1.
constexpr int kButtonCount = 8;

// Joystick axis codes of the key configuration.
constexpr std::uint16_t kJoyXLow = 256;
constexpr std::uint16_t kJoyXHigh = 512;
constexpr std::uint16_t kJoyYLow = 1024;
constexpr std::uint16_t kJoyYHigh = 2048;
// An axis at or below the low mark points left or up, at or above the high mark right or down.
constexpr std::uint32_t kJoyAxisLow = 10000;
constexpr std::uint32_t kJoyAxisHigh = 55535;

// Poll's device bits.
constexpr int kPollJoystick = 1;
constexpr int kPollKeyboard = 2;

// What the frame loop passes: joystick 0, both devices, 60 polls before a missing joystick is
// tried again.
constexpr int kPollRetryFrames = 60;

// One run of a per-key history: the key condition's state (0 or 1) and how many pushes in a row
// had it.
struct Elem8 {
  std::uint32_t state = 0;
  std::uint32_t count = 0;
  bool operator==(const Elem8&) const = default;
};
static_assert(sizeof(Elem8) == 8);

// A per-key history: exactly kKeyRunCount runs, the newest at index 0.
using Elem16 = CheckedVector<Elem8>;
constexpr int kKeyRunCount = 32;
constexpr int kDirKeyLists = 10;
constexpr int kButtonKeyLists = 9;

// One run of a word history: a value and the number of consecutive pushes that had it.
struct InputRun {
  std::uint16_t value = 0;
  std::uint32_t count = 0;
};
constexpr int kInputRunCount = 32;

// Counts stop here instead of wrapping.
constexpr std::uint32_t kRunCountLimit = 0x7FFFFFFF;

class cInput {
 public:
  cInput();

  // The fixed layout: joystick joystickId (devices bit 0) and the arrows with Z X C V A S D F
  // (devices bit 1). 0, and nothing changes, while the key configuration's layout is in use.
  int Poll(int joystickId, int devices, int retryFrames);
  // The layout of g_KeyConfig; 0, and nothing changes, while it is not in use. Only one player's
  // layout exists.
  int PollConfigured(int players, int retryFrames);
  // Joystick button n + 1 is read from button bit n.
  void SetButtonMasks();

  void ClearDirection();
  void ClearButtons();

  // The word histories: ring 0 the direction word, ring 1 the button word.
  void ClearHistory();
  void PushHistory();
  // The word that ring which held framesAgo pushes ago (0 is the newest); 0 for a ring that is not
  // there.
  std::uint16_t GetPast(int which, int framesAgo) const;

  // The per-key histories of the event scripts' key conditions.
  void InitKeyHistories();
  void PushKeyHistories();
  // The history of key slot 0..18 (0..9 the direction lists, 10..18 the button lists); null for a
  // slot outside them or a history that was never made.
  const Elem16* KeyRuns(int slot) const;

  // The menus' direction repeat: a held direction passes on the frame of the press, then after delay
  // frames and every interval frames after that. An interval of 0 is taken as 1.
  void SetRepeat(std::uint32_t delay, std::uint32_t interval);
  void AutoRepeat();
  // Lets the masked buttons (0: all eight) through on the first frame one of them is down, then
  // holds them all back until every one has been released.
  void TriggerButtons(std::uint16_t mask);

  std::uint16_t m_Direction = 0;
  std::uint16_t m_Buttons = 0;
  std::uint16_t m_RepeatHistory = 0;  // the last four words AutoRepeat saw, newest in bits 0-3
  std::array<std::array<InputRun, kInputRunCount>, 2> m_Runs{};
  std::array<std::int32_t, 2> m_RunHead{};
  CheckedVector<Elem16> m_DirKeyRuns;
  CheckedVector<Elem16> m_ButtonKeyRuns;
  std::int32_t m_Digit = 0;
  std::uint32_t m_RepeatCountX = 0;
  std::uint32_t m_RepeatCountY = 0;
  std::uint32_t m_RepeatDelay = 0;
  std::uint32_t m_RepeatInterval = 0;
  std::int32_t m_TriggerLatch = 0;
  std::array<std::uint16_t, kButtonCount> m_JoyButtonMasks{};
  // Poll's joystick: read successfully last time, and polls left before a failed one is read again.
  std::int32_t m_JoyReady = 0;
  std::int32_t m_JoyRetry = 0;
  // The same for each joystick of the configured layout, so that one missing joystick does not keep
  // the others from being read.
  std::array<std::int32_t, kMaxJoysticks> m_ConfigJoyReady{};
  std::array<std::int32_t, kMaxJoysticks> m_ConfigJoyRetry{};
};

// Every player's input; one element, player 1.
extern std::vector<cInput> g_Inputs;

// 1 when the reading satisfies the axis code (kJoyXLow ...), else 0, also for any other code.
int JoyAxisTest(const JOYINFOEX* info, std::uint16_t code);
// The digit of the direction word, left before right and up before down.
int DirectionDigit(const cInput* input);
// One step of one per-key history: the condition is (word & mask) != 0 with anyBit, else
// word == mask.
void PushKeyHistory(Elem16& list, std::uint16_t word, std::uint16_t mask, int anyBit);
