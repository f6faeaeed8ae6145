#include "platform/audio/midi_sequencer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kUsPerSecond = 1000000;

std::uint32_t WordAt(const std::uint8_t* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace

cMidiSequencer::cMidiSequencer(std::uint32_t callbackThread, std::uint64_t unitsPerSecond)
    : m_CallbackThread(callbackThread), m_UnitsPerSecond(unitsPerSecond ? unitsPerSecond : kUsPerSecond) {}

std::uint64_t cMidiSequencer::UsToUnits(std::uint64_t us) const {
  return static_cast<std::uint64_t>(static_cast<unsigned __int128>(us) * m_UnitsPerSecond / kUsPerSecond);
}

std::uint64_t cMidiSequencer::UnitsToUs(std::uint64_t units) const {
  return static_cast<std::uint64_t>(static_cast<unsigned __int128>(units) * kUsPerSecond / m_UnitsPerSecond);
}

std::uint64_t cMidiSequencer::StreamUsAt(std::uint64_t now) const {
  const std::uint64_t since = now > m_AnchorUnits ? now - m_AnchorUnits : 0;
  return std::max(m_AnchorUs + UnitsToUs(since), m_EventUs);
}

MidiResult cMidiSequencer::SetTimeDivision(std::uint32_t division) {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  if (division > 0xFFFF) return MMSYSERR_INVALPARAM;
  if (division & 0x8000) {
    // SMPTE time: minus the frames per second in the high byte, ticks per frame in the low one.
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const std::uint64_t ticksPerFrame = division & 0xFF;
    if (ticksPerFrame == 0 || (fps != 24 && fps != 25 && fps != 29 && fps != 30)) return MMSYSERR_INVALPARAM;
    m_Smpte = true;
    // 29 stands for the 29.97 frames of drop-frame time.
    m_TickNum = fps == 29 ? 100 * kUsPerSecond : kUsPerSecond;
    m_TickDen = (fps == 29 ? 2997 : static_cast<std::uint64_t>(fps)) * ticksPerFrame;
  } else {
    if (division == 0) return MMSYSERR_INVALPARAM;
    m_Smpte = false;
    m_TickNum = m_Tempo;
    m_TickDen = division;
  }
  m_Remainder = 0;
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Prepare(MidiHeader& header) {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  if (header.data.empty()) return MMSYSERR_INVALPARAM;
  header.flags.fetch_or(MHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Unprepare(MidiHeader& header) {
  std::lock_guard lock(m_Lock);
  if (header.flags.load() & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  header.flags.fetch_and(~MHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Out(MidiHeader& header) {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  const std::uint32_t flags = header.flags.load();
  if (!(flags & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
  if (flags & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  if (header.bytesRecorded > header.data.size()) return MMSYSERR_INVALPARAM;
  if (m_QueueCount == kMaxQueued) return MMSYSERR_NOMEM;
  header.flags.store((flags & ~MHDR_DONE) | MHDR_INQUEUE, std::memory_order_release);
  m_Queue[(m_QueueHead + m_QueueCount) % kMaxQueued] = cQueued{&header, header.fill};
  ++m_QueueCount;
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Restart() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  if (m_Running) return MMSYSERR_NOERROR;
  m_AnchorUnits = Now();
  m_AnchorUs = m_PausedUs;
  m_Running = true;
  NoteControl(m_AnchorUnits, "restart");
  return MMSYSERR_NOERROR;
}

void cMidiSequencer::SilenceIfSounding(std::uint64_t at) {
  if (!m_Sounding) return;
  Silence(at);
  m_Sounding = false;
}

MidiResult cMidiSequencer::Pause() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  if (!m_Running) return MMSYSERR_NOERROR;
  // Whatever was due before this moment has played by now, even when the device was not asked.
  const std::uint64_t now = Now();
  PlayDueLocked(now);
  m_PausedUs = StreamUsAt(now);
  m_Running = false;
  NoteControl(now, "pause");
  SilenceIfSounding(now);
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Stop() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  const std::uint64_t now = Now();
  NoteControl(now, "stop");
  SilenceIfSounding(now);
  ReturnAll();
  m_Running = false;
  // Back to the start of the stream, with the tempo a stream starts with, so a replay from the first
  // event sounds as the first play did.
  m_EventUs = 0;
  m_Remainder = 0;
  m_PausedUs = 0;
  m_Tempo = kMidiDefaultTempo;
  if (!m_Smpte) m_TickNum = m_Tempo;
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Reset() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_INVALHANDLE;
  const std::uint64_t now = Now();
  NoteControl(now, "reset");
  SilenceIfSounding(now);
  ReturnAll();
  return MMSYSERR_NOERROR;
}

MidiResult cMidiSequencer::Close() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return MMSYSERR_NOERROR;
  SilenceIfSounding(Now());
  ReturnAll();
  m_Running = false;
  m_Closed = true;
  return MMSYSERR_NOERROR;
}

void cMidiSequencer::ReturnAll() {
  for (; m_QueueCount > 0; --m_QueueCount) {
    MidiHeader& header = *m_Queue[m_QueueHead].header;
    const std::uintptr_t user = header.user;
    header.flags.store((header.flags.load() & ~MHDR_INQUEUE) | MHDR_DONE, std::memory_order_release);
    m_QueueHead = (m_QueueHead + 1) % kMaxQueued;
    Notify(m_CallbackThread, MM_MOM_DONE, user, 0);
  }
  m_Cursor = 0;
}

void cMidiSequencer::FinishHead() {
  MidiHeader& header = *m_Queue[m_QueueHead].header;
  const std::uintptr_t user = header.user;
  header.flags.store((header.flags.load() & ~MHDR_INQUEUE) | MHDR_DONE, std::memory_order_release);
  m_QueueHead = (m_QueueHead + 1) % kMaxQueued;
  --m_QueueCount;
  m_Cursor = 0;
  Notify(m_CallbackThread, MM_MOM_DONE, user, 0);
}

std::uint64_t cMidiSequencer::PlayDue(std::uint64_t now) {
  std::lock_guard lock(m_Lock);
  return PlayDueLocked(now);
}

std::uint64_t cMidiSequencer::PlayDueNow() {
  std::lock_guard lock(m_Lock);
  if (m_Closed) return kMidiNever;
  return PlayDueLocked(Now());
}

std::uint64_t cMidiSequencer::PlayDueLocked(std::uint64_t now) {
  if (m_Closed || !m_Running) return kMidiNever;
  while (m_QueueCount > 0) {
    const cQueued queued = m_Queue[m_QueueHead];
    MidiHeader& header = *queued.header;
    const std::uint32_t recorded = std::min<std::uint32_t>(header.bytesRecorded, header.data.size());
    const std::uint8_t* data = header.data.data();
    // A buffer is played out when no whole event is left in it.
    if (recorded < kMidiEventHeaderBytes || m_Cursor > recorded - kMidiEventHeaderBytes) {
      FinishHead();
      continue;
    }
    const std::uint8_t* record = data + m_Cursor;
    const std::uint32_t delta = WordAt(record);
    const std::uint32_t event = WordAt(record + 8);
    std::uint32_t size = kMidiEventHeaderBytes;
    std::uint32_t longLength = 0;
    if (event & MEVT_F_LONG) {
      longLength = MidiEventParm(event);
      if (longLength > recorded - m_Cursor - kMidiEventHeaderBytes) {
        FinishHead();  // a long event running past the recorded bytes ends the buffer
        continue;
      }
      size += std::min((longLength + 3) & ~3u, recorded - m_Cursor - kMidiEventHeaderBytes);
    }

    const std::uint64_t total = static_cast<std::uint64_t>(delta) * m_TickNum + m_Remainder;
    const std::uint64_t eventUs = m_EventUs + total / m_TickDen;
    const std::uint64_t at = eventUs >= m_AnchorUs ? m_AnchorUnits + UsToUnits(eventUs - m_AnchorUs) : m_AnchorUnits;
    if (at > now) return at;
    m_EventUs = eventUs;
    m_Remainder = total % m_TickDen;

    switch (MidiEventType(event) & ~static_cast<std::uint8_t>(MEVT_F_CALLBACK >> 24)) {
      case MEVT_SHORTMSG:
        SendShort(at, MidiEventParm(event));
        m_Sounding = true;
        break;
      case MEVT_TEMPO:
        // In SMPTE time the ticks have a fixed length and tempo does not apply.
        if (!m_Smpte) {
          m_Tempo = MidiEventParm(event);
          m_TickNum = m_Tempo;
        }
        SendTempo(at, MidiEventParm(event));
        break;
      case MEVT_LONGMSG:
        SendLong(at, record + kMidiEventHeaderBytes, longLength);
        m_Sounding = true;
        break;
      default:  // no-operations, comments, versions: nothing to play
        break;
    }

    const std::uint32_t offset = m_Cursor;
    m_Cursor += size;
    const bool last = m_Cursor > recorded - kMidiEventHeaderBytes;
    const std::uintptr_t user = header.user;
    // The buffer is handed back before its callback goes out, so a player refilling on the callback
    // finds it free.
    if (last) {
      header.flags.store((header.flags.load() & ~MHDR_INQUEUE) | MHDR_DONE, std::memory_order_release);
      m_QueueHead = (m_QueueHead + 1) % kMaxQueued;
      --m_QueueCount;
      m_Cursor = 0;
    }
    if (event & MEVT_F_CALLBACK)
      Notify(m_CallbackThread, MM_MOM_POSITIONCB, user,
             static_cast<std::intptr_t>(offset | static_cast<std::uint64_t>(queued.fill) << 32));
    if (last) Notify(m_CallbackThread, MM_MOM_DONE, user, 0);
  }
  return kMidiNever;
}
