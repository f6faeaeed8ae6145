#pragma once
// The effect records of the database: effects (a picture animation played at a place of the stage)
// with their frames, character effects and screen effects (a kind and five parameters).
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"

// One frame of an effect.
class cEffectFrame : public cDataRecord {
 public:
  cEffectFrame();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Cell = 0;
  std::int32_t m_Time = 1;  // tenths of a second
};

// An effect ("エフェクト").
class cEffectDef : public cDataRecord {
 public:
  cEffectDef();
  void RegisterFields(std::uint32_t version) override;
  void Read(cRecordReader& in) override;    // ReadEffectDef
  void Write(cRecordWriter& out) override;  // WriteEffectDef
  // Number 0, no names, 32 x 32-dot cells, not following the scale, no frames.
  void SetDefaults();

  std::string m_Name;
  std::int32_t m_Number = 0;  // kept for the editing program
  std::string m_FileName;
  std::int32_t m_CellWidth = 32;    // dots
  std::int32_t m_CellHeight = 32;   // dots
  std::int32_t m_FollowsScale = 0;  // non-zero: drawn enlarged with an enlarged object
  CheckedVector<cEffectFrame> m_Frames;
};

// What character and screen effects have in common, the file layout included: a name, the kind
// and five parameters, parameter 0 being the running time in tenths of a second.
class cEffectKindDef : public cDataRecord {
 public:
  void RegisterFields(std::uint32_t version) override;
  void Write(cRecordWriter& out) override;  // WriteEffectRecord

  std::string m_Name;
  std::int32_t m_Kind = 1;  // 0 none, entry 0 only
  std::int32_t m_Params[5] = {0, 0, 0, 0, 0};

 protected:
  cEffectKindDef() = default;
};

// A character effect: a drawing effect applied to one character.
class cCharaEffectDef : public cEffectKindDef {
 public:
  cCharaEffectDef() { RegisterFields(g_CurrentVersion); }
  void Read(cRecordReader& in) override;  // ReadCharaEffectDef
};

// A screen effect, applied to the whole picture.
class cScrEffectDef : public cEffectKindDef {
 public:
  cScrEffectDef() { RegisterFields(g_CurrentVersion); }
  void Read(cRecordReader& in) override;  // ReadScrEffectDef
};

// The reading and writing of those records, by the names the rest of the game knows them by.
void ReadEffectDef(cEffectDef& effect, cRecordReader& in);
void WriteEffectDef(cEffectDef& effect, cRecordWriter& out);
// The u32 frame count and the frames of an effect.
void ReadEffectFrames(CheckedVector<cEffectFrame>& frames, cRecordReader& in);
void ReadCharaEffectDef(cCharaEffectDef& effect, cRecordReader& in);
void ReadScrEffectDef(cScrEffectDef& effect, cRecordReader& in);
void WriteEffectRecord(cEffectKindDef& effect, cRecordWriter& out);
