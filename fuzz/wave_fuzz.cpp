// A sound effect's WAVE file, read as the sound effects read theirs.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/audio/wave_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("wave\\fuzz.wav", data, size);
  WaveData wave;
  if (ReadWaveFile("wave\\fuzz.wav", &wave)) {
    volatile std::uint8_t sink = wave.samples.back();
    (void)sink;
  }
  FreeWaveData(&wave);
  EndFuzzInput();
  return 0;
}
