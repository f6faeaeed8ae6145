#pragma once
// Shared by the world-map tests: a game folder with the record settings of start-up, and
// WorldMap.dat images of any format version written out by hand from the file's layout tables, so a
// fault in the program's registration or list order shows instead of hiding in both.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/world_map.h"
#include "tests/support/byte_builder.h"
#include "tests/support/record_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

class WorldMapTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
  }
  void TearDown() override {
    InitRecordSettings();
    GameFolderTest::TearDown();
  }

  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }
};

namespace world_file {

// The entry score threshold came with this version.
constexpr std::uint32_t kScoreVersion = 209;

struct DefFields {
  std::int32_t reserved = 0;
  std::int32_t blocked = 0;
  std::int32_t picture = 0;
  std::string name;
  std::string label;
};

struct ItemFields {
  std::int32_t kind = 0;
  std::int32_t pictureRow = 0;
  std::int32_t clearNumber = 0;
  std::int32_t open = 0;
  std::int32_t reentry = 0;
  std::int32_t afterClear = 0;
  std::int32_t requiredClear = 0;
  std::int32_t variable = 0;
  std::int32_t compareValue = 0;
  std::int32_t comparison = 0;
  std::int32_t minTotalScore = 0;  // only from version 209
  std::string caption;
  std::string stageName;
};

struct EventFields {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::string name;
  std::vector<ItemFields> items;
};

struct MapFile {
  std::uint32_t version = 556;
  std::int32_t width = 20;
  std::int32_t height = 15;
  std::int32_t pitch = 32;
  std::int32_t shift = 5;
  std::int32_t startX = 9;
  std::int32_t startY = 7;
  std::int32_t backColour = 16;
  std::int32_t showBackImage = 0;
  std::string title = "world";
  std::string backImage;
  std::vector<DefFields> defs;
  std::vector<std::uint32_t> grid = std::vector<std::uint32_t>(15 * 32, 0);
  std::vector<EventFields> events;
  std::vector<EventFields> templates;
};

// Chip definition: u32 3, three i32, u32 2, name, label.
inline void AddDef(cByteBuilder& b, const DefFields& d) {
  b.U32(3).I32(d.reserved).I32(d.blocked).I32(d.picture).U32(2).Str(d.name).Str(d.label);
}

// Entry: members 1-10, member 11 from version 209, then caption and stage name.
inline void AddItem(cByteBuilder& b, const ItemFields& i, std::uint32_t version) {
  const bool score = version >= kScoreVersion;
  b.U32(score ? 11 : 10)
      .I32(i.kind)
      .I32(i.pictureRow)
      .I32(i.clearNumber)
      .I32(i.open)
      .I32(i.reentry)
      .I32(i.afterClear)
      .I32(i.requiredClear)
      .I32(i.variable)
      .I32(i.compareValue)
      .I32(i.comparison);
  if (score) b.I32(i.minTotalScore);
  b.U32(2).Str(i.caption).Str(i.stageName);
}

// Event: u32 2, x, y, u32 1, name, then u32 m and the m entries.
inline void AddEvent(cByteBuilder& b, const EventFields& e, std::uint32_t version) {
  b.U32(2).I32(e.x).I32(e.y).U32(1).Str(e.name);
  b.Vector(e.items, [version](cByteBuilder& bb, const ItemFields& i) { AddItem(bb, i, version); });
}

inline cByteBuilder Build(const MapFile& f) {
  cByteBuilder b;
  b.U32(f.version);
  b.U32(8)
      .I32(f.width)
      .I32(f.height)
      .I32(f.pitch)
      .I32(f.shift)
      .I32(f.startX)
      .I32(f.startY)
      .I32(f.backColour)
      .I32(f.showBackImage)
      .U32(2)
      .Str(f.title)
      .Str(f.backImage);
  b.Vector(f.defs, AddDef);
  b.Vector(f.grid, [](cByteBuilder& bb, std::uint32_t cell) { bb.U32(cell); });
  const auto event = [&f](cByteBuilder& bb, const EventFields& e) { AddEvent(bb, e, f.version); };
  b.Vector(f.events, event);
  b.Vector(f.templates, event);
  return b;
}

// A map with something in every field: two chip kinds, a few cells set, two events of two entries,
// one template.
inline MapFile RichMap(std::uint32_t version = 556) {
  MapFile f;
  f.version = version;
  f.width = 6;
  f.height = 3;
  f.pitch = 8;
  f.shift = 3;
  f.startX = 2;
  f.startY = 1;
  f.backColour = 200;
  f.showBackImage = 1;
  f.title = "map";
  f.backImage = "back.bmp";
  f.defs = {{7, 1, 0, "wall", "no"}, {0, 0, 6, "grass", "yes"}};
  f.grid.assign(24, 0);
  f.grid[1 * 8 + 2] = 1;
  f.grid[2 * 8 + 5] = 1;
  f.events = {
      {1, 1, "gate", {{0, 3, 4, 0, 1, 1, 2, 5, -7, 3, 1000, "first", "c1"}, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "", ""}}},
      {5, 2, "end", {{1, 0, 9, 1, 0, 2, -1, 0, 0, 0, 0, "road", ""}}},
  };
  f.templates = {{0, 0, "tmpl", {{}}}};
  return f;
}

}  // namespace world_file
