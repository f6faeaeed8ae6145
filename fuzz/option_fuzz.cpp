// The options user_data\Option.dat, read as start-up reads them.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/option.h"
#include "project/project_paths.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathOption].c_str();
  WriteFuzzFile(path, data, size);
  cOption option;
  option.Load(path);
  EndFuzzInput();
  return 0;
}
