// Glyphs through FreeType. Each font has a library and a face of its own, so fonts never share
// FreeType state across threads; one font renders under its own lock.
#include "platform/host/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/host/text_codec.h"

namespace {

// Sizes beyond these are no font the game asks for; they are held to them.
constexpr std::int32_t kLargestCell = 1024;

// The first character of a UTF-8 text.
std::optional<char32_t> FirstUtf8Char(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  if (p[0] < 0x80) return p[0];
  int length = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC0 ? 2 : 0;
  if (length == 0 || n < static_cast<std::size_t>(length)) return std::nullopt;
  char32_t c = p[0] & (0xFF >> (length + 1));
  for (int i = 1; i < length; ++i) c = (c << 6) | (p[i] & 0x3F);
  return c;
}

// The face's own height of a cell, ascent + descent, in font units: the metrics FreeType reads from
// the horizontal header, which the IPA fonts make equal to the em, as the Windows Gothic faces do.
std::int32_t UnitsAscent(FT_Face face) { return face->ascender; }
std::int32_t UnitsCell(FT_Face face) { return face->ascender - face->descender; }

}  // namespace

struct cGlyphFont::sFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  ~sFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

std::optional<char32_t> Cp932CharToUnicode(std::uint16_t code) {
  char bytes[2];
  std::size_t length = 0;
  if (code > 0xFF) bytes[length++] = static_cast<char>(code >> 8);
  bytes[length++] = static_cast<char>(code & 0xFF);
  std::string utf8;
  if (!TryCp932ToUtf8(std::string_view(bytes, length), utf8)) return std::nullopt;
  return FirstUtf8Char(utf8);
}

cGlyphFont::cGlyphFont(sOpenKey, std::unique_ptr<sFace> face, GlyphRendering rendering)
    : m_Face(std::move(face)), m_Rendering(rendering) {}

cGlyphFont::~cGlyphFont() = default;

std::unique_ptr<cGlyphFont> cGlyphFont::Open(const FontFile& file, std::int32_t cellHeight, std::int32_t width,
                                             GlyphRendering rendering) {
  auto face = std::make_unique<sFace>();
  if (FT_Init_FreeType(&face->library) != 0) return nullptr;
  if (FT_New_Face(face->library, file.path.c_str(), file.index, &face->face) != 0) return nullptr;
  FT_Face f = face->face;
  auto font = std::make_unique<cGlyphFont>(sOpenKey{}, std::move(face), rendering);

  const bool em = cellHeight < 0;
  const std::int32_t asked = std::clamp(std::abs(cellHeight), 1, kLargestCell);
  if (FT_IS_SCALABLE(f) && UnitsCell(f) > 0) {
    // Windows fits ascent + descent into the cell height; the em follows from the face's shape.
    const double emPixels = em ? asked : static_cast<double>(asked) * f->units_per_EM / UnitsCell(f);
    double widthPixels = emPixels;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    if (width > 0 && os2 && os2->xAvgCharWidth > 0)
      widthPixels = static_cast<double>(std::min(width, kLargestCell)) * f->units_per_EM / os2->xAvgCharWidth;
    if (FT_Set_Char_Size(f, static_cast<FT_F26Dot6>(std::lround(widthPixels * 64)),
                         static_cast<FT_F26Dot6>(std::lround(emPixels * 64)), 72, 72) != 0)
      return nullptr;
    const double scale = emPixels / f->units_per_EM;
    font->m_Ascent = static_cast<std::int32_t>(std::lround(UnitsAscent(f) * scale));
    font->m_CellHeight = em ? static_cast<std::int32_t>(std::lround(UnitsCell(f) * scale)) : asked;
  } else if (f->num_fixed_sizes > 0) {
    // A bitmap font has the sizes it has: the strike nearest the height asked.
    int best = 0;
    for (int i = 1; i < f->num_fixed_sizes; ++i)
      if (std::abs(f->available_sizes[i].height - asked) < std::abs(f->available_sizes[best].height - asked)) best = i;
    if (FT_Select_Size(f, best) != 0) return nullptr;
    font->m_Ascent = static_cast<std::int32_t>(f->size->metrics.ascender >> 6);
    font->m_CellHeight = static_cast<std::int32_t>((f->size->metrics.ascender - f->size->metrics.descender) >> 6);
  } else {
    return nullptr;
  }
  return font;
}

const GlyphImage& cGlyphFont::Glyph(std::uint16_t code) {
  std::lock_guard lock(m_Lock);
  auto found = m_Glyphs.find(code);
  if (found != m_Glyphs.end()) return found->second;
  return m_Glyphs.emplace(code, Render(code)).first->second;
}

GlyphImage cGlyphFont::Render(std::uint16_t code) {
  GlyphImage image;
  FT_Face f = m_Face->face;
  const std::optional<char32_t> unicode = Cp932CharToUnicode(code);
  // A character without a code shows the face's missing-glyph shape, as Windows does.
  const FT_UInt index = unicode ? FT_Get_Char_Index(f, *unicode) : 0;
  const FT_Int32 flags =
      FT_LOAD_RENDER | (m_Rendering == GlyphRendering::Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  if (FT_Load_Glyph(f, index, flags) != 0) return image;
  const FT_GlyphSlot slot = f->glyph;
  image.advance = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
  // Control characters move the pen but leave no mark.
  if (code < 0x20 || code == 0x7F) return image;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return image;
  image.left = slot->bitmap_left;
  image.top = m_Ascent - slot->bitmap_top;
  image.width = static_cast<std::int32_t>(bitmap.width);
  image.height = static_cast<std::int32_t>(bitmap.rows);
  image.coverage.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
  const int grays = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
  std::uint8_t* out = image.coverage.data();
  for (std::int32_t y = 0; y < image.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    for (std::int32_t x = 0; x < image.width; ++x) {
      std::uint32_t value;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        value = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      else
        value = static_cast<std::uint32_t>(row[x]) * 255 / static_cast<std::uint32_t>(grays);
      // Unsmoothed text has only ink and paper.
      if (m_Rendering == GlyphRendering::Mono) value = value >= 128 ? 255 : 0;
      *out++ = static_cast<std::uint8_t>(value);
    }
  }
  return image;
}
