// Character base: set-up, animation sets, boxes, placement, target links and the flows it holds.
#include "play/chara_base.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/input/input.h"
#include "play/chara_search.h"
#include "play/flow_seam.h"
#include "project/database.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlayTest;
using playtest::cTestChara;

bool Lists(const cCharaBase& target, const cCharaBase* chara) {
  return std::count(target.m_TargetedBy.begin(), target.m_TargetedBy.end(), chara) == 1;
}

class CharaBaseTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    m_SavedSets = g_Database.m_AnimeSets;
    // Set 1: a standing entry of two frames and a walking entry of one.
    cAnimeSetDef set;
    set.m_Entries.assign(2, cAnimeEntry());
    set.m_Entries[0].m_Frames.assign(2, cAnimeEntryFrame());
    set.m_Entries[0].m_Frames[0].m_Cell = 5;
    set.m_Entries[0].m_Frames[0].m_Time = 2;
    set.m_Entries[0].m_Frames[1].m_Cell = 6;
    set.m_Entries[0].m_Frames[1].m_Time = 1;
    set.m_Entries[1].m_Frames.assign(1, cAnimeEntryFrame());
    set.m_Entries[1].m_Frames[0].m_Cell = 9;
    g_Database.m_AnimeSets.assign(1, cAnimeSetDef());
    g_Database.m_AnimeSets.push_back(set);
    m_Hero.cGameObj::Init(0, 0, 0, 0, 0, nullptr, 0, 8, 8, 16, 24, 32, 32, 1, 0, 0);
    m_Scene->m_Heroes.assign(1, &m_Hero);
    m_Hero.Init(nullptr, 0, 0, 0);
  }
  void TearDown() override {
    g_Database.m_AnimeSets = m_SavedSets;
    PlayTest::TearDown();
  }

  CheckedVector<cAnimeSetDef> m_SavedSets;
  cTestChara m_Hero;
};

TEST_F(CharaBaseTest, InitTakesTheDefinitionAndAimsAtHeroZeroOnce) {
  cCharaDef def;
  def.m_MaxHp = 30;
  def.m_MaxSp = 7;
  def.m_SightRange = 4;
  def.m_Stopping = 50;
  def.m_ScrollSync = 1;
  def.m_AnimeSet = 1;
  cTestChara chara;
  chara.Init(&def, 48, 80, 3);
  chara.Init(&def, 48, 80, 3);
  EXPECT_EQ(chara.m_Target, &m_Hero);
  EXPECT_TRUE(Lists(m_Hero, &chara));
  EXPECT_EQ(chara.m_Hp, 30);
  EXPECT_EQ(chara.m_Sp, 7);
  EXPECT_EQ(chara.m_Sight, 64);
  EXPECT_EQ(chara.m_FollowsScroll, 1);
  EXPECT_DOUBLE_EQ(chara.m_Friction, 50 * 0.01 / 100);  // speed level 10
  EXPECT_EQ(chara.m_J1, -1);
  EXPECT_EQ(chara.m_J2, 1);
  EXPECT_EQ(chara.m_Vars.Size(), 9);
  EXPECT_EQ(chara.m_GroupBusy.Size(), 27);
  EXPECT_EQ(chara.m_Anime.PatternCount(), 2);
  // Hero 0 aims at itself.
  EXPECT_EQ(m_Hero.m_Target, &m_Hero);
}

