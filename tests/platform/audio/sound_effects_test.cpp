#include "platform/audio/sound_effects.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/audio_mixer.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

class SoundEffectsTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    SetRealAudioWanted(false);
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    WaveLayout ramp;
    ramp.samples = Ramp8(1000, 7);
    WriteHostFile("wave/ramp.wav", WaveImage(ramp));
  }

  void TearDown() override {
    DS_Release();
    CloseTrace();
    g_SoundTable.clear();
    g_SoundSlotDefs.clear();
    SetRealAudioWanted(true);
    GameFolderTest::TearDown();
  }

  // Both tables with rows rows, each naming file.
  void MakeTables(int rows, const std::string& file, std::int32_t dupCount = 1, std::int32_t volume = 0) {
    g_SoundTable.clear();
    g_SoundTable.resize(static_cast<std::size_t>(rows));
    g_SoundSlotDefs.assign(static_cast<std::size_t>(rows), SoundSlotDef{file, dupCount, volume, 1});
  }

  std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kMixChannels);
    RenderMix(out.data(), frames);
    return out;
  }

  static std::vector<int> PlayingEntries() {
    std::vector<int> playing;
    for (int i = 0; i < g_SoundTable.Size(); ++i)
      for (const auto& buffer : g_SoundTable[static_cast<std::size_t>(i)].buffers)
        if (buffer->IsPlaying()) playing.push_back(i);
    return playing;
  }
};

TEST_F(SoundEffectsTest, DuplicateCountThreeTakesTurnsAndTheFourthPlayRestartsTheFirst) {
  MakeTables(1, "wave\\ramp.wav", 3);
  ASSERT_TRUE(DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0));
  SOUNDDATA& entry = g_SoundTable[0];
  ASSERT_EQ(entry.count, 3);
  ASSERT_EQ(entry.buffers.size(), 3u);
  EXPECT_EQ(entry.path, "wave\\ramp.wav");
  // One copy of the samples for the three buffers.
  EXPECT_EQ(entry.buffers[1]->Samples(), entry.buffers[0]->Samples());
  EXPECT_EQ(entry.buffers[2]->Samples(), entry.buffers[0]->Samples());

  ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
  for (int play = 0; play < 4; ++play) {
    EXPECT_EQ(entry.next, play % 3);
    DS_Play(entry, 0);
    Render(10);
  }
  CloseTrace();
  EXPECT_EQ(entry.buffers[0]->Position(), 10);  // cut off and started again
  EXPECT_EQ(entry.buffers[1]->Position(), 30);
  EXPECT_EQ(entry.buffers[2]->Position(), 20);
  EXPECT_EQ(ReadHostFile("trace.txt"),
            "sound play 0 buffer 0\nsound play 0 buffer 1\nsound play 0 buffer 2\nsound play 0 buffer 0\n");
}

TEST_F(SoundEffectsTest, DuplicateCountBelowOneMakesOneBuffer) {
  const struct {
    std::int32_t dupCount, buffers;
  } cases[] = {{0, 1}, {-5, 1}, {std::numeric_limits<std::int32_t>::min(), 1}, {1, 1}, {2, 2}};
  for (const auto& c : cases) {
    SOUNDDATA entry;
    ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", c.dupCount, 0)) << c.dupCount;
    EXPECT_EQ(entry.count, c.buffers);
    EXPECT_EQ(entry.buffers.size(), static_cast<std::size_t>(c.buffers));
    DS_Play(entry, 0);
    DS_Play(entry, 0);
    EXPECT_EQ(entry.next, 2 % c.buffers);
    DS_Free(entry);
    EXPECT_TRUE(entry.buffers.empty());
    EXPECT_EQ(g_DirectSound->m_Voices->VoiceCount(), 0);
  }
}

