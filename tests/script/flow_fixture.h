#pragma once
// Shared by the flow run-time tests: a play scene, the event scripts installed with a logging
// command executor, and small hand-built characters and flows. Every executed command step is
// logged as (logic step, flow place, command place); a command can ask the logger, through its
// first parameter, to do what the flow-control commands do to their own flow.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/services/record.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "project/command_vocabulary.h"
#include "project/database_frames.h"
#include "project/flow.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "script/event_scripts.h"
#include "script/flow_runtime.h"

namespace flowtest {

struct Exec {
  std::int32_t step;
  std::int32_t flow;
  std::int32_t command;
  bool operator==(const Exec&) const = default;
};

// What a command asks the logger for (its first parameter).
constexpr std::int32_t kDoNothing = 0;
constexpr std::int32_t kAbortFrame = 1;        // ends the frame of its flow after it
constexpr std::int32_t kFinishAndAbort = 2;    // as フローの操作 終了 on the own flow
constexpr std::int32_t kKillOwner = 3;         // the character's HP runs out
constexpr std::int32_t kNeverEnds = 4;         // keeps steps left above 1
constexpr std::int32_t kCustom = 5;            // calls FlowTest::m_Custom

// A command of number, time in tenths, parallel or not, with what it asks for.
inline cFlowCommand Command(std::int32_t number, std::int16_t tenths, bool parallel = false,
                            std::int32_t action = kDoNothing) {
  cFlowCommand c;
  c.m_CommandSet = kCharaCommandSet;
  c.m_CommandNumber = static_cast<std::uint8_t>(number);
  c.m_UseTime = tenths;
  c.m_Parallel = parallel ? 1 : 0;
  c.m_Params.assign(1, action);
  return c;
}

inline cFlow Flow(std::uint8_t trigger, std::vector<cFlowCommand> commands, std::uint8_t group = 0) {
  cFlow f;
  f.m_Trigger = trigger;
  f.m_Group = group;
  f.m_Commands.assign(commands.begin(), commands.end());
  return f;
}

class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitRecordSettings();
    g_System.m_LegacyScrollSync = 0;
    g_System.m_LegacyFlowRetrigger = 0;
    g_Stage.SetSpeedLevel(1);
    m_Scene = std::make_unique<cPlayScene>();
    g_PlayScene = m_Scene.get();
    InstallEventScripts();
    s_Test = this;
    m_Before = SetCommandExecutor(&Log);
  }

  void TearDown() override {
    SetCommandExecutor(m_Before);
    UninstallEventScripts();
    s_Test = nullptr;
    g_PlayScene = nullptr;
    m_Scene.reset();
    g_AnimeFrameLists.clear();
  }

  // The character with these flows, its runners built.
  void Make(std::vector<cFlow> flows) {
    cCharaDef def;
    def.m_MaxHp = 10;
    def.m_Flows.assign(flows.begin(), flows.end());
    m_Chara = std::make_unique<cChara>();
    m_Chara->Init(&def, 0, 0, 0);
    m_Chara->m_Operator = 1;
    AddFlows(*m_Chara, m_Chara->m_Def.m_Flows, 0, 0, -1);
  }

  // One logic step as the play scene runs a character: step flags, the 常時 trigger, the flows.
  std::int32_t Step() {
    ++m_Step;
    m_Chara->ResetFlowStepFlags();
    RunTriggeredFlows(*m_Chara, kTriggerAlways);
    return m_Chara->RunFlows(0);
  }
  void Steps(std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) Step();
  }

  // The logged steps of command c of flow f.
  std::vector<std::int32_t> StepsOf(std::int32_t f, std::int32_t c) const {
    std::vector<std::int32_t> steps;
    for (const Exec& e : m_Log)
      if (e.flow == f && e.command == c) steps.push_back(e.step);
    return steps;
  }

  cFlowRunner& Runner(std::int32_t i) { return m_Chara->m_Runners[static_cast<std::size_t>(i)]; }

  // Steps from..to inclusive.
  static std::vector<std::int32_t> Range(std::int32_t from, std::int32_t to) {
    std::vector<std::int32_t> v;
    for (std::int32_t s = from; s <= to; ++s) v.push_back(s);
    return v;
  }

  static void Log(cCharaBase& chara, cCommandInstance& instance) {
    FlowTest& t = *s_Test;
    cFlowRunner* runner = g_PlayScene->m_ExecFlow;
    EXPECT_EQ(&chara, g_PlayScene->m_ExecChara);
    EXPECT_EQ(&instance, g_PlayScene->m_ExecCommand);
    ASSERT_NE(runner, nullptr);
    const auto command = static_cast<std::int32_t>(&instance - runner->m_Instances.data());
    ASSERT_TRUE(command >= 0 && command < runner->m_Instances.Size()) << "instance outside its runner";
    t.m_Log.push_back({t.m_Step, runner->m_Index, command});
    switch (instance.m_Command->m_Params.At(0)) {
      case kAbortFrame:
        runner->m_AbortFrame = 1;
        break;
      case kFinishAndAbort:
        FinishFlow(*runner, chara);
        runner->m_AbortFrame = 1;
        break;
      case kKillOwner:
        chara.m_Hp = 0;
        break;
      case kNeverEnds:
        instance.m_StepsLeft = 100;
        break;
      case kCustom:
        t.m_Custom(chara, instance);
        break;
      default:
        break;
    }
  }

  static inline FlowTest* s_Test = nullptr;
  std::unique_ptr<cPlayScene> m_Scene;
  std::unique_ptr<cChara> m_Chara;
  std::vector<Exec> m_Log;
  std::int32_t m_Step = 0;
  std::function<void(cCharaBase&, cCommandInstance&)> m_Custom;
  CommandExecutor m_Before = nullptr;
};

}  // namespace flowtest
