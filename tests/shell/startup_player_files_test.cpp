// The player's own files damaged at start-up: options, key configuration and boot settings that do
// not read whole are each reported once and their defaults used; the game starts and nothing asks it
// to close.
#include <string>

#include "platform/input/key_config.h"
#include "project/option.h"
#include "shell/boot_settings.h"
#include "tests/shell/startup_fixture.h"
#include "tests/support/messages.h"

namespace {

using startuptest::StartupTest;
using startuptest::WithIni;

TEST_F(StartupTest, DamagedPlayerFilesAreReportedOnceAndTheGameStartsWithDefaults) {
  // Direct3D 2: the boot settings are read too.
  WriteProject(WithIni("Direct3D=2\nWindowMode=1\nExit\n"));
  // Options whose count of numbers is far beyond the four it holds, boot settings cut short, and a
  // key configuration of 50 bytes.
  WriteHostFile("user_data/Option.dat", std::string("\x2C\x02\0\0\xFF\xFF\xFF\x7F", 8) + std::string(24, '\x05'));
  WriteHostFile("user_data/Boot.dat", std::string("\x2C\x02\0\0\x02\0\0\0\x01\0", 10));
  WriteHostFile("user_data/KeyConfig.dat", std::string(50, '\x01'));
  g_Option = cOption();
  g_BootSettings = cBootSettings();
  g_Option.m_SoundVolume = 3;  // what a damaged file must not change
  TakeMainWindowMessages(WM_CLOSE);
  ClearReport();

  ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL));
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
  const std::string report = Report();
  for (const char* file : {"Option.dat", "Boot.dat", "KeyConfig.dat"}) {
    SCOPED_TRACE(file);
    std::size_t lines = 0;
    for (std::size_t at = report.find(file); at != std::string::npos; at = report.find(file, at + 1)) ++lines;
    EXPECT_EQ(lines, 1u) << report;
    EXPECT_NE(report.find(std::string(file) + " が破損しています！"), std::string::npos) << report;
  }
  EXPECT_EQ(g_Option.m_SoundVolume, 3);
  cKeyConfig defaults;
  SetDefaultKeyConfig(&defaults);
  EXPECT_EQ(g_KeyConfig.m_UseConfig, defaults.m_UseConfig);
  EXPECT_EQ(g_KeyConfig.m_Entries[4].m_Code, 'Z');
  EXPECT_EQ(g_BootSettings.m_DontShow, 0);
  EXPECT_GT(ReadHostFile("user_data/Boot.dat").size(), 10u) << "the launcher ran and wrote its choice";
}

}  // namespace
