// The frames of a running flow: sequential and parallel commands, the end of a flow, aborted frames,
// and a flow step that stops when its character has gone.
#include "tests/script/flow_fixture.h"

namespace flowtest {
namespace {

constexpr std::int32_t kWait = kCharaWait;

TEST_F(FlowTest, SequentialCommandsOfATenthTakeSixFramesOfStepsEachOneAfterTheOther) {
  for (const std::int32_t level : {1, 3, 10}) {
    SCOPED_TRACE(level);
    g_Stage.SetSpeedLevel(level);
    m_Log.clear();
    m_Step = 0;
    Make({Flow(kTriggerAlways, {Command(kWait, 1), Command(kWait, 1)})});
    const std::int32_t n = 6 * level;
    EXPECT_EQ(Runner(0).m_Instances[0].m_Duration, n);
    // The flow ends in the step of its last command's last step, and starts again in the next one.
    Steps(2 * n);
    EXPECT_EQ(Runner(0).m_Running, 0);
    EXPECT_EQ(StepsOf(0, 0), Range(1, n));
    EXPECT_EQ(StepsOf(0, 1), Range(n + 1, 2 * n));
    Step();
    EXPECT_EQ(StepsOf(0, 0).back(), 2 * n + 1);
  }
}

TEST_F(FlowTest, TheFlowEndsWithItsLastInstanceNotWithItsLongestCommand) {
  struct Case {
    const char* name;
    std::vector<cFlowCommand> commands;
    std::vector<std::int32_t> first, second;  // steps each command ran
    std::int32_t endStep;                     // the flow is not running after this step
  };
  const Case cases[] = {
      // Both start in step 1; the final sequential command ends the flow and the parallel one is
      // cut off with it.
      {"long parallel before a short sequential",
       {Command(kWait, 3, true), Command(kWait, 1)},
       Range(1, 6),
       Range(1, 6),
       6},
      // A parallel command at the end keeps the flow running to its own end.
      {"short sequential before a long parallel",
       {Command(kWait, 1), Command(kWait, 3, true)},
       Range(1, 6),
       Range(7, 24),
       24},
      // The frontier walks on past a parallel command once only: the second sequential command
      // waits for the first.
      {"a parallel command before two sequential ones",
       {Command(kWait, 3, true), Command(kWait, 1), Command(kWait, 1)},
       Range(1, 12),
       Range(1, 6),
       12},
      {"two parallel commands, the long one last",
       {Command(kWait, 1, true), Command(kWait, 3, true)},
       Range(1, 6),
       Range(1, 18),
       18},
      {"two parallel commands, the short one last",
       {Command(kWait, 3, true), Command(kWait, 1, true)},
       Range(1, 6),
       Range(1, 6),
       6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Log.clear();
    m_Step = 0;
    Make({Flow(kTriggerAlways, c.commands)});
    // No trigger after the start: the flow runs once.
    m_Chara->ResetFlowStepFlags();
    RunTriggeredFlows(*m_Chara, kTriggerAlways);
    for (std::int32_t s = 1; s <= 30; ++s) {
      m_Step = s;
      m_Chara->RunFlows(0);
      if (s == c.endStep - 1) {
        EXPECT_EQ(Runner(0).m_Running, 1);
      }
    }
    EXPECT_EQ(Runner(0).m_Running, 0);
    EXPECT_EQ(StepsOf(0, 0), c.first);
    EXPECT_EQ(StepsOf(0, 1), c.second);
    for (const cCommandInstance& instance : Runner(0).m_Instances) EXPECT_EQ(instance.m_StepsLeft, 0);
  }
}

TEST_F(FlowTest, AnAbortedFrameEndsAfterTheCommandThatAskedAndTheFrameCounterWaits) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1, true, kAbortFrame), Command(kWait, 1, true)})});
  Step();
  EXPECT_EQ(StepsOf(0, 0), (std::vector<std::int32_t>{1}));
  EXPECT_TRUE(StepsOf(0, 1).empty());
  EXPECT_EQ(Runner(0).m_FrameCounter, 0);
  EXPECT_EQ(Runner(0).m_Frontier, 1);
  // While the first command runs it ends every frame; the second starts the step after it is done.
  Steps(6);
  EXPECT_EQ(StepsOf(0, 0), Range(1, 6));
  EXPECT_EQ(StepsOf(0, 1), (std::vector<std::int32_t>{7}));
  EXPECT_EQ(Runner(0).m_FrameCounter, 1);
}

TEST_F(FlowTest, AFlowThatEndsItselfEndsItsFrameAndStartsAgainInTheNextStep) {
  Make({Flow(kTriggerAlways, {Command(kWait, 5, true, kFinishAndAbort), Command(kWait, 1)})});
  Steps(3);
  EXPECT_EQ(StepsOf(0, 0), Range(1, 3));
  EXPECT_TRUE(StepsOf(0, 1).empty());
  EXPECT_EQ(Runner(0).m_Running, 0);
}

TEST_F(FlowTest, AnInstanceThatKeepsItsStepsUpRunsUntilItLetsGo) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1), Command(kWait, 0, false, kNeverEnds)})});
  Steps(10);
  EXPECT_EQ(StepsOf(0, 1), Range(7, 10));
  EXPECT_EQ(Runner(0).m_Running, 1);
  EXPECT_EQ(Runner(0).m_FrameCounter, 10);
}

