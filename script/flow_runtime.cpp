#include "script/flow_runtime.h"

#include <cstdint>
#include <limits>

#include "platform/host/text_codec.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/command_vocabulary.h"
#include "project/flow.h"
#include "project/system_data.h"
#include "script/command_dispatch.h"
#include "script/conditions.h"
#include "script/event_scripts.h"
#include "script/exec_context.h"

namespace {

CommandExecutor g_CommandExecutor = &ExecCharaCommand;

// The message command's parameters that, both 0, keep its window open for the next message of the
// flow (chaining).
constexpr int kMessageKeepParamA = 15;
constexpr int kMessageKeepParamB = 6;

bool IsParallel(const cFlowCommand* command) { return command != nullptr && command->m_Parallel != 0; }

// A message that stays open for the next one. A command without those parameters is none.
bool IsOpenMessage(const cFlowCommand* command) {
  if (command == nullptr || command->m_CommandNumber != kCharaMessage) return false;
  const auto& p = command->m_Params;
  return p.Size() > kMessageKeepParamA && p[kMessageKeepParamA] == 0 && p[kMessageKeepParamB] == 0;
}

// The held direction pattern (0 none .. 8) on the character's input device: device 0 for a
// computer-operated character, that of its player otherwise.
std::int32_t InputDirectionOf(const cCharaBase& chara) {
  const std::int32_t device = chara.m_Operator != 0 ? 0 : chara.m_Player;
  if (device < 0 || static_cast<std::size_t>(device) >= g_Inputs.size()) return 0;
  return FirstPressedDirection(g_Inputs[static_cast<std::size_t>(device)]);
}

// The before-stage-start walk: each parallel command from number 16 on runs once, at once.
void RunBeforeStartCommands(cPlayScene& scene, cCharaBase& chara, cFlowRunner& first) {
  const std::int32_t serial = first.m_Serial;
  cFlowRunner* runner = &first;
  scene.m_ExecFlow = runner;
  runner->m_AbortFrame = 0;
  for (std::int32_t i = 0; i < runner->m_Instances.Size(); ++i) {
    runner->m_Frontier = i;
    cCommandInstance& instance = runner->m_Instances[static_cast<std::size_t>(i)];
    const cFlowCommand* command = instance.m_Command;
    if (!IsParallel(command) || command->m_CommandNumber < kFirstBeforeStartCommand) continue;
    const std::uint32_t edits = chara.m_FlowEdits;
    const std::int32_t ended = ExecCommandInstance(instance);
    if (chara.m_FlowEdits != edits) {
      runner = FindRunnerBySerial(chara, serial);
      if (runner == nullptr) return;
      scene.m_ExecFlow = runner;
    }
    if (ended == 0) LogLine(SJ("使用時間0なので、ここにくることはあり得ないはず！"));
    if (runner->m_AbortFrame != 0) break;
    if (i < runner->m_Instances.Size()) runner->m_Instances[static_cast<std::size_t>(i)].m_Done = 1;
  }
  FinishFlow(*runner, chara);
}

}  // namespace

CommandExecutor SetCommandExecutor(CommandExecutor executor) {
  CommandExecutor before = g_CommandExecutor;
  g_CommandExecutor = executor != nullptr ? executor : &ExecCharaCommand;
  return before;
}

cFlowRunner* FindRunnerBySerial(cCharaBase& chara, std::int32_t serial) {
  for (cFlowRunner& runner : chara.m_Runners)
    if (runner.m_Serial == serial) return &runner;
  return nullptr;
}

void cEventScriptRuntime::RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger) {
  if (g_PlayScene == nullptr) return;
  cPlayScene& scene = *g_PlayScene;
  const cExecContextScope scope(scene);
  scene.m_ExecChara = &chara;
  // Projects from before the setting existed try a flow at every raise.
  const bool oncePerStep = g_System.m_LegacyFlowRetrigger == 0;
  // By place, not by address: a before-stage-start flow runs commands that may edit the vectors.
  for (std::int32_t i = 0; i < chara.m_Runners.Size(); ++i) {
    cFlowRunner& runner = chara.m_Runners[static_cast<std::size_t>(i)];
    if (!HearsTrigger(runner, trigger)) continue;
    if (oncePerStep) {
      if (runner.m_TriedThisStep != 0) continue;
      runner.m_TriedThisStep = 1;
    }
    if (runner.m_Running != 0 || runner.m_Paused != 0 || runner.m_Stopped != 0 || runner.m_StartedThisStep != 0)
      continue;
    if (trigger == kTriggerAlways) {
      const std::int32_t group = FlowGroupOf(runner);
      if (group != 0 && (chara.m_GroupBusy.At(group) != 0 || chara.m_GroupStarted.At(group) != 0)) continue;
    }
    if (CheckFlowConditions(runner, chara) == 0 || CheckKeyConditions(chara, runner) == 0) continue;
    runner.m_InputDirection = InputDirectionOf(chara);
    StartFlow(runner);
  }
}

