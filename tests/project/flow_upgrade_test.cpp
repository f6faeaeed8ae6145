// Flows and commands of older files: the trigger renumberings of flows, the parameter upgrades of
// commands in order of version, and the move and shot changes made from the command's side.
#include "tests/project/flow_fixture.h"
#include "tests/project/move_shot_samples.h"

namespace flowtest {
namespace {

using Params = std::vector<std::int32_t>;

Params ParamsOf(const cFlowCommand& c) { return Params(c.m_Params.begin(), c.m_Params.end()); }

struct ParamUpgradeCase {
  const char* name;
  std::uint32_t version;
  std::uint8_t set;
  std::uint8_t number;
  Params stored;
  Params expected;
};

TEST_F(FlowTest, CommandParametersAreUpgradedInOrderOfVersion) {
  const ParamUpgradeCase cases[] = {
      {"544 メッセージ at a screen point: every message row from 545 on",
       544,
       0,
       19,
       {7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
       {7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 0, 0, 0, 1, 0, 1}},
      {"544 メッセージ above the character is not screen-fixed",
       544,
       0,
       19,
       {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
       {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 0, 1, 0, 1}},
      {"544 flow メッセージ the same", 544, 1, 4, {0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}},
      {"555 メッセージ gets its last flag only",
       555,
       0,
       19,
       {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0},
       {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}},
      {"556 メッセージ is left alone",
       556,
       0,
       19,
       {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0},
       {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}},
      {"188 ターゲットの設定: 0 inserted at 2",
       188,
       0,
       21,
       {5, 6, 7, 8, 9, 1, 2, 3, 4},
       {5, 6, 0, 7, 8, 9, 1, 2, 3, 4}},
      {"188 flow ターゲットの設定", 188, 1, 6, {5, 6, 7, 8, 9, 1, 2, 3, 4}, {5, 6, 0, 7, 8, 9, 1, 2, 3, 4}},
      {"189 ターゲットの設定 is left alone",
       189,
       0,
       21,
       {5, 6, 7, 8, 9, 1, 2, 3, 4, 9},
       {5, 6, 7, 8, 9, 1, 2, 3, 4, 9}},
      {"193 ピクチャーの表示: 1 inserted at 6, then the 545 and 547 rows",
       193,
       0,
       31,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
       {1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 10, 0, 0, 0}},
      {"546 ピクチャーの表示: P12 and P13 cleared",
       546,
       1,
       16,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0}},
      {"194 キャラエフェクトの実行: 0 inserted at 1", 194, 0, 29, {4, 2}, {4, 0, 2}},
      {"194 flow 画面エフェクトの実行", 194, 1, 15, {4, 2}, {4, 0, 2}},
      {"165 BGMの再生: P1 = 1", 165, 0, 35, {7}, {7, 1}},
      {"165 flow BGMの再生", 165, 1, 20, {7, 0}, {7, 1}},
      {"167 ステータスの操作: character row 10 passes both insertions",
       167,
       0,
       22,
       {0, 0, 0, 0, 10, 0, 2, 0, 0, 0, 0, 0, 1, 5, 0, 0, 0, 0},
       {0, 0, 0, 0, 12, 0, 2, 0, 0, 0, 0, 0, 1, 6, 0, 0, 0, 0}},
      {"167 ステータスの操作: system rows stay",
       167,
       0,
       22,
       {0, 0, 0, 2, 10, 0, 2, 0, 0, 0, 0, 0, 2, 10, 0, 0, 0, 0},
       {0, 0, 0, 2, 10, 0, 2, 0, 0, 0, 0, 0, 2, 10, 0, 0, 0, 0}},
      {"202 flow ステータスの操作: a variable on the left stays",
       202,
       1,
       7,
       {1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"167 ステータスの操作 stored short: read as zeros and padded",
       167,
       0,
       22,
       {0, 0, 0, 0, 10},
       {0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"209 ステータスの操作2: state row 6 on", 209, 0, 23, {1, 6, 9}, {1, 7, 9}},
      {"209 ステータスの操作2: the system stays", 209, 1, 8, {2, 6, 9}, {2, 6, 9}},
      {"209 ステータスの操作2 stored empty", 209, 0, 23, {}, {0, 0, 0}},
      {"218 グラフィックの変更 from the shot sheet", 218, 0, 25, {3, 5, 1}, {3, 6, 1}},
      {"218 グラフィックの変更: 119 is the last picture", 218, 1, 10, {3, 119, 1}, {3, 119, 1}},
      {"218 グラフィックの変更 from another sheet", 218, 0, 25, {1, 5, 1}, {1, 5, 1}},
      {"202 キャラ召喚 loses its parameters", 202, 0, 14, {1, 2, 3}, {}},
      {"144 ステージクリア", 144, 0, 17, {1, 2}, {1, 2, 0, 0, 0}},
  };
  for (const ParamUpgradeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cFlowCommand command;
    EXPECT_FALSE(
        ReadImage(command, FileOf(c.version, CommandBody({.set = c.set, .number = c.number, .params = c.stored}))));
    EXPECT_EQ(ParamsOf(command), c.expected);
  }
}

// The row's own changes, without the padding to the row's count that follows every read.
TEST_F(FlowTest, UpgradeRowsGrowShortVectorsBeforeIndexingThem) {
  cFlowCommand status;
  status.m_CommandNumber = 22;
  status.m_Params.assign({0, 0, 0, 0, 10});
  UpgradeCommandParams(status, 167);
  EXPECT_EQ(ParamsOf(status), (Params{0, 0, 0, 0, 12, 0, 0}));

  cFlowCommand graphic;
  graphic.m_CommandNumber = 25;
  graphic.m_Params.assign({3});
  UpgradeCommandParams(graphic, 218);
  EXPECT_EQ(ParamsOf(graphic), (Params{3, 1}));

  // A value at the top of the range has no row below it to move to.
  cFlowCommand top;
  top.m_CommandNumber = 23;
  top.m_Params.assign({0, 2147483647, 0});
  UpgradeCommandParams(top, 209);
  EXPECT_EQ(ParamsOf(top), (Params{0, 2147483647, 0}));

  // Unknown commands have no rows.
  cFlowCommand unknown;
  unknown.m_CommandSet = 3;
  unknown.m_CommandNumber = 19;
  unknown.m_Params.assign({1});
  UpgradeCommandParams(unknown, 100);
  EXPECT_EQ(ParamsOf(unknown), (Params{1}));
}

cByteBuilder ShotBody(std::uint32_t version) { return BodyOfFile(edtest::ShotFile(version, {.hitEffect = 5})); }
cByteBuilder MoveBody(std::uint32_t version) { return BodyOfFile(edtest::MoveFile(version)); }

TEST_F(FlowTest, ShotPictureAndChargeMoveChangeFromTheCommandSide) {
  struct Case {
    const char* name;
    std::uint32_t version;
    std::uint8_t number;
    std::int16_t picture;  // expected picture (the shot body stores 20)
  };
  const Case shots[] = {
      {"219 ショット: picture + 1", 219, 11, 21},
      {"220 ショット is left alone", 220, 11, 20},
      {"219 ソード has no picture change", 219, 12, 20},
  };
  for (const Case& c : shots) {
    SCOPED_TRACE(c.name);
    cFlowCommand command;
    EXPECT_FALSE(ReadImage(command, FileOf(c.version, CommandBody({.number = c.number, .shot = ShotBody(c.version)}))));
    ASSERT_TRUE(command.m_Shot);
    EXPECT_EQ(command.m_Shot->m_Picture, c.picture);
  }

  // The move body stores start angle -30, angle step 15 and (from 158) mirror angle 2.
  cFlowCommand charge;
  EXPECT_FALSE(ReadImage(charge, FileOf(513, CommandBody({.number = 5, .move = MoveBody(513)}))));
  ASSERT_TRUE(charge.m_Move);
  EXPECT_EQ(charge.m_Move->m_StartAngle, 0);
  EXPECT_EQ(charge.m_Move->m_AngleStep, 0);
  EXPECT_EQ(charge.m_Move->m_MirrorAngle, 1);
  EXPECT_EQ(charge.m_Move->m_Speed, 200);

  cFlowCommand straight;
  EXPECT_FALSE(ReadImage(straight, FileOf(513, CommandBody({.number = 2, .move = MoveBody(513)}))));
  ASSERT_TRUE(straight.m_Move);
  EXPECT_EQ(straight.m_Move->m_StartAngle, -30);
  EXPECT_EQ(straight.m_Move->m_MirrorAngle, 2);

  cFlowCommand recent;
  EXPECT_FALSE(ReadImage(recent, FileOf(514, CommandBody({.number = 5, .move = MoveBody(514)}))));
  ASSERT_TRUE(recent.m_Move);
  EXPECT_EQ(recent.m_Move->m_StartAngle, -30);

  // A shot-like command that holds no record is left as it is.
  cFlowCommand bare;
  EXPECT_FALSE(ReadImage(bare, FileOf(219, CommandBody({.number = 11}))));
  EXPECT_FALSE(bare.m_Shot);
}

struct TriggerCase {
  const char* name;
  std::uint32_t version;
  std::uint8_t trigger, group;
  std::uint8_t expectedTrigger, expectedGroup;
};

TEST_F(FlowTest, FlowTriggersAndGroupsOfOlderFiles) {
  const TriggerCase cases[] = {
      {"131: 11 takes both renumberings", 131, 11, 0, 14, 0},
      {"131: 4 stays", 131, 4, 0, 4, 0},
      {"131: 5 becomes 7", 131, 5, 0, 7, 0},
      {"132: 11 only the second", 132, 11, 0, 13, 0},
      {"163: 5 becomes 7", 163, 5, 0, 7, 0},
      {"164: 5 stays", 164, 5, 0, 5, 0},
      {"162: a triggered flow loses its group", 162, 1, 3, 1, 0},
      {"162: a 常時 flow keeps its group", 162, 0, 3, 0, 3},
      {"163: groups are kept", 163, 1, 3, 1, 3},
  };
  for (const TriggerCase& c : cases) {
    SCOPED_TRACE(c.name);
    cFlow flow;
    EXPECT_FALSE(ReadImage(flow, FileOf(c.version, FlowBody({.group = c.group, .trigger = c.trigger}))));
    EXPECT_EQ(flow.m_Trigger, c.expectedTrigger);
    EXPECT_EQ(flow.m_Group, c.expectedGroup);
  }
}

// The version of the file reaches every command of every nested flow.
TEST_F(FlowTest, NestedCommandsOfAnOldFileAreUpgradedToo) {
  const cByteBuilder inner = FlowBody({.trigger = 11, .commands = {CommandBody({.number = 21, .params = {5, 6, 7}})}});
  const cByteBuilder outer =
      FlowBody({.commands = {CommandBody({.set = 1, .number = 1, .params = {0, 1}, .flows = {inner}})}});
  cFlow flow;
  EXPECT_FALSE(ReadImage(flow, FileOf(131, outer)));
  ASSERT_EQ(flow.m_Commands.Size(), 1);
  ASSERT_EQ(flow.m_Commands.At(0).m_Flows.Size(), 1);
  const cFlow& nested = flow.m_Commands.At(0).m_Flows.At(0);
  EXPECT_EQ(nested.m_Trigger, 14);
  ASSERT_EQ(nested.m_Commands.Size(), 1);
  EXPECT_EQ(ParamsOf(nested.m_Commands.At(0)), (Params{5, 6, 0, 7, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace flowtest
