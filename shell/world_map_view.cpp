// What the world map shows: the cached map view (background, chips, event markers), the hero, the
// lives, the stage entrance's name and best score, and the ranking window.
#include <algorithm>
#include <cstdio>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/ranking.h"
#include "shell/scene_manager.h"
#include "shell/world_map_scene.h"

namespace {

constexpr std::int32_t kLivesRight = 621;
constexpr std::int32_t kLivesY = 17;
constexpr std::int32_t kLivesTextY = 19;
constexpr std::int32_t kLivesHeight = 20;
constexpr std::int32_t kTextCell = 16;
constexpr std::int32_t kInfoCentreX = 304;
constexpr std::int32_t kInfoNameYWithScore = 184;
constexpr std::int32_t kInfoY = 204;
constexpr std::int32_t kHighScoreText = 3;  // "ハイスコア"
constexpr std::int32_t kHeroFrames = 80;    // two pictures, 40 draws each
constexpr std::int32_t kHeroFrameSwitch = 40;
// No sheet is this tall; a picture or marker row beyond it is damage and is not drawn.
constexpr std::int32_t kMaxSheetRows = 1 << 16;

struct sHeroPicture {
  std::int32_t x;
  std::int32_t y;
};
// By facing: down, up, left, right.
constexpr std::array<sHeroPicture, 4> kHeroPictures = {{{0, 64}, {64, 64}, {64, 96}, {0, 96}}};

DDSURFACEDATA* Fixed(std::int32_t index) { return &g_SurfaceTable[index]; }

DDSURFACEDATA* RankingSurface() { return g_MenuSurfaces.empty() ? nullptr : &g_MenuSurfaces.front(); }

const std::string& UiText(std::int32_t index) {
  static const std::string empty;
  return index < g_System.m_UiTexts.Size() ? g_System.m_UiTexts.At(index) : empty;
}

}  // namespace

std::int32_t ChipIndex(const cWorldMap& map, std::int32_t column, std::int32_t row) {
  if (map.m_Width < 1 || map.m_Height < 1 || map.m_PitchShift < 0 || map.m_PitchShift > kMaxWorldPitchShift)
    return -1;
  const std::int64_t c = std::clamp(column, 0, map.m_Width - 1);
  const std::int64_t r = std::clamp(row, 0, map.m_Height - 1);
  const std::int64_t index = c + (r << map.m_PitchShift);
  return index < map.m_Grid.Size() ? static_cast<std::int32_t>(index) : -1;
}

std::int32_t ChipIndexAt(const cWorldMap& map, std::int32_t column, std::int32_t row) {
  const std::int32_t index = ChipIndex(map, column, row);
  if (index < 0) return -1;
  const std::uint32_t kind = map.m_Grid.At(index);
  return kind > static_cast<std::uint32_t>(INT32_MAX) ? -1 : static_cast<std::int32_t>(kind);
}

void cWorldMapScene::CreateRankingSurface() {
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
  if (!AddSurfaceToVector(g_MenuSurfaces, g_MenuSurfaceDescriptors, kRankingSurfaceWidth, kRankingSurfaceHeight, 0, 0,
                          0, 0)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return;
  }
  DrawRankingSurface();
}

void cWorldMapScene::DrawRankingSurface() {
  DDSURFACEDATA* surface = RankingSurface();
  if (!surface) return;
  DDClear(surface, 0);
  // The table number comes from the progress record, which may come from a file.
  const std::int32_t table = g_SaveData.m_RankingTable;
  if (table >= 0 && table < g_Ranking.m_Tables.Size()) g_Ranking.DrawTable(surface, 0, 0, table, -1);
}

void cWorldMapScene::RenderMapBackground(DDSURFACEDATA* view) {
  DDFillRect(view, 0, 0, 640, 480, static_cast<std::uint32_t>(g_WorldMap.m_BackColour));
  if (!g_WorldMap.m_ShowBackImage) return;
  // The picture moves with the map, one chip to 32 dots of it; left of or above the map it starts
  // further in on the view.
  const std::int32_t dx = m_OriginColumn < 0 ? -m_OriginColumn * kWorldCell : 0;
  const std::int32_t dy = m_OriginRow < 0 ? -m_OriginRow * kWorldCell : 0;
  const std::int32_t sx = m_OriginColumn < 0 ? 0 : m_OriginColumn * kWorldCell;
  const std::int32_t sy = m_OriginRow < 0 ? 0 : m_OriginRow * kWorldCell;
  DDBlt(view, dx, dy, 640, 480, Fixed(kWorldBackSurface), sx, sy, 0);
}

void cWorldMapScene::RenderMapChips(DDSURFACEDATA* view) {
  DDSURFACEDATA* chips = Fixed(kWorldChipSurface);
  for (std::int32_t r = 0; r < kWorldViewRows; ++r) {
    for (std::int32_t c = 0; c < kWorldViewColumns; ++c) {
      const std::int32_t column = m_OriginColumn + c, row = m_OriginRow + r;
      if (column < 0 || row < 0 || column >= g_WorldMap.m_Width || row >= g_WorldMap.m_Height) continue;
      const std::int32_t kind = ChipIndexAt(g_WorldMap, column, row);
      if (kind < 0 || kind >= g_WorldMap.m_Defs.Size()) continue;
      const std::int32_t p = g_WorldMap.m_Defs.At(kind).m_Picture;
      if (p < 0 || p / kWorldChipsPerRow >= kMaxSheetRows) continue;
      DDBlt(view, c * kWorldCell, r * kWorldCell, kWorldCell, kWorldCell, chips, (p % kWorldChipsPerRow) * kWorldCell,
            (p / kWorldChipsPerRow) * kWorldCell, 1);
    }
  }
}

