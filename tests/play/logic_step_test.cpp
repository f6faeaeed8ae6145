// One frame of play: time and its limit, the pause key, buttons held over from a menu, live and
// replayed input, the hero resting on its floor, falling into a gap, dying on a deadly cell, the
// map-cell effects, and the objects the step removes (expired, beyond the screen-out rules).
#include <gtest/gtest.h>

#include <algorithm>

#include "play/chara.h"
#include "play/map_cells.h"
#include "tests/play/play_scene_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

using playtest::PlaySceneTest;

constexpr int kKeyButton1 = 'Z';
constexpr int kSoundPause = 4;
constexpr int kSoundHeroDies = 8;
constexpr int kSoundSpring = 10;

class LogicStepTest : public PlaySceneTest {
 protected:
  // The stage set up and in play.
  void Play() {
    m_Scene->SetStage(0, 1);
    m_Scene->m_State = kPlayRunning;
  }
  int Count(int sound) const { return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), sound)); }
};

TEST_F(LogicStepTest, TheTimeLimitFiresOnThe60thFrameAfterItsResetAndNeverWhenOff) {
  struct Case {
    std::int32_t limitOn;
    std::int32_t units;
    int firesAt;  // call number; 0 never within 400 calls
  };
  const Case cases[] = {{1, 1, 60}, {1, 3, 180}, {0, 1, 0}, {1, 0, 60}};
  for (const Case& c : cases) {
    g_Stage.SetField(static_cast<StageField>(13), c.limitOn);
    g_Stage.SetField(static_cast<StageField>(14), c.units);
    m_Scene->SetStage(0, 1);
    int fired = 0;
    for (int call = 1; call <= 400 && fired == 0; ++call)
      if (m_Scene->TickTimeLimit(-1) != 0) fired = call;
    EXPECT_EQ(fired, c.firesAt) << "on " << c.limitOn << ", " << c.units << " units";
    if (c.firesAt != 0) {
      EXPECT_EQ(m_Scene->m_TimeLeft, 0);
    }
  }
  // Time given back is kept within 999.
  g_Stage.SetField(static_cast<StageField>(13), 1);
  g_Stage.SetField(static_cast<StageField>(14), 998);
  m_Scene->SetStage(0, 1);
  for (int call = 0; call < 60; ++call) m_Scene->TickTimeLimit(5);
  EXPECT_EQ(m_Scene->m_TimeLeft, 999);
}

TEST_F(LogicStepTest, TheHeroDiesWhenTheTimeRunsOut) {
  g_Stage.SetField(static_cast<StageField>(13), 1);
  g_Stage.SetField(static_cast<StageField>(14), 1);
  Play();
  for (int frame = 1; frame < 60; ++frame) RunFrame();
  EXPECT_EQ(Hero().m_Dead, 0);
  RunFrame();
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
  EXPECT_EQ(m_Scene->m_TimeLeft, 0);
}

TEST_F(LogicStepTest, PlayTimeCountsHundredthsUpToItsLimit) {
  Play();
  m_Scene->TickPlayTime();
  EXPECT_EQ(m_Scene->m_PlayTime, 1);
  for (int i = 0; i < 59; ++i) m_Scene->TickPlayTime();
  EXPECT_EQ(m_Scene->m_PlayTime, 100);
  m_Scene->m_PlayFrames = 359999;
  m_Scene->m_PlayTime = 599998;
  m_Scene->TickPlayTime();
  EXPECT_EQ(m_Scene->m_PlayTime, kMaxPlayTime);
  m_Scene->TickPlayTime();
  EXPECT_EQ(m_Scene->m_PlayFrames, 360000) << "nothing counts once the limit is reached";
}

TEST_F(LogicStepTest, ButtonsHeldFromAMenuAreSwallowedUntilReleased) {
  Play();
  m_Scene->m_SwallowButtons = 1;
  HoldKeys({kKeyButton1});
  RunFrame();
  EXPECT_EQ(g_Inputs[0].m_Buttons, 0);
  RunFrame();
  EXPECT_EQ(g_Inputs[0].m_Buttons, 0) << "still held: still swallowed";
  HoldKeys({});
  RunFrame();
  EXPECT_EQ(m_Scene->m_SwallowButtons, 0);
  HoldKeys({kKeyButton1});
  RunFrame();
  EXPECT_EQ(g_Inputs[0].m_Buttons, 1) << "a new press reaches the game";
}

TEST_F(LogicStepTest, ThePauseKeyKeepsTheStateForTheReturn) {
  Play();
  HoldKeys({VK_SPACE});
  RunFrame();
  EXPECT_EQ(m_Scene->m_State, kPlayPauseMenu);
  EXPECT_EQ(m_Scene->m_SavedState, kPlayRunning);
  EXPECT_EQ(Count(kSoundPause), 1);
  EXPECT_EQ(m_Scene->m_FrameCount, 0) << "the paused frame plays nothing";
}

