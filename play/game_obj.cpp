#include "play/game_obj.h"

#include "play/dots.h"
#include "play/flow_runner.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/ed_move.h"
#include "project/stage_data.h"

namespace {

// The codes a clamp reports on one axis, by what it found: the low or the high side of the scroll
// range, of the stage, of the map.
struct ClampCodes {
  std::int32_t scrollLow, scrollHigh, stageLow, stageHigh, mapLow, mapHigh;
};
constexpr ClampCodes kCodesX{kClampOutsideScroll, kClampOutsideScroll, kClampOutsideStage,
                             kClampOutsideStage,  kClampMapEdge,       kClampMapEdge};
constexpr ClampCodes kCodesY{kClampOutsideScroll, kClampBelowScroll, kClampOutsideStage,
                             kClampBelowStage,    kClampMapEdge,     kClampFellOutOfMap};

// Clamps the low edge lo of a box of size dots on one axis; the code as ClampToStageX/Y give it.
std::int32_t ClampAxis(double& lo, std::int32_t size, const ScrollAxis& axis, std::int32_t mode,
                       const ClampCodes& codes) {
  const double hi = lo + size - 1;
  switch (mode) {
    case 0:
      if (lo < axis.m_Min)
        lo = axis.m_Min;
      else if (hi >= axis.m_Max)
        lo = axis.m_Max - size;
      return kClampInside;
    case 1:
      if (lo < axis.m_StageBase) {
        lo = axis.m_StageBase;
        return kClampInside;
      }
      if (hi >= axis.m_StageEnd) {
        lo = axis.m_StageEnd - size;
        return kClampInside;
      }
      if (lo < axis.m_Min) return codes.scrollLow;
      if (hi >= axis.m_Max) return codes.scrollHigh;
      return kClampInside;
    case 2:
      if (lo < 0) {
        lo = 0;
        return codes.mapLow;
      }
      if (hi >= axis.MapExtent()) {
        lo = axis.MapExtent() - size;
        return codes.mapHigh;
      }
      if (lo < axis.m_StageBase) return codes.stageLow;
      if (hi >= axis.m_StageEnd) return codes.stageHigh;
      if (lo < axis.m_Min) return codes.scrollLow;
      if (hi >= axis.m_Max) return codes.scrollHigh;
      return kClampInside;
    default:
      return kClampInside;
  }
}

// The velocity one step may use: within the maximum speed, and never a NaN (a broken steering result
// must not carry into the position).
double LimitSpeed(double v) {
  if (v != v) return 0.0;
  if (v > g_MaxSpeed) return g_MaxSpeed;
  if (v < -g_MaxSpeed) return -g_MaxSpeed;
  return v;
}

}  // namespace

cGameObj::cGameObj() = default;

void cGameObj::Init(std::int32_t id, std::int32_t op, std::int32_t player, std::int32_t group, std::int32_t graphic,
                    AnimeSourceTable table, std::int32_t startPattern, std::int32_t drawOffsetX,
                    std::int32_t drawOffsetY, std::int32_t width, std::int32_t height, std::int32_t drawWidth,
                    std::int32_t drawHeight, std::int32_t direction, std::int32_t flightMode, std::uint16_t tag) {
  m_Id = id;
  m_Operator = op;
  m_Player = player;
  m_Group = group;
  m_Graphic = graphic;
  m_Life = kEndlessLife;
  if (table != nullptr) {
    m_Anime.SetTable(table);
    m_Anime.SetPattern(startPattern, 1);
  }
  m_DrawOffsetX = m_BaseDrawOffsetX = drawOffsetX;
  m_DrawOffsetY = m_BaseDrawOffsetY = drawOffsetY;
  m_DrawWidth = m_BaseDrawWidth = drawWidth;
  m_DrawHeight = m_BaseDrawHeight = drawHeight;
  m_Width = m_BaseWidth = width;
  m_Height = m_BaseHeight = height;
  m_Vx = m_Vy = 0.0;
  m_DriveX = m_DriveY = 0.0;
  m_Direction = direction;
  m_Present = 0;
  m_AppearanceLatched = 0;
  m_OnScreen = 0;
  m_ScreenOverride = 0;
  m_Tag = tag;
  SetFlightMode(flightMode);
}

