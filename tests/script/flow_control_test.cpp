// The flow control command on a character's own runners: the six operations on the three scopes,
// the end of the running frame, a restart from the first command, and the flows that only the
// command starts.
#include <array>
#include <string>

#include "script/command_dispatch.h"
#include "script/stage_commands.h"
#include "tests/script/flow_fixture.h"

namespace flowtest {
namespace {

constexpr std::uint8_t kIdA = 1;
constexpr std::uint8_t kIdB = 2;

// A flow control command: operation, scope and ID.
cFlowCommand Control(std::int32_t operation, std::int32_t scope, std::int32_t id = 0, bool parallel = false) {
  cFlowCommand c = Command(kCharaFlowControl, 0, parallel);
  c.m_Params.assign(3, 0);
  c.m_Params.At(0) = operation;
  c.m_Params.At(1) = scope;
  c.m_Params.At(2) = id;
  return c;
}

cFlow WithId(cFlow flow, std::uint8_t id) {
  flow.m_FlowId = id;
  return flow;
}

// Logs every command step as the fixture does, and runs the flow control commands for real.
class FlowControlTest : public FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    SetCommandExecutor(&LogAndRun);
  }

  static void LogAndRun(cCharaBase& chara, cCommandInstance& instance) {
    const cFlowRunner* runner = g_PlayScene->m_ExecFlow;
    ASSERT_NE(runner, nullptr);
    const auto command = static_cast<std::int32_t>(&instance - runner->m_Instances.data());
    auto& test = static_cast<FlowControlTest&>(*s_Test);
    test.m_Log.push_back({test.m_Step, runner->m_Index, command});
    if (instance.m_Command->m_CommandNumber == kCharaFlowControl) ExecCharaCommand(chara, instance);
  }

  // What became of the runner of this serial.
  std::string StateOf(std::int32_t serial) {
    const cFlowRunner* r = FindRunnerBySerial(*m_Chara, serial);
    if (r == nullptr) return "gone";
    if (r->m_Stopped != 0) return "stopped";
    if (r->m_Paused != 0) return "paused";
    if (r->m_Running == 0) return "idle";
    // A runner that ran a frame has counted it; a fresh start has not.
    return r->m_FrameCounter == 0 ? "restarted" : "running";
  }

  // x: the flow's animations are gone, p: paused, -: playing.
  char LinkOf(std::int32_t serial) {
    for (const cFlowAnimation& a : m_Chara->m_FlowAnimations)
      if (a.m_FlowSerial == serial) return a.m_Paused != 0 ? 'p' : '-';
    return 'x';
  }
};

