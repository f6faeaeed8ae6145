// Block records: the file layout, the shot-sheet upgrade, palette inheritance group by group, the
// normalisers, copies and map cells, and damaged files.
#include <functional>

#include "platform/host/text_codec.h"
#include "project/block_labels.h"
#include "project/map_cell.h"
#include "tests/project/block_fixture.h"

namespace {

// A palette entry whose every member differs from those of OwnValues().
cBlock PaletteEntry(int tag) {
  cBlock b;
  b.m_Name = "entry" + std::to_string(tag);
  b.m_Conditions.resize(2);
  b.m_Conditions[0].m_Kind = kConditionStageVar;
  b.m_ConditionMode = 1;
  b.m_KeepOnceMet = 1;
  b.m_ChipSource = kChipChara;
  b.m_ChipIndex = static_cast<std::int16_t>(100 + tag);
  b.m_ChipFrame = 3;
  b.m_FrontLayer = 1;
  b.m_Hidden = 1;
  b.m_MarkMode = 1;
  b.m_MarkNumber = 44;
  b.m_Solid = kSolidDeadly;
  b.m_PassGroup = 6;
  b.m_CellEffect = 5;
  b.m_EffectValue = -9;
  b.m_ItemSource = 2;
  b.m_ItemIndex = 8;
  b.m_SummonProof = 1;
  return b;
}

BlockValues OwnValues() {
  BlockValues v;
  v.name = "own";
  v.chipIndex = 7;
  v.chipSource = kChipBlock;
  v.markNumber = 2;
  v.passGroup = 1;
  v.cellEffect = 1;
  v.effectValue = 4;
  v.itemSource = 1;
  v.itemIndex = 1;
  v.x = 12;
  v.y = 34;
  v.conditions = {{.kind = kConditionCommonVar, .value = 3}};
  return v;
}

class BlockTest : public ProjectRecordTest {
 protected:
  void SetUp() override {
    ProjectRecordTest::SetUp();
    for (int i = 0; i < 4; ++i) m_Common.push_back(PaletteEntry(i));
    for (int i = 0; i < 5; ++i) m_Stage.push_back(PaletteEntry(10 + i));
    LoadContext().commonPalette.blocks = &m_Common;
    LoadContext().stagePalette.blocks = &m_Stage;
  }

  CheckedVector<cBlock> m_Common;
  CheckedVector<cBlock> m_Stage;
};

TEST_F(BlockTest, DefaultBlockIsOneEmptyCellOf61Bytes) {
  cBlock block;
  EXPECT_EQ(block.m_Solid, kSolid);
  EXPECT_EQ(block.m_PassGroup, -1);
  EXPECT_EQ(block.m_InheritFlags.size(), 11u);
  // Chip index 0 is an empty cell, which the writer makes non-solid.
  BlockValues expected;
  expected.solid = kSolidNone;
  const std::vector<std::uint8_t> bytes = Written(block);
  EXPECT_EQ(bytes.size(), 61u);
  EXPECT_EQ(HexBytes(bytes), HexBytes(BlockRecord(expected).Data()));
}

struct ShotSheetCase {
  std::uint32_t version;
  std::uint8_t source;
  std::int16_t index;
  std::int16_t expected;
};

TEST_F(BlockTest, OldFilesCountTheShotSheetFromOneLower) {
  const ShotSheetCase cases[] = {
      {218, kChipShot, 5, 6}, {218, kChipShot, 119, 119}, {218, kChipShot, 118, 119}, {218, kChipShot, -1, 0},
      {218, kChipItem, 5, 5}, {219, kChipShot, 5, 5},     {556, kChipShot, 5, 5},
  };
  for (const ShotSheetCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " source " << int(c.source) << " index " << c.index);
    BlockValues v;
    v.chipSource = c.source;
    v.chipIndex = c.index;
    cBlock block;
    std::size_t rest = 99;
    EXPECT_FALSE(ReadFrom(block, FileOf(c.version, BlockRecord(v)), &rest));
    EXPECT_EQ(rest, 0u);
    EXPECT_EQ(block.m_ChipIndex, c.expected);
    // Written again as the current version, the value is not raised a second time.
    cBlock again;
    EXPECT_FALSE(ReadFrom(again, cByteBuilder().U32(556).Bytes(Written(block))));
    EXPECT_EQ(again.m_ChipIndex, c.expected);
  }
}

