#pragma once
// The game thread's sound and music requests to the window thread, which owns the sound table and
// the music manager.
#include <cstdint>

// The music slot of a menu scene: 0 title, 1 world map and its menu, 2 challenge, 3 option.
void RequestMenuBgm(std::int32_t slot);
// The stage music: keeps param in the progress record, then asks for tune (0 stops the music).
void RequestBGM(std::int32_t tune, std::int32_t param);
// PlaySE for the menus: the sound table's entry index, played by the window thread.
void RequestSound(std::int32_t index);
