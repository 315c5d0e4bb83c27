#include "engine/exact/pair_histogram.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/exact/reduced_tree.h"

namespace compare::exact {

KeptLevels kept_levels(const LevelledDendrogram& dendrogram, int max_clusters) {
  const int top = dendrogram.level_count;
  if (top < 2) return {1, 0};
  if (max_clusters <= 0) return {1, top - 1};
  const std::vector<int> clusters = clusters_per_level(dendrogram);
  for (int level = 1; level < top; ++level)
    if (clusters[level - 1] <= max_clusters) return {level, top - level};
  return {1, 0};
}

namespace {

// The objects of the base clusters of dendrogram 1, by dendrogram 2's base
// cluster, with the base clusters of dendrogram 1 in the order of its
// drawing, so that the two sides of every merge are two runs of cells.
struct SharedObjects {
  struct Cell {
    int leaf2 = 0;
    std::uint64_t weight = 0;
  };
  std::vector<Cell> cells;
  std::vector<std::size_t> begin;  // [position in dendrogram 1's order], one past the end last
};

SharedObjects shared_objects(const ReducedTree& tree1, const LeafOrder& order1, const ReducedTree& tree2) {
  const int n = static_cast<int>(tree1.leaf_of.size()) - 1;
  const int positions = tree1.leaf_count;
  std::vector<int> start(positions + 1, 0);
  for (int x = 1; x <= n; ++x) ++start[order1.position_of[tree1.leaf_of[x]] + 1];
  for (int p = 0; p < positions; ++p) start[p + 1] += start[p];
  std::vector<int> by_position(n);
  {
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int x = 1; x <= n; ++x) by_position[fill[order1.position_of[tree1.leaf_of[x]]]++] = x;
  }
  SharedObjects shared;
  shared.begin.reserve(positions + 1);
  std::vector<int> cell_of(tree2.leaf_count, -1);
  for (int p = 0; p < positions; ++p) {
    const std::size_t first_cell = shared.cells.size();
    shared.begin.push_back(first_cell);
    for (int i = start[p]; i < start[p + 1]; ++i) {
      const int leaf2 = tree2.leaf_of[by_position[i]];
      const int at = cell_of[leaf2];
      if (at >= 0 && static_cast<std::size_t>(at) >= first_cell) {
        ++shared.cells[at].weight;
      } else {
        cell_of[leaf2] = static_cast<int>(shared.cells.size());
        shared.cells.push_back({leaf2, 1});
      }
    }
  }
  shared.begin.push_back(shared.cells.size());
  return shared;
}

// Dendrogram 2's merges above its base as flat arrays, the column of each
// merge its level's.
struct ColumnTree {
  int leaves = 0;
  std::vector<int> left, right, column;
};

ColumnTree column_tree(const ReducedTree& tree2) {
  ColumnTree t;
  t.leaves = tree2.leaf_count;
  for (const ReducedTree::Merge& m : tree2.merges) {
    t.left.push_back(m.left);
    t.right.push_back(m.right);
    t.column.push_back(m.level - tree2.base_level);
  }
  return t;
}

// Objects of each side of a merge of dendrogram 1 under every node of
// dendrogram 2.
struct SideSums {
  std::uint64_t left = 0, right = 0;
};

// x log x for every count of objects up to N.
std::vector<double> x_log_x_table(std::size_t n) {
  std::vector<double> table(n + 1, 0.0);
  for (std::size_t x = 2; x <= n; ++x) table[x] = static_cast<double>(x) * std::log(static_cast<double>(x));
  return table;
}

class MergeCounter {
 public:
  MergeCounter(const SharedObjects& shared, const ColumnTree& columns, const std::vector<double>* x_log_x)
      : shared_(shared),
        columns_(columns),
        x_log_x_(x_log_x),
        sums_(columns.leaves + columns.left.size()),
        gains_(x_log_x ? sums_.size() : 0, 0.0) {}

  // What a merge of sides a and b adds to the sum of n log n over cells.
  double gain(const SideSums& s) const {
    const double* f = x_log_x_->data();
    return f[s.left + s.right] - f[s.left] - f[s.right];
  }

