#pragma once
// The parts of a sword type as a sword swing reads them from the database.
#include <cstdint>

// One part of a swing: where it is placed around its owner, its picture and how long it shows.
struct SwordPart {
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t mirrorX = 0;  // facing right, the x offset is negated
  std::int32_t mirrorY = 0;
  std::int32_t placement = 0;  // 0 in front, 1 behind, 2 above, 3 below, others stay
  std::int32_t sourceX = 0;
  std::int32_t sourceY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t duration = 0;  // 1/10 s
};

// The parts of sword type `type`; 0 when the database has no sword types. A type outside the list
// is reported by the checked access, which gives type 0.
std::int32_t SwordPartCount(std::int32_t type);
// Part `part` of sword type `type` (checked the same way); all zero when the type has no parts.
SwordPart SwordPartOf(std::int32_t type, std::int32_t part);
