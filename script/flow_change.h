#pragma once
// フローの変更: adds, replaces or deletes flows of a hero. While the object's own flows are being
// run, the change is queued on it and applied (now = 1) after its flow loop, so that the vectors
// that loop walks never change under it.
#include <cstdint>

class cCharaBase;
class cFlowCommand;

// p0 the operation (below), p1 the flow ID (0 every flow, 1..26 A..Z).
constexpr std::int32_t kFlowChangeAdd = 0;
constexpr std::int32_t kFlowChangeReplace = 1;
constexpr std::int32_t kFlowChangeDelete = 2;

void DoChangeFlow(cCharaBase& object, const cFlowCommand& command, std::int32_t now);
