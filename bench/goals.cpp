// The performance goals in one run: the cases of the benchmark programs that each goal is read from,
// run in this one program, then a table of every goal with the figure measured, its yardstick (a
// memcpy, SDL's blit, real time, the file's read, one core), the ratio of the two, and whether the
// goal is met. With several repetitions (--benchmark_repetitions) each value is the median of the
// repetitions. Exit code 1 when a goal's case did not run; goals missed are reported, not failed.
// --benchmark_filter narrows the run to some of the goals' cases.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kRealTimeFrameUs = 1e6 / 60.0;

// How a row's ratio is formed and which of its values the goal bounds.
enum class eRatio {
  kSpeed,  // reference / figure: above 1 the figure is faster than its yardstick
  kShare,  // figure / reference: the part of the yardstick the figure takes
};
// kNone: a figure shown beside its yardstick with no goal set for it.
enum class eGoalOn { kRatioAtLeast, kFigureAtMost, kRatioBelow, kNone };

struct GoalRow {
  const char* what;
  const char* cases;       // the runs it is read from; of several, the row takes the heaviest figure
  const char* figure;      // the counter measured (of "a|b", the first the case has)
  const char* reference;   // the counter of the yardstick; "" for fixedReference
  double fixedReference;   // in the row's unit, when there is no counter
  const char* referenceName;
  const char* ratioCounter;  // when the case reports the ratio itself; the figure follows from it
  eRatio ratio;
  eGoalOn goalOn;
  double goal;
  const char* unit;  // of figure and reference: "us" (microseconds) or "share" (of one core)
};

// clang-format off
const GoalRow kGoals[] = {
    {"keyed copy of a noise picture, DirectDraw", "^KeyedBlitVsMemcpy/0/0$", "us_blit", "us_memcpy", 0, "memcpy", "",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 0.5, "us"},
    {"keyed copy of a noise picture, Direct3D", "^KeyedBlitVsMemcpy/1/0$", "us_blit", "us_memcpy", 0, "memcpy", "",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 0.5, "us"},
    {"keyed copy of sprites, DirectDraw", "^KeyedBlitVsSdl/0/1$", "us_blit", "us_sdl_rle", 0, "SDL blit, RLE", "",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 1.0, "us"},
    {"keyed copy of sprites, Direct3D", "^KeyedBlitVsSdl/1/1$", "us_blit", "us_sdl_rle", 0, "SDL blit, RLE", "",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 1.0, "us"},
    {"headless title frame, DirectDraw", "^TitleFrame/0$", "", "", kRealTimeFrameUs, "real time", "x_real_time",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 80.0, "us"},
    {"headless title frame, Direct3D", "^TitleFrame/1$", "", "", kRealTimeFrameUs, "real time", "x_real_time",
     eRatio::kSpeed, eGoalOn::kRatioAtLeast, 80.0, "us"},
    {"frame loop overhead, DirectDraw", "^LoopOverhead/0$", "", "", kRealTimeFrameUs, "real time", "x_real_time",
     eRatio::kSpeed, eGoalOn::kFigureAtMost, 200.0, "us"},
    {"frame loop overhead, Direct3D", "^LoopOverhead/1$", "", "", kRealTimeFrameUs, "real time", "x_real_time",
     eRatio::kSpeed, eGoalOn::kFigureAtMost, 200.0, "us"},
    {"DrawStage of the heavy stage, DirectDraw", "^DrawHeavyStage/DirectDraw/63$", "us_frame", "us_memcpy", 0, "memcpy",
     "", eRatio::kShare, eGoalOn::kFigureAtMost, 1000.0, "us"},
    {"DrawStage of the heavy stage, Direct3D", "^DrawHeavyStage/Direct3D/63$", "us_frame", "us_memcpy", 0, "memcpy", "",
     eRatio::kShare, eGoalOn::kFigureAtMost, 1000.0, "us"},
    {"DrawStage of the heavy stage, Direct3D 16 bits", "^DrawHeavyStage/Direct3D16/63$", "us_frame", "us_memcpy", 0,
     "memcpy", "", eRatio::kShare, eGoalOn::kFigureAtMost, 1000.0, "us"},
    {"logic of a frame, 300 characters, 8 groups, level 10", "^LogicOfAFrame/10/8$", "us_logic", "us_memcpy", 0,
     "memcpy", "", eRatio::kShare, eGoalOn::kFigureAtMost, 2000.0, "us"},
    {"the same with 1000 homing shots", "^LogicOfAFrameWithShots$", "us_logic", "us_memcpy", 0, "memcpy", "",
     eRatio::kShare, eGoalOn::kFigureAtMost, 2000.0, "us"},
    {"replay play-back, headless, one core (a frame)", "^ReplayPlayback/", "", "", kRealTimeFrameUs, "real time",
     "x_real_time_play", eRatio::kSpeed, eGoalOn::kRatioAtLeast, 50.0, "us"},
    {"stage load and set-up (400x30 cells, 300 characters)", "^StageLoadAndSetUp$", "us_load", "us_read", 0,
     "reading the file", "", eRatio::kShare, eGoalOn::kNone, 0, "us"},
    {"mixer: 16 effects, an OGG and a MIDI stream", "^BM_MixSixteenEffectsOggAndMidi(/|$)", "cpu_per_audio_second", "",
     1.0, "one core", "", eRatio::kShare, eGoalOn::kRatioBelow, 0.05, "share"},
    {"heaviest pixel effect of a frame", "^(ScreenRotation|ScreenLens|Rotate|RotateZoom|Mosaic|Blur)/|^ChangeColour/Direct3D$",
     "us_effect|us_frame", "us_memcpy", 0, "memcpy", "", eRatio::kShare, eGoalOn::kFigureAtMost, 2000.0, "us"},
};
// clang-format on