void cGameObj::SetFlightMode(std::int32_t mode) {
  // {flying, block mode} by flight mode.
  static constexpr std::int32_t kModes[4][2] = {
      {0, 1},  // walks; blocks stop it
      {1, 0},  // flies through blocks
      {1, 1},  // flies; blocks stop it
      {1, 2},  // flies; blocks kill it
  };
  if (mode < 0 || mode > 3) return;
  m_Flying = kModes[mode][0];
  m_BlockMode = static_cast<std::uint8_t>(kModes[mode][1]);
}

void cGameObj::SetScale(std::int32_t newScale, std::int32_t oldScale) {
  if (newScale == oldScale) return;
  m_Width = m_BaseWidth * newScale;
  m_Height = m_BaseHeight * newScale;
  m_DrawOffsetX = m_BaseDrawOffsetX * newScale;
  m_DrawOffsetY = m_BaseDrawOffsetY * newScale;
  m_DrawWidth = m_BaseDrawWidth * newScale;
  m_DrawHeight = m_BaseDrawHeight * newScale;
  RescaleX(newScale, oldScale);
  ScaleSubBoxes(newScale);
}

void cGameObj::RescaleX(std::int32_t newScale, std::int32_t oldScale) {
  if (newScale == oldScale) return;
  RecentreX(newScale, oldScale);
  AnchorAfterScale(newScale, oldScale);
}

void cGameObj::RecentreX(std::int32_t newScale, std::int32_t oldScale) {
  if (newScale == oldScale) return;
  m_X1 -= (m_BaseWidth / 2) * (newScale - oldScale);
  ClampToStageX(2);
}

std::int32_t cGameObj::ClampToStageX(std::int32_t mode) {
  const std::int32_t code = ClampAxis(m_X1, m_Width, g_PlayScene->m_ScrollX, mode, kCodesX);
  m_X2 = m_X1 + m_Width - 1;
  UpdateSubBoxesX();
  m_CellX1 = DotToTile(m_X1);
  m_CellX2 = DotToTile(m_X2);
  return code;
}

std::int32_t cGameObj::ClampToStageY(std::int32_t mode) {
  const std::int32_t code = ClampAxis(m_Y1, m_Height, g_PlayScene->m_ScrollY, mode, kCodesY);
  m_Y2 = m_Y1 + m_Height - 1;
  UpdateSubBoxesY();
  m_CellY1 = DotToTile(m_Y1);
  m_CellY2 = DotToTile(m_Y2);
  return code;
}

std::int32_t cGameObj::MoveX(std::int32_t mode) {
  m_Vx = LimitSpeed(m_Vx);
  m_X1 += m_Vx;
  return ClampToStageX(mode);
}

std::int32_t cGameObj::MoveY(std::int32_t mode) {
  m_Vy = LimitSpeed(m_Vy);
  m_Y1 += m_Vy;
  return ClampToStageY(mode);
}

void cGameObj::ApplyGravity() {
  if (m_Flying == 0) m_Vy += g_Gravity;
}

void cGameObj::DampDrive(double& value, std::int32_t enabled) const {
  if (enabled == 0) return;
  if (value > 0.0) {
    value -= m_Friction;
    if (value < 0.0) value = 0.0;
  } else if (value < 0.0) {
    value += m_Friction;
    if (value > 0.0) value = 0.0;
  }
}

