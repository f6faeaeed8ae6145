#pragma once
// What a hit does to a hero or character: the damage of a body or a shot, the protection after it,
// and the search of an object by its id. The contacts decide who touched whom; cCharaBase carries
// the operations (damage.cpp).
#include <cstdint>

#include "play/chara_base.h"

// Built-in sounds of hits and deaths.
constexpr std::int32_t kSoundHurt = 7;
constexpr std::int32_t kSoundHeroDies = 8;
constexpr std::int32_t kSoundCharaKilled = 9;

// The most damage one hit does, and the largest score.
constexpr std::int64_t kMaxDamage = 999999;
constexpr std::int64_t kMaxScore = 999999;

// What a shot brings to the object it hits; the shot fills it from itself.
struct cShotStrike {
  std::int32_t m_Power = 0;
  std::int8_t m_Impact = 0;
  std::int16_t m_HitEffect = 0;  // 0 none
  std::uint8_t m_HitEffectScale = 1;
  bool m_HasItem = false;   // it names an item that the hit applies
  cSubBox m_Box;            // its box against characters (edges only)
  // The knock-back direction: its velocity, or (its facing, 0) when it does not move by velocity.
  double m_PushX = 0.0;
  double m_PushY = 0.0;
};

// A strike that brings nothing (no power, impact or item) only raises the struck trigger.
inline bool StrikeBringsSomething(const cShotStrike& strike) {
  return strike.m_Power != 0 || strike.m_Impact != 0 || strike.m_HasItem;
}

// The hero or character with this object id (the heroes first), or null.
cCharaBase* FindCharaById(std::int32_t id);
