#pragma once
// Table files: the u32 format version, a u32 count N, then N record bodies of one class. The
// database keeps one table per file.
#include <cstddef>
#include <cstdint>

#include "platform/host/text_codec.h"
#include "platform/services/checked.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/nested_records.h"

// Reads the count and the records: the table is made N long, elements beyond N go, missing ones
// are added as copies of fresh, and elements already there are read over as they are (so a field
// an old file lacks keeps the value the element had). A count the file cannot hold is never acted
// on: the table stays and the file is damaged. Missing elements are added as they are read, so a
// damaged file stops at its first missing record and leaves the table shorter.
template <class T>
void ReadRecordTable(CheckedVector<T>& table, cRecordReader& in, const T& fresh, std::size_t minElementBytes) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, minElementBytes)) return;
  if (table.size() > count) table.erase(table.begin() + static_cast<std::ptrdiff_t>(count), table.end());
  for (std::size_t i = 0; i < count && !in.Damaged(); ++i) {
    if (i == table.size()) table.push_back(fresh);
    table[i].Read(in);
  }
}

template <class T>
void WriteRecordTable(CheckedVector<T>& table, cRecordWriter& out) {
  WriteNestedRecords(table, out);
}

// The whole file at path into table, read over a copy so that a damaged file leaves the table as it
// was. 1 when read whole, 0 when it did not open or was damaged (which the report log says). When g_StripCR is set the
// texts of every element lose their carriage returns (nested records lost theirs as they were read).
template <class T>
int LoadRecordTable(CheckedVector<T>& table, const char* path, std::size_t minElementBytes) {
  RecordReadFile file = OpenRecordRead(path);
  if (!file) return 0;
  CheckedVector<T> work = table;
  ReadRecordTable(work, *file, T(), minElementBytes);
  const bool damaged = file->Damaged();
  CloseRecordFile(file);
  if (damaged) {
    ReportLog(SJ("%s が破損しています！").c_str(), path);
    return 0;
  }
  if (g_StripCR)
    for (T& record : work) record.StripCR();
  table = std::move(work);
  return 1;
}

// table to the file at path, replacing it only when all of it was written; 1 then, else 0.
template <class T>
int SaveRecordTable(CheckedVector<T>& table, const char* path) {
  RecordWriteFile file = OpenRecordWrite(path);
  if (!file) return 0;
  WriteRecordTable(table, *file);
  return CloseRecordFile(file);
}
