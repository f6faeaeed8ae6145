#pragma once
// Hand-built MIDI files and merged images for the MIDI tests, written byte by byte (big-endian, as
// the format is) so that every field can be damaged on its own.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using MidiBytes = std::vector<std::uint8_t>;

inline void AppendBig(MidiBytes& out, std::uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void AppendTag(MidiBytes& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

inline MidiBytes Concat(std::initializer_list<MidiBytes> parts) {
  MidiBytes out;
  for (const MidiBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A chunk: tag, the body's length (or the length given), the body.
inline MidiBytes Chunk(const char* tag, const MidiBytes& body, std::optional<std::uint32_t> length = std::nullopt) {
  MidiBytes out;
  AppendTag(out, tag);
  AppendBig(out, length.value_or(static_cast<std::uint32_t>(body.size())), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline MidiBytes HeaderChunk(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  MidiBytes body;
  AppendBig(body, format, 2);
  AppendBig(body, tracks, 2);
  AppendBig(body, division, 2);
  return Chunk("MThd", body);
}

// A standard MIDI file with one MTrk chunk per track body.
inline MidiBytes SmfFile(std::uint16_t format, std::uint16_t division, const std::vector<MidiBytes>& tracks) {
  MidiBytes out = HeaderChunk(format, static_cast<std::uint16_t>(tracks.size()), division);
  for (const MidiBytes& track : tracks) {
    MidiBytes chunk = Chunk("MTrk", track);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

// A merged image as the merge writes it: the 22-byte header, then events (ending in FF 2F 00).
inline MidiBytes MergedImage(std::uint16_t division, const MidiBytes& events) {
  return Concat({HeaderChunk(0, 1, division), Chunk("MTrk", events)});
}

inline std::string AsText(const MidiBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Tempo meta event FF 51 03 with its delta (a single-byte delta).
inline MidiBytes TempoEvent(std::uint8_t delta, std::uint32_t tempo) {
  return {delta,
          0xFF,
          0x51,
          0x03,
          static_cast<std::uint8_t>(tempo >> 16),
          static_cast<std::uint8_t>(tempo >> 8),
          static_cast<std::uint8_t>(tempo)};
}

inline const MidiBytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

// The stream events of a filled buffer: delta, stream identifier and event word of each, with the
// data of a long event.
struct BufferEvent {
  std::uint32_t delta;
  std::uint32_t stream;
  std::uint32_t event;
  MidiBytes data;
  bool operator==(const BufferEvent&) const = default;
};

inline std::uint32_t LittleWord(const std::vector<std::uint8_t>& block, std::size_t at) {
  std::uint32_t word;
  std::memcpy(&word, block.data() + at, sizeof word);
  return word;
}

inline std::vector<BufferEvent> BufferEvents(const std::vector<std::uint8_t>& block, std::uint32_t recorded) {
  std::vector<BufferEvent> events;
  std::size_t at = 0;
  while (at + 12 <= recorded) {
    BufferEvent e{LittleWord(block, at), LittleWord(block, at + 4), LittleWord(block, at + 8), {}};
    at += 12;
    if (e.event & 0x80000000u) {
      const std::uint32_t length = e.event & 0xFFFFFF;
      e.data.assign(block.begin() + static_cast<std::ptrdiff_t>(at),
                    block.begin() + static_cast<std::ptrdiff_t>(at + length));
      at += (length + 3) & ~3u;
    }
    events.push_back(std::move(e));
  }
  return events;
}
