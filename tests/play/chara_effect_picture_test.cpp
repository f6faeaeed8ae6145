// The pictures of the character effects: every kind drawn once into its own box of one frame, at
// the size of its cells and, for a few kinds, at scale 2 (drawn from the copy in work surface 68).
// Each box is compared dot by dot with what the kind shows; the frame is written as
// test_output/chara_effects_<back-end>.png beside the test program (or in $PLAYER_TEST_OUTPUT).
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/blend_table.h"
#include "play/chara_draw.h"
#include "play/chip_sheets.h"
#include "play/flow_seam.h"
#include "tests/play/chara_draw_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

constexpr std::uint32_t kUnder = 0xD0D8E0;
constexpr std::uint32_t kTintTarget = 0x4080C0;  // palette colour 40

// Boxes of 106 x 120 dots, six to a row.
constexpr int kBoxWidth = 106;
constexpr int kBoxHeight = 120;

// The picture: the cell at (32, 32) of character sheet 1 as drawn (facing left) and mirrored.
std::uint32_t Cell(int i, int j) {
  if (i < 0 || j < 0 || i >= 32 || j >= 32) return kSheetKey;
  return SheetPixel(0x20, 32, 32 + i, 32 + j);
}
std::uint32_t MirroredCell(int i, int j) { return MirroredSheetPixel(0x20, 32, 32 + i, 32 + j); }
// The 64x64 copy of a character at scale 2.
std::uint32_t Double(int i, int j) {
  if (i < 0 || j < 0 || i >= 64 || j >= 64) return kSheetKey;
  return Cell(i >> 1, j >> 1);
}
std::uint32_t Shown(std::uint32_t rgb) { return rgb == kSheetKey ? kUnder : rgb; }

// Destination dot c of a stretch from sw to w dots reads source dot floor((2c + 1) sw / 2w).
int Stretched(int c, int sw, int w) { return (2 * c + 1) * sw / (2 * w); }

// The half width of row m of a disc (floor(sqrt(r^2 - m^2)), at most r - 1), -1 outside it.
int DiscHalf(int r, int m) {
  if (m > r || m < -r) return -1;
  return std::min(static_cast<int>(std::sqrt(static_cast<double>(r * r - m * m))), r - 1);
}

// Rows of dx, dy are the offsets from the centre: a quarter turn clockwise shows the source dot
// (dy, -dx) from the pivot.
std::uint32_t QuarterTurn(const std::function<std::uint32_t(int, int)>& source, int pivot, int dx, int dy) {
  return source(pivot + dy, pivot - dx);
}

struct sPictureCase {
  const char* name;
  sEffectDefRow def;
  std::int32_t scale;
  int frames;  // unfrozen frames before the one drawn
  // The frame's colour at (a, b) from the picture's top left.
  std::function<std::uint32_t(int a, int b)> expected;
  // Also compared under Direct3D, which turns a picture about its geometric centre where
  // DirectDraw turns it about the dot there (one dot apart): the turns are compared on DirectDraw.
  bool direct3D;
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b) {
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) >> 1) << shift;
  return out;
}

