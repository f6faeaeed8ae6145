#pragma once
// The MIDI synthesiser: a General MIDI SoundFont played by FluidSynth, rendered into the audio mixer
// as one of its sources. MIDI streams attach to it as schedules of timed events; the synthesiser
// asks them on the audio thread which events are due and splits its rendering at each event's
// frame, so an event sounds on the sample frame it was given, whatever the size of the audio blocks.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/host/audio_mixer.h"

constexpr std::uint64_t kNoMidiEvent = UINT64_MAX;

// Timed MIDI events, as the synthesiser sees them.
class cMidiSchedule {
 public:
  virtual ~cMidiSchedule() = default;
  // Audio thread: plays, through the synthesiser's message calls, every event due at or before
  // frame, and gives the frame of the next event, or kNoMidiEvent.
  virtual std::uint64_t MidiDue(std::uint64_t frame) = 0;
};

class cMidiSynth final : public cMixSource {
 public:
  // A synthesiser with soundFont loaded. Null, with the reason in error, when it cannot be made.
  static std::shared_ptr<cMidiSynth> Create(const std::string& soundFont, std::string& error);
  // Made only through Create; the key keeps it so.
  class cKey {
    friend class cMidiSynth;
    cKey() = default;
  };
  explicit cMidiSynth(cKey);
  cMidiSynth(const cMidiSynth&) = delete;
  cMidiSynth& operator=(const cMidiSynth&) = delete;
  ~cMidiSynth() override;

  // A short message: status | data1 << 8 | data2 << 16. Channel messages sound; system messages
  // (the stream's end marker among them) are not for the synthesiser and are ignored.
  void ShortMessage(std::uint32_t message);
  // A long message as the stream carries it: F0, the data, usually F7 at the end. An F7 escape is
  // raw bytes for a hardware port and has no meaning here.
  void SysEx(const std::uint8_t* data, std::size_t size);
  // Every voice stops at once; channel settings (programs, pedals) stay for when the music goes on.
  void AllSoundsOff();

  // Frames rendered so far: the synthesiser's clock.
  std::uint64_t FramePosition() const { return m_Frame.load(std::memory_order_acquire); }

  // False when the synthesiser already has all the schedules it takes.
  bool Attach(cMidiSchedule* schedule);
  // Returns once the audio thread no longer uses schedule.
  void Detach(cMidiSchedule* schedule);

  // PostThreadMessage for the audio thread, which must not allocate or wait: the message is handed
  // to the synthesiser's own courier thread, which posts it. Messages keep their order. When the
  // courier is far behind (64 waiting) the message is dropped.
  void PostLater(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  void MixInto(std::int32_t* mix, int frames) override;

 private:
  struct cFluid;
  struct cLetter {
    std::uint32_t threadId;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  static constexpr int kMaxSchedules = 8;
  static constexpr int kScratchFrames = 256;
  static constexpr int kMaxLetters = 64;

  void RenderFrames(std::int32_t* mix, int frames);
  void RunCourier();

  std::unique_ptr<cFluid> m_Fluid;
  std::atomic<std::uint64_t> m_Frame{0};

  // Held by the audio thread for a whole block, so Detach knows when a schedule is free.
  std::mutex m_ScheduleLock;
  std::array<cMidiSchedule*, kMaxSchedules> m_Schedules{};
  int m_ScheduleCount = 0;

  std::array<float, kScratchFrames> m_Left{};
  std::array<float, kScratchFrames> m_Right{};

  std::mutex m_LetterLock;
  std::condition_variable m_LetterArrived;
  std::array<cLetter, kMaxLetters> m_Letters{};
  int m_LetterHead = 0;
  int m_LetterCount = 0;
  bool m_CourierQuit = false;
  std::thread m_Courier;
};

// The SoundFont to load: $PLAYER_SOUNDFONT when it names a file, else the first of the places where
// Debian's General MIDI SoundFont packages put theirs. Empty when there is none.
std::string FindSoundFont();

// The program's one synthesiser, made and added to the mixer on first use; the SoundFont is large
// and loads once. Null, with the reason in error, when it cannot be made; later calls then fail at
// once with the same reason.
std::shared_ptr<cMidiSynth> SharedMidiSynth(std::string& error);
// Takes the synthesiser out of the mixer and lets it go (program end).
void ReleaseSharedMidiSynth();
