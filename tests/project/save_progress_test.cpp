// Stage bookkeeping of the progress record: stage names, best scores and the total, rounds, the
// ranking kind, the active world-map entry and the view the world-map rules take.
#include <limits>

#include "project/save_data.h"
#include "tests/project/save_fixture.h"

namespace savetest {
namespace {

using SaveProgressTest = SaveTest;

TEST_F(SaveProgressTest, StageNamesKeepTheDotAndMarkSubStages) {
  struct Case {
    const char* name;
    const char* stored;
    std::int32_t subStage;
  };
  const Case cases[] = {
      {"data\\stg4\\c12.stg4_556", "data\\stg4\\c12.", 0},
      {"data\\stg4\\c3.stg4", "data\\stg4\\c3.", 0},
      {"data\\stg4\\c3-1.stg4", "data\\stg4\\c3.", 1},
      {"c2-1.stg4", "c2.", 1},
      {"c2-2.stg4", "c2-2.", 0},
      {"c2-1", "c2.", 1},
      {"c12", "", 0},
      {"", "", 0},
      {nullptr, "", 0},
      // The last "-1" counts, even inside the extension or a folder name.
      {"a-1b-1.stg4", "a-1b.", 1},
      {"dir-1\\c4.stg4", "dir.", 1},
      {"c5.stg4-", "c5.", 0},
      {"x.y.stg4", "x.y.", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "(null)");
    cSaveData save;
    save.m_SubStage = 7;
    save.m_StageName = "old";
    save.SetStageFileName(c.name);
    EXPECT_EQ(save.m_StageName, c.stored);
    EXPECT_EQ(save.m_SubStage, c.subStage);
  }
  // Both files of one stage share its result.
  cSaveData save;
  save.SetStageFileName("data\\stg4\\c3.stg4");
  save.RecordStageScore(save.m_StageName, 50);
  save.SetStageFileName("data\\stg4\\c3-1.stg4");
  EXPECT_EQ(save.GetStageBestScore(save.m_StageName), 50);
}

TEST_F(SaveProgressTest, ABetterScoreRaisesTheBestAndTheTotal) {
  struct Step {
    const char* stage;
    std::int32_t score;
    std::int32_t best;   // of that stage afterwards
    std::int32_t total;  // total score afterwards
    int results;
  };
  // From a save that knows c1. with 300 and a total of 1000.
  const Step steps[] = {
      {"c1.", 500, 500, 1200, 1},                              // 200 better
      {"c1.", 200, 500, 1200, 1},                              // worse: nothing
      {"c1.", 500, 500, 1200, 1},                              // equal: nothing
      {"c2.", 70, 70, 1270, 2},                                // a new stage is added
      {"C2.", 10, 10, 1280, 3},                                // names compare case and all
      {"c2.", -5, 70, 1280, 3},   {"c3.", -20, -20, 1260, 4},  // a first score counts whatever it is
      {"c3.", -10, -10, 1270, 4},
  };
  cSaveData save;
  save.m_StageResults.emplace_back("c1.", 300);
  save.m_TotalScore = 1000;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << s.stage << " " << s.score);
    save.RecordStageScore(s.stage, s.score);
    EXPECT_EQ(save.GetStageBestScore(s.stage), s.best);
    EXPECT_EQ(save.m_TotalScore, s.total);
    EXPECT_EQ(save.m_StageResults.Size(), s.results);
  }
  EXPECT_EQ(save.GetStageBestScore("c9."), 0);

