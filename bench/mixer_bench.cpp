// What the mixer costs on the null device, one device block at a time: 16 sound effects playing at
// once, and the same with the music on top, one OGG stream (the OGG library's player, as the music
// manager plays it) and one MIDI stream through the synthesiser.
// The "cpu_per_audio_second" counter is the share of one core that playing in real time takes: the
// processor time of the whole process, so the OGG decoder's own thread is counted with the mix.
// Each block is mixed with the decoder settled (it has decoded what the block needs), as a real
// device finds it; the settling is timed too.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/effect_voices.h"
#include "platform/audio/midi_stream.h"
#include "platform/audio/vox.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/midi_synth.h"
#include "platform/host/ogg_stream.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/platform/audio/ogg_images.h"

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

// Sixteen looping effects at different volumes, in the mixer while the object lives.
class cEffects {
 public:
  cEffects() : m_Voices(std::make_shared<cEffectVoices>()) {
    AddMixSource(m_Voices);
    for (int i = 0; i < kEffectVoices; ++i) {
      m_Buffers.push_back(m_Voices->CreateBuffer(Tone(i % 2 == 0, 220.0 + 55.0 * i)));
      m_Buffers.back()->SetVolume(-100 * i);
      m_Buffers.back()->Play(DSBPLAY_LOOPING);
    }
  }
  ~cEffects() {
    m_Buffers.clear();
    RemoveMixSource(m_Voices.get());
  }

 private:
  std::shared_ptr<cEffectVoices> m_Voices;
  std::vector<SoundBufferPtr> m_Buffers;
};

void AppendVarLen(MidiBytes& out, std::uint32_t value) {
  std::uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(static_cast<std::uint8_t>(bytes[--n] | 0x80));
  out.push_back(bytes[0]);
}

// Eight bars of a busy arrangement at 120 beats a minute: piano chords, held strings, an eighth-note
// bass line and a drum kit, up to a dozen notes at once.
MidiBytes BenchTune() {
  struct Event {
    std::uint32_t tick;
    MidiBytes bytes;
  };
  constexpr std::uint32_t kBeat = 96;
  std::vector<Event> events = {{0, {0xC0, 0x00}}, {0, {0xC1, 48}}, {0, {0xC2, 33}}};
  auto note = [&](std::uint32_t at, std::uint32_t length, std::uint8_t channel, std::uint8_t key) {
    events.push_back({at, {static_cast<std::uint8_t>(0x90 | channel), key, 0x60}});
    events.push_back({at + length, {static_cast<std::uint8_t>(0x80 | channel), key, 0x00}});
  };
  constexpr std::uint8_t kRoots[] = {60, 57, 53, 55};
  for (std::uint32_t bar = 0; bar < 8; ++bar) {
    const std::uint8_t root = kRoots[bar % 4];
    const std::uint32_t start = bar * 4 * kBeat;
    for (const std::uint8_t step : {0, 4, 7}) note(start, 4 * kBeat, 1, static_cast<std::uint8_t>(root - 12 + step));
    for (std::uint32_t beat = 0; beat < 4; ++beat)
      for (const std::uint8_t step : {0, 4, 7, 12}) note(start + beat * kBeat, kBeat, 0, static_cast<std::uint8_t>(root + step));
    for (std::uint32_t eighth = 0; eighth < 8; ++eighth) {
      const std::uint32_t at = start + eighth * kBeat / 2;
      note(at, kBeat / 2, 2, static_cast<std::uint8_t>(root - 24 + (eighth % 2) * 7));
      note(at, kBeat / 4, 9, 42);
      if (eighth % 4 == 0) note(at, kBeat / 4, 9, 36);
      if (eighth % 4 == 2) note(at, kBeat / 4, 9, 38);
    }
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
  MidiBytes track = TempoEvent(0, 500000);
  std::uint32_t last = 0;
  for (const Event& e : events) {
    AppendVarLen(track, e.tick - last);
    track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    last = e.tick;
  }
  track.insert(track.end(), kEndOfTrack.begin(), kEndOfTrack.end());
  return SmfFile(0, static_cast<std::uint16_t>(kBeat), {track});
}

// A game folder of its own for the music files, removed afterwards.
class cBenchFolder {
 public:
  cBenchFolder() {
    m_Previous = std::filesystem::current_path();
    m_Folder = std::filesystem::temp_directory_path() / ("mixer_bench_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(m_Folder / "bgm");
    std::filesystem::current_path(m_Folder);
  }
  ~cBenchFolder() {
    std::filesystem::current_path(m_Previous);
    std::filesystem::remove_all(m_Folder);
  }
  static void Write(const std::string& relative, const std::string& bytes) {
    std::ofstream(relative, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path m_Previous;
  std::filesystem::path m_Folder;
};

void ReportRate(benchmark::State& state) {
  const double audioSeconds = static_cast<double>(state.iterations()) * kBlockFrames / kMixRate;
  // Seconds of processor (the process's, every thread) per second of sound: the share of one core
  // that real time takes. Rates are taken over the processor time the benchmark measures.
  state.counters["cpu_per_audio_second"] =
      benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MixSixteenEffects(benchmark::State& state) {
  OpenAudioDevice(false);
  {
    cEffects effects;
    std::vector<std::int16_t> out(kBlockFrames * kMixChannels);
    for (auto _ : state) {
      RenderMix(out.data(), kBlockFrames);
      benchmark::DoNotOptimize(out.data());
    }
    ReportRate(state);
  }
  CloseAudioDevice();
}
BENCHMARK(BM_MixSixteenEffects)->MeasureProcessCPUTime();

void BM_MixSixteenEffectsOggAndMidi(benchmark::State& state) {
  if (FindSoundFont().empty()) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return;
  }
  cBenchFolder folder;
  // Three seconds of a three-note chord, stereo at 44100 Hz, as a typical title tune's file would be.
  std::vector<float> chord = ToneSamples(261.63, 3 * 44100, 44100, 2, 0.2f);
  for (const double hz : {329.63, 392.0}) {
    const std::vector<float> tone = ToneSamples(hz, 3 * 44100, 44100, 2, 0.2f);
    for (std::size_t i = 0; i < chord.size(); ++i) chord[i] += tone[i];
  }
  cBenchFolder::Write("bgm/bench.ogg", EncodeOgg(chord, 2, 44100));
  cBenchFolder::Write("bgm/bench.mid", AsText(BenchTune()));

  OpenAudioDevice(false);
  SetMidiOutputKind(MidiOutputKind::Synth);
  {
    cEffects effects;
    cVox vox;
    cMidiList midi;
    midi.SetCount(1);
    if (!vox.Init() || !vox.Create(1) || !vox.Play(0, "bgm\\bench.ogg", 1) || !midi.Play(0, "bgm\\bench.mid", 1)) {
      state.SkipWithError("the music did not start");
    } else {
      std::vector<std::int16_t> out(kBlockFrames * kMixChannels);
      for (auto _ : state) {
        SettleOggStreams();
        RenderMix(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
      }
      ReportRate(state);
    }
    midi.DeleteAll();
    vox.Release();
  }
  ReleaseSharedMidiSynth();
  SetMidiOutputKind(MidiOutputKind::Auto);
  CloseAudioDevice();
}
BENCHMARK(BM_MixSixteenEffectsOggAndMidi)->MeasureProcessCPUTime();

}  // namespace
