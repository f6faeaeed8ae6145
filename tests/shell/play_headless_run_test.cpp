// Stage play from outside: the real player, headless on the sample game, plays a stage named on the
// command line or chosen with フリープレイ, and its trace shows the play scene's states and one state
// line per frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/host/screen.h"
#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

using PlayRunTest = HeadlessRunTest;

// The trace lines of the play scene's state changes, in order.
std::vector<std::string> PlayStates(const std::vector<std::string>& trace) {
  std::vector<std::string> states;
  for (const std::string& line : trace)
    if (line.starts_with("play state ")) states.push_back(line.substr(11));
  return states;
}

// The sample's stages stand on row 11; a resting hero's feet are in the row of dots above it.
constexpr double kFloorTop = (11 + 10) * 32.0;

TEST_F(PlayRunTest, AStageNamedOnTheCommandLinePlaysFromItsFadeInToAnOrderlyEnd) {
  UseSampleGame();
  const std::string shot = (m_Folder / "play.png").string();
  ASSERT_EQ(Run({"--headless", "--frames", "600", "data\\stg4\\showcase.stg4", "--trace", Trace(), "--trace-state",
                 "--shot", "400:" + shot}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  EXPECT_GE(Find(trace, "scene switch 0 -> 4"), 0);
  EXPECT_EQ(PlayStates(trace), (std::vector<std::string>{"0 fade-in", "1 ready", "2 play"}));
  const int done = Find(trace, "frames 600 done");
  ASSERT_GE(done, 0);
  ExpectStopOrder(trace);

  const std::vector<StateLine> lines = StateLines(trace);
  ASSERT_EQ(lines.size(), 600u) << "one state line per frame";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const StateLine& l = lines[i];
    ASSERT_EQ(l.frame, i + 1);
    ASSERT_EQ(l.scene, 4);
    // The hero stands on the floor from its set-up to the end: its feet sink by gravity within the
    // row of dots above the floor and are set back on it (two decimals round 671.996 up to 672.00).
    ASSERT_GE(l.y2, kFloorTop - 1) << "frame " << l.frame;
    ASSERT_LE(l.y2, kFloorTop) << "frame " << l.frame;
    ASSERT_EQ(l.y2 - l.y1, 23.0) << "frame " << l.frame;
    // A walker paces into the standing hero and hurts it, once a protection time has passed.
    ASSERT_GE(l.hp, 1) << "frame " << l.frame;
    ASSERT_LE(l.hp, i == 0 ? 3 : lines[i - 1].hp) << "frame " << l.frame;
    ASSERT_EQ(l.lives, 999999) << "a stage named on the command line is a test play";
    ASSERT_EQ(l.time, 999) << "no time limit";
  }
  EXPECT_LT(lines.back().hp, 3) << "the walker's touch hurts";

  std::vector<std::uint32_t> pixels;
  std::int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadXrgbPng(shot, &pixels, &w, &h));
  ASSERT_EQ(w * h, static_cast<std::int32_t>(pixels.size()));
  EXPECT_GT(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 16u) << "the stage is drawn, not blank";
  // The status bar's window along the top differs from the sky under it.
  EXPECT_NE(pixels[static_cast<std::size_t>(5 * w + 8)], pixels[static_cast<std::size_t>(100 * w + 8)]);
  // Kept for a person to look at: a frame of play, with the map, the hero and the status bar.
  const fs::path kept = s_OutputFolder / "play_showcase_headless.png";
  fs::create_directories(kept.parent_path());
  fs::copy_file(shot, kept, fs::copy_options::overwrite_existing);
}

