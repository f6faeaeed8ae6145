#include "play/play_seams.h"

#include "play/collision.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

// There are no shots yet: no command fires one, so the shot list is always empty and nothing needs
// emptying or moving.
void ClearShots() {}
void StepShots(std::int32_t) {}

// Contacts come with their own part; until then a hero touches nothing, so nothing happens and the
// play goes on.
std::int32_t HeroCharaContacts() { return 0; }

// The command lists of items need the event scripts' commands: until they exist an item's list runs
// no command, changes nothing and stops nothing.
std::int32_t RunFlowCommands(cCharaBase&, const CheckedVector<cFlowCommand>&) { return 0; }

// Only the status operations of the scripts set the play scene's status flag, and they are not part
// of the program yet: there are no such deaths to find.
std::int32_t CheckStatusDeaths() {
  if (g_PlayScene != nullptr) g_PlayScene->m_StatusChanged = 0;
  return 0;
}

std::int32_t ProcessDeath(cCharaBase& chara) {
  std::int32_t code = 0;
  if (chara.m_Operator == 0)
    code = 2;
  else if (chara.m_Dead != 0)
    code = 0;
  else
    code = chara.Die();
  cPlayScene* scene = g_PlayScene;
  if (code == 1) {
    FinishStage();
    if (scene != nullptr) scene->m_State = kPlayStageResult;
  } else if (code == 2 && !g_Heroes.empty()) {
    PlaySE(8);
    if (g_Heroes[0].Die() == 1) {
      FinishStage();
      if (scene != nullptr) scene->m_State = kPlayStageResult;
    }
  }
  return code;
}

// The tally of a cleared stage (totals, extra lives, ranking positions) arrives with the stage
// result; until then a clear adds nothing and enters no ranking.
void FinishStage() {}

// What follows a clear, by the kind of play. The stage chain, the clear flags, the challenge results
// and the carried status arrive with the stage result; until then a story goes back to the world
// map, a challenge to its list, a chosen stage file plays again and a replay starts over.
std::int32_t AfterStageClear() {
  switch (g_SceneManager.m_TitleChoice) {
    case kTitleNewStory:
    case kTitleContinue:
      return kSceneWorldMap;
    case kTitleFreePlay:
      return kScenePlay;
    case kTitleReplay:
      g_SaveData.RestoreCarriedStatus(1, g_SceneManager.m_PlayMode, g_TestPlay != 0);
      return kScenePlay;
    default:
      return kSceneChallenge;
  }
}

// No result enters a ranking until the tally finds positions (m_RankEntryPossible stays 0).
void RegisterRanking() {}
