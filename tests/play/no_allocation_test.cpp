// The per-step motion of every object allocates nothing: the moves, gravity and the clamps run for
// every object several times a frame. Global operator new is replaced in this test program by one that
// counts while a test asks it to.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/play/play_fixture.h"

namespace {

std::atomic<bool> g_Counting{false};
std::atomic<long> g_Allocations{0};

void* CountedAlloc(std::size_t size) {
  if (g_Counting.load(std::memory_order_relaxed)) g_Allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

// Counts the allocations of what runs between its construction and Count().
class cAllocationCount {
 public:
  cAllocationCount() {
    g_Allocations = 0;
    g_Counting = true;
  }
  ~cAllocationCount() { g_Counting = false; }
  long Count() {
    g_Counting = false;
    return g_Allocations.load();
  }
};

using NoAllocationTest = PlayTest;

TEST_F(NoAllocationTest, TheCounterSeesAnAllocation) {
  cAllocationCount count;
  int* volatile p = new int(3);
  delete p;
  EXPECT_EQ(count.Count(), 1);
}

TEST_F(NoAllocationTest, MovesGravityAndClampsAllocateNothing) {
  cTestChara chara;
  Place(chara, 600, 600);
  chara.m_Vx = 2.5;
  chara.m_Vy = -4;
  cAllocationCount count;
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
  EXPECT_EQ(count.Count(), 0);
}

}  // namespace
