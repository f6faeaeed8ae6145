// Status conditions (kind 4), state bytes (kind 5) and states (kind 6).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/services/random.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/stage_data.h"
#include "tests/script/condition_fixture.h"

namespace {

using namespace scripttest;

// Character statuses by row.
constexpr std::uint8_t kHp = 1;
constexpr std::uint8_t kSp = 2;
constexpr std::uint8_t kZ = 6;
constexpr std::uint8_t kMark = 7;
constexpr std::uint8_t kSight = 8;
constexpr std::uint8_t kImpact = 10;
constexpr std::uint8_t kStopping = 13;
// System statuses.
constexpr std::uint8_t kTime = 0;
constexpr std::uint8_t kScrollX = 1;
constexpr std::uint8_t kScore = 3;
constexpr std::uint8_t kLives = 4;

TEST_F(ConditionTest, NarrowStatusesCompareInTheirOwnWidth) {
  m_Chara.m_Def.m_BodyImpact = 50;
  m_Chara.m_Def.m_MarkNumber = 10;
  struct Case {
    std::uint8_t status, op;
    std::int32_t value, want;
  };
  const Case cases[] = {
      {kImpact, kGt, 300, 1},       // 300 is 44 in a byte: 50 > 44
      {kImpact, kGt, 44, 1},        {kImpact, kGt, 51, 0},
      {kMark, kGt, 65536 + 5, 1},   // 16 bits: 10 > 5
      {kMark, kEq, 65536 + 10, 1},
      {kHp, kEq, 0, 1},             {kHp, kGt, 256 - 1, 0},  // a 32-bit status keeps every bit
  };
  for (const Case& c : cases) {
    cConditionDef condition = Status(kSubjectSelf, c.status, c.op, c.value);
    EXPECT_EQ(EvalStatusCondition(condition, m_Chara), c.want) << int{c.status} << " vs " << c.value;
  }
}

TEST_F(ConditionTest, PercentFormTakesHpAndSpOfTheirMaximumAndZeroOfTheOthers) {
  m_Chara.m_Def.m_MaxHp = 75;
  m_Chara.m_Def.m_MaxSp = 999999;
  m_Chara.m_Def.m_Z = 0;
  struct Case {
    std::uint8_t status;
    std::int32_t hp, sp, percent, want;
    std::uint8_t op;
  };
  const Case cases[] = {
      {kHp, 38, 0, 50, 1, kEq},          // 37.5 away from zero: 38
      {kHp, 37, 0, 50, 0, kEq},
      {kHp, 225, 0, 300, 1, kEq},        // 225 is inside the range: no cap at the maximum
      {kSp, 0, 999999, 200, 1, kEq},     // held at the top of the range
      {kSp, 0, -5, -50, 1, kLt},         // -500000 is held at 0
      {kZ, 0, 0, 80, 1, kEq},            // any other status: 0
  };
  for (const Case& c : cases) {
    m_Chara.m_Hp = c.hp;
    m_Chara.m_Sp = c.sp;
    cConditionDef condition = Status(kSubjectSelf, c.status, c.op, c.percent);
    condition.m_Percent = 1;
    EXPECT_EQ(EvalStatusCondition(condition, m_Chara), c.want) << int{c.status} << " " << c.percent << " %";
  }
}

TEST_F(ConditionTest, LeftVariableAgainstEveryRightKind) {
  g_SaveData.m_Variables[6] = 5;
  m_Scene->m_StageVars[2] = 5;
  m_Chara.m_Def.m_MaxHp = 5;
  struct Case {
    std::uint8_t leftScope, rightKind, rightOwner, rightStatus, rightScope;
    std::int16_t rightIndex;
    std::int32_t value, low, high;
    std::uint8_t percent;
    std::int32_t want, wantValue;
  };
  const Case cases[] = {
      {0, kRightConstant, 0, 0, 0, 0, 5, 0, 0, 0, 1, 5},
      {1, kRightConstant, 0, 0, 0, 0, 5, 0, 0, 0, 1, 5},
      {0, kRightRandom, 0, 0, 0, 0, 0, 5, 5, 0, 1, 5},
      {0, kRightStatus, kSubjectSelf, 3, 0, 0, 0, 0, 0, 0, 1, 5},    // 最大HP
      {0, kRightStatus, kSubjectSystem, kScore, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, kRightVariable, 0, 0, 1, 2, 0, 0, 0, 0, 1, 5},             // stage variable 2
      {0, kRightVariable, 0, 0, 2, 2, 0, 0, 0, 0, 0, 77},            // no third set of variables
      {0, kRightConstant, 0, 0, 0, 0, 5, 0, 0, 1, 0, 5},             // percent of a variable: 0
      {2, kRightConstant, 0, 0, 0, 0, 5, 0, 0, 0, 0, 5},             // no such left variable set
      {0, 4, 0, 0, 0, 0, 5, 0, 0, 0, 0, 77},                         // no such right kind
  };
  for (const Case& c : cases) {
    cConditionDef condition;
    condition.m_Kind = kConditionStatus;
    condition.m_LeftIsVariable = 1;
    condition.m_LeftVarScope = c.leftScope;
    condition.m_Number = c.leftScope == 0 ? 6 : 2;
    condition.m_Operator = kEq;
    condition.m_RightKind = c.rightKind;
    condition.m_RightSubject = c.rightOwner;
    condition.m_RightItem = c.rightStatus;
    condition.m_RightVarScope = c.rightScope;
    condition.m_RightNumber = c.rightIndex;
    condition.m_Value = c.rightKind == kRightConstant ? c.value : 77;
    condition.m_RandomLow = c.low;
    condition.m_RandomHigh = c.high;
    condition.m_Percent = c.percent;
    EXPECT_EQ(EvalStatusCondition(condition, m_Chara), c.want) << int{c.rightKind} << " " << int{c.rightScope};
    EXPECT_EQ(condition.m_Value, c.wantValue) << "written back";
  }
}

TEST_F(ConditionTest, RandomOperandsStayInsideTheRangeInEitherOrder) {
  GameSrand(7);
  cConditionDef c = Status(kSubjectSelf, kHp, kEq, 0);
  c.m_RightKind = kRightRandom;
  const std::int32_t ranges[][2] = {{3, 7}, {7, 3}, {-2, -2}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}};
  for (const auto& range : ranges) {
    c.m_RandomLow = range[0];
    c.m_RandomHigh = range[1];
    for (int i = 0; i < 50; ++i) {
      EvalStatusCondition(c, m_Chara);
      EXPECT_GE(c.m_Value, std::min(range[0], range[1]));
      EXPECT_LE(c.m_Value, std::max(range[0], range[1]));
    }
  }
}

