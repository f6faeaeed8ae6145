// The move commands run for every moving character in every logic step: once their instances are
// prepared, their steps allocate nothing, the delayed homing move's queue of target points included.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/script/move_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

using scripttest::MoveTest;

TEST_F(MoveTest, MoveCommandStepsAllocateNothing) {
  for (std::int32_t column = 20; column <= 50; ++column) SolidCell(column, 20, -1);
  cChara& target = MakeChara(1400, 400, 2);
  struct Mover {
    cChara* chara;
    cFlowCommand command;
    cCommandInstance instance;
  };
  std::vector<Mover> movers;
  movers.reserve(40);
  for (std::uint8_t flight : {0, 2}) {
    for (std::int32_t number = kCharaWait; number <= kCharaJump; ++number) {
      cChara& chara = MakeChara(1000, flight != 0 ? 300 : 20 * 32 - 24, flight, 1, 1);
      chara.SetTarget(&target);
      movers.push_back({&chara,
                        MakeCommand(number, 100,
                                    [](cEdMove& m) {
                                      m.m_Radius = 3;  // circle radius, homing delay
                                      m.m_Distance = 270;
                                      m.m_Inertia = 1;
                                      m.m_InertiaLimit = 40;
                                    }),
                        {}});
    }
  }
  for (Mover& m : movers) {
    m.command.m_Params.assign(m.command.m_Params.size(), 1);
    m.instance = Prepare(m.command, *m.chara);
  }
  cAllocationWatch watch;
  for (std::int32_t step = 0; step < 200; ++step) {
    for (Mover& m : movers) {
      if (m.instance.m_StepsLeft <= 0) m.instance.m_StepsLeft = 100;
      Step(*m.chara, m.instance);
    }
    target.m_X1 = 1400 + (step % 40) * 4;
    target.UpdateScreenRect();
  }
  EXPECT_EQ(watch.Stop(), 0);
}

}  // namespace
