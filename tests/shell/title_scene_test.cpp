// The title scene on a project set up by the test, run through the real frame loop.
#include <climits>
#include <cstdlib>
#include <set>

#include "platform/display/present.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/stage_data.h"
#include "project/world_map.h"
#include "shell/hbt_palette.h"
#include "shell/startup.h"
#include "shell/title_scene.h"
#include "tests/shell/scene_fixture.h"

namespace {

// Beside the test program (the directory it was started in), before any test changes directory.
const std::filesystem::path s_OutputBase = std::filesystem::current_path() / "test_output";

class TitleSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    WriteTitlePictures();
    ASSERT_TRUE(StartDisplay(0, 32, 1));
    g_SaveSlots.assign(kStorySlotCount, cSaveSlotInfo());
    // The project's objects as the start-up binds them for the readers.
    m_SavedContext = LoadContext();
    LoadContext().database = DatabaseSizesOf(g_Database);
    LoadContext().commonPalette = g_CommonPalette.View();
    LoadContext().stagePalette = g_Stage.View();
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    g_TestPlay = 0;
    SceneTest::TearDown();
  }
  // Only the kinds listed are shown.
  static void ShowOnly(std::initializer_list<int> kinds) {
    for (int k = 0; k < kTitleItemCount; ++k) g_System.m_TitleMenu.At(k).m_Shown = 0;
    for (int k : kinds) g_System.m_TitleMenu.At(k).m_Shown = 1;
  }
  cLoadContext m_SavedContext;
  cTitleScene* Title() { return dynamic_cast<cTitleScene*>(g_SceneManager.Scene(kSceneTitle)); }
  std::int32_t Row() { return g_MenuCursor.current->row; }
  // A story slot file holding a save (slot 0-based).
  void ResizeHostFile(const std::string& gamePath, std::size_t size) {
    std::string host = gamePath;
    std::replace(host.begin(), host.end(), '\\', '/');
    std::filesystem::resize_file(m_Folder / host, size);
  }
  void WriteSlot(int slot) {
    std::filesystem::create_directories("user_data/story");
    cSaveData save;
    save.m_StageName = "saved.";
    ASSERT_TRUE(save.SaveToSlot(slot));
  }
};

TEST_F(TitleSceneTest, OnlyEnabledItemsAreShownAndTheCursorWrapsBetweenThem) {
  ShowOnly({kTitleNewStory, kTitleQuit});
  ASSERT_TRUE(RunUntilShown());
  cTitleScene* title = Title();
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->m_ItemCount, 2);
  EXPECT_EQ(title->m_ItemKinds[0], kTitleNewStory);
  EXPECT_EQ(title->m_ItemKinds[1], kTitleQuit);
  ASSERT_EQ(g_MenuSurfaces.size(), 1u);
  EXPECT_EQ(g_MenuSurfaces[0].height, 2 * 32 + 2) << "a two-row panel";
  EXPECT_EQ(g_MenuSurfaces[0].width, CharCount(g_System.m_TitleMenu.At(kTitleQuit).m_Label) * 32 + 34);

  struct sStep {
    int key;
    std::int32_t row;
  };
  const sStep steps[] = {{VK_UP, 1}, {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, 0}};
  for (const sStep& s : steps) {
    Press({s.key});
    EXPECT_EQ(Row(), s.row);
    EXPECT_EQ(g_MenuCursor.current->y, 240 + s.row * 32);
    EXPECT_EQ(g_MenuCursor.current->x, 192);
  }
  EXPECT_TRUE(m_Sounds.empty()) << "the cursor sound does not go through the window thread";
}

TEST_F(TitleSceneTest, WithNoEnabledItemThePanelHoldsNewStoryAlone) {
  ShowOnly({});
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(Title()->m_ItemCount, 1);
  EXPECT_EQ(Title()->m_ItemKinds[0], kTitleNewStory);
  EXPECT_EQ(g_MenuSurfaces[0].height, 34);
}

