// The ranking file of a stage: its name, loading and saving, and the one ranking held.
#include "platform/services/paths.h"
#include "project/project_paths.h"
#include "shell/ranking.h"

cRankFile g_Ranking;

namespace {

// Story, challenge and free play keep rankings; replays do not.
constexpr std::int32_t kRankedModes = 3;

}  // namespace

int MakeRankFilePath(std::string& buffer, std::int32_t playMode, const std::string& stageName) {
  if (playMode < 0 || playMode >= kRankedModes) return 0;
  std::string name = stageName;
  StripDirectory(name);
  const std::string& folder = ProjectPathTable[static_cast<std::size_t>(kPathRankingFolders + playMode)];
  const std::string& extension = FileExtensionTable[kExtensionRanking];
  if (folder.size() + name.size() + extension.size() > kMaxPathLength) return 0;
  buffer = folder;
  buffer += name;
  buffer += extension;
  return 1;
}

int LoadRankFile(cRankFile& file, std::int32_t playMode, const std::string& stageName) {
  std::string path;
  // Read over a fresh ranking, so a damaged file never leaves half its tables behind.
  if (MakeRankFilePath(path, playMode, stageName) &&
      LoadOverCopy(file, cRankFile(), path.c_str(), FileOwner::kPlayer) == WholeLoad::kRead)
    return 1;
  file.Reset();
  return 0;
}

int SaveRankFile(cRankFile& file, std::int32_t playMode, const std::string& stageName) {
  std::string path;
  if (!MakeRankFilePath(path, playMode, stageName)) return 0;
  return file.SaveFile(path.c_str());
}
