// Shown pictures and effect instances on the frame: copied and stretched, fixed and scrolling, their
// frame counts, the frozen frames of the pause thread, and the hit effect's place and jitter.
#include <set>
#include <utility>

#include "platform/services/checked.h"
#include "platform/services/random.h"
#include "play/chara_base.h"
#include "play/effect_instance.h"
#include "play/picture.h"
#include "project/database_frames.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

// A picture of 8-dot cells, 24 x 16, and the effect sheet of the fixture: 16-dot cells, four in a row.
const sSheetFile kPictureSheet{"bmp/pic.bmp", 0xF0, 8, 24, 16};
constexpr std::uint32_t kEffectTag = 0xC0;
constexpr int kEffectCell = 16;
constexpr std::uint32_t kUnder = 0x010203;

class PictureEffectDrawTest : public StageDrawTest {
 protected:
  void SetUp() override {
    StageDrawTest::SetUp();
    WriteSheet(kPictureSheet);
  }
  void TearDown() override {
    ClearPictureLists();
    g_EffectFrameLists.clear();
    StageDrawTest::TearDown();
  }

  void StartWithEffects(BackEnd backEnd) {
    StartDrawing(backEnd);
    // Effect 1: cells 2, 0, 3 for 0.1 s each, 16-dot cells; effect 2: no frames.
    SetEffects({"bmp\\effect.bmp", "bmp\\effect.bmp"});
    cEffectDef& def = g_Database.m_Effects.At(1);
    def.m_CellWidth = def.m_CellHeight = kEffectCell;
    for (std::int32_t cell : {2, 0, 3}) {
      cEffectFrame frame;
      frame.m_Cell = cell;
      frame.m_Time = 1;
      def.m_Frames.push_back(frame);
    }
    g_Database.m_Effects.At(2).m_Frames.clear();
    LoadEffectBitmaps();
    BuildEffectFrameLists(g_EffectFrameLists);
    ClearFrame(kUnder);
  }

  // A picture of pic.bmp listed in the play scene.
  cPicture& ShowPicture(std::int32_t width, std::int32_t height, std::int32_t scale, std::int32_t fixed) {
    g_PictureDescriptors.emplace_back("bmp\\pic.bmp", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    DDSURFACEDATA& surface = g_PictureSurfaces.emplace_back();
    EXPECT_TRUE(CheckSurfaceResult(CreateSurfaceFromFile(&surface, "bmp\\pic.bmp", 1, 32, 1, 0, 0, 0, 0, 0, 0)));
    cPicture& picture = m_Scene->m_Pictures.emplace_back();
    SetupPicture(picture, 1, kOriginX + 100, kOriginY + 50, width, height, fixed, 0, scale, kPictureUntilKey, 0, 0, 0,
                 0);
    picture.m_Surface = &surface;
    return picture;
  }

  // The frame holds (left, top) .. + (w, h) as the sheet would put it there, source dot of frame
  // dot (c, r) given by at, and kUnder just outside the right and bottom edges.
  template <class At>
  void ExpectDrawn(const char* what, std::uint32_t tag, int cell, int left, int top, int w, int h, At at) {
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) {
        const auto [sx, sy] = at(c, r);
        ASSERT_EQ(Frame(left + c, top + r), Over(SheetPixel(tag, cell, sx, sy), kUnder))
            << what << " at " << c << "," << r;
      }
    EXPECT_EQ(Frame(left + w, top), kUnder) << what;
    EXPECT_EQ(Frame(left, top + h), kUnder) << what;
  }
};

TEST_F(PictureEffectDrawTest, PictureCopiedOrStretched) {
  StartDrawing(BackEnd::DirectDraw);
  // Scale 100 copies width x height dots from the top left, whatever the source holds beyond.
  ClearFrame(kUnder);
  cPicture& copied = ShowPicture(20, 12, 100, 0);
  EXPECT_EQ(DrawPicture(copied, &g_BackSurface, copied.m_Surface, 0), 0);
  ExpectDrawn("copied", kPictureSheet.tag, 8, 100, 50, 20, 12, [](int c, int r) { return std::pair{c, r}; });

  // Any other scale stretches the whole 24 x 16 source to the size: 48 x 8 doubles the columns and
  // takes every other row.
  ClearFrame(kUnder);
  cPicture& stretched = ShowPicture(48, 8, 200, 0);
  EXPECT_EQ(stretched.m_Stretched, 1);
  EXPECT_EQ(DrawPicture(stretched, &g_BackSurface, stretched.m_Surface, 0), 0);
  ExpectDrawn("stretched", kPictureSheet.tag, 8, 100, 50, 48, 8, [](int c, int r) {
    return std::pair{(2 * c + 1) * 24 / 96, (2 * r + 1) * 16 / 16};
  });

  // A negative size shows nothing and does not end the picture.
  ClearFrame(kUnder);
  cPicture& negative = ShowPicture(-48, 8, -200, 0);
  EXPECT_EQ(DrawPicture(negative, &g_BackSurface, negative.m_Surface, 0), 0);
  EXPECT_EQ(Frame(100, 50), kUnder);
  EXPECT_EQ(Frame(52, 50), kUnder);
}