// One member of a block, the property group that carries it, and a printable form of its value.
struct Member {
  const char* name;
  int group;  // -1: no group, never inherited
  std::function<std::string(const cBlock&)> value;
};

std::string Num(long long n) { return std::to_string(n); }

const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {"position", -1, [](const cBlock& b) { return Num(b.m_PosX) + "," + Num(b.m_PosY); }},
      {"name", 0, [](const cBlock& b) { return b.m_Name; }},
      {"conditions", 1,
       [](const cBlock& b) {
         std::string s = Num(static_cast<long long>(b.m_Conditions.size()));
         for (const cConditionDef& c : b.m_Conditions) s += ":" + Num(c.m_Kind) + "/" + Num(c.m_Value);
         return s;
       }},
      {"condition mode", 1, [](const cBlock& b) { return Num(b.m_ConditionMode); }},
      {"keep once met", 1, [](const cBlock& b) { return Num(b.m_KeepOnceMet); }},
      {"chip source", 2, [](const cBlock& b) { return Num(b.m_ChipSource); }},
      {"chip index", 2, [](const cBlock& b) { return Num(b.m_ChipIndex); }},
      {"chip frame", 2, [](const cBlock& b) { return Num(b.m_ChipFrame); }},
      {"front layer", 3, [](const cBlock& b) { return Num(b.m_FrontLayer); }},
      {"hidden", 4, [](const cBlock& b) { return Num(b.m_Hidden); }},
      {"mark mode", 5, [](const cBlock& b) { return Num(b.m_MarkMode); }},
      {"mark number", 5, [](const cBlock& b) { return Num(b.m_MarkNumber); }},
      {"solid", 6, [](const cBlock& b) { return Num(b.m_Solid); }},
      {"pass group", 7, [](const cBlock& b) { return Num(b.m_PassGroup); }},
      {"cell effect", 8, [](const cBlock& b) { return Num(b.m_CellEffect); }},
      {"effect value", 8, [](const cBlock& b) { return Num(b.m_EffectValue); }},
      {"item source", 9, [](const cBlock& b) { return Num(b.m_ItemSource); }},
      {"item index", 9, [](const cBlock& b) { return Num(b.m_ItemIndex); }},
      {"summon proof", 10, [](const cBlock& b) { return Num(b.m_SummonProof); }},
  };
  return members;
}

TEST_F(BlockTest, EachFlagCopiesExactlyItsGroup) {
  cBlock own;
  ASSERT_FALSE(ReadFrom(own, FileOf(556, BlockRecord(OwnValues()))));
  const cBlock& entry = m_Stage.At(3);
  for (int group = 0; group < kBlockGroupCount; ++group) {
    SCOPED_TRACE(testing::Message() << "group " << group);
    BlockValues v = OwnValues();
    v.inheritSource = kInheritStage;
    v.inheritIndex = 3;
    v.flags.at(static_cast<std::size_t>(group)) = 1;
    cBlock block;
    ASSERT_FALSE(ReadFrom(block, FileOf(556, BlockRecord(v))));
    for (const Member& m : Members()) {
      const cBlock& from = m.group == group ? entry : own;
      EXPECT_EQ(m.value(block), m.value(from)) << m.name;
    }
    EXPECT_EQ(block.m_InheritSource, kInheritStage);
    EXPECT_EQ(block.m_InheritIndex, 3);
  }
}

struct InheritCase {
  const char* name;
  std::int8_t source;
  std::int16_t index;
  std::size_t flagCount;  // all set
  bool inherits;          // the groups come from the palette entry
  std::int8_t sourceAfter;
  std::int16_t indexAfter;
};

