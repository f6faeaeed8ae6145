// The options record and Option.dat: defaults, the exact file, older and hostile files, the ranges
// every use respects, stepping with wrap-around, and saving that never costs the previous file.
#include "project/option.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/project_paths.h"
#include "tests/support/child_process.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

namespace fs = std::filesystem;


class OptionTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    fs::create_directory(m_Folder / "user_data");
  }
  void TearDown() override {
    InitRecordSettings();
    GameFolderTest::TearDown();
  }

  const char* OptionPath() const { return ProjectPathTable[kPathOption].c_str(); }
  std::string OptionFile() { return ReadHostFile("user_data/Option.dat"); }
  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }
};

// Option.dat by hand: the version word, u32 4, the four numbers, u32 1, the name.
cByteBuilder OptionImage(std::uint32_t version, std::int32_t palette, std::int32_t music, std::int32_t volume,
                         std::int32_t mode, const std::string& name) {
  cByteBuilder b;
  b.U32(version).U32(4).I32(palette).I32(music).I32(volume).I32(mode).U32(1).Str(name);
  return b;
}

std::vector<std::int32_t> Numbers(const cOption& option) {
  return {option.m_PaletteNumber, option.m_Music, option.m_SoundVolume, option.m_RankingMode};
}


TEST_F(OptionTest, DefaultsAreWrittenAsExactlyThirtySixBytes) {
  cOption option;
  EXPECT_EQ(Numbers(option), (std::vector<std::int32_t>{0, 1, 7, 0}));
  EXPECT_EQ(option.m_RankName, "aaa");
  // The global too, although it was built before start-up set the record version.
  EXPECT_EQ(Numbers(g_Option), Numbers(option));
  EXPECT_EQ(g_Option.m_RankName, "aaa");

  ASSERT_EQ(option.Save(OptionPath()), 1);
  EXPECT_EQ(
      HexBytes(OptionFile()),
      "2C 02 00 00 04 00 00 00 00 00 00 00 01 00 00 00 07 00 00 00 00 00 00 00 01 00 00 00 04 00 00 00 61 61 61 00");
  EXPECT_EQ(OptionFile(), OptionImage(556, 0, 1, 7, 0, "aaa").Text());
  EXPECT_EQ(fs::directory_iterator(m_Folder / "user_data")->path().filename(), "Option.dat");
}

TEST_F(OptionTest, MissingFileLeavesTheDefaults) {
  cOption option;
  EXPECT_EQ(option.Load(OptionPath()), 0);
  EXPECT_EQ(option.LoadFile(OptionPath()), 0);
  EXPECT_EQ(Numbers(option), (std::vector<std::int32_t>{0, 1, 7, 0}));
  EXPECT_EQ(option.m_RankName, "aaa");
}

// No field depends on the version, and values outside their ranges are read and written back as
// they are; the write after a read is the file itself.
TEST_F(OptionTest, AnyVersionReadsTheSameLayoutAndKeepsWhatItHolds) {
  struct FileCase {
    std::uint32_t version;
    std::int32_t palette, music, volume, mode;
    std::string name;
  };
  const FileCase cases[] = {
      {556, 12, 0, 3, 2, "bob"},
      {100, 23, 1, 10, 3, "old"},
      {1, 0, 0, 0, 0, ""},
      {556, 99, 7, 50, -2, SJ("あいう")},
      {556, INT32_MIN, -1, INT32_MAX, 4, std::string(300, 'n')},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.version);
    const cByteBuilder image = OptionImage(c.version, c.palette, c.music, c.volume, c.mode, c.name);
    WriteHostFile("user_data/Option.dat", image.Text());
    cOption option;
    ASSERT_EQ(option.Load(OptionPath()), 1);
    EXPECT_EQ(Numbers(option), (std::vector<std::int32_t>{c.palette, c.music, c.volume, c.mode}));
    EXPECT_EQ(option.m_RankName, c.name);
    ASSERT_EQ(option.Save(OptionPath()), 1);
    EXPECT_EQ(HexBytes(OptionFile()), HexBytes(OptionImage(556, c.palette, c.music, c.volume, c.mode, c.name).Text()));
    // And once more through our own writer: the same bytes.
    const std::string written = OptionFile();
    cOption again;
    ASSERT_EQ(again.Load(OptionPath()), 1);
    ASSERT_EQ(again.Save(OptionPath()), 1);
    EXPECT_EQ(OptionFile(), written);
  }
}

