// The OGG library's players and the host's OGG stream, rendered on the null device: seamless loops,
// loop counts, chained sections that change rate and channels, stop and restart, and damaged files.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/vox.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/ogg_stream.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "tests/platform/audio/ogg_images.h"
#include "tests/support/game_folder.h"

namespace {

constexpr double kPi2 = 6.283185307179586;
// 441 Hz fits exactly 441 periods in a second at the mixer's rate: a one-second file of it, looped,
// is one unbroken sine, so any gap or repeat at the seam shows as a jump away from that sine.
constexpr double kToneHz = 441;
constexpr float kToneAmplitude = 0.5f;
constexpr double kTonePeak = kToneAmplitude * 32767.0;
// Vorbis at the encoder's quality 0.6 keeps this tone within about 1.7 % of its peak. A slip of a
// single frame anywhere moves the signal by more than 6 %.
constexpr double kToneTolerance = 600;

class VoxTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    OpenAudioDevice(false);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    const cVoxModule* module = LoadVoxModule("Vox.dll");
    ASSERT_NE(module, nullptr);
    m_CreateVox = GetVoxProc(module, "CreateVox");
    FreeVoxModule(module);
    ASSERT_NE(m_CreateVox, nullptr);
  }

  void TearDown() override {
    CloseTrace();
    CloseAudioDevice();
    SetVoxLibraryMissing(false);
    GameFolderTest::TearDown();
  }

  // Renders frames frames in device-sized blocks, the decoders settled before each, as a real device
  // would find them.
  static std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kMixChannels);
    for (int at = 0; at < frames;) {
      const int n = std::min(512, frames - at);
      SettleOggStreams();
      RenderMix(out.data() + static_cast<std::size_t>(at) * kMixChannels, n);
      at += n;
    }
    return out;
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  CreateVoxProc m_CreateVox = nullptr;
};

std::int16_t Left(const std::vector<std::int16_t>& out, int frame) { return out[static_cast<std::size_t>(frame) * 2]; }
std::int16_t Right(const std::vector<std::int16_t>& out, int frame) {
  return out[static_cast<std::size_t>(frame) * 2 + 1];
}

// The largest distance, over frames [from, to), of the left channel from the looped tone.
double ToneError(const std::vector<std::int16_t>& out, int from, int to) {
  double worst = 0;
  for (int i = from; i < to; ++i)
    worst = std::max(worst, std::abs(Left(out, i) - kTonePeak * std::sin(kPi2 * kToneHz * i / kMixRate)));
  return worst;
}

// The last frame with any sound, or -1.
int LastSounding(const std::vector<std::int16_t>& out) {
  for (int i = static_cast<int>(out.size() / 2) - 1; i >= 0; --i)
    if (Left(out, i) != 0 || Right(out, i) != 0) return i;
  return -1;
}

// Sign changes of one channel over [from, to): twice the pitch times the duration.
int Crossings(const std::vector<std::int16_t>& out, int channel, int from, int to) {
  int count = 0;
  for (int i = from + 1; i < to; ++i) {
    const int a = out[static_cast<std::size_t>(i - 1) * 2 + static_cast<std::size_t>(channel)];
    const int b = out[static_cast<std::size_t>(i) * 2 + static_cast<std::size_t>(channel)];
    if ((a < 0) != (b < 0)) ++count;
  }
  return count;
}

TEST_F(VoxTest, ToneLoopsWithoutSeam) {
  WriteHostFile("bgm/tone.ogg", ToneOgg(kToneHz, 1.0, 44100, 2, kToneAmplitude));
  cOggStream stream;
  ASSERT_TRUE(stream.Open("bgm\\tone.ogg"));
  stream.SetLoopCount(kOggLoopForever);
  stream.Play();
  const auto out = Render(kMixRate * 7 / 2);

  EXPECT_EQ(stream.UnderrunFrames(), 0);
  EXPECT_TRUE(stream.IsPlaying());
  EXPECT_LT(ToneError(out, 0, kMixRate / 2), kToneTolerance);
  for (int seam : {kMixRate, 2 * kMixRate, 3 * kMixRate}) {
    SCOPED_TRACE(seam);
    EXPECT_LT(ToneError(out, seam - 1000, seam + 1000), kToneTolerance);
  }
  // And nowhere else either: the whole render is the one sine.
  EXPECT_LT(ToneError(out, 0, kMixRate * 7 / 2), kToneTolerance);
}

