// The sample's world map: an island of grass ringed by water, mountains in the north, a road from
// the start past the meadow and the hills to the castle. The hero walks on the road and the bridge
// only; a rock blocks the road until the meadow is cleared, and the hills and the castle stay
// closed until the stage before them is.
#include "platform/host/text_codec.h"
#include "project/project_paths.h"
#include "project/world_map.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"

namespace {

// Chip kinds, also the pictures of bmp\WorldMapChip.bmp.
enum WorldChip : std::uint32_t {
  kChipWater = 0,
  kChipMountain = 1,
  kChipForest = 2,
  kChipRock = 3,
  kChipWall = 4,
  kChipGrass = 5,
  kChipRoad = 6,
  kChipBridge = 7,
  kChipSand = 8,
  kChipFlowers = 9,
};

// Rows of bmp\WorldEvent.bmp: column 0 before the clear, column 1 after it.
constexpr std::int32_t kEventRowStage = 0;
constexpr std::int32_t kEventRowCastle = 1;
constexpr std::int32_t kEventRowGate = 2;
// A node still closed: the same in both columns, since its entry counts as passed.
constexpr std::int32_t kEventRowClosed = 3;
constexpr std::int32_t kEventRowCastleClosed = 4;

// The island, one letter per chip: ~ water, ^ mountain, T forest, o rock, # wall, . grass, = road,
// H bridge, s sand, * flowers.
constexpr const char* kIsland[] = {
    "~~~~~~~~~~~~~~~~~~~~",
    "~~ss^^^^^^^^^^^^ss~~",
    "~s..^^^^TT^^^##..s~~",
    "~s..T.^^....^#==#.s~",
    "~s.TT.......^#==#.s~",
    "~s.T...*.......=..s~",
    "~s.....TT..=====..s~",
    "~s..*......=......s~",
    "~s.......===.TT...s~",
    "~s.TT....=....T*..s~",
    "~s......H=........s~",
    "~s.==o==H...TT....s~",
    "~s.=....~~~.......s~",
    "~~sss~~~~~~~sssss~~~",
    "~~~~~~~~~~~~~~~~~~~~",
};

std::uint32_t ChipOf(char c) {
  switch (c) {
    case '~': return kChipWater;
    case '^': return kChipMountain;
    case 'T': return kChipForest;
    case 'o': return kChipRoad;  // a road cell under the gate event
    case '#': return kChipWall;
    case '=': return kChipRoad;
    case 'H': return kChipBridge;
    case 's': return kChipSand;
    case '*': return kChipFlowers;
    default: return kChipGrass;
  }
}

// Only the road and the bridge can be walked on.
bool ChipBlocked(std::uint32_t chip) { return chip != kChipRoad && chip != kChipBridge; }

cWorldEventItem Entry(std::int32_t kind, std::int32_t row, std::int32_t clear, std::int32_t required) {
  cWorldEventItem item;
  item.m_Kind = kind;
  item.m_PictureRow = row;
  item.m_ClearNumber = clear;
  item.m_RequiredClear = required;
  item.m_Comparison = kCompareEqual;
  return item;
}

cWorldEventItem StageEntry(std::int32_t row, std::int32_t clear, std::int32_t required, const char* caption,
                           const char* stage, std::int32_t afterClear) {
  cWorldEventItem item = Entry(kWorldEntryStage, row, clear, required);
  item.m_Caption = SJ(caption);
  item.m_StageName = stage;
  item.m_AfterClear = afterClear;
  return item;
}

cWorldEvent Event(std::int32_t x, std::int32_t y, const char* name, std::initializer_list<cWorldEventItem> items) {
  cWorldEvent event;
  event.m_X = x;
  event.m_Y = y;
  event.m_Name = SJ(name);
  event.m_Items.assign(items.begin(), items.end());
  return event;
}

}  // namespace

bool WriteSampleWorldMap() {
  cWorldMap map;
  map.SetDefaults();
  map.m_Title = SJ("ドット島");
  constexpr std::int32_t width = 20, height = 15;
  map.SetSize(width, height);
  for (int chip = 0; chip < map.m_Defs.Size(); ++chip) {
    cWorldDef& def = map.m_Defs.At(chip);
    def.m_Picture = chip;
    def.m_Blocked = ChipBlocked(static_cast<std::uint32_t>(chip)) ? 1 : 0;
    def.m_Label = SJ(def.m_Blocked ? "通行不可" : "通行可");
  }
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x) map.m_Grid.At(map.CellIndex(x, y)) = ChipOf(kIsland[y][x]);
  map.m_StartX = 3;
  map.m_StartY = 12;
  map.m_BackColour = kInkNavy;
  map.m_ShowBackImage = 1;
  map.m_BackImageFile = "bmp\\WorldBack.bmp";

  map.m_Events.clear();
  // The meadow, chained to its second half; entered at once on arrival.
  map.m_Events.push_back(Event(3, 11, "はらっぱ", {StageEntry(kEventRowStage, 1, 0, "1 はらっぱ", kStageMeadow, kAfterClearNothing)}));
  // The rock on the road moves away once the meadow is cleared.
  cWorldEventItem open = Entry(kWorldEntryRoad, kEventRowGate, 0, 1);
  open.m_Caption = SJ("道");
  cWorldEventItem rock = Entry(kWorldEntryWall, kEventRowGate, 0, 0);
  rock.m_Caption = SJ("岩が道をふさいでいる");
  rock.m_PictureRow = kEventRowGate;
  map.m_Events.push_back(Event(5, 11, "岩", {open, rock}));
  // The hills, open after the meadow; the wall entry keeps the node closed until then.
  cWorldEventItem hillsClosed = Entry(kWorldEntryWall, kEventRowClosed, 0, 0);
  hillsClosed.m_Caption = SJ("2 おかのうえ (まだ行けない)");
  map.m_Events.push_back(Event(11, 8, "おかのうえ",
                               {StageEntry(kEventRowStage, 2, 1, "2 おかのうえ", kStageHills, kAfterClearNothing), hillsClosed}));
  // The castle: its clear ends the story and goes back to the title.
  cWorldEventItem castleClosed = Entry(kWorldEntryWall, kEventRowCastleClosed, 0, 0);
  castleClosed.m_Caption = SJ("3 おしろ (まだ行けない)");
  map.m_Events.push_back(Event(15, 3, "おしろ",
                               {StageEntry(kEventRowCastle, 3, 2, "3 おしろ", kStageCastle, kAfterClearTitle), castleClosed}));
  return map.SaveFile(ProjectPathTable[kPathWorldMap].c_str()) == 1;
}
