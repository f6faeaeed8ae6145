// The direct stage start: a stage named on the command line (or in System.ini) is played at once as
// a test play in free-play mode, without the title.
#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/paths.h"
#include "project/load_context.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"
#include "shell/startup_steps.h"
#include "shell/system_ini.h"
#include "shell/title_scene.h"

namespace {

bool StageFileExists(const std::string& name) {
  const auto info = StatGameFile(name);
  return info && !info->isDirectory;
}

}  // namespace

bool StartDirectStage() {
  std::string& stage = g_SystemIni.FreeStage;
  // The editing program hands over the stage it saves as numbered copies; the newest copy is the
  // one to play. A name without copies is played as it stands.
  std::string numbered;
  if (FindNumberedFile(numbered, stage, "stg4")) stage = CutToBytes(numbered, kFreeStageMax);
  if (!StageFileExists(stage)) {
    ReportLogAndLog(SJ("「%s」の読み込みに失敗しました！").c_str(), stage.c_str());
    stage.clear();
    return true;
  }

  g_TestPlay = 1;
  LoadContext().testPlay = true;
  // The name now is the very file to play, numbered or not: it is loaded as it stands.
  if (!StartStageFile(stage.c_str(), 0)) return false;
  // A test play is one stage: it never follows a chain of numbered stages.
  g_SaveData.m_SubStage = 0;
  g_SceneManager.m_PlayMode = kPlayFree;
  g_SceneManager.m_RankingFlag = 1;
  g_SceneManager.m_TitleChoice = kTitleFreePlay;
  g_SceneManager.m_Current = kScenePlay;
  g_SceneManager.m_Previous = kSceneTitle;
  return true;
}

bool StartDirectReplay(const std::string& path) {
  if (!StageFileExists(path)) {
    ReportLogAndLog(SJ("「%s」の読み込みに失敗しました！").c_str(), path.c_str());
    return false;
  }
  g_SaveData.Reset();
  // A damaged replay or one without a hero has been reported by the reader.
  if (!g_ReplayRecord.ReadReplayFile(path.c_str(), g_Stage, g_PlayState, g_SaveData)) return false;
  // Stage set-up reads the replay again from this name when the play-back starts over.
  g_Stage.m_FileName = path;
  g_SceneManager.m_PlayMode = kPlayReplay;
  const auto& sets = g_System.m_RankingSets;
  g_SceneManager.m_RankingFlag = kPlayReplay < sets.Size() ? sets.At(kPlayReplay).m_Enabled : 0;
  g_SceneManager.m_TitleChoice = kTitleReplay;
  g_SceneManager.m_Current = kScenePlay;
  g_SceneManager.m_Previous = kSceneTitle;
  return true;
}
