#pragma once
// PCM WAVE files, the sound effects' file form. The reader walks the RIFF chunks itself and trusts
// none of their sizes: whatever a damaged file says, nothing is read beyond its end.
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// The "fmt " chunk as the file lays it out. A chunk of 16 bytes ends before cbSize, which is then 0;
// a longer chunk is read only as far as this record goes.
struct WaveFormat {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
};

// What ReadWaveFile gives: the file's format and its sample bytes, a whole number of blocks.
struct WaveData {
  WaveFormat format;
  std::vector<std::uint8_t> samples;
};

// No sound buffer holds more than this, so a data chunk that claims more is refused before anything
// is allocated for it.
constexpr std::uint32_t kMaxWaveDataBytes = 0x0FFFFFFF;

// Reads a PCM WAVE file (a game path). False, with out left empty, when the file does not open, is
// not RIFF "WAVE", has no usable "fmt " chunk before its "data" chunk, is not PCM, has a format that
// contradicts itself (no channels, no rate, a sample size that is not whole bytes, a block size
// other than channels times sample bytes), or holds not one whole block of samples. A data chunk
// that claims more than the file holds is cut to the whole blocks that are there.
bool ReadWaveFile(const std::string& path, WaveData* out);
// Frees the sample bytes.
void FreeWaveData(WaveData* data);
