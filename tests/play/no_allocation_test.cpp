// The per-step motion of every object allocates nothing: the moves, gravity and the clamps run for
// every object several times a frame.
#include <gtest/gtest.h>

#include "play/collision.h"
#include "play/shot.h"
#include "tests/play/play_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

using NoAllocationTest = PlayTest;

TEST_F(NoAllocationTest, TheCounterSeesAnAllocation) {
  cAllocationWatch watch;
  int* volatile p = new int(3);
  delete p;
  EXPECT_EQ(watch.Stop(), 1);
}

TEST_F(NoAllocationTest, MovesGravityAndClampsAllocateNothing) {
  cTestChara chara;
  Place(chara, 600, 600);
  chara.m_Vx = 2.5;
  chara.m_Vy = -4;
  cAllocationWatch watch;
  for (int step = 0; step < 1000; ++step) {
    chara.ApplyGravityStep();
    chara.ApplyGravity();
    chara.MoveX(step % 3);
    chara.MoveY(step % 3);
    chara.ClampToStageX(2);
    chara.ClampToStageY(1);
    chara.DampDrive(chara.m_DriveX, 1);
    if (step % 50 == 0) chara.m_Vx = -chara.m_Vx;
  }
  EXPECT_EQ(watch.Stop(), 0);
}

TEST_F(NoAllocationTest, MapCellCollisionAllocatesNothing) {
  // A floor and a wall for the object to run into, fall onto and be pushed out of.
  for (std::int32_t tx = 15; tx < 30; ++tx) SolidCell(tx, 22);
  SolidCell(24, 21);
  cTestChara chara;
  Place(chara, 600, 600);
  chara.m_Vx = 2.5;
  bool landed = false;
  cAllocationWatch watch;
  for (int step = 0; step < 1000; ++step) {
    chara.ClearLRUD();
    chara.MoveX(2);
    ResolveWallHit(chara);
    chara.ApplyGravityStep();
    chara.MoveY(2);
    ResolveFloorHit(chara);
    RecheckWallHit(chara);
    RecheckFloorHit(chara);
    IsPlaceBlocked(chara);
    landed = landed || chara.m_LRUD[kContactDown] != 0;
    if (step % 50 == 0) chara.m_Vx = -chara.m_Vx;
  }
  EXPECT_EQ(watch.Stop(), 0);
  EXPECT_TRUE(landed) << "it came to stand on the floor";
}

// A step of live shots of every movement kind that needs no hero (straight, wave, fall, homing on a
// group without characters), flying through and into cells, tested against each other.
TEST_F(NoAllocationTest, AStepOfLiveShotsAllocatesNothing) {
  for (std::int32_t tx = 15; tx < 30; ++tx) SolidCell(tx, 25);
  cTestChara owner;
  Place(owner, 600, 500);
  const std::uint8_t kinds[] = {0, 8, 9, 5};
  for (int i = 0; i < 100; ++i) {
    cEdShot params;
    params.m_MoveKind = kinds[i % 4];
    params.m_Speed = 20;
    params.m_MoveParams[0] = 2;
    params.m_MoveParams[1] = 4;
    params.m_BlockPassing = static_cast<std::uint8_t>(i % 2);
    params.m_Byte70 = 0;
    params.m_Group = static_cast<std::uint8_t>(i % 8);
    params.m_Byte108 = static_cast<std::uint8_t>(i % 3 == 0);
    cShotSpawn spawn;
    spawn.m_X = 500 + 8 * (i % 20);
    spawn.m_Y = 400 + 8 * (i / 20);
    spawn.m_Vx = i % 2 == 0 ? 0.5 : -0.5;
    spawn.m_Vy = 0.25;
    cShot shot;
    shot.Setup(i, owner, 11, params, spawn);
    AddShot(m_Scene->m_ShotList, shot);
  }
  const std::size_t before = m_Scene->m_ShotList.size();
  cAllocationWatch watch;
  for (int step = 0; step < 50; ++step) {
    StepShots(2);
    ShotsAgainstCharas();
    ShotsAgainstShots();
  }
  EXPECT_EQ(watch.Stop(), 0);
  EXPECT_GT(m_Scene->m_ShotList.size(), 0u) << "shots were still live";
  EXPECT_LE(m_Scene->m_ShotList.size(), before);
}

}  // namespace
