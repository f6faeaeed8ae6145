#pragma once
// What both MIDI outputs share: the queue of stream buffers, the stream clock (ticks turned into
// microseconds by the time division and tempo, exactly, with the remainder carried), pause, stop
// and reset, and the messages to the player's thread. An output adds its device: the clock it
// keeps time by, in units of its own (microseconds, sample frames), and where events go.
//
// Every call takes the sequencer's lock, which is held only for bookkeeping and the device's event
// calls; the device's own clock decides when PlayDue is asked.
#include <array>
#include <cstdint>
#include <mutex>

#include "platform/audio/midi_output.h"

constexpr std::uint64_t kMidiNever = UINT64_MAX;

class cMidiSequencer : public cMidiOutput {
 public:
  cMidiSequencer(std::uint32_t callbackThread, std::uint64_t unitsPerSecond);

  MidiResult SetTimeDivision(std::uint32_t division) override;
  MidiResult Prepare(MidiHeader& header) override;
  MidiResult Unprepare(MidiHeader& header) override;
  MidiResult Out(MidiHeader& header) override;
  MidiResult Restart() override;
  MidiResult Pause() override;
  MidiResult Stop() override;
  MidiResult Reset() override;
  MidiResult Close() override;

  // Plays every event due at or before now (device units); the time of the next event, or
  // kMidiNever when nothing is queued or the stream does not run.
  std::uint64_t PlayDue(std::uint64_t now);
  // The same by the device's own clock.
  std::uint64_t PlayDueNow();

 protected:
  // The device; called with the sequencer's lock held.
  virtual std::uint64_t Now() = 0;
  virtual void SendShort(std::uint64_t at, std::uint32_t message) = 0;
  virtual void SendLong(std::uint64_t at, const std::uint8_t* data, std::uint32_t size) = 0;
  virtual void SendTempo(std::uint64_t at, std::uint32_t tempo) = 0;
  virtual void Silence(std::uint64_t at) = 0;
  // restart, pause, stop, reset: for the trace.
  virtual void NoteControl(std::uint64_t at, const char* what) = 0;
  virtual void Notify(std::uint32_t thread, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

  std::uint32_t CallbackThread() const { return m_CallbackThread; }

 private:
  struct cQueued {
    MidiHeader* header = nullptr;
    std::uint32_t fill = 0;
  };
  static constexpr int kMaxQueued = 16;

  std::uint64_t PlayDueLocked(std::uint64_t now);
  // Silences the device unless nothing was sent since it last was.
  void SilenceIfSounding(std::uint64_t at);
  void FinishHead();
  void ReturnAll();
  std::uint64_t UsToUnits(std::uint64_t us) const;
  std::uint64_t UnitsToUs(std::uint64_t units) const;
  // The stream time reached at device time now, while running.
  std::uint64_t StreamUsAt(std::uint64_t now) const;

  std::mutex m_Lock;
  const std::uint32_t m_CallbackThread;
  const std::uint64_t m_UnitsPerSecond;
  bool m_Closed = false;
  bool m_Running = false;
  bool m_Sounding = false;

  std::array<cQueued, kMaxQueued> m_Queue{};
  int m_QueueHead = 0;
  int m_QueueCount = 0;
  std::uint32_t m_Cursor = 0;  // offset of the next event in the head buffer

  // Time per tick is m_TickNum / m_TickDen microseconds: tempo / division, or for SMPTE time the
  // frame length divided by the ticks per frame.
  bool m_Smpte = false;
  std::uint32_t m_Tempo = kMidiDefaultTempo;
  std::uint64_t m_TickNum = kMidiDefaultTempo;
  std::uint64_t m_TickDen = kMidiDefaultDivision;
  std::uint64_t m_EventUs = 0;      // stream time of the last event played
  std::uint64_t m_Remainder = 0;    // what the division left of it, in units of 1 / m_TickDen
  std::uint64_t m_AnchorUnits = 0;  // device time when the stream last started
  std::uint64_t m_AnchorUs = 0;     // stream time then
  std::uint64_t m_PausedUs = 0;     // stream time reached when it last stopped running
};
