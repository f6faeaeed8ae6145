// Heroes: boxes by flight mode, the overlay order, the camera, the key jump, taken items, and a
// hero resting on its floor for a long run of logic steps.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/input/input.h"
#include "play/collision.h"
#include "play/dots.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::StageObjectsTest;

using HeroTest = StageObjectsTest;

TEST_F(HeroTest, FlightModesChangeBoxesAndStopAWalker) {
  cHero& hero = PlaceHero(5, 5);
  EXPECT_EQ(hero.m_Width, 16);
  EXPECT_EQ(hero.m_Height, 24);
  EXPECT_EQ(hero.m_DrawOffsetY, 8) << "standing on the bottom of its cell";
  EXPECT_EQ(hero.m_ShotBox.m_Width, 12);
  EXPECT_EQ(hero.m_PickupBox.m_Width, 16);
  EXPECT_EQ(hero.m_Direction, 0);

  hero.ApplyFlightMode(2, 0);
  EXPECT_EQ(hero.m_Flying, 1);
  EXPECT_EQ(hero.m_Countdown, 2);
  EXPECT_EQ(hero.m_Height, 16);
  EXPECT_EQ(hero.m_DrawOffsetY, 8) << "centred";
  hero.m_Vx = hero.m_Vy = hero.m_DriveX = hero.m_DriveY = 1.5;
  hero.m_Countdown = 0;
  hero.ApplyFlightMode(2, 0);
  EXPECT_EQ(hero.m_Countdown, 0) << "no change of state";
  EXPECT_EQ(hero.m_Vx, 1.5);
  hero.ApplyFlightMode(0, 0);
  EXPECT_EQ(hero.m_Vx, 0.0);
  EXPECT_EQ(hero.m_Vy, 0.0);
  EXPECT_EQ(hero.m_DriveX, 0.0);
  EXPECT_EQ(hero.m_DriveY, 0.0);
  EXPECT_EQ(hero.m_Def.m_Flight, 0);

  hero.m_Def.m_Enlargement = 2;
  hero.ApplyFlightMode(0, 1);
  EXPECT_EQ(hero.m_Width, 32);
  EXPECT_EQ(hero.m_DrawWidth, 64);
  EXPECT_EQ(hero.m_PickupBox.m_Width, 32);
}

// A damaged stage header's box sizes reach the box arithmetic held to 16 bits, on foot and flying.
TEST_F(HeroTest, BoxSizesOfADamagedHeaderAreHeldToSixteenBits) {
  for (int field : {35, 36, 39, 40, 43, 44, 45, 46}) g_Stage.SetField(StageField(field), INT32_MIN + 24);
  for (int field : {37, 38, 41, 42}) g_Stage.SetField(StageField(field), INT32_MAX);
  g_Stage.SetField(StageField(49), 1);  // the body box on foot bottom-aligned
  cHero& hero = PlaceHero(5, 5);
  EXPECT_EQ(hero.m_Width, INT16_MIN);
  EXPECT_EQ(hero.m_BodyBox.m_Height, INT16_MIN);
  EXPECT_EQ(hero.m_ShotBox.m_Width, INT16_MIN);
  EXPECT_EQ(hero.m_PickupBox.m_Height, INT16_MIN);
  hero.m_Def.m_Enlargement = 2;
  hero.ApplyFlightMode(2, 1);
  EXPECT_EQ(hero.m_Width, 2 * INT16_MAX);
  EXPECT_EQ(hero.m_BodyBox.m_Width, 2 * INT16_MAX);
}