void cWorldMapScene::RenderEventMarkers(DDSURFACEDATA* view) {
  DDSURFACEDATA* markers = Fixed(kWorldEventSurface);
  const WorldProgress progress = g_SaveData.Progress();
  for (const cWorldEvent& event : g_WorldMap.m_Events) {
    if (event.m_Y < m_OriginRow || event.m_Y > m_OriginRow + kWorldViewRows) continue;
    if (event.m_X < m_OriginColumn || event.m_X > m_OriginColumn + kWorldViewColumns) continue;
    const cWorldEventItem* item = ActiveWorldEntry(event, progress);
    // A row number from the file never reaches the sheet's coordinates unchecked.
    if (!item || item->m_PictureRow < 0 || item->m_PictureRow >= kMaxSheetRows) continue;
    DDBlt(view, (event.m_X - m_OriginColumn) * kWorldCell, (event.m_Y - m_OriginRow) * kWorldCell, kWorldCell,
          kWorldCell, markers, WorldEntryCleared(*item, progress) ? kWorldCell : 0, item->m_PictureRow * kWorldCell, 1);
  }
}

void cWorldMapScene::RenderMapView() {
  DDSURFACEDATA* view = Fixed(kWorldViewSurface);
  RenderMapBackground(view);
  RenderMapChips(view);
  RenderEventMarkers(view);
  m_HasRenderedOrigin = true;
  m_RenderedColumn = m_OriginColumn;
  m_RenderedRow = m_OriginRow;
}

void cWorldMapScene::DrawHeroMarker() {
  if (++m_HeroFrame >= kHeroFrames) m_HeroFrame = 0;
  const std::size_t facing = m_Facing >= 0 && m_Facing < 4 ? static_cast<std::size_t>(m_Facing) : 0;
  const sHeroPicture& picture = kHeroPictures[facing];
  const std::int32_t step = m_HeroFrame > kHeroFrameSwitch ? kWorldCell : 0;
  DDBlt(&g_BackSurface, kWorldHeroX, kWorldHeroY, kWorldCell, kWorldCell, Fixed(kWorldAccessorySurface),
        picture.x + step, picture.y, 1);
}

void cWorldMapScene::DrawLives() {
  const std::int32_t lives = g_SaveData.m_Lives;
  const bool unlimited = lives == kUnlimitedLives;
  const std::int32_t width = ((unlimited ? 1 : CountDigits(lives)) + 1) * kTextCell;
  const std::int32_t x = kLivesRight - width;
  Font& font = g_Fonts[1];
  font.DrawWindow(&g_BackSurface, x, kLivesY, width, kLivesHeight);
  DDBlt(&g_BackSurface, x, kLivesTextY, kTextCell, kTextCell, Fixed(kWorldAccessorySurface), 0, 48, 1);
  if (unlimited) {
    static const std::string& infinity = SJ("∞");
    font.Draw(&g_BackSurface, x + kTextCell, kLivesTextY, infinity.c_str(), 0);
    return;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%d", lives);
  font.Draw(&g_BackSurface, x + kTextCell, kLivesTextY, text, 0);
}

void cWorldMapScene::DrawStageInfo() {
  if (g_System.RankingEnabledIn(kPlayStory) && g_SaveData.m_RankingShown) {
    if (DDSURFACEDATA* ranking = RankingSurface()) {
      // A surface made again after a device loss came back blank.
      if (ranking->lpDT && ranking->lpDT->recreated) {
        DrawRankingSurface();
        ranking->lpDT->recreated = 0;
      }
      DDBlt(&g_BackSurface, g_WorldMapPos[1].x, g_WorldMapPos[1].y, kRankingSurfaceWidth, kRankingSurfaceHeight,
            ranking, 0, 0, 0);
    }
  }
  Font& font = g_Fonts[1];
  const bool showScore = g_System.m_StoryShowStageScores != 0 && m_BestScore > 0;
  const std::int32_t y = showScore ? kInfoNameYWithScore : kInfoY;
  if (!m_Item->m_Caption.empty()) {
    const std::int32_t width = CharCount(m_Item->m_Caption) * kTextCell;
    const std::int32_t x = kInfoCentreX - width / 2;
    font.DrawWindow(&g_BackSurface, x, y, width, kTextCell);
    font.Draw(&g_BackSurface, x, y, m_Item->m_Caption.c_str(), 0);
  }
  if (showScore) {
    const std::string& label = UiText(kHighScoreText);
    const std::int32_t width = (CharCount(label) + CountDigits(m_BestScore)) * kTextCell;
    const std::int32_t x = kInfoCentreX - width / 2;
    char text[512];
    std::snprintf(text, sizeof text, "%s%d", label.c_str(), m_BestScore);
    font.DrawWindow(&g_BackSurface, x, kInfoY, width, kTextCell);
    font.Draw(&g_BackSurface, x, kInfoY, text, 0);
  }
}

void cWorldMapScene::DrawWorldMap(bool withInfo) {
  DDBlt(&g_BackSurface, 0, 0, 640, 480, Fixed(kWorldViewSurface), 0, 0, 0);
  DrawHeroMarker();
  if (g_System.m_WorldMapLivesWindow) DrawLives();
  if (withInfo && m_Item && m_Item->m_Kind == kWorldEntryStage) DrawStageInfo();
}
