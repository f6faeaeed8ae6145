// The fixed layout: arrows and Z X C V A S D F, and joystick 0 before them.
#include <vector>

#include "tests/platform/input/input_fixture.h"

namespace {

TEST_F(InputTest, ArrowKeysGiveTheDirectionWordAndDigit) {
  const struct {
    std::vector<int> keys;
    std::uint16_t word;
    int digit;
  } cases[] = {
      {{}, 0, 5},
      {{VK_LEFT}, 1, 4},
      {{VK_LEFT, VK_RIGHT}, 3, 5},
      {{VK_UP, VK_LEFT}, 5, 1},
      {{VK_UP}, 4, 2},
      {{VK_RIGHT, VK_DOWN}, 10, 9},
      {{VK_UP, VK_DOWN}, 12, 5},
      {{VK_DOWN, VK_LEFT, VK_RIGHT}, 11, 8},
  };
  for (const auto& c : cases) {
    m_Source.ReleaseKeys();
    for (int key : c.keys) m_Source.SetKey(key, true);
    PollFixed();
    EXPECT_EQ(m_Input.m_Direction, c.word) << c.keys.size() << " keys, word " << c.word;
    EXPECT_EQ(m_Input.m_Digit, c.digit) << "word " << c.word;
  }
}

TEST_F(InputTest, LetterKeysAreTheEightButtons) {
  const int keys[] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
  for (int n = 0; n < 8; ++n) {
    Hold({keys[n]});
    PollFixed();
    EXPECT_EQ(m_Input.m_Buttons, 1u << n) << static_cast<char>(keys[n]);
  }
  Hold({'Z', 'F', 'Q'});
  PollFixed();
  EXPECT_EQ(m_Input.m_Buttons, 0x81);
}

TEST_F(InputTest, JoystickDirectionAndButtonsWinOverTheKeyboard) {
  m_Source.SetJoystick(0, Stick(0, kJoyAxisCentre));
  Hold({VK_RIGHT, VK_UP, 'X'});
  PollFixed();
  EXPECT_EQ(m_Input.m_Direction, kDirLeft);  // the keyboard is not read for directions
  EXPECT_EQ(m_Input.m_Digit, 4);
  EXPECT_EQ(m_Input.m_Buttons, 0x02);  // no joystick button: the keyboard's

  m_Source.SetJoystick(0, Stick(kJoyAxisCentre, kJoyAxisCentre, 0x01));
  PollFixed();
  EXPECT_EQ(m_Input.m_Direction, kDirRight | kDirUp);  // a resting stick leaves the arrows
  EXPECT_EQ(m_Input.m_Digit, 3);
  EXPECT_EQ(m_Input.m_Buttons, 0x01);  // button 1 of the joystick, X not read

  // Only the joystick asked for: the keys are not looked at.
  m_Source.SetJoystick(0, Stick(kJoyAxisCentre, 65535, 0x80 | 0x100));
  ASSERT_EQ(m_Input.Poll(0, kPollJoystick, kPollRetryFrames), 1);
  EXPECT_EQ(m_Input.m_Direction, kDirDown);
  EXPECT_EQ(m_Input.m_Digit, 8);
  EXPECT_EQ(m_Input.m_Buttons, 0x80);  // joystick button 9 is no game button
}

TEST_F(InputTest, AxisThresholds) {
  const struct {
    std::uint32_t x, y;
    std::uint16_t word;
    int digit;
  } cases[] = {
      {10000, kJoyAxisCentre, kDirLeft, 4},   {10001, kJoyAxisCentre, 0, 5},
      {55534, kJoyAxisCentre, 0, 5},          {55535, kJoyAxisCentre, kDirRight, 6},
      {0, kJoyAxisCentre, kDirLeft, 4},       {65535, kJoyAxisCentre, kDirRight, 6},
      {kJoyAxisCentre, 10000, kDirUp, 2},     {kJoyAxisCentre, 10001, 0, 5},
      {kJoyAxisCentre, 55534, 0, 5},          {kJoyAxisCentre, 55535, kDirDown, 8},
      {10000, 55535, kDirLeft | kDirDown, 7}, {55535, 10000, kDirRight | kDirUp, 3},
  };
  for (const auto& c : cases) {
    m_Source.SetJoystick(0, Stick(c.x, c.y));
    ASSERT_EQ(m_Input.Poll(0, kPollJoystick, kPollRetryFrames), 1);
    EXPECT_EQ(m_Input.m_Direction, c.word) << c.x << "," << c.y;
    EXPECT_EQ(m_Input.m_Digit, c.digit) << c.x << "," << c.y;

    JOYINFOEX info;
    info.dwXpos = c.x;
    info.dwYpos = c.y;
    EXPECT_EQ(JoyAxisTest(&info, kJoyXLow), (c.word & kDirLeft) ? 1 : 0);
    EXPECT_EQ(JoyAxisTest(&info, kJoyXHigh), (c.word & kDirRight) ? 1 : 0);
    EXPECT_EQ(JoyAxisTest(&info, kJoyYLow), (c.word & kDirUp) ? 1 : 0);
    EXPECT_EQ(JoyAxisTest(&info, kJoyYHigh), (c.word & kDirDown) ? 1 : 0);
  }
  JOYINFOEX low;  // every axis at 0: only the four codes test axes
  for (std::uint16_t code : {0, 1, 255, 257, 768, 4096, 0xFFFF}) EXPECT_EQ(JoyAxisTest(&low, code), 0) << code;
}

TEST_F(InputTest, FailedJoystickIsLeftAloneForTwiceTheRetryFrames) {
  Hold({VK_LEFT, 'Z'});
  PollFixed();  // no joystick: the read fails
  EXPECT_EQ(m_Source.JoystickReads(0), 1u);
  EXPECT_EQ(m_Input.m_JoyReady, 0);
  EXPECT_EQ(m_Input.m_JoyRetry, 120);
  EXPECT_EQ(m_Input.m_Direction, kDirLeft);  // the keyboard still works
  EXPECT_EQ(m_Input.m_Buttons, 1);

  // Plugged in now, but not asked for the next 120 polls.
  m_Source.SetJoystick(0, Stick(65535, kJoyAxisCentre));
  for (int poll = 1; poll <= 120; ++poll) {
    PollFixed();
    ASSERT_EQ(m_Source.JoystickReads(0), 1u) << "poll " << poll;
    ASSERT_EQ(m_Input.m_Direction, kDirLeft);
  }
  PollFixed();
  EXPECT_EQ(m_Source.JoystickReads(0), 2u);
  EXPECT_EQ(m_Input.m_JoyReady, 1);
  EXPECT_EQ(m_Input.m_Direction, kDirRight);

  // Read every poll while it works.
  PollFixed();
  PollFixed();
  EXPECT_EQ(m_Source.JoystickReads(0), 4u);

  // Joystick numbers that cannot exist fail like a missing one.
  cInput other;
  other.SetButtonMasks();
  ASSERT_EQ(other.Poll(-1, kPollJoystick, 5), 1);
  EXPECT_EQ(other.m_JoyRetry, 10);
  ASSERT_EQ(other.Poll(-1, kPollJoystick, 5), 1);  // waiting: counts down without a read
  EXPECT_EQ(other.m_JoyRetry, 9);
  cInput third;
  ASSERT_EQ(third.Poll(16, kPollJoystick, 0x7FFFFFFF), 1);  // twice that does not overflow
  EXPECT_EQ(third.m_JoyRetry, 0x7FFFFFFF);
}

TEST_F(InputTest, EachPollRunsOnlyUnderItsOwnLayout) {
  Hold({VK_LEFT});
  g_KeyConfig.m_UseConfig = 1;
  m_Input.m_Direction = 0x0F;
  m_Input.m_Digit = 7;
  EXPECT_EQ(m_Input.Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames), 0);
  EXPECT_EQ(m_Input.m_Direction, 0x0F);
  EXPECT_EQ(m_Input.m_Digit, 7);
  EXPECT_EQ(m_Source.JoystickReads(0), 0u);

