// The entry of a stage's totals into its rankings, and the ranking screen shown after it.
//
// The ranking screen keeps the screen alive while the game waits for the player; it runs as a frame
// loop of its own on the game thread, which has nothing else to do meanwhile. That way the window
// thread's close road (which ends the game thread by its queue) ends it too, and no second thread
// is waited for from two sides.
#include <array>

#include "platform/audio/sound_effects.h"
#include "platform/display/display.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "platform/services/text.h"
#include "platform/services/thread.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "play/stage_draw.h"
#include "project/option.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/app_state.h"
#include "shell/headless.h"
#include "shell/option_scene.h"
#include "shell/ranking.h"
#include "shell/scene_manager.h"

namespace {

constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundTableSwitch = 6;
constexpr std::int32_t kSoundRegistered = 16;
constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonNextTable = 8;  // button 4
// Where the ranking table stands over the stage.
constexpr std::int32_t kRankingX = 184;
constexpr std::int32_t kRankingY = 64;
// While no frame may be shown the loop waits on its queue this long at a time.
constexpr std::uint32_t kIdleWaitMs = 2;

// The name the totals are entered under, as the options' registration mode says: typed into the
// name-entry dialog (starting from the last name typed), or the options' fixed name.
void ChooseEntryName(cPlayScene& scene) {
  if (g_Option.RankingNameFixed()) {
    scene.m_EntryName = g_Option.m_RankName;
    return;
  }
  scene.m_EntryName = g_SaveData.m_RankName;
  RequestNameEntry();
  g_SaveData.m_RankName = scene.m_EntryName;
}

// The table shown: the one the progress record names, kept on one the play mode ranks.
std::int32_t ShownTable() {
  const std::int32_t t = g_SaveData.m_RankingTable;
  return t >= 0 && t < g_Ranking.m_Tables.Size() ? t : 0;
}

// One frame of the ranking screen; false when the player leaves it.
bool RankingFrame(cPlayScene& scene, std::int32_t mode) {
  g_SceneManager.WaitNextFrame();
  if (!g_SceneManager.RestoreLostSurfaces()) PostMainWindowMessage(WM_CLOSE, 0, 0);
  g_SceneManager.PollInput();
  if (!g_Inputs.empty()) {
    cInput& input = g_Inputs[0];
    input.TriggerButtons(0);
    input.AutoRepeat();
    if ((input.m_Buttons & kButtonDecide) != 0) {
      PlaySE(kSoundDecide);
      return false;
    }
    if ((input.m_Buttons & kButtonNextTable) != 0 && g_System.CountSystemFlags(mode) > 1) {
      PlaySE(kSoundTableSwitch);
      g_SaveData.CycleEnabledEntry(mode, 1);
    }
  }
  DrawStage(0, 1, 0, 1);
  const std::int32_t t = ShownTable();
  const std::int32_t marked = t < scene.m_RankPositions.Size() ? scene.m_RankPositions.At(t) : -1;
  g_Ranking.DrawTable(&g_BackSurface, kRankingX, kRankingY, t, marked);
  g_SceneManager.PresentFrame();
  return true;
}

}  // namespace

void ShowRankingScreen(cPlayScene& scene) {
  const std::int32_t mode = g_SceneManager.m_PlayMode;
  g_SaveData.CycleEnabledEntry(mode, 0);
  for (;;) {
    if (auto msg = GetThreadMessageWithin(0)) {
      if (msg->message == WM_QUIT) return;
      continue;
    }
    if (g_AppActive.load() == 0 || FrameBudgetSpent()) {
      if (auto msg = GetThreadMessageWithin(kIdleWaitMs); msg && msg->message == WM_QUIT) return;
      continue;
    }
    if (!RankingFrame(scene, mode)) return;
  }
}

void RegisterRanking() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr || g_SceneManager.m_RankingFlag == 0 || scene->m_RankEntryPossible == 0 ||
      scene->m_RankRegistered != 0)
    return;
  ChooseEntryName(*scene);
  PlaySE(kSoundRegistered);
  for (std::int32_t k = 0; k < kRankTables && k < scene->m_RankPositions.Size(); ++k) {
    if (scene->m_RankPositions.At(k) == -1 || k >= scene->m_RankValues.Size()) continue;
    g_Ranking.m_Tables.At(k).Insert(scene->m_EntryName, scene->m_RankValues.At(k));
  }
  const std::int32_t mode = g_SceneManager.m_PlayMode;
  if (!SaveRankFile(g_Ranking, mode, g_SaveData.m_StageName)) {
    std::string path;
    MakeRankFilePath(path, mode, g_SaveData.m_StageName);
    ReportLog(SJ("%s の保存に失敗しました！").c_str(), path.c_str());
  }
  scene->m_RankRegistered = 1;
  ShowRankingScreen(*scene);
}
