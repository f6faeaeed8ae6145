// The rules of the world-map scenes: which entry of an event is active, which cells the cursor may
// enter, and when a stage entrance starts its stage.
#include "tests/project/world_map_fixture.h"

namespace {

using WorldRulesTest = WorldMapTest;

// Clear flags 0 and 2 set; variables 0, 5, -3 (as stored: u32), 100; total score 500.
const std::vector<std::uint32_t> kClearFlags = {1, 0, 1, 0};
const std::vector<std::uint32_t> kVariables = {0, 5, static_cast<std::uint32_t>(-3), 100};

WorldProgress Progress(std::int32_t totalScore = 500) { return {kClearFlags, kVariables, totalScore}; }

cWorldEventItem Entry(std::int32_t requiredClear, std::int32_t variable, std::int32_t comparison, std::int32_t value,
                      std::int32_t minScore) {
  cWorldEventItem entry;
  entry.m_RequiredClear = requiredClear;
  entry.m_Variable = variable;
  entry.m_Comparison = comparison;
  entry.m_CompareValue = value;
  entry.m_MinTotalScore = minScore;
  return entry;
}

TEST_F(WorldRulesTest, EntryIsActiveWhenClearVariableAndScoreAllHold) {
  struct ActiveCase {
    const char* name;
    std::int32_t requiredClear, variable, comparison, value, minScore;
    bool active;
  };
  const ActiveCase cases[] = {
      {"nothing required", 0, 0, 0, 0, 0, true},
      {"required clear set", 2, 0, 0, 0, 0, true},
      {"required clear unset", 1, 0, 0, 0, 0, false},
      {"required clear negative", -1, 0, 0, 0, 0, true},
      {"required clear beyond the flags", 4, 0, 0, 0, 0, false},
      {"required clear far beyond", 1000000, 0, 0, 0, 0, false},
      {"no variable, any comparison", 0, 0, 9, 1, 0, true},
      {"5 == 5", 0, 1, kCompareEqual, 5, 0, true},
      {"5 == 4", 0, 1, kCompareEqual, 4, 0, false},
      {"5 != 4", 0, 1, kCompareNotEqual, 4, 0, true},
      {"5 != 5", 0, 1, kCompareNotEqual, 5, 0, false},
      {"5 >= 5", 0, 1, kCompareAtLeast, 5, 0, true},
      {"5 >= 6", 0, 1, kCompareAtLeast, 6, 0, false},
      {"5 <= 5", 0, 1, kCompareAtMost, 5, 0, true},
      {"5 <= 4", 0, 1, kCompareAtMost, 4, 0, false},
      {"5 > 4", 0, 1, kCompareGreater, 4, 0, true},
      {"5 > 5", 0, 1, kCompareGreater, 5, 0, false},
      {"5 < 6", 0, 1, kCompareLess, 6, 0, true},
      {"5 < 5", 0, 1, kCompareLess, 5, 0, false},
      {"-3 < 0, signed", 0, 2, kCompareLess, 0, 0, true},
      {"-3 > 0, signed", 0, 2, kCompareGreater, 0, 0, false},
      {"comparison 6", 0, 1, 6, 5, 0, false},
      {"comparison -1", 0, 1, -1, 5, 0, false},
      {"variable beyond the list", 0, 4, kCompareEqual, 0, 0, false},
      {"negative variable", 0, -1, kCompareEqual, 0, 0, false},
      {"score at the threshold", 0, 0, 0, 0, 500, true},
      {"score below the threshold", 0, 0, 0, 0, 501, false},
      {"negative threshold", 0, 0, 0, 0, -10, true},
      {"all three hold", 2, 3, kCompareAtLeast, 100, 400, true},
      {"two of three", 2, 3, kCompareAtLeast, 100, 600, false},
  };
  for (const ActiveCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WorldEntryActive(Entry(c.requiredClear, c.variable, c.comparison, c.value, c.minScore), Progress()),
              c.active);
  }
  // No progress record lists at all: nothing is indexed.
  EXPECT_FALSE(WorldEntryActive(Entry(1, 0, 0, 0, 0), WorldProgress{}));
  EXPECT_FALSE(WorldEntryActive(Entry(0, 1, 0, 0, 0), WorldProgress{}));
  EXPECT_TRUE(WorldEntryActive(Entry(0, 0, 0, 0, 0), WorldProgress{}));
}

