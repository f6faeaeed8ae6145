// Drawing text: the glyph pass, which lays the characters out (one cell per character with a pitch,
// glyph advances without), the letter pictures laid over a..z, and the two back-ends' ways onto the
// destination.
#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/blit_internal.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/font_text.h"
#include "platform/host/glyphs.h"

namespace {

// The full-width space, which the Direct3D font leaves out in the fixed-pitch layout.
constexpr std::uint16_t kWideSpace = 0x8140;

// (x / 255) rounded to nearest, as the device blends.
inline std::uint32_t Div255(std::uint32_t x) { return (2 * x + 255) / 510; }

// The pixels a glyph pass writes: under DirectDraw the locked work surface, set to the text pixel
// where a glyph has ink; under Direct3D the render target, the text colour blended over it by the
// glyph's coverage.
class cGlyphCanvas {
 public:
  cGlyphCanvas(DDSURFACEDATA* target, std::uint32_t colour) : m_Colour(colour) {
    if (DisplayIsD3D()) {
      if (!lpDevice || lpDevice->Lost() || !target->lpDT || !target->lpDT->lpSurface) return;
      m_Pixels = target->lpDT->lpSurface.get();
      m_Blend = true;
    } else {
      if (!target->lpDDPart || !target->lpDDPart->surface) return;
      if (FAILED(target->lpDDPart->surface->Lock(&m_Pixels))) return;
      m_Locked = target->lpDDPart->surface.get();
    }
    m_Width = std::min(target->width, m_Pixels->Width());
    m_Height = std::min(target->height, m_Pixels->Height());
  }
  ~cGlyphCanvas() {
    if (m_Locked) m_Locked->Unlock();
  }
  cGlyphCanvas(const cGlyphCanvas&) = delete;
  cGlyphCanvas& operator=(const cGlyphCanvas&) = delete;

  bool Ready() const { return m_Pixels != nullptr; }

  // The glyph with its pen at (penX, penY), the top of its character cell.
  void Put(const GlyphImage& glyph, std::int32_t penX, std::int32_t penY) {
    const std::int64_t left = std::int64_t{penX} + glyph.left;
    const std::int64_t top = std::int64_t{penY} + glyph.top;
    const std::int32_t c0 = static_cast<std::int32_t>(std::max<std::int64_t>(0, -left));
    const std::int32_t c1 = static_cast<std::int32_t>(std::min<std::int64_t>(glyph.width, m_Width - left));
    const std::int32_t r0 = static_cast<std::int32_t>(std::max<std::int64_t>(0, -top));
    const std::int32_t r1 = static_cast<std::int32_t>(std::min<std::int64_t>(glyph.height, m_Height - top));
    for (std::int32_t r = r0; r < r1; ++r) {
      const auto y = static_cast<std::int32_t>(top + r);
      for (std::int32_t c = c0; c < c1; ++c) {
        const std::uint8_t coverage = glyph.At(c, r);
        if (coverage == 0) continue;
        const auto x = static_cast<std::int32_t>(left + c);
        if (m_Blend)
          BlendPixel(x, y, coverage);
        else
          m_Pixels->SetPixel(x, y, m_Colour);
      }
    }
  }

 private:
  // The sprite's alpha blend: source alpha and its inverse on every channel.
  void BlendPixel(std::int32_t x, std::int32_t y, std::uint8_t coverage) {
    const PixelFormat format = m_Pixels->Format();
    const std::uint32_t dst = UnpackColour(format, m_Pixels->Pixel(x, y));
    const std::uint32_t alpha = Div255((m_Colour >> 24) * coverage);
    const std::uint32_t src = (alpha << 24) | (m_Colour & 0xFFFFFF);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
      out |= std::min<std::uint32_t>(255, Div255(s * alpha + d * (255 - alpha))) << shift;
    }
    m_Pixels->SetPixel(x, y, PackColour(format, out));
  }

  cPixelBuffer* m_Pixels = nullptr;
  cDDSurface* m_Locked = nullptr;
  std::uint32_t m_Colour;
  bool m_Blend = false;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
};

inline bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

void Font::Draw(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t noLetterImages) {
  if (!dst || !text) return;
  const std::int32_t letters = noLetterImages != 0 ? 0 : bLetters;
  if (DisplayIsD3D())
    DrawDirect3D(dst, x, y, text, letters);
  else
    DrawDirectDraw(dst, x, y, text, letters);
}

void Font::DrawDirectDraw(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters) {
  const SIZE size = MeasureText(text);
  // Palette colour 0 is the transparent colour: what the glyphs leave stays out of the copy.
  DDFillRect(&Work, 0, 0, size.cx, size.cy, 0);
  DrawLines(&Work, 0, 0, text, letters);
  DDBlt(dst, x, y, size.cx, size.cy, &Work, 0, 0, 1);
  DrawLetters(dst, x, y, text);
}

