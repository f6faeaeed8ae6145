#include "fuzz/fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/host/box_sink.h"
#include "platform/host/message_queue.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/stage_data.h"

namespace {

std::filesystem::path s_Folder;
int s_InputsSinceLogReset = 0;
constexpr int kInputsPerLogReset = 4096;

void RemoveFolder() {
  std::error_code ec;
  std::filesystem::current_path(std::filesystem::temp_directory_path(ec), ec);
  std::filesystem::remove_all(s_Folder, ec);
}

}  // namespace

void FuzzInitGameFolder() {
  if (!s_Folder.empty()) return;
  // Every input is written to a file and read back: on a disk that costs milliseconds an input, in
  // memory (/dev/shm) microseconds.
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
  std::string pattern = (base / "fuzz-game-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  s_Folder = pattern;
  std::filesystem::current_path(s_Folder);
  std::atexit(RemoveFolder);

  InitRecordSettings();
  ReportLogOpen("Report_Game.txt");
  SetBoxSink([](const std::string&, const std::string&, std::uint32_t type) {
    // The first button of the box: what a player who only presses Enter gets.
    const std::uint32_t buttons = type & 0xF;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) return IDYES;
    if (buttons == MB_ABORTRETRYIGNORE) return IDABORT;
    if (buttons == MB_RETRYCANCEL) return IDRETRY;
    return IDOK;
  });
  // As start-up binds it once the database and the common palette are read.
  cLoadContext& context = LoadContext();
  context.database = DatabaseSizesOf(g_Database);
  context.swordTypes = &g_Database.m_SwordTypes;
  context.commonPalette = g_CommonPalette.View();
  context.stagePalette = g_Stage.View();
  context.testPlay = false;
}

void WriteFuzzFile(const std::string& gamePath, const std::uint8_t* data, std::size_t size) {
  std::string host = gamePath;
  for (char& c : host)
    if (c == '\\') c = '/';
  const std::filesystem::path path(host);
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::FILE* file = std::fopen(host.c_str(), "wb");
  if (!file) {
    std::perror(host.c_str());
    std::abort();
  }
  if (size != 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

void EndFuzzInput() {
  while (MainWindowQueue().TryTake()) {
  }
  if (++s_InputsSinceLogReset >= kInputsPerLogReset) {
    s_InputsSinceLogReset = 0;
    ReportLogOpen("Report_Game.txt");
  }
}
