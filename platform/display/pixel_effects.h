#pragma once
// The pixel effects of the screen and character effects: a rectangle of src drawn into dst through a
// rule per pixel, on the locked pixels of both. Common arguments: dst and the destination rectangle
// (x, y, w, h; the centred effects take a centre instead), src and the source origin (sx, sy), and
// colourKey (1: source pixels holding the transparent value are not drawn). Destination pixel
// (x + i, y + j) comes from source pixel (sx + i, sy + j) unless an effect says otherwise.
//
// Both back-ends and every depth (8-bit indices, 16-bit and 32-bit pixels) draw exactly as their
// rules say; a pixel is drawn only where it lies inside dst and its source inside src. src and dst
// should be different records; an effect given one record twice reads it as it was before the call.
#include <cstdint>

#include "platform/display/palette_entry.h"

struct DDSURFACEDATA;

// ---- block filters

// Box blur: each pixel the mean of the window of 2 * radiusX columns by 2 * radiusY rows from
// -radius to radius - 1 around it, cut to the source rectangle; with colourKey 1 transparent pixels
// are neither drawn nor counted. A radius below 1 draws nothing. Not at 8 bits (logged, nothing
// drawn). True when done, false when a lock failed.
bool BlurBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t radiusX,
             std::int32_t radiusY, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey);
// Block mosaic: blocks of blockSize pixels from the rectangle's top-left, each painted with one
// colour (the block's mean, or its top-left pixel at 8 bits and in Direct3D at 16 bits). A block
// size below 1 is taken as 1. True when done, false when a lock failed.
bool MosaicBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
               std::int32_t blockSize, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey);

// ---- colour effects (the blend table is in blend_table.h)

// Every pixel pulled toward palette[palIndex], halfway per step (8 bits: through the blend table,
// the current pixel against palIndex). Direct3D draws one quad with the target weighed by steps
// unless a system-memory texture takes part. Steps of 0 draw nothing. False when a lock failed.
bool TintBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
             std::int32_t sx, std::int32_t sy, std::int32_t colourKey, const PALETTEENTRY* palette,
             const std::uint8_t* blendTable, std::uint8_t palIndex, std::int32_t steps);
// The source drawn half-translucent over the destination (8 bits: blendTable[d][s]). False when a
// lock failed.
bool HalfBlendBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey,
                  const std::uint8_t* blendTable);
// Direct3D: the surface tinted toward (bRed, bGreen, bBlue), nAlpha (0..255, the share of the
// surface's own colour kept, out of 256) taken into that range. DirectDraw has no such draw (logged).
// Always true.
bool DDChangeColor(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t nWidth, std::int32_t nHeight,
                   std::int32_t nAlpha, std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue);

// ---- geometric effects

// The source rectangle (sx, sy, w, h) turned by degrees (clockwise on the screen) about its pivot
// (ox, oy, rectangle coordinates), the pivot landing on (cx, cy). Angles in 1024ths; no enlargement.
// False when a lock failed.
bool RotateBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t w, std::int32_t h, std::int32_t ox,
               std::int32_t oy, std::int32_t degrees, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy,
               std::int32_t colourKey);
// A round magnifying lens of radius around (cx, cy) of dst, showing src around (scx, scy) enlarged
// by about depth / sqrt(radius^2 + depth^2) at the centre. Transparent source pixels are never
// drawn (colourKey is not consulted). False for a negative radius or depth, a radius too small for
// the depth, or a failed lock.
bool LensBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t radius, std::int32_t depth,
             DDSURFACEDATA* src, std::int32_t scx, std::int32_t scy, std::int32_t colourKey);
// A disc of radius around (scx, scy) of src copied around (cx, cy) of dst by horizontal strips
// stripHeight rows high, within halfW columns and halfH rows of the centre. A strip height below 1
// is taken as 1; a radius below 1 draws nothing.
void CircleBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t halfW, std::int32_t halfH,
               std::int32_t radius, std::int32_t stripHeight, DDSURFACEDATA* src, std::int32_t scx, std::int32_t scy,
               std::int32_t colourKey);
