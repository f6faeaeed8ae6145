#include "shell/world_map_menu_scene.h"

#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/frame_draw.h"
#include "platform/host/message_queue.h"
#include "platform/services/text.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/hbt_palette.h"
#include "shell/menu_cursor.h"
#include "shell/requests.h"
#include "shell/scene_manager.h"
#include "shell/world_map_menu_shared.h"

// A centred window's x of 0 stands until the first frame that shows the window works it out.
std::array<WorldMapMenuPoint, kMapMenuPosCount> g_WorldMapMenuPos = {{
    {264, 192},  // entry window
    {0, 260},    // total-score window, centred
    {152, 160},  // slot list
    {0, 400},    // save confirmation, centred
    {0, 224},    // auto-save choice, centred
    {0, 232},    // message, centred
    {0, 224},    // back-to-title choice, centred
}};

namespace {

constexpr std::int32_t kMenuMusicSlot = 1;  // the world map's tune goes on
constexpr std::int32_t kTotalScoreText = 4;

}  // namespace

cWorldMapMenuScene::cWorldMapMenuScene() {
  SetHandlers({static_cast<Handler>(&cWorldMapMenuScene::OnMenu), static_cast<Handler>(&cWorldMapMenuScene::OnSave),
               static_cast<Handler>(&cWorldMapMenuScene::OnAutoSave), static_cast<Handler>(&cWorldMapMenuScene::OnBack),
               static_cast<Handler>(&cWorldMapMenuScene::OnToTitle)});
  m_SubStep = 0;
  m_State = kNotEntered;
}

cWorldMapMenuScene::~cWorldMapMenuScene() {
  for (std::int32_t index : {kMapMenuWindowSurface, kMapMenuSymbolSurface, kMapMenuAccessorySurface})
    DDReleaseSurface(&MapMenuSurface(index));
}

void cWorldMapMenuScene::Frame() { MenuFrame(); }

void cWorldMapMenuScene::Enter() {
  RequestMenuBgm(kMenuMusicSlot);
  // The loader reports the missing picture; the scene goes on until the close arrives.
  if (!LoadSurfaceList(g_SurfaceTable, {kMapMenuWindowSurface, kMapMenuSymbolSurface, kMapMenuAccessorySurface}))
    PostMainWindowMessage(WM_CLOSE, 0, 0);

  m_ShownCount = 0;
  const std::int32_t listed = std::min<std::int32_t>(g_System.m_SaveMenu.Size(), kMapMenuEntryMax);
  for (std::int32_t entry = 0; entry < listed; ++entry)
    if (g_System.m_SaveMenu.At(entry).m_Shown != 0) m_ShownEntries[static_cast<std::size_t>(m_ShownCount++)] = entry;
  if (m_ShownCount == 0) {
    m_ShownEntries[0] = kMapMenuSave;
    m_ShownCount = 1;
  }
  g_MenuCursor.Reset();
}

void cWorldMapMenuScene::FadeIn() {
  DrawMenuPage();
  const WorldMapMenuPoint& at = g_WorldMapMenuPos[kMapMenuPosEntries];
  DrawMapMenuCursor(at.x, at.y);
  MenuFadeInStep();
}

void cWorldMapMenuScene::FadeOut() {
  if (MenuFadeOutStep(kSceneWorldMapMenu)) m_State = kNotEntered;
}

void cWorldMapMenuScene::OnMenu() {
  const cInput& input = MenuInput();
  const WorldMapMenuPoint& at = g_WorldMapMenuPos[kMapMenuPosEntries];
  g_MenuCursor.MoveGrid(input, at.x, at.y, 0, kMapMenuRowHeight, 1, m_ShownCount);
  PlayCursorSound(input, kCursorAxisVertical, kMapMenuSoundCursor);
  if (input.m_Buttons & kMapMenuButtonDecide) {
    RequestSound(kMapMenuSoundDecide);
    const std::int32_t row = std::clamp(g_MenuCursor.current->row, 0, m_ShownCount - 1);
    m_State = m_ShownEntries[static_cast<std::size_t>(row)] + 2;
    g_MenuCursor.Push(0);
    return;
  }
  if (input.m_Buttons & kMapMenuButtonCancel) {
    RequestSound(kMapMenuSoundCancel);
    m_State = 4;
    return;
  }
  DrawMenuPage();
  const CursorState& cursor = *g_MenuCursor.current;
  DrawMapMenuCursor(cursor.x, cursor.y);
}

void cWorldMapMenuScene::OnBack() {
  m_SubStep = 0;
  FadeOutTo(kSceneWorldMap);
}

void cWorldMapMenuScene::DrawMenuPage() {
  ClearMapMenuPage();
  DrawMenuWindow();
  DrawTotalScore();
  CycleSystemColours();
}

void cWorldMapMenuScene::DrawMenuWindow() {
  std::int32_t widest = 0;
  for (std::int32_t row = 0; row < m_ShownCount; ++row)
    widest = std::max(widest, CharCount(g_System.m_SaveMenu.At(m_ShownEntries[static_cast<std::size_t>(row)]).m_Label));
  const WorldMapMenuPoint& at = g_WorldMapMenuPos[kMapMenuPosEntries];
  DrawBoxWithFrame(&g_BackSurface, at.x, at.y, (widest + 1) * kMapMenuCell, m_ShownCount * kMapMenuRowHeight,
                   &MapMenuSurface(kMapMenuWindowSurface), 1, kMapMenuFrameColour);
  for (std::int32_t row = 0; row < m_ShownCount; ++row) {
    const std::string& label = g_System.m_SaveMenu.At(m_ShownEntries[static_cast<std::size_t>(row)]).m_Label;
    g_Fonts[kMapMenuFont].Draw(&g_BackSurface, at.x + kMapMenuCell, at.y + row * kMapMenuRowHeight, label.c_str(), 0);
  }
}

void cWorldMapMenuScene::DrawTotalScore() {
  const std::int32_t total = g_SaveData.m_TotalScore;
  if (g_System.m_StoryShowTotalScore == 0 || total <= 0) return;
  const std::string& label = g_System.m_UiTexts.At(kTotalScoreText);
  const std::int32_t width = (CharCount(label) + CountDigits(total)) * kMapMenuCell;
  WorldMapMenuPoint& at = g_WorldMapMenuPos[kMapMenuPosTotalScore];
  at.x = 320 - width / 2;
  Font& font = g_Fonts[kMapMenuFont];
  font.DrawWindow(&g_BackSurface, at.x, at.y, width, kMapMenuRowHeight);
  font.Printf(&g_BackSurface, at.x, at.y, "%s%d", label.c_str(), static_cast<int>(total));
}

std::unique_ptr<cScene> MakeWorldMapMenuScene() { return std::make_unique<cWorldMapMenuScene>(); }
