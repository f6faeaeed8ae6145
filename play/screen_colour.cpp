#include "play/screen_colour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/display/pixel_effects.h"
#include "play/play_scene.h"

namespace {

// The command's time counts tenths of a second.
constexpr std::int64_t kFramesPerTenth = 6;

std::uint8_t ColourByte(std::int32_t value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// A weight worked out in doubles, within 0..255 whatever the command's strength was.
std::int32_t ClampWeight(double weight) {
  if (!(weight > 0.0)) return 0;
  return weight >= kUntinted ? kUntinted : static_cast<std::int32_t>(weight);
}

bool PaletteDisplay() { return !DisplayIsD3D() && g_DisplayParams.bpp == 8; }

// The tint of one frame: weight and colour.
struct sTint {
  std::int32_t weight = kUntinted;
  std::uint8_t red = 0, green = 0, blue = 0;
};

// The frame's tint, and the change advanced unless frozen.
sTint StepChange(cScreenColour& c, std::int32_t frozen) {
  sTint tint{kUntinted, c.m_Red, c.m_Green, c.m_Blue};
  if (c.m_Flash != 0) {
    if (c.m_Counter < c.m_Time) {
      tint.weight = ScreenColourWeight(c);
      if (frozen == 0) ++c.m_Counter;
    } else if (frozen == 0) {
      c.m_Counter = 0;
      if (++c.m_RepeatsDone >= c.m_Repeats) c.m_Active = 0;
    }
  } else if (c.m_Restore != 0) {
    tint = {ScreenColourWeight(c), c.m_PrevRed, c.m_PrevGreen, c.m_PrevBlue};
    if (frozen == 0 && ++c.m_Counter >= c.m_Time) c.m_Active = 0;
  } else {
    tint.weight = ScreenColourWeight(c);
    if (frozen == 0 && c.m_Counter < c.m_Time) ++c.m_Counter;
    // A change to no tint at all has nothing to hold once it has faded.
    if (c.m_Counter >= c.m_Time && c.m_Strength == 0) c.m_Active = 0;
  }
  c.m_Weight = tint.weight;
  return tint;
}

// DirectDraw at 8 bits: the display palette is the game palette mixed with the colour. The weight
// 255 is the untinted frame, so it sets the game palette itself.
void TintPalette(const sTint& tint) {
  const std::int32_t level = tint.weight >= kUntinted ? 256 : tint.weight;
  FadePalette(g_FadePalette, 0, 255, level, tint.red, tint.green, tint.blue, g_Palette);
  if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 256, g_FadePalette);
}

}  // namespace

std::int32_t ScreenColourWeight(const cScreenColour& c) {
  // With no time the change is at its end at once.
  const double fraction = c.m_Time > 0 ? static_cast<double>(c.m_Counter) / c.m_Time : 1.0;
  if (c.m_Restore != 0 && c.m_Flash == 0)
    return ClampWeight(c.m_PrevWeight + fraction * (kUntinted - c.m_PrevWeight));
  return ClampWeight(kUntinted - fraction * c.m_Strength * 2.55);
}

void StartScreenColour(cScreenColour& c, std::int32_t red, std::int32_t green, std::int32_t blue,
                       std::int32_t strength, std::int32_t restore, std::int32_t time, std::int32_t flash,
                       std::int32_t repeats) {
  // A fade back needs something to fade from: under Direct3D a change under way, in the palette a
  // colour that was set.
  if (restore != 0) {
    if (DisplayIsD3D() && c.m_Active == 0) return;
    if (PaletteDisplay() && c.m_Held == 0) return;
  }
  c.m_PrevRed = c.m_Red;
  c.m_PrevGreen = c.m_Green;
  c.m_PrevBlue = c.m_Blue;
  c.m_PrevStrength = c.m_Strength;
  c.m_PrevWeight = c.m_Weight;
  c.m_Red = ColourByte(red);
  c.m_Green = ColourByte(green);
  c.m_Blue = ColourByte(blue);
  c.m_Strength = strength;
  c.m_Restore = restore;
  c.m_Time = static_cast<std::int32_t>(std::clamp<std::int64_t>(time * kFramesPerTenth, 0, INT32_MAX));
  c.m_Flash = flash;
  c.m_Repeats = repeats;
  c.m_Active = 1;
  c.m_Counter = 0;
  c.m_RepeatsDone = 0;
  if (restore == 0) {
    c.m_Weight = 0;
    c.m_Held = 1;
  } else {
    c.m_Red = c.m_PrevRed;
    c.m_Green = c.m_PrevGreen;
    c.m_Blue = c.m_PrevBlue;
    c.m_Strength = c.m_PrevStrength;
    c.m_Weight = c.m_PrevWeight;
  }
}

void DrawScreenColour(std::int32_t frozen) {
  if (g_PlayScene == nullptr) return;
  cScreenColour& c = g_PlayScene->m_ScreenColour;
  if (c.m_Active == 0) return;
  if (DisplayIsD3D()) {
    const sTint tint = StepChange(c, frozen);
    if (tint.weight < kUntinted)
      DDChangeColor(&g_BackSurface, 0, 0, kViewWidth, kViewHeight, tint.weight, tint.red, tint.green, tint.blue);
    return;
  }
  if (frozen != 0) return;
  // Above 8 bits the surface branch has no way to tint the frame.
  if (!PaletteDisplay()) {
    c.m_Active = 0;
    return;
  }
  const bool restoring = c.m_Restore != 0 && c.m_Flash == 0;
  sTint tint = StepChange(c, frozen);
  // The palette stays as it was last set: a fade back that ends leaves it untinted, as the frame
  // of the textured branch is once the change is over.
  if (restoring && c.m_Active == 0) tint.weight = kUntinted;
  TintPalette(tint);
}
