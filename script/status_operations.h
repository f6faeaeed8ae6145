#pragma once
// The two status commands. "ステータスの操作" applies one operation to a status of a character
// (the object running it, or its target), to a system status or to a common or stage variable,
// with a constant, random, status or variable operand. "ステータスの操作2" sets a state of a
// character (vanish, transparency, fixed facing, flight, invincibility, size, following the
// auto-scroll) or switches an auto-scroll axis on or off.
//
// The workers take the object running the command and the command itself: the character commands
// call them through their handlers, an item's command list with the hero who took the item.
#include <cstdint>

class cCharaBase;
class cFlowCommand;
struct cCommandInstance;

void ExecStatusOperation(cCharaBase& object, const cFlowCommand& command);
void DoStatusOperation2(cCharaBase& object, const cFlowCommand& command);

// The handlers of character commands 22 and 23.
void CmdStatusOperation(cCharaBase& chara, cCommandInstance& instance);
void CmdStatusOperation2(cCharaBase& chara, cCommandInstance& instance);
