#pragma once
// Ratios timed in one run: each repetition runs the reference and then the thing measured, timed
// apart on the steady clock, so both see the same machine (its load, clock speed and caches) and a
// ratio is never made of two runs at different moments.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

class cInterleaved {
 public:
  // The names of the contenders, the first being the thing measured: its ratio to each other one is
  // reported as "x_<name>" (above 1: faster than that one).
  explicit cInterleaved(std::vector<std::string> names) : m_Names(std::move(names)), m_Seconds(m_Names.size(), 0.0) {}

  // Runs contender i once, timed.
  template <typename F>
  void Time(std::size_t i, F&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    benchmark::ClobberMemory();
    m_Seconds[i] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  void Report(benchmark::State& state) const {
    const double n = static_cast<double>(state.iterations());
    if (n == 0 || m_Seconds[0] <= 0) return;
    for (std::size_t i = 0; i < m_Names.size(); ++i) {
      state.counters["us_" + m_Names[i]] = m_Seconds[i] / n * 1e6;
      if (i > 0) state.counters["x_" + m_Names[i]] = m_Seconds[i] / m_Seconds[0];
    }
  }

 private:
  std::vector<std::string> m_Names;
  std::vector<double> m_Seconds;
};
