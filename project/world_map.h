#pragma once
// The world map: the overworld of the story mode. A grid of 32-dot map chips over which the player
// walks from stage to stage, and events placed on cells (stage entrances, roads, walls) whose entries
// switch on and off with the progress of the save data. Read once at start-up from data\WorldMap.dat
// into g_WorldMap; the player never writes it.
//
// File: the version word, the map's body (eight numbers, title, background file), then four counted
// lists: chip definitions, the chip grid (u32 cells), placed events and event templates; an event is
// its body followed by its own counted list of entries.
//
// Cell (x, y) lies at index (y << pitch shift) + x of the grid. Row pitch and shift come from the
// file, so a map is only usable when they agree with each other and with the width: a map whose
// geometry does not hold together is a damaged file, and every cell access checks the grid anyway.
#include <cstdint>
#include <span>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/label_list.h"

// Entry kinds (WorldEventKindLabels).
constexpr std::int32_t kWorldEntryStage = 0;  // a stage entrance
constexpr std::int32_t kWorldEntryRoad = 1;
constexpr std::int32_t kWorldEntryWall = 2;  // the cursor cannot enter while the entry is active

// What follows a clear of an entry's stage (AfterClearLabels).
constexpr std::int32_t kAfterClearNothing = 0;
constexpr std::int32_t kAfterClearNextRound = 1;
constexpr std::int32_t kAfterClearTitle = 2;

// Entry comparisons of a progress variable (on the left) with the entry's value.
constexpr std::int32_t kCompareEqual = 0;
constexpr std::int32_t kCompareNotEqual = 1;
constexpr std::int32_t kCompareAtLeast = 2;
constexpr std::int32_t kCompareAtMost = 3;
constexpr std::int32_t kCompareGreater = 4;
constexpr std::int32_t kCompareLess = 5;

// The widest pitch an i32 holds, and the most cells a map may have: the editing program makes maps
// of a few hundred chips a side, so a file that asks for more is damaged, not a reason to allocate.
constexpr std::int32_t kMaxWorldPitchShift = 30;
constexpr std::int64_t kMaxWorldCells = std::int64_t{1} << 24;

extern const LabelList WorldEventKindLabels;
extern const LabelList AfterClearLabels;

// One chip definition.
class cWorldDef : public cDataRecord {
 public:
  cWorldDef();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Reserved = 0;  // kept and written back; the player does not read it
  std::int32_t m_Blocked = 0;   // non-zero: no entry to the cell unless an event entry is active there
  std::int32_t m_Picture = 0;   // picture in the chip sheet: column picture % 5, row picture / 5
  std::string m_Name;           // the editing program's
  std::string m_Label;          // "通行可" / "通行不可"
};

// One entry of an event; the first active entry is the one the event shows.
class cWorldEventItem : public cDataRecord {
 public:
  cWorldEventItem();
  void RegisterFields(std::uint32_t version) override;
  // Entries from before the score threshold existed are active at any score.
  void Read(cRecordReader& in) override;

  std::int32_t m_Kind = 0;           // WorldEventKindLabels
  std::int32_t m_PictureRow = 0;     // row in the event sheet; column 1 once cleared, else 0
  std::int32_t m_ClearNumber = 0;    // the entry's own clear flag of the current round
  std::int32_t m_Open = 0;           // non-zero: counts as passed although not cleared
  std::int32_t m_Reentry = 0;        // non-zero: a cleared stage may be started again
  std::int32_t m_AfterClear = 0;     // AfterClearLabels
  std::int32_t m_RequiredClear = 0;  // 0 (or less): none; else a clear flag that must be set
  std::int32_t m_Variable = 0;       // 0: none; else the progress variable compared
  std::int32_t m_CompareValue = 0;
  std::int32_t m_Comparison = 0;     // kCompare...; any other value makes the entry inactive
  std::int32_t m_MinTotalScore = 0;  // the total score must be at least this
  std::string m_Caption;             // shown for the entry under the cursor
  std::string m_StageName;           // base name of the stage file, looked up numbered
};

// An event placed on a cell.
class cWorldEvent : public cDataRecord {
 public:
  // One default entry, as the editing program makes a new event.
  cWorldEvent();
  void RegisterFields(std::uint32_t version) override;
  // The body, then the entry list.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  std::int32_t m_X = 0;
  std::int32_t m_Y = 0;
  std::string m_Name;
  CheckedVector<cWorldEventItem> m_Items;
};

// A cursor on the map, as the world-map scenes keep it: x and y first.
struct WorldPos {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// What the map rules read of the progress record. The save data hands out its own lists here; the
// map never keeps them.
struct WorldProgress {
  std::span<const std::uint32_t> clearFlags;  // of the current round; set = non-zero
  std::span<const std::uint32_t> variables;   // the common variables, compared as signed
  std::int32_t totalScore = 0;
};

class cWorldMap : public cDataRecord {
 public:
  // The map of a new project (SetDefaults).
  cWorldMap();

  void RegisterFields(std::uint32_t version) override;
  // Body and lists, then ValidateWorldMap; a map whose geometry does not hold marks the file damaged.
  void Read(cRecordReader& in) override;
  // ValidateWorldMap, then body and lists. A map whose geometry does not hold is not written: the
  // file fails rather than leaving a map that reads as damaged.
  void Write(cRecordWriter& out) override;

