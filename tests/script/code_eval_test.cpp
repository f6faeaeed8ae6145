// The code language: one table of texts evaluated for a character, with what they read, store and
// report; then the entry's gauges and result, the command, the generator's draws and the bounds a
// hostile text meets.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/host/text_codec.h"
#include "platform/services/random.h"
#include "play/flow_runner.h"
#include "project/command_vocabulary.h"
#include "script/command_dispatch.h"
#include "tests/script/code_fixture.h"
#include "tests/support/alloc/allocation_count.h"
#include "tests/support/messages.h"

namespace {

using scripttest::CodeTest;

// Auto-scroll speed of an axis in tenths of a dot per frame, as it was set.
std::int32_t AutoTenths(const ScrollAxis& axis) {
  return static_cast<std::int32_t>(std::lround(axis.m_AutoSpeed * g_StepsPerFrameF * 10.0));
}

TEST_F(CodeTest, TextsReadStoreAndReportAsTheLanguageSays) {
  using Given = void (*)(CodeTest&);
  using Read = std::int32_t (*)(CodeTest&);
  struct Row {
    const char* text;
    Given given;  // null: the fixture's state (HP 50 of 50, no target, lives 3)
    std::int32_t value, error;
    const char* box;  // UTF-8; "" none
    Read read;        // null: nothing to look at
    std::int32_t stored;
  };
  const Given unlimited = [](CodeTest&) { g_SaveData.m_Lives = kUnlimitedLives; };
  const Given withTarget = [](CodeTest& t) {
    t.m_Other.m_Def.m_MaxHp = 9;
    t.m_Other.m_Hp = 5;
    t.m_Chara.SetTarget(&t.m_Other);
  };
  const Read closes = [](CodeTest&) { return TakeMainWindowMessages(WM_CLOSE); };
  const Read c1 = [](CodeTest&) { return CodeTest::C(1); };
  const Read hp = [](CodeTest& t) { return t.m_Chara.m_Hp; };
  const Read targetHp = [](CodeTest& t) { return t.m_Other.m_Hp * 10 + t.m_Scene->m_StatusChanged; };
  const Row rows[] = {
      {"C1 = 3 + 4 * 2", nullptr, 11, 0, "", c1, 11},
      {"C1 = 7 / 2", nullptr, 3, 0, "", c1, 3},
      {"C1 = -7 % 3", nullptr, -1, 0, "", c1, -1},
      {"C1 = 2000000", nullptr, 999999, 0, "", c1, 999999},
      {"C1 = 1 - 2 - 3", nullptr, -4, 0, "", c1, -4},  // one level, left to right
      {"my.hp = 99999", nullptr, 50, 0, "", hp, 50},   // the current maximum
      {"hp = 7", nullptr, 7, 0, "", hp, 7},
      {"mhp = 10", nullptr, 10, 0, "", hp, 10},
      {"mhp = 10", [](CodeTest& t) { t.m_Chara.m_Hp = 0; }, 10, 0, "", hp, 1},
      {"cid = 300", nullptr, 99, 0, "", [](CodeTest& t) -> std::int32_t { return t.m_Chara.m_Def.m_CharaId; }, 99},
      {"imp = -50", nullptr, -20, 0, "", [](CodeTest& t) -> std::int32_t { return t.m_Chara.m_Def.m_BodyImpact; }, -20},
      {"mark = 500", nullptr, 119, 0, "", [](CodeTest& t) -> std::int32_t { return t.m_Chara.m_Def.m_MarkNumber; },
       119},
      {"z = 8", nullptr, 7, 0, "", [](CodeTest& t) -> std::int32_t { return t.m_Chara.m_Def.m_Z; }, 7},
      {"v3 = -1234567", nullptr, -999999, 0, "", [](CodeTest& t) { return t.m_Chara.m_Vars[3]; }, -999999},
      {"C1 = rand(3, 3)", nullptr, 3, 0, "", c1, 3},
      {"C1 = rand(1)", nullptr, 0, 1, "関数 rand の引数が不正です！", c1, 0},
      {"C1 = rand(1,)", nullptr, 0, 1, "関数 rand の引数が不正です！", c1, 0},
      {"C1 = rand(1, 6", nullptr, 0, 1, "関数 rand で\")\"が見つかりません！", c1, 0},
      {"C1 = (2 + 3", nullptr, 0, 1, "\")\"が見つかりません！", c1, 0},
      {"C1 = (2 + 3) * 2", nullptr, 10, 0, "", c1, 10},
      {"(C2 = 5) + 1", nullptr, 6, 0, "", [](CodeTest&) { return CodeTest::C(2); }, 5},
      {"C1 = 3*(1+2)", nullptr, 3, 0, "", c1, 3},  // one word, read as a number
      {"C1 = 3 * (1 + 2)", nullptr, 9, 0, "", c1, 9},
      {"C1 = (5 / 0)", [](CodeTest&) { CodeTest::SetC(1, 4); }, 0, 1, "0除算が行われました！(5 / 0)", c1, 0},
      {"sys.life = 5", unlimited, kUnlimitedLives, 0, "", [](CodeTest&) { return g_SaveData.m_Lives; },
       kUnlimitedLives},
      {"C1 = life", unlimited, 0, 0, "", c1, 0},
      {"life = 200", nullptr, 99, 0, "", [](CodeTest&) { return g_SaveData.m_Lives; }, 99},
      {"scrlx = 600", [](CodeTest& t) { t.m_Scene->m_ScrollX.m_AutoOn = 1; }, 480, 0, "",
       [](CodeTest& t) { return AutoTenths(t.m_Scene->m_ScrollX) == g_ScrollSpeedX ? g_ScrollSpeedX : -1; }, 480},
      {"scrly = -600", nullptr, -480, 0, "", [](CodeTest& t) { return AutoTenths(t.m_Scene->m_ScrollY); },
       0},  // off stays off
      {"pl.time = 5000", nullptr, 999, 0, "", [](CodeTest& t) { return t.m_Scene->m_TimeLeft; }, 999},
      {"score = -5", nullptr, 0, 0, "", [](CodeTest&) { return g_SaveData.m_Score; }, 0},
      {"pl.sight = 3", nullptr, 3, 0, "", [](CodeTest&) { return g_Heroes[0].m_Sight; }, 48},
      {"sight = 3", nullptr, 3, 0, "", [](CodeTest& t) { return t.m_Chara.m_Sight; }, 0},  // not a hero
      {"tg.hp = 0", nullptr, 0, 1, "", hp, 50},                                            // no target: no message
      {"tg.hp = 0", withTarget, 0, 0, "", targetHp, 1},
      {"tg.hp = 99", withTarget, 9, 0, "", targetHp, 90},
      {"hp = 0", nullptr, 0, 0, "", [](CodeTest& t) { return t.m_Chara.m_Hp * 10 + t.m_Scene->m_StatusChanged; }, 0},
      {"xx.hp = 1", nullptr, 0, 1, "オブジェクト \"xx.\" が認識できません！", hp, 50},
      {"tg.xx.hp = 1", withTarget, 0, 1, "オブジェクト \"xx.\" が認識できません！", targetHp, 50},
      {"C1 = xx.hp", nullptr, 50, 0, "", c1, 50},  // a later unknown prefix is passed over
      {"C1 = C2 = 4", [](CodeTest&) { CodeTest::SetC(2, 7); }, 4, 0, "", c1, 7},
      {"", nullptr, 0, 0, "", nullptr, 0},
      {"C1", [](CodeTest&) { CodeTest::SetC(1, 12); }, 12, 0, "", nullptr, 0},
      // 64-bit products and quotients held in 32 bits.
      {"65536 * 65536", nullptr, INT_MAX, 0, "", nullptr, 0},
      {"C1 = 999999 * 3000", nullptr, 999999, 0, "", c1, 999999},
      {"-2147483648 / -1", nullptr, INT_MIN, 0, "", nullptr, 0},
      {"-2147483648 % -1", nullptr, 0, 0, "", nullptr, 0},
      {"99999999999", nullptr, INT_MAX, 0, "", nullptr, 0},
      {"-99999999999 - 1", nullptr, INT_MIN, 0, "", nullptr, 0},
      {"C1 = rand(-2147483648, 2147483647) * 0 + 8", nullptr, 8, 0, "", c1, 8},
      // A misspelt target stores nothing; "sys." names no character.
      {"hpp = 5", nullptr, 5, 0, "", hp, 50},
      {"sys.hp = 5", nullptr, 0, 1, "", hp, 50},
      // All 256 stage variables exist; the next index is a bounds failure.
      {"S255 = 4", nullptr, 4, 0, "", [](CodeTest& t) { return t.m_Scene->m_StageVars[255]; }, 4},
      // Bounds failures close the program in order, as every checked vector does.
      {"S256 = 4", nullptr, 0, 1, "", closes, 1},
      {"C1 = 5 *", nullptr, 0, 1, "", closes, 1},  // an operator with nothing on its right
      // An operator as an operand counts 0: "=" - 5 leaves C1 alone.
      {"C1 = - 5", nullptr, -5, 0, "", c1, 0},
  };
  for (const Row& row : rows) {
    SetUp();
    if (row.given != nullptr) row.given(*this);
    const std::int32_t value = Eval(row.text);
    EXPECT_EQ(value, row.value) << row.text;
    EXPECT_EQ(g_CodeError, row.error) << row.text;
    if (*row.box != '\0') {
      EXPECT_EQ(m_Boxes, std::vector<std::string>{SJ(row.box)}) << row.text;
    } else {
      EXPECT_TRUE(m_Boxes.empty()) << row.text;
    }
    if (row.read != nullptr) {
      EXPECT_EQ(row.read(*this), row.stored) << row.text;
    }
    TearDown();
  }
  SetUp();
}

TEST_F(CodeTest, EntryStartsTheGaugesOfWhatItChangedAndNoneAfterAnError) {
  m_Chara.m_Def.m_MaxSp = 10;
  m_Chara.m_Sp = 10;
  m_Other.m_Def.m_MaxHp = 10;
  m_Other.m_Hp = 10;
  m_Chara.SetTarget(&m_Other);
  EXPECT_EQ(EvalCode("hp = 25", m_Chara), 1);
  EXPECT_EQ(m_Chara.m_HpGauge.m_FramesLeft, 120);
  EXPECT_DOUBLE_EQ(m_Chara.m_HpGauge.m_Change, -25.0);
  EXPECT_EQ(m_Chara.m_SpGauge.m_FramesLeft, 0);
  EXPECT_EQ(EvalCode("tg.hp = 4", m_Chara), 1);
  EXPECT_EQ(m_Other.m_HpGauge.m_FramesLeft, 0) << "another's HP starts no gauge";

  m_Chara.m_HpGauge = {};
  EXPECT_EQ(EvalCode("(hp = 5) + (1 / 0)", m_Chara), 0);
  EXPECT_EQ(m_Chara.m_Hp, 5) << "the statement around the failed parenthesis still ran";
  EXPECT_EQ(m_Chara.m_HpGauge.m_FramesLeft, 0);
  EXPECT_EQ(EvalCode("", m_Chara), 1);
  EXPECT_EQ(g_CodeError, 0);
}

TEST_F(CodeTest, TheCommandRunsItsTextFromEitherCommandTable) {
  for (const auto& [set, number] : {std::pair{kCharaCommandSet, 36}, std::pair{kFlowCommandSet, 21}}) {
    SetC(1, 0);
    cFlowCommand command;
    command.m_CommandSet = set;
    command.m_CommandNumber = static_cast<std::uint8_t>(number);
    command.m_Code = "C1 = 6 * 7";
    cCommandInstance instance;
    instance.m_Command = &command;
    ExecCharaCommand(m_Chara, instance);
    EXPECT_EQ(C(1), 42) << int{set};
  }
}

TEST_F(CodeTest, RandomRangesDrawTheGeneratorsNumbersInEitherOrder) {
  GameSrand(1234);
  std::int32_t want[20];
  for (std::int32_t& w : want) w = GameRand() % 6 + 1;
  GameSrand(1234);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(Eval(i % 2 == 0 ? "C1 = rand(6, 1)" : "C1 = rand(1, 6)"), want[i]) << i;
    EXPECT_EQ(C(1), want[i]);
  }
  // The widest range is taken in 64 bits: number + the low end.
  GameSrand(99);
  const std::int32_t r = GameRand();
  GameSrand(99);
  EXPECT_EQ(Eval("rand(2147483647, -2147483648)"), INT_MIN + r);
}

