// Filling stream buffers from a merged image.
#include <gtest/gtest.h>

#include <vector>

#include "platform/audio/midi_file.h"
#include "platform/audio/midi_stream.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/support/byte_builder.h"

namespace {

constexpr std::uint32_t kStart = kMidiImageHeaderBytes;

void Block(MidiHeader& header, std::size_t size) { header.data.assign(size, 0xEE); }

std::uint32_t Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
  return status | static_cast<std::uint32_t>(data1) << 8 | static_cast<std::uint32_t>(data2) << 16;
}

TEST(MidiBuffer, EventsBecomeStreamEventsWithTheirDeltaTimes) {
  const MidiBytes events = Concat({TempoEvent(0, 500000),
                                   {0x00, 0xC0, 0x05},                                // program change
                                   {0x00, 0x90, 0x3C, 0x64},                          // note on
                                   {0x60, 0xFF, 0x01, 0x02, 'h', 'i'},                // text: no event
                                   {0x00, 0x80, 0x3C, 0x00},                          // note off
                                   {0x10, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},  // system exclusive
                                   kEndOfTrack});
  const MidiBytes image = MergedImage(96, events);
  MidiHeader header;
  Block(header, kMidiBufferSize);
  header.flags = MHDR_DONE | MHDR_PREPARED;
  header.fill = 4;

  EXPECT_EQ(FillMidiBuffer(image, kStart, header), image.size() - kStart);
  const std::vector<BufferEvent> expected = {
      {0, 0, 0x0107A120, {}},
      {0, 0, Short(0xC0, 0x05), {}},
      {0, 0, Short(0x90, 0x3C, 0x64), {}},
      {96, 0, Short(0x80, 0x3C, 0x00), {}},  // the text's delta time goes to the next event
      {16, 0, MEVT_F_LONG | 6, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
      {0, 0, kMidiEndMarker, {}},
  };
  EXPECT_EQ(header.bytesRecorded, 5 * 12 + 12 + 8u);
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded), expected);
  EXPECT_EQ(header.data[12 * 4 + 12 + 6], 0) << "padding after the long data";
  EXPECT_EQ(header.data[12 * 4 + 12 + 7], 0) << "padding after the long data";
  for (std::size_t i = header.bytesRecorded; i < header.data.size(); ++i) ASSERT_EQ(header.data[i], 0) << i;
  EXPECT_EQ(header.flags.load(), 0u);
  EXPECT_EQ(header.fill, 5u);
}

TEST(MidiBuffer, FullBufferMarksItsLastEventForACallbackAndKeepsTheRest) {
  MidiBytes events;
  for (std::uint8_t note = 60; note < 65; ++note) events = Concat({events, {0x01, 0x90, note, 0x64}});
  const MidiBytes image = MergedImage(96, Concat({events, kEndOfTrack}));
  MidiHeader header;
  Block(header, 36);  // room for three events

  std::uint32_t position = kStart;
  position += FillMidiBuffer(image, position, header);
  EXPECT_EQ(position, kStart + 12) << "three notes of four bytes consumed";
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded),
            (std::vector<BufferEvent>{{1, 0, Short(0x90, 60, 0x64), {}},
                                      {1, 0, Short(0x90, 61, 0x64), {}},
                                      {1, 0, MEVT_F_CALLBACK | Short(0x90, 62, 0x64), {}}}));

  // Two notes and the end marker fill the buffer exactly: nothing left over, nothing flagged.
  position += FillMidiBuffer(image, position, header);
  EXPECT_EQ(position, image.size());
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded),
            (std::vector<BufferEvent>{
                {1, 0, Short(0x90, 63, 0x64), {}}, {1, 0, Short(0x90, 64, 0x64), {}}, {0, 0, kMidiEndMarker, {}}}));
}