void Font::DrawDirect3D(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters) {
  ResolveSharedSurface(&dst);
  RedirectToVirBackBuffer(&dst);
  if (!dst->lpDT) return;
  if (!dst->lpDT->software) {
    if (!SceneBegin() || !SetRenderTargetChecked(dst)) return;
    DrawLines(dst, x, y, text, letters);
    DrawLetters(dst, x, y, text);
    RestoreContextRenderTarget();
    return;
  }
  // A system-memory texture cannot be drawn on: the text goes through the work surface.
  const SIZE size = MeasureText(text);
  DDFillRect(&Work, 0, 0, size.cx, size.cy, 0);
  if (!SceneBegin()) return;
  if (SetRenderTargetChecked(&Work)) {
    DrawLines(&Work, 0, 0, text, letters);
    DrawLetters(&Work, 0, 0, text);
  }
  RestoreContextRenderTarget();
  DDBlt(dst, x, y, size.cx, size.cy, &Work, 0, 0, 1);
}

void Font::DrawLines(DDSURFACEDATA* target, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters) {
  const bool d3d = DisplayIsD3D();
  cGlyphFont* glyphs = Glyphs();
  if (!glyphs || (d3d && (!lpFont || lpFont->Lost() || !lpSprite || lpSprite->Lost()))) return;
  cGlyphCanvas canvas(target, d3d ? dwColor : m_TextPixel);
  if (!canvas.Ready()) return;

  if (nPitch == 0) {
    // Each line from the left edge, one line height below the one before.
    std::int64_t lineY = y;
    for (const char* p = text; *p != '\0';) {
      if (*p == '\n') {
        lineY += nLineHeight;
        ++p;
        continue;
      }
      std::int64_t penX = x;
      while (*p != '\0' && *p != '\n') {
        const sTextChar c = CharAt(p);
        const GlyphImage& glyph = glyphs->Glyph(c.code);
        canvas.Put(glyph, static_cast<std::int32_t>(std::clamp<std::int64_t>(penX, INT32_MIN, INT32_MAX)),
                   static_cast<std::int32_t>(std::clamp<std::int64_t>(lineY, INT32_MIN, INT32_MAX)));
        penX += glyph.advance;
        p += c.bytes;
      }
    }
    return;
  }

  const bool lettersShown = letters == 1 && lpLetterSD && HasSurface(*lpLetterSD);
  const std::int32_t cellHeight = glyphs->CellHeight();
  std::int64_t cx = 0, cy = 0;
  auto put = [&](const GlyphImage& glyph, std::int64_t px, std::int64_t py) {
    canvas.Put(glyph, static_cast<std::int32_t>(std::clamp<std::int64_t>(px, INT32_MIN, INT32_MAX)),
               static_cast<std::int32_t>(std::clamp<std::int64_t>(py, INT32_MIN, INT32_MAX)));
  };
  // A glyph centred in its cell, measured as the system measures a run of text.
  auto putCentred = [&](const GlyphImage& glyph) {
    put(glyph, x + cx + (nPitch >> 1) - (glyph.advance >> 1), y + cy + (nLineHeight >> 1) - (cellHeight >> 1));
  };
  for (const char* p = text; *p != '\0';) {
    const sTextChar c = CharAt(p);
    if (c.wide) {
      if (!(d3d && c.code == kWideSpace)) {
        const GlyphImage& glyph = glyphs->Glyph(c.code);
        if (bCenterGlyphs)
          putCentred(glyph);
        else
          put(glyph, x + cx, y + cy);
      }
      cx += nPitch;
    } else if (IsLetter(*p) && lettersShown) {
      cx += nPitch;
    } else if (*p == '\n') {
      cy += nLineHeight;
      cx = 0;
    } else {
      const GlyphImage& glyph = glyphs->Glyph(c.code);
      if (bCenterGlyphs)
        putCentred(glyph);
      else
        put(glyph, x + cx + (nPitch >> 3), y + cy + (nLineHeight >> 4) - 1);
      cx += nPitch;
    }
    p += c.bytes;
  }
}

void Font::DrawLetters(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text) {
  if (bLetters != 1 || !(lpLetterSD && HasSurface(*lpLetterSD)) || nPitch == 0) return;
  std::int64_t cx = 0, cy = 0;
  for (const char* p = text; *p != '\0';) {
    const sTextChar c = CharAt(p);
    if (*p == '\n') {
      cy += nLineHeight;
      cx = 0;
    } else {
      if (!c.wide && IsLetter(*p)) {
        const std::int64_t px = x + cx, py = y + cy;
        // Letters beyond any surface's reach are not drawn.
        if (px >= INT32_MIN && px <= INT32_MAX && py >= INT32_MIN && py <= INT32_MAX)
          DDBlt(dst, static_cast<std::int32_t>(px), static_cast<std::int32_t>(py), nPitch, nLineHeight, lpLetterSD,
                (*p - 'a') * nPitch, 0, 1);
      }
      cx += nPitch;
    }
    p += c.bytes;
  }
}
