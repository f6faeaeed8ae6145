#pragma once
// The worker threads of the game: the game thread, the pause-drawing thread, the ranking thread and
// the stage loader. Each runs one procedure and has its own message queue, made before the thread
// starts so that no message posted to a new thread is lost.
//
// Nothing here stops a thread from outside. Suspending closes a gate that the thread passes at its
// safe points (PassSafePoint, and every wait for a message); quitting opens the gate and asks the
// thread by WM_QUIT until it ends. A thread that stays deaf to that is reported and the program
// ends, rather than being killed with its locks held.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "platform/host/message_queue.h"

// A thread procedure: one pointer argument, a 32-bit exit code.
using ThreadProc = std::uint32_t (*)(void* arg);

// What the controlling thread and the running thread share for one run.
class cThreadControl;

class cThread {
 public:
  cThread() = default;
  cThread(const cThread&) = delete;
  cThread& operator=(const cThread&) = delete;
  // A thread still running at the end of the program is stopped.
  ~cThread();

  // Runs proc(arg) on a new thread. False when it cannot be started, and when this object's
  // previous thread is still running (it is never lost); m_hThread then stays as it was.
  bool Start(ThreadProc proc, void* arg);
  // For a thread that ends by itself: blocks until it has, in steps of at most 1 ms.
  void Wait();
  // True when no thread runs; otherwise closes the gate and returns at once. The thread stops at
  // its next safe point. Suspensions count, as Resume undoes one each.
  bool Suspend();
  // True when no thread runs; otherwise undoes one Suspend.
  bool Resume();
  // True while the thread is suspended and has stopped: at its gate, or waiting for a message.
  // Suspend does not wait for that; a caller that must know the thread is still can poll this.
  bool IsHeld() const;
  // Stops the thread: opens its gate, posts WM_QUIT and asks again every 1 ms until it ends.
  // Nothing when no thread runs.
  void Quit();

  // Target of the thread's messages; 0 before the first start.
  std::atomic<std::uint32_t> id{0};
  // Non-zero while a thread runs (from Start until Wait or Quit has seen it end).
  std::atomic<std::uintptr_t> m_hThread{0};

 private:
  void Join();

  std::thread m_Thread;
  std::shared_ptr<cThreadControl> m_Control;
};

// Posts a thread message to thread as soon as its queue takes it, trying every 1 ms for at most
// timeoutMs: true once it was taken; false at once when no thread runs, or when the time ran out.
bool PostThreadMessageWithin(const cThread& thread, std::uint32_t message, std::uint32_t timeoutMs);

extern cThread thGame;
extern cThread thPause;
extern cThread g_RankingThread;
extern cThread g_StageLoaderThread;

// Quit asks 200 times, 1 ms apart. A thread that has not ended then gets this much longer (in
// steps) before it is reported again and the program ends. Tests shorten it.
constexpr std::uint32_t kQuitTries = 200;
constexpr std::uint32_t kDefaultQuitGraceMs = 5000;
// The exit code of a program ended that way: 0, like every other way the program ends.
constexpr int kStuckThreadExitCode = 0;
void SetQuitGraceMs(std::uint32_t ms);

// For code running on a cThread (on any other thread these do nothing and wait for nothing).
// Stops here while the thread is suspended.
void PassSafePoint();
// True once WM_QUIT has been posted to the calling thread: for busy loops that do not read their
// queue.
bool QuitRequested();
// Waits for the next message of the calling thread's queue, passing the gate before and after the
// wait: a suspended thread does not act on messages. Nullopt on a thread without a queue.
std::optional<HostMessage> GetThreadMessage();
// As GetThreadMessage, but waits at most timeoutMs (0: only looks).
std::optional<HostMessage> GetThreadMessageWithin(std::uint32_t timeoutMs);
