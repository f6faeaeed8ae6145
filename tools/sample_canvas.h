#pragma once
// An 8-bit picture in the sample game's palette, the few drawing operations its pictures are made
// of, a small built-in pixel font, and the writer of 8-bit BMP files that the player's loaders read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cCanvas {
 public:
  // Every pixel the key colour (palette index 0), which keyed surfaces leave out.
  cCanvas(int width, int height);

  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  std::uint8_t At(int x, int y) const;
  const std::vector<std::uint8_t>& Pixels() const { return m_Pixels; }

  // Every operation clips to the canvas.
  void Plot(int x, int y, std::uint8_t colour);
  void Fill(std::uint8_t colour);
  void FillRect(int x, int y, int w, int h, std::uint8_t colour);
  // A one-dot outline.
  void FrameRect(int x, int y, int w, int h, std::uint8_t colour);
  void FillCircle(int cx, int cy, int r, std::uint8_t colour);
  void FillEllipse(int cx, int cy, int rx, int ry, std::uint8_t colour);
  // A filled triangle (scan-line fill; the vertices in any order).
  void FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour);
  void Line(int x0, int y0, int x1, int y1, std::uint8_t colour);
  // Rows y0 to y1 filled with colours that step from c0 to c1 (palette indices in between).
  void VerticalBands(int y0, int y1, const std::vector<std::uint8_t>& colours);
  // Another canvas drawn at (x, y); key-colour pixels of src are left out when keyed.
  void Blit(const cCanvas& src, int x, int y, bool keyed = true);
  // The cell (sx, sy, w, h) mirrored left to right onto (x, y).
  void BlitMirrored(const cCanvas& src, int sx, int sy, int w, int h, int x, int y);

  // Text in the pixel font: capitals, digits and a few signs (lower case is drawn as capitals),
  // each character a 5 x 7 glyph scaled by scale, 6 x scale apart. shadow != 0 draws a copy one
  // scaled dot lower-right first.
  void Text(int x, int y, std::string_view text, std::uint8_t colour, int scale = 1, std::uint8_t shadow = 0);
  static int TextWidth(std::string_view text, int scale = 1);
  // Text centred on cx.
  void TextCentred(int cx, int y, std::string_view text, std::uint8_t colour, int scale = 1, std::uint8_t shadow = 0);

 private:
  int m_Width;
  int m_Height;
  std::vector<std::uint8_t> m_Pixels;  // rows top first
};

// The rows of a 5 x 7 glyph, bit 4 the left column; null for a character the font lacks.
const std::uint8_t* PixelGlyph(char c);

// The file image of an 8-bit BMP: a BITMAPINFOHEADER, the 256 colours of the sample palette,
// bottom-up rows padded to four bytes.
std::vector<std::uint8_t> EncodeBmp(const cCanvas& canvas);

// Writes bytes to a file of the game folder (a game path, '\' between names; its folder exists).
// False when the file could not be written whole.
bool WriteGameBytes(std::string_view gamePath, const std::vector<std::uint8_t>& bytes);
bool SaveCanvas(const cCanvas& canvas, std::string_view gamePath);
