// The stage clear a script asks for: the next stage and the place on the world map it leaves, and a
// character's clear ending the stage in play.
#include <gtest/gtest.h>

#include "play/chara.h"
#include "project/command_vocabulary.h"
#include "project/flow.h"
#include "project/world_map.h"
#include "script/event_scripts.h"
#include "script/stage_commands.h"
#include "tests/play/play_scene_fixture.h"

namespace {

cFlowCommand StageClear(std::int32_t kind, std::int32_t stage, std::int32_t moveOnMap, std::int32_t column,
                        std::int32_t row, std::int16_t tenths = 0) {
  cFlowCommand c;
  c.m_CommandSet = kCharaCommandSet;
  c.m_CommandNumber = kCharaStageClear;
  c.m_UseTime = tenths;
  c.m_Params.assign(CommandParamCount(kCharaCommandSet, kCharaStageClear), 0);
  const std::int32_t values[] = {kind, stage, moveOnMap, column, row};
  for (std::int32_t i = 0; i < 5; ++i) c.m_Params.At(i) = values[i];
  return c;
}

class StageClearTest : public playtest::PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    InstallEventScripts();
    m_SavedMap = g_WorldMap;
  }
  void TearDown() override {
    g_WorldMap = m_SavedMap;
    UninstallEventScripts();
    PlaySceneTest::TearDown();
  }
  cWorldMap m_SavedMap;
};

TEST_F(StageClearTest, TheNextStageAndThePlaceOnTheWorldMap) {
  struct Case {
    const char* name;
    std::int32_t kind, stage, moveOnMap, column, row;
    std::int32_t mapWidth, mapHeight;
    std::int32_t next, mapX, mapY, mapDir;
  };
  // Stage 4 is being played; the map was at (1, 2) facing 3.
  const Case cases[] = {
      {"the next stage", 0, 9, 0, 5, 5, 40, 30, 5, 1, 2, 3},
      {"stage by number", 1, 3, 0, 5, 5, 40, 30, 3, 1, 2, 3},
      {"the world cleared", 2, 3, 0, 5, 5, 40, 30, 0, 1, 2, 3},
      {"a move on the map", 0, 0, 1, 7, 8, 40, 30, 5, 7, 8, 0},
      {"beyond the map's right and bottom", 1, 3, 1, 50, 30, 40, 30, 3, 39, 29, 0},
      {"before the map's left and top", 1, 3, 1, -5, -1, 40, 30, 3, 0, 0, 0},
      {"a map without cells", 1, 3, 1, 5, 5, 0, 0, 3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_SaveData.m_StageIndex = 4;
    g_SaveData.m_MapX = 1;
    g_SaveData.m_MapY = 2;
    g_SaveData.m_MapDir = 3;
    g_WorldMap.m_Width = c.mapWidth;
    g_WorldMap.m_Height = c.mapHeight;
    cChara chara;
    EXPECT_EQ(DoStageClear(chara, StageClear(c.kind, c.stage, c.moveOnMap, c.column, c.row)), 1);
    EXPECT_EQ(m_Scene->m_NextStage, c.next);
    EXPECT_EQ(g_SaveData.m_MapX, c.mapX);
    EXPECT_EQ(g_SaveData.m_MapY, c.mapY);
    EXPECT_EQ(g_SaveData.m_MapDir, c.mapDir);
  }
}

TEST_F(StageClearTest, ACharactersClearEndsTheStageInPlay) {
  // A character near the hero clears the stage after half a second, to stage 3.
  cCharaDef clearer = CharaDef();
  clearer.m_PosX = 12;
  clearer.m_PosY = kFloorRow - 1;
  cFlow flow;
  flow.m_Trigger = kTriggerAlways;
  flow.m_Commands.assign(1, StageClear(1, 3, 0, 0, 0));
  flow.m_Commands.At(0).m_UseTime = 0;
  cFlowCommand wait;
  wait.m_CommandSet = kCharaCommandSet;
  wait.m_CommandNumber = kCharaWait;
  wait.m_UseTime = 5;
  flow.m_Commands.insert(flow.m_Commands.begin(), wait);
  clearer.m_Flows.push_back(flow);
  g_Stage.m_PlacedCharas.push_back(clearer);
  g_SaveData.m_StartLives = 3;
  m_Scene->ResetPlayProgress();
  m_Scene->SetStage(0, 1);
  m_Scene->m_State = kPlayRunning;
  ASSERT_EQ(g_CharaList.Size(), 1);
  const int frames = FramesWhile(kPlayRunning, 200);
  EXPECT_EQ(m_Scene->m_State, kPlayStageResult);
  EXPECT_EQ(m_Scene->m_NextStage, 3);
  // Half a second of waiting, the clear in the step after, seen by the hero's step after that.
  EXPECT_GE(frames, 30);
  EXPECT_LE(frames, 33);
  EXPECT_EQ(Hero().m_Dead, 0);
}

}  // namespace
