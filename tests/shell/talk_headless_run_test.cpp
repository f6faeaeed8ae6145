// Messages and waits that hold the game, from outside: the real player, headless on the sample's
// talk stage. The elder's two messages each wait for a fresh press of the first button (the first
// ignores it for 10 frames, the chained one takes it at once); the guide talks for two seconds, and
// after its warp the way to the goal begins with a game wait that holds the game for exactly 60
// frames; a close during a message ends the program in order.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

using TalkRunTest = HeadlessRunTest;

// One hold of the game as the trace shows it: its kind, the frames presented before it, and the
// frames it drew itself.
struct Hold {
  int kind = -1;
  unsigned before = 0;
  unsigned drawn = 0;
};

std::vector<Hold> Holds(const std::vector<std::string>& trace) {
  std::vector<Hold> holds;
  unsigned frames = 0;
  bool open = false;
  for (const std::string& line : trace) {
    if (line.starts_with("frame=")) {
      ++frames;
      if (open) ++holds.back().drawn;
    } else if (line.starts_with("pause end")) {
      open = false;
    } else if (line.starts_with("pause ")) {
      holds.push_back({std::stoi(line.substr(6)), frames, 0});
      open = true;
    }
  }
  return holds;
}

std::string Line(unsigned frame, const char* keys = "") { return std::to_string(frame) + " " + keys + "\n"; }

class TalkRun : public TalkRunTest {
 protected:
  // The talk stage with these keys; the run's trace.
  std::vector<std::string> Play(const std::string& keys, unsigned frames, const char* name) {
    const fs::path input = m_Folder / (std::string(name) + ".input");
    std::ofstream(input) << keys;
    std::vector<std::string> args = {"--headless", "--seed", "7", "--input", input.string(), "data\\stg4\\talk.stg4",
                                      "--trace", Trace(name), "--trace-state"};
    if (frames != 0) args.insert(args.begin() + 1, {"--frames", std::to_string(frames)});
    EXPECT_EQ(Run(args), 0);
    return Lines(Trace(name));
  }
  // Walking left into the elder: the frame its first message begins to hold the game after.
  unsigned ElderTalkStart() {
    const std::vector<Hold> holds = Holds(Play(kToElder, 400, "probe.txt"));
    EXPECT_FALSE(holds.empty()) << "the elder's message never held the game";
    return holds.empty() ? 0 : holds[0].before;
  }
  static inline const std::string kToElder = Line(150, "LEFT");
};

TEST_F(TalkRun, EachKeyMessageTakesOneFreshPress) {
  UseSampleGame();
  const unsigned p = ElderTalkStart();
  ASSERT_GT(p, 150u);
  // By the held frames (the keys of line F are down from frame F + 1 on): the first button in frames
  // 5 and 6 of the first message (inside its delay), then from frame 11 held for 20 frames and
  // pressed again after a while.
  const std::string keys = kToElder + Line(p + 1) + Line(p + 4, "Z") + Line(p + 6) + Line(p + 10, "Z") +
                           Line(p + 30) + Line(p + 40, "Z") + Line(p + 45);
  const std::vector<std::string> trace = Play(keys, p + 120, "keys.txt");
  const std::vector<Hold> holds = Holds(trace);
  ASSERT_EQ(holds.size(), 2u);
  EXPECT_EQ(holds[0].kind, 1);
  EXPECT_EQ(holds[0].before, p);
  EXPECT_EQ(holds[0].drawn, 10u) << "10 frames ignore the key, the 11th takes it";
  // The chained message began while the button was still held: it waited for the next press and
  // took it at once, without a delay.
  EXPECT_EQ(holds[1].kind, 1);
  EXPECT_LT(holds[1].before, p + 30);
  EXPECT_EQ(holds[1].before + holds[1].drawn, p + 40);
  // One opening sound, one key sound each.
  EXPECT_EQ(Count(trace, "sound play 11 "), 1);
  EXPECT_EQ(Count(trace, "sound play 12 "), 2);
  ExpectStopOrder(trace);
}

TEST_F(TalkRun, CloseDuringAMessageEndsTheProgramInOrder) {
  UseSampleGame();
  const unsigned p = ElderTalkStart();
  ASSERT_GT(p, 150u);
  const auto start = std::chrono::steady_clock::now();
  const std::vector<std::string> trace = Play(kToElder + Line(p + 1) + Line(p + 5, "ESCAPE"), 0, "close.txt");
  const int closing = Find(trace, "close: end the pause thread");
  ASSERT_GE(closing, 0);
  EXPECT_GT(Find(trace, "pause end", closing), closing);
  ExpectStopOrder(trace);
  // The run has no frame limit: only the close ended it. How many frames the game thread still runs
  // before the window thread stops it depends on the machine, so the bound is on the time, taken
  // generously for loaded and sanitizer runs (the whole run is about a second otherwise).
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(TalkRun, TheGuideTalksForTwoSecondsAndTheGoalsWaitHoldsSixtyFrames) {
  UseSampleGame();
  const std::string toGuide = Line(150, "RIGHT X") + Line(420);
  const std::vector<Hold> talk = Holds(Play(toGuide, 600, "probe.txt"));
  ASSERT_EQ(talk.size(), 1u);
  EXPECT_EQ(talk[0].kind, 1);
  EXPECT_EQ(talk[0].drawn, 120u) << "two seconds";
  const unsigned after = talk[0].before + talk[0].drawn;
  const std::vector<std::string> trace =
      Play(toGuide + Line(after + 20, "UP") + Line(after + 22) + Line(after + 60, "DOWN") + Line(after + 62),
           after + 300, "choice.txt");
  const std::vector<Hold> holds = Holds(trace);
  ASSERT_EQ(holds.size(), 2u);
  EXPECT_EQ(holds[1].kind, 0);
  EXPECT_EQ(holds[1].drawn, 60u);
  EXPECT_GT(Find(trace, "play state 4 result"), Find(trace, "pause end", Find(trace, "pause 0")));
  ExpectStopOrder(trace);
}

}  // namespace
