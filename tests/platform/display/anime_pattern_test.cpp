// Animation patterns: frame timing, the control frames, locks and bad indices.
#include "platform/display/anime_pattern.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

constexpr std::uint8_t L = 1;  // locked

// A few patterns in the owners' static form.
const AnimeSourceFrame kLoop[] = {{10, 15, 0}, {11, 15, 0}, {kAnimeLoop, 0, 0}};
const AnimeSourceFrame kHold[] = {{10, 5, 0}, {11, 5, 0}, {kAnimeHold, 0, 0}};
const AnimeSourceFrame kJumpTo2[] = {{10, 5, L}, {kAnimeJump, 2, L}};
const AnimeSourceFrame kShort[] = {{20, 3, 0}, {21, 3, 0}, {kAnimeLoop, 0, 0}};
const AnimeSourceFrame kEnd[] = {{0, 7, 0}, {1, 7, 0}, {2, 7, 0}, {kAnimeEnd, 0, 0}};
const AnimeSourceFrame kZero[] = {{10, 0, 0}, {11, 2, 0}, {kAnimeLoop, 0, 0}};
const AnimeSourceFrame kNegative[] = {{10, -3, 0}, {11, 1, 0}, {kAnimeLoop, 0, 0}};
const AnimeSourceFrame kItem[] = {{0, 15, L}, {1, 15, L}, {kAnimeLoop, 0, L}};
// Frames after the control frame belong to no list.
const AnimeSourceFrame kOnlyControl[] = {{kAnimeHold, 0, L}, {99, 99, 0}};

struct ValueRun {
  int value;
  int steps;
};

struct SteppingCase {
  const char* name;
  std::vector<const AnimeSourceFrame*> table;  // without the null end
  std::vector<ValueRun> runs;                     // values of steps 1, 2, ... in runs
};

class AnimePatternTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }

  static void Load(cAnimePattern& anime, std::vector<const AnimeSourceFrame*> table) {
    table.push_back(nullptr);
    anime.SetTable(table.data());
  }
};

TEST_F(AnimePatternTest, SteppingThroughTheControlFrames) {
  const SteppingCase cases[] = {
      // The first frame is current at ticks 0, so on the first round it shows one step less.
      {"loop", {kLoop}, {{10, 14}, {11, 15}, {10, 15}, {11, 15}, {10, 1}}},
      {"hold", {kHold}, {{10, 4}, {11, 40}}},
      // The jump starts pattern 2 at ticks 0, although the frame before it is locked.
      {"jump", {kJumpTo2, kLoop, kShort}, {{10, 4}, {20, 3}, {21, 3}, {20, 3}}},
      {"end", {kEnd}, {{0, 6}, {1, 7}, {2, 7}, {kAnimeEnd, 1}}},
      {"duration 0 lasts one step", {kZero}, {{11, 2}, {10, 1}, {11, 2}, {10, 1}}},
      {"negative duration lasts one step", {kNegative}, {{11, 1}, {10, 1}, {11, 1}}},
  };
  for (const SteppingCase& c : cases) {
    SCOPED_TRACE(c.name);
    cAnimePattern anime;
    Load(anime, c.table);
    ASSERT_EQ(anime.SetPattern(0, 1), 1);
    EXPECT_EQ(anime.GetValue(), c.table[0][0].value);
    std::vector<int> expected;
    std::vector<int> seen;
    for (const ValueRun& run : c.runs) {
      for (int i = 0; i < run.steps; ++i) {
        expected.push_back(run.value);
        seen.push_back(anime.Step());
      }
    }
    EXPECT_EQ(seen, expected);
    // GetValue reads what the last step gave, without stepping.
    EXPECT_EQ(anime.GetValue(), seen.back());
    EXPECT_EQ(anime.GetValue(), seen.back());
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "");
}

TEST_F(AnimePatternTest, AJumpLandsOnFrameZeroOfItsTarget) {
  cAnimePattern anime;
  Load(anime, {kJumpTo2, kLoop, kShort});
  for (int i = 0; i < 4; ++i) anime.Step();
  EXPECT_EQ(anime.Pattern(), 0);
  EXPECT_EQ(anime.Step(), 20);
  EXPECT_EQ(anime.Pattern(), 2);
  EXPECT_EQ(anime.Frame(), 0);
  EXPECT_EQ(anime.Ticks(), 0);
}

