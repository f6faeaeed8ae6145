// Damaged and hostile record files: nothing is read that is not there, nothing is acted on that
// cannot fit, the damage is reported, and what the file did not give keeps its value.
#include "tests/platform/services/record_samples.h"

namespace {

// The values a good body gives, and those the record holds before the read.
constexpr std::int32_t kCount = 1;
constexpr std::int32_t kOldCount = -1;
const char* const kOldNote = "o\r\nld";  // a carriage return the read must not take out

cByteBuilder Numbers(std::uint32_t count = 4) {
  return cByteBuilder().U32(count).I32(kCount).U16(2).U16(3).F32(4.0f).F64(5.0);
}

cVersioned Preset() {
  cVersioned record;
  record.m_Count = kOldCount;
  record.m_Pair[0] = record.m_Pair[1] = 9;
  record.m_Ratio = 9.0f;
  record.m_Wide = 9.0;
  record.m_Name = "old";
  record.m_Note = kOldNote;
  return record;
}

struct DamageCase {
  const char* name;
  cByteBuilder file;
  bool numbersRead;
  bool nameRead;
  const char* failureLine;  // the bounds failure line, or null
};

class RecordDamageTest : public RecordTest {
 protected:
  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }
};

TEST_F(RecordDamageTest, DamagedBodiesAreReportedAndLeaveUnreadMembers) {
  const DamageCase cases[] = {
      {"empty file", cByteBuilder(), false, false, nullptr},
      {"2-byte file", cByteBuilder().Bytes({0x2C, 0x02}), false, false, nullptr},
      {"version only", cByteBuilder().U32(556), false, false, nullptr},
      {"A = 0x7FFFFFFF", cByteBuilder().U32(556).Append(Numbers(0x7FFFFFFF)), false, false, "err V[4] ( 4 , 16 )"},
      {"one array more than registered", cByteBuilder().U32(556).Append(Numbers(5)).I32(77).U32(2).Str("N").Str("T"),
       false, false, "err V[4] ( 4 , 16 )"},
      {"numbers cut short", cByteBuilder().U32(556).U32(4).I32(kCount).U16(2), false, false, nullptr},
      {"no string count", cByteBuilder().U32(556).Append(Numbers()).Bytes({1, 0}), true, false, nullptr},
      {"L = 0", cByteBuilder().U32(556).Append(Numbers()).U32(2).U32(0).Str("T"), true, false, nullptr},
      {"L past the end", cByteBuilder().U32(556).Append(Numbers()).U32(2).U32(100).Bytes("ab"), true, false, nullptr},
      {"L = 0xFFFFFFFF", cByteBuilder().U32(556).Append(Numbers()).U32(2).U32(0xFFFFFFFF).Bytes("ab"), true, false, nullptr},
      {"block without NUL", cByteBuilder().U32(556).Append(Numbers()).U32(2).U32(3).Bytes("abc").Str("T"), true, false,
       nullptr},
      {"second text past the end", cByteBuilder().U32(556).Append(Numbers()).U32(2).Str("N").U32(50).Bytes("x"), true,
       true, nullptr},
      {"one text more than registered", cByteBuilder().U32(556).Append(Numbers()).U32(3).Str("N").Str("T").Str("U"),
       true, false, "err V[2] ( 2 , 8 )"},
      {"S = 0x7FFFFFFF", cByteBuilder().U32(556).Append(Numbers()).U32(0x7FFFFFFF), true, false, "err V[2] ( 2 , 8 )"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    cVersioned record = Preset();
    EXPECT_TRUE(ReadImage(record, c.file));
    EXPECT_EQ(record.m_Count, c.numbersRead ? kCount : kOldCount);
    EXPECT_EQ(record.m_Wide, c.numbersRead ? 5.0 : 9.0);
    EXPECT_EQ(record.m_Name, c.nameRead ? "N" : "old");
    EXPECT_EQ(record.m_Note, kOldNote);
    EXPECT_EQ(ReportText(), c.failureLine ? std::string(c.failureLine) + "\n" : "");
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), c.failureLine ? 1 : 0);
    // Whatever happened, the lists describe the current layout of the record itself.
    EXPECT_EQ(record.Fields().size(), 4u);
    EXPECT_TRUE(DescribesItself(record, sizeof record));
  }
}

