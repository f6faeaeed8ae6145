#pragma once
// The 69 fixed surfaces of g_SurfaceTable: which bitmap each one holds and how it is made, and the
// links of the system-memory copies to the surfaces whose image they show under Direct3D.
#include <cstdint>

#include "platform/display/surface.h"

// Row i describes g_SurfaceTable element i.
extern SurfaceDescriptor g_SurfaceDescriptors[kSurfaceTableSize];

// A shared row and the row whose image it shows.
struct SurfaceLink {
  std::int32_t row;
  std::int32_t source;
};
constexpr std::int32_t kSurfaceLinkCount = 22;
extern const SurfaceLink g_SurfaceLinks[kSurfaceLinkCount];

// Points the shared member of every linked g_SurfaceTable element at its source element. Called
// once by the start-up, after the display is set up and before the first surface list is loaded.
void LinkSourceSurfaces();
