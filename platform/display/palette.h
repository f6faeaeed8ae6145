#pragma once
// The game palette, the transparent (colour-key) colour and the packing of colours into pixels.
#include <cstdint>
#include <string>

#include "platform/display/palette_entry.h"

struct DDSURFACEDATA;

// The transparent colour as a pixel of the display format (8 bits: a palette index).
extern std::uint32_t g_TransparentPixel;
// The game palette from the palette image: at 8 bits its colour table, above 8 bits each channel in
// its pixel format's range. g_FadePalette is the working copy the fades write.
extern PALETTEENTRY g_Palette[256];
extern PALETTEENTRY g_FadePalette[256];

// Loads the palette image's colours into out (flags 2 for entries 0-9 and 246-255, else 1); at 8 bits
// under DirectDraw also into the display's palette. The window mode is not used.
bool DDLoadPaletteFromFile(PALETTEENTRY out[256], const std::string& palettePath, std::int32_t windowMode);
// The transparent colour from the top-left pixel of the palette image, or from red, green, blue.
bool DDSetTransmit(const std::string& palettePath);
bool DDSetTransmit(std::uint8_t cbRed, std::uint8_t cbGreen, std::uint8_t cbBlue);

// The pixel value of palette colour dwPalNum for fills; 0 (and a debug-log line) above 255.
std::uint32_t PalNumToRGB(std::uint32_t dwPalNum);
// DirectDraw: a palette entry, already in the channel ranges, packed with the second mask set.
std::uint16_t RGBToPixel(const PALETTEENTRY* entry);
// DirectDraw: shifts and masks of the primary's pixel format into maskSet (R, G, B shift, A shift,
// R, G, B mask, A mask); the alpha values are left alone.
void ReadColorMasks(std::uint32_t maskSet[8]);
// The colours of the 16 x 16 block at columns 0-15, rows 8-23 of a palette image: entry r * 16 + c
// from pixel (c, 8 + r). Always true.
bool ReadSurfaceRGB(PALETTEENTRY out[256], DDSURFACEDATA* lpSD);
