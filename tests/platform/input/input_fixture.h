#pragma once
// One player's input read from a scripted source, with the start-up's settings: the default key
// configuration, the joystick button masks and the key repeat (18, 6).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/host/input_devices.h"
#include "platform/input/input.h"
#include "platform/input/key_config.h"

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetInputSource(&m_Source);
    SetDefaultKeyConfig(&g_KeyConfig);
    m_Input.SetButtonMasks();
    m_Input.SetRepeat(18, 6);
  }
  void TearDown() override {
    SetInputSource(nullptr);
    g_KeyConfig = cKeyConfig{};
  }

  // Exactly these keys held.
  void Hold(const std::vector<int>& keys) {
    m_Source.ReleaseKeys();
    for (int key : keys) m_Source.SetKey(key, true);
  }

  static JoystickPosition Stick(std::uint32_t x, std::uint32_t y, std::uint32_t buttons = 0) {
    JoystickPosition position;
    position.axes[0] = x;
    position.axes[1] = y;
    position.buttons = buttons;
    return position;
  }

  // The frame loop's poll of the fixed layout.
  void PollFixed() { ASSERT_EQ(m_Input.Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames), 1); }

  cScriptedInputSource m_Source;
  cInput m_Input;
};
