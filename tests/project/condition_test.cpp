// Condition records: the layouts of old and current files, the upgrades of old files in order, the
// condition list and what a damaged one does.
#include "platform/host/text_codec.h"
#include "project/condition_labels.h"
#include "tests/project/block_fixture.h"

namespace {

using ConditionTest = ProjectRecordTest;

// A body of a file before version 110: kind, value, two words nobody keeps, operator, the percent
// flag from version 43 on, shape.
cByteBuilder OldConditionBody(std::uint32_t version, std::uint8_t kind, std::int32_t value, std::uint8_t op,
                              std::uint8_t percent, std::uint8_t shape) {
  cByteBuilder b;
  b.U32(version >= 43 ? 7 : 6).U8(kind).I32(value).U16(0xBEEF).U16(0xFFFF).U8(op);
  if (version >= 43) b.U8(percent);
  return b.U8(shape).U32(0);
}

struct OldLayoutCase {
  const char* name;
  std::uint32_t version;
  std::uint8_t kind, op, percent, shape;
  ConditionValues expected;
};

TEST_F(ConditionTest, OldLayoutsFillOnlyWhatTheyHold) {
  const OldLayoutCase cases[] = {
      {"109: seven arrays", 109, 3, 2, 1, 6, {.kind = 3, .value = -5000, .op = 2, .percent = 1, .shape = 6}},
      {"43: the percent byte is there", 43, 1, 5, 1, 0, {.kind = 1, .value = -5000, .op = 5, .percent = 1}},
      {"42: no percent, the sixth array is the shape",
       42,
       2,
       1,
       9,
       4,
       {.kind = 2, .value = -5000, .op = 1, .shape = 4}},
      {"109: old distance kind 5 becomes 7", 109, 5, 0, 0, 6, {.kind = 7, .value = -5000, .shape = 6}},
  };
  for (const OldLayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    cConditionDef condition;
    std::size_t rest = 99;
    EXPECT_FALSE(ReadFrom(
        condition, FileOf(c.version, OldConditionBody(c.version, c.kind, -5000, c.op, c.percent, c.shape)), &rest));
    EXPECT_EQ(rest, 0u);
    EXPECT_TRUE(ValuesOf(condition) == c.expected);
    // Whatever version it came from, the record describes the current layout again.
    EXPECT_EQ(condition.Fields().size(), 17u);
  }
}

struct UpgradeCase {
  const char* name;
  std::uint32_t version;
  ConditionValues stored;
  ConditionValues expected;
};

TEST_F(ConditionTest, UpgradesRunInOrderOnOlderFiles) {
  // A status condition comparing the character's own row with its target's row.
  const auto status = [](std::uint8_t subject, std::uint8_t item, std::uint8_t rightSubject, std::uint8_t rightItem) {
    return ConditionValues{.kind = 4,
                           .subject = subject,
                           .item = item,
                           .rightKind = 2,
                           .rightSubject = rightSubject,
                           .rightItem = rightItem};
  };
  const UpgradeCase cases[] = {
      {"150: kind 5 becomes 7", 150, {.kind = 5}, {.kind = 7}},
      {"150: kind 4 stays", 150, {.kind = 4}, {.kind = 4}},
      {"150: kind 0x80 is negative and stays", 150, {.kind = 0x80}, {.kind = 0x80}},
      {"160: kind 5 is already the state kind", 160, {.kind = 5}, {.kind = 5}},
      {"160: standing on a block is inverted", 160, {.kind = 6, .item = 2}, {.kind = 6, .item = 2, .op = 1}},
      {"160: other postures are not", 160, {.kind = 6, .item = 1}, {.kind = 6, .item = 1}},
      {"161: no longer inverted", 161, {.kind = 6, .item = 2}, {.kind = 6, .item = 2}},
      {"167: row 10 goes through both insertions", 167, status(0, 10, 1, 10), status(0, 12, 1, 12)},
      {"167: row 9 moves only once", 167, status(0, 9, 0, 9), status(0, 10, 0, 10)},
      {"167: rows below 5 stay", 167, status(0, 4, 0, 4), status(0, 4, 0, 4)},
      {"167: system rows stay", 167, status(2, 10, 2, 10), status(2, 10, 2, 10)},
      {"167: row 0x80 is negative and stays", 167, status(0, 0x80, 0, 0x80), status(0, 0x80, 0, 0x80)},
      {"167: a variable on the left is no row",
       167,
       {.kind = 4, .item = 10, .leftIsVariable = 1},
       {.kind = 4, .item = 10, .leftIsVariable = 1}},
      {"167: a constant on the right is no row", 167, {.kind = 4, .rightItem = 10}, {.kind = 4, .rightItem = 10}},
      {"167: only status conditions", 167, {.kind = 3, .item = 10}, {.kind = 3, .item = 10}},
      {"200: own row 7 becomes 8", 200, status(0, 7, 0, 5), status(0, 8, 0, 6)},
      {"200: system row 4 stays", 200, status(2, 4, 2, 4), status(2, 4, 2, 4)},
      {"203: no longer moved", 203, status(0, 7, 0, 5), status(0, 7, 0, 5)},
      {"209: state row 6 becomes 7", 209, {.kind = 5, .item = 6}, {.kind = 5, .item = 7}},
      {"209: system states stay", 209, {.kind = 5, .subject = 2, .item = 6}, {.kind = 5, .subject = 2, .item = 6}},
      {"210: no longer moved", 210, {.kind = 5, .item = 6}, {.kind = 5, .item = 6}},
      {"556: nothing moves", 556, status(0, 10, 0, 10), status(0, 10, 0, 10)},
  };
  for (const UpgradeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cConditionDef condition;
    EXPECT_FALSE(ReadFrom(condition, FileOf(c.version, ConditionBody(c.stored))));
    const ConditionValues got = ValuesOf(condition);
    EXPECT_TRUE(got == c.expected) << "kind " << int(got.kind) << " item " << int(got.item) << " right item "
                                   << int(got.rightItem) << " operator " << int(got.op);
  }
}

TEST_F(ConditionTest, WritesTheCurrentLayoutAndReadsItBackUnchanged) {
  const ConditionValues values{1, -2, 300000, -400000, 2, 5, 1, 1, -7, 3, 1, 14, 1, 32000, 5, 1, 6};
  cConditionDef condition;
  SetValues(condition, values);
  const std::vector<std::uint8_t> first = Written(condition);
  EXPECT_EQ(HexBytes(first), HexBytes(ConditionBody(values).Data()));
  EXPECT_EQ(first.size(), 36u);

  cConditionDef again;
  EXPECT_FALSE(ReadFrom(again, FileOf(556, ConditionBody(values))));
  EXPECT_TRUE(ValuesOf(again) == values);
  EXPECT_EQ(HexBytes(Written(again)), HexBytes(first));
}

TEST_F(ConditionTest, ListReplacesItsContentsAndCopiesAreIndependent) {
  std::vector<cConditionDef> list(3);
  const cByteBuilder file = FileOf(556, cByteBuilder()
                                            .U32(2)
                                            .Append(ConditionBody({.kind = 1, .value = 10}))
                                            .Append(ConditionBody({.kind = 7, .value = 20})));
  {
    cRecordReader in(file.Data());
    ReadConditionList(list, in);
    EXPECT_FALSE(in.Damaged());
    EXPECT_EQ(in.Left(), 0u);
  }
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].m_Value, 10);
  EXPECT_EQ(list[1].m_Kind, 7);

  std::vector<cConditionDef> copy = list;
  copy[0].m_Value = 99;
  EXPECT_EQ(list[0].m_Value, 10);
  cRecordWriter out;
  WriteConditionList(copy, out);
  EXPECT_EQ(HexBytes(out.Bytes()), HexBytes(cByteBuilder()
                                                .U32(2)
                                                .Append(ConditionBody({.kind = 1, .value = 99}))
                                                .Append(ConditionBody({.kind = 7, .value = 20}))
                                                .Data()));
}

