#include "platform/host/game_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform/host/text_codec.h"

namespace fs = std::filesystem;

namespace {

// The double-byte ranges of code page 932, kept here because this layer sits below the text helpers.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

constexpr bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A copy deeper than this is taken to be a loop the identity check did not see.
constexpr int kMaxCopyDepth = 256;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The components of a game path below the game folder, with "." dropped and ".." applied. Empty
// optional when the path names something outside the folder: a drive, an absolute path elsewhere,
// or a climb above it. Windows also applies ".." to the text before looking at the disk.
std::optional<std::vector<std::string>> FolderComponents(std::string_view path) {
  if (HasDriveLetter(path)) return std::nullopt;
  std::vector<std::string> parts = SplitGamePath(path);
  std::size_t first = 0;
  if (!path.empty() && IsSeparator(path.front())) {
    const std::string folderPath = GameFolderPath();
    if (folderPath.empty()) return std::nullopt;
    const std::vector<std::string> folder = SplitGamePath(folderPath);
    if (parts.size() < folder.size() || !std::equal(folder.begin(), folder.end(), parts.begin())) return std::nullopt;
    first = folder.size();
  }
  std::vector<std::string> components;
  for (std::size_t i = first; i < parts.size(); ++i) {
    if (parts[i] == ".") continue;
    if (parts[i] == "..") {
      if (components.empty()) return std::nullopt;
      components.pop_back();
      continue;
    }
    components.push_back(std::move(parts[i]));
  }
  return components;
}

// The UTF-8 name of one component, or nothing when it does not convert: such a name cannot be on
// disk under any spelling the game would mean.
std::optional<std::string> HostName(std::string_view component) {
  std::string name;
  if (!TryCp932ToUtf8(component, name)) return std::nullopt;
  if (name.find('\0') != std::string::npos || name.find('/') != std::string::npos) return std::nullopt;
  return name;
}

fs::path FolderOf(const fs::path& host) { return host.empty() ? fs::path(".") : host; }

// The name on disk of the entry of folder that name means: name itself when it exists (no listing
// then, which is the common case), else the first in sorted order that matches it without regard
// to ASCII case.
std::optional<std::string> FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(folder / name, ec))) return name;
  std::optional<std::string> best;
  fs::directory_iterator entry(folder, ec);
  for (const fs::directory_iterator end; !ec && entry != end; entry.increment(ec)) {
    std::string candidate = entry->path().filename().string();
    if (EqualsIgnoringAsciiCase(candidate, name) && (!best || candidate < *best)) best = std::move(candidate);
  }
  return best;
}

// The host path of the first count components, each one found on disk.
std::optional<fs::path> ResolveComponents(const std::vector<std::string>& components, std::size_t count) {
  fs::path host;
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<std::string> name = HostName(components[i]);
    if (!name) return std::nullopt;
    const std::optional<std::string> found = FindEntry(FolderOf(host), *name);
    if (!found) return std::nullopt;
    host /= *found;
  }
  return host;
}

// The name of a folder entry as the game would spell it, when the game can spell it at all: it must
// convert, come back to the same name, and be one component. "¥" would become 0x5C and read as a
// separator; "〜" would come back as "～" and then not be found.
std::optional<std::string> GameName(const std::string& hostName) {
  std::string name;
  std::string back;
  if (!TryUtf8ToCp932(hostName, name) || !TryCp932ToUtf8(name, back) || back != hostName) return std::nullopt;
  const std::vector<std::string> parts = SplitGamePath(name);
  if (parts.size() != 1 || parts.front() != name || name == "." || name == "..") return std::nullopt;
  return name;
}

// True when path, a folder, is the game folder or lies inside it once every link on the way is
// followed: what is written under it stays in the game folder.
bool FolderWithinGame(const fs::path& folder) {
  std::error_code ec;
  const fs::path game = fs::canonical(fs::current_path(ec), ec);
  if (ec) return false;
  const fs::path real = fs::canonical(FolderOf(folder), ec);
  if (ec) return false;
  return std::mismatch(game.begin(), game.end(), real.begin(), real.end()).first == game.end();
}

// A mode that changes the file: everything but plain reading.
bool WritesTo(const char* mode) { return mode[0] != 'r' || std::strchr(mode, '+') != nullptr; }

