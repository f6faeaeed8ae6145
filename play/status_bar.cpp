#include "play/status_bar.h"

#include <algorithm>
#include <charconv>

#include "platform/audio/sound_effects.h"
#include "platform/display/blit.h"
#include "platform/display/font.h"
#include "platform/display/frame_draw.h"
#include "platform/display/surface.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "platform/services/timers.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/save_data.h"
#include "project/stage_data.h"

namespace {

constexpr std::int32_t kStatusWindowSheet = 46;  // StatusWindow.bmp
constexpr std::int32_t kAccessorySheet = 49;     // Accessory.bmp: icons and gauges
constexpr std::int32_t kWordSheet = 51;          // Word.bmp: the time digits

constexpr std::int32_t kBarWidth = 640;
constexpr std::int32_t kBarHeight = 20;
// The bar's usable width: one dot is kept free at each end.
constexpr std::int32_t kBarSpan = 638;
constexpr std::int32_t kItemY = 3;
constexpr std::int32_t kGaugeNumberY = 6;
constexpr std::int32_t kCell = 16;

// Per item: the icon's place on the accessory sheet, and for the gauges the column of their frame
// and fill.
struct sItemArt {
  std::int32_t iconX, iconY;
  std::int32_t gaugeX;
};
// clang-format off
constexpr sItemArt kItemArt[kStatusBarItemCount] = {
    {0,  32, 0},   // total score
    {16, 32, 0},   // score
    {32, 32, 0},   // HP
    {48, 32, 64},  // SP
    {64, 32, 0},   // lives
};
// clang-format on
constexpr std::int32_t kGaugeFrameRow = 128;
constexpr std::int32_t kGaugeFullRow = 144;
constexpr std::int32_t kGaugeLowRow = 160;
// From this length on a gauge is drawn from the row of the well-filled bar.
constexpr std::int32_t kGaugeFullFrom = 17;

// The time limit: three 32x32 digits of the word sheet at (272, 24).
constexpr std::int32_t kTimeX = 272;
constexpr std::int32_t kTimeY = 24;
constexpr std::int32_t kTimeDigit = 32;
constexpr std::int32_t kTimeDigitRow = 160;
constexpr std::int32_t kTimeDigits = 3;
constexpr std::int32_t kUnlimitedLivesShown = 999999;

// Far beyond the bar: positions from absurd widths end there rather than anywhere in 32 bits.
constexpr std::int64_t kFarAway = 1 << 20;

std::int32_t Bounded(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, -kFarAway, kFarAway)); }

bool IsGauge(std::int32_t kind) { return kind == kStatusHp || kind == kStatusSp; }

void AppendNumber(std::string& text, std::int32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, result.ptr);
}

// The item's value and, for the gauges, its maximum.
std::int32_t ItemValue(std::int32_t kind, std::int32_t* maximum) {
  const cCharaBase* hero = g_PlayScene != nullptr ? g_PlayScene->Hero(0) : nullptr;
  *maximum = 0;
  switch (kind) {
    case kStatusTotalScore: return g_SaveData.m_SumScore;
    case kStatusScore: return g_SaveData.m_Score;
    case kStatusHp:
      if (hero == nullptr) return 0;
      *maximum = hero->m_Def.m_MaxHp;
      return hero->m_Hp;
    case kStatusSp:
      if (hero == nullptr) return 0;
      *maximum = hero->m_Def.m_MaxSp;
      return hero->m_Sp;
    default: return g_SaveData.m_Lives;
  }
}

// The bar is drawn every frame: its texts reuse one buffer, which stops growing after the first.
std::string& TextBuffer() {
  static thread_local std::string text;
  text.clear();
  return text;
}

void DrawIcon(DDSURFACEDATA* dst, std::int32_t kind, std::int32_t x) {
  const sItemArt& art = kItemArt[kind];
  DDBlt(dst, x, kItemY, kCell, kCell, &g_SurfaceTable[kAccessorySheet], art.iconX, art.iconY, 1);
}

void DrawGauge(DDSURFACEDATA* dst, std::int32_t kind, const cStatusBarItem& item, std::int32_t gx) {
  std::int32_t maximum = 0;
  const std::int32_t value = ItemValue(kind, &maximum);
  DDSURFACEDATA* sheet = &g_SurfaceTable[kAccessorySheet];
  const std::int32_t column = kItemArt[kind].gaugeX;
  DDBlt(dst, gx, kItemY, kGaugeLength, kCell, sheet, column, kGaugeFrameRow, 1);
  const std::int32_t fill = GaugeFill(value, maximum);
  if (fill > 0) DDBlt(dst, gx, kItemY, fill, kCell, sheet, column, GaugeFillRow(fill), 1);
  if (item.m_ShowNumber == 0) return;
  std::string& text = TextBuffer();
  AppendNumber(text, value);
  g_Fonts[0].Draw(dst, gx, kGaugeNumberY, text.c_str(), 0);
}

