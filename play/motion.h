#pragma once
// The small motion formulas the moves, shots and knock-backs share.
#include <cstdint>

// Whether a span of an object overlaps [low, high] narrowed by margin on both sides (the distance
// condition). The span runs from the object's centre, or from its position when back > 0, to its
// centre, or its far end when ahead > 0, widened by back and ahead; centred with neither gives the
// whole object.
bool SpanOverlaps(double position, std::int32_t size, double low, double high, std::int32_t margin,
                  std::int32_t back, std::int32_t ahead, std::int32_t centred);

// One step of a circular move along x (y): the speed of the step at phase, which then advances by
// advance and wraps after a full turn. rate is degrees per frame, offset the starting angle's phase.
double CircleMoveStepX(double radius, double rate, double& phase, double advance, double offset);
double CircleMoveStepY(double radius, double rate, double& phase, double advance, double offset);

// Splits amount (hbl, signed) along (dx, dy) in proportion to the direction's components and turns
// each part into the start speed of a glide of that length that loses 1/n per step. Amount 0 leaves
// the outputs alone; no direction gives 0, 0.
void SplitSpeedToVector(double& outX, double& outY, std::int8_t amount, double dx, double dy);

// A speed per second as dots per logic step.
double PerStepFromPerSecond(double v);

// The surface a shot sheet is drawn from: under Direct3D the system-memory copy 18 rows further on
// stands in for a sheet without a surface (variant 0) or is used whenever it has one (variant 1).
std::int32_t ShotSheetIndex(std::int32_t sheet, std::int32_t variant);
