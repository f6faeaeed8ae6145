#include "platform/services/format.h"

#include <cstdio>

#include "platform/services/text.h"

std::string VFormatString(const char* fmt, std::va_list args) {
  char small[256];
  std::va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (length < 0) return {};
  if (static_cast<std::size_t>(length) < sizeof small) return std::string(small, static_cast<std::size_t>(length));
  std::string text(static_cast<std::size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, fmt, args);
  return text;
}

std::string FormatString(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatString(fmt, args);
  va_end(args);
  return text;
}

std::string VFormatLimited(std::size_t limit, const char* fmt, std::va_list args) {
  std::string text = VFormatString(fmt, args);
  if (limit == 0) return {};
  if (text.size() < limit) return text;
  // Cut before the NUL's place, and never between the two bytes of one character.
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t step = IsDoubleByte(text.c_str() + end) ? 2 : 1;
    if (end + step > limit - 1) break;
    end += step;
  }
  text.resize(end);
  return text;
}
