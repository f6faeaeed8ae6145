// The presentation lists the stage drawing walks, the screen effect's hand-back of the frame, and the
// darkness picture of hero 0's field of view.
#include "play/chara_base.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_draw_objects.h"
#include "play/stage_draw_presentation.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

class StageDrawExtrasTest : public StageDrawTest {
 protected:
  void TearDown() override {
    ClearPictureLists();
    ClearMessageLists();
    g_System.m_ColourMode = 0;
    StageDrawTest::TearDown();
  }

  // A picture of `layer` that ends at its first frame, with a surface `width` dots wide of its own.
  void AddPicture(std::int32_t layer, std::int32_t width) {
    ASSERT_TRUE(AddSurfaceToList(g_PictureSurfaces, g_PictureDescriptors, width, 4, 1, 0, 0, 0));
    cPicture& picture = m_Scene->m_Pictures.emplace_back();
    picture.m_Layer = layer;
    picture.m_EndMode = kPictureTimed;
    picture.m_Surface = &g_PictureSurfaces.back();
  }
};

TEST_F(StageDrawExtrasTest, PicturesThatEndLeaveWithTheirSurfaceAndDescriptor) {
  StartDrawing(BackEnd::DirectDraw);
  AddPicture(0, 1);
  AddPicture(1, 2);
  AddPicture(0, 3);
  DrawPictures(&g_BackSurface, 0, 0);
  ASSERT_EQ(m_Scene->m_Pictures.size(), 1u);
  EXPECT_EQ(m_Scene->m_Pictures.front().m_Layer, 1);
  ASSERT_EQ(g_PictureSurfaces.size(), 1u);
  EXPECT_EQ(g_PictureSurfaces.front().width, 2) << "the surface of the picture that stays";
  EXPECT_EQ(g_PictureDescriptors.size(), 1u);

  // A picture without a surface of its own is never drawn (nor ended).
  m_Scene->m_Pictures.emplace_back().m_Layer = 1;
  m_Scene->m_Pictures.back().m_EndMode = kPictureTimed;
  m_Scene->m_Pictures.front().m_Surface = nullptr;
  ReleaseSurfaceList(g_PictureSurfaces);
  g_PictureSurfaces.clear();
  g_PictureDescriptors.clear();
  DrawPictures(&g_BackSurface, 1, 0);
  EXPECT_EQ(m_Scene->m_Pictures.size(), 2u);

  m_Scene->m_Pictures.clear();
  AddPicture(0, 5);
  ClearPictureLists();
  EXPECT_TRUE(m_Scene->m_Pictures.empty());
  EXPECT_TRUE(g_PictureSurfaces.empty());
  EXPECT_TRUE(g_PictureDescriptors.empty());

  ASSERT_TRUE(AddSurfaceToList(g_MessageSurfaces, g_MessageDescriptors, 8, 8, 1, 0, 0, 0));
  m_Scene->m_Messages.emplace_back(TimerWindowSettings(0));
  // An instance of no effect ends at once.
  m_Scene->m_Effects.emplace_back();
  DrawEffectInstances(&g_BackSurface, 0);
  DrawMessageWindows(&g_BackSurface, 0);
  EXPECT_TRUE(m_Scene->m_Effects.empty());
  EXPECT_TRUE(m_Scene->m_Messages.empty());
  ClearMessageLists();
  EXPECT_TRUE(g_MessageSurfaces.empty());
  EXPECT_TRUE(g_MessageDescriptors.empty());
}

TEST_F(StageDrawExtrasTest, FrameDrawnForAScreenEffectReachesTheBackBuffer) {
  StartDrawing(BackEnd::Direct3D);
  g_Stage.SetField(kStatusBarShown, 0);
  m_Scene->m_NoTimeLimit = 1;
  m_Scene->m_ScreenEffect.m_Number = 2;
  ClearFrame(0);
  DrawStage(1, 0, 1, 0);
  EXPECT_EQ(m_Scene->m_ScreenEffect.m_Number, 0);
  EXPECT_EQ(g_DisplayContext->virBackOn, 0);
  EXPECT_EQ(Frame(200, 200), kColour16);

  // The hidden-stage pause frame ends before the screen effect would run: the frame still comes
  // back from the virtual back buffer.
  g_System.m_HideStageWhilePaused = 1;
  m_Scene->m_State = 3;
  m_Scene->m_ScreenEffect.m_Number = 2;
  ClearFrame(0);
  DrawStage(0, 1, 0, 1);
  EXPECT_EQ(g_DisplayContext->virBackOn, 0);
  EXPECT_EQ(Frame(200, 200), kColour16);
  g_System.m_HideStageWhilePaused = 0;
}

