// The logic of one frame of play on a crowded stage: 300 walking characters in the view (so that
// every one of them runs every logic step), standing on a floor with walls and gaps, hero 0 among
// them, at speed level 10 (ten logic steps a frame) and, for comparison, level 1; the characters in
// one group, or spread over all 8 (contacts are tested between groups). Each frame is timed beside a
// memcpy of one 640x480x32 frame (us_logic, us_memcpy, x_memcpy); the goal is 2 ms a frame at level
// 10 with 8 groups. Beside it, the contact pass of one logic step over the crowd spread over the 8
// groups, where every pair of groups is tried. And the same crowd at level 10 with 1000 live shots
// over the 8 groups, homing on the hero, on their shooters' targets and on the nearest characters of
// each group through the blocks, so that every shot stays in the view and meets every other group.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/frame_memcpy.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "play/chara.h"
#include "play/contacts.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/common_palette.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/scene_manager.h"

namespace {

constexpr int kCellsX = 60;
constexpr int kCellsY = 15;  // the view's height: every character is in it
constexpr int kFloorRow = 14;
constexpr int kCharacters = 300;

cCharaDef Placed(std::int32_t op, int x, int y, int group) {
  cCharaDef def;
  def.m_Operator = static_cast<std::uint8_t>(op);
  def.m_SpareByte2 = static_cast<std::uint8_t>(group);
  def.m_ChipIndex = 1;
  def.m_PosX = static_cast<std::int16_t>(x);
  def.m_PosY = static_cast<std::int16_t>(y);
  def.m_StoredWord = -1;
  return def;
}

cBlock Solid(int x, int y) {
  cBlock block;
  block.m_ChipIndex = 1;
  block.m_Solid = kSolid;
  block.m_PosX = static_cast<std::int16_t>(x);
  block.m_PosY = static_cast<std::int16_t>(y);
  return block;
}

class cCrowdedStage {
 public:
  cCrowdedStage(std::int32_t speedLevel, std::int32_t groups) {
    InitRecordSettings();
    // The stage music request is answered at once on this thread.
    MainWindowQueue().BindToCurrentThread([](const HostMessage&) -> std::intptr_t { return 0; });
    g_Inputs.assign(1, cInput());
    g_Inputs[0].InitKeyHistories();
    g_SaveData.Reset();
    g_CommonPalette.m_Blocks.assign(1, cBlock());
    g_SceneManager.m_TitleChoice = kTitleFreePlay;

    g_Stage.Reset();
    g_Stage.SetField(kStageWidth, kCellsX);
    g_Stage.SetField(kStageHeight, kCellsY);
    g_Stage.SetField(kExtraExtentX, kCellsX * 32);
    g_Stage.SetField(kExtraExtentY, kCellsY * 32);
    g_Stage.m_PlacedBlocks.clear();
    g_Stage.m_PlacedCharas.clear();
    g_Stage.m_PlacedItems.clear();
    // A floor with a gap every ten cells, and a wall every seven.
    for (int x = 0; x < kCellsX; ++x) {
      if (x % 10 != 9) g_Stage.m_PlacedBlocks.push_back(Solid(x, kFloorRow));
      if (x % 7 == 3) g_Stage.m_PlacedBlocks.push_back(Solid(x, kFloorRow - 1));
    }
    g_Stage.m_PlacedCharas.push_back(Placed(0, 5, kFloorRow - 1, 0));
    // 300 characters over the 20 x 14 cells of the view above the floor (a few cells hold two),
    // falling onto the floor.
    for (int i = 0; i < kCharacters; ++i)
      g_Stage.m_PlacedCharas.push_back(Placed(1, i % 20, (i / 20) % kFloorRow, groups > 1 ? i % groups : 1));
    g_Stage.SetSpeedLevel(speedLevel);
    g_PlayState.Reset();
    g_PlayState.CopyHeaderFrom(g_Stage);
    m_Scene.SetStage(0, 0);
    m_Scene.m_State = kPlayRunning;
    // A second of play first: the characters have landed and the lists have their sizes.
    for (int frame = 0; frame < 60; ++frame) m_Scene.RunFrameLogic();
  }

  ~cCrowdedStage() {
    g_CharaList.Clear();
    g_ItemList.Clear();
    g_Heroes.clear();
    MainWindowQueue().UnbindFromCurrentThread();
  }

  cPlayScene& Scene() { return m_Scene; }

 private:
  cPlayScene m_Scene;
};

void LogicOfAFrame(benchmark::State& state) {
  cCrowdedStage stage(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  std::int64_t running = 0;
  for (const cChara& chara : g_CharaList) running += chara.m_RunsThisStep;
  TimeAgainstFrameMemcpy(state, "logic", [&] { stage.Scene().RunFrameLogic(); });
  state.counters["characters"] = static_cast<double>(g_CharaList.Size());
  state.counters["running"] = static_cast<double>(running);
  state.counters["steps"] = g_StepsPerFrame;
  state.counters["groups"] = static_cast<double>(state.range(1));
}

void ContactsOfACrowd(benchmark::State& state) {
  cCrowdedStage stage(10, 8);
  std::int64_t touching = 0;
  for (auto _ : state) {
    touching += HeroCharaContacts();
    benchmark::ClobberMemory();
  }
  state.counters["characters"] = static_cast<double>(g_CharaList.Size());
  state.counters["ended"] = static_cast<double>(touching);
}

constexpr int kShots = 1000;

// kShots shots fired by the characters round the hero: slow homing shots that fly through blocks
// and never end by themselves.
void FireShots(cPlayScene& scene) {
  const std::uint8_t kinds[] = {4, 5, 6, 7};
  int fired = 0;
  while (fired < kShots) {
    for (cChara& chara : g_CharaList) {
      if (fired == kShots) break;
      cEdShot params;
      params.m_MoveKind = kinds[fired % 4];
      params.m_Speed = 10;
      params.m_MoveParams[1] = 999;
      params.m_MoveParams[2] = static_cast<std::int16_t>(fired % 8);
      params.m_BlockPassing = 1;
      cShotSpawn spawn;
      spawn.m_X = static_cast<std::int32_t>(scene.m_ScrollX.m_Pos) + 40 + (fired * 37) % 560;
      spawn.m_Y = static_cast<std::int32_t>(scene.m_ScrollY.m_Pos) + 40 + (fired * 53) % 360;
      spawn.m_Vx = fired % 2 == 0 ? 0.5 : -0.5;
      spawn.m_Vy = 0.0;
      cShot shot;
      shot.Setup(scene.m_NextExtraId++, chara, 11, params, spawn);
      AddShot(scene.m_ShotList, shot);
      ++fired;
    }
  }
}

void LogicOfAFrameWithShots(benchmark::State& state) {
  cCrowdedStage stage(10, 8);
  FireShots(stage.Scene());
  const auto before = stage.Scene().m_ShotList.size();
  TimeAgainstFrameMemcpy(state, "logic", [&] { stage.Scene().RunFrameLogic(); });
  state.counters["characters"] = static_cast<double>(g_CharaList.Size());
  state.counters["shots_at_start"] = static_cast<double>(before);
  state.counters["shots_at_end"] = static_cast<double>(stage.Scene().m_ShotList.size());
  state.counters["steps"] = g_StepsPerFrame;
}

}  // namespace

// Arguments: speed level, groups.
BENCHMARK(LogicOfAFrame)->Args({10, 8})->Args({10, 1})->Args({1, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(ContactsOfACrowd)->Unit(benchmark::kMicrosecond);
BENCHMARK(LogicOfAFrameWithShots)->Unit(benchmark::kMicrosecond);
