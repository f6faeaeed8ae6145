// Map-cell collision on small hand-built maps: walls pushing out by whole cells, the order of the
// two walls, the floor and foot cells, deadly and exempt cells, the fall grace, the screen clamps
// under automatic scrolling and the place test.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/collision.h"
#include "play/dots.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::cTestChara;
using playtest::StageObjectsTest;

using CollisionTest = StageObjectsTest;

// Map row 15 spans y 480..511; the objects of the wall tests stand in it.
constexpr std::int32_t kRow = 15;
constexpr double kRowTop = kRow * 32;

TEST_F(CollisionTest, AWallPushesOutByWholeCells) {
  struct Case {
    const char* name;
    std::int32_t solidColumn;
    double x1;
    bool right;
    double wantX1;
    std::int32_t wantSide;  // J1 after a hit, -1 when nothing was hit
  };
  const Case cases[] = {
      {"left edge on a boundary moves a full cell", 13, 13 * 32, false, 14 * 32, 0},
      {"left edge inside the cell", 13, 13 * 32 + 4, false, 14 * 32, 0},
      {"right edge rests before the cell", 14, 13 * 32 + 4, true, 13 * 32, 1},
      {"right edge on the cell's first dot", 14, 13 * 32 + 1, true, 13 * 32, 1},
      {"no solid cell", -1, 13 * 32 + 4, false, 13 * 32 + 4, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_MapCells.assign(g_MapCells.size(), cMapCell());
    for (cMapCell& cell : g_MapCells) cell.m_Solid = kSolidNone;
    if (c.solidColumn >= 0) SolidCell(c.solidColumn, kRow);
    cTestChara obj;
    Place(obj, c.x1, kRowTop, 32, 32);
    obj.m_DriveX = 3.0;
    obj.m_Vx = 2.0;
    EXPECT_EQ(c.right ? HitRightWall(obj) : HitLeftWall(obj), kCellSafe);
    EXPECT_EQ(obj.m_X1, c.wantX1);
    EXPECT_EQ(obj.m_X2, c.wantX1 + 31);
    EXPECT_EQ(obj.m_J1, c.wantSide);
    const bool hit = c.wantSide >= 0;
    EXPECT_EQ(obj.m_LRUD[c.right ? kContactRight : kContactLeft], hit ? 1 : 0);
    EXPECT_EQ(obj.m_DriveX, hit ? 0.0 : 3.0) << "the drive stops, the speed is kept";
    EXPECT_EQ(obj.m_Vx, 2.0);
  }
}

TEST_F(CollisionTest, BetweenTwoWallsTheSecondTestDecides) {
  // A 40-dot object whose edges lie in solid cells 12 and 14.
  SolidCell(12, kRow);
  SolidCell(14, kRow);
  struct Case {
    double vx;
    double wantX1;
  };
  // Moving right: pushed left to x2 = 447 (x1 408), then the left wall pushes it to 416.
  // Otherwise: pushed right to 432 (x2 471), then the right wall back to 408.
  const Case cases[] = {{1.5, 416}, {0.0, 408}, {-1.5, 408}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vx);
    cTestChara obj;
    Place(obj, 410, kRowTop, 40, 32);
    obj.m_Vx = c.vx;
    EXPECT_EQ(ResolveWallHit(obj), kCellSafe);
    EXPECT_EQ(obj.m_X1, c.wantX1);
    EXPECT_EQ(obj.m_LRUD[kContactLeft], 1);
    EXPECT_EQ(obj.m_LRUD[kContactRight], 1) << "both flags: the logic step takes it as a crush";
  }
}