TEST_F(SoundEffectsTest, PlaySeOffsetZeroPlaysNothingAndTwoPlaysEntryEighteen) {
  MakeTables(19, "wave\\ramp.wav");
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0);
  MainWindowQueue().BindToCurrentThread([](const HostMessage& msg) -> std::intptr_t {
    if (msg.message == WM_GAME_PLAYSE) HandlePlaySeMessage(msg.wParam);
    return 0;
  });
  PlaySEOffset(0);
  EXPECT_TRUE(PlayingEntries().empty());
  PlaySEOffset(2);
  EXPECT_EQ(PlayingEntries(), std::vector<int>{18});

  // A bad index takes the checked table's failure road: the report line and a close request.
  PlaySE(19);
  MainWindowQueue().UnbindFromCurrentThread();
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("err V[19] ( 19 ,"), std::string::npos);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(SoundEffectsTest, SetVolumeRelativeAndAbsoluteAreClamped) {
  SOUNDDATA entry;
  ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", 2, 0));
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t start, volume, relative, expected;
  } cases[] = {
      {-9800, -500, 1, -10000}, {0, 200, 0, 0},        {0, 200, 1, 0},
      {-500, -300, 1, -800},    {-500, -300, 0, -300}, {0, -20000, 0, -10000},
      {-100, kMin, 1, -10000},  {-100, kMax, 1, 0},    {-100, -50, 2, -50},
  };
  for (const auto& c : cases) {
    DS_SetVolume(entry, 1, c.start, 0);
    EXPECT_EQ(DS_SetVolume(entry, 1, c.volume, c.relative), c.expected) << c.start << " " << c.volume;
    EXPECT_EQ(DS_GetVolume(entry, 1), c.expected);
    EXPECT_EQ(entry.buffers[1]->GetVolume(), c.expected);
  }
  EXPECT_EQ(DS_GetVolume(entry, 0), 0);  // the other buffer keeps its own
  // No such buffer: nothing set, 0 returned.
  for (std::int32_t index : {-1, 2, kMax}) {
    EXPECT_EQ(DS_SetVolume(entry, index, -100, 0), 0);
    EXPECT_EQ(DS_GetVolume(entry, index), 0);
  }
  SOUNDDATA empty;
  EXPECT_EQ(DS_SetVolume(empty, 0, -100, 0), 0);
  DS_Free(entry);
}

TEST_F(SoundEffectsTest, OptionVolumeIsClampedBeforeTheTable) {
  const struct {
    std::int32_t option, volume;
  } cases[] = {{0, -10000}, {1, -3000},   {4, -800}, {5, -500}, {9, -30},
               {10, 0},     {-1, -10000}, {11, 0},   {1000, 0}, {std::numeric_limits<std::int32_t>::min(), -10000}};
  for (const auto& c : cases) EXPECT_EQ(SoundVolumeForOption(c.option), c.volume) << c.option;
}

TEST_F(SoundEffectsTest, OptionVolumeZeroSilencesEveryBuffer) {
  WaveLayout loud;
  loud.bits = 16;
  loud.samples = Constant16(500, 1, 20000);
  WriteHostFile("wave/loud.wav", WaveImage(loud));
  MakeTables(3, "wave\\loud.wav", 2, -300);
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, SoundVolumeForOption(0));
  for (SOUNDDATA& entry : g_SoundTable) {
    ASSERT_EQ(entry.count, 2);
    for (int j = 0; j < 2; ++j) EXPECT_EQ(DS_GetVolume(entry, j), -10000);
    DS_Play(entry, 0);
    DS_Play(entry, 0);
  }
  EXPECT_EQ(g_DirectSound->m_Voices->PlayingCount(), 6);
  for (std::int16_t v : Render(200)) ASSERT_EQ(v, 0);
}

TEST_F(SoundEffectsTest, OptionVolumeTenLeavesEachRowsOwnVolume) {
  MakeTables(2, "wave\\ramp.wav");
  g_SoundSlotDefs[1].volume = -300;
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, SoundVolumeForOption(10));
  EXPECT_EQ(DS_GetVolume(g_SoundTable[0], 0), 0);
  EXPECT_EQ(DS_GetVolume(g_SoundTable[1], 0), -300);
  // Loaded entries are skipped by a second pass, whatever volume it brings.
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, -2000);
  EXPECT_EQ(DS_GetVolume(g_SoundTable[0], 0), 0);
}

