// The frame loop polls every frame: neither poll, nor the histories and filters that follow it,
// may allocate.
#include "tests/platform/input/input_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

TEST_F(InputTest, AFrameOfInputAllocatesNothing) {
  m_Source.SetJoystick(1, Stick(0, 65535, 0x03));
  Hold({VK_LEFT, 'Z'});
  g_KeyConfig.m_JoyCount = 16;

  cAllocationWatch watch;
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
  EXPECT_EQ(watch.Stop(), 0);

  // The counter does count: a copy of the input allocates its key-run lists.
  cAllocationWatch copying;
  cInput copy = m_Input;
  EXPECT_GT(copying.Stop(), 0);
  EXPECT_EQ(copy.m_DirKeyRuns.Size(), 10);
}

}  // namespace
