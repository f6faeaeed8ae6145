#pragma once
// Hand-built WAVE files for the effect tests, laid out byte by byte so that every field can be
// damaged on its own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/byte_builder.h"

// A RIFF chunk with its pad byte after an odd size.
inline std::string RiffChunk(const char* id, const std::string& body) {
  cByteBuilder b;
  b.Bytes(std::string_view(id, 4)).U32(static_cast<std::uint32_t>(body.size())).Bytes(body);
  if (body.size() % 2) b.U8(0);
  return b.Text();
}

// A RIFF "WAVE" file around chunks given whole.
inline std::string RiffWave(const std::string& chunks) {
  return cByteBuilder()
      .Bytes("RIFF")
      .U32(static_cast<std::uint32_t>(chunks.size() + 4))
      .Bytes("WAVE")
      .Bytes(chunks)
      .Text();
}

struct WaveLayout {
  std::uint16_t tag = 1;
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 8;
  std::optional<std::uint16_t> blockAlign;  // channels * bits / 8 unless given
  std::uint32_t fmtBytes = 16;              // 14 cuts before the sample size; 18 and more add cbSize
  std::vector<std::uint8_t> samples;
  std::optional<std::uint32_t> dataSize;  // what the data chunk claims, if not the truth
  std::string between;                    // whole chunks between "fmt " and "data"
  std::optional<std::uint32_t> riffSize;
};

inline std::string WaveImage(const WaveLayout& w) {
  const std::uint16_t block = w.blockAlign.value_or(static_cast<std::uint16_t>(w.channels * (w.bits / 8)));
  cByteBuilder fmt;
  fmt.U16(w.tag).U16(w.channels).U32(w.rate).U32(w.rate * block).U16(block).U16(w.bits);
  std::string fmtBody = fmt.Text();
  if (w.fmtBytes >= 18) {
    fmtBody += cByteBuilder().U16(static_cast<std::uint16_t>(w.fmtBytes - 18)).Text();
    fmtBody.resize(w.fmtBytes, '\x7F');
  } else {
    fmtBody.resize(w.fmtBytes);
  }
  std::string dataBody(w.samples.begin(), w.samples.end());
  std::string data;
  if (w.dataSize) {
    data = cByteBuilder().Bytes("data").U32(*w.dataSize).Bytes(dataBody).Text();
  } else {
    data = RiffChunk("data", dataBody);
  }
  std::string body = "WAVE" + RiffChunk("fmt ", fmtBody) + w.between + data;
  return cByteBuilder()
      .Bytes("RIFF")
      .U32(w.riffSize.value_or(static_cast<std::uint32_t>(body.size())))
      .Bytes(body)
      .Text();
}

// n bytes of 8-bit samples rising from 0 by step (wrapping).
inline std::vector<std::uint8_t> Ramp8(int n, int step = 1) {
  std::vector<std::uint8_t> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * step);
  return v;
}

// n frames of one constant 16-bit value on every channel.
inline std::vector<std::uint8_t> Constant16(int frames, int channels, std::int16_t value) {
  cByteBuilder b;
  for (int i = 0; i < frames * channels; ++i) b.I16(value);
  return b.Data();
}
