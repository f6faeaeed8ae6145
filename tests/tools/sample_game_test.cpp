// The sample game: every file it writes is read back by the player's own readers without a report
// line and written again byte for byte; two runs write the same folder.
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <utility>
#include <vector>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/audio/midi_file.h"
#include "platform/audio/wave_file.h"
#include "platform/host/bmp.h"
#include "platform/host/game_files.h"
#include "platform/host/ogg_stream.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/command_vocabulary.h"
#include "project/common_palette.h"
#include "project/ed_move.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/project_paths.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "project/world_map.h"
#include "tests/support/game_folder.h"
#include "tools/sample_game.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Every regular file under root, by its path relative to root, with its bytes.
std::map<std::string, std::string> FolderImage(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
  return files;
}

// The game written into the test's folder, which is the current directory; the report log opened
// there, so every line a reader reports lands in it; the load context put back afterwards.
class SampleGameTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    m_SavedContext = LoadContext();
    InitRecordSettings();
    ASSERT_TRUE(WriteSampleGame(m_Folder));
    ASSERT_EQ(fs::current_path(), m_Folder);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    m_Baseline = ReadHostFile("Report_Game.txt");
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    GameFolderTest::TearDown();
  }

  // The database and the common palette read as the player reads them, bound to the load context
  // for the stages read afterwards.
  static void LoadDatabaseAndPalette(cDatabase& database, cCommonPalette& palette) {
    ASSERT_EQ(database.LoadDatabase(), 1);
    LoadContext().database = DatabaseSizesOf(database);
    LoadContext().swordTypes = &database.m_SwordTypes;
    LoadContext().commonPalette = palette.View();
    ASSERT_EQ(palette.LoadFile(ProjectPathTable[kPathCommonPalette].c_str()), 1);
  }

  // What the readers reported since SetUp.
  std::string NewReportLines() { return ReadHostFile("Report_Game.txt").substr(m_Baseline.size()); }

  // Writes a record with its own writer to a scratch name and compares the bytes with the file.
  void ExpectRewriteIdentical(cDataRecord& record, const std::string& gamePath) {
    ASSERT_EQ(record.SaveFile("rewrite.tmp"), 1) << gamePath;
    EXPECT_EQ(ReadHostFile("rewrite.tmp"), ReadHostFile(HostPath(gamePath))) << gamePath;
  }
  static std::string HostPath(std::string path) {
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  }

  cLoadContext m_SavedContext;
  std::string m_Baseline;
};

TEST_F(SampleGameTest, ProjectRecordsReadCleanlyAndRewriteByteForByte) {
  cDatabase database;
  ASSERT_EQ(database.LoadDatabase(), 1);
  LoadContext().database = DatabaseSizesOf(database);
  LoadContext().swordTypes = &database.m_SwordTypes;
  // The ten tables, written by the same writer into a second game folder, match file for file.
  const fs::path copy = m_Folder / "copy";
  fs::create_directories(copy / "data" / "database");
  fs::current_path(copy);
  EXPECT_EQ(database.SaveDatabase(), 1);
  fs::current_path(m_Folder);
  for (const auto& entry : fs::directory_iterator(m_Folder / "data" / "database"))
    EXPECT_EQ(ReadBytes(copy / "data" / "database" / entry.path().filename()), ReadBytes(entry.path()))
        << entry.path().filename();

  cCommonPalette palette;
  LoadContext().commonPalette = palette.View();
  ASSERT_EQ(palette.LoadFile(ProjectPathTable[kPathCommonPalette].c_str()), 1);
  ExpectRewriteIdentical(palette, ProjectPathTable[kPathCommonPalette]);

  cSystemData system;
  ASSERT_EQ(system.LoadFile(ProjectPathTable[kPathSystem].c_str()), 1);
  ExpectRewriteIdentical(system, ProjectPathTable[kPathSystem]);

  cWorldMap map;
  ASSERT_EQ(map.LoadWorldMap(ProjectPathTable[kPathWorldMap].c_str()), 1);
  ExpectRewriteIdentical(map, ProjectPathTable[kPathWorldMap]);

  for (const std::string& name : ListGameDirectory("data\\stg4")) {
    const std::string path = "data\\stg4\\" + name;
    cStageData stage;
    cPaletteBinding binding(LoadContext().stagePalette, stage.View());
    ASSERT_EQ(stage.LoadFile(path.c_str()), 1) << path;
    ExpectRewriteIdentical(stage, path);
  }
  EXPECT_EQ(NewReportLines(), "");
}

