#include "script/flow_change.h"

// The flow-command lists (with フローの変更 and the queue it fills) arrive with their own issue; until
// then no command queues a change, so the hero's queue stays empty and there is nothing to apply.
// This is the place that issue fills.
void DoChangeFlow(cCharaBase&, cFlowCommand&, std::int32_t) {}
