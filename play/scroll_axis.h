#pragma once
// One camera axis of the play scene: where the view is, the range it may scroll over, the stage
// proper inside the map's margin of empty cells, the extent that keeps objects inside the map, and
// the automatic scrolling of that axis.
#include <cstdint>

// Every stage has this many empty cells on each side of the map.
constexpr std::int32_t kMapMarginCells = 10;
// The first dot of the stage proper.
constexpr std::int32_t kStageBaseDots = kMapMarginCells * 32;
constexpr std::int32_t kViewWidth = 640;
constexpr std::int32_t kViewHeight = 480;
// The set-up refuses maps of more cells than this (rows times row stride) as it refuses a map it has
// no memory for: every index and dot position of such a map then stays far inside 32 bits.
constexpr std::int64_t kMaxMapCells = std::int64_t{1} << 24;

struct ScrollAxis {
  // Keeps the view inside the scroll range; m_AtLimit tells whether it had to.
  void ClampScrollAxis();
  // One logic step of the automatic scroll (speed 0 while it is off), then the clamp.
  void StepAutoScroll();
  // speed in tenths of a dot per frame; off sets the speed to 0.
  void SetAutoScroll(std::int32_t on, std::int32_t speed);
  // The scroll range from the first to the last cell of the stage proper that the stage names,
  // each end only when its use flag is set (else the stage's own end).
  void SetScrollRange(std::int32_t from, std::int32_t to, std::int32_t useFrom, std::int32_t useTo);

  // The fixed part of the set-up of one axis from the stage's size in cells and its extra extent:
  // axis 0 is horizontal (its row stride is the next power of two), axis 1 vertical. A size below 0
  // counts as 0 cells.
  void Setup(std::int32_t axis, std::int32_t cells, std::int32_t extraExtent);

  // How far objects may go along this axis (every stage clamp asks this, nothing else).
  std::int32_t MapExtent() const { return m_Extent; }
  // The axis scrolls by itself this step: a speed is set and the view is not held at a limit.
  bool Counts() const { return m_AutoSpeed != 0.0 && m_AtLimit == 0; }

  double m_Pos = 0.0;
  std::int32_t m_AtLimit = 0;
  std::int32_t m_Axis = 0;
  std::int32_t m_ViewSize = kViewWidth;
  std::int32_t m_Min = 0;
  std::int32_t m_Max = 0;
  std::int32_t m_StageBase = kStageBaseDots;
  std::int32_t m_StageEnd = 0;
  std::int32_t m_MarginCells = kMapMarginCells;
  std::int32_t m_Extent = kViewWidth;
  std::int32_t m_CellCount = 2 * kMapMarginCells;
  std::int32_t m_Stride = 2 * kMapMarginCells;
  std::int32_t m_Shift = 0;
  double m_AutoSpeed = 0.0;
  std::int32_t m_AutoOn = 0;
};
