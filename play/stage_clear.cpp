// The stage clear: the tally of the totals and the extra lives, the ranking places of the totals,
// the stage chain and what follows the result screen by the kind of play.
#include "play/stage_clear.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/audio/sound_effects.h"
#include "platform/host/clock.h"
#include "platform/host/message_queue.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "platform/services/paths.h"
#include "platform/services/text.h"
#include "play/hero.h"
#include "play/message_window.h"
#include "play/pause.h"
#include "play/play_scene.h"
#include "project/project_paths.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/world_map.h"
#include "shell/app_state.h"
#include "shell/menu_cursor.h"
#include "shell/ranking.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

constexpr std::int32_t kSoundExtraLife = 15;
// Frames the extra-life mark holds the game.
constexpr std::int32_t kExtraLifeFrames = 30;
// The stage stores the heroes' status into the progress record when it is cleared.
constexpr auto kStoreStatusAtClear = static_cast<StageField>(28);
// What a world-map entry does after its stage is cleared (AfterClearLabels).
constexpr std::int32_t kAfterClearNextRound = 1;
constexpr std::int32_t kAfterClearTitle = 2;

// Totals only grow; one that would pass the largest number stays there.
std::int32_t AddToTotal(std::int32_t total, std::int32_t value) {
  const std::int64_t sum = std::int64_t{total} + value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

// The extra-life mark rising over hero 0 while the game stands still; false when the program was
// asked to close meanwhile.
bool ShowExtraLifeMessage(cPlayScene& scene) {
  const cHero* hero = scene.Hero0();
  cMessageWindow& window = scene.m_Messages.emplace_back(ExtraLifeSettings(hero != nullptr ? hero->m_Id : 0));
  InitPauseRequest(scene.m_PauseRequest, kPauseExtraLife, 0, kExtraLifeFrames, 0);
  RunPause(scene, true);
  RemoveMessageWindow(scene.m_Messages, window);
  return scene.m_CloseRequested.load() == 0;
}

// Extra lives for every score step the total passed with this stage. There are never more lives to
// give than a player can hold, however small the step.
void GrantExtraLives(cPlayScene* scene, std::int32_t oldSum, std::int32_t newSum) {
  cSaveData& save = g_SaveData;
  const std::int32_t step = g_System.m_ScorePerExtraLife;
  if (save.m_Lives == kUnlimitedLives || g_System.m_ExtraLifeByScore == 0 || step == 0) return;
  const std::int64_t lives = std::int64_t{newSum} / step - std::int64_t{oldSum} / step;
  const std::int64_t count = std::min<std::int64_t>(lives, kMaxLives);
  for (std::int64_t i = 0; i < count; ++i) {
    if (save.m_Lives < kMaxLives) ++save.m_Lives;
    PlaySE(kSoundExtraLife);
    if (scene == nullptr) continue;
    if (!ShowExtraLifeMessage(*scene)) {
      PostMainWindowMessage(WM_CLOSE, 0, 0);
      return;
    }
    // The next life waits until the player is back.
    while (g_AppActive.load() == 0 && !MessageShutdownBegun()) SleepMs(1);
  }
}

std::array<std::int32_t, kRankTables> Totals() {
  const cSaveData& s = g_SaveData;
  return {s.m_SumScore, s.m_SumTimeLeft, s.m_SumPlayTime, s.m_SumHP, s.m_SumSP};
}

// Whether the play mode keeps ranking kind k.
bool ModeKeepsKind(std::int32_t mode, std::int32_t k) {
  if (mode < 0 || mode >= g_System.m_RankingSets.Size()) return false;
  const CheckedVector<std::uint8_t>& flags = g_System.m_RankingSets.At(mode).m_Flags;
  return k < flags.Size() && flags.At(k) != 0;
}

std::int32_t NextStageNumber() { return g_PlayScene != nullptr ? g_PlayScene->m_NextStage : 0; }

// The next stage of a chain into g_Stage: true when there is one and it loaded (the play scene then
// plays it); m_StageIndex becomes its number either way.
bool LoadNextChainStage() {
  cSaveData& save = g_SaveData;
  const std::int32_t next = NextStageNumber();
  if (save.m_SubStage == 0 || next == 0) return false;
  save.m_StageIndex = next;
  std::string name;
  if (!MakeNextStageFileName(name, next) || !LoadStageFile(name.c_str(), 1, &g_PlayState)) return false;
  EmptyReplayRecords();
  return true;
}

void StoreHeroStatuses(const cPlayScene* scene) {
  if (g_Stage.Field(kStoreStatusAtClear) == 0) return;
  for (std::size_t i = 0; i < g_Heroes.size(); ++i) {
    const cHero& hero = g_Heroes[i];
    const cCharaEffectPlayer& effect = hero.m_CharaEffect;
    g_SaveData.StoreCarriedStatus(static_cast<std::int32_t>(i), hero.m_Def, hero.m_Hp, hero.m_Sp,
                                  static_cast<std::uint16_t>(effect.m_Number), static_cast<std::uint8_t>(effect.m_Mode),
                                  static_cast<std::uint8_t>(effect.m_Loop), scene != nullptr ? scene->m_TimeLeft : 0,
                                  g_SaveData.m_Lives, g_SaveData.m_Music);
  }
}

// Story: the stage's clear flag and best score, then the world-map entry's after-clear choice.
std::int32_t AfterStoryStage(std::int32_t stageIndex) {
  cSaveData& save = g_SaveData;
  if (save.m_StageNumber >= 0 && save.m_StageNumber < save.m_RoundFlags.Size())
    save.m_RoundFlags.At(save.m_StageNumber) = 1;
  save.RecordStageScore(save.m_StageName, save.m_SumScore);
  const cWorldEventItem* entry = save.ActiveMapEntry(g_WorldMap);
  const std::int32_t after = entry != nullptr ? entry->m_AfterClear : 0;
  if (after == kAfterClearTitle) {
    g_MenuCursor.current->row = g_SceneManager.m_TitleChoice;
    return kSceneTitle;
  }
  if (after == kAfterClearNextRound) save.StartNextRound();
  save.m_StageIndex = stageIndex;
  return kSceneWorldMap;
}

// Challenge: the stage's result and the next stage opened, kept in the challenge progress file.
std::int32_t AfterChallengeStage(std::int32_t stageIndex) {
  cSaveData& save = g_SaveData;
  const std::int32_t k = save.m_StageNumber - 1;
  if (k >= 0 && k < save.m_ChallengeResults.Size()) {
    cSaveIntPair& result = save.m_ChallengeResults.At(k);
    result.m_Cleared = 1;
    if (save.m_SumScore > result.m_BestScore) {
      save.m_TotalScore = AddToTotal(save.m_TotalScore, save.m_SumScore - result.m_BestScore);
      result.m_BestScore = save.m_SumScore;
    }
  }
  if (save.m_ChallengeOpen <= save.m_StageNumber)
    save.m_ChallengeOpen = std::min(AddToTotal(save.m_StageNumber, 1), g_System.ChallengeStages());
  const std::string& path = ProjectPathTable[kPathChallengeProgress];
  if (!save.SaveFile(path.c_str())) ReportLog(SJ("%s の保存に失敗しました！").c_str(), path.c_str());
  save.m_StageIndex = stageIndex;
  return kSceneChallenge;
}

}  // namespace

