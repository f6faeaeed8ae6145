// The per-step motion of every object allocates nothing: the moves, gravity and the clamps run for
// every object several times a frame.
#include <gtest/gtest.h>

#include "play/collision.h"
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

}  // namespace
