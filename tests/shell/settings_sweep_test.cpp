// Numbers of the project settings at their extremes: each numeric field of System.dat in turn set
// to the smallest, -1 and the largest number its width holds, and the game started on it, its title
// run and a new game begun, in this process. Under the sanitizer build any arithmetic such a number
// overflows, or any index it puts out of bounds, stops the test; here nothing may.
#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/blend_table.h"
#include "platform/host/clock.h"
#include "platform/host/input_devices.h"
#include "platform/input/input.h"
#include "platform/services/timers.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/hbt_palette.h"
#include "shell/scene_manager.h"
#include "shell/title_scene.h"
#include "shell/window_loop.h"
#include "tests/shell/startup_fixture.h"

namespace {

using startuptest::ProjectSetup;
using startuptest::StartupTest;

// DirectDraw at 8 bits: the fades are palette changes, so the frames cost little and the sweep
// stays quick. (The system colours' ramps of Direct3D have a test of their own on the title.)
constexpr const char* kSweepIni = "Direct3D=0\nWindowMode=0\nBpp=8\nExit\n";
constexpr int kTitleFrames = 60;
// Frames after the decision: the title's fade-out (at most), then the scene the new game leads to.
constexpr int kFadeOutFrames = 40;
constexpr int kNewGameFrames = 5;

// One numeric value of the settings, by where it lives: set writes value into a record.
struct sSetting {
  std::string name;
  std::function<void(cSystemData&, std::int64_t)> set;
  int bytes;  // the width of the number in the file
};

// Writes value into the element of a registered field, in the field's own width.
void SetRegistered(cSystemData& record, int field, std::uint32_t element, int bytes, std::int64_t value) {
  const FieldDesc& desc = record.Fields().At(field);
  auto* at =
      static_cast<unsigned char*>(desc.data) + static_cast<std::size_t>(element) * static_cast<std::size_t>(bytes);
  const auto bits = static_cast<std::uint64_t>(value);
  for (int b = 0; b < bytes; ++b) at[b] = static_cast<unsigned char>(bits >> (8 * b));
}

// The numeric values of the settings in four groups of about the same size, each a test of its
// own so they run side by side: the registered numbers element by element; lives, menu music and
// carried values; the status bar and the menus; rankings and the System.ini defaults.
enum class eGroup { kRegistered, kLivesMusicCarry, kStatusBarMenus, kRankingsIni };

std::vector<sSetting> SettingsOf(eGroup group) {
  std::vector<sSetting> settings;
  const cSystemData shape;
  if (group == eGroup::kRegistered) {
    for (int f = 0; f < shape.Fields().Size(); ++f) {
      const FieldDesc& desc = shape.Fields().At(f);
      for (std::uint32_t e = 0; e < desc.count; ++e) {
        const int bytes = desc.elemSize;
        settings.push_back({"field " + std::to_string(f) + "[" + std::to_string(e) + "]",
                            [f, e, bytes](cSystemData& s, std::int64_t v) { SetRegistered(s, f, e, bytes, v); },
                            bytes});
      }
    }
    return settings;
  }
  auto each = [&settings](const std::string& name, int count, int bytes, auto set) {
    for (int i = 0; i < count; ++i)
      settings.push_back(
          {name + "[" + std::to_string(i) + "]", [i, set](cSystemData& s, std::int64_t v) { set(s, i, v); }, bytes});
  };
  auto i32 = [](std::int64_t v) { return static_cast<std::int32_t>(v); };
  auto u8 = [](std::int64_t v) { return static_cast<std::uint8_t>(v); };
  if (group == eGroup::kLivesMusicCarry) {
    each("StartingLives", kPlayModeCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_StartingLives.At(i) = i32(v); });
    each("UnlimitedLives", kPlayModeCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_UnlimitedLives.At(i) = i32(v); });
    each("MenuBgm", kMenuMusicSlotCount, 4, [=](cSystemData& s, int i, std::int64_t v) { s.m_MenuBgm.At(i) = i32(v); });
    each("MenuBgmLoop", kMenuMusicSlotCount, 1,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_MenuBgmLoop.At(i) = u8(v); });
    each("CarryFlags", kCarryFlagCount, 1,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_CarryFlags.At(i) = u8(v); });
    return settings;
  }
  if (group == eGroup::kStatusBarMenus) {
    each("StatusBar.Shown", kStatusBarItemCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_StatusBarItems.At(i).m_Shown = i32(v); });
    each("StatusBar.Icon", kStatusBarItemCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_StatusBarItems.At(i).m_Icon = i32(v); });
    each("StatusBar.ShowNumber", kStatusBarItemCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_StatusBarItems.At(i).m_ShowNumber = i32(v); });
    each("StatusBar.Digits", kStatusBarItemCount, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_StatusBarItems.At(i).m_Digits = i32(v); });
    each("TitleMenu.Shown", kTitleMenuSize, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_TitleMenu.At(i).m_Shown = i32(v); });
    each("SaveMenu.Shown", kSaveMenuSize, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_SaveMenu.At(i).m_Shown = i32(v); });
    each("OptionMenu.Shown", kOptionMenuSize, 4,
         [=](cSystemData& s, int i, std::int64_t v) { s.m_OptionMenu.At(i).m_Shown = i32(v); });
    return settings;
  }
  each("RankingSets.Enabled", kPlayModeCount, 4,
       [=](cSystemData& s, int i, std::int64_t v) { s.m_RankingSets.At(i).m_Enabled = i32(v); });
  each("SystemIniKeys.Kind", kSystemIniKeyCount, 4,
       [=](cSystemData& s, int i, std::int64_t v) { s.m_SystemIniKeys.At(i).m_Kind = i32(v); });
  each("SystemIniKeys.IntValue", kSystemIniKeyCount, 4,
       [=](cSystemData& s, int i, std::int64_t v) { s.m_SystemIniKeys.At(i).m_IntValue = i32(v); });
  return settings;
}