TEST_F(CharaBaseTest, AnimationSetsBecomePatternsOfLockedFramesThatLoop) {
  cTestChara chara;
  chara.SetAnimeSet(1, 1);
  ASSERT_EQ(chara.m_Anime.PatternCount(), 2);
  const AnimeFrameList& standing = chara.m_Anime.Frames(0);
  ASSERT_EQ(standing.Size(), 3);
  EXPECT_EQ(standing[0].value, 5);
  EXPECT_EQ(standing[0].duration, 12);
  EXPECT_EQ(standing[0].locked, 1u);
  EXPECT_EQ(standing[1].duration, 6);
  EXPECT_EQ(standing[2].value, kAnimeLoop);
  EXPECT_EQ(standing[2].locked, 1u);
  // The same set without force keeps the running animation; with force it starts over.
  for (int i = 0; i < 13; ++i) chara.m_Anime.Step();
  ASSERT_EQ(chara.m_Anime.Frame(), 1);
  chara.SetAnimeSet(1, 0);
  EXPECT_EQ(chara.m_Anime.Frame(), 1);
  EXPECT_EQ(chara.m_Anime.Ticks(), 1);
  chara.SetAnimeSet(1, 1);
  EXPECT_EQ(chara.m_Anime.Frame(), 0);
  EXPECT_EQ(chara.m_Anime.Ticks(), 0);
}

TEST_F(CharaBaseTest, BodyBoxStandsOrIsCentredInItsCell) {
  cTestChara chara;
  Place(chara, 500, 500, 16, 24);  // draw offset 8, 8
  chara.SetBodyBox(1, 12, 20);
  EXPECT_EQ(chara.m_BodyBox.m_OffsetX, 16 - 8 - 6);
  EXPECT_EQ(chara.m_BodyBox.m_OffsetY, 32 - 8 - 20);
  EXPECT_EQ(chara.m_BodyBox.m_BaseWidth, 12);
  chara.SetBodyBox(0, 12, 21);
  EXPECT_EQ(chara.m_BodyBox.m_OffsetY, 16 - 8 - 10);
  EXPECT_EQ(chara.m_BodyBox.m_BaseOffsetY, 16 - 8 - 10);
  EXPECT_EQ(chara.m_BodyBox.m_Height, 21);
}

TEST_F(CharaBaseTest, PlacementPutsTheBoxInItsCellAndScalingKeepsTheFeet) {
  cTestChara chara;
  Place(chara, 0, 0, 16, 24);
  chara.PlaceAtColumnRow(3, 4);
  EXPECT_EQ(chara.m_X1, 13 * 32 + 8 + 0.5);
  EXPECT_EQ(chara.m_Y1, 14 * 32 + 8);
  EXPECT_EQ(chara.m_Y2, 14 * 32 + 31);
  const double drawnBottom = chara.m_Y1 - chara.m_DrawOffsetY + chara.m_DrawHeight;
  chara.SetScale(2, 1);
  EXPECT_EQ(chara.m_Y1 - chara.m_DrawOffsetY + chara.m_DrawHeight, drawnBottom);
  // Older projects keep the bottom of the hit box instead.
  g_System.m_LegacyScaleAnchor = 1;
  cTestChara old;
  Place(old, 600, 600, 16, 24);
  old.SetScale(2, 1);
  EXPECT_EQ(old.m_Y2, 600 + 23.0);
}

TEST_F(CharaBaseTest, ACopyAimsAtTheSameTargetButNoOneAimsAtIt) {
  cTestChara target;
  cTestChara hunter;
  hunter.SetTarget(&target);
  cTestChara chara;
  chara.SetTarget(&m_Hero);
  target.SetTarget(&chara);
  {
    cTestChara copy(chara);
    EXPECT_EQ(copy.m_Target, &m_Hero);
    EXPECT_TRUE(Lists(m_Hero, &copy));
    EXPECT_TRUE(Lists(m_Hero, &chara));
    EXPECT_TRUE(copy.m_TargetedBy.empty());
    EXPECT_EQ(target.m_Target, &chara);
  }
  // The copy left its target's vector as it went.
  EXPECT_EQ(m_Hero.m_TargetedBy.end(), std::find_if(m_Hero.m_TargetedBy.begin(), m_Hero.m_TargetedBy.end(),
                                                    [&](cCharaBase* c) { return c != &m_Hero && c != &chara; }));
}

