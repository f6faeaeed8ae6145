// The copies the game makes most, through the player's own copy code: a colour-keyed copy of a whole
// 640x480 32-bit picture, and a screen of 32x32 map cells, under both back-ends, on two pictures:
// noise (half the pixels key, at random) and sprites (32x32 discs, about half key, as a sprite
// sheet is). Each is timed in one run beside its yardsticks: a plain memcpy of the same bytes, and
// SDL's colour-keyed blit of the same picture with run-length encoding on and off.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "bench/interleaved.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/host/screen.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight * 4;  // 1,228,800
constexpr std::uint32_t kKey = 0x00FF00FF;

enum class Picture { Noise, Sprites };

// The picture's pixels: the key where it is transparent, else opaqueAlpha with a colour that is
// never the key.
std::vector<std::uint32_t> MakePicture(Picture picture, std::uint32_t key, std::uint32_t opaqueAlpha) {
  std::mt19937 random(7);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::int32_t y = 0; y < kHeight; ++y)
    for (std::int32_t x = 0; x < kWidth; ++x) {
      bool kept;
      if (picture == Picture::Noise) {
        kept = (random() & 1) != 0;
      } else {
        // A disc of radius 12.75 in each 32x32 cell: 511 of its 1024 pixels.
        const double dx = x % 32 - 15.5, dy = y % 32 - 15.5;
        kept = dx * dx + dy * dy <= 12.75 * 12.75;
      }
      pixels[static_cast<std::size_t>(y) * kWidth + x] = kept ? (opaqueAlpha | (random() & 0xFFFFFF)) ^ 1 : key;
    }
  return pixels;
}

void Fill(DDSURFACEDATA& record, const std::vector<std::uint32_t>& pixels) {
  cPixelBuffer& buffer = record.lpDT ? *record.lpDT->lpSurface : record.lpDDPart->surface->Pixels();
  for (std::int32_t y = 0; y < kHeight; ++y)
    for (std::int32_t x = 0; x < kWidth; ++x) buffer.SetPixel(x, y, pixels[static_cast<std::size_t>(y) * kWidth + x]);
}

// A display of one back-end, windowed at 32 bits as the player starts it, with a keyed picture
// loaded as the game loads its pictures (a Direct3D texture whose key pixels are transparent).
class cBenchDisplay {
 public:
  cBenchDisplay(bool d3d, Picture picture) {
    m_Up = DDInit(d3d ? 1 : 0, &m_Screen, kWidth, kHeight, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0);
    g_TransparentPixel = kKey;
    DDCreateSurface(&m_Picture, kWidth, kHeight, 1, 0, 0, 0, 0);
    Fill(m_Picture, d3d ? MakePicture(picture, 0, 0xFF000000) : MakePicture(picture, kKey, 0));
    // The first copies describe the picture (its key spans), as the game's first frames do.
    for (int i = 0; i < 3; ++i) CopyWhole();
  }
  ~cBenchDisplay() {
    DDReleaseSurface(&m_Picture);
    DDRelease();
  }
  bool Up() const { return m_Up; }
  void CopyWhole() { DDBlt(&g_BackSurface, 0, 0, kWidth, kHeight, &m_Picture, 0, 0, 1); }
  DDSURFACEDATA m_Picture;

 private:
  cHeadlessScreen m_Screen{kWidth, kHeight};
  bool m_Up = false;
};

// SDL surfaces of the same picture, keyed, with run-length encoding on or off.
class cSdlPicture {
 public:
  cSdlPicture(Picture picture, bool rle) {
    m_From = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_XRGB8888);
    m_To = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_XRGB8888);
    const std::vector<std::uint32_t> pixels = MakePicture(picture, kKey, 0);
    for (std::int32_t y = 0; y < kHeight; ++y)
      std::memcpy(static_cast<std::uint8_t*>(m_From->pixels) + y * m_From->pitch, pixels.data() + y * kWidth,
                  kWidth * 4);
    SDL_SetColorKey(m_From, SDL_TRUE, kKey);
    SDL_SetSurfaceRLE(m_From, rle ? 1 : 0);
    Blit();  // encodes the runs
  }
  ~cSdlPicture() {
    SDL_FreeSurface(m_From);
    SDL_FreeSurface(m_To);
  }
  void Blit() { SDL_BlitSurface(m_From, nullptr, m_To, nullptr); }

 private:
  SDL_Surface* m_From = nullptr;
  SDL_Surface* m_To = nullptr;
};

const char* BackEnd(std::int64_t d3d) { return d3d ? "Direct3D" : "DirectDraw"; }
const char* PictureName(std::int64_t picture) { return picture ? "sprites" : "noise"; }

// Arguments: back-end (0 DirectDraw, 1 Direct3D), picture (0 noise, 1 sprites).
void KeyedBlitVsMemcpy(benchmark::State& state) {
  cBenchDisplay display(state.range(0) != 0, static_cast<Picture>(state.range(1)));
  if (!display.Up()) return state.SkipWithError("the display did not start");
  state.SetLabel(std::string(BackEnd(state.range(0))) + ", " + PictureName(state.range(1)));
  std::vector<std::uint8_t> from(kFrameBytes, 1), to(kFrameBytes);
  cInterleaved timing({"blit", "memcpy"});
  for (auto _ : state) {
    timing.Time(1, [&] {
      std::memcpy(to.data(), from.data(), kFrameBytes);
      benchmark::DoNotOptimize(to.data());
    });
    timing.Time(0, [&] { display.CopyWhole(); });
  }
  timing.Report(state);
}

void KeyedBlitVsSdl(benchmark::State& state) {
  const auto picture = static_cast<Picture>(state.range(1));
  cBenchDisplay display(state.range(0) != 0, picture);
  if (!display.Up()) return state.SkipWithError("the display did not start");
  state.SetLabel(std::string(BackEnd(state.range(0))) + ", " + PictureName(state.range(1)));
  cSdlPicture rle(picture, true), plain(picture, false);
  cInterleaved timing({"blit", "sdl_rle", "sdl_plain"});
  for (auto _ : state) {
    timing.Time(1, [&] { rle.Blit(); });
    timing.Time(2, [&] { plain.Blit(); });
    timing.Time(0, [&] { display.CopyWhole(); });
  }
  timing.Report(state);
}

// One screen of map cells: 20 x 15 cells of 32x32, each from a different place of the picture.
void KeyedMapCells300(benchmark::State& state) {
  cBenchDisplay display(state.range(0) != 0, static_cast<Picture>(state.range(1)));
  if (!display.Up()) return state.SkipWithError("the display did not start");
  state.SetLabel(std::string(BackEnd(state.range(0))) + ", " + PictureName(state.range(1)));
  for (auto _ : state) {
    for (std::int32_t cell = 0; cell < 300; ++cell) {
      const std::int32_t x = cell % 20 * 32, y = cell / 20 * 32;
      DDBlt(&g_BackSurface, x, y, 32, 32, &display.m_Picture, (cell * 7) % 20 * 32, (cell * 3) % 15 * 32, 1);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 300);
}

}  // namespace

BENCHMARK(KeyedBlitVsMemcpy)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(KeyedBlitVsSdl)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(KeyedMapCells300)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);
