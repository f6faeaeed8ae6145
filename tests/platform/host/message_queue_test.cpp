#include "platform/host/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Sends hold real threads; every test leaves the process as it found it.
class MessageQueueTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetMessageShutdown();
    MainWindowQueue().UnbindFromCurrentThread();
    MainWindowQueue().Clear();
  }

  // Waits (briefly, on the real clock) until queue holds a message.
  static bool WaitForMessage(const cMessageQueue& queue) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (queue.Empty()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::yield();
    }
    return true;
  }
};

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderAndWmQuitIsNoted) {
  cMessageQueue queue;
  queue.Post(HostMessage(WM_USER + 1, 10, -20));
  EXPECT_FALSE(queue.QuitPosted());
  queue.Post(HostMessage(WM_QUIT));
  EXPECT_TRUE(queue.QuitPosted());

  auto first = queue.TryTake();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->message, WM_USER + 1);
  EXPECT_EQ(first->wParam, 10u);
  EXPECT_EQ(first->lParam, -20);
  EXPECT_FALSE(IsSentMessage(*first));
  EXPECT_EQ(queue.Take().message, WM_QUIT);
  EXPECT_FALSE(queue.TakeWithin(1));
  // Taking the WM_QUIT does not make the request go away: a busy thread may look later.
  EXPECT_TRUE(queue.QuitPosted());
}

TEST_F(MessageQueueTest, SendWaitsForTheOwnersReply) {
  cMessageQueue queue;
  std::optional<std::intptr_t> result;
  std::atomic<bool> returned{false};
  std::thread sender([&] {
    result = queue.Send(WM_USER + 5, 7, 8);
    returned = true;
  });
  HostMessage msg = queue.Take();
  EXPECT_EQ(msg.message, WM_USER + 5);
  EXPECT_TRUE(IsSentMessage(msg));
  EXPECT_FALSE(returned);
  ReplyMessage(msg, 1234);
  ReplyMessage(msg, 99);  // a second answer changes nothing
  sender.join();
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, 1234);
}

TEST_F(MessageQueueTest, SendOnTheOwnersThreadRunsTheHandlerInline) {
  cMessageQueue queue;
  queue.BindToCurrentThread([](const HostMessage& msg) { return static_cast<std::intptr_t>(msg.wParam * 2); });
  EXPECT_EQ(CurrentThreadQueue(), &queue);
  EXPECT_EQ(queue.Send(WM_USER, 21, 0), 42);
  EXPECT_TRUE(queue.Empty());

  // Without a handler the owner's own send cannot be answered: cancelled, never a wait on itself.
  queue.BindToCurrentThread();
  EXPECT_EQ(queue.Send(WM_USER, 21, 0), std::nullopt);
  EXPECT_TRUE(queue.Empty());

  queue.UnbindFromCurrentThread();
  EXPECT_EQ(CurrentThreadQueue(), nullptr);
}

TEST_F(MessageQueueTest, BlockedSendIsReleasedAsCancelledAtShutdown) {
  std::optional<std::intptr_t> result = 5;
  std::thread sender([&] { result = SendMainWindowMessage(WM_USER + 1, 0, 0); });
  // The window thread is busy elsewhere and never answers.
  ASSERT_TRUE(WaitForMessage(MainWindowQueue()));
  BeginMessageShutdown();
  sender.join();
  EXPECT_EQ(result, std::nullopt);
  EXPECT_TRUE(MessageShutdownBegun());

  // The late answer of the window thread reaches nobody and harms nothing.
  auto late = MainWindowQueue().TryTake();
  ASSERT_TRUE(late);
  ReplyMessage(*late, 1);

  // New sends do not even queue.
  EXPECT_EQ(SendMainWindowMessage(WM_USER + 2, 0, 0), std::nullopt);
  EXPECT_TRUE(MainWindowQueue().Empty());
  // Posting goes on: the window thread still drains its queue while it closes.
  PostMainWindowMessage(WM_CLOSE, 0, 0);
  EXPECT_FALSE(MainWindowQueue().Empty());
}

TEST_F(MessageQueueTest, SentMessageDroppedUnansweredCancelsTheSend) {
  cMessageQueue queue;
  std::optional<std::intptr_t> result = 5;
  std::thread sender([&] { result = queue.Send(WM_USER, 0, 0); });
  ASSERT_TRUE(WaitForMessage(queue));
  queue.Clear();
  sender.join();
  EXPECT_EQ(result, std::nullopt);
  EXPECT_FALSE(MessageShutdownBegun());
}

TEST_F(MessageQueueTest, SendToTheMainWindowIsAnsweredByTheWindowThread) {
  // This test's thread plays the window thread.
  MainWindowQueue().BindToCurrentThread([](const HostMessage& msg) { return msg.lParam + 1; });
  EXPECT_EQ(SendMainWindowMessage(WM_USER + 3, 0, 41), 42);

  std::optional<std::intptr_t> result;
  std::thread worker([&] { result = SendMainWindowMessage(WM_USER + 3, 0, 9); });
  HostMessage msg = MainWindowQueue().Take();
  ReplyMessage(msg, msg.lParam * 10);
  worker.join();
  EXPECT_EQ(result, 90);
}

TEST_F(MessageQueueTest, PostThreadMessageReachesOnlyRegisteredThreads) {
  constexpr std::uint32_t kId = 0xABCD0001;
  EXPECT_FALSE(PostThreadMessage(kId, WM_QUIT, 0, 0));
  auto queue = CreateThreadQueue(kId);
  EXPECT_EQ(FindThreadQueue(kId), queue);
  EXPECT_TRUE(PostThreadMessage(kId, WM_USER + 7, 1, 2));
  ReleaseThreadQueue(kId);
  EXPECT_FALSE(PostThreadMessage(kId, WM_USER + 8, 0, 0));
  EXPECT_EQ(FindThreadQueue(kId), nullptr);
  // What arrived before the release is still there for whoever holds the queue.
  auto msg = queue->TryTake();
  ASSERT_TRUE(msg);
  EXPECT_EQ(msg->message, WM_USER + 7);
  EXPECT_TRUE(queue->Empty());
}

}  // namespace
