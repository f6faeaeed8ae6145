#pragma once
// The move commands of characters: their set-up from the move record when the flows are built, the
// velocity rules they share, and their per-step handlers.
//
// Speeds are dots per logic step; a velocity request is 0 (keep the facing), 1 (face left) or 2
// (face right). A move command whose move record is missing (a damaged file) does nothing.
#include <cstdint>

class cCharaBase;
class cEdMove;
class cFlowCommand;
struct cCommandInstance;

// Facing requests of the moves.
constexpr std::int32_t kRequestKeep = 0;
constexpr std::int32_t kRequestLeft = 1;
constexpr std::int32_t kRequestRight = 2;

// --- Set-up (move_setup.cpp) --------------------------------------------------------------------

// The time mode of the move: 0 leaves duration and speed; 1 gives the speed that covers the distance
// in the duration; 2 the duration the speed needs for the distance. A duration of 0 gives speed 0
// (the command ends at once); a speed of 0 gives duration 0.
void ResolveMoveTime(cCommandInstance& instance, const cEdMove& move, std::int32_t n);
void SetupStraightMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
void SetupChargeMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
void SetupHomingMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
void SetupMoveTime(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
void SetupCircleMove(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);
void SetupJumpCommand(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing);

// The largest circle a circle move draws, in hbl.
constexpr std::int32_t kMaxCircleRadiusHbl = 20;

// --- Velocity rules (move_velocity.cpp) ---------------------------------------------------------

// The absolute direction (left, right, up, down, the diagonals) of a direction code: front and back
// by the facing, input by the running flow's input direction; a character that does not fly has no
// diagonals of the input direction.
std::int32_t ResolveDirectionCode(const cCharaBase& chara, std::int32_t code);
// The unit steps of an absolute direction along x and y (y downward), and whether it is a diagonal;
// 0, 0 for a code that is no absolute direction.
struct DirectionSteps {
  std::int32_t x;
  std::int32_t y;
  bool diagonal;
};
DirectionSteps StepsOfDirection(std::int32_t code);
// The input direction (0..8) of the flow being run, 0 outside one.
std::int32_t ExecInputDirection();
// The velocity pair and facing request of the instance for a move in a direction. Only flying
// characters get a vertical part.
void DirectionVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code);
// As DirectionVelocity, turned by angle degrees (0 points left, 90 up, 180 right, 270 down from the
// direction's own angle).
void AngleVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code, std::int32_t angle);
// Toward the target point of the move record; with end-on-arrival, the instance's steps left become
// the steps the travel takes.
void TargetPointVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t offsetX,
                         std::int32_t offsetY, const cEdMove& move);
// Along the facing; a walker about to step off a ledge (or pushed by a block character) asks to turn.
void GroundTurnVelocity(cCharaBase& chara, cCommandInstance& instance, double speed);
// The move steering toward (x, y) into the instance, on the axes the move does not ignore.
void AimAtPoint(cCharaBase& chara, cCommandInstance& instance, const cEdMove& move, double x, double y);
// Away from the edge of the screen the character is about to leave, in the wanted direction.
void AvoidOffscreenVelocity(cCharaBase& chara, cCommandInstance& instance, double speed, std::int32_t code);
// Hands a move's velocity to the character: the facing request (unless the facing is fixed and not
// forced, or the move keeps the facing), then the velocity added, or, for an accelerating move, the
// drive speeds pushed toward it up to the top speed; last the walking (flying) animation.
void ApplyMoveVelocity(cCharaBase& chara, double vx, double vy, std::int32_t request, cCommandInstance& instance,
                       const cEdMove& move, std::int32_t force);

// --- Handlers (move_commands.cpp) ---------------------------------------------------------------

void CmdStraightMove(cCharaBase& chara, cCommandInstance& instance);
void CmdGroundTurnMove(cCharaBase& chara, cCommandInstance& instance);
void CmdCircleMove(cCharaBase& chara, cCommandInstance& instance);
void CmdChargeMove(cCharaBase& chara, cCommandInstance& instance);
void CmdHomingMove(cCharaBase& chara, cCommandInstance& instance);
void CmdAvoidOffscreenMove(cCharaBase& chara, cCommandInstance& instance);
void CmdStopMove(cCharaBase& chara, cCommandInstance& instance);
void CmdTurn(cCharaBase& chara, cCommandInstance& instance);
void CmdJump(cCharaBase& chara, cCommandInstance& instance);

// --- Shared small helpers -----------------------------------------------------------------------

// The move record of the instance's command, or null.
const cEdMove* MoveOf(const cCommandInstance& instance);
// Integer parameter i of the command (of the instance's command); 0 when it has no such parameter.
std::int32_t CommandParam(const cFlowCommand& command, std::int32_t i);
std::int32_t CommandParam(const cCommandInstance& instance, std::int32_t i);
// The state flag 向き固定 of the character.
bool HasFixedFacing(const cCharaBase& chara);
