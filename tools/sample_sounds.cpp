// The sounds of the sample, synthesised as short PCM WAVE files in the player's own format
// (22050 Hz, 8 bits, mono): chip-style tones that sweep, and noise for the rough ones.
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/sample_canvas.h"
#include "tools/sample_parts.h"

namespace {

constexpr int kRate = 22050;

enum class Wave { kSquare, kTriangle, kNoise };

// One note of a sound: the wave, the pitch at its start and end (Hz), its length and loudness
// (0-1); the loudness falls to zero over the note when decay is set.
struct Note {
  Wave wave;
  double from;
  double to;
  int ms;
  double level;
  bool decay;
};

struct SoundRow {
  const char* path;
  std::vector<Note> notes;
};

// System slots first (in slot order), then the project sounds.
const std::vector<SoundRow>& SoundRows() {
  static const std::vector<SoundRow> rows = {
      {"wave\\Cursor.wav", {{Wave::kSquare, 1200, 1200, 30, 0.35, true}}},
      {"wave\\Decide.wav", {{Wave::kSquare, 880, 880, 50, 0.4, false}, {Wave::kSquare, 1320, 1320, 80, 0.4, true}}},
      {"wave\\Cancel.wav", {{Wave::kSquare, 660, 440, 120, 0.4, true}}},
      {"wave\\Buzzer.wav", {{Wave::kSquare, 110, 110, 250, 0.45, false}}},
      {"wave\\Start.wav", {{Wave::kSquare, 523, 523, 80, 0.4, false}, {Wave::kSquare, 784, 784, 80, 0.4, false},
                           {Wave::kSquare, 1047, 1047, 160, 0.4, true}}},
      {"wave\\Save.wav", {{Wave::kTriangle, 660, 660, 80, 0.6, false}, {Wave::kTriangle, 990, 990, 160, 0.6, true}}},
      {"wave\\Switch.wav", {{Wave::kSquare, 700, 900, 60, 0.35, true}}},
      {"wave\\Damage.wav", {{Wave::kSquare, 400, 150, 200, 0.45, true}}},
      {"wave\\Miss.wav", {{Wave::kSquare, 700, 200, 600, 0.45, true}}},
      {"wave\\Defeat.wav", {{Wave::kNoise, 0, 0, 150, 0.5, true}}},
      {"wave\\Item.wav", {{Wave::kSquare, 600, 1200, 150, 0.4, true}}},
      {"wave\\Pause.wav", {{Wave::kSquare, 988, 988, 60, 0.35, false}, {Wave::kSquare, 740, 740, 60, 0.35, true}}},
      {"wave\\Clear.wav", {{Wave::kSquare, 523, 523, 120, 0.4, false}, {Wave::kSquare, 659, 659, 120, 0.4, false},
                           {Wave::kSquare, 784, 784, 120, 0.4, false}, {Wave::kSquare, 1047, 1047, 360, 0.4, true}}},
      {"wave\\GameOver.wav", {{Wave::kTriangle, 392, 392, 200, 0.6, false}, {Wave::kTriangle, 330, 330, 200, 0.6, false},
                              {Wave::kTriangle, 262, 262, 500, 0.6, true}}},
      {"wave\\Warning.wav", {{Wave::kSquare, 1500, 1500, 60, 0.35, false}, {Wave::kSquare, 1500, 1500, 60, 0.0, false},
                             {Wave::kSquare, 1500, 1500, 60, 0.35, true}}},
      {"wave\\OneUp.wav", {{Wave::kSquare, 659, 659, 70, 0.4, false}, {Wave::kSquare, 784, 784, 70, 0.4, false},
                           {Wave::kSquare, 1319, 1319, 70, 0.4, false}, {Wave::kSquare, 1047, 1047, 70, 0.4, false},
                           {Wave::kSquare, 1175, 1175, 70, 0.4, false}, {Wave::kSquare, 1568, 1568, 140, 0.4, true}}},
      {"wave\\Shot.wav", {{Wave::kNoise, 0, 0, 80, 0.4, true}}},
      {"wave\\Jump.wav", {{Wave::kSquare, 300, 900, 140, 0.4, true}}},
      {"wave\\Coin.wav", {{Wave::kSquare, 988, 988, 60, 0.35, false}, {Wave::kSquare, 1319, 1319, 240, 0.35, true}}},
      {"wave\\Stomp.wav", {{Wave::kSquare, 500, 120, 100, 0.5, true}}},
      {"wave\\Life.wav", {{Wave::kTriangle, 784, 784, 90, 0.6, false}, {Wave::kTriangle, 1047, 1047, 90, 0.6, false},
                          {Wave::kTriangle, 1568, 1568, 200, 0.6, true}}},
      {"wave\\Goal.wav", {{Wave::kSquare, 392, 784, 300, 0.4, false}, {Wave::kSquare, 784, 784, 300, 0.4, true}}},
      {"wave\\Block.wav", {{Wave::kNoise, 0, 0, 60, 0.4, false}, {Wave::kSquare, 150, 100, 80, 0.4, true}}},
  };
  return rows;
}

std::vector<std::uint8_t> Synthesise(const std::vector<Note>& notes) {
  std::vector<std::uint8_t> samples;
  std::uint32_t noise = 0x1234567u;  // the same noise on every run
  double phase = 0.0;
  for (const Note& note : notes) {
    const int count = note.ms * kRate / 1000;
    for (int i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) / count;
      const double freq = note.from + (note.to - note.from) * t;
      phase += freq / kRate;
      phase -= std::floor(phase);
      double value = 0.0;
      switch (note.wave) {
        case Wave::kSquare: value = phase < 0.5 ? 1.0 : -1.0; break;
        case Wave::kTriangle: value = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; break;
        case Wave::kNoise:
          noise = noise * 1103515245u + 12345u;
          value = static_cast<double>((noise >> 16) & 0xFF) / 127.5 - 1.0;
          break;
      }
      const double level = note.level * (note.decay ? 1.0 - t : 1.0);
      samples.push_back(static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * level * value)));
    }
  }
  return samples;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// RIFF "WAVE" with a 16-byte PCM "fmt " chunk and the "data" chunk (padded to an even size).
std::vector<std::uint8_t> EncodeWave(const std::vector<std::uint8_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size());
  const std::uint32_t pad = dataBytes % 2;
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes + pad);
  PutTag(out, "RIFF");
  PutU32(out, 4 + 8 + 16 + 8 + dataBytes + pad);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 1);  // mono
  PutU32(out, kRate);
  PutU32(out, kRate);  // bytes per second
  PutU16(out, 1);      // block alignment
  PutU16(out, 8);      // bits per sample
  PutTag(out, "data");
  PutU32(out, dataBytes);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad) out.push_back(0x80);
  return out;
}

}  // namespace

bool WriteSampleSounds() {
  bool ok = true;
  for (const SoundRow& row : SoundRows()) ok &= WriteGameBytes(row.path, EncodeWave(Synthesise(row.notes)));
  return ok;
}
