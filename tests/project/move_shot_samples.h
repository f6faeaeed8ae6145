#pragma once
// Move and shot record fixtures: a fresh game folder with the record settings of start-up and a
// small database, and file images of every format version built from the field lists.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/ed_params.h"
#include "project/load_context.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace edtest {

constexpr int kEffects = 20;

class EdRecordTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    m_SavedContext = LoadContext();
    LoadContext().database.effects = kEffects;
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    TakeMainWindowMessages(WM_CLOSE);
    GameFolderTest::TearDown();
  }

  cLoadContext m_SavedContext;
};

// Reads one record from a whole file image; true when the file was damaged.
inline bool ReadImage(cDataRecord& record, const cByteBuilder& file, std::size_t* left = nullptr) {
  cRecordReader in(file.Data());
  record.Read(in);
  if (left) *left = in.Left();
  return in.Damaged();
}

inline std::vector<std::uint8_t> BodyOf(cDataRecord& record) {
  cRecordWriter out;
  record.Write(out);
  return out.Bytes();
}

// A move body of version v from the field list, every field a value of its own so that a shifted
// or mis-sized field shows. The bracketed fields only from their version.
inline cByteBuilder MoveFile(std::uint32_t v) {
  const std::uint32_t arrays = v >= 162 ? 32 : v >= 159 ? 30 : v >= 158 ? 29 : 28;
  cByteBuilder b;
  b.U32(v).U32(arrays);
  b.U8(1).U8(9).I16(-30).I16(15);                  // target mode, direction, start angle, angle step
  if (v >= 158) b.U8(2);                           // mirror angle
  b.U8(3).U8(4);                                   // use target x, y
  b.I16(-5).I16(6).I16(-7).I16(8);                 // target cells x, y, target dots x, y
  b.U8(10).U8(11).U8(12).U8(13);                   // coordinate kind, end on arrival, no x movement, no y movement
  b.U8(14).U8(15).U8(16).U8(17);                   // mirror x, mirror y, turn with facing, stop on the point
  if (v >= 162) b.U8(18);                          // keep facing
  b.U8(19).I16(200).I16(-21).I16(220).I16(23);     // time mode, speed, speed step, distance, distance step
  if (v >= 159) b.U8(24);                          // unit
  b.I16(250).I16(-26).U8(27).I16(280).F64(0.375);  // radius, radius step, inertia, inertia limit, braking
  if (v >= 162) b.U8(29);                          // keep animation
  b.U32(0);                                        // no strings
  return b;
}

inline void ExpectMoveFromFile(const cEdMove& m, std::uint32_t v) {
  EXPECT_EQ(m.m_TargetMode, 1);
  EXPECT_EQ(m.m_Direction, 9);
  EXPECT_EQ(m.m_StartAngle, -30);
  EXPECT_EQ(m.m_AngleStep, 15);
  EXPECT_EQ(m.m_MirrorAngle, v >= 158 ? 2 : 0);
  EXPECT_EQ(m.m_UseTargetX, 3);
  EXPECT_EQ(m.m_UseTargetY, 4);
  EXPECT_EQ(m.m_TargetCellsX, -5);
  EXPECT_EQ(m.m_TargetCellsY, 6);
  EXPECT_EQ(m.m_TargetDotsX, -7);
  EXPECT_EQ(m.m_TargetDotsY, 8);
  EXPECT_EQ(m.m_CoordinateKind, 10);
  EXPECT_EQ(m.m_EndOnArrival, 11);
  EXPECT_EQ(m.m_NoMoveX, 12);
  EXPECT_EQ(m.m_NoMoveY, 13);
  EXPECT_EQ(m.m_MirrorX, 14);
  EXPECT_EQ(m.m_MirrorY, 15);
  EXPECT_EQ(m.m_TurnWithFacing, 16);
  EXPECT_EQ(m.m_StopOnPoint, 17);
  EXPECT_EQ(m.m_KeepFacing, v >= 162 ? 18 : 0);
  EXPECT_EQ(m.m_TimeMode, 19);
  EXPECT_EQ(m.m_Speed, 200);
  EXPECT_EQ(m.m_SpeedStep, -21);
  EXPECT_EQ(m.m_Distance, 220);
  EXPECT_EQ(m.m_DistanceStep, 23);
  EXPECT_EQ(m.m_Unit, v >= 159 ? 24 : 0);
  EXPECT_EQ(m.m_Radius, 250);
  EXPECT_EQ(m.m_RadiusStep, -26);
  EXPECT_EQ(m.m_Inertia, 27);
  EXPECT_EQ(m.m_InertiaLimit, 280);
  EXPECT_EQ(m.m_BrakingFactor, 0.375);
  EXPECT_EQ(m.m_KeepAnimation, v >= 162 ? 29 : 0);
}

