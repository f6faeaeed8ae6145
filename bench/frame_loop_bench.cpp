// The frame loop in headless mode without pacing, as the player runs it: the title scene's whole
// frame (drawing through the back-end's own copies, Direct3D through its textures, the present and
// the conversion of the frame for the screen), and the loop's own overhead around a scene that draws
// nothing. The overhead must stay under 0.2 ms a frame, and the title must run at least 80 times as
// fast as real time (60 frames a second). "x_real_time" is that factor; "one_by_one_px" counts the
// pixels a frame's quads drew by the general per-pixel rule instead of the row loops (0 expected).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/quad.h"
#include "platform/host/message_queue.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "shell/scene_manager.h"
#include "shell/system_ini.h"

namespace {

// A 24-bit BMP of one colour per 32-pixel square.
void WriteBmp(const std::filesystem::path& file, std::int32_t width, std::int32_t height) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t size = 54 + rowBytes * static_cast<std::uint32_t>(height);
  std::string bytes(size, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = 54 + static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x) * 3;
      bytes[at] = static_cast<char>(x / 32 * 20);
      bytes[at + 1] = static_cast<char>(y / 32 * 16);
      bytes[at + 2] = static_cast<char>(0x40);
    }
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// A game folder with the title's pictures, the display up on a headless screen, the fonts, and the
// main window's requests answered at once on this thread.
class cBenchGame {
 public:
  explicit cBenchGame(std::int32_t useD3D) {
    m_Previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "frame-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) m_Folder = pattern;
    std::filesystem::current_path(m_Folder);
    WriteBmp("bmp/Title.bmp", 640, 480);
    WriteBmp("bmp/Accessory.bmp", 96, 16);
    WriteBmp("bmp/Window.bmp", 64, 64);
    ReportLogOpen((m_Folder / "Report_Game.txt").string());
    MainWindowQueue().BindToCurrentThread([](const HostMessage&) -> std::intptr_t { return 0; });
    g_System.SetDefaults();
    g_SystemIni.ShowFps = 0;
    m_Up = DDInit(useD3D, &m_Screen, 640, 480, 32, 0, 1, 1, 60, 1, g_SurfaceTable, g_SurfaceDescriptors,
                  kSurfaceTableSize);
    CreateGameFonts(SJ("ＭＳ ゴシック"), 0, 0);
    g_SceneManager.m_FrameRate = 0;  // no pacing
    g_SceneManager.m_Current = kSceneTitle;
  }
  ~cBenchGame() {
    g_SceneManager.DeleteScenes();
    g_SceneManager.SetSceneFactory(kSceneTitle, nullptr);
    ReleaseGameFonts();
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    DDRelease();
    MainWindowQueue().UnbindFromCurrentThread();
    while (MainWindowQueue().TryTake()) {
    }
    std::filesystem::current_path(m_Previous);
    std::error_code ec;
    std::filesystem::remove_all(m_Folder, ec);
  }
  bool Up() const { return m_Up; }

 private:
  std::filesystem::path m_Previous;
  std::filesystem::path m_Folder;
  cHeadlessScreen m_Screen{640, 480};
  bool m_Up = false;
};

// Draws nothing: what is left of a frame is the loop itself and the present.
class cIdleScene : public cScene {
 public:
  void Frame() override {}
};
std::unique_ptr<cScene> MakeIdleScene() { return std::make_unique<cIdleScene>(); }

void RunFrames(benchmark::State& state) {
  // The first frames enter the scene and fade it in; they are not what is measured.
  for (int i = 0; i < 60; ++i) g_SceneManager.Frame();
  const std::uint64_t oneByOne = QuadPixelsDrawnOneByOne();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(g_SceneManager.Frame());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double frames = static_cast<double>(state.iterations());
  if (frames == 0 || seconds <= 0) return;
  state.counters["x_real_time"] = (1.0 / 60.0) / (seconds / frames);
  state.counters["one_by_one_px"] = static_cast<double>(QuadPixelsDrawnOneByOne() - oneByOne) / frames;
}

void TitleFrame(benchmark::State& state) {
  cBenchGame game(static_cast<std::int32_t>(state.range(0)));
  if (!game.Up()) {
    state.SkipWithError("the display did not start");
    return;
  }
  RunFrames(state);
}

void LoopOverhead(benchmark::State& state) {
  cBenchGame game(static_cast<std::int32_t>(state.range(0)));
  if (!game.Up()) {
    state.SkipWithError("the display did not start");
    return;
  }
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeIdleScene);
  RunFrames(state);
}

}  // namespace

// Argument: 0 DirectDraw, 1 Direct3D (both 32 bits, in a window).
BENCHMARK(TitleFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoopOverhead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
