#pragma once
// Fades and colour cycling: palettes pulled toward one colour or rotated, and the screen fades that
// every scene's FadeIn and FadeOut states run once a frame until they report the fade complete.
#include <cstdint>

#include "platform/display/palette_entry.h"

struct DDSURFACEDATA;

// Entries first..last of src into dst, each channel mixed with (R, G, B): level 256 keeps the source
// colour, 0 gives the colour itself; flags 1. The rest of dst is left alone. dst may be src. A range
// outside 0..255 (or first above last) changes nothing; a level outside 0..256 takes the nearer end.
void FadePalette(PALETTEENTRY dst[256], std::int32_t first, std::int32_t last, std::int32_t level, std::uint8_t R,
                 std::uint8_t G, std::uint8_t B, const PALETTEENTRY src[256]);

// At 8, 16 or 32 bits: dst becomes a copy of all of src with entries first..last rotated by count
// places, direction 0 upward (the last count wrap to the start of the range), 1 downward; any other
// direction leaves the copy as it is. dst may be src. A count beyond the range's size wraps around
// it; a range outside 0..255 leaves the copy unrotated.
void RotatePalette(PALETTEENTRY dst[256], std::int32_t first, std::int32_t last, std::int32_t count,
                   std::int32_t direction, const PALETTEENTRY src[256]);

// One step of the screen fade toward (R, G, B) (black under Direct3D), the angle moving by step
// degrees from 90 to 0 (out) or from 0 to 90 (in); the picture's share is the sine of the angle.
// True on the call that completes the fade, which also rewinds it for the next one; finish completes
// it at once. At 8 bits under DirectDraw the fade writes palette entries first..last (from src) and
// the display's palette; at other depths it works on the picture itself.
bool ScreenFadeOut(PALETTEENTRY palette[256], std::int32_t first, std::int32_t last, std::uint8_t R, std::uint8_t G,
                   std::uint8_t B, double step, const PALETTEENTRY src[256], bool finish);
bool ScreenFadeIn(PALETTEENTRY palette[256], std::int32_t first, std::int32_t last, std::uint8_t R, std::uint8_t G,
                  std::uint8_t B, double step, const PALETTEENTRY src[256], bool finish);

// Both fades rewound under both back-ends, as at the program's start. A fade that a released
// display left unfinished cannot go on under the next one: its screen copy went with it.
void RewindScreenFades();

// DirectDraw at 16 or 32 bits: every pixel of dst becomes the pixel of src at the same place mixed
// with (R, G, B), level 256 the source, 0 the colour. Only the part both surfaces cover is written.
// Always true; nothing at 8 bits or under Direct3D.
bool DDFade_UnPal(DDSURFACEDATA* dst, std::int32_t level, std::uint8_t R, std::uint8_t G, std::uint8_t B,
                  DDSURFACEDATA* src);
