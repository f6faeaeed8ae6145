#pragma once
// Firing and summoning by a command's shot record: the command works out the direction and the
// volleys, one of the six spawn patterns works out where each object starts and how it moves, and
// FireShot makes the object: a shot, or a summoned character, item or map cell.
#include <array>
#include <cstdint>
#include <list>

#include "project/ed_shot.h"

class cCharaBase;
class cShot;
struct cCommandInstance;
struct cShotSpawn;

// The settings of the shot record read here, by their meaning.
inline std::int32_t ShotCount(const cEdShot& shot) { return static_cast<std::int8_t>(shot.m_Byte36); }
inline std::int32_t ShotAims(const cEdShot& shot) { return shot.m_Byte45; }
inline std::int32_t ShotRotatesStart(const cEdShot& shot) { return shot.m_Byte54; }
inline std::int32_t ShotRepetitions(const cEdShot& shot) { return static_cast<std::int8_t>(shot.m_ExtraVolleys); }
inline std::int32_t ShotScale(const cEdShot& shot) { return static_cast<std::int8_t>(shot.m_Size); }

// The absolute direction of a record's direction code for shooter: front and back by its facing,
// the input direction (0..8, of the flow being run) by itself. -1 for a code no editing program
// offers: the command then fires nothing.
std::int32_t ResolveShotDirection(const cCharaBase& shooter, std::int32_t code, std::int32_t inputDirection);

// One volley's spawner: list is null for summons.
using SpawnPattern = void (*)(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                              cShotSpawn& spawn);
// 直進A, 直進B, 拡散, 落雷, 爆発, 包囲.
extern const std::array<SpawnPattern, 6> PatternSpawnTable;

void SpawnStraightA(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn);
void SpawnStraightB(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn);
void SpawnSpread(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                 cShotSpawn& spawn);
void SpawnThunder(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                  cShotSpawn& spawn);
void SpawnExplosion(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                    cShotSpawn& spawn);
void SpawnSurround(std::list<cShot>* list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot,
                   cShotSpawn& spawn);

// The angle in whole degrees from (x, y) toward the drawn centre of the shooter's target; without a
// target, along the shooter's facing. Under an auto-scroll the target rides and the shot does not,
// the angle leads the target and the spawn's speed becomes that of the lead.
std::int32_t AimAngleToTarget(double x, double y, cCharaBase& shooter, cEdShot& shot, cShotSpawn& spawn);

// Makes the object of one spawn at the spawn's x and y, by the running command's number.
void FireShot(std::list<cShot>* list, cShotSpawn& spawn, cCharaBase& shooter, cCommandInstance& instance,
              cEdShot& shot);

// The volleys of one ショット command step, all in this logic step.
void FireShotCommand(std::list<cShot>& list, cCharaBase& shooter, cCommandInstance& instance, cEdShot& shot);
// One summon: the palette entry of the record, placed by its pattern. An entry outside the palette
// summons nothing.
void SummonCharaCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot);
void SummonItemCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot);
void SummonBlockCommand(cCharaBase& summoner, cCommandInstance& instance, cEdShot& shot);
