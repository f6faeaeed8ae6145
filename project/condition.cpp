#include "project/condition.h"
#include "project/upgrade_rows.h"

#include <cstddef>

namespace {

// The smallest condition body a file can hold: the two counts of the record base.
constexpr std::size_t kMinConditionBytes = 8;

// Old files compare their stored bytes as signed numbers, so a row of 0x80 or more is never moved.
bool AtLeast(std::uint8_t stored, int threshold) { return static_cast<std::int8_t>(stored) >= threshold; }

// Before 160: the state and posture kinds were put in as 5 and 6, so distance moved from 5 to 7.
void RaiseInsertedKinds(cConditionDef& c) {
  if (AtLeast(c.m_Kind, kConditionState)) c.m_Kind = static_cast<std::uint8_t>(c.m_Kind + 2);
}

// Before 161 "standing on a block" was stored the other way round.
void InvertStandingOnBlock(cConditionDef& c) {
  if (c.m_Kind == kConditionPosture && c.m_Item == 2) c.m_Operator ^= 1;
}

// A row put into the character status list moves every character row from there on down by one,
// on either side of a status condition. System rows are a list of their own.
void RaiseCharaStatusRows(cConditionDef& c, int inserted) {
  if (c.m_Kind != kConditionStatus) return;
  if (c.m_LeftIsVariable == 0 && c.m_Subject != kSubjectSystem && AtLeast(c.m_Item, inserted))
    c.m_Item = static_cast<std::uint8_t>(c.m_Item + 1);
  if (c.m_RightKind == kRightStatus && c.m_RightSubject != kSubjectSystem && AtLeast(c.m_RightItem, inserted))
    c.m_RightItem = static_cast<std::uint8_t>(c.m_RightItem + 1);
}

// Before 210 the character state list had no row 6 ("オートスクロールとシンクロ" went in there).
void RaiseCharaStateRows(cConditionDef& c) {
  if (c.m_Kind == kConditionState && c.m_Subject != kSubjectSystem && AtLeast(c.m_Item, 6))
    c.m_Item = static_cast<std::uint8_t>(c.m_Item + 1);
}

// In ascending order of version: a version-167 status row 10 goes through both insertions.
constexpr UpgradeRow<cConditionDef> kConditionUpgrades[] = {
    {160, RaiseInsertedKinds},
    {161, InvertStandingOnBlock},
    {168, [](cConditionDef& c) { RaiseCharaStatusRows(c, 10); }},  // "体当たりの衝撃"
    {203, [](cConditionDef& c) { RaiseCharaStatusRows(c, 5); }},   // "キャラID"
    {210, RaiseCharaStateRows},
};

}  // namespace

cConditionDef::cConditionDef() { RegisterFields(kRecordVersion); }

void cConditionDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_Kind);
  AddField(m_Value);
  if (version < 110) {
    AddField(m_Discarded);
    AddField(m_Discarded);
    AddField(m_Operator);
    if (version >= 43) AddField(m_Percent);
    AddField(m_Shape);
    return;
  }
  AddField(m_RandomLow);
  AddField(m_RandomHigh);
  AddField(m_Subject);
  AddField(m_Item);
  AddField(m_LeftIsVariable);
  AddField(m_LeftVarScope);
  AddField(m_Number);
  AddField(m_RightKind);
  AddField(m_RightSubject);
  AddField(m_RightItem);
  AddField(m_RightVarScope);
  AddField(m_RightNumber);
  AddField(m_Operator);
  AddField(m_Percent);
  AddField(m_Shape);
}

void cConditionDef::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  const std::uint32_t version = in.Version();
  if (version < kRecordVersion) {
    ApplyUpgrades(kConditionUpgrades, *this, version);
  }
  Normalize();
}

void ReadConditionList(std::vector<cConditionDef>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinConditionBytes)) return;
  // Grown one record at a time, so a list that breaks off never costs more memory than the records
  // the file really holds.
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) list.emplace_back().Read(in);
}

void WriteConditionList(std::vector<cConditionDef>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (cConditionDef& condition : list) condition.Write(out);
}
