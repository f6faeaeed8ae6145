#pragma once
// A game folder for the start-up: the least project the start-up reads (database, settings, world
// map, common palette, the palette image and the debug picture), a headless main window, every box
// caught with its caption, and the start-up undone after each test.
#include <gtest/gtest.h>

#include "platform/ui/dialog_loop.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host/audio_mixer.h"
#include "platform/host/box_sink.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/load_context.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/system_ini.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/game_folder.h"

namespace startuptest {

struct Box {
  std::string caption;  // UTF-8
  std::string text;     // UTF-8
};

constexpr const char* kWindowIni = "Direct3D=0\nWindowMode=1\nExit\n";

struct ProjectSetup {
  std::string root = "data";           // "default" for a first run
  std::string systemIni = kWindowIni;  // none when empty
  std::string title;                   // the game title (code page 932)
  std::string firstSound;              // the file of system sound 0
  std::int32_t colourMode = 0;         // 0 a 256-colour project, 1 full colour
  std::array<std::uint8_t, 3> transparent{10, 20, 30};  // the full-colour project's key, red green blue
};

inline ProjectSetup WithIni(const std::string& systemIni) {
  ProjectSetup setup;
  setup.systemIni = systemIni;
  return setup;
}

// Whether the sound system is up (startup_sound_test.cpp, where the sound effects are included).
bool SoundSystemUp();

class StartupTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen((m_Folder / "Report_Game.txt").string()), 1);
    SetRealAudioWanted(false);
    m_SavedContext = LoadContext();
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t type) {
      m_Boxes.push_back({Cp932ToUtf8(caption), Cp932ToUtf8(text)});
      return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
    });
    // The player confirms the launcher with what it shows.
    SetDialogAnswerer([](const std::string&) { return std::nullopt; });
    g_MainWindow.Create(std::make_unique<cHeadlessScreen>(640, 480));
    ResetStartState();
  }
  void TearDown() override {
    SetDialogAnswerer({});
    UnInitGame();
    g_MainWindow.ReleaseScreen();
    g_hMainWnd.store(nullptr);
    ResetStartState();
    LoadContext() = m_SavedContext;
    while (MainWindowQueue().TryTake()) {
    }
    GameFolderTest::TearDown();
  }

  // The scene manager's fields and System.ini as before any start-up (startup_init_test.cpp).
  static void ResetStartState();

  // The least project the start-up reads, written with the project's own writers (defined in
  // startup_init_test.cpp, apart from the sound tests: the project settings and the sound effects
  // are not included together).
  void WriteProject(const ProjectSetup& setup = {});

  // A 16 x 24 picture whose rows 8 to 23 hold the 256 palette colours; its top-left pixel, the
  // colour key of a 256-colour project, is grey (5, 5, 5).
  static BmpSpec PaletteImage() {
    BmpSpec image;
    image.width = 16;
    image.height = 24;
    image.bpp = 8;
    image.table = GreyTable(256);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 16; ++x) image.pixels.push_back(y < 8 ? 5u : static_cast<std::uint32_t>((y - 8) * 16 + x));
    return image;
  }

  // How many boxes said text (UTF-8).
  int BoxesSaying(const std::string& text) const {
    int n = 0;
    for (const Box& box : m_Boxes) n += box.text == text ? 1 : 0;
    return n;
  }
  std::string Report() { return ReadHostFile("Report_Game.txt"); }
  // The report log emptied (it must exist: lines are only appended to it).
  void ClearReport() { ASSERT_EQ(ReportLogOpen((m_Folder / "Report_Game.txt").string()), 1); }

  std::vector<Box> m_Boxes;

 private:
  cLoadContext m_SavedContext;
};

}  // namespace startuptest
