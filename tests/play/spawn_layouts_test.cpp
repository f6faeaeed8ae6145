// The start layouts of the spawn patterns: where the first object of a volley starts, how far the
// next one is, and how they move, around a 32 x 32 shooter whose picture is at screen (100, 200).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "play/shot.h"
#include "play/spawn_layouts.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::cTestChara;
using playtest::PlayTest;

constexpr double kR2 = 0.7071067811865476;

class SpawnLayoutTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    m_Scene->m_ScrollX.m_Pos = 0.0;
    m_Scene->m_ScrollY.m_Pos = 0.0;
    g_System.m_LegacyEdgeEntry = 0;
    Picture(m_Shooter, 100, 200, 32, 32);
  }
  void TearDown() override {
    m_Shooter.SetTarget(nullptr);
    PlayTest::TearDown();
  }

  // A picture of w x h at screen (left, top).
  static void Picture(cCharaBase& obj, std::int32_t left, std::int32_t top, std::int32_t w, std::int32_t h) {
    obj.m_ScreenLeft = left;
    obj.m_ScreenTop = top;
    obj.m_DrawWidth = w;
    obj.m_DrawHeight = h;
    obj.m_ScreenRight = left + w - 1;
    obj.m_ScreenBottom = top + h - 1;
  }

  // A spawn of 16-dot objects at speed 2 in direction code.
  static cShotSpawn Spawn(std::int32_t code) {
    cShotSpawn spawn{};
    spawn.m_Width = spawn.m_Height = 16;
    spawn.m_Speed = 2.0;
    spawn.m_Direction = code;
    return spawn;
  }

  cEdShot Shot(std::int32_t count, std::int16_t p1 = 0, std::int16_t p2 = 1, std::int16_t p3 = 0) {
    cEdShot shot;
    shot.m_Byte36 = static_cast<std::uint8_t>(count);
    shot.m_PatternParams[0] = p1;
    shot.m_PatternParams[1] = p2;
    shot.m_PatternParams[2] = p3;
    return shot;
  }

  cTestChara m_Shooter;
};

struct LayoutCase {
  std::int32_t code, count, gapHbl, facing;
  std::int32_t startX, startY, stepX, stepY;
  double vx, vy;
};

void ExpectLayout(const cShotSpawn& s, const LayoutCase& c) {
  EXPECT_EQ(s.m_StartX, c.startX) << c.code;
  EXPECT_EQ(s.m_StartY, c.startY) << c.code;
  EXPECT_EQ(s.m_StepX, c.stepX) << c.code;
  EXPECT_EQ(s.m_StepY, c.stepY) << c.code;
  EXPECT_NEAR(s.m_Vx, c.vx, 1e-12) << c.code;
  EXPECT_NEAR(s.m_Vy, c.vy, 1e-12) << c.code;
}

TEST_F(SpawnLayoutTest, RowAStandsAcrossTheDirectionJustOutsideThePicture) {
  const double d = kR2 * 2.0;
  const LayoutCase cases[] = {
      // One shot to the right, level with the drawn centre (y 216).
      {kShotRight, 1, 0, 1, 132, 208, 0, 16, 2.0, 0.0},
      // Three shots one hbl apart: 32 dots from top to top, the middle one level with the centre.
      {kShotRight, 3, 1, 1, 132, 176, 0, 32, 2.0, 0.0},
      {kShotLeft, 3, 1, 0, 85, 176, 0, 32, -2.0, 0.0},
      {kShotUp, 1, 0, 0, 108, 184, 16, 0, 0.0, -2.0},
      {kShotDown, 2, 0, 0, 100, 232, 16, 0, 0.0, 2.0},
      // The diagonal corner points, the row turned by 45 degrees.
      {kShotUpRight, 1, 0, 1, 124, 191, 11, 11, d, -d},
      {kShotUpLeft, 1, 0, 0, 91, 191, 11, -11, -d, -d},
      {kShotDownRight, 3, 1, 1, 101, 246, 22, -22, d, d},
      {kShotDownLeft, 1, 0, 0, 91, 224, 11, 11, -d, d},
  };
  for (const LayoutCase& c : cases) {
    m_Shooter.m_Direction = c.facing;
    cEdShot shot = Shot(c.count, static_cast<std::int16_t>(c.gapHbl));
    cShotSpawn spawn = Spawn(c.code);
    SpawnStartLayoutA(spawn, shot, m_Shooter);
    ExpectLayout(spawn, c);
  }
}

