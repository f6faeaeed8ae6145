// The world-map menu on the default project settings, run through the real frame loop.
#include <filesystem>

#include "platform/display/ddraw_device.h"
#include "platform/services/record.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/stage_data.h"
#include "project/world_map.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/world_map_menu_scene.h"
#include "tests/shell/scene_fixture.h"

namespace {

SYSTEMTIME FixedSaveTime() {
  SYSTEMTIME t;
  t.wYear = 2024;
  t.wMonth = 5;
  t.wDay = 17;
  t.wHour = 21;
  t.wMinute = 9;
  return t;
}

class WorldMapMenuTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    InitRecordSettings();  // the slot files are written and read in the current format
    WriteTitlePictures();
    WriteBmp("bmp/Symbol.bmp", 32, 32, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(StartDisplay(0, 32, 1));
    g_SaveSlots.assign(kStorySlotCount, cSaveSlotInfo());
    std::filesystem::create_directories("user_data/story");
    SetSaveTimeSource(FixedSaveTime);
    // The project's objects as the start-up binds them for the readers of a slot file.
    m_SavedContext = LoadContext();
    m_SavedMap = g_WorldMap;
    g_WorldMap.SetDefaults();  // a saved record keeps its map position inside the map
    LoadContext().database = DatabaseSizesOf(g_Database);
    LoadContext().commonPalette = g_CommonPalette.View();
    LoadContext().stagePalette = g_Stage.View();
    g_SceneManager.SetSceneFactory(kSceneWorldMapMenu, MakeWorldMapMenuScene);
    OpenMenu();
  }
  void TearDown() override {
    SetSaveTimeSource(nullptr);
    LoadContext() = m_SavedContext;
    g_WorldMap = m_SavedMap;
    SceneTest::TearDown();
  }
  cLoadContext m_SavedContext;
  cWorldMap m_SavedMap;

  // As the world map leaves the scene for its menu (not yet run).
  static void OpenMenu() {
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneWorldMapMenu;
    g_SceneManager.m_Previous = kSceneWorldMap;
  }
  static void ShowOnly(std::initializer_list<int> entries) {
    for (int k = 0; k < g_System.m_SaveMenu.Size(); ++k) g_System.m_SaveMenu.At(k).m_Shown = 0;
    for (int k : entries) g_System.m_SaveMenu.At(k).m_Shown = 1;
  }
  cWorldMapMenuScene* Menu() {
    return dynamic_cast<cWorldMapMenuScene*>(g_SceneManager.Scene(kSceneWorldMapMenu));
  }
  static std::int32_t Row() { return g_MenuCursor.current->row; }
  // Moves the entry list's cursor down rows times and decides (the list shows every entry).
  void Choose(int rows) {
    for (int i = 0; i < rows; ++i) Press({VK_DOWN});
    Press({'Z'});
  }
  static std::filesystem::path SlotFile(std::int32_t slot) {
    std::string host = MakeStorySlotPath(slot);
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
  }
  static bool NoSlotFiles() { return std::filesystem::is_empty("user_data/story"); }
};

TEST_F(WorldMapMenuTest, TheEntryListKeepsTheShownEntriesInMenuOrderAtMostFour) {
  struct sCase {
    std::vector<int> shown;
    int extraEntries;  // further shown entries past the four the menu knows
    std::vector<std::int32_t> entries;
  };
  const sCase cases[] = {
      {{0, 1, 2, 3}, 0, {0, 1, 2, 3}},
      {{2, 3}, 0, {2, 3}},
      {{1, 3}, 0, {1, 3}},
      {{}, 0, {0}},  // nothing shown: the save entry alone
      {{0, 1, 2, 3}, 2, {0, 1, 2, 3}},
      {{3}, 2, {3}},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case with " << c.shown.size() << " shown, " << c.extraEntries << " extra");
    g_System.SetDefaults();
    for (int i = 0; i < c.extraEntries; ++i) g_System.m_SaveMenu.emplace_back();
    for (int k = 0; k < g_System.m_SaveMenu.Size(); ++k) g_System.m_SaveMenu.At(k).m_Shown = k >= 4 ? 1 : 0;
    for (int k : c.shown) g_System.m_SaveMenu.At(k).m_Shown = 1;
    OpenMenu();
    ASSERT_TRUE(RunUntilShown());
    ASSERT_EQ(Menu()->m_ShownCount, static_cast<std::int32_t>(c.entries.size()));
    for (std::size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(Menu()->m_ShownEntries[i], c.entries[i]);
  }
}

TEST_F(WorldMapMenuTest, DecidingARowOpensThePageOfTheEntryThere) {
  struct sCase {
    std::vector<int> shown;
    int row;
    std::int32_t state;  // after the decide and one more frame
    std::int32_t next;
  };
  const sCase cases[] = {
      {{2, 3}, 0, 6, kSceneWorldMap},  // もどる leaves at once
      {{2, 3}, 1, 5, kSceneWorldMapMenu},
      {{}, 0, 2, kSceneWorldMapMenu},
      {{1, 2}, 0, 3, kSceneWorldMapMenu},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << c.row << " of " << c.shown.size() << " shown");
    ShowOnly({});
    for (int k : c.shown) g_System.m_SaveMenu.At(k).m_Shown = 1;
    OpenMenu();
    ASSERT_TRUE(RunUntilShown());
    m_Sounds.clear();
    Choose(c.row);
    EXPECT_EQ(Menu()->m_State, c.state);
    EXPECT_EQ(g_SceneManager.m_Next, c.next);
    EXPECT_EQ(m_Sounds, std::vector<int>{1});
  }
}

