// The player's command line: what each option sets, and the command lines that are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "shell/run_options.h"

namespace {

bool Parse(std::vector<const char*> args, RunOptions* out, std::string* error) {
  args.insert(args.begin(), "player");
  return ParseRunOptions(static_cast<int>(args.size()), args.data(), out, error);
}

RunOptions ParseOk(std::vector<const char*> args) {
  RunOptions o;
  std::string error;
  EXPECT_TRUE(Parse(args, &o, &error)) << error;
  return o;
}

TEST(RunOptionsTest, HeadlessRunTakesEveryOption) {
  const RunOptions o = ParseOk({"--headless", "--frames", "300", "--input", "keys.txt", "--shot", "10:a.png",
                                "--shot=20:b:c.png", "--trace", "t.txt", "--answer", "open-stage=data\\stg4\\x.stg4",
                                "--answer", "box=6", "--seed=42", "-C", "game", "--inactive", "5:250"});
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.frames, 300u);
  EXPECT_EQ(o.inputFile, "keys.txt");
  ASSERT_EQ(o.shots.size(), 2u);
  EXPECT_EQ(o.shots[0].frame, 10u);
  EXPECT_EQ(o.shots[0].file, "a.png");
  EXPECT_EQ(o.shots[1].frame, 20u);
  EXPECT_EQ(o.shots[1].file, "b:c.png") << "only the first colon separates";
  EXPECT_EQ(o.traceFile, "t.txt");
  ASSERT_NE(o.Answer("open-stage"), nullptr);
  EXPECT_EQ(*o.Answer("open-stage"), "data\\stg4\\x.stg4");
  EXPECT_EQ(*o.Answer("box"), "6");
  EXPECT_EQ(o.Answer("save-replay"), nullptr);
  ASSERT_TRUE(o.seed.has_value());
  EXPECT_EQ(*o.seed, 42u);
  EXPECT_EQ(o.gameFolder, "game");
  ASSERT_TRUE(o.inactive.has_value());
  EXPECT_EQ(o.inactive->first, 5u);
  EXPECT_EQ(o.inactive->second, 250u);
  EXPECT_FALSE(o.editor);
  EXPECT_EQ(o.ShowCode(), 1);
  EXPECT_TRUE(o.stageText.empty());
}

TEST(RunOptionsTest, TheEditorsTestPlayIsShowCodeFiveWithItsStageAsTheCommandLine) {
  const RunOptions o = ParseOk({"--editor", "--editor-socket", "/tmp/ed.sock", "data/stg4/ステージ.stg4"});
  EXPECT_TRUE(o.editor);
  EXPECT_EQ(o.ShowCode(), 5);
  EXPECT_EQ(o.editorSocket, "/tmp/ed.sock");
  EXPECT_EQ(o.stageText, SJ("data/stg4/ステージ.stg4")) << "the stage name is kept as code page 932";
}

TEST(RunOptionsTest, WordsThatAreNotOptionsMakeOneCommandLine) {
  EXPECT_EQ(ParseOk({"my", "stage.stg4"}).stageText, "my stage.stg4");
  EXPECT_EQ(ParseOk({"--", "--frames"}).stageText, "--frames") << "after -- nothing is an option";
}

TEST(RunOptionsTest, TheLastAnswerOfAKeyHolds) {
  const RunOptions o = ParseOk({"--answer", "box=1", "--answer", "box=2", "--answer", "k=a=b"});
  EXPECT_EQ(*o.Answer("box"), "2");
  EXPECT_EQ(*o.Answer("k"), "a=b");
}

TEST(RunOptionsTest, WrongCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--frames"},          {"--frames", "0"},     {"--frames", "12x"},   {"--frames", "-3"},
      {"--shot", "a.png"},   {"--shot", "0:a.png"}, {"--shot", "5:"},      {"--answer", "novalue"},
      {"--answer", "=x"},    {"--seed", "4294967296"}, {"--inactive", "5"}, {"--inactive", "0:10"},
      {"--headless=1"},      {"--bogus"},           {"-X"},
      // A check wants its list, a list wants its check, and a run checks or records, not both.
      {"--verify-replay", "a.rpl4_556"}, {"--digests", "a.txt"},
      {"--verify-replay", "a.rpl4_556", "--digests", "a.txt", "--record-digests", "b.txt"},
      {"--replay", "a.rpl4_556", "data/stg4/a.stg4"},
  };
  for (const auto& args : bad) {
    RunOptions o;
    o.frames = 77;
    std::string error;
    EXPECT_FALSE(Parse(args, &o, &error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
    EXPECT_EQ(o.frames, 77u) << "a refused line leaves the options as they were";
  }
}

TEST(RunOptionsTest, AReplayCheckIsHeadlessAndNamesItsReplayInTheGamesCodePage) {
  const RunOptions check = ParseOk({"--verify-replay", "user_data/rpl4/ステージ.rpl4_556", "--digests", "d.txt"});
  EXPECT_TRUE(check.headless);
  EXPECT_TRUE(check.verifyReplay);
  EXPECT_EQ(check.replayFile, Utf8ToCp932("user_data/rpl4/ステージ.rpl4_556"));
  EXPECT_EQ(check.digestsFile, "d.txt");
  const RunOptions record = ParseOk({"--replay", "r.rpl4_556", "--record-digests", "d.txt"});
  EXPECT_FALSE(record.headless) << "a replay plays in a window unless told otherwise";
  EXPECT_FALSE(record.verifyReplay);
  EXPECT_EQ(record.replayFile, "r.rpl4_556");
  EXPECT_EQ(record.recordDigestsFile, "d.txt");
}

TEST(RunOptionsTest, HelpAndVersionAreFlags) {
  EXPECT_TRUE(ParseOk({"--help"}).help);
  EXPECT_TRUE(ParseOk({"--version"}).version);
  EXPECT_FALSE(RunOptionsUsage().empty());
}

}  // namespace
