#include "project/block.h"

#include <algorithm>

namespace {

// The shot sheet gained a first picture at version 219; older files count from one place lower.
constexpr std::uint32_t kShotSheetShiftVersion = 219;
constexpr int kLastShotPicture = 119;

}  // namespace

cBlock::cBlock() {
  Reset();
  m_Solid = kSolid;
  m_PassGroup = -1;
  m_InheritFlags.assign(kBlockGroupCount, 0);
}

// The same list for every version; nothing was ever added to it.
void cBlock::RegisterFields(std::uint32_t) {
  ClearFields();
  AddHeadFields();
  AddField(m_ChipIndex);
  AddField(m_ChipSource);
  AddField(m_ChipFrame);
  AddField(m_FrontLayer);
  AddField(m_Hidden);
  AddField(m_MarkMode);
  AddField(m_MarkNumber);
  AddField(m_Solid);
  AddField(m_PassGroup);
  AddField(m_CellEffect);
  AddField(m_EffectValue);
  AddField(m_ItemSource);
  AddField(m_ItemIndex);
  AddField(m_SummonProof);
  AddString(m_Name);
}

void cBlock::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadHeadParts(in);
  if (in.Version() < kShotSheetShiftVersion && m_ChipSource == kChipShot)
    m_ChipIndex = static_cast<std::int16_t>(std::min(m_ChipIndex + 1, kLastShotPicture));
  ApplyProperties();
  Normalize();
}

void cBlock::Write(cRecordWriter& out) {
  Normalize();
  cDataRecord::Write(out);
  WriteHeadParts(out);
}

void cBlock::Normalize() {
  DropBadInheritRef(*this, &PaletteView::blocks);
  for (cConditionDef& condition : m_Conditions) condition.Normalize();
  if (m_ChipIndex == 0) {
    m_Solid = kSolidNone;
    m_SummonProof = 0;
  }
}

void cBlock::NormalizeItemRef(int commonItems, int stageItems) {
  int size = 0;
  if (m_ItemSource == kInheritCommon) {
    size = commonItems;
  } else if (m_ItemSource == kInheritStage) {
    size = stageItems;
  } else {
    return;
  }
  if (PaletteIndexInRange(m_ItemIndex, size)) return;
  m_ItemSource = 0;
  m_ItemIndex = 0;
}
