#include "project/window_requests.h"

#include "platform/host/clock.h"

std::atomic<std::int32_t> g_DialogDone{0};
std::atomic<std::int32_t> g_DialogChosen{0};
std::atomic<std::int32_t> g_NameEntryDone{0};

bool SendDialogRequest(std::uint32_t message, std::uintptr_t wParam) {
  g_DialogDone.store(0);
  if (MessageShutdownBegun()) return false;
  if (!SendMainWindowMessage(message, wParam, 0)) return false;
  // The window procedure sets the flag before it answers, so this normally passes at once.
  while (g_DialogDone.load() == 0) {
    if (MessageShutdownBegun()) return false;
    SleepMs(1);
  }
  return g_DialogChosen.load() != 0;
}
