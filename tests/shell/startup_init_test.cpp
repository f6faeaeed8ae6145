// The start-up end to end on a headless screen: the first run, each missing project file with its
// text, System.ini and the screen mode, the shutdown after a start-up that stopped half-way.
#include <array>
#include <cstring>
#include <filesystem>

#include "platform/audio/bgm.h"
#include "platform/display/display.h"
#include "platform/display/display_faults.h"
#include "platform/display/palette.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/database_frames.h"
#include "project/effect_players.h"
#include "project/project_paths.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/world_map.h"
#include "shell/boot_settings.h"
#include "shell/scene_manager.h"
#include "tests/shell/startup_fixture.h"
#include "tools/sample_game.h"

namespace startuptest {

void StartupTest::WriteProject(const ProjectSetup& setup) {
  std::filesystem::create_directories("data/database");
  g_Database.SetDefaults();
  ASSERT_EQ(g_Database.SaveDatabase(), 1);
  cSystemData system;
  if (!setup.title.empty()) system.m_Title = setup.title;
  if (!setup.firstSound.empty()) system.m_SoundFiles.At(0) = setup.firstSound;
  system.m_ColourMode = setup.colourMode;
  system.m_TransparentRed = setup.transparent[0];
  system.m_TransparentGreen = setup.transparent[1];
  system.m_TransparentBlue = setup.transparent[2];
  ASSERT_EQ(system.SaveFile("data\\System.dat"), 1);
  cWorldMap map;
  ASSERT_EQ(map.SaveFile("data\\WorldMap.dat"), 1);
  cCommonPalette palette;
  ASSERT_EQ(palette.SaveFile("data\\CommonPalette.cplt4"), 1);
  if (setup.root != "data") std::filesystem::rename("data", setup.root);
  WriteHostFile("bmp/plt/Palette.bmp", MakeBmp(PaletteImage()));
  BmpSpec debug = PaletteImage();
  debug.height = 16;
  debug.pixels.resize(256);
  WriteHostFile("bmp/Debug.bmp", MakeBmp(debug));
  if (!setup.systemIni.empty()) WriteHostFile("System.ini", setup.systemIni);
}

void StartupTest::ResetStartState() {
  g_SceneManager.m_Current = kSceneTitle;
  g_SceneManager.m_Previous = kSceneTitle;
  g_SceneManager.m_PlayMode = kPlayStory;
  g_SceneManager.m_TitleChoice = kTitleNewStory;
  g_SceneManager.m_RankingFlag = 0;
  g_SystemIni = SystemIni{};
}

}  // namespace startuptest

namespace {

using startuptest::ProjectSetup;
using startuptest::StartupTest;
using startuptest::WithIni;

constexpr std::array<const char*, 22> kFolders = {
    "user_data",  "user_data/story", "user_data/challenge", "user_data/free", "user_data/rpl4", "data",
    "data/database", "data/stg4",    "data/stg4/old_ver",   "data/work",      "data/plt4",      "bmp",
    "bmp/back",   "bmp/chara_sp",    "bmp/effect",          "bmp/picture",    "bmp/sword",      "bmp/convert",
    "bmp/plt",    "bmp/hbt",         "wave",                "bgm",
};

// A game path of the path table as the host names it.
std::string HostPath(const std::string& gamePath) {
  std::string path = Cp932ToUtf8(gamePath);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// Nothing of the display, sound or music is left.
void ExpectReleased(const std::string& name) {
  EXPECT_FALSE(g_DisplayContext) << name;
  EXPECT_FALSE(g_DDContext) << name;
  EXPECT_EQ(g_DisplayReady, 0) << name;
  EXPECT_FALSE(startuptest::SoundSystemUp()) << name;
  EXPECT_FALSE(g_Bgm.Enabled()) << name;
}

TEST_F(StartupTest, AFirstRunMakesTheProjectFromDefaultAndEveryGameFolder) {
  ProjectSetup setup;
  setup.root = "default";
  setup.title = SJ("テストゲーム");
  WriteProject(setup);
  ASSERT_FALSE(std::filesystem::exists("data"));

  ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL));
  // The one box asks whether to make the project; the answer was yes.
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_EQ(m_Boxes[0].caption, "デフォルトデータ作成の確認");
  for (const char* folder : kFolders) EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;

