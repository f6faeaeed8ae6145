#include "play/stage_draw.h"

#include <string>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/surface.h"
#include "platform/services/text.h"
#include "play/chip_sheets.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/stage_draw_objects.h"
#include "play/stage_draw_presentation.h"
#include "play/status_bar.h"
#include "project/system_data.h"
#include "shell/app_state.h"
#include "shell/hbt_palette.h"
#include "shell/startup.h"

namespace {

constexpr std::int32_t kPauseMenuState = 3;
// UiTexts of the hint line: "スペースキーでタイトルへ戻る", "スペースキーで終了".
constexpr std::int32_t kHintBackToTitle = 25;
constexpr std::int32_t kHintQuit = 26;
constexpr std::int32_t kHintY = 456;
constexpr std::int32_t kHintCell = 16;

// The composed shot sheets are empty again after the device came back: they are composed anew.
void RecomposeRestoredShotSheets() {
  DDSURFACEDATA& sheet = g_SurfaceTable[kShotSheet];
  DDSURFACEDATA& mirrored = g_SurfaceTable[kShotSheetMirrored];
  const bool restored = (sheet.lpDT && sheet.lpDT->recreated) || (mirrored.lpDT && mirrored.lpDT->recreated);
  if (!restored) return;
  ComposeChipSheets();
  if (sheet.lpDT) sheet.lpDT->recreated = 0;
  if (mirrored.lpDT) mirrored.lpDT->recreated = 0;
}

void DrawHint(DDSURFACEDATA* dst) {
  std::int32_t entry = 0;
  if (g_TestPlay != 0)
    entry = kHintQuit;
  else if (g_EditorLaunched != 0)
    entry = kHintBackToTitle;
  else
    return;
  if (entry >= g_System.m_UiTexts.Size()) return;
  const std::string& text = g_System.m_UiTexts.At(entry);
  g_Fonts[1].Draw(dst, 320 - CharCount(text) * kHintCell / 2, kHintY, text.c_str(), 0);
}

}  // namespace

void DrawStage(std::int32_t play, std::int32_t frozen, std::int32_t countTime, std::int32_t hint) {
  if (g_PlayScene == nullptr) return;
  cPlayScene& scene = *g_PlayScene;
  DDSURFACEDATA* back = &g_BackSurface;
  RecomposeRestoredShotSheets();
  // A screen effect works on the whole frame: it is drawn on the virtual back buffer first.
  const bool virtualBack = scene.m_ScreenEffect.m_Number != 0 && DisplayIsD3D();
  if (virtualBack) SetVirBackBuffer(1);
  ScrollBackgrounds();
  DrawBackgroundLayers(back, kPlaneBack);
  if (play == 0 && scene.m_State == kPauseMenuState && g_System.m_HideStageWhilePaused != 0) {
    DrawBackgroundLayers(back, kPlaneFront);
    DrawScreenColour(frozen);
    // The screen effect does not run on this frame: what was drawn goes to the back buffer as it is.
    if (virtualBack) SetVirBackBuffer(0);
    return;
  }
  DrawPictures(back, 0, frozen);
  DrawMapCells(back, kPlaneBack);
  DrawStageObjects(back, frozen);
  DrawBackgroundLayers(back, kPlaneFront);
  DrawMapCells(back, kPlaneFront);
  if (g_DarknessDrawer != nullptr) g_DarknessDrawer(back);
  DrawPictures(back, 1, frozen);
  DrawEffectInstances(back, frozen);
  DrawMessageWindows(back, frozen);
  RunScreenEffect(scene, frozen);
  DrawStatusBar(back);
  DrawTimeLimit(back, countTime);
  if (hint != 0) DrawHint(back);
  CycleSystemColours();
  DrawScreenColour(frozen);
}
