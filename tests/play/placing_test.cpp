// Placing and summoning on a small empty map: placements with copies, held items, summoned
// characters and items, and block summons that place, remove or toggle map cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "play/placing.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::StageObjectsTest;

using PlacingTest = StageObjectsTest;

std::vector<const cChara*> Charas() {
  std::vector<const cChara*> out;
  for (const cChara& c : g_CharaList) out.push_back(&c);
  return out;
}

TEST_F(PlacingTest, APlacementMakesItsCopiesAndDropsThoseOutsideTheMap) {
  struct Case {
    const char* name;
    std::int32_t column;
    std::int16_t stepX;
    std::vector<double> wantX1;
  };
  // The hit box is 16 wide in its 32-dot cell: x1 = (10 + column) x 32 + 8 + 0.5.
  const Case cases[] = {
      {"three copies 32 apart", 3, 32, {424.5, 456.5, 488.5}},
      // The second copy stands in the map's margin; the third would be left of the map.
      {"a copy outside the map takes no id", 0, -200, {328.5, 128.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_CharaList.Clear();
    cCharaDef def = CharaDef();
    def.m_SpareByte1 = 2;  // two extra copies
    def.m_OffsetXStep = c.stepX;
    std::int32_t ids = 7;
    SpawnCharaFromStage(g_CharaList, c.column, 5, ids, def, nullptr);
    const std::vector<const cChara*> made = Charas();
    ASSERT_EQ(made.size(), c.wantX1.size());
    EXPECT_EQ(ids, 7 + static_cast<std::int32_t>(c.wantX1.size()));
    for (std::size_t k = 0; k < made.size(); ++k) {
      EXPECT_EQ(made[k]->m_X1, c.wantX1[k]) << k;
      EXPECT_EQ(made[k]->m_Id, 7 + static_cast<std::int32_t>(k));
      EXPECT_EQ(made[k]->m_Y2, (10 + 5) * 32 + 31) << "standing on the bottom of its cell";
    }
  }
}

TEST_F(PlacingTest, AHeldItemIsNotPlacedAlone) {
  cStageData stage;
  stage.m_PlacedItems.assign(2, cItemDef());
  stage.m_PlacedItems[0].m_ChipIndex = 3;
  stage.m_PlacedItems[0].m_PosX = 1;
  stage.m_PlacedItems[1].m_ChipIndex = 4;
  stage.m_PlacedItems[1].m_PosX = 2;
  cCharaDef holder = CharaDef();
  holder.m_PosX = 5;
  holder.m_StoredWord = 1;
  cCharaDef plain = CharaDef();
  plain.m_PosX = 6;
  plain.m_StoredWord = 0xFFFFFFFF;
  cCharaDef stray = CharaDef();
  stray.m_PosX = 7;
  stray.m_StoredWord = 9;  // no such item: holds nothing
  stage.m_PlacedCharas = {HeroDef(), holder, plain, stray};

  std::int32_t charaIds = 1;  // the hero took 0
  std::int32_t itemIds = 0;
  PlaceStageCharasAndItems(stage, charaIds, itemIds);
  const std::vector<const cChara*> made = Charas();
  ASSERT_EQ(made.size(), 3u) << "the hero's placement is not a character";
  EXPECT_EQ(charaIds, 4);
  EXPECT_EQ(made[0]->m_HeldItem.m_Graphic, 4);
  EXPECT_EQ(made[0]->m_HeldItem.m_Held, 1);
  EXPECT_EQ(made[0]->m_HeldItem.m_Present, 1);
  EXPECT_EQ(made[1]->m_HeldItem.m_Graphic, 0);
  EXPECT_EQ(made[2]->m_HeldItem.m_Graphic, 0);
  ASSERT_EQ(g_ItemList.Size(), 1);
  EXPECT_EQ(g_ItemList.begin()->m_Graphic, 3);
  EXPECT_EQ(g_ItemList.begin()->m_Id, 1) << "the held item took id 0";
  EXPECT_EQ(itemIds, 2);
}

TEST_F(PlacingTest, SummonedCharactersJoinTheirGroupUnlessTheirPlaceIsTaken) {
  SetSpeedLevel(2);
  SummonOptions options;
  options.timeLimitOn = 1;
  options.timeLimit = 3;  // 0.3 s: 3 x 6 frames x 2 steps
  std::int32_t ids = 0;

  // Its hit box is x 408..423, y 408..431: map cell (12, 12).
  SpawnCharaAt(g_CharaList, 400, 400, 2, 1, options, CharaDef(), ids);
  ASSERT_EQ(g_CharaList.Size(), 1);
  const cChara& made = *g_CharaList.begin();
  EXPECT_EQ(made.m_Life, 36);
  EXPECT_EQ(made.m_Group, 2);
  EXPECT_EQ(made.m_Direction, 1);
  EXPECT_EQ(made.m_X1, 408);
  EXPECT_EQ(made.m_Y1, 408);
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(2).Contains(const_cast<cChara*>(&made)));
  EXPECT_EQ(ids, 1);

  // On a solid cell: gone at once, no group, no id.
  g_CharaList.Clear();
  SolidCell(12, 12);
  SpawnCharaAt(g_CharaList, 400, 400, 2, 1, options, CharaDef(), ids);
  EXPECT_EQ(g_CharaList.Size(), 0);
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(2).Empty());
  EXPECT_EQ(ids, 1);

  // On a block character.
  MapCellAt(12, 12).m_Solid = kSolidNone;
  cChara& block = g_CharaList.Emplace();
  block.m_Def.m_BlockChara = 1;
  block.m_Present = 1;
  block.m_Id = 99;
  block.m_X1 = block.m_Y1 = 420;
  block.m_X2 = block.m_Y2 = 451;
  SpawnCharaAt(g_CharaList, 400, 400, 2, 1, options, CharaDef(), ids);
  EXPECT_EQ(g_CharaList.Size(), 1);
  EXPECT_TRUE(m_Scene->m_GroupCharas.At(2).Empty());
  EXPECT_EQ(ids, 1);
}

