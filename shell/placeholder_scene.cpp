#include "shell/placeholder_scene.h"

#include <array>
#include <atomic>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "shell/menu_cursor.h"
#include "shell/scene_manager.h"

namespace {

// The names of the slots, for the report line and the screen.
constexpr std::array<const char*, kSceneSlotCount> kSlotNames = {"title", "world map", "world-map menu",
                                                                 "challenge", "play", "option"};

std::array<std::atomic<bool>, kSceneSlotCount> s_Reported{};

const char* SlotName(std::int32_t slot) {
  return slot >= 0 && slot < kSceneSlotCount ? kSlotNames[static_cast<std::size_t>(slot)] : "unknown";
}

}  // namespace

void ResetPlaceholderReports() {
  for (std::atomic<bool>& reported : s_Reported) reported = false;
}

cPlaceholderScene::cPlaceholderScene(std::int32_t slot) : m_Slot(slot) {
  SetHandlers({static_cast<Handler>(&cPlaceholderScene::OnWait)});
}

void cPlaceholderScene::Frame() { MenuFrame(); }

void cPlaceholderScene::Enter() {
  g_MenuCursor.Reset();
  const bool known = m_Slot >= 0 && m_Slot < kSceneSlotCount;
  if (known && !s_Reported[static_cast<std::size_t>(m_Slot)].exchange(true))
    ReportLog("scene %d (%s) is not built yet: an empty scene stands in and returns to the title", m_Slot,
              SlotName(m_Slot));
}

void cPlaceholderScene::Draw() {
  DDClear(&g_BackSurface, 0);
  g_Fonts[1].Printf(&g_BackSurface, 32, 224, "%s: press a button", SlotName(m_Slot));
}

void cPlaceholderScene::FadeIn() {
  Draw();
  MenuFadeInStep();
}

void cPlaceholderScene::OnWait() {
  if (!g_Inputs.empty() && g_Inputs[0].m_Buttons != 0) {
    FadeOutTo(kSceneTitle);
    return;
  }
  Draw();
}

void cPlaceholderScene::FadeOut() { MenuFadeOutStep(m_Slot); }