TEST_F(VoxTest, DecoderAndMixerRunSideBySide) {
  // No settling: the decoder thread refills while the mixer drains, as under a real device. Every
  // frame the mixer asked for was either played or counted as missing.
  WriteHostFile("bgm/tone.ogg", ToneOgg(kToneHz, 1.0, 44100, 2, kToneAmplitude));
  cOggStream stream;
  ASSERT_TRUE(stream.Open("bgm\\tone.ogg"));
  stream.SetLoopCount(kOggLoopForever);
  stream.Play();
  std::vector<std::int16_t> out(512 * kMixChannels);
  constexpr int kBlocks = 400;
  for (int i = 0; i < kBlocks; ++i) {
    RenderMix(out.data(), 512);
    if (i % 4 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(stream.PlayedFrames() + stream.UnderrunFrames(), kBlocks * 512);
  EXPECT_GT(stream.PlayedFrames(), kOggRingFrames);
  EXPECT_TRUE(stream.IsPlaying());
  stream.Stop();
  EXPECT_FALSE(stream.IsPlaying());
}

TEST_F(VoxTest, LoopCountSaysHowOftenTheFileRepeats) {
  WriteHostFile("bgm/tone.ogg", ToneOgg(kToneHz, 1.0, 44100, 2, kToneAmplitude));
  for (const int loops : {0, 1, 2}) {
    SCOPED_TRACE(loops);
    std::unique_ptr<cVoxPlayer> player = m_CreateVox();
    ASSERT_NE(player->Load("bgm\\tone.ogg"), 0);
    player->SetLoop(loops);
    player->Play();
    const int end = (loops + 1) * kMixRate;
    const auto out = Render(end + kMixRate / 2);
    // The tone's last frame is well away from zero; the next pass would begin right after it.
    EXPECT_EQ(LastSounding(out), end - 1);
    EXPECT_LT(ToneError(out, 0, end), kToneTolerance);
    player->Release();
  }
}

TEST_F(VoxTest, ChainedSectionsKeepTheirPitchAndSides) {
  // Three sections of one chain, each of its own rate and channel count: 300 Hz mono at 22050 Hz,
  // then 600 Hz on the left only at 48000 Hz, then 400 Hz on the centre of six channels at 32000 Hz.
  std::vector<float> leftOnly = ToneSamples(600, 24000, 48000, 2, 0.5f);
  for (std::size_t i = 1; i < leftOnly.size(); i += 2) leftOnly[i] = 0;
  std::vector<float> centre(8000 * 6, 0.0f);
  const std::vector<float> centreTone = ToneSamples(400, 8000, 32000, 1, 0.5f);
  for (std::size_t i = 0; i < centreTone.size(); ++i) centre[i * 6 + 1] = centreTone[i];
  WriteHostFile("bgm/chain.ogg", EncodeOgg(ToneSamples(300, 11025, 22050, 1, 0.5f), 1, 22050, 1) +
                                     EncodeOgg(leftOnly, 2, 48000, 2) + EncodeOgg(centre, 6, 32000, 3));
  std::unique_ptr<cVoxPlayer> player = m_CreateVox();
  ASSERT_NE(player->Load("bgm\\chain.ogg"), 0);
  player->SetLoop(0);
  player->Play();
  const auto out = Render(kMixRate * 3 / 2);

  // Half a second, half a second and a quarter, each at the mixer's rate.
  const int firstEnd = kMixRate / 2;
  const int secondEnd = kMixRate;
  const int end = kMixRate * 5 / 4;
  EXPECT_NEAR(LastSounding(out), end, 3);
  // 300 Hz over 20000 frames crosses zero 272 times; 600 Hz 544 times; 400 Hz over 9000 frames 163.
  EXPECT_NEAR(Crossings(out, 0, 1000, 21000), 272, 3);
  EXPECT_NEAR(Crossings(out, 1, 1000, 21000), 272, 3);
  EXPECT_NEAR(Crossings(out, 0, firstEnd + 1000, firstEnd + 21000), 544, 3);
  int rightPeak = 0;
  for (int i = firstEnd + 1000; i < secondEnd - 1000; ++i) rightPeak = std::max(rightPeak, std::abs(Right(out, i)));
  EXPECT_LT(rightPeak, 300);
  EXPECT_NEAR(Crossings(out, 0, secondEnd + 1000, secondEnd + 10000), 163, 3);
  int sideDifference = 0;
  for (int i = secondEnd + 1000; i < end - 1000; ++i)
    sideDifference = std::max(sideDifference, std::abs(Left(out, i) - Right(out, i)));
  EXPECT_LT(sideDifference, 300);
}

TEST_F(VoxTest, StopIsImmediateAndPlayStartsOver) {
  WriteHostFile("bgm/tone.ogg", ToneOgg(kToneHz, 1.0, 44100, 2, kToneAmplitude));
  std::unique_ptr<cVoxPlayer> player = m_CreateVox();
  ASSERT_NE(player->Load("bgm\\tone.ogg"), 0);
  player->SetLoop(kVoxLoopForever);
  player->Play();
  const auto first = Render(kMixRate / 4);
  player->Stop();
  EXPECT_EQ(LastSounding(Render(kMixRate / 10)), -1);
  player->Play();
  EXPECT_EQ(Render(kMixRate / 4), first);
  player->Close();
  EXPECT_EQ(LastSounding(Render(kMixRate / 10)), -1);
  // Nothing is loaded any more: play has nothing to start.
  player->Play();
  EXPECT_EQ(LastSounding(Render(kMixRate / 10)), -1);
}

TEST_F(VoxTest, FilesThatAreNotOggVorbisDoNotLoad) {
  const std::string good = ToneOgg(kToneHz, 1.0, 44100, 2);
  std::string badHeader = good;
  for (std::size_t i = 40; i < 80; ++i) badHeader[i] ^= 0x55;
  std::string noise = "OggS";
  for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 7919) >> 3);
  const std::string wave = std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(28, '\0');
  struct Case {
    const char* what;
    const char* file;  // nullptr: no file at all
    std::string bytes;
  };
  const Case cases[] = {
      {"missing", nullptr, {}},
      {"empty", "bgm/x.ogg", {}},
      {"wave", "bgm/x.ogg", wave},
      {"noise after a capture pattern", "bgm/x.ogg", noise},
      {"headers cut short", "bgm/x.ogg", good.substr(0, good.size() / 10)},
      {"damaged identification header", "bgm/x.ogg", badHeader},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(m_Folder / "bgm/x.ogg");
    if (c.file) WriteHostFile(c.file, c.bytes);
    std::unique_ptr<cVoxPlayer> player = m_CreateVox();
    EXPECT_EQ(player->Load("bgm\\x.ogg"), 0);
    player->Play();
    EXPECT_EQ(LastSounding(Render(kMixRate / 10)), -1);
  }
  EXPECT_EQ(m_CreateVox()->Load(""), 0);
  EXPECT_EQ(m_CreateVox()->Load(nullptr), 0);
}

