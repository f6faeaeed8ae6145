// The configured layout: each direction and button bound to a key, a joystick axis or a button.
#include <vector>

#include "tests/platform/input/input_fixture.h"

namespace {

class ConfiguredInputTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    g_KeyConfig.m_UseConfig = 1;
  }

  void Bind(int entry, std::uint32_t device, std::uint16_t code) {
    g_KeyConfig.m_Entries[static_cast<std::size_t>(entry)] = {device, code, 0};
  }

  void PollConfigured() { ASSERT_EQ(m_Input.PollConfigured(1, kPollRetryFrames), 1); }
};

TEST_F(ConfiguredInputTest, LeftOnJoystickAxisIsDownWhileXIsLow) {
  Bind(kKeyConfigEntryLeft, 0, kJoyXLow);
  for (std::uint32_t x : {0u, 10000u, 10001u, 32768u}) {
    m_Source.SetJoystick(0, Stick(x, kJoyAxisCentre));
    PollConfigured();
    EXPECT_EQ(m_Input.m_Direction, x <= 10000 ? kDirLeft : 0) << x;
    EXPECT_EQ(m_Input.m_Digit, x <= 10000 ? 4 : 5) << x;
  }
}

TEST_F(ConfiguredInputTest, LeftWinsOverRightAndUpOverDown) {
  Bind(kKeyConfigEntryLeft, kKeyboardDevice, 'J');
  Bind(kKeyConfigEntryRight, kKeyboardDevice, 'L');
  Bind(kKeyConfigEntryUp, kKeyboardDevice, 'I');
  Bind(kKeyConfigEntryDown, kKeyboardDevice, 'K');
  const struct {
    std::vector<int> keys;
    std::uint16_t word;
    int digit;
  } cases[] = {
      {{'J', 'L'}, kDirLeft, 4},
      {{'L'}, kDirRight, 6},
      {{'I', 'K'}, kDirUp, 2},
      {{'K', 'L'}, kDirDown | kDirRight, 9},
      {{'J', 'L', 'I', 'K'}, kDirLeft | kDirUp, 1},
      {{VK_LEFT, VK_UP}, 0, 5},  // the fixed layout's arrows mean nothing here
  };
  for (const auto& c : cases) {
    Hold(c.keys);
    PollConfigured();
    EXPECT_EQ(m_Input.m_Direction, c.word) << "word " << c.word;
    EXPECT_EQ(m_Input.m_Digit, c.digit) << "word " << c.word;
  }
}

TEST_F(ConfiguredInputTest, EntryCountLimitsTheButtons) {
  Hold({'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'});
  const struct {
    std::uint32_t entries;
    std::uint16_t buttons;
  } cases[] = {{12, 0xFF}, {6, 0x03}, {4, 0}, {0, 0}, {13, 0xFF}, {0xFFFFFFFF, 0xFF}};
  for (const auto& c : cases) {
    g_KeyConfig.m_EntryCount = c.entries;
    PollConfigured();
    EXPECT_EQ(m_Input.m_Buttons, c.buttons) << c.entries;
  }
}

TEST_F(ConfiguredInputTest, JoystickEntriesReadButtonsAndOnlyJoysticksInTheCount) {
  g_KeyConfig.m_JoyCount = 2;
  Bind(kKeyConfigEntryRight, 1, 0x04);                       // right on button 3 of joystick 1
  Bind(kKeyConfigFirstButton + 0, 0, 0x01);                  // button 1 on button 1 of joystick 0
  Bind(kKeyConfigFirstButton + 1, 0, kJoyXLow);              // an axis code tests no axis for a button
  Bind(kKeyConfigFirstButton + 2, 2, 0x01);                  // joystick 2 is beyond the count
  Bind(kKeyConfigFirstButton + 3, kKeyboardDevice, 0x1041);  // no such key
  m_Source.SetJoystick(0, Stick(0, kJoyAxisCentre, 0x01));
  m_Source.SetJoystick(1, Stick(kJoyAxisCentre, kJoyAxisCentre, 0x04));
  m_Source.SetJoystick(2, Stick(kJoyAxisCentre, kJoyAxisCentre, 0x01));
  Hold({'A'});
  PollConfigured();
  EXPECT_EQ(m_Input.m_Direction, kDirRight);
  EXPECT_EQ(m_Input.m_Digit, 6);
  EXPECT_EQ(m_Input.m_Buttons, 0x11);  // button 5 is still the default A key
  EXPECT_EQ(m_Source.JoystickReads(2), 0u);
}

TEST_F(ConfiguredInputTest, JoystickCountBeyondTheSixteenThatExistReadsSixteen) {
  g_KeyConfig.m_JoyCount = 0xFFFFFFFF;
  Bind(kKeyConfigEntryUp, 15, kJoyYLow);
  Bind(kKeyConfigEntryDown, 16, kJoyYHigh);  // cannot exist
  m_Source.SetJoystick(15, Stick(kJoyAxisCentre, 0));
  PollConfigured();
  EXPECT_EQ(m_Input.m_Direction, kDirUp);
  for (int j = 0; j < kMaxJoysticks; ++j) EXPECT_EQ(m_Source.JoystickReads(j), 1u) << j;
}

TEST_F(ConfiguredInputTest, MissingJoystickDoesNotStopTheOthers) {
  g_KeyConfig.m_JoyCount = 2;
  Bind(kKeyConfigEntryLeft, 0, kJoyXLow);
  Bind(kKeyConfigEntryUp, 1, kJoyYLow);
  m_Source.SetJoystick(0, Stick(0, kJoyAxisCentre));  // joystick 1 unplugged
  for (int poll = 0; poll < 300; ++poll) {
    PollConfigured();
    ASSERT_EQ(m_Input.m_Direction, kDirLeft) << "poll " << poll;
  }
  EXPECT_EQ(m_Source.JoystickReads(0), 300u);
  // Joystick 1 is tried on polls 0, 121 and 242.
  EXPECT_EQ(m_Source.JoystickReads(1), 3u);

  // Once plugged in it counts from its next try on.
  m_Source.SetJoystick(1, Stick(kJoyAxisCentre, 0));
  for (int poll = 300; poll < 363; ++poll) PollConfigured();
  EXPECT_EQ(m_Input.m_Direction, kDirLeft);
  PollConfigured();  // poll 363
  EXPECT_EQ(m_Input.m_Direction, kDirLeft | kDirUp);
  EXPECT_EQ(m_Input.m_Digit, 1);
}

}  // namespace