TEST_F(RecordDamageTest, DamagedReaderGivesNothingMore) {
  cRecordReader in(cByteBuilder().U32(556).U16(5).Bytes({1, 2, 3, 4, 5, 6, 7, 8}).Data());
  std::uint32_t value = 42;
  std::uint16_t small = 0;
  ASSERT_TRUE(in.ReadU16(small));
  EXPECT_FALSE(in.Skip(9));
  EXPECT_TRUE(in.Damaged());
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_FALSE(in.ReadU32(value));
  EXPECT_EQ(value, 42u);
  std::string text = "kept";
  EXPECT_FALSE(in.ReadString(text));
  EXPECT_EQ(text, "kept");
}

TEST_F(RecordDamageTest, SeekingStaysInsideTheFile) {
  // The end-marker check of stage files reads the last word of the file.
  cRecordReader in(cByteBuilder().U32(556).U32(7).U32(123456789).Data());
  std::uint32_t marker = 0;
  ASSERT_EQ(in.Size(), 12u);
  ASSERT_TRUE(in.Seek(in.Size() - 4));
  ASSERT_TRUE(in.ReadU32(marker));
  EXPECT_EQ(marker, 123456789u);
  EXPECT_TRUE(in.Seek(4));
  EXPECT_EQ(in.Position(), 4u);
  EXPECT_FALSE(in.Seek(13));
  EXPECT_TRUE(in.Damaged());
  EXPECT_FALSE(in.Seek(4));
}

TEST_F(RecordDamageTest, ShortFileIsReadAsTheCurrentVersion) {
  g_FileVersion = 123;
  cRecordReader in(cByteBuilder().Bytes({0x2C, 0x02}).Data());
  EXPECT_TRUE(in.Damaged());
  EXPECT_EQ(in.Version(), 556u);
  EXPECT_EQ(g_FileVersion, 556u);
}

TEST_F(RecordDamageTest, CountsThatCannotFitAreNeverActedOn) {
  struct CountCase {
    const char* name;
    cByteBuilder tail;
    std::size_t values;  // each list is replaced only when it was read whole
    std::size_t items;
  };
  const CountCase cases[] = {
      {"value count 0x40000000", cByteBuilder().U32(0x40000000), 1, 2},
      {"value count one too many", cByteBuilder().U32(3).I32(1).I32(2), 1, 2},
      {"item count beyond the file", cByteBuilder().U32(0).U32(0xFFFFFFFF), 0, 2},
      {"item body cut short", cByteBuilder().U32(0).U32(1).U32(1).I16(4), 0, 2},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    cWithLists record;
    record.m_Values = {5};
    record.m_Items.resize(2);
    EXPECT_TRUE(ReadImage(record, cByteBuilder().U32(556).U32(1).I32(8).U32(0).Append(c.tail)));
    EXPECT_EQ(record.m_Id, 8);
    EXPECT_EQ(record.m_Values.size(), c.values);
    EXPECT_EQ(record.m_Items.size(), c.items);
  }
}

TEST_F(RecordDamageTest, DamagedFileOnDiskLoadsAndSaysSo) {
  WriteHostFile("bad.dat", cByteBuilder().U32(556).U32(4).I32(3).Text());
  WriteHostFile("good.dat", cByteBuilder().U32(556).Append(Numbers()).U32(2).Str("N").Str("T").Text());
  cVersioned record = Preset();
  EXPECT_EQ(record.LoadFile("bad.dat"), 1);
  EXPECT_TRUE(LastRecordReadDamaged());
  EXPECT_EQ(record.m_Count, kOldCount);
  EXPECT_EQ(record.LoadFile("good.dat"), 1);
  EXPECT_FALSE(LastRecordReadDamaged());
  EXPECT_EQ(record.m_Note, "T");
}

}  // namespace
