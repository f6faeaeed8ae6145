#pragma once
// Shift-JIS text and number helpers. Texts are code page 932 bytes; lengths count bytes.
#include <string>

// Lead bytes 81-9F and E0-FC, trail bytes 40-7E and 80-FC.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// True when p[0] is a lead byte and p[1] a trail byte. p must hold two bytes (or end at p[0]).
bool IsDoubleByte(const char* p);

// Characters of a NUL-terminated text: a double-byte character counts once, a line feed not at all.
int CharCount(const char* text);
inline int CharCount(const std::string& text) { return CharCount(text.c_str()); }

// Decimal digits of n without its sign, 1 for 0.
int CountDigits(int n);

// The decimal form of value in width digits (or as many as it needs), with leading zeros turned to
// blanks unless keepZeros, and "-" or (with plusSign) "+" in front.
void IntToPaddedString(std::string& out, int value, int width, int keepZeros, int plusSign);

// Cuts the string at its first zero byte (after direct writes into its buffer); the new length.
int SyncStringLength(std::string& text);

// count bytes of source from pos into result; a negative count takes the rest of the string, a
// negative pos shortens count by -pos and starts at 0. Returns result.
std::string* SubString(std::string& source, std::string* result, int pos, int count);
