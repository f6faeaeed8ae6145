// The challenge screen run through the real frame loop: which stages open, the list's scrolling,
// the panel's marks and headings, the ranking keys, and deciding or leaving.
#include <algorithm>
#include <filesystem>

#include "platform/display/ddraw_device.h"
#include "platform/services/text.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/challenge_scene.h"
#include "shell/ranking.h"
#include "tests/shell/scene_fixture.h"

namespace {

constexpr int kSoundDecide = 1;
constexpr int kSoundCancel = 2;
constexpr int kSoundRefused = 3;
constexpr int kSoundRankingSwitch = 6;
constexpr std::uint32_t kClearMarkColour = 0xFF00FFu;

class ChallengeSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    WriteTitlePictures();
    // Cursor at (0, 0), clear mark at (96, 0): both 32 x 32, colour 0 keyed out around them.
    WriteBmp("bmp/Accessory.bmp", 128, 32, [](int x, int y) {
      if (x < 32 && y > 8 && y < 24) return 0xFFFF00u;
      return x >= 96 && y > 4 && y < 28 ? kClearMarkColour : 0u;
    });
    ASSERT_TRUE(StartDisplay(0, 32, 1));
    g_SceneManager.SetSceneFactory(kSceneChallenge, MakeChallengeScene);
    g_SceneManager.m_PlayMode = kPlayChallenge;
    g_SceneManager.m_RankingFlag = 0;
    g_SceneManager.m_ChallengeRow = 0;
    g_SceneManager.m_ChallengeTop = 0;
    SetStages(3, 1);
    RankingsOfChallenge(false, {1, 0, 0, 0, 0});
  }
  void TearDown() override {
    g_SceneManager.m_ChallengeRow = 0;
    g_SceneManager.m_ChallengeTop = 0;
    g_SceneManager.m_RankingFlag = 0;
    g_Ranking.Reset();
    SceneTest::TearDown();
  }

  // The project's challenge stages and the record as a fresh progress file leaves it.
  static void SetStages(std::int32_t count, std::int32_t allOpen) {
    g_System.m_ChallengeStageCount = count;
    g_System.m_ChallengeAllOpen = allOpen;
    g_SaveData.Reset();
    g_SaveData.m_ChallengeResults.assign(static_cast<std::size_t>(count), cSaveIntPair());
  }
  static void RankingsOfChallenge(bool enabled, std::vector<std::uint8_t> kinds) {
    cSystemFlagSet& set = g_System.m_RankingSets.At(kPlayChallenge);
    set.m_Enabled = enabled ? 1 : 0;
    set.m_Flags.assign(kinds.begin(), kinds.end());
  }
  // As the title leaves for the challenge screen; runs it up to its stage choice.
  void OpenChallenge() {
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneChallenge;
    g_SceneManager.m_Previous = kSceneTitle;
    ASSERT_TRUE(RunUntilShown());
    m_Sounds.clear();
  }
  cChallengeScene* Scene() { return dynamic_cast<cChallengeScene*>(g_SceneManager.Scene(kSceneChallenge)); }
  static std::int32_t Row() { return g_MenuCursor.current->row; }
  static std::uint32_t PanelPixel(int x, int y) {
    return g_MenuSurfaces.at(0).lpDDPart->surface->Pixels().Pixel(x, y) & 0xFFFFFFu;
  }
  // The panel's pixels inside a rectangle, to compare two drawings of it.
  static std::vector<std::uint32_t> PanelArea(int x0, int y0, int w, int h) {
    std::vector<std::uint32_t> area;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) area.push_back(PanelPixel(x, y));
    return area;
  }
  // The first column of the panel that differs from the window's own colour in a 16-dot band.
  static int FirstDrawnColumn(int top) {
    const std::uint32_t window = PanelPixel(20, top + 8);
    for (int x = 20; x < 620; ++x)
      for (int y = top; y < top + 16; ++y)
        if (PanelPixel(x, y) != window) return x;
    return -1;
  }
  // A loadable stage (it places a hero) at a program path.
  static void SaveStage(const std::string& path) {
    std::filesystem::create_directories("data/stg4");
    cStageData stage;
    stage.SetField(kStageWidth, 40);
    cCharaDef hero;
    hero.m_ChipIndex = 1;
    hero.m_Operator = 0;
    stage.m_PlacedCharas.push_back(hero);
    ASSERT_EQ(stage.SaveFile(path.c_str()), 1);
  }
  int CountSound(int sound) const { return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), sound)); }
};

