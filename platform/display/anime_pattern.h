#pragma once
// Frame-counted animations: the patterns of one thing (standing, walking, an effect's run), each a
// frame list ending in a control frame that holds, loops, jumps to another pattern or ends. The
// owner steps it once per logic step and draws the value it gives.
#include <cstdint>

#include "platform/display/anime_frame.h"

// One frame of an owner's static animation table: the fields of AnimeFrame, the lock as a byte.
struct AnimeSourceFrame {
  std::int32_t value;
  std::int32_t duration;
  std::uint8_t locked;
};

// An owner's static table: one pointer per pattern, ended by a null pointer; each pattern's frames
// end at their first negative value, which is the control frame.
using AnimeSourceTable = const AnimeSourceFrame* const*;

class cAnimePattern {
 public:
  // Replaces every pattern with the table's and starts over at pattern 0; a null table changes
  // nothing.
  void SetTable(AnimeSourceTable table);
  // Patterns built at run time instead of from a static table (a character's animation set): no
  // patterns and pattern, frame and ticks 0; then one AppendPattern per pattern, in order, each
  // filled with its frames and ended by its control frame.
  void ClearPatterns();
  AnimeFrameList& AppendPattern();

  // Starts pattern index from its first frame, the current one too. 0 (nothing changed) when force
  // is 0 and the current frame is locked, else 1. The index is checked when it is used.
  int SetPattern(int index, int force);
  // As SetPattern, except that the current pattern goes on where it is (result 1).
  int ChangePattern(int index, int force);

  // One logic step; the current value afterwards. A negative value other than the hold, loop and
  // jump codes is the end: the owner must set a new pattern before stepping again. 0 without
  // patterns.
  int Step();
  // The current value. Only after SetTable: without patterns there is no value, and the checked
  // access raises std::out_of_range.
  int GetValue() const;

  // Moves the current frame's tick counter on by ticks, as if that many steps had passed in it
  // (an animation started part-way); the next Step moves to later frames as usual.
  void AdvanceTicks(int ticks) { m_Ticks += ticks; }

  int PatternCount() const { return m_Patterns.Size(); }
  const AnimeFrameList& Frames(int pattern) const { return m_Patterns.At(pattern); }
  int Pattern() const { return m_Pattern; }
  int Frame() const { return m_Frame; }
  int Ticks() const { return m_Ticks; }

 private:
  const AnimeFrame& CurrentFrame() const { return m_Patterns.At(m_Pattern).At(m_Frame); }

  CheckedVector<AnimeFrameList> m_Patterns;
  std::int32_t m_Pattern = 0;
  std::int32_t m_Frame = 0;
  std::int32_t m_Ticks = 0;
};
