// The end of a hero's or character's life and the bars that show a change of HP or SP.
#include <algorithm>
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "play/chara.h"
#include "play/damage.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/item_pickup.h"
#include "project/save_data.h"

namespace {

// At death (死亡した時) only the death flows run.
constexpr std::int32_t kDeathFlowsOnly = 1;

// The gauges on the accessory picture.
constexpr std::int32_t kAccessorySurface = 49;
constexpr std::int32_t kGaugeDots = 50;
constexpr std::int32_t kGaugeHeight = 2;
constexpr std::int32_t kHpColumn = 0;
constexpr std::int32_t kSpColumn = 64;
constexpr std::int32_t kHpRaise = 3;
constexpr std::int32_t kSpRaise = 7;
// Frames of the last part of a gauge, in which the bar stays alone.
constexpr std::int32_t kGaugeStillFrames = 60;
// A bar this long or shorter takes the warning row.
constexpr std::int32_t kShortBar = 16;

void DrawGauge(cCharaBase& chara, DDSURFACEDATA* surface, cStatusGauge& gauge, bool sp) {
  if (gauge.m_FramesLeft <= 0 || chara.m_Dead != 0) return;
  DDSURFACEDATA* picture = &g_SurfaceTable[kAccessorySurface];
  // Pictures made for the first layout keep their gauge rows further up, 16 dots apart.
  const bool tall = picture->height > 208;
  const std::int32_t base = tall ? 208 : 128;
  const std::int32_t step = tall ? 2 : 16;
  const std::int32_t column = sp ? kSpColumn : kHpColumn;
  const std::int32_t x = chara.m_ScreenLeft + chara.m_DrawWidth / 2 - 25;
  const std::int32_t y = chara.m_ScreenTop - (sp ? kSpRaise : kHpRaise);
  DDBlt(surface, x, y, kGaugeDots, kGaugeHeight, picture, column, base, 1);
  const std::int32_t bar = gauge.m_StartLength;
  DDBlt(surface, x, y, bar, kGaugeHeight, picture, column, base + (bar > kShortBar ? step : 2 * step), 1);
  if (gauge.m_Change < 0) {
    DDBlt(surface, x + bar, y, static_cast<std::int32_t>(-gauge.m_Change), kGaugeHeight, picture, column,
          base + 3 * step, 1);
  } else {
    const auto width = static_cast<std::int32_t>(gauge.m_Change);
    DDBlt(surface, x + bar - width, y, width, kGaugeHeight, picture, column, base + 4 * step, 1);
  }
  --gauge.m_FramesLeft;
  if (gauge.m_FramesLeft >= kGaugeStillFrames)
    gauge.m_Change -= gauge.m_ChangePerFrame;
  else
    gauge.m_Change = 0.0;
}

}  // namespace

std::int32_t cCharaBase::Die() {
  RunTriggeredFlows(*this, kTriggerDeath);
  RunFlows(kDeathFlowsOnly);
  g_SaveData.m_Score =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{g_SaveData.m_Score} + m_Def.m_Score, 0, kMaxScore));
  std::int32_t stop = 0;
  if (auto* item = dynamic_cast<cItem*>(GetHeldItem()); item != nullptr && item->m_Def.m_ChipIndex != 0 &&
                                                         !g_Heroes.empty())
    stop = ApplyItem(*item, g_Heroes[0]);
  const bool clearPending = g_PlayScene != nullptr && g_PlayScene->m_StageEndRequest == 1;
  if (clearPending || stop == 1) return 1;

  ReleaseAimers();
  SetTarget(nullptr);
  m_Dead = 1;
  StartCharaEffect(m_CharaEffect, m_Def.m_DeathEffect, m_Def.m_DeathEffectMode, 0);
  return 0;
}

void cCharaBase::DrawHPGauge(DDSURFACEDATA* surface) { DrawGauge(*this, surface, m_HpGauge, false); }

void cCharaBase::DrawSPGauge(DDSURFACEDATA* surface) { DrawGauge(*this, surface, m_SpGauge, true); }
