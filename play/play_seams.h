#pragma once
// The roads from the play scene to the parts of stage play that are not part of the program yet:
// shots (with their contacts), hit effects and the command lists of items. Each does exactly what
// can be done without its part, and says so at its definition; none reports an event that did not
// happen.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow_command.h"

class cCharaBase;
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

// An item's command list run at once on hero: 0, or its stop code (1 the stage is cleared, 2 the
// hero's HP ran out).
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands);
