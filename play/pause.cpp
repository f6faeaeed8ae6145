#include "play/pause.h"

#include <mutex>

#include "platform/audio/sound_effects.h"
#include "platform/host/clock.h"
#include "platform/host/trace.h"
#include "platform/input/input.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "platform/services/thread.h"
#include "play/play_scene.h"
#include "play/stage_draw.h"
#include "shell/app_state.h"
#include "shell/headless.h"
#include "shell/main_window.h"
#include "shell/scene_manager.h"

namespace {

// Sounds of a key that ends a wait: the message's own, and every other kind's.
constexpr std::int32_t kMessageKeySound = 12;
constexpr std::int32_t kOtherKeySound = 1;
// While the program is inactive the thread waits on its queue this long at a time.
constexpr std::uint32_t kInactiveWaitMs = 2;
// The start message goes to a thread that has a queue from its start; a thread that has ended
// already (a close came first) takes none, and its caller must not wait for ever.
constexpr std::uint32_t kStartMessageTimeoutMs = 1000;

// The window thread reaches the play scene only through this, under the lock: the scene is never
// marked while it is being destroyed.
std::mutex s_CloseLock;
cPlayScene* s_CloseTarget = nullptr;

void MarkPlayClose() {
  std::lock_guard lock(s_CloseLock);
  if (s_CloseTarget != nullptr) s_CloseTarget->m_CloseRequested = 1;
}

// True when the queue held WM_QUIT; every other message is dropped.
bool DrainMessages() {
  while (auto msg = GetThreadMessageWithin(0))
    if (msg->message == WM_QUIT) return true;
  return false;
}

// The state of one pause run: the thread's own input and the close it has seen.
class cPauseLoop {
 public:
  explicit cPauseLoop(cPlayScene& scene) : m_Scene(scene), m_Request(scene.m_PauseRequest) {
    if (!g_Inputs.empty()) m_Input = g_Inputs[0];
    // Buttons already down when the wait begins are held back until every one has been released:
    // the key that closed a previous message must not close this one too. The game's own input
    // cannot tell (it swallows held buttons after a message), so the devices are asked.
    g_SceneManager.PollInput(m_Input);
    m_Input.m_TriggerLatch = m_Input.m_Buttons != 0 ? 1 : 0;
    m_Input.ClearHistory();
    m_Input.InitKeyHistories();
    m_Input.ClearDirection();
    m_Input.ClearButtons();
  }

  void Run() {
    for (;;) {
      if (DrainMessages() || MessageShutdownBegun()) return;
      // Inactive, or a headless run whose frames are all shown: no frame is drawn or counted.
      if (g_AppActive.load() == 0 || FrameBudgetSpent()) {
        if (auto msg = GetThreadMessageWithin(kInactiveWaitMs); msg && msg->message == WM_QUIT) return;
        continue;
      }
      if (m_Scene.m_CloseRequested.load() != 0) {
        WatchClose();
        continue;
      }
      g_SceneManager.WaitNextFrame();
      if (!g_SceneManager.RestoreLostSurfaces()) PostMainWindowMessage(WM_CLOSE, 0, 0);
      g_SceneManager.PollInput(m_Input);
      m_Input.PushHistory();
      m_Input.TriggerButtons(0);
      if (ServeReplayHotKeys() != 0) continue;
      if (Satisfied()) return;
      DrawStage(0, 1, 0, 1);
      g_SceneManager.PresentFrame();
    }
  }

 private:
  // The close: the window thread's WM_QUIT normally ends the loop; should it be lost, the thread
  // ends itself once the grace has passed. Nothing is drawn meanwhile.
  void WatchClose() {
    const std::uint32_t now = ClockMs();
    if (!m_CloseSeen) {
      m_CloseSeen = true;
      m_CloseSeenAt = now;
    } else if (now - m_CloseSeenAt >= kPauseCloseGraceMs) {
      PostThreadMessage(thPause.id.load(), WM_QUIT, 0, 0);
    }
    SleepMs(1);
  }

  // One frame's test of the request; true when the wait ends here.
  bool Satisfied() {
    if (m_Request.m_KeyDelay > 0) {
      --m_Request.m_KeyDelay;
      return false;
    }
    if (m_Request.m_WaitKey != 0) {
      if ((m_Input.GetPast(1, 1) & 1) != 0) return false;
      if ((m_Input.m_Buttons & 1) == 0) return false;
      PlaySE(m_Request.m_PauseKind == kPauseMessage ? kMessageKeySound : kOtherKeySound);
      m_Scene.m_SwallowButtons = 1;
      return true;
    }
    return --m_Request.m_PauseFrames < 0;
  }

  cPlayScene& m_Scene;
  cPauseRequest& m_Request;
  cInput m_Input;
  bool m_CloseSeen = false;
  std::uint32_t m_CloseSeenAt = 0;
};

}  // namespace

void InitPauseRequest(cPauseRequest& request, std::int32_t kind, std::int32_t waitKey, std::int32_t frames,
                      std::int32_t messageOpen) {
  request.m_PauseFrames = frames;
  request.m_PauseKind = kind;
  request.m_WaitKey = waitKey;
  request.m_PauseCounter = 0;
  request.m_KeyDelay = (waitKey != 0 && kind == kPauseMessage && messageOpen == 0) ? kMessageKeyDelay : 0;
}

std::uint32_t PauseThreadProc(void* arg) {
  auto& scene = *static_cast<cPlayScene*>(arg);
  if (scene.m_CloseRequested.load() != 0) return 0;
  cPauseLoop loop(scene);
  loop.Run();
  return 1;
}

void RunPause(cPlayScene& scene, bool postStartMessage) {
  if (scene.m_CloseRequested.load() != 0 || MessageShutdownBegun()) return;
  // Before the thread can present: the trace brackets the frames it draws.
  Trace(FormatString("pause %d", static_cast<int>(scene.m_PauseRequest.m_PauseKind)));
  if (!thPause.Start(PauseThreadProc, &scene)) {
    ReportLog("thPause : not started");
    return;
  }
  if (postStartMessage) PostThreadMessageWithin(thPause, kPauseStartMessage, kStartMessageTimeoutMs);
  thPause.Wait();
  Trace("pause end");
}

void AttachCloseRoad(cPlayScene& scene) {
  std::lock_guard lock(s_CloseLock);
  s_CloseTarget = &scene;
  g_PlayCloseHook = MarkPlayClose;
}

void DetachCloseRoad(cPlayScene& scene) {
  std::lock_guard lock(s_CloseLock);
  if (s_CloseTarget != &scene) return;
  s_CloseTarget = nullptr;
  g_PlayCloseHook = nullptr;
}
