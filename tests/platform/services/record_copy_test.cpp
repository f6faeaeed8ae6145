// Reset, Assign and copies of records: values go where the registration says, and descriptors
// always describe the record that holds them.
#include <memory>

#include "platform/services/record_ranges.h"
#include "tests/platform/services/record_samples.h"

namespace {

cVersioned Filled(std::int32_t count, const char* name) {
  cVersioned record;
  record.m_Count = count;
  record.m_Pair[0] = 1;
  record.m_Pair[1] = 2;
  record.m_Ratio = 0.5f;
  record.m_Wide = 8.0;
  record.m_Name = name;
  record.m_Note = "note";
  record.m_Scratch = 77;
  return record;
}

class RecordCopyTest : public RecordTest {
 protected:
  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }
};

TEST_F(RecordCopyTest, ResetClearsRegisteredMembersOnly) {
  cVersioned record = Filled(5, "name");
  record.Reset();
  EXPECT_EQ(record.m_Count, 0);
  EXPECT_EQ(record.m_Pair[1], 0);
  EXPECT_EQ(record.m_Ratio, 0.0f);
  EXPECT_EQ(record.m_Wide, 0.0);
  EXPECT_EQ(record.m_Name, "");
  EXPECT_EQ(record.m_Note, "");
  EXPECT_EQ(record.m_Scratch, 77);
}

TEST_F(RecordCopyTest, AssignCopiesRegisteredMembersOnlyAndLeavesTheSourceAlone) {
  const cVersioned source = Filled(5, "name");
  cVersioned target;
  target.m_Scratch = 1;
  target.Assign(source);
  EXPECT_EQ(target.m_Count, 5);
  EXPECT_EQ(target.m_Pair[1], 2);
  EXPECT_EQ(target.m_Wide, 8.0);
  EXPECT_EQ(target.m_Name, "name");
  EXPECT_EQ(target.m_Note, "note");
  EXPECT_EQ(target.m_Scratch, 1);
  EXPECT_TRUE(DescribesItself(target, sizeof target));
  EXPECT_EQ(target.Fields().size(), 4u);
  EXPECT_TRUE(source.Fields().empty());
}

TEST_F(RecordCopyTest, AssignmentLeavesTheTargetsDescriptorsInTheTarget) {
  cVersioned source = Filled(3, "src");
  source.Reset();
  source.m_Name = "src";
  cVersioned target;
  target = source;
  EXPECT_EQ(target.m_Name, "src");
  ASSERT_EQ(target.Fields().size(), source.Fields().size());
  EXPECT_TRUE(DescribesItself(target, sizeof target));
  for (std::size_t i = 0; i < target.Fields().size(); ++i) {
    const auto offset = [](const cDataRecord& r, std::size_t at) {
      return static_cast<const char*>(r.Fields()[at].data) - reinterpret_cast<const char*>(&r);
    };
    EXPECT_EQ(offset(target, i), offset(source, i));
  }
  target.m_Wide = 1.0;
  target.Reset();
  EXPECT_EQ(source.m_Name, "src") << "a reset through the target's lists reached the source";
}

TEST_F(RecordCopyTest, CopiesDescribeThemselvesAsVectorsGrow) {
  std::vector<cVersioned> records;
  for (int i = 0; i < 40; ++i) {
    cVersioned record = Filled(i, "x");
    record.RegisterFields(g_CurrentVersion);
    records.push_back(record);
  }
  for (const cVersioned& record : records) {
    ASSERT_EQ(record.Fields().size(), 4u);
    EXPECT_TRUE(DescribesItself(record, sizeof record));
  }
  cVersioned moved(std::move(records.back()));
  EXPECT_TRUE(DescribesItself(moved, sizeof moved));
  EXPECT_TRUE(records.back().Fields().empty());

  // Each copy resets through its own lists.
  cVersioned copy(records[3]);
  copy.StripCR();
  copy.Reset();
  EXPECT_EQ(records[3].m_Count, 3);
}

TEST_F(RecordCopyTest, RebaseMovesTheMemberPointerOntoTheTargetsOwner) {
  cVersioned source;
  cVersioned target;
  source.RegisterFields(g_CurrentVersion);
  FieldDesc desc(&target, nullptr, 0, 0);
  RebaseFieldDesc(desc, source.Fields()[1]);
  EXPECT_EQ(desc.owner, &target);
  EXPECT_EQ(desc.data, static_cast<void*>(target.m_Pair));
  EXPECT_EQ(desc.count, 2u);
  EXPECT_EQ(desc.elemSize, 2);

  StringFieldDesc text(&target, nullptr);
  text = source.StringFields()[1];
  EXPECT_EQ(text.str, &target.m_Note);

  std::vector<FieldDesc> list;
  CopyFieldDescs(list, source.Fields(), &target);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[3].data, static_cast<void*>(&target.m_Wide));
  std::vector<StringFieldDesc> texts;
  CopyStringFieldDescs(texts, source.StringFields(), &target);
  EXPECT_EQ(texts[0].str, &target.m_Name);
  ClearFieldDescs(list);
  EXPECT_TRUE(list.empty());

  // Without an owner there is nothing to point into.
  FieldDesc orphan;
  RebaseFieldDesc(orphan, source.Fields()[0]);
  EXPECT_EQ(orphan.data, nullptr);
}

