// The surface records themselves, the list of Direct3D records with textures of their own, the fixed
// table and the fixed surfaces. They are defined here together, list first, so that records destroyed
// at exit still find the list.
#include <algorithm>
#include <cstring>

#include "platform/display/display.h"

std::list<DDSURFACEDATA*> g_DynamicSurfaces;

namespace {

// Records of other files (the scenes' vectors) may be destroyed after the list; by then there is
// nothing to take them out of.
bool s_DynamicListGone = false;
struct sDynamicListGuard {
  ~sDynamicListGuard() { s_DynamicListGone = true; }
} s_DynamicListGuard;

void Unlist(DDSURFACEDATA* record) {
  if (!s_DynamicListGone) g_DynamicSurfaces.remove(record);
}

void Relist(DDSURFACEDATA* from, DDSURFACEDATA* to) {
  if (s_DynamicListGone) return;
  std::replace(g_DynamicSurfaces.begin(), g_DynamicSurfaces.end(), from, to);
}

bool Listed(const DDSURFACEDATA& record) { return record.lpDT && record.lpDT->listed; }

}  // namespace

bool HasSurface(const DDSURFACEDATA& record) {
  if (record.lpDT) return record.lpDT->texture != nullptr || record.shared != nullptr;
  return record.lpDDPart && record.lpDDPart->surface;
}

bool HasPictureFile(const DDSURFACEDATA& record) { return !record.szFileName.empty() && record.szFileName != "E"; }

DDSURFACEDATA g_SurfaceTable[kSurfaceTableSize];
DDSURFACEDATA g_PrimarySurface;
DDSURFACEDATA g_BackSurface;
DDSURFACEDATA g_ScreenCopySurface;
DDSURFACEDATA g_VirBackSurface;
DDSURFACEDATA g_WorkSurface;

DDSURFACEDATA::DDSURFACEDATA(DDSURFACEDATA&& other) noexcept
    : lpDT(std::move(other.lpDT)),
      lpDDPart(std::move(other.lpDDPart)),
      szSurfaceType(std::move(other.szSurfaceType)),
      width(other.width),
      height(other.height),
      textureWidth(other.textureWidth),
      textureHeight(other.textureHeight),
      szFileName(std::move(other.szFileName)),
      systemMemory(other.systemMemory),
      mirrorCellWidth(other.mirrorCellWidth),
      mirrorCellHeight(other.mirrorCellHeight),
      shared(other.shared) {
  if (Listed(*this)) Relist(&other, this);
}

DDSURFACEDATA& DDSURFACEDATA::operator=(DDSURFACEDATA&& other) noexcept {
  if (this == &other) return *this;
  if (Listed(*this)) Unlist(this);
  lpDT = std::move(other.lpDT);
  lpDDPart = std::move(other.lpDDPart);
  szSurfaceType = std::move(other.szSurfaceType);
  width = other.width;
  height = other.height;
  textureWidth = other.textureWidth;
  textureHeight = other.textureHeight;
  szFileName = std::move(other.szFileName);
  systemMemory = other.systemMemory;
  mirrorCellWidth = other.mirrorCellWidth;
  mirrorCellHeight = other.mirrorCellHeight;
  shared = other.shared;
  if (Listed(*this)) Relist(&other, this);
  return *this;
}

DDSURFACEDATA::~DDSURFACEDATA() {
  if (Listed(*this)) Unlist(this);
}

SurfaceDescriptor::SurfaceDescriptor(const char* name, std::int32_t colourKey, std::int32_t systemMemory,
                                     std::int32_t softwareTexture, std::int32_t shared, std::int32_t paletteMap,
                                     std::int32_t optional, std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight,
                                     std::int32_t width, std::int32_t height)
    : name(name ? std::string(name, strnlen(name, kMaxName)) : std::string()),
      colourKey(colourKey),
      systemMemory(systemMemory),
      softwareTexture(softwareTexture),
      shared(shared),
      paletteMap(paletteMap),
      optional(optional),
      mirrorCellWidth(mirrorCellWidth),
      mirrorCellHeight(mirrorCellHeight),
      width(width),
      height(height) {}
