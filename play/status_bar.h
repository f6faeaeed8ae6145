#pragma once
// The status bar along the top of the play screen (total score, score, hero 0's HP and SP gauges,
// lives: the five items of the project settings, in this fixed order) and the time limit below it.
#include <array>
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "project/system_data.h"

struct DDSURFACEDATA;

enum StatusBarItemKind : std::int32_t {
  kStatusTotalScore,
  kStatusScore,
  kStatusHp,
  kStatusSp,
  kStatusLives,
};

// A gauge is this many dots long when full.
constexpr std::int32_t kGaugeLength = 50;

// Where the shown items go: the gap between them and each one's left edge and widths (0 for an
// item not shown).
struct cStatusBarLayout {
  std::int32_t m_Shown = 0;
  std::int32_t m_Gap = 0;
  std::array<std::int32_t, kStatusBarItemCount> m_X{};
  std::array<std::int32_t, kStatusBarItemCount> m_Width{};
  std::array<std::int32_t, kStatusBarItemCount> m_LabelWidth{};
};

// The width of an item's label (an icon is one 16-dot cell, a label 16 dots a character) and of the
// whole item (plus the gauge, or the digits of its number).
std::int32_t StatusLabelWidth(const cStatusBarItem& item);
std::int32_t StatusItemWidth(std::int32_t kind, const cStatusBarItem& item);
// The items spread over the bar: equal gaps before, between and after the shown ones.
cStatusBarLayout LayOutStatusBar(const std::array<std::int32_t, kStatusBarItemCount>& widths);
cStatusBarLayout LayOutStatusBar(const CheckedVector<cStatusBarItem>& items);

// The filled length of a gauge of value out of maximum, 0..50 (no fill without a maximum), and the
// row of the accessory sheet it is taken from.
std::int32_t GaugeFill(std::int32_t value, std::int32_t maximum);
std::int32_t GaugeFillRow(std::int32_t fill);

// The text of the lives item: the label, then "∞" for unlimited lives or the number.
void LivesText(std::string& text, const std::string& label, std::int32_t lives);

void DrawStatusBar(DDSURFACEDATA* dst);

// The time left of the play scene below the status bar; with countTime set and the time low, the
// warning sounds once a second.
void DrawTimeLimit(DDSURFACEDATA* dst, std::int32_t countTime);
// The sound of the time warning.
constexpr std::int32_t kTimeWarningSound = 13;
