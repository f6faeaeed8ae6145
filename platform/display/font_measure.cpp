// Measuring texts. The text is walked in place, so a line or a text of any length measures whole.
#include <algorithm>

#include "platform/display/font.h"
#include "platform/display/font_text.h"
#include "platform/host/glyphs.h"

namespace {

// What the proportional measure gives a line without width: the height of an empty line as the
// system's text measure reports it.
constexpr std::int32_t kEmptyLineHeight = 20;

std::int32_t Clamped(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int32_t LineExtent(cGlyphFont& glyphs, const char* line, const char** next) {
  std::int32_t extent = 0;
  const char* p = line;
  while (*p != '\0' && *p != '\n') {
    const sTextChar c = CharAt(p);
    extent += glyphs.Glyph(c.code).advance;
    p += c.bytes;
  }
  *next = p;
  return extent;
}

std::int32_t LineLength(const char* text) {
  if (!text) return 0;
  std::int32_t n = 0;
  while (text[n] != '\0' && text[n] != '\n') ++n;
  return n;
}

SIZE Font::MeasureTextFixed(const char* text) const {
  if (!text) text = "";
  std::int64_t widest = 0, lines = 1, count = 0;
  for (const char* p = text; *p != '\0';) {
    if (*p == '\n') {
      widest = std::max(widest, count);
      count = 0;
      ++lines;
      ++p;
      continue;
    }
    ++count;
    p += CharAt(p).bytes;
  }
  widest = std::max(widest, count);
  return {Clamped(widest * nPitch), Clamped(lines * nLineHeight)};
}

SIZE Font::MeasureTextGdi(const char* text) const {
  if (!text) text = "";
  cGlyphFont* glyphs = Glyphs();
  std::int64_t widest = 0, height = 0;
  const char* p = text;
  while (true) {
    // A font without a face measures every line as empty.
    const char* end = p + LineLength(p);
    const std::int32_t extent = glyphs ? LineExtent(*glyphs, p, &end) : 0;
    widest = std::max<std::int64_t>(widest, extent);
    height += extent != 0 ? nLineHeight : kEmptyLineHeight;
    if (*end == '\0') break;
    p = end + 1;
  }
  return {Clamped(widest), Clamped(height)};
}

SIZE Font::MeasureText(const char* text) const { return nPitch != 0 ? MeasureTextFixed(text) : MeasureTextGdi(text); }
