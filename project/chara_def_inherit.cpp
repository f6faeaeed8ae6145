#include "project/chara_def.h"

namespace {

// A group of one member; MemberCopy<&cCharaDef::m_Z> copies the Z order alone.
template <auto Member>
void MemberCopy(cCharaDef& to, const cCharaDef& from) {
  to.*Member = from.*Member;
}

void CopyOperator(cCharaDef& to, const cCharaDef& from) {
  to.m_Operator = from.m_Operator;
  to.m_Player = from.m_Player;
}

void CopyOffsetX(cCharaDef& to, const cCharaDef& from) {
  to.m_OffsetXBase = from.m_OffsetXBase;
  to.m_OffsetXStep = from.m_OffsetXStep;
  to.m_OffsetXMirrored = from.m_OffsetXMirrored;
}

void CopyOffsetY(cCharaDef& to, const cCharaDef& from) {
  to.m_OffsetYBase = from.m_OffsetYBase;
  to.m_OffsetYStep = from.m_OffsetYStep;
  to.m_OffsetYMirrored = from.m_OffsetYMirrored;
}

void CopyChip(cCharaDef& to, const cCharaDef& from) {
  to.m_ChipSource = from.m_ChipSource;
  to.m_ChipIndex = from.m_ChipIndex;
  to.m_ChipFrame = from.m_ChipFrame;
}

void CopyAppearEffect(cCharaDef& to, const cCharaDef& from) {
  to.m_AppearEffect = from.m_AppearEffect;
  to.m_AppearEffectMode = from.m_AppearEffectMode;
  to.m_AppearEffectLoop = from.m_AppearEffectLoop;
}

void CopyDeathEffect(cCharaDef& to, const cCharaDef& from) {
  to.m_DeathEffect = from.m_DeathEffect;
  to.m_DeathEffectMode = from.m_DeathEffectMode;
}

void CopyMark(cCharaDef& to, const cCharaDef& from) {
  to.m_MarkMode = from.m_MarkMode;
  to.m_MarkNumber = from.m_MarkNumber;
}

void CopyInvincible(cCharaDef& to, const cCharaDef& from) {
  to.m_Invincible = from.m_Invincible;
  to.m_ColorEffect = from.m_ColorEffect;
}

void CopySight(cCharaDef& to, const cCharaDef& from) {
  to.m_SightShape = from.m_SightShape;
  to.m_SightRange = from.m_SightRange;
}

void CopyActivity(cCharaDef& to, const cCharaDef& from) {
  to.m_ActivityRange = from.m_ActivityRange;
  to.m_ActivationMode = from.m_ActivationMode;
}

void CopyGroup(cCharaDef& to, const cCharaDef& from) {
  to.m_GroupNumber = from.m_GroupNumber;
  to.m_GroupActivation = from.m_GroupActivation;
}

}  // namespace

// The flows are copied whole: every flow, its commands and their move and shot records become the
// character's own (cFlow and cFlowCommand copy deep).
const std::array<GroupCopy<cCharaDef>, kCharaGroupCount> CharaDefGroupCopyTable = {
    MemberCopy<&cCharaDef::m_Name>,              // 0
    CopyOperator,                                // 1
    MemberCopy<&cCharaDef::m_SpareByte2>,        // 2
    MemberCopy<&cCharaDef::m_CharaId>,           // 3
    MemberCopy<&cCharaDef::m_Conditions>,        // 4 the list only
    MemberCopy<&cCharaDef::m_Facing>,            // 5
    MemberCopy<&cCharaDef::m_SpareByte1>,        // 6
    CopyOffsetX,                                 // 7
    CopyOffsetY,                                 // 8
    CopyChip,                                    // 9
    MemberCopy<&cCharaDef::m_AnimeSet>,          // 10
    MemberCopy<&cCharaDef::m_Z>,                 // 11
    MemberCopy<&cCharaDef::m_Transparent>,       // 12
    CopyAppearEffect,                            // 13
    CopyDeathEffect,                             // 14
    CopyMark,                                    // 15
    MemberCopy<&cCharaDef::m_FixedFacing>,       // 16
    MemberCopy<&cCharaDef::m_Flight>,            // 17
    CopyInvincible,                              // 18
    MemberCopy<&cCharaDef::m_BlockChara>,        // 19
    MemberCopy<&cCharaDef::m_Enlargement>,       // 20
    MemberCopy<&cCharaDef::m_ScrollSync>,        // 21
    CopySight,                                   // 22
    MemberCopy<&cCharaDef::m_MaxHp>,             // 23
    MemberCopy<&cCharaDef::m_MaxSp>,             // 24
    MemberCopy<&cCharaDef::m_BodyBox>,           // 25
    MemberCopy<&cCharaDef::m_BodyAttack>,        // 26
    MemberCopy<&cCharaDef::m_BodyImpact>,        // 27
    MemberCopy<&cCharaDef::m_HitEffect>,         // 28
    MemberCopy<&cCharaDef::m_Defence>,           // 29
    MemberCopy<&cCharaDef::m_ImpactResistance>,  // 30
    MemberCopy<&cCharaDef::m_Stopping>,          // 31
    CopyActivity,                                // 32
    CopyGroup,                                   // 33
    MemberCopy<&cCharaDef::m_Score>,             // 34
    MemberCopy<&cCharaDef::m_SpareByte3>,        // 35
    MemberCopy<&cCharaDef::m_Flows>,             // 36 the whole list, deep
};

void InheritCharaDef(cCharaDef& chara) {
  InheritGroups<cCharaDef>(chara, &PaletteView::charas, CharaDefGroupCopyTable);
}
