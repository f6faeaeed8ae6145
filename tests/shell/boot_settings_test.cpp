// The boot settings: the file layout, the renderer the start-up takes from them, and the launcher
// as the player answers it.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>
#include <optional>
#include <string>

#include "platform/services/log.h"
#include "platform/ui/dialog_loop.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/keyboard_hook.h"
#include "platform/services/record.h"
#include "shell/boot_settings.h"
#include "shell/shell_dialogs.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"

namespace {

constexpr const char* kBootPath = "user_data\\Boot.dat";

std::string BootFile(std::uint32_t renderer, std::uint32_t dontShow) {
  return cByteBuilder().U32(556).U32(2).U32(renderer).U32(dontShow).U32(0).Text();
}

class BootSettingsTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    std::filesystem::create_directory("user_data");
    g_BootSettings.m_Renderer = 1;
    g_BootSettings.m_DontShow = 0;
    Answer(std::nullopt);
  }
  // The launcher answered with answer (nullopt: confirmed as it shows); what it showed is kept.
  void Answer(std::optional<std::string> answer) {
    SetDialogAnswerer([this, answer](const std::string& name) {
      m_Asked.push_back(name);
      if (cDialogWindow* w = ActiveDialogWindow())
        m_Shown = {w->Check(kLauncherDirect3D), w->Check(kLauncherDirectDraw), w->Check(kLauncherDontShow)};
      return answer;
    });
  }
  std::vector<std::string> m_Asked;
  std::array<std::int32_t, 3> m_Shown{};
  void TearDown() override {
    SetDialogAnswerer({});
    g_BootSettings.m_Renderer = 1;
    g_BootSettings.m_DontShow = 0;
    GameFolderTest::TearDown();
  }
};

TEST_F(BootSettingsTest, TheStartUpTakesTheRendererOfTheBootSettings) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // none: no Boot.dat
    std::int32_t renderer;
    // What Boot.dat holds afterwards: the launcher, confirmed, writes the choice it showed.
    std::string after;
  };
  // One after the other, without a fresh record between them: a missing or damaged file after a
  // stored choice still gives the defaults, not the choice read before.
  const Case cases[] = {
      {"DirectDraw chosen, launcher off", BootFile(0, 1), 0, BootFile(0, 1)},
      {"first start: Direct3D, launcher shown", std::nullopt, 1, BootFile(1, 0)},
      {"Direct3D chosen, launcher off", BootFile(1, 1), 1, BootFile(1, 1)},
      {"DirectDraw chosen, launcher on", BootFile(0, 0), 0, BootFile(0, 0)},
      {"a renderer other than 1 is DirectDraw", BootFile(7, 1), 0, BootFile(7, 1)},
      {"damaged: the defaults", cByteBuilder().U32(556).U32(2).U32(0).Text(), 1, BootFile(1, 0)},
  };
  for (const Case& c : cases) {
    std::filesystem::remove("user_data/Boot.dat");
    if (c.file) WriteHostFile("user_data/Boot.dat", *c.file);
    EXPECT_EQ(ChooseBootRenderer(kBootPath), c.renderer) << c.name;
    EXPECT_EQ(ReadHostFile("user_data/Boot.dat"), c.after) << c.name;
  }
}

TEST_F(BootSettingsTest, TheLauncherShowsTheStoredChoiceAndStoresWhatThePlayerPicks) {
  // First start: Direct3D preselected, the box clear; DirectDraw and "don't show" are stored.
  Answer("click:1003,click:1004,click:1000");
  EXPECT_EQ(ChooseBootRenderer(kBootPath), 0);
  EXPECT_EQ(m_Shown, (std::array<std::int32_t, 3>{1, 0, 0}));
  EXPECT_EQ(ReadHostFile("user_data/Boot.dat"), BootFile(0, 1));
  // Later starts skip the launcher.
  m_Asked.clear();
  EXPECT_EQ(ChooseBootRenderer(kBootPath), 0);
  EXPECT_TRUE(m_Asked.empty());

  // Cancelled, by the quit button, Esc or the window's close: the program ends and nothing is written.
  for (const char* cancel : {"click:1001", "key:ESCAPE", "close"}) {
    WriteHostFile("user_data/Boot.dat", BootFile(0, 0));
    Answer(std::string(cancel));
    EXPECT_EQ(ChooseBootRenderer(kBootPath), -1) << cancel;
    EXPECT_EQ(m_Shown, (std::array<std::int32_t, 3>{0, 1, 0})) << cancel;
    EXPECT_EQ(ReadHostFile("user_data/Boot.dat"), BootFile(0, 0)) << cancel;
  }
  // Arrow keys move the choice within the renderer group; Space ticks the box.
  std::filesystem::remove("user_data/Boot.dat");
  Answer("key:TAB,key:TAB,key:RIGHT,key:TAB,key:SPACE,key:TAB,key:RETURN");
  EXPECT_EQ(ChooseBootRenderer(kBootPath), 0);
  EXPECT_EQ(ReadHostFile("user_data/Boot.dat"), BootFile(0, 1));
}

TEST_F(BootSettingsTest, TheRecordWritesAndReadsItsTwoNumbers) {
  g_BootSettings.m_Renderer = 0;
  g_BootSettings.m_DontShow = 1;
  ASSERT_EQ(g_BootSettings.SaveFile(kBootPath), 1);
  EXPECT_EQ(ReadHostFile("user_data/Boot.dat"), BootFile(0, 1));

  cBootSettings read;
  EXPECT_EQ(read.m_Renderer, 1);
  EXPECT_EQ(read.m_DontShow, 0);
  ASSERT_EQ(read.Load(kBootPath), 1);
  EXPECT_EQ(read.m_Renderer, 0);
  EXPECT_EQ(read.m_DontShow, 1);

  // A file cut short leaves what the record held, and the report log says why.
  WriteHostFile("user_data/Boot.dat", BootFile(0, 0).substr(0, 14));
  EXPECT_EQ(read.Load(kBootPath), 0);
  EXPECT_EQ(read.m_DontShow, 1);
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("Boot.dat"), std::string::npos);
}

}  // namespace
