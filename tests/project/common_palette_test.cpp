// The common palette: its file layout, entry 0 and the inherit flags after reading, filling short
// lists, and a byte-identical round trip.
#include <algorithm>

#include "project/common_palette.h"
#include "tests/project/block_fixture.h"

namespace {

class CommonPaletteTest : public ProjectRecordTest {};

std::vector<std::uint8_t> PaletteFile(cDataRecord& record) {
  cRecordWriter out;
  out.WriteU32(g_CurrentVersion);
  record.Write(out);
  return out.Bytes();
}

// The bytes of one block as the current layout writes it.
std::vector<std::uint8_t> BlockBytes(cBlock block) {
  cRecordWriter out;
  block.Write(out);
  return out.Bytes();
}

void ReadPalette(cCommonPalette& palette, const std::vector<std::uint8_t>& bytes, bool expectDamaged = false) {
  cRecordReader in(bytes);
  palette.Read(in);
  EXPECT_EQ(in.Damaged(), expectDamaged);
}

TEST_F(CommonPaletteTest, EmptyListsReadAsTwoDefaultEntriesEach) {
  cByteBuilder file;
  file.U32(556).U32(0).U32(0).U32(0).U32(0).U32(0);
  cCommonPalette palette;
  palette.m_Blocks.resize(5);
  ReadPalette(palette, file.Data());
  ASSERT_EQ(palette.m_Blocks.size(), 2u);
  ASSERT_EQ(palette.m_Charas.size(), 2u);
  ASSERT_EQ(palette.m_Items.size(), 2u);
  EXPECT_EQ(BlockBytes(palette.m_Blocks[1]), BlockBytes(cBlock()));
  EXPECT_EQ(palette.m_Charas[1].m_MaxHp, 10);
  EXPECT_EQ(palette.m_Items[1].m_ChipSource, 2);
}

TEST_F(CommonPaletteTest, EntryZeroIsTheDefaultAndFlagsAreClearedWithInheritedValuesKept) {
  cBlock stored0;
  stored0.m_Name = "named";
  stored0.m_Solid = kSolidDeadly;
  stored0.m_PassGroup = 4;
  cBlock source;
  source.m_Name = "source";
  source.m_ChipIndex = 9;
  cBlock heir;
  heir.m_InheritSource = kInheritCommon;
  heir.m_InheritIndex = 1;
  heir.m_InheritFlags.assign(kBlockGroupCount, 0);
  heir.m_InheritFlags[0] = 1;  // the name
  heir.m_ChipIndex = 3;

  // The writer keeps an inherit reference only when its palette has the entry.
  CheckedVector<cBlock> writing(3);
  LoadContext().commonPalette.blocks = &writing;
  cByteBuilder file;
  file.U32(556).U32(0).U32(0).U32(3);
  for (const cBlock& b : {stored0, source, heir}) file.Bytes(BlockBytes(b));
  LoadContext().commonPalette.blocks = nullptr;
  file.U32(0).U32(0);

  cCommonPalette palette;
  ReadPalette(palette, file.Data());
  ASSERT_EQ(palette.m_Blocks.size(), 3u);
  EXPECT_EQ(palette.m_Blocks[0].m_Name, "");
  // An empty cell is never solid, so the default entry normalises to solid 0.
  EXPECT_EQ(BlockBytes(palette.m_Blocks[0]), BlockBytes(cBlock()));
  EXPECT_EQ(palette.m_Blocks[0].m_PassGroup, -1);
  EXPECT_EQ(palette.m_Blocks[2].m_Name, "source");
  EXPECT_EQ(palette.m_Blocks[2].m_ChipIndex, 3);
  for (const cBlock& b : palette.m_Blocks)
    EXPECT_TRUE(std::all_of(b.m_InheritFlags.begin(), b.m_InheritFlags.end(), [](std::uint8_t f) { return f == 0; }));
}

TEST_F(CommonPaletteTest, WriteReadWriteIsByteIdenticalWithAnEmptyBody) {
  cCommonPalette palette;
  palette.m_Blocks.resize(3);
  palette.m_Blocks[2].m_Name = "wall";
  palette.m_Blocks[2].m_ChipIndex = 12;
  palette.m_Charas.resize(4);
  palette.m_Charas[3].m_Name = "slime";
  palette.m_Items.resize(1);
  const std::vector<std::uint8_t> first = PaletteFile(palette);
  ASSERT_GE(first.size(), 12u);
  EXPECT_EQ(std::vector<std::uint8_t>(first.begin() + 4, first.begin() + 12), std::vector<std::uint8_t>(8, 0));

  cCommonPalette again;
  ReadPalette(again, first);
  EXPECT_EQ(again.m_Blocks.size(), 3u);
  EXPECT_EQ(again.m_Charas.size(), 4u);
  EXPECT_EQ(again.m_Items.size(), 2u);  // filled up when written
  EXPECT_EQ(PaletteFile(again), first);
}

TEST_F(CommonPaletteTest, DamagedFilesStopWithoutCrashing) {
  cCommonPalette source;
  source.m_Blocks.resize(4);
  source.m_Charas.resize(3);
  source.m_Items.resize(3);
  const std::vector<std::uint8_t> whole = PaletteFile(source);
  for (std::size_t cut = 4; cut < whole.size(); cut += 7) {
    cCommonPalette palette;
    ReadPalette(palette, std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)), true);
    EXPECT_GE(palette.m_Blocks.size(), 2u);
    EXPECT_GE(palette.m_Charas.size(), 2u);
    EXPECT_GE(palette.m_Items.size(), 2u);
  }
  // A block count no file of this size could hold.
  cByteBuilder huge;
  huge.U32(556).U32(0).U32(0).U32(0x7FFFFFFF);
  cCommonPalette palette;
  ReadPalette(palette, huge.Data(), true);
  EXPECT_EQ(palette.m_Blocks.size(), 2u);
}

}  // namespace
