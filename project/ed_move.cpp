#include "project/ed_move.h"

// Versions at which members joined the file.
namespace {
constexpr std::uint32_t kMirrorAngleSince = 158;
constexpr std::uint32_t kUnitSince = 159;
constexpr std::uint32_t kKeepFacingSince = 162;  // and keep animation
}  // namespace

// 28 arrays below 158, 29 from 158, 30 from 159, 32 from 162.
void cEdMove::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_TargetMode);
  AddField(m_Direction);
  AddField(m_StartAngle);
  AddField(m_AngleStep);
  if (version >= kMirrorAngleSince) AddField(m_MirrorAngle);
  AddField(m_UseTargetX);
  AddField(m_UseTargetY);
  AddField(m_TargetCellsX);
  AddField(m_TargetCellsY);
  AddField(m_TargetDotsX);
  AddField(m_TargetDotsY);
  AddField(m_CoordinateKind);
  AddField(m_EndOnArrival);
  AddField(m_NoMoveX);
  AddField(m_NoMoveY);
  AddField(m_MirrorX);
  AddField(m_MirrorY);
  AddField(m_TurnWithFacing);
  AddField(m_StopOnPoint);
  if (version >= kKeepFacingSince) AddField(m_KeepFacing);
  AddField(m_TimeMode);
  AddField(m_Speed);
  AddField(m_SpeedStep);
  AddField(m_Distance);
  AddField(m_DistanceStep);
  if (version >= kUnitSince) AddField(m_Unit);
  AddField(m_Radius);
  AddField(m_RadiusStep);
  AddField(m_Inertia);
  AddField(m_InertiaLimit);
  AddField(m_BrakingFactor);
  if (version >= kKeepFacingSince) AddField(m_KeepAnimation);
}

// Moves saved before a setting existed behave as they did then: without it.
void cEdMove::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  const std::uint32_t version = in.Version();
  if (version >= kRecordVersion) return;
  if (version < kMirrorAngleSince) m_MirrorAngle = 0;
  if (version < kUnitSince) m_Unit = 0;
  if (version < kKeepFacingSince) {
    m_KeepFacing = 0;
    m_KeepAnimation = 0;
  }
}

void NewEdMove(std::shared_ptr<cEdMove>& holder) {
  auto record = std::make_shared<cEdMove>();
  record->RegisterFields(g_CurrentVersion);
  holder = std::move(record);
}