// The mean of the picture's opaque dots over columns [i0, i1) and rows [j0, j1), cut to the cell.
std::uint32_t Mean(int i0, int i1, int j0, int j1) {
  std::uint32_t sum[3] = {0, 0, 0}, n = 0;
  for (int j = std::max(j0, 0); j < std::min(j1, 32); ++j)
    for (int i = std::max(i0, 0); i < std::min(i1, 32); ++i) {
      const std::uint32_t p = Cell(i, j);
      if (p == kSheetKey) continue;
      for (int c = 0; c < 3; ++c) sum[c] += (p >> (16 - 8 * c)) & 0xFF;
      ++n;
    }
  if (n == 0) return kSheetKey;
  return (sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n;
}

std::vector<sPictureCase> Cases() {
  std::vector<sPictureCase> cases;
  auto inside = [](int a, int b, int size) { return a >= 0 && b >= 0 && a < size && b < size; };
  // 破裂: each quarter 8 dots out, and twice as far at scale 2.
  cases.push_back({"破裂", {1, {5, 0, 30}}, 1, 8, [](int a, int b) {
                     const int i = a < 8 ? a + 8 : a - 8, j = b < 8 ? b + 8 : b - 8;
                     const bool left = a < 8, top = b < 8;
                     return Shown((left == (i < 16)) && (top == (j < 16)) ? Cell(i, j) : kSheetKey);
                   }, true});
  cases.push_back({"破裂 x2", {1, {5, 0, 30}}, 2, 8, [](int a, int b) {
                     const int i = a < 16 ? a + 16 : a - 16, j = b < 16 ? b + 16 : b - 16;
                     const bool left = a < 16, top = b < 16;
                     return Shown((left == (i < 32)) && (top == (j < 32)) ? Double(i, j) : kSheetKey);
                   }, true});
  // 分割（横） into 4: strips of 8 rows, 6 dots right and left in turn.
  cases.push_back({"分割（横）", {2, {5, 0, 30, 4}}, 1, 6, [](int a, int b) {
                     const int shift = b >= 0 && b < 32 && (b / 8) % 2 == 1 ? -6 : 6;
                     return Shown(Cell(a - shift, b));
                   }, true});
  // 分割（縦） into 3: two whole strips of 11 columns; the rest is not drawn.
  cases.push_back({"分割（縦）", {3, {5, 0, 30, 3}}, 1, 6, [](int a, int b) {
                     if (a < 0 || a >= 22) return kUnder;
                     const int shift = (a / 11) % 2 == 1 ? -6 : 6;
                     return Shown(Cell(a, b - shift));
                   }, true});
  // 波: 2 waves at the counter's phase (one degree a frame), in groups of 2 lines (4 at scale 2).
  cases.push_back({"波（横）", {4, {5, 0, 30, 2, 2}}, 1, 10, [](int a, int b) {
                     if (b < 0 || b >= 32) return kUnder;
                     const double degrees = (10 + (b / 2 + 1) * 22.5) * 2;
                     const int shift = static_cast<int>(std::sin(degrees * M_PI / 180) * 10);
                     return Shown(Cell(a - shift, b));
                   }, true});
  cases.push_back({"波（縦） x2", {5, {5, 0, 30, 2, 2}}, 2, 5, [](int a, int b) {
                     if (a < 0 || a >= 64) return kUnder;
                     const double degrees = (5 + (a / 4 + 1) * 22.5) * 2;
                     const int shift = static_cast<int>(std::sin(degrees * M_PI / 180) * 10);
                     return Shown(Double(a, b - shift));
                   }, true});
  // 点滅 of interval 2: hidden for three frames, then shown.
  cases.push_back({"点滅 shown", {6, {10, 2}}, 1, 3, [](int a, int b) { return Shown(Cell(a, b)); }, true});
  cases.push_back({"点滅 hidden", {6, {10, 2}}, 1, 2, [](int, int) { return kUnder; }, true});
  // 回転 by a quarter turn about the centre.
  cases.push_back({"回転A", {7, {10, 90, 1440}}, 1, 0, [](int a, int b) {
                     return Shown(QuarterTurn(Cell, 16, a - 16, b - 16));
                   }, false});
  // DirectDraw turns the 32x32 cell in a 45-dot square and stretches that over 90 dots.
  cases.push_back({"回転A x2", {7, {10, 90, 1440}}, 2, 0, [](int a, int b) {
                     const int c = a + 13, r = b + 13;
                     if (c < 0 || r < 0 || c >= 90 || r >= 90) return kUnder;
                     return Shown(QuarterTurn(Cell, 16, Stretched(c, 45, 90) - 22, Stretched(r, 45, 90) - 22));
                   }, false});
  cases.push_back({"回転B x2", {8, {10, 90, 1440}}, 2, 0, [](int a, int b) {
                     return Shown(QuarterTurn(Double, 32, a - 32, b - 32));
                   }, false});
  // 回転（奥）: 8 dots into the turn the face is squeezed to 16 columns; at 24 the other facing
  // shows, 7 dots in.
  cases.push_back({"回転（奥） front", {9, {10, 0, 240}}, 1, 2, [inside](int a, int b) {
                     if (!inside(a, b, 32) || a < 8 || a >= 24) return kUnder;
                     return Shown(Cell(Stretched(a - 8, 32, 16), b));
                   }, true});
  cases.push_back({"回転（奥） back", {9, {10, 0, 240}}, 1, 6, [inside](int a, int b) {
                     if (!inside(a, b, 32) || a < 7 || a >= 25) return kUnder;
                     return Shown(MirroredCell(Stretched(a - 7, 32, 18), b));
                   }, true});
  // 円 of radius 10 in strips of one row; at scale 2 radius 20 in strips of two.
  cases.push_back({"円", {10, {5, 30, 0, 1}}, 1, 20, [](int a, int b) {
                     const int dx = a - 16, dy = b - 16, half = dy >= -10 && dy < 10 ? DiscHalf(10, dy) : -1;
                     return half >= 0 && dx >= -half && dx < half ? Shown(Cell(a, b)) : kUnder;
                   }, true});
  cases.push_back({"円 x2", {10, {5, 30, 0, 1}}, 2, 20, [](int a, int b) {
                     const int dx = a - 32, dy = b - 32;
                     const int strip = dy >= -20 && dy < 20 ? (dy + 20) / 2 * 2 - 20 : 99;
                     const int half = DiscHalf(20, strip + 1);
                     return half >= 0 && dx >= -half && dx < half ? Shown(Double(a, b)) : kUnder;
                   }, true});
  // 拡大 at 48: 16 dots more on each axis, the corner 8 up and left; at scale 2 half the growth of
  // its doubled size, from the 64x64 copy.
  cases.push_back({"拡大", {11, {10, 32, 92}}, 1, 16, [inside](int a, int b) {
                     const int c = a + 8, r = b + 8;
                     return inside(c, r, 48) ? Shown(Cell(Stretched(c, 32, 48), Stretched(r, 32, 48))) : kUnder;
                   }, true});
  cases.push_back({"拡大 x2", {11, {10, 32, 92}}, 2, 16, [inside](int a, int b) {
                     const int c = a + 8, r = b + 8;
                     return inside(c, r, 80) ? Shown(Double(Stretched(c, 64, 80), Stretched(r, 64, 80))) : kUnder;
                   }, true});
  // レンズ of depth 100 with its eye 8 dots right: radius trunc(24 sqrt 2) = 33 about (20, 16),
  // reading the copy around (24, 16).
  cases.push_back({"レンズ", {12, {10, 100, 5, 8, 0}}, 1, 0, [](int a, int b) {
                     const int dx = a - 20, dy = b - 16, r = 33, depth = 100;
                     if (dy < -r || dy > r || dx * dx + dy * dy > r * r) return kUnder;
                     const double e = std::floor(std::sqrt(static_cast<double>(r * r + depth * depth)));
                     const double q = std::sqrt(e * e - (dx * dx + dy * dy));
                     const int u = static_cast<int>(dx * depth / q + 0.5), v = static_cast<int>(dy * depth / q + 0.5);
                     return Shown(Cell(24 + u, 16 + v));
                   }, true});
  // 色変化: one half step toward palette colour 40.
  cases.push_back({"色変化", {13, {10, 1, 4, 40}}, 1, 0, [](int a, int b) {
                     const std::uint32_t p = Cell(a, b);
                     return p == kSheetKey ? kUnder : Mix(p, kTintTarget);
                   }, true});
  // 半透明: half over the frame below.
  cases.push_back({"半透明", {14, {10, 9999}}, 1, 0, [](int a, int b) {
                     const std::uint32_t p = Cell(a, b);
                     return p == kSheetKey ? kUnder : Mix(p, kUnder);
                   }, true});
  // モザイク of 6: the mean of each 6x6 block from the top left (dots under the key not counted).
  cases.push_back({"モザイク", {15, {10, 6, 6}}, 1, 0, [inside](int a, int b) {
                     if (!inside(a, b, 32)) return kUnder;
                     const int i0 = a / 6 * 6, j0 = b / 6 * 6;
                     return Shown(Mean(i0, i0 + 6, j0, j0 + 6));
                   }, true});
  // ぼかし of 1: the mean of the 2x2 window up and left of each dot.
  cases.push_back({"ぼかし", {16, {10, 1, 4}}, 1, 0, [inside](int a, int b) {
                     if (!inside(a, b, 32) || Cell(a, b) == kSheetKey) return kUnder;
                     return Shown(Mean(a - 1, a + 1, b - 1, b + 1));
                   }, true});
  return cases;
}

class CharaEffectPictureTest : public CharaDrawTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    m_OutputDir = TestOutputDir();
    CharaDrawTest::SetUp();
  }

  std::filesystem::path m_OutputDir;
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, CharaEffectPictureTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Direct3D" : "DirectDraw");
                         });

