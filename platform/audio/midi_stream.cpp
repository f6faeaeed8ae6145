#include "platform/audio/midi_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/services/log.h"

namespace {

void PutWord(std::vector<std::uint8_t>& block, std::size_t at, std::uint32_t word) {
  std::memcpy(block.data() + at, &word, sizeof word);
}

std::uint32_t WordAt(const std::vector<std::uint8_t>& block, std::size_t at) {
  std::uint32_t word;
  std::memcpy(&word, block.data() + at, sizeof word);
  return word;
}

std::uint32_t Padded(std::uint32_t length) { return (length + 3) & ~3u; }

// One event of the image as the buffer will hold it.
struct cStreamEvent {
  std::uint32_t next = 0;  // image offset after the event
  std::uint32_t size = 0;  // bytes in the buffer; 0 for an event that writes nothing
  std::uint32_t word = 0;
  const std::uint8_t* longData = nullptr;  // data after the status byte of a long event
  std::uint32_t longLength = 0;            // status byte and data
  std::uint8_t longStatus = 0;
  bool end = false;
};

// Reads the event at p (its status byte) of image. The image is the program's own merge, but it is
// read as carefully as any file: what does not read is taken as the end of the track.
cStreamEvent ReadStreamEvent(std::span<const std::uint8_t> image, std::uint32_t p) {
  const std::uint32_t end = static_cast<std::uint32_t>(image.size());
  cStreamEvent event;
  event.next = end;
  event.size = kMidiEventHeaderBytes;
  event.word = kMidiEndMarker;
  event.end = true;
  if (p >= end) return event;
  const std::uint8_t status = image[p];
  std::uint32_t length = 0;
  if (status == 0xFF) {
    if (end - p < 3) return event;
    const std::uint8_t type = image[p + 1];
    const int lengthBytes = ReadVarLen(image.subspan(p + 2), length);
    if (lengthBytes == 0 || length > end - p - 2 - lengthBytes) return event;
    const std::uint32_t dataAt = p + 2 + lengthBytes;
    event.next = dataAt + length;
    if (type == 0x2F) return event;
    event.end = false;
    if (type == 0x51 && length == 3) {
      event.word = static_cast<std::uint32_t>(MEVT_TEMPO) << 24 | image[dataAt] << 16 | image[dataAt + 1] << 8 |
                   image[dataAt + 2];
    } else {
      event.size = 0;
    }
    return event;
  }
  if (status == 0xF0 || status == 0xF7) {
    const int lengthBytes = ReadVarLen(image.subspan(p + 1), length);
    if (lengthBytes == 0 || length > end - p - 1 - lengthBytes || length >= kMidiMaxLongData) return event;
    event.end = false;
    event.longStatus = status;
    event.longData = image.data() + p + 1 + lengthBytes;
    event.longLength = length + 1;
    event.next = p + 1 + lengthBytes + length;
    event.size = kMidiEventHeaderBytes + Padded(event.longLength);
    event.word = MEVT_F_LONG | event.longLength;
    return event;
  }
  if (status < 0x80) return event;
  const std::uint32_t dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
  if (end - p - 1 < dataBytes) return event;
  event.end = false;
  event.next = p + 1 + dataBytes;
  event.word = status | static_cast<std::uint32_t>(image[p + 1]) << 8;
  if (dataBytes == 2) event.word |= static_cast<std::uint32_t>(image[p + 2]) << 16;
  return event;
}

}  // namespace

