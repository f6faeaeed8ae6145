#pragma once
// Path helpers over game paths (code page 932 bytes, '\' between folders). Results: 1 done, 0 failed.
#include <string>

// Paths are limited to 259 bytes, the path buffers of the game's files; longer ones are refused.
constexpr std::size_t kMaxPathLength = 259;

// A relative path becomes absolute against the game folder (the current directory).
int MakeAbsolutePath(std::string& path);
// An absolute path inside the game folder becomes relative (".\sub\file"); 0 when it has none.
int MakeRelativePath(std::string& path);
int MakeRelativePathString(std::string& text);

// Keeps only what follows the last backslash that separates folders; a 5C trail byte of a
// double-byte character is none, and a '/' is an ordinary byte of a game path.
void StripDirectory(std::string& path);
// out = name with what follows its last dot replaced by ext, or cut with the dot when ext is null;
// 0 (out the plain copy) when name has no dot.
int ReplaceExtension(std::string& out, const std::string& name, const char* ext);
// out = what follows the last dot of name; 0 (out untouched) when there is none.
int GetExtension(std::string& out, const std::string& name);
// name.ext becomes name_d1d2.ext; 0 when name has no dot.
int NumberedName(std::string& out, const std::string& name, int d1, int d2);
// The existing copy base_NNN with the highest NNN, where base is name with its extension replaced
// by ext; 1 and dst filled when one exists.
int FindNumberedFile(std::string& dst, const std::string& name, const char* ext);
int FindNumberedFileString(std::string& out, const std::string& name, const char* ext);
