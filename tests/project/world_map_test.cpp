// The world-map record: the map of a new project, resizing the grid, reading files of older and
// current versions, the checks that keep a map from a file usable, and damaged files.
#include <filesystem>

#include "tests/project/world_map_fixture.h"

namespace {

using namespace world_file;

// The cells of a grid as "x,y=chip" for every non-zero cell, in index order of the given shift.
std::vector<std::string> SetCells(const cWorldMap& map) {
  std::vector<std::string> cells;
  for (int i = 0; i < map.m_Grid.Size(); ++i)
    if (map.m_Grid.At(i) != 0)
      cells.push_back(std::to_string(i & (map.m_Pitch - 1)) + "," + std::to_string(i >> map.m_PitchShift) + "=" +
                      std::to_string(map.m_Grid.At(i)));
  return cells;
}

TEST_F(WorldMapTest, NewMapIsTheProjectDefault) {
  cWorldMap map;
  EXPECT_EQ(map.m_Title, SJ("ワールド"));
  EXPECT_EQ(map.m_Width, 20);
  EXPECT_EQ(map.m_Height, 15);
  EXPECT_EQ(map.m_Pitch, 32);
  EXPECT_EQ(map.m_PitchShift, 5);
  EXPECT_EQ(map.m_Grid, CheckedVector<std::uint32_t>(480, 0));
  EXPECT_EQ(map.m_StartX, 9);
  EXPECT_EQ(map.m_StartY, 7);
  EXPECT_EQ(map.m_BackColour, 16);
  EXPECT_EQ(map.m_ShowBackImage, 0);
  EXPECT_TRUE(map.m_BackImageFile.empty());
  ASSERT_EQ(map.m_Defs.Size(), 10);
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(map.m_Defs.At(i).m_Picture, i);
    EXPECT_EQ(map.m_Defs.At(i).m_Blocked != 0, i < 5);
    EXPECT_EQ(map.m_Defs.At(i).m_Label, SJ(i < 5 ? "通行不可" : "通行可"));
  }
  EXPECT_TRUE(map.m_Events.empty());
  ASSERT_EQ(map.m_Templates.Size(), 1);
  EXPECT_EQ(map.m_Templates.At(0).m_Name, SJ("デフォルト"));
  EXPECT_EQ(map.m_Templates.At(0).m_Items.Size(), 1);
  EXPECT_TRUE(map.GeometryHolds());

  // The global is the same map, built before start-up set the record version.
  EXPECT_EQ(FileImageOf(g_WorldMap), FileImageOf(map));
}

TEST_F(WorldMapTest, PitchIsTheSmallestPowerOfTwoNotBelowTheWidth) {
  struct PitchCase {
    std::int32_t width;
    bool ok;
    std::int32_t pitch;
    std::int32_t shift;
  };
  const PitchCase cases[] = {
      {1, true, 1, 0},
      {2, true, 2, 1},
      {3, true, 4, 2},
      {20, true, 32, 5},
      {32, true, 32, 5},
      {33, true, 64, 6},
      {0, true, 1, 0},
      {INT32_MIN, true, 1, 0},
      {1 << 30, true, 1 << 30, 30},
      {(1 << 30) + 1, false, -1, -1},
      {INT32_MAX, false, -1, -1},
  };
  for (const PitchCase& c : cases) {
    SCOPED_TRACE(c.width);
    std::int32_t pitch = -1;
    std::int32_t shift = -1;
    EXPECT_EQ(PitchForWidth(pitch, shift, c.width), c.ok);
    EXPECT_EQ(pitch, c.pitch);
    EXPECT_EQ(shift, c.shift);
  }
}

