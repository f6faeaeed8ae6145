// Flows, commands and key steps as records: the file layout, write -> read -> write, copies that
// never share a move or shot record, ranges of flows, test-only flows and key steps.
#include "platform/host/text_codec.h"
#include "platform/services/record_ranges.h"
#include "project/command_vocabulary.h"
#include "tests/project/flow_fixture.h"
#include "tests/project/move_shot_samples.h"

namespace flowtest {
namespace {

cByteBuilder MoveBody() { return BodyOfFile(edtest::MoveFile(556)); }
cByteBuilder ShotBody() { return BodyOfFile(edtest::ShotFile(556, {.hitEffect = 5})); }

// A flow that uses every part of the layout: conditions, a key step, commands with a move record,
// a shot record, parameters, code, and a flow-change command with a nested flow. Every value is
// already normal, so the writer must give these bytes back.
cByteBuilder RichFlowBody() {
  KeySpec key{.facing = 1, .shortest = 2, .longest = 300, .anyHold = 1, .combination = 2};
  key.states[1] = kKeyHeld;
  key.states[12] = kKeyReleased;
  std::vector<std::int32_t> message(17);
  for (int i = 0; i < 17; ++i) message[static_cast<std::size_t>(i)] = 100 - i;
  const cByteBuilder nested =
      FlowBody({.id = 2,
                .trigger = 19,
                .commands = {CommandBody({.set = 1, .number = 13, .params = {3, 0, 0, 0, 0, 0, 0, 1}})}});
  return FlowBody({.id = 3,
                   .group = 2,
                   .conditionMode = 1,
                   .keepOnceMet = 1,
                   .trigger = 7,
                   .keyTolerance = 4,
                   .keyRepeat = 1,
                   .conditions = {ConditionBody(1, -5), ConditionBody(7, 3)},
                   .keys = {KeyBody(key), KeyBody({})},
                   .commands = {
                       CommandBody({.number = 2,
                                    .useTime = 10,
                                    .useTimeStep = -2,
                                    .parallel = 1,
                                    .sound = 3,
                                    .soundOnScreenOnly = 0,
                                    .anime = 4,
                                    .move = MoveBody()}),
                       CommandBody({.number = 14, .shot = ShotBody()}),
                       CommandBody({.number = 19, .params = message}),
                       CommandBody({.number = 36, .code = SJ("変数[1] = 2")}),
                       CommandBody({.set = 1, .number = 1, .params = {0, 2}, .flows = {nested}}),
                   }});
}

TEST_F(FlowTest, FlowLayoutAndWriteReadWriteAreByteIdentical) {
  const cByteBuilder body = RichFlowBody();
  cFlow flow;
  ASSERT_FALSE(ReadImage(flow, FileOf(556, body)));
  EXPECT_EQ(flow.m_FlowId, 3);
  EXPECT_EQ(flow.m_KeyTolerance, 4);
  ASSERT_EQ(flow.m_Conditions.Size(), 2);
  EXPECT_EQ(flow.m_Conditions.At(1).m_Kind, 7);
  ASSERT_EQ(flow.m_KeyConditions.Size(), 2);
  EXPECT_EQ(flow.m_KeyConditions.At(0).m_LongestHold, 300);
  ASSERT_EQ(flow.m_Commands.Size(), 5);
  EXPECT_EQ(flow.m_Commands.At(0).m_SoundOnScreenOnly, 0);
  EXPECT_EQ(flow.m_Commands.At(3).m_Code, SJ("変数[1] = 2"));
  ASSERT_EQ(flow.m_Commands.At(4).m_Flows.Size(), 1);
  EXPECT_EQ(flow.m_Commands.At(4).m_Flows.At(0).m_Trigger, 19);

  const std::vector<std::uint8_t> written = BodyOf(flow);
  EXPECT_EQ(HexBytes(written), HexBytes(body.Data()));
  cFlow again;
  ASSERT_FALSE(ReadImage(again, FileOf(556, written)));
  EXPECT_EQ(HexBytes(BodyOf(again)), HexBytes(written));
}

TEST_F(FlowTest, CommandAndKeyStepWriteReadWriteAreByteIdentical) {
  for (const cByteBuilder& body :
       {CommandBody({.number = 6, .useTime = -1, .move = MoveBody()}), CommandBody({.number = 11, .shot = ShotBody()}),
        CommandBody({.set = 1, .number = 4, .params = std::vector<std::int32_t>(17, -9), .code = "a\tb"}),
        CommandBody({.number = 37}), CommandBody({})}) {
    cFlowCommand command;
    ASSERT_FALSE(ReadImage(command, FileOf(556, body)));
    const std::vector<std::uint8_t> written = BodyOf(command);
    EXPECT_EQ(HexBytes(written), HexBytes(body.Data()));
    cFlowCommand again;
    ASSERT_FALSE(ReadImage(again, FileOf(556, written)));
    EXPECT_EQ(HexBytes(BodyOf(again)), HexBytes(written));
  }
  KeySpec key{.facing = 1, .shortest = -3, .longest = 32767, .anyHold = 0, .combination = 1};
  key.states.assign(19, kKeyReleased);
  for (const cByteBuilder& body : {KeyBody(key), KeyBody({})}) {
    cKeyCondition step;
    ASSERT_FALSE(ReadImage(step, FileOf(556, body)));
    const std::vector<std::uint8_t> written = BodyOf(step);
    EXPECT_EQ(HexBytes(written), HexBytes(body.Data()));
    cKeyCondition again;
    ASSERT_FALSE(ReadImage(again, FileOf(556, written)));
    EXPECT_EQ(HexBytes(BodyOf(again)), HexBytes(written));
  }
}

TEST_F(FlowTest, DefaultRecordsAreWrittenAsTheLayoutSays) {
  cFlowCommand command;
  EXPECT_EQ(HexBytes(BodyOf(command)), HexBytes(CommandBody({}).Data()));
  cFlow flow;
  EXPECT_EQ(HexBytes(BodyOf(flow)), HexBytes(FlowBody({}).Data()));
  cKeyCondition step;
  EXPECT_EQ(step.m_KeyStates, std::vector<std::uint8_t>(19, 0));
  EXPECT_EQ(HexBytes(BodyOf(step)), HexBytes(KeyBody({}).Data()));
}

TEST_F(FlowTest, MoveWithoutShotIsFlaggedAndReadIntoOneNewRecord) {
  cFlowCommand command;
  command.m_CommandNumber = kCharaStraightMove;
  NewEdMove(command.m_Move);
  command.m_Move->m_Speed = 31;
  const std::vector<std::uint8_t> written = BodyOf(command);
  cByteBuilder expected;
  expected.U32(8).U8(0).U8(2).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).U32(1).Str("");
  expected.U32(1).Bytes(BodyOf(*command.m_Move)).U32(0).U32(0).U32(0);
  EXPECT_EQ(HexBytes(written), HexBytes(expected.Data()));

