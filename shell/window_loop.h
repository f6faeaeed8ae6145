#pragma once
// The window thread's message loop: the window's own events, the main window's queue (messages
// posted to it and requests sent to it), the newest frame to show, and in headless runs the sound
// outputs that only move when pumped. While the program is active the loop polls; while it is
// inactive it sleeps until something arrives.
#include <cstdint>

// Makes the calling thread the main window's: requests sent from this thread run at once.
void BindWindowThread();
void UnbindWindowThread();

// Runs until the window's destruction posts WM_QUIT; its wParam.
std::intptr_t RunWindowLoop();
