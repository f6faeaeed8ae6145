#include "platform/audio/wave_file.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/effect_voices.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/support/game_folder.h"

namespace {

class WaveFileTest : public GameFolderTest {};

struct WaveCase {
  const char* name;
  WaveLayout layout;
  bool loads;
  std::size_t bytes;  // sample bytes read when it loads
};

WaveLayout Mono8(int n) {
  WaveLayout w;
  w.samples = Ramp8(n, 3);
  return w;
}

WaveLayout With(WaveLayout w, auto change) {
  change(w);
  return w;
}

std::vector<WaveCase> Cases() {
  return {
      {"8-bit mono 22050", Mono8(100), true, 100},
      {"16-bit stereo 44100",
       With(Mono8(0),
            [](WaveLayout& w) {
              w.channels = 2;
              w.bits = 16;
              w.rate = 44100;
              w.samples = Constant16(25, 2, 1000);
            }),
       true, 100},
      {"fmt of 18 bytes", With(Mono8(10), [](WaveLayout& w) { w.fmtBytes = 18; }), true, 10},
      {"fmt of 40 bytes", With(Mono8(10), [](WaveLayout& w) { w.fmtBytes = 40; }), true, 10},
      {"odd fmt of 19 bytes and its pad", With(Mono8(10), [](WaveLayout& w) { w.fmtBytes = 19; }), true, 10},
      {"odd LIST chunk before the data", With(Mono8(10), [](WaveLayout& w) { w.between = RiffChunk("LIST", "INFOx"); }),
       true, 10},
      {"fact and empty chunks before the data",
       With(Mono8(10),
            [](WaveLayout& w) { w.between = RiffChunk("fact", std::string("\x0a\0\0\0", 4)) + RiffChunk("junk", ""); }),
       true, 10},
      {"data size beyond the file", With(Mono8(100), [](WaveLayout& w) { w.dataSize = 100000; }), true, 100},
      {"data size beyond the file, whole blocks",
       With(Mono8(0),
            [](WaveLayout& w) {
              w.channels = 2;
              w.bits = 16;
              w.samples = Constant16(25, 2, 5);
              w.samples.push_back(7);
              w.dataSize = 0xFFFFFFFF;
            }),
       true, 100},
      {"odd data in whole blocks only",
       With(Mono8(0),
            [](WaveLayout& w) {
              w.bits = 16;
              w.samples = {1, 2, 3};
            }),
       true, 2},
      {"RIFF size beyond the file", With(Mono8(10), [](WaveLayout& w) { w.riffSize = 0x7FFFFFF0; }), true, 10},
      {"format tag 2 (ADPCM)", With(Mono8(10), [](WaveLayout& w) { w.tag = 2; }), false, 0},
      {"format tag 3 (float)",
       With(Mono8(10),
            [](WaveLayout& w) {
              w.tag = 3;
              w.bits = 32;
            }),
       false, 0},
      {"format tag 0xFFFE (extensible)",
       With(Mono8(10),
            [](WaveLayout& w) {
              w.tag = 0xFFFE;
              w.fmtBytes = 40;
            }),
       false, 0},
      {"fmt of 14 bytes", With(Mono8(10), [](WaveLayout& w) { w.fmtBytes = 14; }), false, 0},
      {"fmt of 0 bytes", With(Mono8(10), [](WaveLayout& w) { w.fmtBytes = 0; }), false, 0},
      {"channels 0",
       With(Mono8(10),
            [](WaveLayout& w) {
              w.channels = 0;
              w.blockAlign = 1;
            }),
       false, 0},
      {"rate 0", With(Mono8(10), [](WaveLayout& w) { w.rate = 0; }), false, 0},
      {"bits 0",
       With(Mono8(10),
            [](WaveLayout& w) {
              w.bits = 0;
              w.blockAlign = 1;
            }),
       false, 0},
      {"bits 12",
       With(Mono8(10),
            [](WaveLayout& w) {
              w.bits = 12;
              w.blockAlign = 2;
            }),
       false, 0},
      {"block size against the format", With(Mono8(10), [](WaveLayout& w) { w.blockAlign = 3; }), false, 0},
      {"data size 0", Mono8(0), false, 0},
      {"less than one block",
       With(Mono8(0),
            [](WaveLayout& w) {
              w.bits = 16;
              w.channels = 2;
              w.samples = {1, 2, 3};
            }),
       false, 0},
      {"RIFF size that ends before the data", With(Mono8(10), [](WaveLayout& w) { w.riffSize = 4 + 24; }), false, 0},
  };
}

TEST_F(WaveFileTest, FixtureTable) {
  for (const WaveCase& c : Cases()) {
    const std::string image = WaveImage(c.layout);
    WriteHostFile("wave/t.wav", image);
    WaveData wave;
    EXPECT_EQ(ReadWaveFile("wave\\t.wav", &wave), c.loads) << c.name;
    ASSERT_EQ(wave.samples.size(), c.bytes) << c.name;
    if (!c.loads) continue;
    EXPECT_EQ(wave.format.nChannels, c.layout.channels) << c.name;
    EXPECT_EQ(wave.format.nSamplesPerSec, c.layout.rate) << c.name;
    EXPECT_EQ(wave.format.wBitsPerSample, c.layout.bits) << c.name;
    // The bytes read are the data chunk's, never a neighbour's.
    EXPECT_TRUE(std::equal(wave.samples.begin(), wave.samples.end(), c.layout.samples.begin())) << c.name;
    FreeWaveData(&wave);
    EXPECT_TRUE(wave.samples.empty());
  }
}

TEST_F(WaveFileTest, FilesThatAreNotWavesAreRefused) {
  const std::string good = WaveImage(Mono8(10));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"RIFF of another form", "RIFF\x04\0\0\0AVI "},
      {"not RIFF", "RIFX" + good.substr(4)},
      {"no data chunk", good.substr(0, 12 + 24)},
      {"data before the format", RiffWave(RiffChunk("data", "abcd") + RiffChunk("fmt ", good.substr(20, 16)))},
  };
  for (const auto& c : cases) {
    WriteHostFile("x.wav", c.bytes);
    WaveData wave;
    EXPECT_FALSE(ReadWaveFile("x.wav", &wave)) << c.name;
  }
  // The same two chunks in the order the reader descends in load.
  WriteHostFile("x.wav", RiffWave(RiffChunk("fmt ", good.substr(20, 16)) + RiffChunk("data", "abcd")));
  WaveData wave;
  EXPECT_TRUE(ReadWaveFile("x.wav", &wave));
  EXPECT_FALSE(ReadWaveFile("missing.wav", &wave));
  EXPECT_TRUE(wave.samples.empty());
}

