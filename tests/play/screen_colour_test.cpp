// The screen colour: its start, its weights frame by frame (fade, hold, flash, fade back) and what
// each back-end does with them.
#include <memory>
#include <vector>

#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "tests/platform/display/display_fixture.h"

namespace {

class ScreenColourTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    m_Scene = std::make_unique<cPlayScene>();
    g_PlayScene = m_Scene.get();
  }
  void TearDown() override {
    m_Scene.reset();
    DisplayTest::TearDown();
  }

  cScreenColour& Colour() { return m_Scene->m_ScreenColour; }
  // The weights of n frames (not frozen), then whether the change is still on.
  std::vector<std::int32_t> Run(int n) {
    std::vector<std::int32_t> weights;
    for (int i = 0; i < n; ++i) {
      DrawScreenColour(0);
      weights.push_back(Colour().m_Weight);
    }
    return weights;
  }

  std::unique_ptr<cPlayScene> m_Scene;
};

TEST_F(ScreenColourTest, StartTakesTheCommandsValues) {
  ASSERT_TRUE(StartDirect3D(32));
  EXPECT_EQ(Colour().m_PrevWeight, 255) << "a reset record";
  Colour().m_Weight = 99;
  StartScreenColour(Colour(), 300, -4, 17, 50, 0, 5, 1, 3);
  const cScreenColour& c = Colour();
  EXPECT_EQ(c.m_Red, 255);  // beyond a byte: the nearest end
  EXPECT_EQ(c.m_Green, 0);
  EXPECT_EQ(c.m_Blue, 17);
  EXPECT_EQ(c.m_Strength, 50);
  EXPECT_EQ(c.m_Time, 30);  // tenths of a second in frames
  EXPECT_EQ(c.m_Flash, 1);
  EXPECT_EQ(c.m_Repeats, 3);
  EXPECT_EQ(c.m_Active, 1);
  EXPECT_EQ(c.m_Held, 1);
  EXPECT_EQ(c.m_Weight, 0);
  EXPECT_EQ(c.m_PrevWeight, 99);
  // A time that cannot be counted in frames is no time.
  StartScreenColour(Colour(), 0, 0, 0, 50, 0, -3, 0, 0);
  EXPECT_EQ(Colour().m_Time, 0);
}

TEST_F(ScreenColourTest, ChangeToStrengthZeroEndsAfterItsTimeAndFiftyHolds) {
  ASSERT_TRUE(StartDirect3D(32));
  StartScreenColour(Colour(), 255, 0, 0, 0, 0, 5, 0, 0);
  for (std::int32_t w : Run(29)) EXPECT_EQ(w, 255);
  EXPECT_EQ(Colour().m_Active, 1);
  Run(1);
  EXPECT_EQ(Colour().m_Active, 0) << "ended on its 30th frame";

  StartScreenColour(Colour(), 255, 0, 0, 50, 0, 5, 0, 0);
  const std::vector<std::int32_t> weights = Run(100);
  EXPECT_EQ(weights[0], 255);
  EXPECT_EQ(weights[15], 191);  // 255 - 0.5 x 50 x 2.55
  EXPECT_EQ(weights[29], 131);
  EXPECT_EQ(weights[30], 127);
  EXPECT_EQ(weights[99], 127);
  EXPECT_EQ(Colour().m_Active, 1) << "held until the next change";

  // Frozen frames show the tint without moving it on.
  StartScreenColour(Colour(), 255, 0, 0, 50, 0, 5, 0, 0);
  Run(10);
  for (int i = 0; i < 5; ++i) DrawScreenColour(1);
  EXPECT_EQ(Colour().m_Counter, 10);
}

TEST_F(ScreenColourTest, WeightsStayWithinAByte) {
  ASSERT_TRUE(StartDirect3D(32));
  StartScreenColour(Colour(), 0, 0, 255, 1000, 0, 0, 0, 0);
  EXPECT_EQ(Run(1)[0], 0);
  StartScreenColour(Colour(), 0, 0, 255, -100, 0, 0, 0, 0);
  EXPECT_EQ(Run(1)[0], 255);
  EXPECT_EQ(ScreenColourWeight(Colour()), 255);
}

TEST_F(ScreenColourTest, FlashRepeatsItsFadeThenEnds) {
  ASSERT_TRUE(StartDirect3D(32));
  StartScreenColour(Colour(), 255, 255, 255, 100, 0, 1, 1, 2);
  const std::vector<std::int32_t> weights = Run(13);
  const std::vector<std::int32_t> expected = {255, 212, 170, 127, 85, 42, 255, 255, 212, 170, 127, 85, 42};
  EXPECT_EQ(weights, expected);
  EXPECT_EQ(Colour().m_Active, 1);
  Run(1);
  EXPECT_EQ(Colour().m_Active, 0);
  EXPECT_EQ(Colour().m_RepeatsDone, 2);
}

