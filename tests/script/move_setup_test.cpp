// The set-up of move commands when the flows are built: the time a move takes, its angle and target
// offsets, the circle's radius, phases and sense, the homing delay and the jump's time, and the
// zero durations and speeds that must not divide by zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "play/flow_runner.h"
#include "script/move_commands.h"
#include "tests/script/move_fixture.h"

namespace {

using scripttest::MoveTest;

constexpr double kEps = 1e-9;

TEST_F(MoveTest, TheTimeModeGivesSpeedOrDuration) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::uint8_t unit;  // 0 hbl, 1 dots
    std::int16_t distance, distanceStep;
    std::uint16_t n;
    std::int32_t duration;
    double speed;
    std::int32_t wantDuration;
    double wantSpeed;
  };
  const Case cases[] = {
      {"both given", 0, 0, 4, 0, 0, 30, 1.5, 30, 1.5},
      {"speed from 4 hbl in 32 steps", 1, 0, 4, 0, 0, 32, 9, 32, 2},
      {"speed from dots", 1, 1, 48, 0, 0, 32, 9, 32, 1.5},
      {"duration from 4 hbl at 3 a step", 2, 0, 4, 0, 0, 99, 3, 21, 3},
      {"the distance grows with the summon index", 2, 1, 10, 5, 2, 99, 2, 10, 2},
      {"no time: no speed, and the move ends at once", 1, 0, 4, 0, 0, 0, 9, 0, 0},
      {"no speed: no time", 2, 0, 4, 0, 0, 99, 0, 0, 0},
      {"a mode no table has", 7, 0, 4, 0, 0, 30, 1.5, 30, 1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cEdMove move;
    move.m_TimeMode = c.mode;
    move.m_Unit = c.unit;
    move.m_Distance = c.distance;
    move.m_DistanceStep = c.distanceStep;
    cCommandInstance instance;
    instance.m_Duration = c.duration;
    instance.m_Speed = c.speed;
    ResolveMoveTime(instance, move, c.n);
    EXPECT_EQ(instance.m_Duration, c.wantDuration);
    EXPECT_NEAR(instance.m_Speed, c.wantSpeed, kEps);
  }
}

TEST_F(MoveTest, ZeroTimeOrZeroSpeedMovesEndAtOnceWithoutMoving) {
  struct Case {
    const char* name;
    std::int32_t number;
    std::int16_t tenths;
    std::int16_t speed;
    std::uint8_t mode;
  };
  const Case cases[] = {
      {"straight, distance in no time", kCharaStraightMove, 0, 10, 1},
      {"straight, distance at no speed", kCharaStraightMove, 10, 0, 2},
      {"patrol, distance at no speed", kCharaGroundTurnMove, 10, 0, 2},
      {"circle, a turn in no time", kCharaCircleMove, 0, 10, 0},
      {"circle, a turn at no speed", kCharaCircleMove, 10, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, 500, 2);
    cFlowCommand command = MakeCommand(c.number, c.tenths, [&](cEdMove& m) {
      m.m_Direction = 3;
      m.m_Speed = c.speed;
      m.m_TimeMode = c.mode;
      m.m_Distance = 90;
      m.m_Radius = 4;
    });
    cCommandInstance instance = Prepare(command, chara);
    EXPECT_EQ(instance.m_Duration, 0);
    EXPECT_EQ(instance.m_Speed, 0);
    EXPECT_TRUE(std::isfinite(instance.m_Speed));
    EXPECT_EQ(RunToEnd(chara, instance), 1);
    EXPECT_EQ(chara.m_X1, 1000);
    EXPECT_EQ(chara.m_Y1, 500);
  }
}

TEST_F(MoveTest, TheAngleIsMirroredForRightFacingAndKeptBelowAFullTurn) {
  struct Case {
    std::int16_t angle, step;
    std::uint16_t n;
    std::uint8_t mirror;
    std::int32_t facing;
    std::int32_t want;
  };
  const Case cases[] = {
      {10, 0, 0, 1, 0, 10},
      {10, 0, 0, 1, 1, 350},
      {10, 0, 0, 0, 1, 10},
      {350, 10, 2, 0, 0, 10},
      {0, 0, 0, 1, 1, 0},
      {-30, 0, 0, 0, 0, -30},
      {32767, 32767, 65535, 0, 0, 2147418112 % 360},
      {-32768, 0, 0, 1, 1, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.angle << " " << c.step << " " << c.n << " " << c.facing);
    for (std::int32_t number : {kCharaStraightMove, kCharaChargeMove}) {
      cChara& chara = MakeChara(1000, 500, 2, 0, c.facing);
      chara.m_SpawnIndex = c.n;
      cFlowCommand command = MakeCommand(number, 10, [&](cEdMove& m) {
        m.m_StartAngle = c.angle;
        m.m_AngleStep = c.step;
        m.m_MirrorAngle = c.mirror;
      });
      EXPECT_EQ(Prepare(command, chara).m_Angle, c.want);
    }
  }
}

