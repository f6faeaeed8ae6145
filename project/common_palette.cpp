#include "project/common_palette.h"

#include <algorithm>

#include "project/nested_records.h"
#include "project/palette_sizes.h"

namespace {

// The list grows as records are read, not by the count: a damaged file that claims many records
// stops at the first one that is not there, and a huge count never costs memory. An entry that
// inherits from one further down its own list finds nothing there and drops the reference.
template <class T>
void ReadDefList(CheckedVector<T>& list, cRecordReader& in, std::size_t minBytes) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, minBytes)) return;
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) {
    list.emplace_back();
    list.back().Read(in);
  }
}

template <class T>
void ResetDefVector(CheckedVector<T>& list, std::uint32_t n) {
  list.clear();
  list.resize(n);
}

template <class T>
void ClearInheritFlags(CheckedVector<T>& list) {
  for (T& record : list) std::fill(record.m_InheritFlags.begin(), record.m_InheritFlags.end(), std::uint8_t{0});
}

template <class T>
void FillUp(CheckedVector<T>& list) {
  if (list.size() < kMinPaletteEntries) list.resize(kMinPaletteEntries);
}

}  // namespace

void RegisterNoFields(cDataRecord& record) { record.ClearFields(); }

cCommonPalette::cCommonPalette() : m_Blocks(1), m_Charas(1), m_Items(1) { RegisterFields(g_CurrentVersion); }

void cCommonPalette::RegisterFields(std::uint32_t /*version*/) { RegisterNoFields(*this); }

PaletteView cCommonPalette::View() { return PaletteView{&m_Blocks, &m_Charas, &m_Items}; }

void cCommonPalette::Read(cRecordReader& in) {
  cPaletteBinding bind(LoadContext().commonPalette, View());
  cDataRecord::Read(in);
  ReadBlockDefs(m_Blocks, in);
  ReadCharaDefs(m_Charas, in);
  ReadItemDefs(m_Items, in);
  // Entry 0 is the empty entry that index 0 stands for, whatever the file held there.
  if (!m_Blocks.empty()) m_Blocks[0] = cBlock();
  if (!m_Charas.empty()) m_Charas[0].SetDefaults();
  if (!m_Items.empty()) m_Items[0].SetDefaults();
  // The inherited values are in place now; the palette itself inherits nothing any more.
  ClearInheritFlags(m_Blocks);
  ClearInheritFlags(m_Charas);
  ClearInheritFlags(m_Items);
  NormalizePalette(*this);
}

void cCommonPalette::Write(cRecordWriter& out) {
  NormalizePalette(*this);
  cDataRecord::Write(out);
  WriteNestedRecords(m_Blocks, out);
  WriteNestedRecords(m_Charas, out);
  WriteNestedRecords(m_Items, out);
}

void NormalizePalette(cCommonPalette& palette) {
  cPaletteBinding bind(LoadContext().commonPalette, palette.View());
  FillUp(palette.m_Blocks);
  FillUp(palette.m_Charas);
  FillUp(palette.m_Items);
  for (cBlock& block : palette.m_Blocks) block.Normalize();
  for (cCharaDef& chara : palette.m_Charas) chara.Normalize();
  for (cItemDef& item : palette.m_Items) item.Normalize();
  NormalizeBlockRefs(palette.m_Blocks);
  NormalizeCharaRefs(palette.m_Charas);
  NormalizeItemRefs(palette.m_Items);
}

void ReadBlockDefs(CheckedVector<cBlock>& list, cRecordReader& in) { ReadDefList(list, in, kMinBlockBytes); }
void ReadCharaDefs(CheckedVector<cCharaDef>& list, cRecordReader& in) { ReadDefList(list, in, kMinCharaDefBytes); }
void ReadItemDefs(CheckedVector<cItemDef>& list, cRecordReader& in) { ReadDefList(list, in, kMinItemDefBytes); }

void NormalizeBlockRefs(CheckedVector<cBlock>& list) {
  const SummonPalettes sizes = PaletteSizes();
  for (cBlock& block : list) block.NormalizeItemRef(sizes.items[0], sizes.items[1]);
}

void NormalizeCharaRefs(CheckedVector<cCharaDef>& list) {
  const SummonPalettes sizes = PaletteSizes();
  for (cCharaDef& chara : list) chara.NormalizeSummons(sizes);
}

void NormalizeItemRefs(CheckedVector<cItemDef>& list) {
  const SummonPalettes sizes = PaletteSizes();
  for (cItemDef& item : list) item.NormalizeSummons(sizes);
}

void ResetBlockVector(CheckedVector<cBlock>& list, std::uint32_t n) { ResetDefVector(list, n); }
void ResetCharaDefVector(CheckedVector<cCharaDef>& list, std::uint32_t n) { ResetDefVector(list, n); }
void ResetItemDefVector(CheckedVector<cItemDef>& list, std::uint32_t n) { ResetDefVector(list, n); }
