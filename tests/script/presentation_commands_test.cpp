// The presentation and sound commands: graphic, animation set, one-off animation, screen colour,
// background layers, sound effects, music and code, each through its character command and its
// flow command alike.
#include "script/presentation_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "play/flow_runner.h"
#include "play/flow_seam.h"
#include "project/database.h"
#include "project/database_frames.h"
#include "project/effect_players.h"
#include "project/stage_data.h"
#include "script/command_dispatch.h"
#include "script/flow_command_lists.h"
#include "tests/script/command_list_fixture.h"

namespace {

using scripttest::CommandListTest;

class PresentationTest : public CommandListTest {
 protected:
  void SetUp() override {
    CommandListTest::SetUp();
    m_SavedSets = g_Database.m_AnimeSets;
    g_Database.m_AnimeSets.assign(2, cAnimeSetDef());
    for (cAnimeSetDef& set : g_Database.m_AnimeSets) set.SetDefaults();
    g_AnimeFrameLists.assign(3, AnimeFrameList{{7, 6, 0}, {kAnimeEnd, 0, 0}});
    g_Stage.m_BgLayers.assign(2, cBgLayer());
    m_SavedCharaEffects = g_CharaEffectTemplates;
    m_SavedScrEffects = g_ScrEffectTemplates;
    g_CharaEffectTemplates.assign(2, cCharaEffectPlayer());
    g_ScrEffectTemplates.assign(2, cScrEffectPlayer());
  }
  void TearDown() override {
    g_CharaEffectTemplates = m_SavedCharaEffects;
    g_ScrEffectTemplates = m_SavedScrEffects;
    g_Database.m_AnimeSets = m_SavedSets;
    g_AnimeFrameLists.clear();
    CommandListTest::TearDown();
  }

  // Runs character command c on chara as one step of its instance.
  static void RunChara(cCharaBase& chara, cFlowCommand& c) {
    cCommandInstance instance;
    instance.m_Command = &c;
    ExecCharaCommand(chara, instance);
  }

