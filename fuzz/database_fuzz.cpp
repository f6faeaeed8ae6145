// One table file of the database (FUZZ_TABLE_ROW: its row of the project paths) as start-up reads
// it: the other nine files hold the default tables, the whole database is loaded, and everything
// start-up derives from it is built.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "project/database.h"
#include "project/database_derived.h"
#include "project/project_paths.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  std::filesystem::create_directories("data/database");
  cDatabase defaults;
  if (!defaults.SaveDatabase()) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile(ProjectPathTable[FUZZ_TABLE_ROW], data, size);
  cDatabase& db = g_Database;
  db.SetDefaults();
  if (db.LoadDatabase()) {
    std::vector<AnimeFrameList> animes, effects;
    std::vector<cCharaEffectPlayer> chara, charaReversed;
    std::vector<cScrEffectPlayer> screen, screenReversed;
    DeriveDatabaseTables(db, animes, effects, chara, charaReversed, screen, screenReversed);
  }
  EndFuzzInput();
  return 0;
}
