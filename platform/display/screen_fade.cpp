// The screen fades of the scenes' FadeIn and FadeOut states, and the palette-free fade of a whole
// surface they use above 8 bits under DirectDraw.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette_fade.h"
#include "platform/display/quad.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

constexpr double kShown = 90.0;  // the angle at which the picture is shown whole
constexpr double kHidden = 0.0;  // the angle at which only the colour is left

// Each fade keeps its own angle per back-end, so that a fade begun under one is never continued
// under the other.
struct sFadeAngles {
  double outD3D = kShown;
  double outDD = kShown;
  double inD3D = kHidden;
  double inDD = kHidden;
};
sFadeAngles s_Angles;

// trunc(sin(angle) * scale), the share of the picture at this angle; 0 for an angle that is no
// number (a step that was none).
std::int32_t ShareAt(double angle, double scale) {
  const double share = std::sin(angle * std::numbers::pi / 180.0) * scale;
  if (!(share > 0.0)) return 0;
  return static_cast<std::int32_t>(std::min(share, scale));
}

// Direct3D: a black quad over the whole picture, alpha 255 - trunc(sin(angle) * 255), blended over
// it. False when the scene or the render target cannot be had.
bool DrawFadeD3D(double angle) {
  DDSURFACEDATA* target = &g_BackSurface;
  RedirectToVirBackBuffer(&target);
  if (!SceneBegin() || !SetRenderTargetChecked(target)) return false;
  if (target->lpDT && target->lpDT->vertexBuffer) {
    cVertexBuffer& vertices = *target->lpDT->vertexBuffer;
    const auto cover = static_cast<std::uint32_t>(255 - ShareAt(angle, 255.0));
    WriteQuadVertices(vertices, 0, 0, target->width, target->height, 0, 0, 0, 0, 1, 1, cover << 24);
    D3DTextureStage& stage = lpDevice->m_Stage0;
    stage.colorOp = D3DTOP_SELECTARG2;
    stage.colorArg2 = D3DTA_DIFFUSE;
    stage.alphaOp = D3DTOP_SELECTARG2;
    stage.alphaArg2 = D3DTA_DIFFUSE;
    DrawQuad(*lpDevice, vertices, nullptr);
  }
  DDSURFACEDATA* current = g_DisplayContext->renderTarget;
  if (current && current->lpDT && current->lpDT->lpSurface) lpDevice->SetRenderTarget(current->lpDT->lpSurface);
  return true;
}

// DirectDraw: the picture at the angle's share. At 8 bits the palette is faded; above, the screen copy
// taken at the fade's start is written faded into the back surface.
void DrawFadeDD(double angle, bool atStart, PALETTEENTRY palette[256], std::int32_t first, std::int32_t last,
                std::uint8_t R, std::uint8_t G, std::uint8_t B, const PALETTEENTRY src[256]) {
  const std::int32_t bpp = g_DisplayParams.bpp;
  if (atStart && bpp != 8)
    DDBlt(&g_ScreenCopySurface, 0, 0, g_BackSurface.width, g_BackSurface.height, &g_BackSurface, 0, 0, 0);
  const std::int32_t level = ShareAt(angle, 256.0);
  if (bpp == 8) {
    FadePalette(palette, first, last, level, R, G, B, src);
    if (g_lpDDPalette && palette && first >= 0 && first <= last && last <= 255)
      g_lpDDPalette->SetEntries(first, last - first + 1, palette + first);
  } else {
    DDFade_UnPal(&g_BackSurface, level, R, G, B, &g_ScreenCopySurface);
  }
}

// One step of a fade whose angle runs from `from` to `to`.
bool FadeStep(double& angle, double from, double to, PALETTEENTRY palette[256], std::int32_t first, std::int32_t last,
              std::uint8_t R, std::uint8_t G, std::uint8_t B, double step, const PALETTEENTRY src[256], bool finish) {
  // The screen copy is taken when a fade starts, also when it is finished at once: a fade-in cut
  // short must show the picture now, not the copy an earlier fade left.
  const bool atStart = angle == from;
  if (finish) angle = to;
  if (DisplayIsD3D()) {
    if (!DrawFadeD3D(angle)) return false;
  } else if (g_DDContext) {
    DrawFadeDD(angle, atStart, palette, first, last, R, G, B, src);
  }
  const bool rising = to > from;
  if (rising ? angle < to : angle > to) {
    angle = rising ? std::min(angle + step, to) : std::max(angle - step, to);
    return false;
  }
  angle = from;
  return true;
}

// A channel of 0..255 mixed with colour: level 256 keeps it, 0 gives the colour.
std::uint32_t Mix8(std::uint32_t c, std::int32_t level, std::uint8_t colour) {
  return (c * static_cast<std::uint32_t>(level) + colour * static_cast<std::uint32_t>(256 - level)) >> 8;
}

