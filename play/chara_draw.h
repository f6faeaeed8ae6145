#pragma once
// What a hero or character hands to the renderer of its character effect each frame: the chip of its
// current animation frame, where on the screen it goes, and the tint its state asks for. The
// renderer of effect kind 0 is the plain draw; the other kinds are the character effects'
// (chara_effect.h).
#include <cstdint>

#include "platform/display/blit.h"
#include "play/chip_sheets.h"

class cCharaBase;
struct DDSURFACEDATA;

struct cCharaDrawRequest : cChipSource {
  // The screen rectangle the picture goes to: top left and drawn size.
  std::int32_t m_X = 0;
  std::int32_t m_Y = 0;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  // Direct3D only: the picture is drawn with this vertex colour and colour operation.
  std::int32_t m_TintOn = 0;
  DrawState m_Tint;
};

// The picture goes out at the size of its cells: a character at scale 1 or less, or one of a
// dedicated bitmap of large cells scaled by its cell-size multiplier. Any other is stretched.
bool DrawnAtCellSize(const cCharaBase& chara, const cCharaDrawRequest& request);

// The plain draw: the chip at the request's rectangle with the colour key, under the tint when it is
// on. A cell drawn at its own size is copied; a character scaled beyond its cells is stretched from
// the shared copy. It never ends (0).
std::int32_t DrawCharaPlain(const cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t draw);
