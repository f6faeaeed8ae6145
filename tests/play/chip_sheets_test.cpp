#include "tests/play/stage_graphics_fixture.h"

namespace {

class ChipSheetsTest : public StageGraphicsTest {
 protected:
  // Pixel (x, y) of composed sheet 63 (or 64, from the mirrored shot picture): each 16x16 frame
  // pair of the shot picture centred in its two 32x32 chips, the rest palette colour 0.
  std::uint32_t Composed(int x, int y, bool mirrored) const {
    const int k = x / 64, within = x % 64, r = y / 32, inY = y % 32;
    const int frame = within < 32 ? 0 : 1;
    const int inX = within - (frame ? 40 : 8);
    if (k >= 4 || r >= 30 || inX < 0 || inX >= 16 || inY < 8 || inY >= 24) return FillColour();
    const int sx = 32 * k + 16 * frame + inX, sy = 16 * r + inY - 8;
    const std::uint32_t rgb = mirrored ? MirroredSheetPixel(0x50, 16, sx, sy) : SheetPixel(0x50, 16, sx, sy);
    return rgb == kSheetKey ? FillColour() : Stored(rgb);
  }
};

// Surfaces of the expected records: table rows from 0, dedicated-list entries, an entry the call
// must leave as it was, or no surface.
constexpr int kKeep = -1;
constexpr int kNone = -2;
constexpr int X(int index) { return -100 - index; }

struct sChipCase {
  const char* name;
  std::int32_t mode, kind, number, column, direction, extra;
  int facing, facingShared, other, otherShared;
  std::int32_t x, y, largeCells, cellScale;
};

// clang-format off
const sChipCase kChipCases[] = {
    // name                                mode kind  n   col dir extra  facing shared other  oShared   x    y   L  k
    {"block 17",                             0, 0,   17,   0, 0, 0,      2,     3,     2,     3,      32,  64, 0, 1},
    {"block ignores facing",                 1, 0,   17,   0, 1, 0,      2,     3,     2,     3,      32,  64, 0, 1},
    {"chara 15 is row 0 of sheet 2",         0, 1,   15,   1, 0, 0,      6,     24,    kKeep, kKeep,  32,  0,  0, 1},
    {"chara 119 is row 14 of sheet 8",       0, 1,   119,  0, 0, 0,      18,    36,    kKeep, kKeep,  0,   448,0, 1},
    {"chara column 20 on: mirrored sheet",   0, 1,   16,   21,0, 0,      7,     25,    kKeep, kKeep,  32,  32, 0, 1},
    {"chara for object facing left",         1, 1,   15,   1, 0, 0,      6,     24,    7,     25,     32,  0,  0, 1},
    {"chara for object facing right",        1, 1,   119,  0, 1, 1,      19,    37,    18,    36,     32,  448,0, 1},
    {"chara stray direction faces right",    1, 1,   0,    0, 5, 0,      5,     23,    4,     22,     0,   0,  0, 1},
    {"chara frame beyond the sheet",         1, 1,   16,   1, 0, 1,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara column beyond the sheet",        0, 1,   3,    2, 0, 0,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara mirrored column beyond",         0, 1,   3,    22,0, 0,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara on a sheet not loaded",          0, 1,   30,   0, 0, 0,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara beyond the eighth sheet",        1, 1,   120,  0, 0, 0,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara negative number",                0, 1,   -1,   0, 0, 0,      4,     22,    4,     22,     0,   0,  0, 1},
    {"chara negative frame",                 1, 1,   1,    0, 0, -1,     4,     22,    4,     22,     0,   0,  0, 1},
    {"item plain ignores the extra column",  0, 2,   16,   5, 0, 1,      40,    41,    40,    41,     64,  32, 0, 1},
    {"item with its frame column",           2, 2,   16,   5, 0, 1,      40,    41,    40,    41,     96,  32, 0, 1},
    {"item for object",                      1, 2,   29,   0, 1, 1,      40,    41,    40,    41,     64,  448,0, 1},
    {"shot 31",                              0, 3,   31,   0, 0, 0,      63,    63,    kKeep, kKeep,  64,  32, 0, 1},
    {"shot facing left",                     1, 3,   31,   3, 0, 1,      63,    63,    64,    64,     64,  32, 0, 1},
    {"shot facing right",                    1, 3,   59,   0, 1, 0,      64,    64,    63,    63,     64,  928,0, 1},
    {"dedicated cell size 2 frame 9",        0, 4,   1,    9, 0, 0,      X(0),  X(2),  kKeep, kKeep,  64,  64, 1, 2},
    {"dedicated for object facing right",    1, 4,   1,    4, 1, 5,      X(1),  X(3),  X(0),  X(2),   64,  64, 1, 2},
    {"dedicated small cells facing left",    1, 4,   3,    17,0, 0,      X(8),  X(10), X(9),  X(11),  32,  32, 0, 1},
    {"dedicated that failed to load",        2, 4,   2,    1, 0, 3,      X(4),  X(6),  kKeep, kKeep,  32,  0,  0, 1},
    {"dedicated 0 is none",                  1, 4,   0,    0, 0, 0,      kNone, kNone, kNone, kNone,  0,   0,  0, 1},
    {"dedicated beyond the database",        1, 4,   4,    0, 0, 0,      kNone, kNone, kNone, kNone,  0,   0,  0, 1},
    {"kind 5 selects nothing",               0, 5,   1,    0, 0, 0,      kNone, kNone, kNone, kNone,  0,   0,  0, 1},
};
// clang-format on

TEST_F(ChipSheetsTest, ChipSourcesByKindAndMode) {
  StartStage(BackEnd::DirectDraw);
  SetCharaBitmaps();
  LoadCharaBitmaps();
  DDSURFACEDATA untouched;
  auto resolve = [&](int code) -> DDSURFACEDATA* {
    if (code == kKeep) return &untouched;
    if (code == kNone) return nullptr;
    if (code <= X(0)) return CharaExc(static_cast<std::size_t>(X(0) - code));
    return TableRow(code);
  };
  for (const sChipCase& c : kChipCases) {
    // A record left from an earlier chip: the flag and multiplier must be reset.
    cChipSource chip{&untouched, &untouched, &untouched, &untouched, 1, 7, -5, -5};
    GetChipSource(chip, c.mode, c.kind, c.number, c.column, c.direction, c.extra);
    EXPECT_EQ(chip.m_Surface, resolve(c.facing)) << c.name;
    EXPECT_EQ(chip.m_SharedSurface, resolve(c.facingShared)) << c.name;
    EXPECT_EQ(chip.m_OtherSurface, resolve(c.other)) << c.name;
    EXPECT_EQ(chip.m_OtherSharedSurface, resolve(c.otherShared)) << c.name;
    EXPECT_EQ(chip.m_SourceX, c.x) << c.name;
    EXPECT_EQ(chip.m_SourceY, c.y) << c.name;
    EXPECT_EQ(chip.m_LargeCells, c.largeCells) << c.name;
    EXPECT_EQ(chip.m_CellScale, c.cellScale) << c.name;
  }
}

TEST_F(ChipSheetsTest, ComposedShotSheetsCentreEachFrameInItsChip) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartStage(backEnd);
    ComposeChipSheets();

    // Shot 31: chip (64, 32) of sheet 63, built from the picture's cells (32, 16) and (48, 16).
    cChipSource chip;
    GetChipSource(chip, kChipPlain, kChipShot, 31, 0, 0, 0);
    ASSERT_EQ(chip.m_Surface, TableRow(kShotSheet));
    const cPixelBuffer& sheet = PixelsOf(*TableRow(kShotSheet));
    EXPECT_EQ(sheet.Pixel(chip.m_SourceX + 8 + 5, chip.m_SourceY + 8 + 3),
              Stored(SheetPixel(0x50, 16, 32 + 5, 16 + 3)));
    EXPECT_EQ(sheet.Pixel(chip.m_SourceX + 40 + 9, chip.m_SourceY + 8 + 12),
              Stored(SheetPixel(0x50, 16, 48 + 9, 16 + 12)));
    EXPECT_EQ(sheet.Pixel(chip.m_SourceX + 8, chip.m_SourceY + 8), FillColour()) << "the key is not copied";
    EXPECT_EQ(sheet.Pixel(chip.m_SourceX + 3, chip.m_SourceY + 3), FillColour()) << "the chip's border";

    // Both sheets whole: 64 from the mirrored picture, whose key dots sit at each frame's right.
    for (int mirrored = 0; mirrored < 2; ++mirrored) {
      const cPixelBuffer& pixels = PixelsOf(*TableRow(mirrored ? kShotSheetMirrored : kShotSheet));
      int wrong = 0;
      for (int y = 0; y < 960; ++y)
        for (int x = 0; x < 256; ++x)
          if (pixels.Pixel(x, y) != Composed(x, y, mirrored != 0) && wrong++ < 5)
            ADD_FAILURE() << "sheet " << 63 + mirrored << " at (" << x << ", " << y << "): " << std::hex
                          << pixels.Pixel(x, y) << " not " << Composed(x, y, mirrored != 0);
      EXPECT_EQ(wrong, 0) << "sheet " << 63 + mirrored;
    }
    EXPECT_NE(PixelsOf(*TableRow(kShotSheetMirrored)).Pixel(8, 8), FillColour()) << "the mirror moved the key dots";
  }
}

