#include <algorithm>

#include "tests/play/stage_graphics_fixture.h"

namespace {

class StageBitmapsTest : public StageGraphicsTest {};

// Each list's shared copies point at the records they copy, entry by entry.
void ExpectLinks(const std::vector<DDSURFACEDATA>& list, std::size_t perEntry, const char* name) {
  for (std::size_t base = 0; base < list.size(); base += perEntry)
    for (std::size_t k = 0; k < perEntry; ++k) {
      const DDSURFACEDATA* expected = k >= perEntry / 2 ? &list[base + k - perEntry / 2] : nullptr;
      EXPECT_EQ(list[base + k].shared, expected) << name << " record " << base + k;
    }
}

TEST_F(StageBitmapsTest, ListsHoldTheirRecordsInOrderWithSharedCopiesLinked) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartStage(backEnd);
    SetCharaBitmaps();
    SetSwords({{"bmp\\sword_l.bmp", "bmp\\sword_r.bmp"}, {"bmp\\sword_r.bmp", "bmp\\sword_l.bmp"}});
    SetEffects({"bmp\\effect.bmp"});
    LoadLists();

    // Dedicated bitmaps and effects from entry 1 on; swords from entry 0, the default sword too.
    ASSERT_EQ(g_CharaExcSurfaces.size(), 12u);
    ASSERT_EQ(g_CharaExcDescriptors.size(), 12u);
    ASSERT_EQ(g_SwordSurfaces.size(), 8u);
    ASSERT_EQ(g_SwordDescriptors.size(), 8u);
    ASSERT_EQ(g_EffectSurfaces.size(), 2u);
    ASSERT_EQ(g_EffectDescriptors.size(), 2u);
    ExpectLinks(g_CharaExcSurfaces, 4, "dedicated");
    ExpectLinks(g_SwordSurfaces, 4, "sword");
    ExpectLinks(g_EffectSurfaces, 2, "effect");

    // The descriptors say how each record was made: keyed, the copies in system memory and shared,
    // the mirrored dedicated records by the entry's cell width (64 dots for cell size 2).
    struct sRow {
      const std::vector<SurfaceDescriptor>* list;
      std::size_t index;
      const char* name;
      std::int32_t systemMemory, shared, mirrorCellWidth;
    };
    const sRow rows[] = {
        {&g_CharaExcDescriptors, 0, "bmp\\CharaExc\\big.bmp", 0, 0, 0},
        {&g_CharaExcDescriptors, 1, "bmp\\CharaExc\\big.bmp", 0, 0, 64},
        {&g_CharaExcDescriptors, 2, "bmp\\CharaExc\\big.bmp", 1, 1, 0},
        {&g_CharaExcDescriptors, 3, "bmp\\CharaExc\\big.bmp", 1, 1, 64},
        {&g_CharaExcDescriptors, 9, "bmp\\CharaExc\\small.bmp", 0, 0, 32},
        {&g_SwordDescriptors, 0, "bmp\\sword_l.bmp", 0, 0, 0},
        {&g_SwordDescriptors, 1, "bmp\\sword_r.bmp", 0, 0, 0},
        {&g_SwordDescriptors, 3, "bmp\\sword_r.bmp", 1, 1, 0},
        {&g_SwordDescriptors, 4, "bmp\\sword_r.bmp", 0, 0, 0},
        {&g_EffectDescriptors, 0, "bmp\\effect.bmp", 0, 0, 0},
        {&g_EffectDescriptors, 1, "bmp\\effect.bmp", 1, 1, 0},
    };
    for (const sRow& row : rows) {
      const SurfaceDescriptor& d = (*row.list)[row.index];
      EXPECT_EQ(d.name, row.name) << row.index;
      EXPECT_EQ(d.colourKey, 1) << row.name;
      EXPECT_EQ(d.systemMemory, row.systemMemory) << row.name << " " << row.index;
      EXPECT_EQ(d.shared, row.shared) << row.name << " " << row.index;
      EXPECT_EQ(d.mirrorCellWidth, row.mirrorCellWidth) << row.name << " " << row.index;
    }

    // The pictures themselves: sizes from their files, the mirrored sheet mirrored by 64-dot cells.
    EXPECT_EQ(g_SwordSurfaces[0].width, 32);
    EXPECT_EQ(g_SwordSurfaces[1].width, 48);
    EXPECT_EQ(g_EffectSurfaces[0].width, 64);
    EXPECT_EQ(g_CharaExcSurfaces[8].width, 64);
    EXPECT_EQ(PixelsOf(g_CharaExcSurfaces[0]).Pixel(70, 3), Stored(SheetPixel(0x80, 64, 70, 3)));
    EXPECT_EQ(PixelsOf(g_CharaExcSurfaces[1]).Pixel(70, 3), Stored(MirroredSheetPixel(0x80, 64, 70, 3)));
    EXPECT_NE(SheetPixel(0x80, 64, 70, 3), MirroredSheetPixel(0x80, 64, 70, 3)) << "the case must tell them apart";
  }
}

