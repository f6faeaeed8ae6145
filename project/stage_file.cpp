// The stage file's layout: reading with the upgrades of older versions, writing, and the replay's
// form of it.
#include <algorithm>

#include "platform/services/thread.h"
#include "project/common_palette.h"
#include "project/nested_records.h"
#include "project/stage_data.h"

namespace {

// The first version whose files end with the end marker, and the first whose marker is checked.
constexpr std::uint32_t kEndMarkerReadFrom = 173;
constexpr std::uint32_t kEndMarkerCheckedFrom = 174;

// The u32 before each placed record.
constexpr std::size_t kPlacedPrefixBytes = 4;

// A load ends between records when the thread reading it is asked to quit: the file counts as
// not read (the reader gives nothing more), and the loader reports nothing for it.
bool StopForQuit(cRecordReader& in) {
  if (!in.Damaged() && QuitRequested()) in.MarkDamaged();
  return in.Damaged();
}

template <class T>
void ReadPlaced(CheckedVector<T>& list, cRecordReader& in, std::size_t minBytes) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kPlacedPrefixBytes + minBytes)) return;
  list.clear();
  for (std::uint32_t i = 0; i < count && !StopForQuit(in); ++i) {
    std::uint32_t prefix = 0;
    if (!in.ReadU32(prefix)) break;  // always 0 when written; its value means nothing
    list.emplace_back();
    list.back().Read(in);
    list.back().RegisterFields(kRecordVersion);
  }
}

template <class T>
void WritePlaced(CheckedVector<T>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (T& record : list) {
    out.WriteU32(0);
    record.Write(out);
  }
}

void ReadSwitches(CheckedVector<std::uint32_t>& switches, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, sizeof(std::uint32_t))) return;
  switches.resize(count, 0);
  for (std::uint32_t& value : switches)
    if (!in.ReadU32(value)) return;
}

void WriteSwitches(const CheckedVector<std::uint32_t>& switches, cRecordWriter& out) {
  out.WriteCount(switches.size());
  for (std::uint32_t value : switches) out.WriteU32(value);
}

// The header body, the result switches and the five rules.
void WriteHeaderParts(cStageData& header, cRecordWriter& out) {
  header.cDataRecord::Write(out);
  WriteSwitches(header.m_ResultSwitches, out);
  for (cScreenOutRule& rule : header.m_Rules) rule.Write(out);
}

void WritePalettesAndPlaced(cStageData& stage, cRecordWriter& out) {
  WriteNestedRecords(stage.m_PaletteBlocks, out);
  WriteNestedRecords(stage.m_PaletteCharas, out);
  WriteNestedRecords(stage.m_PaletteItems, out);
  WritePlaced(stage.m_PlacedBlocks, out);
  WritePlaced(stage.m_PlacedCharas, out);
  WritePlaced(stage.m_PlacedItems, out);
}

void WriteLayersAndTexts(cStageData& header, cRecordWriter& out) {
  WriteNestedRecords(header.m_BgLayers, out);
  WriteNestedRecords(header.m_Texts, out);
  out.WriteU32(kStageEndMarker);
}

// Upgrades of older files, in ascending order of the version that made them necessary.
void UpgradeStage(cStageData& stage, std::uint32_t version) {
  auto& f = stage.m_Ints;
  if (version < 155) {
    // The flying first secondary boxes take the walking ones.
    f[41] = f[39];
    f[42] = f[40];
    f[65] = f[63];
    f[66] = f[64];
    f[49] = f[50] = f[71] = f[72] = 0;
  }
  if (version < 166) f[kMusicLoops] = 1;
  if (version < 181) {
    stage.m_ResultSwitches.resize(kResultSwitchCount, 0);
    stage.m_ResultSwitches[3] = 0;
    stage.m_ResultSwitches[4] = 0;
  }
  if (version < 183) f[kStatusBarShown] = 1;
  if (version < 184) f[kClearResultEndsByItself] = 0;
  if (version < 199) f[kKeepMusicOnRestart] = 0;
  if (version < 200) {
    f[35] = 16;
    f[36] = 24;
    f[37] = 16;
    f[38] = 16;
    f[47] = 1;
    f[48] = 0;
    f[51] = 0;
    f[55] = 5;
    f[59] = 16;
    f[60] = 30;
    f[61] = 16;
    f[62] = 30;
    f[69] = 1;
    f[70] = 1;
  }
  if (version < 225) f[kStartBanner] = 0;
}

}  // namespace

void cStageData::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  // A file of an older version lacks some fields; they take the defaults of a new stage, never
  // what the previous stage left behind.
  Reset();
  m_Texts.clear();
  cPaletteBinding bind(LoadContext().stagePalette, View());

  cDataRecord::Read(in);
  ReadSwitches(m_ResultSwitches, in);
  for (cScreenOutRule& rule : m_Rules) {
    if (StopForQuit(in)) break;
    rule.Read(in);
  }

  if (!StopForQuit(in)) ReadBlockDefs(m_PaletteBlocks, in);
  if (!StopForQuit(in)) ReadCharaDefs(m_PaletteCharas, in);
  if (!StopForQuit(in)) ReadItemDefs(m_PaletteItems, in);
  // Entry 0 is the empty entry that index 0 stands for, whatever the file held there.
  if (!m_PaletteBlocks.empty()) m_PaletteBlocks[0] = cBlock();
  if (!m_PaletteCharas.empty()) m_PaletteCharas[0].SetDefaults();
  if (!m_PaletteItems.empty()) m_PaletteItems[0].SetDefaults();

  if (!StopForQuit(in)) ReadPlaced(m_PlacedBlocks, in, kMinBlockBytes);
  if (!StopForQuit(in)) ReadPlaced(m_PlacedCharas, in, kMinCharaDefBytes);
  if (!StopForQuit(in)) ReadPlaced(m_PlacedItems, in, kMinItemDefBytes);

  if (!StopForQuit(in)) ReadNestedRecords(m_BgLayers, in, cBgLayer(), kMinRecordBytes);
  if (!StopForQuit(in)) ReadNestedRecords(m_Texts, in, cStringRecord(), kMinRecordBytes);
  if (version >= kEndMarkerReadFrom && !in.Damaged()) {
    // A file cut short before its marker is damaged (the read fails); from 174 on a marker that is
    // not where the layout ends means the layout went wrong somewhere.
    std::uint32_t marker = 0;
    if (in.ReadU32(marker) && version >= kEndMarkerCheckedFrom && marker != kStageEndMarker) in.MarkDamaged();
  }

  if (version < kRecordVersion) UpgradeStage(*this, version);
  Normalize();
}

void cStageData::Write(cRecordWriter& out) {
  Normalize();
  WriteHeaderParts(*this, out);
  WritePalettesAndPlaced(*this, out);
  WriteLayersAndTexts(*this, out);
}

void cStageData::WriteForReplay(cRecordWriter& out, const cStageData& header) {
  Normalize();
  // The record base writes through non-const descriptors; nothing of the header changes.
  cStageData& source = const_cast<cStageData&>(header);
  source.RegisterFields(kRecordVersion);
  WriteHeaderParts(source, out);
  WritePalettesAndPlaced(*this, out);
  WriteLayersAndTexts(source, out);
}
