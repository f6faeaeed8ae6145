#include "shell/headless.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/audio/midi_output.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/box_sink.h"
#include "platform/host/clock.h"
#include "platform/host/input_devices.h"
#include "platform/host/ogg_stream.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/ui/dialog_loop.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/window.h"
#include "play/play_scene.h"
#include "play/play_trace.h"
#include "play/state_digest.h"
#include "shell/main_window.h"
#include "shell/replay_check.h"
#include "shell/scene_manager.h"

namespace {

// What the run asked for, copied once at the start: the frame thread reads it without locks.
struct sRun {
  bool headless = false;
  std::uint32_t frames = 0;
  std::vector<ShotRequest> shots;
  std::uint32_t inactiveAfter = 0;
  std::uint32_t inactiveMs = 0;
  bool traceState = false;
};

sRun s_Run;
std::atomic<std::uint32_t> s_Presented{0};
std::atomic<bool> s_EscapeHeld{false};
// Real-clock milliseconds at which the --inactive pause ends; 0 while none is running.
std::atomic<std::int64_t> s_ReactivateAt{0};
cReplayCheck s_Check;
cScriptedInputSource s_Script;
bool s_ScriptInUse = false;

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int AnswerBox(const RunOptions& options, const std::string& text, const std::string& caption, std::uint32_t type) {
  int answer = IDOK;
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: answer = IDYES; break;
    case MB_ABORTRETRYIGNORE: answer = IDABORT; break;
    case MB_RETRYCANCEL: answer = IDRETRY; break;
    default: break;
  }
  if (const std::string* given = options.Answer("box")) answer = std::atoi(given->c_str());
  std::fprintf(stderr, "%s: %s\n", Cp932ToUtf8(caption).c_str(), Cp932ToUtf8(text).c_str());
  Trace("box " + caption + ": " + text + " -> " + std::to_string(answer));
  return answer;
}

void ApplyScriptFrame(std::uint32_t frame) {
  if (!s_ScriptInUse) return;
  s_Script.ApplyFrame(frame);
  // The window hears Esc go down as a key of its own, as it would from the keyboard.
  const bool escape = s_Script.KeyDown(VK_ESCAPE);
  if (escape && !s_EscapeHeld.exchange(true)) PostMainWindowMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  if (!escape) s_EscapeHeld = false;
}

}  // namespace

std::string FileDialogAnswerKey(const FileDialogRequest& request) {
  if (request.kind == FileDialogKind::kSave) return "save-replay";
  if (request.title == SJ("リプレイファイルの選択")) return "open-replay";
  return "open-stage";
}

void OnFramePresented() {
  const std::uint32_t n = s_Presented.fetch_add(1) + 1;
  if (s_Run.traceState) Trace(PlayStateLine(n, g_SceneManager.m_Current));
  if (s_Check.Active() && !s_Check.Done() &&
      s_Check.OnFrame(n, ComputeStateDigest(g_SceneManager.m_Current), g_ReplayRoundsEnded != 0)) {
    Trace(FormatString("replay check done %u", n));
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  for (const ShotRequest& shot : s_Run.shots) {
    if (shot.frame != n) continue;
    cScreen* screen = g_MainWindow.Screen();
    const bool written = screen && screen->WriteLastFramePng(shot.file);
    Trace(FormatString("shot %u %s%s", n, Utf8ToCp932(shot.file).c_str(), written ? "" : " failed"));
  }
  if (s_Run.frames != 0 && n >= s_Run.frames) {
    // A frame beyond the count comes only from a game thread that was held by the pause thread when
    // the first close came: that close only ended the pause, so the run is closed again.
    if (n == s_Run.frames) Trace(FormatString("frames %u done", n));
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  if (s_Run.inactiveAfter != 0 && n == s_Run.inactiveAfter) {
    // Sent, not posted: the program is inactive before this thread could start another frame.
    s_ReactivateAt = SteadyMs() + s_Run.inactiveMs;
    SendMainWindowMessage(WM_ACTIVATEAPP, 0, 0);
  }
  ApplyScriptFrame(n);
}

std::uint32_t PresentedFrameCount() { return s_Presented.load(); }

bool FrameBudgetSpent() { return s_Run.frames != 0 && s_Presented.load() >= s_Run.frames; }

bool StartHeadless(const RunOptions& options, std::string* error) {
  ResetHeadless();
  s_Run.headless = options.headless;
  s_Run.frames = options.frames;
  s_Run.shots = options.shots;
  s_Run.traceState = options.traceState;
  if (options.inactive) {
    s_Run.inactiveAfter = options.inactive->first;
    s_Run.inactiveMs = options.inactive->second;
  }
  if (options.verifyReplay) {
    std::vector<StateDigest> expected;
    if (!ReadDigestList(options.digestsFile, &expected, error)) return false;
    s_Check.StartVerify(std::move(expected));
  } else if (!options.recordDigestsFile.empty()) {
    // A replay's list ends with its round; any other run's with the run.
    s_Check.StartRecord(options.recordDigestsFile, !options.replayFile.empty());
  }
  if (!options.inputFile.empty()) {
    std::string why;
    if (!s_Script.LoadScriptFile(options.inputFile, &why)) {
      *error = "input script " + options.inputFile + ": " + why;
      return false;
    }
    s_ScriptInUse = true;
    SetInputSource(&s_Script);
    ApplyScriptFrame(0);
  }
  if (!options.headless) return true;
  UseVirtualClock(0);
  SetRealAudioWanted(false);
  SetBoxSink([&options](const std::string& text, const std::string& caption, std::uint32_t type) {
    return AnswerBox(options, text, caption, type);
  });
  SetFileDialogAnswerer([&options](const FileDialogRequest& request) -> std::optional<std::string> {
    const std::string* answer = options.Answer(FileDialogAnswerKey(request));
    if (!answer || *answer == "cancel") return std::nullopt;
    return Utf8ToCp932(*answer);
  });
  // The launcher and the name entry: their answers are what the player would do in them.
  SetDialogAnswerer([&options](const std::string& name) -> std::optional<std::string> {
    const std::string* answer = options.Answer(name);
    if (!answer) return std::nullopt;
    return *answer;
  });
  return true;
}

int FinishReplayCheck(int code) {
  if (!s_Check.Active()) return code;
  std::string message;
  const int result = s_Check.Finish(&message);
  std::printf("%s\n", message.c_str());
  std::fflush(stdout);
  return code != 0 ? code : result;
}

void HeadlessWindowTick() {
  if (s_Run.headless) {
    PumpNullMidiOutputs();
    SettleOggStreams();
  }
  const std::int64_t at = s_ReactivateAt.load();
  if (at != 0 && SteadyMs() >= at) {
    s_ReactivateAt = 0;
    PostMainWindowMessage(WM_ACTIVATEAPP, 1, 0);
  }
}

void ResetHeadless() {
  s_Run = sRun{};
  s_Check = cReplayCheck{};
  s_Presented = 0;
  s_EscapeHeld = false;
  s_ReactivateAt = 0;
  if (s_ScriptInUse) SetInputSource(nullptr);
  s_ScriptInUse = false;
  s_Script.ReleaseKeys();
  SetFileDialogAnswerer({});
  SetDialogAnswerer({});
  SetBoxSink({});
}
