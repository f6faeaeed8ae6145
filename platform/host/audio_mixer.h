#pragma once
// The one audio device of the program and its mixer. Sound effects, OGG streams and the MIDI
// synthesiser are sources that add their samples into one 32-bit stereo mix, which is saturated to
// 16 bits for the device. Without a usable device (no sound server, tests, headless runs) the
// null device keeps the same mixer, and the mix is rendered on request instead.
#include <cstdint>
#include <memory>
#include <string>

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;

// Something that sounds. MixInto runs on the audio thread: it must never do file I/O, never
// allocate, and never wait on a lock that another thread holds across I/O.
class cMixSource {
 public:
  virtual ~cMixSource() = default;
  // Adds frames stereo frames (interleaved left, right; 16-bit scale) into mix.
  virtual void MixInto(std::int32_t* mix, int frames) = 0;
};

enum class AudioDeviceKind { None, Sdl, Null };

// Opens the SDL audio device, or the null device when wantReal is false or no real device opens.
// A device that is open already is closed first. Nothing is logged here: a caller that asked for
// the real device and got the null one reports AudioDeviceError() in its own words.
AudioDeviceKind OpenAudioDevice(bool wantReal);
void CloseAudioDevice();
AudioDeviceKind CurrentAudioDevice();
// Why the last attempt at the real device failed (SDL's text); empty when it opened.
std::string AudioDeviceError();

// Whether the start-up asks for the real device. True unless a headless run or a test says not;
// the sound start-up reads it when it opens the device.
void SetRealAudioWanted(bool wanted);
bool RealAudioWanted();

// Sources are mixed from the next audio block on, until removed. Removal returns only once the
// audio thread no longer uses the source. Sources live in the mixer whether or not a device is open,
// so music made before the device still sounds once it opens. Both wait for the block being mixed:
// never call them while holding a lock that a MixInto takes. Adding a source twice adds it once.
void AddMixSource(std::shared_ptr<cMixSource> source);
void RemoveMixSource(const cMixSource* source);

// Mixes frames frames of every source into out (interleaved stereo, saturated). The null device's
// way to make time pass for its sources; tests and headless runs call it. While the SDL device
// plays, time belongs to it: out is filled with silence and no source moves on.
void RenderMix(std::int16_t* out, int frames);
