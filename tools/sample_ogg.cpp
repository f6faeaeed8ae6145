// The one OGG tune of the sample (the challenge screen's music): a short arpeggio of soft tones,
// encoded with the Vorbis encoder. The stream's serial number is fixed and nothing else varies, so
// every run writes the same bytes.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/sample_canvas.h"
#include "tools/sample_parts.h"

namespace {

constexpr int kRate = 22050;
constexpr int kSerial = 0x5A4D504C;

// Eight bars of broken chords (MIDI keys), each note an eighth at 120 beats a minute.
std::vector<float> TuneSamples() {
  static const int kChords[8][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62},
                                    {60, 64, 67}, {57, 60, 64}, {55, 59, 62}, {60, 64, 72}};
  const int noteSamples = kRate / 4;
  std::vector<float> samples;
  for (const auto& chord : kChords)
    for (int step = 0; step < 8; ++step) {
      const int key = chord[step % 3] + (step >= 4 ? 12 : 0);
      const double freq = 440.0 * std::pow(2.0, (key - 69) / 12.0);
      for (int i = 0; i < noteSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double envelope = std::exp(-6.0 * i / noteSamples);
        samples.push_back(static_cast<float>(0.3 * envelope * std::sin(2.0 * 3.14159265358979 * freq * t)));
      }
    }
  return samples;
}

void AppendPage(std::vector<std::uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

bool EncodeOgg(const std::vector<float>& samples, std::vector<std::uint8_t>& out) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kRate, 0.2f) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "Challenge");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerial);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

  constexpr std::size_t kChunk = 1024;
  std::size_t done = 0;
  bool ended = false;
  while (!ended) {
    const std::size_t count = std::min(kChunk, samples.size() - done);
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (std::size_t i = 0; i < count; ++i) buffer[0][i] = samples[done + i];
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      done += count;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          AppendPage(out, page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (count == 0 && !ended) {
      while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
      ended = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return true;
}

}  // namespace

bool WriteSampleOgg(const char* gamePath) {
  std::vector<std::uint8_t> bytes;
  return EncodeOgg(TuneSamples(), bytes) && WriteGameBytes(gamePath, bytes);
}
