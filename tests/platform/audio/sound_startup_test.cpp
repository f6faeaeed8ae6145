#include <string>
#include <vector>

#include "platform/audio/sound_effects.h"
#include "platform/host/audio_mixer.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/support/game_folder.h"

namespace {

class SoundStartupTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    SetRealAudioWanted(false);
    WaveLayout ramp;
    ramp.samples = Ramp8(100);
    WriteHostFile("wave/a.wav", WaveImage(ramp));
  }
  void TearDown() override {
    DS_Release();
    g_SoundTable.clear();
    g_SoundSlotDefs.clear();
    SetRealAudioWanted(true);
    GameFolderTest::TearDown();
  }

  static std::vector<std::string> Names(const char* prefix, int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(prefix + std::to_string(i));
    return names;
  }
};

TEST_F(SoundStartupTest, TablesHoldTheSystemSoundsThenOneRowPerDatabaseRecordAfterTheFirst) {
  const struct {
    int records;
    int rows;
  } cases[] = {{5, 21}, {1, 17}, {0, 17}, {2, 18}};
  for (const auto& c : cases) {
    BuildSoundTables(Names("sys", 17), Names("db", c.records));
    ASSERT_EQ(g_SoundTable.Size(), c.rows) << c.records;
    ASSERT_EQ(g_SoundSlotDefs.Size(), c.rows);
    for (int i = 0; i < c.rows; ++i) {
      const SoundSlotDef& def = g_SoundSlotDefs[static_cast<std::size_t>(i)];
      EXPECT_EQ(def.name, i < 17 ? "sys" + std::to_string(i) : "db" + std::to_string(i - 16)) << i;
      EXPECT_EQ(def.dupCount, 1);
      EXPECT_EQ(def.volume, 0);
      EXPECT_EQ(def.reserved, 1);
    }
  }
  // A short system list leaves the rest of the system rows without a file.
  BuildSoundTables(Names("sys", 3), {});
  EXPECT_EQ(g_SoundSlotDefs[2].name, "sys2");
  EXPECT_EQ(g_SoundSlotDefs[16].name, "");
}

TEST_F(SoundStartupTest, StartUpLoadsAtTheOptionVolumeAndTheOptionSceneChangesBufferZero) {
  BuildSoundTables(std::vector<std::string>(17, "wave\\a.wav"), {"", "wave\\a.wav", "wave\\missing.wav"});
  for (SoundSlotDef& def : g_SoundSlotDefs) def.dupCount = 2;
  ASSERT_TRUE(InitSoundEffects(nullptr, 0));
  EXPECT_EQ(g_DirectSound->m_Primary.rate, 22050);
  EXPECT_EQ(g_DirectSound->m_Primary.bits, 8);
  EXPECT_EQ(g_DirectSound->m_Primary.channels, 1);
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(DS_GetVolume(g_SoundTable.At(i), 0), -10000) << i;
    EXPECT_EQ(DS_GetVolume(g_SoundTable.At(i), 1), -10000) << i;
  }
  EXPECT_TRUE(g_SoundTable.At(18).buffers.empty());

  ApplySoundVolumeOption(3);
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(17), 0), -1300);
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(17), 1), -10000);
  ApplySoundVolumeOption(42);  // a damaged option file: the loudest row
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(0), 0), 0);
}

}  // namespace