// A record whose members all differ from the file's and from the defaults, so that "left alone"
// and "upgraded" can be told apart.
inline cEdMove PresetMove() {
  cEdMove m;
  m.m_MirrorAngle = 77;
  m.m_Unit = 77;
  m.m_KeepFacing = 77;
  m.m_KeepAnimation = 77;
  return m;
}

struct ShotFileValues {
  std::uint8_t moveKind = 28;
  std::uint8_t homing = 32;
  std::uint8_t size = 26;
  std::int16_t hitEffect = 5;
};

inline std::uint32_t ShotArrays(std::uint32_t v) {
  return 52 + (v >= 158) + (v >= 197) + (v >= 211) + (v >= 213 ? 3 : 0);
}

// A shot body of version v from the field list, every field a value of its own.
inline cByteBuilder ShotFile(std::uint32_t v, const ShotFileValues& x = {}) {
  cByteBuilder b;
  b.U32(v).U32(ShotArrays(v));
  b.U8(1).U8(2).I16(3).I16(-4).I16(5);      // byte 36, pattern, pattern parameters
  b.U8(6).U8(7).I16(8).I16(-9);             // direction, byte 45, angle, angle step
  if (v >= 158) b.U8(10);                   // mirror angle
  b.I16(11).U8(12).U8(13);                  // random spread, byte 54, extra volleys
  b.I16(14).I16(-15).I16(16).I16(-17);      // offset x base, step, offset y base, step
  b.U8(18).U8(19).I16(20);                  // mirror x, mirror y, picture
  b.U8(21).U8(22).U8(23).U8(24).U8(25);     // bytes 68, 69, 70, group, byte 72
  b.U8(x.size).U8(27).U8(x.moveKind);       // size, byte 74, movement kind
  b.I16(29).I16(-30).I16(31);               // movement parameters
  if (v >= 211) b.U8(x.homing);             // homing flag
  b.I16(33).I16(-34);                       // speed, speed step
  if (v >= 213) b.U8(35).I16(36).I16(-37);  // accelerating, acceleration, acceleration step
  b.I16(38).U8(39).I16(-40);                // word 96, limited range, word 96 step
  b.U8(41).U8(42).I16(43).I16(-44);         // byte 100, limited life, word 102, word 102 step
  b.U8(45).U8(46).U8(47).U8(48);            // block passing, bytes 107..109
  b.I32(0x12345678).I16(-50).U8(51);        // word 112, word 116, byte 118
  b.I16(x.hitEffect).I8(-2).I16(53);        // hit effect, item source, item index
  b.U8(54).U8(55);                          // byte 126, byte 131
  if (v >= 197) b.U8(56);                   // byte 132
  b.U8(57).I16(58).U8(59).U8(60).U8(61);    // summon palette, summon index, bytes 130, 133, 134
  b.U32(0);                                 // no strings
  return b;
}