TEST_F(ConditionTest, StatusOwnersTargetsAndTheRightStatusRules) {
  playtest::cTestChara target;
  target.Init(nullptr, 0, 0, 0);
  target.m_Hp = 9;
  target.m_Def.m_SightRange = 4;
  target.m_Def.m_Stopping = 100;
  target.m_Friction = 0;
  target.m_Operator = 0;

  // The target's HP on the left; without a target the condition fails.
  cConditionDef left = Status(kSubjectTarget, kHp, kEq, 9);
  m_Chara.SetTarget(nullptr);
  EXPECT_EQ(EvalStatusCondition(left, m_Chara), 0);
  m_Chara.SetTarget(&target);
  EXPECT_EQ(EvalStatusCondition(left, m_Chara), 1);

  // The target's sight as the right side: a player-operated owner gives it, a computer-operated
  // one fails the condition.
  cConditionDef sight = Status(kSubjectSelf, kHp, kLt, 0);
  sight.m_RightKind = kRightStatus;
  sight.m_RightSubject = kSubjectTarget;
  sight.m_RightItem = kSight;
  EXPECT_EQ(EvalStatusCondition(sight, m_Chara), 1);
  EXPECT_EQ(sight.m_Value, 4);
  target.m_Operator = 1;
  EXPECT_EQ(EvalStatusCondition(sight, m_Chara), 0);

  // Reading the stopping value refreshes the owner's friction.
  cConditionDef stop = sight;
  stop.m_RightItem = kStopping;
  EXPECT_EQ(EvalStatusCondition(stop, m_Chara), 1);
  EXPECT_EQ(stop.m_Value, 100);
  EXPECT_EQ(target.m_Friction, PercentPerStep(100));
  m_Chara.SetTarget(nullptr);
  EXPECT_EQ(EvalStatusCondition(stop, m_Chara), 0);
}