TEST_F(BlockTest, InheritanceOnlyFromAnEntryThePaletteHas) {
  const InheritCase cases[] = {
      {"index 0 means none", kInheritCommon, 0, 11, false, kInheritCommon, 0},
      {"source 0 means none", kInheritNone, 2, 11, false, kInheritNone, 2},
      {"common entry 2", kInheritCommon, 2, 11, true, kInheritCommon, 2},
      {"stage entry 4 of 5", kInheritStage, 4, 11, true, kInheritStage, 4},
      {"stage entry 5 of 5: source cleared, index kept", kInheritStage, 5, 11, false, kInheritNone, 5},
      {"common entry 4 of 4", kInheritCommon, 4, 11, false, kInheritNone, 4},
      {"index -1 is out of range, not entry -1", kInheritCommon, -1, 11, false, kInheritNone, -1},
      {"source 3 names no palette", 3, 2, 11, false, 3, 2},
      {"source -1 names no palette", -1, 2, 11, false, -1, 2},
      {"13 flags select 11 groups", kInheritCommon, 2, 13, true, kInheritCommon, 2},
      {"no flags select nothing", kInheritCommon, 2, 0, false, kInheritCommon, 2},
  };
  cBlock own;
  ASSERT_FALSE(ReadFrom(own, FileOf(556, BlockRecord(OwnValues()))));
  for (const InheritCase& c : cases) {
    SCOPED_TRACE(c.name);
    BlockValues v = OwnValues();
    v.inheritSource = c.source;
    v.inheritIndex = c.index;
    v.flags.assign(c.flagCount, 1);
    cBlock block;
    ASSERT_FALSE(ReadFrom(block, FileOf(556, BlockRecord(v))));
    const cBlock& from = c.inherits ? (c.source == kInheritCommon ? m_Common.At(c.index) : m_Stage.At(c.index)) : own;
    for (const Member& m : Members()) {
      const cBlock& expected = m.group >= 0 ? from : own;
      EXPECT_EQ(m.value(block), m.value(expected)) << m.name;
    }
    EXPECT_EQ(block.m_InheritSource, c.sourceAfter);
    EXPECT_EQ(block.m_InheritIndex, c.indexAfter);
    EXPECT_EQ(block.m_InheritFlags.size(), c.flagCount);
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
  }
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "");
}

TEST_F(BlockTest, EntriesInheritFromEntriesAlreadyRead) {
  // A palette read in place: entry 2 of the stage palette names entry 1, read just before it.
  CheckedVector<cBlock> palette(3);
  LoadContext().stagePalette.blocks = &palette;
  BlockValues first = OwnValues();
  first.name = "first";
  ASSERT_FALSE(ReadFrom(palette.At(1), FileOf(556, BlockRecord(first))));
  BlockValues second = OwnValues();
  second.name = "second";
  second.inheritSource = kInheritStage;
  second.inheritIndex = 1;
  second.flags[0] = 1;
  ASSERT_FALSE(ReadFrom(palette.At(2), FileOf(556, BlockRecord(second))));
  EXPECT_EQ(palette.At(2).m_Name, "first");
}

struct NormalizeCase {
  const char* name;
  std::int8_t source;
  std::int16_t index;
  std::int16_t chipIndex;
  std::int8_t writtenSource;
  std::int16_t writtenIndex;
  std::uint8_t writtenSolid;
  std::uint8_t writtenSummonProof;
};

