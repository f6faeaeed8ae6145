#include "play/stage_draw_presentation.h"

#include "platform/display/blit.h"
#include "play/message_window.h"
#include "play/play_scene.h"

std::list<DDSURFACEDATA> g_MessageSurfaces;
std::list<SurfaceDescriptor> g_MessageDescriptors;

void DrawEffectInstances(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  g_PlayScene->m_Effects.remove_if(
      [&](cEffectInstance& effect) { return DrawEffectInstance(effect, dst, frozen) != 0; });
}

void DrawMessageWindows(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  g_PlayScene->m_Messages.remove_if([&](cMessageWindow& window) { return window.Draw(dst, frozen) != 0; });
}

void ClearMessageLists() {
  ReleaseSurfaceList(g_MessageSurfaces);
  g_MessageSurfaces.clear();
  g_MessageDescriptors.clear();
}