TEST_F(TitleSceneTest, TheCursorComesBackToTheItemDecidedLast) {
  ShowOnly({kTitleNewStory, kTitleChallenge, kTitleOption, kTitleQuit});
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});
  Press({VK_DOWN});
  Press({'Z'});  // オプション
  EXPECT_EQ(g_SceneManager.m_TitleChoice, kTitleOption);
  ASSERT_TRUE(RunUntilCurrent(kSceneOption));
  ASSERT_TRUE(RunUntilShown());
  Press({'X'});  // back from the options
  ASSERT_TRUE(RunUntilCurrent(kSceneTitle));
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(Row(), 2) << "on オプション again";
  // A choice the menu no longer holds leaves the row as the choice's number, wrapped by the move.
  g_SceneManager.DeleteScenes();
  ShowOnly({kTitleNewStory, kTitleQuit});
  g_SceneManager.m_TitleChoice = kTitleReplay;
  ASSERT_TRUE(RunUntilShown());
  Press({});
  EXPECT_GE(Row(), 0);
  EXPECT_LT(Row(), 2);
}

TEST_F(TitleSceneTest, ContinueListsTenSlotsPagesByNineAndRefusesAnEmptySlot) {
  ShowOnly({kTitleNewStory, kTitleContinue, kTitleQuit});
  WriteSlot(10);
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});
  Press({'Z'});
  cTitleScene* title = Title();
  EXPECT_EQ(title->m_State, 2);
  EXPECT_EQ(g_MenuCursor.Depth(), 2);
  Press({});
  EXPECT_EQ(title->m_VisibleRows, 10);
  EXPECT_EQ(g_SaveSlots.At(10).m_Used, 1u);
  EXPECT_EQ(g_SaveSlots.At(0).m_Used, 0u);

  Press({VK_RIGHT});  // page down
  EXPECT_EQ(Row(), 9);
  EXPECT_EQ(title->m_ListTop, 9);
  EXPECT_EQ(g_MenuCursor.current->y, 160);
  m_Sounds.clear();
  Press({'Z'});  // slot 10: empty
  EXPECT_EQ(m_Sounds, std::vector<int>{3});
  EXPECT_EQ(title->m_State, 2) << "the list stays";

  // Slot 11 is listed as used, but its file is cut short: refused like an empty slot, instead of
  // starting the story from whatever the record held.
  ResizeHostFile(MakeStorySlotPath(10), 40);
  Press({VK_DOWN});
  EXPECT_EQ(Row(), 10);
  m_Sounds.clear();
  g_SceneManager.m_Next = kSceneTitle;
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{3});
  EXPECT_EQ(title->m_State, 2);
  EXPECT_EQ(g_SceneManager.m_Next, kSceneTitle);
}

// A slot file damaged (its count of numbers far beyond the members present) once ended the program
// through the checked containers as soon as the list was read; it is refused with the failure sound
// and a message, reported once, and the next slot still starts the story.
TEST_F(TitleSceneTest, ADamagedSlotIsRefusedWithAWordAndTheGameGoesOn) {
  InitRecordSettings();
  ShowOnly({kTitleNewStory, kTitleContinue, kTitleQuit});
  WriteSlot(0);
  WriteSlot(1);
  {
    std::string bytes = ReadHostFile("user_data/story/Story01.dat");
    bytes.replace(4, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    WriteHostFile("user_data/story/Story01.dat", bytes);
  }
  ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});
  Press({'Z'});
  cTitleScene* title = Title();
  ASSERT_EQ(title->m_State, 2);
  EXPECT_EQ(g_SaveSlots.At(0).m_Used, 1u) << "listed: its file is there";
  m_Sounds.clear();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{3});
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(m_Boxes[0].find(SJ("が破損しています！")), std::string::npos);
  EXPECT_NE(m_Boxes[0].find("Story01.dat"), std::string::npos);
  const std::string report = Report();
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  EXPECT_EQ(TakeMessages(WM_CLOSE), 0);
  EXPECT_EQ(title->m_State, 2) << "the list stays";

  Press({VK_DOWN});
  EXPECT_EQ(Row(), 1);
  m_Sounds.clear();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{1}) << Report();
  EXPECT_EQ(g_SaveData.m_StageName, "saved.");
  EXPECT_TRUE(RunUntilCurrent(kSceneWorldMap));
}

TEST_F(TitleSceneTest, CancelInTheSlotListGivesTheMainMenuItsCursorBack) {
  ShowOnly({kTitleNewStory, kTitleContinue, kTitleQuit});
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});
  Press({'Z'});
  Press({VK_DOWN});
  Press({VK_DOWN});
  m_Sounds.clear();
  Press({'X'});
  EXPECT_EQ(m_Sounds, std::vector<int>{2});
  EXPECT_EQ(Title()->m_State, 1);
  EXPECT_EQ(g_MenuCursor.Depth(), 1);
  EXPECT_EQ(Row(), 1) << "つづきから again";
}

