#pragma once
// Where the objects of a volley (or of a summon) start: the start layouts fill a spawn record with
// the first object's top left in stage dots, the step to the next object, the step between the
// lines of a thunder volley and, for most of them, the velocity. They place the objects around the
// shooter's picture, or, for the thunder, at the screen edge on a line through the shooter's target.
// Each adds the spawn's offsets to the start point.
//
// Angles are degrees: 0 points left, 90 up, 180 right, 270 down; a speed v at angle a moves by
// (-cos a x v, -sin a x v). Direction codes are the resolved ones (left, right, up, down and the
// four diagonals); any other code leaves the record as it was apart from the offsets.
#include <cstdint>

// The direction codes of a shot record (rows of the direction vocabulary), named apart from the
// input layer's direction bits, which the play scene's headers bring along.
enum ShotDirection : std::int32_t {
  kShotFront = 0,
  kShotBack = 1,
  kShotLeft = 2,
  kShotRight = 3,
  kShotFrontY = 4,
  kShotBackY = 5,
  kShotUp = 6,
  kShotDown = 7,
  kShotUpLeft = 8,
  kShotDownLeft = 9,
  kShotUpRight = 10,
  kShotDownRight = 11,
  kShotInput = 12,
};

class cCharaBase;
class cEdShot;
struct cShotSpawn;

// The angle of a resolved direction code; 0 for a code that is not a direction.
std::int32_t ShotBaseAngle(std::int32_t code);
// The spawn's velocity for its speed at angle degrees.
void SetSpawnVelocity(cShotSpawn& spawn, double angle);

void SpawnStartLayoutA(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartAngledA(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartLayoutB(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartAngledB(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartSingle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartAngledSingle(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartThunder(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartThunderAngled(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
void SpawnStartCentre(cShotSpawn& spawn, cEdShot& shot, cCharaBase& shooter);
// The start point on the ring around the shooter's picture that angle points along; no offsets.
void SpawnStartRotated(cShotSpawn& spawn, const cCharaBase& shooter, std::int32_t angle);
