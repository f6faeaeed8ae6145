// The ranking records: their registration, the ordering of a table, and the body of the file.
#include "shell/ranking.h"

#include <array>
#include <utility>

namespace {

// The order of each table by result: only clear times rank the lower value first.
constexpr std::array<std::int32_t, kRankTableCount> kTableDescending = {
    1,  // 0 score
    1,  // 1 remaining time
    0,  // 2 clear time
    1,  // 3 remaining HP
    1,  // 4 remaining SP
};

// A file may keep other counts than ours, but nothing we wrote comes near these; a count beyond
// them is a damaged file, not a ranking.
constexpr std::uint32_t kMaxStoredTables = 64;
constexpr std::uint32_t kMaxStoredPlaces = 1024;
// The least a table and an entry take in a file: their counts, with nothing counted.
constexpr std::size_t kMinTableBytes = 12;
constexpr std::size_t kMinEntryBytes = 8;

cRankTable DefaultTable(std::size_t t) {
  cRankTable table;
  table.m_Descending = t < kTableDescending.size() ? kTableDescending[t] : 0;
  return table;
}

}  // namespace

cRankEntry::cRankEntry() { RegisterFields(g_CurrentVersion); }

void cRankEntry::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Used);
  AddString(m_Name);
  AddField(m_Value);
}

cRankTable::cRankTable() : m_Entries(kRankPlaces) { RegisterFields(g_CurrentVersion); }

void cRankTable::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Descending);
}

void cRankTable::Reset() {
  cDataRecord::Reset();
  m_Entries.resize(kRankPlaces);
}

std::int32_t cRankTable::FindRank(std::int32_t value) const {
  for (std::int32_t p = 0; p < m_Entries.Size(); ++p) {
    const cRankEntry& entry = m_Entries.At(p);
    if (entry.m_Used == 0) return p;
    if (m_Descending != 0 ? value > entry.m_Value : value < entry.m_Value) return p;
  }
  return -1;
}

void cRankTable::Insert(const std::string& name, std::int32_t value) {
  const std::int32_t p = FindRank(value);
  cRankEntry entry;
  entry.m_Name = name;
  entry.m_Used = 1;
  entry.m_Value = value;
  if (p >= 0 && p < m_Entries.Size()) {
    m_Entries.insert(m_Entries.begin() + p, std::move(entry));
  } else {
    m_Entries.push_back(std::move(entry));
  }
  m_Entries.pop_back();
}

void cRankTable::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinEntryBytes)) return;
  if (count > kMaxStoredPlaces) {
    in.MarkDamaged();
    return;
  }
  m_Entries.assign(count, cRankEntry());
  for (cRankEntry& entry : m_Entries) entry.Read(in);
}

void cRankTable::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  out.WriteCount(m_Entries.size());
  for (cRankEntry& entry : m_Entries) entry.Write(out);
}

cRankFile::cRankFile() {
  RegisterFields(g_CurrentVersion);
  for (std::size_t t = 0; t < kTableDescending.size(); ++t) m_Tables.push_back(DefaultTable(t));
}

void cRankFile::RegisterFields(std::uint32_t) { ClearFields(); }

void cRankFile::Reset() {
  cDataRecord::Reset();
  m_Tables.clear();
  for (std::size_t t = 0; t < kTableDescending.size(); ++t) m_Tables.push_back(DefaultTable(t));
}

void cRankFile::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinTableBytes)) return;
  if (count > kMaxStoredTables) {
    in.MarkDamaged();
    return;
  }
  m_Tables.assign(count, cRankTable());
  for (cRankTable& table : m_Tables) table.Read(in);
  const bool threeTableFile = in.Version() < kRankFiveTablesVersion;
  if (threeTableFile && m_Tables.size() > kTableDescending.size()) m_Tables.resize(kTableDescending.size());
  // Every result looks its table up by number: a file short of tables gets the missing ones empty
  // with their own order, so no look-up falls off the list.
  for (std::size_t t = m_Tables.size(); t < kTableDescending.size(); ++t) m_Tables.push_back(DefaultTable(t));
  if (threeTableFile) {
    // Remaining HP and SP came later, and rank the higher value first.
    m_Tables.At(3).m_Descending = 1;
    m_Tables.At(4).m_Descending = 1;
  }
}

void cRankFile::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  out.WriteCount(m_Tables.size());
  for (cRankTable& table : m_Tables) table.Write(out);
}
