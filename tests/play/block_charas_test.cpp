// Block characters against the objects around them: a flying object taken out along the other
// axis by a character moving away, crushes between two characters, landing on a platform and being
// carried by its moves, a platform sinking into the floor, and the nudge out of a wall.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "play/block_charas.h"
#include "play/collision.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::StageObjectsTest;
using playtest::cTestChara;

class BlockCharaTest : public StageObjectsTest {
 protected:
  // A live, present block character with a w x h hit box at (x, y), moving by (vx, vy) this step:
  // its box at the start of the step is its box now less that move.
  cChara& Block(std::int32_t id, double x, double y, std::int32_t w, std::int32_t h, double vx = 0.0,
                double vy = 0.0) {
    cChara& c = g_CharaList.Emplace();
    Place(c, x - vx, y - vy, w, h);
    c.SaveRect();
    c.m_X1 = x;
    c.m_Y1 = y;
    c.ClampToStageX(2);
    c.ClampToStageY(2);
    c.m_Id = id;
    c.m_Def.m_BlockChara = 1;
    c.m_Present = 1;
    c.m_Vx = vx;
    c.m_Vy = vy;
    ++m_Scene->m_BlockCharasPresent;  // as the presence pass counts it
    return c;
  }

  // A walking (or flying) object of 16 x 24 at (x, y), standing still where it was at the start of
  // the step.
  static void Walker(cTestChara& obj, double x, double y, std::int32_t op = 1) {
    Place(obj, x, y, 16, 24);
    obj.m_Id = 100;
    obj.m_Operator = op;
    obj.SaveRect();
  }

  static std::array<std::int32_t, 4> Flags(const cCharaBase& obj) { return obj.m_LRUD; }
};

TEST_F(BlockCharaTest, AFlyingObjectIsPushedOutOrTakenOutAlongTheOtherAxis) {
  // The block character overlaps the object's left edge by 3 dots and its lower 14 dots: a
  // horizontal contact. Moving away from the object it does not push it along: the object goes up
  // onto it instead.
  struct Case {
    const char* name;
    double blockVx, objVx;
    double x1, y1;
    std::array<std::int32_t, 4> lrud;
    std::int32_t pushed;
  };
  const Case cases[] = {
      {"standing block pushes right", 0.0, 0.0, 103.0, 100.0, {1, 0, 0, 0}, 1},
      {"block moving away: out upward", -1.0, 0.0, 100.0, 86.0, {0, 0, 0, 1}, 0},
      {"block moving away, object following: pushed", -1.0, -2.0, 103.0, 100.0, {1, 0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_CharaList.Clear();
    Block(1, 80, 110, 23, 60, c.blockVx);
    cTestChara obj;
    Walker(obj, 100, 100);
    obj.m_Flying = 1;
    obj.m_BlockMode = 1;
    obj.m_Vx = c.objVx;
    obj.m_DriveX = 1.0;
    EXPECT_EQ(ResolveBlockCharaHits(obj), kCellSafe);
    EXPECT_EQ(obj.m_X1, c.x1);
    EXPECT_EQ(obj.m_Y1, c.y1);
    EXPECT_EQ(Flags(obj), c.lrud);
    EXPECT_EQ(obj.m_PushedByBlockChara, c.pushed);
    EXPECT_EQ(obj.m_DriveX, 0.0);
  }

  // Dying on blocks: any push kills; passing through blocks: untouched.
  for (std::uint8_t mode : {std::uint8_t{2}, std::uint8_t{0}}) {
    cTestChara obj;
    Walker(obj, 100, 100);
    obj.m_Flying = 1;
    obj.m_BlockMode = mode;
    EXPECT_EQ(ResolveBlockCharaHits(obj), mode == 2 ? kCellKilled : kCellSafe) << int(mode);
    EXPECT_EQ(obj.m_X1, 100.0);
  }
}

TEST_F(BlockCharaTest, TwoBlockCharactersClosingInCrushAWalker) {
  struct Case {
    const char* name;
    double top;  // of both block characters
    double height;
  };
  // Tall blocks overlap the upper half too: the walker drops below the first, but its corners were
  // inside the two at entry. Short blocks touch only the lower half: pushed from both sides.
  const Case cases[] = {{"tall blocks", 280, 61}, {"short blocks", 315, 26}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_CharaList.Clear();
    Block(1, 180, c.top, 22, static_cast<std::int32_t>(c.height), 2.0);
    Block(2, 214, c.top, 27, static_cast<std::int32_t>(c.height), -2.0);
    cTestChara obj;
    Walker(obj, 200, 300);
    EXPECT_EQ(ResolveBlockCharaHits(obj), kCellKilled);
  }

  // One block alone pushes the walker aside by the push and its half-dot margin.
  g_CharaList.Clear();
  Block(1, 180, 280, 22, 61, 2.0);
  cTestChara obj;
  Walker(obj, 200, 300);
  EXPECT_EQ(ResolveBlockCharaHits(obj), kCellSafe);
  EXPECT_EQ(obj.m_X1, 202.5);
  EXPECT_EQ(obj.m_LRUD[kContactLeft], 1);
  EXPECT_EQ(obj.m_PushedByBlockChara, 1);
}

TEST_F(BlockCharaTest, ARiderLandsAndIsCarriedByThePlatformsMoves) {
  cChara& lift = Block(7, 300, 400, 64, 16);
  cTestChara rider;
  Walker(rider, 310, 375);
  rider.m_Y1 = 380;  // fell 5 dots this step, into the lift's top
  rider.ClampToStageY(2);
  rider.m_Vy = 5.0;
  EXPECT_EQ(ResolveBlockCharaHits(rider), kCellSafe);
  EXPECT_EQ(rider.m_Y1, 376.0) << "standing on the lift";
  EXPECT_EQ(rider.m_OnBlockChara, 1);
  EXPECT_EQ(rider.m_CarrierId, 7);
  EXPECT_EQ(rider.m_Vy, 0.0);
  EXPECT_EQ(rider.m_J2, 0);

  // The lift moves 3 dots right and 2 down: the next carry adds 3 to the rider's speed x and makes
  // its speed y the 2 dots.
  rider.m_Vx = 0.5;
  lift.SaveRect();
  lift.m_X1 += 3;
  lift.m_Y1 += 2;
  lift.ClampToStageX(2);
  lift.ClampToStageY(2);
  CarryRider(rider);
  EXPECT_EQ(rider.m_Vx, 3.5);
  EXPECT_EQ(rider.m_Vy, 2.0);

  // The rider follows; off the lift's top by nothing, it keeps standing and the lift's box is
  // recorded again, so a lift standing still carries nothing more.
  rider.SaveRect();
  rider.m_X1 += 3;
  rider.m_Y1 += 2;
  rider.ClampToStageX(2);
  rider.ClampToStageY(2);
  rider.ClearLRUD();
  EXPECT_EQ(ResolveBlockCharaHits(rider), kCellSafe);
  EXPECT_EQ(rider.m_OnBlockChara, 1);
  rider.m_Vx = 0.0;
  CarryRider(rider);
  EXPECT_EQ(rider.m_Vx, 0.0);
  EXPECT_EQ(rider.m_Vy, 0.0);

  // A flying rider is not carried.
  lift.m_X1 += 3;
  lift.ClampToStageX(2);
  rider.m_Flying = 1;
  CarryRider(rider);
  EXPECT_EQ(rider.m_Vx, 0.0);

  // The lift gone from under its feet (more than 5 dots): the rider leaves it.
  rider.m_Flying = 0;
  lift.m_Y1 += 10;
  lift.ClampToStageY(2);
  rider.ClearLRUD();
  EXPECT_EQ(ResolveBlockCharaHits(rider), kCellSafe);
  EXPECT_EQ(rider.m_OnBlockChara, 0);
  EXPECT_EQ(rider.m_LeftGroundMark, 1);
}

TEST_F(BlockCharaTest, APlatformSinkingIntoTheFloorDropsItsRider) {
  // Floor cells on map row 13 (dots 416..447); the platform's top is 2 dots inside them and the
  // rider's feet are inside too. Sinking, the platform lets go of the rider, left where it is for
  // the map to hold; standing still, it keeps it on its top.
  struct Case {
    double platformVy;
    std::int32_t standing;
    double y1;
  };
  const Case cases[] = {{2.0, 0, 396.0}, {0.0, 1, 394.0}};
  for (int column = 8; column < 14; ++column) SolidCell(column, 13);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platformVy);
    g_CharaList.Clear();
    Block(3, 300, 418, 64, 16, 0.0, c.platformVy);
    cTestChara rider;
    Walker(rider, 310, 396);
    rider.m_OnBlockChara = 1;
    rider.m_CarrierId = 3;
    rider.m_Vy = 0.0;
    ResolveBlockCharaHits(rider);
    EXPECT_EQ(rider.m_OnBlockChara, c.standing);
    EXPECT_EQ(rider.m_Y1, c.y1);
  }
}

