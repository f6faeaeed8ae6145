// The ショット command's volleys and the three summons: the direction, the spawn record, then the
// record's pattern.
#include <list>

#include "platform/services/random.h"
#include "play/chara_base.h"
#include "play/dots.h"
#include "play/firing.h"
#include "play/flow_runner.h"
#include "play/placing.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/common_palette.h"
#include "project/stage_data.h"

namespace {

// The pattern of the record, or null for a pattern no table has.
SpawnPattern PatternOf(const cEdShot& shot) {
  return shot.m_Pattern < PatternSpawnTable.size() ? PatternSpawnTable[shot.m_Pattern] : nullptr;
}

// A volley's angle: mirrored for a shooter facing right, then moved by the random spread, which
// draws from the game thread's generator so that a replay repeats it.
std::int32_t VolleyAngle(const cEdShot& shot, const cCharaBase& shooter, std::int32_t angle) {
  if (shot.m_MirrorAngle != 0 && shooter.m_Direction != 0) angle = 360 - angle;
  const std::int32_t r = shot.m_RandomSpread;
  if (r != 0) angle += GameRand() % (2 * r + 1) - r;
  return angle;
}

// The direction of the record for shooter, with the input direction of the flow being run.
std::int32_t DirectionOf(const cCharaBase& shooter, const cEdShot& shot) {
  const cFlowRunner* runner = g_PlayScene->m_ExecFlow;
  return ResolveShotDirection(shooter, shot.m_Direction, runner != nullptr ? runner->m_InputDirection : 0);
}

// The summon's spawn record and pattern run: objects of size x size dots, no volleys.
void RunSummon(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot, std::int32_t size) {
  const SpawnPattern pattern = PatternOf(shot);
  const std::int32_t direction = DirectionOf(summoner, shot);
  if (pattern == nullptr || direction < 0) return;
  cShotSpawn spawn{};
  spawn.m_Width = spawn.m_Height = size;
  spawn.m_Direction = direction;
  spawn.m_Speed = 1.0;
  summoner.UpdateScreenRect();
  spawn.m_OffsetX = TruncDot(shot.OffsetX(0, summoner.m_Direction != 0 ? 1 : 0));
  spawn.m_OffsetY = TruncDot(shot.OffsetY(0, summoner.m_Direction != 0 ? 1 : 0));
  pattern(nullptr, summoner, instance, shot, spawn);
}

// The entry of the record's palette source, or null when the index is outside it.
template <class T>
const T* SummonEntry(const cEdShot& shot, const CheckedVector<T>& common, const CheckedVector<T>& stage) {
  const CheckedVector<T>& palette = shot.m_SummonPalette == 0 ? common : stage;
  const std::int32_t index = shot.m_SummonIndex;
  return index >= 0 && index < palette.Size() ? &palette[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace

void FireShotCommand(std::list<cShot>& list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot) {
  const SpawnPattern pattern = PatternOf(shot);
  const std::int32_t direction = DirectionOf(shooter, shot);
  if (pattern == nullptr || direction < 0) return;
  cShotSpawn spawn{};
  spawn.m_Width = spawn.m_Height = ShotScale(shot) * 16;
  spawn.m_Direction = direction;
  // The layouts read the screen rectangles, which only the computer's characters leave stale.
  if (shooter.m_Operator == 1) shooter.UpdateScreenRect();
  if (shooter.m_Target != nullptr && shooter.m_Target->m_Operator == 1) shooter.m_Target->UpdateScreenRect();
  spawn.m_Speed = shot.m_Speed * 0.1;
  spawn.m_AngleOffset = VolleyAngle(shot, shooter, shot.m_Angle);
  spawn.m_Range = ShotRange(shot);
  spawn.m_Life = ShotLife(shot);
  const std::int32_t facing = shooter.m_Direction != 0 ? 1 : 0;
  for (std::int32_t k = 0; k <= ShotRepetitions(shot); ++k) {
    spawn.m_Repetition = static_cast<std::uint16_t>(k);
    spawn.m_OffsetX = TruncDot(shot.OffsetX(k, facing));
    spawn.m_OffsetY = TruncDot(shot.OffsetY(k, facing));
    pattern(&list, shooter, instance, shot, spawn);
    spawn.m_Speed += shot.m_SpeedStep * 0.1;
    spawn.m_AngleOffset = VolleyAngle(shot, shooter, shot.m_AngleStep * (k + 1) + shot.m_Angle);
    spawn.m_Range += ShotRangeStep(shot);
    spawn.m_Life += ShotLifeStep(shot);
  }
}

void SummonCharaCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot) {
  const cCharaDef* def = SummonEntry(shot, g_CommonPalette.m_Charas, g_Stage.m_PaletteCharas);
  // Only the computer's characters can be summoned.
  if (def == nullptr || def->m_Operator != 1) return;
  RunSummon(summoner, instance, shot, 32 * def->m_Enlargement);
}

void SummonItemCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot) {
  const cItemDef* def = SummonEntry(shot, g_CommonPalette.m_Items, g_Stage.m_PaletteItems);
  if (def == nullptr) return;
  RunSummon(summoner, instance, shot, 32 * def->m_Size);
}

void SummonBlockCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot) {
  if (SummonEntry(shot, g_CommonPalette.m_Blocks, g_Stage.m_PaletteBlocks) == nullptr) return;
  // A toggling summon changes each cell once per summon, however many objects its pattern puts there.
  if (SummonOptionsOf(shot).blockMode == kToggleBlock) g_PlayScene->m_ToggledCells.clear();
  RunSummon(summoner, instance, shot, 32);
}
