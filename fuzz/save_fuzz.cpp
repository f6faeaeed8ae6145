// The player's saves: a story slot (the slot menu's scan and the load) and the challenge progress,
// which share one record.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/project_paths.h"
#include "project/save_data.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile(MakeStorySlotPath(0), data, size);
  WriteFuzzFile(ProjectPathTable[kPathChallengeProgress], data, size);
  CheckedVector<cSaveSlotInfo> slots(1);
  ScanSaveSlots(slots);
  cSaveData save;
  save.LoadFromSlot(0);
  cSaveData challenge;
  challenge.LoadChallengeData();
  EndFuzzInput();
  return 0;
}