void EmptyReplayRecords() {
  for (cReplayRecord* record : {&g_ReplayRecord, &g_PrevReplayRecord}) {
    record->Reset();
    record->ClearStreams();
  }
}

void TallyStageResult() {
  cSaveData& save = g_SaveData;
  cPlayScene* scene = g_PlayScene;
  const cHero* hero = scene != nullptr ? scene->Hero0() : nullptr;
  const std::int32_t oldSum = save.m_SumScore;
  save.m_SumScore = AddToTotal(save.m_SumScore, save.m_Score);
  if (scene != nullptr) {
    if (scene->m_NoTimeLimit == 0) save.m_SumTimeLeft = AddToTotal(save.m_SumTimeLeft, scene->m_TimeLeft);
    save.m_SumPlayTime = AddToTotal(save.m_SumPlayTime, scene->m_PlayTime);
  }
  if (hero != nullptr) {
    save.m_SumHP = AddToTotal(save.m_SumHP, hero->m_Hp);
    save.m_SumSP = AddToTotal(save.m_SumSP, hero->m_Sp);
  }
  GrantExtraLives(scene, oldSum, save.m_SumScore);
}

void FinishStage() {
  TallyStageResult();
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  scene->m_RankRegistered = 0;
  scene->m_RankEntryPossible = 0;
  scene->m_RankPositions.assign(kRankTables, -1);
  // The totals of a chain are ranked once, after its last stage.
  if (g_TestPlay == 0 && (g_SceneManager.m_RankingFlag == 0 || IsLastStage(scene->m_NextStage) == 0)) return;
  const std::array<std::int32_t, kRankTables> totals = Totals();
  scene->m_RankValues.assign(totals.begin(), totals.end());
  if (g_EditorLaunched.load() != 0) return;
  const std::int32_t mode = g_SceneManager.m_PlayMode;
  for (std::int32_t k = 0; k < kRankTables; ++k) {
    if (!ModeKeepsKind(mode, k) || g_Stage.m_ResultSwitches.At(k) == 0) continue;
    const std::int32_t place = g_Ranking.m_Tables.At(k).FindRank(totals[static_cast<std::size_t>(k)]);
    scene->m_RankPositions.At(k) = place;
    if (place != -1) scene->m_RankEntryPossible = 1;
  }
}

