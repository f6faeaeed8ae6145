#include "shell/hbt_palette.h"

#include <algorithm>

#include "platform/display/blend_table.h"
#include "platform/display/d3d_device.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "shell/startup.h"

std::array<SystemColour, kSystemColourCount> g_SystemColours{};

namespace {

constexpr std::int32_t kColourRowFirst = 16;  // rows 1-12 of the palette: entries 16-207
constexpr std::int32_t kColourRowLast = 207;
constexpr std::int32_t kRowSize = 16;
constexpr std::int32_t kRotatingFirst = 208;  // eight groups of four: 208-211 ... 236-239
constexpr std::int32_t kRotatingGroups = 8;
constexpr std::int32_t kRotatingGroupSize = 4;
constexpr std::int32_t kPaletteCycleEvery = 6;

// A brightness ramp between 0 and 255.
struct sRamp {
  std::int32_t level = 0;
  std::int32_t down = 0;
};

constexpr int kRampCount = 9;
std::array<sRamp, kRampCount> s_Ramps{};
std::int32_t s_Ramp8Phase = 0;
std::int32_t s_PaletteCycleCalls = 0;

constexpr std::int32_t kRampTop = 255;

// Moves a ramp one step; true when it has come back to the bottom (a whole cycle). The step is the
// project's and is taken within 0..255, so no sum leaves the numbers and every level stays within
// 0..255 (a negative step would run a level below the bottom for ever).
bool StepRamp(sRamp& ramp, std::int32_t projectStep) {
  const std::int32_t step = std::clamp(projectStep, 0, kRampTop);
  if (!ramp.down) {
    if (ramp.level + step >= kRampTop)
      ramp.down = 1;
    else
      ramp.level += step;
    return false;
  }
  if (ramp.level - step <= 0) {
    ramp.down = 0;
    return true;
  }
  ramp.level -= step;
  return false;
}

std::uint32_t Argb(std::int32_t r, std::int32_t g, std::int32_t b) {
  return 0xFF000000u | static_cast<std::uint32_t>(r & 0xFF) << 16 | static_cast<std::uint32_t>(g & 0xFF) << 8 |
         static_cast<std::uint32_t>(b & 0xFF);
}

void CycleRamps() {
  std::array<std::int32_t, kRampCount> l{};
  for (int i = 0; i < kRampCount; ++i) l[static_cast<std::size_t>(i)] = s_Ramps[static_cast<std::size_t>(i)].level;
  const std::int32_t p8 = l[8];
  const std::uint32_t phase8[4] = {Argb(p8, 0, 0), Argb(0, p8, 0), Argb(0, 0, p8), Argb(p8, p8, 0)};
  // One row per system colour, from the levels before this frame's step.
  g_SystemColours[1] = {Argb(l[0], l[0], l[0]), D3DTOP_ADD};
  g_SystemColours[2] = {Argb(l[1], l[1], l[1]), D3DTOP_SUBTRACT};
  g_SystemColours[3] = {Argb(l[2], 0, 0), D3DTOP_ADD};
  g_SystemColours[4] = {Argb(0, l[3], 0), D3DTOP_ADD};
  g_SystemColours[5] = {Argb(0, 0, l[4]), D3DTOP_ADD};
  g_SystemColours[6] = {Argb(l[5], l[5], 0), D3DTOP_ADD};
  g_SystemColours[7] = {Argb(l[6], 0, l[6] / 4), D3DTOP_ADD};
  g_SystemColours[8] = {Argb(l[7] / 4, 0, l[7]), D3DTOP_ADD};
  g_SystemColours[9] = {phase8[s_Ramp8Phase & 3], D3DTOP_ADD};

  const std::int32_t step = g_System.m_SystemColourStep;
  for (int i = 0; i < kRampCount; ++i) {
    const bool cycled = StepRamp(s_Ramps[static_cast<std::size_t>(i)], step);
    if (i == 8 && cycled) s_Ramp8Phase = (s_Ramp8Phase + 1) & 3;
  }
}

void CyclePaletteGroups() {
  if (!g_System.m_SystemColourCycling || g_DisplayParams.bpp != 8) return;
  if (++s_PaletteCycleCalls < kPaletteCycleEvery) return;
  s_PaletteCycleCalls = 0;
  for (std::int32_t g = 0; g < kRotatingGroups; ++g) {
    const std::int32_t first = kRotatingFirst + g * kRotatingGroupSize;
    RotatePalette(g_FadePalette, first, first + kRotatingGroupSize - 1, 1, 1, g_FadePalette);
  }
  if (g_lpDDPalette)
    g_lpDDPalette->SetEntries(kRotatingFirst, kRotatingGroups * kRotatingGroupSize, &g_FadePalette[kRotatingFirst]);
}

}  // namespace

std::int32_t LoadHbtPalette(std::int32_t number) {
  if (DisplayIsD3D() || !g_lpDD || g_DisplayParams.bpp != 8) return 1;
  // A number from a damaged option file must not copy from beyond the palette's sixteen rows.
  if (number < kHbtPaletteFirst || number > kHbtPaletteLast) {
    ReportLog("palette number %d has no colour rows", number);
    return 0;
  }
  const std::string name = FormatString("bmp\\hbt\\hbt%02d.dat", number);
  if (!LoadBlendTable(g_BlendTable, name)) {
    ErrMesBox(SJ("%s の読み込みに失敗！").c_str(), name.c_str());
    return 0;
  }
  if (!DDLoadPaletteFromFile(g_Palette, g_SurfaceDescriptors[0].name, g_Windowed)) {
    LogF("%s", SJ("DDLoadPaletteFromFile失敗").c_str());
    return 0;
  }
  if (number < 12) {
    RotatePalette(g_Palette, kColourRowFirst, kColourRowLast, number * kRowSize, 1, g_Palette);
  } else {
    const std::int32_t source = (number - 11) * kRowSize;
    PALETTEENTRY row[kRowSize];
    for (std::int32_t i = 0; i < kRowSize; ++i) row[i] = g_Palette[source + i];
    for (std::int32_t first = kColourRowFirst; first <= kColourRowLast; first += kRowSize)
      for (std::int32_t i = 0; i < kRowSize; ++i) g_Palette[first + i] = row[i];
  }
  for (int i = 0; i < 256; ++i) g_FadePalette[i] = g_Palette[i];
  // 255 entries: the last one stays the system's.
  if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 255, g_FadePalette);
  return 1;
}

void CycleSystemColours() {
  if (DisplayIsD3D())
    CycleRamps();
  else
    CyclePaletteGroups();
}

void ResetSystemColours() {
  s_Ramps = {};
  s_Ramp8Phase = 0;
  s_PaletteCycleCalls = 0;
  g_SystemColours = {};
}
