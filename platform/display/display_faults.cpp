#include "platform/display/display_faults.h"

#include "platform/display/display.h"

DisplayFaults g_DisplayFaults;

namespace {

std::size_t s_VideoMemoryInUse = 0;

}  // namespace

void ResetDisplayFaults() { g_DisplayFaults = {}; }

bool ReserveVideoMemory(std::size_t bytes) {
  const std::size_t limit = g_DisplayFaults.videoMemoryBytes;
  if (limit != 0 && (bytes > limit || s_VideoMemoryInUse > limit - bytes)) return false;
  s_VideoMemoryInUse += bytes;
  return true;
}

void ReturnVideoMemory(std::size_t bytes) {
  s_VideoMemoryInUse -= bytes < s_VideoMemoryInUse ? bytes : s_VideoMemoryInUse;
}

std::size_t VideoMemoryInUse() { return s_VideoMemoryInUse; }

void InjectDisplayLoss(int resetRefusals) {
  if (g_lpDD) g_lpDD->SimulateLoss();
  if (lpDevice) lpDevice->SimulateLoss(resetRefusals);
}
