#include "platform/services/timers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "platform/host/clock.h"

namespace {

class TimersTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetTimers();
    UseSteadyClock();
  }
  void StartAt(std::uint32_t t0) {
    UseVirtualClock(t0);
    ResetTimers();
  }
  // Moves the virtual clock to t0 + offset.
  static void MoveTo(std::uint32_t t0, std::uint32_t offset) { AdvanceVirtualClock(t0 + offset - ClockMs()); }
};

struct TimedCall {
  std::uint32_t at;  // ms after the first call
  bool granted;
};

// The rows hold for every start time; the starts put the 32-bit wrap before, inside and after the
// interesting frames. 0xFFFFFFDC makes the frame due at 0xFFFFFFFC be asked for only after the wrap.
class FrameLimitTest : public TimersTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(FrameLimitTest, SixtyFramesPerSecondGrantsEvery16MsCountedFromTheGrant) {
  // The first call is the reference; a late grant makes the next frame count from itself.
  const std::vector<TimedCall> calls = {
      {0, true}, {15, false}, {16, true}, {31, false}, {45, true}, {60, false}, {61, true}, {61, false}, {77, true},
  };
  const std::uint32_t t0 = GetParam();
  StartAt(t0);
  for (const TimedCall& call : calls) {
    MoveTo(t0, call.at);
    EXPECT_EQ(FrameLimit(60), call.granted) << "at t0 + " << call.at;
  }
}

TEST_P(FrameLimitTest, ZeroFramesPerSecondAlwaysGrants) {
  const std::uint32_t t0 = GetParam();
  StartAt(t0);
  EXPECT_TRUE(FrameLimit(60));
  EXPECT_TRUE(FrameLimit(0));
  EXPECT_FALSE(FrameLimit(60));
  MoveTo(t0, 1);
  EXPECT_TRUE(FrameLimit(0));
}

INSTANTIATE_TEST_SUITE_P(StartTimes, FrameLimitTest, ::testing::Values(0u, 1000u, 0xFFFFFFDCu, 0xFFFFFFF0u));

TEST_F(TimersTest, FrameLimitKeepsTheRateOfAFrameLoopAcrossTheWrap) {
  StartAt(0xFFFFF000u);
  int frames = 0;
  // Ten virtual seconds polled every millisecond: 1000 / 16 frames a second, none lost at the wrap.
  for (int ms = 0; ms < 10000; ++ms) {
    if (FrameLimit(60)) ++frames;
    AdvanceVirtualClock(1);
  }
  EXPECT_EQ(frames, 625);
}

TEST_F(TimersTest, WaitFrameLimitMovesTheVirtualClockStraightToEachDueFrame) {
  for (std::uint32_t t0 : {0u, 0xFFFFFFF8u}) {
    StartAt(t0);
    WaitFrameLimit(60);
    EXPECT_EQ(ClockMs(), t0) << "the first frame is due at once";
    for (std::uint32_t frame = 1; frame <= 5; ++frame) {
      // Work that takes 3 ms of the frame; the wait takes the rest and no more.
      AdvanceVirtualClock(3);
      WaitFrameLimit(60);
      EXPECT_EQ(ClockMs(), t0 + 16 * frame);
    }
    WaitFrameLimit(0);
    EXPECT_EQ(ClockMs(), t0 + 80) << "no limit: no wait";
  }
}

TEST_F(TimersTest, WaitUntilOnTheSteadyClockEndsOnTimeWithoutKeepingTheProcessorBusy) {
  UseSteadyClock();
  const std::clock_t cpuBefore = std::clock();
  const auto wallBefore = std::chrono::steady_clock::now();
  std::uint32_t late = 0;
  for (int i = 0; i < 5; ++i) {
    const std::uint32_t deadline = ClockMs() + 20;
    WaitUntilMs(deadline);
    const std::uint32_t now = ClockMs();
    ASSERT_GE(static_cast<std::int32_t>(now - deadline), 0) << "never early";
    late = std::max(late, now - deadline);
  }
  const double wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore).count();
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
  EXPECT_GE(wallMs, 95.0);
  // A machine under load may wake a sleeper late (a busy build machine by ten milliseconds and more),
  // so lateness is bounded loosely. The processor time is what a busy wait would give away: all
  // 100 ms of it.
  EXPECT_LE(late, 40u);
  EXPECT_LT(cpuMs, 30.0) << "waited " << wallMs << " ms";
  WaitUntilMs(ClockMs() - 5);  // a deadline already passed returns at once
}

