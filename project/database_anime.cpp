#include "project/database_anime.h"

#include "platform/host/text_codec.h"
#include "project/nested_records.h"

namespace {

// Flying came in with version 128; sets of older files get the two flying entries under these names.
constexpr std::uint32_t kFlyingEntriesVersion = 128;
constexpr std::uint32_t kFlightOffsetVersion = 119;
constexpr std::uint32_t kEntryValuesVersion = 55;

const char* const kEntryNames[kAnimeSetEntries] = {"立ち", "立ち移動", "飛行", "飛行移動"};

}  // namespace

cAnimeEntryFrame::cAnimeEntryFrame() { RegisterFields(g_CurrentVersion); }

void cAnimeEntryFrame::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Cell);
  AddField(m_Time);
  AddField(m_LockMark);
}

cAnimeEntry::cAnimeEntry() { SetDefaults(); }

void cAnimeEntry::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= kEntryValuesVersion) {
    AddField(m_ValueA);
    AddField(m_FlagF);
    AddField(m_ValueB);
  }
  AddString(m_Name);
}

void cAnimeEntry::SetDefaults() {
  Reset();
  m_ValueA = 0;
  m_FlagF = 1;
  m_ValueB = 0;
  m_Frames.assign(1, cAnimeEntryFrame());
}

void cAnimeEntry::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadNestedRecords(m_Frames, in, cAnimeEntryFrame(), kMinRecordBytes);
}

void cAnimeEntry::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteNestedRecords(m_Frames, out);
}

cAnimeSetDef::cAnimeSetDef() { SetDefaults(); }

void cAnimeSetDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_InvincibleCellOffset);
  AddField(m_BlockCellOffset);
  if (version >= kFlightOffsetVersion) AddField(m_FlightCellOffset);
  AddString(m_Name);
}

void cAnimeSetDef::SetDefaults() {
  Reset();
  m_InvincibleCellOffset = 4;
  m_BlockCellOffset = 8;
  m_FlightCellOffset = 0;
  m_Entries.assign(kAnimeSetEntries, cAnimeEntry());
  for (int i = 0; i < kAnimeSetEntries; ++i) m_Entries.At(i).m_Name = SJ(kEntryNames[i]);
}

void cAnimeSetDef::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  cDataRecord::Read(in);
  ReadNestedRecords(m_Entries, in, cAnimeEntry(), kMinRecordWithListBytes);
  if (version < kFlyingEntriesVersion) {
    // Surplus entries go, missing ones come as new animations; the flying pair takes its names
    // whatever the file called those entries.
    m_Entries.resize(kAnimeSetEntries, cAnimeEntry());
    m_Entries.At(2).m_Name = SJ(kEntryNames[2]);
    m_Entries.At(3).m_Name = SJ(kEntryNames[3]);
  }
}

void cAnimeSetDef::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteNestedRecords(m_Entries, out);
}