TEST_F(WorldRulesTest, EventShowsItsFirstActiveEntry) {
  cWorldEvent event;
  event.m_Items.clear();
  event.m_Items.push_back(Entry(1, 0, 0, 0, 0));   // needs an unset flag
  event.m_Items.push_back(Entry(-1, 0, 0, 0, 0));  // active
  event.m_Items.push_back(Entry(0, 0, 0, 0, 0));   // active too, but later
  EXPECT_EQ(ActiveWorldEntryIndex(event, Progress()), 1);
  EXPECT_EQ(ActiveWorldEntry(event, Progress()), &event.m_Items.At(1));

  event.m_Items.At(1).m_MinTotalScore = 1000;
  EXPECT_EQ(ActiveWorldEntryIndex(event, Progress()), 2);
  event.m_Items.At(2).m_Variable = 9;
  EXPECT_EQ(ActiveWorldEntryIndex(event, Progress()), -1);
  EXPECT_EQ(ActiveWorldEntry(event, Progress()), nullptr);
  event.m_Items.clear();
  EXPECT_EQ(ActiveWorldEntryIndex(event, Progress()), -1);
}

TEST_F(WorldRulesTest, CursorEntersByTheActiveEntryElseByTheChip) {
  // A 4 x 2 map of the default chips (0-4 blocked, 5-9 open) with events on some cells.
  cWorldMap map;
  ASSERT_EQ(map.SetSize(4, 2), 1u);
  const auto set = [&map](int x, int y, std::uint32_t chip) { map.m_Grid.At(map.CellIndex(x, y)) = chip; };
  const auto place = [&map](int x, int y, std::int32_t kind, std::int32_t requiredClear) {
    cWorldEvent event;
    event.m_X = x;
    event.m_Y = y;
    event.m_Items.At(0).m_Kind = kind;
    event.m_Items.At(0).m_RequiredClear = requiredClear;
    map.m_Events.push_back(event);
  };
  set(0, 0, 5);
  set(2, 0, 5);
  place(2, 0, kWorldEntryWall, 0);
  place(3, 0, kWorldEntryRoad, 2);
  place(0, 1, kWorldEntryRoad, 1);
  set(1, 1, 9);
  place(1, 1, kWorldEntryWall, 3);
  set(2, 1, 77);
  set(3, 1, 0);
  place(3, 1, kWorldEntryStage, 0);

  struct EnterCase {
    int x, y;
    bool enter;
    const char* why;
  };
  const EnterCase cases[] = {
      {0, 0, true, "open chip, no event"},
      {1, 0, false, "blocked chip, no event"},
      {2, 0, false, "open chip under an active wall"},
      {3, 0, true, "blocked chip under an active road"},
      {0, 1, false, "blocked chip, the event's entry inactive"},
      {1, 1, true, "open chip, the wall inactive"},
      {2, 1, false, "a chip the map does not define"},
      {3, 1, true, "blocked chip under an active stage entrance"},
      {-1, 0, false, "left of the map"},
      {4, 0, false, "right of the map"},
      {0, 2, false, "below the map"},
      {0, -1, false, "above the map"},
  };
  for (const EnterCase& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(CanEnterWorldCell(map, c.x, c.y, Progress()), c.enter);
  }
}

TEST_F(WorldRulesTest, StageEntranceStartsByTheWalk) {
  struct WalkCase {
    const char* name;
    std::int32_t kind;
    std::int32_t clearNumber;  // 2 is cleared, 1 is not
    std::int32_t open, reentry;
    bool decide;
    bool starts;
  };
  const WalkCase cases[] = {
      {"new stage, stepping on", kWorldEntryStage, 1, 0, 0, false, true},
      {"new stage, decide", kWorldEntryStage, 1, 0, 0, true, true},
      {"open stage, stepping on", kWorldEntryStage, 1, 1, 0, false, false},
      {"open stage, decide", kWorldEntryStage, 1, 1, 0, true, true},
      {"cleared, stepping on", kWorldEntryStage, 2, 0, 1, false, false},
      {"cleared, decide, no re-entry", kWorldEntryStage, 2, 0, 0, true, false},
      {"cleared, decide, re-entry", kWorldEntryStage, 2, 0, 1, true, true},
      {"cleared and open, decide, no re-entry", kWorldEntryStage, 2, 1, 0, true, false},
      {"clear number beyond the flags", kWorldEntryStage, 99, 0, 0, false, true},
      {"road", kWorldEntryRoad, 1, 0, 0, true, false},
      {"wall", kWorldEntryWall, 1, 0, 0, true, false},
      {"unknown kind", 7, 1, 0, 0, true, false},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    cWorldEventItem entry;
    entry.m_Kind = c.kind;
    entry.m_ClearNumber = c.clearNumber;
    entry.m_Open = c.open;
    entry.m_Reentry = c.reentry;
    EXPECT_EQ(WorldEntranceStartsStage(entry, Progress(), c.decide), c.starts);
  }
}

}  // namespace
