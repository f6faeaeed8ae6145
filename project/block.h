#pragma once
// A block: one 32x32-dot cell of a stage map. The same record is an entry of the common palette,
// an entry of a stage's own palette and a block placed on a stage's map; a placed block or a
// palette entry may take groups of its properties from a palette entry (palette_inherit.h).
//
// In a file: the record body (the fields below and the name), position x and y, u32 n and n
// inherit flags, the condition list.
#include <array>
#include <cstdint>

#include "project/palette_inherit.h"
#include "project/record_head.h"

// Chip sources: the sheet a block's picture comes from.
constexpr std::uint8_t kChipBlock = 0;
constexpr std::uint8_t kChipChara = 1;
constexpr std::uint8_t kChipItem = 2;
constexpr std::uint8_t kChipShot = 3;
constexpr std::uint8_t kChipCharaBitmap = 4;

// Solid values; collisions take the largest among the cells touched.
constexpr std::uint8_t kSolidNone = 0;
constexpr std::uint8_t kSolid = 1;
constexpr std::uint8_t kSolidDeadly = 2;

// The property groups of a block, as its inherit flags index them.
constexpr int kBlockGroupCount = 11;

class cBlock : public cRecordHead {
 public:
  // Every registered member 0, then solid 1, pass group -1 and 11 clear inherit flags.
  cBlock();

  void RegisterFields(std::uint32_t version) override;
  // Body, position, flags, conditions; the shot-sheet upgrade of old files; then ApplyProperties
  // and Normalize.
  void Read(cRecordReader& in) override;
  // Normalize first, then the file layout above.
  void Write(cRecordWriter& out) override;

  // Copies the flagged property groups from the palette entry this block names.
  void ApplyProperties();
  // Drops an inherit reference that its palette cannot satisfy, and takes from an empty cell
  // (chip index 0) what it cannot have: solidity and summon proofing.
  void Normalize();
  // Drops an item reference that its list cannot satisfy. Not part of reading: the palette and
  // stage normalisers call it once every palette is in memory, with the lengths of the common
  // palette's and the stage palette's item lists.
  void NormalizeItemRef(int commonItems, int stageItems);

  std::int16_t m_ChipIndex = 0;   // picture within the chip source; 0 = an empty cell
  std::uint8_t m_ChipSource = 0;  // kChip*
  std::int16_t m_ChipFrame = 0;   // column of a character sheet, frame of a dedicated bitmap
  std::uint8_t m_FrontLayer = 0;  // 1: drawn in front of the stage objects
  std::uint8_t m_Hidden = 0;      // non-zero: never drawn
  std::uint8_t m_MarkMode = 0;    // 0 no mark, 1 mark drawn, 2 shown by the editing program only
  std::int16_t m_MarkNumber = 0;  // frame of the mark sheet: column number / 15, row number % 15
  std::uint8_t m_Solid = kSolid;
  std::int8_t m_PassGroup = -1;    // objects of this group pass although it is solid; -1 none
  std::uint8_t m_CellEffect = 0;   // what the block does to a hero on it (CellEffectLabels)
  std::int32_t m_EffectValue = 0;  // the "X" of the cell effect
  std::int8_t m_ItemSource = 0;    // palette of the item the block holds: 0 none, 1 common, 2 stage
  std::int16_t m_ItemIndex = 0;
  std::uint8_t m_SummonProof = 0;  // non-zero: block summons never replace or remove the cell
};

// One copy operation per property group, indexed by the inherit flag. Groups 0 and 1 are the head's
// (CopyHeadName, CopyHeadConditions), as for item definitions.
extern const std::array<GroupCopy<cBlock>, kBlockGroupCount> BlockGroupCopyTable;
