#pragma once
// The small timing services of the frame loop, all in milliseconds of the host clock: a stopwatch,
// a shared every-N counter, a frame-rate counter and a frame limiter. One process-wide state each,
// used by the game thread only (no lock).
//
// The clock wraps after 2^32 ms. Every comparison of two times goes through their difference, so a
// run that crosses the wrap keeps its frames coming.
#include <cstdint>

void StopwatchStart();
// Milliseconds since the last StopwatchStart.
std::uint32_t StopwatchElapsed();

// mode 0: the counter becomes 0, false. mode 2: true when the counter is 0, nothing changes.
// Any other mode: the counter grows by 1; when it has reached n it returns to 0 and the result is
// true.
bool EveryN(std::int32_t mode, std::uint32_t n);
// The every-N counter as it stands (game state: the time limit counts with it).
std::uint32_t EveryNCount();

// Counts its calls; returns the number of calls in the last window of at least one second (this
// call not counted), 0 until the first second has passed.
std::uint32_t CountFPS();

// True when a frame may be drawn at fps frames per second (always, for fps 0); the next frame is
// due 1000 / fps ms after the call that granted this one.
bool FrameLimit(std::uint32_t fps);

// Waits until FrameLimit(fps) grants a frame and takes it: sleeps until the frame is due instead of
// polling the limiter.
void WaitFrameLimit(std::uint32_t fps);

// Forgets all timing state: the frame-rate counter and the frame limiter take the time of their
// next call as their start again (a fresh run; tests).
void ResetTimers();