TEST_F(WorldMapMenuTest, TheSaveListOpensOnTheSlotSavedLastAndAutoSaveNeedsAKnownSlot) {
  struct sCase {
    std::int32_t slot;
    std::int32_t row;
    std::int32_t top;
    std::int32_t autoSaveStep;  // 1 the ON/OFF choice, 2 the message
  };
  const sCase cases[] = {
      {kNoSlot, 0, 0, 2},
      {4, 4, 4, 1},
      {95, 95, 89, 1},  // the list's last page
      {500, 98, 89, 2},  // a damaged number names no slot
      {-7, 0, 0, 2},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "slot " << c.slot);
    g_SaveData.m_Slot = c.slot;
    OpenMenu();
    ASSERT_TRUE(RunUntilShown());
    Choose(0);
    Press({});
    EXPECT_EQ(Menu()->m_State, 2);
    EXPECT_EQ(Menu()->m_ListRows, 10);
    EXPECT_EQ(Row(), c.row);
    EXPECT_EQ(Menu()->m_ListTop, c.top);
    EXPECT_EQ(g_MenuCursor.current->x, 152);
    EXPECT_EQ(g_MenuCursor.current->y, 160 + 16 * (c.row - c.top));

    Press({'X'});
    EXPECT_EQ(Menu()->m_State, 1);
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
    EXPECT_EQ(Row(), 0) << "back on セーブ";
    Choose(1);
    EXPECT_EQ(Menu()->m_State, 3);
    EXPECT_EQ(Menu()->m_SubStep, c.autoSaveStep);
    Press({'Z'});
    EXPECT_EQ(Menu()->m_State, 1);
    EXPECT_EQ(g_SaveData.m_Slot, c.slot) << "looking never changes the slot";
    if (c.autoSaveStep == 2) {
      EXPECT_EQ(g_SaveData.m_AutoSave, 0) << "nothing switched without a slot";
    }
  }
  EXPECT_TRUE(NoSlotFiles());
}

TEST_F(WorldMapMenuTest, SavingIntoSlotFiveNamesItAndTheListShowsItAtOnce) {
  ASSERT_TRUE(RunUntilShown());
  Choose(0);
  for (int i = 0; i < 4; ++i) Press({VK_DOWN});
  Press({'Z'});
  ASSERT_EQ(Menu()->m_SubStep, 2);
  EXPECT_EQ(g_MenuCursor.Depth(), 3);
  EXPECT_EQ(Row(), 1) << "the confirmation opens on やっぱりやめる";
  EXPECT_EQ(g_MenuCursor.current->x, g_System.MenuTextLeftX(320, 12, 2, 1));
  EXPECT_EQ(g_MenuCursor.current->y, 400 + 16);

  Press({VK_UP});
  m_Sounds.clear();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{5});
  EXPECT_EQ(g_SaveData.m_Slot, 4);
  EXPECT_EQ(Menu()->m_SubStep, 1);
  EXPECT_EQ(g_MenuCursor.Depth(), 2);
  EXPECT_EQ(Row(), 4) << "the list's cursor stays on the slot";
  EXPECT_EQ(g_SaveSlots.At(4).m_Used, 1u);
  EXPECT_EQ(g_SaveSlots.At(4).m_SaveTime, FixedSaveTime());
  cSaveData written;
  ASSERT_EQ(written.LoadFromSlot(4), 1);
  EXPECT_EQ(written.m_Slot, 4) << "the file names its own slot";

  // Declining leaves everything as it was.
  std::filesystem::remove(SlotFile(4));
  Press({VK_DOWN});
  Press({'Z'});
  m_Sounds.clear();
  Press({'Z'});  // やっぱりやめる
  EXPECT_EQ(m_Sounds, std::vector<int>{1});
  EXPECT_TRUE(NoSlotFiles());

  Press({'X'});
  Choose(1);
  EXPECT_EQ(Menu()->m_SubStep, 1) << "with a slot the auto-save page offers ON and OFF";
  EXPECT_EQ(Row(), 1) << "on OFF while auto-save is off";
}

