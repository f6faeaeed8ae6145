// The drawing of shots and sword swings: a shot shows the two frames of its graphic from the sheet
// of its facing, a swing the picture of its current part; both enlarged by their scale.
#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "play/motion.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/shot_sword.h"
#include "play/stage_bitmaps.h"
#include "play/stage_draw_objects.h"

namespace {

// Sheets 20 and 21 hold the shot graphics facing left and right; each graphic is two frames of
// 16 x 16 side by side, 30 graphics down a column pair.
constexpr std::int32_t kShotSheetLeft = 20;
constexpr std::int32_t kShotCell = 16;
constexpr std::int32_t kGraphicsPerColumn = 30;

void Copy(DDSURFACEDATA* dst, const cShot& shot, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy) {
  if (shot.Scale() <= 1)
    DDBlt(dst, shot.m_ScreenLeft, shot.m_ScreenTop, shot.m_DrawWidth, shot.m_DrawHeight, src, sx, sy, 1);
  else
    DDStretchBlt(dst, shot.m_ScreenLeft, shot.m_ScreenTop, shot.m_DrawWidth, shot.m_DrawHeight, src, sx, sy,
                 shot.m_BaseDrawWidth, shot.m_BaseDrawHeight, 1);
}

}  // namespace

void DrawShot(cShot& shot, DDSURFACEDATA* dst, std::int32_t hold) {
  if (ShotInvisible(shot.m_Params) != 0) return;
  const std::int32_t facing = shot.m_Direction != 0 ? 1 : 0;
  const bool scaled = shot.Scale() > 1;
  if (shot.m_RealShot == 0) {
    const SwordPart part = SwordPartOf(shot.m_Params.m_MoveKind, shot.m_SwordPart);
    const std::size_t index = static_cast<std::size_t>(shot.m_Params.m_MoveKind) * kSwordRecords + facing + (scaled ? 2 : 0);
    // A sword type without pictures shows nothing.
    if (index >= g_SwordSurfaces.size()) return;
    Copy(dst, shot, &g_SwordSurfaces[index], part.sourceX, part.sourceY);
    return;
  }
  const std::int32_t frame = hold != 0 ? shot.m_Anime.GetValue() : shot.m_Anime.Step();
  const std::int32_t g = shot.m_Graphic;
  const std::int32_t sx = ((g / kGraphicsPerColumn) * 2 + frame) * kShotCell;
  const std::int32_t sy = (g % kGraphicsPerColumn) * kShotCell;
  Copy(dst, shot, &g_SurfaceTable[ShotSheetIndex(kShotSheetLeft + facing, scaled ? 1 : 0)], sx, sy);
}

void DrawShotGroup(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  for (cShot& shot : g_PlayScene->m_ShotList) {
    if (!DrawnInPass(ShotDrawPriority(shot.m_Params), priority) || !shot.IsOnScreen()) continue;
    shot.UpdateScreenRect();
    DrawShot(shot, dst, frozen);
  }
}
