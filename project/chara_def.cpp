#include "project/chara_def.h"

#include <algorithm>
#include <type_traits>
#include <vector>

#include "project/block.h"
#include "project/command_normalize.h"
#include "project/load_context.h"
#include "project/upgrade_rows.h"

// Palette lists grow by moving their records, never by deep copies of the flows.
static_assert(std::is_nothrow_move_constructible_v<cCharaDef>);

namespace {

// Versions that added fields to the body.
constexpr std::uint32_t kDefenceVersion = 168;
constexpr std::uint32_t kEffectModeVersion = 196;
constexpr std::uint32_t kBodyBoxVersion = 201;
constexpr std::uint32_t kScrollSyncVersion = 210;
constexpr std::uint32_t kBodyBoxRenumberVersion = 206;
constexpr std::uint32_t kShotSheetShiftVersion = 219;
constexpr std::uint32_t kColorEffectVersion = 285;

// Where each group that came in later stood in the group list of its version.
constexpr int kDefenceGroupAt167 = 27;
constexpr int kBodyBoxGroupAt200 = 24;
constexpr int kScrollSyncGroupAt209 = 21;

// A body box came in before row 2 at 206; older files count the rows from there one place lower.
constexpr std::uint8_t kFirstBodyBoxMovedAt206 = 2;

// The shot sheet gained a first picture at version 219.
constexpr int kLastShotPicture = 119;

// Makes room for a new property group at position: the flags become exactly kCharaGroupCount long,
// the flags from position on move up one place (the last one falling off) and the new group is
// inherited, as it was part of what the record inherited before.
void InsertGroupFlag(CheckedVector<std::uint8_t>& flags, int position) {
  flags.resize(kCharaGroupCount, 0);
  for (int i = kCharaGroupCount - 1; i > position; --i) flags.At(i) = flags.At(i - 1);
  flags.At(position) = 1;
}

// In ascending order of version; each group insertion lines the flags up with the next version's
// groups, so after the last one they match CharaDefGroupCopyTable.
constexpr UpgradeRow<cCharaDef> kCharaUpgrades[] = {
    {kDefenceVersion,
     [](cCharaDef& c) {
       c.m_Defence = 0;
       InsertGroupFlag(c.m_InheritFlags, kDefenceGroupAt167);
     }},
    {kEffectModeVersion,
     [](cCharaDef& c) {
       c.m_AppearEffectMode = 0;
       c.m_DeathEffectMode = 0;
     }},
    {kBodyBoxVersion,
     [](cCharaDef& c) {
       c.m_BodyBox = 0;
       InsertGroupFlag(c.m_InheritFlags, kBodyBoxGroupAt200);
     }},
    {kBodyBoxRenumberVersion,
     [](cCharaDef& c) {
       if (c.m_BodyBox >= kFirstBodyBoxMovedAt206) c.m_BodyBox = static_cast<std::uint8_t>(c.m_BodyBox + 1);
     }},
    {kScrollSyncVersion,
     [](cCharaDef& c) {
       c.m_ScrollSync = 0;
       InsertGroupFlag(c.m_InheritFlags, kScrollSyncGroupAt209);
     }},
    {kShotSheetShiftVersion,
     [](cCharaDef& c) {
       if (c.m_ChipSource == kChipShot)
         c.m_ChipIndex = static_cast<std::int16_t>(std::min(c.m_ChipIndex + 1, kLastShotPicture));
     }},
    // Characters drawn before animated colours existed keep the colour they were drawn in.
    {kColorEffectVersion, [](cCharaDef& c) { c.m_ColorEffect = 1; }},
};

// References are taken as unsigned numbers, so a negative one is never in range.
bool InRange(int value, int size) { return PaletteIndexInRange(value, size); }

bool IsEmptyFlow(const cFlow& flow) {
  return flow.m_Conditions.empty() && flow.m_KeyConditions.empty() && flow.m_Commands.empty();
}

double Offset(int base, int step, int n, bool mirrored, int facing) {
  const double offset = static_cast<double>(base) + static_cast<double>(step) * n;
  return facing == 1 && mirrored ? -offset : offset;
}

}  // namespace

cCharaDef::cCharaDef() {
  RegisterFields(kRecordVersion);
  m_InheritFlags.assign(kCharaGroupCount, 0);
}

void cCharaDef::SetDefaults() {
  *this = cCharaDef();
  RegisterFields(kRecordVersion);
}

