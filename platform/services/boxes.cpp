#include "platform/services/boxes.h"

#include <mutex>

#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

std::mutex s_FullScreenLock;
FullScreenBox s_FullScreenBox;

}  // namespace

void SetFullScreenBox(FullScreenBox box) {
  std::lock_guard lock(s_FullScreenLock);
  s_FullScreenBox = std::move(box);
}

int MesBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  FullScreenBox box;
  {
    std::lock_guard lock(s_FullScreenLock);
    box = s_FullScreenBox;
  }
  if (box) return box(text, caption, type);
  return ShowBox(text, caption, type);
}

int ErrBox(const std::string& text) { return MesBox(text, SJ("エラー"), MB_OK); }

int ErrMesBox(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatLimited(kLineBufferSize, fmt, args);
  va_end(args);
  return ErrBox(text);
}

int DebugMesBox(const char* fmt, ...) {
  if (!g_LogEnabled) return 0;
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatLimited(kLineBufferSize, fmt, args);
  va_end(args);
  return ErrBox(text);
}

void MemoryErrBox() {
  ErrBox(SJ("メモリが不足しています！"));
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}