inline void ExpectShotFromFile(const cEdShot& s, std::uint32_t v) {
  EXPECT_EQ(s.m_Byte36, 1);
  EXPECT_EQ(s.m_Pattern, 2);
  EXPECT_EQ(s.m_PatternParams[0], 3);
  EXPECT_EQ(s.m_PatternParams[1], -4);
  EXPECT_EQ(s.m_PatternParams[2], 5);
  EXPECT_EQ(s.m_Direction, 6);
  EXPECT_EQ(s.m_Byte45, 7);
  EXPECT_EQ(s.m_Angle, 8);
  EXPECT_EQ(s.m_AngleStep, -9);
  EXPECT_EQ(s.m_MirrorAngle, v >= 158 ? 10 : 0);
  EXPECT_EQ(s.m_RandomSpread, 11);
  EXPECT_EQ(s.m_Byte54, 12);
  EXPECT_EQ(s.m_ExtraVolleys, 13);
  EXPECT_EQ(s.m_OffsetXBase, 14);
  EXPECT_EQ(s.m_OffsetXStep, -15);
  EXPECT_EQ(s.m_OffsetYBase, 16);
  EXPECT_EQ(s.m_OffsetYStep, -17);
  EXPECT_EQ(s.m_MirrorX, 18);
  EXPECT_EQ(s.m_MirrorY, 19);
  EXPECT_EQ(s.m_Picture, 20);
  EXPECT_EQ(s.m_Byte68, 21);
  EXPECT_EQ(s.m_Byte69, 22);
  EXPECT_EQ(s.m_Byte70, 23);
  EXPECT_EQ(s.m_Group, 24);
  EXPECT_EQ(s.m_Byte72, 25);
  EXPECT_EQ(s.m_Size, 26);
  EXPECT_EQ(s.m_Byte74, 27);
  EXPECT_EQ(s.m_MoveKind, 28);
  EXPECT_EQ(s.m_MoveParams[0], 29);
  EXPECT_EQ(s.m_MoveParams[1], -30);
  EXPECT_EQ(s.m_MoveParams[2], 31);
  EXPECT_EQ(s.m_HomingFlag, v >= 212 ? 32 : 0);  // kind 28 is no homing kind
  EXPECT_EQ(s.m_Speed, 33);
  EXPECT_EQ(s.m_SpeedStep, -34);
  EXPECT_EQ(s.m_Accelerating, v >= 213 ? 35 : 0);
  EXPECT_EQ(s.m_Acceleration, v >= 213 ? 36 : 0);
  EXPECT_EQ(s.m_AccelerationStep, v >= 213 ? -37 : 0);
  EXPECT_EQ(s.m_Word96, 38);
  EXPECT_EQ(s.m_LimitedRange, 39);
  EXPECT_EQ(s.m_Word96Step, -40);
  EXPECT_EQ(s.m_Byte100, 41);
  EXPECT_EQ(s.m_LimitedLife, 42);
  EXPECT_EQ(s.m_Word102, 43);
  EXPECT_EQ(s.m_Word102Step, -44);
  EXPECT_EQ(s.m_BlockPassing, 45);
  EXPECT_EQ(s.m_Byte107, 46);
  EXPECT_EQ(s.m_Byte108, 47);
  EXPECT_EQ(s.m_Byte109, 48);
  EXPECT_EQ(s.m_Word112, 0x12345678);
  EXPECT_EQ(s.m_Word116, -50);
  EXPECT_EQ(s.m_Byte118, 51);
  EXPECT_EQ(s.m_HitEffect, 5);
  EXPECT_EQ(s.m_ItemSource, -2);
  EXPECT_EQ(s.m_ItemIndex, 53);
  EXPECT_EQ(s.m_Byte126, 54);
  EXPECT_EQ(s.m_Byte131, 55);
  EXPECT_EQ(s.m_Byte132, v >= 197 ? 56 : 55);  // older files copy byte 131
  EXPECT_EQ(s.m_SummonPalette, 57);
  EXPECT_EQ(s.m_SummonIndex, 58);
  EXPECT_EQ(s.m_Byte130, 59);
  EXPECT_EQ(s.m_Byte133, 60);
  EXPECT_EQ(s.m_Byte134, 61);
}

inline cEdShot PresetShot() {
  cEdShot s;
  s.m_MirrorAngle = 77;
  s.m_Byte132 = 77;
  s.m_HomingFlag = 77;
  s.m_Accelerating = 77;
  s.m_Acceleration = 77;
  s.m_AccelerationStep = 77;
  return s;
}

}  // namespace edtest