// The current layout: 53 arrays, 82 bytes, and the name.
void cCharaDef::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_InheritSource);
  AddField(m_InheritIndex);
  AddField(m_ConditionMode);
  AddField(m_KeepOnceMet);
  AddField(m_Facing);
  AddField(m_SpareByte1);
  AddField(m_OffsetXBase);
  AddField(m_OffsetXStep);
  AddField(m_OffsetYBase);
  AddField(m_OffsetYStep);
  AddField(m_OffsetXMirrored);
  AddField(m_OffsetYMirrored);
  AddField(m_ChipIndex);
  AddField(m_ChipSource);
  AddField(m_ChipFrame);
  AddField(m_AnimeSet);
  AddField(m_Z);
  AddField(m_Transparent);
  AddField(m_AppearEffect);
  if (version >= kEffectModeVersion) AddField(m_AppearEffectMode);
  AddField(m_AppearEffectLoop);
  AddField(m_DeathEffect);
  if (version >= kEffectModeVersion) AddField(m_DeathEffectMode);
  AddField(m_MarkMode);
  AddField(m_MarkNumber);
  AddField(m_Operator);
  AddField(m_Player);
  AddField(m_SpareByte2);
  AddField(m_CharaId);
  AddField(m_Flight);
  AddField(m_FixedFacing);
  AddField(m_Invincible);
  if (version >= kColorEffectVersion) AddField(m_ColorEffect);
  AddField(m_BlockChara);
  AddField(m_Enlargement);
  if (version >= kScrollSyncVersion) AddField(m_ScrollSync);
  AddField(m_SightShape);
  AddField(m_SightRange);
  AddField(m_MaxHp);
  AddField(m_MaxSp);
  AddField(m_Stopping);
  if (version >= kBodyBoxVersion) AddField(m_BodyBox);
  AddField(m_BodyAttack);
  AddField(m_BodyImpact);
  AddField(m_HitEffect);
  if (version >= kDefenceVersion) AddField(m_Defence);
  AddField(m_ImpactResistance);
  AddField(m_Score);
  AddField(m_SpareByte3);
  AddField(m_GroupActivation);
  AddField(m_GroupNumber);
  AddField(m_ActivityRange);
  AddField(m_ActivationMode);
  AddString(m_Name);
}

void cCharaDef::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  in.ReadI16(m_PosX);
  in.ReadI16(m_PosY);
  in.ReadU32(m_StoredWord);
  std::uint32_t flags = 0;
  if (in.ReadCount(flags, 1)) {
    m_InheritFlags.assign(flags, 0);
    in.ReadBytes(m_InheritFlags.data(), m_InheritFlags.size());
  }
  ReadConditionList(m_Conditions, in);
  ReadFlowList(m_Flows, in);
  if (DropTestOnlyFlows()) NormalizeFlowList(m_Flows);

  const std::uint32_t version = in.Version();
  if (version < kRecordVersion) {
    ApplyUpgrades(kCharaUpgrades, *this, version);
  }
  InheritCharaDef(*this);
  Normalize();
}

void cCharaDef::Write(cRecordWriter& out) {
  Normalize();
  cDataRecord::Write(out);
  out.WriteI16(m_PosX);
  out.WriteI16(m_PosY);
  out.WriteU32(m_StoredWord);
  out.WriteCount(m_InheritFlags.size());
  out.WriteBytes(m_InheritFlags.data(), m_InheritFlags.size());
  WriteConditionList(m_Conditions, out);
  WriteFlowList(m_Flows, out);
}

void cCharaDef::Normalize() {
  DropBadInheritRef(*this, &PaletteView::charas);
  const DatabaseSizes& database = LoadContext().database;
  // A dedicated bitmap the database lacks falls back to the first real one; a database with no
  // bitmap beyond entry 0 has no such one, and then the picture becomes none.
  if (m_ChipSource == kChipCharaBitmap && !InRange(m_ChipIndex, database.charaBitmaps))
    m_ChipIndex = static_cast<std::int16_t>(InRange(1, database.charaBitmaps) ? 1 : 0);
  if (m_Enlargement < 1) m_Enlargement = 1;
  if (!InRange(m_AnimeSet, database.animeSets)) m_AnimeSet = 0;
  if (!InRange(m_AppearEffect, database.charaEffects)) m_AppearEffect = 0;
  if (!InRange(m_DeathEffect, database.charaEffects)) m_DeathEffect = 0;
  if (!InRange(m_HitEffect, database.effects)) m_HitEffect = 0;
  for (cConditionDef& condition : m_Conditions) condition.Normalize();
  for (cFlow& flow : m_Flows) flow.Normalize();
  std::erase_if(m_Flows, IsEmptyFlow);
}

void cCharaDef::NormalizeSummons(const SummonPalettes& palettes) {
  for (cFlow& flow : m_Flows) NormalizeFlowSummons(flow, palettes);
}

double cCharaDef::OffsetX(int n, int facing) const {
  return Offset(m_OffsetXBase, m_OffsetXStep, n, m_OffsetXMirrored != 0, facing);
}

double cCharaDef::OffsetY(int n, int facing) const {
  return Offset(m_OffsetYBase, m_OffsetYStep, n, m_OffsetYMirrored != 0, facing);
}