TEST_F(ChallengeSceneTest, StageFileNamesFollowTheRowNumber) {
  char name[kChallengeNameSize];
  MakeChallengeStageFileName(name, sizeof name, 5);
  EXPECT_STREQ(name, "data\\stg4\\c05-1.stg4");
  MakeChallengeStageFileName(name, sizeof name, 123);
  EXPECT_STREQ(name, "data\\stg4\\c123-1.stg4");
}

TEST_F(ChallengeSceneTest, OpenStagesComeFromTheSwitchOrTheRecord) {
  struct sCase {
    std::int32_t count;
    std::int32_t allOpen;
    std::int32_t recordOpen;  // -1: as a fresh record leaves it
    std::int32_t open;
    std::int32_t visible;
  };
  const sCase cases[] = {
      {5, 0, -1, 1, 1},    // a fresh record opens the first stage only
      {5, 0, 4, 4, 4},
      {5, 1, 2, 5, 5},     // every stage open, whatever the record says
      {25, 1, -1, 25, 10}, // no more than ten rows
      {0, 1, -1, 0, 0},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.count << " all " << c.allOpen << " record " << c.recordOpen);
    SetStages(c.count, c.allOpen);
    if (c.recordOpen >= 0) g_SaveData.m_ChallengeOpen = c.recordOpen;
    OpenChallenge();
    ASSERT_NE(Scene(), nullptr);
    EXPECT_EQ(Scene()->m_OpenStages, c.open);
    EXPECT_EQ(Scene()->m_VisibleRows, c.visible);
    // The cursor cannot leave the open stages.
    for (int i = 0; i < 30; ++i) Press({VK_DOWN});
    EXPECT_EQ(Row(), std::max(c.open - 1, 0));
  }
}

TEST_F(ChallengeSceneTest, TheListScrollsWithTheCursorAndPagesSideways) {
  SetStages(25, 1);
  OpenChallenge();
  struct sStep {
    int key;
    int presses;
    std::int32_t row;
    std::int32_t top;
  };
  const sStep steps[] = {
      {VK_DOWN, 9, 9, 0},     // the last row shown
      {VK_DOWN, 1, 10, 1},    // one more scrolls the list
      {VK_RIGHT, 1, 19, 10},  // a page is one row short of the window
      {VK_RIGHT, 1, 24, 15},  // the last page ends on the last stage
      {VK_RIGHT, 1, 24, 15},
      {VK_LEFT, 1, 15, 6},
      {VK_UP, 1, 14, 6},
      {VK_LEFT, 1, 5, 0},
      {VK_LEFT, 1, 0, 0},
  };
  for (const sStep& s : steps) {
    for (int i = 0; i < s.presses; ++i) Press({s.key});
    EXPECT_EQ(Row(), s.row);
    EXPECT_EQ(Scene()->m_ListTop, s.top);
    EXPECT_EQ(g_MenuCursor.current->y, kChallengeRowsY + (s.row - s.top) * kChallengeRowHeight);
    EXPECT_EQ(g_MenuCursor.current->x, kChallengeCursorX);
  }
  // The stage under the cursor is the record's stage.
  EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\c01.");
  Press({VK_DOWN});
  EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\c02.");
}

TEST_F(ChallengeSceneTest, ComingBackRestoresTheRowAndTopKeptByTheManager) {
  SetStages(25, 1);
  g_SceneManager.m_ChallengeRow = 12;
  g_SceneManager.m_ChallengeTop = 5;
  OpenChallenge();
  EXPECT_EQ(Row(), 12);
  EXPECT_EQ(Scene()->m_ListTop, 5);
  EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\c13.");

  // A record that opens fewer stages than when they were kept: the list still shows its rows.
  SetStages(25, 0);
  g_SaveData.m_ChallengeOpen = 3;
  g_SceneManager.m_ChallengeRow = 12;
  g_SceneManager.m_ChallengeTop = 5;
  OpenChallenge();
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Scene()->m_ListTop, 0);
  EXPECT_EQ(Scene()->m_VisibleRows, 3);
}

