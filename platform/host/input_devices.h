#pragma once
// The keyboard and the joysticks as the game reads them: a key's state by its Windows virtual-key
// code (the codes the key configuration stores) and a joystick's position as a JOYINFOEX, axes
// 0..65535 and buttons as bits. The game thread asks at any moment, like GetAsyncKeyState and
// joyGetPosEx, instead of reading a message queue.
//
// Where the answers come from is an input source. The SDL source is fed by the window thread's
// event pump; the scripted source is set by tests and by the input script of headless runs. Every
// read is safe from any thread and never allocates: the frame loop reads once per frame.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Windows virtual-key codes that the game names.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int kVirtualKeyCount = 256;

// joyGetPosEx's reading, field for field (52 bytes).
struct JOYINFOEX {
  std::uint32_t dwSize = 0;
  std::uint32_t dwFlags = 0;
  std::uint32_t dwXpos = 0;
  std::uint32_t dwYpos = 0;
  std::uint32_t dwZpos = 0;
  std::uint32_t dwRpos = 0;
  std::uint32_t dwUpos = 0;
  std::uint32_t dwVpos = 0;
  std::uint32_t dwButtons = 0;
  std::uint32_t dwButtonNumber = 0;
  std::uint32_t dwPOV = 0;
  std::uint32_t dwReserved1 = 0;
  std::uint32_t dwReserved2 = 0;
};
static_assert(sizeof(JOYINFOEX) == 52);

constexpr std::uint32_t JOY_RETURNX = 0x01;
constexpr std::uint32_t JOY_RETURNY = 0x02;
constexpr std::uint32_t JOY_RETURNZ = 0x04;
constexpr std::uint32_t JOY_RETURNR = 0x08;
constexpr std::uint32_t JOY_RETURNU = 0x10;
constexpr std::uint32_t JOY_RETURNV = 0x20;
constexpr std::uint32_t JOY_RETURNPOV = 0x40;
constexpr std::uint32_t JOY_RETURNBUTTONS = 0x80;
constexpr std::uint32_t JOY_POVCENTERED = 0xFFFF;
constexpr std::uint32_t JOYERR_NOERROR = 0;
constexpr std::uint32_t JOYERR_PARMS = 165;
constexpr std::uint32_t JOYERR_UNPLUGGED = 167;

// Joysticks are numbered 0 to 15, as many as the system the game was written for can have.
constexpr int kMaxJoysticks = 16;
constexpr std::uint32_t kJoyAxisCentre = 32768;

// Where a joystick stands: six axes 0..65535 (X, Y, Z, R, U, V), buttons as bits (button n is
// bit n - 1) and the hat in hundredths of a degree, JOY_POVCENTERED when it rests.
struct JoystickPosition {
  std::array<std::uint32_t, 6> axes = {kJoyAxisCentre, kJoyAxisCentre, kJoyAxisCentre,
                                       kJoyAxisCentre, kJoyAxisCentre, kJoyAxisCentre};
  std::uint32_t buttons = 0;
  std::uint32_t pov = JOY_POVCENTERED;
};

// Fills the fields of info that its dwFlags ask for from position.
void FillJoyInfo(const JoystickPosition& position, JOYINFOEX* info);

class cInputSource {
 public:
  virtual ~cInputSource() = default;
  // True while the key of the virtual-key code is down; codes outside 0..255 are never down.
  virtual bool KeyDown(int virtualKey) const = 0;
  // The joystick's position, or nullopt when no joystick has that number.
  virtual std::optional<JoystickPosition> Joystick(int id) const = 0;
};

// The source the two functions below read. Null gives back the SDL source, which is the default.
// The caller keeps source alive until it is replaced.
void SetInputSource(cInputSource* source);
cInputSource& CurrentInputSource();

// Bit 15 set (the value is negative) while the key is down, else 0.
std::int16_t GetAsyncKeyState(int virtualKey);
// JOYERR_NOERROR with info filled as its dwFlags ask; JOYERR_UNPLUGGED when no joystick has that
// number now, JOYERR_PARMS for a number that cannot be a joystick or a null info.
std::uint32_t joyGetPosEx(std::uint32_t id, JOYINFOEX* info);

// Keys and joysticks set by hand: tests, and headless runs through an input script.
//
// The script is text, one line per change, each line a frame number and everything held from that
// frame until the next line: key names (LEFT, RIGHT, UP, DOWN, RETURN, ESCAPE, SPACE, SHIFT, F1 to
// F24, A to Z, 0 to 9, ...) or codes (37, 0x25; a single digit is that digit's key), and joysticks
// as joyN=X,Y,BUTTONS (numbers decimal or 0x hexadecimal; N from 0 to 15). A joystick not named on
// a line is unplugged. '#' starts a comment; frames must rise.
//
//   0
//   30 RIGHT
//   45 RIGHT Z
//   60 joy0=0,32768,0x1
//   90
class cScriptedInputSource : public cInputSource {
 public:
  bool KeyDown(int virtualKey) const override;
  std::optional<JoystickPosition> Joystick(int id) const override;

