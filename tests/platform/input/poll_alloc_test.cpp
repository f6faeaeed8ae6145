// The frame loop polls every frame: neither poll, nor the histories and filters that follow it,
// may allocate. This program's operator new counts the allocations of the thread that watches.
#include <cstdlib>
#include <new>

#include "tests/platform/input/input_fixture.h"

namespace {

thread_local bool t_Watching = false;
thread_local int t_Allocations = 0;

void* CountedAlloc(std::size_t size) {
  if (t_Watching) ++t_Allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
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

TEST_F(InputTest, AFrameOfInputAllocatesNothing) {
  m_Source.SetJoystick(1, Stick(0, 65535, 0x03));
  Hold({VK_LEFT, 'Z'});
  g_KeyConfig.m_JoyCount = 16;

  t_Allocations = 0;
  t_Watching = true;
  for (int frame = 0; frame < 200; ++frame) {
    g_KeyConfig.m_UseConfig = frame % 2;
    m_Input.Poll(0, kPollJoystick | kPollKeyboard, 2);
    m_Input.PollConfigured(1, 2);
    m_Input.TriggerButtons(0);
    m_Input.AutoRepeat();
    m_Input.PushHistory();
    m_Input.PushKeyHistories();
    (void)m_Input.GetPast(1, frame);
  }
  t_Watching = false;
  EXPECT_EQ(t_Allocations, 0);

  // The counter does count: a copy of the input allocates its key-run lists.
  t_Watching = true;
  cInput copy = m_Input;
  t_Watching = false;
  EXPECT_GT(t_Allocations, 0);
  EXPECT_EQ(copy.m_DirKeyRuns.Size(), 10);
}

}  // namespace
