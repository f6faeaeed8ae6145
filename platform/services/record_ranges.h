#pragma once
// Copies of runs of records, as the vectors of records inside other records need them (flows of a
// character, commands of a flow), and the checked byte access of those records. Every record that
// gets a value here is registered for the current version afterwards, so its descriptors describe
// it, and every member is copied by the class's own copy (vectors deep-copied).
#include <algorithm>
#include <concepts>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/services/record.h"

template <class T>
concept RecordClass = std::derived_from<T, cDataRecord> && std::copy_constructible<T>;

// Runs the destructor of every record of [first, last) without freeing the storage.
template <RecordClass T>
void DestroyRecordRange(T* first, T* last) {
  std::destroy(first, last);
}

// Constructs copies of [first, last) in the raw storage at dest; the end of the copies.
template <RecordClass T>
T* ConstructRecordRange(const T* first, const T* last, T* dest) {
  T* end = std::uninitialized_copy(first, last, dest);
  for (T* record = dest; record != end; ++record) record->RegisterFields(g_CurrentVersion);
  return end;
}

// Assigns [first, last) onto the records from dest on, front to back; the end of the targets.
template <RecordClass T>
T* AssignRecordRange(const T* first, const T* last, T* dest) {
  for (; first != last; ++first, ++dest) {
    *dest = *first;
    dest->RegisterFields(g_CurrentVersion);
  }
  return dest;
}

// The same back to front, ending at destEnd: for moves towards the end inside one vector. The
// start of the targets.
template <RecordClass T>
T* AssignRecordRangeBackward(const T* first, const T* last, T* destEnd) {
  while (last != first) {
    *--destEnd = *--last;
    destEnd->RegisterFields(g_CurrentVersion);
  }
  return destEnd;
}

// target becomes an element-wise copy of src: surplus records go, missing ones are added.
template <RecordClass T>
void AssignRecords(std::vector<T>& target, const std::vector<T>& src) {
  if (&target == &src) return;
  if (target.size() > src.size()) target.erase(target.begin() + static_cast<std::ptrdiff_t>(src.size()), target.end());
  const std::size_t common = target.size();
  AssignRecordRange(src.data(), src.data() + common, target.data());
  target.reserve(src.size());
  for (std::size_t i = common; i < src.size(); ++i) {
    target.push_back(src[i]);
    target.back().RegisterFields(g_CurrentVersion);
  }
}

// Byte index of a byte list held by a record (the key states of a key step): the byte, or byte 0
// after the failure lines; an empty list raises the out-of-range error.
inline std::uint8_t& CheckedByteAt(std::vector<std::uint8_t>& bytes, int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < bytes.size()) return bytes[static_cast<std::size_t>(index)];
  ReportBadVectorIndex(index, static_cast<int>(bytes.size()), 1);
  if (bytes.empty()) throw std::out_of_range("invalid vector<T> subscript");
  return bytes[0];
}
