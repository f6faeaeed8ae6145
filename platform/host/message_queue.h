#pragma once
// Messages between the program's threads, standing in for the window messages of the system the
// game was written for. The numbers are the game's own.
//
// Every thread that takes messages has one queue. Posting never blocks. Sending blocks the sender
// until the queue's owner has handled the message and replied; on the owner's own thread the
// owner's handler runs at once instead, so a thread never waits on itself. Once shutdown has begun
// every waiting and every new send returns at once as cancelled, so no thread waits forever for a
// window thread that is closing.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr std::uint32_t WM_COPYDATA = 0x004A;
constexpr std::uint32_t WM_USER = 0x0400;

class cSendTicket;

struct HostMessage {
  HostMessage() = default;
  HostMessage(std::uint32_t msg, std::uintptr_t w = 0, std::intptr_t l = 0) : message(msg), wParam(w), lParam(l) {}

  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  // Set on a sent message: the sender waits on it. Empty on a posted one.
  std::shared_ptr<cSendTicket> reply;
};

// Handles one message on the owner's thread and gives the send's result.
using MessageHandler = std::function<std::intptr_t(const HostMessage&)>;

// A thread's queue: any thread posts or sends, its owner takes.
class cMessageQueue {
 public:
  void Post(HostMessage msg);
  std::optional<HostMessage> TryTake();
  // Waits up to timeoutMs for a message.
  std::optional<HostMessage> TakeWithin(std::uint32_t timeoutMs);
  // Waits for a message however long it takes.
  HostMessage Take();
  bool Empty() const;
  // Drops every waiting message; their senders are told the send was cancelled.
  void Clear();

  // True once a WM_QUIT has been posted here, taken or not. A busy thread polls this instead of
  // reading its whole queue.
  bool QuitPosted() const { return m_QuitPosted.load(std::memory_order_acquire); }

  // Enqueues msg and waits until the owner has replied (ReplyMessage); the reply's value, or
  // nullopt when the send was cancelled (shutdown, or the message was dropped unanswered). On the
  // owner's thread the owner's handler runs inline; without one the send is cancelled at once.
  std::optional<std::intptr_t> Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  // Makes the calling thread this queue's owner: sends from it run handler inline, and
  // CurrentThreadQueue() on it returns this queue.
  void BindToCurrentThread(MessageHandler handler = {});
  // Undoes BindToCurrentThread on the calling thread.
  void UnbindFromCurrentThread();

 private:
  mutable std::mutex m_Lock;
  std::condition_variable m_Arrived;
  std::deque<HostMessage> m_Messages;
  std::atomic<bool> m_QuitPosted{false};
  std::thread::id m_Owner;
  MessageHandler m_OwnerHandler;
};

// Answers a sent message taken from a queue; nothing for a posted one or one answered already.
void ReplyMessage(const HostMessage& msg, std::intptr_t result);
// True when msg was sent (a sender waits for its reply).
bool IsSentMessage(const HostMessage& msg);

// The queue bound to the calling thread, or null.
cMessageQueue* CurrentThreadQueue();

// Queues of the worker threads, found by thread identifier. The queue exists before its thread
// runs, so the first message posted to a new thread is never lost.
std::shared_ptr<cMessageQueue> CreateThreadQueue(std::uint32_t threadId);
// After this, posts to threadId fail; the queue lives on while someone still holds it.
void ReleaseThreadQueue(std::uint32_t threadId);
std::shared_ptr<cMessageQueue> FindThreadQueue(std::uint32_t threadId);
// PostThreadMessage: false when no thread of that identifier has a queue.
bool PostThreadMessage(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// Shutdown: from now on every waiting send and every new one returns as cancelled.
void BeginMessageShutdown();
bool MessageShutdownBegun();
// Leaves the shutdown state again, for a fresh run in the same process (tests).
void ResetMessageShutdown();

// The main window's queue. The window thread drains it once it exists; until then posted requests
// (a WM_CLOSE from a failed check, say) wait there.
cMessageQueue& MainWindowQueue();

// PostMessage to the main window: never blocks.
void PostMainWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// SendMessage to the main window: the window procedure's result, or nullopt when cancelled.
std::optional<std::intptr_t> SendMainWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
