#include "platform/host/ogg_stream.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <span>
#include <system_error>
#include <vector>

#include "platform/host/audio_mixer.h"
#include "platform/host/game_files.h"

namespace {

using namespace std::chrono_literals;

static_assert((kOggRingFrames & (kOggRingFrames - 1)) == 0, "the ring is indexed with a mask");
constexpr std::uint64_t kRingFrames = kOggRingFrames;
constexpr std::uint64_t kRingMask = kRingFrames - 1;
constexpr std::uint64_t kNoEnd = UINT64_MAX;
// The decoder tops the ring up once this much room is free, and hands frames to the mixer in pieces
// of this size while it decodes.
constexpr std::uint64_t kRefillFrames = 256;
// Input frames asked of the decoder at a time.
constexpr int kReadFrames = 1024;
// How long the decoder sleeps between looks at the ring when nobody wakes it.
constexpr auto kDecoderNap = 4ms;
// A settle that waits longer than this gives up: the renderer goes on with what there is.
constexpr auto kSettleLimit = 10s;

// Resampling position between two input frames, in 1/2^32 of a frame.
constexpr std::uint64_t kPhaseOne = std::uint64_t{1} << 32;

// How a section's channels fold to stereo, in the Vorbis channel order of each count: fronts to
// their side, the centre and surrounds to theirs at -3 dB, the effects channel left out. Each side
// is then scaled so that all its channels at full scale stay at full scale.
struct FoldGain {
  float left;
  float right;
};
constexpr float kSide = 0.70710678f;
constexpr FoldGain kFold1[] = {{1, 1}};
constexpr FoldGain kFold2[] = {{1, 0}, {0, 1}};
constexpr FoldGain kFold3[] = {{1, 0}, {kSide, kSide}, {0, 1}};
constexpr FoldGain kFold4[] = {{1, 0}, {0, 1}, {kSide, 0}, {0, kSide}};
constexpr FoldGain kFold5[] = {{1, 0}, {kSide, kSide}, {0, 1}, {kSide, 0}, {0, kSide}};
constexpr FoldGain kFold6[] = {{1, 0}, {kSide, kSide}, {0, 1}, {kSide, 0}, {0, kSide}, {0, 0}};
constexpr FoldGain kFold7[] = {{1, 0}, {kSide, kSide}, {0, 1}, {kSide, 0}, {0, kSide}, {0.5f, 0.5f}, {0, 0}};
constexpr FoldGain kFold8[] = {{1, 0}, {kSide, kSide}, {0, 1}, {kSide, 0}, {0, kSide}, {kSide, 0}, {0, kSide}, {0, 0}};
// Above eight channels the order is the file's own business: the first two are taken as the sides.
constexpr FoldGain kFoldWide[] = {{1, 0}, {0, 1}};
constexpr std::span<const FoldGain> kFoldTable[] = {{}, kFold1, kFold2, kFold3, kFold4, kFold5, kFold6, kFold7, kFold8};

std::vector<FoldGain> FoldFor(int channels) {
  std::vector<FoldGain> gains(static_cast<std::size_t>(channels), FoldGain{0, 0});
  const std::span<const FoldGain> row =
      channels < static_cast<int>(std::size(kFoldTable)) ? kFoldTable[channels] : std::span<const FoldGain>(kFoldWide);
  std::copy(row.begin(), row.end(), gains.begin());
  float left = 0;
  float right = 0;
  for (const FoldGain& g : gains) {
    left += g.left;
    right += g.right;
  }
  for (FoldGain& g : gains) {
    g.left /= left;
    g.right /= right;
  }
  return gains;
}

struct OggErrorRow {
  int code;
  const char* text;
};
constexpr OggErrorRow kOggErrors[] = {
    {OV_HOLE, "data missing or damaged"},
    {OV_EREAD, "read error"},
    {OV_EFAULT, "decoder fault"},
    {OV_EIMPL, "feature not supported"},
    {OV_EINVAL, "invalid data"},
    {OV_ENOTVORBIS, "not Vorbis data"},
    {OV_EBADHEADER, "bad header"},
    {OV_EVERSION, "unknown Vorbis version"},
    {OV_ENOTAUDIO, "not audio"},
    {OV_EBADPACKET, "bad packet"},
    {OV_EBADLINK, "bad link between sections"},
    {OV_ENOSEEK, "cannot seek"},
};

std::string OggErrorText(long code) {
  for (const OggErrorRow& row : kOggErrors)
    if (row.code == code) return row.text;
  return "error " + std::to_string(code);
}

// A sample of the decoder's float output at 16-bit scale; out-of-range and non-numbers made safe.
std::int32_t ToSample(float v) {
  if (!(v >= -1.0f && v <= 1.0f)) v = v > 1.0f ? 1.0f : (v < -1.0f ? -1.0f : 0.0f);
  return static_cast<std::int32_t>(v * 32767.0f);
}

std::size_t ReadFile(void* buffer, std::size_t size, std::size_t count, void* file) {
  return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}
int SeekFile(void* file, ogg_int64_t offset, int whence) {
  return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}
long TellFile(void* file) { return static_cast<long>(ftello(static_cast<std::FILE*>(file))); }

// Every stream, for SettleOggStreams: a list through the streams themselves, so that nothing here
// has a destructor that a stream outliving it at program end could trip over.
std::mutex s_RegistryLock;
cOggStream* s_FirstStream = nullptr;

}  // namespace

