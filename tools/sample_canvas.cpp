#include "tools/sample_canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/host/game_files.h"
#include "tools/sample_palette.h"

cCanvas::cCanvas(int width, int height)
    : m_Width(width), m_Height(height), m_Pixels(static_cast<std::size_t>(width) * height, kInkKey) {}

std::uint8_t cCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return kInkKey;
  return m_Pixels[static_cast<std::size_t>(y) * m_Width + x];
}

void cCanvas::Plot(int x, int y, std::uint8_t colour) {
  if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return;
  m_Pixels[static_cast<std::size_t>(y) * m_Width + x] = colour;
}

void cCanvas::Fill(std::uint8_t colour) { std::fill(m_Pixels.begin(), m_Pixels.end(), colour); }

void cCanvas::FillRect(int x, int y, int w, int h, std::uint8_t colour) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, m_Width), y1 = std::min(y + h, m_Height);
  for (int py = y0; py < y1; ++py)
    for (int px = x0; px < x1; ++px) m_Pixels[static_cast<std::size_t>(py) * m_Width + px] = colour;
}

void cCanvas::FrameRect(int x, int y, int w, int h, std::uint8_t colour) {
  FillRect(x, y, w, 1, colour);
  FillRect(x, y + h - 1, w, 1, colour);
  FillRect(x, y, 1, h, colour);
  FillRect(x + w - 1, y, 1, h, colour);
}

void cCanvas::FillCircle(int cx, int cy, int r, std::uint8_t colour) { FillEllipse(cx, cy, r, r, colour); }

void cCanvas::FillEllipse(int cx, int cy, int rx, int ry, std::uint8_t colour) {
  if (rx <= 0 || ry <= 0) return;
  // Integer test of (dx/rx)^2 + (dy/ry)^2 <= 1, with half a dot of slack so small shapes stay round.
  const long long rx2 = static_cast<long long>(rx) * rx, ry2 = static_cast<long long>(ry) * ry;
  for (int dy = -ry; dy <= ry; ++dy)
    for (int dx = -rx; dx <= rx; ++dx)
      if (dx * dx * ry2 + dy * dy * rx2 <= rx2 * ry2 + (rx2 + ry2) / 4) Plot(cx + dx, cy + dy, colour);
}

void cCanvas::FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour) {
  const int top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
  const int xs[3] = {x0, x1, x2}, ys[3] = {y0, y1, y2};
  for (int y = top; y <= bottom; ++y) {
    int left = m_Width, right = -1;
    for (int e = 0; e < 3; ++e) {
      const int ax = xs[e], ay = ys[e], bx = xs[(e + 1) % 3], by = ys[(e + 1) % 3];
      if ((y < ay && y < by) || (y > ay && y > by)) continue;
      if (ay == by) {
        left = std::min({left, ax, bx});
        right = std::max({right, ax, bx});
        continue;
      }
      const int x = ax + (bx - ax) * (y - ay) / (by - ay);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (right >= left) FillRect(left, y, right - left + 1, 1, colour);
  }
}

void cCanvas::Line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Plot(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void cCanvas::VerticalBands(int y0, int y1, const std::vector<std::uint8_t>& colours) {
  if (colours.empty() || y1 <= y0) return;
  const int bands = static_cast<int>(colours.size());
  for (int y = y0; y < y1; ++y) {
    const int band = (y - y0) * bands / (y1 - y0);
    FillRect(0, y, m_Width, 1, colours[static_cast<std::size_t>(band)]);
  }
}

void cCanvas::Blit(const cCanvas& src, int x, int y, bool keyed) {
  for (int sy = 0; sy < src.m_Height; ++sy)
    for (int sx = 0; sx < src.m_Width; ++sx) {
      const std::uint8_t c = src.At(sx, sy);
      if (keyed && c == kInkKey) continue;
      Plot(x + sx, y + sy, c);
    }
}

void cCanvas::BlitMirrored(const cCanvas& src, int sx, int sy, int w, int h, int x, int y) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const std::uint8_t c = src.At(sx + w - 1 - i, sy + j);
      if (c != kInkKey) Plot(x + i, y + j, c);
    }
}

void cCanvas::Text(int x, int y, std::string_view text, std::uint8_t colour, int scale, std::uint8_t shadow) {
  if (shadow != 0) Text(x + scale, y + scale, text, shadow, scale, 0);
  int cx = x;
  for (char c : text) {
    if (const std::uint8_t* rows = PixelGlyph(c)) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (rows[row] & (0x10 >> col)) FillRect(cx + col * scale, y + row * scale, scale, scale, colour);
    }
    cx += 6 * scale;
  }
}

int cCanvas::TextWidth(std::string_view text, int scale) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void cCanvas::TextCentred(int cx, int y, std::string_view text, std::uint8_t colour, int scale, std::uint8_t shadow) {
  Text(cx - TextWidth(text, scale) / 2, y, text, colour, scale, shadow);
}

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const cCanvas& canvas) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(canvas.Width()) + 3) & ~3u;
  const std::uint32_t bitsOffset = 14 + 40 + 256 * 4;
  const std::uint32_t bitsBytes = rowBytes * static_cast<std::uint32_t>(canvas.Height());
  std::vector<std::uint8_t> out;
  out.reserve(bitsOffset + bitsBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, bitsOffset + bitsBytes);
  PutU32(out, 0);
  PutU32(out, bitsOffset);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(canvas.Width()));
  PutU32(out, static_cast<std::uint32_t>(canvas.Height()));  // positive: rows bottom-up
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);  // no compression
  PutU32(out, bitsBytes);
  PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 2835);
  PutU32(out, 256);
  PutU32(out, 0);
  for (const SampleColour& c : SamplePalette()) {
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    const std::uint8_t* row = canvas.Pixels().data() + static_cast<std::size_t>(y) * canvas.Width();
    out.insert(out.end(), row, row + canvas.Width());
    out.resize(out.size() + (rowBytes - static_cast<std::uint32_t>(canvas.Width())), 0);
  }
  return out;
}

bool WriteGameBytes(std::string_view gamePath, const std::vector<std::uint8_t>& bytes) {
  GameFile file = OpenGameFile(gamePath, "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

bool SaveCanvas(const cCanvas& canvas, std::string_view gamePath) { return WriteGameBytes(gamePath, EncodeBmp(canvas)); }
