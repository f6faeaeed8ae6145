// One frame of a heavy stage through DrawStage under both back-ends: eight background layers, each a
// whole screen (the seven over the first keyed, one of them scrolling by itself), both cell planes
// full (a checkerboard of back and front cells, every eighth with a mark), 300 characters through
// the character pass, the status bar with all five items and the time, a held screen colour and the
// darkness of hero 0's field of view. Each frame is timed beside a memcpy of one 640x480x32 frame
// (us_frame, us_memcpy, x_memcpy); the argument says which parts are drawn (see kPartRemovers).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "bench/frame_memcpy.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/palette.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "play/chara_base.h"
#include "play/chip_sheets.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/stage_draw.h"
#include "play/stage_draw_objects.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::int32_t kCellsX = 200;
constexpr std::int32_t kCellsY = 100;
constexpr int kCharacters = 300;

std::vector<cCharaBase>* g_BenchCharas = nullptr;

void DrawCharas(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  for (cCharaBase& chara : *g_BenchCharas)
    if (DrawnInPass(chara.m_Def.m_Z, priority)) chara.Draw(dst, frozen);
}

// The window of the darkness picture around the middle of the view, as the hero lays it.
void DrawDarkness(DDSURFACEDATA* dst) {
  DDSURFACEDATA* darkness = &g_SurfaceTable[kDarknessSurface];
  DDBlt(dst, 0, 0, kWidth, kHeight, darkness, darkness->width / 2 - kWidth / 2, darkness->height / 2 - kHeight / 2, 1);
}

// A random picture in table row `row`; a keyed one has a quarter of its dots transparent.
void MakePicture(std::int32_t row, std::int32_t w, std::int32_t h, bool keyed, std::mt19937& random) {
  DDSURFACEDATA& record = g_SurfaceTable[row];
  DDCreateSurface(&record, w, h, keyed ? 1 : 0, 0, 0, 0, 0);
  cPixelBuffer& pixels = record.lpDT ? *record.lpDT->lpSurface : record.lpDDPart->surface->Pixels();
  const std::uint32_t key = record.lpDT ? 0u : g_TransparentPixel;
  const std::uint32_t opaque = record.lpDT ? 0xFF000000u : 0u;
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x)
      pixels.SetPixel(x, y, keyed && (random() & 3) == 0 ? key : opaque | ((random() & 0xFFFFFF) ^ 1));
}

