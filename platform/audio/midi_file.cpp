#include "platform/audio/midi_file.h"

#include <algorithm>
#include <cstring>

#include "platform/audio/midi_output.h"
#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

std::uint32_t Big32(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint32_t>(data[at]) << 24 | static_cast<std::uint32_t>(data[at + 1]) << 16 |
         static_cast<std::uint32_t>(data[at + 2]) << 8 | data[at + 3];
}

std::uint32_t Big16(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint32_t>(data[at]) << 8 | data[at + 1];
}

bool HasTag(std::span<const std::uint8_t> data, std::size_t at, const char* tag) {
  return data.size() >= at + 4 && std::memcmp(data.data() + at, tag, 4) == 0;
}

// Bytes after the status byte of a channel message.
std::uint32_t ChannelDataBytes(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

void PutBig32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

int ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value) {
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) {
    result = result << 7 | (bytes[i] & 0x7F);
    if (!(bytes[i] & 0x80)) {
      value = result;
      return static_cast<int>(i + 1);
    }
  }
  value = 0;
  return 0;
}

int WriteVarLen(std::span<std::uint8_t> bytes, std::uint32_t value) {
  if (value > kMidiMaxDelta) return 0;
  int count = 1;
  while (count < 4 && value >> (7 * count)) ++count;
  if (bytes.size() < static_cast<std::size_t>(count)) return 0;
  for (int i = 0; i < count; ++i) {
    const int shift = 7 * (count - 1 - i);
    bytes[i] = static_cast<std::uint8_t>((value >> shift & 0x7F) | (i + 1 < count ? 0x80 : 0));
  }
  return count;
}

cMidiFile::cMidiFile(const std::string& name) { Create(name); }

cMidiFile::cMidiFile(const std::string& name, std::span<const std::uint8_t> data) : m_Name(name) {
  if (auto image = Init(data)) m_Image = std::move(*image);
}

void cMidiFile::Create(const std::string& name) {
  m_Name = name;
  m_Image.clear();
  GameFile file = OpenGameFile(name, "rb");
  if (!file) {
    ReportLogAndLog("Midi %s Create %s", m_Name.c_str(), SJ("ファイルが開けません").c_str());
    return;
  }
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  std::fseek(file.get(), 0, SEEK_SET);
  if (size < 0) {
    ReportLogAndLog("Midi %s Create %s", m_Name.c_str(), SJ("ファイルが開けません").c_str());
    return;
  }
  if (static_cast<std::uint64_t>(size) > kMidiMaxFileBytes) {
    ReportTooLarge(static_cast<std::uint64_t>(size));
    return;
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size), 0);
  // A read that stops early leaves the rest zero, and zeros are refused or end a track like any
  // other damage.
  const std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file.get());
  data.resize(got);
  if (auto image = Init(data)) m_Image = std::move(*image);
}

std::optional<std::vector<std::uint8_t>> cMidiFile::Init(std::span<const std::uint8_t> data) {
  auto refuse = [this](const char* why) {
    ReportLogAndLog("Midi %s Init %s", m_Name.c_str(), SJ(why).c_str());
    return std::nullopt;
  };
  if (data.size() > kMidiMaxFileBytes) {
    ReportTooLarge(data.size());
    return std::nullopt;
  }
  if (!HasTag(data, 0, "MThd")) return refuse("標準MIDIでない(4)");
  // A header that says 6 bytes but is cut short of them is no header of 6 either.
  if (data.size() < 14 || Big32(data, 4) != 6) return refuse("標準MIDIでない(6)");
  const std::uint32_t format = Big16(data, 8);
  if (format == 2) return refuse("対応フォーマットが2でない");
  if (format > 2) return refuse("対応フォーマットが0または1でない");
  if (!HasTag(data, 14, "MTrk")) return refuse("標準MIDIでない(4)");
  return MergeTracks(data);
}

std::vector<std::uint8_t> cMidiFile::MergeTracks(std::span<const std::uint8_t> data) {
  // Without the header's counts and division there is nothing to merge.
  if (data.size() < 14) return {};
  std::vector<cTrackEvent> events;
  std::uint64_t endTime = 0;
  ParseTracks(data, events, endTime);
  SortEvents(events);
  return WriteMergedImage(data, events, endTime);
}

void cMidiFile::ReportTooLarge(std::uint64_t size) {
  ReportLogAndLog("Midi %s Create file too large (%llu bytes)", m_Name.c_str(), static_cast<unsigned long long>(size));
}

void cMidiFile::ReportTrackFault(int track, std::uint32_t offset, const std::string& what) {
  ReportLogAndLog("Midi %s Init track %d: %s at offset %u", m_Name.c_str(), track, what.c_str(),
                  static_cast<unsigned>(offset));
}

void cMidiFile::ParseTracks(std::span<const std::uint8_t> data, std::vector<cTrackEvent>& events,
                            std::uint64_t& endTime) {
  const std::uint32_t trackCount = Big16(data, 10);
  const std::uint64_t size = data.size();
  std::uint64_t chunk = 14;
  endTime = 0;
  for (std::uint32_t track = 0; track < trackCount && chunk + 8 <= size;) {
    const std::uint64_t body = chunk + 8;
    const std::uint64_t declared = Big32(data, chunk + 4);
    const bool isTrack = HasTag(data, chunk, "MTrk");
    chunk = body + declared;
    // Chunks of other kinds may stand between tracks; they are not music.
    if (!isTrack) continue;
    const std::uint64_t end = std::min(body + declared, size);
    endTime = std::max(endTime, ParseTrack(static_cast<int>(track), data, static_cast<std::uint32_t>(body),
                                           static_cast<std::uint32_t>(end), events));
    ++track;
  }
}

