// The rules by which the world-map scenes read the map: which entry of an event is active, which
// cells the cursor may enter, and when standing on a stage entrance starts its stage. They fix what
// the entry fields mean, so they live beside the record.
#include <array>
#include <cstdint>

#include "project/world_map.h"

namespace {

using Comparison = bool (*)(std::int32_t variable, std::int32_t value);

// By the stored comparison number; the variable is on the left.
constexpr std::array<Comparison, 6> kComparisons = {
    [](std::int32_t a, std::int32_t b) { return a == b; },  // kCompareEqual
    [](std::int32_t a, std::int32_t b) { return a != b; },  // kCompareNotEqual
    [](std::int32_t a, std::int32_t b) { return a >= b; },  // kCompareAtLeast
    [](std::int32_t a, std::int32_t b) { return a <= b; },  // kCompareAtMost
    [](std::int32_t a, std::int32_t b) { return a > b; },   // kCompareGreater
    [](std::int32_t a, std::int32_t b) { return a < b; },   // kCompareLess
};

// The entry's variable condition: none, or the comparison holds. A variable the progress record
// does not hold, or a comparison number outside the table, never holds.
bool VariableConditionHolds(const cWorldEventItem& entry, const WorldProgress& progress) {
  if (entry.m_Variable == 0) return true;
  if (entry.m_Variable < 0 || static_cast<std::size_t>(entry.m_Variable) >= progress.variables.size()) return false;
  if (entry.m_Comparison < 0 || static_cast<std::size_t>(entry.m_Comparison) >= kComparisons.size()) return false;
  const auto variable = static_cast<std::int32_t>(progress.variables[static_cast<std::size_t>(entry.m_Variable)]);
  return kComparisons[static_cast<std::size_t>(entry.m_Comparison)](variable, entry.m_CompareValue);
}

}  // namespace

bool WorldClearFlagSet(const WorldProgress& progress, std::int32_t n) {
  return n >= 0 && static_cast<std::size_t>(n) < progress.clearFlags.size() &&
         progress.clearFlags[static_cast<std::size_t>(n)] != 0;
}

bool WorldEntryCleared(const cWorldEventItem& entry, const WorldProgress& progress) {
  return WorldClearFlagSet(progress, entry.m_ClearNumber);
}

bool WorldEntryActive(const cWorldEventItem& entry, const WorldProgress& progress) {
  if (entry.m_RequiredClear > 0 && !WorldClearFlagSet(progress, entry.m_RequiredClear)) return false;
  if (!VariableConditionHolds(entry, progress)) return false;
  return progress.totalScore >= entry.m_MinTotalScore;
}

int ActiveWorldEntryIndex(const cWorldEvent& event, const WorldProgress& progress) {
  for (int i = 0; i < event.m_Items.Size(); ++i)
    if (WorldEntryActive(event.m_Items.At(i), progress)) return i;
  return -1;
}

const cWorldEventItem* ActiveWorldEntry(const cWorldEvent& event, const WorldProgress& progress) {
  const int index = ActiveWorldEntryIndex(event, progress);
  return index < 0 ? nullptr : &event.m_Items.At(index);
}

bool CanEnterWorldCell(const cWorldMap& map, std::int32_t x, std::int32_t y, const WorldProgress& progress) {
  if (!map.InsideMap(x, y)) return false;
  if (const cWorldEvent* event = map.FindWorldEventAt(x, y))
    if (const cWorldEventItem* entry = ActiveWorldEntry(*event, progress)) return entry->m_Kind != kWorldEntryWall;
  const cWorldDef* def = map.ChipDefAt(x, y);
  return def != nullptr && def->m_Blocked == 0;
}

bool WorldEntranceStartsStage(const cWorldEventItem& entry, const WorldProgress& progress, bool decidePressed) {
  if (entry.m_Kind != kWorldEntryStage) return false;
  const bool cleared = WorldEntryCleared(entry, progress);
  if (!cleared && entry.m_Open == 0) return true;
  return decidePressed && (!cleared || entry.m_Reentry != 0);
}
