// InitGame and UnInitGame: the start-up in its fixed order and the shutdown that undoes it.
#include "shell/startup.h"

#include <array>
#include <chrono>

#include "platform/audio/bgm.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/host/game_files.h"
#include "platform/host/midi_synth.h"
#include "platform/host/text_codec.h"
#include "platform/input/key_config.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "platform/services/random.h"
#include "platform/services/record.h"
#include "platform/ui/keyboard_hook.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/database_derived.h"
#include "project/database_frames.h"
#include "project/effect_players.h"
#include "project/load_context.h"
#include "project/option.h"
#include "project/project_paths.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/world_map.h"
#include "shell/boot_settings.h"
#include "shell/hbt_palette.h"
#include "shell/run_options.h"
#include "shell/scene_manager.h"
#include "shell/startup_steps.h"
#include "shell/system_ini.h"

std::int32_t g_Windowed = 0;
std::int32_t g_TestPlay = 0;
std::int32_t g_TimerPresentation = 0;

namespace {

// The folders every game keeps, created on each start (those that exist stay as they are).
constexpr std::array<const char*, 22> kGameFolders = {
    "user_data",   "user_data\\story", "user_data\\challenge", "user_data\\free", "user_data\\rpl4",
    "data",        "data\\database",  "data\\stg4",           "data\\stg4\\old_ver", "data\\work",
    "data\\plt4",  "bmp",             "bmp\\back",            "bmp\\chara_sp",   "bmp\\effect",
    "bmp\\picture", "bmp\\sword",     "bmp\\convert",         "bmp\\plt",        "bmp\\hbt",
    "wave",        "bgm",
};

// The music manager's channels and slots.
constexpr int kBgmChannels = 1;

// The seed of the shell's --seed option when given, else the clock: a run can be repeated exactly.
std::uint32_t StartSeed() {
  if (g_RunOptions.seed) return *g_RunOptions.seed;
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

bool LoadProjectDatabase() {
  if (!g_Database.LoadDatabase()) {
    ReportLogAndBox("%s", SJ("データベースの読み込みに失敗…").c_str());
    return false;
  }
  DeriveDatabaseTables(g_Database, g_AnimeFrameLists, g_EffectFrameLists, g_CharaEffectTemplates,
                       g_CharaEffectTemplatesReversed, g_ScrEffectTemplates, g_ScrEffectTemplatesReversed);
  return true;
}

// A record file read into a global; a damaged file fails as a missing one does.
bool LoadWhole(cDataRecord& record, const char* path) { return record.LoadFile(path) != 0 && !LastRecordReadDamaged(); }

bool LoadSystemSettings() {
  const char* path = ProjectPathTable[kPathSystem].c_str();
  if (!LoadWhole(g_System, path)) {
    ReportLogAndBox(SJ("%s の読み込みに失敗…").c_str(), path);
    return false;
  }
  return true;
}

// Every reader from here on, the project settings' included, checks its references against these.
void BindLoadContext() {
  cLoadContext& context = LoadContext();
  context.database = DatabaseSizesOf(g_Database);
  context.swordTypes = &g_Database.m_SwordTypes;
  context.commonPalette = g_CommonPalette.View();
  context.stagePalette = g_Stage.View();
  context.testPlay = false;  // until a stage is started directly
}

void ReadStartSettings() {
  SetSystemIniDefaults(g_SystemIni, g_System.m_SystemIniKeys);
  if (!ReadSystemIni("System.ini", g_SystemIni, g_System.m_SystemIniKeys)) {
    ReportLogAndBox("%s", SJ("System.ini の読み込みに失敗しました！").c_str());
    // Nothing of a file that did not read to its end is trusted, also not the lines it did read.
    SetSystemIniDefaults(g_SystemIni, g_System.m_SystemIniKeys);
  }
}

// The sound table: the system's 17 sounds, then the database's, each file as the project names it.
bool StartSounds() {
  std::vector<std::string> databaseFiles;
  databaseFiles.reserve(g_Database.m_Sounds.size());
  for (const cSoundDef& sound : g_Database.m_Sounds) databaseFiles.push_back(sound.m_FileName);
  // The option's volume step is brought into the table's range by the sound effects.
  return StartSoundEffects(g_System.m_SoundFiles, databaseFiles, g_Option.m_SoundVolume);
}

bool LoadWorldAndPalette() {
  const char* mapPath = ProjectPathTable[kPathWorldMap].c_str();
  if (!g_WorldMap.LoadWorldMap(mapPath)) {
    ReportLogAndBox(SJ("%s のロードに失敗！").c_str(), mapPath);
    return false;
  }
  const char* palettePath = ProjectPathTable[kPathCommonPalette].c_str();
  if (!LoadWhole(g_CommonPalette, palettePath)) {
    ReportLogAndBox(SJ("%s のロードに失敗！").c_str(), palettePath);
    return false;
  }
  return true;
}

}  // namespace

bool InitGame(const char* lpCmdLine, int nCmdShow) {
  g_Windowed = 0;
  g_TestPlay = 0;
  g_TimerPresentation = 0;

  // 1-2: the seed, and every record file at the current format from here on.
  GameSrand(StartSeed());
  InitRecordSettings();

  // 3-4: the project folder (made from default\ on the first run) and the game's folders.
  if (!EnsureProjectData()) {
    ReportLogAndBox("%s", SJ("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。").c_str());
    return false;
  }
  for (const char* folder : kGameFolders) CreateGameDirectory(folder);

  // 5-7: the database with its derived tables, and the project settings.
  if (!LoadProjectDatabase()) return false;
  BindLoadContext();
  if (!LoadSystemSettings()) return false;
  LoadContext().keepMarkedFlows = g_System.m_KeepMarkedFlows != 0;

  // 8-10: System.ini, the renderer of the boot settings, and a stage from the command line.
  ReadStartSettings();
  if (g_SystemIni.Direct3D >= 2) {
    const std::int32_t renderer = ChooseBootRenderer(ProjectPathTable[kPathBoot].c_str());
    if (renderer < 0) return false;  // the launcher was cancelled: the program ends without a word
    g_SystemIni.Direct3D = renderer;
  }
  if (lpCmdLine && lpCmdLine[0] != '\0') g_SystemIni.FreeStage = CutToBytes(lpCmdLine, kFreeStageMax);

  // 11: the frame pacing and fades. The menus' key repeat (12) is set with the rest of the input.
  g_SceneManager.m_FrameRate = kDefaultFrameRate;
  g_SceneManager.m_FadeSpeed = kDefaultFadeSpeed;

  // 13-22.
  if (!StartDisplay(nCmdShow)) return false;

  // 12 and 23-25: the key repeat, the joysticks' buttons, the key layout, the player's options
  // (defaults when missing).
  InitInput(ProjectPathTable[kPathKeyConfig].c_str());
  g_Option.Load(ProjectPathTable[kPathOption].c_str());

  // 26: the half-blend palette of 8-bit mode.
  if (g_DisplayParams.bpp == 8 && !LoadHbtPalette(g_Option.PaletteNumber())) return false;

  // 27-30: music (only with the option on; it may fail and the game still runs), sound effects.
  if (g_Option.MusicOn()) g_Bgm.Init(kBgmChannels, g_BgmOggNames, g_BgmMidiNames, kBgmSlotCount);
  if (!StartSounds()) return false;

  // 31-32.
  if (!LoadWorldAndPalette()) return false;
  if (!g_RunOptions.replayFile.empty()) return StartDirectReplay(g_RunOptions.replayFile);
  if (!g_SystemIni.FreeStage.empty() && !StartDirectStage()) return false;
  return true;
}

void UnInitGame() {
  // The dialogs' keyboard hook stays between dialogs; it goes with the program.
  UnhookKeyboard();
  ReleaseSoundEffects();
  g_Bgm.Release();
  // The MIDI outputs let go of the synthesiser with the music manager; its sound font goes last.
  ReleaseSharedMidiSynth();
  g_SceneManager.DeleteScenes();
  ReleaseGameFonts();
  DDRelease();
}
