// The status commands: the arithmetic and its bounds, the statuses of characters and of the system,
// the variables, the operands, and the states of the second command.
#include "script/status_operations.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>

#include "platform/services/random.h"
#include "play/chara.h"
#include "play/hero.h"
#include "project/command_vocabulary.h"
#include "project/save_data.h"
#include "script/apply_operation.h"
#include "script/status_values.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

using playtest::StageObjectsTest;

// Parameters of ステータスの操作 by index.
constexpr int kWhat = 0, kScope = 1, kIndex = 2, kOwner = 3, kStatus = 4, kOp = 5, kKind = 6, kConstant = 7,
              kRandomA = 8, kRandomB = 9, kOperandScope = 10, kOperandIndex = 11, kOperandOwner = 12,
              kOperandStatus = 13, kPercent = 14, kGauge = 15, kSpareInvincible = 17;
constexpr std::int32_t kSet = 0, kAdd = 1, kSub = 2, kMul = 3, kDiv = 4, kRem = 5, kPct = 6;
constexpr std::int32_t kSelf = 0, kTarget = 1, kSystem = 2;

class StatusOperationTest : public StageObjectsTest {
 protected:
  void SetUp() override {
    StageObjectsTest::SetUp();
    g_SaveData.m_Variables.assign(kCommonVarCount, 0);
    g_SaveData.m_Score = 0;
    g_SaveData.m_Lives = 3;
    m_Scene->m_StageVars.assign(kStageVarCount, 0);
    m_Hero = &PlaceHero(5, 5);
    cCharaDef def = CharaDef();
    def.m_MaxHp = 100;
    m_Chara.Setup(1, def, nullptr, 600, 600, 0);
  }

  void TearDown() override {
    g_SaveData.m_Variables.clear();
    m_Chara.SetTarget(nullptr);
    StageObjectsTest::TearDown();
  }

  // ステータスの操作 changing status of owner by op with a constant.
  static cFlowCommand Operation(std::int32_t owner, std::int32_t status, std::int32_t op, std::int32_t operand) {
    cFlowCommand c;
    c.m_CommandSet = kCharaCommandSet;
    c.m_CommandNumber = kCharaStatus;
    c.m_Params.assign(18, 0);
    c.m_Params[kOwner] = owner;
    c.m_Params[kStatus] = status;
    c.m_Params[kOp] = op;
    c.m_Params[kConstant] = operand;
    return c;
  }
  // The same on variable index of scope (0 common, 1 stage).
  static cFlowCommand OnVariable(std::int32_t scope, std::int32_t index, std::int32_t op, std::int32_t operand) {
    cFlowCommand c = Operation(kSelf, 0, op, operand);
    c.m_Params[kWhat] = 1;
    c.m_Params[kScope] = scope;
    c.m_Params[kIndex] = index;
    return c;
  }
  // ステータスの操作2.
  static cFlowCommand State(std::int32_t owner, std::int32_t which, std::int32_t value) {
    cFlowCommand c;
    c.m_CommandSet = kCharaCommandSet;
    c.m_CommandNumber = kCharaStatus2;
    c.m_Params = {owner, which, value};
    return c;
  }

  cHero* m_Hero = nullptr;
  cChara m_Chara;
};

