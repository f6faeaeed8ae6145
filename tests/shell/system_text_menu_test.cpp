// Menu windows of the project settings' texts in the message font, on the fixture font (16-pixel
// cells; see tests/platform/display/font_fixture.h).
#include "shell/system_text_menu.h"

#include "project/system_data.h"
#include "tests/platform/display/font_fixture.h"

namespace {

class SystemTextMenuTest : public FontTest {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    ASSERT_TRUE(StartDirectDraw(32));
    m_Saved = g_System.m_UiTexts;
    g_System.m_UiTexts.assign(28, std::string());
    g_Fonts[1].Create("Cells", 0, 16, 16, 16, kTextPal, Painted(640, 480, kWindow), 1, kFramePal, nullptr);
  }
  void TearDown() override {
    g_System.m_UiTexts = m_Saved;
    FontTest::TearDown();
  }

  CheckedVector<std::string> m_Saved;
};

TEST_F(SystemTextMenuTest, TheWindowIsOneCellPerCharacterAndOneLinePerText) {
  g_System.m_UiTexts.At(19) = SJ("■■");
  g_System.m_UiTexts.At(20) = SJ("■");
  struct sCase {
    std::int32_t count, extra;
    PixelRect frame;
    std::int32_t firstInk;  // the column of the first text's first glyph
  };
  const sCase cases[] = {
      {1, 0, {9, 9, 43, 27}, 10},
      {2, 0, {9, 9, 43, 43}, 10},
      // Every line starts with a blank, and the window is one cell wider for it.
      {2, 1, {9, 9, 59, 43}, 26},
  };
  for (const sCase& c : cases) {
    DDSURFACEDATA* dst = Blank(80, 60);
    DrawSystemTextMenu(dst, 10, 10, 19, c.count, c.extra);
    EXPECT_EQ(Extent(*dst, kFrame), c.frame) << c.count << ", " << c.extra;
    EXPECT_EQ(Extent(*dst, kText).left, c.firstInk) << c.count << ", " << c.extra;
    EXPECT_EQ(Count(*dst, kText), 16 * 16 * (c.count == 1 ? 2 : 3)) << c.count << ", " << c.extra;
  }
}

TEST_F(SystemTextMenuTest, TextsAreDrawnAsTheyAreAndNoCountDrawsNothing) {
  // '%' and 'd' are five pixels each in the fixture font: formatted, this would be something else.
  g_System.m_UiTexts.At(21) = "%d%%";
  DDSURFACEDATA* dst = Blank(80, 40);
  DrawSystemTextMenu(dst, 4, 4, 21, 1, 0);
  EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{3, 3, 69, 21}));
  EXPECT_EQ(Count(*dst, kText), 4 * 5);

  DDSURFACEDATA* none = Blank(80, 40);
  DrawSystemTextMenu(none, 4, 4, 21, 0, 1);
  DrawSystemTextMenu(none, 4, 4, 21, -2, 0);
  EXPECT_EQ(Count(*none, 0), 80 * 40);
}

}  // namespace
