// Move and shot records: the layout of every format version, the upgrades of older files, the
// defaults and the normaliser.
#include "tests/project/move_shot_samples.h"

namespace edtest {
namespace {

TEST_F(EdRecordTest, MoveReadsTheLayoutOfEachVersionAndUpgrades) {
  for (std::uint32_t v : {100u, 157u, 158u, 159u, 161u, 162u, 300u, 555u, 556u}) {
    SCOPED_TRACE(v);
    cEdMove m = PresetMove();
    std::size_t left = 1;
    EXPECT_FALSE(ReadImage(m, MoveFile(v), &left));
    EXPECT_EQ(left, 0u);  // every byte of the body belonged to a field
    ExpectMoveFromFile(m, v);
    EXPECT_EQ(m.Fields().size(), 32u);  // registered for the current version again
  }
}

TEST_F(EdRecordTest, NewMoveHasTheDefaultsAndWritesThemInFileOrder) {
  std::shared_ptr<cEdMove> move;
  NewEdMove(move);
  ASSERT_TRUE(move);
  cByteBuilder expected;
  expected.U32(32);
  expected.U8(0).U8(0).I16(0).I16(0);            // target mode, direction, start angle, angle step
  expected.U8(1);                                // mirror angle
  expected.U8(1).U8(1);                          // use target x, y
  expected.I16(0).I16(0).I16(0).I16(0);          // target cells x, y, dots x, y
  expected.U8(0).U8(1).U8(0).U8(0);              // coordinate kind, end on arrival, no x, no y movement
  expected.U8(1).U8(0).U8(1).U8(0);              // mirror x, mirror y, turn with facing, stop on the point
  expected.U8(0);                                // keep facing
  expected.U8(0).I16(10).I16(0).I16(0).I16(0);   // time mode, speed, speed step, distance, distance step
  expected.U8(0);                                // unit
  expected.I16(0).I16(0).U8(0).I16(0).F64(1.0);  // radius, radius step, inertia, inertia limit, braking
  expected.U8(0);                                // keep animation
  expected.U32(0);                               // no strings
  EXPECT_EQ(HexBytes(BodyOf(*move)), HexBytes(expected.Data()));
}

TEST_F(EdRecordTest, NewRecordReleasesThePreviousOne) {
  std::shared_ptr<cEdMove> move;
  NewEdMove(move);
  move->m_Speed = 99;
  std::weak_ptr<cEdMove> previous = move;
  NewEdMove(move);
  EXPECT_TRUE(previous.expired());
  EXPECT_EQ(move->m_Speed, 10);

  std::shared_ptr<cEdShot> shot;
  NewEdShot(shot);
  shot->m_Size = 9;
  std::weak_ptr<cEdShot> previousShot = shot;
  NewEdShot(shot);
  EXPECT_TRUE(previousShot.expired());
  EXPECT_EQ(shot->m_Size, 1);
  EXPECT_EQ(shot->m_Byte70, 1);
}

TEST_F(EdRecordTest, ShotReadsTheLayoutOfEachVersionAndUpgrades) {
  for (std::uint32_t v : {150u, 157u, 158u, 196u, 197u, 210u, 211u, 212u, 213u, 400u, 556u}) {
    SCOPED_TRACE(v);
    cEdShot s = PresetShot();
    std::size_t left = 1;
    EXPECT_FALSE(ReadImage(s, ShotFile(v), &left));
    EXPECT_EQ(left, 0u);
    ExpectShotFromFile(s, v);
    EXPECT_EQ(s.Fields().size(), 58u);
  }
}

struct HomingCase {
  std::uint32_t version;
  std::uint8_t kind;
  std::uint8_t stored;
  std::uint8_t read;
};

TEST_F(EdRecordTest, HomingFlagOfOlderFilesFollowsTheMovementKind) {
  const HomingCase cases[] = {
      {211, 6, 0, 1}, {211, 8, 1, 0}, {211, 4, 0, 1},
      {211, 7, 0, 1}, {211, 3, 1, 0}, {200, 5, 0, 1},  // before the flag was stored at all
      {212, 6, 0, 0}, {212, 8, 1, 1},                  // from 212 the stored flag holds
  };
  for (const HomingCase& c : cases) {
    cEdShot s;
    ShotFileValues values;
    values.moveKind = c.kind;
    values.homing = c.stored;
    EXPECT_FALSE(ReadImage(s, ShotFile(c.version, values)));
    EXPECT_EQ(s.m_HomingFlag, c.read) << "version " << c.version << " kind " << int(c.kind);
  }
}

struct NormalizeCase {
  std::uint8_t size;
  std::int16_t hitEffect;
  std::uint8_t sizeRead;
  std::int16_t hitEffectRead;
};

TEST_F(EdRecordTest, ReadingNormalizesSizeAndHitEffect) {
  const NormalizeCase cases[] = {
      {0, 0, 1, 0},  // size at least 1
      {1, kEffects - 1, 1, kEffects - 1},
      {255, kEffects, 255, 0},  // one past the last effect
      {3, -1, 3, 0},            // negative counts as out of range
      {3, -32768, 3, 0},
  };
  for (const NormalizeCase& c : cases) {
    for (std::uint32_t v : {150u, 556u}) {
      cEdShot s;
      ShotFileValues values;
      values.size = c.size;
      values.hitEffect = c.hitEffect;
      EXPECT_FALSE(ReadImage(s, ShotFile(v, values)));
      EXPECT_EQ(s.m_Size, c.sizeRead) << int(c.size) << " at " << v;
      EXPECT_EQ(s.m_HitEffect, c.hitEffectRead) << c.hitEffect << " at " << v;
    }
  }
  // Without a database every effect is out of range.
  LoadContext().database.effects = 0;
  cEdShot s;
  s.m_HitEffect = 3;
  s.Normalize();
  EXPECT_EQ(s.m_HitEffect, 0);
}

TEST_F(EdRecordTest, NewShotHasTheDefaultsAndWritesThemInFileOrder) {
  std::shared_ptr<cEdShot> shot;
  NewEdShot(shot);
  ASSERT_TRUE(shot);
  cByteBuilder expected;
  expected.U32(58);
  expected.U8(0).U8(0).I16(0).I16(0).I16(0);   // byte 36, pattern, pattern parameters
  expected.U8(0).U8(0).I16(0).I16(0).U8(1);    // direction, byte 45, angle, step, mirror angle
  expected.I16(0).U8(0).U8(0);                 // random spread, byte 54, extra volleys
  expected.I16(0).I16(0).I16(0).I16(0);        // offsets
  expected.U8(1).U8(0).I16(0);                 // mirror x, mirror y, picture
  expected.U8(0).U8(0).U8(1).U8(0).U8(0);      // bytes 68, 69, 70, group, byte 72
  expected.U8(1).U8(0).U8(0);                  // size, byte 74, movement kind
  expected.I16(0).I16(0).I16(0).U8(0);         // movement parameters, homing flag
  expected.I16(0).I16(0).U8(0).I16(0).I16(0);  // speed, step, accelerating, acceleration, step
  expected.I16(0).U8(0).I16(0);                // word 96, limited range, word 96 step
  expected.U8(0).U8(0).I16(0).I16(0);          // byte 100, limited life, word 102, step
  expected.U8(0).U8(0).U8(0).U8(0);            // block passing, bytes 107..109
  expected.I32(0).I16(0).U8(0);                // word 112, word 116, byte 118
  expected.I16(0).I8(0).I16(0).U8(0);          // hit effect, item source, item index, byte 126
  expected.U8(0).U8(0);                        // bytes 131, 132
  expected.U8(0).I16(0).U8(0).U8(0).U8(0);     // summon palette, index, bytes 130, 133, 134
  expected.U32(0);
  EXPECT_EQ(HexBytes(BodyOf(*shot)), HexBytes(expected.Data()));
}

}  // namespace
}  // namespace edtest
