#pragma once
// The common palette: the project-wide block, character and item definitions that every stage may
// use, kept in data\CommonPalette.cplt4 and read once at start-up. Records inherit from its entries
// (inherit source 1), the summon and item-taking commands make objects from them, and stage play
// looks items up in it.
//
// In a file: the version, an empty record body (u32 0, u32 0), then the blocks, the characters
// and the items, each list as a u32 count and the records one after the other.
#include <cstddef>
#include <cstdint>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/block.h"
#include "project/chara_def.h"
#include "project/item_def.h"
#include "project/load_context.h"

// The least a block takes in a file: the two counts of the record base, the position and the two
// list counts. For the readers of block lists.
constexpr std::size_t kMinBlockBytes = 20;

// Every palette holds at least this many entries once normalised: entry 0, the empty one that
// index 0 stands for, and one more.
constexpr std::size_t kMinPaletteEntries = 2;

class cCommonPalette : public cDataRecord {
 public:
  // One default record in each list.
  cCommonPalette();

  // Registers nothing: the record body is the two counts 0 and 0.
  void RegisterFields(std::uint32_t version) override;
  // The empty body, the three lists (each entry inheriting from the entries read before it), entry
  // 0 of each back to the defaults, every inherit flag cleared, then NormalizePalette.
  void Read(cRecordReader& in) override;
  // NormalizePalette, the empty body, the three lists.
  void Write(cRecordWriter& out) override;

  // This palette's lists, for the load context.
  PaletteView View();

  CheckedVector<cBlock> m_Blocks;
  CheckedVector<cCharaDef> m_Charas;
  CheckedVector<cItemDef> m_Items;
};

extern cCommonPalette g_CommonPalette;

// Registration of the records that keep no fields of their own (the common palette, the database).
void RegisterNoFields(cDataRecord& record);

// At least two entries in each list, and every reference checked against the palettes as they
// stand: this one as the common palette and the stage palette of the load context.
void NormalizePalette(cCommonPalette& palette);

// The list readers that the common palette and the stage palette share: a u32 n (bounded by what
// the file has left), then n default records, each read in turn. A damaged file stops the reading
// at the record that went wrong; the rest of the list keeps its defaults.
void ReadBlockDefs(CheckedVector<cBlock>& list, cRecordReader& in);
void ReadCharaDefs(CheckedVector<cCharaDef>& list, cRecordReader& in);
void ReadItemDefs(CheckedVector<cItemDef>& list, cRecordReader& in);

// The palette references of one list, once every palette is in memory: the item references of
// blocks, the summons of characters and items.
void NormalizeBlockRefs(CheckedVector<cBlock>& list);
void NormalizeCharaRefs(CheckedVector<cCharaDef>& list);
void NormalizeItemRefs(CheckedVector<cItemDef>& list);

// Makes list n default records (the stage's Reset*Vector and the list readers).
void ResetBlockVector(CheckedVector<cBlock>& list, std::uint32_t n);
void ResetCharaDefVector(CheckedVector<cCharaDef>& list, std::uint32_t n);
void ResetItemDefVector(CheckedVector<cItemDef>& list, std::uint32_t n);

// Binds one palette of the load context for as long as this lives, then puts back what was there.
class cPaletteBinding {
 public:
  cPaletteBinding(PaletteView& slot, PaletteView view) : m_Slot(slot), m_Saved(slot) { slot = view; }
  ~cPaletteBinding() { m_Slot = m_Saved; }
  cPaletteBinding(const cPaletteBinding&) = delete;
  cPaletteBinding& operator=(const cPaletteBinding&) = delete;

 private:
  PaletteView& m_Slot;
  PaletteView m_Saved;
};
