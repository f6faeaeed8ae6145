// The keyboard and joysticks through SDL's events, kept for the game thread's reads.
#include <SDL.h>

#include "platform/host/input_devices.h"

namespace {

struct sScancodeKey {
  SDL_Scancode scancode;
  std::uint8_t virtualKey;
};

// One row per key position. Letters, digits, arrows and the function keys carry the same code on
// every keyboard; the punctuation keys carry the codes that the Japanese keyboard has in that
// place, since the key configurations of the games were made on such keyboards.
constexpr sScancodeKey kScancodeKeys[] = {
    {SDL_SCANCODE_A, 'A'},
    {SDL_SCANCODE_B, 'B'},
    {SDL_SCANCODE_C, 'C'},
    {SDL_SCANCODE_D, 'D'},
    {SDL_SCANCODE_E, 'E'},
    {SDL_SCANCODE_F, 'F'},
    {SDL_SCANCODE_G, 'G'},
    {SDL_SCANCODE_H, 'H'},
    {SDL_SCANCODE_I, 'I'},
    {SDL_SCANCODE_J, 'J'},
    {SDL_SCANCODE_K, 'K'},
    {SDL_SCANCODE_L, 'L'},
    {SDL_SCANCODE_M, 'M'},
    {SDL_SCANCODE_N, 'N'},
    {SDL_SCANCODE_O, 'O'},
    {SDL_SCANCODE_P, 'P'},
    {SDL_SCANCODE_Q, 'Q'},
    {SDL_SCANCODE_R, 'R'},
    {SDL_SCANCODE_S, 'S'},
    {SDL_SCANCODE_T, 'T'},
    {SDL_SCANCODE_U, 'U'},
    {SDL_SCANCODE_V, 'V'},
    {SDL_SCANCODE_W, 'W'},
    {SDL_SCANCODE_X, 'X'},
    {SDL_SCANCODE_Y, 'Y'},
    {SDL_SCANCODE_Z, 'Z'},
    {SDL_SCANCODE_1, '1'},
    {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},
    {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},
    {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},
    {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, 0xBD},         // - =
    {SDL_SCANCODE_EQUALS, 0xDE},        // ^ ~
    {SDL_SCANCODE_LEFTBRACKET, 0xC0},   // @ `
    {SDL_SCANCODE_RIGHTBRACKET, 0xDB},  // [ {
    {SDL_SCANCODE_BACKSLASH, 0xDD},     // ] }
    {SDL_SCANCODE_NONUSHASH, 0xDD},     // ] } where the keyboard reports it so
    {SDL_SCANCODE_SEMICOLON, 0xBB},     // ; +
    {SDL_SCANCODE_APOSTROPHE, 0xBA},    // : *
    {SDL_SCANCODE_GRAVE, 0xF3},         // hankaku/zenkaku
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_F1, 0x70},
    {SDL_SCANCODE_F2, 0x71},
    {SDL_SCANCODE_F3, 0x72},
    {SDL_SCANCODE_F4, 0x73},
    {SDL_SCANCODE_F5, 0x74},
    {SDL_SCANCODE_F6, 0x75},
    {SDL_SCANCODE_F7, 0x76},
    {SDL_SCANCODE_F8, 0x77},
    {SDL_SCANCODE_F9, 0x78},
    {SDL_SCANCODE_F10, 0x79},
    {SDL_SCANCODE_F11, 0x7A},
    {SDL_SCANCODE_F12, 0x7B},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_1, 0x61},
    {SDL_SCANCODE_KP_2, 0x62},
    {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64},
    {SDL_SCANCODE_KP_5, 0x65},
    {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67},
    {SDL_SCANCODE_KP_8, 0x68},
    {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_F13, 0x7C},
    {SDL_SCANCODE_F14, 0x7D},
    {SDL_SCANCODE_F15, 0x7E},
    {SDL_SCANCODE_F16, 0x7F},
    {SDL_SCANCODE_F17, 0x80},
    {SDL_SCANCODE_F18, 0x81},
    {SDL_SCANCODE_F19, 0x82},
    {SDL_SCANCODE_F20, 0x83},
    {SDL_SCANCODE_F21, 0x84},
    {SDL_SCANCODE_F22, 0x85},
    {SDL_SCANCODE_F23, 0x86},
    {SDL_SCANCODE_F24, 0x87},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},  // \ _ (ro)
    {SDL_SCANCODE_INTERNATIONAL2, 0xF2},  // katakana/hiragana
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},  // yen |
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},  // henkan
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},  // muhenkan
    {SDL_SCANCODE_LCTRL, VK_LCONTROL},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    {SDL_SCANCODE_LALT, VK_LMENU},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT},
    {SDL_SCANCODE_RALT, VK_RMENU},
    {SDL_SCANCODE_RGUI, 0x5C},
};