TEST_F(SoundEffectsTest, EightBitMonoAtHalfRateIsHeardAtTwiceTheLength) {
  SOUNDDATA entry;
  ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", 1, 0));
  ASSERT_EQ(entry.buffers[0]->Samples()->frames, 2000);
  DS_Play(entry, 0);
  auto out = Render(2010);
  const std::vector<std::uint8_t> ramp = Ramp8(1000, 7);
  for (int k = 0; k < 1000; ++k) {
    const std::int16_t expected = static_cast<std::int16_t>((ramp[static_cast<std::size_t>(k)] - 128) * 256);
    ASSERT_EQ(out[4 * k], expected) << k;      // left of frame 2k
    ASSERT_EQ(out[4 * k + 1], expected) << k;  // and right: mono is centred
  }
  for (int i = 2000; i < 2010; ++i) EXPECT_EQ(out[2 * i], 0);
  EXPECT_FALSE(entry.buffers[0]->IsPlaying());
  DS_Free(entry);
}

TEST_F(SoundEffectsTest, FailedLoadsLeaveTheirEntriesSilentAndTheRestLoad) {
  LogInit(1, "EC_Game.txt");
  WaveLayout nonPcm;
  nonPcm.tag = 2;
  nonPcm.samples = Ramp8(10);
  WaveLayout shortFmt;
  shortFmt.fmtBytes = 14;
  shortFmt.samples = Ramp8(10);
  WaveLayout noChannels;
  noChannels.channels = 0;
  noChannels.blockAlign = 1;
  noChannels.samples = Ramp8(10);
  WaveLayout noData;
  WaveLayout deep;
  deep.bits = 24;
  deep.samples = Ramp8(30);
  WriteHostFile("wave/adpcm.wav", WaveImage(nonPcm));
  WriteHostFile("wave/short.wav", WaveImage(shortFmt));
  WriteHostFile("wave/none.wav", WaveImage(noChannels));
  WriteHostFile("wave/empty.wav", WaveImage(noData));
  WriteHostFile("wave/deep.wav", WaveImage(deep));
  const std::vector<std::string> files{"wave\\ramp.wav", "wave\\missing.wav", "wave\\adpcm.wav", "wave\\short.wav",
                                       "wave\\none.wav", "wave\\empty.wav",   "wave\\deep.wav",  "wave\\RAMP.WAV"};
  MakeTables(static_cast<int>(files.size()), "", 2);
  for (std::size_t i = 0; i < files.size(); ++i) g_SoundSlotDefs[i].name = files[i];

  EXPECT_TRUE(DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const bool good = i == 0 || i == files.size() - 1;
    EXPECT_EQ(g_SoundTable[i].buffers.size(), good ? 2u : 0u) << files[i];
    EXPECT_EQ(g_SoundTable[i].count, good ? 2 : 0) << files[i];
    DS_Play(g_SoundTable[i], 0);
  }
  EXPECT_EQ(PlayingEntries(), (std::vector<int>{0, static_cast<int>(files.size()) - 1}));
  // Nothing made for a failed entry outlives its load.
  EXPECT_EQ(g_DirectSound->m_Voices->VoiceCount(), 4);
  LogInit(0, "EC_Game.txt");
  const std::string log = ReadHostFile("EC_Game.txt");
  EXPECT_NE(log.find("wave\\missing.wav読み込み失敗！"), std::string::npos) << log;
  EXPECT_NE(log.find("wave\\empty.wav読み込み失敗！"), std::string::npos) << log;
  EXPECT_NE(log.find("wave\\deep.wav生成失敗！"), std::string::npos) << log;
}

TEST_F(SoundEffectsTest, LoadingAnEntryAgainFreesWhatItHeld) {
  SOUNDDATA entry;
  ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", 3, 0));
  ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", 2, 0));
  EXPECT_EQ(g_DirectSound->m_Voices->VoiceCount(), 2);
  EXPECT_FALSE(DS_Load(entry, "wave\\missing.wav", 2, 0));
  EXPECT_TRUE(entry.buffers.empty());
  EXPECT_EQ(entry.count, 0);
  EXPECT_EQ(g_DirectSound->m_Voices->VoiceCount(), 0);
}

