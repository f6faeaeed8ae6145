// The flows a character holds, the animations they started, and the key-state tests of key
// conditions.
#include <algorithm>
#include <cstdint>

#include "platform/input/input.h"
#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "play/flow_runner.h"

void FinishFlow(cFlowRunner& runner, cCharaBase& chara) {
  if (runner.m_Running == 0) return;
  runner.m_Running = 0;
  for (cCommandInstance& instance : runner.m_Instances) instance.m_StepsLeft = 0;
  const std::int32_t group = runner.m_Flow != nullptr ? runner.m_Flow->m_Group : 0;
  if (group != 0 && group < chara.m_GroupRelease.Size()) {
    chara.m_GroupRelease.At(group) = 1;
    chara.m_ReleaseRequested = 1;
  }
}

void cCharaBase::RemoveFlowAt(std::int32_t index) {
  // A bad index is reported, and nothing is removed: another flow must not go in its place.
  if (index < 0 || index >= m_Runners.Size() || index >= m_Def.m_Flows.Size()) {
    ReportBadVectorIndex(index, m_Runners.Size(), CheckedElementSize<cFlowRunner>());
    return;
  }
  cFlowRunner& runner = m_Runners.At(index);
  FinishFlow(runner, *this);
  RemoveFlowLinks(runner.m_Serial);
  m_Def.m_Flows.erase(m_Def.m_Flows.begin() + index);
  m_Runners.erase(m_Runners.begin() + index);
  BindFlowRunners();
}

std::int32_t cCharaBase::RemoveFlowsById(std::int32_t id) {
  if (id == 0) {
    while (!m_Runners.empty() && !m_Def.m_Flows.empty()) RemoveFlowAt(0);
    // Animations that no runner owns (started by an item's list) go as well.
    m_FlowAnimations.clear();
    return 0;
  }
  std::int32_t first = -1;
  for (std::int32_t i = 0; i < m_Def.m_Flows.Size() && i < m_Runners.Size();) {
    const std::uint8_t flowId = m_Def.m_Flows.At(i).m_FlowId;
    if (flowId != 0 && flowId == id) {
      if (first < 0) first = i;
      RemoveFlowAt(i);
    } else {
      ++i;
    }
  }
  return first;
}

void cCharaBase::CopyFlowRunners(const cCharaBase& other) {
  m_Runners = other.m_Runners;
  BindFlowRunners();
}

void cCharaBase::BindFlowRunners() {
  ++m_FlowEdits;
  for (std::int32_t i = 0; i < m_Runners.Size(); ++i) {
    cFlowRunner& runner = m_Runners.At(i);
    runner.m_Index = i;
    if (i >= m_Def.m_Flows.Size()) {
      // A runner without its flow runs nothing.
      runner.m_Flow = nullptr;
      runner.m_KeyConditions.clear();
      for (cCommandInstance& instance : runner.m_Instances) instance.m_Command = nullptr;
      continue;
    }
    cFlow& flow = m_Def.m_Flows.At(i);
    runner.m_Flow = &flow;
    runner.m_KeyConditions.resize(flow.m_KeyConditions.size());
    for (std::size_t k = 0; k < flow.m_KeyConditions.size(); ++k) runner.m_KeyConditions[k] = &flow.m_KeyConditions[k];
    for (std::size_t c = 0; c < runner.m_Instances.size(); ++c)
      runner.m_Instances[c].m_Command = c < flow.m_Commands.size() ? &flow.m_Commands[c] : nullptr;
  }
}

void cCharaBase::ResetFlowStepFlags() {
  for (cFlowRunner& runner : m_Runners) {
    runner.m_TriedThisStep = 0;
    runner.m_StartedThisStep = 0;
  }
  std::fill(m_GroupStarted.begin(), m_GroupStarted.end(), 0);
}

void cCharaBase::RemoveFlowLinks(std::int32_t serial) {
  m_FlowAnimations.remove_if([serial](const cFlowAnimation& a) { return a.m_FlowSerial == serial; });
}

void cCharaBase::PauseFlowLinks(std::int32_t serial) {
  // Those already over go; the rest wait.
  m_FlowAnimations.remove_if([serial](const cFlowAnimation& a) {
    return a.m_FlowSerial == serial && std::int64_t{a.m_FramesLeft} + a.m_Priority - 1 < 0;
  });
  for (cFlowAnimation& a : m_FlowAnimations)
    if (a.m_FlowSerial == serial) a.m_Paused = 1;
}

void cCharaBase::ResumeFlowLinks(std::int32_t serial) {
  for (cFlowAnimation& a : m_FlowAnimations)
    if (a.m_FlowSerial == serial) a.m_Paused = 0;
}

namespace {

// The current state of key slot k (0..9 directions, 10..18 buttons): the newest run of its history.
std::uint32_t CurrentKeyState(const cInput& input, int slot) {
  // Histories that were never set up hold no key down.
  const Elem16* runs = input.KeyRuns(slot);
  return runs != nullptr ? runs->At(0).state : 0;
}

}  // namespace

bool KeyStateMatches(const cInput& input, const cKeyCondition& condition) {
  const int slots = std::min<int>(kKeySlotCount, static_cast<int>(condition.m_KeyStates.size()));
  int matches = 0;
  bool failed = false;
  for (int slot = 0; slot < slots; ++slot) {
    const std::uint8_t wanted = condition.m_KeyStates[static_cast<std::size_t>(slot)];
    if (wanted == kKeyIgnored) continue;
    const bool down = CurrentKeyState(input, slot) != 0;
    const bool match = (wanted == kKeyHeld && down) || (wanted == kKeyReleased && !down);
    if (match) {
      ++matches;
      if (condition.m_Combination == kKeysAny) break;
    } else {
      failed = true;
    }
  }
  switch (condition.m_Combination) {
    case kKeysAny:
      return matches >= 1;
    case kKeysExactlyOne:
      return matches == 1;
    default:
      return !failed;
  }
}

std::int32_t FirstPressedDirection(const cInput& input) {
  for (int slot = 0; slot < kFirstButtonSlot; ++slot)
    if (CurrentKeyState(input, slot) != 0) return slot;
  return 0;
}