// The extremes of a number of that many bytes: the smallest, -1 and the largest.
std::vector<std::int64_t> Extremes(int bytes) {
  if (bytes == 1) return {INT8_MIN, -1, INT8_MAX};
  if (bytes == 2) return {INT16_MIN, -1, INT16_MAX};
  return {INT_MIN, -1, INT_MAX};
}

class SettingsSweepTest : public StartupTest {
 protected:
  void SetUp() override {
    StartupTest::SetUp();
    // Nobody looks at the frames: a screen of one pixel takes them without copying each whole.
    g_MainWindow.ReleaseScreen();
    g_MainWindow.Create(std::make_unique<cHeadlessScreen>(1, 1));
    BindWindowThread();
    SetInputSource(&m_Keys);
    UseVirtualClock(1000);
    ResetTimers();
    ResetSystemColours();
    ProjectSetup setup;
    setup.systemIni = kSweepIni;
    WriteProject(setup);
    // The title's pictures, small; the palette table of 8-bit mode.
    BmpSpec picture{.width = 32, .height = 32, .bpp = 24};
    picture.pixels.assign(32 * 32, 0x204060u);
    for (const char* name : {"bmp/Title.bmp", "bmp/Accessory.bmp", "bmp/Window.bmp"})
      WriteHostFile(name, MakeBmp(picture));
    WriteHostFile("bmp/hbt/hbt00.dat", std::string(kBlendTableBytes, '\0'));
  }
  void TearDown() override {
    UseSteadyClock();
    ResetTimers();
    SetInputSource(nullptr);
    UnbindWindowThread();
    StartupTest::TearDown();
  }

  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      m_Keys.ReleaseKeys();
      if (g_SceneManager.Frame() == 0) return;
    }
  }

  // The start-up on these settings, the title for a while, and the first item decided: a new game
  // in a project that shows it.
  void Play(cSystemData& settings) {
    ASSERT_EQ(settings.SaveFile("data\\System.dat"), 1);
    ResetStartState();
    g_SaveData.Reset();
    ResetSystemColours();
    if (InitGame(nullptr, SW_SHOWNORMAL)) {
      Frames(kTitleFrames);
      m_Keys.SetKey('Z', true);
      g_SceneManager.Frame();
      for (int i = 0; i < kFadeOutFrames && g_SceneManager.m_Current == kSceneTitle; ++i) Frames(1);
      Frames(kNewGameFrames);
    }
    UnInitGame();
    while (MainWindowQueue().TryTake()) {
    }
    m_Boxes.clear();
  }

  cScriptedInputSource m_Keys;
};

// The road every case of the sweep takes: the title decides "はじめから" and the story begins.
TEST_F(SettingsSweepTest, TheDefaultsReachTheWorldMapThroughANewGame) {
  cSystemData settings;
  settings.m_UnlimitedLives.At(kPlayStory) = 0;
  settings.m_StartingLives.At(kPlayStory) = 3;
  Play(settings);
  EXPECT_EQ(g_SceneManager.m_Current, kSceneWorldMap);
  EXPECT_EQ(g_SaveData.m_StartLives, 3);
  EXPECT_EQ(g_SaveData.m_Lives, 2);
}

class SettingsSweepGroupTest : public SettingsSweepTest, public ::testing::WithParamInterface<eGroup> {};

TEST_P(SettingsSweepGroupTest, EveryNumberAtItsExtremesStartsTheGameAndANewGame) {
  // Lives are counted in every mode, so the lives settings take part in the new game's arithmetic;
  // the sweep of the unlimited switches turns them on one at a time.
  cSystemData defaults;
  defaults.m_UnlimitedLives.assign(kPlayModeCount, 0);
  const std::vector<sSetting> settings = SettingsOf(GetParam());
  ASSERT_FALSE(settings.empty());
  for (const sSetting& setting : settings) {
    for (std::int64_t value : Extremes(setting.bytes)) {
      SCOPED_TRACE(setting.name + " = " + std::to_string(value));
      cSystemData changed = defaults;
      setting.set(changed, value);
      Play(changed);
    }
  }
}

std::string GroupName(const ::testing::TestParamInfo<eGroup>& info) {
  static const std::array<const char*, 4> kNames = {"Registered", "LivesMusicCarry", "StatusBarMenus", "RankingsIni"};
  return kNames.at(static_cast<std::size_t>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Groups, SettingsSweepGroupTest,
                         ::testing::Values(eGroup::kRegistered, eGroup::kLivesMusicCarry, eGroup::kStatusBarMenus,
                                           eGroup::kRankingsIni),
                         GroupName);

}  // namespace
