// The stage set-up: the contact schedule, the header copied back on a retry only, the seed of a
// try with and without the replay switch, a replay that no longer reads, and the stage it builds.
#include <gtest/gtest.h>

#include <vector>

#include "platform/services/random.h"
#include "play/chara.h"
#include "play/map_cells.h"
#include "tests/play/play_scene_fixture.h"

namespace {

using playtest::PlaySceneTest;
using StageSetupTest = PlaySceneTest;

TEST(ContactSchedule, MarksSpreadOverTheStepsOfAFrame) {
  struct Case {
    std::int32_t steps;
    std::int32_t contacts;
    std::vector<std::int32_t> marks;
  };
  const Case cases[] = {
      {4, 3, {1, 1, 1, 0}},        // trunc of 0, 1.33, 2.67; 4.0 is outside
      {2, 3, {1, 1}},              // 0, 0, 1: both steps
      {4, 0, {1, 1, 1, 1}},        // every step
      {1, 1, {1}},
      {3, 1, {1, 0, 0}},
      {6, 4, {1, 1, 0, 1, 1, 0}},  // 0, 1.5, 3, 4.5
      {5, 2, {1, 0, 1, 0, 0}},     // 0, 2.5
      {1, 5, {1}},                 // five marks on the one step
  };
  for (const Case& c : cases) {
    CheckedVector<std::int32_t> schedule;
    BuildContactSchedule(schedule, c.steps, c.contacts);
    EXPECT_EQ(std::vector<std::int32_t>(schedule.begin(), schedule.end()), c.marks)
        << c.steps << " steps, " << c.contacts << " contacts";
  }
}

TEST_F(StageSetupTest, BuildsTheStageAroundTheHero) {
  g_Stage.SetField(static_cast<StageField>(22), 3);  // three contact steps
  g_Stage.SetSpeedLevel(4);
  m_Scene->SetStage(0, 1);
  ASSERT_EQ(g_Heroes.size(), 1u);
  cHero& hero = Hero();
  EXPECT_EQ(hero.m_Id, 0);
  EXPECT_EQ(m_Scene->m_NextCharaId, 1);
  // On its cell: the box's bottom on the cell's bottom dot, the middle of the cell across.
  EXPECT_DOUBLE_EQ(hero.m_Y2, FloorTop() - 1);
  EXPECT_EQ(m_Scene->Hero(0), &hero);
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(hero.m_Group).Contains(&hero));
  // The camera centred on the hero, within the stage's scroll range.
  EXPECT_DOUBLE_EQ(m_Scene->m_ScrollX.m_Pos, m_Scene->m_ScrollX.m_Min);
  EXPECT_EQ(m_Scene->m_ScrollY.m_Pos, 20 * 32 + 320 - 480);
  // The floor and the gap.
  EXPECT_EQ(MapCellAt(10 + 5, 10 + kFloorRow).m_Solid, kSolid);
  EXPECT_EQ(MapCellAt(10 + kGapFirst, 10 + kFloorRow).m_Solid, kSolidNone);
  EXPECT_EQ(std::vector<std::int32_t>(m_Scene->m_ContactSchedule.begin(), m_Scene->m_ContactSchedule.end()),
            (std::vector<std::int32_t>{1, 1, 1, 0}));
  EXPECT_EQ(m_Scene->m_NoTimeLimit, 1);
  EXPECT_EQ(m_Scene->m_TimeLeft, 999);
  EXPECT_EQ(m_Scene->m_StageVars.Size(), kStageVarCount);
  EXPECT_EQ(m_Scene->m_ActivationTable.Size(), kActivationBytes);
  EXPECT_EQ(g_SceneManager.m_FrameRate, 60);
  EXPECT_EQ(m_Scene->m_State, cScene::kNotEntered) << "the set-up leaves the state to its caller";
}

TEST_F(StageSetupTest, TheTimeLimitOfTheStage) {
  g_Stage.SetField(static_cast<StageField>(13), 1);
  g_Stage.SetField(static_cast<StageField>(14), 42);
  m_Scene->SetStage(0, 1);
  EXPECT_EQ(m_Scene->m_NoTimeLimit, 0);
  EXPECT_EQ(m_Scene->m_TimeLeft, 42);
}

