// The full-screen pixel effects: the rotation (alone, and turned then enlarged as the character
// rotation draws it), the mosaic and the blur, each over a whole 640x480 32-bit screen under both
// back-ends, each repetition timed beside a plain memcpy of one frame (us_effect, us_memcpy,
// x_memcpy). The Screen* cases are whole frames of the heaviest screen effects as the stage drawing
// runs them: the frame taken into a work surface, cleared, and drawn back turned or through the lens.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>

#include "bench/frame_memcpy.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/quad.h"
#include "platform/host/screen.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/screen_effect.h"
#include "project/database.h"
#include "project/surface_descriptors.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;

enum class eBackEnd { DirectDraw, Direct3D, Direct3DSoftware };

// A display of one back-end, windowed at 32 bits, with a screen-sized picture in a work surface
// (the screen effects' source) and a second work surface.
class cEffectDisplay {
 public:
  explicit cEffectDisplay(eBackEnd backEnd) {
    DDInit(backEnd == eBackEnd::DirectDraw ? 0 : 1, &m_Screen, kWidth, kHeight, 32, 0, 1, 1, 60, 0, nullptr, nullptr,
           0);
    const std::int32_t software = backEnd == eBackEnd::Direct3DSoftware ? 1 : 0;
    DDCreateSurface(&m_Picture, kWidth, kHeight, 0, 0, software, 0, 0);
    DDCreateSurface(&m_Work, kWidth, kHeight, 0, 0, software, 0, 0);
    cPixelBuffer& pixels = m_Picture.lpDT ? *m_Picture.lpDT->lpSurface : m_Picture.lpDDPart->surface->Pixels();
    std::mt19937 random(11);
    for (std::int32_t y = 0; y < kHeight; ++y)
      for (std::int32_t x = 0; x < kWidth; ++x) pixels.SetPixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
  }
  ~cEffectDisplay() {
    DDReleaseSurface(&m_Picture);
    DDReleaseSurface(&m_Work);
    DDRelease();
  }
  DDSURFACEDATA m_Picture;
  DDSURFACEDATA m_Work;

 private:
  cHeadlessScreen m_Screen{kWidth, kHeight};
};

// The screen rotation: the whole picture turned 30 degrees about the screen's centre.
void Rotate(benchmark::State& state, eBackEnd backEnd) {
  cEffectDisplay display(backEnd);
  TimeAgainstFrameMemcpy(state, "effect", [&] {
    RotateBlt(&g_BackSurface, 320, 240, kWidth, kHeight, 320, 240, 30, &display.m_Picture, 0, 0, 0);
  });
}

// Turned into a work surface, then enlarged by a quarter onto the screen.
void RotateZoom(benchmark::State& state, eBackEnd backEnd) {
  cEffectDisplay display(backEnd);
  TimeAgainstFrameMemcpy(state, "effect", [&] {
    RotateBlt(&display.m_Work, 320, 240, kWidth, kHeight, 320, 240, 30, &display.m_Picture, 0, 0, 0);
    DDStretchBlt(&g_BackSurface, -80, -60, 800, 600, &display.m_Work, 0, 0, kWidth, kHeight, 0);
  });
}

void Mosaic(benchmark::State& state, eBackEnd backEnd) {
  cEffectDisplay display(backEnd);
  const auto size = static_cast<std::int32_t>(state.range(0));
  TimeAgainstFrameMemcpy(state, "effect", [&] {
    MosaicBlt(&g_BackSurface, 0, 0, kWidth, kHeight, size, &display.m_Picture, 0, 0, 0);
  });
}

void Blur(benchmark::State& state, eBackEnd backEnd) {
  cEffectDisplay display(backEnd);
  const auto radius = static_cast<std::int32_t>(state.range(0));
  TimeAgainstFrameMemcpy(state, "effect", [&] {
    BlurBlt(&g_BackSurface, 0, 0, kWidth, kHeight, radius, radius, &display.m_Picture, 0, 0, 0);
  });
}

// The screen tint: a whole work surface mixed with one colour, by the quad's row loops and, for
// comparison, by the per-pixel rule those loops replace.
void ChangeColour(benchmark::State& state, bool perPixel) {
  cEffectDisplay display(eBackEnd::Direct3D);
  SetQuadReferenceRule(perPixel);
  TimeAgainstFrameMemcpy(state, "effect", [&] {
    DDChangeColor(&display.m_Picture, 0, 0, kWidth, kHeight, 96, 40, 80, 200);
  });
  SetQuadReferenceRule(false);
}