TEST(ApplyOperation, WorksInSixtyFourBitsAndClampsInTheValuesWidth) {
  struct Case {
    std::int32_t value, operand, op, want;
  };
  const Case wide[] = {
      {999999, 3000, kMul, 999999},    // the 32-bit product would wrap negative: still the maximum
      {65536, 65536, kMul, 999999},    // the 32-bit product would be 0
      {-999999, 3000, kMul, -999999},  // opposite signs saturate at the minimum
      {7, 0, kDiv, 7},                 // ÷0 and its remainder change nothing
      {7, 0, kRem, 7},
      {-7, 2, kDiv, -3},   // truncating
      {-7, 3, kRem, -1},   // the value's sign
      {7, 150, kPct, 11},  // 10.5 away from zero
      {-7, 150, kPct, -11},
      {5, -999999, kSub, 999999},
      {1234567, 0, 9, 999999},  // another operation only clamps
  };
  for (const Case& c : wide) {
    std::int32_t v = c.value;
    ApplyOperation(v, c.operand, c.op, -999999, 999999);
    EXPECT_EQ(v, c.want) << c.value << " op " << c.op << " " << c.operand;
  }
  std::int32_t v = INT_MIN;
  ApplyOperation(v, -1, kDiv, INT_MIN, INT_MAX);
  EXPECT_EQ(v, INT_MAX) << "no trap, the quotient saturates";
  v = INT_MIN;
  ApplyOperation(v, -1, kRem, INT_MIN, INT_MAX);
  EXPECT_EQ(v, 0);

  std::int8_t byte = 50;
  ApplyOperation(byte, 200, kAdd, 0, 99);
  EXPECT_EQ(byte, 99) << "the whole operand: 200, not -56";
  byte = 20;
  ApplyOperation(byte, 20, kMul, 0, 20);
  EXPECT_EQ(byte, 20) << "400 does not wrap in a byte";
  std::int16_t word = 100;
  ApplyOperation(word, 1000, kMul, 0, 119);
  EXPECT_EQ(word, 119);
}

TEST_F(StatusOperationTest, VariablesOfBothScopes) {
  for (std::int32_t scope : {0, 1}) {
    auto var = [scope]() -> std::int32_t {
      return scope == 0 ? static_cast<std::int32_t>(g_SaveData.m_Variables[4]) : g_PlayScene->m_StageVars[4];
    };
    ExecStatusOperation(m_Chara, OnVariable(scope, 4, kSet, 999999));
    ExecStatusOperation(m_Chara, OnVariable(scope, 4, kMul, 3000));
    EXPECT_EQ(var(), 999999) << scope;
    ExecStatusOperation(m_Chara, OnVariable(scope, 4, kSub, 2999999));
    EXPECT_EQ(var(), -999999) << scope;
    ExecStatusOperation(m_Chara, OnVariable(scope, 4, kSet, 40));
    cFlowCommand percent = OnVariable(scope, 4, kAdd, 50);
    percent.m_Params[kPercent] = 1;
    ExecStatusOperation(m_Chara, percent);
    EXPECT_EQ(var(), 60) << "half of the current value added";
  }
  // An index outside the variables is reported and writes nowhere.
  const std::int32_t first = m_Scene->m_StageVars[0];
  ExecStatusOperation(m_Chara, OnVariable(1, 5000, kSet, 77));
  EXPECT_EQ(m_Scene->m_StageVars[0], first);
}

