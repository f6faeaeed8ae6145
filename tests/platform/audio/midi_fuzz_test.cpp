// Damaged MIDI files by the thousand: random mutations of a valid file (fixed seed, so a failure
// repeats) through the reader, the merge and the buffer filling. Run under the sanitizer build this
// shows that no file reads out of bounds; here it also checks that every image the merge makes is
// one the player can walk to its end.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/audio/midi_file.h"
#include "platform/audio/midi_stream.h"
#include "platform/services/log.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/support/game_folder.h"

namespace {

MidiBytes ValidFile() {
  const MidiBytes conductor = Concat({TempoEvent(0, 500000),
                                      {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08},  // time signature
                                      {0x00, 0xFF, 0x03, 0x05, 't', 'i', 't', 'l', 'e'},
                                      {0x83, 0x00, 0xFF, 0x51, 0x03, 0x06, 0x1A, 0x80},  // tempo at 384
                                      kEndOfTrack});
  const MidiBytes melody = Concat({{0x00, 0xC0, 0x05, 0x00, 0xB0, 0x07, 0x64, 0x00, 0x90, 0x3C, 0x64},
                                   {0x30, 0x3E, 0x64, 0x30, 0x3C, 0x00, 0x00, 0xE0, 0x00, 0x40},
                                   {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
                                   {0x60, 0x90, 0x40, 0x64, 0x81, 0x00, 0x80, 0x40, 0x00, 0x00, 0xD0, 0x30},
                                   kEndOfTrack});
  const MidiBytes bass = Concat({{0x00, 0xC1, 0x21, 0x00, 0x91, 0x24, 0x64, 0x60, 0xA1, 0x24, 0x20},
                                 {0x60, 0x81, 0x24, 0x00, 0x00, 0xF7, 0x02, 0xF3, 0x01},
                                 kEndOfTrack});
  return SmfFile(1, 96, {conductor, melody, bass});
}

void Mutate(MidiBytes& data, std::mt19937& random) {
  static const std::uint8_t kTelling[] = {0x00, 0x01, 0x7F, 0x80, 0x81, 0xFF, 0xF0, 0xF7, 0x2F, 0x51, 0x90, 0xC0};
  auto pick = [&](std::size_t n) { return n ? static_cast<std::size_t>(random() % n) : 0; };
  switch (random() % 7) {
    case 0:
      if (!data.empty()) data[pick(data.size())] ^= static_cast<std::uint8_t>(1u << (random() % 8));
      break;
    case 1:
      if (!data.empty()) data[pick(data.size())] = kTelling[pick(sizeof kTelling)];
      break;
    case 2: {
      const std::size_t at = pick(data.size() + 1);
      const std::size_t count = 1 + pick(8);
      for (std::size_t i = 0; i < count; ++i)
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(random()));
      break;
    }
    case 3:
      if (!data.empty()) {
        const std::size_t at = pick(data.size());
        const std::size_t count = std::min<std::size_t>(1 + pick(8), data.size() - at);
        data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + count));
      }
      break;
    case 4:
      data.resize(pick(data.size() + 1));
      break;
    case 5:
      // A length or count field made huge: the header's track count or a chunk length.
      if (data.size() >= 22) {
        const std::size_t at = random() % 2 ? 10 : 18;
        data[at] = 0xFF;
        data[at + 1] = static_cast<std::uint8_t>(random());
      }
      break;
    default:
      if (data.size() > 4) {
        const std::size_t from = pick(data.size() - 4);
        const std::size_t at = pick(data.size());
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(from),
                    data.begin() + static_cast<std::ptrdiff_t>(from + 4));
      }
      break;
  }
}

class MidiFuzzTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
};

TEST_F(MidiFuzzTest, DamagedFilesNeverReadOutOfBoundsAndEveryImagePlaysToItsEnd) {
  const MidiBytes valid = ValidFile();
  {
    cMidiFile midi("valid.mid", valid);
    ASSERT_TRUE(midi.HasImage()) << "the base file must be good";
  }
  std::mt19937 random(20240611);
  int images = 0;
  for (int iteration = 0; iteration < 4000; ++iteration) {
    MidiBytes data = valid;
    const int mutations = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < mutations; ++i) Mutate(data, random);

    cMidiFile midi("fuzz.mid", data);
    if (!midi.HasImage()) continue;
    ++images;
    const std::vector<std::uint8_t>& image = midi.Image();
    ASSERT_GE(image.size(), kMidiImageHeaderBytes + 4u) << iteration;
    ASSERT_EQ(image.size() - kMidiImageHeaderBytes,
              static_cast<std::size_t>(image[18]) << 24 | image[19] << 16 | image[20] << 8 | image[21])
        << iteration;
    ASSERT_EQ(MidiBytes(image.end() - 3, image.end()), (MidiBytes{0xFF, 0x2F, 0x00})) << iteration;

    // Small buffers, so that filling stops on full buffers too.
    MidiHeader header;
    header.data.assign(64, 0);
    std::uint32_t position = kMidiImageHeaderBytes;
    bool ended = false;
    for (int fill = 0; fill < 100000 && !ended; ++fill) {
      const std::uint32_t consumed = FillMidiBuffer(image, position, header);
      ASSERT_GT(consumed, 0u) << iteration;
      position += consumed;
      ASSERT_LE(position, image.size()) << iteration;
      const std::vector<BufferEvent> events = BufferEvents(header.data, header.bytesRecorded);
      ASSERT_FALSE(events.empty()) << iteration;
      ended = events.back().event == kMidiEndMarker;
    }
    EXPECT_TRUE(ended) << iteration;
    EXPECT_EQ(position, image.size()) << iteration;
  }
  // The mutations must leave enough files whole enough to be merged, or the walk proves nothing.
  EXPECT_GT(images, 1000);
}

}  // namespace
