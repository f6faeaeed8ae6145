// The logic step of shots: the auto-scroll carry, the movement kind, acceleration, life and range,
// then the move, the screen-out rule and the blocks.
#include <algorithm>

#include "play/dots.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/steering.h"
#include "project/stage_data.h"

namespace {

// The screen-out rules of the shots of players and of the computer.
constexpr std::size_t kRulePlayerShots = 3;
constexpr std::size_t kRuleOtherShots = 4;

constexpr std::int32_t kMoveKinds = 10;

// The velocity the shot is carried by this step before its own velocity is added.
void CarryWithScroll(cShot& shot) {
  const bool carried = !MoveWithScroll() && shot.m_FollowsScroll != 0;
  shot.m_Vx = carried ? CountingScrollSpeed(true) : 0.0;
  if (shot.m_Flying != 0) shot.m_Vy = carried ? CountingScrollSpeed(false) : 0.0;
}

// A shot stopped at the end of its range: only the auto-scroll it follows still carries it.
void StopAtRange(cShot& shot) {
  shot.m_OwnVx = shot.m_OwnVy = 0.0;
  shot.m_Params.m_MoveKind = 0;
  if (shot.m_FollowsScroll == 0) {
    shot.m_Vx = shot.m_Vy = 0.0;
    return;
  }
  const ScrollAxis& x = g_PlayScene->m_ScrollX;
  const ScrollAxis& y = g_PlayScene->m_ScrollY;
  if (x.m_AtLimit == 0) shot.m_Vx = x.m_AutoSpeed;
  if (shot.m_Flying != 0 && y.m_AtLimit == 0) shot.m_Vy = y.m_AutoSpeed;
}

bool SolidAt(const cShot& shot, std::int32_t column, std::int32_t row) {
  const cPlayScene& scene = *g_PlayScene;
  // A cell beyond the map (only a shot larger than the map reaches one) stops nothing.
  if (column < 0 || row < 0 || column >= scene.m_ScrollX.m_CellCount || row >= scene.m_ScrollY.m_CellCount)
    return false;
  return IsSolidFor(MapCellAt(column, row), shot.m_Group) != kSolidNone;
}

// The offsets 0, 32, 64, ... below size - 1, then size - 1 itself.
template <class F>
bool AnySample(std::int32_t size, F&& test) {
  const std::int32_t last = std::max(size - 1, 0);
  for (std::int32_t d = 0;; d += kCellDots) {
    if (d >= last) return test(last);
    if (test(d)) return true;
  }
}

}  // namespace

std::int32_t UpdateShot(cShot& shot) {
  if (shot.m_RealShot == 0) return shot.SwordStep();
  CarryWithScroll(shot);
  const std::int32_t kind = shot.m_Params.m_MoveKind;
  // A kind the editing program cannot give flies straight.
  if (kind < kMoveKinds) kShotMoveHandlers[kind](shot);
  if (shot.m_Accelerating != 0) {
    shot.m_OwnVx += shot.m_DriveX;
    if (shot.m_Flying != 0)
      shot.m_OwnVy += shot.m_DriveY;
    else
      shot.m_Vy += shot.m_DriveY;
  }
  shot.m_Vx += shot.m_OwnVx;
  if (shot.m_Flying != 0) shot.m_Vy += shot.m_OwnVy;
  if (shot.m_Params.m_LimitedLife != 0) {
    if (shot.m_LifeStepsLeft <= 0) return 1;
    --shot.m_LifeStepsLeft;
  }
  if (shot.m_Vx < 0.0)
    shot.m_Direction = 0;
  else if (shot.m_Vx > 0.0)
    shot.m_Direction = 1;
  if (shot.m_Params.m_LimitedRange != 0) {
    if (shot.m_RangeStepsLeft > 0) {
      --shot.m_RangeStepsLeft;
      return 0;
    }
    if (ShotStopsAtRange(shot.m_Params) == 0) return 1;
    StopAtRange(shot);
  }
  return 0;
}

std::int32_t ShotHitsBlock(const cShot& shot) {
  if (shot.m_Params.m_BlockPassing == 1) return 0;
  if (shot.m_Width <= kCellDots) {
    const bool hit = SolidAt(shot, shot.m_CellX1, shot.m_CellY1) || SolidAt(shot, shot.m_CellX1, shot.m_CellY2) ||
                     SolidAt(shot, shot.m_CellX2, shot.m_CellY1) || SolidAt(shot, shot.m_CellX2, shot.m_CellY2);
    return hit ? 1 : 0;
  }
  const std::int32_t x = TruncDot(shot.m_X1);
  const std::int32_t y = TruncDot(shot.m_Y1);
  const bool hit = AnySample(shot.m_Height, [&](std::int32_t dy) {
    return AnySample(shot.m_Width, [&](std::int32_t dx) {
      return SolidAt(shot, (x + dx) >> kCellShift, (y + dy) >> kCellShift);
    });
  });
  return hit ? 1 : 0;
}

void StepShots(std::int32_t stepInFrame) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  auto& list = scene->m_ShotList;
  const cShotPass pass;
  for (auto it = list.begin(); it != list.end();) {
    cShot& shot = *it;
    bool remove = UpdateShot(shot) != 0;
    if (shot.m_RealShot == 0) cShotPass::OwnerMoved();
    if (!remove) {
      shot.ApplyGravity();
      shot.StepY();
      shot.StepX();
      // Sword swings stay with their owner wherever it is.
      if (stepInFrame == 1 && shot.m_RealShot != 0) {
        const std::size_t rule = shot.m_Operator == 0 ? kRulePlayerShots : kRuleOtherShots;
        remove = shot.IsBeyondScreenOutRule(g_Stage.m_Rules[rule]);
      }
      if (!remove) remove = ShotHitsBlock(shot) != 0;
    }
    if (remove) {
      scene->m_GroupShots.At(shot.m_Group).RemoveIf([&shot](const cShot* listed) { return listed == &shot; });
      it = list.erase(it);
    } else {
      ++it;
    }
  }
}
