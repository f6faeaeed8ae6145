// Every kind of screen effect drawn over the 640 x 480 test frame under both back-ends, checked at
// pixels whose source the effect's geometry tells, and kept for people to look at as one sheet of
// quarter-size pictures, four a row: test_output/screen_effects_<back-end>.png beside the test
// program (or in $PLAYER_TEST_OUTPUT), the untouched frame first, then the cases below in order.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/screen.h"
#include "tests/play/screen_effect_fixture.h"

namespace {

constexpr std::int32_t kHeroX = 200;
constexpr std::int32_t kHeroY = 150;
// Five rows of quarter-size frames.
constexpr std::int32_t kSheetHeight = 5 * 120;

class ScreenEffectScreenshotTest : public ScreenEffectTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("PLAYER_TEST_OUTPUT");
    m_OutputDir = dir ? std::filesystem::path(dir) : std::filesystem::current_path() / "test_output";
    ScreenEffectTest::SetUp();
  }

  // The shown frame at a quarter of its size into tile `tile` of the sheet, four tiles a row.
  void AddTile(int tile) {
    const std::int32_t left = tile % 4 * 160, top = tile / 4 * 120;
    for (std::int32_t y = 0; y < 120; ++y)
      for (std::int32_t x = 0; x < 160; ++x)
        m_Sheet[static_cast<std::size_t>(top + y) * 640 + static_cast<std::size_t>(left + x)] =
            0xFF000000u | At(x * 4, y * 4);
  }

  std::filesystem::path m_OutputDir;
  std::vector<std::uint32_t> m_Sheet = std::vector<std::uint32_t>(640 * kSheetHeight, 0xFF000000u);
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, ScreenEffectScreenshotTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Direct3D" : "DirectDraw");
                         });