TEST_F(ChallengeSceneTest, ClearedStagesCarryTheMarkEvenPastTheRecordsResults) {
  SetStages(4, 1);
  g_SaveData.m_ChallengeResults.At(1).m_Cleared = 1;
  // The project lists more stages than the record holds results for: those rows are not cleared.
  g_System.m_ChallengeStageCount = 6;
  OpenChallenge();
  ASSERT_EQ(Scene()->m_VisibleRows, 6);
  const int markX = (CharCount(g_System.m_UiTexts.At(0)) + 4) * 32 + 16;
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(PanelPixel(markX, kChallengeRowsY + row * kChallengeRowHeight + 16) == kClearMarkColour, row == 1);
  }
  EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(ChallengeSceneTest, TheTotalScoreLineIsCentredOnItsCharactersAndDigits) {
  g_System.m_UiTexts.At(4) = "#";  // a glyph the fixture face has
  struct sCase {
    std::int32_t shown;
    std::int32_t total;
    int left;  // first column drawn in the line's band, -1 for none
  };
  const sCase cases[] = {
      {1, 1234, 320 - (1 + 4) * 16 / 2},
      {1, 5, 320 - (1 + 1) * 16 / 2},
      {1, 0, -1},  // nothing scored yet
      {0, 1234, -1},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.total);
    g_System.m_ChallengeShowTotalScore = c.shown;
    g_SaveData.m_TotalScore = c.total;
    OpenChallenge();
    // Where the face puts a glyph drawn at x 100, below the three rows: its own side bearing.
    g_Fonts[1].Draw(&g_MenuSurfaces.at(0), 100, 400, "#", 0);
    const int bearing = FirstDrawnColumn(400) - 100;
    const int left = FirstDrawnColumn(88);
    EXPECT_EQ(left, c.left < 0 ? -1 : c.left + bearing);
  }
}

TEST_F(ChallengeSceneTest, ShownRankingHidesTheHighScoreHeading) {
  g_System.m_ChallengeShowStageScores = 1;
  g_System.m_UiTexts.At(3) = "###";  // glyphs the fixture face has
  // The rankings switch off: nothing is drawn where the heading stands but the heading itself.
  OpenChallenge();
  const auto withHeading = PanelArea(32, 128, 576, 32);
  g_SaveData.m_RankingShown = 1;
  Scene()->DrawChallengePanel(&g_MenuSurfaces.at(0));
  EXPECT_NE(PanelArea(32, 128, 576, 32), withHeading);
  g_SaveData.m_RankingShown = 0;
  Scene()->DrawChallengePanel(&g_MenuSurfaces.at(0));
  EXPECT_EQ(PanelArea(32, 128, 576, 32), withHeading);
}

TEST_F(ChallengeSceneTest, ButtonThreeTogglesTheRankingOnlyWhenTheModeKeepsRankings) {
  // Off: the key only makes sure nothing is shown.
  g_SaveData.m_RankingShown = 1;
  OpenChallenge();
  Press({'C'});
  EXPECT_EQ(g_SaveData.m_RankingShown, 0);
  EXPECT_EQ(CountSound(kSoundRankingSwitch), 0);

  RankingsOfChallenge(true, {1, 0, 0, 0, 0});
  const auto before = PanelArea(292, 108, 272, 352);
  Press({'C'});
  EXPECT_EQ(g_SaveData.m_RankingShown, 1);
  EXPECT_EQ(CountSound(kSoundRankingSwitch), 1);
  EXPECT_NE(PanelArea(292, 108, 272, 352), before);
  // A held key acts once, not every frame.
  Hold({'C'});
  RunFrames(5);
  Hold({});
  RunFrames(1);
  EXPECT_EQ(g_SaveData.m_RankingShown, 0);
  EXPECT_EQ(CountSound(kSoundRankingSwitch), 2);
  EXPECT_EQ(PanelArea(292, 108, 272, 352), before);
}

TEST_F(ChallengeSceneTest, ButtonFourCyclesOnlyOverMoreThanOneEnabledTable) {
  struct sCase {
    bool enabled;
    std::vector<std::uint8_t> kinds;
    std::int32_t table;
    int sounds;
  };
  const sCase cases[] = {
      {true, {0, 0, 1, 0, 0}, 2, 0},  // one table: nothing
      {true, {1, 0, 1, 0, 1}, 4, 1},
      {false, {1, 0, 1, 0, 1}, 2, 0},  // rankings off
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.table);
    RankingsOfChallenge(c.enabled, c.kinds);
    g_SaveData.m_RankingTable = 2;
    g_SaveData.m_RankingShown = 1;
    OpenChallenge();
    Press({'V'});
    EXPECT_EQ(g_SaveData.m_RankingTable, c.table);
    EXPECT_EQ(CountSound(kSoundRankingSwitch), c.sounds);
  }
}

