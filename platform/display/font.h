#pragma once
// The game's fonts: a face at a size, a character-cell grid, a text colour from the palette, the
// frame style of text windows and an optional picture strip standing in for the letters a to z.
// Every text on the screen is drawn with one of the three fonts of g_Fonts: font 0 (cells 10 x 10),
// font 1, the message font (16 x 16), and font 2 (32 x 32).
//
// Under "DirectDraw" a font renders unsmoothed glyphs into its own work surface, which is then
// copied onto the destination leaving out the colour key; under "Direct3D" the glyphs' coverage is
// blended with the text colour straight onto the destination render target.
//
// Texts are code page 932 bytes; a byte 10 ends a line; a lead byte followed by a trail byte is one
// double-width character, every other byte one single-width character.
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "platform/display/surface.h"
#include "platform/services/format.h"

class cGlyphFont;

struct SIZE {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  bool operator==(const SIZE&) const = default;
};

// The Direct3D font: the glyphs with their coverage, unusable between the device's loss and its
// reset.
class cD3DXFont {
 public:
  explicit cD3DXFont(std::unique_ptr<cGlyphFont> glyphs);
  ~cD3DXFont();
  cGlyphFont* Glyphs() const { return m_Glyphs.get(); }
  void OnLostDevice() { m_Lost = true; }
  void OnResetDevice() { m_Lost = false; }
  bool Lost() const { return m_Lost; }

 private:
  std::unique_ptr<cGlyphFont> m_Glyphs;
  bool m_Lost = false;
};

// The sprite batch through which a Direct3D font draws: alpha blending over the render target.
class cD3DXSprite {
 public:
  void OnLostDevice() { m_Lost = true; }
  void OnResetDevice() { m_Lost = false; }
  bool Lost() const { return m_Lost; }

 private:
  bool m_Lost = false;
};

class Font {
 public:
  // Every pointer empty, so that a font that was never created can be released.
  Font();
  // Release; a font still listed in g_FontList leaves it.
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Makes the font for the active back-end from entry palNum of g_Palette as it is now, with the
  // work surface at the back surface's size, and lists it in g_FontList. The face is cut to 31
  // bytes, never inside a double-byte character. A face that cannot be opened leaves a font that
  // measures as blank text and draws nothing but its letter pictures.
  void Create(const char* face, std::int32_t width, std::int32_t height, std::int32_t pitch, std::int32_t lineHeight,
              std::uint32_t palNum, DDSURFACEDATA* windowImage, std::int32_t frameWidth, std::uint32_t framePalNum,
              DDSURFACEDATA* letterImage);

  // The text with its top-left corner at (x, y). With noLetterImages set the letters a..z are drawn
  // as glyphs too; the letter pictures are laid over them either way.
  void Draw(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t noLetterImages);
  // Formats (however long the result) and draws.
  void Printf(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* format, ...) PLAYER_PRINTF(5, 6);

