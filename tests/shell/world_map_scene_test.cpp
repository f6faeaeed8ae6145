// The world map on a small hand-made map, run through the real frame loop: walking and what blocks
// it, stage entrances and their prompt, the stage started on arrival, the auto-save, the ranking
// keys, the lives window and the rendered view.
#include <filesystem>

#include "platform/display/blit.h"
#include "platform/host/text_codec.h"
#include "project/load_context.h"
#include "project/database.h"
#include "project/common_palette.h"
#include "project/stage_data.h"
#include "project/world_map.h"
#include "shell/world_map_scene.h"
#include "tests/shell/scene_fixture.h"

namespace {

constexpr std::uint32_t kChipOpenColour = 0x30C030u;
constexpr std::uint32_t kChipRockColour = 0x806040u;
constexpr std::uint32_t kWindowColour = 0x102850u;
constexpr std::int32_t kBackColour = 7;
constexpr std::int32_t kOpenChip = 0;
constexpr std::int32_t kRockChip = 1;  // impassable

cWorldEventItem Item(std::int32_t kind, std::int32_t number = 0) {
  cWorldEventItem item;
  item.m_Kind = kind;
  item.m_ClearNumber = number;
  return item;
}

cWorldEventItem Stage(std::int32_t number, const char* stage, std::int32_t open, std::int32_t reentry = 0) {
  cWorldEventItem item = Item(kWorldEntryStage, number);
  item.m_StageName = stage;
  item.m_Caption = "Meadow";
  item.m_Open = open;
  item.m_Reentry = reentry;
  return item;
}

class WorldMapSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    WriteBmp("bmp/WorldMapChip.bmp", 160, 64, [](int x, int) { return x < 32 ? kChipOpenColour : kChipRockColour; });
    WriteBmp("bmp/WorldEvent.bmp", 64, 96, [](int, int) { return 0xC02020u; });
    WriteBmp("bmp/WorldBack.bmp", 640, 480, [](int, int) { return 0x4040A0u; });
    WriteBmp("bmp/Accessory.bmp", 128, 128, [](int, int) { return 0xE0E0E0u; });
    WriteBmp("bmp/Window.bmp", 640, 480, [](int, int) { return kWindowColour; });
    ASSERT_TRUE(StartDisplay(0, 32, 1));
    m_SavedContext = LoadContext();
    LoadContext().database = DatabaseSizesOf(g_Database);
    LoadContext().commonPalette = g_CommonPalette.View();
    LoadContext().stagePalette = g_Stage.View();