TEST_F(WorldMapTest, ResizingKeepsTheCellsBothSizesShare) {
  struct ResizeCase {
    const char* name;
    std::int32_t width, height;
    std::int32_t pitch, shift;
    std::vector<std::string> cells;
  };
  // A 3 x 2 map (pitch 4) whose six cells are numbered 1..6 row by row.
  const ResizeCase cases[] = {
      {"grow to 5 x 3", 5, 3, 8, 3, {"0,0=1", "1,0=2", "2,0=3", "0,1=4", "1,1=5", "2,1=6"}},
      {"shrink to 2 x 1", 2, 1, 2, 1, {"0,0=1", "1,0=2"}},
      {"narrower, taller", 1, 4, 1, 0, {"0,0=1", "0,1=4"}},
      {"same size", 3, 2, 4, 2, {"0,0=1", "1,0=2", "2,0=3", "0,1=4", "1,1=5", "2,1=6"}},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cWorldMap map;
    ASSERT_EQ(map.SetSize(3, 2), 1u);
    ASSERT_EQ(map.m_Pitch, 4);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) map.m_Grid.At(y * 4 + x) = static_cast<std::uint32_t>(y * 3 + x + 1);
    ASSERT_EQ(map.SetSize(c.width, c.height), 1u);
    EXPECT_EQ(map.m_Width, c.width);
    EXPECT_EQ(map.m_Height, c.height);
    EXPECT_EQ(map.m_Pitch, c.pitch);
    EXPECT_EQ(map.m_PitchShift, c.shift);
    EXPECT_EQ(map.m_Grid.Size(), c.height * c.pitch);
    EXPECT_EQ(SetCells(map), c.cells);
  }
}

TEST_F(WorldMapTest, ResizingRefusesSizesWithoutAGridAndChangesNothing) {
  const std::pair<std::int32_t, std::int32_t> refused[] = {
      {0, 15}, {20, 0}, {-1, 15}, {20, -3}, {INT32_MAX, 1}, {4096, 4097}, {1, INT32_MAX},
  };
  for (const auto& [width, height] : refused) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    cWorldMap map;
    map.m_Grid.At(3) = 9;
    const std::vector<std::uint8_t> before = FileImageOf(map);
    EXPECT_EQ(map.SetSize(width, height), 0u);
    EXPECT_EQ(FileImageOf(map), before);
  }
}

// A grid from a file may be shorter than its sizes say, or placed by a shift no map has: resizing
// copies only the cells that are there.
TEST_F(WorldMapTest, ResizingAMalformedGridReadsOnlyWhatIsThere) {
  cWorldMap map;
  map.m_Width = 3;
  map.m_Height = 4;
  map.m_Pitch = 4;
  map.m_PitchShift = 2;
  map.m_Grid.assign({1, 2, 3, 0, 4, 5});
  ASSERT_EQ(map.SetSize(3, 4), 1u);
  EXPECT_EQ(SetCells(map), (std::vector<std::string>{"0,0=1", "1,0=2", "2,0=3", "0,1=4", "1,1=5"}));

  map.m_PitchShift = 40;
  map.m_Grid.assign({7, 7, 7});
  ASSERT_EQ(map.SetSize(2, 2), 1u);
  EXPECT_EQ(map.m_Grid, CheckedVector<std::uint32_t>(4, 0));
}