// A stage's display over the game's surface table (the screen effects' work surfaces made), a play
// scene whose hero stands left of and above the centre, and screen effect 1 running in a loop.
class cScreenEffectStage {
 public:
  cScreenEffectStage(eBackEnd backEnd, std::int32_t kind, std::initializer_list<std::int32_t> params) {
    DDInit(backEnd == eBackEnd::DirectDraw ? 0 : 1, &m_Screen, kWidth, kHeight, 32, 0, 1, 1, 60, 0, g_SurfaceTable,
           g_SurfaceDescriptors, kSurfaceTableSize);
    LinkSourceSurfaces();
    LoadSurfaceList(g_SurfaceTable, {67, 68});
    DDCreateSurface(&m_Picture, kWidth, kHeight, 0, 0, 0, 0, 0);
    cPixelBuffer& pixels = m_Picture.lpDT ? *m_Picture.lpDT->lpSurface : m_Picture.lpDDPart->surface->Pixels();
    std::mt19937 random(11);
    for (std::int32_t y = 0; y < kHeight; ++y)
      for (std::int32_t x = 0; x < kWidth; ++x) pixels.SetPixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
    g_Database.m_ScrEffects.assign(2, cScrEffectDef());
    g_Database.m_ScrEffects.At(0).m_Kind = 0;
    cScrEffectDef& def = g_Database.m_ScrEffects.At(1);
    def.m_Kind = kind;
    std::copy(params.begin(), params.end(), def.m_Params);
    g_Database.FillReversedEffects();
    BuildScrEffectTemplates(g_ScrEffectTemplates, g_ScrEffectTemplatesReversed);
    g_Heroes.assign(1, cHero());
    g_Heroes[0].m_DrawWidth = g_Heroes[0].m_DrawHeight = 32;
    g_Heroes[0].m_ScreenLeft = 264;
    g_Heroes[0].m_ScreenTop = 184;
    StartScrEffect(m_Scene.m_ScreenEffect, 1, kEffectModeNormal, 1);
  }
  ~cScreenEffectStage() {
    g_Heroes.clear();
    DDReleaseSurface(&m_Picture);
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    DDRelease();
  }

  // One displayed frame: the stage picture, then the effect over it.
  void Frame() {
    if (DisplayIsD3D()) SetVirBackBuffer(1);
    DDBlt(&g_BackSurface, 0, 0, kWidth, kHeight, &m_Picture, 0, 0, 0);
    RunScreenEffect(m_Scene, 0);
  }

 private:
  cHeadlessScreen m_Screen{kWidth, kHeight};
  DDSURFACEDATA m_Picture;
  cPlayScene m_Scene;
};

// 回転 with its defaults: four turns in a second, looped.
void ScreenRotation(benchmark::State& state, eBackEnd backEnd) {
  cScreenEffectStage stage(backEnd, 9, {10, 0, 1440, 0, 0});
  TimeAgainstFrameMemcpy(state, "frame", [&] { stage.Frame(); });
}

// レンズ with its defaults: from depth 1500 to 5 around the hero, looped.
void ScreenLens(benchmark::State& state, eBackEnd backEnd) {
  cScreenEffectStage stage(backEnd, 12, {10, 1500, 5, 0, 0});
  TimeAgainstFrameMemcpy(state, "frame", [&] { stage.Frame(); });
}

}  // namespace

BENCHMARK_CAPTURE(ScreenRotation, DirectDraw, eBackEnd::DirectDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenRotation, Direct3D, eBackEnd::Direct3D)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenLens, DirectDraw, eBackEnd::DirectDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenLens, Direct3D, eBackEnd::Direct3D)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ChangeColour, Direct3D, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ChangeColour, Direct3DPerPixel, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Rotate, DirectDraw, eBackEnd::DirectDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Rotate, Direct3D, eBackEnd::Direct3D)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Rotate, Direct3DSoftware, eBackEnd::Direct3DSoftware)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RotateZoom, DirectDraw, eBackEnd::DirectDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RotateZoom, Direct3D, eBackEnd::Direct3D)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RotateZoom, Direct3DSoftware, eBackEnd::Direct3DSoftware)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Mosaic, DirectDraw, eBackEnd::DirectDraw)->Arg(8)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Mosaic, Direct3D, eBackEnd::Direct3D)->Arg(8)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blur, DirectDraw, eBackEnd::DirectDraw)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Blur, Direct3D, eBackEnd::Direct3D)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
