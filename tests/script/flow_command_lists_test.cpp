// The command lists of items: how a list ends, the message chaining inside a list, the flow
// changes on the hero (queued while its own flows run), アイテムの取得 with its palettes, and the
// bounds that keep a damaged or self-referring list harmless.
#include "script/flow_command_lists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "play/flow_seam.h"
#include "play/message_window.h"
#include "project/database_frames.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/flow_change.h"
#include "script/presentation_commands.h"
#include "tests/script/command_list_fixture.h"
#include "tests/script/message_font_fixture.h"

namespace {

using scripttest::CommandListTest;

constexpr std::uint8_t kTriggerNone = 19;  // started only by a flow control

// A message that stays until the stage ends (end mode 1), not blocking.
cFlowCommand StayingMessage(const char* text) {
  cFlowCommand c = CommandListTest::FlowCmd(kFlowMessage, {0, 0, 0, 0, 0, 0, 1});
  c.m_Code = text;
  return c;
}

TEST_F(CommandListTest, HowAListEnds) {
  struct Case {
    const char* name;
    std::vector<cFlowCommand> list;
    std::int32_t hpBefore;
    std::int32_t result;
    std::int32_t score;  // added by the commands that ran
  };
  const Case cases[] = {
      {"empty, hero alive", {}, 10, kListNormalEnd, 0},
      {"empty, hero without HP", {}, 0, kListObjectDied, 0},
      {"every command runs", {AddScore(10), AddScore(5)}, 10, kListNormalEnd, 15},
      {"a clear in the middle skips the rest", {AddScore(10), FlowCmd(kFlowStageClear), AddScore(5)}, 10,
       kListStageClear, 10},
      {"HP to 0 stops the list at once", {SetHp(0), AddScore(5)}, 10, kListObjectDied, 0},
      {"a hero without HP outranks the clear", {FlowCmd(kFlowStageClear), AddScore(5)}, 0, kListObjectDied, 0},
      {"a number beyond the table does nothing", {FlowCmd(40), AddScore(1)}, 10, kListNormalEnd, 1},
      {"a character command runs as its flow command", {Chara(kCharaStatus, {0, 0, 0, 2, 3, 1, 0, 7})}, 10,
       kListNormalEnd, 7},
      {"a character move has no flow counterpart", {Chara(kCharaStraightMove), AddScore(2)}, 10, kListNormalEnd, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cHero& hero = Hero();
    hero.m_Hp = c.hpBefore;
    g_SaveData.m_Score = 0;
    const CheckedVector<cFlowCommand> list(c.list.begin(), c.list.end());
    EXPECT_EQ(RunFlowCommands(hero, list), c.result);
    EXPECT_EQ(g_SaveData.m_Score, c.score);
  }
  EXPECT_NE(ReportLines().find("Unknown command 40 (set 1)"), std::string::npos);
}

TEST_F(CommandListTest, ADeadHerosListShowsNoMessage) {
  const CheckedVector<cFlowCommand> list{SetHp(0), StayingMessage("x")};
  EXPECT_EQ(RunFlowCommands(Hero(), list), kListObjectDied);
  EXPECT_TRUE(m_Scene->m_Messages.empty());
}

class ListMessageTest : public CommandListTest {
 protected:
  void SetUp() override {
    CommandListTest::SetUp();
    m_Font = std::make_unique<scripttest::cMessageFont>();
  }
  void TearDown() override {
    m_Font.reset();
    CommandListTest::TearDown();
  }
  std::unique_ptr<scripttest::cMessageFont> m_Font;
};

TEST_F(ListMessageTest, TheFirstMessageOfAListOpensAndTheNextFollowInItsWindow) {
  // A window left open before the list: the list's first message opens one of its own (the flag is
  // cleared at the start of every list), the second takes over the first's window.
  m_Scene->m_MessageOpen = 1;
  const CheckedVector<cFlowCommand> before{StayingMessage("a")};
  RunFlowCommands(Hero(), before);
  ASSERT_EQ(m_Scene->m_Messages.size(), 1u);

  const CheckedVector<cFlowCommand> list{StayingMessage("b"), StayingMessage("c")};
  EXPECT_EQ(RunFlowCommands(Hero(), list), kListNormalEnd);
  EXPECT_EQ(m_Scene->m_Messages.size(), 2u);
  EXPECT_EQ(m_Scene->m_MessageOpen, 1);
}

// Flows told apart by their group letter; trigger "なし" so that none starts by itself.
cFlow Labelled(std::uint8_t label, std::uint8_t id = 0) {
  cFlow f;
  f.m_Trigger = kTriggerNone;
  f.m_Group = label;
  f.m_FlowId = id;
  f.m_Commands.assign(1, CommandListTest::Chara(kCharaWait));
  return f;
}

std::vector<std::uint8_t> Labels(const cCharaBase& chara) {
  std::vector<std::uint8_t> labels;
  for (const cFlow& f : chara.m_Def.m_Flows) labels.push_back(f.m_Group);
  return labels;
}

cFlowCommand ChangeFlow(std::int32_t operation, std::int32_t id, std::initializer_list<cFlow> nested) {
  cFlowCommand c = CommandListTest::FlowCmd(kFlowChange, {operation, id});
  c.m_Flows.assign(nested.begin(), nested.end());
  return c;
}

// The hero with flows 1 (ID A), 2 (none), 3 (ID B), 4 (ID A), their runners built.
void GiveFlows(cHero& hero) {
  hero.m_Def.m_Flows.assign({Labelled(1, 1), Labelled(2), Labelled(3, 2), Labelled(4, 1)});
  AddFlows(hero, hero.m_Def.m_Flows, 0, 0, -1);
}

TEST_F(CommandListTest, FlowChangesOnTheHero) {
  struct Case {
    const char* name;
    std::int32_t operation, id;
    std::vector<std::uint8_t> labels;
  };
  const Case cases[] = {
      {"add appends", kFlowChangeAdd, 1, {1, 2, 3, 4, 9, 10}},
      {"replace A: in the first A's place", kFlowChangeReplace, 1, {9, 10, 2, 3}},
      {"replace an ID no flow has: appended", kFlowChangeReplace, 5, {1, 2, 3, 4, 9, 10}},
      {"replace all: exactly the new flows", kFlowChangeReplace, 0, {9, 10}},
      {"delete all, those without an ID too", kFlowChangeDelete, 0, {}},
      {"delete A leaves flows without an ID", kFlowChangeDelete, 1, {2, 3}},
      {"an unknown operation", 3, 1, {1, 2, 3, 4}},
      {"an ID beyond a byte takes its low byte", kFlowChangeDelete, 256 + 2, {1, 2, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cHero& hero = Hero();
    GiveFlows(hero);
    const CheckedVector<cFlowCommand> list{ChangeFlow(c.operation, c.id, {Labelled(9), Labelled(10)})};
    EXPECT_EQ(RunFlowCommands(hero, list), kListNormalEnd);
    EXPECT_EQ(Labels(hero), c.labels);
    // Every flow has its runner, bound to it.
    ASSERT_EQ(hero.m_Runners.Size(), hero.m_Def.m_Flows.Size());
    for (std::int32_t i = 0; i < hero.m_Runners.Size(); ++i) {
      EXPECT_EQ(hero.m_Runners.At(i).m_Flow, &hero.m_Def.m_Flows.At(i));
      EXPECT_EQ(hero.m_Runners.At(i).m_Index, i);
    }
  }
}

TEST_F(CommandListTest, AnItemTakenFromTheHerosOwnFlowChangesItsFlowsAfterItsRunners) {
  // The hero's always-running flow takes common item 1, whose list adds a flow; the flow is only
  // there once the hero's runners have run.
  CommonItem(1, {ChangeFlow(kFlowChangeAdd, 0, {Labelled(9)})});
  cHero& hero = Hero();
  cFlow taking = Labelled(1);
  taking.m_Trigger = kTriggerAlways;
  taking.m_Commands.assign(1, Chara(kCharaGetItem, {0, 1}));
  hero.m_Def.m_Flows.assign(1, taking);
  AddFlows(hero, hero.m_Def.m_Flows, 0, 0, -1);

  // As the run-time does it: queued while the hero's flows are being walked...
  m_Scene->m_ExecChara = &hero;
  DoGetItem(hero, Chara(kCharaGetItem, {0, 1}));
  m_Scene->m_ExecChara = nullptr;
  EXPECT_EQ(Labels(hero), (std::vector<std::uint8_t>{1}));
  EXPECT_EQ(hero.m_QueuedFlowChanges.Size(), 1);

  // ...and applied at the end of the hero's flow step, after what it queued in that step too.
  hero.ResetFlowStepFlags();
  RunTriggeredFlows(hero, kTriggerAlways);
  EXPECT_EQ(hero.RunFlows(0), 0);
  EXPECT_EQ(Labels(hero), (std::vector<std::uint8_t>{1, 9, 9}));
  EXPECT_TRUE(hero.m_QueuedFlowChanges.empty());
}

TEST_F(CommandListTest, AnItemTakenFromACharactersFlowChangesTheHeroAtOnce) {
  CommonItem(1, {ChangeFlow(kFlowChangeAdd, 0, {Labelled(9)})});
  cHero& hero = Hero();
  hero.m_Def.m_Flows.clear();
  AddFlows(hero, hero.m_Def.m_Flows, 0, 0, -1);
  cChara other;
  m_Scene->m_ExecChara = &other;
  DoGetItem(other, Chara(kCharaGetItem, {0, 1}));
  m_Scene->m_ExecChara = nullptr;
  EXPECT_EQ(Labels(hero), (std::vector<std::uint8_t>{9}));
  EXPECT_TRUE(hero.m_QueuedFlowChanges.empty());
}

TEST_F(CommandListTest, GetItemRunsThePalettesItemOnHeroZero) {
  g_Stage.m_PaletteItems.assign(3, cItemDef());
  g_Stage.m_PaletteItems.At(2).m_Commands.assign(1, AddScore(200));
  CommonItem(1, {AddScore(100)});
  CommonItem(2, {FlowCmd(kFlowStageClear)});
  CommonItem(3, {});
  CommonItem(4, {SetHp(0)});
  struct Case {
    const char* name;
    std::int32_t palette, index, hpBefore, request, score;
  };
  const Case cases[] = {
      {"common item", 0, 1, 10, 0, 100},
      {"stage item", 1, 2, 10, 0, 200},
      {"an item that clears", 0, 2, 10, 1, 0},
      {"no commands, hero alive", 0, 3, 10, 0, 0},
      {"no commands, hero without HP", 0, 3, 0, 2, 0},
      {"an item that kills", 0, 4, 10, 2, 0},
      {"a palette number that names none", 2, 1, 10, 0, 0},
      {"an index beyond the palette: its entry 0", 0, 99, 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Hero().m_Hp = c.hpBefore;
    g_SaveData.m_Score = 0;
    m_Scene->m_StageEndRequest = 7;
    cChara runner;  // whoever runs the command, the item acts on hero 0
    DoGetItem(runner, Chara(kCharaGetItem, {c.palette, c.index}));
    EXPECT_EQ(m_Scene->m_StageEndRequest, c.request);
    EXPECT_EQ(g_SaveData.m_Score, c.score);
    EXPECT_EQ(runner.m_Hp, 0);
  }
  EXPECT_NE(ReportLines().find("err V[99]"), std::string::npos);
  EXPECT_EQ(TakeCloses(), 1);
}

TEST_F(CommandListTest, GetItemAsAFlowCommandLetsTheOuterListGoOn) {
  CommonItem(1, {AddScore(1), FlowCmd(kFlowStageClear)});
  g_SaveData.m_Score = 0;
  const CheckedVector<cFlowCommand> list{FlowCmd(kFlowGetItem, {0, 1}), AddScore(10)};
  EXPECT_EQ(RunFlowCommands(Hero(), list), kListNormalEnd);
  EXPECT_EQ(g_SaveData.m_Score, 11);
  EXPECT_EQ(m_Scene->m_StageEndRequest, 1);
}

TEST_F(CommandListTest, ItemsThatTakeEachOtherStopAtTheDepthLimit) {
  // Item 1 takes item 2, which takes item 1 again: each list adds 1 before it goes deeper.
  CommonItem(1, {AddScore(1), FlowCmd(kFlowGetItem, {0, 2})});
  CommonItem(2, {AddScore(1), FlowCmd(kFlowGetItem, {0, 1})});
  g_SaveData.m_Score = 0;
  const CheckedVector<cFlowCommand> list{FlowCmd(kFlowGetItem, {0, 1})};
  EXPECT_EQ(RunFlowCommands(Hero(), list), kListNormalEnd);
  EXPECT_EQ(g_SaveData.m_Score, kMaxFlowListDepth - 1);
  EXPECT_FALSE(InFlowCommandList());
  EXPECT_NE(ReportLines().find("nested deeper than"), std::string::npos);
}

TEST_F(CommandListTest, AnAnimationOfAListBelongsToNoFlow) {
  g_AnimeFrameLists.assign(2, AnimeFrameList{{5, 6, 0}, {kAnimeLoop, 0, 0}});
  cHero& hero = Hero();
  GiveFlows(hero);
  hero.m_FlowAnimations.clear();
  const CheckedVector<cFlowCommand> list{FlowCmd(kFlowPlayAnime, {1})};
  RunFlowCommands(hero, list);
  ASSERT_EQ(hero.m_FlowAnimations.size(), 1u);
  EXPECT_EQ(hero.m_FlowAnimations.front().m_FlowSerial, kNoFlowSerial);
  // Finishing every flow of the hero does not touch it; removing every flow does.
  for (cFlowRunner& runner : hero.m_Runners) hero.RemoveFlowLinks(runner.m_Serial);
  EXPECT_EQ(hero.m_FlowAnimations.size(), 1u);
  hero.RemoveFlowsById(0);
  EXPECT_TRUE(hero.m_FlowAnimations.empty());
  g_AnimeFrameLists.clear();
}

}  // namespace
