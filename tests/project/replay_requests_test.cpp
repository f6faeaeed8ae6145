// The game thread's requests to the window thread: the dialog request and its waiting, the replay
// hot keys and the title menu's replay item, against a stand-in for the window thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/host/message_queue.h"
#include "project/replay.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "tests/support/messages.h"

namespace {

using Sent = std::pair<std::uint32_t, std::uintptr_t>;

// The sound request of the sound effects (WM_USER + 5, wParam the sound's entry).
constexpr std::uint32_t kPlaySoundMessage = WM_USER + 5;

// Takes the main window's messages on its own thread, as the window thread does. handler gives the
// reply, or nullopt to drop a message unanswered (its sender is then told the send was cancelled).
class cWindowStandIn {
 public:
  using Handler = std::function<std::optional<std::intptr_t>(const HostMessage&)>;

  explicit cWindowStandIn(Handler handler) : m_Handler(std::move(handler)), m_Thread([this] { Run(); }) {}
  ~cWindowStandIn() {
    m_Stop = true;
    m_Thread.join();
  }
  cWindowStandIn(const cWindowStandIn&) = delete;
  cWindowStandIn& operator=(const cWindowStandIn&) = delete;

  std::vector<Sent> Seen() {
    std::lock_guard lock(m_Lock);
    return m_Seen;
  }

 private:
  void Run() {
    while (!m_Stop) {
      std::optional<HostMessage> msg = MainWindowQueue().TakeWithin(5);
      if (!msg) continue;
      {
        std::lock_guard lock(m_Lock);
        m_Seen.emplace_back(msg->message, msg->wParam);
      }
      if (std::optional<std::intptr_t> reply = m_Handler(*msg)) ReplyMessage(*msg, *reply);
    }
  }

  Handler m_Handler;
  std::mutex m_Lock;
  std::vector<Sent> m_Seen;
  std::atomic<bool> m_Stop{false};
  std::thread m_Thread;
};

// The window procedure's side of a file-dialog request: the outcome, then done, then the reply.
std::optional<std::intptr_t> FinishDialog(std::int32_t chosen) {
  g_DialogChosen = chosen;
  g_DialogDone = 1;
  return 0;
}

class DialogRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMessageShutdown();
    TakeMainWindowMessages(0);
    g_DialogDone = 0;
    g_DialogChosen = 0;
  }
  void TearDown() override {
    ResetMessageShutdown();
    TakeMainWindowMessages(0);
  }
};

TEST_F(DialogRequestTest, TheChosenFlagOfTheWindowThreadIsTheAnswer) {
  for (std::int32_t chosen : {1, 0}) {
    SCOPED_TRACE(chosen);
    std::atomic<std::int32_t> doneOnArrival{-1};
    g_DialogDone = 1;  // left over from an earlier request
    cWindowStandIn window([&](const HostMessage&) {
      doneOnArrival = g_DialogDone.load();
      return FinishDialog(chosen);
    });
    EXPECT_EQ(SendDialogRequest(WM_GAME_OPENSTAGE, 7), chosen != 0);
    EXPECT_EQ(doneOnArrival.load(), 0);
    EXPECT_EQ(window.Seen(), (std::vector<Sent>{{WM_USER + 2, 7}}));
  }
}

// A window procedure that answers first and finishes later (or never, when the window closes).
TEST_F(DialogRequestTest, TheSenderWaitsForDoneUntilShutdownBegins) {
  std::atomic<bool> answered{false};
  std::thread finisher;
  {
    cWindowStandIn window([&](const HostMessage&) -> std::optional<std::intptr_t> {
      answered = true;
      finisher = std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        FinishDialog(1);
      });
      return 0;
    });
    EXPECT_TRUE(SendDialogRequest(WM_GAME_SAVEREPLAY, 0));
    EXPECT_TRUE(answered.load());
    finisher.join();
  }
  cWindowStandIn silent([](const HostMessage&) -> std::optional<std::intptr_t> { return 0; });
  std::thread closer([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    BeginMessageShutdown();
  });
  EXPECT_FALSE(SendDialogRequest(WM_GAME_OPENREPLAY, 0));
  closer.join();
}

TEST_F(DialogRequestTest, NoAnswerMeansNotChosenAtOnce) {
  // Shutdown has begun: nothing is sent at all.
  BeginMessageShutdown();
  g_DialogChosen = 1;
  EXPECT_FALSE(SendDialogRequest(WM_GAME_OPENREPLAY, 0));
  EXPECT_EQ(TakeMainWindowMessages(WM_GAME_OPENREPLAY), 0);
  ResetMessageShutdown();

  // The window thread drops the request unanswered.
  {
    cWindowStandIn window([](const HostMessage&) -> std::optional<std::intptr_t> { return std::nullopt; });
    EXPECT_FALSE(SendDialogRequest(WM_GAME_OPENREPLAY, 0));
    EXPECT_EQ(window.Seen().size(), 1u);
  }

  // Sent on the window's own thread while it has no procedure to run.
  MainWindowQueue().BindToCurrentThread();
  EXPECT_FALSE(SendDialogRequest(WM_GAME_SAVEREPLAY, 1));
  MainWindowQueue().UnbindFromCurrentThread();
}

TEST_F(DialogRequestTest, TheTitleMenusReplayItemAsksForTheReplayDialog) {
  cWindowStandIn window([](const HostMessage&) { return FinishDialog(1); });
  EXPECT_EQ(RequestWindowAction(), 1u);
  EXPECT_EQ(window.Seen(), (std::vector<Sent>{{WM_USER + 3, 0}}));
}

