// The shot and sword commands as the flow run-time steps them: a shot command fires at its first
// step and every tenth of a second after; a sword command swings once, and a sword type it cannot
// show swings nothing and is reported once.
#include <gtest/gtest.h>

#include <vector>

#include "play/shot.h"
#include "project/database.h"
#include "project/ed_shot.h"
#include "tests/script/report_log_fixture.h"

namespace {

class ShotCommandTest : public scripttest::ReportLogTest {
 protected:
  void SetUp() override {
    ReportLogTest::SetUp();
    m_SavedSwords = g_Database.m_SwordTypes;
  }
  void TearDown() override {
    m_Scene->m_ShotList.clear();
    g_Database.m_SwordTypes = m_SavedSwords;
    ReportLogTest::TearDown();
  }

  // A command with a shot record: one shot ahead at 2 dots per frame.
  static cFlowCommand ShotCommand(std::int32_t number, std::int16_t tenths) {
    cFlowCommand command = MakeCommand(number, tenths);
    NewEdShot(command.m_Shot);
    command.m_Shot->m_Byte36 = 1;
    command.m_Shot->m_Speed = 20;
    return command;
  }

  // The steps of a run of instance at which the shot list grew, until the command ended.
  std::vector<std::int32_t> FiringSteps(cChara& chara, cCommandInstance& instance) {
    std::vector<std::int32_t> steps;
    for (std::int32_t step = 0; step < 1000; ++step) {
      const std::size_t before = m_Scene->m_ShotList.size();
      const bool ended = Step(chara, instance);
      if (m_Scene->m_ShotList.size() != before) steps.push_back(step);
      if (ended) break;
    }
    return steps;
  }

  CheckedVector<cSwordTypeDef> m_SavedSwords;
};

TEST_F(ShotCommandTest, AShotCommandFiresEveryTenthOfASecondWhileItRuns) {
  cChara& chara = MakeChara(1000, 500, 2);
  cFlowCommand command = ShotCommand(kCharaShot, 10);  // 1.0 s at speed level 1: 60 steps
  cCommandInstance instance = Prepare(command, chara);
  const std::vector<std::int32_t> steps = FiringSteps(chara, instance);
  EXPECT_EQ(steps, (std::vector<std::int32_t>{0, 6, 12, 18, 24, 30, 36, 42, 48, 54}));
  EXPECT_EQ(m_Scene->m_NextExtraId, 10);

  // Time 0 still fires once.
  cFlowCommand once = ShotCommand(kCharaShot, 0);
  cCommandInstance first = Prepare(once, chara);
  EXPECT_EQ(FiringSteps(chara, first), (std::vector<std::int32_t>{0}));
}

TEST_F(ShotCommandTest, ASwordCommandSwingsOnceAtItsFirstStep) {
  cSwordTypeDef sword;
  sword.m_Parts.At(0).m_Values[7] = 32;
  sword.m_Parts.At(0).m_Values[8] = 16;
  g_Database.m_SwordTypes.assign(2, sword);
  cChara& chara = MakeChara(1000, 500, 2);
  cFlowCommand command = ShotCommand(kCharaSword, 20);  // 2.0 s
  command.m_Shot->m_MoveKind = 1;
  cCommandInstance instance = Prepare(command, chara);
  Step(chara, instance);
  ASSERT_EQ(m_Scene->m_ShotList.size(), 1u);
  EXPECT_EQ(m_Scene->m_ShotList.front().m_RealShot, 0) << "a swing, not a shot";
  EXPECT_EQ(m_Scene->m_ShotList.front().m_OwnerId, chara.m_Id);
  // The rest of the two seconds makes no other swing (the id counter counts every one made).
  RunToEnd(chara, instance);
  EXPECT_EQ(m_Scene->m_NextExtraId, 1);
  EXPECT_EQ(ReportLines(), "");
}

TEST_F(ShotCommandTest, ASwordTypeWithoutPartsSwingsNothingAndIsReportedOnce) {
  cSwordTypeDef bare;
  bare.m_Parts.clear();
  g_Database.m_SwordTypes.assign(1, bare);
  cChara& chara = MakeChara(1000, 500, 2);
  for (std::uint8_t type : {std::uint8_t{0}, std::uint8_t{7}}) {  // no parts; outside the table
    cFlowCommand command = ShotCommand(kCharaSword, 3);
    command.m_Shot->m_MoveKind = type;
    cCommandInstance instance = Prepare(command, chara);
    RunToEnd(chara, instance);
    EXPECT_TRUE(m_Scene->m_ShotList.empty()) << int{type};
  }
  g_Database.m_SwordTypes.clear();
  cFlowCommand command = ShotCommand(kCharaSword, 3);
  cCommandInstance instance = Prepare(command, chara);
  RunToEnd(chara, instance);
  EXPECT_TRUE(m_Scene->m_ShotList.empty()) << "an empty sword table";
  EXPECT_EQ(m_Scene->m_NextExtraId, 0);
  EXPECT_EQ(ReportLines(), "sword type 0 has no parts: no swing\n");
}

}  // namespace
