#include "platform/services/log.h"

#include <cstdio>
#include <mutex>

#include "platform/host/game_files.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"

std::string g_ReportPath;
unsigned g_LogEnabled = 0;
std::string g_LogFileName;

namespace {

// One lock for both logs: a line from one thread is never cut into by another's.
std::recursive_mutex s_LogLock;
bool s_LogFirstLineDone = false;

// Opens an existing log for appending ("rt+" and a seek to the end); null when it does not open.
GameFile OpenForAppend(const std::string& path) {
  GameFile file = OpenGameFile(path, "r+b");
  if (file) std::fseek(file.get(), 0, SEEK_END);
  return file;
}

void AppendLine(std::FILE* file, std::string_view text) {
  std::string line = Cp932ToUtf8(text);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), file);
}

// The common road of ReportLogAndLog and ReportLogAndBox.
// The box is shown after the lock is let go: a box may wait on the window thread, which logs too.
int ReportAndLogText(const std::string& text, bool box) {
  {
    std::lock_guard lock(s_LogLock);
    GameFile file = OpenForAppend(g_ReportPath);
    if (!file) return 0;
    AppendLine(file.get(), text);
    Log(text);
  }
  if (box) ErrBox(text);
  return 1;
}

}  // namespace

int ReportLogOpen(const std::string& path) {
  std::lock_guard lock(s_LogLock);
  if (path.size() > kPathBufferSize - 1) return 0;
  if (!OpenGameFile(path, "wb")) return 0;
  g_ReportPath = path;
  return 1;
}

int ReportLogText(std::string_view text) {
  std::lock_guard lock(s_LogLock);
  GameFile file = OpenForAppend(g_ReportPath);
  if (!file) return 0;
  AppendLine(file.get(), text);
  return 1;
}

int ReportLog(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatString(fmt, args);
  va_end(args);
  return ReportLogText(text);
}

int ReportLogAndLog(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatLimited(kLineBufferSize, fmt, args);
  va_end(args);
  return ReportAndLogText(text, false);
}

int ReportLogAndBox(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatLimited(kLineBufferSize, fmt, args);
  va_end(args);
  return ReportAndLogText(text, true);
}

void LogInit(unsigned enable, const std::string& fileName) {
  std::lock_guard lock(s_LogLock);
  g_LogEnabled = enable;
  g_LogFileName = fileName.substr(0, kPathBufferSize - 1);
  s_LogFirstLineDone = false;
}

void Log(std::string_view text) {
  std::lock_guard lock(s_LogLock);
  if (!g_LogEnabled) return;
  // The first line of a run starts the file afresh; later lines append.
  GameFile file = s_LogFirstLineDone ? OpenForAppend(g_LogFileName) : OpenGameFile(g_LogFileName, "wb");
  s_LogFirstLineDone = true;
  if (file) AppendLine(file.get(), text);
}

void LogLine(std::string_view text) { Log(text); }

void LogF(const char* fmt, ...) {
  if (!g_LogEnabled) return;
  std::va_list args;
  va_start(args, fmt);
  std::string text = VFormatString(fmt, args);
  va_end(args);
  Log(text);
}

void LogFAndClose(const char* fmt, ...) {
  if (g_LogEnabled) {
    std::va_list args;
    va_start(args, fmt);
    std::string text = VFormatString(fmt, args);
    va_end(args);
    Log(text);
  }
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}