TEST_F(ScreenColourTest, FadeBackRunsFromTheHeldWeightToNoTint) {
  ASSERT_TRUE(StartDirect3D(32));
  // Fading back from nothing is ignored under Direct3D.
  StartScreenColour(Colour(), 9, 9, 9, 50, 1, 1, 0, 0);
  EXPECT_EQ(Colour().m_Active, 0);

  StartScreenColour(Colour(), 0, 128, 0, 50, 0, 0, 0, 0);
  EXPECT_EQ(Run(1)[0], 127);
  StartScreenColour(Colour(), 255, 0, 0, 0, 1, 1, 0, 0);
  EXPECT_EQ(Colour().m_Green, 128) << "the colour of the change it undoes";
  EXPECT_EQ(Colour().m_Red, 0);
  const std::vector<std::int32_t> expected = {127, 148, 169, 191, 212, 233};
  EXPECT_EQ(Run(6), expected);
  EXPECT_EQ(Colour().m_Active, 0);
}

TEST_F(ScreenColourTest, TintReachesTheFrameUnderDirect3D) {
  ASSERT_TRUE(StartDirect3D(32));
  cPixelBuffer& frame = PixelsOf(g_BackSurface);
  frame.Fill(0xFF808080);
  StartScreenColour(Colour(), 255, 0, 0, 50, 0, 0, 0, 0);
  DrawScreenColour(0);
  const std::uint32_t tinted = frame.Pixel(300, 200);
  EXPECT_GT((tinted >> 16) & 0xFF, 0x80u);
  EXPECT_LT((tinted >> 8) & 0xFF, 0x80u);
  EXPECT_EQ(frame.Pixel(0, 0), tinted);
  // No change, no tint.
  Colour().m_Active = 0;
  frame.Fill(0xFF808080);
  DrawScreenColour(0);
  EXPECT_EQ(frame.Pixel(300, 200) & 0xFFFFFF, 0x808080u);
}

TEST_F(ScreenColourTest, SurfaceBranchAboveEightBitsEndsTheChangeAtOnce) {
  ASSERT_TRUE(StartDirectDraw(32, 1));
  StartScreenColour(Colour(), 255, 0, 0, 50, 0, 5, 0, 0);
  DrawScreenColour(1);
  EXPECT_EQ(Colour().m_Active, 1) << "nothing happens on a frozen frame";
  DrawScreenColour(0);
  EXPECT_EQ(Colour().m_Active, 0);
}

TEST_F(ScreenColourTest, EightBitPaletteIsMixedWithTheColourAndRestoredAtTheEnd) {
  ASSERT_TRUE(StartDirectDraw(8));
  ASSERT_TRUE(g_lpDDPalette);
  for (int i = 0; i < 256; ++i)
    g_Palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 40, 0};
  auto shown = [](int i) {
    PALETTEENTRY e{};
    g_lpDDPalette->GetEntries(i, 1, &e);
    return e;
  };
  // A fade back needs a colour that was set.
  StartScreenColour(Colour(), 0, 0, 0, 50, 1, 1, 0, 0);
  EXPECT_EQ(Colour().m_Active, 0);

  StartScreenColour(Colour(), 0, 0, 200, 100, 0, 0, 0, 0);
  DrawScreenColour(0);
  EXPECT_EQ(Colour().m_Weight, 0);
  EXPECT_EQ(shown(10).peRed, 0);
  EXPECT_EQ(shown(10).peBlue, 200);

  StartScreenColour(Colour(), 0, 0, 0, 0, 1, 1, 0, 0);
  for (int i = 0; i < 5; ++i) DrawScreenColour(0);
  EXPECT_EQ(Colour().m_Active, 1);
  // The fifth frame's weight 170: (entry x 170 + 200 x 86) >> 8.
  EXPECT_EQ(shown(10).peBlue, (40 * 170 + 200 * 86) >> 8);
  DrawScreenColour(0);
  EXPECT_EQ(Colour().m_Active, 0);
  for (int i : {0, 10, 255}) {
    EXPECT_EQ(shown(i).peRed, g_Palette[i].peRed) << i;
    EXPECT_EQ(shown(i).peGreen, g_Palette[i].peGreen) << i;
    EXPECT_EQ(shown(i).peBlue, g_Palette[i].peBlue) << i;
  }
}

}  // namespace
