// A music file in OGG Vorbis as the music opens it: the headers and the first section's set-up.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/host/ogg_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("bgm\\fuzz.ogg", data, size);
  cOggStream stream;
  stream.Open("bgm\\fuzz.ogg");
  stream.Close();
  EndFuzzInput();
  return 0;
}
