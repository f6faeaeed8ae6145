#pragma once
// The upgrades of a record read from an older file, as a table: one row per version that changed
// the record's meaning, in ascending order of version. A file passes every row its version is below,
// in table order, so an old file goes through each change since it was written.
#include <cstddef>
#include <cstdint>

template <class Record>
struct UpgradeRow {
  std::uint32_t below;  // applies to files of an older version than this
  void (*apply)(Record&);
};

template <class Record, std::size_t N>
void ApplyUpgrades(const UpgradeRow<Record> (&rows)[N], Record& record, std::uint32_t version) {
  for (const UpgradeRow<Record>& row : rows)
    if (version < row.below) row.apply(record);
}
