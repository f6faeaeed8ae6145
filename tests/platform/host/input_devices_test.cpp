// The input sources: SDL's events kept as virtual-key and joystick state, and the scripted source.
#include "platform/host/input_devices.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

SDL_Event KeyEvent(SDL_Scancode scancode, bool down, bool repeat = false) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  return event;
}

SDL_Event WindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = id;
  return event;
}

TEST(SdlInputTest, ScancodeTableRows) {
  const struct {
    SDL_Scancode scancode;
    int virtualKey;
  } rows[] = {
      {SDL_SCANCODE_A, 'A'},       {SDL_SCANCODE_Z, 'Z'},       {SDL_SCANCODE_X, 'X'},
      {SDL_SCANCODE_1, '1'},       {SDL_SCANCODE_9, '9'},       {SDL_SCANCODE_0, '0'},
      {SDL_SCANCODE_LEFT, 0x25},   {SDL_SCANCODE_UP, 0x26},     {SDL_SCANCODE_RIGHT, 0x27},
      {SDL_SCANCODE_DOWN, 0x28},   {SDL_SCANCODE_F1, 0x70},     {SDL_SCANCODE_F12, 0x7B},
      {SDL_SCANCODE_F13, 0x7C},    {SDL_SCANCODE_KP_0, 0x60},   {SDL_SCANCODE_KP_1, 0x61},
      {SDL_SCANCODE_KP_9, 0x69},   {SDL_SCANCODE_RETURN, 0x0D}, {SDL_SCANCODE_KP_ENTER, 0x0D},
      {SDL_SCANCODE_ESCAPE, 0x1B}, {SDL_SCANCODE_SPACE, 0x20},  {SDL_SCANCODE_LSHIFT, 0xA0},
      {SDL_SCANCODE_RSHIFT, 0xA1}, {SDL_SCANCODE_LCTRL, 0xA2},  {SDL_SCANCODE_RALT, 0xA5},
      {SDL_SCANCODE_UNKNOWN, 0},   {SDL_SCANCODE_AUDIOPLAY, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(VirtualKeyForScancode(row.scancode), row.virtualKey) << row.scancode;
  EXPECT_EQ(VirtualKeyForScancode(-1), 0);
  EXPECT_EQ(VirtualKeyForScancode(SDL_NUM_SCANCODES), 0);
}

TEST(SdlInputTest, GenericModifierIsDownWhileEitherSideIs) {
  cSdlInputSource source;
  EXPECT_TRUE(source.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, true)));
  EXPECT_TRUE(source.KeyDown(VK_SHIFT));
  EXPECT_TRUE(source.KeyDown(VK_LSHIFT));
  EXPECT_FALSE(source.KeyDown(VK_RSHIFT));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, false));
  EXPECT_TRUE(source.KeyDown(VK_SHIFT));  // the right one is still held
  source.HandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, false));
  EXPECT_FALSE(source.KeyDown(VK_SHIFT));

  source.HandleEvent(KeyEvent(SDL_SCANCODE_RCTRL, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LALT, true));
  EXPECT_TRUE(source.KeyDown(VK_CONTROL));
  EXPECT_TRUE(source.KeyDown(VK_MENU));
  EXPECT_FALSE(source.KeyDown(VK_SHIFT));
}

TEST(SdlInputTest, KeysAreCountedByPositionNotByEvent) {
  cSdlInputSource source;
  // Repeats of a held key, and a release of a key pressed before the window had the focus.
  source.HandleEvent(KeyEvent(SDL_SCANCODE_Z, false));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_Z, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_Z, true, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_Z, true, true));
  EXPECT_TRUE(source.KeyDown('Z'));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_Z, false));
  EXPECT_FALSE(source.KeyDown('Z'));

  // Two keys with one code: the release of one leaves the other held.
  source.HandleEvent(KeyEvent(SDL_SCANCODE_RETURN, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_KP_ENTER, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_RETURN, false));
  EXPECT_TRUE(source.KeyDown(VK_RETURN));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_KP_ENTER, false));
  EXPECT_FALSE(source.KeyDown(VK_RETURN));

  EXPECT_FALSE(source.KeyDown(-1));
  EXPECT_FALSE(source.KeyDown(256));
  EXPECT_FALSE(source.HandleEvent(WindowEvent(SDL_WINDOWEVENT_MOVED)));
}

TEST(SdlInputTest, LosingTheFocusLetsGoOfEveryKey) {
  cSdlInputSource source;
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LEFT, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_X, true));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, true));
  EXPECT_TRUE(source.HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)));
  for (int key : {VK_LEFT, int{'X'}, VK_SHIFT, VK_LSHIFT}) EXPECT_FALSE(source.KeyDown(key)) << key;
  // The releases that come later change nothing, and a new press counts from nothing.
  source.HandleEvent(KeyEvent(SDL_SCANCODE_X, false));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LEFT, true));
  EXPECT_TRUE(source.KeyDown(VK_LEFT));
  source.HandleEvent(KeyEvent(SDL_SCANCODE_LEFT, false));
  EXPECT_FALSE(source.KeyDown(VK_LEFT));
}

