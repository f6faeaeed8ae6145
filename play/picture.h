#pragma once
// Shown pictures: a picture of the database's picture table in the stage, for a time or until it is
// taken away, at a stage position or fixed on the screen, at its own size or stretched. Each one
// owns a surface of g_PictureSurfaces (its descriptor at the same place of g_PictureDescriptors);
// the stage drawing draws the pictures of one layer at a time and drops those that end.
#include <cstdint>
#include <list>

#include "platform/display/surface.h"

// Picture end modes.
constexpr std::int32_t kPictureUntilKey = 0;
constexpr std::int32_t kPictureUntilStageEnd = 1;
constexpr std::int32_t kPictureTimed = 2;

struct cPicture {
  std::uint16_t m_Id = 0;
  double m_X = 0.0;  // top left in stage dots
  double m_Y = 0.0;
  std::int32_t m_Width = 0;  // drawn size
  std::int32_t m_Height = 0;
  std::int32_t m_Stretched = 0;  // 1: the whole source stretched to the drawn size
  std::int32_t m_Layer = 0;
  std::int32_t m_EndMode = 0;
  std::int32_t m_FramesLeft = 0;
  std::int32_t m_CountsWhileFrozen = 0;
  std::int32_t m_Fixed = 0;  // stays where it first appeared on the screen
  std::int32_t m_Placed = 0;
  std::int32_t m_PlacedX = 0;
  std::int32_t m_PlacedY = 0;
  std::int32_t m_UseId = 0;  // the command's ID switch and ID
  std::int32_t m_PictureId = 0;
  // Its picture in g_PictureSurfaces; null: nothing to draw, so never drawn.
  DDSURFACEDATA* m_Surface = nullptr;
};

extern std::list<DDSURFACEDATA> g_PictureSurfaces;
extern std::list<SurfaceDescriptor> g_PictureDescriptors;

// Stretched unless the scale is 100 (percent); not yet placed.
void SetupPicture(cPicture& picture, std::uint16_t id, double x, double y, std::int32_t width, std::int32_t height,
                  std::int32_t fixed, std::int32_t layer, std::int32_t scale, std::int32_t endMode,
                  std::int32_t frames, std::int32_t countsWhileFrozen, std::int32_t useId, std::int32_t pictureId);
// One displayed frame of the picture from src on dst; 1 once it has ended (then it was not drawn).
// frozen: the pause thread draws while the logic stands still.
std::int32_t DrawPicture(cPicture& picture, DDSURFACEDATA* dst, DDSURFACEDATA* src, std::int32_t frozen);

// Takes the picture out of the list with its surface and descriptor; the next picture.
std::list<cPicture>::iterator ErasePicture(std::list<cPicture>& pictures, std::list<cPicture>::iterator picture);
// The same for the picture that is this very record, when it is still in the list (one that ended
// meanwhile is gone already); false when it was not.
bool RemovePicture(std::list<cPicture>& pictures, const cPicture* picture);

// The stage drawing's walk over one layer: draws the pictures in order and removes those that end.
void DrawPictures(DDSURFACEDATA* dst, std::int32_t layer, std::int32_t frozen);
// Stage set-up: every picture surface released and the picture lists (the play scene's included)
// emptied.
void ClearPictureLists();
