// The replay record: run-length coding of the two input streams, play-back, copies and the body
// as a file holds it, with the damaged bodies a hostile file can hold.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "project/replay.h"
#include "tests/project/block_fixture.h"

namespace {

using Frame = std::array<std::uint16_t, 2>;

void Record(cReplayRecord& record, const std::vector<Frame>& frames) {
  for (const Frame& frame : frames) record.RecordFrameInput(frame.data());
}

// Every frame until the record says it is used up (at most limit, so a fault cannot hang the test).
std::vector<Frame> PlayAll(cReplayRecord& record, std::size_t limit = 1000) {
  std::vector<Frame> frames;
  Frame frame{};
  while (frames.size() < limit && record.PlayFrameInput(frame.data()) == 0) frames.push_back(frame);
  return frames;
}

// A record body as a file holds it: the seed, then the four counted lists.
cByteBuilder Body(std::uint32_t seed, const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b,
                  const std::vector<std::uint32_t>& runsA, const std::vector<std::uint32_t>& runsB) {
  cByteBuilder out;
  out.U32(1).U32(seed).U32(0);
  out.Vector(a, [](cByteBuilder& o, std::uint16_t v) { o.U16(v); });
  out.Vector(b, [](cByteBuilder& o, std::uint16_t v) { o.U16(v); });
  out.Vector(runsA, [](cByteBuilder& o, std::uint32_t v) { o.U32(v); });
  out.Vector(runsB, [](cByteBuilder& o, std::uint32_t v) { o.U32(v); });
  return out;
}

// Reads a body (after a version word) into record; true when the reader found it damaged.
bool ReadBody(cReplayRecord& record, const cByteBuilder& body, std::uint32_t version = 556) {
  cByteBuilder file;
  file.U32(version).Append(body);
  cRecordReader in(file.Data());
  record.Read(in);
  return in.Damaged();
}

class ReplayRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { InitRecordSettings(); }
};

TEST_F(ReplayRecordTest, EachStreamIsRunLengthCodedOnItsOwnAndPlaysBackThenEnds) {
  const std::vector<Frame> frames = {{5, 0}, {5, 0}, {5, 1}, {7, 1}};
  cReplayRecord record;
  Record(record, frames);
  EXPECT_EQ(record.m_ValuesA, (CheckedVector<std::uint16_t>{5, 7}));
  EXPECT_EQ(record.m_RunsA, (CheckedVector<std::uint32_t>{3, 1}));
  EXPECT_EQ(record.m_ValuesB, (CheckedVector<std::uint16_t>{0, 1}));
  EXPECT_EQ(record.m_RunsB, (CheckedVector<std::uint32_t>{2, 2}));

  EXPECT_EQ(PlayAll(record), frames);
  // Used up: stays used up, and the words are left alone.
  Frame untouched{9, 9};
  EXPECT_EQ(record.PlayFrameInput(untouched.data()), 1u);
  EXPECT_EQ(untouched, (Frame{9, 9}));

  record.RewindPlayback();
  EXPECT_EQ(PlayAll(record), frames);
}

TEST_F(ReplayRecordTest, ARecordingOfNoFramesIsUsedUpAtOnce) {
  cReplayRecord record;
  EXPECT_TRUE(record.Empty());
  EXPECT_TRUE(PlayAll(record).empty());
  // Cleared after a recording: the same, and the storage is kept for the next one.
  Record(record, {{1, 2}, {3, 4}});
  const auto capacity = record.m_ValuesA.capacity();
  record.ClearStreams();
  EXPECT_TRUE(PlayAll(record).empty());
  EXPECT_EQ(record.m_ValuesA.capacity(), capacity);
}

TEST_F(ReplayRecordTest, ALongHeldInputAddsNoEntries) {
  cReplayRecord record;
  Record(record, {{1, 1}});
  const auto capacityA = record.m_ValuesA.capacity();
  for (int i = 0; i < 10000; ++i) Record(record, {{1, 1}});
  EXPECT_EQ(record.m_ValuesA.size(), 1u);
  EXPECT_EQ(record.m_RunsA.At(0), 10001u);
  EXPECT_EQ(record.m_ValuesA.capacity(), capacityA);
  // A run that cannot count further goes on in a new run of the same word.
  record.m_RunsA.At(0) = 0xFFFFFFFFu;
  Record(record, {{1, 1}});
  EXPECT_EQ(record.m_ValuesA, (CheckedVector<std::uint16_t>{1, 1}));
  EXPECT_EQ(record.m_RunsA, (CheckedVector<std::uint32_t>{0xFFFFFFFFu, 1}));
}