// The cases to run: every goal's, and no other.
std::string GoalFilter() {
  std::string filter;
  for (const GoalRow& row : kGoals) filter += (filter.empty() ? "" : "|") + std::string("(") + row.cases + ")";
  return filter;
}

// One case's counters, a list of values per counter (one per repetition).
using Values = std::map<std::string, std::vector<double>>;

// Passes every run on to the console and keeps the values of the runs that ended well.
class cGoalReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      if (run.error_occurred) {
        m_Errors[run.benchmark_name()] = run.error_message;
        continue;
      }
      Values& values = m_Runs[run.benchmark_name()];
      for (const auto& [name, counter] : run.counters) values[name].push_back(counter.value);
    }
  }
  const std::map<std::string, Values>& Runs() const { return m_Runs; }
  const std::map<std::string, std::string>& Errors() const { return m_Errors; }

 private:
  std::map<std::string, Values> m_Runs;
  std::map<std::string, std::string> m_Errors;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The median of counter name (one of several names split by '|'); NaN when the case has none.
double Value(const Values& values, const std::string& names) {
  std::size_t from = 0;
  while (from <= names.size()) {
    const std::size_t bar = std::min(names.find('|', from), names.size());
    const auto found = values.find(names.substr(from, bar - from));
    if (found != values.end() && !found->second.empty()) return Median(found->second);
    from = bar + 1;
  }
  return std::nan("");
}

struct Measured {
  std::string name;  // the case
  double figure = std::nan("");
  double reference = std::nan("");
  double ratio = std::nan("");
};

Measured Measure(const GoalRow& row, const std::string& name, const Values& values) {
  Measured m;
  m.name = name;
  m.reference = *row.reference ? Value(values, row.reference) : row.fixedReference;
  if (*row.ratioCounter) {
    m.ratio = Value(values, row.ratioCounter);
    m.figure = row.ratio == eRatio::kSpeed ? m.reference / m.ratio : m.reference * m.ratio;
  } else {
    m.figure = Value(values, row.figure);
    m.ratio = row.ratio == eRatio::kSpeed ? m.reference / m.figure : m.figure / m.reference;
  }
  return m;
}

