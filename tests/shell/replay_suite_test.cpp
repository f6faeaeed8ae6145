// The replay regression suite: every replay recorded in tests/replays/ plays back on the sample
// game with the digests of its list, frame by frame. A difference names the stage and the first
// frame that differs; scripts/record_replays.sh records the suite again when a change of the
// game's play is meant.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

const fs::path kSuite = PLAYER_REPLAY_SUITE;

// The stages with a recorded replay, by name.
std::vector<std::string> RecordedStages() {
  std::vector<std::string> stages;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSuite, ec))
    if (entry.path().extension() == ".rpl4_556") stages.push_back(entry.path().stem().string());
  std::sort(stages.begin(), stages.end());
  return stages;
}

class ReplaySuiteTest : public HeadlessRunTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ReplaySuiteTest, PlaysBackWithItsDigests) {
  UseSampleGame();
  const std::string stage = GetParam();
  fs::create_directories(Game() / "user_data" / "rpl4");
  fs::copy_file(kSuite / (stage + ".rpl4_556"), Game() / "user_data" / "rpl4" / (stage + ".rpl4_556"));
  const fs::path out = m_Folder / "verify.out";
  const std::optional<int> code =
      Run({"--verify-replay", "user_data\\rpl4\\" + stage + ".rpl4_556", "--digests",
           (kSuite / (stage + ".digests")).string()},
          120, out);
  const std::vector<std::string> said = Lines(out);
  const std::string verdict = said.empty() ? "no verdict" : said.front();
  EXPECT_EQ(code, 0) << "stage " << stage << ": " << verdict;
  EXPECT_TRUE(verdict.starts_with("replay matches, ")) << "stage " << stage << ": " << verdict;
}

INSTANTIATE_TEST_SUITE_P(Stages, ReplaySuiteTest, ::testing::ValuesIn(RecordedStages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReplaySuiteTest);

}  // namespace
