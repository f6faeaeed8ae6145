// Loading a stage file into the live stage: the end-marker check, the loader thread, and the
// reports when it goes wrong.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "platform/services/paths.h"
#include "platform/services/thread.h"
#include "project/project_paths.h"
#include "project/stage_data.h"

namespace {

// What the loader thread tells its caller; written by the thread, read after it has ended (or
// polled, for the end itself).
struct StageLoadState {
  std::atomic<bool> finished{false};
  std::atomic<bool> damaged{false};
  std::atomic<bool> quit{false};  // the loader was asked to quit and stopped between records
};

StageLoadState g_LoadState;

// The loader thread's whole run: the read, then the sign that it is over.
std::uint32_t RunStageLoader(void* arg) {
  const std::uint32_t result = StageLoaderThreadProc(arg);
  g_LoadState.finished.store(true, std::memory_order_release);
  return result;
}

void ReportDamaged(const std::string& path) {
  ErrMesBox(SJ("ステージファイル %s が破損しています！").c_str(), path.c_str());
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}

MessageHandler g_LoadDispatcher;

// Serves the calling thread's queue while the loader runs. A sent message goes to the dispatcher
// (the shell's window procedure on the window thread) or is answered 0, so a thread that waits for
// this one never waits for the load; posted messages are kept and put back once the load is over,
// so nothing is lost. False when WM_QUIT came.
bool ServeMessagesWhileLoading(std::vector<HostMessage>& kept) {
  while (auto msg = GetThreadMessageWithin(0)) {
    if (msg->message == WM_QUIT) return false;
    if (IsSentMessage(*msg))
      ReplyMessage(*msg, g_LoadDispatcher ? g_LoadDispatcher(*msg) : 0);
    else
      kept.push_back(*msg);
  }
  return true;
}

// Puts the posted messages taken during the load back, in their order, and the quit request when
// there was one, for the calling thread's own loop.
void RepostKept(std::vector<HostMessage>& kept, bool quit) {
  cMessageQueue* queue = CurrentThreadQueue();
  if (!queue) return;
  for (HostMessage& msg : kept) queue->Post(std::move(msg));
  if (quit) queue->Post(HostMessage(WM_QUIT));
}

}  // namespace

void SetStageLoadDispatcher(MessageHandler dispatcher) { g_LoadDispatcher = std::move(dispatcher); }

std::uint32_t StageLoaderThreadProc(void* /*arg*/) {
  const int opened = g_Stage.LoadFile(g_Stage.m_FileName.c_str());
  if (!opened) return 0;
  if (LastRecordReadDamaged()) {
    // Whatever was read before the damage is no stage to play.
    const bool quit = QuitRequested();
    g_LoadState.quit.store(quit, std::memory_order_relaxed);
    g_LoadState.damaged.store(!quit, std::memory_order_relaxed);
    g_Stage.Reset();
    return 0;
  }
  g_Stage.m_Loaded = 1;
  return 1;
}

std::uint32_t CheckStageEndMarker(const char* path) {
  RecordReadFile file = OpenRecordRead(path);
  if (!file) return 1;
  const std::uint32_t version = file->Version();
  if (version < 174) {
    CloseRecordFile(file);
    return 1;
  }
  // A file shorter than the marker has none.
  std::uint32_t marker = 0;
  const bool read = file->Size() >= 8 && file->Seek(file->Size() - 4) && file->ReadU32(marker);
  CloseRecordFile(file);
  if (read && marker == kStageEndMarker) return 1;
  ReportDamaged(path);
  return 0;
}

std::uint32_t LoadStageFile(const char* name, std::uint32_t numbered, cStageData* headerCopy) {
  g_Stage.m_NumberedName = numbered;
  if (numbered) {
    std::string found;
    if (!FindNumberedFile(found, name ? name : "", FileExtensionTable[kExtensionStage].c_str())) return 0;
    g_Stage.m_FileName = found;
  } else {
    g_Stage.m_FileName = FormatString("%s", name ? name : "");
  }
  MakeRelativePathString(g_Stage.m_FileName);

  if (!CheckStageEndMarker(g_Stage.m_FileName.c_str())) return 0;

  g_Stage.m_Loaded = 0;
  g_LoadState.finished.store(false);
  g_LoadState.damaged.store(false);
  g_LoadState.quit.store(false);
  if (!g_StageLoaderThread.Start(RunStageLoader, nullptr)) {
    ErrMesBox(SJ("ステージファイル %s の読み込みに失敗しました！").c_str(), g_Stage.m_FileName.c_str());
    return 0;
  }
  // The window stays responsive during a long read: this thread keeps serving its queue.
  std::vector<HostMessage> kept;
  while (!g_LoadState.finished.load(std::memory_order_acquire)) {
    if (!ServeMessagesWhileLoading(kept)) {
      Log("msg.message == WM_QUIT");
      g_StageLoaderThread.Quit();
      RepostKept(kept, true);
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  g_StageLoaderThread.Quit();
  RepostKept(kept, false);

  // Stopped from outside (the program is closing): nothing to report.
  if (g_LoadState.quit.load()) return 0;
  if (g_LoadState.damaged.load()) {
    ReportDamaged(g_Stage.m_FileName);
    return 0;
  }
  if (!g_Stage.m_Loaded) {
    ErrMesBox(SJ("ステージファイル %s の読み込みに失敗しました！").c_str(), g_Stage.m_FileName.c_str());
    return 0;
  }
  if (!g_Stage.HasHero()) {
    ErrBox(SJ("主人公が配置されていないのでプレイできません！"));
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return 0;
  }
  if (headerCopy) {
    headerCopy->CopyHeaderFrom(g_Stage);
    headerCopy->FreeRecordLists();
  }
  return 1;
}
