#pragma once
// Conditions and key conditions: whether a map cell, a character or an item is on the stage, and
// whether a flow may start. A condition compares a variable, a status or a state of an object, or
// its distance to hero 0; a list of them holds when all (mode 0) or at least one (mode 1) hold, and
// an owner that keeps its conditions once met latches the first success. Key conditions match a
// flow's key steps against player 1's input histories, newest step first.
//
// Every check answers 1 or 0. What a condition cannot evaluate (an unknown kind, operator, owner or
// status, a missing target, no play scene) makes it fail.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/condition.h"

class cCharaBase;
class cInput;
class cItem;
class cKeyCondition;
class cMapCell;
struct cFlowRunner;

// The four list checks. An empty list holds; a latched list of a keep-once-met owner holds without
// being tested; a list that holds latches. Cells and items are tested on hero 0, a character on
// itself, a flow on the character that owns it.
//
// Stage play asks for the appearance conditions through its seam (play/flow_seam.h), whose free
// functions of the same names forward to the installed scripts. The scripts' own three live in
// namespace script, so the seam's and these are two functions, and the installed implementation
// calls these without calling itself back.
namespace script {
std::int32_t CheckCellConditions(cMapCell& cell);
std::int32_t CheckCharaConditions(cCharaBase& chara);
std::int32_t CheckItemConditions(cItem& item);
}  // namespace script
std::int32_t CheckFlowConditions(cFlowRunner& runner, cCharaBase& chara);

// The flow's key steps on player 1's input (a flow without key steps holds). Without the flow's
// repeat flag only the first test of an unbroken match holds.
std::int32_t CheckKeyConditions(cCharaBase& chara, cFlowRunner& runner);

// Mode 0: every condition holds, tested in order up to the first that fails (empty holds). Mode 1:
// one holds (empty fails). Any other mode fails. A status condition writes its right side back into
// its value, so the conditions are not const.
std::int32_t CheckConditionList(CheckedVector<cConditionDef>& list, std::int32_t mode, cCharaBase& object);
std::int32_t CheckCondition(cConditionDef& condition, cCharaBase& object);
// Kind 4: a status or a variable compared with a constant, a random number, a status or a variable.
std::int32_t EvalStatusCondition(cConditionDef& condition, cCharaBase& chara);
// Kind 5: a state byte of the character or its target, or an auto-scroll switch of the scene.
std::int32_t TestStatusCondition(const cConditionDef& condition, cCharaBase& chara);
// Kind 6: facing, standing, on screen.
std::int32_t TestStateCondition(const cConditionDef& condition, cCharaBase& chara);
// Kind 7: hero 0 within (operator 0) or outside (1) a span of the character, or a circle.
std::int32_t TestDistanceCondition(const cConditionDef& condition, cCharaBase& chara);

// 1 when "a op b" holds (0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <); any other operator gives 0. The byte and
// 16-bit forms compare the low bits of both sides as signed values of that width.
std::int32_t CompareByOp(std::int32_t a, std::int32_t b, std::int32_t op);
std::int32_t CompareByOpByte(std::int32_t a, std::int32_t b, std::int32_t op);
std::int32_t CompareByOp16(std::int32_t a, std::int32_t b, std::int32_t op);

// a x p / 100 rounded half away from zero. The product is taken in 64 bits, so no value of a and p
// overflows; a result beyond 32 bits is held at the nearest 32-bit value.
std::int32_t PercentOfRounded(std::int32_t a, std::int32_t p);

// The key steps (oldest first) matched on input's histories backwards from the newest frame, with a
// tolerance in frames between steps. For a character facing left the facing-relative steps have their
// left and right direction keys exchanged. The list test of CheckKeyConditions.
bool MatchKeySteps(const CheckedVector<cKeyCondition*>& steps, std::int32_t tolerance, bool facingLeft,
                   const cInput& input);
