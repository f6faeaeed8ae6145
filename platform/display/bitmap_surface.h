#pragma once
// Bitmap pixels into surfaces: the DirectDraw copy of a BMP file (pixel conversion, mirror cells,
// the palette-index map) and the Direct3D textures made from files, with their mirror cells.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/display/d3d_device.h"

class cBitmap;
struct DDSURFACEDATA;

// DirectDraw: copies a bitmap into an existing surface; a bitmap larger than the surface is cut to
// it. True at once under Direct3D or for an empty name; false when the file cannot be read.
bool ReloadSurfaceBitmap(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t bpp, std::int32_t paletteMap,
                         std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight);
// The same with a bitmap already read.
bool CopyBitmapToSurface(DDSURFACEDATA* lpSD, const cBitmap& bitmap, const std::string& fileName, std::int32_t bpp,
                         std::int32_t paletteMap, std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight);
// DirectDraw: reloads a record's picture from its own file after the surface was lost.
bool RestoreSurfaceBitmap(DDSURFACEDATA* lpSD, std::int32_t bpp);
// Direct3D: lpSD becomes source with each whole cell of mirrorCellWidth columns flipped in place.
bool CreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* source, std::int32_t mirrorCellWidth,
                  std::int32_t mirrorCellHeight);

// A texture of width x height holding the bitmap at its top-left corner (the rest transparent black),
// in format; pixels of the colour key (0xAARRGGBB, alpha ignored) become transparent black.
HRESULT CreateTextureFromBitmap(cD3DDevice& device, const cBitmap& bitmap, std::int32_t width, std::int32_t height,
                                std::uint32_t usage, PixelFormat format, D3DPool pool, std::uint32_t colourKey,
                                std::shared_ptr<cD3DTexture>* out);

// The destination column (or row) of image column x for cells of m (0: none): each whole cell is
// flipped in place.
constexpr std::int32_t MirroredPosition(std::int32_t x, std::int32_t m) {
  return m > 0 ? (x / m + 1) * m - (x % m + 1) : x;
}
// How many columns (rows) of an image of size n are drawn with cells of m: whole cells only.
constexpr std::int32_t MirroredExtent(std::int32_t n, std::int32_t m) { return m > 0 ? n / m * m : n; }
