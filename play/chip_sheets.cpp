#include "play/chip_sheets.h"

#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "play/stage_bitmaps.h"
#include "project/database.h"

namespace {

constexpr std::int32_t kIconSize = 16;
constexpr std::int32_t kShotFrame = 16;
constexpr std::int32_t kShotColumns = 4;
constexpr std::int32_t kShotSheetWidth = 256;
constexpr std::int32_t kShotSheetHeight = 960;
// Dedicated bitmaps without large cells hold 16 cells a row.
constexpr std::int32_t kCharaExcRowCells = 16;

DDSURFACEDATA* Row(std::int32_t row) { return &g_SurfaceTable[row]; }

void SetSurfaces(cChipSource& chip, std::int32_t facing, std::int32_t facingShared, std::int32_t other,
                 std::int32_t otherShared) {
  chip.m_Surface = Row(facing);
  chip.m_SharedSurface = Row(facingShared);
  chip.m_OtherSurface = Row(other);
  chip.m_OtherSharedSurface = Row(otherShared);
}

// Mode 1 faces one of two ways; a stray direction value must not reach a neighbouring sheet.
std::int32_t Facing(std::int32_t direction) { return direction != 0 ? 1 : 0; }

// The character sheet (0..7) of a chip number, or -1 for a number no sheet has.
std::int32_t CharaSheetOf(std::int32_t number) {
  if (number < 0) return -1;
  const std::int32_t sheet = number / kChipsPerColumn;
  return sheet < kCharaSheetCount ? sheet : -1;
}

// The dedicated bitmap entry n when both the database and the loaded list have it.
const cBmpCharaExcDef* CharaExcEntry(std::int32_t number) {
  if (number < 1 || number >= g_Database.m_CharaBitmaps.Size()) return nullptr;
  const auto last = static_cast<std::size_t>(number) * kCharaExcRecords;
  if (last > g_CharaExcSurfaces.size()) return nullptr;
  return &g_Database.m_CharaBitmaps.At(number);
}

// Cell f of a dedicated bitmap: 16 / k cells of 32k dots a row with large cells, else 16 of 32.
void CharaExcCell(const cBmpCharaExcDef& def, std::int32_t frame, std::int32_t* x, std::int32_t* y) {
  const std::int32_t scale = CharaExcCellScale(def);
  const std::int32_t perRow = def.m_LargeCells ? kCharaExcRowCells / scale : kCharaExcRowCells;
  *x = (frame % perRow) * kChipSize * scale;
  *y = (frame / perRow) * kChipSize * scale;
}

void BlockChip(cChipSource& chip, std::int32_t, std::int32_t number, std::int32_t, std::int32_t, std::int32_t) {
  SetSurfaces(chip, kBlockSheet, kBlockSheetShared, kBlockSheet, kBlockSheetShared);
  chip.m_SourceX = number / kChipsPerColumn * kChipSize;
  chip.m_SourceY = number % kChipsPerColumn * kChipSize;
}

void CharaChip(cChipSource& chip, std::int32_t mode, std::int32_t number, std::int32_t column, std::int32_t direction,
               std::int32_t extraColumn) {
  const std::int32_t sheet = CharaSheetOf(number);
  std::int32_t facing = kCharaSheet + 2 * sheet;
  std::int32_t x = 0;
  if (mode == kChipForObject) {
    facing += Facing(direction);
    x = (column + extraColumn) * kChipSize;
  } else if (column >= kCharaFrameColumns) {
    facing += 1;
    x = (column - kCharaFrameColumns) * kChipSize;
  } else {
    x = column * kChipSize;
  }
  const std::int32_t y = number % kChipsPerColumn * kChipSize;
  // A chip that starts outside its sheet (or a sheet that did not load) shows the first chip of
  // the first sheet, which every game has.
  if (sheet < 0 || x < 0 || y < 0 || x >= Row(facing)->width || y >= Row(facing)->height) {
    SetSurfaces(chip, kCharaSheet, kCharaSheetShared, kCharaSheet, kCharaSheetShared);
    chip.m_SourceX = 0;
    chip.m_SourceY = 0;
    return;
  }
  chip.m_Surface = Row(facing);
  chip.m_SharedSurface = Row(facing + kCharaSharedOffset);
  if (mode == kChipForObject) {
    const std::int32_t other = Facing(direction) == 0 ? facing + 1 : facing - 1;
    chip.m_OtherSurface = Row(other);
    chip.m_OtherSharedSurface = Row(other + kCharaSharedOffset);
  }
  chip.m_SourceX = x;
  chip.m_SourceY = y;
}

void ItemChip(cChipSource& chip, std::int32_t mode, std::int32_t number, std::int32_t, std::int32_t,
              std::int32_t extraColumn) {
  SetSurfaces(chip, kItemSheet, kItemSheetShared, kItemSheet, kItemSheetShared);
  chip.m_SourceX = number / kChipsPerColumn * 2 * kChipSize;
  if (mode == kChipItemFrame) chip.m_SourceX += extraColumn * kChipSize;
  chip.m_SourceY = number % kChipsPerColumn * kChipSize;
}

void ShotChip(cChipSource& chip, std::int32_t mode, std::int32_t number, std::int32_t, std::int32_t direction,
              std::int32_t) {
  if (mode == kChipForObject) {
    const std::int32_t facing = kShotSheet + Facing(direction);
    const std::int32_t other = kShotSheetMirrored - Facing(direction);
    SetSurfaces(chip, facing, facing, other, other);
  } else {
    chip.m_Surface = chip.m_SharedSurface = Row(kShotSheet);
  }
  chip.m_SourceX = number / kShotsPerColumn * 2 * kChipSize;
  chip.m_SourceY = number % kShotsPerColumn * kChipSize;
}

void CharaExcChip(cChipSource& chip, std::int32_t mode, std::int32_t number, std::int32_t column,
                  std::int32_t direction, std::int32_t extraColumn) {
  const cBmpCharaExcDef* def = CharaExcEntry(number);
  if (!def) {
    chip = cChipSource{};
    return;
  }
  std::int32_t base = kCharaExcRecords * (number - 1);
  std::int32_t frame = column;
  if (mode == kChipForObject) {
    base += Facing(direction);
    const std::int32_t other = Facing(direction) == 0 ? base + 1 : base - 1;
    chip.m_OtherSurface = &g_CharaExcSurfaces[other];
    chip.m_OtherSharedSurface = &g_CharaExcSurfaces[other + 2];
    frame = column + extraColumn;
  }
  chip.m_Surface = &g_CharaExcSurfaces[base];
  chip.m_SharedSurface = &g_CharaExcSurfaces[base + 2];
  if (def->m_LargeCells) {
    chip.m_LargeCells = 1;
    chip.m_CellScale = static_cast<std::uint8_t>(CharaExcCellScale(*def));
  }
  CharaExcCell(*def, frame, &chip.m_SourceX, &chip.m_SourceY);
}

using ChipFunction = void (*)(cChipSource&, std::int32_t mode, std::int32_t number, std::int32_t column,
                              std::int32_t direction, std::int32_t extraColumn);

// By graphic kind.
constexpr ChipFunction kChipFunctions[kChipKindCount] = {BlockChip, CharaChip, ItemChip, ShotChip, CharaExcChip};

void ComposeShotSheet(DDSURFACEDATA* sheet, DDSURFACEDATA* picture) {
  DDFillRect(sheet, 0, 0, kShotSheetWidth, kShotSheetHeight, 0);
  for (std::int32_t r = 0; r < kShotsPerColumn; ++r)
    for (std::int32_t k = 0; k < kShotColumns; ++k) {
      const std::int32_t sx = 2 * kShotFrame * k, sy = kShotFrame * r;
      const std::int32_t x = 2 * kChipSize * k + 8, y = kChipSize * r + 8;
      DDBlt(sheet, x, y, kShotFrame, kShotFrame, picture, sx, sy, 1);
      DDBlt(sheet, x + kChipSize, y, kShotFrame, kShotFrame, picture, sx + kShotFrame, sy, 1);
    }
}

// A 32x32 chip (or a larger dedicated cell) shrunk to the icon.
void ShrinkToIcon(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, DDSURFACEDATA* src, std::int32_t sx,
                  std::int32_t sy, std::int32_t size) {
  DDStretchBlt(dst, x, y, kIconSize, kIconSize, src, sx, sy, size, size, 1);
}

}  // namespace

