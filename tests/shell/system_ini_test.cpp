// System.ini as the game reads it: the byte rules of keys and values, the "Exit" end marker, the
// stage field's length limits, and lines longer than the reader's buffers.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/services/record.h"
#include "project/system_data.h"
#include "shell/system_ini.h"
#include "tests/support/game_folder.h"

namespace {

// The key names the project defines, with defaults that differ from every value a case writes, so
// a field that was overwritten shows.
SystemIniKeys TestKeys(const std::string& freeStageDefault = "default.stg4") {
  SystemIniKeys keys(6);
  keys[0].SetInt("Direct3D", 2);
  keys[1].SetInt("WindowMode", 0);
  keys[2].SetInt("Bpp", 24);
  keys[3].SetInt("VSync", 2);
  keys[4].SetInt("ShowFps", 1);
  keys[5].SetString("FreeStage", freeStageDefault);
  return keys;
}

// The fields a case expects: the defaults above, with the changes a case names.
struct IniFields {
  std::int32_t direct3D = 2;
  std::int32_t windowMode = 0;
  std::int32_t bpp = 24;
  std::int32_t vsync = 2;
  std::int32_t showFps = 1;
  std::string freeStage = "default.stg4";

  IniFields& D3D(std::int32_t v) { direct3D = v; return *this; }
  IniFields& Window(std::int32_t v) { windowMode = v; return *this; }
  IniFields& Depth(std::int32_t v) { bpp = v; return *this; }
  IniFields& Sync(std::int32_t v) { vsync = v; return *this; }
  IniFields& Fps(std::int32_t v) { showFps = v; return *this; }
  IniFields& Stage(const std::string& v) { freeStage = v; return *this; }
};

void ExpectFields(const SystemIni& ini, const IniFields& want, const std::string& name) {
  EXPECT_EQ(ini.Direct3D, want.direct3D) << name;
  EXPECT_EQ(ini.WindowMode, want.windowMode) << name;
  EXPECT_EQ(ini.Bpp, want.bpp) << name;
  EXPECT_EQ(ini.VSync, want.vsync) << name;
  EXPECT_EQ(ini.ShowFps, want.showFps) << name;
  EXPECT_EQ(ini.FreeStage, want.freeStage) << name;
}

class SystemIniTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
  }
};

TEST_F(SystemIniTest, LinesAreReadByTheGamesByteRules) {
  const std::string stage259(259, 's');
  const std::string stage260(260, 's');
  const std::string longText(3000, 'x');
  struct Case {
    std::string name;
    std::string file;
    std::int32_t result;
    IniFields fields;
  };
  const Case cases[] = {
      {"crlf with Exit", "WindowMode=1\r\nExit\r\n", 1, IniFields().Window(1)},
      {"no Exit line", "WindowMode=1\r\n", 0, IniFields().Window(1)},
      {"comment after a blank", "Bpp=16 //c\nExit\n", 1, IniFields().Depth(16)},
      {"comment right after the value", "Bpp=16/c\nExit\n", 1, IniFields().Depth(16)},
      {"blanks round the '='", "Bpp = 16\nExit\n", 1, IniFields().Depth(0)},
      {"key in another case", "bpp=16\nExit\n", 1, IniFields()},
      {"blanks and CR inside a key", "Win dow\tMo\rde=1\nExit\n", 1, IniFields().Window(1)},
      {"signed numbers", "VSync=-1\nShowFps=+2\nExit\n", 1, IniFields().Sync(-1).Fps(2)},
      {"not a number", "Bpp=abc\nExit\n", 1, IniFields().Depth(0)},
      {"beyond 32 bits", "Bpp=99999999999\nVSync=-99999999999\nExit\n", 1, IniFields().Depth(INT_MAX).Sync(INT_MIN)},
      {"later lines win", "Bpp=16\nBpp=32\nExit\n", 1, IniFields().Depth(32)},
      {"all six", "Direct3D=0\nWindowMode=1\nBpp=32\nVSync=1\nShowFps=2\nFreeStage=a.stg4\nExit\n", 1,
       IniFields().D3D(0).Window(1).Depth(32).Sync(1).Fps(2).Stage("a.stg4")},
      {"stage of one byte", "FreeStage=a\nExit\n", 1, IniFields()},
      {"stage of 259 bytes", "FreeStage=" + stage259 + "\nExit\n", 1, IniFields().Stage(stage259)},
      {"stage of 260 bytes", "FreeStage=" + stage260 + "\nExit\n", 1, IniFields()},
      {"file ends inside a key", "WindowMode=1\nExi", 0, IniFields().Window(1)},
      {"Exit without its line feed", "WindowMode=1\nExit", 0, IniFields().Window(1)},
      {"empty file", "", 0, IniFields()},
      {"file ends inside a value", "Bpp=16", 0, IniFields().Depth(16)},
      {"a NUL byte ends the file", std::string("WindowMode=1\n") + '\0' + "Bpp=16\n", 1, IniFields().Window(1)},
      {"a NUL byte ends a value", std::string("Bpp=16") + '\0' + "\nExit\n", 1, IniFields().Depth(16)},
      {"Exit in another case", "exit\nShowFps=0\nExit\n", 1, IniFields().Fps(0)},
      // Parts longer than their 2047-byte buffers are read past, and the lines after them count.
      {"over-long key", "Bpp" + longText + "=8\nShowFps=0\nExit\n", 1, IniFields().Fps(0)},
      {"over-long value", "Bpp=" + std::string(3000, '1') + "\nShowFps=0\nExit\n", 1, IniFields().Depth(INT_MAX).Fps(0)},
      {"over-long stage", "FreeStage=" + longText + "\nShowFps=0\nExit\n", 1, IniFields().Fps(0)},
      // The texts are data: a format in them is stored as written.
      {"format characters", "FreeStage=%s%n.stg4\nExit\n", 1, IniFields().Stage("%s%n.stg4")},
  };
  const SystemIniKeys keys = TestKeys();
  for (const Case& c : cases) {
    WriteHostFile("System.ini", c.file);
    SystemIni ini;
    SetSystemIniDefaults(ini, keys);
    EXPECT_EQ(ReadSystemIni("System.ini", ini, keys), c.result) << c.name;
    ExpectFields(ini, c.fields, c.name);
  }
}