TEST_F(PlacingTest, SummonedItemsKeepTheirOffsetsAndTimeLimit) {
  cItemDef def;
  def.m_ChipIndex = 2;
  def.m_Word94 = 5;
  def.m_Word96 = -3;
  SummonOptions options;
  options.timeLimitOn = 1;
  options.timeLimit = 10;
  std::int32_t ids = 4;
  SpawnItemAt(g_ItemList, 400, 400, options, def, ids);
  ASSERT_EQ(g_ItemList.Size(), 1);
  const cItem& item = *g_ItemList.begin();
  // The 28x28 item box sits 2 dots into its drawn box.
  EXPECT_EQ(item.m_X1, 400 + 2 + 5);
  EXPECT_EQ(item.m_Y1, 400 + 2 - 3);
  EXPECT_EQ(item.m_X2, item.m_X1 + 27);
  EXPECT_EQ(item.m_Life, 10 * 6 * 10);
  EXPECT_EQ(ids, 5);
  SpawnItemAt(g_ItemList, -500, 400, options, def, ids);
  EXPECT_EQ(g_ItemList.Size(), 1) << "outside the map";
  EXPECT_EQ(ids, 5);
}

// The cell of the summons below: (int)(400 + 16.5) >> 5 = 13 on both axes, stage cell (3, 3).
constexpr double kAt = 400;
constexpr std::int32_t kTile = 13;

cBlock SummonedBlock() {
  cBlock block;
  block.m_ChipIndex = 9;
  return block;
}

