// The replay record: its two run-length coded input streams, recording and play-back of a frame.
#include "project/replay.h"

#include <algorithm>
#include <limits>

#include "project/system_data.h"

namespace {

constexpr std::uint32_t kLongestRun = std::numeric_limits<std::uint32_t>::max();

// One frame's word into one stream. Only a change of input (or a run that cannot count further)
// appends, so recording a held key costs nothing but an increment.
void AppendFrame(CheckedVector<std::uint16_t>& values, CheckedVector<std::uint32_t>& runs, std::uint16_t word) {
  if (!values.empty() && !runs.empty() && values.back() == word && runs.back() < kLongestRun) {
    ++runs.back();
    return;
  }
  values.push_back(word);
  runs.push_back(1);
}

// The word at the stream's cursor, and the cursor one frame on. A run is left once all its frames
// are taken; "at least" rather than "equal" so that a run of 0 frames cannot hold play-back for ever.
std::uint16_t TakeFrame(const CheckedVector<std::uint16_t>& values, const CheckedVector<std::uint32_t>& runs,
                        std::uint32_t& index, std::uint32_t& taken) {
  const int at = static_cast<int>(index);
  const std::uint16_t word = values.At(at);
  ++taken;
  if (taken >= runs.At(at)) {
    taken = 0;
    ++index;
  }
  return word;
}

// How many frames of a stream can be played: runs without a value, or values without a run, are
// never reached.
std::size_t PlayableRuns(const CheckedVector<std::uint16_t>& values, const CheckedVector<std::uint32_t>& runs) {
  return std::min(values.size(), runs.size());
}

template <class T>
bool ReadStream(CheckedVector<T>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, sizeof(T))) return false;
  list.resize(count);
  for (T& value : list) {
    bool read = false;
    if constexpr (sizeof(T) == 2)
      read = in.ReadU16(value);
    else
      read = in.ReadU32(value);
    if (!read) return false;
  }
  return true;
}

template <class T>
void WriteStream(const CheckedVector<T>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (T value : list) {
    if constexpr (sizeof(T) == 2)
      out.WriteU16(value);
    else
      out.WriteU32(value);
  }
}

bool RunsValid(const CheckedVector<std::uint16_t>& values, const CheckedVector<std::uint32_t>& runs) {
  return values.size() == runs.size() && std::find(runs.begin(), runs.end(), 0u) == runs.end();
}

}  // namespace

cReplayRecord::cReplayRecord() {
  RegisterFields(g_CurrentVersion);
  Reset();
}

cReplayRecord::cReplayRecord(const cReplayRecord& src)
    : cDataRecord(src),
      m_ValuesA(src.m_ValuesA),
      m_ValuesB(src.m_ValuesB),
      m_RunsA(src.m_RunsA),
      m_RunsB(src.m_RunsB),
      m_Seed(src.m_Seed) {
  RegisterFields(g_CurrentVersion);
}

cReplayRecord& cReplayRecord::operator=(const cReplayRecord& src) {
  if (this == &src) return *this;
  cDataRecord::operator=(src);
  // Assignment keeps the target's storage, so the copy made before every attempt allocates only
  // when the new recording is longer than any before it.
  m_ValuesA = src.m_ValuesA;
  m_ValuesB = src.m_ValuesB;
  m_RunsA = src.m_RunsA;
  m_RunsB = src.m_RunsB;
  m_Seed = src.m_Seed;
  return *this;
}

void cReplayRecord::RegisterFields(std::uint32_t /*version*/) {
  ClearFields();
  AddField(m_Seed);
}

void cReplayRecord::Read(cRecordReader& in) {
  if (in.Damaged()) return;
  cDataRecord::Read(in);
  const bool whole =
      ReadStream(m_ValuesA, in) && ReadStream(m_ValuesB, in) && ReadStream(m_RunsA, in) && ReadStream(m_RunsB, in);
  // Our recorder never leaves a value without its run or a run of no frames; such streams come
  // from a damaged file, and half of them would play back input nobody gave.
  if (whole && StreamsValid()) return;
  in.MarkDamaged();
  m_ValuesA.clear();
  m_ValuesB.clear();
  m_RunsA.clear();
  m_RunsB.clear();
}

void cReplayRecord::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteStream(m_ValuesA, out);
  WriteStream(m_ValuesB, out);
  WriteStream(m_RunsA, out);
  WriteStream(m_RunsB, out);
}

void cReplayRecord::RecordFrameInput(const std::uint16_t words[2]) {
  AppendFrame(m_ValuesA, m_RunsA, words[0]);
  AppendFrame(m_ValuesB, m_RunsB, words[1]);
}

std::uint32_t cReplayRecord::PlayFrameInput(std::uint16_t words[2]) {
  if (m_IndexA >= PlayableRuns(m_ValuesA, m_RunsA) || m_IndexB >= PlayableRuns(m_ValuesB, m_RunsB)) return 1;
  words[0] = TakeFrame(m_ValuesA, m_RunsA, m_IndexA, m_TakenA);
  words[1] = TakeFrame(m_ValuesB, m_RunsB, m_IndexB, m_TakenB);
  return 0;
}

void cReplayRecord::ClearStreams() {
  m_ValuesA.clear();
  m_ValuesB.clear();
  m_RunsA.clear();
  m_RunsB.clear();
  RewindPlayback();
}

void cReplayRecord::RewindPlayback() {
  m_IndexA = 0;
  m_IndexB = 0;
  m_TakenA = 0;
  m_TakenB = 0;
}

bool cReplayRecord::StreamsValid() const { return RunsValid(m_ValuesA, m_RunsA) && RunsValid(m_ValuesB, m_RunsB); }

bool ReplayRecordingOn() { return g_System.m_ReplayRecording != 0; }