TEST_F(PictureEffectDrawTest, FixedPictureStaysWhileAScrollingOneMoves) {
  StartDrawing(BackEnd::DirectDraw);
  cPicture& scrolling = ShowPicture(24, 16, 100, 0);
  cPicture& fixed = ShowPicture(24, 16, 100, 1);
  fixed.m_Layer = 1;
  // Each side is truncated before the difference: 100.9 - 0.7 and 50.5 - 0.2 put it at (100, 50).
  scrolling.m_X = fixed.m_X = kOriginX + 100.9;
  scrolling.m_Y = fixed.m_Y = kOriginY + 50.5;
  SetCamera(kOriginX + 0.7, kOriginY + 0.2);
  const auto at = [](int c, int r) { return std::pair{c, r}; };
  for (int layer : {0, 1}) {
    ClearFrame(kUnder);
    DrawPictures(&g_BackSurface, layer, 0);
    ExpectDrawn(layer == 0 ? "scrolling" : "fixed", kPictureSheet.tag, 8, 100, 50, 24, 16, at);
  }
  EXPECT_EQ(fixed.m_Placed, 1);
  SetCamera(kOriginX + 30, kOriginY - 20);
  ClearFrame(kUnder);
  DrawPictures(&g_BackSurface, 0, 0);
  ExpectDrawn("scrolled", kPictureSheet.tag, 8, 70, 70, 24, 16, at);
  ClearFrame(kUnder);
  DrawPictures(&g_BackSurface, 1, 0);
  ExpectDrawn("still fixed", kPictureSheet.tag, 8, 100, 50, 24, 16, at);
}

TEST_F(PictureEffectDrawTest, TimedPicturesCountTheirFrames) {
  StartDrawing(BackEnd::DirectDraw);
  struct Case {
    const char* name;
    std::int32_t endMode, frames, countsWhileFrozen, frozen;
    int draws;  // frames drawn before it ends; -1: never ends
  };
  const Case cases[] = {
      {"count 0 ends at once", kPictureTimed, 0, 0, 0, 0},
      {"count 3", kPictureTimed, 3, 0, 0, 3},
      {"negative count", kPictureTimed, -5, 0, 0, 0},
      {"frozen without counting", kPictureTimed, 3, 0, 1, -1},
      {"frozen and counting", kPictureTimed, 3, 1, 1, 3},
      {"until the key", kPictureUntilKey, 0, 0, 0, -1},
      {"until the stage ends", kPictureUntilStageEnd, 0, 1, 1, -1},
  };
  for (const Case& c : cases) {
    ClearPictureLists();
    cPicture& picture = ShowPicture(24, 16, 100, 0);
    picture.m_EndMode = c.endMode;
    picture.m_FramesLeft = c.frames;
    picture.m_CountsWhileFrozen = c.countsWhileFrozen;
    int draws = 0;
    while (draws < 10) {
      ClearFrame(kUnder);
      DrawPictures(&g_BackSurface, 0, c.frozen);
      if (m_Scene->m_Pictures.empty()) break;
      ++draws;
      ASSERT_NE(Frame(110, 60), kUnder) << c.name;
    }
    EXPECT_EQ(draws, c.draws < 0 ? 10 : c.draws) << c.name;
    if (c.draws >= 0) {
      EXPECT_EQ(Frame(110, 60), kUnder) << c.name << ": not drawn on the frame it ends";
      EXPECT_TRUE(g_PictureSurfaces.empty()) << c.name;
      EXPECT_TRUE(g_PictureDescriptors.empty()) << c.name;
    }
  }
}

