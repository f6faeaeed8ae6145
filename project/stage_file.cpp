// The stage file's layout: reading with the upgrades of older versions, writing, and the replay's
// form of it.
#include <algorithm>

#include "platform/services/thread.h"
#include "project/common_palette.h"
#include "project/nested_records.h"
#include "project/stage_data.h"
#include "project/upgrade_rows.h"

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

// In ascending order of version: a file passes every row its version is below, in this order.
const UpgradeRow<cStageData> kStageUpgrades[] = {
    // The flying first secondary boxes take the walking ones; their placements start at 0.
    {155,
     [](cStageData& s) {
       auto& f = s.m_Ints;
       f[kHeroSubBoxFlyW] = f[kHeroSubBoxWalkW];
       f[kHeroSubBoxFlyH] = f[kHeroSubBoxWalkH];
       f[kCharaSubBoxFlyW] = f[kCharaSubBoxWalkW];
       f[kCharaSubBoxFlyH] = f[kCharaSubBoxWalkH];
       f[kHeroSubBoxWalkPlace] = f[kHeroSubBoxFlyPlace] = 0;
       f[kCharaSubBoxWalkPlace] = f[kCharaSubBoxFlyPlace] = 0;
     }},
    {166, [](cStageData& s) { s.m_Ints[kMusicLoops] = 1; }},
    // Exactly five result switches, the last two off.
    {181,
     [](cStageData& s) {
       s.m_ResultSwitches.resize(kResultSwitchCount, 0);
       s.m_ResultSwitches.At(3) = 0;
       s.m_ResultSwitches.At(4) = 0;
     }},
    {183, [](cStageData& s) { s.m_Ints[kStatusBarShown] = 1; }},
    {184, [](cStageData& s) { s.m_Ints[kClearResultEndsByItself] = 0; }},
    {199, [](cStageData& s) { s.m_Ints[kKeepMusicOnRestart] = 0; }},
    // The main boxes came with their sizes, placements and overlay.
    {200,
     [](cStageData& s) {
       auto& f = s.m_Ints;
       f[kHeroMainBoxWalkW] = 16;
       f[kHeroMainBoxWalkH] = 24;
       f[kHeroMainBoxFlyW] = 16;
       f[kHeroMainBoxFlyH] = 16;
       f[kHeroMainBoxWalkPlace] = 1;
       f[kHeroMainBoxFlyPlace] = 0;
       f[kMainBoxOverlayMode] = 0;
       f[kMainBoxOverlayColour] = 5;
       f[kCharaMainBoxWalkW] = 16;
       f[kCharaMainBoxWalkH] = 30;
       f[kCharaMainBoxFlyW] = 16;
       f[kCharaMainBoxFlyH] = 30;
       f[kCharaMainBoxWalkPlace] = 1;
       f[kCharaMainBoxFlyPlace] = 1;
     }},
    {225, [](cStageData& s) { s.m_Ints[kStartBanner] = 0; }},
};

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

  if (version < kRecordVersion)
    ApplyUpgrades(kStageUpgrades, *this, version);
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