  CheckedVector<cAnimeSetDef> m_SavedSets;
  CheckedVector<cCharaEffectPlayer> m_SavedCharaEffects;
  CheckedVector<cScrEffectPlayer> m_SavedScrEffects;
};

TEST_F(PresentationTest, ChangeGraphicKeepsTheLowBitsOfEachParameter) {
  struct Case {
    std::int32_t p0, p1, p2;
    std::uint8_t defSheet;
    std::int32_t sheet;
    std::int16_t graphic, base;
  };
  const Case cases[] = {
      {2, 40, 8, 2, 2, 40, 8},
      {0x1FF, 0x18000, 0x12345, 0xFF, -1, -32768, 0x2345},
      {-2, -3, -4, 0xFE, -2, -3, -4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p0);
    cHero& hero = Hero();
    DoChangeGraphic(hero, Chara(kCharaChangeGraphic, {c.p0, c.p1, c.p2}));
    EXPECT_EQ(hero.m_Def.m_ChipSource, c.defSheet);
    EXPECT_EQ(hero.m_GraphicSheet, c.sheet);
    EXPECT_EQ(hero.m_Def.m_ChipIndex, c.graphic);
    EXPECT_EQ(hero.m_Graphic, c.graphic);
    EXPECT_EQ(hero.m_Def.m_ChipFrame, c.base);
  }
}

TEST_F(PresentationTest, TheAnimationSetInUseKeepsRunning) {
  cHero& hero = Hero();
  hero.SetAnimeSet(0, 1);
  for (int i = 0; i < 3; ++i) hero.m_Anime.Step();
  ASSERT_EQ(hero.m_Anime.Ticks(), 3);
  DoChangeBaseAnimeSet(hero, Chara(kCharaChangeAnimeSet, {0}));
  EXPECT_EQ(hero.m_Anime.Ticks(), 3);
  DoChangeBaseAnimeSet(hero, Chara(kCharaChangeAnimeSet, {1}));
  EXPECT_EQ(hero.m_Def.m_AnimeSet, 1);
  EXPECT_EQ(hero.m_Anime.Pattern(), 0);
  EXPECT_EQ(hero.m_Anime.Ticks(), 0);
}

TEST_F(PresentationTest, RunAnimeFrontsAnUntimedEntryOfTheRunningFlow) {
  cHero& hero = Hero();
  hero.m_FlowAnimations.clear();
  cFlowRunner runner;
  runner.m_Serial = 42;
  m_Scene->m_ExecChara = &hero;
  m_Scene->m_ExecFlow = &runner;
  DoRunAnime(hero, Chara(kCharaPlayAnime, {2}));
  cChara other;
  DoRunAnime(other, Chara(kCharaPlayAnime, {1}));  // another object than the one whose flow runs
  m_Scene->m_ExecChara = nullptr;
  m_Scene->m_ExecFlow = nullptr;
  DoRunAnime(hero, Chara(kCharaPlayAnime, {5}));  // beyond the table: animation 0, reported

  ASSERT_EQ(hero.m_FlowAnimations.size(), 2u);
  const cFlowAnimation& newest = hero.m_FlowAnimations.front();
  const cFlowAnimation& first = hero.m_FlowAnimations.back();
  EXPECT_EQ(first.m_FlowSerial, 42);
  EXPECT_EQ(first.m_HasTimeLimit, 0);
  EXPECT_EQ(first.m_Priority, 0);
  EXPECT_EQ(first.m_Anime.Frames(0).At(0).value, 7);
  EXPECT_EQ(newest.m_FlowSerial, kNoFlowSerial);
  ASSERT_EQ(other.m_FlowAnimations.size(), 1u);
  EXPECT_EQ(other.m_FlowAnimations.front().m_FlowSerial, kNoFlowSerial);
  EXPECT_NE(ReportLines().find("err V[5]"), std::string::npos);
  EXPECT_EQ(TakeCloses(), 1);

  // Without animations there is nothing to start.
  g_AnimeFrameLists.clear();
  DoRunAnime(hero, Chara(kCharaPlayAnime, {0}));
  EXPECT_EQ(hero.m_FlowAnimations.size(), 2u);
}

TEST_F(PresentationTest, BackgroundLayersCountFromOne) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::int32_t, std::int32_t>> commands;  // layer, visibility
    std::uint32_t first, second;
  };
  const Case cases[] = {
      {"hide the first", {{1, kBackgroundHide}}, 0, 1},
      {"hide, then show the second", {{2, kBackgroundHide}, {2, kBackgroundShow}}, 1, 1},
      {"toggle twice restores", {{2, kBackgroundToggle}, {2, kBackgroundToggle}}, 1, 1},
      {"toggle once", {{2, kBackgroundToggle}}, 1, 0},
      {"layer 0 is none", {{0, kBackgroundHide}}, 1, 1},
      {"a layer beyond the stage's", {{3, kBackgroundHide}}, 1, 1},
      {"a negative layer", {{-1, kBackgroundHide}}, 1, 1},
      {"an unknown visibility", {{1, 3}}, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (cBgLayer& layer : g_Stage.m_BgLayers) layer.m_Shown = 1;
    for (const auto& [layer, visibility] : c.commands)
      DoChangeBackground(Hero(), Chara(kCharaBackground, {layer, visibility}));
    EXPECT_EQ(g_Stage.m_BgLayers.At(0).m_Shown, c.first);
    EXPECT_EQ(g_Stage.m_BgLayers.At(1).m_Shown, c.second);
  }
}