TEST_F(RecordCopyTest, AssignBetweenClassesSkipsWhatTheSourceLacks) {
  cShortText source;
  source.m_Short = 9;
  source.m_Text = "short";
  cVersioned target = Filled(4, "mine");
  target.Assign(source);
  EXPECT_EQ(target.m_Count, 4);
  EXPECT_EQ(target.m_Wide, 8.0);
  EXPECT_EQ(target.m_Name, "short");
  EXPECT_EQ(target.m_Note, "note");
  EXPECT_EQ(ReportText(),
            "err V[0] ( 1 , 16 )\nerr V[1] ( 1 , 16 )\nerr V[2] ( 1 , 16 )\nerr V[3] ( 1 , 16 )\nerr V[1] ( 1 , 8 )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 5);
}

TEST_F(RecordCopyTest, DescriptorListsAreCheckedWithTheirOwnSizes) {
  cShortText record;
  record.RegisterFields(g_CurrentVersion);
  EXPECT_EQ(&record.Fields().At(3), &record.Fields()[0]);
  EXPECT_EQ(&record.StringFields().At(-1), &record.StringFields()[0]);
  EXPECT_EQ(ReportText(), "err V[3] ( 1 , 16 )\nerr V[-1] ( 1 , 8 )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 2);
}

cWithLists Listed(std::int32_t id, std::size_t items) {
  cWithLists record;
  record.m_Id = id;
  record.m_Values = {id, id + 1};
  for (std::size_t i = 0; i < items; ++i) {
    cShortText item;
    item.m_Short = static_cast<std::int16_t>(id * 10 + static_cast<int>(i));
    record.m_Items.push_back(item);
  }
  return record;
}

bool AllDescribeThemselves(const std::vector<cWithLists>& records) {
  for (const cWithLists& record : records) {
    if (!DescribesItself(record, sizeof record)) return false;
    for (const cShortText& item : record.m_Items)
      if (!DescribesItself(item, sizeof item)) return false;
  }
  return true;
}

TEST_F(RecordCopyTest, AssignRecordsCopiesDeeplyAndReRegisters) {
  struct SizeCase {
    std::size_t target;
    std::size_t source;
  };
  for (const SizeCase& c : {SizeCase{0, 3}, SizeCase{2, 3}, SizeCase{4, 1}, SizeCase{2, 0}}) {
    SCOPED_TRACE(testing::Message() << c.target << " <- " << c.source);
    std::vector<cWithLists> source;
    std::vector<cWithLists> target;
    for (std::size_t i = 0; i < c.source; ++i) source.push_back(Listed(static_cast<std::int32_t>(i + 1), 2));
    for (std::size_t i = 0; i < c.target; ++i) target.push_back(Listed(-1, 1));
    AssignRecords(target, source);
    ASSERT_EQ(target.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
      EXPECT_EQ(target[i].m_Id, source[i].m_Id);
      ASSERT_EQ(target[i].m_Items.size(), 2u);
      EXPECT_EQ(target[i].Fields().size(), 1u);
      source[i].m_Items[0].m_Short = -5;
      EXPECT_NE(target[i].m_Items[0].m_Short, -5);
    }
    EXPECT_TRUE(AllDescribeThemselves(target));
  }
}

TEST_F(RecordCopyTest, RangesMoveInsideOneVectorAndIntoRawStorage) {
  std::vector<cWithLists> records;
  for (int i = 0; i < 4; ++i) records.push_back(Listed(i, 1));
  // Shift the first three one place on, as an insertion does.
  cWithLists* begin = records.data();
  EXPECT_EQ(AssignRecordRangeBackward(begin, begin + 3, begin + 4), begin + 1);
  EXPECT_EQ(records[1].m_Id, 0);
  EXPECT_EQ(records[3].m_Id, 2);
  EXPECT_EQ(records[3].m_Items[0].m_Short, 20);
  // And back again, as an erasure does.
  EXPECT_EQ(AssignRecordRange(begin + 1, begin + 4, begin), begin + 3);
  EXPECT_EQ(records[2].m_Id, 2);
  EXPECT_TRUE(AllDescribeThemselves(records));

  std::allocator<cWithLists> allocator;
  cWithLists* raw = allocator.allocate(4);
  cWithLists* end = ConstructRecordRange(begin, begin + 4, raw);
  ASSERT_EQ(end, raw + 4);
  for (cWithLists* record = raw; record != end; ++record) {
    EXPECT_EQ(record->Fields().size(), 1u);
    EXPECT_TRUE(DescribesItself(*record, sizeof *record));
  }
  EXPECT_EQ(raw[2].m_Values, records[2].m_Values);
  DestroyRecordRange(raw, end);
  allocator.deallocate(raw, 4);
}

TEST_F(RecordCopyTest, CheckedByteAt) {
  std::vector<std::uint8_t> keys{1, 2, 0};
  EXPECT_EQ(CheckedByteAt(keys, 1), 2);
  CheckedByteAt(keys, 2) = 7;
  EXPECT_EQ(keys[2], 7);
  EXPECT_EQ(&CheckedByteAt(keys, 19), &keys[0]);
  std::vector<std::uint8_t> none;
  EXPECT_THROW(CheckedByteAt(none, 0), std::out_of_range);
  EXPECT_EQ(ReportText(), "err V[19] ( 3 , 1 )\nerr V[0] ( 0 , 1 )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 2);
}

}  // namespace
