// The replay requests of the game thread: saving an attempt with the hot keys, and opening a replay
// from the title menu. The window thread runs the dialogs and the file work.
#include "platform/audio/sound_effects.h"
#include "project/replay.h"
#include "project/window_requests.h"

namespace {

// System sounds: the save request is heard, an empty recording is refused.
constexpr std::int32_t kSoundSaveRequested = 1;
constexpr std::int32_t kSoundNothingRecorded = 3;

}  // namespace

std::int32_t g_ReplayHotKeyCooldown = 0;
std::int32_t g_ReplaySaveKeyLatched = 0;

std::uint32_t HandlePlayHotKeys(const PlayHotKeys& keys) {
  if (keys.titleChoice == kTitleChoiceReplay || !ReplayRecordingOn()) return 0;
  if (g_ReplayHotKeyCooldown > 0) --g_ReplayHotKeyCooldown;

  const cReplayRecord* record = nullptr;
  std::uintptr_t which = 0;
  if (keys.f1Held) {
    record = &g_ReplayRecord;
    which = 0;
  } else if (keys.f2Held) {
    record = &g_PrevReplayRecord;
    which = 1;
  } else {
    g_ReplaySaveKeyLatched = 0;
    return 0;
  }
  // One press saves once: a key still held after its save (a dialog answered at once, or closed
  // before the key came up) would otherwise save again in every frame.
  if (g_ReplaySaveKeyLatched != 0) return 0;

  if (record->Empty()) {
    // A held key would otherwise sound every frame.
    if (g_ReplayHotKeyCooldown > 0) return 0;
    PlaySE(kSoundNothingRecorded);
    g_ReplayHotKeyCooldown = kReplayHotKeyCooldown;
    return 0;
  }
  PlaySE(kSoundSaveRequested);
  g_ReplaySaveKeyLatched = 1;
  SendDialogRequest(WM_GAME_SAVEREPLAY, which);
  return 1;
}

std::uint32_t RequestWindowAction() { return SendDialogRequest(WM_GAME_OPENREPLAY, 0) ? 1 : 0; }
