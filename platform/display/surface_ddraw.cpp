// DirectDraw surfaces: offscreen surfaces in the display format, in video memory when it has room.
#include "platform/display/bitmap_surface.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/surface_backends.h"
#include "platform/host/bmp.h"
#include "platform/services/log.h"

bool CreateEmptySurfaceDD(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                          std::int32_t systemMemory) {
  if (!g_lpDD) return false;
  AllocSurfaceParts(lpSD);
  if (!lpSD->lpDDPart) return false;
  DDSurfacePart& part = *lpSD->lpDDPart;
  part.surface.reset();
  part.paletteIndexMap.clear();
  bool inSystemMemory = systemMemory == 1;
  HRESULT hr = g_lpDD->CreateOffscreen(width, height, inSystemMemory, &part.surface);
  if (FAILED(hr) && !inSystemMemory) {
    inSystemMemory = true;
    hr = g_lpDD->CreateOffscreen(width, height, inSystemMemory, &part.surface);
  }
  if (FAILED(hr)) return false;
  if (colourKey == 1 && FAILED(part.surface->SetColorKey(g_TransparentPixel))) return false;
  part.surface->Pixels().Fill(PalNumToRGB(0));
  lpSD->width = lpSD->textureWidth = width;
  lpSD->height = lpSD->textureHeight = height;
  lpSD->systemMemory = inSystemMemory;
  return true;
}

std::int32_t CreateFileSurfaceDD(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                 std::int32_t bpp, std::int32_t systemMemory, std::int32_t paletteMap,
                                 std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight) {
  std::optional<cBitmap> bitmap = LoadBmpFile(fileName);
  if (!bitmap) {
    Log(fileName);
    return LOADIMAGE_ERR;
  }
  if (!DDCreateSurface(lpSD, bitmap->Width(), bitmap->Height(), colourKey, systemMemory, 0, 0, 0))
    return CREATESURFACE_ERR;
  if (!CopyBitmapToSurface(lpSD, *bitmap, fileName, bpp, paletteMap, mirrorCellWidth, mirrorCellHeight))
    return LOADIMAGE_ERR;
  lpSD->width = lpSD->textureWidth = bitmap->Width();
  lpSD->height = lpSD->textureHeight = bitmap->Height();
  lpSD->mirrorCellWidth = mirrorCellWidth;
  lpSD->mirrorCellHeight = mirrorCellHeight;
  lpSD->szFileName = fileName;
  lpSD->systemMemory = systemMemory;
  return SURFACE_OK;
}
