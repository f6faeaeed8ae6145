#include "play/screen_effect.h"

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "play/dots.h"
#include "play/play_scene.h"

namespace {

CheckedVector<cScrEffectPlayer>& TemplatesOf(std::int32_t reversed) {
  return reversed != 0 ? g_ScrEffectTemplatesReversed : g_ScrEffectTemplates;
}

}  // namespace

void StartScrEffect(cScrEffectPlayer& player, std::int16_t number, std::int32_t mode, std::int32_t loop) {
  const std::int32_t reversed = mode == kEffectModeReverse ? 1 : 0;
  CheckedVector<cScrEffectPlayer>& templates = TemplatesOf(reversed);
  if (number < 0 || number >= templates.Size()) {
    // Number 0 before any table is loaded is the plain stop; anything else names no definition.
    if (number != 0) ReportBadVectorIndex(number, templates.Size(), CheckedElementSize<cScrEffectPlayer>());
    player = cScrEffectPlayer();
    return;
  }
  player.m_Reversed = reversed;
  LoadEffectTemplate(player, templates.At(number));
  player.m_Number = number;
  player.m_Mode = mode;
  player.m_Loop = loop;
}

void RestartScrEffect(cScrEffectPlayer& player) {
  if (player.m_Mode == kEffectModeThereAndBack) player.m_Reversed = player.m_Reversed != 0 ? 0 : 1;
  CheckedVector<cScrEffectPlayer>& templates = TemplatesOf(player.m_Reversed);
  // The number was checked at the start; the tables do not change while a stage runs.
  if (player.m_Number >= 0 && player.m_Number < templates.Size())
    LoadEffectTemplate(player, templates.At(player.m_Number));
}

std::int32_t StepScrEffect(cScrEffectPlayer& player, std::int32_t start, std::int32_t end, double step) {
  bool over = false;
  if (start <= end) {
    player.m_Current += step;
    over = TruncDot(player.m_Current) > end;
  } else {
    player.m_Current -= step;
    over = TruncDot(player.m_Current) < end;
  }
  if (!over) return 0;
  if (player.m_Loop != 0 || (player.m_Mode == kEffectModeThereAndBack && player.m_Reversed == 0)) {
    RestartScrEffect(player);
    return 0;
  }
  return 1;
}

void RunScreenEffect(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = scene.m_ScreenEffect;
  if (player.m_Number == 0) {
    // An effect stopped by a start of number 0 left the virtual back buffer on.
    if (g_DisplayContext != nullptr && g_DisplayContext->virBackOn != 0) SetVirBackBuffer(0);
    return;
  }
  const std::int32_t kind = player.m_Def != nullptr ? player.m_Def->m_Kind : -1;
  const bool known = kind >= 0 && kind <= kScrEffectKindCount;
  if (known && ScrEffectDrawTable[kind](scene, frozen) == 0) return;
  player.m_Number = 0;
  SetVirBackBuffer(0);
}