TEST_F(StageDrawExtrasTest, DarknessHasAHoleOfTheSightRadiusInItsMiddle) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    DDSURFACEDATA* darkness = &g_SurfaceTable[kDarknessSurface];
    DDSURFACEDATA* spot = &g_SurfaceTable[kDarknessSpotSurface];
    auto at = [&](int x, int y) { return PixelsOf(*darkness).Pixel(x, y) & 0xFFFFFF; };

    // No hero, and a hero whose sight the data made negative: no hole.
    BuildDarknessSurfaces(darkness, spot);
    EXPECT_EQ(darkness->width, 1280);
    EXPECT_EQ(darkness->height, 960);
    EXPECT_EQ(at(640, 480), kColour16);
    cCharaBase hero;
    m_Scene->m_Heroes.push_back(&hero);
    hero.m_Sight = -32;
    BuildDarknessSurfaces(darkness, spot);
    EXPECT_EQ(darkness->width, 1280);
    EXPECT_EQ(at(640, 480), kColour16);

    // A square hole 2r wide.
    hero.m_Sight = 16;
    hero.m_Def.m_SightShape = 3;
    BuildDarknessSurfaces(darkness, spot);
    ASSERT_EQ(darkness->width, 1312);
    ASSERT_EQ(darkness->height, 992);
    const int cx = 656, cy = 496;
    EXPECT_EQ(at(cx - 16, cy - 16), FillColour());
    EXPECT_EQ(at(cx + 15, cy + 15), FillColour());
    EXPECT_EQ(at(cx - 17, cy), kColour16);
    EXPECT_EQ(at(cx + 16, cy), kColour16);

    // A round one: the middle is light, the square's corner stays dark.
    hero.m_Def.m_SightShape = 1;
    BuildDarknessSurfaces(darkness, spot);
    EXPECT_EQ(at(cx, cy), FillColour());
    EXPECT_EQ(at(cx - 10, cy + 5), FillColour());
    if (backEnd == BackEnd::Direct3D) {
      EXPECT_EQ(PixelsOf(*darkness).Pixel(cx, cy), 0u) << "transparent";
    }
    EXPECT_EQ(at(cx - 16, cy - 16), kColour16);
    EXPECT_EQ(at(cx + 15, cy + 15), kColour16);
    EXPECT_EQ(spot->width, 32);
    m_Scene->m_Heroes.clear();
  }
}

TEST_F(StageDrawExtrasTest, RoundHoleOfAFullColourProjectIsTheKeyColour) {
  StartDrawing(BackEnd::DirectDraw);
  g_System.m_ColourMode = 1;
  cCharaBase hero;
  hero.m_Sight = 8;
  hero.m_Def.m_SightShape = 2;
  m_Scene->m_Heroes.push_back(&hero);
  DDSURFACEDATA* darkness = &g_SurfaceTable[kDarknessSurface];
  BuildDarknessSurfaces(darkness, &g_SurfaceTable[kDarknessSpotSurface]);
  EXPECT_EQ(PixelsOf(*darkness).Pixel(648, 488) & 0xFFFFFF, kSheetKey);
  m_Scene->m_Heroes.clear();
}

TEST_F(StageDrawExtrasTest, ASightChangeRebuildsTheDarknessOnlyOnAStageThatDarkens) {
  StartDrawing(BackEnd::DirectDraw);
  cHero hero;
  hero.m_Def.m_SightShape = 3;
  m_Scene->m_Heroes.push_back(&hero);
  DDSURFACEDATA* darkness = &g_SurfaceTable[kDarknessSurface];
  BuildDarknessSurfaces(darkness, &g_SurfaceTable[kDarknessSpotSurface]);
  ASSERT_EQ(darkness->width, 1280);
  hero.m_Def.m_SightRange = 2;
  SightChanged(hero);
  EXPECT_EQ(hero.m_Sight, 32) << "the light radius follows in any case";
  EXPECT_EQ(darkness->width, 1280) << "no overlay on a stage without darkness";
  g_DarknessDrawer = [](DDSURFACEDATA*) {};
  hero.m_Def.m_SightRange = 3;
  SightChanged(hero);
  EXPECT_EQ(darkness->width, 1280 + 2 * 48);
  g_DarknessDrawer = nullptr;
  m_Scene->m_Heroes.clear();
}

}  // namespace
