// The sample's music: small standard MIDI files (format 0, a melody and a bass line on General
// MIDI instruments), and one OGG tune (sample_ogg.cpp).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample_canvas.h"
#include "tools/sample_parts.h"

namespace {

constexpr int kTicksPerQuarter = 96;
constexpr int kTicksPerStep = kTicksPerQuarter / 2;  // durations are counted in eighths

// A voice: its channel, General MIDI program, velocity and notes. Notes are written "C5:2" (pitch,
// octave, length in eighths), "R:2" for a rest, '#' for a sharp, separated by blanks.
struct Voice {
  std::uint8_t channel;
  std::uint8_t program;
  std::uint8_t velocity;
  const char* notes;
};

struct Tune {
  const char* path;
  int beatsPerMinute;
  std::vector<Voice> voices;
};

const std::vector<Tune>& Tunes() {
  static const std::vector<Tune> tunes = {
      {"bgm\\Title.mid", 132,
       {{0, 80, 100, "C5:2 E5:2 G5:2 C6:2 B5:2 G5:2 E5:4 F5:2 A5:2 C6:2 A5:2 G5:6 R:2 "
                     "E5:2 G5:2 C6:2 E6:2 D6:2 B5:2 G5:4 A5:2 B5:2 C6:2 D6:2 C6:6 R:2"},
        {1, 33, 90, "C3:4 G3:4 C3:4 G3:4 F3:4 C4:4 G3:4 G3:4 C3:4 G3:4 C3:4 G3:4 F3:4 G3:4 C3:8"}}},
      {"bgm\\WorldMap.mid", 104,
       {{0, 73, 90, "G5:3 A5:1 G5:2 E5:2 D5:4 C5:4 E5:2 G5:2 A5:2 G5:2 E5:8 "
                    "G5:3 A5:1 G5:2 E5:2 D5:4 E5:4 D5:2 C5:2 D5:2 E5:2 C5:8"},
        {1, 32, 80, "C3:4 E3:4 F3:4 C3:4 A2:4 C3:4 G2:4 C3:4 C3:4 E3:4 F3:4 C3:4 G2:4 G2:4 C3:8"}}},
      {"bgm\\Stage.mid", 150,
       {{0, 81, 100, "E5:1 E5:1 R:1 E5:1 R:1 C5:1 E5:2 G5:4 G4:4 C5:3 G4:3 E4:3 A4:2 B4:2 A#4:1 A4:2 "
                     "G4:2 E5:2 G5:2 A5:2 F5:1 G5:1 R:1 E5:2 C5:1 D5:1 B4:3"},
        {1, 38, 90, "C3:2 C3:2 G2:2 G2:2 C3:2 C3:2 G2:2 G2:2 A2:2 A2:2 E2:2 E2:2 F2:2 F2:2 G2:2 G2:2 "
                    "C3:2 C3:2 G2:2 G2:2 F2:2 F2:2 G2:4"}}},
      {"bgm\\Castle.mid", 120,
       {{0, 19, 90, "A4:2 C5:2 E5:2 A5:2 G#5:4 E5:4 F5:2 E5:2 D5:2 C5:2 B4:8 "
                    "A4:2 C5:2 E5:2 A5:2 B5:4 G#5:4 A5:8 R:8"},
        {1, 43, 80, "A2:8 E2:8 D2:8 E2:8 A2:8 E2:8 A2:16"}}},
  };
  return tunes;
}

struct Event {
  std::uint32_t tick;
  std::uint8_t status;
  std::uint8_t data1;
  std::uint8_t data2;
};

int PitchOf(const std::string& name) {
  static const int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  std::size_t i = 0;
  int pitch = kSemitones[name[i++] - 'A'];
  if (i < name.size() && name[i] == '#') {
    ++pitch;
    ++i;
  }
  const int octave = name[i] - '0';
  return 12 * (octave + 1) + pitch;
}

// Note-on and note-off events of one voice; each note sounds a little shorter than its length.
void AddVoice(std::vector<Event>& events, const Voice& voice) {
  const auto on = static_cast<std::uint8_t>(0x90 | voice.channel);
  const auto off = static_cast<std::uint8_t>(0x80 | voice.channel);
  events.push_back({0, static_cast<std::uint8_t>(0xC0 | voice.channel), voice.program, 0});
  std::uint32_t tick = 0;
  const std::string notes = voice.notes;
  std::size_t pos = 0;
  while (pos < notes.size()) {
    const std::size_t end = notes.find(' ', pos);
    const std::string token = notes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? notes.size() : end + 1;
    if (token.empty()) continue;
    const std::size_t colon = token.find(':');
    const auto length = static_cast<std::uint32_t>(std::stoi(token.substr(colon + 1)) * kTicksPerStep);
    if (token[0] != 'R') {
      const auto key = static_cast<std::uint8_t>(PitchOf(token.substr(0, colon)));
      events.push_back({tick, on, key, voice.velocity});
      events.push_back({tick + length - length / 8, off, key, 0});
    }
    tick += length;
  }
}

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n-- > 0) out.push_back(static_cast<std::uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> EncodeTune(const Tune& tune) {
  std::vector<Event> events;
  for (const Voice& voice : tune.voices) AddVoice(events, voice);
  // Time order; at the same tick a note ends before the next begins, and voices keep their order.
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    return (a.status & 0xF0) == 0x80 && (b.status & 0xF0) != 0x80;
  });
  std::vector<std::uint8_t> track;
  // Tempo first: microseconds per quarter note.
  track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03});
  PutBigEndian(track, static_cast<std::uint32_t>(60000000 / tune.beatsPerMinute), 3);
  std::uint32_t last = 0;
  for (const Event& event : events) {
    PutVarLen(track, event.tick - last);
    last = event.tick;
    track.push_back(event.status);
    track.push_back(event.data1);
    if ((event.status & 0xF0) != 0xC0) track.push_back(event.data2);
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  PutBigEndian(out, 6, 4);
  PutBigEndian(out, 0, 2);  // format 0: one track
  PutBigEndian(out, 1, 2);
  PutBigEndian(out, kTicksPerQuarter, 2);
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  PutBigEndian(out, static_cast<std::uint32_t>(track.size()), 4);
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

}  // namespace

bool WriteSampleMusic() {
  bool ok = true;
  for (const Tune& tune : Tunes()) ok &= WriteGameBytes(tune.path, EncodeTune(tune));
  ok &= WriteSampleOgg(kMusicFiles[kMusicChallenge]);
  return ok;
}
