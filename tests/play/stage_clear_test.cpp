// A cleared stage: the tally of the totals and the extra lives, the ranking places, the chain of
// numbered stage files, what follows the result by the kind of play, and the ranking entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "play/stage_clear.h"
#include "shell/headless.h"
#include "project/option.h"
#include "project/world_map.h"
#include "shell/ranking.h"
#include "tests/play/play_scene_fixture.h"

namespace {

constexpr int kKeyButton1 = 'Z';
constexpr int kSoundExtraLife = 15;
constexpr int kSoundRegistered = 16;
constexpr int kSoundDecide = 1;

class StageResultTest : public playtest::PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    g_AppActive = 1;
    g_EditorLaunched = 0;
    g_Ranking.Reset();
    g_WorldMap = cWorldMap();
    g_SaveData.m_StartLives = 3;
    g_System.m_ExtraLifeByScore = 0;
    g_Option.m_RankingMode = kRankingManualFixedName;
    g_Option.m_RankName = "FIX";
    m_Scene->ResetPlayProgress();
    m_Scene->SetStage(0, 1);
  }
  void TearDown() override {
    g_AppActive = 0;
    g_Ranking.Reset();
    g_WorldMap = cWorldMap();
    g_Option = cOption();
    PlaySceneTest::TearDown();
  }

  // The play mode ranks the kinds given, and the stage shows the same results.
  static void RankKinds(std::int32_t mode, std::initializer_list<int> kinds) {
    g_SceneManager.m_PlayMode = mode;
    g_SceneManager.m_RankingFlag = 1;
    cSystemFlagSet& set = g_System.m_RankingSets.At(mode);
    set.m_Enabled = 1;
    for (std::int32_t k = 0; k < set.m_Flags.Size(); ++k) set.m_Flags.At(k) = 0;
    for (int k = 0; k < 5; ++k) g_Stage.m_ResultSwitches.At(k) = 0;
    for (int k : kinds) {
      set.m_Flags.At(k) = 1;
      g_Stage.m_ResultSwitches.At(k) = 1;
    }
  }

  // A stage file a chain may load.
  static void SaveStage(const std::string& path) {
    std::filesystem::create_directories("data/stg4");
    ASSERT_EQ(g_Stage.SaveFile(path.c_str()), 1);
  }

  // The chain x01-1, x01-2, ... as free play of its first file leaves it.
  void StartChain(int files) {
    for (int n = 2; n <= files; ++n) SaveStage("data\\stg4\\x01-" + std::to_string(n) + ".stg4_000");
    g_SaveData.SetStageFileName("data\\stg4\\x01-1.stg4_000");
    g_SaveData.m_StageIndex = 1;
    g_SceneManager.m_TitleChoice = kTitleFreePlay;
  }

  int Sounds(int number) const { return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), number)); }
  static std::string ReportText() {
    std::ifstream in("Report_Game.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(StageResultTest, TheTallyAddsTheStagesResultsToTheTotals) {
  for (const bool timeLimit : {true, false}) {
    SCOPED_TRACE(timeLimit);
    g_SaveData.m_SumScore = 1000;
    g_SaveData.m_SumTimeLeft = 50;
    g_SaveData.m_SumPlayTime = 6000;
    g_SaveData.m_SumHP = 4;
    g_SaveData.m_SumSP = 1;
    g_SaveData.m_Score = 120;
    m_Scene->m_NoTimeLimit = timeLimit ? 0 : 1;
    m_Scene->m_TimeLeft = timeLimit ? 30 : 999;
    m_Scene->m_PlayTime = 4507;
    Hero().m_Hp = 3;
    Hero().m_Sp = 2;
    FinishStage();
    EXPECT_EQ(g_SaveData.m_SumScore, 1120);
    EXPECT_EQ(g_SaveData.m_SumTimeLeft, timeLimit ? 80 : 50) << "a stage without a time limit adds none";
    EXPECT_EQ(g_SaveData.m_SumPlayTime, 10507);
    EXPECT_EQ(g_SaveData.m_SumHP, 7);
    EXPECT_EQ(g_SaveData.m_SumSP, 3);
  }
  // A total at the largest number stays there rather than turning negative.
  g_SaveData.m_SumScore = 0x7fffffff;
  FinishStage();
  EXPECT_EQ(g_SaveData.m_SumScore, 0x7fffffff);
}

TEST_F(StageResultTest, ExtraLivesForEveryScoreStepTheTotalPasses) {
  struct Case {
    const char* name;
    std::int32_t on, step, oldSum, score, lives;
    bool close;  // the window was closed while the first mark showed
    std::int32_t livesAfter, sounds;
  };
  const Case cases[] = {
      {"250 + 160 passes 300 and 400", 1, 100, 250, 160, 3, false, 5, 2},
      {"at 99 the lives stay, the sound still comes", 1, 100, 0, 100, 99, false, 99, 1},
      {"unlimited lives", 1, 100, 250, 160, kUnlimitedLives, false, kUnlimitedLives, 0},
      {"the switch off", 0, 100, 250, 160, 3, false, 3, 0},
      {"no step", 1, 0, 250, 160, 3, false, 3, 0},
      {"a tiny step gives no more than the lives that can exist", 1, 1, 0, 5000000, 0, false, 99, 99},
      {"a close stops the tally after that life", 1, 100, 0, 500, 3, true, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Sounds.clear();
    TakeCloses();
    g_System.m_ExtraLifeByScore = c.on;
    g_System.m_ScorePerExtraLife = c.step;
    g_SaveData.m_SumScore = c.oldSum;
    g_SaveData.m_Score = c.score;
    g_SaveData.m_Lives = c.lives;
    m_Scene->m_CloseRequested = c.close ? 1 : 0;
    const std::uint32_t presented = PresentedFrameCount();
    TallyStageResult();
    EXPECT_EQ(g_SaveData.m_Lives, c.livesAfter);
    EXPECT_EQ(Sounds(kSoundExtraLife), c.sounds);
    EXPECT_TRUE(m_Scene->m_Messages.empty()) << "each mark goes once shown";
    EXPECT_EQ(TakeCloses(), c.close ? 1 : 0);
    if (!c.close) {
      EXPECT_EQ(PresentedFrameCount() - presented, 30u * static_cast<std::uint32_t>(c.sounds))
          << "each mark holds the game for 30 frames";
    }
  }
  m_Scene->m_CloseRequested = 0;
}

TEST_F(StageResultTest, RankingPlacesAreFoundForTheResultsTheModeAndTheStageBothKeep) {
  RankKinds(kPlayFree, {0, 2});
  g_System.m_RankingSets.At(kPlayFree).m_Flags.At(3) = 1;  // ranked by the mode, not shown by the stage
  g_Ranking.m_Tables.At(0).Insert("AAA", 900);
  g_Ranking.m_Tables.At(2).Insert("BBB", 3000);
  g_SaveData.m_Score = 500;
  m_Scene->m_PlayTime = 4000;
  FinishStage();
  EXPECT_EQ(m_Scene->m_RankPositions, (CheckedVector<std::int32_t>{1, -1, 1, -1, -1}));
  EXPECT_EQ(m_Scene->m_RankEntryPossible, 1);
  EXPECT_EQ(m_Scene->m_RankValues.At(0), 500);
  EXPECT_EQ(m_Scene->m_RankValues.At(2), 4000);

  // Started by the editing program: the totals are kept, but no place is looked for.
  g_EditorLaunched = 1;
  FinishStage();
  EXPECT_EQ(m_Scene->m_RankPositions, (CheckedVector<std::int32_t>(5, -1)));
  EXPECT_EQ(m_Scene->m_RankEntryPossible, 0);
  EXPECT_EQ(m_Scene->m_RankValues.At(0), 1000);
  g_EditorLaunched = 0;

  // Without the mode's rankings nothing is offered (outside a test play).
  g_SceneManager.m_RankingFlag = 0;
  FinishStage();
  EXPECT_EQ(m_Scene->m_RankEntryPossible, 0);
  EXPECT_EQ(m_Scene->m_RankValues.At(0), 1000) << "not even the values";
  g_TestPlay = 1;
  FinishStage();
  EXPECT_EQ(m_Scene->m_RankEntryPossible, 1) << "a test play ranks anyway";
}

TEST_F(StageResultTest, TheNextFileOfAChainIsItsNewestNumberedCopy) {
  SaveStage("data\\stg4\\x01-2.stg4_003");
  SaveStage("data\\stg4\\x01-2.stg4_010");
  struct Case {
    const char* name;
    const char* stageFile;  // as the stage was started; null: an empty stage name
    std::int32_t nextStage, number;
    const char* out;  // null: none
  };
  const Case cases[] = {
      {"the newest copy", "data\\stg4\\x01-1.stg4_000", 2, 2, "data\\stg4\\x01-2.stg4_010"},
      {"no such stage", "data\\stg4\\x01-1.stg4_000", 2, 3, nullptr},
      {"no next stage asked for", "data\\stg4\\x01-1.stg4_000", 0, 2, nullptr},
      {"not a chain", "data\\stg4\\x01.stg4_000", 2, 2, nullptr},
      {"an empty stage name", nullptr, 2, 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_SaveData.SetStageFileName(c.stageFile != nullptr ? c.stageFile : "");
    if (c.stageFile == nullptr) g_SaveData.m_SubStage = 1;
    m_Scene->m_NextStage = c.nextStage;
    std::string out = "stale";
    EXPECT_EQ(MakeNextStageFileName(out, c.number), c.out != nullptr ? 1 : 0);
    EXPECT_EQ(out, c.out != nullptr ? c.out : "");
    EXPECT_EQ(IsLastStage(c.number), c.out != nullptr ? 0 : 1);
  }
}

TEST_F(StageResultTest, AChainOfThreeFilesIsRankedAfterTheThirdOnly) {
  RankKinds(kPlayFree, {0});
  StartChain(3);
  g_SaveData.m_Lives = 2;
  for (int stage = 1; stage <= 3; ++stage) {
    SCOPED_TRACE(stage);
    g_SaveData.m_Score = 100;
    m_Scene->m_NextStage = stage + 1;  // ステージクリア to the next stage
    FinishStage();
    EXPECT_EQ(m_Scene->m_RankEntryPossible, stage == 3 ? 1 : 0);
    EXPECT_EQ(m_Scene->m_RankPositions.At(0), stage == 3 ? 0 : -1);
    const std::int32_t next = AfterStageClear();
    EXPECT_EQ(next, stage == 3 ? kSceneTitle : kScenePlay) << "the chain is over after its last file";
    EXPECT_EQ(g_SaveData.m_StageIndex, stage == 3 ? 3 : stage + 1);
    if (stage < 3) {
      EXPECT_EQ(g_Stage.m_FileName, "data\\stg4\\x01-" + std::to_string(stage + 1) + ".stg4_000");
      m_Scene->SetStage(0, 1);  // the play scene entered again from itself
    }
  }
  EXPECT_EQ(g_SaveData.m_SumScore, 300) << "the totals run through the chain";
  EXPECT_EQ(g_SaveData.m_Lives, 2);
  EXPECT_EQ(m_Scene->m_RankValues.At(0), 300);
}

TEST_F(StageResultTest, WhatFollowsTheResultByTheKindOfPlay) {
  struct Case {
    const char* name;
    std::int32_t titleChoice;
    std::int32_t afterClear;  // of the world-map entry
    bool chain;               // a chain file with no next file
    std::int32_t next;
  };
  const Case cases[] = {
      {"story: back to the map", kTitleNewStory, 0, false, kSceneWorldMap},
      {"story: the second round", kTitleContinue, 1, false, kSceneWorldMap},
      {"story: the title", kTitleNewStory, 2, false, kSceneTitle},
      {"story: a chain's last stage", kTitleNewStory, 0, true, kSceneWorldMap},
      {"challenge", kTitleChallenge, 0, false, kSceneChallenge},
      {"free play: the same stage again", kTitleFreePlay, 0, false, kScenePlay},
      {"free play: a chain ends at the title", kTitleFreePlay, 0, true, kSceneTitle},
      {"replay: starts over", kTitleReplay, 0, false, kScenePlay},
      {"anything else", kTitleOption, 0, false, kSceneChallenge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_SaveData.Reset();
    cWorldEvent event;
    event.m_Items.At(0).m_AfterClear = c.afterClear;
    g_WorldMap.m_Events.assign(1, event);
    g_SaveData.SetActiveMapEntry(g_WorldMap, 0, 0);
    g_SaveData.SetStageFileName(c.chain ? "data\\stg4\\y01-1.stg4_000" : "data\\stg4\\y01.stg4_000");
    g_SaveData.m_StageNumber = 4;
    g_SaveData.m_StageIndex = 1;
    g_SaveData.m_SumScore = 700;
    g_SaveData.m_RoundFlags.At(7) = 1;
    m_Scene->m_NextStage = 2;
    g_SceneManager.m_TitleChoice = c.titleChoice;
    EXPECT_EQ(AfterStageClear(), c.next);
    const bool story = c.titleChoice == kTitleNewStory || c.titleChoice == kTitleContinue;
    EXPECT_EQ(g_SaveData.m_RoundFlags.At(4), story && c.afterClear != 1 ? 1u : 0u) << "the clear flag";
    EXPECT_EQ(g_SaveData.m_RoundFlags.At(7), story && c.afterClear == 1 ? 0u : 1u) << "a new round clears the flags";
    EXPECT_EQ(g_SaveData.GetStageBestScore(g_SaveData.m_StageName), story ? 700 : 0);
    if (c.next != kSceneTitle) {
      EXPECT_EQ(g_SaveData.m_StageIndex, 1) << "the stage number comes back";
    }
  }
}

TEST_F(StageResultTest, AChallengeKeepsItsBestScoreAndOpensTheNextStage) {
  std::filesystem::create_directories("user_data/challenge");
  g_System.m_ChallengeStageCount = 3;
  g_SceneManager.m_TitleChoice = kTitleChallenge;
  struct Case {
    std::int32_t stage, score;
    std::int32_t best, total, open;
  };
  // The record starts with stage 2's best at 500 (in the total).
  const Case cases[] = {
      {2, 300, 500, 500, 3},  // lower: the best and the total stay
      {2, 800, 800, 800, 3},  // higher: the total grows by the difference
      {3, 100, 100, 900, 3},  // the last stage opens no stage beyond the project's
  };
  g_SaveData.Normalize();
  g_SaveData.m_ChallengeResults.At(1).m_BestScore = 500;
  g_SaveData.m_TotalScore = 500;
  g_SaveData.m_ChallengeOpen = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score);
    g_SaveData.m_StageNumber = c.stage;
    g_SaveData.m_SumScore = c.score;
    EXPECT_EQ(AfterStageClear(), kSceneChallenge);
    const cSaveIntPair& result = g_SaveData.m_ChallengeResults.At(c.stage - 1);
    EXPECT_EQ(result.m_Cleared, 1);
    EXPECT_EQ(result.m_BestScore, c.best);
    EXPECT_EQ(g_SaveData.m_TotalScore, c.total);
    EXPECT_EQ(g_SaveData.m_ChallengeOpen, c.open);
    cSaveData saved;
    ASSERT_EQ(saved.LoadChallengeData(), 1) << "the progress is in Challenge.dat";
    EXPECT_EQ(saved.m_TotalScore, c.total);
  }

  // A save that cannot be written is reported.
  std::filesystem::remove_all("user_data/challenge");
  AfterStageClear();
  EXPECT_NE(ReportText().find("user_data\\challenge\\Challenge.dat の保存に失敗しました！"), std::string::npos);
}

TEST_F(StageResultTest, RegistrationEntersTheTotalsOnceSavesTheFileAndShowsTheRanking) {
  std::filesystem::create_directories("user_data/free");
  RankKinds(kPlayFree, {0, 2});
  StartChain(1);
  g_Ranking.m_Tables.At(0).Insert("OLD", 900);
  g_SaveData.m_Score = 950;
  m_Scene->m_PlayTime = 4507;
  FinishStage();
  ASSERT_EQ(m_Scene->m_RankEntryPossible, 1);
  // Button 1 held from before leaves the ranking screen at its first frame.
  HoldKeys({});
  g_Inputs[0].Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames);
  HoldKeys({kKeyButton1});
  m_Sounds.clear();
  RegisterRanking();
  EXPECT_EQ(m_Sounds, (std::vector<int>{kSoundRegistered, kSoundDecide}));
  EXPECT_EQ(m_Scene->m_RankRegistered, 1);
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(0).m_Name, "FIX");
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(0).m_Value, 950);
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(1).m_Name, "OLD");
  EXPECT_EQ(g_Ranking.m_Tables.At(2).m_Entries.At(0).m_Value, 4507);
  EXPECT_EQ(g_Ranking.m_Tables.At(1).m_Entries.At(0).m_Used, 0) << "a kind the mode does not rank";

  cRankFile loaded;
  ASSERT_EQ(LoadRankFile(loaded, kPlayFree, g_SaveData.m_StageName), 1) << "user_data\\free\\x01.rkg";
  EXPECT_EQ(loaded.m_Tables.At(0).m_Entries.At(0).m_Name, "FIX");

  // Once per result.
  RegisterRanking();
  EXPECT_EQ(Sounds(kSoundRegistered), 1);
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(1).m_Name, "OLD");
}

}  // namespace
