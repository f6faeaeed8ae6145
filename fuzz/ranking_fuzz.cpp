// A stage's ranking file, read as the ranking screens read it, and its tables walked.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "shell/ranking.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string kStage = "fuzz.";
  std::string path;
  if (!MakeRankFilePath(path, 1, kStage)) std::abort();
  WriteFuzzFile(path, data, size);
  cRankFile file;
  LoadRankFile(file, 1, kStage);
  EndFuzzInput();
  return 0;
}
