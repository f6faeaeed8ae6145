// The scenes' own surfaces, kept in vectors and lists beside parallel descriptor containers.
#include "platform/display/surface.h"

namespace {

SurfaceDescriptor EmptyDescriptor(std::int32_t colourKey, std::int32_t systemMemory, std::int32_t softwareTexture,
                                  std::int32_t shared) {
  return {"", colourKey, systemMemory, softwareTexture, shared, 0, 0, 0, 0, 0, 0};
}

}  // namespace

void ReleaseSurfaceVector(std::vector<DDSURFACEDATA>& surfaces) {
  for (DDSURFACEDATA& surface : surfaces) DDReleaseSurface(&surface);
}

void ReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces) {
  for (DDSURFACEDATA& surface : surfaces) DDReleaseSurface(&surface);
}

bool AddSurfaceToVector(std::vector<DDSURFACEDATA>& surfaces, std::vector<SurfaceDescriptor>& descriptors,
                        std::int32_t width, std::int32_t height, std::int32_t colourKey, std::int32_t systemMemory,
                        std::int32_t softwareTexture, std::int32_t shared) {
  // Growing the vector moves its records; a record moved keeps its place in g_DynamicSurfaces.
  surfaces.emplace_back();
  descriptors.push_back(EmptyDescriptor(colourKey, systemMemory, softwareTexture, shared));
  return DDCreateSurface(&surfaces.back(), width, height, colourKey, systemMemory, softwareTexture, shared, 0);
}

bool AddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<SurfaceDescriptor>& descriptors, std::int32_t width,
                      std::int32_t height, std::int32_t colourKey, std::int32_t systemMemory,
                      std::int32_t softwareTexture, std::int32_t shared) {
  surfaces.emplace_back();
  descriptors.push_back(EmptyDescriptor(colourKey, systemMemory, softwareTexture, shared));
  return DDCreateSurface(&surfaces.back(), width, height, colourKey, systemMemory, softwareTexture, shared, 0);
}

bool RemoveSurfaceFromList(std::list<DDSURFACEDATA>& surfaces, std::list<SurfaceDescriptor>& descriptors,
                           const DDSURFACEDATA* lpSD) {
  auto descriptor = descriptors.begin();
  for (auto surface = surfaces.begin(); surface != surfaces.end(); ++surface) {
    if (&*surface == lpSD) {
      DDReleaseSurface(&*surface);
      surfaces.erase(surface);
      // The descriptor at the same place, when the two lists are as long as they should be.
      if (descriptor != descriptors.end()) descriptors.erase(descriptor);
      return true;
    }
    if (descriptor != descriptors.end()) ++descriptor;
  }
  return false;
}
