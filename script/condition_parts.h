#pragma once
// What the condition files share: the variables and the characters a condition names, and the
// random range that conditions and the code language draw from.
#include <cstdint>
#include <optional>

#include "platform/services/checked.h"

class cCharaBase;

// Element index of a variable vector through its bounds check; nothing when the vector was never
// made (no stage is played), so the condition fails instead of reading nothing.
template <class T>
std::optional<std::int32_t> ReadVariable(const CheckedVector<T>& vars, std::int32_t index) {
  if (vars.empty()) return std::nullopt;
  return static_cast<std::int32_t>(vars.At(index));
}

// A number of the game's generator in low .. high, the two in either order; the range is taken in
// 64 bits, so every pair of 32-bit ends works.
std::int32_t RandomBetween(std::int32_t low, std::int32_t high);

// Common variable (scope 0) or stage variable (scope 1) at index; nothing for another scope.
std::optional<std::int32_t> ConditionVariable(std::uint8_t scope, std::int32_t index);

// The character a condition's owner names: itself (0) or its target (1); null for the system, an
// unknown owner or a missing target.
cCharaBase* ConditionCharacter(cCharaBase& chara, std::uint8_t owner);