TEST_F(StageBitmapsTest, AFailedPictureLeavesAnEmptyRecordAndTheRestLoads) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartStage(backEnd);
    SetCharaBitmaps();
    SetSwords({{"bmp\\gone_l.bmp", "bmp\\sword_r.bmp"}});
    SetEffects({"bmp\\gone.bmp", "bmp\\effect.bmp"});
    LoadLists();

    // Dedicated bitmap 2 is missing: its four records are empty, bitmap 3 after it loaded.
    ASSERT_EQ(g_CharaExcSurfaces.size(), 12u);
    for (std::size_t i = 4; i < 8; ++i)
      EXPECT_TRUE(!g_CharaExcSurfaces[i].lpDDPart && !g_CharaExcSurfaces[i].lpDT) << i;
    EXPECT_EQ(g_CharaExcSurfaces[8].width, 64);
    EXPECT_EQ(g_SwordSurfaces[1].width, 48);
    EXPECT_EQ(g_EffectSurfaces[2].width, 64);

    // Drawing from the empty records draws nothing and play goes on.
    DDSURFACEDATA target;
    ASSERT_TRUE(DDCreateSurface(&target, 32, 32, 0, 0, 0, 0, 0));
    PixelsOf(target).Fill(0x123456);
    cChipSource chip;
    GetChipSource(chip, kChipForObject, kChipCharaExc, 2, 0, 1, 0);
    EXPECT_EQ(chip.m_Surface, CharaExc(5));
    DDBlt(&target, 0, 0, 32, 32, chip.m_Surface, chip.m_SourceX, chip.m_SourceY, 1);
    DDStretchBlt(&target, 0, 0, 32, 32, chip.m_SharedSurface, 0, 0, 16, 16, 1);
    DrawChipIcon(&target, 0, 0, kChipCharaExc, 2, 0);
    EXPECT_EQ(PixelsOf(target).Pixel(8, 8) & 0xFFFFFF, 0x123456u);
    DDReleaseSurface(&target);

    const std::string log = DebugLog();
    EXPECT_NE(log.find("専用bmp bmp\\CharaExc\\missing.bmp 読み込み失敗！"), std::string::npos) << log;
    EXPECT_NE(log.find("ソード bmp\\gone_l.bmp 読み込み失敗！"), std::string::npos) << log;
    EXPECT_NE(log.find("エフェクト bmp\\gone.bmp 読み込み失敗！"), std::string::npos) << log;
    EXPECT_EQ(log.find("sword_r.bmp 読み込み失敗"), std::string::npos) << "only what failed is named";
  }
}

TEST_F(StageBitmapsTest, LoadingAgainReplacesTheOldRecords) {
  StartStage(BackEnd::Direct3D);
  SetCharaBitmaps();
  // Under Direct3D every record with a texture of its own is listed for the device restore: two per
  // loaded bitmap (the shared copies have none), none for the missing one.
  const std::size_t before = g_DynamicSurfaces.size();
  LoadCharaBitmaps();
  EXPECT_EQ(g_DynamicSurfaces.size(), before + 4);
  // A smaller database: the old records are released, not left listed.
  g_Database.m_CharaBitmaps.resize(2);
  LoadCharaBitmaps();
  EXPECT_EQ(g_CharaExcSurfaces.size(), 4u);
  EXPECT_EQ(g_CharaExcDescriptors.size(), 4u);
  EXPECT_EQ(g_DynamicSurfaces.size(), before + 2);
  EXPECT_EQ(g_CharaExcSurfaces[2].shared, &g_CharaExcSurfaces[0]);

  // A database with nothing after entry 0 leaves the list empty.
  g_Database.m_CharaBitmaps.resize(1);
  LoadCharaBitmaps();
  EXPECT_TRUE(g_CharaExcSurfaces.empty());
  EXPECT_TRUE(g_CharaExcDescriptors.empty());
  EXPECT_EQ(g_DynamicSurfaces.size(), before);
}

TEST_F(StageBitmapsTest, CellScaleStaysWithinOneRowOfCells) {
  cBmpCharaExcDef def;
  struct sCase {
    std::int32_t large, scale, expected;
  };
  for (const sCase& c :
       {sCase{0, 4, 1}, sCase{1, 2, 2}, sCase{1, 0, 1}, sCase{1, -3, 1}, sCase{1, 16, 16}, sCase{1, 40, 16}}) {
    def.m_LargeCells = c.large;
    def.m_CellScale = c.scale;
    EXPECT_EQ(CharaExcCellScale(def), c.expected) << c.large << " " << c.scale;
  }
}

}  // namespace