    Restart();
  }
  // A fresh map, progress and scene, for the next row of a table.
  void Restart() {
    g_SceneManager.DeleteScenes();
    g_MenuCursor.Reset();
    g_SaveData.Reset();
    m_Sounds.clear();
    m_Boxes.clear();
    while (MainWindowQueue().TryTake()) {
    }
    // A 12 x 10 map of open ground, narrower than the view.
    g_WorldMap.SetDefaults();
    ASSERT_EQ(g_WorldMap.SetSize(12, 10), 1u);
    for (int kind = 0; kind < g_WorldMap.m_Defs.Size(); ++kind) {
      g_WorldMap.m_Defs.At(kind).m_Picture = kind == kRockChip ? 1 : 0;
      g_WorldMap.m_Defs.At(kind).m_Blocked = kind == kRockChip ? 1 : 0;
    }
    for (std::uint32_t& chip : g_WorldMap.m_Grid) chip = kOpenChip;
    g_WorldMap.m_Events.clear();
    g_WorldMap.m_BackColour = kBackColour;
    g_WorldMap.m_ShowBackImage = 0;
    g_WorldMap.m_BackImageFile = "bmp\\WorldBack.bmp";
    g_SaveData.m_MapX = 5;
    g_SaveData.m_MapY = 5;
    g_SaveData.m_Lives = 2;
    g_Palette[kBackColour] = g_FadePalette[kBackColour] = {0x11, 0x22, 0x33, 1};

    g_SceneManager.SetSceneFactory(kSceneWorldMap, MakeWorldMapScene);
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneWorldMap;
    g_SceneManager.m_Previous = kSceneTitle;
  }
  void TearDown() override {
    g_WorldMap.SetDefaults();
    LoadContext() = m_SavedContext;
    SceneTest::TearDown();
  }

  cWorldMapScene* Map() { return dynamic_cast<cWorldMapScene*>(g_SceneManager.Scene(kSceneWorldMap)); }
  std::int32_t Column() { return g_MenuCursor.current->column; }
  std::int32_t Row() { return g_MenuCursor.current->row; }
  void SetChip(std::int32_t x, std::int32_t y, std::uint32_t chip) { g_WorldMap.m_Grid.At(g_WorldMap.CellIndex(x, y)) = chip; }
  void AddEvent(std::int32_t x, std::int32_t y, std::initializer_list<cWorldEventItem> items) {
    cWorldEvent event;
    event.m_X = x;
    event.m_Y = y;
    event.m_Items.assign(items.begin(), items.end());
    g_WorldMap.m_Events.push_back(event);
  }
  // A playable stage at a game path.
  void SaveStage(const std::string& path) {
    std::filesystem::create_directories("data/stg4");
    cStageData stage;
    stage.SetField(kStageWidth, 40);
    cCharaDef hero;
    hero.m_ChipIndex = 1;
    hero.m_Operator = 0;
    stage.m_PlacedCharas.push_back(hero);
    ASSERT_EQ(stage.SaveFile(path.c_str()), 1);
  }
  std::uint32_t PixelAt(DDSURFACEDATA* surface, int x, int y) {
    DDSURFACEDESC2 desc;
    void* pixels = nullptr;
    if (!DDLock(surface, &desc, &pixels, 32)) return 0xDEADBEEF;
    const std::uint32_t value =
        *reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(pixels) + y * desc.lPitch + x * 4);
    DDUnlock(surface);
    return value & 0xFFFFFF;
  }
  std::uint32_t BackPixel(int x, int y) { return PixelAt(&g_BackSurface, x, y); }
  std::uint32_t ViewPixel(int x, int y) { return PixelAt(&g_SurfaceTable[kWorldViewSurface], x, y); }
  // The ranking surface is cleared before every draw of the table: a corner painted over shows
  // whether it was drawn since.
  DDSURFACEDATA* RankingSurface() { return g_MenuSurfaces.empty() ? nullptr : &g_MenuSurfaces.front(); }
  void MarkRankingSurface() { DDFillRect(RankingSurface(), 0, 0, 4, 4, kBackColour); }
  bool RankingRedrawn() { return PixelAt(RankingSurface(), 0, 0) != 0x112233u; }

  cLoadContext m_SavedContext;
};

