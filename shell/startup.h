#pragma once
// The program's start-up and shutdown on the window thread: InitGame brings a created, hidden main
// window to the point where the game thread can run its first frame (project data, settings,
// display, fonts, input, options, music, sound effects, world map and common palette, and the first
// scene); UnInitGame gives back what it took, also after a start-up that stopped half-way.
#include <cstdint>

// 1 when the game runs in a window (System.ini's WindowMode non-zero).
extern std::int32_t g_Windowed;
// 1 when a stage was started directly from the command line or System.ini.
extern std::int32_t g_TestPlay;
// DirectDraw only: 1 when the frame loop must not wait for the vertical blank to present.
extern std::int32_t g_TimerPresentation;

// lpCmdLine: a stage file to start at once (code page 932; null or empty for none). nCmdShow: how
// the window is first shown. True when the program may run; false after a fatal failure, whose text
// has been shown or logged.
bool InitGame(const char* lpCmdLine, int nCmdShow);
void UnInitGame();
