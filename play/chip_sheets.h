#pragma once
// Where the picture of a stage object comes from. Every block, character, item and shot shows one
// cell ("chip") of a sheet: the block sheet, the eight character sheets, the item sheets, the shot
// sheets composed at play-scene entry, or a dedicated bitmap of the database. A chip is found by
// its graphic kind and number; GetChipSource gives its surfaces and source position, DrawChipIcon
// draws a 16x16 icon of it.
#include <cstdint>

#include "project/block.h"

struct DDSURFACEDATA;

// Graphic kinds, as blocks, characters, items and shots store them (u8): kChipBlock, kChipChara,
// kChipItem, kChipShot and the dedicated bitmaps (block.h). Others select nothing.
constexpr std::int32_t kChipCharaExc = kChipCharaBitmap;  // 専用bmp
constexpr std::int32_t kChipKindCount = 5;

// Modes of GetChipSource.
constexpr std::int32_t kChipPlain = 0;
constexpr std::int32_t kChipForObject = 1;  // both facings, and the frame column plus the extra column
constexpr std::int32_t kChipItemFrame = 2;  // an item's frame column (the extra column) is added

// Rows of g_SurfaceTable that hold the sheets.
constexpr std::int32_t kBlockSheet = 2;
constexpr std::int32_t kBlockSheetShared = 3;
constexpr std::int32_t kCharaSheet = 4;         // sheet k (0..7) at 4 + 2k, mirrored at 5 + 2k
constexpr std::int32_t kCharaSheetShared = 22;  // their shared copies, 18 rows further
constexpr std::int32_t kCharaSharedOffset = kCharaSheetShared - kCharaSheet;
constexpr std::int32_t kCharaSheetCount = 8;
constexpr std::int32_t kShotPicture = 20;          // Shot.bmp, 16x16 frames
constexpr std::int32_t kShotPictureMirrored = 21;  // the same mirrored in 16-dot cells
constexpr std::int32_t kItemSheet = 40;
constexpr std::int32_t kItemSheetShared = 41;
constexpr std::int32_t kItemMiniSheet = 42;
constexpr std::int32_t kMarkSheet = 43;        // Mark.bmp: the marks over cells, items and characters
constexpr std::int32_t kMarkSheetShared = 44;  // its shared copy, for stretched marks
constexpr std::int32_t kShotSheet = 63;          // composed from 20: each frame centred in a 32x32 chip
constexpr std::int32_t kShotSheetMirrored = 64;  // composed from 21
// The work surfaces that screen and character effects draw through: 67, and 68 its system-memory
// copy (under Direct3D 68 shows 67's image).
constexpr std::int32_t kEffectWorkSurface = 67;
constexpr std::int32_t kEffectWorkCopy = 68;

// Chips per column of a sheet.
constexpr std::int32_t kChipsPerColumn = 15;
constexpr std::int32_t kShotsPerColumn = 30;
constexpr std::int32_t kChipSize = 32;
// Frame columns of a character sheet (640 dots); columns from here on count on the mirrored sheet.
constexpr std::int32_t kCharaFrameColumns = 20;

// The surfaces and source position of one chip. The draw request of characters extends it.
struct cChipSource {
  DDSURFACEDATA* m_Surface = nullptr;             // as the object faces
  DDSURFACEDATA* m_SharedSurface = nullptr;       // its shared copy (stretches and software effects read it)
  DDSURFACEDATA* m_OtherSurface = nullptr;        // facing the other way
  DDSURFACEDATA* m_OtherSharedSurface = nullptr;  // its shared copy
  std::int32_t m_LargeCells = 0;                  // 1: a dedicated bitmap with cells of m_CellScale x 32 dots
  std::uint8_t m_CellScale = 1;
  std::int32_t m_SourceX = 0;
  std::int32_t m_SourceY = 0;
};

// Fills the composed shot sheets 63 and 64 from the shot picture 20 and its mirror 21: palette
// colour 0, then frame pair (32k, 16r), (32k + 16, 16r) of the picture at (64k + 8, 32r + 8) and
// (64k + 40, 32r + 8), so shot 30k + r is two 32x32 chips side by side. At play-scene entry and
// whenever the sheets were lost.
void ComposeChipSheets();

// The chip of graphic kind `kind`, number `number`. `column` is the frame column (a character's
// graphic base, a block's or item's frame column) and `extraColumn` the frame added to it in modes
// 1 and 2. In mode 1 the caller passes the direction of its object (0 facing left, 1 facing right;
// any other value counts as 1); the other modes ignore it. The large-cell flag and the multiplier
// are reset first. In modes other than 1, kinds 1, 3 and 4 leave the two other-facing entries as
// they were. A kind that selects nothing (above 4, or a dedicated bitmap the database does not
// have) leaves the record with no surface, so nothing is drawn from it.
void GetChipSource(cChipSource& chip, std::int32_t mode, std::int32_t kind, std::int32_t number, std::int32_t column,
                   std::int32_t direction, std::int32_t extraColumn);

// A 16x16 icon of the chip at (x, y), with the colour key: block, character, shot and dedicated
// chips shrunk from their shared copies, items from the mini-icon sheet. Other kinds draw nothing.
void DrawChipIcon(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t kind, std::int32_t number,
                  std::int32_t frame);
