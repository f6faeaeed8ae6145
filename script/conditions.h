#pragma once
// Placeholder: the conditions and key conditions of flows, cells, characters and items.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/condition.h"

class cMapCell;
class cCharaBase;
class cItem;
struct cFlowRunner;

std::int32_t CheckCellConditions(cMapCell& cell);
std::int32_t CheckCharaConditions(cCharaBase& chara);
std::int32_t CheckItemConditions(cItem& item);
std::int32_t CheckFlowConditions(cFlowRunner& runner, cCharaBase& chara);
std::int32_t CheckKeyConditions(cCharaBase& chara, cFlowRunner& runner);
std::int32_t CheckConditionList(const CheckedVector<cConditionDef>& list, std::int32_t mode, cCharaBase& object);
std::int32_t CheckCondition(cConditionDef& condition, cCharaBase& object);
std::int32_t EvalStatusCondition(cConditionDef& condition, cCharaBase& chara);
std::int32_t CompareByOp(std::int32_t a, std::int32_t b, std::int32_t op);
std::int32_t PercentOfRounded(std::int32_t a, std::int32_t p);
