#pragma once
// Files and folders of the game folder, named as the game names them: code page 932 bytes with '\'
// (or '/') between components, relative to the game folder, which is the current directory.
//
// A component is matched exactly or, failing that, without regard to ASCII case, since projects come
// from Windows with mixed case. A path that is absolute and outside the game folder, that climbs above
// it with "..", or that does not convert, is treated as missing: nothing read from data can reach a
// file outside the game folder.
//
// Reads follow symbolic links. Writes (every open mode but plain reading, and the folder, rename and
// removal operations) do not: the folders on the way must lie in the game folder once their links
// are followed, and a file is never written through a link of its own, so a link planted in place
// of a log or a save cannot make the game overwrite what it leads to.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits a game path at its separators. A 0x5C byte that is the second byte of a double-byte
// character ("ソ" is 83 5C) is part of the name, not a separator. Empty components are dropped.
std::vector<std::string> SplitGamePath(std::string_view path);

// The game folder as an absolute game path ("\home\me\game"): the current directory in the
// program's own form. Absolute paths that begin with it are taken as paths inside the game folder.
std::string GameFolderPath();

// The host path of an existing file or folder.
std::optional<std::filesystem::path> ResolveGamePath(std::string_view path);

// The host path to create or replace path: every folder above it must exist; the last component
// keeps the spelling of an existing entry that matches it, else it is the name converted to UTF-8.
std::optional<std::filesystem::path> ResolveGamePathForWrite(std::string_view path);

struct GameFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using GameFile = std::unique_ptr<std::FILE, GameFileCloser>;

// fopen with a game path. Modes beginning with 'r' open an existing file; the others create it.
GameFile OpenGameFile(std::string_view path, const char* mode);

struct GameFileInfo {
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // the last write, in ticks of the file clock: for ordering only
};
std::optional<GameFileInfo> StatGameFile(std::string_view path);
bool GameFileExists(std::string_view path);
bool GameDirectoryExists(std::string_view path);

// The names in a folder, as code page 932 bytes, sorted. Names that have no code page 932 form
// cannot be named by the game and are left out. Empty when the folder does not exist.
std::vector<std::string> ListGameDirectory(std::string_view path);

// Creates one folder whose parent exists; true when it was created or already is a folder.
bool CreateGameDirectory(std::string_view path);

// Copies the folder from, with everything in it, to the new folder to.
bool CopyGameTree(std::string_view from, std::string_view to);

// Renames from to to, replacing a file that to names.
bool RenameGameFile(std::string_view from, std::string_view to);

bool RemoveGameFile(std::string_view path);
// Removes the file or folder at path with everything in it. Refuses the game folder itself and
// anything whose folder lies outside it (also through a link); links met are removed, not followed.
bool RemoveGameTree(std::string_view path);