  // Sums from a hostile file stop at the ends of the range instead of wrapping.
  save.m_TotalScore = std::numeric_limits<std::int32_t>::max() - 1;
  save.RecordStageScore("c1.", std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(save.m_TotalScore, std::numeric_limits<std::int32_t>::max());
  save.m_TotalScore = std::numeric_limits<std::int32_t>::min();
  save.RecordStageScore("c4.", std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(save.m_TotalScore, std::numeric_limits<std::int32_t>::min());
}

TEST_F(SaveProgressTest, ANewRoundClearsTheFlagsAndGoesBackToTheStart) {
  cSaveData save;
  save.m_Round = 2;
  save.m_RoundFlags[5] = 1;
  save.m_MapX = 3;
  save.m_MapY = 4;
  g_WorldMap.m_StartX = 11;
  g_WorldMap.m_StartY = 12;
  save.StartNextRound();
  EXPECT_EQ(save.m_Round, 3);
  EXPECT_EQ(save.m_RoundFlags, CheckedVector<std::uint32_t>(1000, 0));
  EXPECT_EQ(save.m_MapX, 11);
  EXPECT_EQ(save.m_MapY, 12);
}

TEST_F(SaveProgressTest, TheRankingKindMovesOverTheKeptKinds) {
  struct Case {
    std::vector<std::uint8_t> flags;
    std::int32_t kind;
    std::int32_t delta;
    std::int32_t after;
  };
  const Case cases[] = {
      {{1, 0, 1, 0, 0}, 0, 1, 2},
      {{1, 0, 1, 0, 0}, 2, 1, 0},
      {{1, 0, 1, 0, 0}, 0, -1, 2},
      {{1, 0, 1, 0, 0}, 2, -1, 0},
      {{1, 0, 1, 0, 0}, 0, 2, 0},
      {{1, 0, 1, 0, 0}, 1, 0, 2},  // 0 moves onto a kept kind
      {{1, 0, 1, 0, 0}, 2, 0, 2},  // and leaves a kept one alone
      {{1, 0, 1, 0, 0}, 3, 0, 0},
      {{0, 0, 0, 0, 0}, 3, 1, 3},     // a set that keeps nothing changes nothing
      {{0, 0, 0, 0, 0, 1}, 3, 1, 3},  // a byte beyond the five kinds counts for nothing
      {{0, 0, 0, 1}, 3, 1, 3},        // a short row: the missing kinds are not kept
      {{0, 0, 0, 1}, 0, 0, 3},
      {{1, 1, 1, 1, 1}, 4, 1, 0},
      {{1, 1, 1, 1, 1}, 0, -1, 4},
      {{1, 1, 1, 1, 1}, 1, 7, 3},
      {{0, 1, 0, 1, 0}, 9, 1, 1},  // a kind from a file beyond the five
      {{0, 1, 0, 1, 0}, -3, 0, 3},
      {{0, 1, 1, 0, 1}, 0, std::numeric_limits<std::int32_t>::max(), 1},
      {{0, 1, 1, 0, 1}, 0, std::numeric_limits<std::int32_t>::min(), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " delta " << c.delta << " flags " << c.flags.size());
    g_System.m_RankingSets.At(1).m_Flags.assign(c.flags.begin(), c.flags.end());
    cSaveData save;
    save.m_RankingTable = c.kind;
    save.CycleEnabledEntry(1, c.delta);
    EXPECT_EQ(save.m_RankingTable, c.after);
  }
  // A set the project does not have changes nothing.
  cSaveData save;
  save.m_RankingTable = 3;
  save.CycleEnabledEntry(g_System.m_RankingSets.Size(), 1);
  save.CycleEnabledEntry(-1, 1);
  EXPECT_EQ(save.m_RankingTable, 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

// The active entry is a number over all entries of all placed events, so it means the same after a
// save and a load; a number that names no entry of the map names none.
TEST_F(SaveProgressTest, TheActiveMapEntryIsANumberNeverAnAddress) {
  g_WorldMap.m_Events.resize(3);
  g_WorldMap.m_Events[0].m_Items.resize(2);
  g_WorldMap.m_Events[1].m_Items.clear();
  g_WorldMap.m_Events[2].m_Items.resize(3);
  g_WorldMap.m_Events[2].m_Items[1].m_AfterClear = kAfterClearNextRound;
  cSaveData save;
  EXPECT_EQ(save.ActiveMapEntry(g_WorldMap), nullptr);
  save.SetActiveMapEntry(g_WorldMap, 2, 1);
  EXPECT_EQ(save.m_PlayItem, 3);
  EXPECT_EQ(save.ActiveMapEntry(g_WorldMap), &g_WorldMap.m_Events[2].m_Items[1]);

  // Through a file: the same four bytes, the same entry.
  save.m_MapX = 1;
  cSaveData loaded;
  ASSERT_FALSE(ReadImage(loaded, cByteBuilder().Bytes(FileImageOf(save))));
  EXPECT_EQ(loaded.m_PlayItem, 3);
  ASSERT_NE(loaded.ActiveMapEntry(g_WorldMap), nullptr);
  EXPECT_EQ(loaded.ActiveMapEntry(g_WorldMap)->m_AfterClear, kAfterClearNextRound);

  struct Pair {
    std::int32_t event, item;
    std::int32_t stored;
  };
  const Pair pairs[] = {{0, 0, 0},  {0, 1, 1},  {2, 0, 2},   {2, 2, 4},  {1, 0, -1},
                        {0, 2, -1}, {3, 0, -1}, {-1, 0, -1}, {2, -1, -1}};
  for (const Pair& p : pairs) {
    SCOPED_TRACE(testing::Message() << p.event << "," << p.item);
    save.SetActiveMapEntry(g_WorldMap, p.event, p.item);
    EXPECT_EQ(save.m_PlayItem, p.stored);
  }
  // What a file may hold in the four bytes: an old program's address or anything else.
  for (std::int32_t stored : {5, -1, -2, 0x0012F4A8, std::numeric_limits<std::int32_t>::min()}) {
    save.m_PlayItem = stored;
    EXPECT_EQ(save.ActiveMapEntry(g_WorldMap), nullptr) << stored;
  }
}

TEST_F(SaveProgressTest, TheWorldMapRulesReadTheRecordsOwnLists) {
  cSaveData save;
  save.m_RoundFlags[4] = 1;
  save.m_Variables[2] = 9;
  save.m_TotalScore = 500;
  cWorldEventItem entry;
  entry.m_ClearNumber = 4;
  entry.m_Variable = 2;
  entry.m_CompareValue = 9;
  entry.m_Comparison = kCompareEqual;
  entry.m_MinTotalScore = 500;
  const WorldProgress progress = save.Progress();
  EXPECT_TRUE(WorldEntryCleared(entry, progress));
  EXPECT_TRUE(WorldEntryActive(entry, progress));
  save.m_Variables[2] = 8;
  EXPECT_FALSE(WorldEntryActive(entry, save.Progress()));
  save.m_RoundFlags.resize(3);
  EXPECT_FALSE(WorldEntryCleared(entry, save.Progress()));
}

}  // namespace
}  // namespace savetest