std::int32_t IsLastStage(std::int32_t number) {
  std::string name;
  return MakeNextStageFileName(name, number) != 0 ? 0 : 1;
}

std::int32_t MakeNextStageFileName(std::string& out, std::int32_t number) {
  out.clear();
  const std::string& stageName = g_SaveData.m_StageName;
  if (g_SaveData.m_SubStage == 0 || NextStageNumber() == 0 || stageName.empty()) return 0;
  // The stage name ends in the dot that replaced the chain's "-1".
  const std::string base = stageName.substr(0, stageName.size() - 1);
  const std::string& extension = FileExtensionTable[kExtensionStage];
  out = FormatString("%s-%d.%s", base.c_str(), static_cast<int>(number), extension.c_str());
  if (FindNumberedFileString(out, out, extension.c_str())) return 1;
  out.clear();
  return 0;
}

std::int32_t AfterStageClear() {
  cPlayScene* scene = g_PlayScene;
  StoreHeroStatuses(scene);
  const std::int32_t stageIndex = g_SaveData.m_StageIndex;
  switch (g_SceneManager.m_TitleChoice) {
    case kTitleNewStory:
    case kTitleContinue:
      if (LoadNextChainStage()) return kScenePlay;
      return AfterStoryStage(stageIndex);
    case kTitleChallenge:
      if (LoadNextChainStage()) return kScenePlay;
      return AfterChallengeStage(stageIndex);
    case kTitleFreePlay:
      // A chosen stage file plays again, unless it starts a chain: that goes on to its end.
      if (g_SaveData.m_SubStage == 0 || g_TestPlay != 0) return kScenePlay;
      if (LoadNextChainStage()) return kScenePlay;
      g_SaveData.m_StageIndex = stageIndex;
      return kSceneTitle;
    case kTitleReplay:
      g_SaveData.RestoreCarriedStatus(1, g_SceneManager.m_PlayMode, g_TestPlay != 0);
      return kScenePlay;
    default:
      return kSceneChallenge;
  }
}