TEST_F(BlockTest, WritingNormalisesFirst) {
  const NormalizeCase cases[] = {
      {"in range", kInheritStage, 4, 7, kInheritStage, 4, 2, 1},
      {"stage entry 5 of 5", kInheritStage, 5, 7, kInheritNone, 0, 2, 1},
      {"index -1 set in memory", kInheritCommon, -1, 7, kInheritNone, 0, 2, 1},
      {"source 3 is left alone", 3, 700, 7, 3, 700, 2, 1},
      {"an empty cell is neither solid nor summon-proof", kInheritNone, 0, 0, kInheritNone, 0, 0, 0},
  };
  for (const NormalizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cBlock block;
    block.m_InheritSource = c.source;
    block.m_InheritIndex = c.index;
    block.m_ChipIndex = c.chipIndex;
    block.m_Solid = kSolidDeadly;
    block.m_SummonProof = 1;
    BlockValues expected;
    expected.inheritSource = c.writtenSource;
    expected.inheritIndex = c.writtenIndex;
    expected.chipIndex = c.chipIndex;
    expected.solid = c.writtenSolid;
    expected.summonProof = c.writtenSummonProof;
    EXPECT_EQ(HexBytes(Written(block)), HexBytes(BlockRecord(expected).Data()));
  }
}

TEST_F(BlockTest, ReadIndexMinusOneKeepsItsIndexUntilWritten) {
  BlockValues v = OwnValues();
  v.inheritSource = kInheritCommon;
  v.inheritIndex = -1;
  cBlock block;
  ASSERT_FALSE(ReadFrom(block, FileOf(556, BlockRecord(v))));
  EXPECT_EQ(block.m_InheritSource, kInheritNone);
  EXPECT_EQ(block.m_InheritIndex, -1);
  // The normaliser only looks at sources 1 and 2, so the index goes out as it is.
  const std::vector<std::uint8_t> bytes = Written(block);
  EXPECT_EQ(bytes[4], 0);
  EXPECT_EQ(bytes[5], 0xFF);
  EXPECT_EQ(bytes[6], 0xFF);
}

struct ItemRefCase {
  std::int8_t source;
  std::int16_t index;
  std::int8_t sourceAfter;
  std::int16_t indexAfter;
};

TEST_F(BlockTest, ItemReferencesOutsideTheirListAreDropped) {
  // Three items in the common palette, one in the stage palette.
  const ItemRefCase cases[] = {
      {1, 2, 1, 2}, {1, 3, 0, 0}, {1, -1, 0, 0}, {2, 0, 2, 0}, {2, 1, 0, 0}, {0, 9, 0, 9}, {3, 9, 3, 9},
  };
  for (const ItemRefCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "source " << int(c.source) << " index " << c.index);
    cBlock block;
    block.m_ItemSource = c.source;
    block.m_ItemIndex = c.index;
    block.NormalizeItemRef(3, 1);
    EXPECT_EQ(block.m_ItemSource, c.sourceAfter);
    EXPECT_EQ(block.m_ItemIndex, c.indexAfter);
  }
}

TEST_F(BlockTest, WriteReadWriteIsByteIdentical) {
  BlockValues v = OwnValues();
  v.name = SJ("ソ\\ブロック");
  v.inheritSource = kInheritStage;
  v.inheritIndex = 3;
  v.flags.assign(13, 0);
  v.flags[12] = 1;  // selects no group
  v.conditionMode = 1;
  v.keepOnceMet = 1;
  v.chipSource = kChipCharaBitmap;
  v.chipFrame = -2;
  v.frontLayer = 1;
  v.hidden = 1;
  v.markMode = 2;
  v.solid = kSolidDeadly;
  v.passGroup = 7;
  v.cellEffect = 5;
  v.effectValue = -123456;
  v.itemSource = 2;
  v.itemIndex = 300;
  v.summonProof = 1;
  v.conditions.push_back({.kind = kConditionDistance, .value = 12, .op = 1, .shape = 6});
  cBlock block;
  ASSERT_FALSE(ReadFrom(block, FileOf(556, BlockRecord(v))));
  const std::vector<std::uint8_t> first = Written(block);
  EXPECT_EQ(HexBytes(first), HexBytes(BlockRecord(v).Data()));
  cBlock again;
  ASSERT_FALSE(ReadFrom(again, cByteBuilder().U32(556).Bytes(first)));
  EXPECT_EQ(HexBytes(Written(again)), HexBytes(first));
}