class cHeavyStage {
 public:
  explicit cHeavyStage(bool d3d, std::int32_t bpp = 32) {
    DDInit(d3d ? 1 : 0, &m_Screen, kWidth, kHeight, bpp, 0, 1, 1, 60, 0, g_SurfaceTable, g_SurfaceDescriptors,
           kSurfaceTableSize);
    LinkSourceSurfaces();
    DDSetTransmit(0xFF, 0x00, 0xFF);
    for (int i = 0; i < 256; ++i)
      g_Palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i), 0};
    CreateGameFonts(SJ("ＭＳ ゴシック"), 0, 0);
    std::mt19937 random(5);
    MakePicture(kBlockSheet, 480, 480, true, random);
    MakePicture(kCharaSheet, 640, 480, true, random);
    MakePicture(kCharaSheet + 1, 640, 480, true, random);
    MakePicture(kMarkSheet, 128, 480, true, random);
    MakePicture(46, kWidth, 20, false, random);
    MakePicture(49, 128, 192, true, random);
    MakePicture(51, 320, 192, true, random);
    for (std::int32_t i = 0; i < kMaxBgLayers; ++i) MakePicture(kBgLayerSurface + i, kWidth, kHeight, i > 0, random);

    m_Scene.m_ScrollX.Setup(0, kCellsX, kCellsX * 32);
    m_Scene.m_ScrollY.Setup(1, kCellsY, kCellsY * 32);
    m_Scene.m_ScrollX.SetScrollRange(0, 0, 0, 0);
    m_Scene.m_ScrollY.SetScrollRange(0, 0, 0, 0);
    m_Scene.m_ScrollX.m_Pos = 1000.5;
    m_Scene.m_ScrollY.m_Pos = 700.25;
    g_PlayScene = &m_Scene;

    g_Stage.Reset();
    g_Stage.m_BgLayers.clear();
    for (std::int32_t i = 0; i < kMaxBgLayers; ++i) {
      cBgLayer& layer = g_Stage.m_BgLayers.emplace_back();
      layer.SetDefaults();
      layer.m_Pass = i < 6 ? kPlaneBack : kPlaneFront;
      layer.m_RateX = 0.1 * (i + 1);
      layer.m_RateY = 0.05 * (i + 1);
    }
    g_Stage.m_BgLayers.At(3).m_AutoScrollX = 1;
    cStageData empty;
    empty.m_PlacedBlocks.clear();
    BuildMapCells(empty);
    for (std::int32_t ty = 0; ty < m_Scene.m_ScrollY.m_CellCount; ++ty)
      for (std::int32_t tx = 0; tx < m_Scene.m_ScrollX.m_CellCount; ++tx) {
        cMapCell& cell = MapCellAt(tx, ty);
        cell.m_ChipSource = kChipBlock;
        cell.m_ChipIndex = static_cast<std::int16_t>(1 + (tx * 7 + ty) % 200);
        cell.m_FrontLayer = static_cast<std::uint8_t>((tx + ty) & 1);
        cell.m_MarkMode = (tx + ty) % 8 == 0 ? 1 : 0;
        cell.m_MarkNumber = static_cast<std::int16_t>(tx % 60);
      }

    const char* labels[kStatusBarItemCount] = {"TOTAL", "SCORE", "HP", "SP", "LIFE"};
    for (int i = 0; i < kStatusBarItemCount; ++i) {
      cStatusBarItem& item = g_System.m_StatusBarItems.At(i);
      item.m_Shown = 1;
      item.m_Icon = i == 4 ? 1 : 0;
      item.m_Label = labels[i];
      item.m_ShowNumber = 1;
      item.m_Digits = 6;
    }
    g_SaveData.m_Score = 123456;
    g_SaveData.m_SumScore = 654321;
    g_SaveData.m_Lives = 3;
    m_Scene.m_TimeLeft = 123;

    m_Hero.m_Def.m_MaxHp = 48;
    m_Hero.m_Hp = 30;
    m_Hero.m_Def.m_MaxSp = 10;
    m_Hero.m_Sp = 4;
    m_Hero.m_Sight = 96;
    m_Hero.m_Def.m_SightShape = 1;
    m_Scene.m_Heroes.push_back(&m_Hero);
    BuildDarknessSurfaces(&g_SurfaceTable[kDarknessSurface], &g_SurfaceTable[kDarknessSpotSurface]);
    g_DarknessDrawer = DrawDarkness;
    StartScreenColour(m_Scene.m_ScreenColour, 40, 60, 200, 30, 0, 0, 0, 0);

    // The characters walk their four frames over the view and a little beyond it.
    m_Charas.reserve(kCharacters);
    for (int i = 0; i < kCharacters; ++i) {
      cCharaBase& chara = m_Charas.emplace_back();
      chara.cGameObj::Init(i + 1, 1, 0, 1, i % 15, nullptr, 0, 0, 0, 32, 32, 32, 32, i & 1, 0, 0);
      chara.m_Def.m_ChipSource = kChipChara;
      chara.m_Def.m_Z = static_cast<std::uint8_t>(i % kDrawPriorities);
      AnimeFrameList& frames = chara.m_Anime.AppendPattern();
      for (int f = 0; f < 4; ++f) frames.push_back({f, 8, 0});
      frames.push_back({kAnimeLoop, 0, 0});
      chara.m_Anime.SetPattern(0, 1);
      chara.m_X1 = m_Scene.m_ScrollX.m_Pos - 32 + static_cast<double>(random() % (kWidth + 64));
      chara.m_Y1 = m_Scene.m_ScrollY.m_Pos - 32 + static_cast<double>(random() % (kHeight + 64));
    }
    g_BenchCharas = &m_Charas;
    g_ObjectDrawers[kDrawCharas] = DrawCharas;
  }

  ~cHeavyStage() {
    g_ObjectDrawers = {};
    g_DarknessDrawer = nullptr;
    m_Charas.clear();
    m_Scene.m_Heroes.clear();
    g_MapCells.clear();
    ReleaseGameFonts();
    DDRelease();
    g_PlayScene = nullptr;
  }

 private:
  cHeadlessScreen m_Screen{kWidth, kHeight};
  cPlayScene m_Scene;
  cCharaBase m_Hero;
  std::vector<cCharaBase> m_Charas;
};

// The parts of the frame a run keeps, by bit: the argument 63 draws them all, a single bit shows
// what one part costs over the frame of no parts (whose back plane is then the colour-16 fill).
using PartRemover = void (*)();
// clang-format off
constexpr PartRemover kPartRemovers[] = {
    [] { g_PlayScene->m_ScreenColour.m_Active = 0; },                                // 1 screen colour
    [] { g_ObjectDrawers = {}; },                                                    // 2 characters
    [] { g_DarknessDrawer = nullptr; },                                              // 4 darkness
    [] { for (cStatusBarItem& item : g_System.m_StatusBarItems) item.m_Shown = 0; },  // 8 status bar
    [] { g_Stage.m_BgLayers.clear(); },                                              // 16 layers
    [] { g_MapCells.assign(g_MapCells.size(), cMapCell()); },                        // 32 cells
};
// clang-format on
constexpr std::int64_t kAllParts = 63;

void DrawHeavyStage(benchmark::State& state, bool d3d, std::int32_t bpp) {
  cHeavyStage stage(d3d, bpp);
  for (std::size_t bit = 0; bit < std::size(kPartRemovers); ++bit)
    if ((state.range(0) & (std::int64_t{1} << bit)) == 0) kPartRemovers[bit]();
  TimeAgainstFrameMemcpy(state, "frame", [] { DrawStage(1, 0, 1, 1); });
}

}  // namespace

BENCHMARK_CAPTURE(DrawHeavyStage, DirectDraw, false, 32)->Arg(kAllParts)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(32)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawHeavyStage, Direct3D, true, 32)->Arg(kAllParts)->Arg(kAllParts - 1)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(32)
    ->Unit(benchmark::kMicrosecond);
// At 16 bits the back buffer is RGB565: the colour-16 fill and the screen colour on a 16-bit target.
BENCHMARK_CAPTURE(DrawHeavyStage, Direct3D16, true, 16)->Arg(kAllParts)->Arg(kAllParts - 1)->Arg(0)->Arg(1)->Arg(2)->Arg(16)->Arg(32)
    ->Unit(benchmark::kMicrosecond);