TEST_F(CollisionTest, EdgeSamplesFollowTheSizeFactor) {
  // A 32x32 object at scale 2 tests three points down its left edge: y1, y1 + 31, y1 + 62; the
  // last lies one dot short of its 64-dot height, so a solid cell under the very bottom row alone
  // is not seen.
  cTestChara obj;
  Place(obj, 13 * 32, kRowTop, 32, 32);
  obj.m_Def.m_Enlargement = 2;
  obj.m_Width = obj.m_Height = 64;
  obj.ClampToStageX(2);
  obj.ClampToStageY(2);
  const std::int32_t x = TruncDot(obj.m_X1);
  const std::int32_t y1 = TruncDot(obj.m_Y1);
  const std::int32_t y2 = TruncDot(obj.m_Y2);
  cMapCell& low = SolidCell(13, kRow + 1);
  EXPECT_EQ(FindEdgeCell(obj, x, y1, x, y2), MapCellIndex(13, kRow + 1));
  low.m_Solid = kSolidNone;
  // A deadly cell beats a solid one; of equal cells the first sample wins.
  SolidCell(13, kRow);
  SolidCell(13, kRow + 1);
  EXPECT_EQ(FindEdgeCell(obj, x, y1, x, y2), MapCellIndex(13, kRow));
  MapCellAt(13, kRow + 1).m_Solid = kSolidDeadly;
  EXPECT_EQ(FindEdgeCell(obj, x, y1, x, y2), MapCellIndex(13, kRow + 1));
  EXPECT_EQ(FindEdgeCell(obj, x, y1, x + 1, y2), 0) << "a slanted edge";
}

