#include "engine/engine.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cmath>
#include <cstring>

#include "engine/single/fast_engine.h"
#include "model/validate.h"
#include "engine/exact/exact_tables.h"
#include "engine/exact/level_pair_counts.h"
#include "engine/exact/parallel_tasks.h"
#include "engine/exact/reduced_tree.h"

namespace compare {
namespace {

std::string gigabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / 1e9);
  return text;
}

std::uint64_t count_table_bytes(const exact::KeptLevels& rows, const exact::KeptLevels& columns,
                                std::int64_t object_count) {
  return PairCountTable::bytes_for(rows.count, columns.count,
                                   PairCountTable::needs_wide(object_count * (object_count - 1) / 2));
}

// Refuses before anything is allocated a comparison whose tables would not
// fit, saying what would.
void check_memory(const CompareOptions& options, const exact::KeptLevels& rows, const exact::KeptLevels& columns,
                  std::int64_t object_count) {
  const std::uint64_t limit = options.memory_limit ? options.memory_limit : available_memory();
  const std::uint64_t counts = count_table_bytes(rows, columns, object_count);
  const std::uint64_t cells = static_cast<std::uint64_t>(rows.count) * static_cast<std::uint64_t>(columns.count);
  const bool single = options.precision == Precision::single;
  const std::uint64_t needed = single ? cells * kMeasureCount * sizeof(float) + (options.keep_pair_counts ? counts : 0)
                                      : counts + (options.information ? cells * sizeof(double) : 0);
  if (needed <= limit) return;
  std::string message = "the comparison needs " + gigabytes(needed) + " for its tables, more than the " +
                        gigabytes(limit) + " of memory available; ";
  if (single)
    message += "exact values (--exact) need " + gigabytes(counts) + ", and --max-clusters K less";
  else
    message += "--max-clusters K compares the top levels alone in less";
  throw InputError(message);
}

void check_single_precision(const CompareOptions& options, int object_count) {
  if (options.information)
    throw InputError("variation of information and NMI come from exact comparisons only (--exact)");
  if (object_count > kLargestObjectCount)
    throw InputError("the dendrograms have " + std::to_string(object_count) +
                     " objects; the single-precision tables of MATRICES.DAT stop at " +
                     std::to_string(kLargestObjectCount) + ", and exact values (--exact) have no such limit");
  if (options.max_clusters > 0)
    throw InputError("comparing the top levels alone (--max-clusters) gives exact values only (--exact)");
}

std::vector<float> kept_heights(const DendrogramFile& file, const exact::KeptLevels& kept) {
  const std::vector<float> all = level_heights(file);
  const auto first = all.begin() + (kept.base_level - 1);
  return {first, first + kept.count};
}

std::vector<double> kept_values(const std::vector<double>& all, const exact::KeptLevels& kept) {
  const auto first = all.begin() + (kept.base_level - 1);
  return {first, first + kept.count};
}

std::vector<float> all_level_heights(const DendrogramFile& file) {
  std::vector<float> heights;
  for (int i = 0; i < file.object_count - 1; ++i) heights.push_back(file.merges[i].height);
  std::sort(heights.begin(), heights.end());
  heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
  return heights;
}

std::vector<int> kept_clusters(const LevelledDendrogram& dendrogram, const exact::KeptLevels& kept) {
  const std::vector<int> all = exact::clusters_per_level(dendrogram);
  const auto first = all.begin() + (kept.base_level - 1);
  return {first, first + kept.count};
}

void run_single(const DendrogramFile& first, const DendrogramFile& second, const CompareOptions& options,
                Comparison& result) {
  FastRunExtras extras;
  std::vector<std::uint32_t> joined_both;
  if (options.keep_pair_counts) {
    extras.joined_both = &joined_both;
    extras.joined1 = &result.joined1;
    extras.joined2 = &result.joined2;
  }
  extras.progress = options.progress;
  result.tables = compare_fast(first, second, options.threads, extras);
  if (extras.stopped) throw Cancelled();
  if (!options.keep_pair_counts) return;
  result.joined1.resize(static_cast<std::size_t>(result.rows()));  // the engine counts the top level too
  result.joined2.resize(static_cast<std::size_t>(result.columns()));
  if (result.rows() == 0 || result.columns() == 0) return;
  result.joined_both = PairCountTable(result.rows(), result.columns(), false);
  for (int k = 0; k < result.rows(); ++k)
    for (int l = 0; l < result.columns(); ++l)
      result.joined_both.set(k, l, joined_both[static_cast<std::size_t>(k) * result.columns() + l]);
}

