// The digest lists of replay checks and the verdicts of a check: the list's lines and their
// refusal, and what a check says about a run against its list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/replay_check.h"

namespace {

namespace fs = std::filesystem;

// A digest whose areas are seed, seed + 1, ...
StateDigest Digest(std::uint64_t seed) {
  StateDigest d;
  for (std::size_t i = 0; i < d.m_Areas.size(); ++i) d.m_Areas[i] = seed + i;
  d.m_Total = DigestTotal(d.m_Areas);
  return d;
}

StateDigest WithArea(StateDigest d, DigestArea area, std::uint64_t value) {
  d.m_Areas[static_cast<std::size_t>(area)] = value;
  d.m_Total = DigestTotal(d.m_Areas);
  return d;
}

class DigestListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Folder = fs::temp_directory_path() / ("digest_list_" + std::to_string(getpid()));
    fs::create_directories(m_Folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(m_Folder, ec);
  }
  std::string Path(const char* name) const { return (m_Folder / name).string(); }
  fs::path m_Folder;
};

TEST(DigestLine, RoundTripsAndRefusesWhatIsNotALine) {
  const StateDigest d = Digest(0x0123456789abcdefull);
  const std::string line = FormatDigestLine(42, d);
  std::uint32_t frame = 0;
  StateDigest back;
  ASSERT_TRUE(ParseDigestLine(line, &frame, &back)) << line;
  EXPECT_EQ(frame, 42u);
  EXPECT_EQ(back.m_Total, d.m_Total);
  EXPECT_EQ(back.m_Areas, d.m_Areas);
  EXPECT_TRUE(ParseDigestLine(line + "\r", &frame, &back)) << "a list edited on Windows";

  const std::string areas = line.substr(line.find(' ', line.find(' ') + 1));  // after the total
  const std::string bad[] = {
      "",
      "x",
      "42",
      line.substr(0, line.rfind(' ')),                      // an area missing
      line + " 1",                                          // one too many
      line + " junk",
      "42 " + std::string(17, 'f') + areas,                 // more than 64 bits
      "42 0000000000000000" + areas,                        // a total that is not its areas'
      "-1 " + line.substr(line.find(' ') + 1),              // no frame number
      "42 zz" + areas,
  };
  for (const std::string& text : bad) EXPECT_FALSE(ParseDigestLine(text, &frame, &back)) << "'" << text << "'";
}

TEST_F(DigestListTest, AWrittenListReadsBackAndADamagedOneIsRefused) {
  const std::vector<StateDigest> frames = {Digest(1), Digest(2), Digest(3)};
  std::string error;
  ASSERT_TRUE(WriteDigestList(Path("a.txt"), frames, &error)) << error;
  EXPECT_FALSE(fs::exists(Path("a.txt.tmp")));
  std::vector<StateDigest> back;
  ASSERT_TRUE(ReadDigestList(Path("a.txt"), &back, &error)) << error;
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[2].m_Total, frames[2].m_Total);

  struct Case {
    const char* name;
    std::string text;
    const char* reason;
  };
  const Case cases[] = {
      {"gap.txt", FormatDigestLine(1, frames[0]) + "\n" + FormatDigestLine(3, frames[1]) + "\n", "line 2"},
      {"twice.txt", "# comment\n" + FormatDigestLine(1, frames[0]) + "\n" + FormatDigestLine(1, frames[1]) + "\n",
       "line 3"},
      {"cut.txt", FormatDigestLine(1, frames[0]).substr(0, 30) + "\n", "line 1"},
  };
  for (const Case& c : cases) {
    std::ofstream(Path(c.name), std::ios::binary) << c.text;
    error.clear();
    EXPECT_FALSE(ReadDigestList(Path(c.name), &back, &error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
  }
  EXPECT_FALSE(ReadDigestList(Path("missing.txt"), &back, &error));
  // A list that cannot be put in place is reported, not taken as written.
  EXPECT_FALSE(WriteDigestList((m_Folder / "no" / "such" / "folder.txt").string(), frames, &error));
}

TEST(ReplayCheck, Verdicts) {
  const std::vector<StateDigest> list = {Digest(10), Digest(20), Digest(30)};
  struct Frame {
    StateDigest digest;
    bool roundOver;
  };
  struct Case {
    const char* what;
    std::vector<Frame> frames;
    int exitCode;
    std::string message;
    std::uint32_t closesAfter;  // 0: never asks to close
  };
  const Case cases[] = {
      {"all match", {{list[0], false}, {list[1], false}, {list[2], true}}, 0, "replay matches, 3 frames", 3},
      {"heroes differ",
       {{list[0], false}, {WithArea(list[1], kDigestHeroes, 7), false}},
       1,
       "replay differs at frame 2: heroes",
       2},
      {"two areas differ",
       {{WithArea(WithArea(list[0], kDigestRandom, 1), kDigestItems, 2), false}},
       1,
       "replay differs at frame 1: random, items",
       1},
      {"the replay ends early",
       {{list[0], false}, {list[1], true}},
       1,
       "replay differs at frame 2: the replay ended, the list goes on to frame 3",
       2},
      {"the replay runs past the list",
       {{list[0], false}, {list[1], false}, {list[2], false}, {Digest(40), false}},
       1,
       "replay differs at frame 4: the list ends at frame 3",
       4},
      {"the run stops first", {{list[0], false}}, 1, "replay differs at frame 2: the run ended before the replay did", 0},
      {"nothing played", {}, 1, "replay differs at frame 1: the run ended before the replay did", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cReplayCheck check;
    check.StartVerify(list);
    std::uint32_t closedAfter = 0;
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
      const auto n = static_cast<std::uint32_t>(i + 1);
      if (check.OnFrame(n, c.frames[i].digest, c.frames[i].roundOver)) {
        EXPECT_EQ(closedAfter, 0u) << "asks to close once";
        closedAfter = n;
      }
    }
    // Frames presented while the close is under way change nothing.
    if (closedAfter != 0) {
      EXPECT_FALSE(check.OnFrame(closedAfter + 1, Digest(99), false));
    }
    EXPECT_EQ(closedAfter, c.closesAfter);
    std::string message;
    EXPECT_EQ(check.Finish(&message), c.exitCode);
    EXPECT_EQ(message, c.message);
  }
}

TEST_F(DigestListTest, ARecordingStopsAtTheEndOfItsReplayRound) {
  cReplayCheck check;
  check.StartRecord(Path("r.txt"), true);
  EXPECT_FALSE(check.OnFrame(1, Digest(1), false));
  EXPECT_TRUE(check.OnFrame(2, Digest(2), true));
  EXPECT_FALSE(check.OnFrame(3, Digest(3), false)) << "after the round: not recorded";
  std::string message;
  EXPECT_EQ(check.Finish(&message), 0);
  EXPECT_EQ(message, "digests recorded, 2 frames");
  std::vector<StateDigest> back;
  std::string error;
  ASSERT_TRUE(ReadDigestList(Path("r.txt"), &back, &error)) << error;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].m_Total, Digest(2).m_Total);

  // A run without a replay records to its end.
  check.StartRecord(Path("s.txt"), false);
  EXPECT_FALSE(check.OnFrame(1, Digest(1), true));
  EXPECT_FALSE(check.OnFrame(2, Digest(2), false));
  EXPECT_EQ(check.Finish(&message), 0);
  EXPECT_EQ(message, "digests recorded, 2 frames");
}

}  // namespace
