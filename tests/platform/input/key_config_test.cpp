// user_data\KeyConfig.dat: a raw 108-byte image, read as it is or not at all.
#include "platform/input/key_config.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/host/input_devices.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"

namespace {

constexpr const char* kPath = "user_data\\KeyConfig.dat";

struct sEntry {
  std::uint32_t device;
  std::uint16_t code;
  std::uint16_t unused;
};

// A configuration made with joysticks: left and right on joystick 0's X axis, up and down on the
// keyboard, buttons on keys and on joystick 1's buttons.
const sEntry kFixtureEntries[12] = {
    {0, 256, 0},        // left: joystick 0, X low
    {0, 512, 0},        // right: joystick 0, X high
    {8, 0x26, 0},       // up: the up arrow
    {8, 0x28, 0xBEEF},  // down: the down arrow, with something in the unused half
    {8, 'J', 0},        // button 1
    {1, 0x0002, 0},     // button 2: joystick 1, button 2
    {8, 'L', 0},        // button 3
    {1, 0x0001, 0},     // button 4: joystick 1, button 1
    {8, 'Q', 0},        // button 5
    {8, 'W', 0},        // button 6
    {8, 'E', 0},        // button 7
    {8, 'R', 0},        // button 8
};

cByteBuilder FixtureImage(std::uint32_t entryCount, std::uint32_t joyCount, std::uint32_t useConfig) {
  cByteBuilder file;
  for (const sEntry& entry : kFixtureEntries) file.U32(entry.device).U16(entry.code).U16(entry.unused);
  file.U32(entryCount).U32(joyCount).U32(useConfig);
  return file;
}

class KeyConfigTest : public GameFolderTest {
 protected:
  void TearDown() override {
    g_KeyConfig = cKeyConfig{};
    g_Inputs.assign(1, cInput{});
    SetInputSource(nullptr);
    GameFolderTest::TearDown();
  }

  // A configuration that a failed load must leave as it is.
  static cKeyConfig Sentinel() {
    cKeyConfig config;
    for (int i = 0; i < kKeyConfigEntries; ++i) config.m_Entries[static_cast<std::size_t>(i)] = {7, 0x1234, 0x5678};
    config.m_EntryCount = 3;
    config.m_JoyCount = 4;
    config.m_UseConfig = 5;
    return config;
  }
};

void ExpectSame(const cKeyConfig& a, const cKeyConfig& b) {
  for (int i = 0; i < kKeyConfigEntries; ++i) {
    const auto& x = a.m_Entries[static_cast<std::size_t>(i)];
    const auto& y = b.m_Entries[static_cast<std::size_t>(i)];
    EXPECT_EQ(x.m_Device, y.m_Device) << "entry " << i;
    EXPECT_EQ(x.m_Code, y.m_Code) << "entry " << i;
    EXPECT_EQ(x.m_Unused, y.m_Unused) << "entry " << i;
  }
  EXPECT_EQ(a.m_EntryCount, b.m_EntryCount);
  EXPECT_EQ(a.m_JoyCount, b.m_JoyCount);
  EXPECT_EQ(a.m_UseConfig, b.m_UseConfig);
}

TEST_F(KeyConfigTest, ReadsTheImageFieldByField) {
  cByteBuilder image = FixtureImage(12, 2, 1);
  ASSERT_EQ(image.Size(), 108u);
  // The first entry and the tail, as bytes.
  EXPECT_EQ(HexBytes(std::vector<std::uint8_t>(image.Data().begin(), image.Data().begin() + 8)),
            HexBytes(std::string("\x00\x00\x00\x00\x00\x01\x00\x00", 8)));
  EXPECT_EQ(HexBytes(std::vector<std::uint8_t>(image.Data().begin() + 96, image.Data().end())),
            HexBytes(std::string("\x0C\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00", 12)));
  WriteHostFile("user_data/KeyConfig.dat", image.Text());

  cKeyConfig config;
  ASSERT_EQ(LoadKeyConfig(kPath, &config), 1);
  for (int i = 0; i < kKeyConfigEntries; ++i) {
    const KeyConfigEntry& entry = config.m_Entries[static_cast<std::size_t>(i)];
    EXPECT_EQ(entry.m_Device, kFixtureEntries[i].device) << "entry " << i;
    EXPECT_EQ(entry.m_Code, kFixtureEntries[i].code) << "entry " << i;
    EXPECT_EQ(entry.m_Unused, kFixtureEntries[i].unused) << "entry " << i;
  }
  EXPECT_EQ(config.m_EntryCount, 12u);
  EXPECT_EQ(config.m_JoyCount, 2u);
  EXPECT_EQ(config.m_UseConfig, 1u);
}

TEST_F(KeyConfigTest, TheFixtureDrivesTheConfiguredLayout) {
  WriteHostFile("user_data/KeyConfig.dat", FixtureImage(12, 2, 1).Text());
  cScriptedInputSource source;
  SetInputSource(&source);
  InitInput(kPath);
  cInput& input = g_Inputs.at(0);

  JoystickPosition stick;
  stick.axes[0] = 60000;
  source.SetJoystick(0, stick);
  JoystickPosition pad;
  pad.buttons = 0x03;
  source.SetJoystick(1, pad);
  source.SetKey(VK_DOWN, true);
  source.SetKey('R', true);
  source.SetKey('Z', true);  // the fixed layout's button 1: not bound here

  EXPECT_EQ(input.Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames), 0);
  ASSERT_EQ(input.PollConfigured(1, kPollRetryFrames), 1);
  EXPECT_EQ(input.m_Direction, kDirRight | kDirDown);
  EXPECT_EQ(input.m_Digit, 9);
  EXPECT_EQ(input.m_Buttons, 0x02 | 0x08 | 0x80);
}