TEST_F(CharaBaseTest, AMovedCharacterTakesOverEveryLinkToItsOldAddress) {
  std::vector<cTestChara> heroes(1);
  heroes[0].cGameObj::Init(0, 0, 0, 2, 0, nullptr, 0, 8, 8, 16, 24, 32, 32, 1, 0, 0);
  m_Scene->m_Heroes.assign(1, &heroes[0]);
  heroes[0].Init(nullptr, 0, 0, 0);
  m_Scene->m_GroupCharas[2].Emplace(&heroes[0]);
  cTestChara chara;
  chara.Init(nullptr, 0, 0, 0);
  ASSERT_EQ(chara.m_Target, &heroes[0]);
  heroes.reserve(heroes.capacity() + 4);  // the hero moves
  cCharaBase* now = &heroes[0];
  EXPECT_EQ(chara.m_Target, now);
  EXPECT_TRUE(Lists(*now, &chara));
  EXPECT_EQ(now->m_Target, now);
  EXPECT_EQ(m_Scene->Hero(0), now);
  EXPECT_TRUE(m_Scene->m_GroupCharas[2].Contains(now));
  EXPECT_EQ(m_Scene->m_GroupCharas[2].Size(), 1);
}

TEST_F(CharaBaseTest, ACharacterGoingAwayLeavesNoPointerToItself) {
  cTestChara hunter;
  auto prey = std::make_unique<cTestChara>();
  prey->m_Group = 4;
  prey->SetTarget(&m_Hero);
  hunter.SetTarget(prey.get());
  m_Scene->m_GroupCharas[4].Emplace(prey.get());
  prey.reset();
  EXPECT_EQ(hunter.m_Target, nullptr);
  EXPECT_FALSE(std::count(m_Hero.m_TargetedBy.begin(), m_Hero.m_TargetedBy.end(), nullptr));
  EXPECT_EQ(m_Hero.m_TargetedBy.Size(), 1);  // itself only
  EXPECT_EQ(m_Scene->m_GroupCharas[4].Size(), 0);
}

TEST_F(CharaBaseTest, RemovalDuringAWalkHidesTheCharacterAndDestroysItAfterwards) {
  cObjectList<cTestChara> list;
  for (int i = 0; i < 4; ++i) {
    cTestChara& c = list.Emplace();
    c.m_Id = i;
    c.SetTarget(&m_Hero);
    m_Scene->m_GroupCharas[0].Emplace(&c);
  }
  std::vector<int> seen;
  list.ForEach([&](cTestChara& c) {
    seen.push_back(c.m_Id);
    if (c.m_Id == 1) {
      // A flow of character 1 removes character 2 and itself, and summons a new one.
      cTestChara* two = &*std::next(list.begin(), 2);
      ASSERT_EQ(two->m_Id, 2);
      two->UnlinkEverywhere();
      list.Remove(two);
      c.UnlinkEverywhere();
      list.Remove(&c);
      list.Emplace().m_Id = 9;
    }
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 3, 9}));
  EXPECT_EQ(list.Size(), 3);
  EXPECT_EQ(m_Scene->m_GroupCharas[0].Size(), 2);
  EXPECT_EQ(m_Hero.m_TargetedBy.Size(), 3);  // itself and characters 0 and 3
}

