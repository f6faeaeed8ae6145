// Key conditions: a flow's key steps matched against player 1's per-key run histories, from the
// newest step back to the oldest, each step found at or a few frames before the frame where the
// next one began.
#include <algorithm>
#include <array>
#include <limits>

#include "platform/input/input.h"
#include "play/chara_base.h"
#include "script/conditions.h"

namespace {

// One cursor per key history. position counts the frames of the cursor's run up to and including
// the cursor's frame, from the run's oldest frame: the run's length at its newest frame, 1 at its
// oldest. Below 1 the cursor has walked past the oldest run the history keeps.
struct KeyCursor {
  std::int32_t m_Run = 0;
  std::int64_t m_Position = 0;
};

class cKeyCursors {
 public:
  // Every cursor on the newest frame.
  explicit cKeyCursors(const cInput& input) {
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
      // A history that was never made has no frames to offer.
      m_Histories[slot] = input.KeyRuns(slot);
      m_Cursors[slot] = {0, RunLength(slot, 0)};
    }
  }

  // Every cursor frames older; past a run's oldest frame into the newest frame of the run before it.
  void Back(std::int64_t frames) {
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
      KeyCursor& c = m_Cursors[slot];
      c.m_Position -= frames;
      while (c.m_Position <= 0 && c.m_Run < LastRun(slot)) {
        ++c.m_Run;
        c.m_Position += RunLength(slot, c.m_Run);
      }
    }
  }

  // Every cursor frames newer, never past the newest run.
  void Forward(std::int64_t frames) {
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
      KeyCursor& c = m_Cursors[slot];
      c.m_Position += frames;
      while (c.m_Run > 0 && c.m_Position > RunLength(slot, c.m_Run)) {
        c.m_Position -= RunLength(slot, c.m_Run);
        --c.m_Run;
      }
    }
  }

  std::int64_t Position(int slot) const { return m_Cursors[slot].m_Position; }

  // Whether key slot is in the wanted state at its cursor: held (for a time the step allows) or
  // released. A state the step cannot mean never passes.
  bool Passes(int slot, std::uint8_t wanted, const cKeyCondition& step) const {
    const KeyCursor& c = m_Cursors[slot];
    if (m_Histories[slot] == nullptr || c.m_Position < 1) return false;
    const bool on = (*m_Histories[slot])[static_cast<std::size_t>(c.m_Run)].state != 0;
    if (wanted == kKeyHeld)
      return on && (step.m_AnyHold != 0 || (step.m_ShortestHold <= c.m_Position && c.m_Position <= step.m_LongestHold));
    if (wanted == kKeyReleased) return !on;
    return false;
  }

 private:
  std::int32_t LastRun(int slot) const {
    const Elem16* history = m_Histories[slot];
    return history != nullptr ? std::min(history->Size(), kKeyRunCount) - 1 : 0;
  }
  std::int64_t RunLength(int slot, std::int32_t run) const {
    const Elem16* history = m_Histories[slot];
    return history != nullptr ? (*history)[static_cast<std::size_t>(run)].count : 0;
  }

  std::array<const Elem16*, kKeySlotCount> m_Histories{};
  std::array<KeyCursor, kKeySlotCount> m_Cursors{};
};

// Whether a step holds at the cursors, and how far back the frames it covers reach (its hold
// length): the shortest hold among the passing keys when all must pass, the longest when one is
// enough, the one key's when exactly one must pass.
bool StepMatches(const cKeyCondition& step, bool facingLeft, const cKeyCursors& cursors, std::int64_t& hold) {
  const bool mirrored = facingLeft && step.m_FacingRelative != 0;
  const int slots = std::min<int>(kKeySlotCount, static_cast<int>(step.m_KeyStates.size()));
  int passing = 0;
  bool failed = false;
  std::int64_t shortest = std::numeric_limits<std::int64_t>::max();
  std::int64_t longest = 0;
  for (int slot = 0; slot < slots; ++slot) {
    const std::uint8_t wanted = step.m_KeyStates[static_cast<std::size_t>(slot)];
    if (wanted == kKeyIgnored) continue;
    const int key = mirrored ? cKeyCondition::MirroredSlot(slot) : slot;
    if (!cursors.Passes(key, wanted, step)) {
      failed = true;
      continue;
    }
    ++passing;
    shortest = std::min(shortest, cursors.Position(key));
    longest = std::max(longest, cursors.Position(key));
  }
  switch (step.m_Combination) {
    case kKeysAll:
      hold = passing > 0 ? shortest : 0;
      return !failed;
    case kKeysAny:
      hold = longest;
      return passing >= 1;
    case kKeysExactlyOne:
      hold = longest;
      return passing == 1;
    default:
      return false;
  }
}

// A key-triggered flow whose keys stay matched keeps its group busy for this step; the group is
// handed back at the end of the character's flow step.
void HoldGroupForStep(cCharaBase& chara, std::int32_t group) {
  if (group >= chara.m_GroupBusy.Size() || group >= chara.m_GroupRelease.Size()) return;
  chara.m_GroupBusy.At(group) = 1;
  chara.m_GroupRelease.At(group) = 1;
  chara.m_ReleaseRequested = 1;
}

}  // namespace

bool MatchKeySteps(const CheckedVector<cKeyCondition*>& steps, std::int32_t tolerance, bool facingLeft,
                   const cInput& input) {
  if (steps.empty()) return true;
  for (const cKeyCondition* step : steps)
    if (step == nullptr) return false;
  cKeyCursors cursors(input);
  std::int64_t hold = 0;
  std::int32_t i = steps.Size() - 1;
  // The newest step holds now.
  if (!StepMatches(*steps[static_cast<std::size_t>(i)], facingLeft, cursors, hold)) return false;
  while (i > 0) {
    // The step before it is looked for where this one began, or up to tolerance frames earlier.
    cursors.Back(hold);
    const cKeyCondition& step = *steps[static_cast<std::size_t>(--i)];
    if (StepMatches(step, facingLeft, cursors, hold)) continue;
    if (tolerance <= 0) return false;
    bool found = false;
    for (std::int32_t k = 0; k < tolerance && !found; ++k) {
      cursors.Back(1);
      found = StepMatches(step, facingLeft, cursors, hold);
    }
    if (found) continue;
    cursors.Forward(std::int64_t{tolerance} + 1);
    if (!StepMatches(step, facingLeft, cursors, hold)) return false;
  }
  return true;
}

std::int32_t CheckKeyConditions(cCharaBase& chara, cFlowRunner& runner) {
  if (runner.m_KeyConditions.empty()) return 1;
  const cFlow* flow = runner.m_Flow;
  if (flow == nullptr) return 0;
  // The histories are always player 1's, whoever owns the flow. The tolerance is a signed byte.
  const bool match = !g_Inputs.empty() && MatchKeySteps(runner.m_KeyConditions,
                                                        static_cast<std::int8_t>(flow->m_KeyTolerance),
                                                        chara.m_Direction == 0, g_Inputs.front());
  const bool wasLatched = runner.m_KeyLatched != 0;
  runner.m_KeyLatched = match ? 1 : 0;
  if (flow->m_KeyRepeat != 0 || !match) return match ? 1 : 0;
  if (!wasLatched) return 1;
  if (flow->m_Trigger == 0 && flow->m_Group != 0) HoldGroupForStep(chara, flow->m_Group);
  return 0;
}
