#pragma once
// OGG Vorbis files made on the spot with the Vorbis encoder, for the OGG tests and the mixer
// benchmark: tones of a chosen pitch, rate and channel count, and chains of such sections.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// Interleaved samples of a sine tone, the same in every channel.
inline std::vector<float> ToneSamples(double hz, long frames, long rate, int channels, float amplitude) {
  std::vector<float> samples(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
  for (long i = 0; i < frames; ++i) {
    const auto v = static_cast<float>(amplitude * std::sin(6.283185307179586 * hz * static_cast<double>(i) / rate));
    for (int c = 0; c < channels; ++c) samples[static_cast<std::size_t>(i * channels + c)] = v;
  }
  return samples;
}

// One OGG Vorbis stream (one section) of interleaved samples. Empty when the encoder refuses the
// format.
inline std::string EncodeOgg(const std::vector<float>& samples, int channels, long rate, int serial = 1,
                             float quality = 0.6f) {
  std::string out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_page page;
  auto append = [&] {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
  };
  ogg_packet header;
  ogg_packet headerComment;
  ogg_packet headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  while (ogg_stream_flush(&stream, &page) != 0) append();

  auto drain = [&] {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) append();
      }
    }
  };
  const long frames = static_cast<long>(samples.size()) / channels;
  for (long at = 0; at < frames;) {
    const long n = std::min<long>(1024, frames - at);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
    for (long i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) buffer[c][i] = samples[static_cast<std::size_t>((at + i) * channels + c)];
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    drain();
    at += n;
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page) != 0) append();

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

// A tone as a whole file.
inline std::string ToneOgg(double hz, double seconds, long rate, int channels, float amplitude = 0.5f,
                           int serial = 1) {
  const auto frames = static_cast<long>(std::lround(seconds * static_cast<double>(rate)));
  return EncodeOgg(ToneSamples(hz, frames, rate, channels, amplitude), channels, rate, serial);
}
