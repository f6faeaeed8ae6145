#pragma once
// Inside the display library: the two back-ends' halves of the surface creation.
#include <cstdint>
#include <string>

struct DDSURFACEDATA;

bool CreateEmptySurfaceD3D(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                           std::int32_t systemMemory, std::int32_t softwareTexture, std::int32_t shared,
                           std::int32_t restoring);
bool CreateEmptySurfaceDD(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                          std::int32_t systemMemory);
std::int32_t CreateFileSurfaceD3D(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                  std::int32_t bpp, std::int32_t systemMemory, std::int32_t softwareTexture,
                                  std::int32_t shared, std::int32_t paletteMap, std::int32_t mirrorCellWidth,
                                  std::int32_t mirrorCellHeight, std::int32_t restoring);
std::int32_t CreateFileSurfaceDD(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                 std::int32_t bpp, std::int32_t systemMemory, std::int32_t paletteMap,
                                 std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight);

// The box of a texture that cannot be made (the start-up's text, when it set one), then the close.
void ShowTextureFailure();
// Adds a record to g_DynamicSurfaces unless it is there already.
void ListDynamicSurface(DDSURFACEDATA* lpSD);
