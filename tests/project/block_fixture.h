#pragma once
// Shared by the condition and block tests: a game folder with the record settings of start-up, the
// file layouts of conditions and blocks written out by hand from their field tables, and palettes
// bound into the load context for one test.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/block.h"
#include "project/condition.h"
#include "project/load_context.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

class ProjectRecordTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    m_SavedContext = LoadContext();
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    GameFolderTest::TearDown();
  }

 private:
  cLoadContext m_SavedContext;
};

// Every member of a condition, in the order of the current field list.
struct ConditionValues {
  std::uint8_t kind = 0;
  std::int32_t value = 0;
  std::int32_t randomLow = 0;
  std::int32_t randomHigh = 0;
  std::uint8_t subject = 0;
  std::uint8_t item = 0;
  std::uint8_t leftIsVariable = 0;
  std::uint8_t leftVarScope = 0;
  std::int16_t number = 0;
  std::uint8_t rightKind = 0;
  std::uint8_t rightSubject = 0;
  std::uint8_t rightItem = 0;
  std::uint8_t rightVarScope = 0;
  std::int16_t rightNumber = 0;
  std::uint8_t op = 0;
  std::uint8_t percent = 0;
  std::uint8_t shape = 0;

  bool operator==(const ConditionValues&) const = default;
};

inline ConditionValues ValuesOf(const cConditionDef& c) {
  return {c.m_Kind,           c.m_Value,        c.m_RandomLow, c.m_RandomHigh, c.m_Subject,      c.m_Item,
          c.m_LeftIsVariable, c.m_LeftVarScope, c.m_Number,    c.m_RightKind,  c.m_RightSubject, c.m_RightItem,
          c.m_RightVarScope,  c.m_RightNumber,  c.m_Operator,  c.m_Percent,    c.m_Shape};
}

inline void SetValues(cConditionDef& c, const ConditionValues& v) {
  c.m_Kind = v.kind;
  c.m_Value = v.value;
  c.m_RandomLow = v.randomLow;
  c.m_RandomHigh = v.randomHigh;
  c.m_Subject = v.subject;
  c.m_Item = v.item;
  c.m_LeftIsVariable = v.leftIsVariable;
  c.m_LeftVarScope = v.leftVarScope;
  c.m_Number = v.number;
  c.m_RightKind = v.rightKind;
  c.m_RightSubject = v.rightSubject;
  c.m_RightItem = v.rightItem;
  c.m_RightVarScope = v.rightVarScope;
  c.m_RightNumber = v.rightNumber;
  c.m_Operator = v.op;
  c.m_Percent = v.percent;
  c.m_Shape = v.shape;
}

// A condition body of version 110 and later: 17 arrays, 28 bytes, no text.
inline cByteBuilder ConditionBody(const ConditionValues& v) {
  cByteBuilder b;
  b.U32(17).U8(v.kind).I32(v.value).I32(v.randomLow).I32(v.randomHigh).U8(v.subject).U8(v.item);
  b.U8(v.leftIsVariable).U8(v.leftVarScope).I16(v.number).U8(v.rightKind).U8(v.rightSubject).U8(v.rightItem);
  b.U8(v.rightVarScope).I16(v.rightNumber).U8(v.op).U8(v.percent).U8(v.shape);
  return b.U32(0);
}

// Every member of a block that its file holds, in file order.
struct BlockValues {
  std::int8_t inheritSource = 0;
  std::int16_t inheritIndex = 0;
  std::uint8_t conditionMode = 0;
  std::uint8_t keepOnceMet = 0;
  std::int16_t chipIndex = 0;
  std::uint8_t chipSource = 0;
  std::int16_t chipFrame = 0;
  std::uint8_t frontLayer = 0;
  std::uint8_t hidden = 0;
  std::uint8_t markMode = 0;
  std::int16_t markNumber = 0;
  std::uint8_t solid = 1;
  std::int8_t passGroup = -1;
  std::uint8_t cellEffect = 0;
  std::int32_t effectValue = 0;
  std::int8_t itemSource = 0;
  std::int16_t itemIndex = 0;
  std::uint8_t summonProof = 0;
  std::string name;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::vector<std::uint8_t> flags = std::vector<std::uint8_t>(11, 0);
  std::vector<ConditionValues> conditions;
};

// A whole block as a file holds it (the layout is the same in every version).
inline cByteBuilder BlockRecord(const BlockValues& v) {
  cByteBuilder b;
  b.U32(18).I8(v.inheritSource).I16(v.inheritIndex).U8(v.conditionMode).U8(v.keepOnceMet).I16(v.chipIndex);
  b.U8(v.chipSource).I16(v.chipFrame).U8(v.frontLayer).U8(v.hidden).U8(v.markMode).I16(v.markNumber);
  b.U8(v.solid).I8(v.passGroup).U8(v.cellEffect).I32(v.effectValue).I8(v.itemSource).I16(v.itemIndex);
  b.U8(v.summonProof).U32(1).Str(v.name);
  b.I16(v.x).I16(v.y).U32(static_cast<std::uint32_t>(v.flags.size())).Bytes(v.flags);
  b.Vector(v.conditions, [](cByteBuilder& out, const ConditionValues& c) { out.Append(ConditionBody(c)); });
  return b;
}

// A record file of one record: the version word, then the record.
inline cByteBuilder FileOf(std::uint32_t version, const cByteBuilder& record) {
  return cByteBuilder().U32(version).Append(record);
}

// The bytes a record writes.
inline std::vector<std::uint8_t> Written(cDataRecord& record) {
  cRecordWriter out;
  record.Write(out);
  return out.Bytes();
}

// Reads one record from a file image; true when the file was damaged. rest gets the bytes left.
inline bool ReadFrom(cDataRecord& record, const cByteBuilder& file, std::size_t* rest = nullptr) {
  cRecordReader in(file.Data());
  record.Read(in);
  if (rest) *rest = in.Left();
  return in.Damaged();
}