TEST_F(TitleSceneTest, EachItemSetsThePlayModeAndGoesWhereItLeads) {
  const std::int32_t rankings[] = {0, 1, 0, 1};  // per play mode
  for (int mode = 0; mode < 4; ++mode) g_System.m_RankingSets.At(mode).m_Enabled = rankings[mode];
  g_System.m_ChallengeStageCount = 3;
  struct sCase {
    std::int32_t kind;
    std::int32_t answer;  // a file dialog's outcome
    std::int32_t mode;
    std::int32_t ranking;
    std::int32_t next;    // -1: stays on the title
    std::uint32_t request;
  };
  // clang-format off
  const sCase cases[] = {
      {kTitleNewStory, 0, kPlayStory, 0, kSceneWorldMap, 0},
      {kTitleChallenge, 0, kPlayChallenge, 1, kSceneChallenge, 0},
      {kTitleFreePlay, 1, kPlayFree, 0, kScenePlay, WM_GAME_OPENSTAGE},
      {kTitleFreePlay, 0, kPlayFree, 0, -1, WM_GAME_OPENSTAGE},
      {kTitleReplay, 0, kPlayReplay, 1, -1, WM_GAME_OPENREPLAY},
      {kTitleOption, 0, kPlayStory, 0, kSceneOption, 0},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " answer " << c.answer);
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneTitle;
    g_SceneManager.m_PlayMode = kPlayStory;
    g_SceneManager.m_RankingFlag = 0;
    ShowOnly({c.kind});
    m_DialogAnswer = c.answer;
    m_Messages.clear();
    ASSERT_TRUE(RunUntilShown());
    Press({'Z'});
    EXPECT_EQ(g_SceneManager.m_TitleChoice, c.kind);
    EXPECT_EQ(g_SceneManager.m_PlayMode, c.mode);
    EXPECT_EQ(g_SceneManager.m_RankingFlag, c.ranking);
    if (c.request) {
      EXPECT_NE(std::find(m_Messages.begin(), m_Messages.end(), c.request), m_Messages.end());
    }
    if (c.next < 0) {
      EXPECT_EQ(Title()->m_State, 1);
    } else {
      EXPECT_EQ(g_SceneManager.m_Next, c.next);
      EXPECT_EQ(Title()->m_State, Title()->FadeOutState());
    }
    if (c.kind == kTitleChallenge) {
      EXPECT_EQ(g_SaveData.m_ChallengeResults.Size(), 3) << "a fresh challenge record";
    }
  }
}

TEST_F(TitleSceneTest, QuitClosesInOrder) {
  ShowOnly({kTitleQuit});
  ASSERT_TRUE(RunUntilShown());
  TakeMessages(WM_CLOSE);
  Press({'Z'});
  EXPECT_EQ(TakeMessages(WM_CLOSE), 1);
  EXPECT_EQ(Title()->m_State, 1);
}

TEST_F(TitleSceneTest, NewStoryAndStageStartsGiveTheLivesOfTheirMode) {
  g_WorldMap.m_StartX = 4;
  g_WorldMap.m_StartY = 7;
  g_System.m_StartingLives.At(kPlayStory) = 3;
  g_System.m_UnlimitedLives.At(kPlayStory) = 0;
  g_SaveData.m_Round = 5;
  StartNewStory();
  EXPECT_EQ(g_SaveData.m_MapX, 4);
  EXPECT_EQ(g_SaveData.m_MapY, 7);
  EXPECT_EQ(g_SaveData.m_Round, 0);
  EXPECT_EQ(g_SaveData.m_StartLives, 3);
  EXPECT_EQ(g_SaveData.m_Lives, 2);
  g_System.m_UnlimitedLives.At(kPlayStory) = 1;
  StartNewStory();
  EXPECT_EQ(g_SaveData.m_Lives, kUnlimitedLives);

  // A stage name longer than a path buffer is refused before anything is touched.
  g_SaveData.m_MapX = 9;
  const std::string longName(300, 'a');
  EXPECT_EQ(StartStageFile(longName.c_str(), 0), 0);
  EXPECT_EQ(StartStageFile(nullptr, 0), 0);
  EXPECT_EQ(g_SaveData.m_MapX, 9);
  // A stage that does not load is 0 as well.
  EXPECT_EQ(StartStageFile("data\\stg4\\none.stg4_556", 0), 0);
}