// fopen for a mode that writes, without following a link: the folder must lie in the game folder
// once its links are followed, and the file itself is opened only when it is no link at all. A
// link planted in the game's place (a log, a save) must never make the game overwrite what it leads
// to.
std::FILE* OpenForWriting(const fs::path& host, const char* mode) {
  if (!FolderWithinGame(host.parent_path())) return nullptr;
  int flags = O_NOFOLLOW | O_CLOEXEC;
  const bool both = std::strchr(mode, '+') != nullptr;
  switch (mode[0]) {
    case 'r': flags |= O_RDWR; break;
    case 'w': flags |= (both ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC; break;
    case 'a': flags |= (both ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
    default: return nullptr;
  }
  const int fd = open(host.c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}

struct sFileId {
  dev_t device;
  ino_t inode;
  bool operator==(const sFileId&) const = default;
};

std::optional<sFileId> IdOf(const fs::path& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return sFileId{info.st_dev, info.st_ino};
}

// Copies the contents of the folder source into the new, empty folder target. Links are followed
// when reading; everything written is a new entry directly in target, named from the listing, so
// nothing lands outside it. A link back to a folder being copied is left out (it holds nothing new),
// and so is the target itself when it lies inside the source.
bool CopyFolderContents(const fs::path& source, const fs::path& target, const sFileId& targetId,
                        std::vector<sFileId>& copying, int depth) {
  if (depth > kMaxCopyDepth) return false;
  std::error_code walkError;
  fs::directory_iterator entry(source, walkError);
  for (const fs::directory_iterator end; !walkError && entry != end; entry.increment(walkError)) {
    const fs::path from = entry->path();
    const fs::path to = target / from.filename();
    std::error_code ec;
    const fs::file_status status = fs::status(from, ec);
    if (ec) {
      // A link to nothing (or to itself) has nothing to copy; any other failure fails the copy.
      if (fs::is_symlink(fs::symlink_status(from, ec)) && !ec) continue;
      return false;
    }
    if (fs::is_directory(status)) {
      const std::optional<sFileId> id = IdOf(from);
      if (!id) return false;
      if (*id == targetId || std::find(copying.begin(), copying.end(), *id) != copying.end()) continue;
      if (!fs::create_directory(to, ec) || ec) return false;
      copying.push_back(*id);
      const bool copied = CopyFolderContents(from, to, targetId, copying, depth + 1);
      copying.pop_back();
      if (!copied) return false;
    } else if (fs::is_regular_file(status)) {
      if (!fs::copy_file(from, to, fs::copy_options::none, ec) || ec) return false;
    }
    // Devices, pipes and sockets are not game files and are not copied.
  }
  return !walkError;
}

}  // namespace

std::vector<std::string> SplitGamePath(std::string_view path) {
  std::vector<std::string> components;
  std::string current;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c) && i + 1 < path.size() && IsTrailByte(static_cast<unsigned char>(path[i + 1]))) {
      current += path[i];
      current += path[++i];
    } else if (IsSeparator(path[i])) {
      if (!current.empty()) components.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) components.push_back(std::move(current));
  return components;
}

