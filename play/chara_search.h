#pragma once
// Searches over a list of characters (the character list or the heroes, as the caller passes them):
// the nearest one to a point and the first one that passes a set of filters. A list may hold the
// characters themselves or pointers to them; nothing is allocated.
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "play/chara_base.h"
#include "project/stage_data.h"

// The filters of the searches.
struct CharaFilter {
  std::int32_t matchCid = 0;  // only characters of this cid
  std::int32_t cid = 0;
  std::int32_t excludeIdOn = 0;  // not the character of this id
  std::int32_t excludedId = 0;
  std::int32_t skipGuarded = 0;        // not invincibility state 1
  std::int32_t skipUntargetable = 0;   // not invincibility state 2
  std::int32_t onlyNonBlock = 0;       // not block characters

  bool Passes(const cCharaBase& c) const {
    if (c.m_Dead != 0) return false;
    if (matchCid != 0 && c.m_Def.m_CharaId != cid) return false;
    if (excludeIdOn != 0 && c.m_Id == excludedId) return false;
    if (skipGuarded != 0 && c.m_Def.m_Invincible == 1) return false;
    if (skipUntargetable != 0 && c.m_Def.m_Invincible == 2) return false;
    if (onlyNonBlock != 0 && c.m_Def.m_BlockChara != 0) return false;
    return true;
  }
};

// The search modes of FindNearestCharaEx.
constexpr std::int32_t kNearestPreferOnScreen = 0;  // on screen if any, else off screen
constexpr std::int32_t kNearestAny = 1;
constexpr std::int32_t kNearestOnScreenOnly = 2;

// The character an element of a list stands for.
template <class T>
cCharaBase* CharaOf(T& element) {
  if constexpr (std::is_pointer_v<std::remove_cv_t<T>>)
    return element;
  else
    return &element;
}

template <class List>
cCharaBase* FindNearestCharaEx(double x, double y, List& list, std::int32_t mode, const CharaFilter& filter) {
  cCharaBase* bestOn = nullptr;
  cCharaBase* bestOff = nullptr;
  double distOn = 0.0;
  double distOff = 0.0;
  for (auto& element : list) {
    cCharaBase* c = CharaOf(element);
    if (c == nullptr || c->m_Present == 0 || !filter.Passes(*c)) continue;
    const double d = std::abs(c->ScreenCentreX() - x) + std::abs(c->ScreenCentreY() - y);
    // Mode 1 keeps everything in the on-screen slot; a strictly smaller distance replaces the best,
    // so the first found wins a tie.
    const bool onScreen = mode == kNearestAny || c->m_OnScreen != 0;
    if (onScreen) {
      if (bestOn == nullptr || d < distOn) {
        bestOn = c;
        distOn = d;
      }
    } else if (mode == kNearestPreferOnScreen && (bestOff == nullptr || d < distOff)) {
      bestOff = c;
      distOff = d;
    }
  }
  return bestOn != nullptr ? bestOn : bestOff;
}

template <class List>
cCharaBase* FindFirstCharaEx(List& list, const CharaFilter& filter) {
  for (auto& element : list) {
    cCharaBase* c = CharaOf(element);
    if (c != nullptr && filter.Passes(*c)) return c;
  }
  return nullptr;
}

// The nearest character that can be aimed at; only those on screen when the stage asks for it.
template <class List>
cCharaBase* FindNearestCharaFrom(double x, double y, List& list) {
  const std::int32_t mode = g_Stage.Field(kAimOnlyOnScreen) != 0 ? kNearestOnScreenOnly : kNearestPreferOnScreen;
  CharaFilter filter;
  filter.skipUntargetable = 1;
  return FindNearestCharaEx(x, y, list, mode, filter);
}

// The same from the screen centre of from.
template <class List>
cCharaBase* FindNearestChara(const cGameObj& from, List& list) {
  return FindNearestCharaFrom(from.ScreenCentreX(), from.ScreenCentreY(), list);
}