TEST_F(FlowTest, TheFlowStepStopsWhenTheCharacterRunsOutOfHp) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1, false, kKillOwner)}), Flow(kTriggerAlways, {Command(kWait, 1)}),
        Flow(kTriggerDeath, {Command(kWait, 1)})});
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(StepsOf(0, 0).size(), 1u);
  EXPECT_TRUE(StepsOf(1, 0).empty());
  // Death flows only: the death flow runs, nothing else.
  m_Log.clear();
  RunTriggeredFlows(*m_Chara, kTriggerDeath);
  EXPECT_EQ(m_Chara->RunFlows(1), 1);
  EXPECT_TRUE(StepsOf(0, 0).empty());
  EXPECT_EQ(StepsOf(2, 0).size(), 1u);
}

TEST_F(FlowTest, AVanishedCharacterStopsItsFlowStep) {
  m_Custom = [](cCharaBase& chara, cCommandInstance&) { static_cast<cChara&>(chara).m_RemovalMark = 1; };
  Make({Flow(kTriggerAlways, {Command(kWait, 1, false, kCustom)}), Flow(kTriggerAlways, {Command(kWait, 1)})});
  EXPECT_EQ(Step(), 1);
  EXPECT_TRUE(StepsOf(1, 0).empty());
  EXPECT_EQ(g_PlayScene->m_ExecChara, nullptr);
}

TEST_F(FlowTest, TheExecutionContextIsClearedAfterTheStepAndKeptForAnOuterCommand) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1)})});
  Step();
  EXPECT_EQ(g_PlayScene->m_ExecChara, nullptr);
  EXPECT_EQ(g_PlayScene->m_ExecFlow, nullptr);
  EXPECT_EQ(g_PlayScene->m_ExecCommand, nullptr);
  // A trigger raised on another character from inside a command leaves the command's context.
  cChara other;
  other.Init(nullptr, 0, 0, 0);
  m_Custom = [&other](cCharaBase& chara, cCommandInstance& instance) {
    RunTriggeredFlows(other, kTriggerAlways);
    EXPECT_EQ(g_PlayScene->m_ExecChara, &chara);
    EXPECT_EQ(g_PlayScene->m_ExecCommand, &instance);
  };
  Make({Flow(kTriggerAlways, {Command(kWait, 1, false, kCustom), Command(kWait, 1)})});
  m_Log.clear();
  m_Step = 0;
  Steps(7);
  EXPECT_EQ(StepsOf(0, 1), (std::vector<std::int32_t>{7}));
}

TEST_F(FlowTest, FlowsAddedByARunningCommandMoveNoRunnerOrInstanceFromUnderTheRunTime) {
  // The command inserts flows before its own: the runner and instance vectors are reallocated while
  // the command runs, and the frame goes on with the runner and instance where they are now.
  std::int32_t added = 0;
  m_Custom = [&added](cCharaBase& chara, cCommandInstance&) {
    if (added++ != 0) return;
    CheckedVector<cFlow> extra(4, Flow(kTriggerNone, {Command(kWait, 1)}));
    AddFlows(chara, extra, 0, 1, 0);
  };
  Make({Flow(kTriggerAlways, {Command(kWait, 2, true, kCustom), Command(kWait, 3)})});
  const std::int32_t serial = Runner(0).m_Serial;
  Step();
  ASSERT_EQ(m_Chara->m_Runners.Size(), 5);
  cFlowRunner& moved = Runner(4);
  EXPECT_EQ(moved.m_Serial, serial);
  EXPECT_EQ(moved.m_Instances[0].m_StepsLeft, 11);
  EXPECT_EQ(moved.m_Instances[1].m_StepsLeft, 17);
  EXPECT_EQ(moved.m_Frontier, 1);
  // Both commands ran in step 1, the second as the fifth runner's.
  ASSERT_EQ(m_Log.size(), 2u);
  EXPECT_EQ(m_Log[1], (Exec{1, 4, 1}));
  Steps(11);
  EXPECT_EQ(StepsOf(4, 0), Range(2, 12));
  EXPECT_EQ(moved.m_Instances[0].m_Done, 1);
  EXPECT_EQ(moved.m_Running, 1);
}

TEST_F(FlowTest, AFlowThatRemovesItselfEndsThereAndTheNextFlowStillRuns) {
  m_Custom = [](cCharaBase& chara, cCommandInstance&) { chara.RemoveFlowAt(0); };
  Make({Flow(kTriggerAlways, {Command(kWait, 1, true, kCustom), Command(kWait, 1)}),
        Flow(kTriggerAlways, {Command(kWait, 1)})});
  const std::int32_t second = Runner(1).m_Serial;
  Step();
  ASSERT_EQ(m_Chara->m_Runners.Size(), 1);
  EXPECT_EQ(Runner(0).m_Serial, second);
  // The removed flow's first command, then the other flow, now in the first place.
  EXPECT_EQ(m_Log, (std::vector<Exec>{{1, 0, 0}, {1, 0, 0}}));
  EXPECT_EQ(Runner(0).m_Instances[0].m_StepsLeft, 5);
  EXPECT_EQ(g_PlayScene->m_ExecFlow, nullptr);
}

}  // namespace
}  // namespace flowtest
