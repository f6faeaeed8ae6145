// The move commands on small maps at speed level 1 (one logic step a frame, so a speed of 10 is one
// dot a step): straight moves by direction, angle and target point, the walker's patrol and its
// ledge turn, the circle, charge, homing and off-screen moves, stop, turn and jump.
#include "script/move_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "play/flow_runner.h"
#include "play/play_scene.h"
#include "tests/script/move_fixture.h"

namespace {

using scripttest::MoveTest;

constexpr double kEps = 1e-9;

// Walkers stand on map row 20: their 24-dot hit box ends on its first dot row.
constexpr double kFloorY1 = 20 * 32 - 24;

TEST_F(MoveTest, StraightMoveOfSpeedTenMovesOneDotPerStep) {
  cChara& chara = MakeChara(1000, kFloorY1);
  cFlowCommand command = MakeCommand(kCharaStraightMove, 1, [](cEdMove& m) { m.m_Direction = 3; });
  cCommandInstance instance = Prepare(command, chara);
  for (std::int32_t step = 1; step <= 6; ++step) {
    const bool ended = Step(chara, instance);
    EXPECT_EQ(chara.m_X1, 1000 + step) << step;
    EXPECT_EQ(ended, step == 6) << "a tenth of a second is six steps";
  }
  EXPECT_EQ(chara.m_Direction, 1) << "a free-facing walker turns to its move";
  EXPECT_EQ(chara.m_CommandAnimeSet, 1);
  EXPECT_EQ(chara.m_Anime.Pattern(), 1) << "the walking pattern";
}

TEST_F(MoveTest, AnAcceleratingMoveGainsASixtiethOfItsSpeedPerStepUpToTheTop) {
  cChara& chara = MakeChara(1000, kFloorY1);
  chara.m_Friction = 0.25;  // switched off for every step the move pushes
  cFlowCommand command = MakeCommand(kCharaStraightMove, 10, [](cEdMove& m) {
    m.m_Direction = 3;
    m.m_Inertia = 1;
    m.m_InertiaLimit = 5;  // half a dot a step
  });
  cCommandInstance instance = Prepare(command, chara);
  double x = chara.m_X1;
  for (std::int32_t step = 1; step <= 40; ++step) {
    Step(chara, instance);
    const double want = std::min(step / 60.0, 0.5);
    EXPECT_NEAR(chara.m_DriveX, want, kEps) << step;
    EXPECT_NEAR(chara.m_X1 - x, want, kEps) << step;
    x = chara.m_X1;
  }
}

TEST_F(MoveTest, AnAngleTurnsTheDirectionThroughUp) {
  struct Case {
    const char* name;
    std::int32_t facing;
    std::uint8_t mirror;
    double degrees;
  };
  // 右上 starts at 135 degrees; a right-facing character with the mirror flag turns the other way.
  const Case cases[] = {
      {"facing left", 0, 1, 145},
      {"facing right, no mirror", 1, 0, 145},
      {"facing right, mirrored", 1, 1, 125},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, 500, 2, 0, c.facing);
    cFlowCommand command = MakeCommand(kCharaStraightMove, 1, [&](cEdMove& m) {
      m.m_Direction = 10;
      m.m_StartAngle = 10;
      m.m_MirrorAngle = c.mirror;
      m.m_Speed = 20;
    });
    cCommandInstance instance = Prepare(command, chara);
    Step(chara, instance);
    const double a = c.degrees * std::numbers::pi / 180;
    EXPECT_NEAR(chara.m_Vx, -std::cos(a) * 2, kEps);
    EXPECT_NEAR(chara.m_Vy, -std::sin(a) * 2, kEps);
    EXPECT_GT(chara.m_Vx, 0) << "right";
    EXPECT_LT(chara.m_Vy, 0) << "and up";
  }
}