// The ring between the decoder (one producer) and the mixer (one consumer), and the stream's place
// in the mixer. Frames are counted from the start of the play; a slot is reused only after the mixer
// has published that it read it.
class cOggSource final : public cMixSource {
 public:
  cOggSource() : m_Samples(kRingFrames * kMixChannels) {}

  void MixInto(std::int32_t* mix, int frames) override {
    const std::uint64_t read = m_Read.load(std::memory_order_relaxed);
    const std::uint64_t written = m_Written.load(std::memory_order_acquire);
    const int n = static_cast<int>(std::min<std::uint64_t>(written - read, static_cast<std::uint64_t>(frames)));
    for (int i = 0; i < n; ++i) {
      const std::size_t at = static_cast<std::size_t>((read + static_cast<std::uint64_t>(i)) & kRingMask) * 2;
      mix[2 * i] += m_Samples[at];
      mix[2 * i + 1] += m_Samples[at + 1];
    }
    m_Read.store(read + static_cast<std::uint64_t>(n), std::memory_order_release);
    if (n < frames && read + static_cast<std::uint64_t>(n) < m_End.load(std::memory_order_acquire))
      m_Underrun.fetch_add(frames - n, std::memory_order_relaxed);
  }

  // Producer side.
  bool Put(std::int32_t left, std::int32_t right) {
    if (m_Pending - m_ReadSeen >= kRingFrames) {
      m_ReadSeen = m_Read.load(std::memory_order_acquire);
      if (m_Pending - m_ReadSeen >= kRingFrames) return false;
    }
    const std::size_t at = static_cast<std::size_t>(m_Pending & kRingMask) * 2;
    m_Samples[at] = static_cast<std::int16_t>(std::clamp<std::int32_t>(left, INT16_MIN, INT16_MAX));
    m_Samples[at + 1] = static_cast<std::int16_t>(std::clamp<std::int32_t>(right, INT16_MIN, INT16_MAX));
    ++m_Pending;
    if ((m_Pending & (kRefillFrames - 1)) == 0) Publish();
    return true;
  }
  bool Full() {
    m_ReadSeen = m_Read.load(std::memory_order_acquire);
    return m_Pending - m_ReadSeen >= kRingFrames;
  }
  void Publish() { m_Written.store(m_Pending, std::memory_order_release); }
  void MarkEnd() {
    Publish();
    m_End.store(m_Pending, std::memory_order_release);
  }

  // Any thread.
  bool EndMarked() const { return m_End.load(std::memory_order_acquire) != kNoEnd; }
  std::uint64_t PublishedRoom() const {
    return kRingFrames - (m_Written.load(std::memory_order_acquire) - m_Read.load(std::memory_order_acquire));
  }
  bool Finished() const {
    const std::uint64_t end = m_End.load(std::memory_order_acquire);
    return end != kNoEnd && m_Read.load(std::memory_order_acquire) >= end;
  }
  std::int64_t Played() const { return static_cast<std::int64_t>(m_Read.load(std::memory_order_acquire)); }
  std::int64_t Underrun() const { return m_Underrun.load(std::memory_order_relaxed); }

  // Only while neither the mixer nor a decoder uses the ring.
  void Reset() {
    m_Pending = 0;
    m_ReadSeen = 0;
    m_Written.store(0);
    m_Read.store(0);
    m_End.store(kNoEnd);
    m_Underrun.store(0);
  }

 private:
  std::vector<std::int16_t> m_Samples;
  std::atomic<std::uint64_t> m_Written{0};
  std::atomic<std::uint64_t> m_Read{0};
  std::atomic<std::uint64_t> m_End{kNoEnd};
  std::atomic<std::int64_t> m_Underrun{0};
  // The producer's own.
  std::uint64_t m_Pending = 0;
  std::uint64_t m_ReadSeen = 0;
};

// The open file and everything the decoding of one play keeps between its rounds. Owned by whichever
// thread decodes.
struct cOggStream::cDecoder {
  GameFile file;
  OggVorbis_File vf{};
  bool open = false;