TEST_F(AnimePatternTest, LocksRefuseOnlyUnforcedChanges) {
  struct Case {
    const char* name;
    bool change;  // ChangePattern, else SetPattern
    int index;
    int force;
    int result;
    int pattern, frame, ticks;  // afterwards
  };
  // The pattern is on its second, locked frame, 3 steps in, when the call comes.
  const Case cases[] = {
      {"set, locked", false, 1, 0, 0, 0, 1, 3},
      {"change, locked", true, 1, 0, 0, 0, 1, 3},
      {"set, forced", false, 1, 1, 1, 1, 0, 0},
      {"change, forced", true, 1, 1, 1, 1, 0, 0},
      // The current pattern: a change lets it go on, even on a locked frame; a set restarts it.
      {"change to current", true, 0, 0, 1, 0, 1, 3},
      {"change to current, forced", true, 0, 1, 1, 0, 1, 3},
      {"set current, locked", false, 0, 0, 0, 0, 1, 3},
      {"set current, forced", false, 0, 1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cAnimePattern anime;
    Load(anime, {kItem, kLoop});
    for (int i = 0; i < 18; ++i) anime.Step();
    ASSERT_EQ(anime.Frame(), 1);
    ASSERT_EQ(anime.Ticks(), 3);
    EXPECT_EQ(c.change ? anime.ChangePattern(c.index, c.force) : anime.SetPattern(c.index, c.force), c.result);
    EXPECT_EQ(anime.Pattern(), c.pattern);
    EXPECT_EQ(anime.Frame(), c.frame);
    EXPECT_EQ(anime.Ticks(), c.ticks);
  }
}

TEST_F(AnimePatternTest, UnlockedFramesTakeEveryChange) {
  cAnimePattern anime;
  Load(anime, {kLoop, kItem});
  for (int i = 0; i < 20; ++i) anime.Step();
  EXPECT_EQ(anime.ChangePattern(1, 0), 1);
  EXPECT_EQ(anime.Pattern(), 1);
  EXPECT_EQ(anime.Frame(), 0);
  EXPECT_EQ(anime.Ticks(), 0);
  // Now on a locked frame of pattern 1.
  EXPECT_EQ(anime.SetPattern(0, 0), 0);
}

TEST_F(AnimePatternTest, TablesAreCopiedUpToTheirControlFrame) {
  cAnimePattern anime;
  Load(anime, {kItem, kOnlyControl, kEnd});
  ASSERT_EQ(anime.PatternCount(), 3);
  const AnimeFrameList& item = anime.Frames(0);
  ASSERT_EQ(item.Size(), 3);
  EXPECT_EQ(item.At(1).value, 1);
  EXPECT_EQ(item.At(1).duration, 15);
  EXPECT_EQ(item.At(1).locked, 1u);
  EXPECT_EQ(item.At(2).value, kAnimeLoop);
  const AnimeFrameList& only = anime.Frames(1);
  ASSERT_EQ(only.Size(), 1);
  EXPECT_EQ(only.At(0).value, kAnimeHold);
  EXPECT_EQ(anime.Frames(2).Size(), 4);
  EXPECT_EQ(anime.Frames(2).At(3).locked, 0u);

  // A new table replaces everything and starts over; a null one changes nothing.
  for (int i = 0; i < 20; ++i) anime.Step();
  anime.SetPattern(2, 1);
  anime.Step();
  anime.SetTable(nullptr);
  EXPECT_EQ(anime.PatternCount(), 3);
  EXPECT_EQ(anime.Pattern(), 2);
  EXPECT_EQ(anime.Ticks(), 1);
  Load(anime, {kHold});
  EXPECT_EQ(anime.PatternCount(), 1);
  EXPECT_EQ(anime.Pattern(), 0);
  EXPECT_EQ(anime.Frame(), 0);
  EXPECT_EQ(anime.Ticks(), 0);
  EXPECT_EQ(anime.GetValue(), 10);
}

TEST_F(AnimePatternTest, WithoutPatternsThereIsNothingToStep) {
  cAnimePattern anime;
  EXPECT_EQ(anime.Step(), 0);
  EXPECT_EQ(anime.Step(), 0);
  EXPECT_EQ(anime.Ticks(), 0);
  // No frame is current, so no lock can refuse.
  EXPECT_EQ(anime.SetPattern(1, 0), 1);
  EXPECT_EQ(anime.Pattern(), 1);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
  EXPECT_THROW(anime.GetValue(), std::out_of_range);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(AnimePatternTest, BadIndicesCloseTheProgramInOrder) {
  struct Case {
    const char* name;
    std::vector<const AnimeSourceFrame*> table;
    int pattern;
    int steps;
    int value;  // what the last step gives: the first element stands in
    const char* line;
  };
  const Case cases[] = {
      {"no such pattern", {kShort, kLoop}, 5, 1, 20, "err V[5] ( 2 , 16 )"},
      {"jump to no such pattern", {kJumpTo2, kLoop}, 0, 5, 10, "err V[2] ( 2 , 16 )"},
      {"step past the end", {kEnd}, 0, 22, 0, "err V[4] ( 4 , 12 )"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    cAnimePattern anime;
    Load(anime, c.table);
    anime.SetPattern(c.pattern, 1);
    int value = 0;
    for (int i = 0; i < c.steps; ++i) value = anime.Step();
    EXPECT_EQ(value, c.value);
    const std::string log = ReadHostFile("Report_Game.txt");
    EXPECT_EQ(log.substr(0, log.find('\n')), c.line);
    EXPECT_GE(TakeMainWindowMessages(WM_CLOSE), 1);
  }
}

}  // namespace
