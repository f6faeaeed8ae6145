#pragma once
// The MIDI stream output that the stream player sends its buffers to. It keeps the shape of the
// stream interface the player was written for: buffers of timed events queued in turn, the time
// division and tempo turning ticks into time, a callback message to the player's thread once an
// event marked for it has played, pause keeping the position, stop and reset silencing every note
// and handing the queued buffers back.
//
// Two outputs stand behind it: the synthesiser, which renders into the audio mixer with every event
// placed on its exact sample frame, and the null output, which keeps the same timing on the
// program clock (the virtual clock in tests and headless runs) and writes each event to the trace.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Result codes of the stream functions; the numbers are those of the interface the player was
// written for, so report lines read the same.
using MidiResult = std::uint32_t;
constexpr MidiResult MMSYSERR_NOERROR = 0;
constexpr MidiResult MMSYSERR_ERROR = 1;
constexpr MidiResult MMSYSERR_BADDEVICEID = 2;
constexpr MidiResult MMSYSERR_ALLOCATED = 4;
constexpr MidiResult MMSYSERR_INVALHANDLE = 5;
constexpr MidiResult MMSYSERR_NODRIVER = 6;
constexpr MidiResult MMSYSERR_NOMEM = 7;
constexpr MidiResult MMSYSERR_INVALPARAM = 11;
constexpr MidiResult MIDIERR_UNPREPARED = 64;
constexpr MidiResult MIDIERR_STILLPLAYING = 65;

// The text of a result code, cut to the 512-byte buffer it was always read into.
std::string MidiErrorText(MidiResult code);

// Messages the output posts to the player's callback thread. A position callback carries the
// header's user value in wParam and, in lParam, the event's offset in the header's data (low 32
// bits) with the header's fill count at queueing time above it.
constexpr std::uint32_t MM_MOM_OPEN = 0x3C7;
constexpr std::uint32_t MM_MOM_CLOSE = 0x3C8;
constexpr std::uint32_t MM_MOM_DONE = 0x3C9;
constexpr std::uint32_t MM_MOM_POSITIONCB = 0x3CA;

// Stream events in a buffer: three 32-bit words (delta time in ticks, stream identifier 0, event
// word), and for a long event its data after them, padded to a multiple of 4 bytes. The top byte of
// the event word holds the event type and its flags, the low 24 bits its parameter: the message of
// a short event, the tempo in microseconds per quarter note, the data length of a long event.
constexpr std::uint32_t MEVT_F_SHORT = 0x00000000;
constexpr std::uint32_t MEVT_F_LONG = 0x80000000;
constexpr std::uint32_t MEVT_F_CALLBACK = 0x40000000;
constexpr std::uint8_t MEVT_SHORTMSG = 0x00;
constexpr std::uint8_t MEVT_TEMPO = 0x01;
constexpr std::uint8_t MEVT_NOP = 0x02;
constexpr std::uint8_t MEVT_LONGMSG = 0x80;
constexpr std::uint32_t kMidiEventHeaderBytes = 12;
constexpr std::uint32_t kMidiMaxLongData = 0x00FFFFFF;
constexpr std::uint32_t kMidiDefaultTempo = 500000;
constexpr std::uint32_t kMidiDefaultDivision = 96;

constexpr std::uint8_t MidiEventType(std::uint32_t event) { return static_cast<std::uint8_t>(event >> 24); }
constexpr std::uint32_t MidiEventParm(std::uint32_t event) { return event & 0x00FFFFFF; }

// Header flags.
constexpr std::uint32_t MHDR_DONE = 0x1;
constexpr std::uint32_t MHDR_PREPARED = 0x2;
constexpr std::uint32_t MHDR_INQUEUE = 0x4;

// One stream buffer. The player fills data while the buffer is not queued; the output reads it
// while it is. flags is shared between the player's threads and the output's.
struct MidiHeader {
  std::vector<std::uint8_t> data;   // the data block; its size is the buffer length
  std::uint32_t bytesRecorded = 0;  // bytes of events in data
  std::uintptr_t user = 0;          // the player's value, returned in callbacks
  std::atomic<std::uint32_t> flags{0};
  // Counts the fills of this buffer; a callback names the fill it belongs to, so a callback that
  // arrives after the buffer was filled again is recognised as stale.
  std::uint32_t fill = 0;
};

// The open stream: device -1 (the default output), one stream, callbacks to a thread.
class cMidiOutput {
 public:
  virtual ~cMidiOutput() = default;

  // Ticks per quarter note (or, with the top bit set, SMPTE frames and ticks per frame).
  virtual MidiResult SetTimeDivision(std::uint32_t division) = 0;
  virtual MidiResult Prepare(MidiHeader& header) = 0;
  virtual MidiResult Unprepare(MidiHeader& header) = 0;
  // Queues a prepared buffer behind those already queued.
  virtual MidiResult Out(MidiHeader& header) = 0;
  // Starts, or goes on from where Pause left.
  virtual MidiResult Restart() = 0;
  // Keeps the position; sounding notes are released.
  virtual MidiResult Pause() = 0;
  // Silences every note, hands every queued buffer back, and rewinds the stream time to 0. The
  // stream then waits for Restart.
  virtual MidiResult Stop() = 0;
  // Silences every note and hands every queued buffer back; the stream stays as it is otherwise.
  virtual MidiResult Reset() = 0;
  // After Close no event plays and no callback is posted. The destructor closes too.
  virtual MidiResult Close() = 0;
};

// Which output OpenMidiOutput makes. Auto: the synthesiser when the audio device is a real one,
// the null output otherwise (and when no SoundFont can be loaded).
enum class MidiOutputKind { Auto, Null, Synth };
void SetMidiOutputKind(MidiOutputKind kind);
MidiOutputKind GetMidiOutputKind();

// midiStreamOpen: a new stream whose callbacks go to the thread callbackThread (its message queue).
MidiResult OpenMidiOutput(std::uint32_t callbackThread, std::unique_ptr<cMidiOutput>& out);

// The null outputs keep time on the program clock. On the virtual clock nothing moves until this is
// called: it plays, on the calling thread, every event that is due by the clock now. On the steady
// clock each null output has a worker of its own that does this every millisecond.
void PumpNullMidiOutputs();
