// The menus' key repeat and one-shot buttons.
#include <vector>

#include "tests/platform/input/input_fixture.h"

namespace {

// The frames of a hold on which AutoRepeat lets the bits through.
std::vector<int> PassingFrames(cInput& input, const std::vector<std::uint16_t>& words, std::uint16_t bits) {
  std::vector<int> passed;
  for (std::size_t frame = 0; frame < words.size(); ++frame) {
    input.m_Direction = words[frame];
    input.AutoRepeat();
    if (input.m_Direction & bits) passed.push_back(static_cast<int>(frame));
  }
  return passed;
}

TEST_F(InputTest, AutoRepeatPassesThePressThenAfterDelayAndEveryInterval) {
  std::vector<std::uint16_t> hold(40, kDirRight);
  EXPECT_EQ(PassingFrames(m_Input, hold, kDirRight), (std::vector<int>{0, 18, 24, 30, 36}));

  // Let go for a frame and the count starts again; a change of direction restarts it too.
  std::vector<std::uint16_t> words = {0, kDirRight, kDirRight, kDirLeft};
  words.resize(24, kDirLeft);
  EXPECT_EQ(PassingFrames(m_Input, words, kDirLeft | kDirRight), (std::vector<int>{1, 3, 21}));
}

TEST_F(InputTest, AutoRepeatCountsEachAxisApart) {
  std::vector<std::uint16_t> words(30, kDirRight);
  for (std::size_t f = 10; f < words.size(); ++f) words[f] |= kDirUp;
  cInput copy = m_Input;
  EXPECT_EQ(PassingFrames(m_Input, words, kDirRight), (std::vector<int>{0, 18, 24}));
  EXPECT_EQ(PassingFrames(copy, words, kDirUp), (std::vector<int>{10, 28}));
  EXPECT_EQ(copy.m_RepeatHistory, (kDirRight | kDirUp) * 0x1111);  // the raw words, four frames of them
}

TEST_F(InputTest, RepeatIntervalOfZeroIsOne) {
  m_Input.SetRepeat(3, 0);
  EXPECT_EQ(m_Input.m_RepeatInterval, 1u);
  std::vector<std::uint16_t> hold(6, kDirDown);
  EXPECT_EQ(PassingFrames(m_Input, hold, kDirDown), (std::vector<int>{0, 3, 4, 5}));

  cInput unset;  // never given a repeat: nothing divides by zero
  EXPECT_EQ(PassingFrames(unset, hold, kDirDown), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(InputTest, TriggerButtonsPassesTheFirstFrameOfAPress) {
  // Button words frame by frame, and what passes with mask 0.
  const struct {
    std::uint16_t word;
    std::uint16_t passes;
  } frames[] = {
      {0x01, 0x01}, {0x01, 0},    {0x01, 0}, {0x01, 0}, {0x01, 0},  // held five frames
      {0x00, 0},                                                    // released
      {0x01, 0x01},                                                 // pressed again
      {0x03, 0},    {0x02, 0},                                      // a second button during the hold
      {0x00, 0},    {0x06, 0x06},                                   // two at once pass together
  };
  for (std::size_t i = 0; i < std::size(frames); ++i) {
    m_Input.m_Buttons = frames[i].word;
    m_Input.TriggerButtons(0);
    EXPECT_EQ(m_Input.m_Buttons, frames[i].passes) << "frame " << i;
  }
}

TEST_F(InputTest, TriggerButtonsLeavesUnmaskedButtonsAlone) {
  const struct {
    std::uint16_t word;
    std::uint16_t passes;
  } frames[] = {
      {0x05, 0x05}, {0x05, 0x04}, {0x04, 0x04}, {0x06, 0x06}, {0x06, 0x04}, {0x10, 0x10}, {0x12, 0x12},
  };
  for (std::size_t i = 0; i < std::size(frames); ++i) {
    m_Input.m_Buttons = frames[i].word;
    m_Input.TriggerButtons(3);
    EXPECT_EQ(m_Input.m_Buttons, frames[i].passes) << "frame " << i;
  }
}

TEST_F(InputTest, ClearingTheWords) {
  m_Input.m_Direction = 0x0F;
  m_Input.m_Digit = 1;
  m_Input.m_Buttons = 0xFF;
  m_Input.ClearDirection();
  EXPECT_EQ(m_Input.m_Direction, 0);
  EXPECT_EQ(m_Input.m_Digit, 5);
  EXPECT_EQ(m_Input.m_Buttons, 0xFF);
  m_Input.ClearButtons();
  EXPECT_EQ(m_Input.m_Buttons, 0);
}

}  // namespace
