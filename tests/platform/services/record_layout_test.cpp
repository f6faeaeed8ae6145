// The bytes of record bodies, both ways, and reading by the file's version.
#include <cstring>
#include <limits>

#include "tests/platform/services/record_samples.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST_F(RecordTest, BodyOfOneShortAndOneText) {
  cShortText record;
  record.m_Short = 7;
  record.m_Text = "abc";
  EXPECT_EQ(HexBytes(BodyOf(record)), "01 00 00 00 07 00 01 00 00 00 04 00 00 00 61 62 63 00");
}

TEST_F(RecordTest, RecordThatRegistersNothingIsEightZeroBytes) {
  cDataRecord record;
  EXPECT_EQ(HexBytes(BodyOf(record)), "00 00 00 00 00 00 00 00");
}

TEST_F(RecordTest, EmptyTextIsTheWordOneAndReadsBackEmpty) {
  cShortText record;
  record.m_Short = -2;
  EXPECT_EQ(HexBytes(BodyOf(record)), "01 00 00 00 FE FF 01 00 00 00 01 00 00 00");

  cShortText back;
  back.m_Text = "old";
  EXPECT_FALSE(ReadImage(back, cByteBuilder().U32(556).Bytes(BodyOf(record))));
  EXPECT_EQ(back.m_Short, -2);
  EXPECT_EQ(back.m_Text, "");
}

TEST_F(RecordTest, MembersAreRawLittleEndianImagesBackToBack) {
  cVersioned record;
  record.m_Count = 0x01020304;
  record.m_Pair[0] = 0xA1B2;
  record.m_Pair[1] = 5;
  record.m_Ratio = 1.5f;
  record.m_Wide = -2.0;
  record.m_Name = "n";
  record.m_Scratch = 99;
  const std::string expected = HexBytes(cByteBuilder()
                                            .U32(4)
                                            .I32(0x01020304)
                                            .U16(0xA1B2)
                                            .U16(5)
                                            .F32(1.5f)
                                            .F64(-2.0)
                                            .U32(2)
                                            .Str("n")
                                            .Str("")
                                            .Data());
  EXPECT_EQ(HexBytes(BodyOf(record)), expected);
}

TEST_F(RecordTest, LongTextsAreWrittenWholeAndTextsEndAtTheirFirstNul) {
  cShortText record;
  record.m_Text = std::string(70000, 'x');
  Bytes body = BodyOf(record);
  ASSERT_EQ(body.size(), 4u + 2 + 4 + 4 + 70001);
  cShortText back;
  EXPECT_FALSE(ReadImage(back, cByteBuilder().U32(556).Bytes(body)));
  EXPECT_EQ(back.m_Text, record.m_Text);

  record.m_Text = std::string("ab\0cd", 5);
  EXPECT_EQ(HexBytes(BodyOf(record)), "01 00 00 00 00 00 01 00 00 00 03 00 00 00 61 62 00");
}

TEST_F(RecordTest, TextEndsAtTheFirstNulOfItsBlock) {
  cShortText record;
  EXPECT_FALSE(ReadImage(record, cByteBuilder().U32(556).U32(1).I16(3).U32(1).U32(5).Bytes({'a', 0, 'b', 'c', 0})));
  EXPECT_EQ(record.m_Text, "a");
}

struct StripCase {
  std::uint32_t strip;
  std::string stored;
  std::string read;
};

TEST_F(RecordTest, CarriageReturnsGoWhenTheSwitchIsOn) {
  const StripCase cases[] = {
      {1, "a\r\nb", "a\nb"},
      {1, "\r", ""},
      {1, "end\r", "end"},
      {1, "\r\r\nx\r", "\nx"},
      {0, "a\r\nb", "a\r\nb"},
  };
  for (const StripCase& c : cases) {
    g_StripCR = c.strip;
    cShortText record;
    EXPECT_FALSE(ReadImage(record, cByteBuilder().U32(556).U32(1).I16(1).U32(1).Str(c.stored)));
    EXPECT_EQ(HexBytes(record.m_Text), HexBytes(c.read)) << HexBytes(c.stored) << " strip " << c.strip;
  }
}

TEST_F(RecordTest, StripCRWalksTheListsAsTheyStand) {
  cShortText record;
  record.m_Text = "a\rb";
  record.StripCR();  // nothing registered yet
  EXPECT_EQ(record.m_Text, "a\rb");
  record.RegisterFields(g_CurrentVersion);
  record.StripCR();
  EXPECT_EQ(record.m_Text, "ab");
}

TEST_F(RecordTest, OlderFileLeavesTheMembersItLacksAndWritesAllAtTheCurrentVersion) {
  cVersioned record;
  record.m_Wide = 6.25;
  record.m_Note = "kept";
  record.m_Scratch = 11;
  // Version 300: count, pair, ratio; one text.
  const cByteBuilder file = cByteBuilder().U32(300).U32(3).I32(-5).U16(1).U16(2).F32(0.5f).U32(1).Str("old");
  EXPECT_FALSE(ReadImage(record, file));
  EXPECT_EQ(g_FileVersion, 300u);
  EXPECT_EQ(record.m_Count, -5);
  EXPECT_EQ(record.m_Pair[1], 2);
  EXPECT_EQ(record.m_Ratio, 0.5f);
  EXPECT_EQ(record.m_Name, "old");
  EXPECT_EQ(record.m_Wide, 6.25);
  EXPECT_EQ(record.m_Note, "kept");
  EXPECT_EQ(record.m_Scratch, 11);
  // The lists describe the current layout again.
  EXPECT_EQ(record.Fields().size(), 4u);
  EXPECT_EQ(record.StringFields().size(), 2u);

  const std::string expected = HexBytes(
      cByteBuilder().U32(4).I32(-5).U16(1).U16(2).F32(0.5f).F64(6.25).U32(2).Str("old").Str("kept").Data());
  EXPECT_EQ(HexBytes(BodyOf(record)), expected);
}

