// The distance condition (kind 7): whether hero 0 is within reach of a character, along one axis
// in a direction of it, or within a circle.
#include <algorithm>
#include <array>
#include <cstdint>

#include "play/chara_base.h"
#include "play/hero.h"
#include "play/motion.h"
#include "play/play_scene.h"
#include "project/condition.h"
#include "script/conditions.h"

namespace {

// How a shape stretches the character's span by r: on which axis, behind (towards the top) and
// ahead (towards the bottom), each given for a character facing left and facing right.
struct DistanceShape {
  bool vertical;
  bool centred;
  bool backLeft, aheadLeft;
  bool backRight, aheadRight;
};

constexpr std::uint8_t kShapeCircle = 6;

constexpr std::array<DistanceShape, 6> kShapes = {{
    {false, true, true, true, true, true},      // 横: both sides
    {false, false, true, false, false, true},   // 前: the side it faces
    {false, false, false, true, true, false},   // 後: the side behind it
    {true, true, true, true, true, true},       // 縦: above and below
    {true, false, true, false, false, true},    // 前Y: facing left above, facing right below
    {true, false, false, true, true, false},    // 後Y: the other way round
}};

bool HeroInSpan(const DistanceShape& shape, const cCharaBase& chara, const cCharaBase& hero, std::int32_t r) {
  const bool left = chara.m_Direction == 0;
  const std::int32_t back = (left ? shape.backLeft : shape.backRight) ? r : 0;
  const std::int32_t ahead = (left ? shape.aheadLeft : shape.aheadRight) ? r : 0;
  const std::int32_t centred = shape.centred ? 1 : 0;
  if (shape.vertical)
    return SpanOverlaps(chara.m_ScreenTop, chara.m_DrawHeight, hero.m_ScreenTop, hero.m_ScreenBottom,
                        hero.m_DrawOffsetY, back, ahead, centred);
  return SpanOverlaps(chara.m_ScreenLeft, chara.m_DrawWidth, hero.m_ScreenLeft, hero.m_ScreenRight,
                      hero.m_DrawOffsetX, back, ahead, centred);
}

bool HeroInCircle(const cCharaBase& chara, const cCharaBase& hero, std::int32_t r) {
  const double dx = (hero.m_X1 + hero.m_Width / 2) - (chara.m_X1 + chara.m_Width / 2);
  const double dy = (hero.m_Y1 + hero.m_Height / 2) - (chara.m_Y1 + chara.m_Height / 2);
  const double reach = r;
  return r >= 0 && dx * dx + dy * dy <= reach * reach;
}

}  // namespace

std::int32_t TestDistanceCondition(const cConditionDef& c, cCharaBase& chara) {
  if (g_PlayScene == nullptr || c.m_Operator > 1) return 0;
  const cCharaBase* hero = g_PlayScene->Hero(0);
  if (hero == nullptr) return 0;
  // The reach in dots; a value far beyond any stage is held where the arithmetic stays exact.
  const std::int64_t dots = std::int64_t{c.m_Value} * kHblDots;
  const std::int32_t r = static_cast<std::int32_t>(std::clamp<std::int64_t>(dots, -(1 << 28), 1 << 28));
  RefreshScreenRect(chara);
  bool inside = false;
  if (c.m_Shape == kShapeCircle)
    inside = HeroInCircle(chara, *hero, r);
  else if (c.m_Shape < kShapes.size())
    inside = HeroInSpan(kShapes[c.m_Shape], chara, *hero, r);
  else
    return 0;
  return (c.m_Operator == 0 ? inside : !inside) ? 1 : 0;
}
