// The state digest: the hash itself, and that each area changes exactly with the state it covers,
// so a difference found in a replay names the right place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/services/random.h"
#include "play/chara.h"
#include "play/shot.h"
#include "play/state_digest.h"
#include "tests/play/play_scene_fixture.h"

namespace {

using playtest::PlaySceneTest;

TEST(DigestHash, IsFnv1aOverLittleEndianBytes) {
  struct Case {
    std::function<void(cDigest&)> feed;
    std::uint64_t expected;
  };
  const Case cases[] = {
      {[](cDigest&) {}, 0xcbf29ce484222325ull},
      {[](cDigest& d) { d.AddU8('a'); }, 0xaf63dc4c8601ec8cull},
      // "abcd": a u32 goes in lowest byte first, whatever the machine.
      {[](cDigest& d) { d.AddU32(0x64636261u); }, 0xfc179f83ee0724ddull},
      {[](cDigest& d) { d.AddI32(0x64636261); }, 0xfc179f83ee0724ddull},
      {[](cDigest& d) {
         d.AddU8('a');
         d.AddU8('b');
         d.AddU8('c');
         d.AddU8('d');
       },
       0xfc179f83ee0724ddull},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    cDigest d;
    cases[i].feed(d);
    EXPECT_EQ(d.Value(), cases[i].expected) << "case " << i;
  }
  // A double goes in by its bits: the two zeros differ.
  cDigest plus, minus;
  plus.AddDouble(0.0);
  minus.AddDouble(-0.0);
  EXPECT_NE(plus.Value(), minus.Value());
}

class StateDigestTest : public PlaySceneTest {
 protected:
  void SetUp() override {
    PlaySceneTest::SetUp();
    PlaceWalker(12);
    PlaceItem(8);
    m_Scene->SetStage(0, 1);
    m_Scene->m_State = kPlayRunning;
  }
};

TEST_F(StateDigestTest, EachAreaChangesWithTheStateItCovers) {
  ASSERT_EQ(g_CharaList.Size(), 1);
  ASSERT_EQ(g_ItemList.Size(), 1);
  struct Case {
    const char* what;
    std::function<void()> change;
    DigestArea area;
  };
  const std::vector<Case> cases = {
      {"score", [] { g_SaveData.m_Score += 10; }, kDigestScene},
      {"lives", [] { g_SaveData.m_Lives -= 1; }, kDigestScene},
      {"time left", [this] { m_Scene->m_TimeLeft -= 1; }, kDigestScene},
      {"stage variable", [this] { m_Scene->m_StageVars.At(7) = 3; }, kDigestScene},
      {"play state", [this] { m_Scene->m_State = kPlayPauseMenu; }, kDigestScene},
      {"random state", [] { GameRand(); }, kDigestRandom},
      {"horizontal camera", [this] { m_Scene->m_ScrollX.m_Pos += 1.0; }, kDigestCameras},
      {"vertical camera", [this] { m_Scene->m_ScrollY.m_Pos += 1.0; }, kDigestCameras},
      {"hero x", [this] { Hero().m_X1 += 0.5; }, kDigestHeroes},
      {"hero speed", [this] { Hero().m_Vy = 1.25; }, kDigestHeroes},
      {"hero HP", [this] { Hero().m_Hp -= 1; }, kDigestHeroes},
      {"hero input lock", [this] { Hero().m_ButtonsLocked = 1; }, kDigestHeroes},
      {"hero animation", [this] { Hero().m_Anime.Step(); }, kDigestHeroes},
      {"character y", [] { g_CharaList.begin()->m_Y2 += 1.0; }, kDigestCharas},
      {"character dead", [] { g_CharaList.begin()->m_Dead = 1; }, kDigestCharas},
      {"character flow frontier",
       [] {
         cChara& c = *g_CharaList.begin();
         c.m_Runners.emplace_back();
         c.m_Runners.back().m_Frontier = 2;
       },
       kDigestCharas},
      {"command steps left",
       [] {
         cChara& c = *g_CharaList.begin();
         c.m_Runners.back().m_Instances.emplace_back();
         c.m_Runners.back().m_Instances.back().m_StepsLeft = 9;
       },
       kDigestCharas},
      {"item held", [] { g_ItemList.begin()->m_Held = 1; }, kDigestItems},
      {"item gone", [] { g_ItemList.Clear(); }, kDigestItems},
      {"shot fired", [this] { AddShot(m_Scene->m_ShotList, cShot()); }, kDigestShots},
      {"shot range", [this] { m_Scene->m_ShotList.back().m_RangeStepsLeft = 4; }, kDigestShots},
      {"shot own speed", [this] { m_Scene->m_ShotList.back().m_OwnVy = 0.5; }, kDigestShots},
      {"shot wave amplitude", [this] { m_Scene->m_ShotList.back().m_Params.m_MoveParams[0] = 64; }, kDigestShots},
      {"shot hit", [this] { m_Scene->m_ShotList.back().m_HitList.push_back(3); }, kDigestShots},
      {"shot gone", [] { ClearShots(); }, kDigestShots},
  };
  StateDigest before = ComputeStateDigest(kScenePlay);
  EXPECT_EQ(ComputeStateDigest(kScenePlay).m_Total, before.m_Total) << "the same state, the same digest";
  for (const Case& c : cases) {
    c.change();
    const StateDigest after = ComputeStateDigest(kScenePlay);
    EXPECT_EQ(DigestTotal(after.m_Areas), after.m_Total);
    for (int a = 0; a < kDigestAreaCount; ++a) {
      const auto i = static_cast<std::size_t>(a);
      EXPECT_EQ(after.m_Areas[i] != before.m_Areas[i], a == c.area)
          << c.what << ": area " << kDigestAreaNames[i];
    }
    EXPECT_NE(after.m_Total, before.m_Total) << c.what;
    before = after;
  }
}

TEST_F(StateDigestTest, TheFrameTimeAndTheCountedRateAreNotState) {
  const std::uint64_t before = ComputeStateDigest(kScenePlay).m_Total;
  m_Scene->m_FrameTime += 17;
  m_Scene->SetCountedFps(31);
  Hero().m_ScreenLeft += 3;  // where it was drawn follows from the camera
  EXPECT_EQ(ComputeStateDigest(kScenePlay).m_Total, before);
}

TEST_F(StateDigestTest, TheSameStageSetUpTwiceGivesTheSameDigests) {
  // A stage set up again from the same seed runs through the same states, frame by frame.
  g_RunOptions.seed = 1234u;
  g_System.m_ReplayRecording = 1;
  HoldKeys({VK_RIGHT});
  auto run = [this] {
    m_Scene->SetStage(1, 0);
    m_Scene->m_State = kPlayRunning;
    std::vector<std::uint64_t> digests;
    for (int i = 0; i < 90; ++i) {
      RunFrame();
      digests.push_back(ComputeStateDigest(kScenePlay).m_Total);
    }
    return digests;
  };
  const std::vector<std::uint64_t> first = run();
  EXPECT_EQ(run(), first);
}

}  // namespace
