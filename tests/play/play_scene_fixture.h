#pragma once
// Shared by the tests of the play scene: the stage objects' fixture in a game folder of its own,
// the display up (32 bits, DirectDraw) so that every state draws, player 1's keys set by hand, the
// virtual clock, the main window's queue answered on the test thread (sounds, music and boxes
// recorded, posted closes counted), and a small stage: 40 x 20 cells, a floor on row 15 with a gap
// at columns 20..22, and the hero on cell (5, 14) just above the floor.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/bgm.h"
#include "platform/audio/sound_effects.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/surface.h"
#include "platform/host/box_sink.h"
#include "platform/host/clock.h"
#include "platform/host/input_devices.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "platform/services/timers.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "shell/app_state.h"
#include "shell/menu_cursor.h"
#include "shell/run_options.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"
#include "tests/play/stage_objects_fixture.h"

namespace playtest {

class PlaySceneTest : public StageObjectsTest {
 protected:
  static constexpr int kFloorRow = 15;
  static constexpr int kHeroColumn = 5;
  static constexpr int kGapFirst = 20;
  static constexpr int kGapLast = 22;

  void SetUp() override {
    namespace fs = std::filesystem;
    m_Previous = fs::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_Folder = fs::temp_directory_path() /
               ("play_scene_" + std::to_string(getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    fs::remove_all(m_Folder);
    fs::create_directories(m_Folder);
    fs::current_path(m_Folder);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);

    g_System.SetDefaults();
    StageObjectsTest::SetUp();
    ResetMessageShutdown();
    MainWindowQueue().BindToCurrentThread([this](const HostMessage& msg) -> std::intptr_t {
      if (msg.message == WM_GAME_PLAYSE) m_Sounds.push_back(static_cast<int>(msg.wParam));
      if (msg.message == WM_GAME_BGM) m_Music.push_back(static_cast<int>(msg.lParam));
      return 0;
    });
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t) {
      m_Boxes.push_back(caption + ": " + text);
      return IDOK;
    });
    // The sound table as the start-up leaves it, silent: the menus play their cursor sound from it.
    BuildSoundTables(std::vector<std::string>(kSystemSoundCount, ""), {});
    UseVirtualClock(1000);
    ResetTimers();
    SetInputSource(&m_Keys);
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
    g_Inputs[0].SetRepeat(18, 6);
    g_SaveData.Reset();
    g_MenuCursor.Reset();
    g_RunOptions = RunOptions{};
    g_TestPlay = 0;
    g_ReplayRecord = cReplayRecord();
    g_PrevReplayRecord = cReplayRecord();
    g_SceneManager.m_Current = g_SceneManager.m_Next = g_SceneManager.m_Previous = kSceneTitle;
    g_SceneManager.m_TitleChoice = kTitleFreePlay;
    g_SceneManager.m_PlayMode = kPlayFree;
    g_SceneManager.m_RankingFlag = 0;
    g_SceneManager.m_FrameRate = kDefaultFrameRate;
    g_SceneManager.m_FadeSpeed = kDefaultFadeSpeed;
    ASSERT_TRUE(DDInit(0, &m_Screen, 640, 480, 32, 0, 1, 1, 60, 1, g_SurfaceTable, g_SurfaceDescriptors,
                       kSurfaceTableSize));
    BuildStandardStage();
  }

  void TearDown() override {
    namespace fs = std::filesystem;
    StageObjectsTest::TearDown();
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    DDRelease();
    SetInputSource(nullptr);
    MainWindowQueue().UnbindFromCurrentThread();
    while (MainWindowQueue().TryTake()) {
    }
    UseSteadyClock();
    ResetTimers();
    g_Stage.Reset();
    g_PlayState.Reset();
    g_RunOptions = RunOptions{};
    fs::current_path(m_Previous);
    std::error_code ec;
    fs::remove_all(m_Folder, ec);
  }

 public:
  // The stage as a stage file would hold it, and its header copy, as a stage start leaves them.
  static void BuildStandardStage() {
    g_Stage.Reset();
    g_Stage.SetField(kStageWidth, 40);
    g_Stage.SetField(kStageHeight, 20);
    g_Stage.SetField(kExtraExtentX, 40 * 32);
    g_Stage.SetField(kExtraExtentY, 20 * 32);
    g_Stage.SetField(static_cast<StageField>(31), 0);  // no stage-number banner
    g_Stage.SetField(kStartBanner, 0);
    g_Stage.m_PlacedBlocks.clear();
    g_Stage.m_PlacedCharas.clear();
    g_Stage.m_PlacedItems.clear();
    for (int x = 0; x < 40; ++x) {
      if (x >= kGapFirst && x <= kGapLast) continue;
      cBlock block;
      block.m_ChipIndex = 1;
      block.m_Solid = kSolid;
      block.m_PosX = static_cast<std::int16_t>(x);
      block.m_PosY = kFloorRow;
      g_Stage.m_PlacedBlocks.push_back(block);
    }
    cCharaDef hero = HeroDef();
    hero.m_PosX = kHeroColumn;
    hero.m_PosY = kFloorRow - 1;
    g_Stage.m_PlacedCharas.push_back(hero);
    g_Stage.SetSpeedLevel(10);
    g_PlayState.Reset();
    g_PlayState.CopyHeaderFrom(g_Stage);
  }

  // A walking character that holds no item, and an item, placed on the floor at column.
  static void PlaceWalker(int column) {
    cCharaDef walker = CharaDef();
    walker.m_PosX = static_cast<std::int16_t>(column);
    walker.m_PosY = kFloorRow - 1;
    walker.m_StoredWord = static_cast<std::uint32_t>(-1);
    g_Stage.m_PlacedCharas.push_back(walker);
  }
  static void PlaceItem(int column) {
    cItemDef item;
    item.m_ChipIndex = 1;
    item.m_PosX = static_cast<std::int16_t>(column);
    item.m_PosY = kFloorRow - 1;
    g_Stage.m_PlacedItems.push_back(item);
  }

  // The hero placed on stage column `column` of the floor row's row above.
  static void MoveHeroTo(int column) {
    g_Stage.m_PlacedCharas.At(g_Stage.FindHeroRecord()).m_PosX = static_cast<std::int16_t>(column);
  }

  // WM_CLOSE posts waiting in the main window's queue (taken out).
  int TakeCloses() {
    int closes = 0;
    while (auto msg = MainWindowQueue().TryTake())
      if (msg->message == WM_CLOSE) ++closes;
    return closes;
  }

  void HoldKeys(std::initializer_list<int> keys) {
    m_Keys.ReleaseKeys();
    for (int key : keys) m_Keys.SetKey(key, true);
  }

  // One frame as the scene manager runs it: the input polled, then the scene's frame.
  void RunFrame() {
    g_Inputs[0].Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames);
    m_Scene->Frame();
  }

  // Frames until the state changes from `state` (at most limit); the frames run.
  int FramesWhile(std::int32_t state, int limit) {
    int n = 0;
    while (m_Scene->m_State == state && n < limit) {
      RunFrame();
      ++n;
    }
    return n;
  }

  cHero& Hero() { return g_Heroes[0]; }
  // The floor's top in map dots, and the lowest dot a resting hero's feet take.
  static constexpr double FloorTop() { return (kFloorRow + 10) * 32.0; }

 protected:
  std::filesystem::path m_Folder;
  std::filesystem::path m_Previous;
  cHeadlessScreen m_Screen{640, 480};
  cScriptedInputSource m_Keys;
  std::vector<int> m_Sounds;
  std::vector<int> m_Music;
  std::vector<std::string> m_Boxes;
};

}  // namespace playtest
