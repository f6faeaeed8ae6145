// The runners of a character's flows: durations and speeds from the command records (held inside
// their range whatever a file says), flows added at a place, and the preparatory animations placed
// to end when their command begins.
#include <limits>

#include "tests/script/flow_fixture.h"

namespace flowtest {
namespace {

constexpr std::int32_t kWait = kCharaWait;
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// The instance of command as the set-up leaves it for a character of this spawn index.
cCommandInstance SetUpInstance(const cFlowCommand& command, std::uint16_t spawn) {
  cCharaDef def;
  def.m_Flows.assign(1, Flow(kTriggerAlways, {command}));
  cChara chara;
  chara.Init(&def, 0, 0, 0);
  chara.m_SpawnIndex = spawn;
  AddFlows(chara, chara.m_Def.m_Flows, 0, 0, -1);
  return chara.m_Runners[0].m_Instances[0];
}

TEST_F(FlowTest, DurationsAreTimesPerSpawnIndexInStepsHeldInsideTheirRange) {
  struct Case {
    const char* name;
    std::int32_t level;
    std::int16_t time, step;
    std::uint16_t spawn;
    std::int32_t duration;
  };
  const Case cases[] = {
      {"a tenth at level 3", 3, 1, 0, 0, 18},
      {"time step per spawn index", 1, 1, 2, 3, 42},
      {"largest times and index", 10, 32767, 32767, 65535, kIntMax},
      {"negative time", 1, -5, 0, 0, 0},
      {"negative through the step", 1, 10, -20, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_Stage.SetSpeedLevel(c.level);
    cFlowCommand command = Command(kWait, c.time);
    command.m_UseTimeStep = c.step;
    EXPECT_EQ(SetUpInstance(command, c.spawn).m_Duration, c.duration);
  }
}

TEST_F(FlowTest, MoveSpeedsAreTenthsOfADotPerFrameSpreadOverTheSteps) {
  struct Case {
    const char* name;
    std::int32_t level;
    std::int16_t speed, speedStep;
    std::uint16_t spawn;
    std::uint8_t inertia;
    std::int16_t top;
    double expectSpeed, expectTop;
  };
  const Case cases[] = {
      {"speed 10 at level 1", 1, 10, 0, 0, 0, 0, 1.0, 0.0},
      {"speed 10 at level 2", 2, 10, 0, 0, 0, 0, 0.5, 0.0},
      {"speed step per spawn index", 1, 10, 5, 2, 0, 0, 2.0, 0.0},
      {"top speed of an accelerating move", 4, 10, 0, 0, 1, 30, 0.25, 0.75},
      {"top speed only when accelerating", 1, 10, 0, 0, 0, 30, 1.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_Stage.SetSpeedLevel(c.level);
    // The wait command carries the move record here: the run-time reads any command's record, and
    // the wait has no set-up of its own that would change the speeds afterwards.
    cFlowCommand command = Command(kWait, 1);
    NewEdMove(command.m_Move);
    command.m_Move->m_Speed = c.speed;
    command.m_Move->m_SpeedStep = c.speedStep;
    command.m_Move->m_Inertia = c.inertia;
    command.m_Move->m_InertiaLimit = c.top;
    command.m_Move->m_Direction = 7;
    const cCommandInstance instance = SetUpInstance(command, c.spawn);
    EXPECT_DOUBLE_EQ(instance.m_Speed, c.expectSpeed);
    EXPECT_DOUBLE_EQ(instance.m_TopSpeed, c.expectTop);
    EXPECT_EQ(instance.m_DirectionCode, 7);
  }
}

TEST_F(FlowTest, AddedFlowsGoToTheirPlaceWithNewRunnersAndTheOthersKeepTheirState) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1)}), Flow(kTriggerAlways, {Command(kWait, 2)})});
  Step();
  const std::int32_t serial0 = Runner(0).m_Serial;
  const std::int32_t serial1 = Runner(1).m_Serial;
  CheckedVector<cFlow> extra(2, Flow(kTriggerNone, {Command(kWait, 3), Command(kWait, 4)}));
  AddFlows(*m_Chara, extra, 0, 1, 1);
  // Past the end: appended.
  AddFlows(*m_Chara, CheckedVector<cFlow>(1, Flow(kTriggerNone, {})), 0, 1, 99);
  ASSERT_EQ(m_Chara->m_Runners.Size(), 5);
  ASSERT_EQ(m_Chara->m_Def.m_Flows.Size(), 5);
  EXPECT_EQ(Runner(0).m_Serial, serial0);
  EXPECT_EQ(Runner(3).m_Serial, serial1);
  EXPECT_EQ(Runner(3).m_Running, 1);
  EXPECT_EQ(Runner(3).m_Instances[0].m_StepsLeft, 11);
  EXPECT_EQ(Runner(1).m_Instances[1].m_Duration, 24);
  EXPECT_EQ(Runner(1).m_Running, 0);
  EXPECT_EQ(Runner(4).m_Flow->m_Commands.Size(), 0);
  for (std::int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(Runner(i).m_Index, i);
    EXPECT_EQ(Runner(i).m_Flow, &m_Chara->m_Def.m_Flows[static_cast<std::size_t>(i)]);
    for (std::int32_t j = 0; j < i; ++j) EXPECT_NE(Runner(i).m_Serial, Runner(j).m_Serial);
  }
  EXPECT_EQ(Runner(2).m_Instances[1].m_Command, &m_Chara->m_Def.m_Flows[2].m_Commands[1]);
}