TEST_F(ConditionTest, SystemStatusesOnEitherSide) {
  m_Scene->m_TimeLeft = 120;
  g_ScrollSpeedX = -30;
  g_SaveData.m_Score = 500;
  struct Case {
    std::int32_t noLimit, lives;
    std::uint8_t status, op;
    std::int32_t value, want;
  };
  const Case cases[] = {
      {0, 3, kTime, kEq, 120, 1},
      {1, 3, kTime, kEq, 120, 1},  // compared even without a time limit
      {0, 3, kScrollX, kLt, 0, 1},
      {0, 3, kScore, kGe, 500, 1},
      {0, 3, kLives, kEq, 3, 1},
      {0, kUnlimitedLives, kLives, kGe, 0, 0},  // unlimited lives are no number
      {0, 3, 5, kEq, 0, 0},                    // no such system status
  };
  for (const Case& c : cases) {
    m_Scene->m_NoTimeLimit = c.noLimit;
    g_SaveData.m_Lives = c.lives;
    cConditionDef condition = Status(kSubjectSystem, c.status, c.op, c.value);
    EXPECT_EQ(EvalStatusCondition(condition, m_Chara), c.want) << int{c.status};
  }
  // As right sides: the time of a stage without a limit and unlimited lives count 0.
  cConditionDef right = Status(kSubjectSelf, kHp, kEq, -1);
  right.m_RightKind = kRightStatus;
  right.m_RightSubject = kSubjectSystem;
  right.m_RightItem = kTime;
  m_Scene->m_NoTimeLimit = 1;
  EXPECT_EQ(EvalStatusCondition(right, m_Chara), 1);
  EXPECT_EQ(right.m_Value, 0);
  m_Scene->m_NoTimeLimit = 0;
  EvalStatusCondition(right, m_Chara);
  EXPECT_EQ(right.m_Value, 120);
  right.m_RightItem = kLives;
  g_SaveData.m_Lives = kUnlimitedLives;
  EXPECT_EQ(EvalStatusCondition(right, m_Chara), 1);
  EXPECT_EQ(right.m_Value, 0);
  g_ScrollSpeedX = 0;
}

TEST_F(ConditionTest, UnknownOwnersStatusesAndLeftKindsFail) {
  const cConditionDef cases[] = {
      Status(3, kHp, kEq, 0),              // no such owner
      Status(kSubjectSelf, 15, kEq, 0),    // no such status
      Status(kSubjectSelf, 255, kEq, 0),
      Status(kSubjectSelf, kHp, 6, 0),     // no such operator
  };
  for (cConditionDef c : cases) EXPECT_EQ(EvalStatusCondition(c, m_Chara), 0) << int{c.m_Subject} << int{c.m_Item};
  cConditionDef leftKind = Status(kSubjectSelf, kHp, kEq, 0);
  leftKind.m_LeftIsVariable = 2;
  EXPECT_EQ(EvalStatusCondition(leftKind, m_Chara), 0);
}

