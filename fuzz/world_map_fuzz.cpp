// The world map data\WorldMap.dat, read into g_WorldMap as start-up reads it.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/project_paths.h"
#include "project/world_map.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathWorldMap].c_str();
  WriteFuzzFile(path, data, size);
  g_WorldMap = cWorldMap();
  g_WorldMap.LoadWorldMap(path);
  EndFuzzInput();
  return 0;
}
