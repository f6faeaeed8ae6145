// The conversion of a finished 640x480 frame to the window's 32-bit colour, which every present
// does once, and the whole present of each back-end as the frame loop calls it (DirectDraw in a
// window: the back surface handed to the screen and converted once; Direct3D: the back buffer). It
// must stay well under a millisecond at every depth.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/present.h"
#include "platform/host/screen.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;

void ConvertFrame(benchmark::State& state, PixelFormat format) {
  const int size = BytesPerPixel(format);
  // Rows padded as the display's buffers pad them.
  const std::int32_t pitch = (kWidth * size + 15) / 16 * 16;
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(pitch) * kHeight);
  std::mt19937 random(1);
  for (std::uint8_t& b : frame) b = static_cast<std::uint8_t>(random());
  std::vector<std::uint32_t> palette(256);
  for (std::uint32_t& c : palette) c = random() & 0xFFFFFF;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(kWidth) * kHeight);
  const PixelView view{frame.data(), kWidth, kHeight, pitch, format};
  for (auto _ : state) {
    ConvertFrameToXrgb(view, palette.data(), out.data(), kWidth);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void PresentIndex8(benchmark::State& state) { ConvertFrame(state, PixelFormat::Index8); }
void PresentRgb565(benchmark::State& state) { ConvertFrame(state, PixelFormat::Rgb565); }
void PresentArgb1555(benchmark::State& state) { ConvertFrame(state, PixelFormat::Argb1555); }
void PresentXrgb8888(benchmark::State& state) { ConvertFrame(state, PixelFormat::Xrgb8888); }

// The whole hand-over of a frame to a headless screen: conversion plus the exchange of images.
void SubmitFrameIndex8(benchmark::State& state) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(kWidth) * kHeight, 7);
  std::vector<std::uint32_t> palette(256, 0x336699);
  cHeadlessScreen screen(kWidth, kHeight);
  const PixelView view{frame.data(), kWidth, kHeight, kWidth, PixelFormat::Index8};
  for (auto _ : state) screen.SubmitFrame(view, palette.data());
}

// Argument: bits per pixel; the display windowed, as the player starts it.
void PresentDirectDrawWindow(benchmark::State& state) {
  cHeadlessScreen screen(kWidth, kHeight);
  if (!DDInit(0, &screen, kWidth, kHeight, static_cast<std::int32_t>(state.range(0)), 0, 1, 1, 60, 0, nullptr,
              nullptr, 0))
    return state.SkipWithError("the display did not start");
  cDDSurface& back = *g_BackSurface.lpDDPart->surface;
  for (auto _ : state) benchmark::DoNotOptimize(g_lpDD->BltToWindow(back));
  DDRelease();
}

void PresentDirect3D(benchmark::State& state) {
  cHeadlessScreen screen(kWidth, kHeight);
  if (!DDInit(1, &screen, kWidth, kHeight, static_cast<std::int32_t>(state.range(0)), 0, 1, 1, 60, 0, nullptr,
              nullptr, 0))
    return state.SkipWithError("the display did not start");
  for (auto _ : state) benchmark::DoNotOptimize(DDPresent());
  DDRelease();
}

}  // namespace

BENCHMARK(PresentDirectDrawWindow)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentDirect3D)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentIndex8)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentRgb565)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentArgb1555)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentXrgb8888)->Unit(benchmark::kMicrosecond);
BENCHMARK(SubmitFrameIndex8)->Unit(benchmark::kMicrosecond);
