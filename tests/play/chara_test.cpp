// Characters: set-up from the definition and the stage's box sizes, activation, the steps and the
// jump.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::StageObjectsTest;

using CharaTest = StageObjectsTest;

TEST_F(CharaTest, SetupTakesItsBoxesFromTheStage) {
  struct Case {
    const char* name;
    std::uint8_t flight, block, bodyMode;
    std::int32_t ox, oy, w, h;
    std::int32_t bodyW, bodyH;
  };
  // On foot 16 x 24 standing on the bottom, flying 16 x 16 centred; body boxes 12 x 24 / 12 x 16,
  // the box shots hit 30 x 30, the second body box 16 x 16.
  const Case cases[] = {
      {"on foot", 0, 0, 0, 8, 8, 16, 24, 12, 24},
      {"flying", 2, 0, 0, 8, 8, 16, 16, 12, 16},
      {"body the box shots hit", 0, 0, 1, 8, 8, 16, 24, 30, 30},
      {"body the second box", 0, 0, 2, 8, 8, 16, 24, 16, 16},
      {"body the drawn box", 0, 0, 3, 8, 8, 16, 24, 32, 32},
      {"block character", 0, 1, 0, 0, 0, 32, 32, 32, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cCharaDef def = CharaDef();
    def.m_Flight = c.flight;
    def.m_BlockChara = c.block;
    def.m_BodyBox = c.bodyMode;
    cChara chara;
    chara.Setup(3, def, nullptr, 100, 100, 0);
    EXPECT_EQ(chara.m_DrawOffsetX, c.ox);
    EXPECT_EQ(chara.m_DrawOffsetY, c.oy);
    EXPECT_EQ(chara.m_Width, c.w);
    EXPECT_EQ(chara.m_Height, c.h);
    EXPECT_EQ(chara.m_BodyBox.m_Width, c.bodyW);
    EXPECT_EQ(chara.m_BodyBox.m_Height, c.bodyH);
    EXPECT_EQ(chara.m_Group, 1);
    EXPECT_EQ(chara.m_Operator, 1);
    EXPECT_EQ(chara.m_Anime.Pattern(), c.flight != 0 ? 0 : 1);
  }
}

TEST_F(CharaTest, ScaleZeroIsScaleOneAndTheHeldItemIsEmptyWithoutOne) {
  cCharaDef def = CharaDef();
  def.m_Enlargement = 0;
  cChara chara;
  chara.Setup(1, def, nullptr, 0, 0, 0);
  EXPECT_EQ(chara.m_Def.m_Enlargement, 1);
  EXPECT_EQ(chara.m_Width, 16);
  cGameObj* held = chara.GetHeldItem();
  ASSERT_EQ(held, &chara.m_HeldItem);
  EXPECT_EQ(held->m_Graphic, 0);

  def.m_Enlargement = 2;
  cChara big;
  big.Setup(1, def, nullptr, 0, 0, 0);
  EXPECT_EQ(big.m_Width, 32);
  EXPECT_EQ(big.m_ShotBox.m_Width, 60);
}

TEST_F(CharaTest, ActivationModeOneKeepsRunningOffScreen) {
  CheckedVector<std::uint8_t> groups(4, 0);
  for (std::uint8_t mode : {0, 1}) {
    SCOPED_TRACE(int{mode});
    cCharaDef def = CharaDef();
    def.m_ActivationMode = mode;
    def.m_Flight = 2;
    cChara chara;
    chara.Setup(1, def, nullptr, 0, 0, 0);
    chara.PlaceAtCell(3, 3);
    EXPECT_EQ(chara.UpdateActive(groups), 1);
    EXPECT_EQ(chara.CheckFirstActivation(groups), 1);
    chara.PlaceAtCell(35, 3);  // beyond the view
    EXPECT_EQ(chara.UpdateActive(groups), mode == 1 ? 1 : 0);
    EXPECT_EQ(chara.CheckFirstActivation(groups), mode == 1 ? 1 : 0);
  }
  // An activation group carries characters that are off the screen along.
  cCharaDef def = CharaDef();
  def.m_Flight = 2;
  def.m_GroupActivation = 1;
  def.m_GroupNumber = 2;
  cChara near;
  near.Setup(1, def, nullptr, 0, 0, 0);
  near.PlaceAtCell(3, 3);
  cChara far;
  far.Setup(2, def, nullptr, 0, 0, 0);
  far.PlaceAtCell(35, 3);
  EXPECT_EQ(far.UpdateActive(groups), 0);
  near.UpdateActive(groups);
  EXPECT_EQ(groups.At(2), 1);
  EXPECT_EQ(far.CheckFirstActivation(groups), 1);
}

TEST_F(CharaTest, StepsMoveByKnockBackOrDrive) {
  cChara chara;
  chara.Setup(1, CharaDef(), nullptr, 0, 0, 0);
  chara.PlaceAtCell(5, 5);
  const double x = chara.m_X1;
  chara.m_KnockVx = 2.0;
  chara.m_DriveX = 5.0;
  EXPECT_EQ(chara.StepX(), kClampInside);
  EXPECT_EQ(chara.m_X1, x + 2.0) << "knock-back overrides the drive";
  chara.m_KnockVx = 0.0;
  chara.m_Vx = 0.0;
  chara.m_FrictionX = 1;
  chara.m_Friction = 0.5;
  chara.StepX();
  EXPECT_EQ(chara.m_DriveX, 4.5);
  EXPECT_EQ(chara.m_X1, x + 2.0 + 4.5);

  // Falling out of the map's bottom: 7 for a walker; a flyer at the top of the map: 8.
  chara.m_Y1 = m_Scene->m_ScrollY.MapExtent() - 10;
  chara.m_Vy = 5.0;
  EXPECT_EQ(chara.StepY(), kStepFellOut);
  chara.SetFlightMode(2);
  chara.m_Y1 = 1;
  chara.m_Vy = -5.0;
  EXPECT_EQ(chara.StepY(), kStepFlewOut);
}

TEST_F(CharaTest, AJumpOnlyFromTheGround) {
  cChara chara;
  chara.Setup(1, CharaDef(), nullptr, 0, 0, 0);
  cCommandInstance jump;
  jump.m_Speed = -3.0;
  chara.m_OnBlockChara = 1;
  chara.Jump(jump);
  EXPECT_EQ(chara.m_Vy, 0.0) << "in the air since the set-up";
  EXPECT_EQ(chara.m_J4, 0);
  chara.m_J2 = 0;
  chara.Jump(jump);
  EXPECT_EQ(chara.m_Vy, -3.0);
  EXPECT_EQ(chara.m_J3, 1);
  EXPECT_EQ(chara.m_J4, 1);
  EXPECT_EQ(chara.m_OnBlockChara, 0);
}

TEST_F(CharaTest, ACopyHoldsItsOwnItemAndRunners) {
  cItemDef itemDef;
  itemDef.m_ChipIndex = 6;
  cItem item;
  item.Setup(0, itemDef, 1);
  cCharaDef def = CharaDef();
  def.m_Flows.resize(2);
  cChara chara;
  chara.Setup(1, def, &item, 0, 0, 0);
  cChara copy(chara);
  EXPECT_EQ(copy.m_HeldItem.m_Graphic, 6);
  ASSERT_EQ(copy.m_Runners.size(), 2u);
  EXPECT_EQ(copy.m_Runners[1].m_Flow, &copy.m_Def.m_Flows[1]) << "bound to its own flows";
}

}  // namespace