TEST_F(CharaBaseTest, FlowsRemovedByIdGiveThePlaceOfTheFirstAndRebindTheRest) {
  cCharaDef def;
  def.m_Flows.assign(4, cFlow());
  const std::uint8_t ids[] = {2, 1, 3, 1};
  for (std::size_t i = 0; i < 4; ++i) {
    def.m_Flows[i].m_FlowId = ids[i];
    def.m_Flows[i].m_Commands.assign(i + 1, cFlowCommand());
  }
  cTestChara chara;
  chara.Init(&def, 0, 0, 0);
  AddFlows(chara, chara.m_Def.m_Flows, 0, 0, -1);
  ASSERT_EQ(chara.m_Runners.Size(), 4);
  for (cFlowRunner& r : chara.m_Runners) r.m_Instances.resize(r.m_Flow->m_Commands.size());
  chara.BindFlowRunners();
  const std::int32_t serial3 = chara.m_Runners[2].m_Serial;
  chara.m_FlowAnimations.emplace_back();
  chara.m_FlowAnimations.back().m_FlowSerial = chara.m_Runners[1].m_Serial;

  EXPECT_EQ(chara.RemoveFlowsById(1), 1);
  ASSERT_EQ(chara.m_Def.m_Flows.Size(), 2);
  ASSERT_EQ(chara.m_Runners.Size(), 2);
  EXPECT_TRUE(chara.m_FlowAnimations.empty());
  const cFlowRunner& third = chara.m_Runners[1];
  EXPECT_EQ(third.m_Index, 1);
  EXPECT_EQ(third.m_Serial, serial3);
  EXPECT_EQ(third.m_Flow, &chara.m_Def.m_Flows[1]);
  EXPECT_EQ(third.m_Flow->m_FlowId, 3);
  EXPECT_EQ(third.m_Instances[2].m_Command, &chara.m_Def.m_Flows[1].m_Commands[2]);
  EXPECT_EQ(chara.RemoveFlowsById(7), -1);
  EXPECT_EQ(chara.RemoveFlowsById(0), 0);
  EXPECT_TRUE(chara.m_Def.m_Flows.empty());
  EXPECT_TRUE(chara.m_Runners.empty());
}

TEST_F(CharaBaseTest, ACopiedCharactersRunnersPointAtItsOwnFlows) {
  cCharaDef def;
  def.m_Flows.assign(2, cFlow());
  cTestChara chara;
  chara.Init(&def, 0, 0, 0);
  AddFlows(chara, chara.m_Def.m_Flows, 0, 0, -1);
  cTestChara copy(chara);
  EXPECT_EQ(copy.m_Runners[1].m_Flow, &copy.m_Def.m_Flows[1]);
  cTestChara other;
  other.Init(&def, 0, 0, 0);
  other.CopyFlowRunners(chara);
  EXPECT_EQ(other.m_Runners[0].m_Flow, &other.m_Def.m_Flows[0]);
}

TEST_F(CharaBaseTest, FinishingAGroupedFlowHandsItsGroupBack) {
  cCharaDef def;
  def.m_Flows.assign(1, cFlow());
  def.m_Flows[0].m_Group = 3;
  cTestChara chara;
  chara.Init(&def, 0, 0, 0);
  AddFlows(chara, chara.m_Def.m_Flows, 0, 0, -1);
  chara.m_Runners[0].m_Running = 1;
  chara.m_Runners[0].m_Instances.resize(1);
  chara.m_Runners[0].m_Instances[0].m_StepsLeft = 5;
  FinishFlow(chara.m_Runners[0], chara);
  EXPECT_EQ(chara.m_Runners[0].m_Running, 0);
  EXPECT_EQ(chara.m_Runners[0].m_Instances[0].m_StepsLeft, 0);
  EXPECT_EQ(chara.m_GroupRelease[3], 1);
  EXPECT_EQ(chara.m_ReleaseRequested, 1);
}

TEST_F(CharaBaseTest, PausingFlowAnimationsDropsTheEndedOnes) {
  cTestChara chara;
  for (std::int32_t frames : {5, 0, -1}) {
    chara.m_FlowAnimations.emplace_back();
    chara.m_FlowAnimations.back().m_FlowSerial = 7;
    chara.m_FlowAnimations.back().m_FramesLeft = frames;
    chara.m_FlowAnimations.back().m_Priority = 1;
  }
  chara.m_FlowAnimations.emplace_back();
  chara.m_FlowAnimations.back().m_FlowSerial = 8;
  chara.PauseFlowLinks(7);
  // frames + priority - 1 < 0 has ended: only the -1 entry.
  ASSERT_EQ(chara.m_FlowAnimations.size(), 3u);
  EXPECT_EQ(chara.m_FlowAnimations.front().m_Paused, 1);
  EXPECT_EQ(chara.m_FlowAnimations.back().m_Paused, 0);
  chara.ResumeFlowLinks(7);
  EXPECT_EQ(chara.m_FlowAnimations.front().m_Paused, 0);
}

