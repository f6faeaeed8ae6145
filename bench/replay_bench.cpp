// Replay play-back as the player does it: the real program, headless, pinned to one core, plays the
// longest replay of the replay suite on the sample game with every frame drawn and its digest
// checked. "x_real_time" is how many times faster than real time (60 frames a second) the whole run
// is by the wall clock, start-up included; "x_real_time_play" leaves out the start-up (a run of one
// frame); "x_real_time_cpu" is the same by the processor time the program took on its core, which a
// busy machine does not change. The goal is 50 times real time.
#include <benchmark/benchmark.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/sample_game.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSuite = PLAYER_REPLAY_SUITE;

struct LongestReplay {
  std::string stage;
  std::int64_t frames = 0;
};

// The replay whose digest list is longest.
LongestReplay FindLongestReplay() {
  LongestReplay longest;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSuite, ec)) {
    if (entry.path().extension() != ".digests") continue;
    std::ifstream in(entry.path());
    std::int64_t frames = 0;
    for (std::string line; std::getline(in, line);) frames += !line.empty() && line.front() != '#';
    if (frames > longest.frames) longest = {entry.path().stem().string(), frames};
  }
  return longest;
}

struct RunTime {
  double wall = -1.0;  // negative when the run did not end with code 0
  double cpu = 0.0;    // user and system time of all its threads
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

// Runs the player in game with args on CPU 0 only.
RunTime TimePlayer(const fs::path& game, const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    sched_setaffinity(0, sizeof one, &one);
    std::vector<std::string> all = {PLAYER_BINARY, "-C", game.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
    execv(PLAYER_BINARY, argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

void ReplayPlayback(benchmark::State& state) {
  const LongestReplay replay = FindLongestReplay();
  if (replay.frames == 0) {
    state.SkipWithError("no replay in the suite");
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "replay-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const fs::path folder = pattern;
  const fs::path game = folder / "game";
  // A runtime folder of its own: the one-instance lock of another player does not stop this one.
  fs::create_directories(folder / "run");
  setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
  if (!WriteSampleGame(game)) {
    state.SkipWithError("the sample game was not written");
    return;
  }
  fs::create_directories(game / "user_data" / "rpl4");
  const std::string name = replay.stage + ".rpl4_556";
  fs::copy_file(kSuite / name, game / "user_data" / "rpl4" / name);
  const std::string path = "user_data\\rpl4\\" + name;
  const std::string list = (kSuite / (replay.stage + ".digests")).string();

  double whole = 0.0, startUp = 0.0, wholeCpu = 0.0, startUpCpu = 0.0;
  for (auto _ : state) {
    const RunTime run = TimePlayer(game, {"--verify-replay", path, "--digests", list});
    const RunTime first = TimePlayer(game, {"--headless", "--frames", "1", "--replay", path});
    if (run.wall < 0 || first.wall < 0) {
      state.SkipWithError("the replay did not play back as recorded");
      break;
    }
    state.SetIterationTime(run.wall);
    whole += run.wall;
    startUp += first.wall;
    wholeCpu += run.cpu;
    startUpCpu += first.cpu;
  }
  const double runs = static_cast<double>(state.iterations());
  const double realTime = static_cast<double>(replay.frames) / 60.0;
  if (runs > 0 && whole > 0) {
    state.counters["frames"] = static_cast<double>(replay.frames);
    state.counters["x_real_time"] = realTime / (whole / runs);
    if (whole > startUp) state.counters["x_real_time_play"] = realTime / ((whole - startUp) / runs);
    if (wholeCpu > startUpCpu) state.counters["x_real_time_cpu"] = realTime / ((wholeCpu - startUpCpu) / runs);
  }
  state.SetLabel(replay.stage);
  std::error_code ec;
  fs::remove_all(folder, ec);
}

}  // namespace

BENCHMARK(ReplayPlayback)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
