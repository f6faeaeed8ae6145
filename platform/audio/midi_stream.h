#pragma once
// The MIDI stream player: a merged MIDI image played through a MIDI output in two buffers of stream
// events, queued in turn. A thread of the player's own receives the output's callbacks, refills the
// buffer that has played and, at the end of the track, rewinds and, when looping, starts again.
//
// The window thread creates, restarts, stops and deletes players while the callback thread refills
// and loops them; one lock keeps the two from acting on the player at the same time. Deleting a
// player ends its callback thread before anything is freed, so no callback reaches a freed player.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/audio/midi_file.h"
#include "platform/audio/midi_output.h"
#include "platform/services/checked.h"
#include "platform/services/thread.h"

constexpr int kMidiBufferCount = 2;
constexpr int kMidiBufferSize = 24000;
// The event that ends the track: a callback event whose value is the end-of-track meta event.
constexpr std::uint32_t kMidiEndMarker = MEVT_F_CALLBACK | 0x2FFF;
// Sent to a new callback thread first, as the thread was always greeted.
constexpr std::uint32_t kMidiThreadHello = 0x8000;

// Converts the image's events from position on into header's data block (cleared first; its size is
// the room) as stream events: channel messages as short events, tempo as tempo events,
// system-exclusive messages as long events, the track's end as the end marker; other meta events
// write nothing and their delta time goes to the next event written. Filling stops after the end
// marker, or before an event that does not fit, in which case the last event written is marked for
// a callback. A buffer with nothing written yet grows to take an event larger than it, so a
// system-exclusive message of any length is sent whole. Sets the recorded length, clears the flags
// and counts the fill; returns the image bytes consumed. Events skipped at the end of a full buffer
// are not consumed, so their delta time is not lost.
std::uint32_t FillMidiBuffer(std::span<const std::uint8_t> image, std::uint32_t position, MidiHeader& header);

class cMidiStream : public cMidiFile {
 public:
  // Reads name; with an image, opens the output and queues the first buffer (nothing plays yet).
  explicit cMidiStream(const std::string& name);
  ~cMidiStream() override;

  // Starts or resumes playing; loop is remembered for the end of the track.
  void Restart(int loop);
  // With pause, pauses a playing stream; otherwise stops, rewinds and queues the first buffer again.
  void Stop(int pause);
  // Fills and queues the next buffer, when one is free and the track has events left.
  void Out();
  // Ends the callback thread and releases the output and the buffers. The destructor's work.
  void Close();

  // Fills header from the player's position.
  std::uint32_t FillBuffer(MidiHeader& header);

  // 0 stopped, 1 playing, 2 paused.
  int State() const;
  std::uint32_t Position() const;
  std::uint32_t TrackEnd() const { return static_cast<std::uint32_t>(m_Image.size()); }

 private:
  friend std::uint32_t MidiThreadProc(void* player);

  void Open();
  void OutLocked();
  void RestartLocked(int loop);
  void StopLocked(int pause);
  void OnPositionCallback(std::uintptr_t user, std::intptr_t where);
  // Reports a failed stream call in the line of its operation; the player goes on.
  void Check(const char* operation, MidiResult result);
  // The output's call, or "not open" when there is no output.
  template <class Call>
  MidiResult OnStream(Call call) {
    return m_Stream ? call(*m_Stream) : MMSYSERR_INVALHANDLE;
  }

  mutable std::mutex m_Lock;
  std::int32_t m_Current = 0;
  std::unique_ptr<cMidiOutput> m_Stream;
  std::array<MidiHeader, kMidiBufferCount> m_Headers;
  std::int32_t m_Count = 0;
  std::int32_t m_BufferSize = 0;
  std::uint32_t m_Position = kMidiImageHeaderBytes;
  std::int32_t m_State = 0;
  cThread m_Thread;
  std::int32_t m_Loop = 0;
  bool m_Closed = false;
};

// The callback thread: takes messages until WM_QUIT; position callbacks refill or end the track.
std::uint32_t MidiThreadProc(void* player);

// An owning pointer is counted as the pointer it is in the checked containers' failure lines.
template <>
constexpr int CheckedElementSize<std::unique_ptr<cMidiStream>>() {
  return 4;
}

// The music manager's players, one per channel (null when the channel has none).
class cMidiList : public CheckedVector<std::unique_ptr<cMidiStream>> {
 public:
  // n channels; new entries null.
  void SetCount(int n);
  void StopAll(int pause);
  // Deletes every player and leaves the entries null.
  void DeleteAll();
  // Stops and deletes every player, then plays name on channel. False when name does not end in
  // ".mid" (exactly) or its file gives no image; such a player stays until the next play.
  bool Play(int channel, const std::string& name, int loop);
};