TEST_F(StatusOperationTest, CharacterStatusesInTheirWidthsAndRanges) {
  struct Case {
    std::int32_t status, start, op, operand, percent, want;
  };
  const Case cases[] = {
      {5, 50, kAdd, 200, 0, 99},          // キャラID, a byte
      {6, 3, kSet, 9, 0, 7},              // Z座標 0..7
      {7, 100, kMul, 1000, 0, 119},       // マーク番号, 16 bits
      {9, 999999, kMul, -1, 0, -999999},  // 体当たりの威力 may be negative
      {10, 0, kSub, 100, 0, -20},         // 体当たりの衝撃
      {11, 40, kAdd, 50, 1, 60},          // 防御力 plus half of itself
      {12, 5, kDiv, 0, 0, 5},             // 衝撃耐性 ÷0
      {13, 10, kSet, 150, 0, 150},        // 止まりやすさ
      {14, 7, kPct, 50, 0, 4},            // 獲得スコア 3.5 away from zero
      {3, 100, kSet, 40, 0, 40},          // 最大HP lowers HP too (below)
  };
  for (const Case& c : cases) {
    cFlowCommand set = Operation(kSelf, c.status, kSet, c.start);
    ExecStatusOperation(m_Chara, set);
    cFlowCommand op = Operation(kSelf, c.status, c.op, c.operand);
    op.m_Params[kPercent] = c.percent;
    ExecStatusOperation(m_Chara, op);
    EXPECT_EQ(CharaStatusReaders[static_cast<std::size_t>(c.status)].read(m_Chara, 0).value_or(INT_MIN), c.want)
        << "status " << c.status;
  }
  EXPECT_EQ(m_Chara.m_Hp, 40) << "HP follows its lowered maximum";
  EXPECT_DOUBLE_EQ(m_Chara.m_Friction, PercentPerStep(150)) << "the friction follows the stopping value";
  // A character variable by its index; an unknown status does nothing.
  cFlowCommand variable = Operation(kSelf, 0, kAdd, 7);
  variable.m_Params[kIndex] = 3;
  ExecStatusOperation(m_Chara, variable);
  EXPECT_EQ(m_Chara.m_Vars[3], 7);
  ExecStatusOperation(m_Chara, Operation(kSelf, 15, kSet, 1));
  ExecStatusOperation(m_Chara, Operation(kSelf, -1, kSet, 1));
  // Sight is a hero's: a computer character's stays as it is.
  ExecStatusOperation(m_Chara, Operation(kSelf, 8, kSet, 5));
  EXPECT_EQ(m_Chara.m_Def.m_SightRange, 0);
  ExecStatusOperation(*m_Hero, Operation(kSelf, 8, kSet, 50));
  EXPECT_EQ(m_Hero->m_Def.m_SightRange, 40);
  EXPECT_EQ(m_Hero->m_Sight, 40 * 16) << "the light radius in dots";
}

TEST_F(StatusOperationTest, HpAndSpThroughTheirGaugesAndTheDeathCheck) {
  struct Case {
    std::int32_t hp, op, operand, gaugeMode, invincible, spare, want;
  };
  const Case cases[] = {
      {30, kSub, 50, 1, 0, 0, 0},     // 50 % of the maximum 100, 30 - 50 held at 0
      {30, kAdd, 50, 2, 0, 0, 45},    // half of the current value
      {30, kSet, 500, 0, 0, 0, 100},  // no more than the maximum
      {30, kSub, 10, 0, 2, 0, 20},    // invincibility does not stop the command
      {30, kSub, 10, 0, 2, 1, 30},    // unless it spares invincible characters
      {30, kMul, 65536, 0, 0, 0, 100},
  };
  for (const Case& c : cases) {
    m_Chara.m_Hp = c.hp;
    m_Chara.m_Def.m_Invincible = static_cast<std::uint8_t>(c.invincible);
    cFlowCommand op = Operation(kSelf, 1, c.op, c.operand);
    op.m_Params[kGauge] = c.gaugeMode;
    op.m_Params[kSpareInvincible] = c.spare;
    ExecStatusOperation(m_Chara, op);
    EXPECT_EQ(m_Chara.m_Hp, c.want) << c.hp << " op " << c.op << " " << c.operand;
  }
  EXPECT_EQ(m_Scene->m_StatusChanged, 0) << "the character's own HP: its flow step sees it";

  m_Chara.m_Def.m_MaxSp = 20;
  m_Chara.m_Sp = 5;
  ExecStatusOperation(m_Chara, Operation(kSelf, 2, kAdd, 100));
  EXPECT_EQ(m_Chara.m_Sp, 20);

  // The hero empties its target's HP: the stage step is asked to look for deaths.
  m_Chara.m_Def.m_Invincible = 0;
  m_Hero->SetTarget(&m_Chara);
  ExecStatusOperation(*m_Hero, Operation(kTarget, 1, kSet, 0));
  EXPECT_EQ(m_Chara.m_Hp, 0);
  EXPECT_EQ(m_Scene->m_StatusChanged, 1);
  m_Hero->SetTarget(nullptr);
}

