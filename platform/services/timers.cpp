#include "platform/services/timers.h"

#include "platform/host/clock.h"

namespace {

std::uint32_t s_StopwatchStart = 0;
std::uint32_t s_EveryNCounter = 0;

bool s_FpsStarted = false;
std::uint32_t s_FpsCount = 0;
std::uint32_t s_FpsValue = 0;
std::uint32_t s_FpsPublished = 0;

bool s_LimiterStarted = false;
std::uint32_t s_NextFrame = 0;

}  // namespace

void StopwatchStart() { s_StopwatchStart = ClockMs(); }

std::uint32_t StopwatchElapsed() { return ClockMs() - s_StopwatchStart; }

bool EveryN(std::int32_t mode, std::uint32_t n) {
  if (mode == 0) {
    s_EveryNCounter = 0;
    return false;
  }
  if (mode == 2) return s_EveryNCounter == 0;
  if (++s_EveryNCounter < n) return false;
  s_EveryNCounter = 0;
  return true;
}

std::uint32_t EveryNCount() { return s_EveryNCounter; }

std::uint32_t CountFPS() {
  const std::uint32_t now = ClockMs();
  if (!s_FpsStarted) {
    s_FpsStarted = true;
    s_FpsPublished = now;
  }
  // The unsigned difference is the time passed, also across the wrap.
  if (now - s_FpsPublished >= 1000) {
    s_FpsValue = s_FpsCount;
    s_FpsCount = 0;
    s_FpsPublished = now;
    return s_FpsValue;
  }
  ++s_FpsCount;
  return s_FpsValue;
}

bool FrameLimit(std::uint32_t fps) {
  const std::uint32_t now = ClockMs();
  if (!s_LimiterStarted) {
    s_LimiterStarted = true;
    s_NextFrame = now;
  }
  if (fps == 0) return true;
  // "Before the next frame time" by the signed difference: a next frame time just below the wrap
  // is not taken as lying far ahead of a clock that has just wrapped.
  if (static_cast<std::int32_t>(now - s_NextFrame) < 0) return false;
  s_NextFrame = now + 1000 / fps;
  return true;
}

void WaitFrameLimit(std::uint32_t fps) {
  while (!FrameLimit(fps)) WaitUntilMs(s_NextFrame);
}

void ResetTimers() {
  s_StopwatchStart = 0;
  s_EveryNCounter = 0;
  s_FpsStarted = false;
  s_FpsCount = 0;
  s_FpsValue = 0;
  s_FpsPublished = 0;
  s_LimiterStarted = false;
  s_NextFrame = 0;
}