// A 16-bit channel of 0..mask, mixed in the 0..255 scale and brought back (low values can lose a
// step on the way).
std::uint32_t FadeChannel16(std::uint32_t c, std::uint32_t mask, std::int32_t level, std::uint8_t colour) {
  if (mask == 0) return 0;
  return Mix8(c * 255 / mask, level, colour) * mask / 255;
}

}  // namespace

bool ScreenFadeOut(PALETTEENTRY palette[256], std::int32_t first, std::int32_t last, std::uint8_t R, std::uint8_t G,
                   std::uint8_t B, double step, const PALETTEENTRY src[256], bool finish) {
  double& angle = DisplayIsD3D() ? s_Angles.outD3D : s_Angles.outDD;
  return FadeStep(angle, kShown, kHidden, palette, first, last, R, G, B, step, src, finish);
}

bool ScreenFadeIn(PALETTEENTRY palette[256], std::int32_t first, std::int32_t last, std::uint8_t R, std::uint8_t G,
                  std::uint8_t B, double step, const PALETTEENTRY src[256], bool finish) {
  double& angle = DisplayIsD3D() ? s_Angles.inD3D : s_Angles.inDD;
  return FadeStep(angle, kHidden, kShown, palette, first, last, R, G, B, step, src, finish);
}

void RewindScreenFades() { s_Angles = sFadeAngles{}; }

bool DDFade_UnPal(DDSURFACEDATA* dst, std::int32_t level, std::uint8_t R, std::uint8_t G, std::uint8_t B,
                  DDSURFACEDATA* src) {
  if (DisplayIsD3D()) {
    LogF("%s", SJ("D3DではDDFade_UnPalは未対応").c_str());
    return true;
  }
  if (!dst || !src || !dst->lpDDPart || !src->lpDDPart || !dst->lpDDPart->surface || !src->lpDDPart->surface)
    return true;
  cPixelBuffer* to = nullptr;
  cPixelBuffer* from = nullptr;
  cDDSurface& dstSurface = *dst->lpDDPart->surface;
  cDDSurface& srcSurface = *src->lpDDPart->surface;
  if (FAILED(dstSurface.Lock(&to))) return true;
  if (FAILED(srcSurface.Lock(&from))) {
    dstSurface.Unlock();
    return true;
  }
  level = std::clamp(level, 0, 256);
  const std::int32_t width = std::min(to->Width(), from->Width());
  const std::int32_t height = std::min(to->Height(), from->Height());
  const int bytes = to->BytesPerPixel();
  if (bytes == from->BytesPerPixel() && (bytes == 2 || bytes == 4)) {
    // Every channel value maps to one faded value: the tables are made once, the pixels only look up.
    const std::uint32_t* m = g_ColorMasks.data() + kSurfaceMasks;
    const std::uint32_t shifts[3] = {m[kMaskRShift] & 31, m[kMaskGShift] & 31, m[kMaskBShift] & 31};
    const std::uint32_t masks[3] = {std::min<std::uint32_t>(m[kMaskR], 255), std::min<std::uint32_t>(m[kMaskG], 255),
                                    std::min<std::uint32_t>(m[kMaskB], 255)};
    const std::uint8_t colours[3] = {R, G, B};
    std::array<std::array<std::uint32_t, 256>, 3> table{};
    for (int ch = 0; ch < 3; ++ch) {
      const std::uint32_t top = bytes == 2 ? masks[ch] : 255;
      for (std::uint32_t c = 0; c <= top; ++c)
        table[ch][c] = bytes == 2 ? FadeChannel16(c, masks[ch], level, colours[ch]) : Mix8(c, level, colours[ch]);
    }
    for (std::int32_t y = 0; y < height; ++y) {
      std::uint8_t* out = to->Row(y);
      const std::uint8_t* in = from->Row(y);
      if (bytes == 2) {
        for (std::int32_t x = 0; x < width; ++x) {
          std::uint16_t p;
          std::memcpy(&p, in + 2 * x, 2);
          std::uint32_t v = 0;
          for (int ch = 0; ch < 3; ++ch) v |= table[ch][(p >> shifts[ch]) & masks[ch]] << shifts[ch];
          const auto packed = static_cast<std::uint16_t>(v);
          std::memcpy(out + 2 * x, &packed, 2);
        }
      } else {
        for (std::int32_t x = 0; x < width; ++x) {
          std::uint32_t p, q;
          std::memcpy(&p, in + 4 * x, 4);
          std::memcpy(&q, out + 4 * x, 4);
          q = (q & 0xFF000000u) | (table[0][(p >> 16) & 0xFF] << 16) | (table[1][(p >> 8) & 0xFF] << 8) |
              table[2][p & 0xFF];
          std::memcpy(out + 4 * x, &q, 4);
        }
      }
    }
  }
  srcSurface.Unlock();
  dstSurface.Unlock();
  return true;
}