TEST_F(OptionTest, EveryUseBringsTheValuesIntoRange) {
  struct RangeCase {
    std::int32_t palette, music, volume, mode;
    std::int32_t expectPalette;
    bool expectMusic;
    std::int32_t expectStep, expectMode;
    bool fixedName, automatic;
  };
  const RangeCase cases[] = {
      {0, 1, 7, 0, 0, true, 7, 0, false, false},
      {23, 0, 10, 1, 23, false, 10, 1, true, false},
      {5, 1, 0, 2, 5, true, 0, 2, false, true},
      {5, 1, 1, 3, 5, true, 1, 3, true, true},
      {24, 2, 11, 4, 23, true, 10, 3, true, true},
      {-1, -1, -1, -1, 0, false, 0, 0, false, false},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 23, true, 10, 3, true, true},
      {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, false, 0, 0, false, false},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.palette << " " << c.music << " " << c.volume << " " << c.mode);
    cOption option;
    option.m_PaletteNumber = c.palette;
    option.m_Music = c.music;
    option.m_SoundVolume = c.volume;
    option.m_RankingMode = c.mode;
    EXPECT_EQ(option.PaletteNumber(), c.expectPalette);
    EXPECT_EQ(option.MusicOn(), c.expectMusic);
    EXPECT_EQ(option.SoundVolumeStep(), c.expectStep);
    EXPECT_EQ(option.RankingMode(), c.expectMode);
    EXPECT_EQ(option.RankingNameFixed(), c.fixedName);
    EXPECT_EQ(option.RankingAutomatic(), c.automatic);
    EXPECT_EQ(option.RankingModeLabel(), RankingRegistrationModes[static_cast<std::size_t>(c.expectMode)]);
    // The record itself keeps what it holds.
    EXPECT_EQ(Numbers(option), (std::vector<std::int32_t>{c.palette, c.music, c.volume, c.mode}));
  }
  EXPECT_EQ(RankingRegistrationModes[1], SJ("手動登録（登録名固定）"));

  // A number the option scene does not have takes the failure path instead of reading elsewhere.
  cOption option;
  option.Number(kOptionNumberCount);
  option.ClampedNumber(-1);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 2);
}

TEST_F(OptionTest, DamagedFilesAreRefusedAndTheOptionsStay) {
  const std::vector<std::uint8_t> good = OptionImage(556, 3, 0, 2, 1, "zed").Data();
  struct DamageCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    int closes;  // the player's own file: even more members than registered close nothing
  };
  std::vector<DamageCase> cases;
  for (std::size_t length = 0; length < good.size(); ++length)
    cases.push_back({"first " + std::to_string(length) + " bytes", {good.begin(), good.begin() + length}, 0});
  const auto patched = [&good](std::size_t offset, std::uint32_t word) {
    std::vector<std::uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(word >> (8 * i));
    return bytes;
  };
  cases.push_back({"five numbers", patched(4, 5), 0});
  cases.push_back({"0x7FFFFFFF numbers", patched(4, 0x7FFFFFFF), 0});
  cases.push_back({"two strings", patched(24, 2), 0});
  cases.push_back({"name longer than the file", patched(28, 0xFFFFFFFF), 0});
  cases.push_back({"name length 0", patched(28, 0), 0});

  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    WriteHostFile("user_data/Option.dat", std::string(c.bytes.begin(), c.bytes.end()));
    cOption option;
    option.m_SoundVolume = 4;
    option.m_RankName = "mine";
    EXPECT_EQ(option.Load(OptionPath()), 0);
    EXPECT_EQ(Numbers(option), (std::vector<std::int32_t>{0, 1, 4, 0}));
    EXPECT_EQ(option.m_RankName, "mine");
    EXPECT_NE(ReportText().find("user_data\\Option.dat が破損しています！"), std::string::npos) << ReportText();
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), c.closes);
  }
}

TEST_F(OptionTest, FailedSaveIsReportedAndKeepsThePreviousFile) {
  const std::string previous = OptionImage(556, 9, 0, 9, 3, "old").Text();
  WriteHostFile("user_data/Option.dat", previous);
  // Others may pass through the game folder and append to the report log, but not write in user_data.
  fs::permissions(m_Folder, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(m_Folder / "Report_Game.txt", fs::perms::others_read | fs::perms::others_write,
                  fs::perm_options::add);
  fs::permissions(m_Folder / "user_data", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec,
                  fs::perm_options::replace);
  const std::string path = OptionPath();
  const int result = RunInChild([&path] {
    // Rights to write anywhere would make the folder writable after all.
    if (!DropRootRights()) return kCannotDropRights;
    cOption option;
    option.m_PaletteNumber = 1;
    return option.Save(path.c_str()) == 0 ? 0 : 1;
  });
  if (result == kCannotDropRights) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(OptionFile(), previous);
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(m_Folder / "user_data")) entries.push_back(entry.path().filename());
  EXPECT_EQ(entries, std::vector<fs::path>{"Option.dat"});
  EXPECT_NE(ReportText().find("user_data\\Option.dat の保存に失敗しました！"), std::string::npos) << ReportText();
}

TEST_F(OptionTest, SaveWithoutItsFolderFailsAndSaysSo) {
  fs::remove(m_Folder / "user_data");
  cOption option;
  EXPECT_EQ(option.Save(OptionPath()), 0);
  EXPECT_FALSE(fs::exists(m_Folder / "user_data"));
  EXPECT_NE(ReportText().find("の保存に失敗しました！"), std::string::npos);
}

}  // namespace
