// How a character is drawn: the animation frame it shows, the graphic and tint of its state, its
// picture and mark on the screen, and its death.
#include <climits>

#include "play/chara_draw.h"
#include "play/flow_seam.h"
#include "shell/hbt_palette.h"
#include "shell/scene_manager.h"
#include "tests/play/chara_draw_fixture.h"

namespace {

TEST_F(CharaDrawTest, FlowAnimationClosestToItsEndShows) {
  struct sCase {
    const char* name;
    std::initializer_list<sFlowAnime> flows;
    std::int32_t freeze;
    std::int32_t shown;
    std::size_t left;  // entries after the call
  };
  const sCase cases[] = {
      {"own animation alone", {}, 0, 7, 0},
      {"timed 5 and 3: the 3", {{50, 1, 5}, {30, 1, 3}}, 0, 30, 2},
      {"timed 3 and 5: the 3", {{30, 1, 3}, {50, 1, 5}}, 0, 30, 2},
      {"untimed alone", {{40, 0, 0}}, 0, 40, 1},
      {"untimed, then timed: the timed", {{40, 0, 0}, {50, 1, 9}}, 0, 50, 2},
      {"timed, then untimed: the timed", {{50, 1, 9}, {40, 0, 0}}, 0, 50, 2},
      {"paused ones do not show", {{30, 1, 1, 1}, {50, 1, 9}}, 0, 50, 2},
      {"only paused: the own animation", {{30, 1, 1, 1}}, 0, 7, 1},
      {"ran out: the one that ran out last", {{30, 1, -3}, {50, 1, -1}}, 1, 50, 2},
      {"an ended pattern leaves the list", {{30, 1, 5, 0, true}}, 0, 7, 0},
      {"frozen: nothing ends", {{30, 1, 5, 0, true}}, 1, 30, 1},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    cCharaBase chara;
    SetAnimations(chara, c.flows);
    EXPECT_EQ(chara.ChooseAnimeFrame(c.freeze), c.shown);
    EXPECT_EQ(chara.m_FlowAnimations.size(), c.left);
  }
  // Unfrozen frames count the timed ones down; frozen ones do not.
  cCharaBase chara;
  SetAnimations(chara, {{50, 1, 5}, {30, 1, 3}, {40, 0, 0}});
  chara.ChooseAnimeFrame(1);
  EXPECT_EQ(chara.m_FlowAnimations.front().m_FramesLeft, 5);
  chara.ChooseAnimeFrame(0);
  EXPECT_EQ(chara.m_FlowAnimations.front().m_FramesLeft, 4);
  // A character whose own animation has no patterns shows frame 0.
  cCharaBase bare;
  EXPECT_EQ(bare.ChooseAnimeFrame(0), 0);
}

TEST_F(CharaDrawTest, GraphicBaseAddsTheOffsetsOfItsState) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    g_Database.m_AnimeSets.assign(2, cAnimeSetDef());
    cAnimeSetDef& set = g_Database.m_AnimeSets.At(1);
    set.m_FlightCellOffset = 100;
    set.m_BlockCellOffset = 20;
    set.m_InvincibleCellOffset = 3;
    g_System.m_SystemColourTint = 1;
    ResetSystemColours();
    CycleSystemColours();
    cCharaBase chara;
    chara.m_Def.m_AnimeSet = 1;
    chara.m_Def.m_ChipFrame = 2;
    cCharaDrawRequest request;
    EXPECT_EQ(chara.GraphicBase(request), 2);
    chara.m_Def.m_Flight = 1;
    chara.m_Def.m_BlockChara = 1;
    EXPECT_EQ(chara.GraphicBase(request), 122);
    EXPECT_EQ(request.m_TintOn, 0);
    chara.m_Def.m_Invincible = 2;
    chara.m_Def.m_ColorEffect = 4;
    EXPECT_EQ(chara.GraphicBase(request), 125);
    if (backEnd == BackEnd::Direct3D) {
      EXPECT_EQ(request.m_TintOn, 1);
      EXPECT_EQ(request.m_Tint.colour, g_SystemColours[4].argb);
      EXPECT_EQ(request.m_Tint.colorOp, g_SystemColours[4].op);
    } else {
      EXPECT_EQ(request.m_TintOn, 0) << "the surface branch has no tint";
    }
    // Entry 0 of the system colours is empty, and there are only nine: no tint for either.
    for (std::uint8_t index : {0, 10, 255}) {
      chara.m_Def.m_ColorEffect = index;
      chara.GraphicBase(request);
      EXPECT_EQ(request.m_TintOn, 0) << int{index};
    }
    g_System.m_SystemColourTint = 0;
    chara.m_Def.m_ColorEffect = 4;
    chara.GraphicBase(request);
    EXPECT_EQ(request.m_TintOn, 0) << "the project does not tint";
  }
}

