// Condition lists and their latches, the variable kinds, the comparison and the percentage.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>

#include "play/item.h"
#include "play/play_scene.h"
#include "project/map_cell.h"
#include "tests/script/condition_fixture.h"

namespace {

using namespace scripttest;

TEST(CompareByOpTest, EveryOperatorAndTheOnesOutsideTheTable) {
  struct Case {
    std::int32_t a, b, op, want;
  };
  const Case cases[] = {
      {3, 3, 0, 1},  {3, 4, 0, 0},  {3, 4, 1, 1},  {3, 3, 1, 0},  {4, 3, 2, 1},  {3, 3, 2, 1},
      {2, 3, 2, 0},  {3, 4, 3, 1},  {3, 3, 3, 1},  {4, 3, 3, 0},  {4, 3, 4, 1},  {3, 3, 4, 0},
      {3, 4, 5, 1},  {3, 3, 5, 0},  {-1, 0, 5, 1}, {INT_MIN, INT_MAX, 5, 1},
      {3, 3, 6, 0},  {3, 4, 6, 0},  {3, 3, -1, 0}, {3, 3, 255, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareByOp(c.a, c.b, c.op), c.want) << c.a << " " << c.op << " " << c.b;
}

TEST(CompareByOpTest, NarrowFormsCompareTheLowBitsAsSignedValues) {
  // 300 is 44 in a byte; 200 is -56; 70000 is 4464 in 16 bits; 40000 is -25536.
  EXPECT_EQ(CompareByOpByte(50, 300, kGt), 1);
  EXPECT_EQ(CompareByOp(50, 300, kGt), 0);
  EXPECT_EQ(CompareByOpByte(-56, 200, kEq), 1);
  EXPECT_EQ(CompareByOpByte(0, 200, kGt), 1);
  EXPECT_EQ(CompareByOpByte(1, 2, 6), 0);
  EXPECT_EQ(CompareByOp16(4464, 70000, kEq), 1);
  EXPECT_EQ(CompareByOp16(0, 40000, kGt), 1);
  EXPECT_EQ(CompareByOp16(1, 2, 9), 0);
}

TEST(PercentOfRoundedTest, HalvesGoAwayFromZeroAndNoProductOverflows) {
  struct Case {
    std::int32_t a, p, want;
  };
  const Case cases[] = {
      {75, 50, 38},   {-75, 50, -38},     {75, -50, -38},          {75, 49, 37},  {1, 50, 1},
      {1, 49, 0},     {-1, 50, -1},       {0, 77, 0},              {200, 100, 200},
      {999999, 5000, 49999950},  // the product is beyond 32 bits
      {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MAX, INT_MIN},  // held at the 32-bit ends
  };
  for (const Case& c : cases) EXPECT_EQ(PercentOfRounded(c.a, c.p), c.want) << c.a << " x " << c.p;
}

TEST_F(ConditionTest, ListModes) {
  g_SaveData.m_Variables[1] = 5;
  CheckedVector<cConditionDef> none;
  CheckedVector<cConditionDef> oneHolds = {CommonVar(1, kEq, 4), CommonVar(1, kEq, 5)};
  CheckedVector<cConditionDef> noneHolds = {CommonVar(1, kEq, 4), CommonVar(1, kLt, 5)};
  struct Case {
    CheckedVector<cConditionDef>* list;
    std::int32_t mode, want;
  };
  const Case cases[] = {
      {&none, 0, 1},      {&none, 1, 0},     {&none, 2, 0},     {&oneHolds, 0, 0}, {&oneHolds, 1, 1},
      {&noneHolds, 1, 0}, {&noneHolds, 0, 0}, {&oneHolds, 2, 0}, {&oneHolds, -1, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckConditionList(*c.list, c.mode, m_Chara), c.want) << c.list->size() << " mode " << c.mode;
}

TEST_F(ConditionTest, AllModeStopsAtTheFirstConditionThatFails) {
  // A random right side is written back into the value, so the second condition shows whether it
  // was evaluated.
  cConditionDef random = Status(kSubjectSelf, 1, kGe, -1);
  random.m_RightKind = kRightRandom;
  random.m_RandomLow = random.m_RandomHigh = 9;
  CheckedVector<cConditionDef> list = {CommonVar(1, kEq, 1), random};
  EXPECT_EQ(CheckConditionList(list, 0, m_Chara), 0);
  EXPECT_EQ(list[1].m_Value, -1);
  g_SaveData.m_Variables[1] = 1;
  EXPECT_EQ(CheckConditionList(list, 0, m_Chara), 0);  // HP 0 >= 9 fails
  EXPECT_EQ(list[1].m_Value, 9);
}

TEST_F(ConditionTest, EveryOwnerHoldsAnEmptyListAndLatchesOnlyWhenItKeepsItsConditions) {
  cMapCell cell;
  cItem item;
  cFlow flow;
  cFlowRunner runner;
  runner.m_Flow = &flow;
  m_Scene->m_Heroes.assign(1, &m_Chara);
  struct Owner {
    const char* name;
    CheckedVector<cConditionDef>* list;
    std::uint8_t* mode;
    std::uint8_t* keep;
    std::function<std::int32_t()> check;
  };
  const Owner owners[] = {
      {"cell", &cell.m_Conditions, &cell.m_ConditionMode, &cell.m_KeepOnceMet, [&] { return script::CheckCellConditions(cell); }},
      {"chara", &m_Chara.m_Def.m_Conditions, &m_Chara.m_Def.m_ConditionMode, &m_Chara.m_Def.m_KeepOnceMet,
       [&] { return script::CheckCharaConditions(m_Chara); }},
      {"item", &item.m_Def.m_Conditions, &item.m_Def.m_ConditionMode, &item.m_Def.m_KeepOnceMet,
       [&] { return script::CheckItemConditions(item); }},
      {"flow", &flow.m_Conditions, &flow.m_ConditionMode, &flow.m_KeepOnceMet,
       [&] { return CheckFlowConditions(runner, m_Chara); }},
  };
  for (const Owner& o : owners) {
    for (std::uint8_t mode : {0, 1}) {
      o.list->clear();
      *o.mode = mode;
      EXPECT_EQ(o.check(), 1) << o.name << " empty, mode " << int{mode};
    }
    for (std::uint8_t keep : {0, 1}) {
      cell.m_ConditionLatch = 0;
      item.m_AppearanceLatched = m_Chara.m_AppearanceLatched = runner.m_ConditionsLatched = 0;
      *o.list = {CommonVar(2, kEq, 1)};
      *o.mode = 0;
      *o.keep = keep;
      g_SaveData.m_Variables[2] = 0;
      EXPECT_EQ(o.check(), 0) << o.name;
      g_SaveData.m_Variables[2] = 1;
      EXPECT_EQ(o.check(), 1) << o.name;
      g_SaveData.m_Variables[2] = 0;
      EXPECT_EQ(o.check(), keep) << o.name << " after the conditions held once, keep " << int{keep};
    }
  }
}

TEST_F(ConditionTest, ARunnerWithoutItsFlowStartsNothing) {
  cFlowRunner runner;
  EXPECT_EQ(CheckFlowConditions(runner, m_Chara), 0);
}

TEST_F(ConditionTest, CellsAndItemsAreTestedOnHeroZero) {
  // A character variable of hero 0 decides; without a hero only the variable kinds can hold.
  playtest::cTestChara hero;
  hero.Init(nullptr, 0, 0, 0);
  hero.m_Vars[3] = 7;
  cConditionDef own;
  own.m_Kind = kConditionCharaVar;
  own.m_Number = 3;
  own.m_Value = 7;
  cMapCell cell;
  cell.m_Conditions = {own};
  cItem item;
  item.m_Def.m_Conditions = {own};
  EXPECT_EQ(script::CheckCellConditions(cell), 0);
  EXPECT_EQ(script::CheckItemConditions(item), 0);
  m_Scene->m_Heroes.assign(1, &hero);
  EXPECT_EQ(script::CheckCellConditions(cell), 1);
  EXPECT_EQ(script::CheckItemConditions(item), 1);
  cell.m_Conditions = {CommonVar(0, kEq, 0)};
  m_Scene->m_Heroes.clear();
  EXPECT_EQ(script::CheckCellConditions(cell), 1);
}

TEST_F(ConditionTest, VariableKindsAndKindsOutsideTheTable) {
  g_SaveData.m_Variables[10] = -3;
  m_Scene->m_StageVars[4] = 12;
  m_Chara.m_Vars[8] = 1000000;
  struct Case {
    std::uint8_t kind;
    std::int16_t index;
    std::uint8_t op;
    std::int32_t value, want;
  };
  const Case cases[] = {
      {kConditionCommonVar, 10, kEq, -3, 1},  {kConditionCommonVar, 10, kLt, -4, 0},
      {kConditionStageVar, 4, kGe, 12, 1},    {kConditionStageVar, 4, kNe, 12, 0},
      {kConditionCharaVar, 8, kGt, 999999, 1}, {kConditionCharaVar, 8, 7, 0, 0},
      {kConditionNone, 0, kEq, 0, 0},         {8, 0, kEq, 0, 0},  {255, 0, kEq, 0, 0},
  };
  for (const Case& c : cases) {
    cConditionDef condition = CommonVar(c.index, c.op, c.value);
    condition.m_Kind = c.kind;
    EXPECT_EQ(CheckCondition(condition, m_Chara), c.want) << int{c.kind} << " " << c.index;
  }
}

TEST_F(ConditionTest, VariablesThatWereNeverMadeFail) {
  cConditionDef stage = CommonVar(0, kEq, 0);
  stage.m_Kind = kConditionStageVar;
  m_Scene->m_StageVars.clear();
  EXPECT_EQ(CheckCondition(stage, m_Chara), 0);
  g_SaveData.m_Variables.clear();
  cConditionDef common = CommonVar(0, kEq, 0);
  EXPECT_EQ(CheckCondition(common, m_Chara), 0);
  playtest::cTestChara bare;  // never set up: no character variables
  cConditionDef own = CommonVar(1, kEq, 0);
  own.m_Kind = kConditionCharaVar;
  EXPECT_EQ(CheckCondition(own, bare), 0);
}

}  // namespace