TEST_F(PlayRunTest, FreePlayOfAGapCostsALifeAndRetries) {
  UseSampleGame();
  // フリープレイ is the fourth entry of the title menu; the stage comes from the file dialog.
  const fs::path input = m_Folder / "input.txt";
  std::ofstream(input) << "40 DOWN\n42\n44 DOWN\n46\n48 DOWN\n50\n52 Z\n54\n";
  ASSERT_EQ(Run({"--headless", "--frames", "700", "--input", input.string(), "--answer",
                 "open-stage=data\\stg4\\fall.stg4", "--trace", Trace(), "--trace-state"}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  ASSERT_GE(Find(trace, "dialog open ステージファイルの選択: data\\stg4\\fall.stg4"), 0);
  const std::vector<std::string> states = PlayStates(trace);
  ASSERT_GE(states.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(states.begin(), states.begin() + 5),
            (std::vector<std::string>{"0 fade-in", "1 ready", "2 play", "1 ready", "2 play"}))
      << "the death is followed by a retry";
  EXPECT_GE(Count(trace, "sound play 8 "), 1) << "the hero's death sound";
  ExpectStopOrder(trace);

  // Lives: three to start, one of them in play; one fewer after the fall.
  bool sawTwo = false, sawOne = false;
  double deepest = 0;
  for (const StateLine& l : StateLines(trace)) {
    if (l.scene != 4) continue;
    sawTwo |= l.lives == 2;
    sawOne |= l.lives == 1;
    EXPECT_FALSE(l.lives == 2 && sawOne) << "lives never come back";
    if (l.lives == 2) deepest = std::max(deepest, l.y2);
  }
  EXPECT_TRUE(sawTwo);
  EXPECT_TRUE(sawOne);
  EXPECT_GT(deepest, kFloorTop + 64) << "it fell into the gap";
}

TEST_F(PlayRunTest, SpikesAndARunningOutTimeLimitKillTheHero) {
  UseSampleGame();
  struct Case {
    const char* stage;
    bool timeRunsOut;
  };
  for (const Case& c : {Case{"data\\stg4\\spikes.stg4", false}, Case{"data\\stg4\\clock.stg4", true}}) {
    SCOPED_TRACE(c.stage);
    const std::string name = std::string("trace_") + (c.timeRunsOut ? "clock" : "spikes") + ".txt";
    ASSERT_EQ(Run({"--headless", "--frames", "600", c.stage, "--trace", Trace(name.c_str()), "--trace-state"}), 0);
    const std::vector<std::string> trace = Lines(Trace(name.c_str()));
    const std::vector<std::string> states = PlayStates(trace);
    ASSERT_GE(states.size(), 4u);
    EXPECT_EQ(states[3], "1 ready") << "the death is followed by a retry";
    EXPECT_GE(Count(trace, "sound play 8 "), 1);
    int zero = 0, full = 0;
    for (const StateLine& l : StateLines(trace)) {
      zero += l.scene == 4 && l.time == 0;
      full += l.scene == 4 && l.time == 3;
    }
    if (c.timeRunsOut) {
      EXPECT_GT(zero, 0) << "the time ran out";
      EXPECT_GT(full, 0);
    }
    ExpectStopOrder(trace);
  }
}

TEST_F(PlayRunTest, TheHeroDropsThroughACoinOntoTheLiftAndStaysThere) {
  UseSampleGame();
  ASSERT_EQ(Run({"--headless", "--frames", "300", "data\\stg4\\stomp.stg4", "--trace", Trace(), "--trace-state"}), 0);
  const std::vector<std::string> trace = Lines(Trace());
  // The coin's sound (project sound 2, after the 16 of the system) once: taken once, it is gone.
  EXPECT_EQ(Count(trace, "sound play 18 "), 1);
  EXPECT_EQ(Count(trace, "sound play 8 "), 0) << "the lift caught the hero over the spike pit";
  const std::vector<StateLine> lines = StateLines(trace);
  ASSERT_EQ(lines.size(), 300u);
  const double rest = lines.back().y2;
  EXPECT_LE(rest, kFloorTop + 32) << "on the lift, not in the pit";
  // Play begins after the fade-in and the ready wait; the fall takes well under a second.
  for (std::size_t i = 250; i < lines.size(); ++i) ASSERT_NEAR(lines[i].y2, rest, 0.01) << "frame " << lines[i].frame;
  ExpectStopOrder(trace);
}

TEST_F(PlayRunTest, TheHeroWalksAndJumpsByItsKeyFlows) {
  UseSampleGame();
  // Play begins after the fade-in and the ready wait (about frame 150): right is held for 100 frames,
  // then the jump button is pressed and released.
  const fs::path input = m_Folder / "input.txt";
  std::ofstream(input) << "160 RIGHT\n260\n300 Z\n315\n";
  ASSERT_EQ(Run({"--headless", "--frames", "420", "--input", input.string(), "data\\stg4\\walk.stg4", "--trace",
                 Trace(), "--trace-state"}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  const std::vector<StateLine> lines = StateLines(trace);
  ASSERT_EQ(lines.size(), 420u);
  auto at = [&](unsigned frame) { return lines[frame - 1]; };
  // Standing still until the key; walking right while it is held, faster and faster; then still.
  EXPECT_EQ(at(160).x1, at(1).x1);
  EXPECT_GT(at(210).x1, at(170).x1);
  EXPECT_GT(at(260).x1 - at(230).x1, at(200).x1 - at(170).x1) << "the walk gathers speed";
  EXPECT_EQ(at(300).x1, at(290).x1) << "no key, no walk";
  // The jump: up, a top, down again onto the floor, where the hero then stays.
  double top = kFloorTop;
  unsigned topFrame = 0;
  for (unsigned f = 300; f <= 420; ++f)
    if (at(f).y2 < top) {
      top = at(f).y2;
      topFrame = f;
    }
  EXPECT_LT(top, kFloorTop - 100) << "a jump of several cells";
  EXPECT_GT(topFrame, 310u);
  for (unsigned f = topFrame; f < 420 && at(f).y2 < kFloorTop - 1; ++f)
    EXPECT_GE(at(f + 1).y2, at(f).y2) << "falling from the top, frame " << f;
  for (unsigned f = 380; f <= 420; ++f) {
    ASSERT_GE(at(f).y2, kFloorTop - 1) << "landed, frame " << f;
    ASSERT_LT(at(f).y2, kFloorTop) << "landed, frame " << f;
  }
  EXPECT_GE(Count(trace, "sound play "), 1) << "the jump's sound";
  ExpectStopOrder(trace);
}

TEST_F(PlayRunTest, TheHeroShootsATurretDownAndTheTurretsShotsHurtIt) {
  UseSampleGame();
  // Play begins about frame 150; the first button is held from then on: a star every 0.3 s.
  const fs::path input = m_Folder / "input.txt";
  std::ofstream(input) << "160 Z\n";
  ASSERT_EQ(Run({"--headless", "--frames", "500", "--input", input.string(), "data\\stg4\\firing.stg4", "--trace",
                 Trace(), "--trace-state"}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  const std::vector<StateLine> lines = StateLines(trace);
  ASSERT_EQ(lines.size(), 500u);
  // The turret ahead (score 100) falls to the hero's stars; nothing else scores on this stage.
  unsigned scored = 0;
  for (const StateLine& l : lines)
    if (scored == 0 && l.score >= 100) scored = l.frame;
  EXPECT_GT(scored, 160u) << "the turret falls after the first star is fired";
  EXPECT_EQ(lines[159].score, 0);
  // The turrets' volleys reach the hero standing still: its HP goes down.
  int lowest = lines.front().hp;
  for (const StateLine& l : lines) lowest = std::min(lowest, l.hp);
  EXPECT_LT(lowest, lines.front().hp) << "an enemy shot struck the hero";
  ExpectStopOrder(trace);
}

// The switch stage: two switches on the way and a third over the last cell before a door that stands
// in a wall until a stage variable, counted up by the switches' status operations, reaches three.
TEST_F(PlayRunTest, SwitchesCountAStageVariableThatOpensTheDoor) {
  UseSampleGame();
  constexpr double kDoorLeft = (8 + 10) * 32.0;
  // Right is held from the start of play; jump is the frame of a jump on the way, or 0 for none.
  auto play = [this](unsigned jump) {
    const fs::path input = m_Folder / "input.txt";
    std::ofstream keys(input);
    keys << "160 RIGHT\n";
    if (jump != 0) keys << jump << " RIGHT Z\n" << jump + 15 << " RIGHT\n";
    keys.close();
    EXPECT_EQ(Run({"--headless", "--frames", "600", "--input", input.string(), "data\\stg4\\switch.stg4", "--trace",
                   Trace(), "--trace-state"}),
              0);
    return StateLines(Lines(Trace()));
  };
  // Without the jump the third switch is out of reach: the door holds the hero, who has the score
  // of two switches.
  const std::vector<StateLine> held = play(0);
  ASSERT_EQ(held.size(), 600u);
  for (const StateLine& l : held) ASSERT_LT(l.x2, kDoorLeft + 1) << "frame " << l.frame;
  EXPECT_GT(held.back().x2, kDoorLeft - 2) << "pressed against the door";
  EXPECT_EQ(held.back().score, 20);

  // The jump takes the third switch on the way: the door goes and the hero walks on through.
  const std::vector<StateLine> through = play(400);
  ASSERT_EQ(through.size(), 600u);
  EXPECT_EQ(through[398].score, 20);
  EXPECT_EQ(through.back().score, 30);
  EXPECT_GT(through.back().x1, kDoorLeft + 16) << "beyond the door";
  ExpectStopOrder(Lines(Trace()));
}

}  // namespace
