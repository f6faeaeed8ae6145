#pragma once
// Standard MIDI files (format 0 or 1), read whole and merged into one track: the image the stream
// player converts. The image is a format-0 file of its own (all numbers big-endian):
//
//   0  "MThd", 6, format 0, 1 track, the file's time division
//   14 "MTrk", the track length L
//   22 the events, each a variable-length delta time and the event with its status byte always
//      present, in time order (equal times: lower track first), ending with one FF 2F 00
//
// Every read of the file is bounded by its size and by its track chunks; a damaged track ends where
// the damage is, with a report line, and keeps the events before it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::uint32_t kMidiImageHeaderBytes = 22;
// The longest delta time a variable-length quantity of 4 bytes holds.
constexpr std::uint32_t kMidiMaxDelta = 0x0FFFFFFF;
// Larger files are not music a game ships; they are refused before anything is allocated for them.
constexpr std::uint64_t kMidiMaxFileBytes = 16u << 20;

// A variable-length quantity from the start of bytes: the number of bytes it took (1 to 4), or 0
// when a fourth byte still has its continuation bit or bytes end first (value is then 0).
int ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value);
// Writes value as a variable-length quantity at the start of bytes: the number of bytes written
// (1 to 4), or 0, with nothing written, for values of 2^28 and more or when bytes is too short.
int WriteVarLen(std::span<std::uint8_t> bytes, std::uint32_t value);

class cMidiFile {
 public:
  // Reads the file name (a game path); see Create.
  explicit cMidiFile(const std::string& name);
  // A file already in memory, for the same checks and merge as one read from disk.
  cMidiFile(const std::string& name, std::span<const std::uint8_t> data);
  cMidiFile(const cMidiFile&) = delete;
  cMidiFile& operator=(const cMidiFile&) = delete;
  virtual ~cMidiFile() = default;

  // Remembers name, reads the file whole and keeps its merged image; no image (and one report
  // line) when it cannot be read or is refused.
  void Create(const std::string& name);
  // Checks the header and merges: the image, or nothing when the file is refused (report line).
  std::optional<std::vector<std::uint8_t>> Init(std::span<const std::uint8_t> data);
  // The merge of a file whose header has been checked.
  std::vector<std::uint8_t> MergeTracks(std::span<const std::uint8_t> data);

  bool HasImage() const { return !m_Image.empty(); }
  const std::vector<std::uint8_t>& Image() const { return m_Image; }
  const std::string& Name() const { return m_Name; }

 protected:
  std::vector<std::uint8_t> m_Image;  // empty when there is none
  std::string m_Name;

 private:
  // One event of a track: its absolute time, its status byte, and where its bytes after the status
  // byte lie in the file.
  struct cTrackEvent {
    std::uint64_t time;
    std::uint32_t offset;
    std::uint32_t length;
    std::uint8_t status;
  };

  // Every track's events, track after track, and the latest end time of all tracks.
  void ParseTracks(std::span<const std::uint8_t> data, std::vector<cTrackEvent>& events, std::uint64_t& endTime);
  // One track chunk's events [begin, end) of data; returns the track's end time.
  std::uint64_t ParseTrack(int track, std::span<const std::uint8_t> data, std::uint32_t begin, std::uint32_t end,
                           std::vector<cTrackEvent>& events);
  void ReportTooLarge(std::uint64_t size);
  void ReportTrackFault(int track, std::uint32_t offset, const std::string& what);
  static void SortEvents(std::vector<cTrackEvent>& events);
  static std::vector<std::uint8_t> WriteMergedImage(std::span<const std::uint8_t> data,
                                                    const std::vector<cTrackEvent>& events, std::uint64_t endTime);
};
