#pragma once
// The flow-command lists of items: a list runs whole, in order, within the logic step, when a hero
// takes the item or a command アイテムの取得 names it. Its commands are numbered by the flow
// command table; rows 2..21 reuse the workers of the character commands 17..36, row 1 changes the
// hero's flows.
#include <array>
#include <cstdint>

#include "platform/services/checked.h"

class cCharaBase;
class cFlowCommand;
struct cCommandInstance;

using FlowCommandHandler = std::int32_t (*)(cCharaBase& object, const cFlowCommand& command);

// One row per flow command number 0..21; a handler returns 1 when the list is to end with a stage
// clear, else 0.
extern const std::array<FlowCommandHandler, 22> FlowDispatchTable;

// What a list's run ends with.
constexpr std::int32_t kListNormalEnd = 0;
constexpr std::int32_t kListStageClear = 1;
constexpr std::int32_t kListObjectDied = 2;

// Deepest nesting of lists through アイテムの取得: an item that takes itself, or a ring of items
// taking each other, stops here (reported once) instead of running until the stack gives out.
constexpr std::int32_t kMaxFlowListDepth = 16;

namespace script {
// Runs the list on object (a hero): 2 as soon as its HP is 0 or less after a command, 1 when a
// command cleared the stage, else 0 after the last command (2 when the object has no HP left). A
// number outside the flow command table does nothing.
std::int32_t RunFlowCommands(cCharaBase& object, const CheckedVector<cFlowCommand>& commands);
}  // namespace script

// True while a flow-command list runs (commands then belong to no runner).
bool InFlowCommandList();

// アイテムの取得: entry p1 of the common (p0 = 0) or the stage palette's (p0 = 1) items runs its list
// on hero 0, and its result becomes the stage end request. Another palette number runs nothing and
// the request is the hero's state (0, or 2 without HP).
void DoGetItem(cCharaBase& object, const cFlowCommand& command);
void CmdGetItem(cCharaBase& chara, cCommandInstance& instance);
