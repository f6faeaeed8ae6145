#include "platform/display/frame_draw.h"

#include <list>

#include "tests/platform/display/display_fixture.h"

namespace {

// Tiny pictures written as rows of characters: a pixel holds its character's code (opaque under
// Direct3D), '.' an untouched pixel. Run under both back-ends at 32 bits.
class FrameDrawTest : public DisplayTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ASSERT_TRUE(GetParam() ? StartDirect3D(32) : StartDirectDraw(32));
  }
  void TearDown() override {
    for (DDSURFACEDATA& record : m_Records) DDReleaseSurface(&record);
    DisplayTest::TearDown();
  }

  DDSURFACEDATA* Blank(std::int32_t width, std::int32_t height) {
    DDSURFACEDATA& record = m_Records.emplace_back();
    EXPECT_TRUE(DDCreateSurface(&record, width, height, 0, 1, 0, 0, 0));
    return &record;
  }
  DDSURFACEDATA* Picture(const std::vector<std::string>& rows) {
    DDSURFACEDATA* record = Blank(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y)
      for (std::size_t x = 0; x < rows[y].size(); ++x)
        if (rows[y][x] != '.')
          PixelsOf(*record).SetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), Pixel(rows[y][x]));
    return record;
  }
  static std::uint32_t Pixel(char c) { return static_cast<std::uint8_t>(c) | (GetParam() ? 0xFF000000u : 0u); }
  static std::vector<std::string> Rows(DDSURFACEDATA* record) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < record->height; ++y) {
      std::string row;
      for (std::int32_t x = 0; x < record->width; ++x) {
        const std::uint32_t rgb = PixelsOf(*record).Pixel(x, y) & 0xFFFFFF;
        row += rgb == 0 ? '.' : static_cast<char>(rgb);
      }
      rows.push_back(row);
    }
    return rows;
  }

  std::list<DDSURFACEDATA> m_Records;
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, FrameDrawTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param ? "Direct3D" : "DirectDraw");
                         });

TEST_P(FrameDrawTest, DrawNumberRightAlignsOrCentresItsDigits) {
  struct sCase {
    std::int32_t value, minDigits, centre;
    std::string expected;  // digits 2 pixels wide, drawn from x = 1
  };
  const sCase cases[] = {
      {7, 3, 0, ".....77..............."},   {7, 3, 1, "...77................."},
      {0, 0, 0, ".00..................."},   {-5, 2, 0, "...00................."},  // no sign to show: drawn as 0
      {120, 2, 0, ".112200..............."}, {2147483647, 0, 0, ".22114477448833664477."},
  };
  for (const sCase& c : cases) {
    DDSURFACEDATA* strip = Picture({"00112233445566778899"});
    DDSURFACEDATA* dst = Blank(22, 1);
    DrawNumber(dst, 1, 0, 2, 1, strip, 0, 0, 0, c.value, c.minDigits, c.centre);
    EXPECT_EQ(Rows(dst)[0], c.expected) << c.value << " " << c.minDigits << " " << c.centre;
  }
}

TEST_P(FrameDrawTest, FramesAreDrawnInsideTheRectangleAndAroundTheBox) {
  g_Palette[3] = {0, 0, '#', 1};
  DDSURFACEDATA* dst = Blank(6, 5);
  DrawFrameRect(dst, 0, 0, 6, 5, 2, 3);
  EXPECT_EQ(Rows(dst), (std::vector<std::string>{"######", "######", "##..##", "######", "######"}));

  DDSURFACEDATA* box = Blank(6, 6);
  DrawBoxWithFrame(box, 2, 2, 2, 2, Picture({"iii", "iii"}), 1, 3);
  EXPECT_EQ(Rows(box), (std::vector<std::string>{"......", ".####.", ".#ii#.", ".#ii#.", ".####.", "......"}));
}

TEST_P(FrameDrawTest, StripeBltMovesWholeStripesAndLeavesTheRemainder) {
  DDSURFACEDATA* columns = Blank(7, 3);
  StripeBlt(columns, 0, 1, 7, 1, 2, 1, Picture({"abcdefg"}), 0, 0, 0, 1);
  EXPECT_EQ(Rows(columns), (std::vector<std::string>{"..cd...", ".......", "ab..ef."}));

  DDSURFACEDATA* rows = Blank(4, 5);
  StripeBlt(rows, 1, 0, 2, 5, 2, 1, Picture({"aa", "bb", "cc", "dd", "ee"}), 0, 0, 0, 0);
  EXPECT_EQ(Rows(rows), (std::vector<std::string>{"..aa", "..bb", "cc..", "dd..", "...."}));

  DDSURFACEDATA* plain = Blank(4, 1);
  StripeBlt(plain, 1, 0, 3, 1, 0, 1, Picture({"xyz"}), 0, 0, 0, 1);
  EXPECT_EQ(Rows(plain)[0], ".xyz");
}

