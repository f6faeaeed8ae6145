#include "platform/audio/midi_file.h"

#include <sstream>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"

namespace {

struct VarLenRead {
  MidiBytes bytes;
  int count;
  std::uint32_t value;
};

TEST(MidiVarLen, ReadsOneToFourBytesAndNoMore) {
  const VarLenRead rows[] = {
      {{0x00}, 1, 0},
      {{0x7F, 0x55}, 1, 0x7F},
      {{0x81, 0x00}, 2, 0x80},
      {{0xFF, 0x7F}, 2, 0x3FFF},
      {{0x81, 0x80, 0x00}, 3, 0x4000},
      {{0xC0, 0x80, 0x80, 0x00}, 4, 0x08000000},
      {{0xFF, 0xFF, 0xFF, 0x7F}, 4, 0x0FFFFFFF},
      {{0x80, 0x80, 0x80, 0x80, 0x00}, 0, 0},  // a fifth byte is never read
      {{0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, 0, 0},
      {{0x81, 0x80}, 0, 0},  // the bytes end before the number does
      {{}, 0, 0},
  };
  for (const VarLenRead& row : rows) {
    std::uint32_t value = 12345;
    EXPECT_EQ(ReadVarLen(row.bytes, value), row.count) << HexBytes(row.bytes);
    EXPECT_EQ(value, row.value) << HexBytes(row.bytes);
  }
}

struct VarLenWrite {
  std::uint32_t value;
  MidiBytes bytes;
};

TEST(MidiVarLen, WritesTheShortestFormUpTo28Bits) {
  const VarLenWrite rows[] = {
      {0, {0x00}},
      {0x40, {0x40}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x2000, {0xC0, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
      {0x200000, {0x81, 0x80, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0x10000000, {}},
      {0xFFFFFFFF, {}},
  };
  for (const VarLenWrite& row : rows) {
    std::uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    const int count = WriteVarLen(out, row.value);
    EXPECT_EQ(MidiBytes(out, out + count), row.bytes) << row.value;
    if (count == 0) {
      EXPECT_EQ(out[0], 0xEE) << "nothing is written for " << row.value;
    }
  }
  std::uint8_t small[2];
  EXPECT_EQ(WriteVarLen(small, 0x4000), 0) << "a number that does not fit is not written";
}

TEST(MidiVarLen, EveryWrittenValueReadsBack) {
  for (std::uint32_t value = 1; value <= 0x0FFFFFFF; value = value * 3 + 1) {
    std::uint8_t out[4];
    const int count = WriteVarLen(out, value);
    std::uint32_t back = 0;
    ASSERT_EQ(ReadVarLen(std::span<const std::uint8_t>(out, static_cast<std::size_t>(count)), back), count);
    EXPECT_EQ(back, value);
  }
}

class MidiFileTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  MidiBytes ImageOf(const MidiBytes& file) {
    WriteHostFile("bgm/t.mid", AsText(file));
    cMidiFile midi("bgm\\t.mid");
    return midi.Image();
  }
};

TEST_F(MidiFileTest, FormatZeroImageHasEveryStatusByte) {
  // A note on, and its note off in running status 96 ticks later.
  const MidiBytes file = SmfFile(0, 96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
  const MidiBytes expected = {'M',  'T',  'h',  'd',  0,    0,    0,    6,    0,    0,   0,    1,
                              0,    0x60, 'M',  'T',  'r',  'k',  0,    0,    0,    12,  0x00, 0x90,
                              0x3C, 0x64, 0x60, 0x90, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(HexBytes(ImageOf(file)), HexBytes(expected));
  EXPECT_TRUE(ReportLines().empty());
}

TEST_F(MidiFileTest, FormatOneMergesByTimeAndTiesTakeTheLowerTrack) {
  const MidiBytes track0 = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  // Notes at 0 and 96 like track 0, a program change between, and an end later than track 0's.
  const MidiBytes track1 = {0x00, 0x91, 0x40, 0x64, 0x30, 0xC1, 0x05, 0x30, 0x81, 0x40, 0x00, 0x60, 0xFF, 0x2F, 0x00};
  const MidiBytes events = {0x00, 0x90, 0x3C, 0x64,   // 0, track 0 first
                            0x00, 0x91, 0x40, 0x64,   // 0
                            0x30, 0xC1, 0x05,         // 48
                            0x30, 0x80, 0x3C, 0x00,   // 96, track 0 first
                            0x00, 0x81, 0x40, 0x00,   // 96
                            0x60, 0xFF, 0x2F, 0x00};  // 192, the latest end
  EXPECT_EQ(HexBytes(ImageOf(SmfFile(1, 480, {track0, track1}))), HexBytes(MergedImage(480, events)));
}

TEST_F(MidiFileTest, RunningStatusIsWrittenOutAndSurvivesMetaAndSystemEvents) {
  const MidiBytes track = {0x00, 0xC0, 0x05,                    // program change
                           0x00, 0x07,                          // running, one data byte
                           0x00, 0x90, 0x3C, 0x64,              // note on
                           0x00, 0xFF, 0x01, 0x02, 'h',  'i',   // text
                           0x10, 0x3E, 0x64,                    // running note on
                           0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,  // system exclusive
                           0x10, 0x40, 0x64,                    // running note on
                           0x00, 0xFF, 0x2F, 0x00};
  const MidiBytes events = {0x00, 0xC0, 0x05, 0x00, 0xC0, 0x07, 0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF,
                            0x01, 0x02, 'h',  'i',  0x10, 0x90, 0x3E, 0x64, 0x00, 0xF0, 0x03, 0x7E,
                            0x7F, 0xF7, 0x10, 0x90, 0x40, 0x64, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(HexBytes(ImageOf(SmfFile(0, 96, {track}))), HexBytes(MergedImage(96, events)));
}

struct HeaderRefusal {
  const char* label;
  MidiBytes file;
  const char* line;  // after "Midi bgm\t.mid Init "
};

TEST_F(MidiFileTest, HeadersThatAreNotFormatZeroOrOneAreRefusedWithTheirLine) {
  const MidiBytes track = Chunk("MTrk", kEndOfTrack);
  const HeaderRefusal rows[] = {
      {"not a MIDI file", Concat({Chunk("RIFF", {0, 0, 0, 1, 0, 96}), track}), "標準MIDIでない(4)"},
      {"shorter than its tag", {'M', 'T', 'h'}, "標準MIDIでない(4)"},
      {"header length 7", Concat({Chunk("MThd", {0, 0, 0, 1, 0, 96, 0}), track}), "標準MIDIでない(6)"},
      {"header cut short of its 6 bytes", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1}, "標準MIDIでない(6)"},
      {"format bytes 0 and 2", Concat({HeaderChunk(2, 1, 96), track}), "対応フォーマットが2でない"},
      {"format 3", Concat({HeaderChunk(3, 1, 96), track}), "対応フォーマットが0または1でない"},
      {"format 0x100", Concat({HeaderChunk(0x100, 1, 96), track}), "対応フォーマットが0または1でない"},
      {"no track chunk at 14", Concat({HeaderChunk(0, 1, 96), Chunk("MTrx", kEndOfTrack)}), "標準MIDIでない(4)"},
      {"file ends after the header", HeaderChunk(0, 1, 96), "標準MIDIでない(4)"},
  };
  for (const HeaderRefusal& row : rows) {
    ReportLogOpen("Report_Game.txt");
    EXPECT_TRUE(ImageOf(row.file).empty()) << row.label;
    EXPECT_EQ(ReportLines(), std::vector<std::string>{std::string("Midi bgm\\t.mid Init ") + row.line}) << row.label;
  }
}

TEST_F(MidiFileTest, FileThatDoesNotOpenHasNoImageAndItsLine) {
  cMidiFile midi("bgm\\none.mid");
  EXPECT_FALSE(midi.HasImage());
  EXPECT_EQ(midi.Name(), "bgm\\none.mid");
  EXPECT_EQ(ReportLines(), std::vector<std::string>{"Midi bgm\\none.mid Create ファイルが開けません"});
}

TEST_F(MidiFileTest, FileLargerThanAnyMusicIsRefusedBeforeItIsRead) {
  MidiBytes huge = Concat({HeaderChunk(0, 1, 96), Chunk("MTrk", kEndOfTrack)});
  huge.resize(kMidiMaxFileBytes + 1);
  cMidiFile midi("big.mid", huge);
  EXPECT_FALSE(midi.HasImage());
  EXPECT_EQ(ReportLines(), std::vector<std::string>{"Midi big.mid Create file too large (16777217 bytes)"});
}

struct TrackDamage {
  const char* label;
  MidiBytes track0;
  const char* line;  // after "Midi bgm\t.mid Init track 0: "
  MidiBytes kept;    // the events before the damage
};

TEST_F(MidiFileTest, DamagedTrackEndsAtTheDamageAndTheNextTrackStillPlays) {
  // Track bodies start at offset 22; the good note takes 22 to 25.
  const MidiBytes kNote = {0x00, 0x90, 0x3C, 0x64};
  const TrackDamage rows[] = {
      {"delta of five bytes",
       {0x00, 0x90, 0x3C, 0x64, 0x80, 0x80, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x00},
       "a variable-length number longer than 4 bytes at offset 26",
       kNote},
      {"running status first",
       {0x00, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00},
       "running status without an earlier channel status at offset 23",
       {}},
      {"running status after only meta events",
       {0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x64},
       "running status without an earlier channel status at offset 27",
       {0x00, 0xFF, 0x01, 0x00}},
      {"unknown status byte",
       {0x00, 0x90, 0x3C, 0x64, 0x00, 0xF4, 0x00, 0x00, 0xFF, 0x2F, 0x00},
       "unknown status byte F4 at offset 27",
       kNote},
      {"note cut by the chunk end",
       {0x00, 0x90, 0x3C, 0x64, 0x00, 0x90, 0x3C},
       "an event cut short by the end of the track at offset 26",
       kNote},
      {"delta cut by the chunk end",
       {0x00, 0x90, 0x3C, 0x64, 0x81},
       "an event cut short by the end of the track at offset 26",
       kNote},
      {"meta data past the chunk end",
       {0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x10, 'a'},
       "an event cut short by the end of the track at offset 26",
       kNote},
      {"meta length of five bytes",
       {0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01},
       "a variable-length number longer than 4 bytes at offset 29",
       kNote},
      {"system exclusive past the chunk end",
       {0x00, 0x90, 0x3C, 0x64, 0x00, 0xF0, 0x7F, 0x01},
       "an event cut short by the end of the track at offset 26",
       kNote},
  };
  const MidiBytes track1 = {0x00, 0x91, 0x40, 0x64, 0x00, 0xFF, 0x2F, 0x00};
  for (const TrackDamage& row : rows) {
    ReportLogOpen("Report_Game.txt");
    const MidiBytes events = Concat({row.kept, {0x00, 0x91, 0x40, 0x64, 0x00, 0xFF, 0x2F, 0x00}});
    EXPECT_EQ(HexBytes(ImageOf(SmfFile(1, 96, {row.track0, track1}))), HexBytes(MergedImage(96, events))) << row.label;
    EXPECT_EQ(ReportLines(), std::vector<std::string>{std::string("Midi bgm\\t.mid Init track 0: ") + row.line})
        << row.label;
  }
}

TEST_F(MidiFileTest, TracksAreFoundByTheirChunksNotByTheirEndEvents) {
  // Track 0 has no end event; an unknown chunk follows it; the header counts one track too many;
  // the last chunk claims more bytes than the file has.
  const MidiBytes file = Concat({HeaderChunk(1, 3, 96), Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64}),
                                 Chunk("XFIH", {0xFF, 0x2F, 0x00, 0x00, 0x90, 0x30}),
                                 Chunk("MTrk", {0x00, 0x91, 0x40, 0x64, 0x60, 0xFF, 0x2F, 0x00}, 1000)});
  const MidiBytes events = {0x00, 0x90, 0x3C, 0x64, 0x00, 0x91, 0x40, 0x64, 0x60, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(HexBytes(ImageOf(file)), HexBytes(MergedImage(96, events)));
  EXPECT_TRUE(ReportLines().empty());
}

TEST_F(MidiFileTest, AbsoluteTimesPast32BitsKeepTheirOrder) {
  // Track 0: 17 notes 2^28 - 1 ticks apart, the last beyond 2^32 ticks. Track 1: one note at the
  // time of track 0's first. Times cut to 32 bits would put track 0's last note near the start.
  const MidiBytes step = {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x64};
  MidiBytes track0;
  for (int i = 0; i < 17; ++i) track0 = Concat({track0, step});
  track0 = Concat({track0, kEndOfTrack});
  const MidiBytes track1 = Concat({{0xFF, 0xFF, 0xFF, 0x7F, 0x91, 0x40, 0x64}, kEndOfTrack});

  MidiBytes events = Concat({step, {0x00, 0x91, 0x40, 0x64}});
  for (int i = 1; i < 17; ++i) events = Concat({events, step});
  events = Concat({events, kEndOfTrack});
  EXPECT_EQ(HexBytes(ImageOf(SmfFile(1, 96, {track0, track1}))), HexBytes(MergedImage(96, events)));
}

}  // namespace
