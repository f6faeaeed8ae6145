// The arithmetic of the status operations.
#include "script/apply_operation.h"

#include <algorithm>

#include "script/conditions.h"

namespace {

std::int64_t Operate(std::int64_t value, std::int64_t operand, std::int32_t operation) {
  switch (operation) {
    case kOperationSet:
      return operand;
    case kOperationAdd:
      return value + operand;
    case kOperationSubtract:
      return value - operand;
    case kOperationMultiply:
      return value * operand;
    case kOperationDivide:
      return operand == 0 ? value : value / operand;
    case kOperationRemainder:
      return operand == 0 ? value : value % operand;
    case kOperationPercent:
      return PercentOfRounded(static_cast<std::int32_t>(value), static_cast<std::int32_t>(operand));
    default:
      return value;
  }
}

template <class T>
void ApplyInWidth(T& value, std::int32_t operand, std::int32_t operation, std::int32_t low, std::int32_t high) {
  // The operands come in 32 bits at most, so no result above overflows 64.
  const std::int64_t result = Operate(value, operand, operation);
  value = static_cast<T>(std::clamp<std::int64_t>(result, low, high));
}

}  // namespace

void ApplyOperation(std::int32_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high) {
  ApplyInWidth(value, operand, operation, low, high);
}

void ApplyOperation(std::int16_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high) {
  ApplyInWidth(value, operand, operation, low, high);
}

void ApplyOperation(std::int8_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high) {
  ApplyInWidth(value, operand, operation, low, high);
}
