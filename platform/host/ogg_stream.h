#pragma once
// An OGG Vorbis file streamed into the audio mixer. A decoder thread of the stream's own reads and
// decodes the file ahead into a ring of mixer frames (kMixRate, stereo, 16-bit); the mixer's source
// only copies out of the ring, so the audio thread never reads a file, allocates or waits. Looping
// goes on decoding from the start into the same ring, so the seam has no gap.
//
// Every section of a chained file is converted on its own: its rate is resampled to kMixRate and
// its channels are folded to stereo, so a chain that changes rate or channels plays on at the right
// pitch. A file that turns out damaged while it plays stops there, and the owner hears of it once.
//
// Only one thread (the window thread) calls a stream's operations.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// The loop count that stands for playing on without end.
constexpr std::int32_t kOggLoopForever = INT32_MAX;
// Frames the decoder keeps ready ahead of the mixer: about a third of a second.
constexpr int kOggRingFrames = 16384;
// Rates a section may have; others are taken as a damaged file.
constexpr long kOggMinRate = 100;
constexpr long kOggMaxRate = 200000;

class cOggSource;

class cOggStream {
 public:
  // Told, on the thread that found it, why a stream that was playing stopped: the file's name and a
  // short reason. Called at most once per Play.
  using ProblemSink = std::function<void(const std::string& name, const std::string& reason)>;

  explicit cOggStream(ProblemSink problem = {});
  ~cOggStream();
  cOggStream(const cOggStream&) = delete;
  cOggStream& operator=(const cOggStream&) = delete;

  // Opens the game file name, closing what was open. False, nothing open, when the file is missing
  // or is not an OGG Vorbis stream whose first section can be played.
  bool Open(std::string_view name);
  // Stops and closes the file.
  void Close();
  bool IsOpen() const;
  const std::string& Name() const { return m_Name; }

  // How often the file is repeated after its first play; kOggLoopForever without end. Read by Play.
  void SetLoopCount(std::int32_t count);
  std::int32_t LoopCount() const { return m_LoopCount; }

  // Starts the open file from its beginning, at once: the first part is decoded before the stream
  // joins the mixer. Nothing without an open file.
  void Play();
  // Leaves the mixer at once and ends the decoder thread; the next Play starts from the beginning.
  void Stop();
  // In the mixer and not yet played to its end.
  bool IsPlaying() const;

  // Frames the mixer has taken from the stream since Play.
  std::int64_t PlayedFrames() const;
  // Frames the mixer wanted while the decoder had nothing ready (before the end).
  std::int64_t UnderrunFrames() const;

  // Waits until the decoder has filled the ring or decoded to the end. On the null device time
  // passes as fast as the renderer asks, so the renderer settles the streams first to hear them
  // whole, as a real device would.
  void Settle();

 private:
  struct cDecoder;

  void StartDecoder();
  void StopDecoder();
  void DecoderProc();
  // Decodes into the ring while it has room and the file has frames; the calling thread owns the
  // decoder (the window thread before the decoder thread starts, the decoder thread after).
  void DecodeAhead();
  bool DecoderIdle() const;

  ProblemSink m_Problem;
  std::string m_Name;
  std::int32_t m_LoopCount = 0;
  std::unique_ptr<cDecoder> m_Decoder;
  std::shared_ptr<cOggSource> m_Source;
  bool m_InMixer = false;

  // Between the window thread and the decoder thread; never taken by the mixer.
  mutable std::mutex m_Lock;
  std::condition_variable m_Wake;     // the decoder: quit, or room in the ring
  std::condition_variable m_Settled;  // the settlers: the decoder is idle or gone
  bool m_Quit = false;
  bool m_Running = false;
  bool m_Idle = false;  // the decoder found the ring full and waits
  std::thread m_Thread;

  // The list of every stream, under the registry's lock.
  friend void SettleOggStreams();
  cOggStream* m_PrevStream = nullptr;
  cOggStream* m_NextStream = nullptr;
};

// Settles every stream that plays (see cOggStream::Settle).
void SettleOggStreams();