TEST_F(WorldMapTest, EveryFieldIsReadAndWrittenAsTheLayoutSays) {
  const MapFile f = RichMap();
  cWorldMap map;
  ASSERT_FALSE(ReadImage(map, Build(f)));
  EXPECT_EQ(map.m_Width, 6);
  EXPECT_EQ(map.m_Height, 3);
  EXPECT_EQ(map.m_Pitch, 8);
  EXPECT_EQ(map.m_PitchShift, 3);
  EXPECT_EQ(map.m_StartX, 2);
  EXPECT_EQ(map.m_StartY, 1);
  EXPECT_EQ(map.m_BackColour, 200);
  EXPECT_EQ(map.m_ShowBackImage, 1);
  EXPECT_EQ(map.m_Title, "map");
  EXPECT_EQ(map.m_BackImageFile, "back.bmp");
  ASSERT_EQ(map.m_Defs.Size(), 2);
  EXPECT_EQ(map.m_Defs.At(0).m_Reserved, 7);
  EXPECT_EQ(map.m_Defs.At(0).m_Blocked, 1);
  EXPECT_EQ(map.m_Defs.At(1).m_Picture, 6);
  EXPECT_EQ(map.m_Defs.At(1).m_Name, "grass");
  EXPECT_EQ(map.m_Defs.At(1).m_Label, "yes");
  EXPECT_EQ(SetCells(map), (std::vector<std::string>{"2,1=1", "5,2=1"}));
  EXPECT_EQ(map.ChipAt(2, 1), 1u);
  ASSERT_EQ(map.m_Events.Size(), 2);
  const cWorldEvent& gate = map.m_Events.At(0);
  EXPECT_EQ(gate.m_Name, "gate");
  ASSERT_EQ(gate.m_Items.Size(), 2);
  const cWorldEventItem& first = gate.m_Items.At(0);
  EXPECT_EQ(first.m_PictureRow, 3);
  EXPECT_EQ(first.m_ClearNumber, 4);
  EXPECT_EQ(first.m_Reentry, 1);
  EXPECT_EQ(first.m_AfterClear, 1);
  EXPECT_EQ(first.m_RequiredClear, 2);
  EXPECT_EQ(first.m_Variable, 5);
  EXPECT_EQ(first.m_CompareValue, -7);
  EXPECT_EQ(first.m_Comparison, 3);
  EXPECT_EQ(first.m_MinTotalScore, 1000);
  EXPECT_EQ(first.m_Caption, "first");
  EXPECT_EQ(first.m_StageName, "c1");
  EXPECT_EQ(gate.m_Items.At(1).m_Kind, kWorldEntryWall);
  EXPECT_EQ(map.m_Events.At(1).m_Items.At(0).m_Open, 1);
  ASSERT_EQ(map.m_Templates.Size(), 1);
  EXPECT_EQ(map.m_Templates.At(0).m_Name, "tmpl");

  // Our writer lays it out exactly as the hand-built file, and again after a read of its own.
  EXPECT_EQ(HexBytes(FileImageOf(map)), HexBytes(Build(f).Data()));
  cWorldMap again;
  ASSERT_FALSE(ReadImage(again, cByteBuilder().Bytes(FileImageOf(map))));
  EXPECT_EQ(FileImageOf(again), FileImageOf(map));
}

TEST_F(WorldMapTest, DefaultMapRoundTripsByteForByte) {
  cWorldMap map;
  const std::vector<std::uint8_t> first = FileImageOf(map);
  cWorldMap back;
  back.SetSize(3, 3);
  back.m_Templates.clear();
  ASSERT_FALSE(ReadImage(back, cByteBuilder().Bytes(first)));
  EXPECT_EQ(FileImageOf(back), first);

  ASSERT_EQ(map.SaveFile("data\\WorldMap.dat"), 0);  // no data folder yet
  std::filesystem::create_directory(m_Folder / "data");
  ASSERT_EQ(map.SaveFile("data\\WorldMap.dat"), 1);
  cWorldMap loaded;
  loaded.SetSize(4, 4);
  ASSERT_EQ(loaded.LoadWorldMap("data\\WorldMap.dat"), 1);
  EXPECT_EQ(FileImageOf(loaded), first);
}

