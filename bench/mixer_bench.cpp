// What the mixer costs: one device block of 16 sound effects playing at once, on the null device.
// The "cpu_per_audio_second" counter is the share of one core that mixing in real time takes; the
// music streams join the same mix as they are built.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/effect_voices.h"
#include "platform/host/audio_mixer.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kEffectVoices = 16;

// A second of tone in the effects' two usual file forms: 8-bit mono at 22050 Hz, 16-bit stereo at
// 44100 Hz.
std::shared_ptr<const EffectSamples> Tone(bool eightBitMono, double hz) {
  WaveFormat f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = eightBitMono ? 1 : 2;
  f.wBitsPerSample = eightBitMono ? 8 : 16;
  f.nSamplesPerSec = eightBitMono ? 22050 : 44100;
  f.nBlockAlign = static_cast<std::uint16_t>(f.nChannels * f.wBitsPerSample / 8);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t i = 0; i < f.nSamplesPerSec; ++i) {
    const double s = std::sin(6.283185307179586 * hz * i / f.nSamplesPerSec);
    if (eightBitMono) {
      bytes.push_back(static_cast<std::uint8_t>(128 + 100 * s));
    } else {
      const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(12000 * s));
      for (int c = 0; c < 2; ++c) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
      }
    }
  }
  return ConvertToMixFormat(f, bytes);
}

void BM_MixSixteenEffects(benchmark::State& state) {
  OpenAudioDevice(false);
  auto voices = std::make_shared<cEffectVoices>();
  AddMixSource(voices);
  std::vector<SoundBufferPtr> buffers;
  for (int i = 0; i < kEffectVoices; ++i) {
    buffers.push_back(voices->CreateBuffer(Tone(i % 2 == 0, 220.0 + 55.0 * i)));
    buffers.back()->SetVolume(-100 * i);
    buffers.back()->Play(DSBPLAY_LOOPING);
  }
  std::vector<std::int16_t> out(kBlockFrames * kMixChannels);
  for (auto _ : state) {
    RenderMix(out.data(), kBlockFrames);
    benchmark::DoNotOptimize(out.data());
  }
  const double audioSeconds = static_cast<double>(state.iterations()) * kBlockFrames / kMixRate;
  // Seconds of processor per second of sound: the share of one core that real time takes.
  state.counters["cpu_per_audio_second"] =
      benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  buffers.clear();
  RemoveMixSource(voices.get());
  CloseAudioDevice();
}
BENCHMARK(BM_MixSixteenEffects);

}  // namespace
