// One flow step of a character or hero: its own motion reset, the preparatory animations, one frame
// of every running runner, then what the runners asked for (flow changes of the hero, deletions,
// group releases) and the standing pattern.
#include <cstdint>
#include <type_traits>
#include <utility>

#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/flow.h"
#include "script/event_scripts.h"
#include "script/exec_context.h"
#include "script/flow_change.h"
#include "script/flow_runtime.h"

namespace {

// One frame of every running runner. True when the loop stopped because the character has gone
// (vanished, or out of HP outside its death flows).
template <class Object>
bool RunRunners(Object& chara, std::int32_t deathOnly) {
  for (std::int32_t i = 0; i < chara.m_Runners.Size(); ++i) {
    cFlowRunner& runner = chara.m_Runners[static_cast<std::size_t>(i)];
    if (runner.m_Running == 0) continue;
    if (runner.m_Instances.empty()) {
      FinishFlow(runner, chara);
      continue;
    }
    if (runner.m_Paused != 0 || runner.m_Stopped != 0) continue;
    const std::int32_t trigger = runner.m_Flow != nullptr ? runner.m_Flow->m_Trigger : -1;
    if (deathOnly != 0 && trigger != kTriggerDeath) continue;
    const std::int32_t serial = runner.m_Serial;
    const std::uint32_t edits = chara.m_FlowEdits;
    const std::int32_t ended = RunFlowFrame(runner);
    cFlowRunner* now = &runner;
    if (chara.m_FlowEdits != edits) {
      // Its commands edited the flows: go on after the runner where it is now, or, when it is
      // gone, with the runner that took its place.
      now = FindRunnerBySerial(chara, serial);
      i = now != nullptr ? now->m_Index : i - 1;
    }
    if (ended != 0 && now != nullptr) FinishFlow(*now, chara);
    bool vanished = false;
    if constexpr (std::is_same_v<Object, cChara>) vanished = chara.m_RemovalMark != 0;
    if (vanished || (deathOnly == 0 && trigger != kTriggerDeath && chara.m_Hp <= 0)) return true;
  }
  return false;
}

// The runners marked deleted go with their flows.
void RemoveDeletedFlows(cCharaBase& chara) {
  if (chara.m_RemoveFlowsRequested == 0) return;
  for (std::int32_t i = 0; i < chara.m_Runners.Size();) {
    if (chara.m_Runners[static_cast<std::size_t>(i)].m_Deleted != 0)
      chara.RemoveFlowAt(i);
    else
      ++i;
  }
  chara.m_RemoveFlowsRequested = 0;
}

// The groups whose flows ended in this step become free: the next flow of a group starts one step
// later at the earliest.
void ReleaseGroups(cCharaBase& chara) {
  if (chara.m_ReleaseRequested == 0) return;
  for (std::int32_t g = 0; g < chara.m_GroupRelease.Size() && g < chara.m_GroupBusy.Size(); ++g) {
    if (chara.m_GroupRelease[static_cast<std::size_t>(g)] == 0) continue;
    chara.m_GroupRelease[static_cast<std::size_t>(g)] = 0;
    chara.m_GroupBusy[static_cast<std::size_t>(g)] = 0;
  }
  chara.m_ReleaseRequested = 0;
}

// The flow changes hero 0's commands queued while its runners ran, in queue order.
void ApplyQueuedFlowChanges(cHero& hero) {
  if (hero.m_QueuedFlowChanges.empty()) return;
  CheckedVector<cFlowCommand> queue = std::move(hero.m_QueuedFlowChanges);
  hero.m_QueuedFlowChanges.clear();
  for (cFlowCommand& command : queue) DoChangeFlow(hero, command, 1);
}

template <class Object>
std::int32_t RunObjectFlows(Object& chara, std::int32_t deathOnly) {
  if (g_PlayScene == nullptr) return chara.m_Hp <= 0 ? 1 : 0;
  cPlayScene& scene = *g_PlayScene;
  const cExecContextScope scope(scene);
  scene.m_ExecChara = &chara;
  scene.m_StatusChanged = 0;
  chara.BeginFlowStep();
  PlayFlowAnimationCues(chara);
  if (RunRunners(chara, deathOnly)) return 1;
  scope.Restore();
  if constexpr (std::is_same_v<Object, cHero>) ApplyQueuedFlowChanges(chara);
  RemoveDeletedFlows(chara);
  ReleaseGroups(chara);
  // The hero's state keeps no frame counter and no command motion of its own in this program: its
  // jump state is kept by the jump itself, and the per-step command flags were cleared above.
  chara.SetStandingAnimeWhenIdle();
  return chara.m_Hp <= 0 ? 1 : 0;
}

}  // namespace

std::int32_t cEventScriptRuntime::RunFlows(cChara& chara, std::int32_t deathOnly) {
  return RunObjectFlows(chara, deathOnly);
}

std::int32_t cEventScriptRuntime::RunFlows(cHero& hero, std::int32_t deathOnly) {
  return RunObjectFlows(hero, deathOnly);
}