TEST_F(StatusOperationTest, OperandsByKind) {
  // A random range given high first draws from low..high, every value of it.
  cFlowCommand random = OnVariable(1, 1, kSet, 0);
  random.m_Params[kKind] = 1;
  random.m_Params[kRandomA] = 10;
  random.m_Params[kRandomB] = 5;
  GameSrand(1);
  std::set<std::int32_t> drawn;
  for (int i = 0; i < 300; ++i) {
    ExecStatusOperation(m_Chara, random);
    drawn.insert(m_Scene->m_StageVars[1]);
  }
  EXPECT_EQ(drawn, (std::set<std::int32_t>{5, 6, 7, 8, 9, 10}));

  // Another status: the target's HP; unlimited lives count 0; a computer character's sight is not
  // offered, nor is a target the character does not have.
  cFlowCommand status = OnVariable(1, 2, kSet, 0);
  status.m_Params[kKind] = 2;
  struct Case {
    std::int32_t owner, row, want;
  };
  m_Hero->m_Hp = 3;
  g_SaveData.m_Lives = kUnlimitedLives;
  const Case cases[] = {{kTarget, 1, 3}, {kSystem, 4, 0}, {kSelf, 8, -1}, {kSystem, 9, -1}};
  for (const Case& c : cases) {
    m_Scene->m_StageVars[2] = -1;
    status.m_Params[kOperandOwner] = c.owner;
    status.m_Params[kOperandStatus] = c.row;
    ExecStatusOperation(m_Chara, status);
    EXPECT_EQ(m_Scene->m_StageVars[2], c.want) << c.owner << " " << c.row;
  }
  m_Chara.SetTarget(nullptr);
  m_Scene->m_StageVars[2] = -1;
  status.m_Params[kOperandOwner] = kTarget;
  status.m_Params[kOperandStatus] = 1;
  ExecStatusOperation(m_Chara, status);
  EXPECT_EQ(m_Scene->m_StageVars[2], -1) << "no target, no change";

  // A variable.
  g_SaveData.m_Variables[9] = 12;
  cFlowCommand variable = OnVariable(1, 3, kSet, 0);
  variable.m_Params[kKind] = 3;
  variable.m_Params[kOperandScope] = 0;
  variable.m_Params[kOperandIndex] = 9;
  ExecStatusOperation(m_Chara, variable);
  EXPECT_EQ(m_Scene->m_StageVars[3], 12);
}

TEST_F(StatusOperationTest, SystemStatuses) {
  // Unlimited lives are never changed; counted lives stay within 0..99.
  g_SaveData.m_Lives = kUnlimitedLives;
  ExecStatusOperation(m_Chara, Operation(kSystem, 4, kSub, 1));
  EXPECT_EQ(g_SaveData.m_Lives, kUnlimitedLives);
  g_SaveData.m_Lives = 3;
  ExecStatusOperation(m_Chara, Operation(kSystem, 4, kAdd, 200));
  EXPECT_EQ(g_SaveData.m_Lives, 99);
  g_SaveData.m_Score = 999990;
  ExecStatusOperation(m_Chara, Operation(kSystem, 3, kAdd, 100));
  EXPECT_EQ(g_SaveData.m_Score, 999999);
  m_Scene->m_TimeLeft = 100;
  cFlowCommand time = Operation(kSystem, 0, kAdd, 50);
  time.m_Params[kPercent] = 1;
  ExecStatusOperation(m_Chara, time);
  EXPECT_EQ(m_Scene->m_TimeLeft, 150);

  // A new scroll speed is held at 480 and reaches a scrolling axis at once; an axis that does not
  // scroll stays still.
  m_Scene->m_ScrollX.SetAutoScroll(1, 10);
  m_Scene->m_ScrollY.SetAutoScroll(0, 0);
  ExecStatusOperation(m_Chara, Operation(kSystem, 1, kSet, 600));
  ExecStatusOperation(m_Chara, Operation(kSystem, 2, kSet, -30));
  EXPECT_EQ(g_ScrollSpeedX, 480);
  EXPECT_DOUBLE_EQ(m_Scene->m_ScrollX.m_AutoSpeed, 480 * 0.1 / g_StepsPerFrameF);
  EXPECT_EQ(g_ScrollSpeedY, -30);
  EXPECT_EQ(m_Scene->m_ScrollY.m_AutoSpeed, 0.0);
  // ステータスの操作2 switches the vertical axis on with that speed.
  DoStatusOperation2(m_Chara, State(kSystem, 1, 1));
  EXPECT_EQ(m_Scene->m_ScrollY.m_AutoOn, 1);
  EXPECT_DOUBLE_EQ(m_Scene->m_ScrollY.m_AutoSpeed, -30 * 0.1 / g_StepsPerFrameF);
  g_ScrollSpeedX = g_ScrollSpeedY = 0;
}