std::string GameFolderPath() {
  std::error_code ec;
  const fs::path folder = fs::current_path(ec);
  if (ec) return {};
  // With replacement: the result is only compared with paths the program built from it, so a name
  // that has no code page 932 form still compares equal to itself.
  std::string path = Utf8ToCp932(folder.native());
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::optional<fs::path> ResolveGamePath(std::string_view path) {
  const std::optional<std::vector<std::string>> components = FolderComponents(path);
  if (!components) return std::nullopt;
  std::optional<fs::path> host = ResolveComponents(*components, components->size());
  if (host && host->empty()) return fs::path(".");
  return host;
}

std::optional<fs::path> ResolveGamePathForWrite(std::string_view path) {
  const std::optional<std::vector<std::string>> components = FolderComponents(path);
  if (!components || components->empty()) return std::nullopt;
  const std::optional<fs::path> parent = ResolveComponents(*components, components->size() - 1);
  if (!parent) return std::nullopt;
  std::error_code ec;
  if (!fs::is_directory(FolderOf(*parent), ec)) return std::nullopt;
  const std::optional<std::string> name = HostName(components->back());
  if (!name) return std::nullopt;
  const std::optional<std::string> existing = FindEntry(FolderOf(*parent), *name);
  return *parent / (existing ? *existing : *name);
}

GameFile OpenGameFile(std::string_view path, const char* mode) {
  if (mode == nullptr || *mode == '\0') return nullptr;
  const std::optional<fs::path> host = *mode == 'r' ? ResolveGamePath(path) : ResolveGamePathForWrite(path);
  if (!host) return nullptr;
  GameFile file(WritesTo(mode) ? OpenForWriting(*host, mode) : std::fopen(host->c_str(), mode));
  if (!file) return nullptr;
  // glibc opens a folder for reading; the game means files only.
  struct stat info;
  if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
  return file;
}

std::optional<GameFileInfo> StatGameFile(std::string_view path) {
  const std::optional<fs::path> host = ResolveGamePath(path);
  if (!host) return std::nullopt;
  std::error_code ec;
  const fs::file_status status = fs::status(*host, ec);
  if (ec || !fs::exists(status)) return std::nullopt;
  GameFileInfo info;
  info.isDirectory = fs::is_directory(status);
  if (fs::is_regular_file(status)) {
    const std::uintmax_t size = fs::file_size(*host, ec);
    if (!ec) info.size = size;
  }
  const fs::file_time_type written = fs::last_write_time(*host, ec);
  if (!ec) info.modified = static_cast<std::int64_t>(written.time_since_epoch().count());
  return info;
}

bool GameFileExists(std::string_view path) { return StatGameFile(path).has_value(); }

bool GameDirectoryExists(std::string_view path) {
  const std::optional<GameFileInfo> info = StatGameFile(path);
  return info && info->isDirectory;
}

std::vector<std::string> ListGameDirectory(std::string_view path) {
  std::vector<std::string> names;
  const std::optional<fs::path> host = ResolveGamePath(path);
  if (!host) return names;
  std::error_code ec;
  fs::directory_iterator entry(*host, ec);
  for (const fs::directory_iterator end; !ec && entry != end; entry.increment(ec)) {
    if (std::optional<std::string> name = GameName(entry->path().filename().string())) names.push_back(std::move(*name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool CreateGameDirectory(std::string_view path) {
  const std::optional<fs::path> host = ResolveGamePathForWrite(path);
  if (!host) return GameDirectoryExists(path);  // "", "." and the like name the game folder itself
  if (!FolderWithinGame(host->parent_path())) return false;
  std::error_code ec;
  fs::create_directory(*host, ec);
  if (ec) return false;
  return fs::is_directory(*host, ec);
}

bool CopyGameTree(std::string_view from, std::string_view to) {
  const std::optional<fs::path> source = ResolveGamePath(from);
  const std::optional<fs::path> target = ResolveGamePathForWrite(to);
  if (!source || !target || !FolderWithinGame(target->parent_path())) return false;
  std::error_code ec;
  if (!fs::is_directory(*source, ec)) return false;
  // The target must be new: it is removed again when the copy fails, which must never take
  // anything that was there before.
  if (!fs::create_directory(*target, ec) || ec) return false;
  const std::optional<sFileId> targetId = IdOf(*target);
  const std::optional<sFileId> sourceId = IdOf(*source);
  bool copied = targetId && sourceId;
  if (copied) {
    std::vector<sFileId> copying{*sourceId};
    copied = CopyFolderContents(*source, *target, *targetId, copying, 0);
  }
  if (!copied) fs::remove_all(*target, ec);
  return copied;
}

bool RenameGameFile(std::string_view from, std::string_view to) {
  const std::optional<fs::path> source = ResolveGamePath(from);
  if (!source || *source == fs::path(".")) return false;
  const std::optional<fs::path> target = ResolveGamePathForWrite(to);
  if (!target) return false;
  // Both folders change: neither may lie outside the game folder. (A link at the target is
  // replaced itself; what it leads to stays as it is.)
  if (!FolderWithinGame(source->parent_path()) || !FolderWithinGame(target->parent_path())) return false;
  std::error_code ec;
  fs::rename(*source, *target, ec);
  return !ec;
}

bool RemoveGameTree(std::string_view path) {
  const std::optional<fs::path> host = ResolveGamePath(path);
  if (!host || *host == fs::path(".")) return false;
  // The entry itself is taken, never followed: a link goes, not what it leads to; links inside a
  // folder are removed as links too.
  if (!FolderWithinGame(host->parent_path())) return false;
  std::error_code ec;
  fs::remove_all(*host, ec);
  return !ec;
}

bool RemoveGameFile(std::string_view path) {
  const std::optional<fs::path> host = ResolveGamePath(path);
  if (!host || *host == fs::path(".") || !FolderWithinGame(host->parent_path())) return false;
  std::error_code ec;
  // Files only, as DeleteFile: a folder is never taken by a file removal.
  if (fs::is_directory(fs::symlink_status(*host, ec))) return false;
  const bool removed = fs::remove(*host, ec);
  return removed && !ec;
}
