#include "platform/services/thread.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <system_error>

#include "platform/services/log.h"

cThread thGame;
cThread thPause;
cThread g_RankingThread;
cThread g_StageLoaderThread;

class cThreadControl {
 public:
  std::uint32_t m_Id = 0;
  std::shared_ptr<cMessageQueue> m_Queue;
  std::mutex m_Lock;
  std::condition_variable m_Changed;
  // Written under m_Lock; read without it only as the fast road of PassSafePoint.
  std::atomic<std::uint32_t> m_SuspendCount{0};
  bool m_Finished = false;  // guarded by m_Lock
  // Where the thread stands, for IsHeld.
  std::atomic<bool> m_AtGate{false};
  std::atomic<bool> m_WaitingForMessage{false};
};

namespace {

// The polls of Wait and Quit wait on the real clock, never on the game clock: a virtual clock
// must not move because a worker took its time to end.
constexpr auto kPollStep = std::chrono::milliseconds(1);
constexpr auto kGraceStep = std::chrono::milliseconds(10);

std::atomic<std::uint32_t> s_QuitGraceMs{kDefaultQuitGraceMs};
std::atomic<std::uint32_t> s_NextThreadId{1};

thread_local cThreadControl* t_Control = nullptr;

std::uint32_t NextThreadId() {
  std::uint32_t id = s_NextThreadId.fetch_add(1);
  return id != 0 ? id : s_NextThreadId.fetch_add(1);
}

// Waits up to `step` for the thread to end; true when it has.
bool WaitForEnd(cThreadControl& control, std::chrono::milliseconds step) {
  std::unique_lock lock(control.m_Lock);
  return control.m_Changed.wait_for(lock, step, [&] { return control.m_Finished; });
}

void RunThread(std::shared_ptr<cThreadControl> control, ThreadProc proc, void* arg) {
  t_Control = control.get();
  control->m_Queue->BindToCurrentThread();
  // Nothing may leave a thread procedure: what escapes is reported and the program is asked to
  // close, so there is still one way out.
  try {
    proc(arg);
  } catch (const std::exception& e) {
    ReportLog("Thread %u : %s", static_cast<unsigned>(control->m_Id), e.what());
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  } catch (...) {
    ReportLog("Thread %u : unknown exception", static_cast<unsigned>(control->m_Id));
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
  // From here posts to this thread fail, and senders still waiting on it are released.
  ReleaseThreadQueue(control->m_Id);
  control->m_Queue->UnbindFromCurrentThread();
  control->m_Queue->Clear();
  t_Control = nullptr;
  {
    std::lock_guard lock(control->m_Lock);
    control->m_Finished = true;
  }
  control->m_Changed.notify_all();
}

[[noreturn]] void EndStuckProgram(std::uint32_t id, std::uint32_t waitedMs) {
  ReportLog("Thread %u : still running %u ms after the quit request; the program ends", static_cast<unsigned>(id),
            static_cast<unsigned>(waitedMs));
  std::fflush(nullptr);
  // Returning would leave a thread running over objects that are about to be destroyed, and
  // killing it would leave its locks held: end here, with the log complete on disk. The exit code
  // tells whoever started the program that it did not end as it should.
  std::_Exit(kStuckThreadExitCode);
}

}  // namespace

cThread::~cThread() { Quit(); }

bool PostThreadMessageWithin(const cThread& thread, std::uint32_t message, std::uint32_t timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (thread.m_hThread) {
    if (PostThreadMessage(thread.id, message, 0, 0)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollStep);
  }
  return false;
}

bool cThread::Start(ThreadProc proc, void* arg) {
  if (!proc) return false;
  if (m_hThread) {
    if (!WaitForEnd(*m_Control, std::chrono::milliseconds(0))) return false;
    Join();  // it ended by itself and nobody waited for it
  }
  auto control = std::make_shared<cThreadControl>();
  control->m_Id = NextThreadId();
  control->m_Queue = CreateThreadQueue(control->m_Id);
  id = control->m_Id;
  m_hThread = control->m_Id;
  try {
    m_Thread = std::thread(RunThread, control, proc, arg);
  } catch (const std::system_error&) {
    ReleaseThreadQueue(control->m_Id);
    m_hThread = 0;
    return false;
  }
  m_Control = std::move(control);
  return true;
}

void cThread::Join() {
  m_Thread.join();
  m_Control.reset();
  m_hThread = 0;
}

void cThread::Wait() {
  if (!m_hThread) return;
  // A thread cannot see itself end.
  if (m_Thread.get_id() == std::this_thread::get_id()) return;
  while (!WaitForEnd(*m_Control, kPollStep)) {
  }
  Join();
}

bool cThread::Suspend() {
  if (!m_hThread) return true;
  std::lock_guard lock(m_Control->m_Lock);
  m_Control->m_SuspendCount.fetch_add(1);
  return true;
}

bool cThread::Resume() {
  if (!m_hThread) return true;
  {
    std::lock_guard lock(m_Control->m_Lock);
    if (m_Control->m_SuspendCount.load() == 0) return true;
    m_Control->m_SuspendCount.fetch_sub(1);
  }
  m_Control->m_Changed.notify_all();
  return true;
}

bool cThread::IsHeld() const {
  if (!m_hThread) return false;
  const cThreadControl& control = *m_Control;
  return control.m_SuspendCount.load() > 0 && (control.m_AtGate.load() || control.m_WaitingForMessage.load());
}

void cThread::Quit() {
  if (!m_hThread) return;
  cThreadControl& control = *m_Control;
  // However often it was suspended, it must run again to hear the request.
  {
    std::lock_guard lock(control.m_Lock);
    control.m_SuspendCount = 0;
  }
  control.m_Changed.notify_all();
  LogLine("Exit A");
  control.m_Queue->Post(HostMessage(WM_QUIT, 0, 0));
  LogLine("Exit B");
  LogLine("Exit C");
  // A thread quitting itself has heard the request; whoever waits for it will see it end.
  if (m_Thread.get_id() == std::this_thread::get_id()) return;

  std::uint32_t tries = 0;
  while (!WaitForEnd(control, kPollStep)) {
    control.m_Queue->Post(HostMessage(WM_QUIT, 0, 0));
    if (++tries < kQuitTries) continue;
    ReportLog("Thread %u : no answer to %u quit requests", static_cast<unsigned>(control.m_Id),
              static_cast<unsigned>(tries));
    const std::uint32_t graceMs = s_QuitGraceMs.load();
    std::uint32_t waitedMs = 0;
    while (!WaitForEnd(control, kGraceStep)) {
      waitedMs += static_cast<std::uint32_t>(kGraceStep.count());
      if (waitedMs >= graceMs) EndStuckProgram(control.m_Id, tries + waitedMs);
    }
    break;
  }
  LogLine("Exit D");
  Join();
  LogLine("Exit E");
}

void SetQuitGraceMs(std::uint32_t ms) { s_QuitGraceMs = ms; }

void PassSafePoint() {
  cThreadControl* control = t_Control;
  if (!control || control->m_SuspendCount.load(std::memory_order_acquire) == 0) return;
  std::unique_lock lock(control->m_Lock);
  control->m_AtGate = true;
  control->m_Changed.wait(lock, [&] { return control->m_SuspendCount.load() == 0; });
  control->m_AtGate = false;
}

// Waiting for a message counts as standing still: the thread does nothing until one comes.
class cMessageWait {
 public:
  cMessageWait() : m_Control(t_Control) {
    if (m_Control) m_Control->m_WaitingForMessage = true;
  }
  ~cMessageWait() {
    if (m_Control) m_Control->m_WaitingForMessage = false;
  }
  cMessageWait(const cMessageWait&) = delete;
  cMessageWait& operator=(const cMessageWait&) = delete;

 private:
  cThreadControl* m_Control;
};

bool QuitRequested() {
  cMessageQueue* queue = CurrentThreadQueue();
  return queue && queue->QuitPosted();
}

std::optional<HostMessage> GetThreadMessage() {
  cMessageQueue* queue = CurrentThreadQueue();
  if (!queue) return std::nullopt;
  PassSafePoint();
  std::optional<HostMessage> msg;
  {
    cMessageWait waiting;
    msg = queue->Take();
  }
  PassSafePoint();
  return msg;
}

std::optional<HostMessage> GetThreadMessageWithin(std::uint32_t timeoutMs) {
  cMessageQueue* queue = CurrentThreadQueue();
  if (!queue) return std::nullopt;
  PassSafePoint();
  std::optional<HostMessage> msg;
  {
    cMessageWait waiting;
    msg = timeoutMs ? queue->TakeWithin(timeoutMs) : queue->TryTake();
  }
  if (msg) PassSafePoint();
  return msg;
}
