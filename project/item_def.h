#pragma once
// An item definition (アイテム): a pick-up on a stage, its picture, whether and how often a hero can
// take it, the sound and message on pick-up, and the flow commands applied to the hero who takes it.
// The same record is an entry of the common palette, an entry of a stage's own palette and an item
// placed on a stage, and inherits property groups from a palette entry when it is read. Its head
// is the one blocks have (record_head.h).
//
// In a file: the record body (the numbers below and the name), position x and y, u32 n and n
// inherit flags, the condition list, the command list.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow_command.h"
#include "project/label_list.h"
#include "project/palette_inherit.h"
#include "project/record_head.h"

struct SummonPalettes;

// The property groups of an item, as its inherit flags index them.
constexpr int kItemGroupCount = 13;

// The least an item takes in a file: the two counts of the record base, the position and the three
// list counts. For the readers of item lists.
constexpr std::size_t kMinItemDefBytes = 24;

// Obtainability: how often a hero can take the item.
constexpr std::uint8_t kItemOnce = 0;
constexpr std::uint8_t kItemAnyTimes = 1;
constexpr std::uint8_t kItemNotTakable = 2;

class cItemDef : public cRecordHead {
 public:
  // Registered for the current layout, with the defaults below and 13 clear inherit flags.
  cItemDef();

  // Every member back to the defaults of a new record, the lists emptied (the list readers before
  // they read an element, palette entry 0, and stage play before it fills an item).
  void SetDefaults();

  void RegisterFields(std::uint32_t version) override;
  // Body, position, flags, conditions and commands; the shot-sheet upgrade of old files; then
  // InheritItemDef and Normalize.
  void Read(cRecordReader& in) override;
  // Normalize first, then the file layout above.
  void Write(cRecordWriter& out) override;

  // Drops references that the palettes and the database cannot satisfy and gives the item at least
  // its own size.
  void Normalize();
  // The second half: palette references of the summon and pick-up commands. Not part of reading:
  // the palette and stage normalisers call it once every palette is in memory.
  void NormalizeSummons(const SummonPalettes& palettes);

  // Kept, copied and inherited (groups 2, 3 and 5) as they were stored; the player gives them no
  // meaning of its own.
  std::int16_t m_Word94 = 0;
  std::int16_t m_Word96 = 0;
  std::int16_t m_ChipIndex = 0;            // picture within the chip source; 0 = no item
  std::uint8_t m_ChipSource = 2;           // kChip* of block.h; the item sheet by default
  std::int16_t m_ChipFrame = 0;            // column or frame within the sheet
  std::uint8_t m_Byte104 = 6;              // see m_Word94
  std::uint8_t m_Hidden = 0;               // non-zero: not drawn
  std::uint8_t m_MarkMode = 0;             // as for blocks: 1 a mark is drawn over the item
  std::int16_t m_MarkNumber = 0;           // frame of the mark sheet
  std::uint8_t m_Obtainability = 0;        // kItemOnce, kItemAnyTimes, kItemNotTakable
  std::uint8_t m_ShowMessage = 1;          // non-zero: taking it opens the item message with its picture
  std::uint8_t m_Size = 1;                 // enlargement of the item object, at least 1
  std::int16_t m_Sound = 0;                // database sound played on pick-up; 0 none
  CheckedVector<cFlowCommand> m_Commands;  // flow command set, applied to the hero who takes it
};

// Copies the flagged property groups from the palette entry that item names (the item lists of the
// common palette and of the stage palette).
void InheritItemDef(cItemDef& item);

// One copy operation per property group, indexed by the inherit flag. Groups 0 and 1 are the head's
// (CopyHeadName, CopyHeadConditions), as for blocks.
extern const std::array<GroupCopy<cItemDef>, kItemGroupCount> ItemDefGroupCopyTable;

// The item palette entry that source (1 the common palette, 2 the stage's) and index name; null for
// any other source or an index, taken as unsigned, that the list does not have. What blocks,
// characters and shots hold as an item reference resolves through this.
const cItemDef* GetItemPaletteEntry(std::int8_t source, std::int16_t index);

// How often a hero can take an item; row = m_Obtainability.
const LabelList& ObtainabilityLabels();
