// The common palette data\CommonPalette.cplt4 (blocks, characters and items with their flows), read
// into g_CommonPalette as start-up reads it.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/services/record.h"
#include "project/common_palette.h"
#include "project/project_paths.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathCommonPalette].c_str();
  WriteFuzzFile(path, data, size);
  g_CommonPalette = cCommonPalette();
  g_CommonPalette.LoadFile(path);
  (void)LastRecordReadDamaged();
  EndFuzzInput();
  return 0;
}
