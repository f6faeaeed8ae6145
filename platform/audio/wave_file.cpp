#include "platform/audio/wave_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

#include "platform/host/game_files.h"

namespace {

// Bytes of WaveFormat as a file stores it (the record itself may be padded).
constexpr std::uint32_t kFormatRecordBytes = 18;
// Up to wBitsPerSample: a shorter "fmt " chunk cannot say how big a sample is.
constexpr std::uint32_t kMinFormatBytes = 16;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// One open file, read only inside [0, m_End): the end of the RIFF chunk or of the file, whichever
// comes first.
class cRiffReader {
 public:
  explicit cRiffReader(std::FILE* file) : m_File(file) {}

  bool Open() {
    if (std::fseek(m_File, 0, SEEK_END) != 0) return false;
    long size = std::ftell(m_File);
    if (size < 0) return false;
    m_End = static_cast<std::uint64_t>(size);
    std::uint8_t head[12];
    if (!Read(0, head, sizeof head)) return false;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return false;
    m_End = std::min<std::uint64_t>(m_End, 8 + static_cast<std::uint64_t>(Le32(head + 4)));
    return true;
  }

  struct Chunk {
    std::uint64_t body;  // where its bytes begin
    std::uint32_t size;  // what its header says
    std::uint64_t next;  // where the chunk after it begins (past a pad byte after an odd size)
    std::uint64_t Available(std::uint64_t end) const {
      return body >= end ? 0 : std::min<std::uint64_t>(size, end - body);
    }
  };

  // The first chunk called id at or after from; other chunks are stepped over.
  std::optional<Chunk> Find(const char* id, std::uint64_t from) {
    std::uint64_t pos = from;
    std::uint8_t head[8];
    while (pos + sizeof head <= m_End && Read(pos, head, sizeof head)) {
      Chunk chunk{pos + 8, Le32(head + 4), 0};
      chunk.next = chunk.body + chunk.size + (chunk.size & 1u);
      if (std::memcmp(head, id, 4) == 0) return chunk;
      pos = chunk.next;
    }
    return std::nullopt;
  }

  bool Read(std::uint64_t pos, void* into, std::size_t bytes) {
    if (pos > m_End || bytes > m_End - pos) return false;
    if (std::fseek(m_File, static_cast<long>(pos), SEEK_SET) != 0) return false;
    return std::fread(into, 1, bytes, m_File) == bytes;
  }

  std::uint64_t End() const { return m_End; }

 private:
  std::FILE* m_File;
  std::uint64_t m_End = 0;
};

WaveFormat DecodeFormat(const std::uint8_t* p, std::uint32_t bytes) {
  WaveFormat f;
  f.wFormatTag = Le16(p);
  f.nChannels = Le16(p + 2);
  f.nSamplesPerSec = Le32(p + 4);
  f.nAvgBytesPerSec = Le32(p + 8);
  f.nBlockAlign = Le16(p + 12);
  f.wBitsPerSample = Le16(p + 14);
  if (bytes >= kFormatRecordBytes) f.cbSize = Le16(p + 16);
  return f;
}

// A PCM format whose numbers agree with each other; the block size is what the data is cut by.
bool FormatIsSound(const WaveFormat& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels == 0 || f.nSamplesPerSec == 0) return false;
  if (f.wBitsPerSample == 0 || f.wBitsPerSample % 8 != 0) return false;
  return f.nBlockAlign == f.nChannels * (f.wBitsPerSample / 8);
}

bool ReadWave(std::FILE* file, WaveData* out) {
  cRiffReader riff(file);
  if (!riff.Open()) return false;

  auto fmt = riff.Find("fmt ", 12);
  if (!fmt) return false;
  const auto formatBytes =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(fmt->Available(riff.End()), kFormatRecordBytes));
  if (formatBytes < kMinFormatBytes) return false;
  std::uint8_t record[kFormatRecordBytes]{};
  if (!riff.Read(fmt->body, record, formatBytes)) return false;
  WaveFormat format = DecodeFormat(record, formatBytes);
  if (!FormatIsSound(format)) return false;

  // As the chunks are descended into: the samples come after the format.
  auto data = riff.Find("data", fmt->next);
  if (!data) return false;
  std::uint64_t bytes = data->Available(riff.End());
  bytes -= bytes % format.nBlockAlign;
  if (bytes == 0 || bytes > kMaxWaveDataBytes) return false;

  std::vector<std::uint8_t> samples;
  try {
    samples.resize(static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!riff.Read(data->body, samples.data(), samples.size())) return false;
  out->format = format;
  out->samples = std::move(samples);
  return true;
}

}  // namespace

bool ReadWaveFile(const std::string& path, WaveData* out) {
  if (!out) return false;
  FreeWaveData(out);
  out->format = {};
  GameFile file = OpenGameFile(path, "rb");
  if (!file) return false;
  return ReadWave(file.get(), out);
}

void FreeWaveData(WaveData* data) {
  if (!data) return;
  std::vector<std::uint8_t>().swap(data->samples);
}