TEST_F(StageSetupTest, ARetryUndoesHeaderChangesAndAFirstStartCopiesNothing) {
  // What a script changed during the try: the time limit and the speed level.
  g_Stage.SetField(static_cast<StageField>(13), 1);
  g_Stage.SetField(static_cast<StageField>(14), 7);
  g_Stage.SetSpeedLevel(3);
  m_Scene->SetStage(0, 1);
  EXPECT_EQ(m_Scene->m_TimeLeft, 7) << "a first start keeps the stage as it is";
  EXPECT_EQ(g_StepsPerFrame, 3);
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(m_Scene->m_NoTimeLimit, 1) << "a retry takes the header as loaded";
  EXPECT_EQ(g_Stage.Field(static_cast<StageField>(14)), g_PlayState.Field(static_cast<StageField>(14)));
  EXPECT_EQ(g_StepsPerFrame, 10);
  ASSERT_EQ(g_Heroes.size(), 1u) << "the placed records stay the live stage's";
}

TEST_F(StageSetupTest, TheSeedOfATry) {
  g_System.m_ReplayRecording = 0;
  m_Scene->m_RandomSeed = 1234;
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(m_Scene->m_RandomSeed, 1234u) << "without the replay switch the seed repeats";
  const std::int32_t first = GameRand();
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(GameRand(), first) << "and so does the sequence";

  g_System.m_ReplayRecording = 1;
  g_RunOptions.seed = 77;
  const std::uint16_t words[2] = {1, 2};
  g_ReplayRecord.RecordFrameInput(words);
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(m_Scene->m_RandomSeed, 77u);
  EXPECT_EQ(g_ReplayRecord.m_Seed, 77u);
  EXPECT_TRUE(g_ReplayRecord.Empty()) << "a new try records afresh";
  EXPECT_FALSE(g_PrevReplayRecord.Empty()) << "the try before is kept for F2";
}

TEST_F(StageSetupTest, AReplayThatNoLongerReadsStartsOverWithAnEmptyRecord) {
  g_SceneManager.m_TitleChoice = kTitleChoiceReplay;
  g_Stage.m_FileName = "user_data\\rpl4\\gone.rpl4_556";
  const std::uint16_t words[2] = {3, 4};
  g_ReplayRecord.RecordFrameInput(words);
  g_ReplayRecord.m_Seed = 99;
  m_Scene->SetStage(1, 1);
  EXPECT_TRUE(g_ReplayRecord.Empty());
  EXPECT_EQ(TakeCloses(), 1);
  EXPECT_EQ(g_Heroes.size(), 1u) << "the set-up went on with the stage it had";
}

TEST_F(StageSetupTest, AStageWithoutAHeroStopsTheScene) {
  g_Stage.m_PlacedCharas.clear();
  m_Scene->SetStage(0, 1);
  EXPECT_TRUE(m_Scene->Failed());
  EXPECT_GE(TakeCloses(), 1);
}

TEST_F(StageSetupTest, CharactersJoinTheirGroupsAndItemsTheirList) {
  PlaceWalker(10);
  PlaceItem(12);
  m_Scene->SetStage(0, 1);
  ASSERT_EQ(g_CharaList.Size(), 1);
  ASSERT_EQ(g_ItemList.Size(), 1);
  cChara& chara = *g_CharaList.begin();
  EXPECT_EQ(chara.m_Id, 1) << "after the hero";
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(chara.m_Group).Contains(&chara));
  // A retry rebuilds them; nothing of the try before stays listed.
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(g_CharaList.Size(), 1);
  int listed = 0;
  for (const auto& group : m_Scene->m_GroupCharas) listed += group.Size();
  EXPECT_EQ(listed, 2);
}

TEST_F(StageSetupTest, TheStageMusic) {
  g_Stage.SetField(kStageMusic, 3);
  g_PlayState.SetField(kStageMusic, 3);
  m_Scene->SetStage(0, 1);
  EXPECT_EQ(m_Music, (std::vector<int>{3}));
  g_SaveData.m_Music = 3;  // the window thread started it
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(m_Music.size(), 1u) << "a retry does not ask again for the tune that plays";
  g_PlayState.SetField(kKeepMusicOnRestart, 1);
  m_Scene->SetStage(1, 1);
  EXPECT_EQ(m_Music.size(), 1u) << "kept on restart";
  g_PlayState.SetField(kKeepMusicOnRestart, 0);
  m_Scene->SetStage(1, 1);
  EXPECT_EQ(m_Music, (std::vector<int>{3, 3})) << "asked again otherwise";
}

}  // namespace