TEST_F(SpawnLayoutTest, OffsetsAndTheCameraMoveTheStartPoint) {
  m_Scene->m_ScrollX.m_Pos = 1000.7;
  m_Scene->m_ScrollY.m_Pos = 300.2;
  cEdShot shot = Shot(1);
  cShotSpawn spawn = Spawn(kShotRight);
  spawn.m_OffsetX = 5;
  spawn.m_OffsetY = -3;
  SpawnStartLayoutA(spawn, shot, m_Shooter);
  EXPECT_EQ(spawn.m_StartX, 1132 + 5);
  EXPECT_EQ(spawn.m_StartY, 508 - 3);
  // A code that is not a direction places nothing but still takes the offsets.
  cShotSpawn other = Spawn(13);
  other.m_StartX = 40;
  other.m_OffsetX = 5;
  SpawnStartLayoutA(other, shot, m_Shooter);
  EXPECT_EQ(other.m_StartX, 45);
  EXPECT_EQ(other.m_Vx, 0.0);
}

TEST_F(SpawnLayoutTest, ColumnBRisesFromTheFeetOnTheSideOfTheDirectionOrFacing) {
  const double d = kR2 * 2.0;
  const LayoutCase cases[] = {
      {kShotRight, 3, 1, 1, 132, 216, 0, -32, 2.0, 0.0},
      {kShotLeft, 1, 0, 1, 85, 216, 0, -16, -2.0, 0.0},
      {kShotUp, 1, 0, 1, 132, 216, 0, -16, 0.0, -2.0},
      {kShotUp, 1, 0, 0, 85, 216, 0, -16, 0.0, -2.0},
      {kShotDown, 1, 0, 0, 85, 216, 0, -16, 0.0, 2.0},
      {kShotDownRight, 1, 0, 0, 132, 216, 0, -16, d, d},
  };
  for (const LayoutCase& c : cases) {
    m_Shooter.m_Direction = c.facing;
    cEdShot shot = Shot(c.count, static_cast<std::int16_t>(c.gapHbl));
    cShotSpawn spawn = Spawn(c.code);
    SpawnStartLayoutB(spawn, shot, m_Shooter);
    ExpectLayout(spawn, c);
  }
}

TEST_F(SpawnLayoutTest, SinglePointsCentreAndTheRotatedRing) {
  // The spread's single point is row A's for one object, whatever the count; it sets no velocity.
  cEdShot shot = Shot(5, 2);
  cShotSpawn single = Spawn(kShotRight);
  SpawnStartSingle(single, shot, m_Shooter);
  EXPECT_EQ(single.m_StartX, 132);
  EXPECT_EQ(single.m_StartY, 208);
  EXPECT_EQ(single.m_Vx, 0.0);
  EXPECT_EQ(single.m_StepY, 0);

  cShotSpawn centre = Spawn(kShotLeft);
  centre.m_OffsetX = 4;
  SpawnStartCentre(centre, shot, m_Shooter);
  EXPECT_EQ(centre.m_StartX, 112);
  EXPECT_EQ(centre.m_StartY, 208);

  // The rotated ring meets row A's single points at the four main angles.
  struct Ring {
    std::int32_t angle, x, y;
  };
  for (const Ring& r : {Ring{0, 84, 208}, Ring{90, 108, 184}, Ring{180, 132, 208}, Ring{270, 108, 232}, Ring{45, 91, 191}}) {
    cShotSpawn spawn = Spawn(kShotLeft);
    SpawnStartRotated(spawn, m_Shooter, r.angle);
    EXPECT_EQ(spawn.m_StartX, r.x) << r.angle;
    EXPECT_EQ(spawn.m_StartY, r.y) << r.angle;
  }
}