  // Adds, by the column level at which dendrogram 2 joins the two sides, the
  // pairs the merge joins to row and what it adds to the sum of n log n over
  // the cells of the contingency table to information (when kept).
  void add(const LeafOrder::Runs& runs, std::span<std::uint64_t> row, std::span<double> information) {
    if (x_log_x_)
      add_sides<true>(runs, row, information);
    else
      add_sides<false>(runs, row, information);
  }

 private:
  template <bool kInformation>
  void add_sides(const LeafOrder::Runs& runs, std::span<std::uint64_t> row, std::span<double> information) {
    const auto first = shared_.cells.begin();
    const auto left_begin = first + static_cast<std::ptrdiff_t>(shared_.begin[runs.left_begin]);
    const auto middle = first + static_cast<std::ptrdiff_t>(shared_.begin[runs.middle]);
    const auto right_end = first + static_cast<std::ptrdiff_t>(shared_.begin[runs.right_end]);
    for (auto cell = left_begin; cell != middle; ++cell) sums_[cell->leaf2].left += cell->weight;
    std::uint64_t same_leaf = 0;
    for (auto cell = middle; cell != right_end; ++cell) {
      same_leaf += sums_[cell->leaf2].left * cell->weight;
      sums_[cell->leaf2].right += cell->weight;
    }
    row[0] += same_leaf;
    if constexpr (kInformation) {
      // A leaf met twice adds its gain once: the second time it is already kept.
      double leaf_gains = 0.0;
      for (auto cell = left_begin; cell != right_end; ++cell) {
        const double g = gain(sums_[cell->leaf2]);
        leaf_gains += g - gains_[cell->leaf2];
        gains_[cell->leaf2] = g;
      }
      information[0] += leaf_gains;
    }
    const int merges = static_cast<int>(columns_.left.size());
    const int* left = columns_.left.data();
    const int* right = columns_.right.data();
    const int* column = columns_.column.data();
    SideSums* sums = sums_.data();
    SideSums* made = sums + columns_.leaves;
    double* gains = gains_.data();
    double* made_gains = gains + columns_.leaves;
    for (int j = 0; j < merges; ++j) {
      const SideSums a = sums[left[j]], b = sums[right[j]];
      made[j] = {a.left + b.left, a.right + b.right};
      row[column[j]] += a.left * b.right + b.left * a.right;
      if constexpr (kInformation) {
        made_gains[j] = gain(made[j]);
        information[column[j]] += made_gains[j] - gains[left[j]] - gains[right[j]];
      }
    }
    for (auto cell = left_begin; cell != right_end; ++cell) {
      sums_[cell->leaf2] = {};
      if constexpr (kInformation) gains_[cell->leaf2] = 0.0;
    }
  }

 private:
  const SharedObjects& shared_;
  const ColumnTree& columns_;
  const std::vector<double>* x_log_x_;
  std::vector<SideSums> sums_;
  std::vector<double> gains_;  // [node]: what its merge added to the sum of n log n, with information
};

// Runs of dendrogram 1's merges that share a level: one row each.
std::vector<std::size_t> level_runs(const ReducedTree& tree) {
  std::vector<std::size_t> starts;
  for (std::size_t j = 0; j < tree.merges.size(); ++j)
    if (j == 0 || tree.merges[j].level != tree.merges[j - 1].level) starts.push_back(j);
  starts.push_back(tree.merges.size());
  return starts;
}

// Pairs dendrogram 2 joins at each kept column level, column 0 with all
// those below it.
std::vector<std::uint64_t> column_totals(const LevelledDendrogram& second, KeptLevels columns) {
  const std::vector<std::int64_t> joined = pairs_joined_per_level(second);
  std::vector<std::uint64_t> totals(columns.count, 0);
  for (int level = 1; level <= columns.base_level; ++level) totals[0] += joined[level - 1];
  for (int c = 1; c < columns.count; ++c) totals[c] = joined[columns.base_level + c - 1];
  return totals;
}

// The sum of n log n over the clusters of dendrogram 2 at each kept column
// level: the information row of a dendrogram 1 that is one cluster.
std::vector<long double> column_information(const LevelledDendrogram& second, KeptLevels columns,
                                            const std::vector<double>& x_log_x) {
  std::vector<long double> per_level(static_cast<std::size_t>(second.level_count) + 1, 0.0L);
  std::vector<std::uint64_t> size(second.object_count + 1, 1);
  for (const LevelledMerge& merge : second.merges) {
    const std::uint64_t a = size[merge.kept], b = size[merge.absorbed];
    per_level[merge.level] += x_log_x[a + b] - x_log_x[a] - x_log_x[b];
    size[merge.kept] = a + b;
  }
  for (std::size_t level = 1; level < per_level.size(); ++level) per_level[level] += per_level[level - 1];
  std::vector<long double> totals(columns.count);
  for (int c = 0; c < columns.count; ++c) totals[c] = per_level[columns.base_level + c];
  return totals;
}

}  // namespace