std::uint64_t cMidiFile::ParseTrack(int track, std::span<const std::uint8_t> data, std::uint32_t begin,
                                    std::uint32_t end, std::vector<cTrackEvent>& events) {
  std::uint64_t time = 0;
  std::uint64_t lastTime = 0;
  std::uint8_t running = 0;  // the last channel status: meta and system events leave it
  std::uint32_t at = begin;
  auto left = [&] { return data.subspan(at, end - at); };
  // A variable-length number that does not end: cut short by the track end, or too long.
  auto badNumber = [&] {
    ReportTrackFault(
        track, at,
        end - at >= 4 ? "a variable-length number longer than 4 bytes" : "an event cut short by the end of the track");
  };

  while (at < end) {
    std::uint32_t delta = 0;
    const int deltaBytes = ReadVarLen(left(), delta);
    if (deltaBytes == 0) {
      badNumber();
      break;
    }
    const std::uint32_t eventStart = at;
    at += deltaBytes;
    time += delta;
    if (at >= end) {
      ReportTrackFault(track, eventStart, "an event cut short by the end of the track");
      break;
    }

    std::uint8_t status = data[at];
    if (status & 0x80) {
      ++at;
    } else if (running) {
      status = running;
    } else {
      ReportTrackFault(track, at, "running status without an earlier channel status");
      break;
    }

    std::uint64_t length = 0;
    if (status < 0xF0) {
      length = ChannelDataBytes(status);
      running = status;
    } else if (status == 0xFF) {
      if (at >= end) {
        ReportTrackFault(track, eventStart, "an event cut short by the end of the track");
        break;
      }
      const std::uint8_t type = data[at];
      if (type == 0x2F) return time;  // the track's end; the merge adds one of its own
      std::uint32_t dataLength = 0;
      const int lengthBytes = ReadVarLen(data.subspan(at + 1, end - at - 1), dataLength);
      if (lengthBytes == 0) {
        ++at;
        badNumber();
        break;
      }
      length = 1 + static_cast<std::uint64_t>(lengthBytes) + dataLength;
    } else if (status == 0xF0 || status == 0xF7) {
      std::uint32_t dataLength = 0;
      const int lengthBytes = ReadVarLen(left(), dataLength);
      if (lengthBytes == 0) {
        badNumber();
        break;
      }
      // The stream carries the status byte and the data in one long message of 24-bit length.
      if (dataLength + 1ull > kMidiMaxLongData) {
        ReportTrackFault(track, eventStart, "a system-exclusive message too long to send");
        break;
      }
      length = static_cast<std::uint64_t>(lengthBytes) + dataLength;
    } else {
      ReportTrackFault(track, at - 1, FormatString("unknown status byte %02X", status));
      break;
    }
    if (length > end - at) {
      ReportTrackFault(track, eventStart, "an event cut short by the end of the track");
      break;
    }
    events.push_back(cTrackEvent{time, at, static_cast<std::uint32_t>(length), status});
    lastTime = time;
    at += static_cast<std::uint32_t>(length);
  }
  // Without its end event (cut short, or damaged) a track ends with its last whole event.
  return lastTime;
}

void cMidiFile::SortEvents(std::vector<cTrackEvent>& events) {
  // The events stand track after track, each track in time order; a stable sort by time is the merge
  // that takes the lower track first at equal times and keeps each track's order.
  std::stable_sort(events.begin(), events.end(),
                   [](const cTrackEvent& a, const cTrackEvent& b) { return a.time < b.time; });
}

std::vector<std::uint8_t> cMidiFile::WriteMergedImage(std::span<const std::uint8_t> data,
                                                      const std::vector<cTrackEvent>& events, std::uint64_t endTime) {
  std::vector<std::uint8_t> image = {'M', 'T',      'h',      'd', 0,   0,   0,   6, 0, 0, 0,
                                     1,   data[12], data[13], 'M', 'T', 'r', 'k', 0, 0, 0, 0};
  std::uint64_t previous = 0;
  std::uint8_t number[4];
  // A gap longer than a delta time can hold is shortened to the longest one; the later events keep
  // their places relative to each other.
  auto putDelta = [&](std::uint64_t time) {
    const std::uint64_t gap = std::min<std::uint64_t>(time - previous, kMidiMaxDelta);
    previous = time;
    const int count = WriteVarLen(number, static_cast<std::uint32_t>(gap));
    image.insert(image.end(), number, number + count);
  };
  for (const cTrackEvent& event : events) {
    putDelta(event.time);
    image.push_back(event.status);
    image.insert(image.end(), data.begin() + event.offset, data.begin() + event.offset + event.length);
  }
  putDelta(std::max(endTime, previous));
  image.insert(image.end(), {0xFF, 0x2F, 0x00});
  PutBig32(image, 18, static_cast<std::uint32_t>(image.size() - kMidiImageHeaderBytes));
  return image;
}