TEST_F(VoxTest, DamagedStreamStopsWithOneReportLine) {
  std::string file = ToneOgg(kToneHz, 4.0, 44100, 2, kToneAmplitude);
  // A stretch of the audio pages three quarters in: the headers are whole, so the file loads.
  for (std::size_t i = file.size() * 3 / 4; i < file.size() * 3 / 4 + 40; ++i) file[i] ^= 0x55;
  WriteHostFile("bgm/hurt.ogg", file);
  const std::size_t linesBefore = ReportLines().size();
  std::unique_ptr<cVoxPlayer> player = m_CreateVox();
  ASSERT_NE(player->Load("bgm\\hurt.ogg"), 0);
  player->SetLoop(kVoxLoopForever);
  player->Play();
  const auto out = Render(kMixRate * 6);

  // What came before the damage played as it was, then silence, though the loop had no end.
  EXPECT_LT(ToneError(out, 0, kMixRate / 2), kToneTolerance);
  EXPECT_GT(LastSounding(out), kMixRate / 2);
  EXPECT_LT(LastSounding(out), kMixRate * 4);
  const auto lines = ReportLines();
  ASSERT_EQ(lines.size(), linesBefore + 1);
  EXPECT_NE(lines.back().find("bgm\\hurt.ogg"), std::string::npos);
  EXPECT_NE(lines.back().find(Cp932ToUtf8(SJ(" の再生に失敗！"))), std::string::npos);
}

TEST_F(VoxTest, DamagedFilesNeverCrash) {
  const std::string good = ToneOgg(kToneHz, 2.0, 22050, 2, kToneAmplitude);
  std::vector<std::string> variants;
  for (std::size_t cut = 0; cut < good.size(); cut += good.size() / 16) variants.push_back(good.substr(0, cut));
  // Bytes flipped by a fixed generator, more of them each time, everywhere in the file.
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 40; ++round) {
    std::string damaged = good;
    for (int k = 0; k <= round % 8; ++k) damaged[next() % damaged.size()] ^= static_cast<char>(1 + next() % 255);
    variants.push_back(damaged);
  }
  // Two files spliced in the middle of a page.
  variants.push_back(good.substr(0, good.size() / 2) + good.substr(good.size() / 3));
  for (std::size_t v = 0; v < variants.size(); ++v) {
    SCOPED_TRACE(v);
    WriteHostFile("bgm/x.ogg", variants[v]);
    std::unique_ptr<cVoxPlayer> player = m_CreateVox();
    if (!player->Load("bgm\\x.ogg")) continue;
    player->SetLoop(kVoxLoopForever);
    player->Play();
    Render(kMixRate / 2);
    player->Release();
  }
}

TEST_F(VoxTest, ReleasedPlayersLeaveNoThreads) {
  auto threads = [] {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
  };
  WriteHostFile("bgm/tone.ogg", ToneOgg(kToneHz, 1.0, 44100, 2, kToneAmplitude));
  const int before = threads();
  for (int i = 0; i < 40; ++i) {
    std::unique_ptr<cVoxPlayer> player = m_CreateVox();
    ASSERT_NE(player->Load("bgm\\tone.ogg"), 0);
    player->SetLoop(kVoxLoopForever);
    player->Play();
    Render(256);
    player->Release();
  }
  EXPECT_EQ(threads(), before);
}

TEST_F(VoxTest, LibraryIsFoundByNameAndCanBeMissing) {
  const cVoxModule* module = LoadVoxModule("VOX.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetVoxProc(module, "CreateVox"), nullptr);
  EXPECT_EQ(GetVoxProc(module, "createvox"), nullptr);
  FreeVoxModule(module);
  EXPECT_EQ(LoadVoxModule("Other.dll"), nullptr);
  SetVoxLibraryMissing(true);
  EXPECT_EQ(LoadVoxModule("Vox.dll"), nullptr);
  EXPECT_EQ(VoxModuleUseCount(), 0);
}

}  // namespace