TEST_F(TimersTest, CountFpsPublishesTheCallsOfEachPastSecond) {
  // {ms after the first call, result}. Ten calls in the first second publish 10 at 1000 (that call
  // itself not counted); after a long pause the window stretches and holds what was called.
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> calls = {
      {0, 0},     {100, 0},   {200, 0},   {300, 0},  {400, 0},  {500, 0},  {600, 0},  {700, 0},  {800, 0},  {999, 0},
      {1000, 10}, {1500, 10}, {1999, 10}, {2000, 2}, {2400, 2}, {5000, 1}, {5001, 1}, {6001, 1}, {7001, 0},
  };
  for (std::uint32_t t0 : {0u, 0xFFFFFC00u}) {
    StartAt(t0);
    for (const auto& [at, value] : calls) {
      MoveTo(t0, at);
      EXPECT_EQ(CountFPS(), value) << "start " << t0 << ", at t0 + " << at;
    }
  }
}

TEST_F(TimersTest, CountFpsOfAPacedLoopIsItsFrameRate) {
  StartAt(0xFFFFF800u);
  std::uint32_t fps = 0;
  for (int ms = 0; ms < 3000; ++ms) {
    if (FrameLimit(60)) fps = CountFPS();
    AdvanceVirtualClock(1);
  }
  // 1000 / 16 = 62.5 frames a second: a window of at least 1000 ms holds 62 counted frames.
  EXPECT_EQ(fps, 62u);
}

TEST_F(TimersTest, EveryNCountsSharedCallsAndRestarts) {
  struct Call {
    std::int32_t mode;
    std::uint32_t n;
    bool result;
  };
  // The counter starts at 0; mode 2 is true right after a true result; mode 0 restarts; n of 0 or
  // 1 is reached at once; any mode but 0 and 2 counts.
  const std::vector<Call> calls = {
      {2, 3, true},   {1, 3, false}, {1, 3, false}, {1, 3, true},  {2, 60, true}, {1, 3, false},
      {2, 60, false}, {0, 3, false}, {2, 60, true}, {1, 3, false}, {1, 3, false}, {1, 3, true},
      {1, 1, true},   {1, 1, true},  {1, 0, true},  {5, 2, false}, {-1, 2, true},
  };
  StartAt(0);
  for (std::size_t i = 0; i < calls.size(); ++i)
    EXPECT_EQ(EveryN(calls[i].mode, calls[i].n), calls[i].result) << "call " << i;
}

TEST_F(TimersTest, EveryNIsTrueOnEverySixtiethCallAndRestartsOnModeZero) {
  StartAt(0);
  int sinceRestart = 0;
  for (int call = 1; call <= 400; ++call) {
    ++sinceRestart;
    EXPECT_EQ(EveryN(1, 60), sinceRestart % 60 == 0) << "call " << call;
    if (call == 90) {
      EXPECT_FALSE(EveryN(0, 60));
      sinceRestart = 0;
    }
  }
}

TEST_F(TimersTest, StopwatchMeasuresAcrossTheWrap) {
  for (std::uint32_t t0 : {5000u, 0xFFFFFF00u}) {
    StartAt(t0);
    StopwatchStart();
    MoveTo(t0, 0x200);
    EXPECT_EQ(StopwatchElapsed(), 0x200u);
    MoveTo(t0, 0x250);
    EXPECT_EQ(StopwatchElapsed(), 0x250u);
  }
}

}  // namespace
