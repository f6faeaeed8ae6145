// A walker on a whole stage in play, by its own flows: it paces the floor between two walls, turning
// at each, and never passes either.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/chara.h"
#include "project/command_vocabulary.h"
#include "project/ed_move.h"
#include "project/flow.h"
#include "script/event_scripts.h"
#include "tests/play/play_scene_fixture.h"

namespace {

constexpr std::uint8_t kTriggerBlockBesideSelf = 10;  // "自分の左右にブロックが当たった時"
constexpr std::int32_t kTurnAwayFromBlock = 5;
constexpr int kWallLeft = 8;
constexpr int kWallRight = 16;

cFlowCommand Command(std::uint8_t number, std::int16_t tenths) {
  cFlowCommand c;
  c.m_CommandSet = kCharaCommandSet;
  c.m_CommandNumber = number;
  c.m_Params.assign(CommandParamCount(kCharaCommandSet, number), 0);
  c.m_UseTime = tenths;
  return c;
}

cFlow Flow(std::uint8_t trigger, const cFlowCommand& command) {
  cFlow f;
  f.m_Trigger = trigger;
  f.m_Commands.assign(1, command);
  return f;
}

class PatrolTest : public playtest::PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    InstallEventScripts();
  }
  void TearDown() override {
    UninstallEventScripts();
    PlaySceneTest::TearDown();
  }
};

TEST_F(PatrolTest, AWalkerPacesBetweenTwoWalls) {
  for (int column : {kWallLeft, kWallRight}) {
    cBlock wall = g_Stage.m_PlacedBlocks.At(0);
    wall.m_PosX = static_cast<std::int16_t>(column);
    wall.m_PosY = kFloorRow - 1;
    g_Stage.m_PlacedBlocks.push_back(wall);
  }
  // The ground patrol at 0.8 dots a frame, and a turn away from every wall it walks into.
  cCharaDef walker = CharaDef();
  walker.m_FixedFacing = 1;
  walker.m_PosX = 12;
  walker.m_PosY = kFloorRow - 1;
  cFlowCommand patrol = Command(kCharaGroundTurnMove, 10);
  NewEdMove(patrol.m_Move);
  patrol.m_Move->m_Speed = 8;
  cFlowCommand turn = Command(kCharaTurn, 1);
  turn.m_Params.At(0) = kTurnAwayFromBlock;
  walker.m_Flows.push_back(Flow(kTriggerAlways, patrol));
  walker.m_Flows.push_back(Flow(kTriggerBlockBesideSelf, turn));
  g_Stage.m_PlacedCharas.push_back(walker);
  g_Stage.SetSpeedLevel(1);
  g_PlayState.SetSpeedLevel(1);
  m_Scene->SetStage(0, 1);
  m_Scene->m_State = kPlayRunning;
  ASSERT_EQ(g_CharaList.Size(), 1);
  cChara& c = *g_CharaList.begin();

  // Between the walls' inner faces, turning at each: three crossings of the 7 cells between them.
  const double leftFace = (kWallLeft + 10 + 1) * 32.0;
  const double rightFace = (kWallRight + 10) * 32.0;
  double lowest = c.m_X1, highest = c.m_X2;
  int turns = 0;
  std::int32_t facing = c.m_Direction;
  for (int frame = 0; frame < 1200; ++frame) {
    RunFrame();
    ASSERT_EQ(c.m_Dead, 0);
    lowest = std::min(lowest, c.m_X1);
    highest = std::max(highest, c.m_X2);
    if (c.m_Direction != facing) {
      ++turns;
      facing = c.m_Direction;
    }
  }
  EXPECT_GE(lowest, leftFace - 1);
  EXPECT_LE(highest, rightFace);
  EXPECT_LT(lowest, leftFace + 8) << "it reached the left wall";
  EXPECT_GT(highest, rightFace - 8) << "it reached the right wall";
  EXPECT_GE(turns, 3);
}

}  // namespace