TEST_F(HeroTest, OverlayLargestBoxFirst) {
  g_Stage.SetField(StageField(51), 1);
  g_Stage.SetField(StageField(55), 2);
  g_Stage.SetField(StageField(58), 99);  // not a colour number: the last one
  g_Stage.SetField(StageField(45), 40);  // pick-up box 40 x 16
  cHero& hero = PlaceHero(5, 5);
  ASSERT_EQ(hero.m_Overlay.size(), 4u);
  // Pick-up 640, hit box 384, body 288, the box shots hit 96.
  const std::int32_t kinds[] = {kOverlayPickup, kOverlayHit, kOverlayBody, kOverlayShot};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(hero.m_Overlay[i].m_Kind, kinds[i]) << i;
  EXPECT_EQ(hero.m_Overlay[1].m_Mode, 1);
  EXPECT_EQ(hero.m_Overlay[1].m_Colour, 216);
  EXPECT_EQ(hero.m_Overlay[0].m_Colour, 236);
}

TEST_F(HeroTest, TheCameraFollowsUnlessTheAxisScrollsByItself) {
  cHero& hero = PlaceHero(20, 5);
  ScrollAxis& sx = m_Scene->m_ScrollX;
  // Centred: x1 - (320 - 8).
  EXPECT_EQ(sx.m_Pos, hero.m_X1 - 312);
  sx.m_AutoOn = 1;
  const double pos = sx.m_Pos;
  hero.m_X1 += 50;
  hero.OnMovedX();
  EXPECT_EQ(sx.m_Pos, pos);
  sx.m_AutoOn = 0;
  hero.PlaceAtColumn(0);
  EXPECT_EQ(sx.m_Pos, sx.m_Min) << "held at the start of the scroll range";
  hero.PlaceAtColumn(39);
  EXPECT_EQ(sx.m_Pos, sx.m_Max - 640);
}

TEST_F(HeroTest, TakenItems) {
  cHero& hero = PlaceHero(5, 5);
  hero.m_TakenItems = {4, 7, 4};
  EXPECT_FALSE(hero.IsItemNew(4));
  EXPECT_TRUE(hero.IsItemNew(5));
  hero.ForgetTakenItem(4);
  EXPECT_TRUE(hero.IsItemNew(4));
  EXPECT_EQ(hero.m_TakenItems.size(), 1u);
}

// A hero with one flow whose one key step is button 1 (slot 10), running a jump command.
struct KeyJump {
  explicit KeyJump(cHero& hero, std::int32_t kind) {
    cCharaDef def = StageObjectsTest::HeroDef();
    def.m_Flows.resize(1);
    def.m_Flows[0].m_KeyConditions.resize(1);
    def.m_Flows[0].m_KeyConditions[0].m_KeyStates[10] = kKeyHeld;
    def.m_Flows[0].m_Commands.resize(1);
    def.m_Flows[0].m_Commands[0].m_Params = {kind, 0, 2, 0, 0};
    hero.Setup(0, def, 0, 0);
    hero.PlaceAtColumnRow(5, 5);
    hero.m_Runners.At(0).m_Instances.resize(1);
    instance = &hero.m_Runners.At(0).m_Instances.At(0);
    instance->m_Command = &hero.m_Def.m_Flows[0].m_Commands[0];
    instance->m_Speed = -4.0;
    instance->m_Duration = 10;
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
    hero.m_Input = &g_Inputs[0];
  }
  static void Press(bool down) { g_Inputs[0].m_ButtonKeyRuns[0][0].state = down ? 1 : 0; }
  cCommandInstance* instance = nullptr;
};

TEST_F(HeroTest, AKeyJumpReleasedEarlyIsCut) {
  SolidStageRow(6, 0, 39);
  cHero& hero = PlaceHero(5, 5);
  KeyJump jump(hero, 1);
  hero.m_J2 = 0;
  hero.m_CellUnderFeet = &MapCellAt(15, 16);
  KeyJump::Press(true);
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_Vy, -4.0);
  EXPECT_EQ(jump.instance->m_Started, 1);
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_JumpHoldCounter, 1) << "one jump per step";
  hero.m_JumpDoneThisStep = 0;
  hero.m_CellUnderFeet = nullptr;  // in the air
  hero.m_J2 = 1;
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_JumpHoldCounter, 2);
  KeyJump::Press(false);
  hero.m_JumpDoneThisStep = 0;
  hero.Jump(*jump.instance);
  EXPECT_DOUBLE_EQ(hero.m_Vy, -4.0 * 0.3);
  EXPECT_EQ(hero.m_J3, 1);
  EXPECT_EQ(hero.m_JumpHoldCounter, 0);
  EXPECT_EQ(hero.m_JumpAllowed, 1);
}