TEST_P(ScreenEffectScreenshotTest, EveryKindOverTheTestFrame) {
  const bool d3d = GetParam();
  StartDisplay(d3d ? BackEnd::Direct3D : BackEnd::DirectDraw);
  PutHero(kHeroX, kHeroY);
  auto P = FramePixel;

  struct sCase {
    const char* name;
    sScrEffect effect;
    int frames;  // drawn before the checks
    std::function<void()> check;
  };
  const sCase cases[] = {
      {"move to (100, 50)",
       {1, {10, 100, 50, 640, 0}},
       1,
       [&] {
         EXPECT_EQ(At(100, 50), P(0, 0));
         EXPECT_EQ(At(639, 479), P(539, 429));
         EXPECT_EQ(At(99, 200), kBlank);
         EXPECT_EQ(At(300, 49), kBlank);
       }},
      // The fifth frame shows the first swing's full width.
      {"shake across",
       {2, {10, 4, 4, 0, 0}},
       5,
       [&] {
         EXPECT_EQ(At(4, 10), P(0, 10));
         EXPECT_EQ(At(3, 10), kBlank);
       }},
      {"shake up and down",
       {3, {10, 4, 4, 0, 0}},
       5,
       [&] {
         EXPECT_EQ(At(10, 4), P(10, 0));
         EXPECT_EQ(At(10, 3), kBlank);
       }},
      // 15 strips of 32 rows, the even ones pushed right by 10, the odd ones left.
      {"rows apart",
       {4, {10, 10, 20, 15, 0}},
       1,
       [&] {
         EXPECT_EQ(At(10, 5), P(0, 5));
         EXPECT_EQ(At(9, 31), kBlank);
         EXPECT_EQ(At(0, 32), P(10, 32));
         EXPECT_EQ(At(630, 63), kBlank);
         EXPECT_EQ(At(10, 479), P(0, 479));
       }},
      // 7 strips: 69 rows each, six of them whole; the rest of the screen stays blank.
      {"rows of 69",
       {4, {10, 0, 640, 7, 0}},
       1,
       [&] {
         EXPECT_EQ(At(5, 413), P(5, 413));
         EXPECT_EQ(At(5, 414), kBlank);
       }},
      {"columns apart",
       {5, {10, 10, 20, 20, 0}},
       1,
       [&] {
         EXPECT_EQ(At(5, 10), P(5, 0));
         EXPECT_EQ(At(5, 9), kBlank);
         EXPECT_EQ(At(40, 0), P(40, 10));
       }},
      // Groups of 8 rows, 4 waves, amplitude 20: the first group is at 24 degrees, sin 0.41.
      {"wave across",
       {6, {10, 20, 20, 4, 8}},
       1,
       [&] {
         EXPECT_EQ(At(8, 0), P(0, 0));
         EXPECT_EQ(At(7, 7), kBlank);
         EXPECT_EQ(At(0, 112), P(0, 112));  // group 14 at 360 degrees
       }},
      {"wave up and down",
       {7, {10, 20, 20, 4, 10}},
       1,
       [&] {
         EXPECT_EQ(At(0, 7), P(0, 0));  // 22.5 degrees
         EXPECT_EQ(At(9, 6), kBlank);
       }},
      // Without background layers the frame is hidden under colour 16 for 3 frames, shown on the 4th.
      {"blink",
       {8, {10, 2, 0, 0, 0}},
       4,
       [&] {
         EXPECT_EQ(At(0, 0), P(0, 0));
         EXPECT_EQ(At(639, 479), P(639, 479));
       }},
      {"turned 90 degrees",
       {9, {10, 90, 180, 0, 0}},
       1,
       [&] {
         // Direct3D turns the picture as one quad, in floating point: a dot off at most.
         EXPECT_NEAR(SourceX(At(320, 240)), 320, 1);
         EXPECT_NEAR(SourceY(At(320, 240)), 240, 1);
         EXPECT_EQ(At(0, 0), kBlank);
         EXPECT_EQ(At(639, 240), kBlank);
         // A point right of the centre turns below it.
         const std::uint32_t below = At(320, 340);
         EXPECT_NEAR(SourceX(below), 420, 1);
         EXPECT_NEAR(SourceY(below), 240, 1);
       }},
      {"circle of 100 around the hero",
       {10, {10, 100, 0, 8, 0}},
       1,
       [&] {
         EXPECT_EQ(At(kHeroX, kHeroY), P(kHeroX, kHeroY));
         EXPECT_EQ(At(kHeroX + 90, kHeroY), P(kHeroX + 90, kHeroY));
         EXPECT_EQ(At(kHeroX + 120, kHeroY), kBlank);
         EXPECT_EQ(At(kHeroX, kHeroY - 120), kBlank);
         EXPECT_EQ(At(0, 0), kBlank);
       }},
      // Width 640: the zoom starts at 1, the frame as it was.
      {"zoom at 1",
       {11, {10, 640, 1280, 0, 0}},
       1,
       [&] {
         EXPECT_EQ(At(0, 0), P(0, 0));
         EXPECT_EQ(At(kHeroX, kHeroY), P(kHeroX, kHeroY));
         EXPECT_EQ(At(639, 479), P(639, 479));
       }},
      // Width 1280: twice as large, 320 x 240 of the frame around the hero.
      {"zoom in on the hero",
       {11, {10, 1280, 1280, 0, 0}},
       1,
       [&] {
         EXPECT_EQ(At(0, 0), P(40, 30));
         EXPECT_EQ(At(100, 60), P(90, 60));
         EXPECT_EQ(At(638, 478), P(359, 269));
       }},
      // Width 320: half as large about the centre of the screen.
      {"zoom out",
       {11, {10, 320, 320, 0, 0}},
       1,
       [&] {
         EXPECT_EQ(At(159, 119), kBlank);
         EXPECT_EQ(At(480, 360), kBlank);
         EXPECT_NEAR(SourceX(At(160, 120)), 0, 1);
         EXPECT_NEAR(SourceX(At(479, 359)), 638, 1);
         EXPECT_NEAR(SourceY(At(479, 359)), 478, 1);
       }},
      // The lens sits on the hero moved by (20, 10); around it the frame is enlarged.
      {"lens",
       {12, {10, 300, 300, 20, 10}},
       1,
       [&] {
         EXPECT_EQ(At(220, 160), P(220, 160));
         const std::uint32_t right = At(280, 160);
         EXPECT_GT(SourceX(right), 220);
         EXPECT_LT(SourceX(right), 280);
         EXPECT_EQ(SourceY(right), 160);
       }},
      {"mosaic of 8",
       {13, {10, 8, 8, 0, 0}},
       1,
       [&] {
         for (std::int32_t y = 0; y < 8; ++y)
           for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(At(x, y), At(0, 0));
         EXPECT_NE(At(8, 0), At(7, 0));
         EXPECT_NE(At(0, 8), At(0, 7));
         EXPECT_EQ(At(636, 476), At(639, 479));
       }},
  };
  std::vector<sScrEffect> effects;
  for (const sCase& c : cases) effects.push_back(c.effect);
  Define(effects);

  DrawFrame();
  EXPECT_EQ(At(123, 45), P(123, 45));
  AddTile(0);
  int tile = 1;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const sCase& c = cases[i];
    SCOPED_TRACE(c.name);
    StartScrEffect(Player(), static_cast<std::int16_t>(i + 1), kEffectModeNormal, 0);
    for (int f = 0; f < c.frames; ++f) DrawFrame();
    ASSERT_EQ(Player().m_Number, static_cast<std::int16_t>(i + 1));
    c.check();
    AddTile(tile++);
  }
  std::filesystem::create_directories(m_OutputDir);
  const std::filesystem::path png =
      m_OutputDir / (std::string("screen_effects_") + (d3d ? "Direct3D" : "DirectDraw") + ".png");
  EXPECT_TRUE(WriteXrgbPng(png, m_Sheet.data(), 640, kSheetHeight)) << png;
}

}  // namespace
