// The sample game as a whole: folders, the order of the areas, System.ini and the pristine copy.
#include "tools/sample_game.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "platform/host/game_files.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/project_paths.h"
#include "tools/sample_canvas.h"
#include "tools/sample_parts.h"

namespace {

// The folders the writers put files in, parents first. The player makes the rest itself.
const char* const kFolders[] = {
    "data", "data\\database", "data\\stg4", "bmp", "bmp\\plt", "bmp\\back", "bmp\\effect", "bmp\\picture", "bmp\\hbt", "wave", "bgm",
};

// The start-up settings: Direct3D in a window at the desktop's depth, so the player never asks
// with its launcher; no frame-rate display.
constexpr char kSystemIni[] =
    "Direct3D=1\r\n"
    "WindowMode=1\r\n"
    "Bpp=0\r\n"
    "VSync=1\r\n"
    "ShowFps=0\r\n"
    "Exit\r\n";

// The game folder is the current directory while the writers run (every game path is relative
// to it); the previous one comes back however the writing ends.
class cCurrentDirectory {
 public:
  explicit cCurrentDirectory(const std::filesystem::path& folder, std::error_code& ec)
      : m_Previous(std::filesystem::current_path(ec)) {
    if (!ec) std::filesystem::current_path(folder, ec);
    m_Changed = !ec;
  }
  ~cCurrentDirectory() {
    std::error_code ec;
    if (m_Changed) std::filesystem::current_path(m_Previous, ec);
  }
  cCurrentDirectory(const cCurrentDirectory&) = delete;
  cCurrentDirectory& operator=(const cCurrentDirectory&) = delete;

 private:
  std::filesystem::path m_Previous;
  bool m_Changed = false;
};

// The load context bound to the sample's own records while they are written (the normalisers
// check every reference against it), the program's own context afterwards.
class cContextBinding {
 public:
  cContextBinding() : m_Saved(LoadContext()) {}
  ~cContextBinding() { LoadContext() = m_Saved; }
  cContextBinding(const cContextBinding&) = delete;
  cContextBinding& operator=(const cContextBinding&) = delete;

 private:
  cLoadContext m_Saved;
};

bool Step(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "sample game: could not write %s\n", what);
  return ok;
}

bool WriteSystemIni() {
  const std::string text = kSystemIni;
  return WriteGameBytes("System.ini", std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool WriteProject() {
  bool ok = true;
  cContextBinding binding;
  cDatabase database;
  BuildSampleDatabase(database);
  ok &= Step(database.SaveDatabase() == 1, "the database");
  LoadContext().database = DatabaseSizesOf(database);
  LoadContext().swordTypes = &database.m_SwordTypes;
  LoadContext().testPlay = false;
  LoadContext().keepMarkedFlows = false;
  LoadContext().stagePalette = PaletteView{};

  cCommonPalette palette;
  BuildSampleCommonPalette(palette);
  LoadContext().commonPalette = palette.View();
  ok &= Step(palette.SaveFile(ProjectPathTable[kPathCommonPalette].c_str()) == 1, "the common palette");
  ok &= Step(WriteSampleSystem(), "System.dat");
  ok &= Step(WriteSampleWorldMap(), "the world map");
  ok &= Step(WriteSampleStages(), "the stages");
  return ok;
}

}  // namespace

bool WriteSampleGame(const std::filesystem::path& folder) {
  if (g_CurrentVersion != kRecordVersion) InitRecordSettings();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return Step(false, folder.string().c_str());
  cCurrentDirectory here(folder, ec);
  if (ec) return Step(false, folder.string().c_str());

  bool ok = true;
  for (const char* name : kFolders) ok &= Step(CreateGameDirectory(name), name);
  if (!ok) return false;
  ok &= WriteProject();
  ok &= Step(WriteSamplePictures(), "the system pictures");
  ok &= Step(WriteSampleSheets(), "the chip sheets");
  ok &= Step(WriteSampleWorldPictures(), "the world-map and background pictures");
  ok &= Step(WriteSampleBlendTable(), "the 8-bit blend table");
  ok &= Step(WriteSampleSounds(), "the sounds");
  ok &= Step(WriteSampleMusic(), "the music");
  ok &= Step(WriteSystemIni(), "System.ini");

  // default\ is what a first run copies to data\; it must be exactly the project just written.
  std::filesystem::remove_all("default", ec);
  ok &= Step(!ec && CopyGameTree(ProjectPathTable[kPathData], ProjectPathTable[kPathDefault]), "default\\");
  return ok;
}