// A flow may run code on every logic step: a statement of short words, a call among them, leaves
// the allocator alone once the evaluator has its room.
TEST_F(CodeTest, ShortStatementsAllocateNothing) {
  for (const std::string text : {"C1 = C2 + 3 * my.hp - pl.sp", "sys.score", "v1 = rand(1,9)", "C3 = (C3 + 1)"}) {
    Eval(text);
    cAllocationWatch watch;
    Eval(text);
    EXPECT_EQ(watch.Stop(), 0) << text;
    EXPECT_EQ(g_CodeError, 0) << text;
  }
}

TEST_F(CodeTest, HostileTextsAreBounded) {
  // Nesting far beyond any script is refused without running the stack out; a moderate one works.
  const auto nested = [](int depth) { return std::string(depth, '(') + "7" + std::string(depth, ')'); };
  EXPECT_EQ(Eval("C1 = " + nested(20)), 7);
  EXPECT_EQ(Eval("C1 = " + nested(100000)), 0);
  EXPECT_EQ(g_CodeError, 1);
  EXPECT_TRUE(m_Boxes.empty());

  // A zero byte ends the text, as it ends the writer's string.
  EXPECT_EQ(Eval(std::string("C1 = 4\0 C1 = 9", 14)), 4);
  EXPECT_EQ(C(1), 4);

  // The division message is cut to the box's line (1023 bytes), never inside a double-byte
  // character: here the last whole one ends at byte 1022.
  std::string word;
  for (int i = 0; i < 2000; ++i) word += SJ("あ");
  EXPECT_EQ(Eval(word + " 1 / 0"), 0);
  std::string want = SJ("0除算が行われました！(");
  while (want.size() + 2 <= 1023) want += SJ("あ");
  EXPECT_EQ(m_Boxes, std::vector<std::string>{want});
}

}  // namespace