TEST_F(CharaDrawTest, PictureAtItsScreenPlaceWithItsMark) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    cCharaBase chara;
    SetUpPicture(chara, 50, 60);
    chara.m_Def.m_MarkMode = 1;
    chara.m_Def.m_MarkNumber = 20;
    const std::uint32_t under = 0x010203;
    ClearFrame(under);
    chara.Draw(&g_BackSurface, 0);
    // Facing left: sheet 1 as drawn, frame column 1, row 1; the mark's column 1, row 5 over it.
    for (int d = 0; d < 32; d += 3) {
      const std::uint32_t picture = Over(SheetPixel(0x20, 32, 32 + d, 32 + (31 - d)), under);
      EXPECT_EQ(Frame(50 + d, 60 + 31 - d), Over(SheetPixel(0xD0, 32, 32 + d, 5 * 32 + 31 - d), picture)) << d;
    }
    // Facing right: the mirrored sheet, cell by cell.
    chara.m_Direction = 1;
    chara.m_Def.m_MarkMode = 0;
    ClearFrame(under);
    chara.Draw(&g_BackSurface, 0);
    EXPECT_EQ(Frame(50 + 9, 60 + 9), Over(MirroredSheetPixel(0x20, 32, 32 + 9, 32 + 9), under));
    // At scale 2 the cell is stretched from the shared copy to the drawn size.
    chara.m_Direction = 0;
    chara.m_Def.m_Enlargement = 2;
    chara.m_DrawWidth = chara.m_DrawHeight = 64;
    ClearFrame(under);
    chara.Draw(&g_BackSurface, 0);
    for (int d = 2; d < 32; d += 5)
      EXPECT_EQ(Frame(50 + 2 * d, 60 + 2 * d), Over(SheetPixel(0x20, 32, 32 + d, 32 + d), under)) << d;
    chara.m_Def.m_Enlargement = 1;
    chara.m_DrawWidth = chara.m_DrawHeight = 32;
    // Hidden this step, or its draw-off byte set: nothing shows, the animation still runs.
    for (int hidden : {0, 1}) {
      chara.m_HiddenThisStep = hidden;
      chara.m_Def.m_Transparent = static_cast<std::uint8_t>(1 - hidden);
      SetAnimations(chara, {{30, 1, 5}});
      ClearFrame(under);
      chara.Draw(&g_BackSurface, 0);
      EXPECT_EQ(Frame(50 + 9, 60 + 9), under);
      EXPECT_EQ(chara.m_FlowAnimations.front().m_FramesLeft, 4);
    }
  }
}

TEST_F(CharaDrawTest, EffectOfAHiddenCharacterRunsOnlyWithTheGame) {
  StartDrawing(BackEnd::DirectDraw);
  SetEffects();
  cCharaBase chara;
  SetUpPicture(chara, 0, 0);
  chara.m_HiddenThisStep = 1;
  StartCharaEffect(chara.m_CharaEffect, 1, kEffectModeNormal, 0);
  for (int i = 0; i < 3; ++i) chara.Draw(&g_BackSurface, 1);
  EXPECT_EQ(chara.m_CharaEffect.m_Current, 0.0) << "frozen frames";
  chara.Draw(&g_BackSurface, 0);
  EXPECT_EQ(chara.m_CharaEffect.m_Current, 1.0);
}

TEST_F(CharaDrawTest, DeathOfAHeroLastsOneSecondOfUnfrozenFrames) {
  StartDrawing(BackEnd::DirectDraw);
  g_SceneManager.m_FrameRate = 60;
  cCharaBase hero;
  SetUpPicture(hero, 0, 0);
  hero.m_Operator = 0;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(hero.DrawDying(&g_BackSurface, 1), 0) << "frozen frames do not count";
  for (int i = 0; i < 60; ++i) ASSERT_EQ(hero.DrawDying(&g_BackSurface, 0), 0) << i;
  EXPECT_EQ(hero.DrawDying(&g_BackSurface, 0), 1) << "frame rate + 1";

  // A running death effect first plays to its end, then the second begins.
  SetEffects();
  cCharaBase withEffect;
  SetUpPicture(withEffect, 0, 0);
  withEffect.m_Operator = 0;
  StartCharaEffect(withEffect.m_CharaEffect, 1, kEffectModeNormal, 0);
  EXPECT_EQ(withEffect.DrawDying(&g_BackSurface, 1), 0);
  EXPECT_EQ(withEffect.m_CharaEffect.m_Current, 0.0) << "frozen: the effect waits";
  for (int i = 0; i < 6; ++i) ASSERT_EQ(withEffect.DrawDying(&g_BackSurface, 0), 0) << i;
  EXPECT_EQ(withEffect.m_CharaEffect.m_Number, 1);
  EXPECT_EQ(withEffect.DrawDying(&g_BackSurface, 0), 0);
  EXPECT_EQ(withEffect.m_CharaEffect.m_Number, 0);
  EXPECT_EQ(withEffect.m_DeathCounter, 0);
  withEffect.DrawDying(&g_BackSurface, 0);
  EXPECT_EQ(withEffect.m_DeathCounter, 1);
}

TEST_F(CharaDrawTest, DeathOfACharacterEndsWithItsEffect) {
  StartDrawing(BackEnd::DirectDraw);
  cCharaBase chara;
  SetUpPicture(chara, 0, 0);
  chara.m_Operator = 1;
  EXPECT_EQ(chara.DrawDying(&g_BackSurface, 0), 1) << "no effect: at once";
  EXPECT_EQ(chara.DrawDying(&g_BackSurface, 1), 1) << "frozen or not";

  SetEffects();
  StartCharaEffect(chara.m_CharaEffect, 1, kEffectModeNormal, 0);
  EXPECT_EQ(chara.DrawDying(&g_BackSurface, 1), 0);
  for (int i = 0; i < 6; ++i) ASSERT_EQ(chara.DrawDying(&g_BackSurface, 0), 0) << i;
  EXPECT_EQ(chara.DrawDying(&g_BackSurface, 0), 1);
  EXPECT_EQ(chara.m_CharaEffect.m_Number, 0);
  // The plain effect never ends by itself: a character drawn plainly is not dying of it.
  chara.m_CharaEffect.m_Number = 0;
  cCharaDrawRequest request;
  EXPECT_EQ(RunCharaEffect(chara, &g_BackSurface, &request, 0, 1), 0);
}

}  // namespace
