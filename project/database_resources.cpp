#include "project/database_resources.h"

#include "project/nested_records.h"

namespace {

// The editing program began numbering its resources with 151 (dedicated bitmaps with 152), and
// renumbered them all with 153: numbers of older files are not kept.
constexpr std::uint32_t kNumberVersion = 151;
constexpr std::uint32_t kBitmapNumberVersion = 152;
constexpr std::uint32_t kKeptNumberVersion = 153;
constexpr std::uint32_t kLargeCellsVersion = 172;
// Values 3 and 4 of a sword part (mirroring while facing right) came with 138.
constexpr std::uint32_t kSwordMirrorVersion = 138;

}  // namespace

cBmpCharaExcDef::cBmpCharaExcDef() { RegisterFields(g_CurrentVersion); }

void cBmpCharaExcDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= kBitmapNumberVersion) AddField(m_Number);
  if (version >= kLargeCellsVersion) {
    AddField(m_LargeCells);
    AddField(m_CellScale);
  }
  AddString(m_Name);
  AddString(m_FileName);
}

void cBmpCharaExcDef::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  cDataRecord::Read(in);
  if (version < kKeptNumberVersion) m_Number = 0;
}

cSwordPartDef::cSwordPartDef() { RegisterFields(g_CurrentVersion); }

// Every value is a field of its own, values 3 and 4 only from 138 on.
void cSwordPartDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  for (int i = 0; i < 10; ++i) {
    const bool mirror = i == 2 || i == 3;
    if (!mirror || version >= kSwordMirrorVersion) AddField(m_Values[i]);
  }
}

cSwordTypeDef::cSwordTypeDef() { SetDefaults(); }

void cSwordTypeDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= kNumberVersion) AddField(m_Number);
  AddString(m_Name);
  AddString(m_LeftFileName);
  AddString(m_RightFileName);
}

void cSwordTypeDef::SetDefaults() {
  Reset();
  cSwordPartDef first;
  first.m_Values[9] = 1;
  m_Parts.assign(1, first);
}

void cSwordTypeDef::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  cDataRecord::Read(in);
  ReadNestedRecords(m_Parts, in, cSwordPartDef(), kMinRecordBytes);
  if (version < kKeptNumberVersion) m_Number = 0;
}

void cSwordTypeDef::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteNestedRecords(m_Parts, out);
}

void cNamedFileDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= kNumberVersion) AddField(m_Number);
  AddString(m_Name);
  AddString(m_FileName);
}

void cNamedFileDef::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  cDataRecord::Read(in);
  if (version < kKeptNumberVersion) m_Number = 0;
}

const LabelList& DirectionLabels() {
  static const LabelList labels{"前", "後", "上", "下"};
  return labels;
}
