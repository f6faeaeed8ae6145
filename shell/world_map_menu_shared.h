#pragma once
// What the world-map menu's pages share: sizes, sounds, buttons and the small draws every page makes.
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/surface.h"
#include "shell/world_map_menu_scene.h"

constexpr std::int32_t kMapMenuRowHeight = 16;
constexpr std::int32_t kMapMenuCell = 16;  // one character of the message font
constexpr std::int32_t kMapMenuFont = 1;
constexpr std::uint32_t kMapMenuFrameColour = 240;
constexpr std::uint32_t kMapMenuClearColour = 16;
constexpr std::int32_t kMapMenuScreenCentre = 320;

constexpr std::int32_t kMapMenuSoundCursor = 0;
constexpr std::int32_t kMapMenuSoundDecide = 1;
constexpr std::int32_t kMapMenuSoundCancel = 2;
constexpr std::int32_t kMapMenuSoundRefused = 3;
constexpr std::int32_t kMapMenuSoundSaved = 5;
constexpr std::uint16_t kMapMenuButtonDecide = 1;
constexpr std::uint16_t kMapMenuButtonCancel = 2;

inline DDSURFACEDATA& MapMenuSurface(std::int32_t index) { return g_SurfaceTable[index]; }

// Every page starts from an empty screen.
inline void ClearMapMenuPage() { DDClear(&g_BackSurface, kMapMenuClearColour); }

// The active cursor picture.
inline void DrawMapMenuCursor(std::int32_t x, std::int32_t y) {
  DDBlt(&g_BackSurface, x, y, 16, 16, &MapMenuSurface(kMapMenuAccessorySurface), 64, 0, 1);
}

// Where the parent list's cursor stood while a confirmation is open over it.
inline void DrawMapMenuParentMarker(std::int32_t x, std::int32_t y) {
  DDBlt(&g_BackSurface, x, y, 16, 16, &MapMenuSurface(kMapMenuAccessorySurface), 80, 0, 1);
}