// System.dat's starting lives at the ends of the numbers once made "はじめから" and free play
// compute lives - 1 past the smallest number: the settings' lives are held to what the game holds.
TEST_F(TitleSceneTest, LivesFromTheSettingsAreHeldBeforeAnyArithmetic) {
  std::filesystem::create_directories("data/stg4");
  cStageData stage;
  stage.SetField(kStageWidth, 40);
  cCharaDef hero;  // a stage plays only with a hero at the keys
  hero.m_ChipIndex = 1;
  hero.m_Operator = 0;
  stage.m_PlacedCharas.push_back(hero);
  ASSERT_EQ(stage.SaveFile("data\\stg4\\free.stg4_556"), 1);
  struct sCase {
    std::int32_t setting;
    std::int32_t start, lives;
  };
  const sCase cases[] = {
      {INT_MIN, 0, -1}, {-100000000, 0, -1}, {-1, 0, -1}, {0, 0, -1},
      {3, 3, 2},        {99, 99, 98},        {100, 99, 98}, {INT_MAX, 99, 98},
  };
  g_System.m_UnlimitedLives.assign(kPlayModeCount, 0);
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.setting);
    g_System.m_StartingLives.assign(kPlayModeCount, c.setting);
    StartNewStory();
    EXPECT_EQ(g_SaveData.m_StartLives, c.start);
    EXPECT_EQ(g_SaveData.m_Lives, c.lives);
    ASSERT_EQ(StartStageFile("data\\stg4\\free.stg4_556", 0), 1);
    EXPECT_EQ(g_SaveData.m_StartLives, c.start);
    EXPECT_EQ(g_SaveData.m_Lives, c.lives);
  }
}

// System.dat's system-colour step at the ends of the numbers once overflowed the colour ramps on the
// title screen under Direct3D: every level stays within 0..255 (colour 7 shows level L as red L and
// blue L / 4, which only agree while L is in range).
TEST_F(TitleSceneTest, TheColourRampsStayInRangeWhateverTheStep) {
  ReleaseGameFonts();
  for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
  DDRelease();
  ASSERT_TRUE(StartDisplay(1, 32, 1));
  for (std::int32_t step : {INT_MIN, -100000000, -1, 0, 256, INT_MAX}) {
    SCOPED_TRACE(step);
    g_System.m_SystemColourStep = step;
    ResetSystemColours();
    for (int frame = 0; frame < 60; ++frame) {
      ASSERT_EQ(g_SceneManager.Frame(), 1);
      const std::uint32_t argb = g_SystemColours[7].argb;
      ASSERT_EQ(((argb >> 16) & 0xFF) / 4, argb & 0xFF) << "frame " << frame;
    }
  }
}

TEST_F(TitleSceneTest, ScreenshotOfTheTitleMenu) {
  // The installed fonts, as a player sees the menu.
  ReleaseGameFonts();
  SetFontFileOverride({});
  g_Palette[240] = {0x80, 0xA0, 0xFF, 1};
  for (int i = 0; i < 256; ++i) g_FadePalette[i] = g_Palette[i];
  CreateGameFonts(SJ("ＭＳ ゴシック"), 0, 0);
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});

  const char* dir = std::getenv("PLAYER_TEST_OUTPUT");
  const std::filesystem::path out =
      (dir ? std::filesystem::path(dir) : s_OutputBase) / "title_menu.png";
  std::filesystem::create_directories(out.parent_path());
  ASSERT_TRUE(m_Screen.WriteLastFramePng(out)) << out;
  std::vector<std::uint32_t> pixels;
  std::int32_t width = 0, height = 0;
  ASSERT_TRUE(ReadXrgbPng(out, &pixels, &width, &height));
  ASSERT_EQ(width, 640);
  // Not blank: the title picture's many colours, the panel's frame colour and text inside the panel.
  std::set<std::uint32_t> colours(pixels.begin(), pixels.end());
  EXPECT_GT(colours.size(), 100u);
  const cTitleScene* title = Title();
  std::set<std::uint32_t> panel;
  for (int y = title->m_PanelY; y < title->m_PanelY + g_MenuSurfaces[0].height; ++y)
    for (int x = title->m_PanelX + 32; x < title->m_PanelX + g_MenuSurfaces[0].width; ++x)
      panel.insert(pixels[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFF);
  EXPECT_GE(panel.size(), 2u) << "the labels stand out of the window picture";
}

}  // namespace
