#pragma once
// The roads from the play scene to the parts of stage play that are not part of the program yet:
// the command lists of items. Each does exactly what can be done without its part,
// and says so at its definition; none reports an event that did not happen.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow_command.h"

class cCharaBase;

// An item's command list run at once on hero: 0, or its stop code (1 the stage is cleared, 2 the
// hero's HP ran out).
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands);