TEST_F(PictureEffectDrawTest, RemovedByIdentityWithItsOwnSurface) {
  StartDrawing(BackEnd::DirectDraw);
  cPicture& first = ShowPicture(24, 16, 100, 0);
  cPicture& second = ShowPicture(12, 16, 100, 0);
  cPicture& third = ShowPicture(6, 16, 100, 0);
  const DDSURFACEDATA* thirdSurface = third.m_Surface;
  const cPicture* gone = &second;
  // The first ends on its own before the second is taken out: the second still goes, with its own
  // surface, and the third keeps its.
  first.m_EndMode = kPictureTimed;
  DrawPictures(&g_BackSurface, 0, 0);
  ASSERT_EQ(m_Scene->m_Pictures.size(), 2u);
  EXPECT_TRUE(RemovePicture(m_Scene->m_Pictures, gone));
  ASSERT_EQ(m_Scene->m_Pictures.size(), 1u);
  EXPECT_EQ(&m_Scene->m_Pictures.front(), &third);
  ASSERT_EQ(g_PictureSurfaces.size(), 1u);
  EXPECT_EQ(&g_PictureSurfaces.front(), thirdSurface);
  EXPECT_EQ(g_PictureDescriptors.size(), 1u);
  EXPECT_FALSE(RemovePicture(m_Scene->m_Pictures, gone));
  EXPECT_EQ(m_Scene->m_Pictures.size(), 1u);
}

TEST_F(PictureEffectDrawTest, EffectCellsCopiedOrStretchedOnBothBackEnds) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartWithEffects(backEnd);
    SetCamera(kOriginX + 10.5, kOriginY + 20.25);
    // Unscaled at the cell size: the first cell (2) at trunc(x - camera).
    cEffectInstance copied;
    copied.SetupAt(1, kOriginX + 110.75, kOriginY + 70.5, kEffectCell, kEffectCell, 0);
    EXPECT_EQ(copied.m_Scaled, 0);
    EXPECT_EQ(DrawEffectInstance(copied, &g_BackSurface, 0), 0);
    ExpectDrawn(BackEndName(backEnd), kEffectTag, kEffectCell, 100, 50, 16, 16,
                [](int c, int r) { return std::pair{2 * kEffectCell + c, r}; });
    // Another width stretches the cell; the height follows the given height.
    ClearFrame(kUnder);
    cEffectInstance stretched;
    stretched.SetupAt(1, kOriginX + 210.5, kOriginY + 120.25, 32, 8, 0);
    EXPECT_EQ(stretched.m_Scaled, 1);
    EXPECT_EQ(DrawEffectInstance(stretched, &g_BackSurface, 0), 0);
    if (backEnd == BackEnd::DirectDraw)
      ExpectDrawn("stretched", kEffectTag, kEffectCell, 200, 100, 32, 8,
                  [](int c, int r) { return std::pair{2 * kEffectCell + (2 * c + 1) * 16 / 64, (2 * r + 1) * 16 / 16}; });
    else
      EXPECT_NE(Frame(215, 103), kUnder);
    // A negative size draws nothing, but the animation runs.
    ClearFrame(kUnder);
    cEffectInstance negative;
    negative.SetupAt(1, kOriginX + 110.75, kOriginY + 70.5, -16, -16, 0);
    EXPECT_EQ(DrawEffectInstance(negative, &g_BackSurface, 0), 0);
    EXPECT_EQ(negative.m_Anime.Ticks(), 1);
    for (int y = 30; y < 80; ++y)
      for (int x = 70; x < 120; ++x) ASSERT_EQ(Frame(x, y), kUnder) << x << "," << y;
  }
}