TEST_F(BlockCharaTest, APushIntoAWallIsTakenBackATenthAtATime) {
  // A wall whose first dot column is 224. The block character on the left pushes the walker to its
  // right edge + 1.5, into the wall; the walker is nudged back left a tenth at a time while it
  // touches the wall, at most 15 times.
  struct Case {
    double blockX1;
    double x1;  // after the nudge
  };
  const Case cases[] = {
      {193, 208.9},  // pushed to 209.5, its right edge at 224.5: six tenths take it out
      {197, 212.0},  // pushed to 213.5, 4.5 dots deep: all 15 tenths, still inside
  };
  for (int row = 0; row < 20; ++row) SolidCell(7, row);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blockX1);
    g_CharaList.Clear();
    Block(1, c.blockX1, 280, 16, 61);
    cTestChara obj;
    Walker(obj, c.blockX1 + 15, 300);
    EXPECT_EQ(ResolveBlockCharaHits(obj), kCellSafe);
    EXPECT_NEAR(obj.m_X1, c.x1, 1e-9);
  }
}

TEST_F(BlockCharaTest, EnclosureAndOverlapQueries) {
  Block(1, 100, 100, 20, 40);
  Block(2, 120, 100, 20, 40);
  cTestChara obj;
  Walker(obj, 110, 110);
  const std::array<double, 4> here = {obj.m_X1, obj.m_Y1, obj.m_X2, obj.m_Y2};
  EXPECT_TRUE(IsEnclosedByBlockCharas(obj, here));
  const std::array<double, 4> away = {500, 500, 515, 523};
  obj.m_Y1 = 300;
  obj.ClampToStageY(2);
  EXPECT_FALSE(IsEnclosedByBlockCharas(obj, away));
  EXPECT_TRUE(IsEnclosedByBlockCharas(obj, here)) << "each corner may have been inside at entry";

  EXPECT_TRUE(OverlapsOtherBlockChara(obj, here, 0));
  EXPECT_TRUE(OverlapsOtherBlockChara(obj, here, 1));
  EXPECT_FALSE(OverlapsOtherBlockChara(obj, {100, 100, 110, 110}, 1)) << "only the one left out is there";
  obj.m_Flying = 1;
  obj.m_BlockMode = 0;
  EXPECT_FALSE(OverlapsOtherBlockChara(obj, here, 0)) << "passes through blocks";
}

}  // namespace