bool Met(const GoalRow& row, const Measured& m) {
  switch (row.goalOn) {
    case eGoalOn::kRatioAtLeast: return m.ratio >= row.goal;
    case eGoalOn::kFigureAtMost: return m.figure <= row.goal;
    case eGoalOn::kRatioBelow: return m.ratio < row.goal;
    case eGoalOn::kNone: return true;
  }
  return false;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A time in microseconds as the table shows it.
std::string Time(double us) {
  if (us >= 1000.0) return Format("%.2f ms", us / 1000.0);
  return Format(us >= 100.0 ? "%.0f us" : "%.1f us", us);
}

std::string Figure(const GoalRow& row, double value) {
  if (std::string(row.unit) == "share") return Format("%.1f %%", value * 100.0);
  return Time(value);
}

// A speed as "0.81x as fast", a share of time as "23x as long" (or in per cent of a core).
std::string Ratio(const GoalRow& row, double ratio) {
  if (std::string(row.unit) == "share") return Format("%.1f %%", ratio * 100.0);
  return Format(ratio >= 10.0 ? "%.0fx" : ratio >= 1.0 ? "%.2fx" : "%.3fx", ratio) +
         (row.ratio == eRatio::kSpeed ? " as fast" : " as long");
}

std::string GoalText(const GoalRow& row) {
  switch (row.goalOn) {
    case eGoalOn::kRatioAtLeast: return ">= " + Format("%gx", row.goal) + " " + row.referenceName;
    case eGoalOn::kFigureAtMost: return "<= " + Time(row.goal);
    case eGoalOn::kRatioBelow: return "< " + Format("%g %%", row.goal * 100.0) + " of " + row.referenceName;
    case eGoalOn::kNone: return "none set";
  }
  return "";
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  double one = 0;
  return in >> one ? Format("%.1f", one) : std::string("?");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::string loadBefore = LoadAverage();
  // A filter of one's own runs some of the goals' cases; the others are then not run, and not missed.
  const bool ownFilter = !benchmark::GetBenchmarkFilter().empty();
  cGoalReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter, ownFilter ? benchmark::GetBenchmarkFilter() : GoalFilter());
  const std::string loadAfter = LoadAverage();

  std::printf("\nGoals of one run on %u processors, load average %s before and %s after:\n\n",
              std::thread::hardware_concurrency(), loadBefore.c_str(), loadAfter.c_str());
  std::printf("| goal | case | measured | yardstick | ratio | goal | met |\n|---|---|---|---|---|---|---|\n");
  int missing = 0, met = 0, rows = 0;
  for (const GoalRow& row : kGoals) {
    const std::regex cases(row.cases);
    bool found = false;
    Measured heaviest;
    for (const auto& [name, values] : reporter.Runs()) {
      if (!std::regex_search(name, cases)) continue;
      const Measured m = Measure(row, name, values);
      if (std::isnan(m.figure)) continue;
      if (!found || m.figure > heaviest.figure) heaviest = m;
      found = true;
    }
    if (!found && ownFilter) continue;
    ++rows;
    if (!found) {
      ++missing;
      std::string why = "did not run";
      for (const auto& [name, error] : reporter.Errors())
        if (std::regex_search(name, cases)) why = name + ": " + error;
      std::printf("| %s | %s | - | %s | - | %s | NOT RUN |\n", row.what, why.c_str(), row.referenceName,
                  GoalText(row).c_str());
      continue;
    }
    const bool ok = Met(row, heaviest);
    const bool hasGoal = row.goalOn != eGoalOn::kNone;
    if (!hasGoal) --rows;
    met += ok && hasGoal ? 1 : 0;
    std::printf("| %s | `%s` | %s | %s %s | %s | %s | %s |\n", row.what, heaviest.name.c_str(),
                Figure(row, heaviest.figure).c_str(), row.referenceName, Figure(row, heaviest.reference).c_str(),
                Ratio(row, heaviest.ratio).c_str(), GoalText(row).c_str(), !hasGoal ? "-" : ok ? "yes" : "NO");
  }
  std::printf("\n%d of %d goals met%s.\n", met, rows,
              missing ? (", " + std::to_string(missing) + " not run").c_str() : "");
  benchmark::Shutdown();
  return missing && !ownFilter ? 1 : 0;
}