  // A DirectDraw window at the desktop's depth, with the timer presenting.
  EXPECT_EQ(g_Windowed, 1);
  EXPECT_EQ(g_SystemIni.Direct3D, 0);
  EXPECT_EQ(g_SystemIni.Bpp, 32);
  EXPECT_EQ(g_SystemIni.VSync, 0);
  EXPECT_EQ(g_TimerPresentation, 1);
  EXPECT_TRUE(g_DDContext);
  EXPECT_EQ(g_hMainWnd.load(), g_MainWindow.Screen());
  EXPECT_EQ(g_TestPlay, 0);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneTitle);
  EXPECT_EQ(g_SceneManager.m_FrameRate, 60);
  EXPECT_EQ(g_SceneManager.m_FadeSpeed, 10);
  EXPECT_EQ(g_System.m_Title, SJ("テストゲーム"));

  // Readers of stage content check against what was loaded.
  const cLoadContext& context = LoadContext();
  EXPECT_EQ(context.database.animes, static_cast<int>(g_Database.m_Animes.size()));
  EXPECT_EQ(context.database.sounds, static_cast<int>(g_Database.m_Sounds.size()));
  EXPECT_EQ(context.swordTypes, &g_Database.m_SwordTypes);
  EXPECT_EQ(context.commonPalette.blocks, &g_CommonPalette.m_Blocks);
  EXPECT_EQ(context.commonPalette.items, &g_CommonPalette.m_Items);
  EXPECT_EQ(context.stagePalette.charas, g_Stage.View().charas);

  // The derived tables of the database exist, one list per animation and per effect.
  EXPECT_EQ(g_AnimeFrameLists.size(), g_Database.m_Animes.size());
  EXPECT_EQ(g_EffectFrameLists.size(), g_Database.m_Effects.size());
  EXPECT_EQ(g_CharaEffectTemplates.size(), g_Database.m_CharaEffects.size());
  EXPECT_EQ(g_ScrEffectTemplatesReversed.size(), g_Database.m_ScrEffects.size());

  UnInitGame();
  ExpectReleased("after a whole start");
}

TEST_F(StartupTest, EachMissingProjectFileStopsTheStartUpWithItsText) {
  const std::string systemDat = ProjectPathTable[kPathSystem];
  struct Case {
    const char* name;
    std::string remove;  // host path
    std::string text;    // UTF-8; empty: no box at all
    bool reported;       // the text is in the report log too
  };
  const Case cases[] = {
      {"no data, no default", "data", "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。", true},
      {"a database table", HostPath(ProjectPathTable[kPathAnime]), "データベースの読み込みに失敗…", true},
      {"the project settings", "data/System.dat", "data\\System.dat の読み込みに失敗…", true},
      {"the palette image", "bmp/plt/Palette.bmp", "", false},
      {"the debug picture", "bmp/Debug.bmp", "bmp\\Debug.bmp の読み込みに失敗！", false},
      {"the world map", "data/WorldMap.dat", "data\\WorldMap.dat のロードに失敗！", true},
      {"the common palette", "data/CommonPalette.cplt4", "data\\CommonPalette.cplt4 のロードに失敗！", true},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    std::filesystem::remove_all("bmp");
    WriteProject();
    std::filesystem::remove_all(c.remove);
    m_Boxes.clear();
    ClearReport();

    EXPECT_FALSE(InitGame(nullptr, SW_SHOWNORMAL)) << c.name;
    if (c.text.empty()) {
      EXPECT_TRUE(m_Boxes.empty()) << c.name;
    } else {
      EXPECT_EQ(BoxesSaying(c.text), 1) << c.name;
      ASSERT_FALSE(m_Boxes.empty()) << c.name;
      EXPECT_EQ(m_Boxes.back().text, c.text) << c.name;
      EXPECT_EQ(m_Boxes.back().caption, "エラー") << c.name;
    }
    if (c.reported) {
      EXPECT_NE(Report().find(c.text), std::string::npos) << c.name;
    }
    UnInitGame();
    ExpectReleased(c.name);
  }
}