TEST_F(ConditionTest, StateBytesAndAutoScrollSwitches) {
  m_Chara.m_Def.m_Transparent = 200;  // kept unsigned
  m_Chara.m_Def.m_Flight = 200;       // kept signed: -56
  m_Chara.m_Def.m_Invincible = 2;
  m_Scene->m_ScrollY.m_AutoOn = 1;
  struct Case {
    std::uint8_t owner, flag, op;
    std::int16_t value;
    std::int32_t want;
  };
  const Case cases[] = {
      {kSubjectSelf, 1, kEq, 200, 1},   {kSubjectSelf, 3, kEq, 200, 0},  {kSubjectSelf, 3, kEq, -56, 1},
      {kSubjectSelf, 4, kGe, 2, 1},     {kSubjectSelf, 0, kEq, 0, 0},    {kSubjectSelf, 7, kEq, 0, 0},
      {kSubjectSystem, 0, kEq, 0, 1},   {kSubjectSystem, 1, kEq, 1, 1},  {kSubjectSystem, 2, kEq, 0, 0},
      {kSubjectTarget, 4, kEq, 0, 0},   // no target
      {3, 1, kEq, 200, 0},
  };
  m_Chara.SetTarget(nullptr);
  for (const Case& c : cases) {
    cConditionDef condition;
    condition.m_Kind = kConditionState;
    condition.m_Subject = c.owner;
    condition.m_Item = c.flag;
    condition.m_Operator = c.op;
    condition.m_Number = c.value;
    EXPECT_EQ(CheckCondition(condition, m_Chara), c.want) << int{c.owner} << " flag " << int{c.flag};
  }
}

TEST_F(ConditionTest, FacingStandingAndOnScreen) {
  struct Case {
    std::int32_t direction, flying, j2, j3, onBlock, onScreen;
    std::uint8_t state, op;
    std::int32_t want;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 0, 1, 0, 1},
      {1, 0, 0, 0, 0, 0, 0, 1, 1},  // negated
      {1, 0, 0, 0, 0, 0, 0, 2, 0},  // no such operator
      {0, 0, 0, 0, 0, 0, 2, 0, 1}, {0, 0, 1, 0, 0, 0, 2, 0, 0}, {0, 0, 0, 1, 0, 0, 2, 0, 0},
      {0, 0, 1, 1, 1, 0, 2, 0, 1},  // on a block character
      {0, 1, 0, 0, 1, 0, 2, 0, 0},  // flying
      {0, 0, 0, 0, 0, 1, 3, 0, 1}, {0, 0, 0, 0, 0, 0, 3, 0, 0}, {0, 0, 0, 0, 0, 0, 4, 0, 0},
  };
  for (const Case& c : cases) {
    m_Chara.m_Direction = c.direction;
    m_Chara.m_Flying = c.flying;
    m_Chara.m_J2 = c.j2;
    m_Chara.m_J3 = c.j3;
    m_Chara.m_OnBlockChara = c.onBlock;
    m_Chara.m_OnScreen = c.onScreen;
    cConditionDef condition;
    condition.m_Kind = kConditionPosture;
    condition.m_Item = c.state;
    condition.m_Operator = c.op;
    EXPECT_EQ(CheckCondition(condition, m_Chara), c.want) << "state " << int{c.state} << " op " << int{c.op};
  }
  // A hero is on screen by the screen test, whatever its flag says.
  playtest::cTestChara hero;
  Place(hero, m_Scene->m_ScrollX.m_Pos + 100, m_Scene->m_ScrollY.m_Pos + 100);
  hero.m_Operator = 0;
  hero.m_OnScreen = 0;
  cConditionDef onScreen;
  onScreen.m_Kind = kConditionPosture;
  onScreen.m_Item = 3;
  EXPECT_EQ(CheckCondition(onScreen, hero), 1);
  hero.m_X1 = hero.m_X2 = m_Scene->m_ScrollX.m_Pos + 2000;
  EXPECT_EQ(CheckCondition(onScreen, hero), 0);
}

}  // namespace
