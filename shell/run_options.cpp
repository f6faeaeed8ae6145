#include "shell/run_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/host/text_codec.h"

RunOptions g_RunOptions;

namespace {

bool ParseNumber(std::string_view text, std::uint32_t* out) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out);
  return ec == std::errc() && ptr == end;
}

enum class OptionKind { Flag, Value };

struct OptionRow {
  const char* name;
  OptionKind kind;
  // Applies the option; false with error set when its value is wrong.
  bool (*apply)(RunOptions& o, std::string_view value, std::string* error);
};

bool Fail(std::string* error, std::string text) {
  *error = std::move(text);
  return false;
}

bool ApplyFrames(RunOptions& o, std::string_view v, std::string* error) {
  if (!ParseNumber(v, &o.frames) || o.frames == 0) return Fail(error, "--frames wants a frame count above 0");
  return true;
}

bool ApplyShot(RunOptions& o, std::string_view v, std::string* error) {
  const auto colon = v.find(':');
  ShotRequest shot;
  if (colon == std::string_view::npos || !ParseNumber(v.substr(0, colon), &shot.frame) || shot.frame == 0 ||
      colon + 1 == v.size())
    return Fail(error, "--shot wants FRAME:FILE.png with FRAME above 0");
  shot.file = std::string(v.substr(colon + 1));
  o.shots.push_back(std::move(shot));
  return true;
}

bool ApplyAnswer(RunOptions& o, std::string_view v, std::string* error) {
  const auto eq = v.find('=');
  if (eq == std::string_view::npos || eq == 0) return Fail(error, "--answer wants KEY=VALUE");
  o.answers.emplace_back(std::string(v.substr(0, eq)), std::string(v.substr(eq + 1)));
  return true;
}

bool ApplySeed(RunOptions& o, std::string_view v, std::string* error) {
  std::uint32_t seed = 0;
  if (!ParseNumber(v, &seed)) return Fail(error, "--seed wants a number from 0 to 4294967295");
  o.seed = seed;
  return true;
}

bool ApplyInactive(RunOptions& o, std::string_view v, std::string* error) {
  const auto colon = v.find(':');
  std::uint32_t frame = 0, ms = 0;
  if (colon == std::string_view::npos || !ParseNumber(v.substr(0, colon), &frame) ||
      !ParseNumber(v.substr(colon + 1), &ms) || frame == 0)
    return Fail(error, "--inactive wants FRAME:MS with FRAME above 0");
  o.inactive = std::make_pair(frame, ms);
  return true;
}

bool ApplyVerifyReplay(RunOptions& o, std::string_view v, std::string*) {
  o.replayFile = Utf8ToCp932(v);
  o.verifyReplay = true;
  // A check runs on the virtual clock: its frames are the replay's, not the wall clock's.
  o.headless = true;
  return true;
}

const OptionRow kOptions[] = {
    {"--headless", OptionKind::Flag, [](RunOptions& o, std::string_view, std::string*) { return o.headless = true; }},
    {"--frames", OptionKind::Value, ApplyFrames},
    {"--input", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.inputFile = v, true; }},
    {"--shot", OptionKind::Value, ApplyShot},
    {"--trace", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.traceFile = v, true; }},
    {"--trace-state", OptionKind::Flag,
     [](RunOptions& o, std::string_view, std::string*) { return o.traceState = true; }},
    {"--answer", OptionKind::Value, ApplyAnswer},
    {"--seed", OptionKind::Value, ApplySeed},
    {"--inactive", OptionKind::Value, ApplyInactive},
    {"--replay", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.replayFile = Utf8ToCp932(v), true; }},
    {"--verify-replay", OptionKind::Value, ApplyVerifyReplay},
    {"--digests", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.digestsFile = v, true; }},
    {"--record-digests", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.recordDigestsFile = v, true; }},
    {"--editor", OptionKind::Flag, [](RunOptions& o, std::string_view, std::string*) { return o.editor = true; }},
    {"--editor-socket", OptionKind::Value,
     [](RunOptions& o, std::string_view v, std::string*) { return o.editorSocket = v, true; }},
    {"-C", OptionKind::Value, [](RunOptions& o, std::string_view v, std::string*) { return o.gameFolder = v, true; }},
    {"--help", OptionKind::Flag, [](RunOptions& o, std::string_view, std::string*) { return o.help = true; }},
    {"--version", OptionKind::Flag, [](RunOptions& o, std::string_view, std::string*) { return o.version = true; }},
};

const OptionRow* FindOption(std::string_view name) {
  for (const OptionRow& row : kOptions)
    if (name == row.name) return &row;
  return nullptr;
}

}  // namespace

const std::string* RunOptions::Answer(const std::string& key) const {
  for (auto it = answers.rbegin(); it != answers.rend(); ++it)
    if (it->first == key) return &it->second;
  return nullptr;
}

bool ParseRunOptions(int argc, const char* const* argv, RunOptions* out, std::string* error) {
  RunOptions o;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i] ? argv[i] : "";
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      // The stage text: the words of the command line that are not options, as the game was given
      // its whole command line. Names arrive as UTF-8 and the game keeps code page 932.
      if (!o.stageText.empty()) o.stageText += ' ';
      o.stageText += Utf8ToCp932(arg);
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> inlineValue;
    if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    const OptionRow* row = FindOption(name);
    if (!row) return Fail(error, "unknown option " + std::string(arg));
    std::string_view value;
    if (row->kind == OptionKind::Value) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < argc && argv[i + 1]) {
        value = argv[++i];
      } else {
        return Fail(error, std::string(name) + " wants a value");
      }
    } else if (inlineValue) {
      return Fail(error, std::string(name) + " takes no value");
    }
    if (!row->apply(o, value, error)) return false;
  }
  if (o.verifyReplay != !o.digestsFile.empty())
    return Fail(error, "--verify-replay FILE and --digests LIST go together");
  if (o.verifyReplay && !o.recordDigestsFile.empty())
    return Fail(error, "--verify-replay checks a digest list; --record-digests writes one: one of them");
  if (!o.replayFile.empty() && !o.stageText.empty())
    return Fail(error, "a replay and a stage file cannot both be played");
  *out = std::move(o);
  return true;
}

std::string RunOptionsUsage() {
  return "usage: player [options] [stage file]\n"
         "  -C DIR               play the game folder DIR (default: the current folder)\n"
         "  --editor             started by the editor for a test play\n"
         "  --editor-socket PATH where the test-play reports go (a local datagram socket)\n"
         "  --headless           no window and no sound device; time runs frame by frame\n"
         "  --frames N           close in order after N presented frames\n"
         "  --input FILE         held keys per frame (lines 'FRAME KEY...')\n"
         "  --shot N:FILE.png    write the screen after frame N (repeatable)\n"
         "  --trace FILE         one line per platform event\n"
         "  --trace-state        and one state line per frame (hero 0, score, lives, time)\n"
         "  --answer KEY=VALUE   answer dialogs and boxes (open-stage=, open-replay=, save-replay=, box=;\n"
         "                       launcher=, name-entry=: actions type:TEXT, click:ID, key:NAME, close)\n"
         "  --replay FILE        play the replay FILE (in the game folder) at once\n"
         "  --verify-replay FILE headless: play the replay and check each frame's digest ...\n"
         "  --digests LIST       ... against the list LIST; a difference exits with 1\n"
         "  --record-digests LIST  write each frame's digest to LIST (a replay stops after its round)\n"
         "  --seed N             the random seed of stage starts\n"
         "  --inactive N:MS      after frame N, lose the focus for MS milliseconds\n"
         "  --help, --version\n";
}