TEST_F(StartupTest, ADamagedProjectSettingsFileFailsAsAMissingOneDoes) {
  WriteProject();
  const std::string bytes = ReadHostFile("data/System.dat");
  WriteHostFile("data/System.dat", bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(InitGame(nullptr, SW_SHOWNORMAL));
  EXPECT_EQ(BoxesSaying("data\\System.dat の読み込みに失敗…"), 1);
}

TEST_F(StartupTest, ASystemIniWithoutItsExitLineIsReportedAndEveryDefaultHolds) {
  // The file asks for a DirectDraw window; without its end marker nothing of it counts, so the
  // project's defaults (renderer from the boot settings, full screen) apply.
  WriteProject(WithIni("Direct3D=0\nWindowMode=1\nShowFps=0\n"));
  ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL));
  EXPECT_EQ(BoxesSaying("System.ini の読み込みに失敗しました！"), 1);
  EXPECT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(Report().find("System.ini の読み込みに失敗しました！"), std::string::npos);
  EXPECT_EQ(g_SystemIni.WindowMode, 0);
  EXPECT_EQ(g_SystemIni.ShowFps, 1);
  EXPECT_EQ(g_Windowed, 0);
  // Direct3D 2: the launcher, confirmed with its default choice, chose Direct3D and kept it.
  EXPECT_EQ(g_SystemIni.Direct3D, 1);
  EXPECT_TRUE(g_DisplayContext);
  EXPECT_EQ(g_SystemIni.Bpp, 32);
  EXPECT_EQ(g_SystemIni.VSync, 1);
  EXPECT_EQ(g_TimerPresentation, 0);
  EXPECT_TRUE(std::filesystem::exists("user_data/Boot.dat"));
  EXPECT_EQ(g_DisplayContext->textureFailureText,
            SJ("テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\nSystem."
               "iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。"));
}

TEST_F(StartupTest, ADirect3DStartThatFailsFallsBackToDirectDrawWithTheSameDepthAndSync) {
  struct Case {
    const char* ini;
    std::int32_t windowed;
  };
  const Case cases[] = {{"Direct3D=1\nWindowMode=1\nExit\n", 1}, {"Direct3D=1\nWindowMode=0\nExit\n", 0}};
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    WriteProject(WithIni(c.ini));
    // The adapter refuses every device.
    g_DisplayFaults.softwareVertexProcessingFails = true;
    ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL)) << c.ini;
    ResetDisplayFaults();
    EXPECT_EQ(g_SystemIni.Direct3D, 0) << c.ini;
    EXPECT_TRUE(g_DDContext) << c.ini;
    EXPECT_FALSE(g_DisplayContext) << c.ini;
    // As decided for Direct3D: sync on, 32 bits, though DirectDraw would have chosen otherwise.
    EXPECT_EQ(g_SystemIni.VSync, 1) << c.ini;
    EXPECT_EQ(g_DisplayParams.vsync, 1) << c.ini;
    EXPECT_EQ(g_DisplayParams.bpp, 32) << c.ini;
    EXPECT_EQ(g_DisplayParams.windowed, c.windowed) << c.ini;
    // A window, or a monitor that does not tell its rate: the timer presents.
    EXPECT_EQ(g_TimerPresentation, 1) << c.ini;
    UnInitGame();
  }
}

TEST_F(StartupTest, TheColourKeyComesFromThePaletteImageOrTheProjectByDepth) {
  struct Case {
    const char* name;
    const char* ini;
    std::int32_t colourMode;
    std::array<std::uint8_t, 3> key;    // red, green, blue of the back-end's key
    std::array<std::uint8_t, 3> key16;  // the 16-bit key; unchecked when all 0
  };
  const Case cases[] = {
      {"256 colours, DirectDraw 32", "Direct3D=0\nWindowMode=1\nExit\n", 0, {5, 5, 5}, {0, 0, 0}},
      {"full colour, DirectDraw 32", "Direct3D=0\nWindowMode=1\nExit\n", 1, {10, 20, 30}, {0, 0, 0}},
      {"full colour, DirectDraw 16", "Direct3D=0\nWindowMode=0\nBpp=16\nExit\n", 1, {0, 0, 0}, {10, 20, 30}},
      {"full colour, Direct3D 32", "Direct3D=1\nWindowMode=0\nExit\n", 1, {10, 20, 30}, {0, 0, 0}},
      {"full colour, Direct3D 16", "Direct3D=1\nWindowMode=0\nBpp=16\nExit\n", 1, {0, 0, 0}, {10, 20, 30}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    ProjectSetup setup = WithIni(c.ini);
    setup.colourMode = c.colourMode;
    WriteProject(setup);
    ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL)) << c.name;
    std::array<std::uint8_t, 3> key{};
    std::array<std::uint8_t, 3> key16{};
    if (g_DisplayContext) {
      key = {g_DisplayContext->keyR, g_DisplayContext->keyG, g_DisplayContext->keyB};
      key16 = {g_DisplayContext->key16R, g_DisplayContext->key16G, g_DisplayContext->key16B};
    } else {
      ASSERT_TRUE(g_DDContext) << c.name;
      key = {g_DDContext->keyR, g_DDContext->keyG, g_DDContext->keyB};
      key16 = {g_DDContext->key16R, g_DDContext->key16G, g_DDContext->key16B};
    }
    if (c.key != std::array<std::uint8_t, 3>{}) {
      EXPECT_EQ(key, c.key) << c.name;
    }
    if (c.key16 != std::array<std::uint8_t, 3>{}) {
      EXPECT_EQ(key16, c.key16) << c.name;
    }
    // Whichever key: the fade palette starts as the palette, which came from the palette image.
    EXPECT_EQ(std::memcmp(g_FadePalette, g_Palette, sizeof(g_Palette)), 0) << c.name;
    EXPECT_NE(std::memcmp(&g_Palette[200], &g_Palette[100], sizeof(g_Palette[0])), 0) << c.name;
    UnInitGame();
  }
}

