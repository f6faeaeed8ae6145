#pragma once
// Glyphs of the game's fonts: a face name of the project (a Windows font name, code page 932) is
// found among the installed fonts, opened at the size a Windows cell height asks for, and each
// character is rendered once into a coverage image and kept. FreeType renders, fontconfig finds the
// files; nothing else of the program sees either.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// How glyphs are rendered: Mono as a Windows font without smoothing (coverage 0 or 255 only), Grey
// with 256 levels of coverage.
enum class GlyphRendering : std::uint8_t { Mono, Grey };

// One rendered character. The image's first column lies left pixels right of the pen, its first
// row top pixels below the top of the character cell; the pen then moves on by advance.
struct GlyphImage {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t advance = 0;
  std::vector<std::uint8_t> coverage;  // width * height, rows top first

  std::uint8_t At(std::int32_t x, std::int32_t y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

// A font file and the face inside it.
struct FontFile {
  std::filesystem::path path;
  std::int32_t index = 0;
  std::string family;     // as the file names it (UTF-8)
  bool fallback = false;  // the name is not one the alias table knows: fontconfig's best guess
};

// The installed font for a face name of the project (code page 932): the names of the Windows
// Gothic and Mincho faces go through the alias table to the IPA fonts; any other name to the font
// fontconfig finds best for it in Japanese. None when no font at all is installed.
std::optional<FontFile> FindFontFile(const std::string& faceName);
// The family the alias table gives a face name, none for a name it does not know.
std::optional<std::string> AliasedFontFamily(const std::string& faceName);
// Every face name finds this file instead (an empty path goes back to fontconfig). For tests and
// runs that must not depend on the fonts installed.
void SetFontFileOverride(const std::filesystem::path& file);

// A face opened at one size, with the glyphs rendered so far. Glyph and Extent may be called from
// several threads.
class cGlyphFont {
 public:
  // cellHeight: the Windows cell height (ascent + descent); a negative value is the character
  // height (the em) instead. width: the average character width, 0 for the face's own shape. Null
  // when the file cannot be opened as a font.
  static std::unique_ptr<cGlyphFont> Open(const FontFile& file, std::int32_t cellHeight, std::int32_t width,
                                          GlyphRendering rendering);
  ~cGlyphFont();
  cGlyphFont(const cGlyphFont&) = delete;
  cGlyphFont& operator=(const cGlyphFont&) = delete;

  // Ascent + descent in pixels: the height of a line of text as Windows measures it.
  std::int32_t CellHeight() const { return m_CellHeight; }
  std::int32_t Ascent() const { return m_Ascent; }
  GlyphRendering Rendering() const { return m_Rendering; }

  // The glyph of one character: a single byte, or lead byte << 8 | trail byte, decoded as code
  // page 932. Rendered on the first call, kept afterwards; the reference stays valid for the life
  // of the font. Control characters and characters the face lacks are blank.
  const GlyphImage& Glyph(std::uint16_t code);

 private:
  struct sOpenKey {};

 public:
  struct sFace;
  // Only through Open.
  cGlyphFont(sOpenKey, std::unique_ptr<sFace> face, GlyphRendering rendering);

 private:
  GlyphImage Render(std::uint16_t code);

  std::unique_ptr<sFace> m_Face;
  GlyphRendering m_Rendering;
  std::int32_t m_CellHeight = 0;
  std::int32_t m_Ascent = 0;
  std::mutex m_Lock;  // the face renders one glyph at a time; the cache grows under it
  std::unordered_map<std::uint16_t, GlyphImage> m_Glyphs;
};

// The Unicode character of a code page 932 character (a single byte, or lead << 8 | trail); none
// for one that has no code.
std::optional<char32_t> Cp932CharToUnicode(std::uint16_t code);
