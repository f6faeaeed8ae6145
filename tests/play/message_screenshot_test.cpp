// Message windows over a frame in both back-ends, written as PNG files for people to look at:
// test_output/message_windows_<back-end>.png beside the test program (or in $PLAYER_TEST_OUTPUT).
// The checks read the PNG back: the key colour of a bare window lets the frame show through, a
// framed window has its frame and window picture, the text is there, the icons rise from their cells.
#include <filesystem>
#include <vector>

#include "tests/play/message_fixture.h"

namespace {

constexpr std::uint32_t kBack = 0x303030;

class MessageScreenshotTest : public MessageWindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    // Before the fixture moves into its game folder, which goes at the end.
    m_OutputDir = TestOutputDir();
    MessageWindowTest::SetUp();
  }

  std::filesystem::path m_OutputDir;
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, MessageScreenshotTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Direct3D" : "DirectDraw");
                         });

TEST_P(MessageScreenshotTest, FramedAndBareWindowsAndIcons) {
  const bool d3d = GetParam();
  Start(d3d ? BackEnd::Direct3D : BackEnd::DirectDraw);
  PixelsOf(g_BackSurface).Fill(Opaque(kBack));
  g_SaveData.m_Variables.At(1) = 5;
  cHero& hero = PutHero(400, 300);

  // "005 ■#" over "#": 6 cells by 2 lines, 98 x 34 with the margin.
  const std::string text = SJ("#C1_3Z. ■#\n#");
  struct sWindow {
    std::int32_t framed, x, y;
  };
  const sWindow windows[] = {{1, 32, 64}, {0, 32, 160}, {1, 600, 470}};
  for (const sWindow& w : windows) {
    cMessageSettings s = TextSettings(text);
    s.m_TextCodes = 1;
    s.m_Framed = w.framed;
    s.m_Anchor = kAnchorScreenCell;
    s.m_OffsetX = w.x;
    s.m_OffsetY = w.y;
    s.m_KeepOnScreen = 1;
    Open(s);
  }
  hero.ShowItemMessage(kChipItem, 1, 0);
  OpenMessageWindow(ExtraLifeSettings(kHeroId));
  m_Scene->m_Messages.back().m_OffsetX = 24;
  // Eight frames: the icons have risen two dots.
  for (int frame = 0; frame < 8; ++frame) {
    PixelsOf(g_BackSurface).Fill(Opaque(kBack));
    DrawMessageWindows(&g_BackSurface, 0);
  }
  ASSERT_EQ(m_Scene->m_Messages.size(), 5u);

  const std::filesystem::path png =
      m_OutputDir / (std::string("message_windows_") + (d3d ? "Direct3D" : "DirectDraw") + ".png");
  ASSERT_TRUE(ShowAndWriteFrame(png)) << png;

  sFramePng frame;
  ASSERT_TRUE(ReadFramePng(png, &frame));
  auto at = [&](std::int32_t x, std::int32_t y) { return frame.At(x, y); };

  // The third window was kept on screen: 640 - 98, 480 - 34.
  const std::int32_t places[3][2] = {{32, 64}, {32, 160}, {542, 446}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const std::int32_t x = places[i][0], y = places[i][1];
    const bool framed = windows[i].framed != 0;
    // Corners: the frame, or the key colour showing the frame below.
    EXPECT_EQ(at(x, y), framed ? kFrame : kBack);
    EXPECT_EQ(at(x + 97, y + 33), framed ? kFrame : kBack);
    EXPECT_EQ(at(x - 1, y - 1), kBack);
    if (i < 2) {
      EXPECT_EQ(at(x + 98, y + 34), kBack);
    }
    // Inside, beside the short second line: the window picture, or the frame below.
    EXPECT_EQ(at(x + 1 + 24, y + 1 + 16 + 4), framed ? kWindowPicture : kBack);
    // The full-width square of the fifth cell, and the digits' bars: text.
    EXPECT_EQ(at(x + 1 + 4 * 16 + 8, y + 1 + 8), kText);
    int ink = 0;
    for (std::int32_t r = y; r < y + 34; ++r)
      for (std::int32_t c = x; c < x + 98; ++c) ink += at(c, r) == kText;
    // The square (256), the half-width block (128) and the second line's one (128), and the bars.
    EXPECT_GT(ink, 512);
  }

  // The icons above the hero (drawn box at 396, 292, 40 wide): 16 x 16 at (408, 276) less the rise,
  // the extra-life mark 24 dots further right; their key corners show the frame below.
  const std::int32_t iconY = 276 - 2;
  EXPECT_EQ(at(408 + 2, iconY + 2), SheetPixel(0x70, 16, 2, 16 + 2));
  EXPECT_EQ(at(408, iconY), kBack);
  EXPECT_EQ(at(432 + 2, iconY + 2), SheetPixel(0xE0, 16, 2, 48 + 2));
  EXPECT_EQ(at(432, iconY), kBack);
  EXPECT_EQ(at(432 + 2, iconY + 16), kBack);
}

}  // namespace
