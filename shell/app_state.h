#pragma once
// The process-wide state of the program entry, shared by the window thread and the game thread.
#include <atomic>
#include <cstdint>

class cScreen;

// 1 when the editing program started this run for a test play (--editor).
extern std::atomic<std::int32_t> g_EditorLaunched;
// The wParam of the last WM_ACTIVATEAPP: nonzero while the program is active. Only the window
// thread writes it.
extern std::atomic<std::int32_t> g_AppActive;
// 1 once InitGame has succeeded.
extern std::atomic<std::uint8_t> g_Initialised;
// The main window while it exists (set by the start-up, cleared on WM_DESTROY).
extern std::atomic<cScreen*> g_hMainWnd;

// Holds the four game-side threads (game, pause, ranking, stage loader) at their next safe point,
// in that order, for the length of a modal dialog; ResumeWorkers lets them go in the same order.
void SuspendWorkers();
void ResumeWorkers();
