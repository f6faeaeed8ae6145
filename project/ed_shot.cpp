#include "project/ed_shot.h"

#include "project/load_context.h"
#include "project/move_shot_vocabulary.h"

// Versions at which members joined the file, and the one whose homing flag is trusted.
namespace {
constexpr std::uint32_t kMirrorAngleSince = 158;
constexpr std::uint32_t kByte132Since = 197;
constexpr std::uint32_t kHomingFlagSince = 211;
constexpr std::uint32_t kHomingFlagTrustedSince = 212;
constexpr std::uint32_t kAccelerationSince = 213;

double Offset(std::int16_t base, std::int16_t step, std::uint8_t mirror, int n, int facing) {
  const double offset = static_cast<double>(base) + static_cast<double>(step) * static_cast<double>(n);
  return facing == 1 && mirror ? -offset : offset;
}
}  // namespace

// 52 arrays below 158, 53 from 158, 54 from 197, 55 from 211, 58 from 213. The file order differs
// from the member order around word 96 and bytes 130..132.
void cEdShot::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_Byte36);
  AddField(m_Pattern);
  AddField(m_PatternParams);
  AddField(m_Direction);
  AddField(m_Byte45);
  AddField(m_Angle);
  AddField(m_AngleStep);
  if (version >= kMirrorAngleSince) AddField(m_MirrorAngle);
  AddField(m_RandomSpread);
  AddField(m_Byte54);
  AddField(m_ExtraVolleys);
  AddField(m_OffsetXBase);
  AddField(m_OffsetXStep);
  AddField(m_OffsetYBase);
  AddField(m_OffsetYStep);
  AddField(m_MirrorX);
  AddField(m_MirrorY);
  AddField(m_Picture);
  AddField(m_Byte68);
  AddField(m_Byte69);
  AddField(m_Byte70);
  AddField(m_Group);
  AddField(m_Byte72);
  AddField(m_Size);
  AddField(m_Byte74);
  AddField(m_MoveKind);
  AddField(m_MoveParams);
  if (version >= kHomingFlagSince) AddField(m_HomingFlag);
  AddField(m_Speed);
  AddField(m_SpeedStep);
  if (version >= kAccelerationSince) {
    AddField(m_Accelerating);
    AddField(m_Acceleration);
    AddField(m_AccelerationStep);
  }
  AddField(m_Word96);
  AddField(m_LimitedRange);
  AddField(m_Word96Step);
  AddField(m_Byte100);
  AddField(m_LimitedLife);
  AddField(m_Word102);
  AddField(m_Word102Step);
  AddField(m_BlockPassing);
  AddField(m_Byte107);
  AddField(m_Byte108);
  AddField(m_Byte109);
  AddField(m_Word112);
  AddField(m_Word116);
  AddField(m_Byte118);
  AddField(m_HitEffect);
  AddField(m_ItemSource);
  AddField(m_ItemIndex);
  AddField(m_Byte126);
  AddField(m_Byte131);
  if (version >= kByte132Since) AddField(m_Byte132);
  AddField(m_SummonPalette);
  AddField(m_SummonIndex);
  AddField(m_Byte130);
  AddField(m_Byte133);
  AddField(m_Byte134);
}

// Shots saved before a setting existed behave as they did then. Before 212 the homing flag was not
// kept in step with the movement kind, so it is taken from the kind.
void cEdShot::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  const std::uint32_t version = in.Version();
  if (version < kRecordVersion) {
    if (version < kMirrorAngleSince) m_MirrorAngle = 0;
    if (version < kByte132Since) m_Byte132 = m_Byte131;
    if (version < kHomingFlagTrustedSince) m_HomingFlag = IsHomingShotMove(m_MoveKind) ? 1 : 0;
    if (version < kAccelerationSince) {
      m_Accelerating = 0;
      m_Acceleration = 0;
      m_AccelerationStep = 0;
    }
  }
  Normalize();
}

void cEdShot::Write(cRecordWriter& out) { cDataRecord::Write(out); }

void cEdShot::Normalize() {
  if (m_Size < 1) m_Size = 1;
  // Unsigned, so a negative effect counts as out of range too.
  const auto effects = static_cast<std::uint32_t>(LoadContext().database.effects);
  if (static_cast<std::uint32_t>(static_cast<std::int32_t>(m_HitEffect)) >= effects) m_HitEffect = 0;
}

double cEdShot::OffsetX(int n, int facing) const { return Offset(m_OffsetXBase, m_OffsetXStep, m_MirrorX, n, facing); }

double cEdShot::OffsetY(int n, int facing) const { return Offset(m_OffsetYBase, m_OffsetYStep, m_MirrorY, n, facing); }

void NewEdShot(std::shared_ptr<cEdShot>& holder) {
  auto record = std::make_shared<cEdShot>();
  record->RegisterFields(g_CurrentVersion);
  holder = std::move(record);
}