// What the project names is there and takes: the start-up's bitmaps, every wave file of the
// system and the database, every music file, every background and effect picture.
TEST_F(SampleGameTest, EveryFileTheProjectNamesLoads) {
  cDatabase database;
  ASSERT_EQ(database.LoadDatabase(), 1);
  LoadContext().database = DatabaseSizesOf(database);
  cSystemData system;
  ASSERT_EQ(system.LoadFile(ProjectPathTable[kPathSystem].c_str()), 1);

  for (const SurfaceDescriptor& row : g_SurfaceDescriptors) {
    if (row.name == "E" || row.optional) continue;
    const std::optional<cBitmap> bitmap = LoadBmpFile(row.name);
    ASSERT_TRUE(bitmap) << row.name;
    EXPECT_EQ(bitmap->BitsPerPixel(), 8) << row.name;
    if (row.mirrorCellWidth > 0) {
      EXPECT_EQ(bitmap->Width() % row.mirrorCellWidth, 0) << row.name;
    }
  }
  // Sizes the screens draw whole: title and windows 640 x 480, the status bar 640 x 20, and the
  // palette picture with its swatch at rows 8-23 and the key colour at the top left.
  const struct {
    const char* path;
    int width;
    int height;
  } kSizes[] = {{"bmp\\Title.bmp", 640, 480}, {"bmp\\Window.bmp", 640, 480}, {"bmp\\StatusWindow.bmp", 640, 20},
                {"bmp\\Character1.bmp", 640, 480}, {"bmp\\plt\\Palette.bmp", 16, 24}};
  for (const auto& size : kSizes) {
    const std::optional<cBitmap> bitmap = LoadBmpFile(size.path);
    ASSERT_TRUE(bitmap) << size.path;
    EXPECT_EQ(bitmap->Width(), size.width) << size.path;
    EXPECT_EQ(bitmap->Height(), size.height) << size.path;
  }
  const std::optional<cBitmap> palette = LoadBmpFile("bmp\\plt\\Palette.bmp");
  ASSERT_TRUE(palette);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(palette->PixelIndex(i % 16, 8 + i / 16), i);
  EXPECT_EQ(palette->PixelRgb(0, 0), (std::uint32_t{system.m_TransparentRed} << 16) |
                                         (std::uint32_t{system.m_TransparentGreen} << 8) | system.m_TransparentBlue);

  std::vector<std::string> waves(system.m_SoundFiles.begin(), system.m_SoundFiles.end());
  for (int k = 1; k < database.m_Sounds.Size(); ++k) waves.push_back(database.m_Sounds.At(k).m_FileName);
  ASSERT_EQ(waves.size(), 17u + database.m_Sounds.size() - 1);
  for (const std::string& wave : waves) {
    WaveData data;
    ASSERT_TRUE(ReadWaveFile(wave, &data)) << wave;
    EXPECT_EQ(data.format.wFormatTag, WAVE_FORMAT_PCM) << wave;
    EXPECT_EQ(data.format.nSamplesPerSec, 22050u) << wave;
    EXPECT_FALSE(data.samples.empty()) << wave;
  }

  for (int n : {0, 1, 2, 3}) EXPECT_NE(system.m_MenuBgm.At(n), 0) << "menu music slot " << n;
  int oggTunes = 0;
  for (int k = 1; k < database.m_Bgms.Size(); ++k) {
    const std::string& name = database.m_Bgms.At(k).m_Name;
    ASSERT_EQ(name, database.m_Bgms.At(k).m_FileName);
    if (name.ends_with(".mid")) {
      cMidiFile midi(name);
      EXPECT_TRUE(midi.HasImage()) << name;
    } else {
      cOggStream ogg;
      EXPECT_TRUE(ogg.Open(name)) << name;
      ++oggTunes;
    }
  }
  EXPECT_EQ(oggTunes, 1);

  for (const cEffectDef& effect : database.m_Effects) {
    if (!effect.m_FileName.empty()) {
      EXPECT_TRUE(LoadBmpFile(effect.m_FileName)) << effect.m_FileName;
    }
  }
  for (const std::string& name : ListGameDirectory("data\\stg4")) {
    cStageData stage;
    cPaletteBinding binding(LoadContext().stagePalette, stage.View());
    ASSERT_EQ(stage.LoadFile(("data\\stg4\\" + name).c_str()), 1);
    EXPECT_GE(stage.FindHeroRecord(), 0) << name;
    for (const cBgLayer& layer : stage.m_BgLayers) {
      if (!layer.m_PlainColour) {
        EXPECT_TRUE(LoadBmpFile(layer.m_FileName)) << name << ": " << layer.m_FileName;
      }
    }
  }
  EXPECT_EQ(NewReportLines(), "");
}

