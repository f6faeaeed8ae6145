#include "platform/host/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<bool> s_Virtual{false};
std::atomic<std::uint32_t> s_VirtualMs{0};

std::uint32_t SteadyMs() {
  static const auto start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return static_cast<std::uint32_t>(elapsed.count());
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

void UseVirtualClock(std::uint32_t startMs) {
  s_VirtualMs = startMs;
  s_Virtual = true;
}

void AdvanceVirtualClock(std::uint32_t ms) { s_VirtualMs += ms; }

void UseSteadyClock() { s_Virtual = false; }

bool IsVirtualClock() { return s_Virtual; }
