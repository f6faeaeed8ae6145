#pragma once
// The command line of the player. The game itself knows one argument, a stage file to play at once
// (the editor's test play); the rest are this platform's: the game folder, the editor hand-shake,
// and the headless mode that tests and benchmarks drive the program with.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ShotRequest {
  std::uint32_t frame = 0;  // written after this many frames were presented
  std::string file;         // a host path
};

struct RunOptions {
  bool headless = false;
  std::uint32_t frames = 0;  // 0: run until closed
  std::string inputFile;
  std::vector<ShotRequest> shots;
  std::string traceFile;
  // One state line per presented frame in the trace (the play scene's hero 0, score, lives, time).
  bool traceState = false;
  std::vector<std::pair<std::string, std::string>> answers;  // in the order given
  std::optional<std::uint32_t> seed;
  bool editor = false;
  std::string editorSocket;
  std::string gameFolder;
  // The text handed to the start-up as the command line (code page 932).
  std::string stageText;
  // After frame .first was presented the program is made inactive for .second ms of real time.
  std::optional<std::pair<std::uint32_t, std::uint32_t>> inactive;
  // A replay (a path in the game folder, code page 932) played at once instead of the title.
  std::string replayFile;
  // --verify-replay: the replay's digests are checked against digestsFile, frame by frame, headless.
  bool verifyReplay = false;
  std::string digestsFile;
  // The digest of every frame is written here when the run ends (a host path).
  std::string recordDigestsFile;
  bool help = false;
  bool version = false;

  // The show-window code the program was started with: 5 for the editor's test play.
  int ShowCode() const { return editor ? 5 : 1; }
  // The value of the last --answer KEY=..., or null.
  const std::string* Answer(const std::string& key) const;
};

extern RunOptions g_RunOptions;

// Parses argv into out; false with a one-line reason in error when the command line is wrong.
bool ParseRunOptions(int argc, const char* const* argv, RunOptions* out, std::string* error);

std::string RunOptionsUsage();
