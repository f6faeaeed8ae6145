#pragma once
// The sound effects' voices in the mixer: what the sound buffers of the effect table are. An effect
// is decoded once and converted to the mixer's rate and 16-bit samples; a buffer is one voice over
// such samples with its own position, play state and volume, and duplicates share the samples.
// All voices of the effect table are mixed by one source, cEffectVoices.
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio/wave_file.h"
#include "platform/host/audio_mixer.h"

// Volumes in hundredths of a decibel: 0 is the file's own level, -10000 is silence.
constexpr std::int32_t DSBVOLUME_MIN = -10000;
constexpr std::int32_t DSBVOLUME_MAX = 0;
// Play flag: start again from the beginning at the end instead of stopping.
constexpr std::uint32_t DSBPLAY_LOOPING = 1;

// The rates and channel counts a buffer can be made with, as the sound system allowed them.
constexpr std::uint32_t kMinBufferRate = 100;
constexpr std::uint32_t kMaxBufferRate = 200000;
// Longest effect after conversion, about six minutes; longer ones are refused rather than filling
// memory.
constexpr std::int64_t kMaxEffectFrames = std::int64_t{1} << 24;

// Gain in 1/65536 for a volume; 0 at -10000 and below, 65536 at 0 and above.
std::int32_t VolumeToGain(std::int32_t volume);

// An effect's samples at kMixRate, 16-bit, in the file's channel count (1 or 2): a mono effect is
// sent to both sides when it is mixed, so it is stored once.
struct EffectSamples {
  int channels = 1;
  std::int64_t frames = 0;
  std::vector<std::int16_t> data;
};

// 8- or 16-bit PCM, one or two channels, of any rate the buffers allow, converted by linear
// interpolation: ceil(n * kMixRate / rate) frames for n frames. Null for a format the mixer cannot
// play or samples that are not a whole number of frames.
std::shared_ptr<const EffectSamples> ConvertToMixFormat(const WaveFormat& format, std::span<const std::uint8_t> bytes);

class cEffectVoices;

// One voice. It is mixed from the moment it is made until it is destroyed, by which time the audio
// thread has let go of it.
class cSoundBuffer {
 public:
  cSoundBuffer(std::shared_ptr<cEffectVoices> owner, std::shared_ptr<const EffectSamples> samples);
  ~cSoundBuffer();
  cSoundBuffer(const cSoundBuffer&) = delete;
  cSoundBuffer& operator=(const cSoundBuffer&) = delete;

  // Sounds from the current position on; once (flags 0) or looping (DSBPLAY_LOOPING).
  void Play(std::uint32_t flags);
  void Stop();
  // Back to the first sample. A one-shot voice that reaches its end stops there and is rewound.
  void Rewind();
  // Volume clamped to DSBVOLUME_MIN .. DSBVOLUME_MAX.
  void SetVolume(std::int32_t volume);
  std::int32_t GetVolume() const;
  bool IsPlaying() const;
  // Mixer frames played since the start (or since the last rewind).
  std::int64_t Position() const;
  const std::shared_ptr<const EffectSamples>& Samples() const { return m_Samples; }
  cEffectVoices& Owner() const { return *m_Owner; }

 private:
  friend class cEffectVoices;

  const std::shared_ptr<cEffectVoices> m_Owner;
  const std::shared_ptr<const EffectSamples> m_Samples;
  // Guarded by the owner's lock: the audio thread reads and moves them.
  std::int64_t m_Position = 0;
  bool m_Playing = false;
  bool m_Looping = false;
  std::int32_t m_Volume = DSBVOLUME_MAX;
  std::int32_t m_Gain = 65536;
};

using SoundBufferPtr = std::unique_ptr<cSoundBuffer>;

// The mixer source of every effect voice. Its lock is held while a block is mixed and while a
// voice's state changes, never across I/O or allocation of samples.
class cEffectVoices : public cMixSource, public std::enable_shared_from_this<cEffectVoices> {
 public:
  // A stopped voice at full volume over samples.
  SoundBufferPtr CreateBuffer(std::shared_ptr<const EffectSamples> samples);
  // A stopped voice over source's samples, with source's volume.
  SoundBufferPtr Duplicate(const cSoundBuffer& source);

  void MixInto(std::int32_t* mix, int frames) override;

  int VoiceCount() const;
  int PlayingCount() const;

 private:
  friend class cSoundBuffer;

  void Register(cSoundBuffer* buffer);
  void Unregister(cSoundBuffer* buffer);
  static void MixVoice(cSoundBuffer& voice, std::int32_t* mix, int frames);

  mutable std::mutex m_Lock;
  std::vector<cSoundBuffer*> m_Voices;
};
