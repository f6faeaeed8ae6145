#pragma once
// The resource records of the database that name a file: dedicated character bitmaps, sword types
// with the parts of their swing, pictures, sounds and music.
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/label_list.h"

// A dedicated character bitmap ("専用bmp"): a sheet used instead of the shared character sheets.
class cBmpCharaExcDef : public cDataRecord {
 public:
  cBmpCharaExcDef();
  void RegisterFields(std::uint32_t version) override;
  // Files older than 153 store a number that is not kept.
  void Read(cRecordReader& in) override;

  std::string m_Name;
  std::int32_t m_Number = 0;  // kept for the editing program
  std::string m_FileName;
  std::int32_t m_LargeCells = 0;  // 0: 32 x 32-dot cells, 16 per row; else cells of m_CellScale x 32 dots
  std::int32_t m_CellScale = 2;
};

// The cell sizes a large-cell sheet can have: 16 / scale cells per row must leave at least one.
constexpr std::int32_t kMinCellScale = 1;
constexpr std::int32_t kMaxCellScale = 16;

// One part of a sword swing: ten values (see the table in database_resources.cpp).
class cSwordPartDef : public cDataRecord {
 public:
  cSwordPartDef();
  void RegisterFields(std::uint32_t version) override;

  // Index 0 is value 1: x, y offset; negate x, negate y while facing right; placement
  // (DirectionLabels); picture x, y; width, height; time in tenths of a second.
  std::int32_t m_Values[10] = {0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
};

// A sword type: its two bitmaps (facing left, facing right) and the parts of its swing.
class cSwordTypeDef : public cDataRecord {
 public:
  cSwordTypeDef();
  void RegisterFields(std::uint32_t version) override;
  // The base body, then u32 part count and the parts; files older than 153 lose the number.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;
  // Number 0, no names, one part showing for a tenth of a second.
  void SetDefaults();

  std::string m_Name;
  std::int32_t m_Number = 0;  // kept for the editing program
  std::string m_LeftFileName;
  std::string m_RightFileName;
  CheckedVector<cSwordPartDef> m_Parts;
};

// A name, a number the editing program keeps and a file name: pictures, sounds and music.
class cNamedFileDef : public cDataRecord {
 public:
  void RegisterFields(std::uint32_t version) override;
  // Files older than 153 store a number that is not kept.
  void Read(cRecordReader& in) override;

  std::string m_Name;
  std::int32_t m_Number = 0;
  std::string m_FileName;

 protected:
  cNamedFileDef() = default;
};

// A picture ("ピクチャー") shown by the picture command.
class cPictureDef : public cNamedFileDef {
 public:
  cPictureDef() { RegisterFields(g_CurrentVersion); }
};

// A sound effect; the start-up builds the sound table from these.
class cSoundDef : public cNamedFileDef {
 public:
  cSoundDef() { RegisterFields(g_CurrentVersion); }
};

// A piece of music, played by the music manager when a music request names it.
class cBgmDef : public cNamedFileDef {
 public:
  cBgmDef() { RegisterFields(g_CurrentVersion); }
};

// Placement of a sword part against its owner: "前", "後", "上", "下".
const LabelList& DirectionLabels();