TEST_F(WorldMapSceneTest, WhatTheCellHoldsDecidesWhetherTheHeroMayEnterIt) {
  struct Case {
    const char* name;
    std::uint32_t chip;                  // of the cell left of the hero
    std::vector<cWorldEventItem> items;  // of an event there; none when empty
    bool enters;
  };
  cWorldEventItem failing = Item(kWorldEntryWall);
  failing.m_RequiredClear = 5;  // flag 5 is not set
  cWorldEventItem badOperator = Item(kWorldEntryWall);
  badOperator.m_Variable = 3;
  badOperator.m_Comparison = 6;
  const Case cases[] = {
      {"open ground", kOpenChip, {}, true},
      {"impassable chip", kRockChip, {}, false},
      {"wall item on open ground", kOpenChip, {Item(kWorldEntryWall)}, false},
      {"road item on an impassable chip", kRockChip, {Item(kWorldEntryRoad)}, true},
      {"items that all fail: the open chip decides", kOpenChip, {failing, badOperator}, true},
      {"items that all fail: the impassable chip decides", kRockChip, {failing}, false},
      {"the first active item counts", kOpenChip, {failing, Item(kWorldEntryWall), Item(kWorldEntryRoad)}, false},
      {"a chip kind the map does not define", 999, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    SetChip(4, 5, c.chip);
    if (!c.items.empty()) AddEvent(4, 5, {});
    if (!c.items.empty()) g_WorldMap.m_Events.back().m_Items.assign(c.items.begin(), c.items.end());
    g_SaveData.m_MapDir = kFacingDown;
    ASSERT_TRUE(RunUntilShown());
    Press({VK_LEFT});
    EXPECT_EQ(Column(), c.enters ? 4 : 5);
    EXPECT_EQ(Row(), 5);
    EXPECT_EQ(Map()->m_Facing, kFacingLeft) << "a blocked step still turns the hero";
    EXPECT_EQ(Map()->m_OriginColumn, Column() - 9);
    EXPECT_EQ(g_MenuCursor.current->x, 288);
    EXPECT_EQ(g_MenuCursor.current->y, 224);
  }
}

TEST_F(WorldMapSceneTest, TheHeroStopsAtTheEdgesAndTheViewFollowsHim) {
  g_SaveData.m_MapX = 0;
  g_SaveData.m_MapY = 0;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(Map()->m_OriginColumn, -9);
  EXPECT_EQ(Map()->m_OriginRow, -7);
  // Left of column 0 and above row 0 is no step; the keys only turn him.
  Press({VK_LEFT});
  Press({VK_UP});
  EXPECT_EQ(Column(), 0);
  EXPECT_EQ(Row(), 0);
  EXPECT_EQ(Map()->m_Facing, kFacingUp);
  // Two keys at once: left before right before up before down.
  Press({VK_RIGHT, VK_DOWN});
  EXPECT_EQ(Column(), 1);
  EXPECT_EQ(Row(), 0);
  EXPECT_EQ(g_SaveData.m_PrevMapX, 0);
  // The view was rendered again for the new origin: map column 0 is now at view column 8.
  EXPECT_EQ(ViewPixel(8 * 32 + 5, 7 * 32 + 5), kChipOpenColour);
  EXPECT_NE(ViewPixel(7 * 32 + 5, 7 * 32 + 5), kChipOpenColour);
}

TEST_F(WorldMapSceneTest, TheViewShowsTheBackgroundAroundANarrowMap) {
  SetChip(11, 5, kRockChip);
  g_SaveData.m_MapX = 11;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(Map()->m_OriginColumn, 2);
  const std::uint32_t back = ViewPixel(639, 240);
  EXPECT_EQ(ViewPixel(10 * 32, 7 * 32), back) << "right of the map: only the background colour";
  EXPECT_EQ(ViewPixel(9 * 32 + 5, 7 * 32 + 5), kChipRockColour) << "map column 11 at view column 9";
  EXPECT_EQ(ViewPixel(5, 2 * 32 + 5), kChipOpenColour) << "map cell (2, 0)";
  EXPECT_EQ(ViewPixel(5, 5), back) << "above the map";
  EXPECT_NE(back, kChipOpenColour);
  // Hero and lives on the back surface: the window of "2" is two cells wide at x 621 - 32.
  EXPECT_EQ(BackPixel(591, 18), kWindowColour);
  EXPECT_NE(BackPixel(580, 18), kWindowColour);

  // With the picture on, it moves with the map: at origin column 2 the view starts 64 dots into
  // it, so its right edge ends 64 dots before the view's and the colour shows there.
  g_WorldMap.m_ShowBackImage = 1;
  Map()->RenderMapView();
  EXPECT_EQ(ViewPixel(400, 240), 0x4040A0u);
  EXPECT_EQ(ViewPixel(570, 240), 0x4040A0u);
  EXPECT_EQ(ViewPixel(639, 240), back);
}

TEST_F(WorldMapSceneTest, UnlimitedLivesShowAsInfinityInANarrowWindow) {
  struct Case {
    std::int32_t lives;
    std::int32_t windowX;
  };
  for (const Case& c : {Case{kUnlimitedLives, 589}, Case{12, 573}, Case{0, 589}, Case{1234567, 493}}) {
    SCOPED_TRACE(c.lives);
    g_SaveData.m_Lives = c.lives;
    ASSERT_TRUE(RunUntilShown());
    RunFrames(1);
    EXPECT_EQ(BackPixel(c.windowX + 2, 18), kWindowColour);
    EXPECT_NE(BackPixel(c.windowX - 8, 18), kWindowColour);
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneWorldMap;
  }
  // Without the lives switch there is no window.
  g_System.m_WorldMapLivesWindow = 0;
  ASSERT_TRUE(RunUntilShown());
  RunFrames(1);
  EXPECT_NE(BackPixel(591, 18), kWindowColour);
}

TEST_F(WorldMapSceneTest, AnEntranceWithoutDecideOpensThePromptOnArrivalAndNoStepsBack) {
  AddEvent(4, 5, {Stage(3, "data\\stg4\\none.stg4", 0)});
  ASSERT_TRUE(RunUntilShown());
  Press({VK_LEFT});
  ASSERT_EQ(Map()->m_State, 2) << "the prompt opens on arrival";
  EXPECT_EQ(g_SaveData.m_MapX, 4);
  RunFrames(1);
  EXPECT_EQ(g_MenuCursor.current->row, 1) << "the prompt opens on its second line";
  ASSERT_EQ(m_Boxes.size(), 1u) << "the missing stage is said, not fatal";
  EXPECT_EQ(TakeMessages(WM_CLOSE), 0);
  // Its first line acts as the second: the hero steps back to the cell he came from.
  Press({VK_UP});
  EXPECT_EQ(g_MenuCursor.current->row, 0);
  Press({'Z'});
  EXPECT_EQ(Map()->m_State, 1);
  EXPECT_EQ(Column(), 5);
  EXPECT_EQ(Row(), 5);
  EXPECT_EQ(g_MenuCursor.Depth(), 1);
  EXPECT_EQ(Map()->m_OriginColumn, -4);
  // The view went back with him: the entrance's marker is one cell left of the hero again.
  EXPECT_EQ(ViewPixel(8 * 32 + 5, 7 * 32 + 5), 0xC02020u);
}

TEST_F(WorldMapSceneTest, DecideOnAPassedEntranceDependsOnClearAndReplay) {
  struct Case {
    const char* name;
    std::int32_t open;
    bool cleared;
    std::int32_t reentry;
    bool opens;
  };
  const Case cases[] = {
      {"open, not cleared", 1, false, 0, true},
      {"cleared without replay: decide does nothing", 0, true, 0, false},
      {"cleared with replay", 0, true, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    AddEvent(5, 5, {Stage(3, "data\\stg4\\none.stg4", c.open, c.reentry)});
    if (c.cleared) g_SaveData.m_RoundFlags.At(3) = 1;
    g_SceneManager.m_Previous = kSceneWorldMapMenu;
    ASSERT_TRUE(RunUntilShown());
    RunFrames(2);
    EXPECT_EQ(Map()->m_State, 1) << "a passed entrance waits for the key";
    Press({'Z'});
    EXPECT_EQ(Map()->m_State, c.opens ? 2 : 1);
    if (c.opens) {
      Press({'X'});  // cancel
      EXPECT_EQ(Map()->m_State, 1);
      EXPECT_EQ(Column(), 5) << "the hero stays on the entrance";
      EXPECT_EQ(m_Sounds.back(), 2);
    }
  }
}

TEST_F(WorldMapSceneTest, ArrivingOnAnUnclearedEntranceStartsItsStage) {
  struct Case {
    const char* name;
    std::int32_t previous;
    std::int32_t backToMap;
    bool cleared;
    std::int32_t open;
    bool starts;
    std::int32_t prevX = 6;
    std::int32_t standsAt = 5;  // when the stage does not start
  };
  const Case cases[] = {
      {"from the title", kSceneTitle, 0, false, 0, true},
      {"needs decide: starts all the same", kScenePlay, 0, false, 1, true},
      {"from the world-map menu", kSceneWorldMapMenu, 0, false, 0, false},
      {"back to the map: where he came from", kScenePlay, 1, false, 0, false, 6, 6},
      {"back to the map from a cell off the map", kScenePlay, 1, false, 0, false, 5000, 11},
      {"cleared", kSceneTitle, 0, true, 0, false},
      {"back to the map after a clear: stays", kScenePlay, 1, true, 0, false, 6, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    SaveStage("data\\stg4\\meadow.stg4_001");
    AddEvent(5, 5, {Stage(3, "data\\stg4\\meadow.stg4", c.open)});
    if (c.cleared) g_SaveData.m_RoundFlags.At(3) = 1;
    g_SceneManager.m_Previous = c.previous;
    g_SaveData.m_BackToMap = c.backToMap;
    g_SaveData.m_PrevMapX = c.prevX;
    g_SaveData.m_PrevMapY = 5;
    ASSERT_TRUE(RunUntilCurrent(c.starts ? kScenePlay : kSceneWorldMap)) << (m_Boxes.empty() ? "" : m_Boxes[0]);
    if (c.starts) {
      EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\meadow.");
      EXPECT_EQ(g_SaveData.m_StageNumber, 3);
      EXPECT_EQ(g_SaveData.m_PrevMapX, 5);
      EXPECT_EQ(g_SaveData.ActiveMapEntry(g_WorldMap), &g_WorldMap.m_Events.At(0).m_Items.At(0));
    } else {
      ASSERT_TRUE(RunUntilShown());
      EXPECT_EQ(g_SceneManager.m_Current, kSceneWorldMap);
      EXPECT_EQ(g_SaveData.m_BackToMap, 0);
      EXPECT_EQ(Column(), c.standsAt);
      EXPECT_EQ(Map()->m_OriginColumn, c.standsAt - 9);
    }
  }
}

TEST_F(WorldMapSceneTest, BackToTheMapOffAnEntranceIsForgottenAfterTheFadeIn) {
  // Back from a stage whose entrance gave way to a road meanwhile: the hero stays, and the flag
  // does not wait to send him back from the next entrance he enters from the menu's side.
  AddEvent(5, 5, {Item(kWorldEntryRoad)});
  g_SaveData.m_BackToMap = 1;
  g_SaveData.m_PrevMapX = 6;
  g_SaveData.m_PrevMapY = 5;
  g_SceneManager.m_Previous = kScenePlay;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(Column(), 5);
  EXPECT_EQ(g_SaveData.m_BackToMap, 0);
}

TEST_F(WorldMapSceneTest, AMissingStageOnArrivalIsFatal) {
  AddEvent(5, 5, {Stage(3, "data\\stg4\\none.stg4", 0)});
  for (int frame = 0; frame < 40 && m_Boxes.empty(); ++frame) RunFrames(1);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneWorldMap);
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(m_Boxes[0].find("data\\stg4\\none.stg4"), std::string::npos) << m_Boxes[0];
  EXPECT_EQ(TakeMessages(WM_CLOSE), 1);
  EXPECT_EQ(Map()->m_State, 1) << "the map goes on until the close arrives";
}

TEST_F(WorldMapSceneTest, ThePromptsFirstLineStartsTheStage) {
  SaveStage("data\\stg4\\meadow.stg4_002");
  AddEvent(5, 5, {Stage(4, "data\\stg4\\meadow.stg4", 1)});
  g_SceneManager.m_Previous = kSceneWorldMapMenu;
  g_System.m_WorldMapKeepsLives = 1;
  g_System.m_UnlimitedLives.At(0) = 0;
  g_SaveData.m_Lives = 4;
  ASSERT_TRUE(RunUntilShown());
  Press({'Z'});
  ASSERT_EQ(Map()->m_State, 2);
  Press({VK_DOWN});
  Press({'Z'});
  ASSERT_TRUE(RunUntilCurrent(kScenePlay));
  EXPECT_EQ(g_SaveData.m_StageNumber, 4);
  EXPECT_EQ(g_SaveData.m_StageIndex, 1);
  EXPECT_EQ(g_SaveData.m_StartLives, 5) << "the lives carried, and one for the start";
  EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\meadow.");
}

TEST_F(WorldMapSceneTest, StartingLivesFollowTheCarrySwitch) {
  struct Case {
    std::int32_t keeps;
    std::int32_t unlimited;
    std::int32_t expected;
  };
  g_System.m_StartingLives.At(0) = 3;
  g_SaveData.m_Lives = 6;
  g_Stage.m_FileName = "data\\stg4\\hill.stg4_001";
  for (const Case& c : {Case{0, 0, 3}, Case{0, 1, 3}, Case{1, 0, 7}, Case{1, 1, kUnlimitedLives}}) {
    g_System.m_WorldMapKeepsLives = c.keeps;
    g_System.m_UnlimitedLives.At(0) = c.unlimited;
    cWorldMapScene scene;
    scene.PrepareStageStart();
    EXPECT_EQ(g_SaveData.m_StartLives, c.expected) << c.keeps << c.unlimited;
    EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\hill.");
  }
}

TEST_F(WorldMapSceneTest, EnteringFromAStageAutoSaves) {
  struct Case {
    std::int32_t previous;
    std::int32_t autoSave;
    std::int32_t slot;
    bool written;
  };
  const Case cases[] = {
      {kScenePlay, 1, 2, true},
      {kScenePlay, 0, 2, false},
      {kSceneWorldMapMenu, 1, 2, false},
      {kScenePlay, 1, kNoSlot, false},  // never saved: nothing to write into, and no failure
      {kScenePlay, 1, 400, false},      // a slot number from a damaged file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.previous << " " << c.autoSave << " " << c.slot);
    std::filesystem::remove_all("user_data");
    std::filesystem::create_directories("user_data/story");
    const std::size_t reported = Report().size();
    g_SaveData.m_AutoSave = c.autoSave;
    g_SaveData.m_Slot = c.slot;
    g_SceneManager.m_Previous = c.previous;
    // Written by Enter, before the first picture is drawn.
    RunFrames(1);
    EXPECT_EQ(std::filesystem::exists("user_data/story/Story03.dat"), c.written);
    EXPECT_EQ(std::filesystem::is_empty("user_data/story"), !c.written);
    EXPECT_EQ(Report().find("保存に失敗", reported), std::string::npos) << Report();
    g_SceneManager.DeleteScenes();
  }
}

TEST_F(WorldMapSceneTest, AViewRenderedByAnEarlierVisitNeverPassesForTheCurrentOne) {
  // A marker two cells left of where the hero will stand: view column 7 when he is at (4, 5).
  AddEvent(2, 5, {Item(kWorldEntryRoad)});
  g_SaveData.m_MapX = 4;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(ViewPixel(7 * 32 + 5, 7 * 32 + 5), 0xC02020u);
  Press({VK_LEFT});  // to (3, 5): this visit last rendered origin (-6, -2)
  ASSERT_EQ(Column(), 3);

  // The next visit (after a stage) starts one cell further left and walks back to (3, 5), the
  // origin the earlier visit rendered last: the view must be drawn for it all the same.
  g_SceneManager.DeleteScenes();
  g_SaveData.m_MapX = 2;
  g_SceneManager.m_Previous = kScenePlay;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(ViewPixel(9 * 32 + 5, 7 * 32 + 5), 0xC02020u) << "the marker under the hero";
  Press({VK_RIGHT});
  ASSERT_EQ(Column(), 3);
  EXPECT_EQ(ViewPixel(8 * 32 + 5, 7 * 32 + 5), 0xC02020u);
  EXPECT_NE(ViewPixel(9 * 32 + 5, 7 * 32 + 5), 0xC02020u);

  // Within one visit too: back on the map the hero is put where he came from and the view is
  // drawn there; stepping back onto the entered cell draws it again.
  g_SceneManager.DeleteScenes();
  g_SaveData.m_MapX = 5;
  g_SaveData.m_BackToMap = 1;
  g_SaveData.m_PrevMapX = 4;
  g_SaveData.m_PrevMapY = 5;
  AddEvent(5, 5, {Stage(3, "data\\stg4\\none.stg4", 0)});
  ASSERT_TRUE(RunUntilShown());
  ASSERT_EQ(Column(), 4);
  EXPECT_EQ(ViewPixel(7 * 32 + 5, 7 * 32 + 5), 0xC02020u);
  Press({VK_LEFT});
  ASSERT_EQ(Column(), 3);
  EXPECT_EQ(ViewPixel(8 * 32 + 5, 7 * 32 + 5), 0xC02020u);
}

TEST_F(WorldMapSceneTest, RankingKeysOnAnEntrance) {
  AddEvent(5, 5, {Stage(3, "data\\stg4\\none.stg4", 1)});
  g_SceneManager.m_Previous = kSceneWorldMapMenu;
  g_System.m_RankingSets.At(0).m_Enabled = 1;
  g_System.m_RankingSets.At(0).m_Flags.assign(5, 0);
  g_System.m_RankingSets.At(0).m_Flags.At(0) = 1;
  g_System.m_RankingSets.At(0).m_Flags.At(2) = 1;
  ASSERT_TRUE(RunUntilShown());
  ASSERT_NE(RankingSurface(), nullptr);
  m_Sounds.clear();

  // C: shown, with the switch sound; held, it acts once.
  MarkRankingSurface();
  Hold({'C'});
  RunFrames(5);
  Hold({});
  RunFrames(1);
  EXPECT_EQ(g_SaveData.m_RankingShown, 1);
  EXPECT_EQ(m_Sounds, std::vector<int>{6});
  EXPECT_TRUE(RankingRedrawn());
  // Shown: the table's window at (367, 64) over the map.
  RunFrames(1);
  EXPECT_EQ(BackPixel(367 + 10, 64 + 10), kWindowColour);

  // V: to the next kept table.
  g_SaveData.m_RankingTable = 0;
  MarkRankingSurface();
  Press({'V'});
  EXPECT_EQ(g_SaveData.m_RankingTable, 2);
  EXPECT_TRUE(RankingRedrawn());
  EXPECT_EQ(m_Sounds.size(), 2u);

  // One kept table: no sound, no move, but the table is drawn again.
  g_System.m_RankingSets.At(0).m_Flags.At(2) = 0;
  g_SaveData.m_RankingTable = 0;
  MarkRankingSurface();
  Press({'V'});
  EXPECT_EQ(g_SaveData.m_RankingTable, 0);
  EXPECT_EQ(m_Sounds.size(), 2u);
  EXPECT_TRUE(RankingRedrawn());

  // A table number no table has (a damaged save file) draws an empty window, and nothing closes.
  g_SaveData.m_RankingTable = 77;
  MarkRankingSurface();
  Press({'V'});
  EXPECT_TRUE(RankingRedrawn());
  EXPECT_EQ(TakeMessages(WM_CLOSE), 0);
  g_SaveData.m_RankingTable = 0;

  // Rankings off for story mode: C hides a shown table silently, then does nothing at all.
  g_System.m_RankingSets.At(0).m_Enabled = 0;
  MarkRankingSurface();
  Press({'C'});
  EXPECT_EQ(g_SaveData.m_RankingShown, 0);
  EXPECT_TRUE(RankingRedrawn());
  MarkRankingSurface();
  Press({'C'});
  Press({'V'});
  EXPECT_FALSE(RankingRedrawn());
  EXPECT_EQ(m_Sounds.size(), 2u);

  // Cancel goes to the world-map menu with its sound, the position kept.
  Press({'X'});
  EXPECT_EQ(m_Sounds.back(), 4);
  ASSERT_TRUE(RunUntilCurrent(kSceneWorldMapMenu));
  EXPECT_EQ(g_SaveData.m_MapX, 5);
}

TEST_F(WorldMapSceneTest, ChipIndexClampsIntoTheMap) {
  struct Case {
    std::int32_t column, row, expected;
  };
  // 12 wide: a row pitch of 16.
  for (const Case& c : {Case{0, 0, 0}, Case{3, 2, 35}, Case{-5, 1, 16}, Case{40, 0, 11}, Case{2, 99, 9 * 16 + 2},
                        Case{-1, -1, 0}})
    EXPECT_EQ(ChipIndex(g_WorldMap, c.column, c.row), c.expected) << c.column << "," << c.row;
  SetChip(11, 9, 1);
  EXPECT_EQ(ChipIndexAt(g_WorldMap, 50, 50), 1);
  cWorldMap empty;
  empty.m_Width = 0;
  EXPECT_EQ(ChipIndex(empty, 0, 0), -1);
  // A row shift no pitch holds, or one that puts a row beyond the grid, indexes nothing.
  for (std::int32_t shift : {-1, 31, 64, 20}) {
    cWorldMap bad = g_WorldMap;
    bad.m_PitchShift = shift;
    EXPECT_EQ(ChipIndex(bad, 3, 2), -1) << shift;
    EXPECT_EQ(ChipIndexAt(bad, 3, 2), -1) << shift;
  }
}

}  // namespace

namespace {

TEST_F(WorldMapSceneTest, TheEntranceShowsItsNameAndBestScore) {
  struct Case {
    std::int32_t best;
    std::int32_t showScores;
    std::int32_t nameY;
    bool scoreWindow;
  };
  // "Meadow": a window six cells wide centred on x 304, its left edge at 256.
  for (const Case& c : {Case{500, 1, 184, true}, Case{0, 1, 204, false}, Case{500, 0, 204, false}}) {
    SCOPED_TRACE(c.best * 10 + c.showScores);
    Restart();
    AddEvent(5, 5, {Stage(3, "data\\stg4\\none.stg4", 1)});
    g_SaveData.RecordStageScore("data\\stg4\\none.", c.best);
    g_System.m_StoryShowStageScores = c.showScores;
    g_SceneManager.m_Previous = kSceneWorldMapMenu;
    ASSERT_TRUE(RunUntilShown());
    RunFrames(1);
    EXPECT_EQ(Map()->m_BestScore, c.best);
    EXPECT_EQ(BackPixel(256, c.nameY + 1), kWindowColour);
    EXPECT_NE(BackPixel(256, 185), c.nameY == 204 ? kWindowColour : 0u) << "no name window above";
    // The score window: "ハイスコア" and three digits, eight cells centred on 304.
    EXPECT_EQ(BackPixel(304 - 64, 205) == kWindowColour, c.scoreWindow);
  }
}

}  // namespace
