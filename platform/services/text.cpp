#include "platform/services/text.h"

#include <cstdint>
#include <cstring>

bool IsDoubleByte(const char* p) {
  if (p == nullptr || p[0] == '\0') {
    return false;
  }
  return IsLeadByte(static_cast<unsigned char>(p[0])) && IsTrailByte(static_cast<unsigned char>(p[1]));
}

int CharCount(const char* text) {
  if (text == nullptr) {
    return 0;
  }
  int count = 0;
  const char* p = text;
  while (*p != '\0') {
    if (IsDoubleByte(p)) {
      // A lead byte with nothing valid after it falls through and counts on its own.
      p += 2;
      ++count;
    } else {
      if (*p != '\n') {
        ++count;
      }
      ++p;
    }
  }
  return count;
}

int CountDigits(int n) {
  // Work on the magnitude as unsigned 64 bits so that INT_MIN has one too.
  std::uint64_t magnitude = n < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(n)) : static_cast<std::uint64_t>(n);
  int digits = 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++digits;
  }
  return digits;
}

namespace {
// Widths come from the callers' layouts (a few digits); anything near this is a mistake, and is cut
// rather than allowed to build a text of millions of blanks.
constexpr int kMaxPaddedWidth = 255;
}  // namespace

void IntToPaddedString(std::string& out, int value, int width, int keepZeros, int plusSign) {
  const int needed = CountDigits(value);
  int w = (width == 0 || width < needed) ? needed : width;
  if (w > kMaxPaddedWidth) {
    w = kMaxPaddedWidth;
  }

  // Sign, then w digits, filled from the least significant end of a local buffer.
  char buffer[kMaxPaddedWidth + 2];
  char* digits = buffer + 1;
  std::uint64_t magnitude =
      value < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value)) : static_cast<std::uint64_t>(value);
  for (int i = w - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }

  if (keepZeros == 0) {
    // Leading zeros become blanks, but the last digit stays so that zero still reads "0".
    for (int i = 0; i + 1 < w && digits[i] == '0'; ++i) {
      digits[i] = ' ';
    }
  }

  const char* start = digits;
  int length = w;
  if (value < 0) {
    buffer[0] = '-';
    start = buffer;
    ++length;
  } else if (plusSign != 0) {
    buffer[0] = '+';
    start = buffer;
    ++length;
  }
  out.assign(start, static_cast<std::size_t>(length));
}

int SyncStringLength(std::string& text) {
  const std::size_t end = text.find('\0');
  if (end != std::string::npos) {
    text.resize(end);
  }
  return text.size() > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(text.size());
}

std::string* SubString(std::string& source, std::string* result, int pos, int count) {
  const std::int64_t length = SyncStringLength(source);
  if (result == nullptr) {
    return result;
  }

  // 64-bit arithmetic: pos + count and count + pos must not wrap for any pair of ints.
  std::int64_t from = pos;
  std::int64_t take = count;
  if (from > length) {
    take = 0;
  } else if (from < 0) {
    take += from;
    from = 0;
  }

  if (take == 0) {
    result->clear();
    return result;
  }
  if (take < 0 || from + take > length) {
    take = length - from;
  }

  const auto first = static_cast<std::size_t>(from);
  const auto size = static_cast<std::size_t>(take);
  if (result == &source) {
    source.erase(first + size);
    source.erase(0, first);
  } else {
    result->assign(source, first, size);
  }
  return result;
}