// The world map's stage entries, the challenge names and the chain all name stage files that exist.
TEST_F(SampleGameTest, EveryStageTheGameStartsExists) {
  cWorldMap map;
  ASSERT_EQ(map.LoadWorldMap(ProjectPathTable[kPathWorldMap].c_str()), 1);
  int stages = 0;
  for (const cWorldEvent& event : map.m_Events)
    for (const cWorldEventItem& item : event.m_Items)
      if (item.m_Kind == kWorldEntryStage) {
        EXPECT_TRUE(GameFileExists(item.m_StageName)) << item.m_StageName;
        ++stages;
      }
  EXPECT_GE(stages, 3);
  cSystemData system;
  ASSERT_EQ(system.LoadFile(ProjectPathTable[kPathSystem].c_str()), 1);
  ASSERT_GT(system.ChallengeStages(), 0);
  for (int r = 0; r < system.ChallengeStages(); ++r) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d-1.%s", ProjectPathTable[kPathChallengeStagePrefix].c_str(), r + 1,
                  FileExtensionTable[kExtensionStage].c_str());
    EXPECT_TRUE(GameFileExists(name)) << name;
  }
  EXPECT_TRUE(GameFileExists("data\\stg4\\w01-2.stg4"));
}

// What the characters and items do survives the readers and their normalisers: the hero keeps its
// key flows (walk, run, jump), the enemies their moves, the items their commands.
TEST_F(SampleGameTest, BehaviourSurvivesReading) {
  cDatabase database;
  cCommonPalette palette;
  LoadDatabaseAndPalette(database, palette);
  if (HasFatalFailure()) return;

  const cCharaDef* hero = nullptr;
  int movers = 0, blockCharas = 0, shotRecords = 0;
  for (const cCharaDef& chara : palette.m_Charas) {
    // The first player's character is the hero of the ordinary stages.
    if (hero == nullptr && chara.m_ChipIndex != 0 && chara.m_Operator == 0) hero = &chara;
    // The firing stage's shots and sword keep their shot records.
    for (const cFlow& flow : chara.m_Flows)
      for (const cFlowCommand& command : flow.m_Commands)
        if (command.m_CommandNumber == kCharaShot || command.m_CommandNumber == kCharaSword)
          shotRecords += command.m_Shot != nullptr ? 1 : -100;
    if (chara.m_Operator == 1 && !chara.m_Flows.empty()) ++movers;
    if (chara.m_BlockChara != 0) ++blockCharas;
  }
  ASSERT_NE(hero, nullptr);
  int keyFlows = 0, jumps = 0;
  for (const cFlow& flow : hero->m_Flows) {
    if (!flow.m_KeyConditions.empty()) ++keyFlows;
    for (const cFlowCommand& command : flow.m_Commands) {
      if (command.m_CommandSet == kCharaCommandSet && command.m_CommandNumber == kCharaJump) {
        ++jumps;
        EXPECT_GT(command.m_Params.At(2), 0);
      }
      if (command.m_CommandNumber == kCharaStraightMove) {
        ASSERT_TRUE(command.m_Move);
        EXPECT_GT(command.m_Move->m_InertiaLimit, 0);
      }
    }
  }
  EXPECT_EQ(keyFlows, 5);
  EXPECT_EQ(jumps, 1);
  EXPECT_GE(movers, 3);
  EXPECT_EQ(blockCharas, 2) << "the lift and the door";
  EXPECT_EQ(shotRecords, 8) << "the hero's shot and sword, the six turrets' volleys";

  int clears = 0, statusChanges = 0;
  for (const cItemDef& item : palette.m_Items)
    for (const cFlowCommand& command : item.m_Commands) {
      if (command.m_CommandNumber == kFlowStageClear) ++clears;
      if (command.m_CommandNumber == kFlowStatus) ++statusChanges;
    }
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(statusChanges, 4);
  EXPECT_EQ(NewReportLines(), "");
}

