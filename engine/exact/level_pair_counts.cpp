#include "engine/exact/level_pair_counts.h"

#include <algorithm>
#include <cmath>

#include "engine/exact/reduced_tree.h"

namespace compare::exact {

std::vector<std::int64_t> pairs_joined_up_to(const LevelledDendrogram& dendrogram) {
  std::vector<std::int64_t> joined = pairs_joined_per_level(dendrogram);
  for (std::size_t i = 1; i < joined.size(); ++i) joined[i] += joined[i - 1];
  return joined;
}

std::vector<double> cluster_information_per_level(const LevelledDendrogram& dendrogram) {
  std::vector<long double> per_level(static_cast<std::size_t>(dendrogram.level_count), 0.0L);
  std::vector<std::uint64_t> size(dendrogram.object_count + 1, 1);
  const auto x_log_x = [](std::uint64_t x) { return x < 2 ? 0.0 : static_cast<double>(x) * std::log(static_cast<double>(x)); };
  for (const LevelledMerge& merge : dendrogram.merges) {
    const std::uint64_t a = size[merge.kept], b = size[merge.absorbed];
    per_level[merge.level - 1] += x_log_x(a + b) - x_log_x(a) - x_log_x(b);
    size[merge.kept] = a + b;
  }
  std::vector<double> result(per_level.size());
  long double running = 0.0L;
  for (std::size_t i = 0; i < per_level.size(); ++i) result[i] = static_cast<double>(running += per_level[i]);
  return result;
}

namespace {

template <typename T>
std::vector<T> kept(const std::vector<T>& per_level, KeptLevels levels) {
  const auto first = per_level.begin() + (levels.base_level - 1);
  return {first, first + levels.count};
}

// Rows arrive as gains per column in any order; the running sums over
// columns are taken as they come, the sums over rows once all are in, both
// in extended precision, so that each cell is rounded once.
void accumulate_information(InformationTable& table) {
  std::vector<long double> running(table.columns);
  double* cells = table.joint.as<double>();
  for (int c = 0; c < table.columns; ++c) running[c] = cells[c];
  for (int r = 1; r < table.rows; ++r) {
    double* row = cells + static_cast<std::size_t>(r) * table.columns;
    for (int c = 0; c < table.columns; ++c) row[c] = static_cast<double>(running[c] += row[c]);
  }
}

}  // namespace

bool count_level_pairs(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                       KeptLevels columns, int threads, const TaskProgress& progress, LevelPairCounts& out,
                       bool information) {
  out.rows = rows;
  out.columns = columns;
  out.joined1 = kept(pairs_joined_up_to(first), rows);
  out.joined2 = kept(pairs_joined_up_to(second), columns);
  if (rows.count == 0 || columns.count == 0) return true;
  const std::int64_t n = first.object_count;
  out.both = PairCountTable(rows.count, columns.count, PairCountTable::needs_wide(n * (n - 1) / 2));
  const auto sink = [&](int row, std::span<const std::uint64_t> counts) { out.both.set_running_row(row, counts); };
  InformationSink information_sink;
  InformationTable& table = out.information;
  if (information) {
    table.rows = rows.count;
    table.columns = columns.count;
    table.joint = LargeBuffer(static_cast<std::size_t>(rows.count) * columns.count * sizeof(double));
    table.row_clusters = kept(cluster_information_per_level(first), rows);
    table.column_clusters = kept(cluster_information_per_level(second), columns);
    information_sink = [&table](int row, std::span<const double> gains) {
      double* cells = table.joint.as<double>() + static_cast<std::size_t>(std::max(row, 0)) * table.columns;
      if (row < 0) return std::copy(gains.begin(), gains.end(), cells), void();
      long double running = 0.0L;
      for (int c = 0; c < table.columns; ++c) cells[c] = static_cast<double>(running += gains[c]);
    };
  }
  if (!pair_histogram(first, rows, second, columns, threads, sink, progress, information_sink)) return false;
  out.both.accumulate_rows();
  if (information) accumulate_information(table);
  return true;
}

}  // namespace compare::exact
