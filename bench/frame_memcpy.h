#pragma once
// The yardstick the screen-sized benchmarks are read against: a plain memcpy of one 640x480 32-bit
// frame. It runs before each repetition of the thing measured and is timed apart from it
// (bench/interleaved.h), so the frame time and its ratio to the memcpy come from the same moments
// of the machine, its load and clock speed included.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/interleaved.h"

class cFrameMemcpy {
 public:
  void Run() {
    std::memcpy(m_To.data(), m_From.data(), kFrameBytes);
    benchmark::DoNotOptimize(m_To.data());
  }

 private:
  static constexpr std::size_t kFrameBytes = std::size_t{640} * 480 * 4;
  std::vector<std::uint8_t> m_From = std::vector<std::uint8_t>(kFrameBytes, 1);
  std::vector<std::uint8_t> m_To = std::vector<std::uint8_t>(kFrameBytes);
};

// Runs step once a repetition after the memcpy; reports us_<name>, us_memcpy and x_memcpy (the
// memcpy's time over step's: the share of the frame a memcpy would take).
template <typename F>
void TimeAgainstFrameMemcpy(benchmark::State& state, const char* name, F&& step) {
  cFrameMemcpy memcpy;
  cInterleaved timing({name, "memcpy"});
  for (auto _ : state) {
    timing.Time(1, [&] { memcpy.Run(); });
    timing.Time(0, step);
  }
  timing.Report(state);
}
