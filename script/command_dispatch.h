#pragma once
// The dispatch of character commands: one handler per row of the character command table, run once
// per step of a running command, and the set-up that prepares a move command's instance from its
// move record when the flows of a character are built.
#include <array>
#include <cstdint>

class cCharaBase;
struct cCommandInstance;

using CharaCommandHandler = void (*)(cCharaBase& chara, cCommandInstance& instance);
using MoveSetup = void (*)(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);

// One row per character command number 0..36.
extern const std::array<CharaCommandHandler, 37> CharaDispatchTable;
extern const std::array<MoveSetup, 37> MoveSetupTable;

// CharaDispatchTable[command number] (character, instance). An instance without a command, or a
// command number outside the table, does nothing; each such number is written to the report log
// once.
void ExecCharaCommand(cCharaBase& chara, cCommandInstance& instance);

// MoveSetupTable's entry for the instance's command when it has one (commands 2..7 and 10); else
// nothing. Called after the instance's duration, speed, top speed and direction code were set.
void RunMoveSetup(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
