// Shared pieces of the benchmark programs: running them and printing ours-to-peer ratios.
#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>

namespace vardo::bench {

namespace {

// Passes every run on to the console and keeps each benchmark's time per iteration: the median
// of its repetitions when it is repeated (a loaded machine makes single runs wander).
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration) {
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
      } else if (run.aggregate_name == "median") {
        medians_[run.run_name.str()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The time of the benchmark named, or nullptr when it did not run.
  const double* Time(const std::string& name) const {
    for (const auto* times : {&medians_, &times_}) {
      if (const auto it = times->find(name); it != times->end()) return &it->second;
    }
    return nullptr;
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> medians_;
};

}  // namespace

int RunAndCompare(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& pairs) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\n%-40s %-40s %s\n", "ours", "peer", "ours/peer");
  for (const auto& [ours, peer] : pairs) {
    const double *a = reporter.Time(ours), *b = reporter.Time(peer);
    if (!a || !b) continue;
    std::printf("%-40s %-40s %.2f\n", ours.c_str(), peer.c_str(), *a / *b);
  }
  return 0;
}

long PeakRssBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

}  // namespace vardo::bench