TEST_F(StartupTest, TheBootSettingsChooseTheRendererOnlyWhenSystemIniLeavesItOpen) {
  struct Case {
    const char* name;
    const char* ini;
    std::int32_t renderer;  // stored in Boot.dat with the launcher switched off
    std::int32_t direct3D;
  };
  const Case cases[] = {
      {"open, DirectDraw stored", "Direct3D=2\nWindowMode=1\nExit\n", 0, 0},
      {"open, Direct3D stored", "Direct3D=3\nWindowMode=1\nExit\n", 1, 1},
      {"fixed DirectDraw", "Direct3D=0\nWindowMode=1\nExit\n", 1, 0},
      {"fixed Direct3D", "Direct3D=1\nWindowMode=1\nExit\n", 0, 1},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    WriteProject(WithIni(c.ini));
    cBootSettings stored;
    stored.m_Renderer = c.renderer;
    stored.m_DontShow = 1;
    std::filesystem::create_directories("user_data");
    ASSERT_EQ(stored.SaveFile("user_data\\Boot.dat"), 1);
    ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL)) << c.name;
    EXPECT_EQ(g_SystemIni.Direct3D, c.direct3D) << c.name;
    EXPECT_EQ(DisplayIsD3D(), c.direct3D == 1) << c.name;
    UnInitGame();
  }
}

TEST_F(StartupTest, AScreenModeThatCannotRunEndsTheStartUpWithItsText) {
  struct Case {
    const char* ini;
    const char* text;
  };
  const Case cases[] = {
      {"Direct3D=0\nWindowMode=1\nBpp=16\nExit\n",
       "画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！"},
      {"Direct3D=1\nWindowMode=1\nBpp=16\nExit\n",
       "画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！"},
      {"Direct3D=0\nWindowMode=1\nBpp=8\nExit\n", "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！"},
      {"Direct3D=1\nWindowMode=0\nBpp=8\nExit\n", "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    WriteProject(WithIni(c.ini));
    m_Boxes.clear();
    EXPECT_FALSE(InitGame(nullptr, SW_SHOWNORMAL)) << c.ini;
    ASSERT_EQ(m_Boxes.size(), 1u) << c.ini;
    EXPECT_EQ(m_Boxes[0].text, c.text);
    EXPECT_EQ(m_Boxes[0].caption, "エラー");
    // The display never started.
    EXPECT_FALSE(g_DisplayContext);
    EXPECT_FALSE(g_DDContext);
    UnInitGame();
  }
}

TEST_F(StartupTest, TheSampleGameStartsAtItsTitleAndEachOfItsStagesStartsDirectly) {
  ASSERT_TRUE(WriteSampleGame(m_Folder));
  ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL));
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_EQ(g_SceneManager.m_Current, kSceneTitle);
  EXPECT_EQ(g_TestPlay, 0);
  // The menu tunes name rows of the database's music table: the settings are read against the
  // loaded database, so they keep their rows (the title plays its tune).
  for (int slot = 0; slot < kMenuMusicSlotCount; ++slot) EXPECT_NE(g_System.m_MenuBgm.At(slot), 0) << slot;
  UnInitGame();

  int stages = 0;
  for (const auto& entry : std::filesystem::directory_iterator("data/stg4")) {
    if (!entry.is_regular_file()) continue;
    const std::string name = "data\\stg4\\" + Utf8ToCp932(entry.path().filename().string());
    ResetStartState();
    ASSERT_TRUE(InitGame(name.c_str(), SW_SHOWNORMAL)) << name;
    EXPECT_EQ(g_TestPlay, 1) << name;
    EXPECT_EQ(g_SceneManager.m_Current, kScenePlay) << name;
    EXPECT_TRUE(m_Boxes.empty()) << name;
    UnInitGame();
    ++stages;
  }
  EXPECT_GT(stages, 0);
}

}  // namespace