TEST_F(ReplayRecordTest, AssignmentCopiesStreamsAndSeedButNotTheCursors) {
  cReplayRecord source;
  Record(source, {{1, 2}, {3, 4}, {3, 4}});
  source.m_Seed = 77;
  Frame frame{};
  source.PlayFrameInput(frame.data());

  cReplayRecord target;
  Record(target, {{8, 8}, {8, 9}, {9, 9}});
  target.PlayFrameInput(frame.data());
  target.PlayFrameInput(frame.data());
  const auto cursors = std::array{target.m_IndexA, target.m_IndexB, target.m_TakenA, target.m_TakenB};

  target = source;
  EXPECT_EQ(target.m_ValuesA, source.m_ValuesA);
  EXPECT_EQ(target.m_ValuesB, source.m_ValuesB);
  EXPECT_EQ(target.m_RunsA, source.m_RunsA);
  EXPECT_EQ(target.m_RunsB, source.m_RunsB);
  EXPECT_EQ(target.m_Seed, 77u);
  EXPECT_EQ((std::array{target.m_IndexA, target.m_IndexB, target.m_TakenA, target.m_TakenB}), cursors);
  // The copy's seed descriptor is its own.
  ASSERT_EQ(target.Fields().Size(), 1);
  EXPECT_EQ(target.Fields().At(0).data, &target.m_Seed);

  // A copy made by construction starts at the beginning.
  const cReplayRecord copy(source);
  EXPECT_EQ(copy.m_IndexA + copy.m_IndexB + copy.m_TakenA + copy.m_TakenB, 0u);
  EXPECT_EQ(copy.Fields().At(0).data, &copy.m_Seed);
  EXPECT_EQ(copy.m_RunsA, source.m_RunsA);
}

TEST_F(ReplayRecordTest, BodyWritesAsItReadsAndReadingLeavesTheCursors) {
  const cByteBuilder body = Body(0xDEADBEEF, {5, 7}, {0, 1}, {3, 1}, {2, 2});
  cReplayRecord record;
  Frame frame{};
  Record(record, {{4, 4}, {4, 4}});
  record.PlayFrameInput(frame.data());
  ASSERT_FALSE(ReadBody(record, body));
  EXPECT_EQ(record.m_Seed, 0xDEADBEEFu);
  EXPECT_EQ(record.m_TakenA, 1u);  // left for stage play to rewind
  record.RewindPlayback();
  EXPECT_EQ(PlayAll(record), (std::vector<Frame>{{5, 0}, {5, 0}, {5, 1}, {7, 1}}));

  cRecordWriter out;
  record.Write(out);
  EXPECT_EQ(HexBytes(out.Bytes()), HexBytes(body.Data()));
}

// Streams a recorder never makes: each is damaged, leaves nothing to play and never hangs.
TEST_F(ReplayRecordTest, DamagedBodiesAreReportedAndPlayNothing) {
  struct Case {
    const char* what;
    cByteBuilder body;
  };
  const std::vector<Case> cases = {
      {"a run of 0 frames", Body(1, {5, 7}, {0}, {3, 0}, {4})},
      {"fewer runs than values", Body(1, {5, 7}, {0}, {3}, {4})},
      {"more runs than values", Body(1, {5}, {0}, {3}, {2, 2})},
      {"a count beyond the file", cByteBuilder().U32(1).U32(1).U32(0).U32(0x40000000).U16(1)},
      {"a huge run count", cByteBuilder().U32(1).U32(1).U32(0).U32(1).U16(5).U32(1).U16(0).U32(0xFFFFFFFF).U32(1)},
      {"cut inside the runs", cByteBuilder().U32(1).U32(1).U32(0).U32(1).U16(5).U32(1).U16(0).U32(1).U32(3).U32(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cReplayRecord record;
    Record(record, {{9, 9}});
    EXPECT_TRUE(ReadBody(record, c.body));
    EXPECT_TRUE(PlayAll(record).empty());
    EXPECT_TRUE(record.StreamsValid());
  }
  // Every cut of a good body short of its end is damaged too.
  const cByteBuilder whole = Body(3, {5, 7}, {0, 1}, {3, 1}, {2, 2});
  for (std::size_t cut = 0; cut < whole.Size(); ++cut) {
    SCOPED_TRACE(cut);
    const std::vector<std::uint8_t> part(whole.Data().begin(), whole.Data().begin() + static_cast<long>(cut));
    cReplayRecord record;
    EXPECT_TRUE(ReadBody(record, cByteBuilder().Bytes(part)));
    EXPECT_TRUE(PlayAll(record).empty());
  }
}

// Streams set up in memory without the invariant end play-back instead of reading past a list or
// waiting for ever on a run of no frames.
TEST_F(ReplayRecordTest, PlayBackOfBrokenStreamsInMemoryEnds) {
  cReplayRecord record;
  record.m_ValuesA = {1, 2};
  record.m_RunsA = {0, 2};
  record.m_ValuesB = {3, 4, 5};
  record.m_RunsB = {1, 2};
  EXPECT_EQ(PlayAll(record), (std::vector<Frame>{{1, 3}, {2, 4}, {2, 4}}));
}

}  // namespace
