#include "project/block.h"

namespace {

void CopyChip(cBlock& to, const cBlock& from) {
  to.m_ChipSource = from.m_ChipSource;
  to.m_ChipIndex = from.m_ChipIndex;
  to.m_ChipFrame = from.m_ChipFrame;
}

void CopyMark(cBlock& to, const cBlock& from) {
  to.m_MarkMode = from.m_MarkMode;
  to.m_MarkNumber = from.m_MarkNumber;
}

void CopyCellEffect(cBlock& to, const cBlock& from) {
  to.m_CellEffect = from.m_CellEffect;
  to.m_EffectValue = from.m_EffectValue;
}

void CopyItem(cBlock& to, const cBlock& from) {
  to.m_ItemSource = from.m_ItemSource;
  to.m_ItemIndex = from.m_ItemIndex;
}

}  // namespace

const std::array<GroupCopy<cBlock>, kBlockGroupCount> BlockGroupCopyTable = {
    CopyHeadName<cBlock>,                                                           // 0 name
    CopyHeadConditions<cBlock>,                                                     // 1 conditions
    CopyChip,                                                                       // 2 picture
    [](cBlock& to, const cBlock& from) { to.m_FrontLayer = from.m_FrontLayer; },    // 3
    [](cBlock& to, const cBlock& from) { to.m_Hidden = from.m_Hidden; },            // 4
    CopyMark,                                                                       // 5
    [](cBlock& to, const cBlock& from) { to.m_Solid = from.m_Solid; },              // 6
    [](cBlock& to, const cBlock& from) { to.m_PassGroup = from.m_PassGroup; },      // 7
    CopyCellEffect,                                                                 // 8
    CopyItem,                                                                       // 9
    [](cBlock& to, const cBlock& from) { to.m_SummonProof = from.m_SummonProof; },  // 10
};

void cBlock::ApplyProperties() { InheritGroups<cBlock>(*this, &PaletteView::blocks, BlockGroupCopyTable); }
