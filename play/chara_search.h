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

// The nearest of the characters offered in list order, by the distance across plus the distance up
// from their screen centres to a point. A strictly smaller distance replaces the best, so the first
// offered wins a tie; mode 1 keeps everything in the on-screen slot.
class cNearestPick {
 public:
  cNearestPick(double x, double y, std::int32_t mode) : m_X(x), m_Y(y), m_Mode(mode) {}

  void Offer(cCharaBase* c, std::int32_t centreX, std::int32_t centreY, bool onScreen) {
    const double d = std::abs(centreX - m_X) + std::abs(centreY - m_Y);
    if (m_Mode == kNearestAny || onScreen) {
      if (m_On == nullptr || d < m_DistOn) {
        m_On = c;
        m_DistOn = d;
      }
    } else if (m_Mode == kNearestPreferOnScreen && (m_Off == nullptr || d < m_DistOff)) {
      m_Off = c;
      m_DistOff = d;
    }
  }
  cCharaBase* Best() const { return m_On != nullptr ? m_On : m_Off; }

 private:
  double m_X;
  double m_Y;
  std::int32_t m_Mode;
  cCharaBase* m_On = nullptr;
  cCharaBase* m_Off = nullptr;
  double m_DistOn = 0.0;
  double m_DistOff = 0.0;
};

// Whether a character takes part in a nearest search at all.
inline bool MayBeNearest(const cCharaBase* c, const CharaFilter& filter) {
  return c != nullptr && c->m_Present != 0 && filter.Passes(*c);
}

template <class List>
cCharaBase* FindNearestCharaEx(double x, double y, List& list, std::int32_t mode, const CharaFilter& filter) {
  cNearestPick pick(x, y, mode);
  for (auto& element : list) {
    cCharaBase* c = CharaOf(element);
    if (MayBeNearest(c, filter)) pick.Offer(c, c->ScreenCentreX(), c->ScreenCentreY(), c->m_OnScreen != 0);
  }
  return pick.Best();
}

template <class List>
cCharaBase* FindFirstCharaEx(List& list, const CharaFilter& filter) {
  for (auto& element : list) {
    cCharaBase* c = CharaOf(element);
    if (c != nullptr && filter.Passes(*c)) return c;
  }
  return nullptr;
}

// What may be aimed at: the nearest search of aiming, only on screen when the stage asks for it.
inline std::int32_t AimSearchMode() {
  return g_Stage.Field(kAimOnlyOnScreen) != 0 ? kNearestOnScreenOnly : kNearestPreferOnScreen;
}
inline CharaFilter AimFilter() {
  CharaFilter filter;
  filter.skipUntargetable = 1;
  return filter;
}

// The nearest character that can be aimed at.
template <class List>
cCharaBase* FindNearestCharaFrom(double x, double y, List& list) {
  return FindNearestCharaEx(x, y, list, AimSearchMode(), AimFilter());
}

// The same from the screen centre of from.
template <class List>
cCharaBase* FindNearestChara(const cGameObj& from, List& list) {
  return FindNearestCharaFrom(from.ScreenCentreX(), from.ScreenCentreY(), list);
}
