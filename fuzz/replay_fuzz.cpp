// A replay file as the replay menu reads it (stage, input streams, progress), then its input played
// back frame by frame as stage play takes it.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char kPath[] = "user_data\\rpl4\\fuzz.rpl4_556";
  WriteFuzzFile(kPath, data, size);
  cReplayRecord replay;
  cSaveData progress;
  if (replay.ReadReplayFile(kPath, g_Stage, g_PlayState, progress)) {
    // A run of frames may be as long as a u32; the streams are walked, not the whole run.
    std::uint16_t words[2] = {};
    for (int frame = 0; frame < 20000 && replay.PlayFrameInput(words) == 0; ++frame) {
    }
  }
  g_Stage.Reset();
  g_Stage.FreeRecordLists();
  EndFuzzInput();
  return 0;
}
