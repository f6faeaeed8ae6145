// The direction code of a shot record resolved against the shooter.
#include <cstdint>

#include "play/chara_base.h"
#include "play/firing.h"
#include "project/move_shot_vocabulary.h"

std::int32_t ResolveShotDirection(const cCharaBase& shooter, std::int32_t code, std::int32_t inputDirection) {
  switch (code) {
    case kDirInput:
      // Shots keep the diagonals of the input, walker or not.
      return DirectionFromInput(inputDirection, shooter.m_Direction);
    default:
      // No start layout knows a code past the input direction: such a command fires nothing.
      return code >= 0 && code < kDirInput ? DirectionFromFacing(code, shooter.m_Direction) : -1;
  }
}
