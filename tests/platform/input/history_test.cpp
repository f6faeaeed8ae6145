// The word rings and the per-key run lists.
#include <vector>

#include "tests/platform/input/input_fixture.h"

namespace {

void PushButtons(cInput& input, std::uint16_t word, int frames) {
  for (int i = 0; i < frames; ++i) {
    input.m_Buttons = word;
    input.PushHistory();
  }
}

TEST_F(InputTest, GetPastAnswersFromTheRuns) {
  EXPECT_EQ(m_Input.GetPast(1, 0), 0);  // a cleared ring
  PushButtons(m_Input, 1, 3);
  PushButtons(m_Input, 0, 2);
  EXPECT_EQ(m_Input.GetPast(1, 0), 0);  // the current word
  EXPECT_EQ(m_Input.GetPast(1, 1), 0);
  EXPECT_EQ(m_Input.GetPast(1, 2), 1);
  EXPECT_EQ(m_Input.GetPast(1, 4), 1);
  EXPECT_EQ(m_Input.GetPast(1, 5), 0);  // before the first push
  EXPECT_EQ(m_Input.GetPast(0, 3), 0);  // the direction ring saw only zeros
  EXPECT_EQ(m_Input.GetPast(2, 0), 0);  // no third ring
  EXPECT_EQ(m_Input.GetPast(-1, 0), 0);

  m_Input.ClearHistory();
  EXPECT_EQ(m_Input.GetPast(1, 2), 0);
  EXPECT_EQ(m_Input.m_RunHead[1], 0);
}

TEST_F(InputTest, RingKeepsTheLastThirtyTwoRuns) {
  // 40 runs of rising lengths: run k holds value k + 1 for k % 3 + 1 frames.
  std::vector<std::uint16_t> frames;
  for (int k = 0; k < 40; ++k) {
    for (int f = 0; f <= k % 3; ++f) frames.push_back(static_cast<std::uint16_t>(k + 1));
  }
  for (std::uint16_t word : frames) {
    m_Input.m_Direction = word;
    m_Input.PushHistory();
  }
  // Everything in the newest 31 runs is answered exactly.
  int frames31 = 0;
  for (int k = 39; k > 39 - 31; --k) frames31 += k % 3 + 1;
  for (int ago = 0; ago < frames31; ++ago) {
    ASSERT_EQ(m_Input.GetPast(0, ago), frames[frames.size() - 1 - static_cast<std::size_t>(ago)]) << ago;
  }
  // Asked for more than the ring holds, the walk goes once round and stops where it began.
  EXPECT_EQ(m_Input.GetPast(0, 100000), 40);
}

TEST_F(InputTest, RunCountStopsAtTheLimit) {
  m_Input.m_Buttons = 2;
  m_Input.PushHistory();
  int head = m_Input.m_RunHead[1];
  m_Input.m_Runs[1][static_cast<std::size_t>(head)].count = kRunCountLimit - 1;
  m_Input.PushHistory();
  m_Input.PushHistory();
  EXPECT_EQ(m_Input.m_Runs[1][static_cast<std::size_t>(head)].count, kRunCountLimit);
  EXPECT_EQ(m_Input.m_RunHead[1], head);
  EXPECT_EQ(m_Input.GetPast(1, 0x7FFFFFFF), 2);  // no overflow in the walk

  Elem16 list(kKeyRunCount);
  PushKeyHistory(list, 1, 1, 0);
  list.At(0).count = kRunCountLimit;
  PushKeyHistory(list, 1, 1, 0);
  EXPECT_EQ(list.At(0).count, kRunCountLimit);
}

TEST_F(InputTest, KeyRunListKeepsThirtyTwoRunsNewestFirst) {
  Elem16 list(kKeyRunCount);
  const struct {
    std::uint16_t word;
    Elem8 newest;
  } steps[] = {
      {0, {0, 1}},  // the condition was already 0: the zero run grows
      {1, {1, 1}}, {3, {1, 2}}, {2, {0, 1}}, {1, {1, 1}},
  };
  for (const auto& step : steps) {
    PushKeyHistory(list, step.word, 1, 1);
    ASSERT_EQ(list.Size(), kKeyRunCount);
    EXPECT_EQ(list.At(0), step.newest) << step.word;
  }
  EXPECT_EQ(list.At(1), (Elem8{0, 1}));
  EXPECT_EQ(list.At(2), (Elem8{1, 2}));
  EXPECT_EQ(list.At(3), (Elem8{0, 1}));

  // Without anyBit the word must equal the mask.
  Elem16 exact(kKeyRunCount);
  PushKeyHistory(exact, 3, 1, 0);
  EXPECT_EQ(exact.At(0), (Elem8{0, 1}));
  PushKeyHistory(exact, 1, 1, 0);
  EXPECT_EQ(exact.At(0), (Elem8{1, 1}));

  // Forty changes: the oldest runs fall off the end.
  for (int i = 0; i < 40; ++i) PushKeyHistory(exact, static_cast<std::uint16_t>(i % 2 ? 1 : 0), 1, 0);
  EXPECT_EQ(exact.Size(), kKeyRunCount);
  Elem16 empty;
  PushKeyHistory(empty, 1, 1, 1);  // nothing to push into: left alone
  EXPECT_TRUE(empty.empty());
}

TEST_F(InputTest, KeyHistoriesFollowTheirConditions) {
  ASSERT_EQ(m_Input.m_DirKeyRuns.Size(), 10);
  ASSERT_EQ(m_Input.m_ButtonKeyRuns.Size(), 9);
  for (const Elem16& list : m_Input.m_DirKeyRuns) EXPECT_EQ(list, Elem16(kKeyRunCount));

  const struct {
    std::uint16_t direction;
    std::uint16_t buttons;
    unsigned dirLists;     // bit i: direction list i is in state 1
    unsigned buttonLists;  // bit i: button list i is in state 1
  } cases[] = {
      {0, 0, 1u << 0, 1u << 0},
      {kDirLeft, 0x01, 1u << 1 | 1u << 9, 1u << 1},
      {kDirRight, 0x82, 1u << 2 | 1u << 9, 1u << 2 | 1u << 8},
      {kDirUp, 0, 1u << 3 | 1u << 9, 1u << 0},
      {kDirDown, 0x10, 1u << 4 | 1u << 9, 1u << 5},
      {kDirUp | kDirLeft, 0, 1u << 5 | 1u << 9, 1u << 0},
      {kDirDown | kDirLeft, 0, 1u << 6 | 1u << 9, 1u << 0},
      {kDirUp | kDirRight, 0, 1u << 7 | 1u << 9, 1u << 0},
      {kDirDown | kDirRight, 0, 1u << 8 | 1u << 9, 1u << 0},
      {kDirLeft | kDirRight, 0xFF, 1u << 9, 0x1FEu},
  };
  for (const auto& c : cases) {
    m_Input.InitKeyHistories();
    m_Input.m_Direction = c.direction;
    m_Input.m_Buttons = c.buttons;
    m_Input.PushKeyHistories();
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(m_Input.m_DirKeyRuns.At(i).At(0).state, (c.dirLists >> i) & 1u) << c.direction << " list " << i;
    }
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(m_Input.m_ButtonKeyRuns.At(i).At(0).state, (c.buttonLists >> i) & 1u) << c.buttons << " list " << i;
    }
  }
  m_Input.InitKeyHistories();
  EXPECT_EQ(m_Input.m_ButtonKeyRuns.At(8), Elem16(kKeyRunCount));
}

TEST_F(InputTest, KeyRunsNameTheDirectionListsThenTheButtonLists) {
  const struct {
    int slot;
    const Elem16* want;
  } cases[] = {
      {0, &m_Input.m_DirKeyRuns[0]},    {9, &m_Input.m_DirKeyRuns[9]}, {10, &m_Input.m_ButtonKeyRuns[0]},
      {18, &m_Input.m_ButtonKeyRuns[8]}, {19, nullptr},                {-1, nullptr},
  };
  for (const auto& c : cases) EXPECT_EQ(m_Input.KeyRuns(c.slot), c.want) << c.slot;
  // A list that was never made is no history.
  m_Input.m_ButtonKeyRuns[3].clear();
  EXPECT_EQ(m_Input.KeyRuns(13), nullptr);
  m_Input.m_DirKeyRuns.clear();
  EXPECT_EQ(m_Input.KeyRuns(2), nullptr);
}

}  // namespace
