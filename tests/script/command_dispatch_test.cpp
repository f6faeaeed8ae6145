// The dispatch of character commands: commands the tables do not have do nothing and are reported
// once, the waiting commands and the seams of later commands leave the character alone, and a
// command of the item table runs as the character command of the same label.
#include <gtest/gtest.h>

#include "tests/script/report_log_fixture.h"

namespace {

using DispatchTest = scripttest::ReportLogTest;

// Whatever a command may change on a character, compared before and after.
struct Motion {
  double x1, y1, vx, vy, driveX, driveY;
  std::int32_t direction, held;
  bool operator==(const Motion&) const = default;
};

Motion MotionOf(const cChara& c) {
  return {c.m_X1, c.m_Y1, c.m_Vx, c.m_Vy, c.m_DriveX, c.m_DriveY, c.m_Direction, c.m_Held};
}

TEST_F(DispatchTest, UnknownCommandsDoNothingAndAreReportedOnce) {
  struct Case {
    std::uint8_t set;
    std::uint8_t number;
  };
  // Beyond the character table; far beyond it; "フローの変更", which has no character command.
  const Case cases[] = {{kCharaCommandSet, 37}, {kCharaCommandSet, 255}, {kFlowCommandSet, 1}, {9, 2}};
  cChara& chara = MakeChara(1000, 500, 2);
  chara.m_Vx = 1.5;
  for (const Case& c : cases) {
    cFlowCommand command;
    command.m_CommandSet = c.set;
    command.m_CommandNumber = c.number;
    NewEdMove(command.m_Move);
    cCommandInstance instance;
    instance.m_Command = &command;
    instance.m_Duration = 7;
    const Motion before = MotionOf(chara);
    for (int i = 0; i < 3; ++i) {
      RunMoveSetup(instance, chara, 0);
      ExecCharaCommand(chara, instance);
    }
    EXPECT_EQ(MotionOf(chara), before) << int{c.set} << ":" << int{c.number};
    EXPECT_EQ(instance.m_Duration, 7);
  }
  EXPECT_EQ(ReportLines(),
            "Unknown command 37 (set 0): ignored\n"
            "Unknown command 255 (set 0): ignored\n"
            "Unknown command 1 (set 1): ignored\n"
            "Unknown command 2 (set 9): ignored\n");
  // An instance whose command went (a runner without its flow) does nothing either.
  cCommandInstance empty;
  const Motion before = MotionOf(chara);
  ExecCharaCommand(chara, empty);
  RunMoveSetup(empty, chara, 0);
  EXPECT_EQ(MotionOf(chara), before);
}

TEST_F(DispatchTest, WaitsAndLaterCommandsLeaveTheCharacterAlone) {
  cChara& chara = MakeChara(1000, 500, 2);
  chara.m_Vx = 1.5;
  chara.m_DriveY = -0.5;
  for (std::int32_t number : {0, 1, 11, 16, 19, 22, 28, 34, 36}) {
    cFlowCommand command = MakeCommand(number, 3);
    cCommandInstance instance = Prepare(command, chara);
    EXPECT_EQ(instance.m_Duration, 18) << "no set-up changes the time of " << number;
    const Motion before = MotionOf(chara);
    ExecCharaCommand(chara, instance);
    EXPECT_EQ(MotionOf(chara), before) << number;
  }
  EXPECT_EQ(ReportLines(), "");
}

TEST_F(DispatchTest, AnItemTableCommandRunsAsTheCharacterCommandOfItsLabel) {
  // Item command 19 is "効果音の再生", character command 34: a seam that changes nothing, and no
  // report of an unknown command.
  cChara& chara = MakeChara(1000, 500, 2);
  cFlowCommand command;
  command.m_CommandSet = kFlowCommandSet;
  command.m_CommandNumber = kFlowSound;
  cCommandInstance instance;
  instance.m_Command = &command;
  const Motion before = MotionOf(chara);
  ExecCharaCommand(chara, instance);
  EXPECT_EQ(MotionOf(chara), before);
  EXPECT_EQ(ReportLines(), "");
}

}  // namespace
