// Key conditions: key steps matched on player 1's input histories, built here frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/input/input.h"
#include "play/flow_runner.h"
#include "tests/script/condition_fixture.h"

namespace {

using namespace scripttest;

constexpr int kLeft = 1, kRight = 2, kDown = 4, kButton1 = 11, kButton2 = 12;
constexpr std::uint16_t kLeftBit = kDirLeft, kRightBit = kDirRight, kDownBit = kDirDown;

struct KeyStep {
  std::vector<std::pair<int, std::uint8_t>> keys;
  std::uint8_t combination = kKeysAll;
  std::int16_t shortest = 0, longest = 0;  // both 0: any hold
  std::uint8_t relative = 0;
};

class KeyConditionTest : public ConditionTest {
 protected:
  void SetUp() override {
    ConditionTest::SetUp();
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
  }
  void TearDown() override {
    g_Inputs.assign(1, cInput());
    ConditionTest::TearDown();
  }

  // frames frames of the given direction and button bits.
  static void Hold(std::uint16_t direction, std::uint16_t buttons, int frames) {
    cInput& input = g_Inputs[0];
    for (int i = 0; i < frames; ++i) {
      input.m_Direction = direction;
      input.m_Buttons = buttons;
      input.PushKeyHistories();
    }
  }

  // The flow's key steps, oldest first, bound to the runner as the character binds them.
  void SetSteps(std::initializer_list<KeyStep> steps, std::int32_t tolerance = 0) {
    m_Flow.m_KeyConditions.clear();
    for (const KeyStep& s : steps) {
      cKeyCondition& k = m_Flow.m_KeyConditions.emplace_back();
      for (auto [slot, state] : s.keys) k.m_KeyStates[static_cast<std::size_t>(slot)] = state;
      k.m_Combination = s.combination;
      k.m_ShortestHold = s.shortest;
      k.m_LongestHold = s.longest;
      k.m_AnyHold = s.shortest == 0 && s.longest == 0 ? 1 : 0;
      k.m_FacingRelative = s.relative;
    }
    m_Flow.m_KeyTolerance = static_cast<std::uint8_t>(tolerance);
    m_Runner = cFlowRunner();
    m_Runner.m_Flow = &m_Flow;
    for (cKeyCondition& k : m_Flow.m_KeyConditions) m_Runner.m_KeyConditions.push_back(&k);
  }

  bool Matches() const {
    return MatchKeySteps(m_Runner.m_KeyConditions, static_cast<std::int8_t>(m_Flow.m_KeyTolerance),
                         m_Chara.m_Direction == 0, g_Inputs[0]);
  }

