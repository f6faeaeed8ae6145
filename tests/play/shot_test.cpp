// A shot's set-up from the firing command, its life and range, and its places in the play scene:
// the shot list, the group lists and the shots-aimed-here vector of its target.
#include <algorithm>
#include <cmath>

#include "play/shot.h"
#include "play/stage_boxes.h"
#include "tests/play/shot_fixture.h"

namespace {

using playtest::ShotTest;

constexpr double kX = 20 * 32.0;
constexpr double kY = 15 * 32.0;

TEST_F(ShotTest, FacingFollowsTheSpawnVelocityOrTheOwner) {
  struct Case {
    double vx;
    std::int32_t ownerFacing, expected;
  };
  const Case cases[] = {{2.0, 0, 1}, {-2.0, 1, 0}, {0.0, 1, 1}, {0.0, 0, 0}};
  for (const Case& c : cases) {
    Hero().m_Direction = c.ownerFacing;
    const cShot& shot = Fire(Hero(), Params(), Spawn(kX, kY, c.vx, 3.0));
    EXPECT_EQ(shot.m_Direction, c.expected) << "vx " << c.vx << " owner facing " << c.ownerFacing;
  }
}

TEST_F(ShotTest, SizesAndBoxesComeFromTheStageByTheOwnersKind) {
  g_Stage.SetField(static_cast<StageField>(kHeroShotSize.width), 10);
  g_Stage.SetField(static_cast<StageField>(kHeroShotSize.height), 12);
  g_Stage.SetField(static_cast<StageField>(kHeroShotHitRange.width), 6);
  g_Stage.SetField(static_cast<StageField>(kHeroShotHitRange.height), 4);
  g_Stage.SetField(static_cast<StageField>(kCharaShotSize.width), 20);
  g_Stage.SetField(static_cast<StageField>(kCharaShotSize.height), 8);
  g_Stage.SetField(static_cast<StageField>(kCharaShotHitRange.width), 14);
  g_Stage.SetField(static_cast<StageField>(kCharaShotHitRange.height), 2);
  struct Case {
    bool hero;
    std::int32_t w, h, drawOffsetX, drawOffsetY, boxW, boxH, boxOffsetX, boxOffsetY;
  };
  const Case cases[] = {{true, 10, 12, 3, 2, 6, 4, 5, 6}, {false, 20, 8, -2, 4, 14, 2, 1, 7}};
  for (const Case& c : cases) {
    cCharaBase& owner = c.hero ? static_cast<cCharaBase&>(Hero()) : Enemy(1);
    const cShot& shot = Fire(owner, Params(), Spawn(kX, kY, 1.0, 0.0));
    SCOPED_TRACE(c.hero ? "hero" : "character");
    EXPECT_EQ(shot.m_RealShot, 1);
    EXPECT_EQ(shot.m_Width, c.w);
    EXPECT_EQ(shot.m_Height, c.h);
    EXPECT_EQ(shot.m_DrawOffsetX, c.drawOffsetX);
    EXPECT_EQ(shot.m_DrawOffsetY, c.drawOffsetY);
    EXPECT_EQ(shot.m_DrawWidth, 16);
    EXPECT_EQ(shot.m_ShotBox.m_Width, c.boxW);
    EXPECT_EQ(shot.m_ShotBox.m_Height, c.boxH);
    EXPECT_EQ(shot.m_ShotBox.m_X1, kX + c.boxOffsetX);
    EXPECT_EQ(shot.m_ShotBox.m_Y1, kY + c.boxOffsetY);
    EXPECT_EQ(shot.m_Flying, 1);
  }
}

TEST_F(ShotTest, ScaleZeroBecomesOneInTheCommandsOwnParameters) {
  cEdShot params = Params();
  params.m_Size = 0;
  cShot shot;
  shot.Setup(1, Hero(), 11, params, Spawn(kX, kY, 1.0, 0.0));
  EXPECT_EQ(params.m_Size, 1);
  EXPECT_EQ(shot.Scale(), 1);
  EXPECT_EQ(shot.m_Width, 16);
}

// Range steps and the own velocity of shots 16 dots wide; the speed is dots per frame.
TEST_F(ShotTest, RangeInStepsAndTheRangeCoveredInOneFrame) {
  struct Case {
    const char* what;
    std::int32_t level, range;
    double speed, vx, vy;
    std::int32_t steps;
    double ownVx, ownVy;
  };
  const Case cases[] = {
      {"two hbl at 4 a step", 1, 2, 4.0, 4.0, 0.0, 4, 4.0, 0.0},
      {"no range: one frame", 1, 0, 4.0, 4.0, 0.0, 1, 4.0, 0.0},
      {"no range, wider than a frame's move: still", 10, 0, 40.0, 40.0, 0.0, 10, 0.0, 0.0},
      {"short range spread over a frame", 10, 3, 40.0, 30.0, 40.0, 10, 30.0 * 3.2 / 70.0, 40.0 * 3.2 / 70.0},
      {"speed without velocity keeps its steps", 10, 3, 40.0, 0.0, 0.0, 8, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SetSpeedLevel(c.level);
    cEdShot params = Params();
    params.m_LimitedRange = 1;
    cShotSpawn spawn = Spawn(kX, kY, c.vx, c.vy);
    spawn.m_Speed = c.speed;
    spawn.m_Range = c.range;
    const cShot& shot = Fire(Hero(), params, spawn);
    EXPECT_EQ(shot.m_RangeStepsLeft, c.steps) << c.what;
    EXPECT_DOUBLE_EQ(shot.m_OwnVx, c.ownVx) << c.what;
    EXPECT_DOUBLE_EQ(shot.m_OwnVy, c.ownVy) << c.what;
  }
}

TEST_F(ShotTest, LifeAndRangeEndOnTheirStatedCall) {
  struct Case {
    const char* what;
    std::uint8_t lifeOn, rangeOn, stop;
    std::int32_t life, range;
    int removedOn;  // 0: never within 40 calls
  };
  const Case cases[] = {
      {"life of a tenth: 6 steps", 1, 0, 0, 1, 0, 7},
      {"range of two hbl at 4 a step", 0, 1, 0, 0, 2, 5},
      {"range that stops the shot", 0, 1, 1, 0, 2, 0},
      {"neither", 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    cEdShot params = Params(40);
    params.m_LimitedLife = c.lifeOn;
    params.m_LimitedRange = c.rangeOn;
    params.m_Byte100 = c.stop;
    cShotSpawn spawn = Spawn(kX, kY, 4.0, 0.0);
    spawn.m_Life = c.life;
    spawn.m_Range = c.range;
    cShot& shot = Fire(Hero(), params, spawn);
    EXPECT_EQ(RemovedOnCall(shot, 40), c.removedOn) << c.what;
    if (c.stop != 0) {
      EXPECT_EQ(shot.m_OwnVx, 0.0);
      EXPECT_EQ(shot.m_Vx, 0.0) << "no auto-scroll carries it";
      EXPECT_EQ(shot.m_Params.m_MoveKind, 0) << "its movement kind ends with it";
    }
  }
}

TEST_F(ShotTest, AFiredShotJoinsItsGroupAndTheAimingKindsTheirTargetsVector) {
  cChara& enemy = Enemy(1);
  cChara& target = Enemy(2);
  enemy.SetTarget(&target);
  struct Case {
    std::uint8_t kind, fromOwner, group;
    std::int32_t listedIn;
    bool aims;
  };
  const Case cases[] = {{3, 1, 5, 1, true}, {6, 0, 5, 5, true}, {1, 1, 0, 1, false}, {0, 0, 7, 7, false}};
  for (const Case& c : cases) {
    cEdShot params = Params(20, c.kind);
    params.m_Byte70 = c.fromOwner;
    params.m_Group = c.group;
    cShot& shot = Fire(enemy, params, Spawn(kX, kY, 1.0, 0.0));
    SCOPED_TRACE(int{c.kind});
    EXPECT_EQ(shot.m_Group, c.listedIn);
    EXPECT_TRUE(m_Scene->m_GroupShots.At(c.listedIn).Contains(&shot));
    EXPECT_EQ(shot.m_Target, c.aims ? &target : nullptr);
    const auto& aimed = target.m_ShotsAimedHere;
    EXPECT_EQ(std::count(aimed.begin(), aimed.end(), &shot), c.aims ? 1 : 0);
    RemoveShot(shot);
    EXPECT_TRUE(aimed.empty()) << "a removed shot leaves the vector";
    EXPECT_FALSE(m_Scene->m_GroupShots.At(c.listedIn).Contains(&shot));
  }
  EXPECT_TRUE(m_Scene->m_ShotList.empty());
}

TEST_F(ShotTest, ATargetThatGoesLeavesItsShotsFlyingOn) {
  cChara& enemy = Enemy(1);
  cChara& target = Enemy(2);
  enemy.SetTarget(&target);
  cShot& shot = Fire(enemy, Params(20, 6), Spawn(kX, kY, 2.0, 0.0));
  ASSERT_EQ(shot.m_Target, &target);
  g_CharaList.Remove(&target);
  EXPECT_EQ(shot.m_Target, nullptr);
  for (int step = 0; step < 5; ++step) EXPECT_EQ(UpdateShot(shot), 0);
  EXPECT_EQ(shot.m_OwnVx, 2.0);
}

}  // namespace