TEST_P(CharaEffectPictureTest, EveryKindInItsBox) {
  const bool d3d = GetParam();
  StartDrawing(d3d ? BackEnd::Direct3D : BackEnd::DirectDraw);
  ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {kEffectWorkSurface, kEffectWorkCopy}));
  // Palette colour 0 is the key colour, as the games have it: the work squares are cleared to it.
  g_Palette[0] = {0xFF, 0x00, 0xFF, 0};
  g_FadePalette[40] = {0x40, 0x80, 0xC0, 0};

  const std::vector<sPictureCase> cases = Cases();
  std::vector<sEffectDefRow> rows;
  for (const sPictureCase& c : cases) rows.push_back(c.def);
  SetCharaEffects(rows);

  ClearFrame(kUnder);
  std::vector<std::pair<int, int>> corners;
  std::vector<cCharaBase> charas(cases.size());
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const sPictureCase& c = cases[n];
    const int boxX = static_cast<int>(n % 6) * kBoxWidth, boxY = static_cast<int>(n / 6) * kBoxHeight;
    const int x = boxX + (c.scale == 1 ? 37 : 21), y = boxY + (c.scale == 1 ? 44 : 28);
    corners.emplace_back(x, y);
    cCharaBase& chara = charas[n];
    SetUpPicture(chara, x, y);
    chara.m_Def.m_Enlargement = static_cast<std::uint8_t>(c.scale);
    chara.m_DrawWidth = chara.m_DrawHeight = 32 * c.scale;
    StartCharaEffect(chara.m_CharaEffect, static_cast<std::int16_t>(n + 1), kEffectModeNormal, 0);
    for (int frame = 0; frame < c.frames; ++frame) chara.StepEffectOnly(0);
    chara.Draw(&g_BackSurface, 1);
  }
  // Drawn again, as the frames of a game draw them, once the caches of the surfaces have grown:
  // nothing is allocated.
  for (cCharaBase& chara : charas) chara.Draw(&g_BackSurface, 1);
  ClearFrame(kUnder);
  cAllocationWatch watch;
  for (cCharaBase& chara : charas) chara.Draw(&g_BackSurface, 1);
  EXPECT_EQ(watch.Stop(), 0);

  const std::filesystem::path png =
      m_OutputDir / (std::string("chara_effects_") + (d3d ? "Direct3D" : "DirectDraw") + ".png");
  EXPECT_TRUE(ShowAndWriteFrame(png)) << png;

  for (std::size_t n = 0; n < cases.size(); ++n) {
    const sPictureCase& c = cases[n];
    if (d3d && !c.direct3D) continue;
    SCOPED_TRACE(c.name);
    const int boxX = static_cast<int>(n % 6) * kBoxWidth, boxY = static_cast<int>(n / 6) * kBoxHeight;
    const auto [x, y] = corners[n];
    int wrong = 0;
    for (int py = boxY; py < boxY + kBoxHeight; ++py)
      for (int px = boxX; px < boxX + kBoxWidth; ++px) {
        const std::uint32_t want = c.expected(px - x, py - y);
        if (Frame(px, py) == want) continue;
        if (++wrong <= 3) ADD_FAILURE() << "at (" << px - x << ", " << py - y << "): " << std::hex << Frame(px, py)
                                        << " instead of " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace

namespace {

// Direct3D tints a character's picture while its state asks for it (invincibility). Every effect at
// its plain value, at either size, draws what the tinted plain draw draws, and leaves the draw
// colour as it was.
TEST_F(CharaDrawTest, UnderTheTintEveryPathDrawsTheTintedPicture) {
  StartDrawing(BackEnd::Direct3D);
  ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {kEffectWorkSurface, kEffectWorkCopy}));
  g_Palette[0] = {0xFF, 0x00, 0xFF, 0};
  SetCharaEffects({
      {1, {5, 0, 30}},      // 破裂, no gap yet
      {2, {5, 0, 30, 4}},   // 分割（横）, not apart yet
      {9, {10, 0, 240}},    // 回転（奥）, not turned yet
      {10, {5, 32, 0, 1}},  // 円 wider than the picture
      {11, {10, 32, 92}},   // 拡大 at the picture's size
      {15, {10, 1, 1}},     // モザイク of single dots
  });
  const DrawState tint{0xFF80C040, 4};  // modulate
  for (std::int32_t scale : {1, 2}) {
    SCOPED_TRACE(scale);
    cCharaBase chara;
    SetUpPicture(chara, 0, 0);
    chara.m_Def.m_Enlargement = static_cast<std::uint8_t>(scale);
    chara.m_DrawWidth = chara.m_DrawHeight = 32 * scale;
    cCharaDrawRequest request;
    GetChipSource(request, kChipForObject, kChipChara, 1, 0, 0, 1);
    request.m_Width = request.m_Height = 32 * scale;
    request.m_TintOn = 1;
    request.m_Tint = tint;

    ClearFrame(kUnder);
    request.m_X = request.m_Y = 0;
    DrawCharaPlain(chara, &g_BackSurface, &request, 1);
    for (std::int16_t number = 1; number <= 6; ++number) {
      if (scale == 2 && number == 3) continue;  // 回転（奥） has one path only
      StartCharaEffect(chara.m_CharaEffect, number, kEffectModeNormal, 0);
      request.m_X = 80 * number;
      RunCharaEffect(chara, &g_BackSurface, &request, 1, 1);
      EXPECT_EQ(g_DisplayContext->drawColor, 0xFFFFFFFFu) << number;
      int wrong = 0;
      for (int b = 0; b < 32 * scale; ++b)
        for (int a = 0; a < 32 * scale; ++a) wrong += Frame(80 * number + a, b) != Frame(a, b);
      EXPECT_EQ(wrong, 0) << "effect " << number;
    }
    EXPECT_NE(Frame(5, 5), SheetPixel(0x20, 32, 37, 37)) << "the picture is tinted";
  }
}

}  // namespace