// The game thread reads while the window thread's pump writes (a race shows under ThreadSanitizer).
TEST(SdlInputTest, ReadsFromAnotherThreadWhileThePumpWrites) {
  cSdlInputSource source;
  std::atomic<bool> done{false};
  std::atomic<int> joysticksSeen{0};
  std::thread reader([&] {
    while (!done.load()) {
      if (source.KeyDown(VK_LEFT) && source.Joystick(0)) ++joysticksSeen;
    }
  });
  for (int i = 0; i < 20000; ++i) {
    source.HandleEvent(KeyEvent(SDL_SCANCODE_LEFT, i % 2 == 0));
    if (i % 100 == 99) source.HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  }
  done = true;
  reader.join();
  EXPECT_FALSE(source.KeyDown(VK_LEFT));  // the last event was a release
  EXPECT_EQ(joysticksSeen.load(), 0);     // none was ever plugged in
}

// A joystick made by SDL itself, opened through the source as a plugged-in one would be.
TEST(SdlInputTest, VirtualJoystickArrivesMovesAndLeaves) {
  cSdlJoystickSystem system;
  if (!system.Started()) GTEST_SKIP() << "no SDL joystick subsystem: " << SDL_GetError();
  cSdlInputSource source;
  auto pump = [&] {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) source.HandleEvent(event);
  };
  pump();  // whatever is plugged into this machine takes the low numbers
  int taken = 0;
  while (taken < kMaxJoysticks && source.Joystick(taken)) ++taken;
  if (taken == kMaxJoysticks) GTEST_SKIP() << "every joystick number is taken";

  int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 1);
  ASSERT_GE(device, 0) << SDL_GetError();
  pump();
  ASSERT_TRUE(source.Joystick(taken)) << "the new joystick takes the lowest free number";
  EXPECT_EQ(source.Joystick(taken)->axes[0], kJoyAxisCentre);

  SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
  ASSERT_NE(joystick, nullptr);
  SDL_JoystickSetVirtualAxis(joystick, 0, -32768);
  SDL_JoystickSetVirtualAxis(joystick, 1, 32767);
  SDL_JoystickSetVirtualButton(joystick, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(joystick, 9, SDL_PRESSED);
  SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_LEFTDOWN);
  pump();

  SetInputSource(&source);
  JOYINFOEX info;
  info.dwSize = sizeof(info);
  info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS | JOY_RETURNPOV;
  ASSERT_EQ(joyGetPosEx(static_cast<std::uint32_t>(taken), &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 0u);
  EXPECT_EQ(info.dwYpos, 65535u);
  EXPECT_EQ(info.dwButtons, 0x201u);
  EXPECT_EQ(info.dwButtonNumber, 2u);
  EXPECT_EQ(info.dwPOV, 22500u);

  SDL_JoystickSetVirtualButton(joystick, 0, SDL_RELEASED);
  SDL_JoystickSetVirtualAxis(joystick, 0, 0);
  pump();
  ASSERT_EQ(joyGetPosEx(static_cast<std::uint32_t>(taken), &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, kJoyAxisCentre);
  EXPECT_EQ(info.dwButtons, 0x200u);

  SDL_JoystickDetachVirtual(device);
  pump();
  EXPECT_EQ(joyGetPosEx(static_cast<std::uint32_t>(taken), &info), JOYERR_UNPLUGGED);
  SetInputSource(nullptr);
  source.CloseJoysticks();
}

TEST(InputSourceTest, WindowsStyleReadsOfTheCurrentSource) {
  cScriptedInputSource source;
  SetInputSource(&source);
  EXPECT_EQ(&CurrentInputSource(), &source);
  source.SetKey(VK_UP, true);
  EXPECT_LT(GetAsyncKeyState(VK_UP), 0);  // bit 15
  EXPECT_EQ(GetAsyncKeyState(VK_DOWN), 0);
  EXPECT_EQ(GetAsyncKeyState(0x1026), 0);

  JOYINFOEX info;
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
  EXPECT_EQ(joyGetPosEx(16, &info), JOYERR_PARMS);
  EXPECT_EQ(joyGetPosEx(0, nullptr), JOYERR_PARMS);

  JoystickPosition position;
  position.axes = {1, 2, 3, 4, 5, 6};
  position.buttons = 0x8001;
  position.pov = 9000;
  source.SetJoystick(3, position);
  info = JOYINFOEX{};
  info.dwFlags = JOY_RETURNX | JOY_RETURNBUTTONS;  // only what is asked for is filled
  ASSERT_EQ(joyGetPosEx(3, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 1u);
  EXPECT_EQ(info.dwYpos, 0u);
  EXPECT_EQ(info.dwButtons, 0x8001u);
  EXPECT_EQ(info.dwButtonNumber, 2u);
  EXPECT_EQ(info.dwPOV, 0u);
  info.dwFlags = 0xFF;
  ASSERT_EQ(joyGetPosEx(3, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwVpos, 6u);
  EXPECT_EQ(info.dwRpos, 4u);
  EXPECT_EQ(info.dwPOV, 9000u);
  source.UnplugJoystick(3);
  EXPECT_EQ(joyGetPosEx(3, &info), JOYERR_UNPLUGGED);
  EXPECT_EQ(source.JoystickReads(3), 3u);

  SetInputSource(nullptr);
  EXPECT_EQ(&CurrentInputSource(), &SdlInputSource());
}

TEST(InputScriptTest, EachLineHoldsUntilTheNext) {
  cScriptedInputSource source;
  std::string error;
  ASSERT_TRUE(
      source.LoadScript("# a short walk\n"
                        "5 right\r\n"
                        "\n"
                        "10 RIGHT z Shift 0x41 66   # two codes\n"
                        "12 joy1=0,0xFFFF,0x3 F12 5\n"
                        "20\n",
                        &error))
      << error;
  const struct {
    std::uint32_t frame;
    std::vector<int> keys;
    bool joystick;
  } frames[] = {
      {0, {}, false},          {5, {VK_RIGHT}, false},
      {9, {VK_RIGHT}, false},  {10, {VK_RIGHT, 'Z', VK_SHIFT, 'A', 'B'}, false},
      {12, {0x7B, '5'}, true}, {19, {0x7B, '5'}, true},
      {20, {}, false},         {4000000000u, {}, false},
      {3, {}, false},  // back in time: frames are looked up, not stepped
  };
  const int watched[] = {VK_RIGHT, 'Z', VK_SHIFT, 'A', 'B', 0x7B, '5', 5};
  for (const auto& f : frames) {
    source.ApplyFrame(f.frame);
    for (int key : watched) {
      bool held = std::find(f.keys.begin(), f.keys.end(), key) != f.keys.end();
      EXPECT_EQ(source.KeyDown(key), held) << "frame " << f.frame << " key " << key;
    }
    auto joystick = source.Joystick(1);
    ASSERT_EQ(joystick.has_value(), f.joystick) << "frame " << f.frame;
    if (joystick) {
      EXPECT_EQ(joystick->axes[0], 0u);
      EXPECT_EQ(joystick->axes[1], 65535u);
      EXPECT_EQ(joystick->buttons, 3u);
    }
    EXPECT_FALSE(source.Joystick(0).has_value());
  }
}

TEST(InputScriptTest, BadScriptsAreRefusedWithTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"0 LEFT\nfive RIGHT\n", "line 2: "},
      {"0 LEFT\n0 RIGHT\n", "line 2: frames must rise"},
      {"4 LEFT\n2 RIGHT\n", "line 2: frames must rise"},
      {"0 NOSUCHKEY\n", "line 1: unknown key"},
      {"0 0x100\n", "line 1: unknown key"},
      {"0 F25\n", "line 1: unknown key"},
      {"0 joy16=0,0,0\n", "line 1: unknown key or joystick"},
      {"0 joy0=0,0\n", "line 1: unknown key or joystick"},
      {"0 joy0=0,70000,0\n", "line 1: unknown key or joystick"},
      {"0 joy0=0,0,0,0\n", "line 1: unknown key or joystick"},
      {"\n\n0 joy0=,1,2\n", "line 3: unknown key or joystick"},
  };
  for (const auto& c : cases) {
    cScriptedInputSource source;
    ASSERT_TRUE(source.LoadScript("7 LEFT\n", nullptr));
    std::string error;
    EXPECT_FALSE(source.LoadScript(c.text, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " -> " << error;
    source.ApplyFrame(7);  // the script held before stays
    EXPECT_TRUE(source.KeyDown(VK_LEFT)) << c.text;
  }
  EXPECT_EQ(VirtualKeyFromName("f1"), VK_F1);
  EXPECT_EQ(VirtualKeyFromName("F24"), 0x87);
  EXPECT_EQ(VirtualKeyFromName("ESC"), VK_ESCAPE);
  EXPECT_EQ(VirtualKeyFromName("0"), '0');
  EXPECT_EQ(VirtualKeyFromName("255"), 255);
  EXPECT_EQ(VirtualKeyFromName(""), 0);
}

}  // namespace
