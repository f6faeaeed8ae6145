#include "platform/host/audio_mixer.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace {

// Frames mixed in one pass: the 32-bit buffer is fixed, so no block size a device asks for makes
// the audio thread allocate. Larger requests are mixed in several passes.
constexpr int kChunkFrames = 1024;
// About 12 ms a block: an effect asked for in one frame starts within that frame.
constexpr int kDeviceBlockFrames = 512;

// The sources and the 32-bit mix buffer. s_MixLock is held while a block is mixed and while the
// source list changes, never across I/O, so the audio thread waits at most for a list edit.
std::mutex s_MixLock;
std::vector<std::shared_ptr<cMixSource>> s_Sources;
std::array<std::int32_t, kChunkFrames * kMixChannels> s_Mix;

// Opening and closing are serialised apart from the mix lock: closing the SDL device waits for its
// callback, which takes the mix lock.
std::mutex s_DeviceLock;
std::atomic<AudioDeviceKind> s_Kind{AudioDeviceKind::None};
SDL_AudioDeviceID s_Device = 0;
std::string s_Error;
std::atomic<bool> s_RealWanted{true};

std::int16_t Saturate(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, INT16_MIN, INT16_MAX));
}

// Mixes every source into out. The caller holds s_MixLock.
void MixLocked(std::int16_t* out, int frames) {
  while (frames > 0) {
    int n = std::min(frames, kChunkFrames);
    std::int32_t* mix = s_Mix.data();
    std::fill_n(mix, n * kMixChannels, 0);
    for (const auto& source : s_Sources) source->MixInto(mix, n);
    for (int i = 0; i < n * kMixChannels; ++i) out[i] = Saturate(mix[i]);
    out += n * kMixChannels;
    frames -= n;
  }
}

void SDLCALL DeviceCallback(void*, Uint8* stream, int len) {
  std::lock_guard lock(s_MixLock);
  MixLocked(reinterpret_cast<std::int16_t*>(stream), len / static_cast<int>(sizeof(std::int16_t) * kMixChannels));
}

void CloseLocked() {
  if (s_Device != 0) {
    SDL_CloseAudioDevice(s_Device);
    s_Device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  s_Kind = AudioDeviceKind::None;
}

bool OpenSdlLocked() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    s_Error = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = kMixRate;
  want.format = AUDIO_S16SYS;
  want.channels = kMixChannels;
  want.samples = kDeviceBlockFrames;
  want.callback = DeviceCallback;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware takes, so the callback always
  // gets the mix format.
  s_Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (s_Device == 0) {
    s_Error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  s_Error.clear();
  SDL_PauseAudioDevice(s_Device, 0);
  return true;
}

}  // namespace

AudioDeviceKind OpenAudioDevice(bool wantReal) {
  std::lock_guard lock(s_DeviceLock);
  CloseLocked();
  if (wantReal && OpenSdlLocked()) {
    s_Kind = AudioDeviceKind::Sdl;
  } else {
    if (!wantReal) s_Error.clear();
    s_Kind = AudioDeviceKind::Null;
  }
  return s_Kind;
}

void CloseAudioDevice() {
  std::lock_guard lock(s_DeviceLock);
  CloseLocked();
}

AudioDeviceKind CurrentAudioDevice() { return s_Kind; }

std::string AudioDeviceError() {
  std::lock_guard lock(s_DeviceLock);
  return s_Error;
}

void SetRealAudioWanted(bool wanted) { s_RealWanted = wanted; }
bool RealAudioWanted() { return s_RealWanted; }

void AddMixSource(std::shared_ptr<cMixSource> source) {
  if (!source) return;
  std::lock_guard lock(s_MixLock);
  if (std::find(s_Sources.begin(), s_Sources.end(), source) == s_Sources.end()) s_Sources.push_back(std::move(source));
}

void RemoveMixSource(const cMixSource* source) {
  std::shared_ptr<cMixSource> removed;
  {
    std::lock_guard lock(s_MixLock);
    auto it = std::find_if(s_Sources.begin(), s_Sources.end(), [&](const auto& s) { return s.get() == source; });
    if (it == s_Sources.end()) return;
    removed = std::move(*it);
    s_Sources.erase(it);
  }
  // The mixer's reference goes here, outside the lock: a source's destructor may take its time.
}

void RenderMix(std::int16_t* out, int frames) {
  if (!out || frames <= 0) return;
  if (s_Kind == AudioDeviceKind::Sdl) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kMixChannels, std::int16_t{0});
    return;
  }
  std::lock_guard lock(s_MixLock);
  MixLocked(out, frames);
}