std::uint32_t FillMidiBuffer(std::span<const std::uint8_t> image, std::uint32_t position, MidiHeader& header) {
  std::vector<std::uint8_t>& block = header.data;
  std::fill(block.begin(), block.end(), 0);
  header.flags.store(0);
  header.bytesRecorded = 0;
  ++header.fill;

  const std::uint32_t end = static_cast<std::uint32_t>(image.size());
  const std::uint32_t start = std::min(position, end);
  std::uint32_t out = 0;
  std::uint32_t at = start;
  std::uint32_t consumedTo = start;
  std::uint64_t pendingDelta = 0;
  std::int64_t lastEvent = -1;
  for (;;) {
    std::uint32_t delta = 0;
    const int deltaBytes = at < end ? ReadVarLen(image.subspan(at), delta) : 0;
    const cStreamEvent event = ReadStreamEvent(image, deltaBytes ? at + deltaBytes : end);
    const std::uint64_t total = std::min<std::uint64_t>(pendingDelta + delta, UINT32_MAX);
    if (event.size == 0) {
      pendingDelta = total;
      at = event.next;
      continue;
    }
    if (event.size > block.size() - out) {
      if (lastEvent >= 0) {
        PutWord(block, static_cast<std::size_t>(lastEvent) + 8,
                WordAt(block, static_cast<std::size_t>(lastEvent) + 8) | MEVT_F_CALLBACK);
        break;
      }
      block.resize(out + event.size, 0);
    }
    PutWord(block, out, static_cast<std::uint32_t>(total));
    PutWord(block, out + 4, 0);
    PutWord(block, out + 8, event.word);
    if (event.longData) {
      // The long message is the status byte, then the data.
      block[out + kMidiEventHeaderBytes] = event.longStatus;
      std::memcpy(block.data() + out + kMidiEventHeaderBytes + 1, event.longData, event.longLength - 1);
    }
    lastEvent = out;
    out += event.size;
    pendingDelta = 0;
    at = event.next;
    consumedTo = event.next;
    if (event.end) break;
  }
  header.bytesRecorded = out;
  return consumedTo - start;
}

cMidiStream::cMidiStream(const std::string& name) : cMidiFile(name) {
  if (HasImage()) Open();
}

cMidiStream::~cMidiStream() { Close(); }

void cMidiStream::Check(const char* operation, MidiResult result) {
  if (result != MMSYSERR_NOERROR)
    ReportLogAndLog("Midi %s %s %s", m_Name.c_str(), operation, MidiErrorText(result).c_str());
}

void cMidiStream::Open() {
  std::lock_guard lock(m_Lock);
  m_Current = 0;
  m_Count = kMidiBufferCount;
  m_BufferSize = kMidiBufferSize;
  for (int i = 0; i < m_Count; ++i) {
    m_Headers[i].data.assign(static_cast<std::size_t>(m_BufferSize), 0);
    m_Headers[i].user = static_cast<std::uintptr_t>(i);
  }
  // The thread's queue exists before the thread runs, so the greeting cannot be lost and needs no
  // retries; without a thread there are no callbacks, and the music stops after two buffers.
  if (m_Thread.Start(MidiThreadProc, this))
    PostThreadMessage(m_Thread.id, kMidiThreadHello, 0, 0);
  else
    Check("Open", MMSYSERR_NOMEM);
  Check("Open", OpenMidiOutput(m_Thread.id, m_Stream));
  const std::uint32_t division = static_cast<std::uint32_t>(m_Image[12]) << 8 | m_Image[13];
  Check("Property", OnStream([&](cMidiOutput& s) { return s.SetTimeDivision(division); }));
  m_Position = kMidiImageHeaderBytes;
  m_State = 0;
  OutLocked();
}

std::uint32_t cMidiStream::FillBuffer(MidiHeader& header) { return FillMidiBuffer(m_Image, m_Position, header); }

void cMidiStream::OutLocked() {
  if (m_Closed || m_Position >= TrackEnd()) return;
  MidiHeader& header = m_Headers[m_Current];
  if (header.flags.load(std::memory_order_acquire) & MHDR_INQUEUE) return;
  m_Position += FillBuffer(header);
  Check("Prepare", OnStream([&](cMidiOutput& s) { return s.Prepare(header); }));
  Check("Out", OnStream([&](cMidiOutput& s) { return s.Out(header); }));
  m_Current = (m_Current + 1) % m_Count;
}

void cMidiStream::Out() {
  std::lock_guard lock(m_Lock);
  OutLocked();
}

void cMidiStream::RestartLocked(int loop) {
  if (!HasImage() || m_Closed) return;
  m_Loop = loop;
  if (m_State == 1) return;
  Check("Restart", OnStream([](cMidiOutput& s) { return s.Restart(); }));
  const std::int32_t previous = m_State;
  m_State = 1;
  // A paused stream still has its buffers queued; a stopped one has only the first.
  if (previous != 2) OutLocked();
}