TEST_F(PlacingTest, ABlockSummonOverAHero) {
  struct Case {
    const char* name;
    std::int32_t refuse;
    std::int8_t passGroup;
    bool placed;
    std::int32_t mark;
  };
  const Case cases[] = {
      {"appears inside the hero", 0, -1, true, 2},
      {"refused over the hero", 1, -1, false, 2},
      {"the hero's group passes it", 1, 0, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cHero& hero = PlaceHero(3, 3);
    cMapCell& cell = MapCellAt(kTile, kTile);
    cell = cBlock();
    cell.m_Solid = kSolidNone;
    cell.m_ChipIndex = 5;
    cell.m_ConditionLatch = 1;
    SummonOptions options;
    options.refuseOnHero = c.refuse;
    cBlock block = SummonedBlock();
    block.m_PassGroup = c.passGroup;
    ChangeMapCellsAt(kAt, kAt, options, block);
    EXPECT_EQ(cell.m_ChipIndex, c.placed ? 9 : 5);
    EXPECT_EQ(cell.m_ConditionLatch, c.placed ? 0u : 1u) << "a replaced cell starts over; a refused one is put back";
    EXPECT_EQ(hero.m_SummonedCellMark, c.mark);
  }
}

TEST_F(PlacingTest, BlockSummonModes) {
  cMapCell& cell = MapCellAt(kTile, kTile);
  SummonOptions options;
  options.blockMode = kRemoveBlock;
  cell = SummonedBlock();
  cell.m_ConditionLatch = 1;
  ChangeMapCellsAt(kAt, kAt, options, SummonedBlock());
  EXPECT_EQ(cell.m_ChipIndex, 0) << "the palette's default block";
  EXPECT_EQ(cell.m_Solid, kSolidNone);
  EXPECT_EQ(cell.m_ConditionLatch, 0u);

  // A spawn pattern that reaches the same cell twice toggles it once.
  options.blockMode = kToggleBlock;
  ChangeMapCellsAt(kAt, kAt, options, SummonedBlock());
  ChangeMapCellsAt(kAt + 3, kAt + 3, options, SummonedBlock());
  EXPECT_EQ(cell.m_ChipIndex, 9);
  EXPECT_EQ(m_Scene->m_ToggledCells, CheckedVector<std::int32_t>{MapCellIndex(kTile, kTile)});
  m_Scene->m_ToggledCells.clear();  // the next summon
  ChangeMapCellsAt(kAt, kAt, options, SummonedBlock());
  EXPECT_EQ(cell.m_ChipIndex, 0);

  // A refused toggle is not marked toggled: the pattern may try the cell again.
  m_Scene->m_ToggledCells.clear();
  PlaceHero(3, 3);
  options.refuseOnHero = 1;
  ChangeMapCellsAt(kAt, kAt, options, SummonedBlock());
  EXPECT_EQ(cell.m_ChipIndex, 0);
  EXPECT_TRUE(m_Scene->m_ToggledCells.empty());

  // A protected cell never changes.
  cell = SummonedBlock();
  cell.m_SummonProof = 1;
  for (std::int32_t mode : {kSummonBlock, kRemoveBlock, kToggleBlock}) {
    options.blockMode = mode;
    cBlock other;
    other.m_ChipIndex = 4;
    ChangeMapCellsAt(kAt, kAt, options, other);
    EXPECT_EQ(cell.m_ChipIndex, 9) << mode;
  }
}

TEST_F(PlacingTest, ABlockSummonOutsideTheMapChangesNothing) {
  // The map is 60 cells wide (rows 64 apart) and 40 high.
  const std::vector<cMapCell> before(g_MapCells.begin(), g_MapCells.end());
  const double xs[] = {60 * 32 - 16, 64 * 32 - 16, -100, kAt, kAt};
  const double ys[] = {kAt, kAt, kAt, 40 * 32 - 16, -40};
  for (std::size_t i = 0; i < std::size(xs); ++i) ChangeMapCellsAt(xs[i], ys[i], SummonOptions(), SummonedBlock());
  std::int32_t changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) changed += g_MapCells[i].m_ChipIndex != before[i].m_ChipIndex ? 1 : 0;
  EXPECT_EQ(changed, 0) << "no cell of another row, of the row's spare end or cell 0 was written";
  EXPECT_EQ(m_Scene->m_OutsideCellReported, 1);
  ChangeMapCellsAt(kAt, kAt, SummonOptions(), SummonedBlock());
  EXPECT_EQ(MapCellAt(kTile, kTile).m_ChipIndex, 9) << "inside the map it works";
}

}  // namespace
