#include "play/play_seams.h"

#include "play/collision.h"

// There are no shots yet: no command fires one, so the shot list is always empty and nothing needs
// emptying or moving.
void ClearShots() {}
void StepShots(std::int32_t) {}
std::int32_t ShotsAgainstCharas() { return 0; }
void ShotsAgainstShots() {}

// Hit effects are drawn by the screen-effect instances, which come with the effects of the event
// scripts; until then a hit shows no effect (the damage, knock-back and triggers still happen).
void StartHitEffect(std::int16_t, const cSubBox&, const cSubBox&, std::int32_t) {}

// The command lists of items need the event scripts' commands: until they exist an item's list runs
// no command, changes nothing and stops nothing.
std::int32_t RunFlowCommands(cCharaBase&, const CheckedVector<cFlowCommand>&) { return 0; }
