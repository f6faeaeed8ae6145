// The player's own files damaged: a few flipped bits, a count larger than the members present, a
// file cut short. Each such file is reported once and set aside (the record keeps what it held, a
// slot is refused); none of them closes the program, so the game still starts and goes on.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/host/game_files.h"
#include "project/option.h"
#include "project/project_paths.h"
#include "tests/project/save_fixture.h"

namespace {

using savetest::SaveTest;

// One player's file: where it lives, a good image of it, and the load that reads it back.
struct sPlayerFile {
  const char* name;
  std::string path;  // game path
  std::function<std::vector<std::uint8_t>()> image;
  // Loads the file as the game does; true when it was read.
  std::function<bool()> load;
};

std::vector<std::uint8_t> ImageOf(cDataRecord& record, const std::string& path) {
  EXPECT_EQ(record.SaveFile(path.c_str()), 1);
  std::string bytes;
  if (GameFile file = OpenGameFile(path, "rb")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, got);
  }
  return {bytes.begin(), bytes.end()};
}

void WriteImage(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  GameFile file = OpenGameFile(path, "wb");
  ASSERT_TRUE(file);
  if (bytes.empty()) return;  // fwrite is given no null buffer, not even for nothing
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
}

// The ways a file is damaged: every 4-byte word in turn made a count far beyond the members present
// or one more than it says, the file cut at every fourth byte, and runs of a few flipped bits.
std::vector<std::vector<std::uint8_t>> Damaged(const std::vector<std::uint8_t>& good) {
  std::vector<std::vector<std::uint8_t>> images;
  for (std::size_t at = 4; at + 4 <= good.size(); at += 4) {
    for (std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFFu, 0u}) {
      std::vector<std::uint8_t> bytes = good;
      std::uint32_t value = count;
      if (count == 0u)
        value = (static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
                 static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24) +
                1;
      for (int b = 0; b < 4; ++b) bytes[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(value >> (8 * b));
      images.push_back(std::move(bytes));
    }
  }
  for (std::size_t size = 0; size < good.size(); size += 4)
    images.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
  std::mt19937 random(556);
  for (int n = 0; n < 200; ++n) {
    std::vector<std::uint8_t> bytes = good;
    for (int flip = 0; flip < 3; ++flip) bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    images.push_back(std::move(bytes));
  }
  return images;
}

class PlayerFileDamageTest : public SaveTest {
 protected:
  void ClearReport() { ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1); }
  int ReportLines() {
    const std::string report = ReportText();
    return static_cast<int>(std::count(report.begin(), report.end(), '\n'));
  }
};

TEST_F(PlayerFileDamageTest, ADamagedFileIsReportedOnceAndClosesNothing) {
  g_SaveSlots.assign(kStorySlotCount, cSaveSlotInfo());
  const sPlayerFile files[] = {
      {"options", ProjectPathTable[kPathOption],
       [] {
         cOption option;
         option.m_SoundVolume = 3;
         option.m_RankName = "player";
         return ImageOf(option, ProjectPathTable[kPathOption]);
       },
       [] { return g_Option.Load(ProjectPathTable[kPathOption].c_str()) == 1; }},
      {"story slot", MakeStorySlotPath(4),
       [] {
         cSaveData save;
         save.m_StageName = "stage.";
         save.m_StageResults.resize(3);
         // Short flag lists keep the image small (the reader fills them up again): every word of it
         // is damaged in turn.
         save.m_RoundFlags.resize(4);
         save.m_Variables.resize(4);
         return ImageOf(save, MakeStorySlotPath(4));
       },
       [] {
         ScanSaveSlots(g_SaveSlots);  // the continue list reads every slot first
         return g_SaveData.LoadFromSlot(4) == 1;
       }},
      {"challenge progress", ProjectPathTable[kPathChallengeProgress],
       [] {
         cSaveData save;
         save.m_ChallengeResults.resize(5);
         save.m_RoundFlags.resize(4);
         save.m_Variables.resize(4);
         return ImageOf(save, ProjectPathTable[kPathChallengeProgress]);
       },
       [] { return g_SaveData.LoadChallengeData() == 1; }},
  };
  for (const sPlayerFile& file : files) {
    SCOPED_TRACE(file.name);
    const std::vector<std::uint8_t> good = file.image();
    ASSERT_GT(good.size(), 8u);
    ClearReport();
    ASSERT_TRUE(file.load()) << "the good image reads";
    EXPECT_EQ(ReportLines(), 0);
    int damagedReads = 0;
    for (const std::vector<std::uint8_t>& bytes : Damaged(good)) {
      WriteImage(file.path, bytes);
      ClearReport();
      const bool read = file.load();
      ASSERT_EQ(TakeMainWindowMessages(WM_CLOSE), 0) << bytes.size() << " bytes";
      // A file that did not read whole is reported in one line; one that still reads (a flipped
      // bit in a value) is simply used.
      if (!read) {
        ++damagedReads;
        ASSERT_EQ(ReportLines(), 1) << ReportText();
        EXPECT_NE(ReportText().find("が破損しています！"), std::string::npos);
      } else {
        ASSERT_EQ(ReportLines(), 0) << ReportText();
      }
    }
    EXPECT_GT(damagedReads, 0);
  }
}

TEST_F(PlayerFileDamageTest, ADamagedOptionFileLeavesTheOptionsAsTheyWere) {
  cOption good;
  good.m_SoundVolume = 2;
  const std::vector<std::uint8_t> image = ImageOf(good, ProjectPathTable[kPathOption]);
  std::vector<std::uint8_t> bytes = image;
  bytes[4] = 0x40;  // 64 numbers where the options hold four
  WriteImage(ProjectPathTable[kPathOption], bytes);
  cOption option;
  option.m_SoundVolume = 9;
  EXPECT_EQ(option.Load(ProjectPathTable[kPathOption].c_str()), 0);
  EXPECT_EQ(option.m_SoundVolume, 9);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

}  // namespace
