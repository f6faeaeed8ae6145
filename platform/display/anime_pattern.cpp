#include "platform/display/anime_pattern.h"

#include <cstddef>

void cAnimePattern::SetTable(AnimeSourceTable table) {
  if (table == nullptr) return;
  m_Patterns.clear();
  m_Pattern = 0;
  m_Frame = 0;
  m_Ticks = 0;

  std::size_t patternCount = 0;
  while (table[patternCount] != nullptr) ++patternCount;
  m_Patterns.resize(patternCount);

  for (std::size_t i = 0; i < patternCount; ++i) {
    const AnimeSourceFrame* source = table[i];
    std::size_t frames = 0;
    while (source[frames].value >= 0) ++frames;
    // The control frame is kept as the last frame of the list.
    AnimeFrameList& list = m_Patterns[i];
    list.resize(frames + 1);
    for (std::size_t f = 0; f <= frames; ++f) {
      list[f].value = source[f].value;
      list[f].duration = source[f].duration;
      list[f].locked = source[f].locked;
    }
  }
}

void cAnimePattern::ClearPatterns() {
  m_Patterns.clear();
  m_Pattern = 0;
  m_Frame = 0;
  m_Ticks = 0;
}

AnimeFrameList& cAnimePattern::AppendPattern() { return m_Patterns.emplace_back(); }

int cAnimePattern::SetPattern(int index, int force) {
  // Without patterns no frame is current, so none can be locked.
  if (force == 0 && !m_Patterns.empty() && CurrentFrame().locked != 0) return 0;
  m_Pattern = index;
  m_Frame = 0;
  m_Ticks = 0;
  return 1;
}

int cAnimePattern::ChangePattern(int index, int force) {
  if (index == m_Pattern) return 1;
  return SetPattern(index, force);
}

int cAnimePattern::Step() {
  if (m_Patterns.empty()) return 0;
  ++m_Ticks;
  // A duration of 0 or less runs out at every step.
  if (m_Ticks >= CurrentFrame().duration) {
    ++m_Frame;
    m_Ticks = 0;
    const AnimeFrame& next = CurrentFrame();
    switch (next.value) {
      case kAnimeJump:
        // Forced: the control frame decides, whatever the frame before it said about locks.
        SetPattern(next.duration, 1);
        break;
      case kAnimeLoop:
        m_Frame = 0;
        break;
      case kAnimeHold:
        m_Frame -= 1;
        break;
      default:
        // A value, or the end: the control frame stays current and its code is the answer.
        break;
    }
  }
  return CurrentFrame().value;
}

int cAnimePattern::GetValue() const { return CurrentFrame().value; }
