#pragma once
// The settings of "ショット", "ソード" and the three summon commands: kept in a record of their own
// instead of the command's integer parameters. A command holds its record through a shared pointer
// and never shares it with another command (see ed_params.h for copying).
//
// The members named after their place (m_Byte36, m_Word112, ...) carry settings that only the shot
// and summon code of stage play gives a meaning; here they have their place, width and default.
// k below is the volley (and the summon index of the object it spawns).
#include <cstdint>
#include <memory>

#include "platform/services/record.h"

class cEdShot : public cDataRecord {
 public:
  cEdShot() = default;
  cEdShot(const cEdShot&) = default;
  // Re-registers this record for the current version and copies every member.
  cEdShot& operator=(const cEdShot&) = default;

  void RegisterFields(std::uint32_t version) override;
  // The body, the upgrades of the file's version, then Normalize.
  void Read(cRecordReader& in) override;
  // The base write: the members as they stand.
  void Write(cRecordWriter& out) override;

  // Size at least 1; a hit effect outside the database's effects becomes none.
  void Normalize();

  // The spawn offset of volley n: base + step x n of that axis, negated for an owner facing right
  // (facing 1) when the axis mirrors.
  double OffsetX(int n, int facing) const;
  double OffsetY(int n, int facing) const;

  void SetDefaults() { *this = cEdShot(); }

  std::uint8_t m_Byte36 = 0;
  std::uint8_t m_Pattern = 0;            // ShotPattern
  std::int16_t m_PatternParams[3] = {};  // ShotPatternParams
  std::uint8_t m_Direction = 0;          // a MoveDirection row
  std::uint8_t m_Byte45 = 0;
  std::int16_t m_Angle = 0;  // degrees of volley k: angle + step x k
  std::int16_t m_AngleStep = 0;
  std::uint8_t m_MirrorAngle = 1;   // the angle becomes 360 - angle facing right (from 158)
  std::int16_t m_RandomSpread = 0;  // each volley's angle moves by a random -s..s
  std::uint8_t m_Byte54 = 0;
  std::uint8_t m_ExtraVolleys = 0;  // the command fires this many volleys plus one
  std::int16_t m_OffsetXBase = 0;
  std::int16_t m_OffsetXStep = 0;
  std::int16_t m_OffsetYBase = 0;
  std::int16_t m_OffsetYStep = 0;
  std::uint8_t m_MirrorX = 1;
  std::uint8_t m_MirrorY = 0;
  std::int16_t m_Picture = 0;  // picture in the shot sheet, 0..119
  std::uint8_t m_Byte68 = 0;
  std::uint8_t m_Byte69 = 0;  // read by the shot drawing
  std::uint8_t m_Byte70 = 1;
  std::uint8_t m_Group = 0;  // the group of the shot object
  std::uint8_t m_Byte72 = 0;
  std::uint8_t m_Size = 1;  // enlargement, at least 1
  std::uint8_t m_Byte74 = 0;
  std::uint8_t m_MoveKind = 0;        // ShotMove; for "ソード" the sword type
  std::int16_t m_MoveParams[3] = {};  // ShotMoveParams
  std::uint8_t m_HomingFlag = 0;      // from 211
  std::int16_t m_Speed = 0;           // (speed + step x k) / 10 dots per frame
  std::int16_t m_SpeedStep = 0;
  std::uint8_t m_Accelerating = 0;  // from 213, with the two below
  std::int16_t m_Acceleration = 0;  // (acceleration + step x k) / 10 per frame
  std::int16_t m_AccelerationStep = 0;
  std::uint8_t m_LimitedRange = 0;  // removed after a travel distance
  std::int16_t m_Word96 = 0;        // base and per-volley step for the pattern spawner
  std::int16_t m_Word96Step = 0;
  std::uint8_t m_Byte100 = 0;
  std::uint8_t m_LimitedLife = 0;  // removed after a time
  std::int16_t m_Word102 = 0;      // a further base and step for the pattern spawner
  std::int16_t m_Word102Step = 0;
  std::uint8_t m_BlockPassing = 0;  // 1: not tested against map cells
  std::uint8_t m_Byte107 = 0;
  std::uint8_t m_Byte108 = 0;
  std::uint8_t m_Byte109 = 0;
  std::int32_t m_Word112 = 0;
  std::int16_t m_Word116 = 0;
  std::uint8_t m_Byte118 = 0;
  std::int16_t m_HitEffect = 0;  // database effect, 0 none
  std::int8_t m_ItemSource = 0;  // 1 common, 2 stage item palette
  std::int16_t m_ItemIndex = 0;
  std::uint8_t m_Byte126 = 0;
  std::uint8_t m_SummonPalette = 0;  // summon commands: 0 common, 1 stage palette
  std::int16_t m_SummonIndex = 0;    // the entry of that palette's list
  std::uint8_t m_Byte130 = 0;
  std::uint8_t m_Byte131 = 0;
  std::uint8_t m_Byte132 = 0;  // from 197
  std::uint8_t m_Byte133 = 0;
  std::uint8_t m_Byte134 = 0;
};

// A new record with the defaults, registered for the current version, in holder (whose previous
// record is released).
void NewEdShot(std::shared_ptr<cEdShot>& holder);
