#include "engine/single/fast_engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/single/fast_cross_term.h"
#include "model/levels.h"
#include "engine/single/fast_margins.h"
#include "engine/single/fast_measures.h"
#include "engine/single/fast_pair_counts.h"
#include "engine/single/fast_row_groups.h"

namespace compare {

namespace {

using fast::ClusterMargins;

// Margins of every compared level of one dendrogram.
std::vector<ClusterMargins> margins_per_level(const LevelledDendrogram& d) {
  std::vector<ClusterMargins> result;
  std::vector<int> sizes, scratch;
  for (int level = 1; level < d.level_count; ++level) {
    partition_sizes(d, level, sizes, scratch);
    result.emplace_back(sizes, false);
  }
  return result;
}

// For each row level, how many of its leading clusters have the sizes of
// the level before's; the fold of a column resumes after them.
std::vector<int> leading_sizes_as_before(const std::vector<ClusterMargins>& rows) {
  std::vector<int> result(rows.size(), 0);
  for (std::size_t k = 1; k < rows.size(); ++k) result[k] = rows[k].leading_sizes_shared(rows[k - 1]);
  return result;
}

struct PairInputs {
  int object_count;
  const std::vector<ClusterMargins>& rows;
  const std::vector<int>& rows_as_before;
  const fast::RowGroups& row_groups;
  const fast::JoinedPairs& joined;
  fast::CountGrid both;  // a(k, l), kept in slot 1 of each value cell
};

// Every value of one column level l, for all row levels. The column's pair
// counts are copied out in one strided pass before any of its cells is
// overwritten (only this thread writes column l's cells), so the loop
// below reads them contiguously.
void compute_column(const PairInputs& in, const ClusterMargins& column, int l, fast::CrossTermFolder& folder,
                    std::vector<std::uint32_t>& column_counts, ComparisonTables& out) {
  folder.use_columns(column);
  const int row_levels = static_cast<int>(in.rows.size());
  column_counts.resize(static_cast<std::size_t>(row_levels));
  for (int k = 1; k <= row_levels; ++k) column_counts[k - 1] = in.both.get(k, l);
  for (int k = 1; k <= row_levels; ++k) {
    const ClusterMargins& row = in.rows[k - 1];
    fast::LevelPairSums sums;
    sums.both = column_counts[k - 1];
    sums.first = in.joined.in_first[k - 1];
    sums.second = in.joined.in_second[l - 1];
    sums.row_square_sum = row.folded_square_sum();
    sums.column_square_sum = column.folded_square_sum();
    const fast::RowGroupsView groups = in.row_groups.level(k - 1);
    sums.cross_term = folder.fold(row, in.rows_as_before[k - 1], &groups);
    const auto values = fast::measure_values(in.object_count, sums);
    const std::size_t cell = (static_cast<std::size_t>(k - 1) * out.compared_columns() + (l - 1)) * kMeasureCount;
    std::copy(values.begin(), values.end(), out.values.begin() + static_cast<std::ptrdiff_t>(cell));
  }
}

// Columns are handed out one at a time; a stop request is seen before the
// next column is taken.
struct ColumnQueue {
  std::atomic<int> next{1};
  std::atomic<int> done{0};
  std::atomic<bool> stop{false};
  // The watcher sleeps between its reports; the last column wakes it.
  std::mutex mutex;
  std::condition_variable all_done;
};

void work_on_columns(const PairInputs& in, const LevelledDendrogram& second, ColumnQueue& queue,
                     ComparisonTables& out) {
  std::vector<int> sizes, scratch;
  std::vector<std::uint32_t> column_counts;
  const ClusterMargins none;
  fast::CrossTermFolder folder(none);
  folder.reserve_sizes(in.object_count);
  while (!queue.stop.load(std::memory_order_relaxed)) {
    const int l = queue.next++;
    if (l >= second.level_count) break;
    partition_sizes(second, l, sizes, scratch);
    const ClusterMargins column(sizes);
    compute_column(in, column, l, folder, column_counts, out);
    if (++queue.done == second.level_count - 1) {
      std::lock_guard lock(queue.mutex);
      queue.all_done.notify_all();
    }
  }
}

// With a progress view the calling thread only watches, so that the view is
// always called from it; otherwise it works beside the others.
void compute_all_columns(const PairInputs& in, const LevelledDendrogram& second, int threads,
                         FastRunExtras& extras, ComparisonTables& out) {
  ColumnQueue queue;
  const auto work = [&] { work_on_columns(in, second, queue, out); };
  const bool watched = static_cast<bool>(extras.progress);
  std::vector<std::jthread> pool;
  for (int i = watched ? 0 : 1; i < threads; ++i) pool.emplace_back(work);
  if (!watched) return work();
  const int total = second.level_count - 1;
  while (queue.done.load() < total) {
    if (!extras.progress(queue.done.load(), total)) {
      queue.stop = true;
      extras.stopped = true;
      return;  // the pool's threads are joined on the way out
    }
    std::unique_lock lock(queue.mutex);
    queue.all_done.wait_for(lock, std::chrono::milliseconds(50), [&] { return queue.done.load() >= total; });
  }
  if (!extras.progress(total, total)) extras.stopped = true;
}

// Loop order of the literal run: k outer, l inner, m innermost; a value
// replaces the record only when strictly smaller, so NaN never does.
void search_minima(ComparisonTables& out) {
  for (std::size_t k = 1; k <= out.compared_rows(); ++k) {
    for (std::size_t l = 1; l <= out.compared_columns(); ++l) {
      for (int m = 1; m <= kMeasureCount; ++m) {
        const float v = out.value(m, static_cast<int>(k), static_cast<int>(l));
        MinimumRecord& record = out.minima[m - 1];
        if (v < record.smallest) record = {v, out.cluster_counts1[k - 1], out.cluster_counts2[l - 1]};
      }
    }
  }
}

// The grid of a(k, l) lives in the value table until the values replace
// it, so a caller who wants the counts gets a copy first.
void keep_pair_counts(const fast::CountGrid& both, const fast::JoinedPairs& joined, const ComparisonTables& out,
                      FastRunExtras& extras) {
  if (extras.joined1) *extras.joined1 = joined.in_first;
  if (extras.joined2) *extras.joined2 = joined.in_second;
  if (!extras.joined_both) return;
  const int rows = static_cast<int>(out.compared_rows()), columns = static_cast<int>(out.compared_columns());
  extras.joined_both->resize(out.compared_rows() * out.compared_columns());
  for (int k = 1; k <= rows; ++k)
    for (int l = 1; l <= columns; ++l)
      (*extras.joined_both)[static_cast<std::size_t>(k - 1) * columns + (l - 1)] = both.get(k, l);
}

int thread_count(int requested) {
  if (requested > 0) return requested;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace

ComparisonTables compare_fast(const DendrogramFile& file1, const DendrogramFile& file2, int threads) {
  FastRunExtras none;
  return compare_fast(file1, file2, threads, none);
}

ComparisonTables compare_fast(const DendrogramFile& file1, const DendrogramFile& file2, int threads,
                              FastRunExtras& extras) {
  const int n = file1.object_count;
  const LevelledDendrogram first = level_merges(file1, n);
  const LevelledDendrogram second = level_merges(file2, n);
  ComparisonTables out;
  out.levels1 = first.level_count;
  out.levels2 = second.level_count;
  out.cluster_counts1.assign(out.compared_rows(), 0);
  out.cluster_counts2.assign(out.compared_columns(), 0);
  out.values.assign(out.compared_rows() * out.compared_columns() * kMeasureCount, 0.0f);
  if (out.values.empty()) return out;  // no level pair: counts stay 0, minima stay 100

  const fast::CountGrid both(out.values.data(), static_cast<int>(out.compared_columns()),
                             kMeasureCount * sizeof(float));
  const fast::JoinedPairs joined = fast::count_joined_pairs(first, second, both, threads);
  keep_pair_counts(both, joined, out, extras);
  const std::vector<ClusterMargins> rows = margins_per_level(first);
  const std::vector<int> rows_as_before = leading_sizes_as_before(rows);
  const fast::RowGroups row_groups(first);
  compute_all_columns({n, rows, rows_as_before, row_groups, joined, both}, second, thread_count(threads), extras,
                      out);
  if (extras.stopped) return out;

  std::vector<int> sizes, scratch;
  for (std::size_t k = 1; k <= out.compared_rows(); ++k) out.cluster_counts1[k - 1] = rows[k - 1].count();
  for (int l = 1; l < second.level_count; ++l) {
    partition_sizes(second, l, sizes, scratch);
    out.cluster_counts2[l - 1] = static_cast<int>(sizes.size());
  }
  search_minima(out);
  return out;
}

}  // namespace compare