TEST_F(SoundEffectsTest, TwoFullScaleEffectsSaturate) {
  WaveLayout full;
  full.bits = 16;
  full.rate = 44100;
  full.samples = Constant16(100, 1, 32767);
  WriteHostFile("wave/full.wav", WaveImage(full));
  SOUNDDATA entry;
  ASSERT_TRUE(DS_Load(entry, "wave\\full.wav", 2, 0));
  DS_Play(entry, 0);
  DS_Play(entry, 0);
  for (std::int16_t v : Render(100)) ASSERT_EQ(v, 32767);
  DS_Free(entry);
}

TEST_F(SoundEffectsTest, VolumeChangesAreTraced) {
  MakeTables(2, "wave\\ramp.wav");
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0);
  ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
  DS_SetVolume(g_SoundTable[1], 0, -500, 0);
  DS_SetVolume(g_SoundTable[1], 0, -9800, 1);
  CloseTrace();
  EXPECT_EQ(ReadHostFile("trace.txt"), "sound volume 1 buffer 0 -500\nsound volume 1 buffer 0 -10000\n");
}

TEST_F(SoundEffectsTest, WithoutTheSoundObjectEverythingIsANoOp) {
  DS_Release();
  EXPECT_EQ(g_DirectSound, nullptr);
  SOUNDDATA entry;
  EXPECT_TRUE(DS_Load(entry, "wave\\ramp.wav", 1, 0));
  EXPECT_TRUE(entry.buffers.empty());
  DS_Play(entry, 0);
  EXPECT_EQ(DS_SetVolume(entry, 0, -100, 0), 0);
  EXPECT_EQ(DS_GetVolume(entry, 0), 0);
  EXPECT_TRUE(DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0));
}

TEST_F(SoundEffectsTest, NoSoundServerGivesOneReportLineAndTheNullDevice) {
  DS_Release();
  const char* before = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SetRealAudioWanted(true);
  EXPECT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  if (before) {
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
  EXPECT_EQ(CurrentAudioDevice(), AudioDeviceKind::Null);
  EXPECT_EQ(g_DirectSound->m_Device, AudioDeviceKind::Null);
  EXPECT_EQ(g_DirectSound->m_Primary.blockAlign, 1);
  EXPECT_EQ(g_DirectSound->m_Primary.bytesPerSec, 22050);
  const std::string report = ReadHostFile("Report_Game.txt");
  EXPECT_NE(report.find("サウンドデバイスを開けませんでした"), std::string::npos) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1);
  // Effects still load and play on the null device.
  SOUNDDATA entry;
  ASSERT_TRUE(DS_Load(entry, "wave\\ramp.wav", 1, 0));
  DS_Play(entry, 0);
  Render(5);
  EXPECT_EQ(entry.buffers[0]->Position(), 5);
  DS_Free(entry);
}

// The window thread and the game thread play the same entry while the audio thread mixes: every
// play takes its own turn, so the turns come out even.
TEST_F(SoundEffectsTest, PlaysFromTwoThreadsTakeTurnsUnderTheLock) {
  MakeTables(1, "wave\\ramp.wav", 3);
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0);
  std::atomic<bool> stop{false};
  std::thread mixer([&] {
    std::vector<std::int16_t> out(256 * kMixChannels);
    while (!stop) RenderMix(out.data(), 256);
  });
  auto player = [] {
    for (int i = 0; i < 3000; ++i) DS_Play(g_SoundTable[0], 0);
  };
  std::thread a(player), b(player);
  a.join();
  b.join();
  stop = true;
  mixer.join();
  EXPECT_EQ(g_SoundTable[0].next, 0);
  DS_Play(g_SoundTable[0], 0);
  EXPECT_EQ(g_SoundTable[0].next, 1);
}

}  // namespace
