#pragma once
// The contact passes find the objects of a group that a box overlaps without walking the group:
// copies of one kind of box of the group's objects, sorted by left edge, with their common bounds.
// Only a contact that strikes runs flows, which may move, add or remove objects; until one does the
// copies stay true, and the pass takes them again after it. The buffers keep their room from step to
// step, so a pass allocates nothing once they have grown.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "play/chara_base.h"
#include "play/object_list.h"
#include "play/play_scene.h"

class cGroupBoxes {
 public:
  // An object of a group: where it stands in the group list and its rank in the list's order.
  struct cPlace {
    std::int32_t m_Order;
    cCharaBase** m_Place;
  };

  explicit cGroupBoxes(cSubBox cCharaBase::*box) : m_Box(box) {}

  void Invalidate() { m_Fresh.fill(false); }

  // The objects of the group whose boxes overlap box, in list order. Valid until the next call.
  const std::vector<cPlace>& Overlapping(std::size_t group, cObjectList<cCharaBase*>& list, const cSubBox& box) {
    m_Found.clear();
    if (!m_Fresh[group]) Take(group, list);
    const auto& entries = m_Entries[group];
    if (entries.empty() || !BoxesOverlap(m_Bounds[group], box)) return m_Found;
    // Only boxes starting within the widest width left of box can reach it.
    const double from = box.m_X1 - m_MaxWidth[group];
    auto it = std::lower_bound(entries.begin(), entries.end(), from,
                               [](const cEntry& one, double x) { return one.m_Box.m_X1 < x; });
    for (; it != entries.end() && it->m_Box.m_X1 <= box.m_X2; ++it)
      if (BoxesOverlap(it->m_Box, box)) m_Found.push_back(it->m_At);
    std::sort(m_Found.begin(), m_Found.end(), [](const cPlace& a, const cPlace& b) { return a.m_Order < b.m_Order; });
    return m_Found;
  }

 private:
  struct cEntry {
    cSubBox m_Box;
    cPlace m_At;
  };

  void Take(std::size_t group, cObjectList<cCharaBase*>& list) {
    auto& entries = m_Entries[group];
    entries.clear();
    m_MaxWidth[group] = 0.0;
    cSubBox& bounds = m_Bounds[group];
    for (cCharaBase*& place : list) {
      const cSubBox& b = place->*m_Box;
      if (entries.empty()) {
        bounds = b;
      } else {
        bounds.m_X1 = std::min(bounds.m_X1, b.m_X1);
        bounds.m_Y1 = std::min(bounds.m_Y1, b.m_Y1);
        bounds.m_X2 = std::max(bounds.m_X2, b.m_X2);
        bounds.m_Y2 = std::max(bounds.m_Y2, b.m_Y2);
      }
      entries.push_back({b, {static_cast<std::int32_t>(entries.size()), &place}});
      m_MaxWidth[group] = std::max(m_MaxWidth[group], b.m_X2 - b.m_X1);
    }
    std::sort(entries.begin(), entries.end(),
              [](const cEntry& a, const cEntry& b) { return a.m_Box.m_X1 < b.m_Box.m_X1; });
    m_Fresh[group] = true;
  }

  cSubBox cCharaBase::*m_Box;
  std::array<std::vector<cEntry>, kObjectGroups> m_Entries;
  std::array<cSubBox, kObjectGroups> m_Bounds{};
  std::array<double, kObjectGroups> m_MaxWidth{};
  std::array<bool, kObjectGroups> m_Fresh{};
  std::vector<cPlace> m_Found;
};

// Tries the objects at places (found by cGroupBoxes, in list order) with
// tryOne(chara, changed) -> code. Until a try changes something the places are all it can reach;
// after one the rest of the group is walked in list order as it now stands, the same objects a walk
// of the whole group would have tried. Stops at the first non-zero code (returned), or when goOn()
// is false after a try. changed tells whether any try changed something.
template <class TryOne, class GoOn>
std::int32_t TryInListOrder(cObjectList<cCharaBase*>& group, const std::vector<cGroupBoxes::cPlace>& places,
                            bool& changed, TryOne&& tryOne, GoOn&& goOn) {
  // Held from the start: an object a try removes keeps its place for the walk to resume from.
  typename cObjectList<cCharaBase*>::cWalk walk(group);
  bool now = false;
  for (const cGroupBoxes::cPlace& at : places) {
    cCharaBase** const place = at.m_Place;
    const std::int32_t code = tryOne(**place, now);
    changed = changed || now;
    if (code != 0) return code;
    if (!goOn()) return 0;
    if (!now) continue;
    walk.SeekTo(place);
    break;
  }
  if (!now) return 0;
  for (walk.Next(); !walk.Done(); walk.Next()) {
    if (const std::int32_t code = tryOne(*walk.Current(), now); code != 0) return code;
    if (!goOn()) return 0;
  }
  return 0;
}
