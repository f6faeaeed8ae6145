#include "play/picture.h"

#include "platform/display/blit.h"
#include "play/dots.h"
#include "play/play_scene.h"

std::list<DDSURFACEDATA> g_PictureSurfaces;
std::list<SurfaceDescriptor> g_PictureDescriptors;

namespace {

// The scale at which a picture is copied as it is.
constexpr std::int32_t kOwnSize = 100;

// Stage dots to screen dots, each side truncated first; held in range rather than wrapping.
std::int32_t ScreenDot(double stage, double camera) {
  return ClampToInt32(std::int64_t{TruncDot(stage)} - TruncDot(camera));
}

}  // namespace

void SetupPicture(cPicture& picture, std::uint16_t id, double x, double y, std::int32_t width, std::int32_t height,
                  std::int32_t fixed, std::int32_t layer, std::int32_t scale, std::int32_t endMode,
                  std::int32_t frames, std::int32_t countsWhileFrozen, std::int32_t useId, std::int32_t pictureId) {
  picture.m_Id = id;
  picture.m_X = x;
  picture.m_Y = y;
  picture.m_Width = width;
  picture.m_Height = height;
  picture.m_Stretched = scale != kOwnSize ? 1 : 0;
  picture.m_Layer = layer;
  picture.m_EndMode = endMode;
  picture.m_FramesLeft = frames;
  picture.m_CountsWhileFrozen = countsWhileFrozen;
  picture.m_Fixed = fixed;
  picture.m_Placed = 0;
  picture.m_UseId = useId;
  picture.m_PictureId = pictureId;
}

std::int32_t DrawPicture(cPicture& picture, DDSURFACEDATA* dst, DDSURFACEDATA* src, std::int32_t frozen) {
  if (picture.m_EndMode == kPictureTimed && (picture.m_CountsWhileFrozen != 0 || frozen == 0)) {
    // Drawn for exactly its frame count; a count of 0 or less ends before the first draw.
    if (picture.m_FramesLeft <= 0) return 1;
    --picture.m_FramesLeft;
  }
  const double cameraX = g_PlayScene != nullptr ? g_PlayScene->m_ScrollX.m_Pos : 0.0;
  const double cameraY = g_PlayScene != nullptr ? g_PlayScene->m_ScrollY.m_Pos : 0.0;
  std::int32_t x = 0, y = 0;
  if (picture.m_Fixed != 0 && picture.m_Placed != 0) {
    x = picture.m_PlacedX;
    y = picture.m_PlacedY;
  } else {
    x = ScreenDot(picture.m_X, cameraX);
    y = ScreenDot(picture.m_Y, cameraY);
    if (picture.m_Fixed != 0) {
      picture.m_Placed = 1;
      picture.m_PlacedX = x;
      picture.m_PlacedY = y;
    }
  }
  // A size that covers no dot (a negative scale, an empty picture) shows nothing.
  if (src == nullptr || picture.m_Width <= 0 || picture.m_Height <= 0) return 0;
  if (picture.m_Stretched != 0) {
    if (src->width > 0 && src->height > 0)
      DDStretchBlt(dst, x, y, picture.m_Width, picture.m_Height, src, 0, 0, src->width, src->height, 1);
  } else {
    DDBlt(dst, x, y, picture.m_Width, picture.m_Height, src, 0, 0, 1);
  }
  return 0;
}

std::list<cPicture>::iterator ErasePicture(std::list<cPicture>& pictures, std::list<cPicture>::iterator picture) {
  if (picture->m_Surface != nullptr)
    RemoveSurfaceFromList(g_PictureSurfaces, g_PictureDescriptors, picture->m_Surface);
  return pictures.erase(picture);
}

bool RemovePicture(std::list<cPicture>& pictures, const cPicture* picture) {
  // Only addresses of pictures still listed are compared; the record itself is never read.
  for (auto it = pictures.begin(); it != pictures.end(); ++it) {
    if (&*it != picture) continue;
    ErasePicture(pictures, it);
    return true;
  }
  return false;
}

void DrawPictures(DDSURFACEDATA* dst, std::int32_t layer, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  auto& pictures = g_PlayScene->m_Pictures;
  for (auto picture = pictures.begin(); picture != pictures.end();) {
    if (picture->m_Layer != layer || picture->m_Surface == nullptr ||
        DrawPicture(*picture, dst, picture->m_Surface, frozen) == 0)
      ++picture;
    else
      picture = ErasePicture(pictures, picture);
  }
}

void ClearPictureLists() {
  ReleaseSurfaceList(g_PictureSurfaces);
  g_PictureSurfaces.clear();
  g_PictureDescriptors.clear();
  if (g_PlayScene != nullptr) g_PlayScene->m_Pictures.clear();
}
