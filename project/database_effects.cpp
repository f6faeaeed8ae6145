#include "project/database_effects.h"

#include "project/effect_params.h"
#include "project/nested_records.h"

namespace {

constexpr std::uint32_t kNumberVersion = 151;
constexpr std::uint32_t kKeptNumberVersion = 153;
// Version 511 gave some kinds one more parameter; older files get its default from the kind's
// parameter table.
constexpr std::uint32_t kAddedParamVersion = 511;

struct sAddedParam {
  int kind;
  int param;  // 0-based: 4 is the fifth parameter
};

constexpr sAddedParam kCharaAddedParams[] = {
    {4, 4},   // 波（横）: 波の粗さ(dot)
    {5, 4},   // 波（縦）: 波の粗さ(dot)
    {10, 3},  // 円: 円の粗さ(dot)
};

constexpr sAddedParam kScrAddedParams[] = {
    {6, 4},   // 波（横）: 波の粗さ(dot)
    {7, 4},   // 波（縦）: 波の粗さ(dot)
    {10, 3},  // 円: 円の粗さ(dot)
};

template <std::size_t N>
void GiveAddedParam(cEffectKindDef& effect, const sAddedParam (&rows)[N], std::span<const ParamDesc> table) {
  for (const sAddedParam& row : rows) {
    if (effect.m_Kind != row.kind) continue;
    if (const ParamDesc* desc = EffectParamRow(table, row.kind, row.param))
      effect.m_Params[row.param] = desc->defaultValue;
  }
}

}  // namespace

cEffectFrame::cEffectFrame() { RegisterFields(g_CurrentVersion); }

void cEffectFrame::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Cell);
  AddField(m_Time);
}

cEffectDef::cEffectDef() { SetDefaults(); }

void cEffectDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= kNumberVersion) AddField(m_Number);
  AddField(m_CellWidth);
  AddField(m_CellHeight);
  AddField(m_FollowsScale);
  AddString(m_Name);
  AddString(m_FileName);
}

void cEffectDef::SetDefaults() {
  Reset();
  m_CellWidth = 32;
  m_CellHeight = 32;
  m_FollowsScale = 0;
  m_Frames.clear();
}

void cEffectDef::Read(cRecordReader& in) { ReadEffectDef(*this, in); }

void cEffectDef::Write(cRecordWriter& out) { WriteEffectDef(*this, out); }

void cEffectKindDef::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Kind);
  AddField(m_Params);
  AddString(m_Name);
}

void cEffectKindDef::Write(cRecordWriter& out) { WriteEffectRecord(*this, out); }

void cCharaEffectDef::Read(cRecordReader& in) { ReadCharaEffectDef(*this, in); }

void cScrEffectDef::Read(cRecordReader& in) { ReadScrEffectDef(*this, in); }

void ReadEffectDef(cEffectDef& effect, cRecordReader& in) {
  const std::uint32_t version = in.Version();
  effect.cDataRecord::Read(in);
  ReadEffectFrames(effect.m_Frames, in);
  if (version < kKeptNumberVersion) effect.m_Number = 0;
}

void WriteEffectDef(cEffectDef& effect, cRecordWriter& out) {
  effect.cDataRecord::Write(out);
  WriteNestedRecords(effect.m_Frames, out);
}

void ReadEffectFrames(CheckedVector<cEffectFrame>& frames, cRecordReader& in) {
  ReadNestedRecords(frames, in, cEffectFrame(), kMinRecordBytes);
}

void ReadCharaEffectDef(cCharaEffectDef& effect, cRecordReader& in) {
  const std::uint32_t version = in.Version();
  effect.cDataRecord::Read(in);
  if (version < kAddedParamVersion) GiveAddedParam(effect, kCharaAddedParams, CharaEffectParams());
}

void ReadScrEffectDef(cScrEffectDef& effect, cRecordReader& in) {
  const std::uint32_t version = in.Version();
  effect.cDataRecord::Read(in);
  if (version < kAddedParamVersion) GiveAddedParam(effect, kScrAddedParams, ScrEffectParams());
}

void WriteEffectRecord(cEffectKindDef& effect, cRecordWriter& out) { effect.cDataRecord::Write(out); }