TEST_F(LogicStepTest, ACloseDuringAPauseIsPostedAgain) {
  Play();
  m_Scene->m_CloseRequested = 1;
  RunFrame();
  EXPECT_EQ(TakeCloses(), 1);
  EXPECT_EQ(m_Scene->m_FrameCount, 0);
}

TEST_F(LogicStepTest, AHeroRestsOnItsFloor) {
  for (std::int32_t level : {1, 10, 13}) {
    g_Stage.SetSpeedLevel(level);
    g_PlayState.SetSpeedLevel(level);
    Play();
    for (int frame = 0; frame < 600; ++frame) {
      RunFrame();
      ASSERT_EQ(m_Scene->m_State, kPlayRunning) << level;
      // The feet stay in the row of dots just above the floor.
      ASSERT_GE(Hero().m_Y2, FloorTop() - 1) << "level " << level << " frame " << frame;
      ASSERT_LT(Hero().m_Y2, FloorTop()) << "level " << level << " frame " << frame;
    }
    EXPECT_EQ(Hero().m_Dead, 0);
  }
}

TEST_F(LogicStepTest, AHeroOverAGapFallsOutAndDies) {
  MoveHeroTo(21);
  Play();
  double lastY = Hero().m_Y2;
  int frames = 0;
  while (Hero().m_Dead == 0 && frames < 300) {
    RunFrame();
    ++frames;
    if (Hero().m_Dead == 0) {
      EXPECT_GE(Hero().m_Y2, lastY) << "falling";
      lastY = Hero().m_Y2;
    }
  }
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_GT(frames, 10);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
  EXPECT_EQ(m_Scene->m_State, kPlayRunning) << "the death plays out before what follows";
}

TEST_F(LogicStepTest, ADeadlyCellKillsTheHeroStandingOnIt) {
  for (cBlock& block : g_Stage.m_PlacedBlocks)
    if (block.m_PosX == kHeroColumn) block.m_Solid = kSolidDeadly;
  Play();
  for (int frame = 0; frame < 5 && Hero().m_Dead == 0; ++frame) RunFrame();
  EXPECT_EQ(Hero().m_Dead, 1);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
}

TEST_F(LogicStepTest, AHeroSqueezedBetweenTwoWallsDiesInItsLastPlace) {
  g_Stage.SetSpeedLevel(1);  // one logic step a frame
  g_PlayState.SetSpeedLevel(1);
  // Walls in the cells left and right of the hero; grown three times as wide the hero overlaps both.
  for (int column : {kHeroColumn - 1, kHeroColumn + 1}) {
    for (int row = kFloorRow - 4; row < kFloorRow; ++row) {
      cBlock wall = g_Stage.m_PlacedBlocks.At(0);
      wall.m_PosX = static_cast<std::int16_t>(column);
      wall.m_PosY = static_cast<std::int16_t>(row);
      g_Stage.m_PlacedBlocks.push_back(wall);
    }
  }
  Play();
  RunFrame();
  ASSERT_EQ(Hero().m_Dead, 0);
  cHero& hero = Hero();
  hero.m_Def.m_Enlargement = 3;
  hero.SetScale(3, 1);
  hero.m_Countdown = 1;  // just grown: the crush waits for the grace to run out
  RunFrame();
  EXPECT_EQ(hero.m_Dead, 0);
  hero.m_Countdown = 0;
  const double left = hero.m_X1;
  RunFrame();
  EXPECT_EQ(hero.m_Dead, 1);
  EXPECT_EQ(Count(kSoundHeroDies), 1);
  // The rectangle is the one it had before the step that crushed it, not where the walls pushed it.
  EXPECT_EQ(hero.m_X1, left);
}

