#include "play/map_cells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;

using MapCellsTest = PlayTest;

TEST_F(MapCellsTest, AStageCellLivesPastTheMarginInRowsOfAPowerOfTwo) {
  // 40 columns: 59 has 6 binary digits, rows 64 cells apart.
  ASSERT_EQ(m_Scene->m_ScrollX.m_Shift, 6);
  EXPECT_EQ(StageCellIndex(0, 0), (10 << 6) + 10);
  EXPECT_EQ(StageCellIndex(7, 3), (13 << 6) + 17);
  EXPECT_EQ(MapCellIndex(5, 2), (2 << 6) + 5);
  EXPECT_EQ(g_MapCells.Size(), 64 * 40);
}

TEST_F(MapCellsTest, PlacedBlocksFillTheirCellsAndTheRestIsEmpty) {
  cStageData stage;
  stage.m_PlacedBlocks.assign(3, cBlock());
  stage.m_PlacedBlocks[0].m_PosX = 2;
  stage.m_PlacedBlocks[0].m_PosY = 1;
  stage.m_PlacedBlocks[0].m_ChipIndex = 7;
  stage.m_PlacedBlocks[1].m_PosX = 60;  // past the row's cells: it would land in the next row
  stage.m_PlacedBlocks[1].m_PosY = 1;
  stage.m_PlacedBlocks[2].m_PosX = 0;
  stage.m_PlacedBlocks[2].m_PosY = -11;  // above the map
  BuildMapCells(stage);
  const cMapCell& placed = g_MapCells.At(StageCellIndex(2, 1));
  EXPECT_EQ(placed.m_ChipIndex, 7);
  EXPECT_EQ(placed.m_Solid, kSolid);
  std::int32_t solid = 0;
  for (const cMapCell& cell : g_MapCells) solid += cell.m_Solid != kSolidNone ? 1 : 0;
  EXPECT_EQ(solid, 1);
}

TEST_F(MapCellsTest, AMapTooLargeForMemoryIsRefusedAsSuch) {
  m_Scene->m_ScrollX.Setup(0, 5000, 0);
  m_Scene->m_ScrollY.Setup(1, 5000, 0);
  EXPECT_THROW(BuildMapCells(cStageData()), std::bad_alloc);
}

TEST_F(MapCellsTest, SolidityAppliesToAGroupUnlessTheCellExemptsIt) {
  struct Case {
    std::uint8_t solid;
    std::int8_t passGroup;
    std::int32_t group, want;
  };
  const Case cases[] = {
      {kSolid, -1, 0, 1}, {kSolid, 3, 3, 0}, {kSolid, 3, 2, 1}, {kSolidDeadly, -1, 5, 2}, {kSolidNone, -1, 0, 0},
  };
  for (const Case& c : cases) {
    cMapCell cell;
    cell.m_Solid = c.solid;
    cell.m_PassGroup = c.passGroup;
    EXPECT_EQ(IsSolidFor(cell, c.group), c.want) << int{c.solid} << " " << int{c.passGroup} << " " << c.group;
  }
}

}  // namespace
