// Starting flows: triggers tried once per step or at every raise, group letters, the flows run
// before the stage starts, stopped and paused flows, deletions.
#include "tests/script/flow_fixture.h"

namespace flowtest {
namespace {

constexpr std::int32_t kWait = kCharaWait;
constexpr std::uint8_t kGroupA = 1;

// Flow 0 holds group a; flow 1 of the same group waits for it. The flows are [waiting, holding] so
// that the waiting one is tried first at every raise.
class GroupTest : public FlowTest {
 protected:
  void MakeGroup() {
    Make({Flow(kTriggerAlways, {Command(kWait, 1)}, kGroupA), Flow(kTriggerAlways, {Command(kWait, 1)}, kGroupA)});
    g_PlayScene->m_ExecChara = m_Chara.get();
    StartFlow(Runner(1));
    g_PlayScene->m_ExecChara = nullptr;
  }
};

TEST_F(GroupTest, AGroupsNextFlowStartsOneStepAfterTheRunningOneEnds) {
  MakeGroup();
  EXPECT_EQ(m_Chara->m_GroupBusy[kGroupA], 1);
  Steps(7);
  EXPECT_EQ(StepsOf(1, 0), Range(1, 6));
  EXPECT_EQ(StepsOf(0, 0), (std::vector<std::int32_t>{7}));
  // Now the first flow holds the group, and the second waits.
  EXPECT_EQ(Runner(1).m_Running, 0);
  // It is first in line at every raise: it takes the group again as soon as it is free.
  Steps(6);
  EXPECT_EQ(StepsOf(1, 0), Range(1, 6));
  EXPECT_EQ(StepsOf(0, 0), Range(7, 13));
}

TEST_F(GroupTest, ATriggerRaisedTwiceInAStepIsTriedOnceUnlessTheProjectRetries) {
  for (const std::int32_t retry : {0, 1}) {
    SCOPED_TRACE(retry);
    g_System.m_LegacyFlowRetrigger = retry;
    m_Log.clear();
    m_Step = 0;
    MakeGroup();
    Steps(5);
    // Step 6: the waiting flow is tried while the group is busy; the holding flow ends and frees
    // the group; then the trigger is raised once more in the same step.
    ++m_Step;
    m_Chara->ResetFlowStepFlags();
    RunTriggeredFlows(*m_Chara, kTriggerAlways);
    m_Chara->RunFlows(0);
    EXPECT_EQ(m_Chara->m_GroupBusy[kGroupA], 0);
    RunTriggeredFlows(*m_Chara, kTriggerAlways);
    EXPECT_EQ(Runner(0).m_Running, retry);
  }
}

TEST_F(FlowTest, OnlyTheAlwaysTriggerKeepsGroupsExclusive) {
  // A flow of another trigger in a busy group still starts.
  Make({Flow(kTriggerAlways, {Command(kWait, 1)}, kGroupA), Flow(9, {Command(kWait, 1)}, kGroupA)});
  Step();
  RunTriggeredFlows(*m_Chara, 9);
  EXPECT_EQ(Runner(1).m_Running, 1);
}

TEST_F(FlowTest, BeforeStageStartRunsOnlyTheParallelCommandsFrom16OnAtOnce) {
  struct Case {
    const char* name;
    std::vector<cFlowCommand> commands;
    std::vector<std::int32_t> ran;  // command places, in order
  };
  const Case cases[] = {
      {"sequential and low numbers are left out",
       {Command(kCharaMessage, 10), Command(kWait, 10, true), Command(kCharaFlowControl, 10, true),
        Command(kCharaSound, 10, true), Command(kCharaMusic, 10)},
       {2, 3}},
      {"a command that aborts ends the walk",
       {Command(kCharaStatus, 10, true, kAbortFrame), Command(kCharaSound, 10, true)},
       {0}},
      {"a command that does not end is left after its one step",
       {Command(kCharaStatus, 10, true, kNeverEnds), Command(kCharaSound, 10, true)},
       {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Log.clear();
    Make({Flow(kTriggerBeforeStageStart, c.commands)});
    RunTriggeredFlows(*m_Chara, kTriggerBeforeStageStart);
    std::vector<std::int32_t> ran;
    for (const Exec& e : m_Log) ran.push_back(e.command);
    EXPECT_EQ(ran, c.ran);
    EXPECT_EQ(Runner(0).m_Running, 0);
    for (const cCommandInstance& instance : Runner(0).m_Instances) EXPECT_EQ(instance.m_StepsLeft, 0);
    // Nothing of it runs in the steps that follow.
    m_Log.clear();
    Steps(3);
    EXPECT_TRUE(m_Log.empty());
  }
}

TEST_F(FlowTest, StoppedAndPausedFlowsDoNotRunAndAStoppedOneNeverStartsAgain) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1)}), Flow(kTriggerAlways, {Command(kWait, 1)})});
  Step();
  StopFlow(Runner(0), *m_Chara);
  PauseFlow(Runner(1));
  Steps(10);
  EXPECT_EQ(StepsOf(0, 0), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(StepsOf(1, 0), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Runner(0).m_Running, 1);
  for (const cCommandInstance& instance : Runner(0).m_Instances) EXPECT_EQ(instance.m_StepsLeft, 0);
  ResumeFlow(Runner(1));
  Step();
  EXPECT_EQ(StepsOf(1, 0), (std::vector<std::int32_t>{1, 12}));
}

TEST_F(FlowTest, RunnersMarkedDeletedGoWithTheirFlowsAfterTheStep) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1)}), Flow(kTriggerAlways, {Command(kWait, 1)}),
        Flow(kTriggerAlways, {Command(kWait, 1)})});
  Step();
  const std::int32_t lastSerial = Runner(2).m_Serial;
  Runner(0).m_Deleted = 1;
  Runner(1).m_Deleted = 1;
  m_Chara->m_RemoveFlowsRequested = 1;
  Step();
  ASSERT_EQ(m_Chara->m_Runners.Size(), 1);
  ASSERT_EQ(m_Chara->m_Def.m_Flows.Size(), 1);
  EXPECT_EQ(Runner(0).m_Serial, lastSerial);
  EXPECT_EQ(Runner(0).m_Flow, &m_Chara->m_Def.m_Flows[0]);
  EXPECT_EQ(m_Chara->m_RemoveFlowsRequested, 0);
}

TEST_F(FlowTest, AFlowWithoutCommandsEndsInTheStepItStarts) {
  Make({Flow(kTriggerAlways, {}, kGroupA)});
  Step();
  EXPECT_EQ(Runner(0).m_Running, 0);
  EXPECT_EQ(m_Chara->m_GroupBusy[kGroupA], 0);
}

TEST_F(FlowTest, AGroupByteBeyondZCountsAsNoGroup) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1)}, 200), Flow(kTriggerAlways, {Command(kWait, 1)}, 200)});
  Step();
  EXPECT_EQ(Runner(0).m_Running, 1);
  EXPECT_EQ(Runner(1).m_Running, 1);
}

}  // namespace
}  // namespace flowtest
