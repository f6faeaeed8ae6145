#include "platform/audio/effect_voices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/host/audio_mixer.h"
#include "tests/platform/audio/wave_images.h"

namespace {

WaveFormat Format(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels) {
  WaveFormat f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

TEST(EffectConversion, LengthIsTheSameTimeAtTheMixRate) {
  const struct {
    std::uint32_t rate;
    std::uint16_t bits, channels;
    int inFrames;
    std::int64_t outFrames;
  } cases[] = {
      {22050, 8, 1, 100, 200}, {11025, 8, 1, 7, 28}, {44100, 16, 2, 50, 50}, {8000, 8, 1, 7, 39},
      {48000, 16, 1, 100, 92}, {100, 8, 1, 1, 441},  {200000, 8, 2, 10, 3},  {22050, 16, 2, 1, 2},
  };
  for (const auto& c : cases) {
    WaveFormat f = Format(c.rate, c.bits, c.channels);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(c.inFrames) * f.nBlockAlign, 0x80);
    auto samples = ConvertToMixFormat(f, bytes);
    ASSERT_TRUE(samples) << c.rate;
    EXPECT_EQ(samples->frames, c.outFrames) << c.rate << " " << c.inFrames;
    EXPECT_EQ(samples->channels, c.channels);
    EXPECT_EQ(samples->data.size(), static_cast<std::size_t>(c.outFrames * c.channels));
  }
}

TEST(EffectConversion, EightBitHalfRateIsInterpolatedAndTheLastSampleHeld) {
  auto samples = ConvertToMixFormat(Format(22050, 8, 1), std::vector<std::uint8_t>{0x80, 0xFF, 0x00, 0x90});
  ASSERT_TRUE(samples);
  const std::vector<std::int16_t> expected{0, 16256, 32512, -128, -32768, -14336, 4096, 4096};
  EXPECT_EQ(samples->data, expected);
}

TEST(EffectConversion, SixteenBitStereoAtTheMixRateIsKeptAsItIs) {
  cByteBuilder b;
  b.I16(-32768).I16(32767).I16(1).I16(-1);
  auto samples = ConvertToMixFormat(Format(44100, 16, 2), b.Data());
  ASSERT_TRUE(samples);
  EXPECT_EQ(samples->data, (std::vector<std::int16_t>{-32768, 32767, 1, -1}));
}

TEST(EffectConversion, FormatsTheMixerCannotPlayAreRefused) {
  std::vector<std::uint8_t> bytes(60, 0x80);
  WaveFormat wrongBlock = Format(22050, 8, 1);
  wrongBlock.nBlockAlign = 2;
  WaveFormat notPcm = Format(22050, 8, 1);
  notPcm.wFormatTag = 3;
  const WaveFormat cases[] = {Format(22050, 24, 1),
                              Format(22050, 32, 1),
                              Format(22050, 8, 3),
                              Format(99, 8, 1),
                              Format(200001, 8, 1),
                              wrongBlock,
                              notPcm};
  for (const WaveFormat& f : cases)
    EXPECT_FALSE(ConvertToMixFormat(f, bytes)) << f.wBitsPerSample << " " << f.nSamplesPerSec;
  EXPECT_FALSE(ConvertToMixFormat(Format(22050, 16, 2), std::vector<std::uint8_t>(6)));  // not whole frames
  EXPECT_FALSE(ConvertToMixFormat(Format(22050, 8, 1), {}));
  // Longer than any effect may be once converted.
  EXPECT_FALSE(ConvertToMixFormat(Format(100, 8, 1), std::vector<std::uint8_t>(40000)));
}

TEST(EffectVolume, HundredthsOfADecibelToGain) {
  const struct {
    std::int32_t volume, gain;
  } cases[] = {{0, 65536}, {500, 65536}, {-10000, 0}, {-20000, 0}, {-600, 32845}, {-2000, 6554}, {-9999, 1}};
  for (const auto& c : cases) EXPECT_NEAR(VolumeToGain(c.volume), c.gain, 1) << c.volume;
}

class EffectVoicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenAudioDevice(false);
    m_Voices = std::make_shared<cEffectVoices>();
    AddMixSource(m_Voices);
  }
  void TearDown() override {
    RemoveMixSource(m_Voices.get());
    CloseAudioDevice();
  }

  std::shared_ptr<const EffectSamples> Constant(int frames, std::int16_t value, std::uint16_t channels = 1) {
    return ConvertToMixFormat(Format(kMixRate, 16, channels), Constant16(frames, channels, value));
  }

  std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kMixChannels);
    RenderMix(out.data(), frames);
    return out;
  }

  std::shared_ptr<cEffectVoices> m_Voices;
};