TEST_F(StatusOperationTest, StatesOfTheSecondCommand) {
  // Flight is the hero's alone.
  const std::int32_t flying = m_Chara.m_Flying;
  DoStatusOperation2(m_Chara, State(kSelf, 3, 2));
  EXPECT_EQ(m_Chara.m_Flying, flying);
  EXPECT_EQ(m_Chara.m_Def.m_Flight, 0);
  DoStatusOperation2(m_Chara, State(kTarget, 3, 2));
  EXPECT_EQ(m_Hero->m_Flying, 1);
  DoStatusOperation2(*m_Hero, State(kSelf, 3, 7));
  EXPECT_EQ(m_Hero->m_Def.m_Flight, 2) << "no such flight mode";

  // The plain state bytes.
  DoStatusOperation2(m_Chara, State(kSelf, 1, 1));
  DoStatusOperation2(m_Chara, State(kSelf, 2, 0));
  DoStatusOperation2(m_Chara, State(kSelf, 4, 2));
  DoStatusOperation2(m_Chara, State(kSelf, 6, 1));
  EXPECT_EQ(m_Chara.m_Def.m_Transparent, 1);
  EXPECT_EQ(m_Chara.m_Def.m_FixedFacing, 0);
  EXPECT_EQ(m_Chara.m_Def.m_Invincible, 2);
  EXPECT_EQ(m_Chara.m_Def.m_ScrollSync, 1);
  EXPECT_EQ(m_Chara.m_FollowsScroll, 1);

  // Size: the boxes grow by the scale; a scale outside 1..10 changes nothing.
  const std::int32_t width = m_Hero->m_Width;
  DoStatusOperation2(*m_Hero, State(kSelf, 5, 2));
  EXPECT_EQ(m_Hero->m_Width, 2 * width);
  EXPECT_EQ(m_Hero->m_Def.m_Enlargement, 2);
  DoStatusOperation2(*m_Hero, State(kSelf, 5, 0));
  EXPECT_EQ(m_Hero->m_Width, 2 * width);
  for (const cBoxOverlayRec& rec : m_Hero->m_Overlay)
    if (rec.m_Kind == kOverlayHit) {
      EXPECT_EQ(rec.m_Width, 2 * width) << "the overlay shows the grown box";
    }

  // Vanishing: the character itself goes at the end of its step; the hero made to vanish by another
  // loses its HP and the stage step looks for the death.
  DoStatusOperation2(m_Chara, State(kSelf, 0, 1));
  EXPECT_EQ(m_Chara.m_RemovalMark, 1);
  EXPECT_EQ(m_Scene->m_StatusChanged, 0);
  DoStatusOperation2(m_Chara, State(kTarget, 0, 1));
  EXPECT_EQ(m_Hero->m_Hp, 0);
  EXPECT_EQ(m_Scene->m_StatusChanged, 1);
}

}  // namespace
