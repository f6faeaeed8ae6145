#include "platform/services/paths.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/host/game_files.h"
#include "platform/services/text.h"

namespace {

bool IsSeparatorByte(char c) { return c == '\\' || c == '/'; }
bool IsBackslash(char c) { return c == '\\'; }

// Position of the last byte that separates folders, or npos. Walks from the front so a 5C that is
// the second byte of a double-byte character is skipped with its lead byte.
std::size_t LastSeparator(const std::string& path, bool (*isSeparator)(char) = IsSeparatorByte) {
  std::size_t last = std::string::npos;
  const char* p = path.c_str();
  std::size_t i = 0;
  while (i < path.size()) {
    if (IsDoubleByte(p + i)) {
      i += 2;
      continue;
    }
    if (isSeparator(p[i])) {
      last = i;
    }
    ++i;
  }
  return last;
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && LastSeparator(path) == path.size() - 1;
}

bool HasDriveLetter(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') {
    return false;
  }
  const char c = path[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Game paths are absolute when they start at a root; a drive-letter path from a Windows project is
// absolute too, though it names nothing here.
bool IsAbsolutePath(const std::string& path) {
  return (!path.empty() && IsSeparatorByte(path[0])) || HasDriveLetter(path);
}

// Appends the components of path to parts, resolving "." and ".." by name only, the way a full path
// is formed: ".." at the root stays at the root.
void AppendComponents(std::vector<std::string>& parts, std::string_view path) {
  for (std::string& part : SplitGamePath(path)) {
    if (part == ".") {
      continue;
    }
    if (part == "..") {
      if (!parts.empty()) {
        parts.pop_back();
      }
      continue;
    }
    parts.push_back(std::move(part));
  }
}

// The folder components of the game folder; false when the current directory cannot be read.
bool GameFolderComponents(std::vector<std::string>& parts) {
  const std::string folder = GameFolderPath();
  if (folder.empty()) {
    return false;
  }
  AppendComponents(parts, folder);
  return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    // The second byte of a double-byte character can look like a letter; it is compared exactly.
    if (IsLeadByte(ca) && i + 1 < a.size() && IsTrailByte(static_cast<unsigned char>(a[i + 1]))) {
      if (ca != cb || a[i + 1] != b[i + 1]) {
        return false;
      }
      ++i;
      continue;
    }
    const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; };
    if (fold(ca) != fold(cb)) {
      return false;
    }
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int MakeAbsolutePath(std::string& path) {
  if (path.size() > kMaxPathLength) {
    return 0;
  }
  if (IsAbsolutePath(path)) {
    return 1;
  }
  std::vector<std::string> parts;
  if (!GameFolderComponents(parts)) {
    return 0;
  }
  AppendComponents(parts, path);

  std::string full;
  for (const std::string& part : parts) {
    full += '\\';
    full += part;
  }
  if (full.empty() || (EndsWithSeparator(path) && !parts.empty())) {
    full += '\\';
  }
  if (full.size() > kMaxPathLength) {
    return 0;
  }
  path = std::move(full);
  return 1;
}

int MakeRelativePath(std::string& path) {
  if (path.size() > kMaxPathLength) {
    return 0;
  }
  if (!IsAbsolutePath(path)) {
    return 1;
  }
  // A drive or share of a Windows project has no way there from the game folder.
  if (HasDriveLetter(path)) {
    return 0;
  }
  std::vector<std::string> from;
  if (!GameFolderComponents(from)) {
    return 0;
  }
  std::vector<std::string> to;
  AppendComponents(to, path);

  std::size_t common = 0;
  while (common < from.size() && common < to.size() && from[common] == to[common]) {
    ++common;
  }

  std::string relative;
  if (common == from.size()) {
    relative = ".";
  } else {
    for (std::size_t i = common; i < from.size(); ++i) {
      if (!relative.empty()) {
        relative += '\\';
      }
      relative += "..";
    }
  }
  for (std::size_t i = common; i < to.size(); ++i) {
    relative += '\\';
    relative += to[i];
  }
  if (EndsWithSeparator(path) && common < to.size()) {
    relative += '\\';
  }
  if (relative.size() > kMaxPathLength) {
    return 0;
  }
  path = std::move(relative);
  return 1;
}

int MakeRelativePathString(std::string& text) { return MakeRelativePath(text); }

void StripDirectory(std::string& path) {
  // A game path names its folders with backslashes only; a '/' is part of a name here.
  const std::size_t last = LastSeparator(path, IsBackslash);
  if (last != std::string::npos) {
    path.erase(0, last + 1);
  }
}

int ReplaceExtension(std::string& out, const std::string& name, const char* ext) {
  out = name;
  const std::size_t dot = out.rfind('.');
  if (dot == std::string::npos) {
    return 0;
  }
  out.resize(dot);
  if (ext != nullptr) {
    out += '.';
    out += ext;
  }
  return 1;
}

int GetExtension(std::string& out, const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) {
    return 0;
  }
  out.assign(name, dot + 1);
  return 1;
}

int NumberedName(std::string& out, const std::string& name, int d1, int d2) {
  out = name;
  const std::size_t dot = out.rfind('.');
  if (dot == std::string::npos) {
    return 0;
  }
  const char suffix[3] = {'_', static_cast<char>('0' + d1), static_cast<char>('0' + d2)};
  out.insert(dot, suffix, sizeof suffix);
  return 1;
}

int FindNumberedFile(std::string& dst, const std::string& name, const char* ext) {
  std::string base;
  ReplaceExtension(base, name, ext);
  constexpr std::size_t kSuffixLength = 4;  // "_NNN"
  if (base.size() + kSuffixLength > kMaxPathLength) {
    return 0;
  }

  // One listing of the folder instead of a query per number: the copies are the entries named
  // file_NNN, matched without regard to ASCII case as every game path is.
  const std::size_t separator = LastSeparator(base);
  const std::string folder = separator == std::string::npos ? std::string() : base.substr(0, separator + 1);
  const std::string_view file = std::string_view(base).substr(folder.size());
  if (file.empty()) {
    return 0;
  }

  int best = -1;
  for (const std::string& entry : ListGameDirectory(folder)) {
    if (entry.size() != file.size() + kSuffixLength || entry[file.size()] != '_') {
      continue;
    }
    const char* digits = entry.c_str() + file.size() + 1;
    if (!IsDigit(digits[0]) || !IsDigit(digits[1]) || !IsDigit(digits[2])) {
      continue;
    }
    const int number = (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
    if (number <= best || !EqualsIgnoringAsciiCase(std::string_view(entry).substr(0, file.size()), file)) {
      continue;
    }
    const auto info = StatGameFile(folder + entry);
    if (!info || info->isDirectory) {
      continue;
    }
    best = number;
  }
  if (best < 0) {
    return 0;
  }

  // The game's own spelling of the name; opening it finds the entry whatever its case on disk.
  dst = base;
  const char suffix[kSuffixLength] = {'_', static_cast<char>('0' + best / 100), static_cast<char>('0' + best / 10 % 10),
                                      static_cast<char>('0' + best % 10)};
  dst.append(suffix, kSuffixLength);
  return 1;
}

int FindNumberedFileString(std::string& out, const std::string& name, const char* ext) {
  std::string found;
  if (FindNumberedFile(found, name, ext) == 0) {
    return 0;
  }
  out = std::move(found);
  return 1;
}