// The commands (set, number) of a command list, of the flows its flow changes bring in, and so on.
void CollectCommands(const CheckedVector<cFlowCommand>& commands, std::set<std::pair<int, int>>& used);
void CollectFlows(const CheckedVector<cFlow>& flows, std::set<std::pair<int, int>>& used) {
  for (const cFlow& flow : flows) CollectCommands(flow.m_Commands, used);
}
void CollectCommands(const CheckedVector<cFlowCommand>& commands, std::set<std::pair<int, int>>& used) {
  for (const cFlowCommand& command : commands) {
    used.insert({command.m_CommandSet, command.m_CommandNumber});
    CollectFlows(command.m_Flows, used);
  }
}
void CollectPalette(const CheckedVector<cCharaDef>& charas, const CheckedVector<cItemDef>& items,
                    std::set<std::pair<int, int>>& used) {
  for (const cCharaDef& chara : charas) CollectFlows(chara.m_Flows, used);
  for (const cItemDef& item : items) CollectCommands(item.m_Commands, used);
}

// Every command of both tables runs somewhere in the sample's stages: in the flows of the placed
// characters and of the palettes' (which summons bring in), in the items' lists, and in the flows
// that flow changes add.
TEST_F(SampleGameTest, EveryCommandIsUsedByAStage) {
  cDatabase database;
  cCommonPalette palette;
  LoadDatabaseAndPalette(database, palette);
  if (HasFatalFailure()) return;

  std::set<std::pair<int, int>> used;
  for (const std::string& name : ListGameDirectory("data\\stg4")) {
    cStageData stage;
    cPaletteBinding binding(LoadContext().stagePalette, stage.View());
    ASSERT_EQ(stage.LoadFile(("data\\stg4\\" + name).c_str()), 1) << name;
    CollectPalette(stage.m_PlacedCharas, stage.m_PlacedItems, used);
    CollectPalette(stage.m_PaletteCharas, stage.m_PaletteItems, used);
    // A summon names a palette entry; only the common palette's entries that a stage summons run.
    for (const cCharaDef& chara : stage.m_PlacedCharas)
      for (const cFlow& flow : chara.m_Flows)
        for (const cFlowCommand& command : flow.m_Commands)
          if (command.m_CommandSet == kCharaCommandSet && command.m_Shot != nullptr &&
              command.m_Shot->m_SummonPalette == 0) {
            const int index = command.m_Shot->m_SummonIndex;
            if (command.m_CommandNumber == kCharaSummonChara && index < palette.m_Charas.Size())
              CollectFlows(palette.m_Charas.At(index).m_Flows, used);
            if (command.m_CommandNumber == kCharaSummonItem && index < palette.m_Items.Size())
              CollectCommands(palette.m_Items.At(index).m_Commands, used);
          }
  }
  std::string unused;
  for (int set : {int{kCharaCommandSet}, int{kFlowCommandSet}})
    for (int number = 1; number < CommandTableOfSet(set)->Size(); ++number)
      if (used.count({set, number}) == 0) unused += " " + std::to_string(set) + ":" + std::to_string(number);
  EXPECT_EQ(unused, "") << "commands (set:number) that no stage uses";
}

// The cells the hero can reach on the world map from its start, with the given stages cleared.
std::set<std::pair<int, int>> ReachableCells(const cWorldMap& map, std::initializer_list<int> cleared) {
  std::vector<std::uint32_t> flags(8, 0);
  for (int n : cleared) flags[static_cast<std::size_t>(n)] = 1;
  WorldProgress progress;
  progress.clearFlags = flags;
  std::set<std::pair<int, int>> seen{{map.m_StartX, map.m_StartY}};
  std::vector<std::pair<int, int>> open{{map.m_StartX, map.m_StartY}};
  while (!open.empty()) {
    const auto [x, y] = open.back();
    open.pop_back();
    // A stage entrance that is not yet cleared stops the walk there: the stage starts.
    const cWorldEvent* event = map.FindWorldEventAt(x, y);
    const cWorldEventItem* entry = event ? ActiveWorldEntry(*event, progress) : nullptr;
    if (entry && entry->m_Kind == kWorldEntryStage && !WorldEntryCleared(*entry, progress)) continue;
    for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
      const std::pair<int, int> next{x + dx, y + dy};
      if (seen.count(next) == 0 && CanEnterWorldCell(map, next.first, next.second, progress)) {
        seen.insert(next);
        open.push_back(next);
      }
    }
  }
  return seen;
}

