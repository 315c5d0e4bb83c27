// Writing the tables for other programs against writing MATRICES.DAT: the
// same comparison's results written both ways, alternately, in one run, so
// that the ratio holds up on a shared machine.
//
//   export_bench [N, default 2000] [repetitions, default 3] [directory, default /tmp]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "fast_shapes.h"
#include "formats/exports.h"
#include "formats/matrices_writer.h"

namespace {

double seconds_of(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::filesystem::path dir = argc > 3 ? argv[3] : "/tmp";
  std::mt19937_64 random(20261209);
  compare::shapes::ShapeOptions shape;
  shape.object_count = n;
  const auto first = compare::shapes::make_dendrogram(shape, random);
  const auto second = compare::shapes::make_dendrogram(shape, random);
  compare::CompareOptions options;
  options.keep_pair_counts = true;
  const compare::Comparison result = compare::run_comparison(first, second, options);

  const std::string matrices = (dir / "export_bench_MATRICES.DAT").string();
  const std::string tsv = (dir / "export_bench_pairs.tsv").string();
  std::vector<double> matrices_times, tsv_times;
  for (int r = 0; r < repetitions; ++r) {
    matrices_times.push_back(seconds_of([&] { compare::write_matrices(result.tables, matrices); }));
    tsv_times.push_back(seconds_of([&] {
      outputs::RunOutputs run;
      cli::write_level_pairs(result, run.add("--tsv", tsv), '\t');
      run.commit();
    }));
  }
  const double matrices_mb = std::filesystem::file_size(matrices) / 1e6;
  const double tsv_mb = std::filesystem::file_size(tsv) / 1e6;
  std::printf("N = %d, %zu x %zu level pairs, median of %d alternating runs\n", n, result.tables.compared_rows(),
              result.tables.compared_columns(), repetitions);
  std::printf("MATRICES.DAT  %8.1f MB  %7.3f s\n", matrices_mb, median(matrices_times));
  std::printf("TSV           %8.1f MB  %7.3f s\n", tsv_mb, median(tsv_times));
  std::printf("TSV / MATRICES.DAT time: %.2f\n", median(tsv_times) / median(matrices_times));
  std::filesystem::remove(matrices);
  std::filesystem::remove(tsv);
}