TEST_F(RecordTest, EachVersionReadsWithItsOwnRegistration) {
  // Version 50 has no pair; a version above ours reads with the registration given for its number.
  cVersioned early;
  early.m_Pair[0] = 77;
  EXPECT_FALSE(ReadImage(early, cByteBuilder().U32(50).U32(2).I32(1).F32(2.0f).U32(1).Str("e")));
  EXPECT_EQ(early.m_Pair[0], 77);
  EXPECT_EQ(early.m_Ratio, 2.0f);

  cVersioned later;
  EXPECT_FALSE(ReadImage(later, cByteBuilder().U32(900).U32(4).I32(1).U16(2).U16(3).F32(4.0f).F64(5.0).U32(2).Str("a").Str("b")));
  EXPECT_EQ(later.m_Wide, 5.0);
  EXPECT_EQ(later.m_Note, "b");
}

TEST_F(RecordTest, CountsOfZeroOrLessReadNoMembers) {
  const std::uint32_t counts[] = {0, 0x80000000u, 0xFFFFFFFFu};
  for (std::uint32_t count : counts) {
    cShortText record;
    record.m_Short = 4;
    record.m_Text = "keep";
    EXPECT_FALSE(ReadImage(record, cByteBuilder().U32(556).U32(count).U32(count))) << count;
    EXPECT_EQ(record.m_Short, 4);
    EXPECT_EQ(record.m_Text, "keep");
  }
}

TEST_F(RecordTest, FewerMembersThanRegisteredLeaveTheRest) {
  cVersioned record;
  record.m_Ratio = 3.0f;
  record.m_Note = "n";
  EXPECT_FALSE(ReadImage(record, cByteBuilder().U32(556).U32(1).I32(8).U32(1).Str("x")));
  EXPECT_EQ(record.m_Count, 8);
  EXPECT_EQ(record.m_Ratio, 3.0f);
  EXPECT_EQ(record.m_Name, "x");
  EXPECT_EQ(record.m_Note, "n");
}

TEST_F(RecordTest, OwnPartsFollowTheBaseBody) {
  cWithLists record;
  record.m_Id = 3;
  record.m_Values = {1, -1};
  record.m_Items.resize(1);
  record.m_Items[0].m_Short = 9;
  record.m_Items[0].m_Text = "it";
  const Bytes body = BodyOf(record);
  const std::string expected = HexBytes(cByteBuilder()
                                            .U32(1).I32(3).U32(0)
                                            .Vector(record.m_Values, [](cByteBuilder& b, std::int32_t v) { b.I32(v); })
                                            .U32(1).U32(1).I16(9).U32(1).Str("it")
                                            .Data());
  EXPECT_EQ(HexBytes(body), expected);

  cWithLists back;
  EXPECT_FALSE(ReadImage(back, cByteBuilder().U32(556).Bytes(body)));
  EXPECT_EQ(back.m_Values, record.m_Values);
  ASSERT_EQ(back.m_Items.size(), 1u);
  EXPECT_EQ(back.m_Items[0].m_Text, "it");
}

TEST_F(RecordTest, ReaderAndWriterKeepExplicitWidths) {
  cRecordWriter out;
  out.WriteU8(0xFE);
  out.WriteI8(-3);
  out.WriteU16(0x1234);
  out.WriteI16(-2);
  out.WriteU32(0xDEADBEEF);
  out.WriteI32(std::numeric_limits<std::int32_t>::min());
  out.WriteF32(-0.25f);
  out.WriteF64(1e300);
  const cByteBuilder expected = cByteBuilder()
                                    .U8(0xFE).I8(-3).U16(0x1234).I16(-2).U32(0xDEADBEEF)
                                    .I32(std::numeric_limits<std::int32_t>::min()).F32(-0.25f).F64(1e300);
  EXPECT_EQ(HexBytes(out.Bytes()), HexBytes(expected.Data()));
  EXPECT_EQ(HexBytes(cByteBuilder().I16(-2).F32(-0.25f).Data()), "FE FF 00 00 80 BE");

  cRecordReader in(cByteBuilder().U32(556).Append(expected).Data());
  std::uint8_t u8 = 0;
  std::int8_t i8 = 0;
  std::uint16_t u16 = 0;
  std::int16_t i16 = 0;
  std::uint32_t u32 = 0;
  std::int32_t i32 = 0;
  float f32 = 0;
  double f64 = 0;
  EXPECT_TRUE(in.ReadU8(u8) && in.ReadI8(i8) && in.ReadU16(u16) && in.ReadI16(i16) && in.ReadU32(u32) &&
              in.ReadI32(i32) && in.ReadF32(f32) && in.ReadF64(f64));
  EXPECT_EQ(u8, 0xFE);
  EXPECT_EQ(i8, -3);
  EXPECT_EQ(u16, 0x1234);
  EXPECT_EQ(i16, -2);
  EXPECT_EQ(u32, 0xDEADBEEFu);
  EXPECT_EQ(i32, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(f32, -0.25f);
  EXPECT_EQ(f64, 1e300);
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_FALSE(in.Damaged());
}

}  // namespace