TEST_F(WorldMapMenuTest, TheSlotListPagesByNineAndSavesIntoTheLastSlot) {
  ASSERT_TRUE(RunUntilShown());
  Choose(0);
  struct sStep {
    int key;
    std::int32_t row;
    std::int32_t top;
  };
  // A page is nine slots, so the last line of the old page stays on screen; the ends stop it.
  const sStep steps[] = {
      {VK_RIGHT, 9, 9}, {VK_RIGHT, 18, 18}, {VK_LEFT, 9, 9},   {VK_LEFT, 0, 0},   {VK_LEFT, 0, 0},
      {VK_UP, 0, 0},    {VK_DOWN, 1, 0},    {VK_DOWN, 2, 0},
  };
  for (const sStep& step : steps) {
    Press({step.key});
    EXPECT_EQ(Row(), step.row);
    EXPECT_EQ(Menu()->m_ListTop, step.top);
  }
  for (int i = 0; i < 12; ++i) Press({VK_RIGHT});
  EXPECT_EQ(Row(), 98) << "on the last page, page down goes to the last slot";
  EXPECT_EQ(Menu()->m_ListTop, 89);
  EXPECT_EQ(g_MenuCursor.current->y, 160 + 16 * 9);
  Press({'Z'});
  Press({VK_UP});
  Press({'Z'});
  EXPECT_EQ(g_SaveData.m_Slot, 98);
  EXPECT_TRUE(std::filesystem::exists("user_data/story/Story99.dat"));
  EXPECT_EQ(Row(), 98) << "back on the list, on the slot just saved";
}

TEST_F(WorldMapMenuTest, AFailedSaveIsNotHeardAsSavedAndNamesNoSlot) {
  std::filesystem::remove_all("user_data/story");
  ASSERT_TRUE(RunUntilShown());
  Choose(0);
  Press({VK_DOWN});
  Press({VK_DOWN});
  Press({'Z'});
  Press({VK_UP});
  m_Sounds.clear();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{3});
  EXPECT_EQ(g_SaveData.m_Slot, kNoSlot);
  EXPECT_EQ(g_SaveSlots.At(2).m_Used, 0u);
  EXPECT_EQ(Menu()->m_SubStep, 1) << "back on the list as after a save";
  Press({'X'});
  Choose(1);
  EXPECT_EQ(Menu()->m_SubStep, 2) << "still no slot for auto-save";
}

TEST_F(WorldMapMenuTest, AutoSaveOnWritesTheSlotWithTheSwitchOnAndOffWritesNothing) {
  struct sCase {
    std::int32_t before;
    std::int32_t openRow;
    int key;
    std::int32_t after;
    bool written;
  };
  const sCase cases[] = {
      {0, 1, VK_UP, 1, true},
      {1, 0, VK_DOWN, 0, false},
      {1, 0, 0, 1, true},  // ON again saves again
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.before << " to " << c.after);
    std::filesystem::remove_all("user_data/story");
    std::filesystem::create_directories("user_data/story");
    g_SaveData.m_Slot = 2;
    g_SaveData.m_AutoSave = c.before;
    OpenMenu();
    ASSERT_TRUE(RunUntilShown());
    Choose(1);
    ASSERT_EQ(Menu()->m_SubStep, 1);
    EXPECT_EQ(Row(), c.openRow);
    if (c.key) {
      Press({c.key});
    } else {
      Press({});
    }
    EXPECT_EQ(g_MenuCursor.current->x, g_System.MenuTextLeftX(320, 14, 2, 1));
    const std::int32_t row = c.key ? 1 - c.openRow : c.openRow;
    EXPECT_EQ(g_MenuCursor.current->y, 224 + 16 * row);
    m_Sounds.clear();
    Press({'Z'});
    EXPECT_EQ(m_Sounds, std::vector<int>{1});
    EXPECT_EQ(g_SaveData.m_AutoSave, c.after);
    EXPECT_EQ(Menu()->m_State, 1);
    EXPECT_EQ(Menu()->m_SubStep, 0);
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
    EXPECT_EQ(Row(), 1) << "back on オートセーブ";
    ASSERT_EQ(std::filesystem::exists(SlotFile(2)), c.written);
    if (c.written) {
      cSaveData written;
      ASSERT_EQ(written.LoadFromSlot(2), 1);
      EXPECT_EQ(written.m_AutoSave, 1) << "a load keeps auto-save on";
    }
  }
}

