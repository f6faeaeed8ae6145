#pragma once
// The game thread's sound and music requests to the window thread, which owns the sound table and
// the music manager.
#include <cstdint>

#include "platform/host/message_queue.h"

// The option screen's audio changes: the window thread makes them, so they never meet the close
// stopping the music or releasing the sound table halfway.
constexpr std::uint32_t WM_GAME_SEVOLUME = WM_USER + 7;      // wParam: the volume step 0-10
constexpr std::uint32_t WM_GAME_RESTARTMUSIC = WM_USER + 8;  // the music manager as the option wants it

// The music slot of a menu scene: 0 title, 1 world map and its menu, 2 challenge, 3 option.
void RequestMenuBgm(std::int32_t slot);
// The stage music: keeps param in the progress record, then asks for tune (0 stops the music).
void RequestBGM(std::int32_t tune, std::int32_t param);
// PlaySE for the menus: the sound table's entry index, played by the window thread.
void RequestSound(std::int32_t index);
// Every sound effect to the volume of the option's step; returns when it is done (or at once once
// the program closes).
void RequestSoundVolume(std::int32_t step);
// The music manager released, and started again when the music option is on; returns when done.
void RequestRestartMusic();
