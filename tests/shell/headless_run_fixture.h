#pragma once
// The real player started headless on the sample game, for the end-to-end tests: the sample written
// once per test program, a game folder of its own per test with a private runtime folder, the run
// with a bounded wait, and the reading of its trace.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/screen.h"
#include "tests/shell/player_process.h"
#include "tests/support/game_folder.h"
#if PLAYER_HAVE_SAMPLE_GAME
#include "tools/sample_game.h"
#endif

namespace headless_run {

namespace fs = std::filesystem;

// Where pictures for people to look at go: beside the test program, taken before any test moves
// into its own game folder.
inline const fs::path s_OutputFolder = fs::current_path() / "test_output";

inline std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The index of the first line equal to text at or after from; -1 when none.
inline int Find(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i)
    if (lines[static_cast<std::size_t>(i)] == text) return i;
  return -1;
}

inline std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The colour of one pixel of a screenshot; 0 when it cannot be read.
inline std::uint32_t PixelAt(const std::string& png, int x, int y) {
  std::vector<std::uint32_t> pixels;
  std::int32_t w = 0, h = 0;
  if (!ReadXrgbPng(png, &pixels, &w, &h) || x < 0 || y < 0 || x >= w || y >= h) return 0;
  return pixels[static_cast<std::size_t>(y * w + x)] & 0xFFFFFFu;
}

inline int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  int n = 0;
  for (const std::string& l : lines) n += l.starts_with(prefix);
  return n;
}

// The values of one state line.
struct StateLine {
  unsigned frame = 0;
  int scene = -1;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, vx = 0, vy = 0;
  int hp = 0, score = 0, lives = 0, time = 0;
  std::uint64_t digest = 0;
};

inline std::vector<StateLine> StateLines(const std::vector<std::string>& trace) {
  std::vector<StateLine> lines;
  for (const std::string& text : trace) {
    StateLine l;
    if (std::sscanf(text.c_str(),
                    "frame=%u scene=%d x1=%lf y1=%lf x2=%lf y2=%lf vx=%lf vy=%lf hp=%d score=%d lives=%d time=%d",
                    &l.frame, &l.scene, &l.x1, &l.y1, &l.x2, &l.y2, &l.vx, &l.vy, &l.hp, &l.score, &l.lives,
                    &l.time) == 12) {
      if (const auto at = text.find(" digest="); at != std::string::npos)
        l.digest = std::strtoull(text.c_str() + at + 8, nullptr, 16);
      lines.push_back(l);
    }
  }
  return lines;
}

// The lines of the orderly close, in the order they must come.
inline const std::vector<std::string> kStopOrder = {"stop music",          "stop thread loader", "stop thread pause",
                                             "stop thread ranking", "stop thread game",   "window destroyed"};

inline void ExpectStopOrder(const std::vector<std::string>& trace) {
  int at = 0;
  for (const std::string& step : kStopOrder) {
    const int found = Find(trace, step, at);
    EXPECT_GE(found, 0) << "missing or out of order: " << step;
    if (found >= 0) at = found + 1;
  }
}

class HeadlessRunTest : public GameFolderTest {
 protected:
  static void SetUpTestSuite() {
#if PLAYER_HAVE_SAMPLE_GAME
    s_Sample = fs::temp_directory_path() / ("player_sample_" + std::to_string(getpid()));
    s_SampleReady = WriteSampleGame(s_Sample);
#endif
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    if (!s_Sample.empty()) fs::remove_all(s_Sample, ec);
  }
  void SetUp() override {
    GameFolderTest::SetUp();
    fs::create_directories(m_Folder / "run");
    fs::create_directories(m_Folder / "game");
  }
  // The sample game in this test's game folder.
  void UseSampleGame() {
    if (!s_SampleReady) GTEST_SKIP() << "no sample game to play";
    fs::copy(s_Sample, Game(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  fs::path Game() const { return m_Folder / "game"; }
  std::vector<std::pair<std::string, std::string>> Env() const {
    return {{"XDG_RUNTIME_DIR", (m_Folder / "run").string()}};
  }
  std::optional<int> Run(const std::vector<std::string>& args, int seconds = 60,
                         const fs::path& stdoutFile = {}) {
    cPlayerProcess player(Game(), args, Env(), stdoutFile);
    EXPECT_TRUE(player.Started());
    return player.Wait(seconds);
  }
  std::string Trace(const char* name = "trace.txt") const { return (m_Folder / name).string(); }

  static inline fs::path s_Sample;
  static inline bool s_SampleReady = false;
};

}  // namespace headless_run
