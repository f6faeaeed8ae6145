// A sword swing: stuck to its owner, it shows the parts of its sword type one after the other, each
// for its time, placed in front of, behind, above or below the owner.
#include "play/shot_sword.h"

#include "play/damage.h"
#include "play/dots.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/database.h"
#include "project/database_resources.h"
#include "project/stage_data.h"

namespace {

enum SwordPlacement : std::int32_t { kInFront = 0, kBehind = 1, kAbove = 2, kBelow = 3 };

// The ten values of a part record, in their order.
enum SwordValue : int { kOffsetX, kOffsetY, kMirrorX, kMirrorY, kPlacement, kSourceX, kSourceY, kWidth, kHeight, kTime };

}  // namespace

std::int32_t SwordPartCount(std::int32_t type) {
  auto& types = g_Database.m_SwordTypes;
  if (types.empty()) return 0;
  return types.At(type).m_Parts.Size();
}

SwordPart SwordPartOf(std::int32_t type, std::int32_t part) {
  SwordPart out;
  auto& types = g_Database.m_SwordTypes;
  if (types.empty()) return out;
  auto& parts = types.At(type).m_Parts;
  if (parts.empty()) return out;
  const std::int32_t* v = parts.At(part).m_Values;
  out.offsetX = v[kOffsetX];
  out.offsetY = v[kOffsetY];
  out.mirrorX = v[kMirrorX];
  out.mirrorY = v[kMirrorY];
  out.placement = v[kPlacement];
  out.sourceX = v[kSourceX];
  out.sourceY = v[kSourceY];
  out.width = v[kWidth];
  out.height = v[kHeight];
  out.duration = v[kTime];
  return out;
}

std::int32_t cShot::SwordStep() {
  cCharaBase* owner = FindCharaById(m_OwnerId);
  if (owner == nullptr) return 1;
  const std::int32_t type = m_Params.m_MoveKind;
  // A sword type without parts has nothing to show.
  const std::int32_t parts = SwordPartCount(type);
  if (parts <= 0) return 1;
  owner->UpdateScreenRect();
  m_Direction = owner->m_Direction;
  const SwordPart part = SwordPartOf(type, m_SwordPart);
  const std::int32_t scale = Scale();
  if (m_StepCounter == 0) {
    m_BaseDrawWidth = m_BaseWidth = m_ShotBox.m_BaseWidth = part.width;
    m_BaseDrawHeight = m_BaseHeight = m_ShotBox.m_BaseHeight = part.height;
    m_DrawWidth = m_Width = m_ShotBox.m_Width = scale * part.width;
    m_DrawHeight = m_Height = m_ShotBox.m_Height = scale * part.height;
  }

  const std::int32_t cameraX = TruncDot(g_PlayScene->m_ScrollX.m_Pos);
  const std::int32_t cameraY = TruncDot(g_PlayScene->m_ScrollY.m_Pos);
  const std::int32_t w = m_DrawWidth;
  const std::int32_t h = m_DrawHeight;
  const bool ownerLeft = owner->m_Direction == 0;
  const std::int32_t besideY = owner->m_ScreenTop + owner->m_DrawHeight / 2 + cameraY - h / 2;
  const std::int32_t leftOf = owner->m_ScreenLeft + cameraX - w;
  const std::int32_t rightOf = owner->m_ScreenRight + cameraX + 1;
  const std::int32_t centredX = owner->m_ScreenLeft + owner->m_DrawWidth / 2 + cameraX - w / 2;
  switch (part.placement) {
    case kInFront:
      m_X1 = ownerLeft ? leftOf : rightOf;
      m_Y1 = besideY;
      break;
    case kBehind:
      m_Direction = ownerLeft ? 1 : 0;
      m_X1 = ownerLeft ? rightOf : leftOf;
      m_Y1 = besideY;
      break;
    case kAbove:
      m_X1 = centredX;
      m_Y1 = owner->m_ScreenTop + cameraY - h;
      break;
    case kBelow:
      m_X1 = centredX;
      m_Y1 = owner->m_ScreenBottom + cameraY + 1;
      break;
    default:
      break;
  }
  const double dx = static_cast<double>(part.offsetX) * scale;
  const double dy = static_cast<double>(part.offsetY) * scale;
  m_X1 += !ownerLeft && part.mirrorX != 0 ? -dx : dx;
  m_Y1 += !ownerLeft && part.mirrorY != 0 ? -dy : dy;
  ClampX();
  ClampToStageY(2);

  ++m_StepCounter;
  const std::int64_t shown = std::int64_t{part.duration} * g_StepsPerFrame * 6;
  if (m_StepCounter > shown) {
    m_StepCounter = 0;
    if (++m_SwordPart >= parts) return 1;
  }
  return 0;
}
