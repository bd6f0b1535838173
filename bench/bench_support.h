// Shared pieces of the benchmark programs: running them and printing ours-to-peer ratios.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vardo::bench {

// Runs every registered benchmark, then prints, for each (ours, peer) pair of benchmark names,
// the ratio of their real times per iteration (of the medians when the benchmarks are repeated).
// Returns the process exit code.
int RunAndCompare(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& pairs);

// Peak resident set size of this process so far, in bytes.
long PeakRssBytes();

}  // namespace vardo::bench
