#include "play/stage_draw_presentation.h"

#include "platform/display/blit.h"
#include "play/message_window.h"
#include "play/play_scene.h"

std::list<DDSURFACEDATA> g_PictureSurfaces;
std::list<SurfaceDescriptor> g_PictureDescriptors;
std::list<DDSURFACEDATA> g_MessageSurfaces;
std::list<SurfaceDescriptor> g_MessageDescriptors;

// The records below hold nothing to show until their commands are part of the program: each ends at
// its first frame.
std::int32_t DrawPicture(cPicture&, DDSURFACEDATA*, DDSURFACEDATA*, std::int32_t) { return 1; }
std::int32_t DrawEffectInstance(cEffectInstance&, DDSURFACEDATA*, std::int32_t) { return 1; }

void DrawPictures(DDSURFACEDATA* dst, std::int32_t layer, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  auto& pictures = g_PlayScene->m_Pictures;
  auto picture = pictures.begin();
  auto surface = g_PictureSurfaces.begin();
  auto descriptor = g_PictureDescriptors.begin();
  // The three lists stand side by side; a picture without its surface is never drawn.
  while (picture != pictures.end() && surface != g_PictureSurfaces.end()) {
    if (picture->m_Layer != layer || DrawPicture(*picture, dst, &*surface, frozen) == 0) {
      ++picture;
      ++surface;
      if (descriptor != g_PictureDescriptors.end()) ++descriptor;
      continue;
    }
    DDReleaseSurface(&*surface);
    surface = g_PictureSurfaces.erase(surface);
    if (descriptor != g_PictureDescriptors.end()) descriptor = g_PictureDescriptors.erase(descriptor);
    picture = pictures.erase(picture);
  }
}

void DrawEffectInstances(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  g_PlayScene->m_Effects.remove_if(
      [&](cEffectInstance& effect) { return DrawEffectInstance(effect, dst, frozen) != 0; });
}

void DrawMessageWindows(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  g_PlayScene->m_Messages.remove_if([&](cMessageWindow& window) { return window.Draw(dst, frozen) != 0; });
}

void ClearPictureLists() {
  ReleaseSurfaceList(g_PictureSurfaces);
  g_PictureSurfaces.clear();
  g_PictureDescriptors.clear();
  if (g_PlayScene != nullptr) g_PlayScene->m_Pictures.clear();
}

void ClearMessageLists() {
  ReleaseSurfaceList(g_MessageSurfaces);
  g_MessageSurfaces.clear();
  g_MessageDescriptors.clear();
}
