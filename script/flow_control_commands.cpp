// "フローの操作": the flow control of a character's own runners.
#include <cstdint>

#include "play/chara_base.h"
#include "play/play_scene.h"
#include "script/exec_context.h"
#include "script/flow_runtime.h"
#include "script/move_commands.h"
#include "script/stage_commands.h"

namespace {

// Whether the runner is one the command addresses.
bool Addressed(const cFlowRunner& runner, std::int32_t scope, std::int32_t currentSerial, std::int32_t id) {
  const bool current = currentSerial >= 0 && runner.m_Serial == currentSerial;
  switch (scope) {
    case kFlowScopeThis:
      return current;
    case kFlowScopeOthers:
      return !current;
    case kFlowScopeById:
      // A flow without an ID is never addressed by one.
      return id != 0 && runner.m_Flow != nullptr && runner.m_Flow->m_FlowId == id;
    default:
      return false;
  }
}

// The operation on one runner; false when its frame goes on (a resume).
bool Operate(cCharaBase& chara, cFlowRunner& runner, std::int32_t operation) {
  switch (operation) {
    case kFlowOpStart:
      // From the first command whatever its trigger and conditions; paused and stopped stay.
      FinishFlow(runner, chara);
      chara.RemoveFlowLinks(runner.m_Serial);
      StartFlow(runner);
      return true;
    case kFlowOpFinish:
      FinishFlow(runner, chara);
      chara.RemoveFlowLinks(runner.m_Serial);
      return true;
    case kFlowOpPause:
      PauseFlow(runner);
      chara.PauseFlowLinks(runner.m_Serial);
      return true;
    case kFlowOpResume:
      ResumeFlow(runner);
      chara.ResumeFlowLinks(runner.m_Serial);
      return false;
    case kFlowOpDelete:
      runner.m_Deleted = 1;
      chara.m_RemoveFlowsRequested = 1;
      return true;
    case kFlowOpStop:
      StopFlow(runner, chara);
      chara.RemoveFlowLinks(runner.m_Serial);
      return true;
    default:
      return false;
  }
}

}  // namespace

void CmdFlowControl(cCharaBase& chara, cCommandInstance& instance) {
  if (g_PlayScene == nullptr) return;
  cPlayScene& scene = *g_PlayScene;
  const std::int32_t operation = CommandParam(instance, 0);
  const std::int32_t scope = CommandParam(instance, 1);
  const std::int32_t id = CommandParam(instance, 2);
  if (operation < kFlowOpStart || operation > kFlowOpStop) return;
  // A restarted flow of the before-stage-start trigger runs commands at once, which moves the
  // context: the command's own goes on afterwards. Runners are named by serial, which survives a
  // command that edits the flows.
  const cExecContextScope context(scene);
  const std::int32_t currentSerial = scene.m_ExecFlow != nullptr ? scene.m_ExecFlow->m_Serial : -1;
  for (std::int32_t i = 0; i < chara.m_Runners.Size(); ++i) {
    cFlowRunner& runner = chara.m_Runners[static_cast<std::size_t>(i)];
    if (!Addressed(runner, scope, currentSerial, id)) continue;
    const std::int32_t serial = runner.m_Serial;
    scene.m_ExecChara = &chara;
    const bool abort = Operate(chara, runner, operation);
    if (!abort) continue;
    if (cFlowRunner* now = FindRunnerBySerial(chara, serial); now != nullptr) now->m_AbortFrame = 1;
  }
}
