// Shots against map cells: a shot up to a cell wide tests its four corners, a wider one a grid of
// points 32 dots apart ending at its far edges; passing shots and exempt groups are never stopped.
#include "play/shot.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

// The shot's top left lies 31 dots into map column 20 and 16 dots into row 20; one solid cell at
// (20 + dc, 20 + dr).
TEST_F(ShotTest, BlockSamplesByWidth) {
  constexpr std::int32_t kColumn = 20;
  constexpr std::int32_t kRow = 20;
  struct Case {
    const char* what;
    std::int32_t w, h, dc, dr;
    std::uint8_t passes;
    std::int8_t exemptGroup;
    std::int32_t hits;
  };
  const Case cases[] = {
      {"40 wide: its last column at x + 39", 40, 16, 2, 0, 0, -1, 1},
      {"32 wide: corners only, x + 31", 32, 16, 2, 0, 0, -1, 0},
      {"40 wide and 64 high: the row at y + 32", 40, 64, 0, 1, 0, -1, 1},
      {"32 wide and 64 high: corners only", 32, 64, 0, 1, 0, -1, 0},
      {"a corner", 16, 16, 0, 0, 0, -1, 1},
      {"passing blocks", 16, 16, 0, 0, 1, -1, 0},
      {"a cell exempting the shot's group", 16, 16, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SetupStage(kCellsX, kCellsY);
    SolidCell(kColumn + c.dc, kRow + c.dr, c.exemptGroup);
    cEdShot params = Params();
    params.m_BlockPassing = c.passes;
    cShot& shot = Fire(Hero(), params, Spawn(Dot(kColumn) + 31, Dot(kRow) + 16, 0.0, 0.0));
    ASSERT_EQ(shot.m_Group, 0);
    shot.m_Width = c.w;
    shot.m_Height = c.h;
    shot.ClampX();
    shot.ClampToStageY(2);
    EXPECT_EQ(ShotHitsBlock(shot), c.hits) << c.what;
  }
}

TEST_F(ShotTest, AStepRemovesAShotThatRanIntoABlock) {
  SolidCell(30, 20);
  cEdShot params = Params(40);
  params.m_BlockPassing = 0;
  Fire(Hero(), params, Spawn(Dot(29), Dot(20), 4.0, 0.0));
  cEdShot passing = Params(40);
  const cShot& other = Fire(Hero(), passing, Spawn(Dot(29), Dot(20) + 1, 4.0, 0.0));
  for (int step = 0; step < 5; ++step) StepShots(2);
  ASSERT_EQ(m_Scene->m_ShotList.size(), 1u);
  EXPECT_EQ(&m_Scene->m_ShotList.front(), &other);
  EXPECT_EQ(m_Scene->m_GroupShots.At(0).Size(), 1);
  EXPECT_DOUBLE_EQ(other.m_X1, Dot(29) + 20.0);
}

}  // namespace
