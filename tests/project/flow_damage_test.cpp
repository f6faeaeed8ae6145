// Damaged flow files: bodies that break off, counts no file could hold, and flows nested deeper than
// any editor makes them. Each is reported as damaged and nothing crashes.
#include "tests/project/flow_fixture.h"
#include "tests/project/move_shot_samples.h"

namespace flowtest {
namespace {

cByteBuilder SampleFlowBody() {
  const cByteBuilder nested = FlowBody({.id = 1, .commands = {CommandBody({.number = 9, .params = {2}})}});
  return FlowBody({.id = 4,
                   .conditions = {ConditionBody(2, 1)},
                   .keys = {KeyBody({})},
                   .commands = {CommandBody({.number = 2, .move = BodyOfFile(edtest::MoveFile(556))}),
                                CommandBody({.number = 13, .shot = BodyOfFile(edtest::ShotFile(556))}),
                                CommandBody({.set = 1, .number = 1, .params = {1, 1}, .flows = {nested}}),
                                CommandBody({.number = 36, .code = "x"})}});
}

TEST_F(FlowTest, EveryShortenedFileIsDamaged) {
  const cByteBuilder file = FileOf(556, SampleFlowBody());
  {
    cFlow whole;
    ASSERT_FALSE(ReadImage(whole, file));
  }
  for (std::size_t size = 0; size < file.Size(); ++size) {
    SCOPED_TRACE(size);
    const cByteBuilder prefix = cByteBuilder().Bytes(
        std::vector<std::uint8_t>(file.Data().begin(), file.Data().begin() + static_cast<std::ptrdiff_t>(size)));
    cFlow flow;
    EXPECT_TRUE(ReadImage(flow, prefix));
  }
  const cByteBuilder key = FileOf(556, KeyBody({}));
  for (std::size_t size = 4; size < key.Size(); ++size) {
    cKeyCondition step;
    EXPECT_TRUE(ReadImage(step, cByteBuilder().Bytes(std::vector<std::uint8_t>(
                                    key.Data().begin(), key.Data().begin() + static_cast<std::ptrdiff_t>(size)))));
    EXPECT_LE(step.m_KeyStates.size(), 19u);
  }
}

TEST_F(FlowTest, CountsNoFileCouldHoldAreNotActedOn) {
  const std::uint32_t kHuge = 0xFFFFFFF0u;
  enum Record { kFlowRecord, kCommandRecord, kKeyRecord };
  struct Case {
    const char* name;
    Record record;
    cByteBuilder file;
  };
  // A flow body up to its list counts, and a command body up to its flags.
  cByteBuilder flowHead;
  flowHead.U32(8).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(0);
  cByteBuilder commandHead;
  commandHead.U32(8).U8(0).U8(22).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).U32(1).Str("");
  const Case cases[] = {
      {"conditions", kFlowRecord, FileOf(556, cByteBuilder().Append(flowHead).U32(kHuge).U32(0).U32(0))},
      {"key steps", kFlowRecord, FileOf(556, cByteBuilder().Append(flowHead).U32(0).U32(kHuge).U32(0))},
      {"commands", kFlowRecord, FileOf(556, cByteBuilder().Append(flowHead).U32(0).U32(0).U32(kHuge))},
      {"key states", kKeyRecord,
       FileOf(556, cByteBuilder().U32(5).U8(0).I16(0).I16(0).U8(0).U8(0).U32(0).U32(kHuge).U8(1))},
      {"key states one short", kKeyRecord,
       FileOf(556, cByteBuilder().U32(5).U8(0).I16(0).I16(0).U8(0).U8(0).U32(0).U32(3).U8(1).U8(1))},
      {"nested flows", kCommandRecord, FileOf(556, cByteBuilder().Append(commandHead).U32(0).U32(0).U32(kHuge).U32(0))},
      {"parameters", kCommandRecord,
       FileOf(556, cByteBuilder().Append(commandHead).U32(0).U32(0).U32(0).U32(0x40000000).I32(1))},
      {"parameters one short", kCommandRecord,
       FileOf(556, cByteBuilder().Append(commandHead).U32(0).U32(0).U32(0).U32(3).I32(1).I32(2))},
      {"a move flag without its record", kCommandRecord, FileOf(556, cByteBuilder().Append(commandHead).U32(1).U32(0))},
      {"more fields than a flow has", kFlowRecord,
       FileOf(556, cByteBuilder().U32(9).Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0}).U32(0))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cFlow flow;
    cFlowCommand command;
    cKeyCondition step;
    cDataRecord* records[] = {&flow, &command, &step};
    EXPECT_TRUE(ReadImage(*records[c.record], c.file));
    EXPECT_TRUE(flow.m_Conditions.empty() && flow.m_KeyConditions.empty() && flow.m_Commands.empty());
    EXPECT_LE(command.m_Params.size(), 18u);
    EXPECT_TRUE(command.m_Flows.empty());
    EXPECT_EQ(step.m_KeyStates.size(), 19u);
  }
}

// depth flows, each but the last holding one flow-change command that holds the next.
cByteBuilder NestedFlowFile(int depth) {
  cByteBuilder head;
  head.U32(8).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(0).U32(0).U32(0).U32(1);  // one command
  head.U32(8).U8(1).U8(1).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).U32(1).Str("");           // flow change
  head.U32(0).U32(0).U32(1);                                                                // one nested flow
  cByteBuilder tail;
  tail.U32(2).I32(0).I32(1);  // the change command's parameters
  cByteBuilder file;
  file.U32(556);
  for (int i = 1; i < depth; ++i) file.Append(head);
  file.Append(FlowBody({.trigger = 3}));
  for (int i = 1; i < depth; ++i) file.Append(tail);
  return file;
}

int DepthOf(const cFlow& flow) {
  int depth = 1;
  for (const cFlow* f = &flow; !f->m_Commands.empty() && !f->m_Commands[0].m_Flows.empty(); ++depth)
    f = &f->m_Commands[0].m_Flows[0];
  return depth;
}

TEST_F(FlowTest, NestingIsBounded) {
  cFlow deepest;
  EXPECT_FALSE(ReadImage(deepest, NestedFlowFile(kMaxFlowNesting)));
  EXPECT_EQ(DepthOf(deepest), kMaxFlowNesting);

  for (int depth : {kMaxFlowNesting + 1, 5000}) {
    SCOPED_TRACE(depth);
    cFlow flow;
    EXPECT_TRUE(ReadImage(flow, NestedFlowFile(depth)));
    // The flow that would have gone too deep stays behind as an empty default record.
    EXPECT_EQ(DepthOf(flow), kMaxFlowNesting + 1);
    // What was read can be written and copied again.
    cFlow copy = flow;
    EXPECT_FALSE(BodyOf(copy).empty());
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

}  // namespace
}  // namespace flowtest
