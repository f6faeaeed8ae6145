#include "shell/game_loop.h"

#include <atomic>

#include "platform/services/log.h"
#include "platform/services/thread.h"
#include "shell/app_state.h"
#include "shell/headless.h"
#include "shell/scene_manager.h"

namespace {

int SceneManagerFrame() { return g_SceneManager.Frame(); }

std::atomic<FrameFunction> s_Frame{SceneManagerFrame};

// While no frame may run the thread waits on its queue this long at a time, instead of spinning;
// the order of messages and frames is the same either way.
constexpr std::uint32_t kIdleWaitMs = 2;

// True when the thread must end.
bool IsQuit(const HostMessage& msg) {
  if (msg.message != WM_QUIT) return false;
  LogF("GameLoop WM_QUIT!");
  return true;
}

}  // namespace

void SetGameFrameFunction(FrameFunction frame) { s_Frame = frame ? frame : SceneManagerFrame; }

std::uint32_t GameLoop(void*) {
  for (;;) {
    // Every other message is dropped; a sender among them is told it was not handled.
    if (auto msg = GetThreadMessageWithin(0)) {
      if (IsQuit(*msg)) return 1;
      continue;
    }
    if (g_AppActive.load() == 0 || FrameBudgetSpent()) {
      if (auto msg = GetThreadMessageWithin(kIdleWaitMs); msg && IsQuit(*msg)) return 1;
      continue;
    }
    if (s_Frame.load()() == 0) {
      PostMainWindowMessage(WM_CLOSE, 0, 0);
      return 1;
    }
  }
}
