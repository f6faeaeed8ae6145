#include "platform/ui/dialog_draw.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>

#include "platform/host/glyphs.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "platform/ui/dialog_window.h"

namespace {

// The classic dialog colours.
constexpr std::uint32_t kFace = 0xFFD4D0C8;
constexpr std::uint32_t kLight = 0xFFFFFFFF;
constexpr std::uint32_t kShadow = 0xFF808080;
constexpr std::uint32_t kDarkShadow = 0xFF404040;
constexpr std::uint32_t kText = 0xFF000000;
constexpr std::uint32_t kGreyText = 0xFF808080;
constexpr std::uint32_t kCaption = 0xFF0A246A;
constexpr std::uint32_t kHighlight = 0xFF0A246A;
constexpr std::uint32_t kHighlightText = 0xFFFFFFFF;
constexpr std::uint32_t kWindow = 0xFFFFFFFF;

constexpr std::int32_t kCellHeight = 12;
constexpr std::int32_t kEditMargin = 3;
constexpr std::int32_t kCheckSize = 13;

// The dialog font, opened once for the life of the program; null when no font is installed.
cGlyphFont* DialogFont() {
  static std::once_flag once;
  static std::unique_ptr<cGlyphFont> font;
  std::call_once(once, [] {
    if (std::optional<FontFile> file = FindFontFile(SJ("ＭＳ Ｐゴシック")))
      font = cGlyphFont::Open(*file, kCellHeight, 0, GlyphRendering::Grey);
  });
  return font.get();
}

std::uint16_t CodeAt(std::string_view text, std::size_t at, std::size_t* length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (at + 1 < text.size() && IsLeadByte(lead) && IsTrailByte(static_cast<unsigned char>(text[at + 1]))) {
    *length = 2;
    return static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[at + 1]));
  }
  *length = 1;
  return lead;
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t colour, std::uint32_t coverage) {
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t a = (under >> shift) & 0xFF;
    const std::uint32_t b = (colour >> shift) & 0xFF;
    out |= ((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
  }
  return out;
}

class cPainter {
 public:
  cPainter(const DialogCanvas& canvas, ScreenRect clip) : m_Canvas(canvas) {
    const std::int32_t x0 = std::max(clip.x, 0);
    const std::int32_t y0 = std::max(clip.y, 0);
    const std::int32_t x1 = std::min(clip.x + clip.w, canvas.width);
    const std::int32_t y1 = std::min(clip.y + clip.h, canvas.height);
    m_Clip = {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
  }

  void Fill(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t colour) {
    const std::int32_t x0 = std::max(x, m_Clip.x);
    const std::int32_t y0 = std::max(y, m_Clip.y);
    const std::int32_t x1 = std::min(x + w, m_Clip.x + m_Clip.w);
    const std::int32_t y1 = std::min(y + h, m_Clip.y + m_Clip.h);
    for (std::int32_t row = y0; row < y1; ++row)
      std::fill(Row(row) + x0, Row(row) + std::max(x0, x1), colour);
  }

  // Two-colour edges: top and left in one colour, bottom and right in the other.
  void Edge(const ScreenRect& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
    Fill(r.x, r.y, r.w, 1, topLeft);
    Fill(r.x, r.y, 1, r.h, topLeft);
    Fill(r.x, r.y + r.h - 1, r.w, 1, bottomRight);
    Fill(r.x + r.w - 1, r.y, 1, r.h, bottomRight);
  }

  void Raised(ScreenRect r) {
    Edge(r, kLight, kDarkShadow);
    Edge({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, kFace, kShadow);
  }

  void Sunken(ScreenRect r) {
    Edge(r, kShadow, kLight);
    Edge({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, kDarkShadow, kFace);
  }

  void Dotted(const ScreenRect& r) {
    for (std::int32_t x = r.x; x < r.x + r.w; x += 2) {
      Fill(x, r.y, 1, 1, kText);
      Fill(x, r.y + r.h - 1, 1, 1, kText);
    }
    for (std::int32_t y = r.y; y < r.y + r.h; y += 2) {
      Fill(r.x, y, 1, 1, kText);
      Fill(r.x + r.w - 1, y, 1, 1, kText);
    }
  }

  // The text with its cell's top-left at (x, y); the pen position after it.
  std::int32_t Text(std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t colour) {
    cGlyphFont* font = DialogFont();
    if (!font) return x;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t length = 1;
      const std::uint16_t code = CodeAt(text, at, &length);
      at += length;
      const GlyphImage& glyph = font->Glyph(code);
      for (std::int32_t gy = 0; gy < glyph.height; ++gy) {
        const std::int32_t py = y + glyph.top + gy;
        if (py < m_Clip.y || py >= m_Clip.y + m_Clip.h) continue;
        for (std::int32_t gx = 0; gx < glyph.width; ++gx) {
          const std::int32_t px = x + glyph.left + gx;
          if (px < m_Clip.x || px >= m_Clip.x + m_Clip.w) continue;
          const std::uint8_t c = glyph.At(gx, gy);
          if (c) Row(py)[px] = Blend(Row(py)[px], colour, c);
        }
      }
      x += glyph.advance;
    }
    return x;
  }

 private:
  std::uint32_t* Row(std::int32_t y) { return m_Canvas.pixels + static_cast<std::ptrdiff_t>(y) * m_Canvas.pitch; }

  DialogCanvas m_Canvas;
  ScreenRect m_Clip;
};

ScreenRect Offset(const ScreenRect& r, const ScreenRect& client) { return {client.x + r.x, client.y + r.y, r.w, r.h}; }

std::int32_t CentredTextY(const ScreenRect& r) { return r.y + (r.h - kCellHeight) / 2; }

void DrawButton(cPainter& p, const sDialogItem& item, const ScreenRect& r, bool focused, bool pressed) {
  ScreenRect face = r;
  if (item.kind == DialogItemKind::DefPushButton || focused) {
    p.Edge(r, kText, kText);
    face = {r.x + 1, r.y + 1, r.w - 2, r.h - 2};
  }
  p.Fill(face.x, face.y, face.w, face.h, kFace);
  if (pressed) {
    p.Edge(face, kShadow, kShadow);
  } else {
    p.Raised(face);
  }
  const std::int32_t width = DialogTextWidth(item.text);
  const std::int32_t shift = pressed ? 1 : 0;
  const std::int32_t tx = face.x + (face.w - width) / 2 + shift;
  const std::int32_t ty = CentredTextY(face) + shift;
  p.Text(tx, ty, item.text, item.enabled ? kText : kGreyText);
  if (focused) p.Dotted({face.x + 3, face.y + 3, face.w - 6, face.h - 6});
}

void DrawCheck(cPainter& p, const sDialogItem& item, const ScreenRect& r, bool focused) {
  const std::int32_t boxY = r.y + (r.h - kCheckSize) / 2;
  const ScreenRect box{r.x, boxY, kCheckSize, kCheckSize};
  p.Fill(box.x, box.y, box.w, box.h, kWindow);
  p.Sunken(box);
  if (item.checked) {
    if (item.kind == DialogItemKind::RadioButton) {
      p.Fill(box.x + 4, box.y + 4, 5, 5, kText);
    } else {
      // A tick of short strokes.
      for (std::int32_t i = 0; i < 7; ++i) {
        const std::int32_t y = i < 3 ? box.y + 5 + i : box.y + 9 - (i - 2);
        p.Fill(box.x + 3 + i, y, 1, 3, kText);
      }
    }
  }
  const std::int32_t tx = r.x + kCheckSize + 4;
  const std::int32_t end = p.Text(tx, CentredTextY(r), item.text, item.enabled ? kText : kGreyText);
  if (focused) p.Dotted({tx - 1, CentredTextY(r) - 1, end - tx + 2, kCellHeight + 2});
}

void DrawEdit(cPainter& outer, const DialogCanvas& canvas, const sDialogItem& item, const ScreenRect& r, bool focused,
              const std::string& composition) {
  outer.Fill(r.x, r.y, r.w, r.h, item.enabled ? kWindow : kFace);
  outer.Sunken(r);
  const ScreenRect inner{r.x + 2, r.y + 2, r.w - 4, r.h - 4};
  cPainter p(canvas, inner);
  const std::int32_t x0 = r.x + kEditMargin - EditScrollOffset(item);
  const std::int32_t ty = CentredTextY(r);
  const std::string_view text(item.text);
  const auto start = static_cast<std::size_t>(item.SelStart());
  const auto end = static_cast<std::size_t>(item.SelEnd());
  std::int32_t x = p.Text(x0, ty, text.substr(0, start), kText);
  if (end > start) {
    const std::int32_t w = DialogTextWidth(text.substr(start, end - start));
    if (focused) p.Fill(x, ty, w, kCellHeight, kHighlight);
    x = p.Text(x, ty, text.substr(start, end - start), focused ? kHighlightText : kText);
  }
  const std::int32_t caretX = item.caret == item.SelStart() ? x0 + DialogTextWidth(text.substr(0, start)) : x;
  p.Text(x, ty, text.substr(end), kText);
  if (!focused) return;
  if (!composition.empty()) {
    // The input method's text sits at the caret, underlined, until it is committed.
    const std::string sjis = Utf8ToCp932(composition);
    const std::int32_t w = DialogTextWidth(sjis);
    p.Fill(caretX, ty, w, kCellHeight, kWindow);
    p.Text(caretX, ty, sjis, kText);
    p.Fill(caretX, ty + kCellHeight, w, 1, kText);
    p.Fill(caretX + w, ty, 1, kCellHeight, kText);
    return;
  }
  p.Fill(caretX, ty, 1, kCellHeight, kText);
}

void DrawList(cPainter& outer, const DialogCanvas& canvas, const sDialogItem& item, const ScreenRect& r,
              bool focused) {
  outer.Fill(r.x, r.y, r.w, r.h, kWindow);
  outer.Sunken(r);
  const ScreenRect inner{r.x + 2, r.y + 2, r.w - 4, r.h - 4};
  cPainter p(canvas, inner);
  const std::int32_t count = static_cast<std::int32_t>(item.entries.size());
  for (std::int32_t row = 0; row < item.VisibleRows() + 1; ++row) {
    const std::int32_t index = item.top + row;
    if (index >= count) break;
    const std::int32_t y = inner.y + row * kListRowHeight;
    const bool chosen = index == item.current;
    if (chosen) p.Fill(inner.x, y, inner.w, kListRowHeight, focused ? kHighlight : kFace);
    p.Text(inner.x + 2, y + 1, item.entries[static_cast<std::size_t>(index)],
           chosen && focused ? kHighlightText : kText);
    if (chosen && focused) p.Dotted({inner.x, y, inner.w, kListRowHeight});
  }
  // Where the view stands in a list longer than it: a thin bar at the right edge.
  if (count > item.VisibleRows()) {
    const std::int32_t barH = std::max(8, inner.h * item.VisibleRows() / count);
    const std::int32_t barY = inner.y + (inner.h - barH) * item.top / std::max(1, count - item.VisibleRows());
    p.Fill(inner.x + inner.w - 4, barY, 3, barH, kShadow);
  }
}

}  // namespace

std::int32_t DialogTextWidth(std::string_view text) {
  cGlyphFont* font = DialogFont();
  if (!font) return 0;
  std::int32_t width = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    const std::uint16_t code = CodeAt(text, at, &length);
    at += length;
    width += font->Glyph(code).advance;
  }
  return width;
}

std::int32_t EditScrollOffset(const sDialogItem& item) {
  const std::int32_t room = item.rect.w - 2 * kEditMargin - 1;
  const std::int32_t caretX = DialogTextWidth(std::string_view(item.text).substr(0, static_cast<std::size_t>(item.caret)));
  return caretX > room ? caretX - room : 0;
}

void DrawDialogWindow(const cDialogWindow& window, const DialogCanvas& canvas) {
  const ScreenRect outer = window.OuterRect();
  cPainter p(canvas, outer);
  p.Fill(outer.x, outer.y, outer.w, outer.h, kFace);
  p.Raised(outer);
  if (window.HasCaption()) {
    const std::int32_t x = outer.x + kDialogFrame;
    const std::int32_t y = outer.y + kDialogFrame;
    const std::int32_t w = outer.w - 2 * kDialogFrame;
    p.Fill(x, y, w, kDialogCaption - 1, kCaption);
    cPainter title(canvas, {x, y, w - 4, kDialogCaption - 1});
    title.Text(x + 4, y + (kDialogCaption - 1 - kCellHeight) / 2, window.Caption(), kHighlightText);
  }
  const ScreenRect client = window.ClientRect();
  const sDialogItem* focused = window.FocusedItem();
  const std::vector<sDialogItem>& items = window.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const sDialogItem& item = items[i];
    const ScreenRect r = Offset(item.rect, client);
    const bool hasFocus = focused == &item;
    switch (item.kind) {
      case DialogItemKind::PushButton:
      case DialogItemKind::DefPushButton:
        DrawButton(p, item, r, hasFocus, window.PressedItem() == static_cast<std::int32_t>(i));
        break;
      case DialogItemKind::CheckBox:
      case DialogItemKind::RadioButton: DrawCheck(p, item, r, hasFocus); break;
      case DialogItemKind::Edit: DrawEdit(p, canvas, item, r, hasFocus, window.Composition()); break;
      case DialogItemKind::List: DrawList(p, canvas, item, r, hasFocus); break;
      case DialogItemKind::GroupBox: {
        const std::int32_t lineY = r.y + kCellHeight / 2;
        p.Edge({r.x, lineY, r.w, r.h - kCellHeight / 2}, kShadow, kLight);
        p.Edge({r.x + 1, lineY + 1, r.w - 2, r.h - kCellHeight / 2 - 2}, kLight, kShadow);
        const std::int32_t w = DialogTextWidth(item.text);
        p.Fill(r.x + 6, r.y, w + 4, kCellHeight, kFace);
        p.Text(r.x + 8, r.y, item.text, kText);
        break;
      }
      case DialogItemKind::Static: {
        cPainter inside(canvas, client);
        std::int32_t y = r.y;
        // Line feeds and the width of the item break a static text into lines.
        std::string_view text(item.text);
        while (!text.empty()) {
          std::size_t cut = 0;
          std::size_t fits = 0;
          while (cut < text.size() && text[cut] != '\n') {
            std::size_t length = 1;
            CodeAt(text, cut, &length);
            if (DialogTextWidth(text.substr(0, cut + length)) > r.w && fits > 0) break;
            cut += length;
            fits = cut;
          }
          inside.Text(r.x, y, text.substr(0, cut), item.enabled ? kText : kGreyText);
          text.remove_prefix(std::min(text.size(), cut + (cut < text.size() && text[cut] == '\n' ? 1 : 0)));
          y += kCellHeight;
        }
        break;
      }
      case DialogItemKind::Picture: break;
    }
  }
}
