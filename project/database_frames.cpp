#include "project/database_frames.h"

#include <algorithm>
#include <limits>

namespace {

constexpr AnimeFrame kNoneLoopFrame{kAnimeLoop, 0, 1};
constexpr AnimeFrame kEndFrame{kAnimeEnd, 0, 0};

// Tenths of a second to steps of 1/60 s. A time that does not fit once multiplied is held at the
// largest duration there is, rather than wrapping round to a negative one.
std::int32_t StepsOf(std::int32_t tenths) {
  const std::int64_t steps = static_cast<std::int64_t>(tenths) * 6;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// List i of frames: each frame as make gives it, then the end frame. List 0 stands for "なし": it
// moves on at every step, cannot be interrupted and never ends.
template <class Frame, class Make>
void BuildList(AnimeFrameList& list, int i, const CheckedVector<Frame>& frames, Make make) {
  list.clear();
  list.reserve(frames.size() + 1);
  bool locked = false;
  for (const Frame& frame : frames) {
    AnimeFrame out = make(frame, locked);
    if (i == 0) {
      out.duration = 0;
      out.locked = 1;
    }
    list.push_back(out);
  }
  list.push_back(i == 0 ? kNoneLoopFrame : kEndFrame);
}

}  // namespace

void BuildAnimeFrameLists(std::vector<AnimeFrameList>& lists, const cDatabase& database) {
  lists.clear();
  lists.resize(database.m_Animes.size());
  for (int i = 0; i < database.m_Animes.Size(); ++i) {
    // Once a frame carries a lock mark, it and every later frame can no longer be interrupted.
    BuildList(lists[static_cast<std::size_t>(i)], i, database.m_Animes.At(i).m_Frames,
              [](const cAnimeEntryFrame& frame, bool& locked) {
                locked = locked || frame.m_LockMark != 0;
                return AnimeFrame{frame.m_Cell, StepsOf(frame.m_Time), locked ? 1u : 0u};
              });
  }
}

void BuildEffectFrameLists(std::vector<AnimeFrameList>& lists, const cDatabase& database) {
  lists.clear();
  lists.resize(database.m_Effects.size());
  for (int i = 0; i < database.m_Effects.Size(); ++i) {
    BuildList(lists[static_cast<std::size_t>(i)], i, database.m_Effects.At(i).m_Frames,
              [](const cEffectFrame& frame, bool&) {
                return AnimeFrame{frame.m_Cell, StepsOf(frame.m_Time), 0u};
              });
  }
}
