#include "play/play_seams.h"

#include "play/collision.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

// Hit effects are drawn by the screen-effect instances, which come with the effects of the event
// scripts; until then a hit shows no effect (the damage, knock-back and triggers still happen).
void StartHitEffect(std::int16_t, const cSubBox&, const cSubBox&, std::int32_t) {}

// The command lists of items need the event scripts' commands: until they exist an item's list runs
// no command, changes nothing and stops nothing.
std::int32_t RunFlowCommands(cCharaBase&, const CheckedVector<cFlowCommand>&) { return 0; }

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