// Every cut and a spread of damaged bytes: the reader refuses or gives whole blocks of what the file
// holds, and what it gives either converts or is refused, without a crash.
TEST_F(WaveFileTest, DamagedFilesNeverCrash) {
  WaveLayout layout = With(Mono8(0), [](WaveLayout& w) {
    w.channels = 2;
    w.bits = 16;
    w.samples = Constant16(40, 2, -3);
    w.between = RiffChunk("LIST", "INFOabc");
  });
  const std::string good = WaveImage(layout);
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  std::vector<std::string> damaged;
  for (std::size_t cut = 0; cut < good.size(); ++cut) damaged.push_back(good.substr(0, cut));
  for (int i = 0; i < 200; ++i) {
    std::string bytes = good;
    for (int k = 0; k < 3; ++k) bytes[next() % 64] = static_cast<char>(next() >> 16);
    damaged.push_back(bytes);
  }
  for (const std::string& bytes : damaged) {
    WriteHostFile("d.wav", bytes);
    WaveData wave;
    if (!ReadWaveFile("d.wav", &wave)) continue;
    ASSERT_LE(wave.samples.size(), bytes.size());
    ASSERT_GT(wave.format.nBlockAlign, 0);
    ASSERT_EQ(wave.samples.size() % wave.format.nBlockAlign, 0u);
    auto samples = ConvertToMixFormat(wave.format, wave.samples);
    if (samples) {
      ASSERT_LE(samples->frames, kMaxEffectFrames);
    }
  }
}

}  // namespace
