#pragma once
// The steering of a move toward a point (move commands and shots): the velocity toward or away from
// the point, corrected for the automatic scroll the mover does or does not follow, and whether the
// mover has arrived.
#include <cstdint>

class cGameObj;
struct cCommandInstance;

// Direction codes the steering gives: 0 no horizontal motion, 1 moving left, 2 moving right.
constexpr std::uint8_t kSteerStill = 0;
constexpr std::uint8_t kSteerLeft = 1;
constexpr std::uint8_t kSteerRight = 2;

// The project switch under which moves and the flow step carry objects along with the auto-scroll
// (projects older than format 214).
bool MoveWithScroll();
// The auto-scroll's speed on an axis, 0 while it is held at a limit (or without a scene).
double CountingScrollSpeed(bool horizontal);

// The velocity (vx, vy) from (fromX, fromY) toward (toX, toY) at speed; a negative speed flees
// (unless noFlee) and never arrives. variant picks the scroll correction of the command. 1 on arrival
// (with arrivalTest), else 0. mover may be null.
std::int32_t MoveTowardPoint(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double fromX,
                             double fromY, double toX, double toY, double speed, std::int32_t variant,
                             std::int32_t noFlee, std::int32_t arrivalTest);
// MoveTowardPoint from the mover's screen centre into the instance; on arrival, when the command
// snaps, the mover is put on the point and the instance stops.
std::int32_t MoveTowardPointXY(cCommandInstance& instance, cGameObj& mover, double toX, double toY,
                               std::int32_t variant, std::int32_t arrivalTest);

// Along one axis only: speed toward to, plus the scroll the mover follows unless noFollow.
std::int32_t MoveTowardPointStepX(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double from,
                                  double to, double speed, std::int32_t noFollow, std::int32_t arrivalTest);
std::int32_t MoveTowardPointStepY(double& vx, double& vy, std::uint8_t& direction, const cGameObj* mover, double from,
                                  double to, double speed, std::int32_t noFollow, std::int32_t arrivalTest);
std::int32_t MoveTowardPointX(cCommandInstance& instance, cGameObj& mover, double toX, std::int32_t noFollow,
                              std::int32_t arrivalTest);
std::int32_t MoveTowardPointY(cCommandInstance& instance, cGameObj& mover, double toY, std::int32_t noFollow,
                              std::int32_t arrivalTest);
