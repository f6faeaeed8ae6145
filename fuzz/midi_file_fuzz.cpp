// A MIDI file as the music reads it: checked and merged into one track, then the merged image
// converted into stream buffers from start to end as the stream player feeds its output.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "platform/audio/midi_file.h"
#include "platform/audio/midi_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cMidiFile file("bgm\\fuzz.mid", std::span<const std::uint8_t>(data, size));
  if (file.HasImage()) {
    const std::vector<std::uint8_t>& image = file.Image();
    MidiHeader header;
    header.data.resize(kMidiBufferSize);
    std::uint32_t position = kMidiImageHeaderBytes;
    // Each fill consumes at least one event until the end; the bound only guards the harness.
    for (int fill = 0; fill < 100000 && position < image.size(); ++fill) {
      const std::uint32_t used = FillMidiBuffer(image, position, header);
      if (used == 0) break;
      position += used;
    }
  }
  EndFuzzInput();
  return 0;
}