TEST_F(KeyConfigTest, JoystickCountBeyondSixteenIsReadAsSixteen) {
  for (std::uint32_t count : {17u, 0x100u, 0xFFFFFFFFu}) {
    WriteHostFile("user_data/KeyConfig.dat", FixtureImage(0xFFFFFFFF, count, 1).Text());
    cKeyConfig config;
    ASSERT_EQ(LoadKeyConfig(kPath, &config), 1);
    EXPECT_EQ(config.m_JoyCount, 16u) << count;
    EXPECT_EQ(config.EntryCount(), 12) << count;
  }
  WriteHostFile("user_data/KeyConfig.dat", FixtureImage(12, 16, 1).Text());
  cKeyConfig config;
  ASSERT_EQ(LoadKeyConfig(kPath, &config), 1);
  EXPECT_EQ(config.m_JoyCount, 16u);

  // Polled with it, every joystick that can exist is read once and nothing beyond.
  WriteHostFile("user_data/KeyConfig.dat", FixtureImage(12, 0xFFFFFFFF, 1).Text());
  cScriptedInputSource source;
  SetInputSource(&source);
  InitInput(kPath);
  ASSERT_EQ(g_Inputs.at(0).PollConfigured(1, kPollRetryFrames), 1);
  for (int j = 0; j < kMaxJoysticks; ++j) EXPECT_EQ(source.JoystickReads(j), 1u) << j;
}

TEST_F(KeyConfigTest, TheFirst108BytesAreTheImageAndAShorterFileIsDamaged) {
  const std::string image = FixtureImage(12, 2, 1).Text();
  struct sCase {
    const char* what;
    std::string bytes;
    int loaded;  // LoadKeyConfig's result; 0 keeps the defaults at start-up
    int reports;
  };
  const sCase cases[] = {
      {"exactly the image", image, 1, 0},
      {"one byte more", image + '\0', 1, 0},
      {"the image twice", image + FixtureImage(5, 6, 0).Text(), 1, 0},
      {"one byte short", image.substr(0, 107), 0, 1},
      {"only the entries", image.substr(0, 96), 0, 1},
      {"empty", "", 0, 1},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    WriteHostFile("user_data/KeyConfig.dat", c.bytes);
    cKeyConfig config = Sentinel();
    EXPECT_EQ(LoadKeyConfig(kPath, &config), c.loaded);
    if (c.loaded) {
      EXPECT_EQ(config.m_EntryCount, 12u) << "the first image, not what follows it";
      EXPECT_EQ(config.m_JoyCount, 2u);
      EXPECT_EQ(config.m_UseConfig, 1u);
      EXPECT_EQ(config.m_Entries[4].m_Code, 'J');
    } else {
      ExpectSame(config, Sentinel());
    }
    const std::string report = ReadHostFile("Report_Game.txt");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), c.reports) << report;
    if (c.reports) {
      EXPECT_NE(report.find("KeyConfig.dat"), std::string::npos) << report;
    }

    g_KeyConfig = cKeyConfig{};
    InitInput(kPath);  // the start-up falls back on the defaults for a damaged file
    cKeyConfig defaults;
    SetDefaultKeyConfig(&defaults);
    if (c.loaded) {
      EXPECT_EQ(g_KeyConfig.m_UseConfig, 1u);
    } else {
      ExpectSame(g_KeyConfig, defaults);
    }
  }
  g_ReportPath.clear();
}

TEST_F(KeyConfigTest, MissingFileGivesTheDefaults) {
  cKeyConfig config = Sentinel();
  EXPECT_EQ(LoadKeyConfig(kPath, &config), 0);
  ExpectSame(config, Sentinel());

  InitInput(kPath);
  const std::uint16_t keys[12] = {0x25, 0x27, 0x26, 0x28, 0x5A, 0x58, 0x43, 0x56, 0x41, 0x53, 0x44, 0x46};
  for (int i = 0; i < kKeyConfigEntries; ++i) {
    EXPECT_EQ(g_KeyConfig.m_Entries[static_cast<std::size_t>(i)].m_Device, 8u) << i;
    EXPECT_EQ(g_KeyConfig.m_Entries[static_cast<std::size_t>(i)].m_Code, keys[i]) << i;
  }
  EXPECT_EQ(g_KeyConfig.m_EntryCount, 12u);
  EXPECT_EQ(g_KeyConfig.m_JoyCount, 1u);
  EXPECT_EQ(g_KeyConfig.m_UseConfig, 0u);

  ASSERT_EQ(g_Inputs.size(), 1u);
  const cInput& input = g_Inputs[0];
  EXPECT_EQ(input.m_RepeatDelay, 18u);
  EXPECT_EQ(input.m_RepeatInterval, 6u);
  EXPECT_EQ(input.m_JoyButtonMasks[7], 0x80);

  // The defaults leave the unused halves as they were.
  SetDefaultKeyConfig(&config);
  EXPECT_EQ(config.m_Entries[3].m_Unused, 0x5678);
}

}  // namespace