// The road leads from the start to the meadow; the rock and the closed nodes open stage by stage.
TEST_F(SampleGameTest, WorldMapOpensStageByStage) {
  cWorldMap map;
  ASSERT_EQ(map.LoadWorldMap(ProjectPathTable[kPathWorldMap].c_str()), 1);
  const std::pair<int, int> meadow{3, 11}, pastRock{6, 11}, hills{11, 8}, castle{15, 3};
  const struct {
    std::initializer_list<int> cleared;
    bool meadow, pastRock, hills, castle;
  } kCases[] = {
      {{}, true, false, false, false},
      {{1}, true, true, true, false},
      {{1, 2}, true, true, true, true},
  };
  for (const auto& c : kCases) {
    const auto reach = ReachableCells(map, c.cleared);
    EXPECT_EQ(reach.count(meadow) == 1, c.meadow) << c.cleared.size() << " cleared";
    EXPECT_EQ(reach.count(pastRock) == 1, c.pastRock) << c.cleared.size() << " cleared";
    EXPECT_EQ(reach.count(hills) == 1, c.hills) << c.cleared.size() << " cleared";
    EXPECT_EQ(reach.count(castle) == 1, c.castle) << c.cleared.size() << " cleared";
  }
  const cWorldEvent* meadowEvent = map.FindWorldEventAt(meadow.first, meadow.second);
  ASSERT_NE(meadowEvent, nullptr);
  EXPECT_EQ(meadowEvent->m_Items.At(0).m_StageName, "data\\stg4\\w01-1.stg4");
}

// System.ini holds the keys of the project and ends with its "Exit" line; default\ is the project.
TEST_F(SampleGameTest, StartUpFilesAreComplete) {
  const std::string ini = ReadHostFile("System.ini");
  EXPECT_TRUE(ini.ends_with("Exit\r\n"));
  EXPECT_NE(ini.find("WindowMode=1\r\n"), std::string::npos);
  EXPECT_EQ(FolderImage(m_Folder / "default"), FolderImage(m_Folder / "data"));
}

// The 8-bit half-blend table: 256 x 256 entries, symmetric, a colour blended with itself keeps its
// colour, and no blend turns into the transparent colour.
TEST_F(SampleGameTest, BlendTableMixesThePaletteColours) {
  const std::string table = ReadHostFile("bmp/hbt/hbt00.dat");
  ASSERT_EQ(table.size(), 65536u);
  const std::optional<cBitmap> palette = LoadBmpFile("bmp\\plt\\Palette.bmp");
  ASSERT_TRUE(palette);
  const auto colours = palette->ColourTable256();
  const auto at = [&](int a, int b) { return static_cast<std::uint8_t>(table[static_cast<std::size_t>(a) * 256 + b]); };
  for (int a = 0; a < 256; ++a) {
    if (a > 0) {
      EXPECT_EQ(colours[at(a, a)], colours[a]) << a;
    }
    for (int b = 0; b < 256; ++b) {
      ASSERT_EQ(at(a, b), at(b, a)) << a << ", " << b;
      ASSERT_NE(at(a, b), 0) << a << ", " << b;
    }
  }
}

TEST_F(SampleGameTest, TwoRunsWriteTheSameFolder) {
  const fs::path second = m_Folder / "second";
  ASSERT_TRUE(WriteSampleGame(second));
  EXPECT_EQ(fs::current_path(), m_Folder);
  std::map<std::string, std::string> first = FolderImage(m_Folder);
  std::map<std::string, std::string> again = FolderImage(second);
  // The first image holds the second folder and the report log of the fixture; leave them out.
  std::erase_if(first, [](const auto& file) { return file.first.starts_with("second") || file.first == "Report_Game.txt"; });
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(first.size(), again.size());
  EXPECT_TRUE(first == again);
  // Writing over an existing game gives the same folder again.
  ASSERT_TRUE(WriteSampleGame(second));
  EXPECT_TRUE(FolderImage(second) == again);
}

}  // namespace
