#pragma once
// The millisecond clock of the frame loop and the timers. Normally the host's steady clock; tests
// and headless runs swap in a virtual clock that moves only when told to, so timing is exact.
#include <cstdint>

// Milliseconds since an arbitrary start; wraps after 2^32 like the clock it stands in for.
std::uint32_t ClockMs();

// Sleeps ms milliseconds. On the virtual clock the sleep moves the clock on by ms instead.
void SleepMs(std::uint32_t ms);

// Returns once ClockMs() has reached deadlineMs (at once when it has; times compare by their signed
// difference, so the wrap is crossed). The steady clock sleeps until shortly before the moment and
// then watches the clock for the rest, so the wait ends on time without keeping a core busy; the
// virtual clock moves on to the deadline at once.
void WaitUntilMs(std::uint32_t deadlineMs);

void UseVirtualClock(std::uint32_t startMs);
void AdvanceVirtualClock(std::uint32_t ms);
void UseSteadyClock();
bool IsVirtualClock();
