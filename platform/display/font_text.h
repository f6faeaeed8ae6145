#pragma once
// Inside the display library: walking a font's text character by character, and the proportional
// extent of one line.
#include <cstdint>

#include "platform/services/text.h"

class cGlyphFont;

// One character of a text: its code (a single byte, or lead byte << 8 | trail byte) and its bytes.
struct sTextChar {
  std::uint16_t code = 0;
  std::int32_t bytes = 1;
  bool wide = false;
};

// The character at p, which must not be the text's end.
inline sTextChar CharAt(const char* p) {
  const auto lead = static_cast<unsigned char>(p[0]);
  if (IsDoubleByte(p)) return {static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(p[1])), 2, true};
  return {lead, 1, false};
}

// The sum of the glyph advances of the line that starts at line, as Windows measures a run of text;
// *next gets the line's end (its line feed or the text's end).
std::int32_t LineExtent(cGlyphFont& glyphs, const char* line, const char** next);
