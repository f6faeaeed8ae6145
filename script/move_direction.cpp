// The direction codes of the move commands turned into absolute directions.
#include <cstdint>

#include "play/chara_base.h"
#include "project/move_shot_vocabulary.h"
#include "script/move_commands.h"

std::int32_t ResolveDirectionCode(const cCharaBase& chara, std::int32_t code) {
  const bool right = chara.m_Direction != 0;
  switch (code) {
    case kDirFront:
      return right ? kDirRight : kDirLeft;
    case kDirBack:
      return right ? kDirLeft : kDirRight;
    case kDirFrontY:
      return right ? kDirDown : kDirUp;
    case kDirBackY:
      return right ? kDirUp : kDirDown;
    case kDirInput: {
      const std::int32_t resolved = DirectionFromInput(ExecInputDirection(), chara.m_Direction);
      // A walker has no diagonal of its own: the player's diagonal keys walk it sideways.
      if (chara.m_Flying != 0) return resolved;
      if (resolved == kDirUpLeft || resolved == kDirDownLeft) return kDirLeft;
      if (resolved == kDirUpRight || resolved == kDirDownRight) return kDirRight;
      return resolved;
    }
    default:
      return code;
  }
}