TEST_F(WorldMapTest, EntriesOfOldFilesAreActiveAtAnyScore) {
  for (std::uint32_t version : {100u, 208u, 209u, 556u}) {
    SCOPED_TRACE(version);
    MapFile f = RichMap(version);
    cWorldMap map;
    ASSERT_FALSE(ReadImage(map, Build(f)));
    const cWorldEventItem& first = map.m_Events.At(0).m_Items.At(0);
    EXPECT_EQ(first.m_MinTotalScore, version >= kScoreVersion ? 1000 : 0);
    // The texts after the numbers are where they belong in either layout.
    EXPECT_EQ(first.m_Caption, "first");
    EXPECT_EQ(first.m_StageName, "c1");
    EXPECT_EQ(map.m_Events.At(1).m_Items.At(0).m_Caption, "road");
  }

  // An entry read from a version-208 file over one that had a threshold loses it.
  cWorldEventItem item;
  item.m_MinTotalScore = 50;
  cByteBuilder file;
  file.U32(208);
  AddItem(file, ItemFields{.kind = 1, .caption = "x", .stageName = ""}, 208);
  cRecordReader in(file.Data());
  item.Read(in);
  EXPECT_FALSE(in.Damaged());
  EXPECT_EQ(item.m_MinTotalScore, 0);
  EXPECT_EQ(item.m_Kind, 1);
  EXPECT_EQ(item.m_Caption, "x");
}

TEST_F(WorldMapTest, StartAndEventsOutsideTheMapAreCorrectedOnReading) {
  struct EdgeCase {
    const char* name;
    std::int32_t startX, startY;
    std::vector<std::pair<int, int>> events;
    std::int32_t expectX, expectY;
    std::vector<std::string> kept;
  };
  const EdgeCase cases[] = {
      {"start right of the map", 25, 3, {}, 19, 3, {}},
      {"start below the map", 4, 15, {}, 4, 14, {}},
      {"start on the last cell", 19, 14, {}, 19, 14, {}},
      {"start left of the map stays", -2, 3, {}, -2, 3, {}},
      {"events", 9, 7, {{20, 4}, {-1, 4}, {19, 14}, {3, 15}, {21, 0}, {0, -5}}, 9, 7, {"-1,4", "19,14", "0,-5"}},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    MapFile f;
    f.startX = c.startX;
    f.startY = c.startY;
    for (const auto& [x, y] : c.events)
      f.events.push_back({x, y, std::to_string(x) + "," + std::to_string(y), {ItemFields{}}});
    cWorldMap map;
    EXPECT_FALSE(ReadImage(map, Build(f)));
    EXPECT_EQ(map.m_StartX, c.expectX);
    EXPECT_EQ(map.m_StartY, c.expectY);
    std::vector<std::string> kept;
    for (const cWorldEvent& event : map.m_Events) kept.push_back(event.m_Name);
    EXPECT_EQ(kept, c.kept);
  }
}

