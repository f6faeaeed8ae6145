// Starting a stage: the stage file read into the live stage as the loader thread reads it, its
// header kept for restarts, and the play scene's SetStage, on a large stage made of the sample
// game's records (400 x 30 cells, the ground and rows of bricks, 300 walking characters with their
// flows, 300 coins, two layers) over the sample's database and common palette. Each repetition is
// timed beside a plain read of the file's bytes (open, read, close): us_load (the whole start),
// us_set_up (SetStage's part of it), us_read, and x_read (the read's time over the whole start's).
// The loader thread's start and the caller's polling are left out: they wait, they do not work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/interleaved.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "platform/services/record.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/common_palette.h"
#include "project/database.h"
#include "project/load_context.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "shell/scene_manager.h"
#include "tools/sample_parts.h"
#include "tools/sample_records.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCellsX = 400;
constexpr int kCellsY = 30;
constexpr int kWalkers = 300;
constexpr int kCoins = 300;
constexpr const char* kStageFile = "stress.stg4_556";

// The stage as the editing program would save it: placed records naming the common palette.
bool WriteStressStage() {
  cStageData stage;
  stage.Reset();
  stage.m_Name = "stress";
  SetSampleStageSize(stage, kCellsX, kCellsY);
  stage.m_PlacedBlocks.clear();
  stage.m_PlacedCharas.clear();
  stage.m_PlacedItems.clear();
  for (int x = 0; x < kCellsX; ++x) {
    stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockGroundTop, x, kCellsY - 2));
    stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockGround, x, kCellsY - 1));
    // Rows of bricks, a gap every eight cells.
    for (int y = 8; y < kCellsY - 4; y += 6)
      if ((x + y) % 8 != 0) stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockBrick, x, y));
  }
  stage.m_PlacedCharas.push_back(PlacedChara(kCharaHeroDef, 2, kCellsY - 3));
  for (int i = 0; i < kWalkers; ++i)
    stage.m_PlacedCharas.push_back(PlacedChara(kCharaWalkerDef, 4 + i * (kCellsX - 8) / kWalkers, 7 + (i % 4) * 6));
  for (int i = 0; i < kCoins; ++i)
    stage.m_PlacedItems.push_back(PlacedItem(kItemCoin, 3 + i * (kCellsX - 6) / kCoins, 5 + (i % 4) * 6));
  stage.m_BgLayers.resize(2);
  for (cBgLayer& layer : stage.m_BgLayers) layer.SetDefaults();
  cPaletteBinding binding(LoadContext().stagePalette, stage.View());
  return stage.SaveFile(kStageFile) == 1;
}

// The project a stage is started in: the sample's database and common palette bound as the start-up
// binds them, in a folder of its own that holds the stage file.
class cStressProject {
 public:
  cStressProject() : m_SavedContext(LoadContext()) {
    m_Previous = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "stage-load-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    m_Folder = pattern;
    fs::current_path(m_Folder);
    InitRecordSettings();
    // The stage music request is answered at once on this thread.
    MainWindowQueue().BindToCurrentThread([](const HostMessage&) -> std::intptr_t { return 0; });
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
    g_SaveData.Reset();
    g_SceneManager.m_TitleChoice = kTitleFreePlay;
    BuildSampleDatabase(g_Database);
    BuildSampleCommonPalette(g_CommonPalette);
    cLoadContext& context = LoadContext();
    context.database = DatabaseSizesOf(g_Database);
    context.swordTypes = &g_Database.m_SwordTypes;
    context.commonPalette = g_CommonPalette.View();
    context.stagePalette = g_Stage.View();
    m_Up = WriteStressStage();
    std::error_code ec;
    m_FileBytes = static_cast<std::size_t>(fs::file_size(kStageFile, ec));
    m_Bytes.resize(m_FileBytes + 1);
  }
  ~cStressProject() {
    g_CharaList.Clear();
    g_ItemList.Clear();
    g_Heroes.clear();
    g_Stage.Reset();
    MainWindowQueue().UnbindFromCurrentThread();
    LoadContext() = m_SavedContext;
    fs::current_path(m_Previous);
    std::error_code ec;
    if (!m_Folder.empty()) fs::remove_all(m_Folder, ec);
  }
  bool Up() const { return m_Up && m_FileBytes > 0; }
  std::size_t FileBytes() const { return m_FileBytes; }

  // The yardstick: every byte of the file into memory.
  bool ReadBytes() {
    std::FILE* file = std::fopen(kStageFile, "rb");
    if (!file) return false;
    const std::size_t read = std::fread(m_Bytes.data(), 1, m_Bytes.size(), file);
    std::fclose(file);
    benchmark::DoNotOptimize(m_Bytes.data());
    return read == m_FileBytes;
  }

  // What the loader thread and then the play scene do with the file; the set-up's part of the time
  // is added to setUpSeconds.
  bool LoadAndSetUp(double& setUpSeconds) {
    g_Stage.m_FileName = kStageFile;
    if (!StageLoaderThreadProc(nullptr)) return false;
    g_PlayState.CopyHeaderFrom(g_Stage);
    g_PlayState.FreeRecordLists();
    const auto start = std::chrono::steady_clock::now();
    m_Scene.SetStage(0, 0);
    setUpSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return true;
  }

  cPlayScene& Scene() { return m_Scene; }

 private:
  cLoadContext m_SavedContext;
  fs::path m_Previous;
  fs::path m_Folder;
  bool m_Up = false;
  std::size_t m_FileBytes = 0;
  std::vector<char> m_Bytes;
  cPlayScene m_Scene;
};

void StageLoadAndSetUp(benchmark::State& state) {
  cStressProject project;
  if (!project.Up()) return state.SkipWithError("the stage file was not written");
  cInterleaved timing({"load", "read"});
  bool ok = true;
  double setUpSeconds = 0.0;
  for (auto _ : state) {
    timing.Time(1, [&] { ok = project.ReadBytes() && ok; });
    timing.Time(0, [&] { ok = project.LoadAndSetUp(setUpSeconds) && ok; });
  }
  if (!ok) return state.SkipWithError("the stage did not load");
  timing.Report(state);
  if (state.iterations() > 0) state.counters["us_set_up"] = setUpSeconds / static_cast<double>(state.iterations()) * 1e6;
  state.counters["file_bytes"] = static_cast<double>(project.FileBytes());
  state.counters["characters"] = static_cast<double>(g_CharaList.Size());
  state.counters["blocks"] = static_cast<double>(g_Stage.m_PlacedBlocks.size());
}

}  // namespace

BENCHMARK(StageLoadAndSetUp)->Unit(benchmark::kMicrosecond);
