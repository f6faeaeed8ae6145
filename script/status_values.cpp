// The readers of the character and system statuses that conditions and status operations share.
#include "script/status_values.h"

#include <utility>

#include "platform/services/random.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/condition.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/condition_parts.h"

namespace {
using Chara = const cCharaBase&;
using Index = std::int32_t;
}  // namespace

const std::array<CharaStatusReader, kCharaStatusCount> CharaStatusReaders = {{
    {32, [](Chara c, Index i) { return ReadVariable(c.m_Vars, i); }, nullptr},  // キャラ変数
    {32, [](Chara c, Index) -> StatusValue { return c.m_Hp; },
     [](Chara c, Index) -> StatusValue { return c.m_Def.m_MaxHp; }},  // HP
    {32, [](Chara c, Index) -> StatusValue { return c.m_Sp; },
     [](Chara c, Index) -> StatusValue { return c.m_Def.m_MaxSp; }},                         // SP
    {32, [](Chara c, Index) -> StatusValue { return c.m_Def.m_MaxHp; }, nullptr},            // 最大HP
    {32, [](Chara c, Index) -> StatusValue { return c.m_Def.m_MaxSp; }, nullptr},            // 最大SP
    {8, [](Chara c, Index) -> StatusValue { return c.m_Def.m_CharaId; }, nullptr},           // キャラID
    {8, [](Chara c, Index) -> StatusValue { return c.m_Def.m_Z; }, nullptr},                 // Z座標
    {16, [](Chara c, Index) -> StatusValue { return c.m_Def.m_MarkNumber; }, nullptr},       // マーク番号
    {8, [](Chara c, Index) -> StatusValue { return c.m_Def.m_SightRange; }, nullptr},        // 視界範囲(hbl)
    {32, [](Chara c, Index) -> StatusValue { return c.m_Def.m_BodyAttack; }, nullptr},       // 体当たりの威力
    {8, [](Chara c, Index) -> StatusValue { return c.m_Def.m_BodyImpact; }, nullptr},        // 体当たりの衝撃
    {32, [](Chara c, Index) -> StatusValue { return c.m_Def.m_Defence; }, nullptr},          // 防御力
    {8, [](Chara c, Index) -> StatusValue { return c.m_Def.m_ImpactResistance; }, nullptr},  // 衝撃耐性
    {16, [](Chara c, Index) -> StatusValue { return c.m_Def.m_Stopping; }, nullptr},         // 止まりやすさ
    {32, [](Chara c, Index) -> StatusValue { return c.m_Def.m_Score; }, nullptr},            // 獲得スコア
}};

namespace {

constexpr std::array<StatusValue (*)(), kSystemStatusCount> kSystemStatuses = {{
    []() -> StatusValue {
      return g_PlayScene != nullptr ? StatusValue(g_PlayScene->m_TimeLeft) : std::nullopt;
    },                                                   // 時間
    []() -> StatusValue { return g_ScrollSpeedX; },      // 横スクロール速度
    []() -> StatusValue { return g_ScrollSpeedY; },      // 縦スクロール速度
    []() -> StatusValue { return g_SaveData.m_Score; },  // スコア
    []() -> StatusValue { return g_SaveData.m_Lives; },  // 残り人数
}};

}  // namespace

StatusValue ReadSystemStatus(std::uint8_t status) {
  if (status >= kSystemStatuses.size()) return std::nullopt;
  return kSystemStatuses[status]();
}

StatusValue SystemStatusOperand(std::uint8_t status) {
  const StatusValue value = ReadSystemStatus(status);
  if (!value) return value;
  if (status == kSystemStatusTime && g_PlayScene->m_NoTimeLimit != 0) return 0;
  if (status == kSystemStatusLives && *value == kUnlimitedLives) return 0;
  return value;
}

StatusValue StatusOperand(cCharaBase& chara, std::int32_t owner, std::int32_t status, std::int32_t index) {
  if (status < 0 || owner < 0 || owner > kSubjectSystem) return std::nullopt;
  if (owner == kSubjectSystem)
    return status < kSystemStatusCount ? SystemStatusOperand(static_cast<std::uint8_t>(status)) : std::nullopt;
  cCharaBase* subject = ConditionCharacter(chara, static_cast<std::uint8_t>(owner));
  if (subject == nullptr || status >= kCharaStatusCount) return std::nullopt;
  if (status == kCharaStatusSight && subject->m_Operator == 1) return std::nullopt;
  if (status == kCharaStatusStopping) subject->m_Friction = PercentPerStep(subject->m_Def.m_Stopping);
  return CharaStatusReaders[static_cast<std::size_t>(status)].read(*subject, index);
}

std::int32_t RandomBetween(std::int32_t low, std::int32_t high) {
  if (high < low) std::swap(low, high);
  const std::int64_t size = std::int64_t{high} - low + 1;
  return static_cast<std::int32_t>(GameRand() % size + low);
}
