#pragma once
// Conversion between the game's Shift-JIS bytes (code page 932) and UTF-8. The program keeps every
// text as code page 932 bytes; these run only at the edges: file names, titles, boxes, glyphs, logs.
#include <string>
#include <string_view>

// Converts code page 932 to UTF-8. A byte that does not decode (a lone lead byte, an unassigned
// code) becomes U+FFFD, and the conversion goes on with the next byte.
std::string Cp932ToUtf8(std::string_view text);

// Converts UTF-8 to code page 932. A character without a code (or a broken UTF-8 sequence)
// becomes '?'.
std::string Utf8ToCp932(std::string_view text);

// Strict forms for names: false, with out unspecified, when any byte or character does not convert.
bool TryCp932ToUtf8(std::string_view text, std::string& out);
bool TryUtf8ToCp932(std::string_view text, std::string& out);

// A Japanese literal written as UTF-8 in the source, as the game's bytes. Converted once per text
// and cached for the life of the process, so the reference stays valid.
const std::string& SJ(const char* utf8);