TEST_P(FrameDrawTest, FlipBltTurnsTheCardAndShowsTheFrontOfOneTooSmallToTurn) {
  DDSURFACEDATA* front = Picture({std::string(64, 'F')});
  DDSURFACEDATA* back = Picture({std::string(64, 'B')});
  auto sliver = [](char face) { return std::string(31, '.') + face + face + std::string(31, '.'); };
  struct sCase {
    std::int32_t counter;
    std::string expected;
  };
  const sCase cases[] = {
      {0, std::string(64, 'F')},  {31, sliver('F')}, {32, sliver('B')},
      {63, std::string(64, 'B')}, {95, sliver('B')}, {96, sliver('F')},
  };
  for (const sCase& c : cases) {
    DDSURFACEDATA* dst = Blank(64, 1);
    FlipBlt(dst, 0, 0, 64, 1, front, 0, 0, back, 0, 0, 64, 1, 0, c.counter, 0);
    EXPECT_EQ(Rows(dst)[0], c.expected) << c.counter;
  }

  // About the horizontal axis.
  DDSURFACEDATA* tall = Blank(1, 4);
  FlipBlt(tall, 0, 0, 1, 4, front, 0, 0, back, 0, 0, 1, 1, 0, 1, 1);
  EXPECT_EQ(Rows(tall), (std::vector<std::string>{".", "F", "F", "."}));

  // One pixel across the turning axis: the front as it stands, whatever the counter.
  struct sSmall {
    std::int32_t w, h, mode, counter;
    std::vector<std::string> expected;
  };
  const sSmall small[] = {
      {1, 2, 0, 0, {"F.", "F."}}, {1, 2, 0, 7, {"F.", "F."}}, {2, 1, 1, 5, {"FF", ".."}},
      {0, 2, 0, 3, {"..", ".."}}, {2, 2, 2, 0, {"..", ".."}},
  };
  for (const sSmall& c : small) {
    DDSURFACEDATA* dst = Blank(2, 2);
    FlipBlt(dst, 0, 0, c.w, c.h, front, 0, 0, back, 0, 0, 1, 1, 0, c.counter, c.mode);
    EXPECT_EQ(Rows(dst), c.expected) << c.w << "x" << c.h << " mode " << c.mode << " counter " << c.counter;
  }
}

TEST_P(FrameDrawTest, WaveBltStepsItsAngleInFractionsOfADegree) {
  // Strips 1 pixel wide over 400 columns turn the angle 0.9 degrees each; at frequency 100 that is
  // 90 degrees a strip: up, level, down, level.
  DDSURFACEDATA* dst = Blank(400, 3);
  WaveBlt(dst, 0, 1, 400, 1, 100, 1.5, 0, 1, Picture({std::string(400, 'w')}), 0, 0, 0, 1);
  const std::vector<std::string> rows = Rows(dst);
  EXPECT_EQ(rows[0].substr(0, 8), "..w...w.");
  EXPECT_EQ(rows[1].substr(0, 8), ".w.w.w.w");
  EXPECT_EQ(rows[2].substr(0, 8), "w...w...");
}

TEST_P(FrameDrawTest, WaveBltDisplacesRowStripsAndDrawsTheShortLastStrip) {
  // Strips of 2 rows over 5 turn 144 degrees each: displacements 1, -2 and 2 (the last strip 1 row).
  DDSURFACEDATA* src = Picture({"aaa", "bbb", "ccc", "ddd", "eee"});
  DDSURFACEDATA* dst = Blank(7, 5);
  WaveBlt(dst, 2, 0, 3, 5, 1, 2.5, 0, 2, src, 0, 0, 0, 0);
  EXPECT_EQ(Rows(dst), (std::vector<std::string>{"...aaa.", "...bbb.", "ccc....", "ddd....", "....eee"}));

  DDSURFACEDATA* none = Blank(7, 5);
  WaveBlt(none, 2, 0, 3, 5, 1, 2.5, 0, 0, src, 0, 0, 0, 0);
  EXPECT_EQ(Rows(none)[0], ".......");
}

TEST_P(FrameDrawTest, QuarterBltMovesEachQuadrantOutward) {
  DDSURFACEDATA* dst = Blank(8, 8);
  QuarterBlt(dst, 2, 2, 4, 4, Picture({"aabb", "aabb", "ccdd", "ccdd"}), 0, 0, 1, 0);
  EXPECT_EQ(Rows(dst), (std::vector<std::string>{"........", ".aa..bb.", ".aa..bb.", "........", "........", ".cc..dd.",
                                                 ".cc..dd.", "........"}));
}

}  // namespace
