// The routines that prepare the progress record for a new game.
#include <cstring>
#include <string>

#include "platform/services/paths.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "project/world_map.h"
#include "shell/startup.h"
#include "shell/title_scene.h"

namespace {

constexpr std::size_t kMaxStageName = 259;

// Lives at the start of a play mode: the mode's own count, one of them in play; or unlimited.
void SetStartingLives(std::int32_t mode, bool unlimited) {
  if (unlimited) {
    g_SaveData.m_StartLives = kUnlimitedLives;
    g_SaveData.m_Lives = kUnlimitedLives;
    return;
  }
  const std::int32_t lives = g_System.StartingLivesOf(mode);
  g_SaveData.m_StartLives = lives;
  g_SaveData.m_Lives = lives - 1;
}

}  // namespace

void StartNewStory() {
  g_SaveData.Reset();
  g_SaveData.m_MapX = g_WorldMap.m_StartX;
  g_SaveData.m_MapY = g_WorldMap.m_StartY;
  g_SaveData.m_Round = 0;
  SetStartingLives(kPlayStory, g_System.UnlimitedLivesIn(kPlayStory));
}

std::int32_t StartStageFile(const char* name, std::int32_t numbered) {
  // The name comes from the command line, System.ini or a dialog: a path buffer's worth at most.
  if (!name || std::strlen(name) > kMaxStageName) return 0;
  const std::string stage = name;
  g_SaveData.Reset();
  if (!LoadStageFile(stage.c_str(), numbered ? 1u : 0u, &g_PlayState)) return 0;
  g_SaveData.m_StageNumber = 1;
  g_SaveData.m_StageIndex = 1;
  SetStartingLives(kPlayFree, g_TestPlay != 0 || g_System.UnlimitedLivesIn(kPlayFree));
  std::string relative = stage;
  MakeRelativePath(relative);
  g_SaveData.SetStageFileName(relative.c_str());
  return 1;
}

std::int32_t RequestStageFile() { return SendDialogRequest(WM_GAME_OPENSTAGE, 0) ? 1 : 0; }
