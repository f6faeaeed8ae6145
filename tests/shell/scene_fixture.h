#pragma once
// The frame loop in the test's own process: a game folder with the title pictures, a headless
// 640x480 screen with the display up, the three fonts on a fixture face, keys set by hand, the
// virtual clock, and the main window's queue answered on the test thread (sounds, music and file
// dialogs are recorded; a dialog gets the answer the test set).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/bgm.h"
#include "platform/audio/sound_effects.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/palette.h"
#include "platform/host/box_sink.h"
#include "platform/host/clock.h"
#include "platform/host/glyphs.h"
#include "platform/host/input_devices.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/input/input.h"
#include "platform/input/key_config.h"
#include "platform/services/log.h"
#include "platform/services/timers.h"
#include "project/save_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "shell/hbt_palette.h"
#include "shell/menu_cursor.h"
#include "shell/scene_manager.h"
#include "shell/system_ini.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/game_folder.h"

inline std::filesystem::path ShellFixtureFontPath() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "cells16.bdf";
}

class SceneTest : public GameFolderTest {
 protected:
  // The message numbers kept from the main window's queue.
  static constexpr std::uint32_t kPlaySe = WM_USER + 5;

  void SetUp() override {
    GameFolderTest::SetUp();
    ResetMessageShutdown();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t) {
      m_Boxes.push_back(caption + ": " + text);
      return IDOK;
    });
    MainWindowQueue().BindToCurrentThread([this](const HostMessage& msg) -> std::intptr_t {
      m_Messages.push_back(msg.message);
      if (msg.message == kPlaySe) m_Sounds.push_back(static_cast<int>(msg.wParam));
      if (msg.message == WM_GAME_BGM) m_Music.push_back(static_cast<int>(msg.wParam));
      if (msg.message == WM_GAME_OPENSTAGE || msg.message == WM_GAME_OPENREPLAY) {
        g_DialogChosen = m_DialogAnswer;
        g_DialogDone = 1;
      }
      return 0;
    });
    UseVirtualClock(1000);
    ResetTimers();
    ResetSystemColours();
    SetInputSource(&m_Keys);
    g_KeyConfig = cKeyConfig{};
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
    g_Inputs[0].SetRepeat(18, 6);
    g_System.SetDefaults();
    g_SystemIni = SystemIni{};
    g_SystemIni.ShowFps = 0;
    g_SaveData.Reset();
    g_MenuCursor.Reset();
    // The sound table as the start-up leaves it, silent: the menus play their cursor sound from it.
    BuildSoundTables(std::vector<std::string>(kSystemSoundCount, ""), {});
    ResetManager();
    SetFontFileOverride(ShellFixtureFontPath());
  }

  void TearDown() override {
    g_SceneManager.DeleteScenes();
    ResetManager();
    g_MenuCursor.Reset();
    ReleaseGameFonts();
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    DDRelease();
    SetFontFileOverride({});
    SetInputSource(nullptr);
    MainWindowQueue().UnbindFromCurrentThread();
    while (MainWindowQueue().TryTake()) {
    }
    UseSteadyClock();
    ResetTimers();
    GameFolderTest::TearDown();
  }

  static void ResetManager() {
    for (std::int32_t slot = 0; slot < kSceneSlotCount; ++slot) g_SceneManager.SetSceneFactory(slot, nullptr);
    g_SceneManager.m_Current = g_SceneManager.m_Next = g_SceneManager.m_Previous = kSceneTitle;
    g_SceneManager.m_TitleChoice = 0;
    g_SceneManager.m_RankingFlag = 0;
    g_SceneManager.m_PlayMode = 0;
    g_SceneManager.m_FrameRate = kDefaultFrameRate;
    g_SceneManager.m_FadeSpeed = kDefaultFadeSpeed;
    g_SceneManager.m_WorkRing.fill(0);
    g_SceneManager.m_WorkRingIndex = 0;
    g_SceneManager.m_WorkMean = 0;
    g_SceneManager.m_LastPresent = PresentKind::None;
  }

  // The display over the game's own surface table, and the three fonts.
  bool StartDisplay(int useD3D, int bpp, int windowed) {
    if (!DDInit(useD3D, &m_Screen, 640, 480, bpp, 0, windowed, 1, 60, 1, g_SurfaceTable, g_SurfaceDescriptors,
                kSurfaceTableSize))
      return false;
    // A grey ramp: colour 0 is black, the fonts' and frames' colours light.
    for (int i = 0; i < 256; ++i) {
      const auto v = static_cast<std::uint8_t>(i);
      g_Palette[i] = g_FadePalette[i] = {v, v, v, 1};
    }
    CreateGameFonts("Cells", 0, 0);
    return true;
  }

  // The pictures the title loads: a 640x480 title picture, the accessories and the window frame.
  void WriteTitlePictures() {
    WriteBmp("bmp/Title.bmp", 640, 480, [](int x, int y) { return 0x204000u | (x & 0xFF) | ((y & 0xFF) << 8); });
    WriteBmp("bmp/Accessory.bmp", 96, 32, [](int x, int y) { return x < 32 && y > 8 && y < 24 ? 0xFFFF00u : x >= 64 && y < 16 ? 0x00FFFFu : 0u; });
    WriteBmp("bmp/Window.bmp", 640, 480, [](int, int) { return 0x102850u; });
  }

  template <class Colour>
  void WriteBmp(const std::string& hostPath, int width, int height, Colour colour) {
    BmpSpec layout{.width = width, .height = height, .bpp = 24};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) layout.pixels.push_back(colour(x, y));
    WriteHostFile(hostPath, MakeBmp(layout));
  }

  // Holds the keys for the next frame (virtual-key codes); every other key is up.
  void Hold(std::initializer_list<int> keys) {
    m_Keys.ReleaseKeys();
    for (int key : keys) m_Keys.SetKey(key, true);
  }
  // One frame with these keys held, then one with nothing held, so the next press is new.
  void Press(std::initializer_list<int> keys) {
    Hold(keys);
    ASSERT_EQ(g_SceneManager.Frame(), 1);
    Hold({});
    ASSERT_EQ(g_SceneManager.Frame(), 1);
  }
  void RunFrames(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(g_SceneManager.Frame(), 1);
  }
  // Frames until the current scene has reached state 1 (its fade-in is over); false if it never does.
  bool RunUntilShown(int limit = 100) {
    for (int i = 0; i < limit; ++i) {
      cScene* scene = g_SceneManager.Scene(g_SceneManager.m_Current);
      if (scene && scene->m_State == 1) return true;
      if (g_SceneManager.Frame() != 1) return false;
    }
    return false;
  }
  // Frames until the current slot is slot.
  bool RunUntilCurrent(std::int32_t slot, int limit = 100) {
    for (int i = 0; i < limit && g_SceneManager.m_Current != slot; ++i)
      if (g_SceneManager.Frame() != 1) return false;
    return g_SceneManager.m_Current == slot;
  }

  int TakeMessages(std::uint32_t message) {
    int count = 0;
    while (auto msg = MainWindowQueue().TryTake())
      if (msg->message == message) ++count;
    return count;
  }
  std::string Report() { return ReadHostFile("Report_Game.txt"); }

  cHeadlessScreen m_Screen{640, 480};
  cScriptedInputSource m_Keys;
  std::vector<std::string> m_Boxes;
  std::vector<std::uint32_t> m_Messages;
  std::vector<int> m_Sounds;
  std::vector<int> m_Music;
  std::int32_t m_DialogAnswer = 0;
};