TEST_F(SpawnLayoutTest, AngledRowsTurnTheVelocityAndTheRotatedRow) {
  cEdShot shot = Shot(3, 1);
  // Without rotation: row A's points, the velocity turned by the offset (right + 90 = down).
  cShotSpawn plain = Spawn(kShotRight);
  plain.m_AngleOffset = 90;
  SpawnStartAngledA(plain, shot, m_Shooter);
  EXPECT_EQ(plain.m_StartX, 132);
  EXPECT_EQ(plain.m_StartY, 176);
  EXPECT_NEAR(plain.m_Vx, 0.0, 1e-12);
  EXPECT_NEAR(plain.m_Vy, 2.0, 1e-12);
  // Rotated: the centre of the row goes to the ring point of the angle (down: (108, 232)) and the
  // row lies across the travel.
  shot.m_Byte54 = 1;
  cShotSpawn turned = Spawn(kShotRight);
  turned.m_AngleOffset = 90;
  SpawnStartAngledA(turned, shot, m_Shooter);
  EXPECT_EQ(turned.m_StepY, 0);
  EXPECT_EQ(std::abs(turned.m_StepX), 32);
  EXPECT_EQ(turned.m_StartX + turned.m_StepX, 108) << "the middle shot on the ring point";
  EXPECT_EQ(turned.m_StartY, 232);
  EXPECT_NEAR(turned.m_Vy, 2.0, 1e-12);
}

TEST_F(SpawnLayoutTest, ThunderEntersFromTheScreenEdgeOnTheTargetsLine) {
  cTestChara target;
  Picture(target, 300, 100, 32, 32);  // drawn centre (316, 116)
  m_Shooter.SetTarget(&target);
  struct ThunderCase {
    std::int32_t code, count, gap, lines, lineGap;
    std::int32_t startX, startY, stepX, stepY, rowX, rowY;
  };
  const ThunderCase cases[] = {
      // Down: a column above the target's centre, from the top edge, 32 dots apart.
      {kShotDown, 3, 1, 1, 0, 308, 0, 0, 32, 0, 0},
      {kShotUp, 1, 0, 1, 0, 308, 464, 0, -16, 0, 0},
      // Left with two lines two hbl apart: 16 above and 16 below the target's line.
      {kShotLeft, 1, 0, 2, 2, 624, 108 - 16, -16, 0, 0, 32},
      {kShotRight, 1, 0, 3, 1, 0, 108 - 16, 16, 0, 0, 16},
  };
  for (const ThunderCase& c : cases) {
    cEdShot shot = Shot(c.count, static_cast<std::int16_t>(c.gap), static_cast<std::int16_t>(c.lines),
                        static_cast<std::int16_t>(c.lineGap));
    cShotSpawn spawn = Spawn(c.code);
    SpawnStartThunder(spawn, shot, m_Shooter);
    EXPECT_EQ(spawn.m_StartX, c.startX) << c.code;
    EXPECT_EQ(spawn.m_StartY, c.startY) << c.code;
    EXPECT_EQ(spawn.m_StepX, c.stepX) << c.code;
    EXPECT_EQ(spawn.m_StepY, c.stepY) << c.code;
    EXPECT_EQ(spawn.m_RowStepX, c.rowX) << c.code;
    EXPECT_EQ(spawn.m_RowStepY, c.rowY) << c.code;
  }

  // Up-left toward a centre 100 dots from the right edge and 50 from the bottom: the bottom edge is
  // nearer along the diagonal, so the first shot enters there.
  Picture(target, 524, 414, 32, 32);  // centre (540, 430)
  cEdShot shot = Shot(1);
  cShotSpawn diagonal = Spawn(kShotUpLeft);
  SpawnStartThunder(diagonal, shot, m_Shooter);
  EXPECT_EQ(diagonal.m_StartY, 464);
  EXPECT_EQ(diagonal.m_StartX, 540 + 50 - 16);

  // Older projects keep the shots of a line touching.
  g_System.m_LegacyEdgeEntry = 1;
  cEdShot gapped = Shot(3, 1);
  cShotSpawn touching = Spawn(kShotDown);
  SpawnStartThunder(touching, gapped, m_Shooter);
  EXPECT_EQ(touching.m_StepY, 16);
  target.SetTarget(nullptr);
}

}  // namespace