void run_exact(const LevelledDendrogram& first, const LevelledDendrogram& second,
               const exact::KeptLevels& rows, const exact::KeptLevels& columns, const CompareOptions& options,
               Comparison& result) {
  exact::LevelPairCounts counts;
  if (!exact::count_level_pairs(first, rows, second, columns, options.threads, options.progress, counts,
                                options.information))
    throw Cancelled();
  result.information = std::move(counts.information);
  result.joined_both = std::move(counts.both);
  result.joined1 = std::move(counts.joined1);
  result.joined2 = std::move(counts.joined2);
}

// Row chunks of a table for a few threads: small enough to share out evenly,
// large enough that handing them out costs nothing.
int row_chunks(const Comparison& c) { return std::min(c.rows(), 256); }
std::pair<int, int> chunk_rows(const Comparison& c, int chunk) {
  const int chunks = row_chunks(c);
  return {static_cast<int>(static_cast<std::int64_t>(c.rows()) * chunk / chunks) + 1,
          static_cast<int>(static_cast<std::int64_t>(c.rows()) * (chunk + 1) / chunks) + 1};
}

bool single_level(const DendrogramFile& file) { return level_heights(file).empty(); }

}  // namespace

// MemAvailable of /proc/meminfo: what can be had without swapping.
std::uint64_t available_memory() {
  std::FILE* meminfo = std::fopen("/proc/meminfo", "r");
  if (!meminfo) return UINT64_MAX;
  char line[256];
  std::uint64_t kilobytes = 0;
  bool found = false;
  while (!found && std::fgets(line, sizeof line, meminfo))
    found = std::sscanf(line, "MemAvailable: %" SCNu64 " kB", &kilobytes) == 1;
  std::fclose(meminfo);
  return found ? kilobytes * 1024 : UINT64_MAX;
}

void check_levels_to_compare(const DendrogramFile& first, const std::string& first_name,
                             const DendrogramFile& second, const std::string& second_name) {
  for (const auto& [file, name] : {std::pair{&first, &first_name}, std::pair{&second, &second_name}})
    if (single_level(*file))
      throw InputError("dendrogram " + *name + " has a single level; there is nothing to compare");
}

void check_dendrogram(const DendrogramFile& file, const std::string& name) {
  if (auto problem = validate_dendrogram(file, kLargestExactObjectCount)) throw InputError(name + ": " + problem->message);
}

std::vector<float> level_heights(const DendrogramFile& file) {
  const std::size_t used = std::min<std::size_t>(file.merges.size(), std::max(file.object_count - 1, 0));
  std::vector<float> heights;
  for (std::size_t i = 0; i < used; ++i) heights.push_back(file.merges[i].height);
  std::sort(heights.begin(), heights.end());
  heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
  if (!heights.empty()) heights.pop_back();  // the top level is never compared
  return heights;
}

