// The engine alone, for the R package's overhead benchmark (r_overhead.R):
// reads two dendrogram files in any format and prints for each of `repeats`
// comparisons its wall time and the CPU time of the process (all threads)
// in seconds: the exact comparison and everything R's compare() gives, the
// six tables (row-major, as the engine fills them) and the minima.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/exact/large_buffer.h"
#include "formats/inputs.h"

namespace {

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Every table the package hands R, each in memory of its own as a caller
// keeping them has it (a reused buffer would spare the page faults that
// the package's fresh matrices pay), allocated as the Python module does.
double checksum_of_everything(const compare::Comparison& result) {
  const std::size_t cells = static_cast<std::size_t>(result.rows()) * result.columns();
  std::vector<compare::exact::LargeBuffer> tables;
  double sum = 0;
  for (int m = 0; m < compare::kExactMeasureCount; ++m) {
    double* table = tables.emplace_back(cells * sizeof(double)).as<double>();
    compare::fill_exact_rows(result, static_cast<compare::ExactMeasure>(m), 1, result.rows(), table);
    sum += table[cells / 2];
  }
  if (result.has_information()) {
    for (const auto measure : {compare::InformationMeasure::variation_of_information, compare::InformationMeasure::nmi}) {
      double* table = tables.emplace_back(cells * sizeof(double)).as<double>();
      compare::fill_information_rows(result, measure, 1, result.rows(), table);
      sum += table[cells / 2];
    }
  }
  for (const compare::ExactMinimum& minimum : compare::exact_minima(result)) sum += minimum.smallest;
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: r_overhead_engine FIRST SECOND [repeats, default 1] [--as-package]\n");
    return 2;
  }
  try {
    const auto [first, second] = compare::read_dendrogram_pair(argv[1], argv[2]);
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 1;
    compare::CompareOptions options;
    options.precision = compare::Precision::exact;
    if (argc > 4 && std::string(argv[4]) == "--as-package") {
      // The options the package passes: pair counts kept, the contingency
      // sums for VI and NMI, a progress watch.
      options.keep_pair_counts = true;
      options.information = true;
      options.progress = [](int, int) { return true; };
    }
    for (int i = 0; i < repeats; ++i) {
      const double cpu_start = cpu_seconds();
      const auto start = std::chrono::steady_clock::now();
      const compare::Comparison result = compare::run_comparison(first, second, options);
      const double checksum = checksum_of_everything(result);
      const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
      std::printf("%.6f %.6f %d %d %.17g\n", seconds.count(), cpu_seconds() - cpu_start, result.levels1,
                  result.levels2, checksum);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "r_overhead_engine: %s\n", e.what());
    return 1;
  }
}
