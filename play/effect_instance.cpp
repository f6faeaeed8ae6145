#include "play/effect_instance.h"

#include <algorithm>
#include <limits>

#include "platform/display/blit.h"
#include "platform/services/random.h"
#include "play/chara_base.h"
#include "play/dots.h"
#include "play/play_scene.h"
#include "play/stage_bitmaps.h"
#include "project/database.h"
#include "project/database_frames.h"

namespace {

// Jitter of a hit effect: up to this many dots each way per unit of scale.
constexpr std::int32_t kHitJitterDots = 4;

// The definition without a report: the number was checked when the instance was set up.
const cEffectDef* KnownEffectDef(std::int32_t number) {
  const auto& table = g_Database.m_Effects;
  return number > 0 && number < table.Size() ? &table[static_cast<std::size_t>(number)] : nullptr;
}

// The picture effect n draws from: the first of its two records, which start at entry 2n - 2
// (effect 0 has none); null when it did not load.
DDSURFACEDATA* EffectSurface(std::int32_t number) {
  const std::int64_t index = (std::int64_t{number} - 1) * kEffectRecords;
  if (number <= 0 || index >= static_cast<std::int64_t>(g_EffectSurfaces.size())) return nullptr;
  DDSURFACEDATA* surface = &g_EffectSurfaces[static_cast<std::size_t>(index)];
  return HasSurface(*surface) ? surface : nullptr;
}

}  // namespace

const cEffectDef* EffectDefOf(std::int32_t number) {
  if (number == 0) return nullptr;
  const auto& table = g_Database.m_Effects;
  if (number < 0 || number >= table.Size()) {
    ReportBadVectorIndex(number, table.Size(), CheckedElementSize<cEffectDef>());
    return nullptr;
  }
  return &table[static_cast<std::size_t>(number)];
}

void cEffectInstance::LoadAnimation(std::int32_t number) {
  m_Anime.ClearPatterns();
  if (number < 0 || number >= g_EffectFrameLists.Size()) {
    ReportBadVectorIndex(number, g_EffectFrameLists.Size(), CheckedElementSize<AnimeFrameList>());
    return;  // without a pattern the instance ends at its first frame
  }
  m_Anime.AppendPattern() = g_EffectFrameLists[static_cast<std::size_t>(number)];
  m_Anime.SetPattern(0, 1);
}

void cEffectInstance::SetupAt(std::int32_t number, double x, double y, std::int32_t width, std::int32_t height,
                              std::int32_t countsWhileFrozen) {
  m_X = x;
  m_Y = y;
  m_Width = width;
  m_Height = height;
  m_CountsWhileFrozen = countsWhileFrozen;
  const cEffectDef* def = EffectDefOf(number);
  m_Number = def != nullptr ? number : 0;
  m_Scaled = def != nullptr && width != def->m_CellWidth ? 1 : 0;
  if (def != nullptr)
    LoadAnimation(number);
  else
    m_Anime.ClearPatterns();
}

void SetupEffectInstance(cEffectInstance& effect, std::int32_t number, const cSubBox& a, const cSubBox& b,
                         std::int32_t scale) {
  effect.m_Anime.ClearPatterns();
  effect.m_CountsWhileFrozen = 0;
  const cEffectDef* def = EffectDefOf(number);
  effect.m_Number = def != nullptr ? number : 0;
  if (def == nullptr) {
    effect.m_X = effect.m_Y = 0.0;
    effect.m_Width = effect.m_Height = effect.m_Scaled = 0;
    return;
  }
  // The scale is a signed byte in the records that carry it.
  const std::int32_t byteScale = static_cast<std::int8_t>(scale);
  std::int32_t s = 1;
  if (def->m_FollowsScale != 0 && byteScale > 1) s = byteScale;
  effect.m_Scaled = s > 1 ? 1 : 0;
  effect.m_Width = ClampToInt32(std::int64_t{def->m_CellWidth} * s);
  effect.m_Height = ClampToInt32(std::int64_t{def->m_CellHeight} * s);

  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
  if (BoxesOverlap(a, b)) {
    x1 = std::max(a.m_X1, b.m_X1);
    y1 = std::max(a.m_Y1, b.m_Y1);
    x2 = std::min(a.m_X2, b.m_X2);
    y2 = std::min(a.m_Y2, b.m_Y2);
  }
  effect.m_X = x1 + TruncDot(x2 - x1 + 1) / 2 - effect.m_Width / 2;
  effect.m_Y = y1 + TruncDot(y2 - y1 + 1) / 2 - effect.m_Height / 2;
  const std::int32_t spread = 2 * kHitJitterDots * s + 1;
  effect.m_X += GameRand() % spread - kHitJitterDots * s;
  effect.m_Y += GameRand() % spread - kHitJitterDots * s;
  effect.LoadAnimation(number);
}

void StartHitEffect(std::int32_t number, const cSubBox& struck, const cSubBox& attacker, std::int32_t scale) {
  // The records keep the number in 16 bits.
  number &= 0xFFFF;
  if (g_PlayScene == nullptr || number == 0) return;
  cEffectInstance effect;
  SetupEffectInstance(effect, number, struck, attacker, scale);
  if (effect.m_Number != 0) g_PlayScene->m_Effects.push_back(std::move(effect));
}

std::int32_t DrawEffectInstance(cEffectInstance& effect, DDSURFACEDATA* dst, std::int32_t frozen) {
  const cEffectDef* def = KnownEffectDef(effect.m_Number);
  if (def == nullptr || def->m_Frames.empty() || effect.m_Anime.PatternCount() == 0) return 1;

  std::int32_t value = 0;
  if (effect.m_CountsWhileFrozen == 0 && frozen == 1) {
    value = effect.m_Anime.GetValue();
  } else {
    value = effect.m_Anime.Step();
    if (value == kAnimeEnd) return 1;
  }
  if (g_PlayScene == nullptr) return 0;
  const std::int32_t x = TruncDot(effect.m_X - g_PlayScene->m_ScrollX.m_Pos);
  const std::int32_t y = TruncDot(effect.m_Y - g_PlayScene->m_ScrollY.m_Pos);

  // Nothing to copy from: the picture did not load, a cell before the first, or a size that
  // covers no dot. The animation runs on all the same.
  DDSURFACEDATA* src = EffectSurface(effect.m_Number);
  if (src == nullptr || value < 0 || effect.m_Width <= 0 || effect.m_Height <= 0) return 0;
  if (effect.m_Scaled != 0) {
    const std::int64_t sx = std::int64_t{value} * def->m_CellWidth;
    if (sx > std::numeric_limits<std::int32_t>::max() || def->m_CellWidth <= 0 || def->m_CellHeight <= 0) return 0;
    DDStretchBlt(dst, x, y, effect.m_Width, effect.m_Height, src, static_cast<std::int32_t>(sx), 0, def->m_CellWidth,
                 def->m_CellHeight, 1);
  } else {
    const std::int64_t sx = std::int64_t{value} * effect.m_Width;
    if (sx > std::numeric_limits<std::int32_t>::max()) return 0;
    DDBlt(dst, x, y, effect.m_Width, effect.m_Height, src, static_cast<std::int32_t>(sx), 0, 1);
  }
  return 0;
}

std::int32_t EffectLengthFrames(std::int32_t number) {
  const cEffectDef* def = KnownEffectDef(number);
  if (def == nullptr) return 0;
  std::int64_t total = 0;
  // Summed wide and held in range: a damaged file's times cannot wrap the total.
  for (const cEffectFrame& frame : def->m_Frames) total += std::int64_t{frame.m_Time} * 6;
  return std::max(ClampToInt32(total), 0);
}