// Animation 1 of the fixture: 12 frames, then a hold frame of 6, then the end.
class CueTest : public FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    g_AnimeFrameLists.assign(2, AnimeFrameList());
    g_AnimeFrameLists[1] = AnimeFrameList{{5, 12, 0}, {6, 6, 1}, {kAnimeEnd, 0, 0}};
  }
  static cFlowCommand Animated(std::int32_t number, std::int16_t tenths, bool parallel = false) {
    cFlowCommand c = Command(number, tenths, parallel);
    c.m_Anime = 1;
    return c;
  }
};

TEST_F(CueTest, AnAnimationEndsWhenItsCommandBeginsAndIsCutAtItsHeadWhenTheFlowIsTooYoung) {
  struct Case {
    const char* name;
    std::int32_t level;
    std::vector<cFlowCommand> commands;
    FlowAnimationCue cue;
  };
  const Case cases[] = {
      {"room for all of it", 1, {Command(kWait, 5), Animated(kWait, 1)}, {12, 1, 0, 18, 6, 1}},
      {"head cut", 1, {Command(kWait, 1), Animated(kWait, 1)}, {0, 1, 12, 6, 6, 1}},
      {"first command", 1, {Animated(kWait, 2)}, {0, 1, 18, 0, 12, 1}},
      {"parallel commands take no time before it", 1,
       {Command(kWait, 5, true), Command(kWait, 1), Animated(kWait, 1)}, {0, 1, 12, 6, 6, 1}},
      {"head cut in frames at level 2", 2, {Command(kWait, 1), Animated(kWait, 1)}, {0, 1, 12, 6, 6, 1}},
      {"room for all of it at level 2", 2, {Command(kWait, 3), Animated(kWait, 1)}, {0, 1, 0, 18, 6, 1}},
      {"the sword takes its animation as it is", 1, {Command(kWait, 5), Animated(kCharaSword, 1)},
       {12, 1, 0, 18, 6, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_Stage.SetSpeedLevel(c.level);
    Make({Flow(kTriggerAlways, c.commands)});
    ASSERT_EQ(Runner(0).m_Cues.Size(), 1);
    const FlowAnimationCue& cue = Runner(0).m_Cues[0];
    EXPECT_EQ(cue.m_Start, c.cue.m_Start);
    EXPECT_EQ(cue.m_Anime, c.cue.m_Anime);
    EXPECT_EQ(cue.m_StartOffset, c.cue.m_StartOffset);
    EXPECT_EQ(cue.m_Length, c.cue.m_Length);
    EXPECT_EQ(cue.m_CommandTime, c.cue.m_CommandTime);
    EXPECT_EQ(cue.m_Hold, c.cue.m_Hold);
  }
}

TEST_F(CueTest, AnAnimationNumberOutsideTheTableGivesNoCue) {
  cFlowCommand command = Command(kWait, 1);
  command.m_Anime = 7;
  Make({Flow(kTriggerAlways, {command})});
  EXPECT_TRUE(Runner(0).m_Cues.empty());
}

TEST_F(CueTest, ACueStartsItsAnimationFirstInLineWhenTheFrameCounterReachesIt) {
  Make({Flow(kTriggerAlways, {Command(kWait, 5), Animated(kWait, 1)})});
  m_Chara->m_FlowAnimations.emplace_back();
  Steps(12);
  EXPECT_EQ(m_Chara->m_FlowAnimations.size(), 1u);
  Step();
  ASSERT_EQ(m_Chara->m_FlowAnimations.size(), 2u);
  const cFlowAnimation& entry = m_Chara->m_FlowAnimations.front();
  EXPECT_EQ(entry.m_HasTimeLimit, 1);
  EXPECT_EQ(entry.m_FramesLeft, 18);
  EXPECT_EQ(entry.m_Priority, 6);
  EXPECT_EQ(entry.m_FlowSerial, Runner(0).m_Serial);
  ASSERT_EQ(entry.m_Anime.PatternCount(), 1);
  // The hold frame lasts the command's time: 6 frames more 5.
  EXPECT_EQ(entry.m_Anime.Frames(0)[1].duration, 11);
  EXPECT_EQ(entry.m_Anime.Frames(0)[0].duration, 12);
  EXPECT_EQ(entry.m_Anime.Ticks(), 0);
  // Once only.
  Step();
  EXPECT_EQ(m_Chara->m_FlowAnimations.size(), 2u);
}

TEST_F(CueTest, ACutCueStartsPartWayIntoItsAnimationAndAStoppedFlowStartsNone) {
  Make({Flow(kTriggerAlways, {Command(kWait, 1), Animated(kWait, 1)})});
  Step();
  ASSERT_EQ(m_Chara->m_FlowAnimations.size(), 1u);
  cFlowAnimation& entry = m_Chara->m_FlowAnimations.front();
  EXPECT_EQ(entry.m_FramesLeft, 6);
  EXPECT_EQ(entry.m_Anime.Ticks(), 12);
  EXPECT_EQ(entry.m_Anime.Step(), 6);  // the 12 skipped frames end the first picture at once
  // A flow stopped at its cue's frame never starts it again.
  m_Chara->m_FlowAnimations.clear();
  StopFlow(Runner(0), *m_Chara);
  Runner(0).m_FrameCounter = 0;
  Steps(3);
  EXPECT_TRUE(m_Chara->m_FlowAnimations.empty());
}

}  // namespace
}  // namespace flowtest
