// The parameter upgrades of commands saved by older versions of the editing program. Each row says
// what changed in a command's parameters (or its move or shot record) at one version; a file older
// than that gets the change. Rows are given by character command; a flow command under the same
// label gets the same change.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "project/command_vocabulary.h"
#include "project/flow_command.h"

namespace {

using Params = CheckedVector<std::int32_t>;

// Parameter i. Files that hold fewer parameters than a change looks at read the missing ones as 0:
// the vector grows with zeros first, as the padding after the upgrades would have made it anyway.
std::int32_t& Param(Params& p, std::size_t i) {
  if (p.size() <= i) p.resize(i + 1, 0);
  return p[i];
}

void Resize(Params& p, std::size_t n) { p.resize(n, 0); }

// Resizes to n, moves P[k..n-2] up one place and puts v at k.
void Insert(Params& p, std::size_t k, std::int32_t v, std::size_t n) {
  Resize(p, n);
  std::move_backward(p.begin() + static_cast<std::ptrdiff_t>(k), p.end() - 1, p.end());
  p[k] = v;
}

// One row further down a list; a value already at the top stays there.
void NextRow(std::int32_t& value) {
  if (value < std::numeric_limits<std::int32_t>::max()) ++value;
}

// A row was put into the character status list after row `above`: every status operand of "ステー
// タスの操作" on a character (not the system) from there on moves down by one. P0 = 0 means a status
// on the left, P3 its owner, P4 its row; P6 = 2 a status operand, P12 its owner, P13 its row.
constexpr std::int32_t kStatusOwnerSystem = 2;
void RaiseStatusRows(Params& p, std::int32_t above) {
  if (Param(p, 0) == 0 && Param(p, 3) != kStatusOwnerSystem && Param(p, 4) > above) NextRow(Param(p, 4));
  if (Param(p, 6) == 2 && Param(p, 12) != kStatusOwnerSystem && Param(p, 13) > above) NextRow(Param(p, 13));
}

// "ステータスの操作2": the state list of characters got row 6 ("オートスクロールとシンクロ").
void RaiseStateRows(Params& p) {
  if (Param(p, 0) != kStatusOwnerSystem && Param(p, 1) > 5) NextRow(Param(p, 1));
}

// Pictures of the shot sheet moved one place on at 219/220; 119 is the last there is.
constexpr std::int32_t kLastShotPicture = 119;
constexpr std::int32_t kGraphicFromShotSheet = 3;  // the chip source of "グラフィックの変更" P0
std::int32_t NextShotPicture(std::int32_t picture) {
  return picture >= kLastShotPicture ? kLastShotPicture : picture + 1;
}

void RaiseGraphicPicture(Params& p) {
  if (Param(p, 0) == kGraphicFromShotSheet) Param(p, 1) = NextShotPicture(Param(p, 1));
}

void RaiseShotPicture(cFlowCommand& c) {
  if (c.m_Shot) c.m_Shot->m_Picture = static_cast<std::int16_t>(NextShotPicture(c.m_Shot->m_Picture));
}

// Charges of old files ran straight, without the angle settings.
void StraightCharge(cFlowCommand& c) {
  if (!c.m_Move) return;
  c.m_Move->m_StartAngle = 0;
  c.m_Move->m_AngleStep = 0;
  c.m_Move->m_MirrorAngle = 1;
}

// The message of old files got its screen-fixed flag, the new settings and the flag of 556.
constexpr std::size_t kMessageParams = 17;
constexpr std::size_t kPictureParams = 14;
constexpr std::int32_t kMessageAtScreenCentre = 0;
constexpr std::int32_t kMessageAtScreenPoint = 7;

void MessageScreenFixed(Params& p) {
  const std::int32_t position = Param(p, 0);
  Param(p, 10) = position == kMessageAtScreenCentre || position == kMessageAtScreenPoint ? 1 : 0;
}

struct CommandUpgrade {
  std::uint32_t below;  // applies to files of an older version than this
  int command;          // character command (flow commands by CharaEquivalent)
  void (*apply)(cFlowCommand&);
};

// In ascending order of version, one line per command of a change.
const CommandUpgrade kCommandUpgrades[] = {
    {145, kCharaStageClear, [](cFlowCommand& c) { Resize(c.m_Params, 5); }},
    {166, kCharaMusic,
     [](cFlowCommand& c) {
       Resize(c.m_Params, 2);
       c.m_Params[1] = 1;
     }},
    {168, kCharaStatus, [](cFlowCommand& c) { RaiseStatusRows(c.m_Params, 9); }},  // "体当たりの衝撃"
    {189, kCharaSetTarget, [](cFlowCommand& c) { Insert(c.m_Params, 2, 0, 10); }},
    {194, kCharaShowPicture, [](cFlowCommand& c) { Insert(c.m_Params, 6, 1, kPictureParams); }},
    {195, kCharaCharaEffect, [](cFlowCommand& c) { Insert(c.m_Params, 1, 0, 3); }},
    {195, kCharaScreenEffect, [](cFlowCommand& c) { Insert(c.m_Params, 1, 0, 3); }},
    {203, kCharaSummonChara, [](cFlowCommand& c) { Resize(c.m_Params, 0); }},
    {203, kCharaSummonItem, [](cFlowCommand& c) { Resize(c.m_Params, 0); }},
    {203, kCharaFlowControl, [](cFlowCommand& c) { Resize(c.m_Params, 3); }},
    {203, kCharaStatus, [](cFlowCommand& c) { RaiseStatusRows(c.m_Params, 4); }},  // "キャラID"
    {210, kCharaStatus2, [](cFlowCommand& c) { RaiseStateRows(c.m_Params); }},
    {219, kCharaChangeGraphic, [](cFlowCommand& c) { RaiseGraphicPicture(c.m_Params); }},
    {220, kCharaShot, RaiseShotPicture},
    {514, kCharaChargeMove, StraightCharge},
    {545, kCharaMessage,
     [](cFlowCommand& c) {
       Resize(c.m_Params, kMessageParams);
       c.m_Params[10] = 1;
     }},
    {545, kCharaShowPicture,
     [](cFlowCommand& c) {
       Resize(c.m_Params, kPictureParams);
       c.m_Params[11] = 0;
     }},
    {546, kCharaMessage, [](cFlowCommand& c) { MessageScreenFixed(c.m_Params); }},
    {547, kCharaMessage,
     [](cFlowCommand& c) {
       Resize(c.m_Params, kMessageParams);
       c.m_Params[11] = c.m_Params[12] = c.m_Params[13] = 0;
       c.m_Params[14] = 1;
       c.m_Params[15] = 0;
     }},
    {547, kCharaShowPicture,
     [](cFlowCommand& c) {
       Resize(c.m_Params, kPictureParams);
       c.m_Params[12] = c.m_Params[13] = 0;
     }},
    {556, kCharaMessage,
     [](cFlowCommand& c) {
       Resize(c.m_Params, kMessageParams);
       c.m_Params[16] = 1;
     }},
};

}  // namespace

void UpgradeCommandParams(cFlowCommand& command, std::uint32_t version) {
  const int chara = CharaEquivalent(command.m_CommandSet, command.m_CommandNumber);
  if (chara == kNoCharaCommand) return;
  for (const CommandUpgrade& upgrade : kCommandUpgrades)
    if (version < upgrade.below && upgrade.command == chara) upgrade.apply(command);
}