TEST_F(SystemIniTest, AMissingFileReadsNothing) {
  const SystemIniKeys keys = TestKeys();
  SystemIni ini;
  SetSystemIniDefaults(ini, keys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, keys), 0);
  ExpectFields(ini, IniFields(), "missing");
}

TEST_F(SystemIniTest, TheFileIsTakenAsReadAfterTenThousandLines) {
  const SystemIniKeys keys = TestKeys();
  std::string lines;
  for (int i = 0; i < 9999; ++i) lines += "x\n";
  SystemIni ini;
  WriteHostFile("System.ini", lines);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, keys), 0);
  // The 10000th line ends the reading: what follows is never looked at.
  WriteHostFile("System.ini", lines + "Bpp=16\nBpp=8\n");
  SetSystemIniDefaults(ini, keys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, keys), 1);
  EXPECT_EQ(ini.Bpp, 16);
}

TEST_F(SystemIniTest, KeysAreMatchedByTheirPlaceInTheProjectsList) {
  // A project that renamed two keys, one of them to a name the default list gives another field,
  // a duplicate of a name (the first place counts) and a key past the six fields.
  SystemIniKeys keys = TestKeys();
  keys[2].SetInt("Farben", 24);
  keys[1].SetInt("Bpp", 0);
  keys.push_back(cSystemIniKey());
  keys.back().SetInt("ShowFps", 7);
  keys.push_back(cSystemIniKey());
  keys.back().SetInt("Extra", 5);
  WriteHostFile("System.ini", "Farben=16\nBpp=1\nShowFps=0\nExtra=9\nExit\n");
  SystemIni ini;
  SetSystemIniDefaults(ini, keys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, keys), 1);
  ExpectFields(ini, IniFields().Window(1).Depth(16).Fps(0), "renamed");
}

TEST_F(SystemIniTest, DefaultsComeFromTheProjectWithinTheFieldsBounds) {
  SystemIni ini;
  ini.Bpp = 99;
  ini.FreeStage = "left over";
  SetSystemIniDefaults(ini, TestKeys(std::string(300, 'd')));
  ExpectFields(ini, IniFields().Stage(std::string(259, 'd')), "long default");

  // A double-byte character that would straddle the limit is left out whole.
  SetSystemIniDefaults(ini, TestKeys(std::string(258, 'd') + "\x83\x5C"));
  EXPECT_EQ(ini.FreeStage, std::string(258, 'd'));

  // A project whose list is short: the missing fields take the record's own defaults.
  SystemIniKeys shortKeys = TestKeys();
  shortKeys.resize(2);
  SetSystemIniDefaults(ini, shortKeys);
  EXPECT_EQ(ini.Direct3D, 2);
  EXPECT_EQ(ini.Bpp, 0);
  EXPECT_EQ(ini.VSync, 2);
  EXPECT_EQ(ini.ShowFps, 1);
  EXPECT_EQ(ini.FreeStage, "");
}

}  // namespace
