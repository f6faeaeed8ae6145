// A stage chain played to its end by the real player, headless on the sample game: free play of
// w01-1 goes on to w01-2 when its goal sign is touched, the result of the last stage offers the
// totals to the ranking, F3 enters them under a typed name and shows the ranking, and the ranking
// file that is written is loaded again by the next run.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

using StageClearRunTest = HeadlessRunTest;

// The keys: フリープレイ on the title menu, then the hero runs right and jumps over and over through
// both stages (the first stage's result is left by one of those jumps, and the second one loads),
// and runs on without jumping to the second stage's goal star, which clears it; then nothing until
// F3 on the result, V for the next ranking table, Z to leave the ranking and Z to leave the result.
std::string ChainInput() {
  std::ostringstream keys;
  keys << "40 DOWN\n42\n44 DOWN\n46\n48 DOWN\n50\n52 Z\n54\n";
  for (int f = 300; f < 1780; f += 40) keys << f << " RIGHT\n" << f + 20 << " RIGHT Z\n" << f + 34 << " RIGHT\n";
  keys << "1780 RIGHT\n1906\n1980 F3\n1982\n2030 V\n2032\n2060 Z\n2062\n2100 Z\n2102\n";
  return keys.str();
}

std::vector<std::string> PlayStates(const std::vector<std::string>& trace) {
  std::vector<std::string> states;
  for (const std::string& line : trace)
    if (line.starts_with("play state ")) states.push_back(line.substr(11));
  return states;
}

TEST_F(StageClearRunTest, AChainIsClearedRankedWithF3ShownAndItsRankingFileLoadedByTheNextRun) {
  UseSampleGame();
  const fs::path input = m_Folder / "input.txt";
  std::ofstream(input) << ChainInput();
  const fs::path rankingFile = Game() / "user_data" / "free" / "w01.rkg";
  struct Attempt {
    const char* name;
    const char* trace;
  };
  for (const Attempt& a : {Attempt{"ABC", "trace1.txt"}, Attempt{"DEF", "trace2.txt"}}) {
    SCOPED_TRACE(a.name);
    const std::string result = (m_Folder / "result.png").string();
    const std::string ranking = (m_Folder / "ranking.png").string();
    ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", "2250", "--input", input.string(), "--answer",
                   "open-stage=data\\stg4\\w01-1.stg4_000", "--answer", std::string("name-entry=type:") + a.name,
                   "--trace", Trace(a.trace), "--trace-state", "--shot", "1970:" + result, "--shot",
                   "2010:" + ranking}),
              0);
    const std::vector<std::string> trace = Lines(Trace(a.trace));
    const std::vector<std::string> states = PlayStates(trace);
    const std::vector<std::string> chain = {"0 fade-in", "1 ready", "2 play", "4 result", "7 fade-out", "-1 stopped",
                                            "0 fade-in", "1 ready", "2 play", "4 result", "7 fade-out", "-1 stopped"};
    ASSERT_GE(states.size(), chain.size());
    EXPECT_EQ(std::vector<std::string>(states.begin(), states.begin() + 12), chain)
        << "the first clear goes on to the second stage of the chain";
    const int registered = Find(trace, "sound play 16 buffer 0");
    ASSERT_GE(registered, 0) << "F3 entered the totals";
    EXPECT_EQ(Count(trace, "sound play 16 "), 1);
    EXPECT_LT(Find(trace, "dialog name-entry: 1"), registered) << "the name was asked for first";
    EXPECT_GT(Find(trace, "sound play 6 buffer 0", registered), registered) << "V turned to the next table";
    EXPECT_GE(Find(trace, "scene switch 4 -> 0", registered), 0) << "the chain over, free play ends at the title";
    ExpectStopOrder(trace);

    // The result over the stage, then the ranking window over the same spot.
    EXPECT_NE(PixelAt(result, 300, 300), PixelAt(ranking, 300, 300));
    const fs::path kept = s_OutputFolder / (std::string("stage_clear_") + a.name);
    fs::create_directories(kept.parent_path());
    fs::copy_file(result, kept.string() + "_result.png", fs::copy_options::overwrite_existing);
    fs::copy_file(ranking, kept.string() + "_ranking.png", fs::copy_options::overwrite_existing);
  }
  // Both names are in the file, the first one's place kept: the second run loaded what the first
  // wrote before it entered its own result (an equal result ranks below the earlier one).
  const std::string bytes = FileBytes(rankingFile);
  const std::size_t first = bytes.find("ABC");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(bytes.find("DEF"), std::string::npos);
  EXPECT_LT(first, bytes.find("DEF"));
}

}  // namespace