TEST_F(MoveTest, TargetOffsetsAreMirroredForRightFacing) {
  struct Case {
    std::uint8_t mirrorX, mirrorY;
    std::int32_t facing;
    std::int32_t wantX, wantY;
  };
  // 2 cells + 5 dots across, 1 cell - 3 dots down.
  const Case cases[] = {{1, 1, 0, 69, 29}, {1, 0, 1, -69, 29}, {0, 1, 1, 69, -29}, {1, 1, 1, -69, -29}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.mirrorX} << int{c.mirrorY} << c.facing);
    cChara& chara = MakeChara(1000, 500, 2, 0, c.facing);
    auto edit = [&](cEdMove& m) {
      m.m_TargetMode = 1;
      m.m_TargetCellsX = 2;
      m.m_TargetDotsX = 5;
      m.m_TargetCellsY = 1;
      m.m_TargetDotsY = -3;
      m.m_MirrorX = c.mirrorX;
      m.m_MirrorY = c.mirrorY;
    };
    for (std::int32_t number : {kCharaStraightMove, kCharaChargeMove, kCharaHomingMove}) {
      cFlowCommand command = MakeCommand(number, 10, edit);
      const cCommandInstance instance = Prepare(command, chara);
      EXPECT_EQ(instance.m_TargetOffsetX, c.wantX) << number;
      EXPECT_EQ(instance.m_TargetOffsetY, c.wantY) << number;
    }
  }
  cChara& chara = MakeChara(1000, 500, 2, 0, 0);
  cFlowCommand byDirection = MakeCommand(kCharaStraightMove, 10, [](cEdMove& m) { m.m_TargetCellsX = 2; });
  EXPECT_EQ(Prepare(byDirection, chara).m_TargetOffsetX, 0) << "a move by direction has no target";
}

TEST_F(MoveTest, TheCircleIsSetUpWithinTwentyHblAndMirrored) {
  SetSpeedLevel(2);
  struct Case {
    const char* name;
    std::int16_t radius, radiusStep;
    std::uint16_t n;
    std::int32_t facing;
    std::uint8_t mirrorX, mirrorY;
    std::uint8_t sense;
    std::int32_t wantRadiusHbl;
    std::int32_t wantExtra;
    std::uint8_t wantSense;
  };
  const Case cases[] = {
      {"radius 25 draws 20", 25, 0, 0, 0, 1, 0, 0, 20, 0, 0},
      {"a summon's step counts", 2, 3, 4, 0, 1, 0, 0, 14, 0, 0},
      {"no circle below 0", -5, 0, 0, 0, 1, 0, 0, 0, 0, 0},
      {"facing right mirrors x", 4, 0, 0, 1, 1, 0, 0, 4, 180, 1},
      {"and y mirrors back", 4, 0, 0, 1, 1, 1, 0, 4, 180, 0},
      {"y alone", 4, 0, 0, 1, 0, 1, 1, 4, 0, 0},
      {"the facing senses stay", 4, 0, 0, 1, 1, 0, 2, 4, 180, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = MakeChara(1000, 500, 2, 0, c.facing);
    chara.m_SpawnIndex = c.n;
    cFlowCommand command = MakeCommand(kCharaCircleMove, 10, [&](cEdMove& m) {
      m.m_Radius = c.radius;
      m.m_RadiusStep = c.radiusStep;
      m.m_MirrorX = c.mirrorX;
      m.m_MirrorY = c.mirrorY;
      m.m_Direction = c.sense;
      m.m_StartAngle = 30;
      m.m_Distance = 120;
    });
    const cCommandInstance instance = Prepare(command, chara);
    EXPECT_EQ(instance.m_MoveWords[0], c.wantRadiusHbl * 16 * 2);
    EXPECT_EQ(instance.m_MoveWords[1], (c.wantExtra + 30) * 2);
    EXPECT_EQ(instance.m_MoveWords[2], (c.wantExtra + 120) * 2);
    EXPECT_EQ(instance.m_DirectionCode, c.wantSense);
    // 90 degrees in one second (120 steps at level 2).
    EXPECT_NEAR(instance.m_Speed, 90.0 * 2 / 120 / 2, kEps);
  }
}

TEST_F(MoveTest, ACircleBySpeedTakesItsSpanEitherWay) {
  struct Case {
    std::int16_t start, end;
  };
  for (const Case& c : {Case{30, 120}, Case{120, 30}}) {
    SCOPED_TRACE(c.start);
    cChara& chara = MakeChara(1000, 500, 2);
    cFlowCommand command = MakeCommand(kCharaCircleMove, 10, [&](cEdMove& m) {
      m.m_Radius = 4;
      m.m_StartAngle = c.start;
      m.m_Distance = c.end;
      m.m_TimeMode = 1;
      m.m_Speed = 30;  // three degrees a step
    });
    EXPECT_EQ(Prepare(command, chara).m_Duration, 30);
  }
}

TEST_F(MoveTest, TheHomingDelayIsInFrames) {
  SetSpeedLevel(3);
  cChara& chara = MakeChara(1000, 500, 2);
  chara.m_SpawnIndex = 2;
  cFlowCommand command = MakeCommand(kCharaHomingMove, 10, [](cEdMove& m) {
    m.m_Radius = 4;
    m.m_RadiusStep = 1;
  });
  EXPECT_EQ(Prepare(command, chara).m_MoveWords[0], (4 + 2) * 3);
}

TEST_F(MoveTest, AJumpLastsAsLongAsTheJumpOfItsHeight) {
  SetSpeedLevel(2);
  cChara& chara = MakeChara(1000, 500);
  cFlowCommand command = MakeCommand(kCharaJump, 50);
  command.m_Params.At(2) = 4;
  const cCommandInstance instance = Prepare(command, chara);
  const std::int32_t tenths = chara.JumpDurationTenths(4);
  EXPECT_EQ(command.m_UseTime, tenths) << "the command's own time is replaced";
  EXPECT_EQ(instance.m_Duration, tenths * 6 * 2);
  EXPECT_EQ(instance.m_Speed, chara.JumpSpeedForHbl(4));
  cFlowCommand bare = MakeCommand(kCharaJump, 50);
  bare.m_Params.clear();
  EXPECT_EQ(Prepare(bare, chara).m_Speed, chara.JumpSpeedForHbl(0)) << "a missing height is 0";
}

}  // namespace
