#pragma once
// The roads from the play scene to the parts of stage play that are not part of the program yet:
// shots, contacts between objects, the command lists of items, the status checks after script
// status operations, and what a stage clear tallies and decides. Each does exactly what can be done without its part, and says so at its definition; none
// reports an event that did not happen.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow_command.h"

class cCharaBase;

// Shots (the play scene's shot list and the shots by group).
void ClearShots();
// One logic step of every shot: its movement, the screen-out rules on step 1, its hits on blocks.
void StepShots(std::int32_t stepInFrame);

// The hero against the other characters and their shots: 0 nothing happened, 1 the stage is
// cleared, 2 the hero is killed.
std::int32_t HeroCharaContacts();

// An item's command list run at once on hero: 0, or its stop code (1 the stage is cleared, 2 the
// hero's HP ran out).
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands);

// The deaths a status operation caused; non-zero when the frame must end.
std::int32_t CheckStatusDeaths();
// The death of an object whose HP ran out: 0 the play goes on, 1 the stage was cleared, 2 the hero
// was killed (the play scene's state says what follows).
std::int32_t ProcessDeath(cCharaBase& chara);

// The stage clear: the totals and the ranking of this result; what follows the result screen (the
// next scene); the ranking entry.
void FinishStage();
std::int32_t AfterStageClear();
void RegisterRanking();
