#pragma once
// What a hero or character hands to the renderer of its character effect each frame: the chip of its
// current animation frame, where on the screen it goes, and the tint its state asks for. The
// renderer of effect kind 0 is the plain draw; the other kinds arrive with the character effects.
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

// One frame of the character's current effect (draw 0: advance only, no destination or request);
// frozen 1 keeps the effect where it is. 1 when the effect has ended. Number 0, and any number while
// the database has no character effects, is the plain draw.
std::int32_t RunCharaEffect(cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t frozen, std::int32_t draw);

// The plain draw: the chip at the request's rectangle with the colour key, under the tint when it is
// on. A cell drawn at its own size is copied; a character scaled beyond its cells is stretched from
// the shared copy. It never ends (0).
std::int32_t DrawCharaPlain(const cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t draw);
