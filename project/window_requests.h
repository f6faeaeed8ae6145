#pragma once
// The game thread's requests for work that must run on the window thread: the name-entry dialog
// and the stage and replay file dialogs. The sender blocks until the window procedure has handled
// the request; the procedure leaves its outcome in the flags below before it returns.
#include <atomic>
#include <cstdint>

#include "platform/host/message_queue.h"

constexpr std::uint32_t WM_GAME_NAMEENTRY = WM_USER + 1;   // the name-entry dialog
constexpr std::uint32_t WM_GAME_OPENSTAGE = WM_USER + 2;   // stage file dialog, then the stage starts
constexpr std::uint32_t WM_GAME_OPENREPLAY = WM_USER + 3;  // replay file dialog, then the replay is read
constexpr std::uint32_t WM_GAME_SAVEREPLAY = WM_USER + 4;  // wParam 0: this attempt, else the one before

// Set to 1 by the window thread when a file-dialog request is finished.
extern std::atomic<std::int32_t> g_DialogDone;
// 1 when that dialog ended with a file, 0 when it was cancelled.
extern std::atomic<std::int32_t> g_DialogChosen;
// Set to 1 when the name-entry dialog has closed.
extern std::atomic<std::int32_t> g_NameEntryDone;

// Sends a file-dialog request to the main window and waits until the window thread has set
// g_DialogDone; true when the dialog ended with a file. False at once when the send was cancelled
// (no window thread took it, or shutdown has begun) and when shutdown begins while waiting: a window
// that is closing never finishes the request, and the game thread must not wait for it for ever.
bool SendDialogRequest(std::uint32_t message, std::uintptr_t wParam);
