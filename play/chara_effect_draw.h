#pragma once
// Inside the character effects: the pictures of kinds 1 .. 16, one frame each, as the renderers
// draw them before the effect advances.
#include <cstdint>

class cCharaBase;
class cCharaEffectPlayer;
struct cCharaDrawRequest;
struct DDSURFACEDATA;

struct sCharaEffectFrame {
  const cCharaBase& chara;
  DDSURFACEDATA* dst;
  const cCharaDrawRequest& request;  // with a surface to draw from
  const cCharaEffectPlayer& player;
  const std::int32_t* params;  // the five of the running definition
};

// Draws the frame as kind (1 .. 16) shows it; other kinds draw nothing.
void DrawCharaEffectKind(std::int32_t kind, const sCharaEffectFrame& frame);