constexpr std::array<std::uint8_t, SDL_NUM_SCANCODES> kVirtualKeyOfScancode = [] {
  std::array<std::uint8_t, SDL_NUM_SCANCODES> table{};
  for (const sScancodeKey& row : kScancodeKeys) table[row.scancode] = row.virtualKey;
  return table;
}();

// The code that stands for either side of a modifier, or 0.
int GenericKey(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return 0;
  }
}

struct sHatAngle {
  std::uint8_t hat;
  std::uint32_t pov;
};

constexpr sHatAngle kHatAngles[] = {
    {SDL_HAT_UP, 0},       {SDL_HAT_RIGHTUP, 4500},   {SDL_HAT_RIGHT, 9000}, {SDL_HAT_RIGHTDOWN, 13500},
    {SDL_HAT_DOWN, 18000}, {SDL_HAT_LEFTDOWN, 22500}, {SDL_HAT_LEFT, 27000}, {SDL_HAT_LEFTUP, 31500},
};

std::uint32_t PovOfHat(std::uint8_t hat) {
  for (const sHatAngle& row : kHatAngles) {
    if (row.hat == hat) return row.pov;
  }
  return JOY_POVCENTERED;
}

// SDL's axes run -32768..32767; the game's 0..65535 with the rest at 32768.
std::uint32_t AxisPosition(Sint16 value) {
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(value) + 32768);
}

constexpr std::size_t kAxisCount = std::tuple_size_v<decltype(JoystickPosition::axes)>;
constexpr int kButtonBits = 32;

}  // namespace

int VirtualKeyForScancode(int scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return kVirtualKeyOfScancode[static_cast<std::size_t>(scancode)];
}

static_assert(SDL_NUM_SCANCODES <= 512, "m_ScancodeDown holds one flag per scancode");

cSdlInputSource::cSdlInputSource() = default;

bool cSdlInputSource::KeyDown(int virtualKey) const {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  return m_KeyHolds[static_cast<std::size_t>(virtualKey)].load(std::memory_order_relaxed) != 0;
}

std::optional<JoystickPosition> cSdlInputSource::Joystick(int id) const {
  if (id < 0 || id >= kMaxJoysticks) return std::nullopt;
  std::lock_guard lock(m_JoyLock);
  const sJoystickSlot& slot = m_Slots[static_cast<std::size_t>(id)];
  if (!slot.device) return std::nullopt;
  return slot.position;
}

bool cSdlInputSource::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      KeyChange(event.key.keysym.scancode, event.type == SDL_KEYDOWN);
      return true;
    case SDL_WINDOWEVENT:
      if (event.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
      LoseFocus();
      return true;
    case SDL_JOYDEVICEADDED:
      AddJoystick(event.jdevice.which);
      return true;
    case SDL_JOYDEVICEREMOVED:
      RemoveJoystick(event.jdevice.which);
      return true;
    case SDL_JOYAXISMOTION: {
      std::lock_guard lock(m_JoyLock);
      sJoystickSlot* slot = FindJoystick(event.jaxis.which);
      if (slot && event.jaxis.axis < kAxisCount)
        slot->position.axes[event.jaxis.axis] = AxisPosition(event.jaxis.value);
      return true;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
      std::lock_guard lock(m_JoyLock);
      sJoystickSlot* slot = FindJoystick(event.jbutton.which);
      if (slot && event.jbutton.button < kButtonBits) {
        std::uint32_t bit = 1u << event.jbutton.button;
        if (event.jbutton.state == SDL_PRESSED) {
          slot->position.buttons |= bit;
        } else {
          slot->position.buttons &= ~bit;
        }
      }
      return true;
    }
    case SDL_JOYHATMOTION: {
      std::lock_guard lock(m_JoyLock);
      sJoystickSlot* slot = FindJoystick(event.jhat.which);
      if (slot && event.jhat.hat == 0) slot->position.pov = PovOfHat(event.jhat.value);
      return true;
    }
    default:
      return false;
  }
}