  cFlow m_Flow;
  cFlowRunner m_Runner;
};

TEST_F(KeyConditionTest, AHeldKeyMatchesForTheHoldTimesTheStepAllows) {
  struct Case {
    int frames;
    bool want;
  };
  const Case cases[] = {{1, false}, {2, false}, {3, true}, {7, true}, {10, true}, {11, false}, {40, false}};
  for (const Case& c : cases) {
    g_Inputs[0].InitKeyHistories();
    Hold(0, 0, 5);
    Hold(kRightBit, 0, c.frames);
    SetSteps({{{{kRight, kKeyHeld}}, kKeysAll, 3, 10}});
    EXPECT_EQ(Matches(), c.want) << c.frames << " frames";
  }
  // Released: right is off now, for any time.
  SetSteps({{{{kRight, kKeyReleased}}}});
  EXPECT_FALSE(Matches());
  Hold(0, 0, 1);
  EXPECT_TRUE(Matches());
}

TEST_F(KeyConditionTest, AFacingRelativeStepTestsTheMirroredKeyForACharacterFacingLeft) {
  struct Case {
    std::uint16_t held;
    std::int32_t direction;
    std::uint8_t relative;
    bool want;
  };
  const Case cases[] = {
      {kRightBit, 1, 1, true}, {kLeftBit, 1, 1, false}, {kLeftBit, 0, 1, true},
      {kRightBit, 0, 1, false}, {kRightBit, 0, 0, true}, {kLeftBit, 0, 0, false},
  };
  for (const Case& c : cases) {
    g_Inputs[0].InitKeyHistories();
    Hold(c.held, 0, 5);
    m_Chara.m_Direction = c.direction;
    SetSteps({{{{kRight, kKeyHeld}}, kKeysAll, 3, 10, c.relative}});
    EXPECT_EQ(Matches(), c.want) << "held " << c.held << " facing " << c.direction << " relative " << int{c.relative};
  }
  // The diagonals change places too: down-right (8) stands for down-left (6).
  g_Inputs[0].InitKeyHistories();
  Hold(kDownBit | kLeftBit, 0, 2);
  m_Chara.m_Direction = 0;
  SetSteps({{{{8, kKeyHeld}}, kKeysAll, 0, 0, 1}});
  EXPECT_TRUE(Matches());
}

TEST_F(KeyConditionTest, AnEarlierStepIsFoundWithinTheToleranceBeforeTheNextBegan) {
  struct Case {
    int gap, tolerance;
    bool want;
  };
  const Case cases[] = {
      {0, 2, true}, {1, 2, true}, {2, 2, true}, {3, 2, false},
      {0, 0, true}, {1, 0, false},
      {1, 200, false},  // a stored tolerance above 127 is negative: none
  };
  for (const Case& c : cases) {
    g_Inputs[0].InitKeyHistories();
    Hold(0, 0, 3);
    Hold(kDownBit, 0, 4);
    Hold(0, 0, c.gap);
    Hold(kRightBit, 0, 3);
    SetSteps({{{{kDown, kKeyHeld}}}, {{{kRight, kKeyHeld}}}}, c.tolerance);
    EXPECT_EQ(Matches(), c.want) << "gap " << c.gap << " tolerance " << c.tolerance;
  }
  // The newest step must hold now.
  Hold(0, 0, 1);
  EXPECT_FALSE(Matches());
}

TEST_F(KeyConditionTest, AfterTheToleranceTheEarlierStepMayStillHoldOnTheFrameTheNextBegan) {
  // Button 1 pressed on the very frame right was: not before it, so only the frame one after the
  // searched ones finds it, and only with a tolerance.
  Hold(0, 0, 3);
  Hold(kRightBit, 1, 1);
  Hold(kRightBit, 0, 4);
  for (int tolerance : {1, 3}) {
    SetSteps({{{{kButton1, kKeyHeld}}}, {{{kRight, kKeyHeld}}}}, tolerance);
    EXPECT_TRUE(Matches()) << "tolerance " << tolerance;
  }
  SetSteps({{{{kButton1, kKeyHeld}}}, {{{kRight, kKeyHeld}}}}, 0);
  EXPECT_FALSE(Matches());
}

TEST_F(KeyConditionTest, CombinersAndTheHoldLengthEachGivesTheStepBefore) {
  // Frames: down 3, right 3, then right with button 1 for 2 frames.
  Hold(kDownBit, 0, 3);
  Hold(kRightBit, 0, 3);
  Hold(kRightBit, 1, 2);
  struct Case {
    std::vector<std::pair<int, std::uint8_t>> keys;
    std::uint8_t combination;
    bool alone;     // the step by itself
    bool afterDown; // after a down step, no tolerance
  };
  const Case cases[] = {
      // All: both pass; the shorter hold (2) reaches back to a frame of right only.
      {{{kRight, kKeyHeld}, {kButton1, kKeyHeld}}, kKeysAll, true, false},
      {{{kRight, kKeyHeld}, {kButton2, kKeyHeld}}, kKeysAll, false, false},
      // One or more: the longer hold (5) reaches back to the down.
      {{{kRight, kKeyHeld}, {kButton1, kKeyHeld}}, kKeysAny, true, true},
      {{{kLeft, kKeyHeld}, {kButton2, kKeyHeld}}, kKeysAny, false, false},
      // Exactly one: the hold of that one key.
      {{{kRight, kKeyHeld}, {kButton1, kKeyHeld}}, kKeysExactlyOne, false, false},
      {{{kRight, kKeyHeld}, {kButton2, kKeyHeld}}, kKeysExactlyOne, true, true},
      {{{kButton1, kKeyHeld}, {kButton2, kKeyHeld}}, kKeysExactlyOne, true, false},
      {{{kRight, kKeyHeld}}, 3, false, false},  // no such combiner
      {{}, kKeysAll, true, false},              // names no key: holds, and reaches back no frame
  };
  for (const Case& c : cases) {
    SetSteps({{c.keys, c.combination}});
    EXPECT_EQ(Matches(), c.alone) << c.keys.size() << " keys, combiner " << int{c.combination};
    SetSteps({{{{kDown, kKeyHeld}}}, {c.keys, c.combination}});
    EXPECT_EQ(Matches(), c.afterDown) << c.keys.size() << " keys after down, combiner " << int{c.combination};
  }
}

TEST_F(KeyConditionTest, TheWalkBackCanLeaveTheKeptRunsWithoutHarm) {
  // Button 1 on the first frame, then 40 frames of right on and off, then right: far more runs than
  // a history keeps.
  struct Case {
    int tolerance;
    bool want;
  };
  const Case cases[] = {{100, true}, {40, true}, {39, false}};
  for (const Case& c : cases) {
    g_Inputs[0].InitKeyHistories();
    Hold(0, 1, 1);
    for (int i = 0; i < 20; ++i) {
      Hold(kRightBit, 0, 1);
      Hold(0, 0, 1);
    }
    Hold(kRightBit, 0, 1);
    SetSteps({{{{kButton1, kKeyHeld}}}, {{{kRight, kKeyHeld}}}}, c.tolerance);
    EXPECT_EQ(Matches(), c.want) << "tolerance " << c.tolerance;
  }
}

TEST_F(KeyConditionTest, WithoutRepeatAFlowStartsOncePerPress) {
  m_Chara.m_GroupBusy.assign(kFlowGroupSlots, 0);
  m_Chara.m_GroupRelease.assign(kFlowGroupSlots, 0);
  struct Case {
    std::uint8_t repeat;
    std::vector<std::int32_t> want;  // per frame: right held 4 frames, released 1, held 2
  };
  const Case cases[] = {
      {0, {1, 0, 0, 0, 0, 1, 0}},
      {1, {1, 1, 1, 1, 0, 1, 1}},
  };
  const std::uint16_t frames[] = {kRightBit, kRightBit, kRightBit, kRightBit, 0, kRightBit, kRightBit};
  for (const Case& c : cases) {
    g_Inputs[0].InitKeyHistories();
    SetSteps({{{{kRight, kKeyHeld}}}});
    m_Flow.m_KeyRepeat = c.repeat;
    std::vector<std::int32_t> got;
    for (std::uint16_t held : frames) {
      Hold(held, 0, 1);
      got.push_back(CheckKeyConditions(m_Chara, m_Runner));
    }
    EXPECT_EQ(got, c.want) << "repeat " << int{c.repeat};
  }
}

TEST_F(KeyConditionTest, AKeptMatchHoldsTheGroupOfAnAlwaysFlowForTheStep) {
  struct Case {
    std::uint8_t trigger, group;
    bool busy;
  };
  const Case cases[] = {{0, 3, true}, {1, 3, false}, {0, 0, false}, {0, 200, false}};
  for (const Case& c : cases) {
    m_Chara.m_GroupBusy.assign(kFlowGroupSlots, 0);
    m_Chara.m_GroupRelease.assign(kFlowGroupSlots, 0);
    m_Chara.m_ReleaseRequested = 0;
    g_Inputs[0].InitKeyHistories();
    SetSteps({{{{kRight, kKeyHeld}}}});
    m_Flow.m_Trigger = c.trigger;
    m_Flow.m_Group = c.group;
    Hold(kRightBit, 0, 1);
    EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 1);
    EXPECT_EQ(m_Chara.m_GroupBusy[3], 0) << "the first match takes no group here";
    Hold(kRightBit, 0, 1);
    EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 0);
    EXPECT_EQ(m_Chara.m_GroupBusy[3] != 0, c.busy) << int{c.trigger} << " " << int{c.group};
    EXPECT_EQ(m_Chara.m_GroupRelease[3] != 0, c.busy);
    EXPECT_EQ(m_Chara.m_ReleaseRequested != 0, c.busy);
  }
}

TEST_F(KeyConditionTest, FlowsWithoutStepsHoldAndMissingHistoriesMatchNothing) {
  SetSteps({});
  EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 1);
  SetSteps({{{{kRight, kKeyReleased}}}});
  EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 0) << "a history never pushed has no frame yet";
  Hold(0, 0, 1);
  EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 1);
  g_Inputs[0].m_DirKeyRuns.clear();
  m_Runner.m_KeyLatched = 0;
  EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 0);
  g_Inputs.clear();
  EXPECT_EQ(CheckKeyConditions(m_Chara, m_Runner), 0);
}

}  // namespace