  // Records the target held before are not kept: the file says which records there are.
  cFlowCommand back;
  NewEdShot(back.m_Shot);
  std::shared_ptr<cEdMove> previous;
  NewEdMove(previous);
  back.m_Move = previous;
  ASSERT_FALSE(ReadImage(back, FileOf(556, written)));
  ASSERT_TRUE(back.m_Move);
  EXPECT_NE(back.m_Move, previous);
  EXPECT_EQ(back.m_Move.use_count(), 1);
  EXPECT_EQ(back.m_Move->m_Speed, 31);
  EXPECT_FALSE(back.m_Shot);
}

// True when every descriptor of record points inside it and names it as owner.
template <class T>
bool DescribesItself(const T& record) {
  const auto* begin = reinterpret_cast<const char*>(&record);
  for (const FieldDesc& desc : record.Fields()) {
    const auto* at = static_cast<const char*>(desc.data);
    if (desc.owner != &record || at < begin || at >= begin + sizeof(T)) return false;
  }
  return !record.Fields().empty();
}

cFlowCommand MoveAndShotCommand() {
  cFlowCommand command;
  command.m_CommandNumber = kCharaShot;
  NewEdMove(command.m_Move);
  NewEdShot(command.m_Shot);
  command.m_Move->m_Speed = 40;
  command.m_Shot->m_Picture = 9;
  command.m_Params.assign({1, 2});
  return command;
}

TEST_F(FlowTest, CopiedCommandOwnsItsMoveAndShotRecords) {
  const cFlowCommand source = MoveAndShotCommand();
  cFlowCommand copied(source);
  cFlowCommand assigned;
  assigned = source;
  for (cFlowCommand* copy : {&copied, &assigned}) {
    ASSERT_TRUE(copy->m_Move && copy->m_Shot);
    EXPECT_NE(copy->m_Move, source.m_Move);
    EXPECT_NE(copy->m_Shot, source.m_Shot);
    EXPECT_EQ(copy->m_Move.use_count(), 1);
    EXPECT_EQ(copy->m_Move->m_Speed, 40);
    EXPECT_EQ(copy->m_Shot->m_Picture, 9);
    EXPECT_TRUE(DescribesItself(*copy));
    EXPECT_TRUE(DescribesItself(*copy->m_Shot));
    copy->m_Move->m_Speed = 1;
    copy->m_Shot->m_Picture = 1;
  }
  EXPECT_EQ(source.m_Move->m_Speed, 40);
  EXPECT_EQ(source.m_Shot->m_Picture, 9);

  // A record held elsewhere too is never written through; a source without one releases it.
  cFlowCommand target;
  NewEdMove(target.m_Move);
  const std::shared_ptr<cEdMove> elsewhere = target.m_Move;
  CopyEdParams(target, source);
  EXPECT_NE(target.m_Move, elsewhere);
  EXPECT_EQ(elsewhere->m_Speed, 10);
  CopyEdParams(target, cFlowCommand());
  EXPECT_FALSE(target.m_Move);
  EXPECT_FALSE(target.m_Shot);
}

TEST_F(FlowTest, CopiedFlowListsShareNothing) {
  std::vector<cFlow> source(2);
  source[0].m_Commands.push_back(MoveAndShotCommand());
  source[1].m_Commands.resize(1);
  source[1].m_Commands[0].m_Flows.resize(1);
  source[1].m_Commands[0].m_Flows[0].m_Commands.push_back(MoveAndShotCommand());

  std::vector<cFlow> copy(5);
  copy = source;  // element-wise: surplus flows go
  ASSERT_EQ(copy.size(), 2u);
  std::vector<cFlow> constructed(source);
  for (std::vector<cFlow>* list : {&copy, &constructed}) {
    cFlowCommand& first = (*list)[0].m_Commands.At(0);
    cFlowCommand& deep = (*list)[1].m_Commands.At(0).m_Flows.At(0).m_Commands.At(0);
    EXPECT_EQ(first.m_Move->m_Speed, 40);
    EXPECT_EQ(deep.m_Shot->m_Picture, 9);
    first.m_Move->m_Speed = 2;
    deep.m_Shot->m_Picture = 2;
    EXPECT_TRUE(DescribesItself((*list)[1]));
  }
  EXPECT_EQ(source[0].m_Commands.At(0).m_Move->m_Speed, 40);
  EXPECT_EQ(source[1].m_Commands.At(0).m_Flows.At(0).m_Commands.At(0).m_Shot->m_Picture, 9);
}

TEST_F(FlowTest, FlowRangesCopyAssignAndDestroy) {
  std::vector<cFlow> flows(4);
  for (std::size_t i = 0; i < flows.size(); ++i) {
    flows[i].m_FlowId = static_cast<std::uint8_t>(i + 1);
    flows[i].m_Commands.push_back(MoveAndShotCommand());
  }

  std::allocator<cFlow> allocator;
  cFlow* raw = allocator.allocate(2);
  EXPECT_EQ(ConstructFlowRange(flows.data(), flows.data() + 2, raw), raw + 2);
  EXPECT_EQ(raw[1].m_FlowId, 2);
  EXPECT_NE(raw[1].m_Commands.At(0).m_Move, flows[1].m_Commands.At(0).m_Move);
  EXPECT_TRUE(DescribesItself(raw[1]));
  DestroyFlowRange(raw, raw + 2);
  EXPECT_EQ(CopyFlowRange(flows.data() + 2, flows.data() + 4, raw), raw + 2);
  EXPECT_EQ(raw[0].m_FlowId, 3);
  DestroyFlowRange(raw, raw + 2);
  allocator.deallocate(raw, 2);

  // Moving flows 0 and 1 one place on inside the vector takes the backward assignment.
  EXPECT_EQ(AssignFlowRangeBackward(flows.data(), flows.data() + 2, flows.data() + 3), flows.data() + 1);
  EXPECT_EQ(flows[1].m_FlowId, 1);
  EXPECT_EQ(flows[2].m_FlowId, 2);
  EXPECT_NE(flows[1].m_Commands.At(0).m_Shot, flows[0].m_Commands.At(0).m_Shot);
  EXPECT_EQ(AssignFlowRange(flows.data() + 2, flows.data() + 4, flows.data()), flows.data() + 2);
  EXPECT_EQ(flows[0].m_FlowId, 2);
  EXPECT_EQ(flows[1].m_FlowId, 4);
  EXPECT_TRUE(DescribesItself(flows[1]));
}

TEST_F(FlowTest, TestOnlyFlowsAreKeptOnlyInATestPlay) {
  const cByteBuilder command = CommandBody(
      {.set = 1,
       .number = 1,
       .flows = {FlowBody({.id = 1, .testOnly = 1}), FlowBody({.id = 2}), FlowBody({.id = 3, .testOnly = 5})}});
  struct Case {
    const char* name;
    bool testPlay, keepMarked;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"normal start", false, false, {2}},
      {"test play", true, false, {1, 2, 3}},
      {"project keeps them", false, true, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadContext().testPlay = c.testPlay;
    LoadContext().keepMarkedFlows = c.keepMarked;
    cFlowCommand read;
    ASSERT_FALSE(ReadImage(read, FileOf(556, command)));
    std::vector<int> ids;
    for (const cFlow& flow : read.m_Flows) ids.push_back(flow.m_FlowId);
    EXPECT_EQ(ids, c.ids);
  }

  std::vector<cFlow> list(5);
  for (std::size_t i = 0; i < list.size(); ++i) list[i].m_FlowId = static_cast<std::uint8_t>(i);
  list[0].m_TestOnly = list[3].m_TestOnly = 1;
  NormalizeFlowList(list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].m_FlowId, 1);
  EXPECT_EQ(list[1].m_FlowId, 2);
  EXPECT_EQ(list[2].m_FlowId, 4);
  EXPECT_TRUE(DescribesItself(list[2]));
}

TEST_F(FlowTest, KeyStepsKeepTheStoredSlotsAndMirrorDirections) {
  cKeyCondition old;
  ASSERT_FALSE(ReadImage(old, FileOf(120, KeyBody({.states = {1, 2, 0, 1, 0, 0, 0, 0, 0, 0}}))));
  EXPECT_EQ(old.m_KeyStates, (std::vector<std::uint8_t>{1, 2, 0, 1, 0, 0, 0, 0, 0, 0}));

  const int mirrored[] = {0, 2, 1, 3, 4, 7, 8, 5, 6, 9, 10, 11, 18};
  const int slots[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 18};
  for (std::size_t i = 0; i < std::size(slots); ++i) EXPECT_EQ(cKeyCondition::MirroredSlot(slots[i]), mirrored[i]);

  EXPECT_EQ(KeyStateLabels()[kKeyHeld], SJ("押"));
  EXPECT_EQ(KeyStateLabels().Size(), 4);
  EXPECT_EQ(KeyCombinationLabels()[kKeysExactlyOne], SJ("1つだけキーが真なら成立"));
}

}  // namespace
}  // namespace flowtest
