// The program's entry. For now it opens the report log and writes the machine report; the game's
// start-up joins it as it is built.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/services/log.h"
#include "platform/services/paths.h"
#include "platform/services/record.h"
#include "platform/services/system_report.h"

namespace {

// -C DIR: play the game folder DIR (the game folder is the current directory).
bool ApplyCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc) {
      if (chdir(argv[++i]) != 0) {
        std::fprintf(stderr, "player: cannot enter the game folder %s\n", argv[i]);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ApplyCommandLine(argc, argv)) return 1;
  LogInit(0, "EC_Game.txt");
  std::string reportPath = "Report_Game.txt";
  MakeAbsolutePath(reportPath);
  if (!ReportLogOpen(reportPath)) return 0;
  ReportLog("App : ver %s", "556");
  WriteSystemReport();
  // Every record file is read and written at the current format version from here on.
  InitRecordSettings();
  return 0;
}
