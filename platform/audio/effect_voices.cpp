#include "platform/audio/effect_voices.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr std::int32_t kUnityGain = 65536;

// Sample k of channel c as a 16-bit value: 8-bit PCM is unsigned around 128.
std::int32_t SampleAt(const WaveFormat& f, const std::uint8_t* bytes, std::int64_t k, int c) {
  const std::uint8_t* p = bytes + k * f.nBlockAlign + c * (f.wBitsPerSample / 8);
  if (f.wBitsPerSample == 8) return (static_cast<std::int32_t>(p[0]) - 128) * 256;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

bool MixerCanPlay(const WaveFormat& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels < 1 || f.nChannels > 2) return false;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
  if (f.nSamplesPerSec < kMinBufferRate || f.nSamplesPerSec > kMaxBufferRate) return false;
  return f.nBlockAlign == f.nChannels * (f.wBitsPerSample / 8);
}

}  // namespace

std::int32_t VolumeToGain(std::int32_t volume) {
  if (volume <= DSBVOLUME_MIN) return 0;
  if (volume >= DSBVOLUME_MAX) return kUnityGain;
  return static_cast<std::int32_t>(std::lround(kUnityGain * std::pow(10.0, volume / 2000.0)));
}

std::shared_ptr<const EffectSamples> ConvertToMixFormat(const WaveFormat& format, std::span<const std::uint8_t> bytes) {
  if (!MixerCanPlay(format) || bytes.empty() || bytes.size() % format.nBlockAlign != 0) return nullptr;
  const std::int64_t inFrames = static_cast<std::int64_t>(bytes.size() / format.nBlockAlign);
  const std::int64_t rate = format.nSamplesPerSec;
  const std::int64_t outFrames = (inFrames * kMixRate + rate - 1) / rate;
  if (outFrames > kMaxEffectFrames) return nullptr;

  auto samples = std::make_shared<EffectSamples>();
  const int channels = format.nChannels;
  samples->channels = channels;
  samples->frames = outFrames;
  try {
    samples->data.resize(static_cast<std::size_t>(outFrames * channels));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  std::int16_t* out = samples->data.data();
  for (std::int64_t i = 0; i < outFrames; ++i) {
    // Output frame i lies at i * rate / kMixRate input frames; the last input frame is held.
    const std::int64_t at = i * rate;
    const std::int64_t k = at / kMixRate;
    const std::int64_t frac = at % kMixRate;
    const std::int64_t k1 = std::min(k + 1, inFrames - 1);
    for (int c = 0; c < channels; ++c) {
      const std::int64_t a = SampleAt(format, bytes.data(), k, c);
      const std::int64_t b = SampleAt(format, bytes.data(), k1, c);
      *out++ = static_cast<std::int16_t>(a + (b - a) * frac / kMixRate);
    }
  }
  return samples;
}

cSoundBuffer::cSoundBuffer(std::shared_ptr<cEffectVoices> owner, std::shared_ptr<const EffectSamples> samples)
    : m_Owner(std::move(owner)), m_Samples(std::move(samples)) {
  m_Owner->Register(this);
}

cSoundBuffer::~cSoundBuffer() { m_Owner->Unregister(this); }

void cSoundBuffer::Play(std::uint32_t flags) {
  std::lock_guard lock(m_Owner->m_Lock);
  m_Looping = (flags & DSBPLAY_LOOPING) != 0;
  m_Playing = m_Samples && m_Samples->frames > 0;
}

void cSoundBuffer::Stop() {
  std::lock_guard lock(m_Owner->m_Lock);
  m_Playing = false;
}

void cSoundBuffer::Rewind() {
  std::lock_guard lock(m_Owner->m_Lock);
  m_Position = 0;
}

void cSoundBuffer::SetVolume(std::int32_t volume) {
  volume = std::clamp(volume, DSBVOLUME_MIN, DSBVOLUME_MAX);
  std::int32_t gain = VolumeToGain(volume);
  std::lock_guard lock(m_Owner->m_Lock);
  m_Volume = volume;
  m_Gain = gain;
}

std::int32_t cSoundBuffer::GetVolume() const {
  std::lock_guard lock(m_Owner->m_Lock);
  return m_Volume;
}

bool cSoundBuffer::IsPlaying() const {
  std::lock_guard lock(m_Owner->m_Lock);
  return m_Playing;
}

std::int64_t cSoundBuffer::Position() const {
  std::lock_guard lock(m_Owner->m_Lock);
  return m_Position;
}

SoundBufferPtr cEffectVoices::CreateBuffer(std::shared_ptr<const EffectSamples> samples) {
  if (!samples) return nullptr;
  return std::make_unique<cSoundBuffer>(shared_from_this(), std::move(samples));
}

SoundBufferPtr cEffectVoices::Duplicate(const cSoundBuffer& source) {
  auto copy = std::make_unique<cSoundBuffer>(shared_from_this(), source.m_Samples);
  copy->SetVolume(source.GetVolume());
  return copy;
}

void cEffectVoices::Register(cSoundBuffer* buffer) {
  std::lock_guard lock(m_Lock);
  m_Voices.push_back(buffer);
}

void cEffectVoices::Unregister(cSoundBuffer* buffer) {
  std::lock_guard lock(m_Lock);
  std::erase(m_Voices, buffer);
}

int cEffectVoices::VoiceCount() const {
  std::lock_guard lock(m_Lock);
  return static_cast<int>(m_Voices.size());
}

int cEffectVoices::PlayingCount() const {
  std::lock_guard lock(m_Lock);
  return static_cast<int>(
      std::count_if(m_Voices.begin(), m_Voices.end(), [](const cSoundBuffer* v) { return v->m_Playing; }));
}

void cEffectVoices::MixInto(std::int32_t* mix, int frames) {
  std::lock_guard lock(m_Lock);
  for (cSoundBuffer* voice : m_Voices)
    if (voice->m_Playing) MixVoice(*voice, mix, frames);
}

void cEffectVoices::MixVoice(cSoundBuffer& voice, std::int32_t* mix, int frames) {
  const EffectSamples& s = *voice.m_Samples;
  int done = 0;
  while (done < frames && voice.m_Playing) {
    const int n = static_cast<int>(std::min<std::int64_t>(frames - done, s.frames - voice.m_Position));
    const std::int32_t gain = voice.m_Gain;
    // A silenced voice still moves on, so that it ends when it would have.
    if (gain != 0) {
      const std::int16_t* src = s.data.data() + voice.m_Position * s.channels;
      std::int32_t* dst = mix + done * kMixChannels;
      if (s.channels == 1) {
        for (int i = 0; i < n; ++i) {
          const std::int32_t x = (src[i] * gain) >> 16;
          dst[2 * i] += x;
          dst[2 * i + 1] += x;
        }
      } else {
        for (int i = 0; i < 2 * n; ++i) dst[i] += (src[i] * gain) >> 16;
      }
    }
    voice.m_Position += n;
    done += n;
    if (voice.m_Position >= s.frames) {
      voice.m_Position = 0;
      if (!voice.m_Looping) voice.m_Playing = false;
    }
  }
}
