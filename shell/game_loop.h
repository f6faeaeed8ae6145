#pragma once
// The game thread: one frame of the scene manager after another while the program is active.
#include <cstdint>

// Thread procedure of thGame, started with a null argument, which it ignores. Ends with 1 at its
// WM_QUIT, or after a frame that could not restore a lost surface (then WM_CLOSE goes to the main
// window first).
std::uint32_t GameLoop(void* param);

// What one frame is; the scene manager's Frame unless tests put their own in. Returns 0 when the
// frame failed and the program must close.
using FrameFunction = int (*)();
void SetGameFrameFunction(FrameFunction frame);
