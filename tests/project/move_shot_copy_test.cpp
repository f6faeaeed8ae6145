// Move and shot records: write -> read -> write, copies that never share a record, damaged bodies
// and the spawn offsets.
#include "tests/project/move_shot_samples.h"

namespace edtest {
namespace {

// The body of a whole file image: what a record writes.
std::string BodyHex(const cByteBuilder& file) {
  std::vector<std::uint8_t> bytes(file.Data().begin() + 4, file.Data().end());
  return HexBytes(bytes);
}

TEST_F(EdRecordTest, WriteReadWriteIsByteIdentical) {
  const cByteBuilder moveFile = MoveFile(556);
  cEdMove move;
  EXPECT_FALSE(ReadImage(move, moveFile));
  const std::vector<std::uint8_t> moveBody = BodyOf(move);
  EXPECT_EQ(HexBytes(moveBody), BodyHex(moveFile));
  cEdMove moveAgain;
  EXPECT_FALSE(ReadImage(moveAgain, cByteBuilder().U32(556).Bytes(moveBody)));
  EXPECT_EQ(HexBytes(BodyOf(moveAgain)), HexBytes(moveBody));

  const cByteBuilder shotFile = ShotFile(556);
  cEdShot shot;
  EXPECT_FALSE(ReadImage(shot, shotFile));
  const std::vector<std::uint8_t> shotBody = BodyOf(shot);
  EXPECT_EQ(HexBytes(shotBody), BodyHex(shotFile));
  cEdShot shotAgain;
  EXPECT_FALSE(ReadImage(shotAgain, cByteBuilder().U32(556).Bytes(shotBody)));
  EXPECT_EQ(HexBytes(BodyOf(shotAgain)), HexBytes(shotBody));

  // An upgraded older file writes in the current layout and reads back to the same values.
  cEdShot old;
  EXPECT_FALSE(ReadImage(old, ShotFile(157)));
  const std::vector<std::uint8_t> upgraded = BodyOf(old);
  cEdShot back;
  EXPECT_FALSE(ReadImage(back, cByteBuilder().U32(556).Bytes(upgraded)));
  EXPECT_EQ(HexBytes(BodyOf(back)), HexBytes(upgraded));
  ExpectShotFromFile(back, 157);
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

TEST_F(EdRecordTest, ClonedRecordsAreTheirOwn) {
  std::shared_ptr<cEdMove> move;
  NewEdMove(move);
  move->m_Speed = 55;
  move->m_BrakingFactor = 0.5;
  std::shared_ptr<cEdMove> copy = CloneShared(move);
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), move.get());
  EXPECT_EQ(copy->m_Speed, 55);
  EXPECT_EQ(copy->m_BrakingFactor, 0.5);
  EXPECT_TRUE(DescribesItself(*copy));
  copy->m_Speed = 1;
  EXPECT_EQ(move->m_Speed, 55);
  EXPECT_FALSE(CloneShared(std::shared_ptr<cEdMove>()));

  std::shared_ptr<cEdShot> shot;
  NewEdShot(shot);
  shot->m_Word112 = -7;
  shot->m_MoveParams[2] = 9;
  std::shared_ptr<cEdShot> shotCopy = CloneShared(shot);
  ASSERT_TRUE(shotCopy);
  EXPECT_NE(shotCopy.get(), shot.get());
  EXPECT_EQ(HexBytes(BodyOf(*shotCopy)), HexBytes(BodyOf(*shot)));
  EXPECT_TRUE(DescribesItself(*shotCopy));
  shotCopy->m_MoveParams[2] = 1;
  EXPECT_EQ(shot->m_MoveParams[2], 9);
}

TEST_F(EdRecordTest, AssignSharedGivesTheTargetItsOwnRecord) {
  std::shared_ptr<cEdShot> source;
  NewEdShot(source);
  source->m_Picture = 42;

  // No record yet: a new one with the values.
  std::shared_ptr<cEdShot> target;
  AssignShared(target, source);
  ASSERT_TRUE(target);
  EXPECT_NE(target.get(), source.get());
  EXPECT_EQ(target->m_Picture, 42);

  // A record of its own: kept and assigned.
  cEdShot* own = target.get();
  source->m_Picture = 43;
  AssignShared(target, source);
  EXPECT_EQ(target.get(), own);
  EXPECT_EQ(target->m_Picture, 43);

  // A record held by someone else too (the source itself, here): replaced, the other untouched.
  std::shared_ptr<cEdShot> sharing = source;
  AssignShared(sharing, source);
  EXPECT_NE(sharing.get(), source.get());
  sharing->m_Picture = 1;
  EXPECT_EQ(source->m_Picture, 43);

  // A source without a record releases the target's.
  std::weak_ptr<cEdShot> released = target;
  AssignShared(target, std::shared_ptr<cEdShot>());
  EXPECT_FALSE(target);
  EXPECT_TRUE(released.expired());

  // Onto itself: nothing changes.
  AssignShared(source, source);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->m_Picture, 43);
}

