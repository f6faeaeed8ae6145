#pragma once
// Placeholder: the dispatch of character commands and the set-up of move commands.
#include <array>
#include <cstdint>

#include "play/flow_runner.h"

class cCharaBase;

using CharaCommandHandler = void (*)(cCharaBase& chara, cCommandInstance& instance);
using MoveSetup = void (*)(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
extern const std::array<CharaCommandHandler, 37> CharaDispatchTable;
extern const std::array<MoveSetup, 37> MoveSetupTable;
void ExecCharaCommand(cCharaBase& chara, cCommandInstance& instance);
void RunMoveSetup(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