class PlayHotKeysTest : public DialogRequestTest {
 protected:
  void SetUp() override {
    DialogRequestTest::SetUp();
    g_System.m_ReplayRecording = 1;
    g_ReplayHotKeyCooldown = 0;
    g_ReplaySaveKeyLatched = 0;
    g_ReplayRecord.ClearStreams();
    g_PrevReplayRecord.ClearStreams();
  }
  void TearDown() override {
    g_System.m_ReplayRecording = 0;
    g_ReplayHotKeyCooldown = 0;
    g_ReplaySaveKeyLatched = 0;
    g_ReplayRecord.ClearStreams();
    g_PrevReplayRecord.ClearStreams();
    DialogRequestTest::TearDown();
  }

  static void RecordOneFrame(cReplayRecord& record) {
    const std::uint16_t words[2] = {1, 2};
    record.RecordFrameInput(words);
  }
};

TEST_F(PlayHotKeysTest, WhichKeySavesWhichAttempt) {
  struct Case {
    const char* what;
    PlayHotKeys keys;
    std::int32_t replaySwitch;
    bool current;   // the attempt in progress has input
    bool previous;  // the attempt before it has input
    std::uint32_t result;
    std::vector<Sent> sent;
  };
  const Case cases[] = {
      {"F1 saves this attempt", {0, true, false}, 1, true, true, 1, {{kPlaySoundMessage, 1}, {WM_GAME_SAVEREPLAY, 0}}},
      {"F2 saves the one before",
       {0, false, true},
       1,
       true,
       true,
       1,
       {{kPlaySoundMessage, 1}, {WM_GAME_SAVEREPLAY, 1}}},
      {"F1 wins over F2", {0, true, true}, 1, true, true, 1, {{kPlaySoundMessage, 1}, {WM_GAME_SAVEREPLAY, 0}}},
      {"an empty attempt is refused", {0, false, true}, 1, true, false, 0, {{kPlaySoundMessage, 3}}},
      {"no key", {0, false, false}, 1, true, true, 0, {}},
      {"during a replay", {kTitleChoiceReplay, true, false}, 1, true, true, 0, {}},
      {"with the replay switch off", {0, true, false}, 0, true, true, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_ReplayRecord.ClearStreams();
    g_PrevReplayRecord.ClearStreams();
    if (c.current) RecordOneFrame(g_ReplayRecord);
    if (c.previous) RecordOneFrame(g_PrevReplayRecord);
    g_System.m_ReplayRecording = c.replaySwitch;
    g_ReplayHotKeyCooldown = 0;
    g_ReplaySaveKeyLatched = 0;
    cWindowStandIn window([](const HostMessage& msg) -> std::optional<std::intptr_t> {
      if (msg.message == WM_GAME_SAVEREPLAY) return FinishDialog(1);
      return 0;
    });
    EXPECT_EQ(HandlePlayHotKeys(c.keys), c.result);
    EXPECT_EQ(window.Seen(), c.sent);
  }
}

// A dialog answered at once (a window before the dialogs are drawn) comes back while the key is
// still down: the held key must not save again in every frame.
TEST_F(PlayHotKeysTest, AHeldKeySavesOncePerPress) {
  RecordOneFrame(g_ReplayRecord);
  RecordOneFrame(g_PrevReplayRecord);
  cWindowStandIn window([](const HostMessage& msg) -> std::optional<std::intptr_t> {
    if (msg.message == WM_GAME_SAVEREPLAY) return FinishDialog(1);
    return 0;
  });
  std::vector<std::uint32_t> results;
  const PlayHotKeys f1{0, true, false}, f2{0, false, true}, none{0, false, false}, both{0, true, true};
  for (const PlayHotKeys& keys : {f1, f1, f1, both, f2, none, f1, f1, none, f2}) results.push_back(HandlePlayHotKeys(keys));
  EXPECT_EQ(results, (std::vector<std::uint32_t>{1, 0, 0, 0, 0, 0, 1, 0, 0, 1}));
  int saves = 0;
  for (const Sent& sent : window.Seen()) saves += sent.first == WM_GAME_SAVEREPLAY;
  EXPECT_EQ(saves, 3);
}

// Holding a key over an empty attempt sounds once per 60 frames, not every frame.
TEST_F(PlayHotKeysTest, TheEmptyAttemptSoundWaits60Frames) {
  cWindowStandIn window([](const HostMessage&) -> std::optional<std::intptr_t> { return 0; });
  std::vector<int> soundFrames;
  for (int frame = 0; frame < 130; ++frame) {
    const std::size_t before = window.Seen().size();
    EXPECT_EQ(HandlePlayHotKeys({0, true, false}), 0u);
    if (window.Seen().size() > before) soundFrames.push_back(frame);
  }
  EXPECT_EQ(soundFrames, (std::vector<int>{0, 60, 120}));
  for (const Sent& sent : window.Seen()) EXPECT_EQ(sent, (Sent{kPlaySoundMessage, 3}));

  // The count goes on while no key is held, so a later press may sound at once.
  g_ReplayHotKeyCooldown = 0;
  HandlePlayHotKeys({0, false, true});
  for (int frame = 0; frame < 60; ++frame) HandlePlayHotKeys({0, false, false});
  const std::size_t before = window.Seen().size();
  HandlePlayHotKeys({0, false, true});
  EXPECT_EQ(window.Seen().size(), before + 1);
}

}  // namespace
