#include "shell/app_state.h"

#include "platform/services/thread.h"

std::atomic<std::int32_t> g_EditorLaunched{0};
std::atomic<std::int32_t> g_AppActive{0};
std::atomic<std::uint8_t> g_Initialised{0};
std::atomic<cScreen*> g_hMainWnd{nullptr};

namespace {

cThread* const kWorkers[] = {&thGame, &thPause, &g_RankingThread, &g_StageLoaderThread};

}  // namespace

void SuspendWorkers() {
  for (cThread* thread : kWorkers) thread->Suspend();
}

void ResumeWorkers() {
  for (cThread* thread : kWorkers) thread->Resume();
}