  // The section being converted.
  int link = -1;
  std::vector<FoldGain> fold;
  std::uint64_t step = kPhaseOne;

  // Linear resampling between the previous input frame and the current one.
  std::uint64_t phase = 0;
  bool primed = false;
  bool hasCurrent = false;
  std::int32_t prevLeft = 0;
  std::int32_t prevRight = 0;
  std::int32_t curLeft = 0;
  std::int32_t curRight = 0;

  // Decoded frames not converted yet; the decoder's own memory, valid until the next read.
  float** pcm = nullptr;
  long pcmAt = 0;
  long pcmCount = 0;

  bool forever = false;
  std::int64_t loopsLeft = 0;
  std::int64_t framesThisPass = 0;
  bool flushing = false;
  bool ended = false;

  ~cDecoder() {
    if (open) ov_clear(&vf);
  }

  void Rewind(std::int32_t loopCount) {
    link = -1;
    phase = 0;
    primed = false;
    hasCurrent = false;
    pcm = nullptr;
    pcmAt = 0;
    pcmCount = 0;
    forever = loopCount == kOggLoopForever;
    loopsLeft = std::max<std::int32_t>(loopCount, 0);
    framesThisPass = 0;
    flushing = false;
    ended = false;
  }

  // The section's format; false for one that cannot be played.
  bool SetupSection(int section) {
    const vorbis_info* info = ov_info(&vf, section);
    if (!info || info->channels < 1 || info->rate < kOggMinRate || info->rate > kOggMaxRate) return false;
    fold = FoldFor(info->channels);
    step = (static_cast<std::uint64_t>(info->rate) << 32) / kMixRate;
    link = section;
    return true;
  }

  // Emits the output frames that lie between the previous and the current input frame. False when
  // the ring filled first; the rest follows next time.
  bool Drain(cOggSource& ring) {
    while (phase < kPhaseOne) {
      const auto frac = static_cast<std::int64_t>(phase >> 16);
      const auto left = static_cast<std::int32_t>(prevLeft + ((curLeft - prevLeft) * frac >> 16));
      const auto right = static_cast<std::int32_t>(prevRight + ((curRight - prevRight) * frac >> 16));
      if (!ring.Put(left, right)) return false;
      phase += step;
    }
    phase -= kPhaseOne;
    prevLeft = curLeft;
    prevRight = curRight;
    hasCurrent = false;
    return true;
  }

  // Takes the next decoded frame as the current one (or, at the very start, the previous one).
  void TakeFrame() {
    const std::size_t at = static_cast<std::size_t>(pcmAt++);
    float left = 0;
    float right = 0;
    for (std::size_t c = 0; c < fold.size(); ++c) {
      const float v = pcm[c][at];
      left += v * fold[c].left;
      right += v * fold[c].right;
    }
    if (!primed) {
      prevLeft = ToSample(left);
      prevRight = ToSample(right);
      primed = true;
    } else {
      curLeft = ToSample(left);
      curRight = ToSample(right);
      hasCurrent = true;
    }
  }
};

cOggStream::cOggStream(ProblemSink problem)
    : m_Problem(std::move(problem)), m_Source(std::make_shared<cOggSource>()) {
  std::lock_guard lock(s_RegistryLock);
  m_NextStream = s_FirstStream;
  if (s_FirstStream) s_FirstStream->m_PrevStream = this;
  s_FirstStream = this;
}

cOggStream::~cOggStream() {
  {
    std::lock_guard lock(s_RegistryLock);
    (m_PrevStream ? m_PrevStream->m_NextStream : s_FirstStream) = m_NextStream;
    if (m_NextStream) m_NextStream->m_PrevStream = m_PrevStream;
  }
  Close();
}

bool cOggStream::Open(std::string_view name) {
  Close();
  GameFile file = OpenGameFile(name, "rb");
  if (!file) return false;
  auto decoder = std::make_unique<cDecoder>();
  decoder->file = std::move(file);
  const ov_callbacks callbacks = {ReadFile, SeekFile, nullptr, TellFile};
  // On failure the library has cleared what it made; the file is ours to close.
  if (ov_open_callbacks(decoder->file.get(), &decoder->vf, nullptr, 0, callbacks) != 0) return false;
  decoder->open = true;
  if (!decoder->SetupSection(0)) return false;
  m_Decoder = std::move(decoder);
  m_Name = std::string(name);
  return true;
}

void cOggStream::Close() {
  Stop();
  m_Decoder.reset();
  m_Name.clear();
}

bool cOggStream::IsOpen() const { return m_Decoder != nullptr; }