struct DamagedListCase {
  const char* name;
  cByteBuilder list;
  std::size_t size;  // elements afterwards; the list held 3 before
};

TEST_F(ConditionTest, DamagedListsAreReportedAndNeverOverrun) {
  const cByteBuilder one = ConditionBody({.kind = 2, .value = 5});
  const DamagedListCase cases[] = {
      {"no count", cByteBuilder().U16(1), 3},
      {"count beyond the file", cByteBuilder().U32(0xFFFFFFFF).Append(one), 3},
      {"count one too many", cByteBuilder().U32(2).Append(one), 2},
      {"record cut short", cByteBuilder().U32(1).Bytes({17, 0, 0, 0, 2, 5, 0, 0, 0, 0, 0, 0}), 1},
      {"more arrays than registered", cByteBuilder().U32(1).U32(18).Bytes(std::vector<std::uint8_t>(40, 0)), 1},
  };
  for (const DamagedListCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<cConditionDef> list(3);
    cRecordReader in(FileOf(556, c.list).Data());
    ReadConditionList(list, in);
    EXPECT_TRUE(in.Damaged());
    EXPECT_EQ(list.size(), c.size);
    TakeMainWindowMessages(WM_CLOSE);
  }
}

TEST_F(ConditionTest, VocabularyRowsAreTheStoredValues) {
  EXPECT_EQ(ConditionKindLabels[0], "");
  EXPECT_EQ(ConditionKindLabels[7], SJ("距離条件"));
  EXPECT_EQ(ConditionKindLabels.Size(), 9);
  EXPECT_EQ(CharaStatusLabels[10], SJ("体当たりの衝撃"));
  EXPECT_EQ(CharaStatusLabels.Size(), kCharaStatusCount + 1);
  EXPECT_EQ(CharaStatusRanges[10].low, -20);
  EXPECT_EQ(CharaStateLabels.Size(), kCharaStateCount + 1);
  const StateRow& enlargement = CharaStateRows[5];
  EXPECT_EQ((*enlargement.values)[10 - enlargement.range.low], SJ("×100"));
  EXPECT_EQ(CharaVariableLabels[0], SJ("1 キャラ変数-1"));
}

}  // namespace