TEST_F(PictureEffectDrawTest, EffectAnimationEndsAndHoldsWhileFrozen) {
  StartWithEffects(BackEnd::DirectDraw);
  // Three frames of 6 steps: the cells show 5, 6 and 6 draws, and the 18th draw is the end.
  cEffectInstance effect;
  effect.SetupAt(1, kOriginX, kOriginY, kEffectCell, kEffectCell, 0);
  std::vector<int> cells;
  int draws = 0;
  while (DrawEffectInstance(effect, &g_BackSurface, 0) == 0 && draws < 100) {
    ++draws;
    cells.push_back(effect.m_Anime.GetValue());
  }
  EXPECT_EQ(draws, 17);
  EXPECT_EQ(std::count(cells.begin(), cells.end(), 2), 5);
  EXPECT_EQ(std::count(cells.begin(), cells.end(), 0), 6);
  EXPECT_EQ(std::count(cells.begin(), cells.end(), 3), 6);
  EXPECT_EQ(EffectLengthFrames(1), 18);

  // Frozen frames: a hit effect keeps its cell, one that counts while frozen goes on.
  for (std::int32_t counts : {0, 1}) {
    cEffectInstance held;
    held.SetupAt(1, kOriginX, kOriginY, kEffectCell, kEffectCell, counts);
    for (int i = 0; i < 6; ++i) ASSERT_EQ(DrawEffectInstance(held, &g_BackSurface, 1), 0);
    EXPECT_EQ(held.m_Anime.GetValue(), counts == 0 ? 2 : 0) << counts;
  }

  // No frames, effect 0, 65536's low 16 bits: ended at the first frame, nothing drawn.
  m_Scene->m_Effects.emplace_back().SetupAt(2, kOriginX, kOriginY, 16, 16, 1);
  m_Scene->m_Effects.emplace_back().SetupAt(0, kOriginX, kOriginY, 16, 16, 1);
  m_Scene->m_Effects.emplace_back().SetupAt(65536 & 0xFFFF, kOriginX, kOriginY, 16, 16, 1);
  ClearFrame(kUnder);
  DrawEffectInstances(&g_BackSurface, 0);
  EXPECT_TRUE(m_Scene->m_Effects.empty());
  EXPECT_EQ(Frame(5, 5), kUnder);
  EXPECT_EQ(EffectLengthFrames(0), 0);
}

TEST_F(PictureEffectDrawTest, HitEffectCentredOnTheOverlapWithJitter) {
  StartWithEffects(BackEnd::DirectDraw);
  cSubBox a{.m_X1 = 100, .m_Y1 = 200, .m_X2 = 131, .m_Y2 = 231};
  cSubBox b{.m_X1 = 120.5, .m_Y1 = 220, .m_X2 = 160, .m_Y2 = 260};
  const cSubBox apart{.m_X1 = 500, .m_Y1 = 500, .m_X2 = 510, .m_Y2 = 510};
  struct Case {
    const char* name;
    std::int32_t followsScale, scale;
    const cSubBox* other;
    std::int32_t size;  // drawn size
    double cx, cy;      // where it stands before the jitter
  };
  // Overlap (120.5, 220) .. (131, 231): half of trunc(11.5) is 5, of 12 is 6.
  const Case cases[] = {
      {"not scalable", 0, 3, &b, 16, 120.5 + 5 - 8, 220 + 6 - 8},
      {"scale 1", 1, 1, &b, 16, 120.5 + 5 - 8, 220 + 6 - 8},
      {"scale 3", 1, 3, &b, 48, 120.5 + 5 - 24, 220 + 6 - 24},
      {"scale as a byte below 0", 1, 200, &b, 16, 120.5 + 5 - 8, 220 + 6 - 8},
      {"apart", 0, 1, &apart, 16, 0 - 8, 0 - 8},
  };
  for (const Case& c : cases) {
    g_Database.m_Effects.At(1).m_FollowsScale = c.followsScale;
    const std::int32_t s = c.size / kEffectCell;
    std::set<double> xs, ys;
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
      GameSrand(seed);
      cEffectInstance effect;
      SetupEffectInstance(effect, 1, a, *c.other, c.scale);
      ASSERT_EQ(effect.m_Width, c.size) << c.name;
      ASSERT_EQ(effect.m_Height, c.size) << c.name;
      ASSERT_EQ(effect.m_Scaled, s > 1 ? 1 : 0) << c.name;
      ASSERT_EQ(effect.m_CountsWhileFrozen, 0) << c.name;
      xs.insert(effect.m_X - c.cx);
      ys.insert(effect.m_Y - c.cy);
    }
    // Every whole jitter from -4s to +4s occurs, and nothing else.
    EXPECT_EQ(xs.size(), static_cast<std::size_t>(8 * s + 1)) << c.name;
    EXPECT_EQ(*xs.begin(), -4.0 * s) << c.name;
    EXPECT_EQ(*xs.rbegin(), 4.0 * s) << c.name;
    EXPECT_EQ(ys.size(), static_cast<std::size_t>(8 * s + 1)) << c.name;
    EXPECT_EQ(*ys.begin(), -4.0 * s) << c.name;
  }

  // A hit effect goes to the play scene's list; effect 0 adds none and draws no number.
  GameSrand(7);
  StartHitEffect(0, a, b, 1);
  EXPECT_EQ(GameRandState(), 7u);
  EXPECT_TRUE(m_Scene->m_Effects.empty());
  StartHitEffect(1, a, b, 1);
  ASSERT_EQ(m_Scene->m_Effects.size(), 1u);
  EXPECT_EQ(m_Scene->m_Effects.front().m_Number, 1);
}

}  // namespace
