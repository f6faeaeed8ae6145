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

  void Invalidate() {
    m_Fresh.fill(false);
    m_Walked.fill(false);
  }

  // The objects of the group whose boxes overlap box, in list order. Valid until the next call.
  const std::vector<cPlace>& Overlapping(std::size_t group, cObjectList<cCharaBase*>& list, const cSubBox& box) {
    m_Found.clear();
    cGroup& g = m_Groups[group];
    if (!m_Fresh[group]) {
      // A group met once (the hero against a crowd of one group) is cheaper walked than sorted.
      if (!m_Walked[group]) {
        m_Walked[group] = true;
        std::int32_t order = 0;
        for (cCharaBase*& place : list) {
          if (BoxesOverlap(place->*m_Box, box)) m_Found.push_back({order, &place});
          ++order;
        }
        return m_Found;
      }
      Take(g, list);
    }
    m_Fresh[group] = true;
    if (g.m_Edges.empty() || !BoxesOverlap(g.m_Bounds, box)) return m_Found;
    // Only boxes starting within the widest width left of box can reach it. The slice table gives
    // a start near the first of them (rounding may put it a box off either way).
    const double from = box.m_X1 - g.m_MaxWidth;
    const double slice = (from - g.m_Bounds.m_X1) * g.m_PerSlice;
    std::size_t i = 0;
    if (slice >= static_cast<double>(g.m_Slices.size() - 1))
      i = g.m_Slices.back();
    else if (slice > 0.0)
      i = g.m_Slices[static_cast<std::size_t>(slice)];
    const std::size_t n = g.m_Edges.size();
    while (i > 0 && g.m_Edges[i - 1].m_X1 >= from) --i;
    while (i < n && g.m_Edges[i].m_X1 < from) ++i;
    for (; i < n && g.m_Edges[i].m_X1 <= box.m_X2; ++i) {
      const cEdges& e = g.m_Edges[i];
      if (e.m_X2 >= box.m_X1 && e.m_Y1 <= box.m_Y2 && e.m_Y2 >= box.m_Y1) m_Found.push_back(g.m_Places[i]);
    }
    // Found boxes are few: put them in list order in place.
    for (std::size_t k = 1; k < m_Found.size(); ++k) {
      const cPlace place = m_Found[k];
      std::size_t j = k;
      for (; j > 0 && m_Found[j - 1].m_Order > place.m_Order; --j) m_Found[j] = m_Found[j - 1];
      m_Found[j] = place;
    }
    return m_Found;
  }

 private:
  struct cEdges {
    double m_X1, m_Y1, m_X2, m_Y2;
  };
  // A group's boxes sorted by left edge, side by side with their places; slice s of the table holds
  // the first box whose left edge is at least s slice widths right of the leftmost.
  struct cGroup {
    std::vector<cEdges> m_Edges;
    std::vector<cPlace> m_Places;
    std::vector<std::size_t> m_Slices;
    cSubBox m_Bounds;
    double m_MaxWidth = 0.0;
    double m_SliceWidth = 1.0;
    double m_PerSlice = 1.0;
  };
  // The table stays short on a wide stage: no more slices than this, none narrower than a cell.
  static constexpr std::size_t kMaxSlices = 256;
  static constexpr double kMinSliceWidth = 32.0;

  void Take(cGroup& g, cObjectList<cCharaBase*>& list) {
    m_Sorting.clear();
    g.m_MaxWidth = 0.0;
    for (cCharaBase*& place : list) {
      const cSubBox& b = place->*m_Box;
      if (m_Sorting.empty()) {
        g.m_Bounds = b;
      } else {
        g.m_Bounds.m_X1 = std::min(g.m_Bounds.m_X1, b.m_X1);
        g.m_Bounds.m_Y1 = std::min(g.m_Bounds.m_Y1, b.m_Y1);
        g.m_Bounds.m_X2 = std::max(g.m_Bounds.m_X2, b.m_X2);
        g.m_Bounds.m_Y2 = std::max(g.m_Bounds.m_Y2, b.m_Y2);
      }
      m_Sorting.push_back({{b.m_X1, b.m_Y1, b.m_X2, b.m_Y2}, {static_cast<std::int32_t>(m_Sorting.size()), &place}});
      g.m_MaxWidth = std::max(g.m_MaxWidth, b.m_X2 - b.m_X1);
    }
    std::sort(m_Sorting.begin(), m_Sorting.end(),
              [](const cEntry& a, const cEntry& b) { return a.m_Edges.m_X1 < b.m_Edges.m_X1; });
    g.m_Edges.clear();
    g.m_Places.clear();
    for (const cEntry& entry : m_Sorting) {
      g.m_Edges.push_back(entry.m_Edges);
      g.m_Places.push_back(entry.m_At);
    }
    g.m_Slices.clear();
    if (g.m_Edges.empty()) return;
    const double span = g.m_Edges.back().m_X1 - g.m_Edges.front().m_X1;
    g.m_SliceWidth = std::max(kMinSliceWidth, span / static_cast<double>(kMaxSlices));
    g.m_PerSlice = 1.0 / g.m_SliceWidth;
    // A span that is no number (a box the data broke) leaves one slice: the search starts at 0.
    const double slices = span / g.m_SliceWidth;
    const std::size_t count = slices >= 0.0 ? static_cast<std::size_t>(std::min(slices, double{kMaxSlices})) + 1 : 1;
    std::size_t i = 0;
    for (std::size_t s = 0; s <= count; ++s) {
      const double left = g.m_Bounds.m_X1 + static_cast<double>(s) * g.m_SliceWidth;
      while (i < g.m_Edges.size() && g.m_Edges[i].m_X1 < left) ++i;
      g.m_Slices.push_back(i);
    }
  }

  struct cEntry {
    cEdges m_Edges;
    cPlace m_At;
  };

  cSubBox cCharaBase::*m_Box;
  std::array<cGroup, kObjectGroups> m_Groups;
  std::array<bool, kObjectGroups> m_Fresh{};
  std::array<bool, kObjectGroups> m_Walked{};
  std::vector<cEntry> m_Sorting;
  std::vector<cPlace> m_Found;
};

// Whether any object of a group passes a test, found at the group's first need in a pass. A pass
// invalidates it wherever the objects may have changed (a contact that strikes runs flows).
class cGroupAny {
 public:
  explicit cGroupAny(bool (*test)(const cCharaBase&)) : m_Test(test) {}

  void Invalidate() { m_Known.fill(false); }

  bool Of(std::size_t group, const cObjectList<cCharaBase*>& list) {
    if (!m_Known[group]) {
      m_Any[group] = std::any_of(list.begin(), list.end(), [this](const cCharaBase* c) { return m_Test(*c); });
      m_Known[group] = true;
    }
    return m_Any[group];
  }

 private:
  bool (*m_Test)(const cCharaBase&);
  std::array<bool, kObjectGroups> m_Known{};
  std::array<bool, kObjectGroups> m_Any{};
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
