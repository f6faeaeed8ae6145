// Sword swings: each part of the sword type placed around the owner for its time, in front of it
// by its facing, and the swing gone after its last part or with its owner.
#include <vector>

#include "play/dots.h"
#include "play/shot.h"
#include "project/database_resources.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

class ShotSwordTest : public ShotTest {
 protected:
  // Sword type 0 with `parts` parts of a tenth of a second, each w x h, placed in front.
  static void SetSword(int parts, std::int32_t w, std::int32_t h, std::int32_t offsetX = 0) {
    g_Database.m_SwordTypes.assign(1, cSwordTypeDef());
    cSwordPartDef part;
    part.m_Values[0] = offsetX;
    part.m_Values[4] = 0;
    part.m_Values[7] = w;
    part.m_Values[8] = h;
    part.m_Values[9] = 1;
    g_Database.m_SwordTypes.At(0).m_Parts.assign(static_cast<std::size_t>(parts), part);
  }

  cShot& Swing(cCharaBase& owner) {
    cEdShot params = Params();
    return Fire(owner, params, Spawn(owner.m_X1, owner.m_Y1, 0.0, 0.0), kSwordCommand);
  }
};

TEST_F(ShotSwordTest, ThreePartsOfATenthShowSevenStepsEachAndEndOnThe21st) {
  SetSword(3, 20, 10);
  cShot& swing = Swing(Hero());
  EXPECT_EQ(swing.m_RealShot, 0);
  EXPECT_EQ(swing.m_Width, 20);
  std::vector<std::int32_t> parts;
  int removedOn = 0;
  for (int call = 1; call <= 30 && removedOn == 0; ++call) {
    parts.push_back(swing.m_SwordPart);
    if (UpdateShot(swing) != 0) removedOn = call;
  }
  EXPECT_EQ(removedOn, 21);
  const std::vector<std::int32_t> expected = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2};
  EXPECT_EQ(parts, expected);
}

TEST_F(ShotSwordTest, InFrontOfTheOwnerByItsFacingWithTheMirroredOffset) {
  SetSword(1, 20, 10, 4);
  const std::int32_t cameraX = TruncDot(m_Scene->m_ScrollX.m_Pos);
  for (std::int32_t facing : {0, 1}) {
    Hero().m_Direction = facing;
    cShot& swing = Swing(Hero());
    UpdateShot(swing);
    const cHero& h = Hero();
    // Mirror x is set by default: facing right the offset goes the other way.
    const double expected = facing == 0 ? h.m_ScreenLeft + cameraX - 20 + 4 : h.m_ScreenRight + cameraX + 1 - 4;
    EXPECT_EQ(swing.m_X1, expected) << "facing " << facing;
    EXPECT_EQ(swing.m_Direction, facing);
    EXPECT_EQ(swing.m_DrawWidth, 20);
  }
}

TEST_F(ShotSwordTest, ASwingEndsWithItsOwnerOrWithoutParts) {
  SetSword(2, 20, 10);
  cChara& owner = Enemy(1);
  cShot& swing = Swing(owner);
  EXPECT_EQ(UpdateShot(swing), 0);
  g_CharaList.Remove(&owner);
  EXPECT_EQ(UpdateShot(swing), 1);
  SetSword(0, 20, 10);
  cShot& empty = Swing(Hero());
  EXPECT_EQ(UpdateShot(empty), 1);
}

}  // namespace