  // An empty text window: the window picture's top-left w x h at (x, y) with the font's frame around
  // it. x or y 10000 centres the window on the window picture.
  void DrawWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  // A text window: a w or h of 0 takes the text's measured width (plus margin) or height; the text is
  // drawn margin pixels right of the window's left edge.
  void DrawTextWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      const char* text, std::int32_t margin);
  void PrintfWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    const char* format, ...) PLAYER_PRINTF(7, 8);

  // The proportional measure: the widest line's glyph advances, and for each line the line height,
  // or 20 for a line that measures no width. Under both back-ends.
  SIZE MeasureTextGdi(const char* text) const;
  // The fixed-pitch measure: the most characters on a line times the pitch, and the line count times
  // the line height.
  SIZE MeasureTextFixed(const char* text) const;
  // The measure a draw uses: fixed with a pitch, else proportional.
  SIZE MeasureText(const char* text) const;

  // Direct3D, before the device is reset.
  void OnLostDevice();
  // After the surfaces or the device came back: a lost work surface is restored; the Direct3D font
  // and sprite are taken up again.
  void Restore();
  // Frees what the font holds; a second call does nothing more.
  void Release();

  std::int32_t nId = 0;
  std::unique_ptr<cGlyphFont> hFont;      // DirectDraw: the unsmoothed glyphs
  std::unique_ptr<cD3DXFont> lpFont;      // Direct3D: the smoothed glyphs
  std::unique_ptr<cD3DXSprite> lpSprite;  // Direct3D
  std::string lpszFace;                   // the face given (kept under Direct3D only)
  std::int32_t nWidth = 0;
  std::int32_t nHeight = 0;
  std::int32_t nPitch = 0;  // 0: proportional layout
  std::int32_t nLineHeight = 0;
  std::uint32_t dwPalNum = 0;
  // The text colour at creation: red | green << 8 | blue << 16 under DirectDraw, 0xAARRGGBB under
  // Direct3D.
  std::uint32_t dwColor = 0;
  std::int32_t bCenterGlyphs = 0;
  DDSURFACEDATA Work;
  DDSURFACEDATA* lpWindowSD = nullptr;
  std::int32_t nFrameWidth = 0;
  std::uint32_t dwFramePalNum = 0;
  DDSURFACEDATA* lpLetterSD = nullptr;
  std::int32_t bLetters = 0;

 private:
  // The glyph source of the active back-end, null when there is none.
  cGlyphFont* Glyphs() const;
  // The glyph pass: the lines of text with the text's top-left corner at (x, y) of target, letters
  // a..z left out when letters is 1 and the letter picture is loaded.
  void DrawLines(DDSURFACEDATA* target, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters);
  // The letter pictures of text's letters a..z at their cells.
  void DrawLetters(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text);
  void DrawDirectDraw(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters);
  void DrawDirect3D(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* text, std::int32_t letters);
  // The window rectangle of a text window: centred where x or y is 10000.
  void CentreWindow(std::int32_t* x, std::int32_t* y, std::int32_t w, std::int32_t h) const;

  // DirectDraw: the pixel value of the text colour in the display format.
  std::uint32_t m_TextPixel = 0;
};

// The creation values of one font; windowImage and letterImage are indices of g_SurfaceTable.
struct FontSetting {
  std::string face;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t pitch = 0;
  std::int32_t lineHeight = 0;
  std::int32_t palNum = 0;
  std::int32_t windowImage = 0;
  std::int32_t frameWidth = 0;
  std::int32_t framePalNum = 0;
  std::int32_t letterImage = 0;
};

constexpr int kFontCount = 3;

// Every created font, in creation order; the restores walk it.
extern std::list<Font*> g_FontList;
// The three fonts' settings; the start-up writes the project's face into them.
extern FontSetting g_FontSettings[kFontCount];
extern Font g_Fonts[kFontCount];
// The digit strips "0123456789" of the three fonts, and their descriptions.
extern DDSURFACEDATA g_FontSurfaces[kFontCount];
extern const SurfaceDescriptor g_FontSurfaceDescriptors[kFontCount];

// Font::Create for each setting, its pictures taken from g_SurfaceTable. Always 1.
std::int32_t CreateFonts(Font* fonts, const FontSetting* settings, std::int32_t count);
// Surface i of 10 pitches by one line of setting i, holding font i's digit strip. Always 1.
std::int32_t CreateDigitImages(DDSURFACEDATA* surfaces, const SurfaceDescriptor* descriptors, std::int32_t count,
                               Font* fonts, const FontSetting* settings);
// Fills the surface with palette colour 0 and draws "0123456789" at (0, 0).
void DrawDigitStrip(DDSURFACEDATA* lpSD, Font* font);

// The start-up's fonts: the face into the three settings, the fonts, the message font's letter
// pictures and centring switches, the digit strips. After the display and the palette are up.
void CreateGameFonts(const std::string& face, std::int32_t messageFontLetters, std::int32_t messageFontCentred);
// The shutdown's: the three fonts, then their digit strips; before the display goes.
void ReleaseGameFonts();

// The bytes of text before its first line feed or its end.
std::int32_t LineLength(const char* text);
// A face name as a font keeps it: at most 31 bytes, cut before a double-byte character that would
// not fit whole.
std::string CutFaceName(const char* face);