TEST_F(BlockTest, CopiesAndMapCellsOwnTheirValues) {
  cBlock source;
  ASSERT_FALSE(ReadFrom(source, FileOf(556, BlockRecord(OwnValues()))));
  cBlock copy;
  copy = source;
  source.m_Conditions[0].m_Value = 77;
  source.m_InheritFlags[0] = 9;
  EXPECT_EQ(copy.m_Conditions.At(0).m_Value, 3);
  EXPECT_EQ(copy.m_InheritFlags.At(0), 0);
  EXPECT_EQ(copy.m_PosX, 12);
  EXPECT_EQ(copy.m_Name, "own");
  // The copy's registration is its own: writing it gives its values, not the source's.
  BlockValues expected = OwnValues();
  EXPECT_EQ(HexBytes(Written(copy)), HexBytes(BlockRecord(expected).Data()));

  cMapCell cell(source);
  cell.m_ConditionLatch = 1;
  cMapCell moved = cell;
  EXPECT_EQ(moved.m_ConditionLatch, 1u);
  cell = m_Stage.At(2);
  EXPECT_EQ(cell.m_ConditionLatch, 0u);
  EXPECT_EQ(cell.m_Name, "entry12");
  EXPECT_EQ(cell.m_Conditions.size(), 2u);
  // The cell writes as the block it holds; the latch is not saved.
  EXPECT_EQ(HexBytes(Written(cell)), HexBytes(Written(m_Stage.At(2))));
}

TEST_F(BlockTest, DamagedFilesAreReportedAndNeverOverrun) {
  BlockValues v = OwnValues();
  v.name = "damaged";
  v.conditions.push_back({.kind = kConditionStatus});
  const cByteBuilder whole = FileOf(556, BlockRecord(v));
  // Every cut of the file short of its end.
  for (std::size_t cut = 0; cut < whole.Size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    const std::vector<std::uint8_t> part(whole.Data().begin(), whole.Data().begin() + static_cast<long>(cut));
    cBlock block;
    EXPECT_TRUE(ReadFrom(block, cByteBuilder().Bytes(part)));
  }

  // Counts far beyond the file: not acted on, the members keep what they had.
  BlockValues head = OwnValues();
  head.flags.clear();
  head.conditions.clear();
  cByteBuilder hugeFlags = BlockRecord(head);
  hugeFlags = FileOf(
      556, cByteBuilder().Bytes(std::vector<std::uint8_t>(hugeFlags.Data().begin(), hugeFlags.Data().end() - 8)));
  hugeFlags.U32(0xFFFFFFF0).Bytes({1, 1, 1});
  cBlock block;
  EXPECT_TRUE(ReadFrom(block, hugeFlags));
  EXPECT_EQ(block.m_InheritFlags.size(), 11u);

  cByteBuilder hugeConditions = FileOf(556, BlockRecord(head));
  const std::vector<std::uint8_t> bytes(hugeConditions.Data().begin(), hugeConditions.Data().end() - 4);
  cBlock other;
  other.m_Conditions.resize(1);
  EXPECT_TRUE(ReadFrom(other, cByteBuilder().Bytes(bytes).U32(0x7FFFFFFF).Bytes({0, 0, 0, 0, 0, 0, 0, 0})));
  EXPECT_EQ(other.m_Conditions.size(), 1u);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(BlockTest, VocabularyRowsAreTheStoredValues) {
  EXPECT_EQ(InheritSourceLabels[kInheritStage], SJ("ステージパレット"));
  EXPECT_EQ(ChipSourceLabels[kChipCharaBitmap], SJ("専用bmp"));
  EXPECT_EQ(PassGroupLabel(-1), SJ("なし"));
  EXPECT_EQ(PassGroupLabel(7), "7");
  EXPECT_EQ(CellEffectLabels[3], SJ("移動速度変更 X=％"));
  EXPECT_EQ(SolidLabels.Size(), 4);
}

}  // namespace