void DrawItem(DDSURFACEDATA* dst, std::int32_t kind, const cStatusBarItem& item, const cStatusBarLayout& layout) {
  const std::int32_t x = layout.m_X[static_cast<std::size_t>(kind)];
  Font& font = g_Fonts[1];
  std::string& text = TextBuffer();
  if (IsGauge(kind)) {
    if (item.m_Icon != 0)
      DrawIcon(dst, kind, x);
    else
      font.Draw(dst, x, kItemY, item.m_Label.c_str(), 0);
    DrawGauge(dst, kind, item, x + layout.m_LabelWidth[static_cast<std::size_t>(kind)]);
    return;
  }
  std::int32_t maximum = 0;
  const std::int32_t value = ItemValue(kind, &maximum);
  std::int32_t textX = x;
  if (item.m_Icon != 0) {
    DrawIcon(dst, kind, x);
    textX += kCell;
  }
  static const std::string kNoLabel;
  const std::string& label = item.m_Icon != 0 ? kNoLabel : item.m_Label;
  if (kind == kStatusLives)
    LivesText(text, label, value);
  else
    AppendNumber(text.append(label), value);
  font.Draw(dst, textX, kItemY, text.c_str(), 0);
}

}  // namespace

std::int32_t StatusLabelWidth(const cStatusBarItem& item) {
  return item.m_Icon != 0 ? kCell : Bounded(std::int64_t{kCell} * CharCount(item.m_Label));
}

std::int32_t StatusItemWidth(std::int32_t kind, const cStatusBarItem& item) {
  if (item.m_Shown == 0) return 0;
  const std::int64_t rest = IsGauge(kind) ? kGaugeLength : std::int64_t{kCell} * item.m_Digits;
  return Bounded(StatusLabelWidth(item) + rest);
}

cStatusBarLayout LayOutStatusBar(const std::array<std::int32_t, kStatusBarItemCount>& widths) {
  cStatusBarLayout layout;
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] == 0) continue;
    ++layout.m_Shown;
    sum += widths[i];
  }
  if (layout.m_Shown == 0) return layout;
  layout.m_Gap = Bounded((kBarSpan - sum) / (layout.m_Shown + 1));
  std::int64_t x = layout.m_Gap;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    layout.m_Width[i] = widths[i];
    if (widths[i] == 0) continue;
    layout.m_X[i] = Bounded(x);
    x += std::int64_t{widths[i]} + layout.m_Gap;
  }
  return layout;
}

cStatusBarLayout LayOutStatusBar(const CheckedVector<cStatusBarItem>& items) {
  std::array<std::int32_t, kStatusBarItemCount> widths{};
  std::array<std::int32_t, kStatusBarItemCount> labels{};
  for (std::int32_t kind = 0; kind < kStatusBarItemCount && kind < items.Size(); ++kind) {
    widths[static_cast<std::size_t>(kind)] = StatusItemWidth(kind, items.At(kind));
    labels[static_cast<std::size_t>(kind)] = StatusLabelWidth(items.At(kind));
  }
  cStatusBarLayout layout = LayOutStatusBar(widths);
  layout.m_LabelWidth = labels;
  return layout;
}

std::int32_t GaugeFill(std::int32_t value, std::int32_t maximum) {
  if (maximum <= 0) return 0;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{value} * kGaugeLength / maximum, 0,
                                                            kGaugeLength));
}

std::int32_t GaugeFillRow(std::int32_t fill) { return fill >= kGaugeFullFrom ? kGaugeFullRow : kGaugeLowRow; }

void LivesText(std::string& text, const std::string& label, std::int32_t lives) {
  text.assign(label);
  if (lives == kUnlimitedLivesShown)
    text += SJ("∞");
  else
    AppendNumber(text, lives);
}

void DrawStatusBar(DDSURFACEDATA* dst) {
  const CheckedVector<cStatusBarItem>& items = g_System.m_StatusBarItems;
  const cStatusBarLayout layout = LayOutStatusBar(items);
  if (layout.m_Shown == 0 || g_Stage.Field(kStatusBarShown) == 0) return;
  DDBlt(dst, 0, 0, kBarWidth, kBarHeight, &g_SurfaceTable[kStatusWindowSheet], 0, 0, 0);
  for (std::int32_t kind = 0; kind < kStatusBarItemCount && kind < items.Size(); ++kind)
    if (items.At(kind).m_Shown != 0) DrawItem(dst, kind, items.At(kind), layout);
}

void DrawTimeLimit(DDSURFACEDATA* dst, std::int32_t countTime) {
  if (g_PlayScene == nullptr || g_PlayScene->m_NoTimeLimit != 0) return;
  const std::int32_t time = std::clamp(g_PlayScene->m_TimeLeft, 0, 999);
  // Three digits, zeros in front: 10 reads "010".
  DDSURFACEDATA* word = &g_SurfaceTable[kWordSheet];
  std::int32_t digits = 1;
  for (std::int32_t rest = time / 10; rest != 0; rest /= 10) ++digits;
  std::int32_t x = kTimeX;
  for (std::int32_t i = digits; i < kTimeDigits; ++i, x += kTimeDigit)
    DrawNumber(dst, x, kTimeY, kTimeDigit, kTimeDigit, word, 0, kTimeDigitRow, 1, 0, 1, 0);
  DrawNumber(dst, x, kTimeY, kTimeDigit, kTimeDigit, word, 0, kTimeDigitRow, 1, time, 1, 0);
  // Once a second of play while the time is low: the shared per-second counter has just wrapped.
  if (countTime != 0 && time >= 1 && time <= g_Stage.Field(kTimeWarning) && EveryN(2, 0)) PlaySE(kTimeWarningSound);
}
