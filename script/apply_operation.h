#pragma once
// One arithmetic operation of the status operations on a stored value, clamped to the value's
// range: 0 "＝", 1 "＋", 2 "－", 3 "×", 4 "÷", 5 "÷ X の余り", 6 "X ％".
//
// The result is worked out in 64 bits and only then clamped, so a product or a sum that leaves 32
// bits saturates at the bound it went past instead of wrapping. Division and remainder by 0 change
// nothing (the value is still clamped), as does any other operation. The percentage is rounded half
// away from zero. The byte and 16-bit forms work on a value kept in their own width with the whole
// operand (200 added to a byte is 200, not -56) and clamp with their own limits, which must fit that
// width.
#include <cstdint>

enum StatusOperationKind : std::int32_t {
  kOperationSet = 0,
  kOperationAdd = 1,
  kOperationSubtract = 2,
  kOperationMultiply = 3,
  kOperationDivide = 4,
  kOperationRemainder = 5,
  kOperationPercent = 6,
};

void ApplyOperation(std::int32_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high);
void ApplyOperation(std::int16_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high);
void ApplyOperation(std::int8_t& value, std::int32_t operand, std::int32_t operation, std::int32_t low,
                    std::int32_t high);
