// The font files of the project's face names and their glyphs, on the Debian fonts the project's
// set-up installs (fonts-ipafont-gothic, fonts-ipafont-mincho).
#include "platform/host/glyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/host/text_codec.h"

namespace {

bool HasGrey(const GlyphImage& glyph) {
  return std::any_of(glyph.coverage.begin(), glyph.coverage.end(), [](std::uint8_t c) { return c != 0 && c != 255; });
}
bool HasInk(const GlyphImage& glyph) {
  return std::any_of(glyph.coverage.begin(), glyph.coverage.end(), [](std::uint8_t c) { return c != 0; });
}

TEST(GlyphFilesTest, WindowsFacesGoThroughTheAliasTable) {
  struct sCase {
    const char* face;
    const char* family;  // empty: not in the table
  };
  const sCase cases[] = {
      {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
      {"HGｺﾞｼｯｸM", "IPAGothic"},      {"HGPｺﾞｼｯｸE", "IPAPGothic"},       {"ＭＳ 明朝", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},  {"HGP明朝B", "IPAPMincho"},        {"Arial", ""},
      {"HG創英角ﾎﾟｯﾌﾟ体", ""},
  };
  for (const sCase& c : cases) {
    const std::string face = SJ(c.face);
    const std::optional<std::string> family = AliasedFontFamily(face);
    EXPECT_EQ(family.value_or(""), c.family) << c.face;
    const std::optional<FontFile> file = FindFontFile(face);
    ASSERT_TRUE(file) << c.face;
    EXPECT_EQ(file->fallback, !family) << c.face;
    if (family) {
      EXPECT_EQ(file->family, *family) << c.face;
    }
  }
}

TEST(GlyphFilesTest, AnUnknownFaceGetsAFontWithJapaneseGlyphs) {
  const std::optional<FontFile> file = FindFontFile("Comic Sans MS");
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->fallback);
  std::unique_ptr<cGlyphFont> font = cGlyphFont::Open(*file, 16, 0, GlyphRendering::Grey);
  ASSERT_TRUE(font);
  EXPECT_TRUE(HasInk(font->Glyph(0x82A0))) << file->family;  // あ
}

TEST(GlyphFilesTest, AnOverrideStandsInForEveryFace) {
  SetFontFileOverride("/nowhere/cells.bdf");
  const std::optional<FontFile> file = FindFontFile(SJ("ＭＳ ゴシック"));
  SetFontFileOverride({});
  ASSERT_TRUE(file);
  EXPECT_EQ(file->path, "/nowhere/cells.bdf");
  EXPECT_NE(FindFontFile(SJ("ＭＳ ゴシック"))->path, "/nowhere/cells.bdf");
  EXPECT_FALSE(cGlyphFont::Open(*file, 16, 0, GlyphRendering::Mono)) << "no such file";
}

TEST(GlyphFontTest, AWindowsCellHeightBecomesAscentPlusDescent) {
  const std::optional<FontFile> gothic = FindFontFile(SJ("ＭＳ ゴシック"));
  ASSERT_TRUE(gothic);
  for (std::int32_t cell : {9, 16, 30}) {
    std::unique_ptr<cGlyphFont> font = cGlyphFont::Open(*gothic, cell, 0, GlyphRendering::Mono);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->CellHeight(), cell);
    // IPAGothic's ascent is 1802 of its 2048 units.
    EXPECT_EQ(font->Ascent(), (cell * 1802 + 1024) / 2048) << cell;
    const GlyphImage& a = font->Glyph(0x82A0);  // あ
    EXPECT_GE(a.top, 0) << cell;
    EXPECT_LE(a.top + a.height, cell) << cell;
    EXPECT_EQ(a.advance, cell) << "a double-width character is an em wide";
    EXPECT_EQ(font->Glyph('A').advance, (cell + 1) / 2) << "the fixed face's half-width cell, rounded";
  }
}

TEST(GlyphFontTest, MonoGlyphsHaveNoGreyAndGreyOnesDo) {
  const std::optional<FontFile> gothic = FindFontFile(SJ("ＭＳ Ｐゴシック"));
  ASSERT_TRUE(gothic);
  std::unique_ptr<cGlyphFont> mono = cGlyphFont::Open(*gothic, 16, 0, GlyphRendering::Mono);
  std::unique_ptr<cGlyphFont> grey = cGlyphFont::Open(*gothic, 16, 0, GlyphRendering::Grey);
  ASSERT_TRUE(mono && grey);
  for (std::uint16_t code : {std::uint16_t{0x82A0}, std::uint16_t{'S'}, std::uint16_t{0x835E}}) {
    EXPECT_TRUE(HasInk(mono->Glyph(code))) << code;
    EXPECT_FALSE(HasGrey(mono->Glyph(code))) << code;
  }
  EXPECT_TRUE(HasGrey(grey->Glyph(0x82A0)));
  // The proportional face: an 'i' is narrower than an 'W'.
  EXPECT_LT(grey->Glyph('i').advance, grey->Glyph('W').advance);
  // A glyph is rendered once and kept.
  EXPECT_EQ(&grey->Glyph('i'), &grey->Glyph('i'));
  // Control characters move the pen and leave no mark.
  EXPECT_FALSE(HasInk(grey->Glyph('\t')));
}

TEST(GlyphFontTest, CharactersAreDecodedAsCodePage932) {
  struct sCase {
    std::uint16_t code;
    std::optional<char32_t> unicode;
  };
  const sCase cases[] = {
      {0x41, U'A'},        {0x5C, U'\\'},       {0x7E, U'~'},        {0xB1, U'\uFF71'},
      {0x82A0, U'\u3042'}, {0x8140, U'\u3000'}, {0x815F, U'\uFF3C'}, {0x81, std::nullopt},
  };
  for (const sCase& c : cases) EXPECT_EQ(Cp932CharToUnicode(c.code), c.unicode) << std::hex << c.code;
}

}  // namespace