void cOggStream::SetLoopCount(std::int32_t count) { m_LoopCount = count; }

void cOggStream::Play() {
  Stop();
  if (!m_Decoder) return;
  m_Source->Reset();
  m_Decoder->Rewind(m_LoopCount);
  if (const int result = ov_raw_seek(&m_Decoder->vf, 0); result != 0) {
    m_Decoder->ended = true;
    if (m_Problem) m_Problem(m_Name, OggErrorText(result));
    return;
  }
  DecodeAhead();
  AddMixSource(m_Source);
  m_InMixer = true;
  if (!m_Source->EndMarked()) StartDecoder();
}

void cOggStream::Stop() {
  if (m_InMixer) {
    RemoveMixSource(m_Source.get());
    m_InMixer = false;
  }
  StopDecoder();
}

bool cOggStream::IsPlaying() const { return m_InMixer && !m_Source->Finished(); }

std::int64_t cOggStream::PlayedFrames() const { return m_Source->Played(); }

std::int64_t cOggStream::UnderrunFrames() const { return m_Source->Underrun(); }

void cOggStream::Settle() {
  std::unique_lock lock(m_Lock);
  if (!m_Running) return;
  m_Wake.notify_all();
  m_Settled.wait_for(lock, kSettleLimit, [&] { return !m_Running || DecoderIdle(); });
}

void cOggStream::StartDecoder() {
  std::lock_guard lock(m_Lock);
  m_Quit = false;
  m_Running = true;
  try {
    m_Thread = std::thread(&cOggStream::DecoderProc, this);
  } catch (const std::system_error&) {
    // No thread to be had: the stream plays what was decoded before it joined the mixer.
    m_Running = false;
  }
}

void cOggStream::StopDecoder() {
  {
    std::lock_guard lock(m_Lock);
    m_Quit = true;
  }
  m_Wake.notify_all();
  if (m_Thread.joinable()) m_Thread.join();
  std::lock_guard lock(m_Lock);
  m_Quit = false;
  m_Running = false;
}

bool cOggStream::DecoderIdle() const { return m_Source->EndMarked() || m_Source->PublishedRoom() < kRefillFrames; }

void cOggStream::DecoderProc() {
  std::unique_lock lock(m_Lock);
  while (!m_Quit) {
    if (DecoderIdle()) {
      if (m_Source->EndMarked()) break;
      m_Settled.notify_all();
      m_Wake.wait_for(lock, kDecoderNap);
      continue;
    }
    lock.unlock();
    try {
      DecodeAhead();
    } catch (...) {
      // Nothing may leave the thread; a stream that cannot go on ends where it is.
      m_Source->MarkEnd();
    }
    lock.lock();
  }
  m_Running = false;
  m_Settled.notify_all();
}

void cOggStream::DecodeAhead() {
  cDecoder& d = *m_Decoder;
  cOggSource& ring = *m_Source;
  auto fail = [&](const std::string& reason) {
    d.ended = true;
    ring.MarkEnd();
    if (m_Problem) m_Problem(m_Name, reason);
  };
  while (!d.ended) {
    if (d.hasCurrent) {
      if (!d.Drain(ring)) break;
      continue;
    }
    if (d.pcmAt < d.pcmCount) {
      d.TakeFrame();
      continue;
    }
    if (d.flushing) {
      // The last frame has nothing after it to lead to; it sounds once as it is.
      if (d.primed && !ring.Put(d.prevLeft, d.prevRight)) break;
      d.ended = true;
      ring.MarkEnd();
      break;
    }
    if (ring.Full()) break;
    int section = 0;
    float** pcm = nullptr;
    const long n = ov_read_float(&d.vf, &pcm, kReadFrames, &section);
    if (n < 0) {
      fail(OggErrorText(n));
      break;
    }
    if (n == 0) {
      // The end of the file: once more from the start while loops are left. A pass that gave no
      // frame at all would only spin, so it ends the stream.
      if (d.framesThisPass == 0 || (!d.forever && d.loopsLeft == 0)) {
        d.flushing = true;
        continue;
      }
      if (!d.forever) --d.loopsLeft;
      d.framesThisPass = 0;
      if (const int result = ov_raw_seek(&d.vf, 0); result != 0) fail(OggErrorText(result));
      continue;
    }
    if (section != d.link && !d.SetupSection(section)) {
      fail("section format not playable");
      break;
    }
    d.pcm = pcm;
    d.pcmAt = 0;
    d.pcmCount = n;
    d.framesThisPass += n;
  }
  ring.Publish();
}

void SettleOggStreams() {
  std::lock_guard lock(s_RegistryLock);
  for (cOggStream* stream = s_FirstStream; stream; stream = stream->m_NextStream) stream->Settle();
}
