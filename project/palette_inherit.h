#pragma once
// Palette inheritance, the same for blocks, character definitions and item definitions. A record
// names a palette (1 the common palette, 2 the stage's own palette) and an entry of it, and holds one
// flag per property group; each flagged group is copied from that entry when the record is read, so
// every later user sees plain values. A class describes its groups as a table of copy operations,
// one per group, each copying exactly the members of its group.
//
// The palette is used with what it holds at that moment: the common palette is read before any
// stage file, and a palette entry inherits only from entries already read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/services/checked.h"
#include "project/load_context.h"

constexpr std::int8_t kInheritNone = 0;
constexpr std::int8_t kInheritCommon = 1;
constexpr std::int8_t kInheritStage = 2;

// Copies one property group from a palette entry (source) into a record (target).
template <class T>
using GroupCopy = void (*)(T& target, const T& source);

// The list of a palette that holds records of one class (&PaletteView::blocks for blocks).
template <class T>
using PaletteListOf = CheckedVector<T>* PaletteView::*;

// A palette reference is taken as an unsigned number, so a negative index is never in range.
inline bool PaletteIndexInRange(int index, int size) {
  return static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(std::max(size, 0));
}

// The list that source names in the load context; null for a source that names no palette. A
// palette that is not there counts as an empty one.
template <class T>
const CheckedVector<T>* PaletteList(int source, PaletteListOf<T> list) {
  const cLoadContext& context = LoadContext();
  if (source == kInheritCommon) return context.commonPalette.*list;
  if (source == kInheritStage) return context.stagePalette.*list;
  return nullptr;
}

template <class T>
int PaletteListSize(int source, PaletteListOf<T> list) {
  const CheckedVector<T>* palette = PaletteList<T>(source, list);
  return palette ? palette->Size() : 0;
}

// Copies every flagged group of record from the palette entry it names. Index 0 or source 0 means
// no inheritance; another source value copies nothing. An entry the palette does not have clears
// the source (the index stays, for the normaliser to see). Flags beyond the table select nothing
// and are kept.
template <class T>
void InheritGroups(T& record, PaletteListOf<T> list, std::span<const GroupCopy<T>> table) {
  if (record.m_InheritIndex == 0 || record.m_InheritSource == kInheritNone) return;
  if (record.m_InheritSource != kInheritCommon && record.m_InheritSource != kInheritStage) return;
  const CheckedVector<T>* palette = PaletteList<T>(record.m_InheritSource, list);
  if (!palette || !PaletteIndexInRange(record.m_InheritIndex, palette->Size())) {
    record.m_InheritSource = kInheritNone;
    return;
  }
  const T& entry = palette->At(record.m_InheritIndex);
  const std::size_t groups = std::min(record.m_InheritFlags.size(), table.size());
  for (std::size_t g = 0; g < groups; ++g)
    if (record.m_InheritFlags[g] != 0) table[g](record, entry);
}

// The first step of every palette record's normaliser: a reference to an entry that its palette
// does not have is dropped, source and index both.
template <class T>
void DropBadInheritRef(T& record, PaletteListOf<T> list) {
  if (record.m_InheritSource != kInheritCommon && record.m_InheritSource != kInheritStage) return;
  if (PaletteIndexInRange(record.m_InheritIndex, PaletteListSize<T>(record.m_InheritSource, list))) return;
  record.m_InheritSource = kInheritNone;
  record.m_InheritIndex = 0;
}
