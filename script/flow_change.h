#pragma once
// フローの変更: adds, replaces or deletes flows of a hero. While hero 0's flows run, the change is
// queued on the hero and applied (now = 1) after its flow loop, so that the vectors it walks never
// change under it.
#include <cstdint>

class cCharaBase;
class cFlowCommand;

void DoChangeFlow(cCharaBase& object, cFlowCommand& command, std::int32_t now);
