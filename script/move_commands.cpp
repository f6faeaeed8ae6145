// The per-step handlers of the move commands and of the stop, turn and jump commands. A handler runs
// once per logic step of its command's life; the first of those steps is the one on which the
// instance's started flag is still clear.
#include "script/move_commands.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "platform/audio/sound_effects.h"
#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/flow_runner.h"
#include "play/motion.h"
#include "play/steering.h"
#include "project/ed_move.h"
#include "project/stage_data.h"
#include "script/command_dispatch.h"

namespace {

bool Flies(const cCharaBase& chara) { return chara.m_Flying != 0; }

bool LiveTarget(const cCharaBase& chara) { return chara.m_Target != nullptr && chara.m_Target->m_Dead == 0; }

// The step counter of a command that runs for as long as its duration allows: it counts on
// without ever overflowing.
void CountStep(cCommandInstance& instance) {
  instance.m_StepCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(instance.m_StepCounter) + 1u);
}

// The point the target offers a move, starting from the mover's own centre so that an axis the move
// does not use holds no distance.
void TargetPoint(const cCharaBase& chara, const cCommandInstance& instance, double& x, double& y) {
  x = chara.ScreenCentreX();
  y = chara.ScreenCentreY();
  chara.m_Target->TargetPointOf(x, y, instance);
}

// The x a walking move aims at: the target's centre plus the command's offset.
double WalkTargetX(const cCharaBase& chara, const cCommandInstance& instance) {
  return static_cast<double>(chara.m_Target->ScreenCentreX()) + instance.m_TargetOffsetX;
}

// Facing options of "向き変更".
enum TurnOption : std::int32_t {
  kTurnLeft = 0,
  kTurnRight = 1,
  kTurnToTarget = 2,
  kTurnFromTarget = 3,
  kTurnToLastWall = 4,
  kTurnFromLastWall = 5,
};

// The facing a turn option gives (0 left, 1 right), or -1 when the option cannot say: no target,
// no wall hit yet, or an option no table has.
std::int32_t TurnFacing(const cCharaBase& chara, std::int32_t option) {
  const auto toTarget = [&chara]() -> std::int32_t {
    if (chara.m_Target == nullptr) return -1;
    const cCharaBase& t = *chara.m_Target;
    return t.m_X1 + t.m_Width / 2 <= chara.m_X1 + chara.m_Width / 2 ? 0 : 1;
  };
  const auto toWall = [&chara]() -> std::int32_t { return chara.m_J1 == 0 || chara.m_J1 == 1 ? chara.m_J1 : -1; };
  const auto away = [](std::int32_t facing) { return facing < 0 ? facing : 1 - facing; };
  switch (option) {
    case kTurnLeft:
      return 0;
    case kTurnRight:
      return 1;
    case kTurnToTarget:
      return toTarget();
    case kTurnFromTarget:
      return away(toTarget());
    case kTurnToLastWall:
      return toWall();
    case kTurnFromLastWall:
      return away(toWall());
    default:
      return -1;
  }
}

}  // namespace

void CmdStraightMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  if (instance.m_Started == 0) {
    instance.m_Started = 1;
    if (move->m_TargetMode == 0) {
      if (instance.m_Angle != 0)
        AngleVelocity(chara, instance, instance.m_Speed, instance.m_DirectionCode, instance.m_Angle);
      else
        DirectionVelocity(chara, instance, instance.m_Speed, instance.m_DirectionCode);
    } else if (move->m_TargetMode == 1) {
      TargetPointVelocity(chara, instance, instance.m_Speed, instance.m_TargetOffsetX, instance.m_TargetOffsetY, *move);
    } else {
      // A move kind no table has goes nowhere (and keeps nothing of an earlier run).
      instance.m_Vx = instance.m_Vy = 0.0;
      instance.m_FacingRequest = kRequestKeep;
    }
  } else {
    if (!Flies(chara)) instance.m_Vy = 0.0;
    const bool turned = (chara.m_Direction != 0) != (instance.m_LastFacing != 0);
    if (move->m_TurnWithFacing != 0 && HasFixedFacing(chara) && turned) {
      instance.m_Vx = -instance.m_Vx;
      instance.m_Vy = -instance.m_Vy;
    }
  }
  ApplyMoveVelocity(chara, instance.m_Vx, instance.m_Vy, instance.m_FacingRequest, instance, *move, 0);
  instance.m_LastFacing = chara.m_Direction;
}

void CmdGroundTurnMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr || Flies(chara)) return;
  if (chara.m_KnockVx == 0 && chara.m_KnockVy == 0) {
    GroundTurnVelocity(chara, instance, instance.m_Speed);
  } else {
    instance.m_Vx = chara.Facing() * instance.m_Speed;
    instance.m_Vy = 0.0;
    instance.m_FacingRequest = kRequestKeep;
  }
  ApplyMoveVelocity(chara, instance.m_Vx, instance.m_Vy, instance.m_FacingRequest, instance, *move, 1);
}

void CmdCircleMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  const double radius = instance.m_MoveWords[0];
  if (move == nullptr || radius == 0) return;
  if (instance.m_Started == 0) {
    instance.m_Started = 1;
    instance.m_PhaseX = instance.m_PhaseY = instance.m_MoveWords[1];
  }
  const bool right = chara.m_Direction != 0;
  std::int32_t sense = instance.m_DirectionCode;
  if ((sense == 2 && right) || (sense == 3 && !right)) sense = 1;
  double vx = 0.0;
  double vy = 0.0;
  const double speed = instance.m_Speed;
  const double k = g_StepsPerFrameF * speed;
  if (move->m_NoMoveX == 0) vx -= CircleMoveStepX(radius, 1, instance.m_PhaseX, k, 0) * speed;
  if (Flies(chara) && move->m_NoMoveY == 0)
    vy -= CircleMoveStepX(radius, 1, instance.m_PhaseY, k, sense == 1 ? 90 : 270) * speed;
  instance.m_Vx = vx;
  instance.m_Vy = vy;
  ApplyMoveVelocity(chara, vx, vy, kRequestKeep, instance, *move, 0);
}

void CmdChargeMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  if (instance.m_Started == 0) {
    instance.m_Started = 1;
    // Without a live target there is nothing to charge at: the charge stands still.
    if (!LiveTarget(chara)) {
      instance.m_Vx = instance.m_Vy = 0.0;
      instance.m_FacingRequest = kRequestKeep;
      return;
    }
    // From here the direction code is the steering's (still, left, right), the facing asked for.
    instance.m_DirectionCode = kSteerStill;
    if (Flies(chara)) {
      double x = 0.0;
      double y = 0.0;
      TargetPoint(chara, instance, x, y);
      AimAtPoint(chara, instance, *move, x, y);
      instance.m_FacingRequest = instance.m_DirectionCode;
    } else if (move->m_NoMoveX != 0) {
      instance.m_Vx = instance.m_Vy = 0.0;
      instance.m_FacingRequest = kRequestKeep;
    } else {
      MoveTowardPointStepX(instance.m_Vx, instance.m_Vy, instance.m_DirectionCode, &chara, chara.ScreenCentreX(),
                           WalkTargetX(chara, instance), instance.m_Speed, chara.m_FollowsScroll, 0);
      instance.m_FacingRequest = instance.m_DirectionCode;
    }
    if (instance.m_Angle != 0) {
      const double heading = std::atan2(instance.m_Vx, instance.m_Vy) * 180 / std::numbers::pi + 90;
      const double a = (std::trunc(heading) + instance.m_Angle) * std::numbers::pi / 180;
      instance.m_Vx = std::cos(a) * instance.m_Speed;
      if (Flies(chara)) instance.m_Vy = -std::sin(a) * instance.m_Speed;
    }
  } else if (!Flies(chara)) {
    instance.m_Vy = 0.0;
  }
  ApplyMoveVelocity(chara, instance.m_Vx, instance.m_Vy, instance.m_FacingRequest, instance, *move, 0);
}

void CmdHomingMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr || !LiveTarget(chara)) return;
  const bool flies = Flies(chara);
  if (!flies && move->m_NoMoveX != 0) return;
  const auto present = [&](double& x, double& y) {
    if (flies) {
      TargetPoint(chara, instance, x, y);
    } else {
      x = WalkTargetX(chara, instance);
      y = chara.ScreenCentreY();
    }
  };
  const auto aim = [&](double x, double y) {
    if (flies)
      AimAtPoint(chara, instance, *move, x, y);
    else
      MoveTowardPointX(instance, chara, x, chara.m_FollowsScroll, 0);
  };
  const std::int32_t delay = instance.m_MoveWords[0];
  if (instance.m_StepCounter == 0) instance.m_DirectionCode = kSteerStill;
  if (delay == 0) {
    double x = 0.0;
    double y = 0.0;
    present(x, y);
    aim(x, y);
  } else if (instance.m_StepCounter == 0) {
    present(instance.m_QueuedX, instance.m_QueuedY);
    aim(instance.m_QueuedX, instance.m_QueuedY);
  } else if (instance.m_StepCounter % delay == 0) {
    // The point queued one delay ago is aimed at; the present one takes its place.
    aim(instance.m_QueuedX, instance.m_QueuedY);
    present(instance.m_QueuedX, instance.m_QueuedY);
  }
  ApplyMoveVelocity(chara, instance.m_Vx, instance.m_Vy, instance.m_DirectionCode, instance, *move, 0);
  CountStep(instance);
}

void CmdAvoidOffscreenMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = MoveOf(instance);
  if (move == nullptr) return;
  AvoidOffscreenVelocity(chara, instance, instance.m_Speed, instance.m_DirectionCode);
  if (!Flies(chara)) instance.m_Vy = 0.0;
  ApplyMoveVelocity(chara, instance.m_Vx, instance.m_Vy, instance.m_FacingRequest, instance, *move, 0);
  CountStep(instance);
}

void CmdStopMove(cCharaBase& chara, cCommandInstance&) {
  chara.m_Vx = chara.m_Vy = 0.0;
  chara.m_DriveX = chara.m_DriveY = 0.0;
  chara.m_KnockVx = chara.m_KnockVy = 0.0;
  chara.m_Held = 1;
}

void CmdTurn(cCharaBase& chara, cCommandInstance& instance) {
  // A character without fixed facing turns with its moves; this command is for the others.
  if (!HasFixedFacing(chara)) return;
  if (instance.m_StepCounter == 0) {
    if (instance.m_Command != nullptr) PlaySEOffset(instance.m_Command->m_Sound);
    const std::int32_t facing = TurnFacing(chara, CommandParam(instance, 0));
    if (facing >= 0) chara.m_Direction = facing;
  }
  // The turn repeats every tenth of a second while the command lasts.
  CountStep(instance);
  if (instance.m_StepCounter >= 6 * g_StepsPerFrame || instance.m_StepCounter < 0) instance.m_StepCounter = 0;
}

void CmdJump(cCharaBase& chara, cCommandInstance& instance) {
  chara.Jump(instance);
  CountStep(instance);
}

const cEdMove* MoveOf(const cCommandInstance& instance) {
  return instance.m_Command != nullptr ? instance.m_Command->m_Move.get() : nullptr;
}

std::int32_t CommandParam(const cFlowCommand& command, std::int32_t i) {
  if (i >= 0 && i < command.m_Params.Size()) return command.m_Params.At(i);
  // Only a command made without its row's parameters (never one read from a file) gets here: it
  // reads 0, and the command is reported once.
  if (FirstCommandReport(kReportMissingParam, command.m_CommandSet, command.m_CommandNumber)) {
    ReportLogAndLog("Command %d (set %d) has no parameter %d: read as 0", command.m_CommandNumber,
                    command.m_CommandSet, i);
  }
  return 0;
}

std::int32_t CommandParam(const cCommandInstance& instance, std::int32_t i) {
  return instance.m_Command != nullptr ? CommandParam(*instance.m_Command, i) : 0;
}

bool HasFixedFacing(const cCharaBase& chara) { return chara.m_Def.m_FixedFacing != 0; }
