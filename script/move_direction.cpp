// The direction codes of the move commands turned into absolute directions.
#include <cstdint>

#include "play/chara_base.h"
#include "project/move_shot_vocabulary.h"
#include "script/move_commands.h"

std::int32_t ResolveDirectionCode(const cCharaBase& chara, std::int32_t code) {
  switch (code) {
    case kDirInput: {
      const std::int32_t resolved = DirectionFromInput(ExecInputDirection(), chara.m_Direction);
      // A walker has no diagonal of its own: the player's diagonal keys walk it sideways.
      if (chara.m_Flying != 0) return resolved;
      if (resolved == kDirUpLeft || resolved == kDirDownLeft) return kDirLeft;
      if (resolved == kDirUpRight || resolved == kDirDownRight) return kDirRight;
      return resolved;
    }
    default:
      return DirectionFromFacing(code, chara.m_Direction);
  }
}
