// The per-step motion of every object allocates nothing: the moves, gravity and the clamps run for
// every object several times a frame.
#include <gtest/gtest.h>

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

}  // namespace