TEST_F(HeroTest, AKeyJumpPressedTooEarlyDoesNotStartOnLanding) {
  SetSpeedLevel(2);
  cHero& hero = PlaceHero(5, 5);
  KeyJump jump(hero, 1);
  KeyJump::Press(true);
  // Held in the air for three steps, more than one frame of two steps.
  for (int step = 0; step < 3; ++step) {
    hero.m_JumpDoneThisStep = 0;
    hero.Jump(*jump.instance);
  }
  hero.m_J2 = 0;  // landed
  hero.m_JumpDoneThisStep = 0;
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_Vy, 0.0);
  EXPECT_EQ(jump.instance->m_Started, 0);
}

TEST_F(HeroTest, AFixedJumpStartsAtOnceAndRepeats) {
  SolidStageRow(6, 0, 39);
  cHero& hero = PlaceHero(5, 5);
  KeyJump jump(hero, 0);
  hero.m_Def.m_Flows[0].m_KeyConditions.clear();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    hero.m_J2 = 0;
    hero.m_Vy = 0.0;
    hero.m_JumpDoneThisStep = 0;
    hero.Jump(*jump.instance);
    EXPECT_EQ(hero.m_Vy, -4.0);
    // Back on the ground, falling no more: the jump may start again.
    hero.m_CellUnderFeet = &MapCellAt(15, 16);
    hero.m_Vy = 0.0;
    hero.m_JumpDoneThisStep = 0;
    hero.Jump(*jump.instance);
    EXPECT_EQ(jump.instance->m_Started, 0);
    EXPECT_EQ(hero.m_JumpHoldCounter, 0);
  }
}

TEST_F(HeroTest, AJumpOffABlockCharacterWaitsForTheLastStepOfTheFrame) {
  SetSpeedLevel(3);
  cHero& hero = PlaceHero(5, 5);
  KeyJump jump(hero, 1);
  KeyJump::Press(true);
  hero.m_J2 = 0;
  hero.m_OnBlockChara = 1;
  m_Scene->m_StepInFrame = 2;
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_Vy, 0.0);
  EXPECT_EQ(hero.m_OnBlockChara, 1);
  m_Scene->m_StepInFrame = 3;
  hero.m_JumpDoneThisStep = 0;
  hero.Jump(*jump.instance);
  EXPECT_EQ(hero.m_Vy, -4.0 * 1.0199999809265137);
  EXPECT_EQ(hero.m_OnBlockChara, 0);
}

TEST_F(HeroTest, ARestingHeroStaysOnItsFloor) {
  for (std::int32_t level : {1, 10}) {
    SCOPED_TRACE(level);
    SetSpeedLevel(level);
    SolidStageRow(10, 0, 39);
    cHero& hero = PlaceHero(5, 9);
    // The floor's top is map row 20 (y 640); the feet rest on y 639.
    const std::int32_t floorTop = (10 + 10) * 32;
    bool landed = false;
    for (int step = 0; step < 10000; ++step) {
      hero.ClearLRUD();
      hero.ApplyGravityStep();
      hero.StepY();
      ASSERT_EQ(ResolveFloorHit(hero), kCellSafe) << step;
      ASSERT_LT(hero.m_Y2, floorTop) << step;
      ASSERT_GE(hero.m_Y2, floorTop - 1) << step;
      if (hero.m_LRUD[kContactDown] != 0) landed = true;
      if (landed) {
        ASSERT_EQ(hero.m_J2, 0) << "never falling, step " << step;
        ASSERT_LT(hero.m_J7, g_Stage.Field(kEightTimesSteps)) << step;
      }
    }
    EXPECT_TRUE(landed);
  }
}

}  // namespace
