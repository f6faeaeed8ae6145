#pragma once
// One frame of a frame-counted animation and the frame list of one pattern. The animation patterns
// play them, and the database's animations and effects are turned into lists of them at start-up.
#include <cstdint>

#include "platform/services/checked.h"

struct AnimeFrame {
  // The frame's value (as a rule a cell of a picture sheet); in the last frame of a list a negative
  // control code: -1 hold, -2 loop, -3 jump, anything else (-4 in use) end.
  std::int32_t value = 0;
  // Steps the frame stays current; in a jump frame the number of the pattern to jump to.
  std::int32_t duration = 0;
  // 1: while this frame is current, a pattern change without force is refused.
  std::uint32_t locked = 0;
};

// The frames of one pattern, its control frame last.
using AnimeFrameList = CheckedVector<AnimeFrame>;

// The control codes of the last frame of a list.
constexpr std::int32_t kAnimeHold = -1;
constexpr std::int32_t kAnimeLoop = -2;
constexpr std::int32_t kAnimeJump = -3;
constexpr std::int32_t kAnimeEnd = -4;

// The failure line of a bad pattern number names a frame list as the game lays it out: 16 bytes.
template <>
constexpr int CheckedElementSize<AnimeFrameList>() {
  return 16;
}
