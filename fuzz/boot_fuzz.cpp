// The boot settings user_data\Boot.dat, read as start-up reads them.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/project_paths.h"
#include "shell/boot_settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathBoot].c_str();
  WriteFuzzFile(path, data, size);
  cBootSettings settings;
  settings.Load(path);
  EndFuzzInput();
  return 0;
}
