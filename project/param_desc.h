#pragma once
// One row of a parameter table (of shots, and of effects): what a parameter is called, its range
// and the value a new setting starts with. An empty label marks a parameter the kind does not use.
#include <cstdint>
#include <string>
#include <utility>

struct ParamDesc {
  ParamDesc(std::string text, std::int32_t low, std::int32_t high, std::int32_t value)
      : label(std::move(text)), lowest(low), highest(high), defaultValue(value) {}

  std::string label;  // the game's bytes
  std::int32_t lowest = 0;
  std::int32_t highest = 0;
  std::int32_t defaultValue = 0;
};