TEST_F(FlowControlTest, TheSixOperationsOnTheThreeScopes) {
  // Serial 0 (ID B) and 1 (no ID) wait long; serial 2 (ID B), last, runs the command in parallel
  // and then the command it ends its frame before.
  const cFlowCommand wait = Command(kCharaWait, 100);
  struct Case {
    std::int32_t operation, scope, id;
    std::array<const char*, 3> states;
    const char* links;
    bool nextRan;
  };
  const char* run = "running";
  const char* re = "restarted";
  const Case cases[] = {
      {kFlowOpStart, kFlowScopeThis, 0, {run, run, re}, "--x", false},
      {kFlowOpStart, kFlowScopeOthers, 0, {re, re, run}, "xx-", true},
      {kFlowOpStart, kFlowScopeById, kIdB, {re, run, re}, "x-x", false},
      {kFlowOpFinish, kFlowScopeThis, 0, {run, run, "idle"}, "--x", false},
      {kFlowOpFinish, kFlowScopeOthers, 0, {"idle", "idle", run}, "xx-", true},
      {kFlowOpFinish, kFlowScopeById, kIdB, {"idle", run, "idle"}, "x-x", false},
      {kFlowOpPause, kFlowScopeThis, 0, {run, run, "paused"}, "--p", false},
      {kFlowOpPause, kFlowScopeOthers, 0, {"paused", "paused", run}, "pp-", true},
      {kFlowOpPause, kFlowScopeById, kIdB, {"paused", run, "paused"}, "p-p", false},
      // The others were paused before: only a resume frees them, and it never ends the frame.
      {kFlowOpResume, kFlowScopeThis, 0, {"paused", "paused", run}, "pp-", true},
      {kFlowOpResume, kFlowScopeOthers, 0, {"idle", "idle", run}, "---", true},
      {kFlowOpResume, kFlowScopeById, kIdB, {"idle", "paused", run}, "-p-", true},
      {kFlowOpDelete, kFlowScopeThis, 0, {run, run, "gone"}, "--x", false},
      {kFlowOpDelete, kFlowScopeOthers, 0, {"gone", "gone", run}, "xx-", true},
      {kFlowOpDelete, kFlowScopeById, kIdB, {"gone", run, "gone"}, "x-x", false},
      {kFlowOpStop, kFlowScopeThis, 0, {run, run, "stopped"}, "--x", false},
      {kFlowOpStop, kFlowScopeOthers, 0, {"stopped", "stopped", run}, "xx-", true},
      {kFlowOpStop, kFlowScopeById, kIdB, {"stopped", run, "stopped"}, "x-x", false},
      // An ID of 0 names no flow, not the flows without one; unknown values do nothing.
      {kFlowOpFinish, kFlowScopeById, 0, {run, run, run}, "---", true},
      {kFlowOpStop + 1, kFlowScopeOthers, 0, {run, run, run}, "---", true},
      {kFlowOpFinish, kFlowScopeById + 1, kIdB, {run, run, run}, "---", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "operation " << c.operation << " scope " << c.scope << " id " << c.id);
    m_Log.clear();
    m_Step = 0;
    Make({WithId(Flow(kTriggerAlways, {wait}), kIdB), Flow(kTriggerAlways, {wait}),
          WithId(Flow(kTriggerAlways, {Control(c.operation, c.scope, c.id, true), wait}), kIdB)});
    const bool prePaused = c.operation == kFlowOpResume;
    for (std::int32_t serial = 0; serial < 3; ++serial) {
      cFlowAnimation entry;
      entry.m_FramesLeft = 100;
      entry.m_FlowSerial = serial;
      entry.m_Paused = prePaused && serial < 2 ? 1 : 0;
      m_Chara->m_FlowAnimations.push_back(entry);
      if (prePaused && serial < 2) Runner(serial).m_Paused = 1;
    }
    Step();
    for (std::int32_t serial = 0; serial < 3; ++serial)
      EXPECT_EQ(StateOf(serial), c.states[static_cast<std::size_t>(serial)]) << "serial " << serial;
    std::string links;
    for (std::int32_t serial = 0; serial < 3; ++serial) links += LinkOf(serial);
    EXPECT_EQ(links, c.links);
    // Logged under the place the commanding flow had when it ran.
    EXPECT_EQ(StepsOf(2, 1).size(), c.nextRan ? 1u : 0u) << "the command after it in the same step";
  }
}

TEST_F(FlowControlTest, FinishingTheOwnFlowFirstEndsItInTheStepItStarts) {
  Make({Flow(kTriggerAlways, {Control(kFlowOpFinish, kFlowScopeThis), Command(kCharaWait, 1)})});
  for (std::int32_t step = 1; step <= 3; ++step) {
    Step();
    EXPECT_EQ(Runner(0).m_Running, 0) << "step " << step;
  }
  // Triggered again in every step, ended there each time; the second command never runs.
  EXPECT_EQ(StepsOf(0, 0), Range(1, 3));
  EXPECT_TRUE(StepsOf(0, 1).empty());
}

TEST_F(FlowControlTest, OnlyTheCommandStartsAFlowWithoutTriggerAndItCanLoopOnItself) {
  // A 常時 flow waits half a second, starts flow A, then waits on; flow A (trigger "none") runs a
  // command of 1/10 s and starts itself over from its first command.
  Make({Flow(kTriggerAlways, {Command(kCharaWait, 5), Control(kFlowOpStart, kFlowScopeById, kIdA, true),
                              Command(kCharaWait, 1000)}),
        WithId(Flow(kTriggerNone, {Command(kCharaWait, 1), Control(kFlowOpStart, kFlowScopeThis)}), kIdA)});
  // Nothing else starts it: not its own trigger, not the others.
  for (std::uint8_t trigger : {kTriggerAlways, kTriggerDamaged, kTriggerDeath})
    RunTriggeredFlows(*m_Chara, trigger);
  EXPECT_EQ(Runner(1).m_Running, 0);
  Steps(50);
  EXPECT_EQ(StepsOf(0, 1), std::vector<std::int32_t>{31});
  std::vector<std::int32_t> first = Range(31, 36);
  for (std::int32_t s : Range(38, 43)) first.push_back(s);
  for (std::int32_t s : Range(45, 50)) first.push_back(s);
  EXPECT_EQ(StepsOf(1, 0), first);
  EXPECT_EQ(StepsOf(1, 1), (std::vector<std::int32_t>{37, 44}));
  EXPECT_EQ(Runner(1).m_Running, 1);
}

}  // namespace
}  // namespace flowtest
