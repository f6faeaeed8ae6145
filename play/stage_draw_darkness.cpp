// The darkness picture of hero 0's field of view: a dark surface with a light hole in its middle,
// square or round, that the hero lays over the view around itself.
#include <algorithm>
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/surface.h"
#include "platform/services/boxes.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "play/stage_draw.h"
#include "project/system_data.h"

namespace {

// The picture reaches a view's width and height beyond the hole on every side.
constexpr std::int64_t kDarknessMarginX = 1280;
constexpr std::int64_t kDarknessMarginY = 960;
constexpr std::uint32_t kDarknessColour = 16;
constexpr std::uint32_t kLightColour = 0;
// Field-of-view modes with a round hole; the others cut a square one.
constexpr std::int32_t kRoundHole = 1;
constexpr std::int32_t kRoundHoleAhead = 2;

bool Create(DDSURFACEDATA* surface, std::int64_t w, std::int64_t h, std::int32_t colourKey) {
  if (w > INT32_MAX || h > INT32_MAX) return false;
  return DDCreateSurface(surface, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h), colourKey, 1, 0, 0, 0);
}

}  // namespace

void BuildDarknessSurfaces(DDSURFACEDATA* darkness, DDSURFACEDATA* spot) {
  DDReleaseSurface(darkness);
  DDReleaseSurface(spot);
  const cCharaBase* hero = g_PlayScene != nullptr ? g_PlayScene->Hero(0) : nullptr;
  // A radius below 0 (a sight the data made negative) is no hole at all.
  const std::int64_t r = hero != nullptr ? std::max(hero->m_Sight, 0) : 0;
  const std::int32_t mode = hero != nullptr ? hero->m_Def.m_SightShape : 0;
  const std::int64_t w = 2 * r + kDarknessMarginX, h = 2 * r + kDarknessMarginY;
  if (!Create(darkness, w, h, 1)) {
    MemoryErrBox();  // which closes the program in order
    return;
  }
  DDClear(darkness, kDarknessColour);
  if (r == 0) return;
  const auto radius = static_cast<std::int32_t>(r);
  const auto cx = static_cast<std::int32_t>(w / 2), cy = static_cast<std::int32_t>(h / 2);
  if (mode != kRoundHole && mode != kRoundHoleAhead) {
    DDFillRect(darkness, cx - radius, cy - radius, 2 * radius, 2 * radius, kLightColour);
    return;
  }
  // The spot is keyed: a plain copy of a keyed picture clears what it covers before it draws, so
  // under the textured branch its transparent dots cut the hole instead of blending nothing over
  // the darkness. The surface branch copies its dots as they are either way.
  if (!Create(spot, 2 * r, 2 * r, 1)) {
    MemoryErrBox();  // which closes the program in order
    return;
  }
  // The hole must be the transparent value itself: in a full-colour project the key pixel, else
  // palette colour 0.
  if (g_System.m_ColourMode != 0)
    DDFillRectColor(spot, 0, 0, 2 * radius, 2 * radius, g_TransparentPixel);
  else
    DDFillRect(spot, 0, 0, 2 * radius, 2 * radius, kLightColour);
  CircleBlt(darkness, cx, cy, radius, radius, radius, 1, spot, radius, radius, 0);
}