TEST_F(ChallengeSceneTest, MovingTheCursorReadsThatStagesRanking) {
  g_SceneManager.m_RankingFlag = 1;
  RankingsOfChallenge(true, {1, 0, 0, 0, 0});
  std::filesystem::create_directories("user_data/challenge");
  cRankFile file;
  file.m_Tables.At(0).Insert("bob", 777);
  ASSERT_EQ(SaveRankFile(file, kPlayChallenge, "data\\stg4\\c02."), 1);
  OpenChallenge();
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(0).m_Used, 0);
  Press({VK_DOWN});
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(0).m_Value, 777);
  Press({VK_DOWN});
  EXPECT_EQ(g_Ranking.m_Tables.At(0).m_Entries.At(0).m_Used, 0);
}

TEST_F(ChallengeSceneTest, DecidingLoadsTheNewestNumberedStageAndStartsPlay) {
  struct sCase {
    std::uint8_t unlimited;
    std::int32_t startLives;
    std::int32_t lives;
  };
  const sCase cases[] = {{0, 3, 2}, {1, kUnlimitedLives, kUnlimitedLives}};
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.unlimited);
    SetStages(12, 1);
    g_System.m_StartingLives.At(kPlayChallenge) = 3;
    g_System.m_UnlimitedLives.At(kPlayChallenge) = c.unlimited;
    SaveStage("data\\stg4\\c11-1.stg4_001");
    SaveStage("data\\stg4\\c11-1.stg4_007");
    g_SceneManager.m_ChallengeRow = 9;
    g_SceneManager.m_ChallengeTop = 2;
    OpenChallenge();
    Press({VK_DOWN});
    Press({'Z'});
    EXPECT_EQ(m_Sounds, std::vector<int>{kSoundDecide});
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(g_Stage.m_FileName, "data\\stg4\\c11-1.stg4_007");
    EXPECT_EQ(g_SaveData.m_StageName, "data\\stg4\\c11.");
    EXPECT_EQ(g_SaveData.m_SubStage, 1);
    EXPECT_EQ(g_SaveData.m_StageNumber, 11);
    EXPECT_EQ(g_SaveData.m_StageIndex, 1);
    EXPECT_EQ(g_SaveData.m_StartLives, c.startLives);
    EXPECT_EQ(g_SaveData.m_Lives, c.lives);
    EXPECT_EQ(g_SceneManager.m_ChallengeRow, 10);
    EXPECT_EQ(g_SceneManager.m_ChallengeTop, 2);
    EXPECT_EQ(g_SceneManager.m_Next, kScenePlay);
    ASSERT_TRUE(RunUntilCurrent(kScenePlay));
    EXPECT_EQ(g_SceneManager.m_Previous, kSceneChallenge);
  }
}

TEST_F(ChallengeSceneTest, AStageThatCannotBeReadIsRefusedAndTheListStays) {
  OpenChallenge();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{kSoundRefused});
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(m_Boxes[0].find(SJ("ステージファイル data\\stg4\\c01-1.stg4 が読み込めません！")), std::string::npos);
  EXPECT_EQ(Scene()->m_State, 1);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneChallenge);

  // No stage open at all: nothing to load, nothing to report.
  m_Boxes.clear();
  SetStages(0, 1);
  SaveStage("data\\stg4\\c01-1.stg4_001");
  OpenChallenge();
  Press({'Z'});
  EXPECT_EQ(m_Sounds, std::vector<int>{kSoundRefused});
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_EQ(Scene()->m_State, 1);
}

TEST_F(ChallengeSceneTest, CancelGoesBackToTheTitle) {
  OpenChallenge();
  Press({'X'});
  EXPECT_EQ(m_Sounds, std::vector<int>{kSoundCancel});
  EXPECT_EQ(g_SceneManager.m_Next, kSceneTitle);
  ASSERT_TRUE(RunUntilCurrent(kSceneTitle));
  EXPECT_EQ(g_SceneManager.m_Previous, kSceneChallenge);
}

TEST_F(ChallengeSceneTest, EnterAsksForTheChallengeMusic) {
  OpenChallenge();
  ASSERT_FALSE(m_Music.empty());
  EXPECT_EQ(m_Music.front(), 2);
}

}  // namespace