Comparison run_comparison(const DendrogramFile& first, const DendrogramFile& second, const CompareOptions& options) {
  check_dendrogram(first, "dendrogram 1");
  check_dendrogram(second, "dendrogram 2");
  if (first.object_count != second.object_count)
    throw InputError("the dendrograms have different object counts (" + std::to_string(first.object_count) +
                     " and " + std::to_string(second.object_count) + ")");
  if (options.precision == Precision::single) check_single_precision(options, first.object_count);
  const LevelledDendrogram levelled1 = level_merges(first, first.object_count);
  const LevelledDendrogram levelled2 = level_merges(second, second.object_count);
  const exact::KeptLevels rows = exact::kept_levels(levelled1, options.max_clusters);
  const exact::KeptLevels columns = exact::kept_levels(levelled2, options.max_clusters);
  check_memory(options, rows, columns, first.object_count);

  Comparison result;
  result.precision = options.precision;
  result.object_count = first.object_count;
  result.levels1 = levelled1.level_count;
  result.levels2 = levelled2.level_count;
  result.base_level1 = rows.base_level;
  result.base_level2 = columns.base_level;
  result.clusters1 = kept_clusters(levelled1, rows);
  result.clusters2 = kept_clusters(levelled2, columns);
  result.heights1 = kept_heights(first, rows);
  result.heights2 = kept_heights(second, columns);
  result.triples1 = kept_values(exact::cluster_triples_per_level(levelled1), rows);
  result.triples2 = kept_values(exact::cluster_triples_per_level(levelled2), columns);
  if (options.precision == Precision::single)
    run_single(first, second, options, result);
  else
    run_exact(levelled1, levelled2, rows, columns, options, result);
  result.trees = std::make_shared<const ComparedTrees>(
      ComparedTrees{levelled1, levelled2, all_level_heights(first), all_level_heights(second)});
  return result;
}

void fill_exact_rows(const Comparison& c, ExactMeasure measure, int first_row, int last_row, double* out,
                     int threads) {
  const int rows = last_row - first_row + 1;
  if (rows <= 0 || c.columns() == 0) return;
  const int chunks = std::min(rows, 64);
  const auto fill = [&](int chunk, int) {
    const int from = first_row + static_cast<int>(static_cast<std::int64_t>(rows) * chunk / chunks);
    const int to = first_row + static_cast<int>(static_cast<std::int64_t>(rows) * (chunk + 1) / chunks);
    if (from < to)
      exact::fill_measure_rows(measure, {c.joined_both, c.joined1, c.joined2, c.pair_count()}, from - 1, to - 2,
                               out + static_cast<std::size_t>(from - first_row) * c.columns());
  };
  exact::run_tasks(chunks, exact::thread_count(threads), fill, {});
}

exact::TreeCorrelations Comparison::correlations(int threads) const {
  if (!trees) return {};
  return exact::tree_correlations(trees->first, trees->heights1, trees->second, trees->heights2, threads);
}

std::vector<BkPoint> Comparison::bk_curve() const {
  std::vector<int> column_of(static_cast<std::size_t>(object_count) + 1, 0);
  for (int l = 1; l <= columns(); ++l) column_of[clusters2[l - 1]] = l;
  std::vector<BkPoint> curve;
  for (int k = rows(); k >= 1; --k) {  // fewest rows' clusters at the last row: ascending k
    const int clusters = clusters1[k - 1], l = column_of[clusters];
    if (l == 0) continue;
    const PairCounts c = counts(k, l);
    const exact::BkValue v = exact::bk_value(object_count, c.both, c.first, c.second, triples1[k - 1], triples2[l - 1]);
    curve.push_back({clusters, k, l, v.bk, v.expected, v.variance});
  }
  return curve;
}

double Comparison::entropy1(int k) const {
  const double n = static_cast<double>(object_count);
  return std::log(n) - information.row_clusters[k - 1] / n;
}

double Comparison::entropy2(int l) const {
  const double n = static_cast<double>(object_count);
  return std::log(n) - information.column_clusters[l - 1] / n;
}

double Comparison::joint_entropy(int k, int l) const {
  const double n = static_cast<double>(object_count);
  return std::log(n) - information.at(k - 1, l - 1) / n;
}

double Comparison::information_value(InformationMeasure measure, int k, int l) const {
  return compare::information_value(measure, entropy1(k), entropy2(l), joint_entropy(k, l));
}

