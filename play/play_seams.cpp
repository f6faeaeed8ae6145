#include "play/play_seams.h"

#include "play/collision.h"

// Hit effects are drawn by the screen-effect instances, which come with the effects of the event
// scripts; until then a hit shows no effect (the damage, knock-back and triggers still happen).
void StartHitEffect(std::int16_t, const cSubBox&, const cSubBox&, std::int32_t) {}

// The command lists of items need the event scripts' commands: until they exist an item's list runs
// no command, changes nothing and stops nothing.
std::int32_t RunFlowCommands(cCharaBase&, const CheckedVector<cFlowCommand>&) { return 0; }
