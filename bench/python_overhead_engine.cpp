// The engine alone, for the Python module's overhead benchmark
// (python_overhead.py): reads two dendrogram files of our own format and
// prints for each of `repeats` comparisons its wall time and the CPU time
// of the process (all threads) in seconds, and the level counts. The comparison is the plainest call: default threads, no pair
// counts, no progress view.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "engine/engine.h"
#include "formats/den_reader.h"

namespace {

// User and system time of all the process's threads.
double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: python_overhead_engine FIRST.den SECOND.den [repeats, default 1] [--as-module]\n");
    return 2;
  }
  try {
    const compare::DendrogramFile first = compare::read_den_file(argv[1]);
    const compare::DendrogramFile second = compare::read_den_file(argv[2]);
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 1;
    compare::CompareOptions options;
    if (argc > 4 && std::string(argv[4]) == "--as-module") {
      options.keep_pair_counts = true;
      options.progress = [](int, int) { return true; };
    }
    for (int i = 0; i < repeats; ++i) {
      const double cpu_start = cpu_seconds();
      const auto start = std::chrono::steady_clock::now();
      const compare::Comparison result = compare::run_comparison(first, second, options);
      const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
      const double cpu = cpu_seconds() - cpu_start;
      std::printf("%.6f %.6f %d %d\n", seconds.count(), cpu, result.tables.levels1, result.tables.levels2);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "python_overhead_engine: %s\n", e.what());
    return 1;
  }
}