  // The file at path into this map, read over a copy. 1 when it was read whole; 0 when it did not
  // open or was damaged (which the report log says), and the map stays as it was.
  int LoadWorldMap(const char* path);

  // Title "ワールド", start (9, 7), colour 16, no background image, ten chip definitions (0-4
  // blocked), a 20 x 15 grid of chip 0, no placed events, one template event "デフォルト".
  void SetDefaults();
  // A new grid of height x pitch cells, keeping the cells both sizes share; 0 (and nothing changed)
  // for a size below 1 or a map larger than kMaxWorldCells, else 1.
  std::uint32_t SetSize(std::int32_t width, std::int32_t height);
  // Brings the map into the shape the rules rely on: start inside the width and height, events
  // beyond the right or bottom edge removed, a grid shorter than height x pitch filled up with chip
  // 0 (reported). False when the geometry itself does not hold (a size below 1, a pitch that is not
  // 1 << shift or is narrower than the width, a map larger than kMaxWorldCells): the map is damaged.
  bool ValidateWorldMap();
  // True when width, height, pitch and shift describe a usable grid.
  bool GeometryHolds() const;

  // The first placed event on the cell, or null; the index form gives -1.
  cWorldEvent* FindWorldEventAt(std::int32_t x, std::int32_t y);
  const cWorldEvent* FindWorldEventAt(std::int32_t x, std::int32_t y) const;
  int FindWorldEventIndexAt(std::int32_t x, std::int32_t y) const;
  // FindWorldEventAt with the cursor's cell; null for no cursor.
  cWorldEvent* FindWorldEventByPos(const WorldPos* cursor);

  bool InsideMap(std::int32_t x, std::int32_t y) const;
  // Grid index of a cell, or -1 for a cell outside the map or beyond the grid.
  int CellIndex(std::int32_t x, std::int32_t y) const;
  // The chip number of a cell; 0 outside the map.
  std::uint32_t ChipAt(std::int32_t x, std::int32_t y) const;
  // The definition of the cell's chip; null outside the map or for a chip the map does not define.
  const cWorldDef* ChipDefAt(std::int32_t x, std::int32_t y) const;

  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_Pitch = 0;
  std::int32_t m_PitchShift = 0;
  CheckedVector<cWorldDef> m_Defs;
  CheckedVector<std::uint32_t> m_Grid;
  CheckedVector<cWorldEvent> m_Events;
  CheckedVector<cWorldEvent> m_Templates;  // the editing program's; the player does not read them
  std::int32_t m_StartX = 0;
  std::int32_t m_StartY = 0;
  std::int32_t m_BackColour = 0;     // fill colour before the background
  std::int32_t m_ShowBackImage = 0;  // 0/1
  std::string m_Title;               // the player does not read it
  std::string m_BackImageFile;       // replaces the default file of the world-map background surface
};

extern cWorldMap g_WorldMap;

// The pitch of a row for width chips: the smallest power of two not below the width (shift 0 for a
// width of 1 or less). 20 gives 32 and 5, 33 gives 64 and 6. False, and nothing set, for a width no
// i32 power of two holds.
bool PitchForWidth(std::int32_t& pitch, std::int32_t& shift, std::int32_t width);

// The counted lists of the file: u32 n, then n records, each read into a fresh default record. A
// count the file cannot hold is never acted on: the list keeps what it had and the file is damaged.
void ReadWorldDefs(CheckedVector<cWorldDef>& defs, cRecordReader& in);
void ReadWorldEvents(CheckedVector<cWorldEvent>& events, cRecordReader& in);
void ReadWorldEventItems(CheckedVector<cWorldEventItem>& items, cRecordReader& in);

// The rules of the world-map scenes (world_rules.cpp).

// True when the clear flag n of the current round is set; a flag the record does not hold is not.
bool WorldClearFlagSet(const WorldProgress& progress, std::int32_t n);
// The entry's own stage was cleared in the current round.
bool WorldEntryCleared(const cWorldEventItem& entry, const WorldProgress& progress);
// Required clear, variable comparison and score threshold all hold.
bool WorldEntryActive(const cWorldEventItem& entry, const WorldProgress& progress);
// The first active entry of the event: its index, or -1; the pointer form gives null.
int ActiveWorldEntryIndex(const cWorldEvent& event, const WorldProgress& progress);
const cWorldEventItem* ActiveWorldEntry(const cWorldEvent& event, const WorldProgress& progress);
// Whether the cursor may step onto the cell: never outside the map; by the active entry of the
// event there (a wall blocks, any other kind lets through); without one by the chip's definition
// (a chip the map does not define blocks).
bool CanEnterWorldCell(const cWorldMap& map, std::int32_t x, std::int32_t y, const WorldProgress& progress);
// The walk over a stage entrance, for the active entry under the cursor: an entry neither cleared
// nor open starts its stage as soon as the cursor stands on it; a passed one only with the decide
// key, and then only when it is not cleared or may be entered again. Other kinds start nothing.
bool WorldEntranceStartsStage(const cWorldEventItem& entry, const WorldProgress& progress, bool decidePressed);
