#pragma once
// The character commands that act on the flows and on the stage: the flow control (on the
// character's own runners), the stage clear, the warp and the choice of a target. The last three
// have workers taking (object, command) that the flow-command lists reuse; the handlers only unpack
// the running instance.
#include <cstdint>

class cCharaBase;
class cFlowCommand;
struct cCommandInstance;

// The operations and scopes of the flow control (its first two parameters).
enum FlowControlOperation : std::int32_t {
  kFlowOpStart = 0,
  kFlowOpFinish = 1,
  kFlowOpPause = 2,
  kFlowOpResume = 3,
  kFlowOpDelete = 4,
  kFlowOpStop = 5,
};
enum FlowControlScope : std::int32_t {
  kFlowScopeThis = 0,
  kFlowScopeOthers = 1,
  kFlowScopeById = 2,
};

// Starts, finishes, pauses, resumes, deletes or stops runners of chara: the running one, all the
// others, or those whose flow has an ID. The running runner's frame ends after the command unless
// it was only resumed.
void CmdFlowControl(cCharaBase& chara, cCommandInstance& instance);

// Sets the next stage (and, when asked, the place on the world map); returns 1, the stage end
// request of a clear.
std::int32_t DoStageClear(cCharaBase& object, const cFlowCommand& command);
void CmdStageClear(cCharaBase& chara, cCommandInstance& instance);

// Moves the object at once by the command's move record; a place outside the stage or taken by a
// wall or a block character undoes the move.
void DoWarp(cCharaBase& object, const cFlowCommand& command);
void CmdWarp(cCharaBase& chara, cCommandInstance& instance);

// The object's new target: hero 0, itself, the nearest or the first character that passes the
// filters, or none.
void DoSetTarget(cCharaBase& object, const cFlowCommand& command);
void CmdSetTarget(cCharaBase& chara, cCommandInstance& instance);