void fill_information_rows(const Comparison& c, InformationMeasure measure, int first_row, int last_row, double* out,
                           int threads) {
  const int rows = last_row - first_row + 1;
  if (rows <= 0 || c.columns() == 0) return;
  std::vector<double> entropies2(static_cast<std::size_t>(c.columns()));
  for (int l = 1; l <= c.columns(); ++l) entropies2[l - 1] = c.entropy2(l);
  const double log_n = std::log(static_cast<double>(c.object_count)), n = static_cast<double>(c.object_count);
  const int chunks = std::min(rows, 64);
  const auto fill = [&](int chunk, int) {
    const int from = first_row + static_cast<int>(static_cast<std::int64_t>(rows) * chunk / chunks);
    const int to = first_row + static_cast<int>(static_cast<std::int64_t>(rows) * (chunk + 1) / chunks);
    for (int k = from; k < to; ++k) {
      const double entropy1 = c.entropy1(k);
      const double* joint = c.information.joint.as<double>() + static_cast<std::size_t>(k - 1) * c.columns();
      double* row = out + static_cast<std::size_t>(k - first_row) * c.columns();
      for (int l = 0; l < c.columns(); ++l)
        row[l] = compare::information_value(measure, entropy1, entropies2[l], log_n - joint[l] / n);
    }
  };
  exact::run_tasks(chunks, exact::thread_count(threads), fill, {});
}

void fill_measure_rows(const Comparison& c, MeasureId measure, int first_row, int last_row, double* out,
                       int threads) {
  if (!from_contingency(measure))
    return fill_exact_rows(c, static_cast<ExactMeasure>(static_cast<int>(measure)), first_row, last_row, out, threads);
  fill_information_rows(c,
                        measure == MeasureId::nmi ? InformationMeasure::nmi : InformationMeasure::variation_of_information,
                        first_row, last_row, out, threads);
}

std::array<ExactMinimum, kMeasureCount> exact_minima(const Comparison& c, int threads) {
  using Minima = std::array<ExactMinimum, kMeasureCount>;
  if (c.rows() == 0 || c.columns() == 0) return {};
  std::vector<Minima> per_chunk(static_cast<std::size_t>(row_chunks(c)));
  const auto search = [&](int chunk, int) {
    const auto [from, to] = chunk_rows(c, chunk);
    Minima& found = per_chunk[chunk];
    for (int k = from; k < to; ++k)
      for (int l = 1; l <= c.columns(); ++l) {
        const ExactValues v = c.exact(k, l);
        const double values[kMeasureCount] = {v.jaccard, v.rand, v.euclidean, v.sorensen, v.adjusted_rand};
        for (int m = 0; m < kMeasureCount; ++m)
          if (!found[m].found ? !std::isnan(values[m]) : values[m] < found[m].smallest)
            found[m] = {values[m], c.clusters1[k - 1], c.clusters2[l - 1], true};
      }
  };
  exact::run_tasks(row_chunks(c), exact::thread_count(threads), search, {});
  Minima minima{};
  for (const Minima& chunk : per_chunk)
    for (int m = 0; m < kMeasureCount; ++m)
      if (chunk[m].found && (!minima[m].found || chunk[m].smallest < minima[m].smallest)) minima[m] = chunk[m];
  return minima;
}

ComparisonTables tables_for_display(const Comparison& c) {
  if (c.precision == Precision::single) return c.tables;
  ComparisonTables t;
  t.levels1 = c.rows() + 1;
  t.levels2 = c.columns() + 1;
  t.cluster_counts1 = c.clusters1;
  t.cluster_counts2 = c.clusters2;
  t.values.resize(static_cast<std::size_t>(c.rows()) * c.columns() * kMeasureCount);
  for (int k = 1; k <= c.rows(); ++k)
    for (int l = 1; l <= c.columns(); ++l) {
      const ExactValues v = c.exact(k, l);
      std::size_t cell = (static_cast<std::size_t>(k - 1) * c.columns() + (l - 1)) * kMeasureCount;
      for (double value : {v.jaccard, v.rand, v.euclidean, v.sorensen, v.adjusted_rand})
        t.values[cell++] = static_cast<float>(value);
    }
  const auto minima = exact_minima(c);
  for (int m = 0; m < kMeasureCount; ++m)
    if (minima[m].found)
      t.minima[m] = {static_cast<float>(minima[m].smallest), minima[m].clusters1, minima[m].clusters2};
  return t;
}

}  // namespace compare