TEST_F(MoveTest, DirectionsByKindOfCharacter) {
  const double d = 1 / std::sqrt(2.0);
  struct Case {
    const char* name;
    std::uint8_t direction;
    std::uint8_t flight;
    std::uint8_t fixed;
    std::int32_t facing;
    double vx, vy;
    std::int32_t wantFacing;
  };
  const Case cases[] = {
      {"walker up stays", 6, 0, 0, 0, 0, 0, 0},
      {"walker up-left goes left only", 8, 0, 0, 1, -d, 0, 0},
      {"flyer up-left", 8, 2, 0, 1, -d, -d, 0},
      {"flyer down keeps the facing", 7, 2, 0, 1, 0, 1, 1},
      {"front of a right-facing walker", 0, 0, 0, 1, 1, 0, 1},
      {"back of a right-facing walker", 1, 0, 0, 1, -1, 0, 0},
      {"front Y of a right-facing flyer is down", 4, 2, 0, 1, 0, 1, 1},
      {"fixed facing moves without turning", 3, 0, 1, 0, 1, 0, 0},
      {"a direction no table has", 40, 2, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, c.flight != 0 ? 500 : kFloorY1, c.flight, c.fixed, c.facing);
    cFlowCommand command = MakeCommand(kCharaStraightMove, 1, [&](cEdMove& m) { m.m_Direction = c.direction; });
    cCommandInstance instance = Prepare(command, chara);
    Step(chara, instance);
    EXPECT_NEAR(chara.m_Vx, c.vx, kEps);
    EXPECT_NEAR(chara.m_Vy, c.vy, kEps);
    EXPECT_EQ(chara.m_Direction, c.wantFacing);
  }
}

TEST_F(MoveTest, TheInputDirectionComesFromTheRunningFlow) {
  struct Case {
    std::int32_t input;
    std::int32_t facing;
    std::uint8_t flight;
    std::int32_t want;
  };
  const Case cases[] = {
      {0, 0, 0, 2}, {0, 1, 0, 3},   // no key: the facing
      {5, 1, 0, 2}, {7, 0, 0, 3},   // a walker's diagonals walk sideways
      {5, 1, 2, 8}, {8, 0, 2, 11},  // a flyer keeps them
      {3, 0, 0, 6}, {99, 1, 0, 3},  // up; a value that is no direction
  };
  cFlowRunner runner;
  m_Scene->m_ExecFlow = &runner;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    runner.m_InputDirection = c.input;
    cChara& chara = MakeChara(1000, 500, c.flight, 0, c.facing);
    EXPECT_EQ(ResolveDirectionCode(chara, 12), c.want);
  }
  m_Scene->m_ExecFlow = nullptr;
  cChara& chara = MakeChara(1000, 500, 0, 0, 1);
  EXPECT_EQ(ResolveDirectionCode(chara, 12), 3) << "outside a flow there is no input";
}

TEST_F(MoveTest, AMoveToAPointEndsOnTheStepItArrives) {
  struct Case {
    const char* name;
    std::uint8_t kind;
    std::int16_t cells, dots, speed;
    std::int32_t wantSteps;
    double wantMoved;
  };
  // The walker's centre is 8 dots right of its x1 (1008).
  const Case cases[] = {
      {"relative, one dot a step", 1, 0, 40, 10, 40, 40},
      {"relative, a step short of an odd distance", 1, 0, 41, 20, 20, 40},
      {"absolute cell 30 is stage dot 1296", 2, 30, 0, 10, 288, 288},
      {"from the placement", 0, 2, 0, 10, 64, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, kFloorY1);
    chara.m_HomeX = 1008;
    cFlowCommand command = MakeCommand(kCharaStraightMove, 100, [&](cEdMove& m) {
      m.m_TargetMode = 1;
      m.m_CoordinateKind = c.kind;
      m.m_TargetCellsX = c.cells;
      m.m_TargetDotsX = c.dots;
      m.m_UseTargetY = 0;
      m.m_Speed = c.speed;
    });
    cCommandInstance instance = Prepare(command, chara);
    EXPECT_EQ(RunToEnd(chara, instance), c.wantSteps);
    EXPECT_EQ(chara.m_X1 - 1000, c.wantMoved);
  }
}

