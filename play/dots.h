#pragma once
// Stage dots and map cells: positions are doubles in dots, cells are 32 dots square, and a dot
// coordinate becomes a whole dot by truncating toward zero. The truncation saturates at the ends of
// the 32-bit range (and takes a NaN as 0), so that a position no clamp has caught yet can never turn
// into undefined behaviour; inside that range it is exactly the plain conversion.
#include <cstdint>
#include <limits>

constexpr std::int32_t kCellDots = 32;
constexpr std::int32_t kCellShift = 5;

constexpr std::int32_t TruncDot(double v) {
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  if (v != v) return 0;
  return static_cast<std::int32_t>(v);
}

// A wide whole number held in the 32-bit range (sizes and positions worked out in 64 bits).
constexpr std::int32_t ClampToInt32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// The map-cell column or row of a dot coordinate (arithmetic shift, so -1 .. -32 give -1).
constexpr std::int32_t DotToTile(double v) { return TruncDot(v) >> kCellShift; }
