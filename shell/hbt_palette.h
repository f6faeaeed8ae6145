#pragma once
// Two palette services of the frame: the half-blend table with the palette variant the player chose
// (DirectDraw at 8 bits), and the system colours that cycle once per drawn frame (the brightness
// ramps of Direct3D, the rotating palette groups of DirectDraw at 8 bits).
#include <array>
#include <cstdint>

// Palette numbers with rows to take: 0-11 rotate the twelve colour rows, 12 and above copy row
// number - 11 into all twelve, and the palette has no row past 15.
constexpr std::int32_t kHbtPaletteFirst = 0;
constexpr std::int32_t kHbtPaletteLast = 26;

// 1 when done or not needed (any display but DirectDraw at 8 bits), 0 on failure (reported).
std::int32_t LoadHbtPalette(std::int32_t number);

// One system colour: the vertex colour and the colour operation a tinted draw takes.
struct SystemColour {
  std::uint32_t argb = 0;
  std::uint32_t op = 0;
  bool operator==(const SystemColour&) const = default;
};
// Entries 1-9 are the nine system colours; entry 0 stays empty.
constexpr int kSystemColourCount = 10;
extern std::array<SystemColour, kSystemColourCount> g_SystemColours;

void CycleSystemColours();
// Back to the start: every ramp at level 0 going up, the palette counter at 0 (a fresh run; tests).
void ResetSystemColours();