TEST_F(CollisionTest, FootCellOfAHeroGoesToTheSampleNearestTheMiddle) {
  // The feet of a 32-dot hero are sampled at x1, x1 + 16 and x2, in floor row 16.
  struct Case {
    const char* name;
    double x1;
    bool solid12, solid13;
    std::int32_t wantColumn;
  };
  const Case cases[] = {
      // Samples 400 (12), 416 (13), 431 (13), middle 415: 416 is nearest.
      {"tie of two solid cells, right one nearer", 400, true, true, 13},
      // Samples 392 (12), 408 (12), 423 (13), middle 407: 408 is nearest.
      {"tie of two solid cells, left one nearer", 392, true, true, 12},
      // The more solid sample wins however far from the middle.
      {"one corner solid over a gap", 400, true, false, 12},
      {"other corner solid over a gap", 392, false, true, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (cMapCell& cell : g_MapCells) cell.m_Solid = kSolidNone;
    if (c.solid12) SolidCell(12, kRow + 1);
    if (c.solid13) SolidCell(13, kRow + 1);
    cTestChara hero;
    Place(hero, c.x1, kRowTop + 1, 32, 32);  // the feet one dot into row 16
    hero.m_Operator = 0;
    hero.m_Vy = 1.0;
    EXPECT_EQ(HitFloorCells(hero), kCellSafe);
    EXPECT_EQ(hero.m_LRUD[kContactDown], 1);
    EXPECT_EQ(hero.m_Y2, kRowTop + 31) << "landed on the last row above the floor";
    EXPECT_EQ(hero.m_CellIndexUnderFeet, MapCellIndex(c.wantColumn, kRow + 1));
    EXPECT_EQ(hero.m_CellUnderFeet, &MapCellAt(c.wantColumn, kRow + 1));
    EXPECT_EQ(hero.m_LastLandedCell, hero.m_CellUnderFeet);
  }
}

TEST_F(CollisionTest, FloorCellsByKindOfObject) {
  struct Case {
    const char* name;
    std::uint8_t solid;
    std::int8_t passGroup;
    std::int32_t op, group, flight;
    std::int32_t want;
    bool lands;
  };
  const Case cases[] = {
      {"deadly cell carries a character", kSolidDeadly, -1, 1, 0, 0, kCellSafe, true},
      {"deadly cell kills a hero", kSolidDeadly, -1, 0, 0, 0, kCellKilled, false},
      {"solid cell carries a hero", kSolid, -1, 0, 0, 0, kCellSafe, true},
      {"a flyer that dies on blocks", kSolid, -1, 1, 0, 3, kCellKilled, false},
      {"a flyer that blocks stop", kSolid, -1, 1, 0, 2, kCellSafe, true},
      {"a flyer through blocks", kSolidDeadly, -1, 0, 0, 1, kCellSafe, false},
      {"exempt group passes", kSolid, 3, 1, 3, 0, kCellSafe, false},
      {"other group is stopped", kSolid, 3, 1, 2, 0, kCellSafe, true},
      {"exempt none stops group 0", kSolid, -1, 1, 0, 0, kCellSafe, true},
      {"passable cell", kSolidNone, -1, 1, 0, 0, kCellSafe, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cMapCell& floor = SolidCell(13, kRow + 1, c.passGroup);
    floor.m_Solid = c.solid;
    cTestChara obj;
    Place(obj, 13 * 32 + 8, kRowTop + 2, 16, 32);
    obj.m_Operator = c.op;
    obj.m_Group = c.group;
    obj.SetFlightMode(c.flight);
    obj.m_Vy = 2.0;
    EXPECT_EQ(ResolveFloorHit(obj), c.want);
    EXPECT_EQ(obj.m_LRUD[kContactDown], c.lands ? 1 : 0);
    EXPECT_EQ(obj.m_Y2, c.lands ? kRowTop + 31 : kRowTop + 33);
    EXPECT_EQ(obj.m_Vy, c.lands ? 0.0 : 2.0);
  }
}

TEST_F(CollisionTest, ACellWithConditionsIsSolidWhileTheyHold) {
  // The scripts are not there to evaluate the conditions: they are taken as holding, so the cell
  // is as it was drawn.
  cMapCell& floor = SolidCell(13, kRow + 1);
  floor.m_Conditions.resize(1);
  cTestChara obj;
  Place(obj, 13 * 32 + 8, kRowTop + 2, 16, 32);
  obj.m_Vy = 2.0;
  EXPECT_EQ(ResolveFloorHit(obj), kCellSafe);
  EXPECT_EQ(obj.m_LRUD[kContactDown], 1);
}

TEST_F(CollisionTest, FallingStartsExactlyAfterTheGraceSteps) {
  struct Case {
    const char* name;
    std::int32_t level, op, onBlockChara;
    bool falls;
  };
  const Case cases[] = {
      {"character, level 1", 1, 1, 0, true},
      {"character, level 10", 10, 1, 0, true},
      {"hero, level 3", 3, 0, 0, true},
      {"hero carried by a block character", 3, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetSpeedLevel(c.level);
    const std::int32_t grace = 8 * c.level;
    ASSERT_EQ(g_Stage.Field(kEightTimesSteps), grace);
    cHero hero0;
    hero0.m_JumpAllowed = 0;
    m_Scene->m_Heroes.assign(1, &hero0);
    cTestChara obj;
    Place(obj, 13 * 32, kRowTop, 16, 32);
    obj.m_Operator = c.op;
    obj.m_OnBlockChara = c.onBlockChara;
    obj.m_J2 = 0;
    for (std::int32_t step = 1; step < grace; ++step) ASSERT_EQ(HitFloorCells(obj), kCellSafe);
    EXPECT_EQ(obj.m_J7, grace - 1);
    EXPECT_EQ(obj.m_J2, 0) << "one step before the grace ends";
    EXPECT_EQ(obj.m_CellUnderFeet, nullptr);
    HitFloorCells(obj);
    EXPECT_EQ(obj.m_J2, c.falls ? 1 : 0);
    EXPECT_EQ(hero0.m_JumpAllowed, c.falls && c.op == 0 ? 1 : 0);
    m_Scene->m_Heroes.clear();
  }
}

TEST_F(CollisionTest, CeilingAndSecondPasses) {
  // Moving up into a cell: pushed down to the next boundary, the jump words set.
  SolidCell(13, kRow - 1);
  cTestChara obj;
  Place(obj, 13 * 32 + 8, kRowTop - 3, 16, 24);
  obj.m_Vy = -2.0;
  EXPECT_EQ(ResolveFloorHit(obj), kCellSafe);
  EXPECT_EQ(obj.m_Y1, kRowTop);
  EXPECT_EQ(obj.m_LRUD[kContactUp], 1);
  EXPECT_EQ(obj.m_J6, 1);
  EXPECT_EQ(obj.m_Vy, 0.0);

  // The second pass lands without touching the air counter, then tests the ceiling again.
  SolidCell(13, kRow + 1);
  cTestChara lower;
  Place(lower, 13 * 32 + 8, kRowTop + 10, 16, 24);
  lower.m_J7 = 5;
  lower.m_Operator = 0;
  EXPECT_EQ(RecheckFloorHit(lower), kCellSafe);
  EXPECT_EQ(lower.m_Y2, kRowTop + 31);
  EXPECT_EQ(lower.m_LastLandedCell, &MapCellAt(13, kRow + 1));
  MapCellAt(13, kRow + 1).m_Solid = kSolidDeadly;
  Place(lower, 13 * 32 + 8, kRowTop + 10, 16, 24);
  lower.m_Operator = 0;
  EXPECT_EQ(RecheckFloorHit(lower), kCellKilled) << "a deadly floor under a hero";
}

TEST_F(CollisionTest, ScreenClampsUnderAutomaticScrolling) {
  ScrollAxis& sy = m_Scene->m_ScrollY;
  ScrollAxis& sx = m_Scene->m_ScrollX;
  sy.m_Pos = 400;
  sx.m_Pos = 400;
  struct Case {
    const char* name;
    std::int32_t autoY, flight;
    std::int32_t want;
    bool pushed;
  };
  const Case cases[] = {
      {"walking, pushed by the bottom", 1, 0, kCellKilled, true},
      {"flying, pushed by the bottom", 1, 2, kCellSafe, true},
      {"flying through blocks, still clamped", 1, 1, kCellSafe, true},
      {"no automatic scroll, walking", 0, 0, kCellSafe, false},
      {"no automatic scroll, flying", 0, 2, kCellSafe, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sy.m_AutoOn = c.autoY;
    cTestChara obj;
    Place(obj, 600, 400 + 470, 16, 24);  // the box's bottom below the view
    obj.SetFlightMode(c.flight);
    EXPECT_EQ(ClampToScreenY(obj), c.want);
    EXPECT_EQ(obj.m_LRUD[kContactDown], c.pushed ? 1 : 0);
    if (c.pushed) {
      EXPECT_EQ(obj.m_Y1, 400 + 480 - 24 - 1);
    }
  }
  // Horizontally: held at the left edge of the view.
  sx.m_AutoOn = 1;
  cTestChara obj;
  Place(obj, 380, 600, 16, 24);
  ClampToScreenX(obj);
  EXPECT_EQ(obj.m_X1, 400);
  EXPECT_EQ(obj.m_LRUD[kContactLeft], 1);
}

TEST_F(CollisionTest, APlaceIsBlockedByCellsAndBlockCharacters) {
  cTestChara obj;
  Place(obj, 13 * 32 + 8, kRowTop + 4, 16, 24);
  obj.m_Id = 5;
  EXPECT_EQ(IsPlaceBlocked(obj), 0);
  SolidCell(13, kRow).m_PassGroup = 2;
  EXPECT_EQ(IsPlaceBlocked(obj), 1);
  obj.m_Group = 2;
  EXPECT_EQ(IsPlaceBlocked(obj), 0) << "its group passes the cell";

  cChara& block = g_CharaList.Emplace();
  block.m_Def.m_BlockChara = 1;
  block.m_Present = 1;
  block.m_Id = 6;
  block.m_X1 = obj.m_X2;  // edges touching count
  block.m_X2 = obj.m_X2 + 31;
  block.m_Y1 = obj.m_Y1;
  block.m_Y2 = obj.m_Y1 + 31;
  EXPECT_EQ(IsPlaceBlocked(obj), 1);
  block.m_Dead = 1;
  EXPECT_EQ(IsPlaceBlocked(obj), 0) << "a dead block character";
  block.m_Dead = 0;
  block.m_Id = 5;
  EXPECT_EQ(IsPlaceBlocked(obj), 0) << "the object itself";
  block.m_Id = 6;
  obj.SetFlightMode(1);
  EXPECT_EQ(IsPlaceBlocked(obj), 0) << "passes through blocks";
  EXPECT_EQ(HitLeftWall(obj), kCellSafe);
}

}  // namespace
