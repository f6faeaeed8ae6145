// Placeholder: no command does anything yet.
#include "script/command_dispatch.h"

void ExecCharaCommand(cCharaBase&, cCommandInstance&) {}
void RunMoveSetup(cCommandInstance&, cCharaBase&, std::int32_t) {}
