#pragma once
// Lists of records kept inside a record (the frames of an animation, the parts of a sword swing,
// the entries of an animation set), written after the owner's own body as a u32 count and the
// bodies one after the other, and the tables of the database files, which are the same thing at
// the top of a file.
#include <cstddef>
#include <cstdint>

#include "platform/services/checked.h"
#include "platform/services/record.h"

// The least a record body can take in a file: its field count and its string count. A body with its
// own list after it takes that list's count as well.
constexpr std::size_t kMinRecordBytes = 8;
constexpr std::size_t kMinRecordWithListBytes = 12;

// Reads the count, then makes the list that many copies of fresh and reads each of them. A count
// that cannot fit in what the file has left is never acted on: the list stays as it was and the
// file is damaged. The list grows as records are read, not by the count: a damaged file that
// claims many records stops at the first one that is not there.
template <class T>
void ReadNestedRecords(CheckedVector<T>& list, cRecordReader& in, const T& fresh, std::size_t minElementBytes) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, minElementBytes)) return;
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) {
    list.push_back(fresh);
    list.back().Read(in);
  }
}

template <class T>
void WriteNestedRecords(CheckedVector<T>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (T& record : list) record.Write(out);
}