TEST(MidiBuffer, EndMarkerThatDoesNotFitGoesToTheNextBuffer) {
  const MidiBytes image = MergedImage(96, Concat({{0x00, 0x90, 0x3C, 0x64}, {0x00, 0x90, 0x3E, 0x64}, kEndOfTrack}));
  MidiHeader header;
  Block(header, 24);
  std::uint32_t position = kStart + FillMidiBuffer(image, kStart, header);
  EXPECT_EQ(position, kStart + 8);
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded).back().event, MEVT_F_CALLBACK | Short(0x90, 0x3E, 0x64));
  position += FillMidiBuffer(image, position, header);
  EXPECT_EQ(position, image.size());
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded), (std::vector<BufferEvent>{{0, 0, kMidiEndMarker, {}}}));
}

TEST(MidiBuffer, MetaEventBeforeAFullBufferKeepsItsDeltaTime) {
  const MidiBytes image = MergedImage(96, Concat({{0x00, 0x90, 0x3C, 0x64},
                                                  {0x00, 0x90, 0x3E, 0x64},
                                                  {0x60, 0xFF, 0x06, 0x00},  // a marker, 96 ticks on
                                                  {0x00, 0x80, 0x3C, 0x00},
                                                  kEndOfTrack}));
  MidiHeader header;
  Block(header, 24);
  std::uint32_t position = kStart + FillMidiBuffer(image, kStart, header);
  EXPECT_EQ(position, kStart + 8) << "the marker is read again with the next buffer";
  position += FillMidiBuffer(image, position, header);
  EXPECT_EQ(position, image.size());
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded),
            (std::vector<BufferEvent>{{96, 0, Short(0x80, 0x3C, 0x00), {}}, {0, 0, kMidiEndMarker, {}}}));
}

TEST(MidiBuffer, SystemExclusiveLargerThanTheBufferIsSentWhole) {
  constexpr std::uint32_t kData = 30000;  // F7 included
  MidiBytes sysex = {0x00, 0xF0};
  std::uint8_t length[4];
  const int lengthBytes = WriteVarLen(length, kData);
  sysex.insert(sysex.end(), length, length + lengthBytes);
  MidiBytes payload;
  for (std::uint32_t i = 0; i + 1 < kData; ++i) payload.push_back(static_cast<std::uint8_t>(i % 127));
  payload.push_back(0xF7);
  const MidiBytes image = MergedImage(96, Concat({sysex, payload, kEndOfTrack}));

  MidiHeader header;
  Block(header, kMidiBufferSize);
  std::uint32_t position = kStart + FillMidiBuffer(image, kStart, header);
  const std::vector<BufferEvent> first = BufferEvents(header.data, header.bytesRecorded);
  ASSERT_EQ(first.size(), 1u);
  // Alone in its buffer, so the end marker waits for the next one and the message asks for a callback.
  EXPECT_EQ(first[0].event, MEVT_F_LONG | MEVT_F_CALLBACK | (kData + 1));
  EXPECT_EQ(HexBytes(first[0].data), HexBytes(Concat({{0xF0}, payload})));
  position += FillMidiBuffer(image, position, header);
  EXPECT_EQ(position, image.size());
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded), (std::vector<BufferEvent>{{0, 0, kMidiEndMarker, {}}}));
}

TEST(MidiBuffer, DamagedImageEndsTheTrackInsteadOfReadingPastIt) {
  // An image cut inside a note (never made by the merge, but read as carefully as a file).
  MidiBytes image = MergedImage(96, {0x00, 0x90, 0x3C, 0x64, 0x00, 0x90, 0x3C});
  MidiHeader header;
  Block(header, kMidiBufferSize);
  EXPECT_EQ(FillMidiBuffer(image, kStart, header), image.size() - kStart);
  EXPECT_EQ(BufferEvents(header.data, header.bytesRecorded),
            (std::vector<BufferEvent>{{0, 0, Short(0x90, 0x3C, 0x64), {}}, {0, 0, kMidiEndMarker, {}}}));
}

}  // namespace
