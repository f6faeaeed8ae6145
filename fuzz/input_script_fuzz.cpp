// The input script of headless runs (--input FILE): parsed, then applied frame by frame.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/host/input_devices.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cScriptedInputSource source;
  std::string error;
  if (source.LoadScript(std::string_view(reinterpret_cast<const char*>(data), size), &error))
    for (std::uint32_t frame = 0; frame < 64; ++frame) source.ApplyFrame(frame * 37);
  EndFuzzInput();
  return 0;
}
