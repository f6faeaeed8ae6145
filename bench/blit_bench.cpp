// The copies the game makes most: a colour-keyed copy of a whole 640x480 32-bit picture, and a
// screen of 32x32 map cells. Measured in one run beside a plain memcpy of the same bytes and SDL's
// own keyed blit of the same picture, the yardsticks the copy has to keep up with.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "bench/frame_memcpy.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/host/screen.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::int64_t kFrameBytes = std::int64_t{kWidth} * kHeight * 4;  // 1,228,800
constexpr std::uint32_t kKey = 0x00FF00FF;

// Half the pixels of the picture are the key, at random.
std::vector<std::uint32_t> KeyedPicture(std::uint32_t key, std::uint32_t opaqueAlpha) {
  std::mt19937 random(7);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::uint32_t& p : pixels) p = (random() & 1) ? key : (opaqueAlpha | (random() & 0xFFFFFF)) ^ 1;
  return pixels;
}

void Fill(DDSURFACEDATA& record, const std::vector<std::uint32_t>& pixels) {
  cPixelBuffer& buffer = record.lpDT ? *record.lpDT->lpSurface : record.lpDDPart->surface->Pixels();
  for (std::int32_t y = 0; y < kHeight; ++y)
    for (std::int32_t x = 0; x < kWidth; ++x) buffer.SetPixel(x, y, pixels[static_cast<std::size_t>(y) * kWidth + x]);
}

// A display of one back-end, windowed at 32 bits, with a keyed 640x480 picture.
class cBenchDisplay {
 public:
  explicit cBenchDisplay(bool d3d) {
    DDInit(d3d ? 1 : 0, &m_Screen, kWidth, kHeight, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0);
    // Direct3D: the key is transparent black in every texture; DirectDraw: the colour key.
    g_TransparentPixel = kKey;
    DDCreateSurface(&m_Picture, kWidth, kHeight, 1, 0, 0, 0, 0);
    Fill(m_Picture, d3d ? KeyedPicture(0, 0xFF000000) : KeyedPicture(kKey, 0));
  }
  ~cBenchDisplay() {
    DDReleaseSurface(&m_Picture);
    DDRelease();
  }
  DDSURFACEDATA m_Picture;

 private:
  cHeadlessScreen m_Screen{kWidth, kHeight};
};

void SdlKeyedBlit640x480x32(benchmark::State& state) {
  SDL_Surface* from = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* to = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_XRGB8888);
  const std::vector<std::uint32_t> pixels = KeyedPicture(kKey, 0);
  for (std::int32_t y = 0; y < kHeight; ++y)
    std::memcpy(static_cast<std::uint8_t*>(from->pixels) + y * from->pitch, pixels.data() + y * kWidth, kWidth * 4);
  SDL_SetColorKey(from, SDL_TRUE, kKey);
  for (auto _ : state) {
    SDL_BlitSurface(from, nullptr, to, nullptr);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(from);
  SDL_FreeSurface(to);
  state.SetBytesProcessed(state.iterations() * kFrameBytes);
}

void KeyedBlit640x480x32(benchmark::State& state, bool d3d) {
  cBenchDisplay display(d3d);
  for (auto _ : state) {
    DDBlt(&g_BackSurface, 0, 0, kWidth, kHeight, &display.m_Picture, 0, 0, 1);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kFrameBytes);
}

// One screen of map cells: 20 x 15 cells of 32x32, each from a different place of the picture.
void KeyedMapCells(benchmark::State& state, bool d3d) {
  cBenchDisplay display(d3d);
  for (auto _ : state) {
    for (std::int32_t cell = 0; cell < 300; ++cell) {
      const std::int32_t x = cell % 20 * 32, y = cell / 20 * 32;
      DDBlt(&g_BackSurface, x, y, 32, 32, &display.m_Picture, (cell * 7) % 20 * 32, (cell * 3) % 15 * 32, 1);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 300);
}

void DirectDrawKeyedBlit640x480x32(benchmark::State& state) { KeyedBlit640x480x32(state, false); }
void Direct3DKeyedBlit640x480x32(benchmark::State& state) { KeyedBlit640x480x32(state, true); }
void DirectDrawKeyedMapCells300(benchmark::State& state) { KeyedMapCells(state, false); }
void Direct3DKeyedMapCells300(benchmark::State& state) { KeyedMapCells(state, true); }

}  // namespace

BENCHMARK(Memcpy640x480x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(SdlKeyedBlit640x480x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(DirectDrawKeyedBlit640x480x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(Direct3DKeyedBlit640x480x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(DirectDrawKeyedMapCells300)->Unit(benchmark::kMicrosecond);
BENCHMARK(Direct3DKeyedMapCells300)->Unit(benchmark::kMicrosecond);