void cGameObj::UpdateScreenRect() {
  const ScrollAxis& sx = g_PlayScene->m_ScrollX;
  const ScrollAxis& sy = g_PlayScene->m_ScrollY;
  m_ScreenLeft = TruncDot(m_X1 - m_DrawOffsetX - TruncDot(sx.m_Pos));
  m_ScreenRight = m_ScreenLeft + m_DrawWidth - 1;
  m_ScreenTop = TruncDot(m_Y1 - m_DrawOffsetY - TruncDot(sy.m_Pos));
  m_ScreenBottom = m_ScreenTop + m_DrawHeight - 1;
}

bool cGameObj::IsOnScreenAxis(bool skipX, bool skipY) const {
  const double cx = g_PlayScene->m_ScrollX.m_Pos;
  const double cy = g_PlayScene->m_ScrollY.m_Pos;
  if (!skipX && (m_X2 < cx || m_X1 >= cx + kViewWidth)) return false;
  if (!skipY && (m_Y2 < cy || m_Y1 >= cy + kViewHeight)) return false;
  return true;
}

bool cGameObj::IsInsideStage(bool wholeMap) const {
  const ScrollAxis& sx = g_PlayScene->m_ScrollX;
  const ScrollAxis& sy = g_PlayScene->m_ScrollY;
  if (wholeMap) return m_X1 >= 0 && m_X2 < sx.MapExtent() && m_Y1 >= 0 && m_Y2 < sy.MapExtent();
  return m_X1 >= sx.m_StageBase && m_X2 < sx.m_StageEnd && m_Y1 >= sy.m_StageBase && m_Y2 < sy.m_StageEnd;
}

bool cGameObj::OverlapsSolidCell() const {
  const std::int32_t corners[4][2] = {
      {m_CellX1, m_CellY1}, {m_CellX1, m_CellY2}, {m_CellX2, m_CellY1}, {m_CellX2, m_CellY2}};
  for (const auto& corner : corners)
    if (IsSolidFor(MapCellAt(corner[0], corner[1]), m_Group) != kSolidNone) return true;
  return false;
}

bool cGameObj::IsBeyondScreenOutRule(const cScreenOutRule& rule) const {
  if (m_OnScreen != 0) return false;
  const double cx = g_PlayScene->m_ScrollX.m_Pos;
  const double cy = g_PlayScene->m_ScrollY.m_Pos;
  enum { kLeft, kRight, kTop, kBottom };
  const auto margin = [&rule](int side) { return rule.m_Margins[side] * 32.0; };
  if (rule.m_Sides[kLeft] != 0 && m_X2 <= TruncDot(cx - margin(kLeft))) return true;
  if (rule.m_Sides[kRight] != 0 && m_X1 >= TruncDot(cx + kViewWidth + margin(kRight))) return true;
  if (rule.m_Sides[kBottom] != 0 && m_Y1 >= TruncDot(cy + kViewHeight + margin(kBottom))) return true;
  if (rule.m_Sides[kTop] != 0 && m_Y2 <= TruncDot(cy - margin(kTop))) return true;
  // An object touching the edge of the map goes too, whatever the rule.
  const std::int32_t width = g_PlayScene->m_ScrollX.MapExtent();
  const std::int32_t height = g_PlayScene->m_ScrollY.MapExtent();
  return !(m_X1 > 0 && m_X2 < width - 1 && m_Y1 > 0 && m_Y2 < height - 1);
}

void cGameObj::TargetPointOf(double& x, double& y, const cCommandInstance& instance) const {
  const cEdMove* move = instance.m_Command != nullptr ? instance.m_Command->m_Move.get() : nullptr;
  const bool keepX = move != nullptr && move->m_UseTargetX == 0;
  const bool keepY = move != nullptr && move->m_UseTargetY == 0;
  // Keeping both still aims along x.
  const bool giveX = !keepX || keepY;
  const bool giveY = !keepY;
  if (giveX) x = ScreenCentreX() + instance.m_TargetOffsetX;
  if (giveY) y = ScreenCentreY() + instance.m_TargetOffsetY;
}