TEST_F(PresentationTest, SoundEffectsOnlyOnScreenWhenAsked) {
  struct Case {
    const char* name;
    std::uint8_t onScreenOnly;
    std::int32_t objectOnScreen, number;
    bool plays;
  };
  const Case cases[] = {
      {"on screen", 1, 1, 3, true},
      {"off screen, only on screen", 1, 0, 3, false},
      {"off screen, anywhere", 0, 0, 3, true},
      {"sound 0 is none", 0, 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Sounds.clear();
    cChara chara;
    chara.m_OnScreen = c.objectOnScreen;
    cFlowCommand se = Chara(kCharaSound, {c.number});
    se.m_SoundOnScreenOnly = c.onScreenOnly;
    DoPlaySE(se, chara);
    EXPECT_EQ(m_Sounds.size(), c.plays ? 1u : 0u);
  }
}

TEST_F(PresentationTest, MusicAndScreenColourAndCode) {
  DoPlayBGM(Chara(kCharaMusic, {4, 2}));
  EXPECT_EQ(m_Music, (std::vector<int>{4}));
  EXPECT_EQ(g_SaveData.m_MusicLoop, 2);

  DoChangeScreenColour(Hero(), Chara(kCharaScreenColor, {10, 20, 30, 50, 0, 5, 0, 0}));
  const cScreenColour& colour = m_Scene->m_ScreenColour;
  EXPECT_EQ(colour.m_Active, 1);
  EXPECT_EQ((std::vector<int>{colour.m_Red, colour.m_Green, colour.m_Blue}), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(colour.m_Strength, 50);
  EXPECT_EQ(colour.m_Time, 30);

  cFlowCommand code = Chara(kCharaCode);
  code.m_Code = "S3 = 9";
  DoRunCode(Hero(), code);
  EXPECT_EQ(m_Scene->m_StageVars.At(3), 9);
}

TEST_F(PresentationTest, AMissingParameterReadsZeroAndIsReported) {
  cFlowCommand bare = Chara(kCharaChangeGraphic);
  bare.m_Params.clear();
  Hero().m_Graphic = 5;
  DoChangeGraphic(Hero(), bare);
  EXPECT_EQ(Hero().m_Graphic, 0);
  EXPECT_EQ(Hero().m_Def.m_ChipFrame, 0);
  EXPECT_NE(ReportLines().find("Command 25 (set 0) has no parameter 0: read as 0"), std::string::npos);
}

// What the commands leave behind, to compare the two roads to the same worker.
struct Outcome {
  std::int32_t graphic, animeSet, flowAnimes, red, firstLayer, sounds, music, var, charaEffect, screenEffect, effects;
  bool operator==(const Outcome&) const = default;
};

TEST_F(PresentationTest, CharacterAndFlowCommandsShareTheirWorkers) {
  struct Case {
    std::uint8_t chara;
    std::vector<std::int32_t> params;
  };
  const Case cases[] = {
      {kCharaChangeGraphic, {1, 33, 0}}, {kCharaChangeAnimeSet, {1}}, {kCharaPlayAnime, {1}},
      {kCharaScreenColor, {90, 0, 0, 50, 0, 1, 0, 0}}, {kCharaBackground, {1, kBackgroundHide}},
      {kCharaSound, {2}}, {kCharaMusic, {3, 1}}, {kCharaCode, {}},
      {kCharaCharaEffect, {1, 0, 0}}, {kCharaScreenEffect, {1, 0, 0}}, {kCharaPlayEffect, {0}},
  };
  auto outcome = [this] {
    const cHero& hero = Hero();
    return Outcome{hero.m_Graphic, hero.m_Def.m_AnimeSet, static_cast<std::int32_t>(hero.m_FlowAnimations.size()),
                   m_Scene->m_ScreenColour.m_Red, static_cast<std::int32_t>(g_Stage.m_BgLayers.At(0).m_Shown),
                   static_cast<std::int32_t>(m_Sounds.size()), static_cast<std::int32_t>(m_Music.size()),
                   m_Scene->m_StageVars.At(4), hero.m_CharaEffect.m_Number, m_Scene->m_ScreenEffect.m_Number,
                   static_cast<std::int32_t>(m_Scene->m_Effects.size())};
  };
  auto reset = [this] {
    cHero& hero = Hero();
    hero.m_Graphic = 0;
    hero.SetAnimeSet(0, 1);
    hero.m_FlowAnimations.clear();
    hero.m_OnScreen = 1;
    m_Scene->m_ScreenColour = cScreenColour();
    g_Stage.m_BgLayers.At(0).m_Shown = 1;
    m_Sounds.clear();
    m_Music.clear();
    m_Scene->m_StageVars.At(4) = 0;
    hero.m_CharaEffect = cCharaEffectPlayer();
    m_Scene->m_ScreenEffect = cScrEffectPlayer();
    m_Scene->m_Effects.assign(1, cEffectInstance());  // effect 0 takes every running one away
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.chara));
    cFlowCommand chara = Chara(c.chara);
    for (std::size_t i = 0; i < c.params.size(); ++i) chara.m_Params.At(static_cast<int>(i)) = c.params[i];
    chara.m_Code = "S4 = 4";
    cFlowCommand flow = chara;
    flow.m_CommandSet = kFlowCommandSet;
    flow.m_CommandNumber = static_cast<std::uint8_t>(c.chara - kFlowToCharaCommand);

    reset();
    const Outcome before = outcome();
    RunChara(Hero(), chara);
    const Outcome byChara = outcome();
    EXPECT_NE(byChara, before);
    reset();
    RunFlowCommands(Hero(), CheckedVector<cFlowCommand>{flow});
    EXPECT_EQ(outcome(), byChara);
  }
}

}  // namespace
