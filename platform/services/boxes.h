#pragma once
// Message boxes of the game. While the display runs full screen a box is drawn by the display
// library inside the game screen; otherwise it is the host's box.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/host/box_sink.h"
#include "platform/services/format.h"

int MesBox(const std::string& text, const std::string& caption, std::uint32_t type);
int ErrBox(const std::string& text);
int ErrMesBox(const char* fmt, ...) PLAYER_PRINTF(1, 2);
// Only while the debug log is on, so never in this system.
int DebugMesBox(const char* fmt, ...) PLAYER_PRINTF(1, 2);
// "メモリが不足しています！", then WM_CLOSE to the main window.
void MemoryErrBox();

// The display library installs its own box here while it is up and full screen, and removes it
// (an empty function) when it leaves full screen or shuts down.
using FullScreenBox = std::function<int(const std::string& text, const std::string& caption, std::uint32_t type)>;
void SetFullScreenBox(FullScreenBox box);