TEST_F(MoveTest, AWalkerTurnsAtALedgeTheStepAfterItsFrontFootLeavesIt) {
  // Solid map columns 30..34 (dots 960..1119) under the walker.
  for (std::int32_t column = 30; column <= 34; ++column) SolidCell(column, 20, -1);
  cChara& chara = MakeChara(1080, kFloorY1, 0, 1, 1);
  cFlowCommand command = MakeCommand(kCharaGroundTurnMove, 100);
  cCommandInstance instance = Prepare(command, chara);
  std::int32_t overEdge = 0;
  std::int32_t turned = 0;
  for (std::int32_t step = 1; step <= 40 && turned == 0; ++step) {
    const double before = chara.m_X1;
    Step(chara, instance);
    if (chara.m_Direction == 0) {
      turned = step;
      EXPECT_EQ(chara.m_X1 - before, 1) << "the turning step still moves the old way";
    }
    if (overEdge == 0 && (static_cast<std::int32_t>(chara.m_X2) >> 5) == 35) overEdge = step;
  }
  EXPECT_EQ(overEdge, 25);
  EXPECT_EQ(turned, overEdge + 1);
  const double before = chara.m_X1;
  Step(chara, instance);
  EXPECT_EQ(chara.m_X1 - before, -1);
}

TEST_F(MoveTest, AWalkerPushedByABlockCharacterTurnsAndLeavesItsRide) {
  struct Case {
    std::int32_t facing;
    double dv;
    bool riding;
    double wantVx;
  };
  // Speed one dot a step; the ride's move since it was recorded counts twice where it pushed
  // against the walker's new way.
  const Case cases[] = {
      {1, -2, true, -5}, {1, 2, true, 1}, {0, 2, true, 5}, {0, -2, true, -1}, {1, -2, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.facing << " " << c.dv << " " << c.riding);
    cChara& block = MakeChara(400, 400);
    block.m_Def.m_BlockChara = 1;
    cChara& chara = MakeChara(1000, kFloorY1, 0, 1, c.facing);
    chara.m_PushedByBlockChara = 1;
    chara.m_CarrierId = c.riding ? block.m_Id : -5;
    chara.m_CarrierRect = {block.m_X1 - c.dv, block.m_Y1, block.m_X2 - c.dv, block.m_Y2};
    cFlowCommand command = MakeCommand(kCharaGroundTurnMove, 10);
    cCommandInstance instance = Prepare(command, chara);
    chara.m_Vx = 0;
    ExecCharaCommand(chara, instance);
    EXPECT_EQ(chara.m_Vx, c.wantVx);
    EXPECT_EQ(chara.m_Direction, 1 - c.facing) << "turned back, fixed facing or not";
    EXPECT_EQ(chara.m_PushedByBlockChara, 0);
  }
}

TEST_F(MoveTest, AKnockedBackWalkerKeepsWalkingItsWayWithoutTurning) {
  cChara& chara = MakeChara(1000, kFloorY1, 0, 0, 1);  // over no floor at all
  chara.m_KnockVx = -3;
  cFlowCommand command = MakeCommand(kCharaGroundTurnMove, 10);
  cCommandInstance instance = Prepare(command, chara);
  chara.m_Vx = 0;
  ExecCharaCommand(chara, instance);
  EXPECT_EQ(chara.m_Vx, 1);
  EXPECT_EQ(chara.m_Direction, 1);
  cChara& flyer = MakeChara(1000, 500, 2, 0, 1);
  cFlowCommand flyerCommand = MakeCommand(kCharaGroundTurnMove, 10);
  cCommandInstance flyerInstance = Prepare(flyerCommand, flyer);
  flyer.m_Vx = 0;
  ExecCharaCommand(flyer, flyerInstance);
  EXPECT_EQ(flyer.m_Vx, 0) << "flyers do not patrol the ground";
}