void cSdlInputSource::KeyChange(int scancode, bool down) {
  if (scancode < 0 || scancode >= static_cast<int>(m_ScancodeDown.size())) return;
  // Key repeats arrive as more presses, and a key held before the window had the focus is released
  // without a press: only real changes count.
  bool& held = m_ScancodeDown[static_cast<std::size_t>(scancode)];
  if (held == down) return;
  int virtualKey = VirtualKeyForScancode(scancode);
  if (virtualKey == 0) return;
  held = down;
  for (int key : {virtualKey, GenericKey(virtualKey)}) {
    if (key == 0) continue;
    auto& holds = m_KeyHolds[static_cast<std::size_t>(key)];
    if (down) {
      holds.fetch_add(1, std::memory_order_relaxed);
    } else if (holds.load(std::memory_order_relaxed) > 0) {
      holds.fetch_sub(1, std::memory_order_relaxed);
    }
  }
}

void cSdlInputSource::LoseFocus() {
  m_ScancodeDown.fill(false);
  for (auto& holds : m_KeyHolds) holds.store(0, std::memory_order_relaxed);
}

cSdlInputSource::sJoystickSlot* cSdlInputSource::FindJoystick(std::int32_t instance) {
  for (sJoystickSlot& slot : m_Slots) {
    if (slot.device && slot.instance == instance) return &slot;
  }
  return nullptr;
}

void cSdlInputSource::AddJoystick(int deviceIndex) {
  SDL_Joystick* device = SDL_JoystickOpen(deviceIndex);
  if (!device) return;
  std::int32_t instance = SDL_JoystickInstanceID(device);
  JoystickPosition position;
  int axes = SDL_JoystickNumAxes(device);
  for (int i = 0; i < axes && i < static_cast<int>(kAxisCount); ++i) {
    position.axes[static_cast<std::size_t>(i)] = AxisPosition(SDL_JoystickGetAxis(device, i));
  }
  int buttons = SDL_JoystickNumButtons(device);
  for (int i = 0; i < buttons && i < kButtonBits; ++i) {
    if (SDL_JoystickGetButton(device, i)) position.buttons |= 1u << i;
  }
  if (SDL_JoystickNumHats(device) > 0) position.pov = PovOfHat(SDL_JoystickGetHat(device, 0));

  std::unique_lock lock(m_JoyLock);
  // Opening an open joystick again only counts it twice in SDL: keep the first.
  bool known = FindJoystick(instance) != nullptr;
  sJoystickSlot* free = nullptr;
  for (sJoystickSlot& slot : m_Slots) {
    if (!slot.device) {
      free = &slot;
      break;
    }
  }
  if (known || !free) {
    lock.unlock();
    SDL_JoystickClose(device);
    return;
  }
  free->device = device;
  free->instance = instance;
  free->position = position;
}

void cSdlInputSource::RemoveJoystick(std::int32_t instance) {
  SDL_Joystick* device = nullptr;
  {
    std::lock_guard lock(m_JoyLock);
    sJoystickSlot* slot = FindJoystick(instance);
    if (!slot) return;
    device = slot->device;
    *slot = sJoystickSlot{};
  }
  SDL_JoystickClose(device);
}

void cSdlInputSource::CloseJoysticks() {
  for (sJoystickSlot& slot : m_Slots) {
    SDL_Joystick* device = nullptr;
    {
      std::lock_guard lock(m_JoyLock);
      device = slot.device;
      slot = sJoystickSlot{};
    }
    if (device) SDL_JoystickClose(device);
  }
}

cSdlInputSource& SdlInputSource() {
  // Its destruction at exit touches nothing of SDL's: the joysticks close with SDL's subsystem.
  static cSdlInputSource source;
  return source;
}

bool HandleSdlInputEvent(const SDL_Event& event) { return SdlInputSource().HandleEvent(event); }

cSdlJoystickSystem::cSdlJoystickSystem() { m_Started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0; }

cSdlJoystickSystem::~cSdlJoystickSystem() {
  if (!m_Started) return;
  SdlInputSource().CloseJoysticks();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