void StartFlow(cFlowRunner& runner) {
  runner.m_Running = 1;
  runner.m_Frontier = 0;
  runner.m_FrameCounter = 0;
  runner.m_MessageOpen = 0;
  for (cCommandInstance& instance : runner.m_Instances) instance.m_Done = 0;
  runner.m_StartedThisStep = 1;
  if (g_PlayScene == nullptr || g_PlayScene->m_ExecChara == nullptr || runner.m_Flow == nullptr) return;
  cCharaBase& chara = *g_PlayScene->m_ExecChara;
  const std::int32_t group = FlowGroupOf(runner);
  if (runner.m_Flow->m_Trigger == kTriggerAlways && group != 0) {
    chara.m_GroupBusy.At(group) = 1;
    chara.m_GroupStarted.At(group) = 1;
  }
  if (runner.m_Flow->m_Trigger == kTriggerBeforeStageStart && !runner.m_Instances.empty())
    RunBeforeStartCommands(*g_PlayScene, chara, runner);
}

void StopFlow(cFlowRunner& runner, cCharaBase& chara) {
  runner.m_Stopped = 1;
  if (runner.m_Running == 0) return;
  FinishFlow(runner, chara);
  runner.m_Running = 1;
}

void PauseFlow(cFlowRunner& runner) { runner.m_Paused = 1; }
void ResumeFlow(cFlowRunner& runner) { runner.m_Paused = 0; }

void ResetCommandInstance(cCommandInstance& instance) {
  instance.m_Done = 0;
  instance.m_StepCounter = 0;
  instance.m_Started = 0;
  instance.m_Scratch.fill(0);
  instance.m_StepsLeft = instance.m_Duration;
}

std::int32_t ExecCommandInstance(cCommandInstance& instance) {
  cCommandInstance* at = &instance;
  if (g_PlayScene != nullptr) {
    cPlayScene& scene = *g_PlayScene;
    scene.m_ExecCommand = at;
    if (scene.m_ExecChara != nullptr && instance.m_Command != nullptr) {
      cCharaBase& chara = *scene.m_ExecChara;
      const cInstancePlace place = PlaceOf(scene.m_ExecFlow, instance);
      const std::uint32_t edits = chara.m_FlowEdits;
      g_CommandExecutor(chara, instance);
      // The command edited the flows: its instance has moved, or is gone with its flow (ended).
      if (chara.m_FlowEdits != edits) {
        at = FindInstance(chara, place);
        if (at == nullptr) return 1;
      }
    }
  }
  // Counted in 64 bits: a command may leave any value in its steps.
  const std::int64_t left = std::int64_t{at->m_StepsLeft} - 1;
  if (left > 0) {
    at->m_StepsLeft = static_cast<std::int32_t>(left);
    return 0;
  }
  at->m_StepsLeft = 0;
  return 1;
}

std::int32_t RunFlowFrame(cFlowRunner& first) {
  if (g_PlayScene == nullptr || g_PlayScene->m_ExecChara == nullptr) return 0;
  cPlayScene& scene = *g_PlayScene;
  cCharaBase& chara = *scene.m_ExecChara;
  const std::int32_t serial = first.m_Serial;
  cFlowRunner* runner = &first;
  scene.m_ExecFlow = runner;
  runner->m_AbortFrame = 0;
  for (std::int32_t i = 0; i <= runner->m_Frontier; ++i) {
    const std::int32_t count = runner->m_Instances.Size();
    if (i >= count) continue;
    cCommandInstance& instance = runner->m_Instances[static_cast<std::size_t>(i)];
    if (instance.m_Done != 0) continue;
    const cFlowCommand* command = instance.m_Command;
    const bool parallel = IsParallel(command);
    const bool openMessage = IsOpenMessage(command);
    if (instance.m_StepsLeft == 0) {
      ResetCommandInstance(instance);
      if (!parallel && !openMessage) runner->m_MessageOpen = 0;
    }
    const bool last = i == count - 1;
    const std::uint32_t edits = chara.m_FlowEdits;
    const std::int32_t ended = ExecCommandInstance(instance);
    if (chara.m_FlowEdits != edits) {
      // The command edited the flows; a flow that removed itself has no frame left to run.
      runner = FindRunnerBySerial(chara, serial);
      if (runner == nullptr || i >= runner->m_Instances.Size()) return 0;
      scene.m_ExecFlow = runner;
    }
    // The command started its own flow over (the frontier went back behind it): the fresh start
    // stays as it is, the command counts as not run.
    if (runner->m_AbortFrame != 0 && runner->m_Frontier < i) return 0;
    cCommandInstance& now = runner->m_Instances[static_cast<std::size_t>(i)];
    if (parallel) {
      if (ended != 0) {
        now.m_Done = 1;
        if (last) return 1;
      }
      // The next command starts in this same step.
      if (i == runner->m_Frontier) ++runner->m_Frontier;
      if (runner->m_AbortFrame != 0) return 0;
      continue;
    }
    if (ended == 0) {
      if (runner->m_AbortFrame != 0) return 0;
      continue;  // later parallel commands up to the frontier still run
    }
    now.m_Done = 1;
    if (openMessage) runner->m_MessageOpen = 1;
    if (last) return 1;
    // The next sequential command starts in the next step.
    ++runner->m_Frontier;
    break;
  }
  if (runner->m_Instances.empty() || runner->m_Instances.back().m_Done != 0) return 1;
  ++runner->m_FrameCounter;
  return 0;
}