void ComposeChipSheets() {
  ComposeShotSheet(Row(kShotSheet), Row(kShotPicture));
  ComposeShotSheet(Row(kShotSheetMirrored), Row(kShotPictureMirrored));
}

void GetChipSource(cChipSource& chip, std::int32_t mode, std::int32_t kind, std::int32_t number, std::int32_t column,
                   std::int32_t direction, std::int32_t extraColumn) {
  chip.m_LargeCells = 0;
  chip.m_CellScale = 1;
  if (kind < 0 || kind >= kChipKindCount) {
    chip = cChipSource{};
    return;
  }
  kChipFunctions[kind](chip, mode, number, column, direction, extraColumn);
}

void DrawChipIcon(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t kind, std::int32_t number,
                  std::int32_t frame) {
  switch (kind) {
    case kChipBlock:
      ShrinkToIcon(dst, x, y, Row(kBlockSheetShared), number / kChipsPerColumn * kChipSize,
                   number % kChipsPerColumn * kChipSize, kChipSize);
      break;
    case kChipChara:
      if (const std::int32_t sheet = CharaSheetOf(number); sheet >= 0)
        ShrinkToIcon(dst, x, y, Row(kCharaSheetShared + 2 * sheet), frame * kChipSize,
                     number % kChipsPerColumn * kChipSize, kChipSize);
      break;
    case kChipItem:
      DDBlt(dst, x, y, kIconSize, kIconSize, Row(kItemMiniSheet), number / kChipsPerColumn * 2 * kIconSize,
            number % kChipsPerColumn * kIconSize, 1);
      break;
    case kChipShot:
      ShrinkToIcon(dst, x, y, Row(kShotSheet), number / kShotsPerColumn * 2 * kChipSize,
                   number % kShotsPerColumn * kChipSize, kChipSize);
      break;
    case kChipCharaExc:
      if (const cBmpCharaExcDef* def = CharaExcEntry(number)) {
        std::int32_t sx = 0, sy = 0;
        CharaExcCell(*def, frame, &sx, &sy);
        ShrinkToIcon(dst, x, y, &g_CharaExcSurfaces[kCharaExcRecords * number - 2], sx, sy,
                     kChipSize * CharaExcCellScale(*def));
      }
      break;
    default:
      break;
  }
}