TEST_F(ChipSheetsTest, IconsShrinkTheirChipToSixteenDots) {
  struct sCase {
    const char* name;
    std::int32_t kind, number, frame;
    std::uint32_t tag;
    int cell;
    int sx, sy;  // the chip's top-left dot on its sheet
    int step;    // source dots per icon dot; 1 for the unscaled mini icons
  };
  // Each icon dot (c, r) shows the source dot in the middle of its step x step block, or the
  // destination's own colour where that dot is transparent. Under Direct3D the shared copies that
  // the icons read show their source records' images, the dedicated ones by the list's links.
  // clang-format off
  const sCase cases[] = {
      {"block 17 from the shared copy",    0, 17, 5, 0x10, 32, 32, 64,  2},
      {"chara 17 frame 1 of sheet 2",      1, 17, 1, 0x30, 32, 32, 64,  2},
      {"item 16 mini icon",                2, 16, 3, 0x70, 16, 32, 16,  1},
      {"shot 31 of the composed sheet",    3, 31, 0, 0,    0,  64, 32,  2},
      {"dedicated cell size 2 frame 9",    4, 1,  9, 0x80, 64, 64, 64,  4},
      {"dedicated small cells frame 1",    4, 3,  1, 0x90, 32, 32, 0,   2},
  };
  // clang-format on
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartStage(backEnd);
    SetCharaBitmaps();
    LoadCharaBitmaps();
    ComposeChipSheets();
    const std::uint32_t background = Stored(0x000001);
    // A transparent source dot: the key under DirectDraw, transparent black under Direct3D.
    auto shown = [&](std::uint32_t stored) { return stored == Stored(kSheetKey) ? background : stored; };

    DDSURFACEDATA target;
    ASSERT_TRUE(DDCreateSurface(&target, 16, 16, 0, 0, 0, 0, 0));
    for (const sCase& c : cases) {
      PixelsOf(target).Fill(background);
      DrawChipIcon(&target, 0, 0, c.kind, c.number, c.frame);
      for (int r = 0; r < 16; ++r)
        for (int col = 0; col < 16; ++col) {
          const int x = c.sx + col * c.step + c.step / 2, y = c.sy + r * c.step + c.step / 2;
          const std::uint32_t stored =
              c.kind == kChipShot ? Composed(x, y, false) : Stored(SheetPixel(c.tag, c.cell, x, y));
          ASSERT_EQ(PixelsOf(target).Pixel(col, r), shown(stored)) << c.name << " at (" << col << ", " << r << ")";
        }
    }

    // Placed at (x, y); other kinds, and a dedicated bitmap the database lacks, draw nothing.
    DDSURFACEDATA wide;
    ASSERT_TRUE(DDCreateSurface(&wide, 40, 20, 0, 0, 0, 0, 0));
    PixelsOf(wide).Fill(background);
    DrawChipIcon(&wide, 20, 3, kChipBlock, 0, 0);
    EXPECT_EQ(PixelsOf(wide).Pixel(20, 3), background) << "the key dot of chip 0";
    EXPECT_EQ(PixelsOf(wide).Pixel(21, 4), Stored(SheetPixel(0x10, 32, 3, 3)));
    EXPECT_EQ(PixelsOf(wide).Pixel(19, 4), background);
    EXPECT_EQ(PixelsOf(wide).Pixel(35, 18), Stored(SheetPixel(0x10, 32, 31, 31)));
    EXPECT_EQ(PixelsOf(wide).Pixel(36, 18), background);
    PixelsOf(target).Fill(background);
    for (std::int32_t kind : {5, -1, 255}) DrawChipIcon(&target, 0, 0, kind, 1, 0);
    DrawChipIcon(&target, 0, 0, kChipCharaExc, 0, 0);
    DrawChipIcon(&target, 0, 0, kChipCharaExc, 4, 0);
    DrawChipIcon(&target, 0, 0, kChipChara, 120, 0);
    for (int r = 0; r < 16; ++r)
      for (int col = 0; col < 16; ++col) ASSERT_EQ(PixelsOf(target).Pixel(col, r), background);
    DDReleaseSurface(&target);
    DDReleaseSurface(&wide);
  }
}

}  // namespace