TEST_F(LogicStepTest, MapCellEffectsUnderTheHero) {
  Play();
  cHero& hero = Hero();
  cMapCell& cell = MapCellAt(10 + kHeroColumn, 10 + kFloorRow);
  // A resting hero touches its floor every other logic step; a step of play that ends on it.
  for (int step = 0; step < 40 && hero.m_CellUnderFeet != &cell; ++step) {
    g_Stage.SetSpeedLevel(1);
    RunFrame();
  }
  ASSERT_EQ(hero.m_CellUnderFeet, &cell);

  cell.m_CellEffect = 1;  // spring of 3 hbl
  cell.m_EffectValue = 3;
  hero.m_Flying = 1;
  m_Scene->ApplyCellEffect(hero);
  EXPECT_EQ(Count(kSoundSpring), 0) << "a flying hero feels nothing";
  hero.m_Flying = 0;
  m_Scene->ApplyCellEffect(hero);
  EXPECT_EQ(Count(kSoundSpring), 1);
  EXPECT_DOUBLE_EQ(hero.m_Vy, hero.JumpSpeedForHbl(3));
  EXPECT_EQ(hero.m_J3, 1);

  cell.m_CellEffect = 2;  // no jumping
  m_Scene->ApplyCellEffect(hero);
  EXPECT_EQ(hero.m_JumpBlocked, 1);

  cell.m_CellEffect = 3;  // speed factor 50 %
  cell.m_EffectValue = 50;
  hero.m_Vx = 4.0;
  hero.m_Vy = 0.0;
  m_Scene->ApplyCellEffect(hero);
  EXPECT_EQ(hero.m_JumpBlocked, 0);
  EXPECT_DOUBLE_EQ(hero.m_Vx, 2.0);
  for (int step = 1; step < g_StepsPerFrame; ++step) m_Scene->ApplyCellEffect(hero);
  EXPECT_EQ(hero.m_CellEffectSteps, 0);
  EXPECT_DOUBLE_EQ(hero.m_Vy, 1.0) << "the end of an effect presses the hero down";

  cell.m_CellEffect = 4;  // drift to the left, 10 tenths of a dot a frame
  cell.m_EffectValue = 10;
  hero.m_Vx = 0.0;
  hero.m_DriveX = 0.5;
  m_Scene->ApplyCellEffect(hero);
  EXPECT_DOUBLE_EQ(hero.m_Vx, -1.0 / g_StepsPerFrameF);
  EXPECT_EQ(hero.m_DriveX, 0.0);
}

TEST_F(LogicStepTest, AReplayPlaysItsInputAndStartsOverAtItsEnd) {
  g_SceneManager.m_TitleChoice = kTitleChoiceReplay;
  g_Stage.m_FileName = "user_data\\rpl4\\gone.rpl4_556";
  Play();
  const std::uint16_t right[2] = {kDirRight, 0};
  for (int i = 0; i < 3; ++i) g_ReplayRecord.RecordFrameInput(right);
  g_ReplayRecord.RewindPlayback();
  Hero().m_DirectionLocked = 1;
  HoldKeys({VK_LEFT});
  for (int i = 0; i < 3; ++i) {
    RunFrame();
    EXPECT_EQ(g_Inputs[0].m_Direction, kDirRight) << "the recording, whatever is held and locked";
  }
  RunFrame();
  EXPECT_EQ(m_Scene->m_State, kPlayReady) << "over: the replay starts again";
}

TEST_F(LogicStepTest, LiveInputIsRecordedWithTheReplaySwitchOn) {
  g_System.m_ReplayRecording = 1;
  Play();
  HoldKeys({VK_RIGHT, kKeyButton1});
  RunFrame();
  RunFrame();
  std::uint16_t words[2] = {0, 0};
  EXPECT_EQ(g_ReplayRecord.PlayFrameInput(words), 0u);
  EXPECT_EQ(words[0], kDirRight);
  EXPECT_EQ(words[1], 1);
}

TEST_F(LogicStepTest, ExpiredAndFarAwayObjectsGo) {
  g_Stage.SetSpeedLevel(1);
  g_PlayState.SetSpeedLevel(1);
  cItemDef item;
  item.m_ChipIndex = 1;
  item.m_PosX = 8;
  item.m_PosY = kFloorRow - 1;
  g_Stage.m_PlacedItems.push_back(item);
  item.m_PosX = 39;  // far right of the view
  g_Stage.m_PlacedItems.push_back(item);
  Play();
  ASSERT_EQ(g_ItemList.Size(), 2);
  g_ItemList.begin()->m_Life = 1;
  RunFrame();
  EXPECT_EQ(g_ItemList.Size(), 2) << "a life of 1 step lasts that step";
  RunFrame();
  EXPECT_EQ(g_ItemList.Size(), 1);
  // Rule 2 removes items beyond the right side of the view.
  g_Stage.m_Rules[2].Set(0, 1, 0, 0, 0, 0, 0, 0);
  m_Scene->m_OutRuleOn[2] = 1;
  RunFrame();
  EXPECT_EQ(g_ItemList.Size(), 0);
}

TEST_F(LogicStepTest, AFrameOfPlayAllocatesNothingOnceRunning) {
  for (int i = 0; i < 40; ++i) {
    cCharaDef walker = CharaDef();
    walker.m_PosX = static_cast<std::int16_t>(i % 20);
    walker.m_PosY = static_cast<std::int16_t>(i / 20 + 5);
    walker.m_StoredWord = -1;
    g_Stage.m_PlacedCharas.push_back(walker);
  }
  Play();
  for (int frame = 0; frame < 60; ++frame) m_Scene->RunFrameLogic();
  cAllocationWatch watch;
  for (int frame = 0; frame < 60; ++frame) m_Scene->RunFrameLogic();
  EXPECT_EQ(watch.Stop(), 0);
  EXPECT_EQ(g_CharaList.Size(), 40);
}

}  // namespace
