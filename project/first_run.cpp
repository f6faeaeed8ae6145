// The first run: data\ does not exist yet, and the project is created from default\.
#include <string>

#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "project/project_paths.h"

namespace {

// The copy is built under a name of its own and becomes data\ only when it is whole, so an
// interrupted or failed copy never passes for a project at the next start.
constexpr const char* kCopySuffix = ".copying";
// A copy cut off by a power failure leaves its folder behind; the next attempt takes another name
// rather than failing for ever. Beyond this many such leftovers something else is wrong.
constexpr int kCopyNameAttempts = 100;

// A folder row of the path table ("data\") as the name of the folder itself ("data").
std::string FolderName(const std::string& row) {
  std::string name = row;
  while (!name.empty() && name.back() == '\\') name.pop_back();
  return name;
}

// A name beside data for the copy that nothing has yet; empty when there is none.
std::string FreeCopyName(const std::string& folder) {
  for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
    std::string name = folder + kCopySuffix;
    if (attempt > 0) name += FormatString("%d", attempt);
    if (!GameFileExists(name)) return name;
  }
  return {};
}

}  // namespace

int EnsureProjectData() {
  const std::string& dataRow = ProjectPathTable[kPathData];
  if (GameDirectoryExists(dataRow)) return 1;
  if (!GameDirectoryExists(ProjectPathTable[kPathDefault])) return 0;

  if (MesBox(SJ("データが存在しません！デフォルトデータを作成しますか？\n"), SJ("デフォルトデータ作成の確認"), MB_YESNO) !=
      IDYES) {
    return 0;
  }

  const std::string target = FolderName(dataRow);
  // A file called data is the user's: the project folder cannot take its place.
  if (GameFileExists(target)) return 0;
  const std::string copy = FreeCopyName(target);
  if (copy.empty()) return 0;
  // CopyGameTree removes what it made when it fails.
  if (!CopyGameTree(FolderName(ProjectPathTable[kPathDefault]), copy)) return 0;
  if (!RenameGameFile(copy, target)) {
    // A whole copy that could not take its place must not lie about beside the game for ever.
    RemoveGameTree(copy);
    return 0;
  }
  return GameDirectoryExists(dataRow) ? 1 : 0;
}
