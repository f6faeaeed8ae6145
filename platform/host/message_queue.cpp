#include "platform/host/message_queue.h"

#include <chrono>
#include <unordered_map>
#include <utility>

namespace {

// One lock and one wake-up for every send in the process: sends are rare (dialogs, requests to the
// window thread), and a single lock lets shutdown release all waiting senders at once.
std::mutex s_SendLock;
std::condition_variable s_SendDone;
std::atomic<bool> s_Shutdown{false};  // written under s_SendLock

class cSendState {
 public:
  bool m_Answered = false;
  bool m_Cancelled = false;
  std::intptr_t m_Result = 0;
};

thread_local cMessageQueue* t_CurrentQueue = nullptr;

std::mutex s_RegistryLock;
std::unordered_map<std::uint32_t, std::shared_ptr<cMessageQueue>> s_ThreadQueues;

}  // namespace

// Travels with a sent message. Whoever handles the message answers it; when the last copy of the
// message goes away unanswered (queue cleared, thread ended), the sender is told it was cancelled.
class cSendTicket {
 public:
  explicit cSendTicket(std::shared_ptr<cSendState> state) : m_State(std::move(state)) {}
  cSendTicket(const cSendTicket&) = delete;
  cSendTicket& operator=(const cSendTicket&) = delete;
  ~cSendTicket() { Finish(std::nullopt); }

  void Finish(std::optional<std::intptr_t> result) {
    std::lock_guard lock(s_SendLock);
    if (m_Finished) return;
    m_Finished = true;
    if (result) {
      m_State->m_Answered = true;
      m_State->m_Result = *result;
    } else {
      m_State->m_Cancelled = true;
    }
    s_SendDone.notify_all();
  }

 private:
  std::shared_ptr<cSendState> m_State;
  bool m_Finished = false;  // guarded by s_SendLock
};

void cMessageQueue::Post(HostMessage msg) {
  if (msg.message == WM_QUIT) m_QuitPosted.store(true, std::memory_order_release);
  {
    std::lock_guard lock(m_Lock);
    m_Messages.push_back(std::move(msg));
  }
  m_Arrived.notify_one();
}

std::optional<HostMessage> cMessageQueue::TryTake() {
  std::lock_guard lock(m_Lock);
  if (m_Messages.empty()) return std::nullopt;
  HostMessage msg = std::move(m_Messages.front());
  m_Messages.pop_front();
  return msg;
}

std::optional<HostMessage> cMessageQueue::TakeWithin(std::uint32_t timeoutMs) {
  std::unique_lock lock(m_Lock);
  if (!m_Arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_Messages.empty(); }))
    return std::nullopt;
  HostMessage msg = std::move(m_Messages.front());
  m_Messages.pop_front();
  return msg;
}

HostMessage cMessageQueue::Take() {
  std::unique_lock lock(m_Lock);
  m_Arrived.wait(lock, [this] { return !m_Messages.empty(); });
  HostMessage msg = std::move(m_Messages.front());
  m_Messages.pop_front();
  return msg;
}

bool cMessageQueue::Empty() const {
  std::lock_guard lock(m_Lock);
  return m_Messages.empty();
}

void cMessageQueue::Clear() {
  std::deque<HostMessage> dropped;
  {
    std::lock_guard lock(m_Lock);
    dropped.swap(m_Messages);
  }
  // The dropped messages die here, outside the queue's lock, and cancel their sends.
}

std::optional<std::intptr_t> cMessageQueue::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  MessageHandler inlineHandler;
  bool onOwner = false;
  {
    std::lock_guard lock(m_Lock);
    onOwner = m_Owner == std::this_thread::get_id();
    if (onOwner) inlineHandler = m_OwnerHandler;
  }
  if (onOwner) {
    // Queuing would wait on ourselves for ever.
    if (!inlineHandler) return std::nullopt;
    return inlineHandler(HostMessage(message, wParam, lParam));
  }
  if (MessageShutdownBegun()) return std::nullopt;

  auto state = std::make_shared<cSendState>();
  HostMessage msg(message, wParam, lParam);
  msg.reply = std::make_shared<cSendTicket>(state);
  Post(std::move(msg));

  std::unique_lock lock(s_SendLock);
  s_SendDone.wait(lock, [&] { return state->m_Answered || state->m_Cancelled || s_Shutdown.load(); });
  if (state->m_Answered) return state->m_Result;
  return std::nullopt;
}

void cMessageQueue::BindToCurrentThread(MessageHandler handler) {
  {
    std::lock_guard lock(m_Lock);
    m_Owner = std::this_thread::get_id();
    m_OwnerHandler = std::move(handler);
  }
  t_CurrentQueue = this;
}

void cMessageQueue::UnbindFromCurrentThread() {
  {
    std::lock_guard lock(m_Lock);
    if (m_Owner == std::this_thread::get_id()) {
      m_Owner = std::thread::id();
      m_OwnerHandler = nullptr;
    }
  }
  if (t_CurrentQueue == this) t_CurrentQueue = nullptr;
}

void ReplyMessage(const HostMessage& msg, std::intptr_t result) {
  if (msg.reply) msg.reply->Finish(result);
}

bool IsSentMessage(const HostMessage& msg) { return msg.reply != nullptr; }

cMessageQueue* CurrentThreadQueue() { return t_CurrentQueue; }

std::shared_ptr<cMessageQueue> CreateThreadQueue(std::uint32_t threadId) {
  auto queue = std::make_shared<cMessageQueue>();
  std::lock_guard lock(s_RegistryLock);
  s_ThreadQueues[threadId] = queue;
  return queue;
}

void ReleaseThreadQueue(std::uint32_t threadId) {
  std::shared_ptr<cMessageQueue> released;
  std::lock_guard lock(s_RegistryLock);
  auto it = s_ThreadQueues.find(threadId);
  if (it == s_ThreadQueues.end()) return;
  // Keep the queue alive until the registry lock is let go: its last messages may cancel sends.
  released = std::move(it->second);
  s_ThreadQueues.erase(it);
}

std::shared_ptr<cMessageQueue> FindThreadQueue(std::uint32_t threadId) {
  std::lock_guard lock(s_RegistryLock);
  auto it = s_ThreadQueues.find(threadId);
  return it == s_ThreadQueues.end() ? nullptr : it->second;
}

bool PostThreadMessage(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  auto queue = FindThreadQueue(threadId);
  if (!queue) return false;
  queue->Post(HostMessage(message, wParam, lParam));
  return true;
}

void BeginMessageShutdown() {
  std::lock_guard lock(s_SendLock);
  s_Shutdown = true;
  s_SendDone.notify_all();
}

bool MessageShutdownBegun() { return s_Shutdown.load(); }

void ResetMessageShutdown() {
  std::lock_guard lock(s_SendLock);
  s_Shutdown = false;
}

cMessageQueue& MainWindowQueue() {
  static cMessageQueue queue;
  return queue;
}

void PostMainWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  MainWindowQueue().Post(HostMessage(message, wParam, lParam));
}

std::optional<std::intptr_t> SendMainWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return MainWindowQueue().Send(message, wParam, lParam);
}