TEST_F(WorldMapMenuTest, BackToTheTitleOpensOnNoAndLeavesWithoutSaving) {
  g_SaveData.m_Slot = 0;
  g_SaveData.m_AutoSave = 1;
  ASSERT_TRUE(RunUntilShown());
  Choose(3);
  ASSERT_EQ(Menu()->m_State, 5);
  EXPECT_EQ(Row(), 1);
  EXPECT_EQ(g_MenuCursor.current->x, g_System.MenuTextLeftX(320, 17, 2, 1));
  EXPECT_EQ(g_MenuCursor.current->y, 224 + 16);
  Press({'Z'});  // やっぱりやめる
  EXPECT_EQ(Menu()->m_State, 1);
  EXPECT_EQ(Row(), 3);

  Press({'Z'});
  Press({'X'});  // cancel as well
  EXPECT_EQ(Menu()->m_State, 1);
  EXPECT_EQ(g_MenuCursor.Depth(), 1);

  Press({'Z'});
  Press({VK_UP});
  m_Sounds.clear();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{1});
  EXPECT_EQ(g_SceneManager.m_Next, kSceneTitle);
  ASSERT_TRUE(RunUntilCurrent(kSceneTitle));
  EXPECT_EQ(g_SceneManager.m_Previous, kSceneWorldMapMenu);
  EXPECT_TRUE(NoSlotFiles());
}

TEST_F(WorldMapMenuTest, CancelGoesBackToTheMapWithItsTuneAndTheHeroWhereHeStood) {
  g_SaveData.m_MapX = 7;
  g_SaveData.m_MapY = 3;
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(m_Music, std::vector<int>{1});
  Press({'X'});
  EXPECT_EQ(m_Sounds, std::vector<int>{2});
  ASSERT_TRUE(RunUntilCurrent(kSceneWorldMap));
  EXPECT_EQ(g_SceneManager.m_Previous, kSceneWorldMapMenu);
  EXPECT_EQ(g_SaveData.m_MapX, 7);
  EXPECT_EQ(g_SaveData.m_MapY, 3);
  EXPECT_TRUE(NoSlotFiles());
}

TEST_F(WorldMapMenuTest, TheTotalScoreWindowShowsOnlyWhenSwitchedOnAndAboveZero) {
  struct sCase {
    std::int32_t shown;
    std::int32_t total;
    std::int32_t left;  // -1: no window
  };
  const sCase cases[] = {
      {1, 12345, 320 - (7 + 5) * 16 / 2},
      {1, 2147483647, 320 - (7 + 10) * 16 / 2},
      {1, 7, 320 - (7 + 1) * 16 / 2},
      {0, 12345, -1},
      {1, 0, -1},
      {1, -50, -1},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "switch " << c.shown << " total " << c.total);
    g_System.m_StoryShowTotalScore = c.shown;
    g_SaveData.m_TotalScore = c.total;
    OpenMenu();
    ASSERT_TRUE(RunUntilShown());
    Press({});
    const cPixelBuffer& screen = g_BackSurface.lpDDPart->surface->Pixels();
    const std::uint32_t cleared = screen.Pixel(5, 5);
    const int probe = c.left >= 0 ? c.left + 2 : 200;
    if (c.left >= 0) {
      EXPECT_EQ(g_WorldMapMenuPos[kMapMenuPosTotalScore].x, c.left);
      EXPECT_NE(screen.Pixel(probe, 262), cleared);
      EXPECT_EQ(screen.Pixel(probe, 280), cleared) << "one line high";
    } else {
      for (int x = 150; x < 490; x += 7) ASSERT_EQ(screen.Pixel(x, 266), cleared) << x;
    }
  }
}

}  // namespace