TEST_F(MoveTest, ACircleOfRadiusAboveTwentyHblDrawsTwenty) {
  struct Case {
    std::int16_t radius;
    double wantDx;  // a quarter turn from 0 degrees moves the radius to the left
  };
  const Case cases[] = {{25, -320}, {20, -320}, {10, -160}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radius);
    cChara& chara = MakeChara(1200, kFloorY1);
    cFlowCommand command = MakeCommand(kCharaCircleMove, 0, [&](cEdMove& m) {
      m.m_Radius = c.radius;
      m.m_StartAngle = 0;
      m.m_Distance = 90;  // the end angle
      m.m_TimeMode = 1;   // by speed: one degree a step
      m.m_MirrorX = 0;
    });
    cCommandInstance instance = Prepare(command, chara);
    EXPECT_EQ(RunToEnd(chara, instance), 90);
    // The steps sample the arc, so the sum overshoots the radius by under one percent.
    EXPECT_NEAR(chara.m_X1 - 1200, c.wantDx * 1.0087, 1.0);
  }
}

TEST_F(MoveTest, AChargeHeadsForTheTargetItSawFirst) {
  struct Case {
    const char* name;
    bool target;
    bool dead;
    std::uint8_t flight;
    double tx, ty;
    double vx, vy;
  };
  // The charger's centre is (1008, 508) when flying; speed 10 is one dot a step.
  const Case cases[] = {
      {"walker toward a target on the right", true, false, 0, 1400, 0, 1, 0},
      {"walker toward a target on the left", true, false, 0, 600, 0, -1, 0},
      {"flyer along the diagonal", true, false, 2, 1300, 800, 1 / std::sqrt(2.0), 1 / std::sqrt(2.0)},
      {"no target", false, false, 0, 0, 0, 0, 0},
      {"a dead target", true, true, 0, 1400, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, c.flight != 0 ? 500 : kFloorY1, c.flight);
    cChara& target = MakeChara(c.tx, c.flight != 0 ? c.ty : kFloorY1, c.flight);
    target.m_Dead = c.dead ? 1 : 0;
    if (c.target) chara.SetTarget(&target);
    cFlowCommand command = MakeCommand(kCharaChargeMove, 10, [](cEdMove& m) { m.m_MirrorX = 0; });
    cCommandInstance instance = Prepare(command, chara);
    Step(chara, instance);
    // The target moves away; the charge keeps the way it took.
    target.m_X1 = 100;
    target.UpdateScreenRect();
    Step(chara, instance);
    EXPECT_NEAR(chara.m_Vx, c.vx, kEps);
    EXPECT_NEAR(chara.m_Vy, c.vy, kEps);
  }
}

TEST_F(MoveTest, AHomingMoveWithADelayAimsWhereTheTargetWasOneDelayAgo) {
  struct Case {
    std::int16_t delayFrames;
    std::int32_t firstLeftStep;  // counted from 0
  };
  const Case cases[] = {{0, 1}, {2, 4}, {3, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delayFrames);
    cChara& chara = MakeChara(1000, kFloorY1);
    cChara& target = MakeChara(1400, kFloorY1);
    chara.SetTarget(&target);
    cFlowCommand command = MakeCommand(kCharaHomingMove, 10, [&](cEdMove& m) {
      m.m_Radius = c.delayFrames;
      m.m_MirrorX = 0;
    });
    cCommandInstance instance = Prepare(command, chara);
    std::int32_t firstLeft = -1;
    for (std::int32_t step = 0; step < 10 && firstLeft < 0; ++step) {
      Step(chara, instance);
      if (step == 0) {
        // The target jumps to the walker's left after the first step.
        target.m_X1 = 600;
        target.UpdateScreenRect();
      }
      if (chara.m_Vx < 0) firstLeft = step;
    }
    EXPECT_EQ(firstLeft, c.firstLeftStep);
  }
}

