#pragma once
// The yardstick the screen-sized benchmarks are read against: a plain memcpy of one 640x480 32-bit
// frame, registered in each program so that both are measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void Memcpy640x480x32(benchmark::State& state) {
  constexpr std::int64_t kFrameBytes = std::int64_t{640} * 480 * 4;
  std::vector<std::uint8_t> from(kFrameBytes, 1), to(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kFrameBytes);
}
