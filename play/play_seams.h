#pragma once
// The roads from the play scene to the parts of stage play that are not part of the program yet:
// shots (with their contacts), hit effects, block characters and their riders, map-cell items and
// item pick-up, and what a stage clear tallies and decides. Each does exactly what can be done
// without its part, and says so at its definition; none reports an event that did not happen.
#include <cstdint>

class cCharaBase;
class cHero;
class cItem;
struct cSubBox;

// Shots (the play scene's shot list and the shots by group).
void ClearShots();
// One logic step of every shot: its movement, the screen-out rules on step 1, its hits on blocks.
void StepShots(std::int32_t stepInFrame);
// The shots of each group against the objects of the other groups (each struck through
// ShotMayStrike and ShotStrikesChara of contacts.h); 0, 1 the stage is cleared, 2 hero 0 must die.
std::int32_t ShotsAgainstCharas();
// Shots of different groups that cancel each other.
void ShotsAgainstShots();

// The hit effect number of the attacker shown where it struck: over the struck object's box and the
// attacker's, at the attacker's scale.
void StartHitEffect(std::int16_t number, const cSubBox& struck, const cSubBox& attacker, std::int32_t scale);

// Block characters: a rider carried by the block character it stands on, and the push-out of a
// character from the block characters it overlaps (kCellKilled when squeezed).
void CarryRider(cCharaBase& rider);
std::int32_t ResolveBlockCharaHits(cCharaBase& chara);

// Hero 0 against the map-cell item under it and the items it touches. Each: 0 nothing happened, 1
// the stage is cleared, 2 the hero is killed.
std::int32_t ApplyCellItem(cHero& hero);
std::int32_t PickUpItems(cHero& hero);
// An item applied to a hero at once (a dying character's held item); its stop code (1: the stage
// is cleared).
std::int32_t ApplyItem(cItem& item, cHero& hero);

// The stage clear: the totals and the ranking of this result; what follows the result screen (the
// next scene); the ranking entry.
void FinishStage();
std::int32_t AfterStageClear();
void RegisterRanking();