  g_KeyConfig.m_UseConfig = 0;
  EXPECT_EQ(m_Input.PollConfigured(1, kPollRetryFrames), 0);
  EXPECT_EQ(m_Input.m_Direction, 0x0F);
  EXPECT_EQ(m_Source.JoystickReads(0), 0u);
}

TEST_F(InputTest, DirectionDigitTakesLeftBeforeRightAndUpBeforeDown) {
  const struct {
    std::uint16_t word;
    int digit;
  } cases[] = {{0, 5}, {1, 4}, {2, 6}, {3, 4}, {4, 2}, {8, 8}, {12, 2}, {5, 1}, {6, 3}, {9, 7}, {10, 9}, {15, 1}};
  for (const auto& c : cases) {
    m_Input.m_Direction = c.word;
    EXPECT_EQ(DirectionDigit(&m_Input), c.digit) << c.word;
  }
}

TEST_F(InputTest, JoystickButtonsAreReadThroughTheMasks) {
  cInput unmasked;  // before SetButtonMasks no joystick button counts
  m_Source.SetJoystick(0, Stick(kJoyAxisCentre, kJoyAxisCentre, 0xFF));
  ASSERT_EQ(unmasked.Poll(0, kPollJoystick, kPollRetryFrames), 1);
  EXPECT_EQ(unmasked.m_Buttons, 0);

  unmasked.SetButtonMasks();
  for (int n = 0; n < 8; ++n) EXPECT_EQ(unmasked.m_JoyButtonMasks[static_cast<std::size_t>(n)], 1 << n);
  unmasked.m_JoyButtonMasks[0] = 0x200;  // button 10 of the joystick read as button 1
  m_Source.SetJoystick(0, Stick(kJoyAxisCentre, kJoyAxisCentre, 0x200 | 0x04));
  ASSERT_EQ(unmasked.Poll(0, kPollJoystick, kPollRetryFrames), 1);
  EXPECT_EQ(unmasked.m_Buttons, 0x05);
}

}  // namespace
