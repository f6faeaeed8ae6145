#include "play/item.h"

#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "play/chip_sheets.h"
#include "play/play_scene.h"
#include "play/stage_boxes.h"

namespace {

// Every item blinks between frames 0 and 1.
constexpr AnimeSourceFrame kBlink[] = {
    {0, kItemBlinkFrames, 0},
    {1, kItemBlinkFrames, 0},
    {kAnimeLoop, 0, 0},
};
constexpr const AnimeSourceFrame* kItemAnimeTable[] = {kBlink, nullptr};

constexpr std::int32_t kMarkSheet = 43;
constexpr std::int32_t kMarkSheetShared = 44;
constexpr std::int32_t kMarkCell = 32;
constexpr std::int32_t kMarksPerColumn = 15;

void DrawMark(DDSURFACEDATA* surface, const cGameObj& obj, std::int32_t mark, std::int32_t scale) {
  // A mark outside the sheet would read another picture's cells; the blit clips it anyway, but a
  // negative number has no cell at all.
  if (mark < 0) return;
  const std::int32_t sx = mark / kMarksPerColumn * kMarkCell;
  const std::int32_t sy = mark % kMarksPerColumn * kMarkCell;
  if (scale <= 1)
    DDBlt(surface, obj.m_ScreenLeft, obj.m_ScreenTop, kMarkCell, kMarkCell, &g_SurfaceTable[kMarkSheet], sx, sy, 1);
  else
    DDStretchBlt(surface, obj.m_ScreenLeft, obj.m_ScreenTop, obj.m_DrawWidth, obj.m_DrawHeight,
                 &g_SurfaceTable[kMarkSheetShared], sx, sy, obj.m_BaseDrawWidth, obj.m_BaseDrawHeight, 1);
}

}  // namespace

cItem::cItem() = default;

void cItem::Setup(std::int32_t id, const cItemDef& def, std::int32_t held) {
  m_Def = def;
  if (m_Def.m_Size == 0) m_Def.m_Size = 1;
  const StageBox box = ReadStageBox(kItemBox);
  Init(id, 0, 0, 0, m_Def.m_ChipIndex, kItemAnimeTable, 0, 16 - box.width / 2, 16 - box.height / 2, box.width,
       box.height, 32, 32, 0, 1, 0);
  m_FollowsScroll = 0;
  m_Held = held;
  if (held == 0)
    SetScale(Scale(), 1);
  else
    m_Present = 1;
}

void cItem::PlaceOnGrid(std::int32_t column, std::int32_t row) {
  m_X1 = (static_cast<double>(g_PlayScene->TileOriginX()) + column) * 32 + m_BaseDrawOffsetX + 0.5;
  m_Y1 = (static_cast<double>(g_PlayScene->TileOriginY()) + row) * 32 + m_BaseDrawOffsetY;
  RescaleX(Scale(), 1);
  ClampToStageX(2);
  ClampToStageY(2);
}

void cItem::AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) {
  if (newScale == oldScale) return;
  m_Y1 -= static_cast<double>(m_BaseHeight + m_BaseDrawOffsetY) * (newScale - oldScale);
  ClampToStageY(2);
}

void cItem::Draw(DDSURFACEDATA* surface, std::int32_t freeze) {
  if (m_Def.m_Hidden != 0) return;
  const std::int32_t frame = freeze != 0 ? m_Anime.GetValue() : m_Anime.Step();
  cChipSource chip;
  GetChipSource(chip, kChipItemFrame, m_Def.m_ChipSource, m_Graphic, m_Def.m_ChipFrame, 0, frame);
  if (chip.m_Surface == nullptr) return;
  // A picture with cells of its own size draws them at that size unscaled; a multiplier of 0 in the
  // data counts as 1.
  const std::int32_t pictureScale = chip.m_LargeCells != 0 ? std::max<std::int32_t>(1, chip.m_CellScale) : 1;
  const bool stretch = chip.m_LargeCells != 0 ? Scale() != pictureScale : Scale() > 1;
  if (stretch) {
    DDSURFACEDATA* source = chip.m_SharedSurface != nullptr ? chip.m_SharedSurface : chip.m_Surface;
    DDStretchBlt(surface, m_ScreenLeft, m_ScreenTop, m_DrawWidth, m_DrawHeight, source, chip.m_SourceX,
                 chip.m_SourceY, m_BaseDrawWidth * pictureScale, m_BaseDrawHeight * pictureScale, 1);
  } else {
    DDBlt(surface, m_ScreenLeft, m_ScreenTop, m_DrawWidth, m_DrawHeight, chip.m_Surface, chip.m_SourceX,
          chip.m_SourceY, 1);
  }
  if (m_Def.m_MarkMode == 1) DrawMark(surface, *this, m_Def.m_MarkNumber, Scale());
}
