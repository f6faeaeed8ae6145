// The death of an object as the play scene sees it: nothing more, a clear, or the end of the hero;
// and the deaths left behind by status operations of the scripts.
#include "platform/audio/sound_effects.h"
#include "play/chara.h"
#include "play/contacts.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "project/system_data.h"

namespace {

// A clear requested by a death: the stage is finished and its result shown.
void FinishByDeath(cPlayScene* scene) {
  FinishStage();
  if (scene != nullptr) scene->m_State = kPlayStageResult;
}

// Hero 0's death, its sound first; a clear pending instead finishes the stage.
void KillHero0(cPlayScene* scene) {
  PlaySE(kSoundHeroDies);
  if (g_Heroes[0].Die() == 1) FinishByDeath(scene);
}

}  // namespace

std::int32_t DeathCode(cCharaBase& chara) {
  if (chara.m_Operator == 0) return 2;
  if (chara.m_Dead != 0) return 0;
  return chara.Die();
}

std::int32_t ProcessDeath(cCharaBase& chara) {
  const std::int32_t code = DeathCode(chara);
  cPlayScene* scene = g_PlayScene;
  if (code == 1)
    FinishByDeath(scene);
  else if (code == 2 && !g_Heroes.empty())
    KillHero0(scene);
  return code;
}

void AskForDeathCheck(const cCharaBase& runner, const cCharaBase& owner) {
  if (&owner != &runner && owner.m_Hp <= 0 && g_PlayScene != nullptr) g_PlayScene->m_StatusChanged = 1;
}

std::int32_t CheckStatusDeaths() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return 0;
  // A hero already dead has had its death; it is not started again.
  if (!g_Heroes.empty() && g_Heroes[0].m_Hp <= 0 && g_Heroes[0].m_Dead == 0) {
    KillHero0(scene);
    return 1;
  }
  std::int32_t result = 0;
  g_CharaList.ForEach([&](cChara& chara) {
    if (result != 0) return;
    if (chara.m_RemovalMark != 0) {
      scene->RemoveChara(chara);
      return;
    }
    // A character kept while its death plays out still has no HP: its death was counted when it
    // began, and its sound is not played again for every later status change.
    if (chara.m_Hp > 0 || chara.m_Dead != 0) return;
    const std::int32_t code = ProcessDeath(chara);
    if (g_System.m_KeepDeadCharacters != 0 && code != 1)
      PlaySE(kSoundCharaKilled);
    else
      scene->RemoveChara(chara);
    if (code != 0) result = 1;
  });
  return result;
}