TEST_F(EffectVoicesTest, OneShotStopsAtItsEndAndLoopingGoesRound) {
  SoundBufferPtr once = m_Voices->CreateBuffer(Constant(10, 100));
  SoundBufferPtr loop = m_Voices->CreateBuffer(Constant(10, 1000));
  once->Play(0);
  loop->Play(DSBPLAY_LOOPING);
  auto out = Render(25);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(out[2 * i], i < 10 ? 1100 : 1000) << i;
  EXPECT_FALSE(once->IsPlaying());
  EXPECT_EQ(once->Position(), 0);
  EXPECT_TRUE(loop->IsPlaying());
  EXPECT_EQ(loop->Position(), 5);
}

TEST_F(EffectVoicesTest, MonoGoesToBothSidesAndStereoKeepsItsSides) {
  SoundBufferPtr mono = m_Voices->CreateBuffer(Constant(4, 300));
  cByteBuilder lr;
  for (int i = 0; i < 4; ++i) lr.I16(-50).I16(70);
  SoundBufferPtr stereo = m_Voices->CreateBuffer(ConvertToMixFormat(Format(kMixRate, 16, 2), lr.Data()));
  mono->Play(0);
  stereo->Play(0);
  auto out = Render(4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out[2 * i], 250);
    EXPECT_EQ(out[2 * i + 1], 370);
  }
}

TEST_F(EffectVoicesTest, DuplicatesShareSamplesButNotPositionOrVolume) {
  SoundBufferPtr first = m_Voices->CreateBuffer(Constant(100, 1000));
  first->SetVolume(-600);
  SoundBufferPtr copy = m_Voices->Duplicate(*first);
  EXPECT_EQ(copy->Samples(), first->Samples());
  EXPECT_EQ(copy->GetVolume(), -600);
  copy->SetVolume(0);
  EXPECT_EQ(first->GetVolume(), -600);
  first->Play(0);
  Render(30);
  copy->Play(0);
  Render(10);
  EXPECT_EQ(first->Position(), 40);
  EXPECT_EQ(copy->Position(), 10);
  EXPECT_EQ(m_Voices->VoiceCount(), 2);
  copy.reset();
  EXPECT_EQ(m_Voices->VoiceCount(), 1);
}

TEST_F(EffectVoicesTest, FullScaleVoicesSaturateAndNeverWrap) {
  const struct {
    std::int16_t a, b, expected;
  } cases[] = {{32767, 32767, 32767}, {-32768, -32768, -32768}, {32767, -32768, -1}, {20000, 20000, 32767}};
  for (const auto& c : cases) {
    SoundBufferPtr one = m_Voices->CreateBuffer(Constant(64, c.a));
    SoundBufferPtr two = m_Voices->CreateBuffer(Constant(64, c.b));
    one->Play(0);
    two->Play(0);
    for (std::int16_t v : Render(64)) ASSERT_EQ(v, c.expected) << c.a << " + " << c.b;
  }
}

TEST_F(EffectVoicesTest, SilencedVoiceStillRunsToItsEnd) {
  SoundBufferPtr voice = m_Voices->CreateBuffer(Constant(20, 32767));
  voice->SetVolume(-10000);
  voice->Play(0);
  for (std::int16_t v : Render(10)) ASSERT_EQ(v, 0);
  EXPECT_EQ(voice->Position(), 10);
  Render(10);
  EXPECT_FALSE(voice->IsPlaying());
}

}  // namespace
