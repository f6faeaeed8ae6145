#include "play/stage_draw_objects.h"

#include "project/stage_data.h"

std::array<ObjectGroupDrawer, kObjectDrawGroups> g_ObjectDrawers{};
DarknessDrawer g_DarknessDrawer = nullptr;

namespace {

void DrawGroups(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  for (ObjectGroupDrawer drawer : g_ObjectDrawers)
    if (drawer != nullptr) drawer(dst, priority, frozen);
}

}  // namespace

void DrawStageObjects(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (g_Stage.Field(kDrawByPriority) == 0) {
    DrawGroups(dst, kAnyPriority, frozen);
    return;
  }
  for (std::int32_t priority = 0; priority < kDrawPriorities; ++priority) DrawGroups(dst, priority, frozen);
}
