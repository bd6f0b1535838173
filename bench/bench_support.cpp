// Shared pieces of the benchmark programs: running them and printing ours-to-peer ratios.
#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>

namespace vardo::bench {

namespace {

// Passes every run on to the console and keeps each benchmark's time per iteration.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& times() const { return times_; }

 private:
  std::map<std::string, double> times_;
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
    auto a = reporter.times().find(ours), b = reporter.times().find(peer);
    if (a == reporter.times().end() || b == reporter.times().end()) continue;
    std::printf("%-40s %-40s %.2f\n", ours.c_str(), peer.c_str(), a->second / b->second);
  }
  return 0;
}

long PeakRssBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

}  // namespace vardo::bench
