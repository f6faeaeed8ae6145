// The direction code of a shot record resolved against the shooter.
#include <cstdint>

#include "play/chara_base.h"
#include "play/firing.h"
#include "project/move_shot_vocabulary.h"

std::int32_t ResolveShotDirection(const cCharaBase& shooter, std::int32_t code, std::int32_t inputDirection) {
  const bool right = shooter.m_Direction != 0;
  switch (code) {
    case kDirFront:
      return right ? kDirRight : kDirLeft;
    case kDirBack:
      return right ? kDirLeft : kDirRight;
    case kDirFrontY:
      return right ? kDirDown : kDirUp;
    case kDirBackY:
      return right ? kDirUp : kDirDown;
    case kDirInput:
      // Shots keep the diagonals of the input, walker or not.
      return DirectionFromInput(inputDirection, shooter.m_Direction);
    default:
      // No start layout knows a code past the input direction: such a command fires nothing.
      return code >= 0 && code < kDirInput ? code : -1;
  }
}