TEST_F(MoveTest, AnAvoidingMoveLeavesTheEdgeItIsAbout) {
  struct Case {
    const char* name;
    std::uint8_t direction;
    double x1;         // screen left = x1 - 8 - 320
    double autoSpeed;  // horizontal auto-scroll, dots a step
    double vx;
  };
  const Case cases[] = {
      {"left, past the right edge", 2, 937, 0, -1},
      {"left, well on screen", 2, 700, 0, 0},
      {"right, past the left edge", 3, 320, 0, 1},
      {"right, on screen", 3, 700, 0, 0},
      {"left with the scroll, within its slack", 2, 935, 0.5, -0.5},
      {"left with the scroll, short of its slack", 2, 933, 0.5, 0},
      {"front of a left-facing character", 0, 937, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Scene->m_ScrollX.m_AutoSpeed = c.autoSpeed;
    m_Scene->m_ScrollX.m_AtLimit = 0;
    cChara& chara = MakeChara(c.x1, kFloorY1);
    cFlowCommand command = MakeCommand(kCharaAvoidScreenMove, 10, [&](cEdMove& m) { m.m_Direction = c.direction; });
    cCommandInstance instance = Prepare(command, chara);
    chara.m_Vx = 0;
    ExecCharaCommand(chara, instance);
    EXPECT_NEAR(chara.m_Vx, c.vx, kEps);
    EXPECT_EQ(instance.m_StepCounter, 1);
  }
}

TEST_F(MoveTest, StopClearsEveryMotionAndHoldsTheCharacter) {
  cChara& chara = MakeChara(1000, 500);
  chara.m_Vx = chara.m_Vy = chara.m_DriveX = chara.m_DriveY = chara.m_KnockVx = chara.m_KnockVy = 2;
  cFlowCommand command = MakeCommand(kCharaCancelMove, 1);
  cCommandInstance instance = Prepare(command, chara);
  ExecCharaCommand(chara, instance);
  for (double v : {chara.m_Vx, chara.m_Vy, chara.m_DriveX, chara.m_DriveY, chara.m_KnockVx, chara.m_KnockVy})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(chara.m_Held, 1);
  chara.ApplyGravityStep();
  EXPECT_EQ(chara.m_Vy, 0) << "no gravity while held";
}

TEST_F(MoveTest, TurningFacesBySideTargetOrLastWall) {
  struct Case {
    const char* name;
    std::int32_t option;
    std::int32_t targetSide;  // -1 left, 1 right, 0 none
    std::int32_t wall;        // J1
    std::int32_t start;
    std::int32_t want;
  };
  const Case cases[] = {
      {"left", 0, 0, -1, 1, 0},
      {"right", 1, 0, -1, 0, 1},
      {"toward a target on the right", 2, 1, -1, 0, 1},
      {"away from a target on the right", 3, 1, -1, 1, 0},
      {"toward a target on the left", 2, -1, -1, 1, 0},
      {"toward no target", 2, 0, -1, 1, 1},
      {"away from no target", 3, 0, -1, 0, 0},
      {"toward the last wall on the right", 4, 0, 1, 0, 1},
      {"away from the last wall on the right", 5, 0, 1, 1, 0},
      {"no wall hit yet", 4, 0, -1, 1, 1},
      {"an option no table has", 9, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, kFloorY1, 0, 1, c.start);
    chara.m_J1 = c.wall;
    if (c.targetSide != 0) chara.SetTarget(&MakeChara(1000 + 200 * c.targetSide, kFloorY1));
    cFlowCommand command = MakeCommand(kCharaTurn, 1);
    command.m_Params.At(0) = c.option;
    cCommandInstance instance = Prepare(command, chara);
    ExecCharaCommand(chara, instance);
    EXPECT_EQ(chara.m_Direction, c.want);
  }
}

TEST_F(MoveTest, TurningRepeatsEveryTenthOfASecondAndOnlyWithFixedFacing) {
  cChara& fixed = MakeChara(1000, kFloorY1, 0, 1, 0);
  cChara& free = MakeChara(1000, kFloorY1, 0, 0, 0);
  cFlowCommand command = MakeCommand(kCharaTurn, 10);
  command.m_Params.At(0) = 1;
  cCommandInstance fixedTurn = Prepare(command, fixed);
  cCommandInstance freeTurn = Prepare(command, free);
  for (std::int32_t step = 0; step < 13; ++step) {
    fixed.m_Direction = 0;
    ExecCharaCommand(fixed, fixedTurn);
    ExecCharaCommand(free, freeTurn);
    EXPECT_EQ(fixed.m_Direction, step % 6 == 0 ? 1 : 0) << step;
    EXPECT_EQ(free.m_Direction, 0) << "a character without fixed facing is left alone";
  }
}

TEST_F(MoveTest, AJumpCommandJumpsWithTheSpeedOfItsHeight) {
  cChara& chara = MakeChara(1000, kFloorY1);
  chara.m_J2 = 0;  // standing
  cFlowCommand command = MakeCommand(kCharaJump, 1);
  command.m_Params.At(2) = 3;
  cCommandInstance instance = Prepare(command, chara);
  ExecCharaCommand(chara, instance);
  EXPECT_EQ(chara.m_Vy, chara.JumpSpeedForHbl(3));
  EXPECT_LT(chara.m_Vy, 0);
  EXPECT_EQ(instance.m_StepCounter, 1);
}

TEST_F(MoveTest, AMoveVelocityTurnsTheCharacterOnlyWhereAllowed) {
  struct Case {
    const char* name;
    std::uint8_t fixed;
    std::int32_t force;
    std::uint8_t keepFacing;
    std::int32_t request;
    std::int32_t want;  // from facing left
  };
  const Case cases[] = {
      {"free, asked right", 0, 0, 0, kRequestRight, 1},
      {"free, kept", 0, 0, 0, kRequestKeep, 0},
      {"fixed", 1, 0, 0, kRequestRight, 0},
      {"fixed but forced", 1, 1, 0, kRequestRight, 1},
      {"the move keeps the facing", 0, 1, 1, kRequestRight, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, kFloorY1, 0, c.fixed, 0);
    cEdMove move;
    move.m_KeepFacing = c.keepFacing;
    cCommandInstance instance;
    ApplyMoveVelocity(chara, 0, 0, c.request, instance, move, c.force);
    EXPECT_EQ(chara.m_Direction, c.want);
  }
}

TEST_F(MoveTest, AMoveVelocityBrakesByItsFactorAndSetsTheMovingPattern) {
  cChara& flyer = MakeChara(1000, 500, 2);
  cEdMove move;
  move.m_Inertia = 1;
  move.m_InertiaLimit = 30;
  move.m_BrakingFactor = 3.0;
  flyer.m_DriveX = -0.5;
  flyer.m_DriveY = 0.5;
  flyer.m_FrictionX = flyer.m_FrictionY = 1;
  cCommandInstance instance;
  ApplyMoveVelocity(flyer, 1.0, 1.0, kRequestKeep, instance, move, 0);
  EXPECT_NEAR(flyer.m_DriveX, -0.5 + 3.0 / 60, kEps) << "braking";
  EXPECT_EQ(flyer.m_FrictionX, 1) << "friction helps a brake";
  EXPECT_NEAR(flyer.m_DriveY, 0.5 + 1.0 / 60, kEps);
  EXPECT_EQ(flyer.m_FrictionY, 0);
  EXPECT_EQ(flyer.m_Anime.Pattern(), 3) << "the flying pattern";

  cChara& walker = MakeChara(1000, kFloorY1);
  walker.m_Anime.SetPattern(0, 1);
  move.m_KeepAnimation = 1;
  ApplyMoveVelocity(walker, 1.0, 0, kRequestKeep, instance, move, 0);
  EXPECT_EQ(walker.m_Anime.Pattern(), 0);
  EXPECT_EQ(walker.m_CommandAnimeSet, 0);
}

}  // namespace
