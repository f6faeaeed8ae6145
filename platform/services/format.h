#pragma once
// printf-style formatting into byte strings.
#include <cstdarg>
#include <cstddef>
#include <string>

#define PLAYER_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))

// The whole formatted text, however long.
std::string FormatString(const char* fmt, ...) PLAYER_PRINTF(1, 2);
std::string VFormatString(const char* fmt, std::va_list args);

// The formatted text cut to fit a buffer of limit bytes with its NUL, never inside a double-byte
// character: the fixed line buffers of the logs and boxes.
std::string VFormatLimited(std::size_t limit, const char* fmt, std::va_list args);
