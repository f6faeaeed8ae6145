// The direct stage start: a stage named on the command line or in System.ini becomes a free-play
// test play; the newest numbered copy is taken, a name without copies is taken as it stands, and a
// name that names nothing brings the title with one report line.
#include <filesystem>

#include "project/load_context.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "shell/scene_manager.h"
#include "tests/shell/startup_fixture.h"

namespace {

using startuptest::ProjectSetup;
using startuptest::StartupTest;

class StartupStageTest : public StartupTest {
 protected:
  // A playable stage (a hero at the keys) saved at a game path, its name telling it apart.
  void SaveStage(const std::string& path, const std::string& name) {
    cStageData stage;
    stage.m_Name = name;
    stage.SetField(kStageWidth, 40);
    cCharaDef hero;
    hero.m_ChipIndex = 1;
    hero.m_Operator = 0;
    stage.m_PlacedCharas.push_back(hero);
    ASSERT_EQ(stage.SaveFile(path.c_str()), 1);
  }
};

TEST_F(StartupStageTest, ANamedStageStartsAFreePlayTestPlay) {
  struct Case {
    const char* name;
    std::string commandLine;
    std::string systemIni;
    std::string started;  // the file played; empty: the title comes
  };
  const std::string longName = std::string(300, 'z') + ".stg4";
  const Case cases[] = {
      {"newest numbered copy", "data\\stg4\\s.stg4", startuptest::kWindowIni, "data\\stg4\\s.stg4_002"},
      {"another extension names the same stage", "data\\stg4\\s.txt", startuptest::kWindowIni,
       "data\\stg4\\s.stg4_002"},
      {"only the unnumbered file", "data\\stg4\\u.stg4", startuptest::kWindowIni, "data\\stg4\\u.stg4"},
      {"from System.ini", "", "Direct3D=0\nWindowMode=1\nFreeStage=data\\stg4\\u.stg4\nExit\n", "data\\stg4\\u.stg4"},
      {"the command line wins", "data\\stg4\\s.stg4", "Direct3D=0\nWindowMode=1\nFreeStage=data\\stg4\\u.stg4\nExit\n",
       "data\\stg4\\s.stg4_002"},
      {"nothing of that name", "data\\stg4\\m.stg4", startuptest::kWindowIni, ""},
      {"a folder is no stage", "data\\stg4", startuptest::kWindowIni, ""},
      {"a format in the name is text", "%s%n%s.stg4", startuptest::kWindowIni, ""},
      {"a name longer than the field", longName, startuptest::kWindowIni, ""},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    WriteProject(startuptest::WithIni(c.systemIni));
    std::filesystem::create_directories("data/stg4");
    SaveStage("data\\stg4\\s.stg4_001", "old");
    SaveStage("data\\stg4\\s.stg4_002", "new");
    SaveStage("data\\stg4\\u.stg4", "plain");
    ResetStartState();
    g_SaveData.m_SubStage = 1;
    g_SaveData.m_Lives = 3;
    ClearReport();

    ASSERT_TRUE(InitGame(c.commandLine.c_str(), SW_SHOWNORMAL)) << c.name;
    if (c.started.empty()) {
      EXPECT_EQ(g_TestPlay, 0) << c.name;
      EXPECT_EQ(g_SystemIni.FreeStage, "") << c.name;
      EXPECT_EQ(g_SceneManager.m_Current, kSceneTitle) << c.name;
      EXPECT_EQ(g_SceneManager.m_PlayMode, kPlayStory) << c.name;
      // The name as the start-up tried it, cut to the field.
      std::string tried = c.commandLine.substr(0, 259);
      const std::string line = "「" + Cp932ToUtf8(tried) + "」の読み込みに失敗しました！";
      EXPECT_NE(Report().find(line), std::string::npos) << c.name << "\n" << Report();
      EXPECT_TRUE(m_Boxes.empty()) << c.name;
    } else {
      EXPECT_EQ(g_TestPlay, 1) << c.name;
      EXPECT_EQ(g_SystemIni.FreeStage, c.started) << c.name;
      EXPECT_EQ(g_Stage.m_FileName, c.started) << c.name;
      EXPECT_TRUE(LoadContext().testPlay) << c.name;
      EXPECT_EQ(g_SaveData.m_SubStage, 0) << c.name;  // no chain
      EXPECT_EQ(g_SaveData.m_Lives, kUnlimitedLives) << c.name;
      EXPECT_EQ(g_SceneManager.m_PlayMode, kPlayFree) << c.name;
      EXPECT_EQ(g_SceneManager.m_RankingFlag, 1) << c.name;
      EXPECT_EQ(g_SceneManager.m_TitleChoice, kTitleFreePlay) << c.name;
      EXPECT_EQ(g_SceneManager.m_Current, kScenePlay) << c.name;
      EXPECT_EQ(g_SceneManager.m_Previous, kSceneTitle) << c.name;
    }
    UnInitGame();
    LoadContext().testPlay = false;
  }
}

}  // namespace
