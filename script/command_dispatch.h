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

// What is wrong with a command that the log is told about once.
enum CommandReport : std::int32_t {
  kReportUnknown = 0,       // its set and number name no row
  kReportMissingParam = 1,  // it lacks a parameter that its worker reads
};
// True the first time what is met for a command of this set and number: each such report is
// written once, not on every step the command runs.
bool FirstCommandReport(CommandReport what, std::int32_t set, std::int32_t number);

// A command number no table has (a damaged or foreign file) is written to the report log the first
// time it is met, once per command set and number; the caller then does nothing with it.
void ReportUnknownCommand(std::int32_t set, std::int32_t number);

// MoveSetupTable's entry for the instance's command when it has one (commands 2..7 and 10); else
// nothing. Called after the instance's duration, speed, top speed and direction code were set.
void RunMoveSetup(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
