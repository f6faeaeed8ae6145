#include "play/scroll_axis.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "project/stage_data.h"

namespace {

// Dot values made from stored numbers are kept well inside 32 bits, so that sums of a position and a
// size never overflow; real stages are thousands of dots, not hundreds of millions.
constexpr std::int64_t kDotLimit = std::int64_t{1} << 30;

std::int32_t ToDots(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, -kDotLimit, kDotLimit)); }

}  // namespace

void ScrollAxis::ClampScrollAxis() {
  if (m_Pos < m_Min) {
    m_Pos = m_Min;
    m_AtLimit = 1;
  } else if (m_Pos + m_ViewSize >= m_Max) {
    // A range narrower than the view shows its start.
    m_Pos = std::max(m_Max - m_ViewSize, m_Min);
    m_AtLimit = 1;
  } else {
    m_AtLimit = 0;
  }
}

void ScrollAxis::StepAutoScroll() {
  m_Pos += m_AutoSpeed;
  ClampScrollAxis();
}

void ScrollAxis::SetAutoScroll(std::int32_t on, std::int32_t speed) {
  if (on == 0) {
    m_AutoSpeed = 0.0;
    m_AutoOn = 0;
    return;
  }
  m_AutoSpeed = speed * 0.1 / g_StepsPerFrameF;
  m_AutoOn = 1;
}

void ScrollAxis::SetScrollRange(std::int32_t from, std::int32_t to, std::int32_t useFrom, std::int32_t useTo) {
  m_Min = useFrom != 0 ? ToDots(m_StageBase + std::int64_t{from} * 32) : m_StageBase;
  m_Max = useTo != 0 ? std::max(ToDots(m_StageBase + (std::int64_t{to} + 1) * 32), m_Min) : m_StageEnd;
}

void ScrollAxis::Setup(std::int32_t axis, std::int32_t cells, std::int32_t extraExtent) {
  const std::int64_t n = std::clamp<std::int64_t>(cells, 0, kMaxMapCells);
  m_Axis = axis;
  m_ViewSize = axis == 0 ? kViewWidth : kViewHeight;
  m_MarginCells = kMapMarginCells;
  // The extent is the stage's extra value plus 640 on both axes; a value below 0 would leave no
  // place at all, so the sum is kept at 0 or more.
  m_Extent = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{extraExtent} + 640, 0, kDotLimit));
  m_CellCount = static_cast<std::int32_t>(n + 2 * kMapMarginCells);
  if (axis == 0) {
    m_Shift = std::bit_width(static_cast<std::uint64_t>(n + 2 * kMapMarginCells - 1));
    m_Stride = static_cast<std::int32_t>(std::int64_t{1} << m_Shift);
  } else {
    m_Shift = 0;
    m_Stride = m_CellCount;
  }
  m_StageBase = kStageBaseDots;
  const std::int64_t end = (std::min<std::int64_t>(cells, kMaxMapCells) + kMapMarginCells) * 32;
  m_StageEnd = ToDots(std::max<std::int64_t>(end, 0));
}