TEST_F(EdRecordTest, SetDefaultsRestoresANewRecord) {
  cEdShot s;
  s.m_Size = 9;
  s.m_Byte70 = 0;
  s.m_Word112 = 3;
  s.SetDefaults();
  EXPECT_EQ(HexBytes(BodyOf(s)), HexBytes(BodyOf(*std::make_shared<cEdShot>())));
  EXPECT_TRUE(DescribesItself(s));

  cEdMove m;
  m.m_Speed = 0;
  m.m_BrakingFactor = 0;
  m.SetDefaults();
  EXPECT_EQ(m.m_Speed, 10);
  EXPECT_EQ(m.m_BrakingFactor, 1.0);
}

// Cuts a file image after size bytes.
cByteBuilder Cut(const cByteBuilder& file, std::size_t size) {
  std::vector<std::uint8_t> bytes(file.Data().begin(), file.Data().begin() + static_cast<std::ptrdiff_t>(size));
  return cByteBuilder().Bytes(bytes);
}

// Replaces the array count (the word after the version) of a file image.
cByteBuilder WithCount(const cByteBuilder& file, std::uint32_t count) {
  std::vector<std::uint8_t> bytes(file.Data().begin() + 8, file.Data().end());
  return cByteBuilder().Bytes({file.Data()[0], file.Data()[1], file.Data()[2], file.Data()[3]}).U32(count).Bytes(bytes);
}

TEST_F(EdRecordTest, DamagedBodiesAreReportedAndLeaveAUsableRecord) {
  const cByteBuilder moveFile = MoveFile(161);
  const cByteBuilder shotFile = ShotFile(200);
  const cByteBuilder damagedMoves[] = {
      cByteBuilder(),
      Cut(moveFile, 2),
      Cut(moveFile, 4),
      Cut(moveFile, 8),
      Cut(moveFile, moveFile.Size() - 5),
      Cut(moveFile, moveFile.Size() - 1),
      WithCount(moveFile, 33),
      WithCount(moveFile, 0x7FFFFFFF),
  };
  for (const cByteBuilder& file : damagedMoves) {
    cEdMove m = PresetMove();
    EXPECT_TRUE(ReadImage(m, file)) << HexBytes(file.Data());
    EXPECT_EQ(m.Fields().size(), 32u);
    BodyOf(m);  // still writes
  }
  const cByteBuilder damagedShots[] = {
      Cut(shotFile, 6),
      Cut(shotFile, 30),
      Cut(shotFile, shotFile.Size() - 4),
      WithCount(shotFile, 59),
      WithCount(shotFile, 0xFFFFFFF0),
  };
  for (const cByteBuilder& file : damagedShots) {
    cEdShot s;
    s.m_Size = 0;
    s.m_HitEffect = 999;
    EXPECT_TRUE(ReadImage(s, file)) << HexBytes(file.Data());
    // The normaliser ran over whatever the record holds.
    EXPECT_GE(s.m_Size, 1);
    EXPECT_LT(s.m_HitEffect, kEffects);
    EXPECT_EQ(s.Fields().size(), 58u);
  }
  // A count beyond the registration names itself in the report log.
  cEdShot s;
  EXPECT_TRUE(ReadImage(s, WithCount(ShotFile(556), 59)));
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("err V[58] ( 58 , 16 )"), std::string::npos);
  // Fewer arrays than registered is a whole body of an older writer: the rest keep their values.
  cEdMove few;
  few.m_BrakingFactor = 2.5;
  EXPECT_FALSE(ReadImage(few, cByteBuilder().U32(556).U32(2).U8(1).U8(4).U32(0)));
  EXPECT_EQ(few.m_Direction, 4);
  EXPECT_EQ(few.m_BrakingFactor, 2.5);
}

TEST_F(EdRecordTest, ShotOffsetsStepPerVolleyAndMirrorFacingRight) {
  cEdShot s;
  s.m_OffsetXBase = 0;
  s.m_OffsetXStep = 8;
  s.m_MirrorX = 1;
  EXPECT_EQ(s.OffsetX(3, 0), 24.0);
  EXPECT_EQ(s.OffsetX(3, 1), -24.0);
  s.m_MirrorX = 0;
  EXPECT_EQ(s.OffsetX(3, 1), 24.0);

  s.m_OffsetYBase = -5;
  s.m_OffsetYStep = 2;
  s.m_MirrorY = 0;
  EXPECT_EQ(s.OffsetY(2, 1), -1.0);
  s.m_MirrorY = 1;
  EXPECT_EQ(s.OffsetY(2, 1), 1.0);
  EXPECT_EQ(s.OffsetY(2, 0), -1.0);
  // The widest values do not wrap.
  s.m_OffsetXBase = 32767;
  s.m_OffsetXStep = 32767;
  s.m_MirrorX = 1;
  EXPECT_EQ(s.OffsetX(100000, 0), 32767.0 + 32767.0 * 100000.0);
}

}  // namespace
}  // namespace edtest