bool pair_histogram(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                    KeptLevels columns, int threads, const RowSink& sink, const TaskProgress& progress,
                    const InformationSink& information) {
  // Dendrogram 1 keeps its top merges, which no row shows: the pairs they
  // join are what tells row 0 from the column totals.
  const ReducedTree tree1 = reduce_tree(first, rows.base_level, first.level_count);
  const ReducedTree tree2 = reduce_tree(second, columns.base_level, columns.base_level + columns.count - 1);
  const LeafOrder order1 = leaf_order(tree1);
  const SharedObjects shared = shared_objects(tree1, order1, tree2);
  const ColumnTree column_merges = column_tree(tree2);
  const std::vector<std::size_t> runs = level_runs(tree1);
  const int tasks = static_cast<int>(runs.size()) - 1;
  threads = std::max(1, std::min(thread_count(threads), tasks));
  const bool informed = static_cast<bool>(information);
  const std::vector<double> x_log_x = informed ? x_log_x_table(first.object_count) : std::vector<double>();

  struct Worker {
    MergeCounter counter;
    std::vector<std::uint64_t> row, column_sums;
    std::vector<double> information_row;
    std::vector<long double> information_sums;
  };
  const std::size_t width = static_cast<std::size_t>(columns.count), information_width = informed ? width : 0;
  std::vector<Worker> workers;
  for (int t = 0; t < threads; ++t)
    workers.push_back({MergeCounter(shared, column_merges, informed ? &x_log_x : nullptr),
                       std::vector<std::uint64_t>(width), std::vector<std::uint64_t>(width, 0),
                       std::vector<double>(information_width), std::vector<long double>(information_width, 0.0L)});
  const auto count_level = [&](int task, int id) {
    Worker& w = workers[id];
    std::fill(w.row.begin(), w.row.end(), 0);
    std::fill(w.information_row.begin(), w.information_row.end(), 0.0);
    for (std::size_t j = runs[task]; j < runs[task + 1]; ++j)
      w.counter.add(order1.runs[j], w.row, w.information_row);
    for (int c = 0; c < columns.count; ++c) w.column_sums[c] += w.row[c];
    const int row = tree1.merges[runs[task]].level - rows.base_level;
    if (row < rows.count) sink(row, w.row);
    if (!informed) return;
    for (int c = 0; c < columns.count; ++c) w.information_sums[c] += w.information_row[c];
    if (row < rows.count) information(row, w.information_row);
  };
  if (!run_tasks(tasks, threads, count_level, progress)) return false;

  std::vector<std::uint64_t> row0 = column_totals(second, columns);
  for (const Worker& w : workers)
    for (int c = 0; c < columns.count; ++c) row0[c] -= w.column_sums[c];
  sink(0, row0);
  if (informed) {
    // Per column the gains of every merge above row 0 add up (after the
    // running sum over columns) to what they add to a one-cluster row.
    std::vector<long double> column_gains(width, 0.0L);
    for (const Worker& w : workers)
      for (int c = 0; c < columns.count; ++c) column_gains[c] += w.information_sums[c];
    const std::vector<long double> totals = column_information(second, columns, x_log_x);
    std::vector<double> information_row0(width);
    long double running = 0.0L;
    for (int c = 0; c < columns.count; ++c) {
      running += column_gains[c];
      information_row0[c] = static_cast<double>(totals[c] - running);
    }
    information(-1, information_row0);
  }
  return true;
}

}  // namespace compare::exact