// Pitch and shift come from the file: a map whose geometry does not hold together is damaged, and a
// grid too short for its rows is filled up and reported.
TEST_F(WorldMapTest, GeometryFromTheFileIsChecked) {
  struct GeometryCase {
    const char* name;
    std::int32_t width, height, pitch, shift;
    std::size_t cells;
    bool damaged;
    int gridAfter;  // cells after reading
  };
  const GeometryCase cases[] = {
      {"sound", 20, 15, 32, 5, 480, false, 480},
      {"wider pitch than needed", 20, 2, 64, 6, 128, false, 128},
      {"grid longer than the rows", 3, 2, 4, 2, 11, false, 11},
      {"short grid", 20, 15, 32, 5, 100, false, 480},
      {"no grid", 3, 2, 4, 2, 0, false, 8},
      {"width 0", 0, 15, 32, 5, 480, true, 480},
      {"smallest width", INT32_MIN, 15, 32, 5, 480, true, 480},
      {"smallest height", 20, INT32_MIN, 32, 5, 480, true, 480},
      {"negative height", 20, -1, 32, 5, 480, true, 480},
      {"pitch not 1 << shift", 20, 15, 32, 4, 480, true, 480},
      {"pitch narrower than the width", 20, 15, 16, 4, 480, true, 480},
      {"shift 31", 20, 15, INT32_MIN, 31, 0, true, 0},
      {"negative shift", 1, 1, 1, -1, 1, true, 1},
      {"more cells than any map", 1024, 1 << 20, 1024, 10, 0, true, 0},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    MapFile f;
    f.width = c.width;
    f.height = c.height;
    f.pitch = c.pitch;
    f.shift = c.shift;
    f.startX = 0;
    f.startY = 0;
    f.grid.assign(c.cells, 5);
    cWorldMap map;
    EXPECT_EQ(ReadImage(map, Build(f)), c.damaged);
    EXPECT_EQ(map.GeometryHolds(), !c.damaged);
    // The start (0, 0) is on the map, or as near it as a map without cells has.
    EXPECT_EQ(map.m_StartX, 0);
    EXPECT_EQ(map.m_StartY, 0);
    ASSERT_EQ(map.m_Grid.Size(), c.gridAfter);
    // Cells the file held keep their chip; added ones are chip 0.
    for (int i = 0; i < c.gridAfter; ++i) ASSERT_EQ(map.m_Grid.At(i), static_cast<std::size_t>(i) < c.cells ? 5u : 0u);
    // A map that would read as damaged is never written.
    cRecordWriter out;
    map.Write(out);
    EXPECT_EQ(out.Failed(), c.damaged);
    const bool padded = !c.damaged && static_cast<std::size_t>(c.gridAfter) > c.cells;
    EXPECT_EQ(ReportText().find("ワールドマップ : マップチップが") != std::string::npos, padded) << ReportText();
    // Whatever the file said, looking at cells stays inside the grid.
    for (int y = -1; y <= 3; ++y)
      for (int x = -1; x <= 21; ++x) {
        const int index = map.CellIndex(x, y);
        ASSERT_LT(index, map.m_Grid.Size());
        map.ChipAt(x, y);
        map.ChipDefAt(x, y);
      }
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(WorldMapTest, DamagedMapIsRefusedByTheLoaderAndTheMapStays) {
  MapFile broken;
  broken.width = 0;
  WriteHostFile("data/WorldMap.dat", Build(broken).Text());
  MapFile truncated = RichMap();
  const std::string whole = Build(truncated).Text();
  WriteHostFile("data/Short.dat", whole.substr(0, whole.size() - 3));

  cWorldMap map;
  map.m_Title = "mine";
  const std::vector<std::uint8_t> before = FileImageOf(map);
  EXPECT_EQ(map.LoadWorldMap("data\\WorldMap.dat"), 0);
  EXPECT_NE(ReportText().find("data\\WorldMap.dat が破損しています！"), std::string::npos) << ReportText();
  EXPECT_EQ(map.LoadWorldMap("data\\Short.dat"), 0);
  EXPECT_EQ(map.LoadWorldMap("data\\Missing.dat"), 0);
  EXPECT_EQ(FileImageOf(map), before);

  // Through the record base's own LoadFile the same file says it was damaged.
  cWorldMap direct;
  EXPECT_EQ(direct.LoadFile("data\\WorldMap.dat"), 1);
  EXPECT_TRUE(LastRecordReadDamaged());
}

TEST_F(WorldMapTest, EveryTruncationIsDamagedAndNeverCrashes) {
  for (std::uint32_t version : {208u, 556u}) {
    const std::vector<std::uint8_t> whole = Build(RichMap(version)).Data();
    for (std::size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE(testing::Message() << "version " << version << ", " << length << " of " << whole.size());
      cWorldMap map;
      EXPECT_TRUE(
          ReadImage(map, cByteBuilder().Bytes(std::vector<std::uint8_t>(whole.begin(), whole.begin() + length))));
      // The rules can still look at every cell.
      for (int y = -1; y <= map.m_Height; ++y)
        for (int x = -1; x <= map.m_Width; ++x) map.ChipDefAt(x, y);
      if (HasFailure()) return;
    }
  }
}

// Places in the rich map's file: the four list counts and the first event's entry count.
struct RichOffsets {
  std::size_t defCount, gridCount, eventCount, itemCount;
};

RichOffsets OffsetsOf(const MapFile& f) {
  RichOffsets o{};
  o.defCount = 4 + 4 + 32 + 4 + (4 + f.title.size() + 1) + (4 + f.backImage.size() + 1);
  std::size_t defs = 0;
  for (const DefFields& d : f.defs) defs += 4 + 12 + 4 + (4 + d.name.size() + 1) + (4 + d.label.size() + 1);
  o.gridCount = o.defCount + 4 + defs;
  o.eventCount = o.gridCount + 4 + 4 * f.grid.size();
  o.itemCount = o.eventCount + 4 + 4 + 8 + 4 + (4 + f.events.at(0).name.size() + 1);
  return o;
}

TEST_F(WorldMapTest, InflatedCountsAreRefused) {
  const MapFile f = RichMap();
  const std::vector<std::uint8_t> good = Build(f).Data();
  const RichOffsets o = OffsetsOf(f);
  ASSERT_EQ(good[o.defCount], 2);
  ASSERT_EQ(good[o.gridCount], 24);
  ASSERT_EQ(good[o.eventCount], 2);
  ASSERT_EQ(good[o.itemCount], 2);
  for (std::size_t offset : {o.defCount, o.gridCount, o.eventCount, o.itemCount}) {
    for (std::uint32_t count : {0xFFFFFFFFu, 0x40000000u, 0x00100000u}) {
      SCOPED_TRACE(testing::Message() << "count at " << offset << " = " << count);
      std::vector<std::uint8_t> bytes = good;
      for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(count >> (8 * i));
      cWorldMap map;
      EXPECT_TRUE(ReadImage(map, cByteBuilder().Bytes(bytes)));
      EXPECT_LE(map.m_Grid.size(), 480u);
    }
  }
}

TEST_F(WorldMapTest, ElementBodiesWithMoreMembersThanRegisteredAreDamaged) {
  // A version-208 entry holds ten numbers; this one claims eleven.
  const MapFile f = RichMap(208);
  std::vector<std::uint8_t> bytes = Build(f).Data();
  const std::size_t itemA = OffsetsOf(f).itemCount + 4;
  ASSERT_EQ(bytes[itemA], 10);
  bytes[itemA] = 11;
  cWorldMap map;
  EXPECT_TRUE(ReadImage(map, cByteBuilder().Bytes(bytes)));
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(WorldMapTest, EventsAreFoundByCellAndByCursor) {
  cWorldMap map;
  ASSERT_FALSE(ReadImage(map, Build(RichMap())));
  EXPECT_EQ(map.FindWorldEventAt(1, 1), &map.m_Events.At(0));
  EXPECT_EQ(map.FindWorldEventAt(5, 2), &map.m_Events.At(1));
  EXPECT_EQ(map.FindWorldEventAt(2, 2), nullptr);
  EXPECT_EQ(map.FindWorldEventIndexAt(5, 2), 1);
  EXPECT_EQ(map.FindWorldEventIndexAt(0, 0), -1);
  WorldPos cursor{5, 2};
  EXPECT_EQ(map.FindWorldEventByPos(&cursor), &map.m_Events.At(1));
  EXPECT_EQ(map.FindWorldEventByPos(nullptr), nullptr);

  // Two events on one cell: the first placed is the one found.
  map.m_Events.push_back(map.m_Events.At(1));
  map.m_Events.back().m_X = 1;
  map.m_Events.back().m_Y = 1;
  EXPECT_EQ(map.FindWorldEventAt(1, 1), &map.m_Events.At(0));
}

TEST_F(WorldMapTest, CopiesAreDeepAndDescribeThemselves) {
  cWorldMap map;
  ASSERT_FALSE(ReadImage(map, Build(RichMap())));
  const std::vector<std::uint8_t> image = FileImageOf(map);
  cWorldMap copy = map;
  map.m_Events.At(0).m_Items.At(0).m_Caption = "changed";
  map.m_Width = 2;
  EXPECT_EQ(FileImageOf(copy), image);
  cWorldMap assigned;
  assigned = copy;
  EXPECT_EQ(FileImageOf(assigned), image);
}

}  // namespace
