#include "platform/host/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

std::atomic<bool> s_Virtual{false};
std::atomic<std::uint32_t> s_VirtualMs{0};

// How long before a deadline the sleep ends: enough for the system's timer slack and a late wake-up,
// short enough that the rest, waited on the clock, costs next to nothing.
constexpr std::chrono::microseconds kWakeAhead{300};

Steady::time_point SteadyStart() {
  static const Steady::time_point start = Steady::now();
  return start;
}

std::uint32_t SteadyMs() {
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - SteadyStart());
  return static_cast<std::uint32_t>(elapsed.count());
}

// The moment at which SteadyMs() reaches deadlineMs, the nearer one when the 32-bit value wraps.
Steady::time_point SteadyMomentOf(std::uint32_t deadlineMs, Steady::time_point now) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - SteadyStart());
  const std::int32_t ahead = static_cast<std::int32_t>(deadlineMs - static_cast<std::uint32_t>(elapsed.count()));
  return SteadyStart() + elapsed + std::chrono::milliseconds(ahead);
}

// Moves the virtual clock forward to deadlineMs; never back (another thread may have moved it on).
void AdvanceVirtualTo(std::uint32_t deadlineMs) {
  std::uint32_t now = s_VirtualMs.load();
  while (static_cast<std::int32_t>(deadlineMs - now) > 0 && !s_VirtualMs.compare_exchange_weak(now, deadlineMs)) {
  }
}

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

std::uint32_t ClockMs() { return s_Virtual ? s_VirtualMs.load() : SteadyMs(); }

void SleepMs(std::uint32_t ms) {
  if (s_Virtual) {
    s_VirtualMs += ms;
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void WaitUntilMs(std::uint32_t deadlineMs) {
  if (s_Virtual) {
    AdvanceVirtualTo(deadlineMs);
    return;
  }
  const Steady::time_point moment = SteadyMomentOf(deadlineMs, Steady::now());
  if (moment - Steady::now() > kWakeAhead) std::this_thread::sleep_until(moment - kWakeAhead);
  while (Steady::now() < moment) CpuRelax();
}

void UseVirtualClock(std::uint32_t startMs) {
  s_VirtualMs = startMs;
  s_Virtual = true;
}

void AdvanceVirtualClock(std::uint32_t ms) { s_VirtualMs += ms; }

void UseSteadyClock() { s_Virtual = false; }

bool IsVirtualClock() { return s_Virtual; }
