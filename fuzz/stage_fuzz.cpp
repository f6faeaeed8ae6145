// A stage file as LoadStageFile reads it: the end-marker check, the loader's read into g_Stage (here
// on the calling thread: the loader thread only adds a wait), the hero check and the header copy.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/stage_data.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char kPath[] = "data\\stg4\\fuzz.stg4_556";
  WriteFuzzFile(kPath, data, size);
  g_Stage.m_FileName = kPath;
  if (CheckStageEndMarker(kPath) && StageLoaderThreadProc(nullptr) && g_Stage.HasHero()) {
    g_PlayState.CopyHeaderFrom(g_Stage);
    g_PlayState.FreeRecordLists();
  }
  g_Stage.Reset();
  g_Stage.FreeRecordLists();
  EndFuzzInput();
  return 0;
}
