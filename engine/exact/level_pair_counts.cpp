#include "engine/exact/level_pair_counts.h"

#include "engine/exact/reduced_tree.h"

namespace compare::exact {

std::vector<std::int64_t> pairs_joined_up_to(const LevelledDendrogram& dendrogram) {
  std::vector<std::int64_t> joined = pairs_joined_per_level(dendrogram);
  for (std::size_t i = 1; i < joined.size(); ++i) joined[i] += joined[i - 1];
  return joined;
}

namespace {

std::vector<std::int64_t> kept(const std::vector<std::int64_t>& per_level, KeptLevels levels) {
  const auto first = per_level.begin() + (levels.base_level - 1);
  return {first, first + levels.count};
}

}  // namespace

bool count_level_pairs(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                       KeptLevels columns, int threads, const TaskProgress& progress, LevelPairCounts& out) {
  out.rows = rows;
  out.columns = columns;
  out.joined1 = kept(pairs_joined_up_to(first), rows);
  out.joined2 = kept(pairs_joined_up_to(second), columns);
  if (rows.count == 0 || columns.count == 0) return true;
  const std::int64_t n = first.object_count;
  out.both = PairCountTable(rows.count, columns.count, PairCountTable::needs_wide(n * (n - 1) / 2));
  const auto sink = [&](int row, std::span<const std::uint64_t> counts) { out.both.set_running_row(row, counts); };
  if (!pair_histogram(first, rows, second, columns, threads, sink, progress)) return false;
  out.both.accumulate_rows();
  return true;
}

}  // namespace compare::exact
