#pragma once
// The rankings of a stage: five tables of twenty places, one per stage result (0 score, 1 remaining
// time, 2 clear time in hundredths of a second, 3 remaining HP, 4 remaining SP), kept per play mode
// in a small record file beside the user's saves. One ranking is held at a time, in g_Ranking.
//
// File: the version word, then the body: u32 0, u32 0 (the file record registers nothing), u32 table
// count, then per table u32 1, i32 m_Descending, u32 0, u32 entry count, and per entry u32 2,
// i32 m_Used, i32 m_Value, u32 1, the name.
#include <cstdint>
#include <string>

#include "platform/display/surface.h"
#include "platform/services/checked.h"
#include "platform/services/record.h"

constexpr std::int32_t kRankPlaces = 20;
constexpr std::int32_t kRankTableCount = 5;
// The table of clear times, the one table where a lower value ranks first and values are times.
constexpr std::int32_t kRankTableClearTime = 2;
// Files before this version held three tables (score, remaining time, clear time).
constexpr std::uint32_t kRankFiveTablesVersion = 181;

// One place of a table.
class cRankEntry : public cDataRecord {
 public:
  cRankEntry();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Used = 0;  // non-zero when the place holds a result
  std::string m_Name;
  std::int32_t m_Value = 0;  // a time in hundredths of a second
};

class cRankTable : public cDataRecord {
 public:
  // Ascending (m_Descending 0), twenty unused places.
  cRankTable();
  void RegisterFields(std::uint32_t version) override;
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  // m_Descending 0; exactly twenty places, those already there kept.
  void Reset();
  // The place a value would take: the first unused place, or the first whose value it beats
  // (strictly: an equal value ranks below the earlier one); -1 when it beats none.
  std::int32_t FindRank(std::int32_t value) const;
  // A used entry at FindRank's place, the last place dropped: the table keeps its length, and a
  // value that finds no place leaves it as it was.
  void Insert(const std::string& name, std::int32_t value);
  // The ranking window of table t (its label and how values are shown), with the marker beside
  // place marked (-1 for none). In ranking_display.cpp.
  void Draw(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::int32_t t, std::int32_t marked);

  std::int32_t m_Descending = 0;  // non-zero: a higher value ranks first
  CheckedVector<cRankEntry> m_Entries;
};

class cRankFile : public cDataRecord {
 public:
  // The five empty tables.
  cRankFile();
  void RegisterFields(std::uint32_t version) override;
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  // Back to the five empty tables with their orders.
  void Reset();
  // m_Tables[t] through the checked access, drawn with cRankTable::Draw.
  void DrawTable(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::int32_t t, std::int32_t marked);

  CheckedVector<cRankTable> m_Tables;
};

extern cRankFile g_Ranking;

// The ranking file of a stage for a play mode: the mode's ranking folder, the stage name without
// its folders (it already ends in the dot before its extension), and "rkg". 1 and the path; 0 for a
// mode that keeps no file (replay) or a path too long for the game's path buffers.
int MakeRankFilePath(std::string& buffer, std::int32_t playMode, const std::string& stageName);
// 1 when the stage's file was read whole into file; otherwise file is reset (five empty tables) and
// 0: no file yet, a mode without rankings, or a damaged file (the report log says so).
int LoadRankFile(cRankFile& file, std::int32_t playMode, const std::string& stageName);
// 1 when the file was written and put in place; 0 otherwise, and the previous file stays.
int SaveRankFile(cRankFile& file, std::int32_t playMode, const std::string& stageName);