void cMidiStream::Restart(int loop) {
  std::lock_guard lock(m_Lock);
  RestartLocked(loop);
}

void cMidiStream::StopLocked(int pause) {
  if (!HasImage() || m_Closed) return;
  if (pause) {
    if (m_State != 1) return;
    Check("Pause", OnStream([](cMidiOutput& s) { return s.Pause(); }));
    m_State = 2;
    return;
  }
  Check("Stop", OnStream([](cMidiOutput& s) { return s.Stop(); }));
  m_State = 0;
  m_Position = kMidiImageHeaderBytes;
  OutLocked();
}

void cMidiStream::Stop(int pause) {
  std::lock_guard lock(m_Lock);
  StopLocked(pause);
}

void cMidiStream::OnPositionCallback(std::uintptr_t user, std::intptr_t where) {
  std::lock_guard lock(m_Lock);
  if (m_Closed || user >= static_cast<std::uintptr_t>(m_Count)) return;
  const MidiHeader& header = m_Headers[user];
  const std::uint64_t bits = static_cast<std::uint64_t>(where);
  const std::uint32_t offset = static_cast<std::uint32_t>(bits);
  // A callback of a fill that has since been replaced (the stream was stopped and refilled in the
  // meantime) speaks of events that are no longer there.
  if (static_cast<std::uint32_t>(bits >> 32) != header.fill) return;
  if (header.bytesRecorded < kMidiEventHeaderBytes || offset > header.bytesRecorded - kMidiEventHeaderBytes) return;
  const std::uint32_t event = WordAt(header.data, offset + 8);
  if (MidiEventParm(event) == MidiEventParm(kMidiEndMarker)) {
    StopLocked(0);
    if (m_Loop) RestartLocked(1);
    return;
  }
  // The last event of a full buffer has played: the other buffer plays now, refill this one.
  if (m_Position != TrackEnd()) OutLocked();
}

void cMidiStream::Close() {
  {
    std::lock_guard lock(m_Lock);
    if (m_Closed) return;
    m_Closed = true;
  }
  // The callback thread ends first; a callback it was handling has finished, and callbacks still on
  // their way find no queue to arrive in.
  m_Thread.Quit();
  std::lock_guard lock(m_Lock);
  if (m_Stream) {
    Check("Reset", m_Stream->Reset());
    for (int i = 0; i < m_Count; ++i) Check("Unprepare", m_Stream->Unprepare(m_Headers[i]));
    Check("Close", m_Stream->Close());
    m_Stream.reset();
  }
  for (MidiHeader& header : m_Headers) {
    header.data.clear();
    header.data.shrink_to_fit();
    header.bytesRecorded = 0;
  }
}

int cMidiStream::State() const {
  std::lock_guard lock(m_Lock);
  return m_State;
}

std::uint32_t cMidiStream::Position() const {
  std::lock_guard lock(m_Lock);
  return m_Position;
}

std::uint32_t MidiThreadProc(void* player) {
  auto& self = *static_cast<cMidiStream*>(player);
  while (auto msg = GetThreadMessage()) {
    if (msg->message == WM_QUIT) break;
    if (msg->message == MM_MOM_POSITIONCB) self.OnPositionCallback(msg->wParam, msg->lParam);
    // The greeting, buffers handed back, and anything else: nothing to do.
  }
  return 0;
}

void cMidiList::SetCount(int n) { resize(static_cast<std::size_t>(std::max(n, 0))); }

void cMidiList::StopAll(int pause) {
  for (auto& player : *this)
    if (player) player->Stop(pause);
}

void cMidiList::DeleteAll() {
  for (auto& player : *this) player.reset();
}

bool cMidiList::Play(int channel, const std::string& name, int loop) {
  StopAll(1);
  DeleteAll();
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.compare(dot + 1, std::string::npos, "mid") != 0) return false;
  if (empty()) {
    // The checked access would have nothing to give; its failure lines and the close stay the same.
    ReportBadVectorIndex(channel, 0, CheckedElementSize<std::unique_ptr<cMidiStream>>());
    return false;
  }
  std::unique_ptr<cMidiStream>& slot = At(channel);
  slot = std::make_unique<cMidiStream>(name);
  if (!slot->HasImage()) return false;
  slot->Restart(loop);
  return true;
}
