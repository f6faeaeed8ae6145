// The pause thread: the requests, the frames a wait lasts, the key it waits for (delay, fresh press),
// the close that ends it, and the inactive program that neither draws nor counts.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/play/pause_fixture.h"

namespace {

using playtest::PauseTest;

constexpr int kSoundMessageKey = 12;
constexpr int kSoundOtherKey = 1;

TEST(PauseRequest, Init) {
  struct Case {
    std::int32_t kind, waitKey, frames, messageOpen;
    cPauseRequest expected;
  };
  const Case cases[] = {
      {kPauseMessage, 1, 0, 0, {kPauseMessage, kMessageKeyDelay, 1, 0, 0}},
      {kPauseMessage, 1, 0, 1, {kPauseMessage, 0, 1, 0, 0}},
      {kPauseMessage, 0, 42, 0, {kPauseMessage, 0, 0, 42, 0}},
      {kPausePicture, 1, 0, 0, {kPausePicture, 0, 1, 0, 0}},
      {kPauseEffect, 0, 30, 0, {kPauseEffect, 0, 0, 30, 0}},
      {kPauseExtraLife, 0, 30, 0, {kPauseExtraLife, 0, 0, 30, 0}},
  };
  for (const Case& c : cases) {
    cPauseRequest request{9, 9, 9, 9, 9};
    InitPauseRequest(request, c.kind, c.waitKey, c.frames, c.messageOpen);
    EXPECT_EQ(request.m_PauseKind, c.expected.m_PauseKind);
    EXPECT_EQ(request.m_KeyDelay, c.expected.m_KeyDelay) << c.kind << " " << c.messageOpen;
    EXPECT_EQ(request.m_WaitKey, c.expected.m_WaitKey);
    EXPECT_EQ(request.m_PauseFrames, c.expected.m_PauseFrames);
    EXPECT_EQ(request.m_PauseCounter, 0);
  }
}

TEST_F(PauseTest, TimedRequestsDrawExactlyTheirFramesWithoutSound) {
  for (std::int32_t frames : {0, 1, 60}) {
    ResetHeadless();
    InitPauseRequest(m_Scene->m_PauseRequest, kPauseEffect, 0, frames, 0);
    const std::int32_t frameCount = m_Scene->m_FrameCount;
    RunPauseAsGame(false);
    EXPECT_EQ(PresentedFrameCount(), static_cast<std::uint32_t>(frames));
    EXPECT_EQ(m_Scene->m_FrameCount, frameCount) << "the logic stood still";
  }
  EXPECT_TRUE(m_Sounds.empty());
}

TEST_F(PauseTest, KeyWaits) {
  // Z is button 1. Lines: from the frame after the line's number, these keys are down.
  struct Case {
    const char* name;
    std::int32_t kind, messageOpen;
    const char* script;
    std::uint32_t frames;  // drawn before the key ended the wait
    int sound;
  };
  const Case cases[] = {
      // Down when the wait began, then let go: a message ignores the key for 10 frames, then takes
      // the first fresh press; an open message takes it at once.
      {"delay", kPauseMessage, 0, "0 Z\n3\n14 Z\n", 14, kSoundMessageKey},
      {"first after the delay", kPauseMessage, 0, "10 Z\n", 10, kSoundMessageKey},
      {"pressed in the delay", kPauseMessage, 0, "9 Z\n10\n20 Z\n", 20, kSoundMessageKey},
      {"open message", kPauseMessage, 1, "1 Z\n", 1, kSoundMessageKey},
      // Held from before the wait (the key that closed the message before) does not count.
      {"held through the delay", kPauseMessage, 0, "0 Z\n20\n25 Z\n", 25, kSoundMessageKey},
      {"held from before", kPausePicture, 0, "0 Z\n5\n7 Z\n", 7, kSoundOtherKey},
      // Other buttons do not end it, and a button held on from them is no fresh press.
      {"other buttons", kPausePicture, 0, "0 X\n3\n4 C\n5\n6 Z\n", 6, kSoundOtherKey},
      {"switched without release", kPausePicture, 0, "2 C\n4 Z\n5\n8 Z\n", 8, kSoundOtherKey},
  };
  for (const Case& c : cases) {
    ResetHeadless();
    m_Sounds.clear();
    Script(c.script);
    m_Scene->m_SwallowButtons = 0;
    InitPauseRequest(m_Scene->m_PauseRequest, c.kind, 1, 0, c.messageOpen);
    RunPauseAsGame(c.kind == kPauseMessage);
    EXPECT_EQ(PresentedFrameCount(), c.frames) << c.name;
    EXPECT_EQ(m_Sounds, std::vector<int>{c.sound}) << c.name;
    EXPECT_EQ(m_Scene->m_SwallowButtons, 1) << c.name;
  }
}

TEST_F(PauseTest, CloseEndsTheWait) {
  for (bool lost : {false, true}) {
    ResetHeadless();
    m_Scene->m_CloseRequested = 0;
    InitPauseRequest(m_Scene->m_PauseRequest, kPausePicture, 1, 0, 0);
    RunPauseAsGame(false, CloseAt(5, lost));
    EXPECT_EQ(m_Scene->m_CloseRequested.load(), 1);
    const std::uint32_t waited = ClockMs() - m_ClosedAtMs;
    if (lost) {
      // The thread ended itself once the grace had passed, drawing nothing meanwhile.
      EXPECT_GE(waited, kPauseCloseGraceMs);
      EXPECT_LE(waited, kPauseCloseGraceMs + 100);
    }
    EXPECT_TRUE(m_Sounds.empty());
  }
  // Closing already: no thread, no frame.
  ResetHeadless();
  InitPauseRequest(m_Scene->m_PauseRequest, kPauseEffect, 0, 30, 0);
  EXPECT_EQ(PauseThreadProc(m_Scene.get()), 0u);
  RunPauseAsGame(true);
  EXPECT_EQ(PresentedFrameCount(), 0u);
  // The play scene leaves the close road with it.
  m_Scene.reset();
  g_PlayScene = nullptr;
  EXPECT_EQ(g_PlayCloseHook.load(), nullptr);
}

TEST_F(PauseTest, InactiveProgramNeitherDrawsNorCounts) {
  g_AppActive = 0;
  InitPauseRequest(m_Scene->m_PauseRequest, kPauseGameWait, 0, 10, 0);
  const auto start = std::chrono::steady_clock::now();
  RunPauseAsGame(false, [&] {
    if (g_AppActive.load() != 0 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(50)) return;
    EXPECT_EQ(PresentedFrameCount(), 0u);
    g_AppActive = 1;
  });
  EXPECT_EQ(PresentedFrameCount(), 10u);
}

}  // namespace
