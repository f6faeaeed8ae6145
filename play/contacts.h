#pragma once
// Objects of different groups acting on each other once all have moved in a logic step (shots on
// objects, bodies on bodies, shots on shots), and what the death of an object means for the play
// scene. The codes returned to the logic step: 0 play goes on, 1 the stage is cleared (the caller
// finishes it), 2 hero 0 must die (the caller plays its sound and kills it).
#include <cstdint>

class cCharaBase;
struct cShotStrike;

// The outcome of the death of an object whose HP ran out: 2 for a player-operated object, 0 for
// one already dead, otherwise that of its death (1 when a stage clear was requested instead).
std::int32_t DeathCode(cCharaBase& chara);
// The death code with its consequences played: a clear finishes the stage, a code 2 kills hero 0.
std::int32_t ProcessDeath(cCharaBase& chara);
// The deaths and removals that status operations of the scripts caused during the step; 1 when
// the step must end at once.
std::int32_t CheckStatusDeaths();
// A script left owner, another character than the one running it (runner), without HP: the step
// looks for deaths (CheckStatusDeaths) before it goes on.
void AskForDeathCheck(const cCharaBase& runner, const cCharaBase& owner);
// The three contact passes; 0, 1 or 2.
std::int32_t HeroCharaContacts();

// Whether a shot may strike chara at all: both on screen when the stage lets only objects on
// screen touch, chara present and alive, and not of the invincible kind that shots pass through.
bool ShotMayStrike(const cCharaBase& chara, bool shotOnScreen);
// A shot whose box overlaps chara's shot box and that has not struck it yet: the trigger, then,
// when the shot brings power, impact or an item and chara is not invincible, the damage with the
// death or the protection that follows (struck is then true: the shot records the hit or goes,
// and applies its item). Returns the code.
std::int32_t ShotStrikesChara(const cShotStrike& shot, cCharaBase& chara, bool& struck);
