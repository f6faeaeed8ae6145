#pragma once
// The roads from the play scene to the parts of stage play that are not part of the program yet:
// hit effects and the command lists of items. Each does exactly what can be done without its part,
// and says so at its definition; none reports an event that did not happen.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow_command.h"

class cCharaBase;
struct cSubBox;

// The hit effect number of the attacker shown where it struck: over the struck object's box and the
// attacker's, at the attacker's scale.
void StartHitEffect(std::int16_t number, const cSubBox& struck, const cSubBox& attacker, std::int32_t scale);

// An item's command list run at once on hero: 0, or its stop code (1 the stage is cleared, 2 the
// hero's HP ran out).
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands);