  void SetKey(int virtualKey, bool down);
  void ReleaseKeys();
  // A joystick plugged in at that position (a number outside 0..15 is ignored).
  void SetJoystick(int id, const JoystickPosition& position);
  void UnplugJoystick(int id);
  // How often the joystick was asked for since the last reset (plugged in or not).
  std::uint32_t JoystickReads(int id) const;
  void ResetJoystickReads();

  // Takes the script; false, with the first bad line's number and reason in error, when it does not
  // parse (the script held before stays).
  bool LoadScript(std::string_view text, std::string* error);
  bool LoadScriptFile(const std::filesystem::path& file, std::string* error);
  // Sets keys and joysticks as the script holds them at frame (nothing held before its first line).
  void ApplyFrame(std::uint32_t frame);

  struct ScriptLine {
    std::uint32_t frame = 0;
    std::vector<std::uint8_t> keys;
    std::vector<std::pair<int, JoystickPosition>> joysticks;
  };

 private:
  std::array<std::atomic<bool>, kVirtualKeyCount> m_Keys{};
  mutable std::array<std::atomic<std::uint32_t>, kMaxJoysticks> m_Reads{};
  mutable std::mutex m_JoyLock;
  std::array<std::optional<JoystickPosition>, kMaxJoysticks> m_Joysticks;
  std::vector<ScriptLine> m_Script;
};

// The virtual-key code for a name of the input script ("LEFT", "Z", "F1", "0x25", "37"), or 0.
int VirtualKeyFromName(std::string_view name);

// The SDL source. Keys are kept by key position: each SDL scancode stands for the virtual-key code
// that the key in that place has on a US or Japanese keyboard, whatever the layout prints on it, so
// a key configuration keeps meaning the same keys. The generic Shift, Ctrl and Alt codes are down
// while either side's key is. Losing the focus lets go of every key, as the window no longer hears
// the releases. Joysticks come and go with SDL's device events and take the lowest free number.
union SDL_Event;
struct _SDL_Joystick;

class cSdlInputSource : public cInputSource {
 public:
  cSdlInputSource();
  bool KeyDown(int virtualKey) const override;
  std::optional<JoystickPosition> Joystick(int id) const override;

  // The window thread: one event of its pump; true when it was an input event. Joysticks are opened
  // here as they arrive, so this must run on the thread that owns SDL's joysticks.
  bool HandleEvent(const SDL_Event& event);
  // The window thread: closes every open joystick (before SDL's joystick subsystem stops).
  void CloseJoysticks();

 private:
  struct sJoystickSlot {
    _SDL_Joystick* device = nullptr;  // owned here, opened and closed on the window thread
    std::int32_t instance = -1;
    JoystickPosition position;
  };

  void KeyChange(int scancode, bool down);
  void LoseFocus();
  void AddJoystick(int deviceIndex);
  void RemoveJoystick(std::int32_t instance);
  sJoystickSlot* FindJoystick(std::int32_t instance);

  // How many held scancodes stand for each virtual-key code: the keypad's Enter and the main Enter
  // are both VK_RETURN, and one's release must not let go of the other. Only the pump writes.
  std::array<std::atomic<std::uint8_t>, kVirtualKeyCount> m_KeyHolds{};
  std::array<bool, 512> m_ScancodeDown{};  // pump thread only
  mutable std::mutex m_JoyLock;
  std::array<sJoystickSlot, kMaxJoysticks> m_Slots;
};

cSdlInputSource& SdlInputSource();
// The window thread's pump passes every event here; true when it was an input event.
bool HandleSdlInputEvent(const SDL_Event& event);

// The virtual-key code of an SDL scancode in the fixed table, or 0 for a key the game cannot name.
int VirtualKeyForScancode(int scancode);

// SDL's joystick subsystem for the life of the object, on the window thread. Joysticks present at
// the start arrive as device events like those plugged in later.
class cSdlJoystickSystem {
 public:
  cSdlJoystickSystem();
  ~cSdlJoystickSystem();
  cSdlJoystickSystem(const cSdlJoystickSystem&) = delete;
  cSdlJoystickSystem& operator=(const cSdlJoystickSystem&) = delete;
  bool Started() const { return m_Started; }

 private:
  bool m_Started = false;
};
