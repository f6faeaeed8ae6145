#include "tests/platform/display/font_fixture.h"

namespace {

using FontMeasureTest = FontBothTest;
INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontMeasureTest, ::testing::Values(false, true), BackEndName);

TEST_P(FontMeasureTest, TextsMeasureByTheirLines) {
  // Under Direct3D too the proportional measure is the glyphs' (not 0 x 0).
  Font& fixed = MakeFont(16, 18);
  Font& proportional = MakeFont(0, 18);
  struct sCase {
    const char* utf8;
    SIZE fixedSize, proportionalSize;
  };
  const sCase cases[] = {
      {"", {0, 18}, {0, 20}},
      {"W", {16, 18}, {10, 18}},
      // An empty line in the middle: the proportional measure counts it as 20.
      {"iW\n\ni", {32, 54}, {13, 18 + 20 + 18}},
      {"\n", {0, 36}, {0, 40}},
      // A double-width character is one cell; a lead byte without its trail byte a character too.
      {"■i", {32, 18}, {19, 18}},
      {"\x81", {16, 18}, {8, 18}},
      {"\x81\ni", {16, 36}, {8, 36}},
  };
  for (const sCase& c : cases) {
    const std::string text = SJ(c.utf8);
    EXPECT_EQ(fixed.MeasureTextFixed(text.c_str()), c.fixedSize) << c.utf8;
    EXPECT_EQ(proportional.MeasureTextGdi(text.c_str()), c.proportionalSize) << c.utf8;
    EXPECT_EQ(fixed.MeasureText(text.c_str()), c.fixedSize) << c.utf8;
    EXPECT_EQ(proportional.MeasureText(text.c_str()), c.proportionalSize) << c.utf8;
  }
}

TEST_P(FontMeasureTest, LongTextsMeasureWhole) {
  Font& fixed = MakeFont(16, 16);
  Font& proportional = MakeFont(0, 16);
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += SJ("■");
  EXPECT_EQ(fixed.MeasureText(wide.c_str()), (SIZE{300 * 16, 16}));
  EXPECT_EQ(proportional.MeasureText(wide.c_str()), (SIZE{300 * 16, 16}));
  const std::string lines = std::string(700, 'W') + "\n" + std::string(10, 'i');
  EXPECT_EQ(proportional.MeasureText(lines.c_str()), (SIZE{7000, 32}));
}

TEST(FontTextTest, LineLengthStopsAtTheFirstLineFeed) {
  EXPECT_EQ(LineLength(""), 0);
  EXPECT_EQ(LineLength("abc"), 3);
  EXPECT_EQ(LineLength("ab\ncd"), 2);
  EXPECT_EQ(LineLength("\n"), 0);
  EXPECT_EQ(LineLength(nullptr), 0);
}

TEST(FontTextTest, FaceNamesAreCutToWholeCharacters) {
  std::string kana;
  for (int i = 0; i < 16; ++i) kana += SJ("ゴ");
  struct sCase {
    std::string face, kept;
  };
  const sCase cases[] = {
      {SJ("ＭＳ Ｐゴシック"), SJ("ＭＳ Ｐゴシック")},
      {std::string(40, 'x'), std::string(31, 'x')},
      // 32 bytes of double-byte characters keep 15 of them: the 16th would be cut in half.
      {kana, kana.substr(0, 30)},
      {"a" + kana.substr(0, 30), "a" + kana.substr(0, 30)},
      {"ab" + kana.substr(0, 30), "ab" + kana.substr(0, 28)},
      {"", ""},
  };
  for (const sCase& c : cases) EXPECT_EQ(CutFaceName(c.face.c_str()), c.kept) << c.face.size();
  EXPECT_EQ(CutFaceName(nullptr), "");
}

}  // namespace