TEST_F(CharaBaseTest, KeyStatesMatchByTheirCombination) {
  cInput input;
  input.InitKeyHistories();
  input.m_DirKeyRuns[2][0].state = 1;     // right held
  input.m_ButtonKeyRuns[1][0].state = 1;  // button 1 held
  struct Case {
    std::vector<std::pair<int, std::uint8_t>> slots;
    std::uint8_t combination;
    bool want;
  };
  const Case cases[] = {
      {{{2, kKeyHeld}, {11, kKeyHeld}}, kKeysAll, true},
      {{{2, kKeyHeld}, {12, kKeyHeld}}, kKeysAll, false},
      {{{1, kKeyReleased}, {11, kKeyHeld}}, kKeysAll, true},
      {{{1, kKeyHeld}, {12, kKeyHeld}}, kKeysAny, false},
      {{{1, kKeyHeld}, {11, kKeyHeld}}, kKeysAny, true},
      {{{2, kKeyHeld}, {11, kKeyHeld}}, kKeysExactlyOne, false},
      {{{2, kKeyHeld}, {11, kKeyReleased}}, kKeysExactlyOne, true},
      {{}, kKeysAll, true},
      {{}, kKeysAny, false},
  };
  for (const Case& c : cases) {
    cKeyCondition condition;
    for (auto [slot, state] : c.slots) condition.m_KeyStates[static_cast<std::size_t>(slot)] = state;
    condition.m_Combination = c.combination;
    EXPECT_EQ(KeyStateMatches(input, condition), c.want) << c.slots.size() << " " << int{c.combination};
  }
  EXPECT_EQ(FirstPressedDirection(input), 2);
  // An input whose histories were never made holds no key.
  cInput fresh;
  EXPECT_EQ(FirstPressedDirection(fresh), 0);
}

TEST_F(CharaBaseTest, NearestSearchPrefersCharactersOnScreen) {
  std::vector<cTestChara> charas(4);
  const double xs[] = {100, 120, 400, 110};
  const std::int32_t onScreen[] = {0, 1, 1, 0};
  for (std::size_t i = 0; i < charas.size(); ++i) {
    Place(charas[i], 0, 0);
    charas[i].m_Id = static_cast<std::int32_t>(i);
    charas[i].m_ScreenLeft = static_cast<std::int32_t>(xs[i]);
    charas[i].m_Present = 1;
    charas[i].m_OnScreen = onScreen[i];
  }
  const CharaFilter all;
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestPreferOnScreen, all), &charas[1]);
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestAny, all), &charas[0]);
  charas[1].m_OnScreen = charas[2].m_OnScreen = 0;
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestPreferOnScreen, all), &charas[0]);
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestOnScreenOnly, all), nullptr);
  // Filters: the dead, the untargetable and an excluded id drop out; ties go to the first found.
  charas[0].m_Dead = 1;
  CharaFilter filter;
  filter.excludeIdOn = 1;
  filter.excludedId = 3;
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestAny, filter), &charas[1]);
  charas[1].m_Def.m_Invincible = 2;
  filter.skipUntargetable = 1;
  EXPECT_EQ(FindNearestCharaEx(100, 16, charas, kNearestAny, filter), &charas[2]);
  std::vector<cCharaBase*> pointers = {&charas[0], &charas[1], &charas[2]};
  EXPECT_EQ(FindFirstCharaEx(pointers, filter), &charas[2]);
}

}  // namespace
