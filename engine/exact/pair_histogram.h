#pragma once
// How many object pairs each dendrogram joins at each of its levels, in two
// dimensions: cell (r, c) counts the pairs that dendrogram 1 joins at its
// row level r and dendrogram 2 at its column level c. Cumulative sums of
// these cells give the pairs joined in both partitions of every level pair.
//
// The cells come without a table of object pairs: each merge of dendrogram 1
// spreads the objects of its two sides over the leaves of dendrogram 2 and
// adds up, merge by merge of dendrogram 2, the pairs that cross between the
// sides. A merge costs the objects it joins plus the merges of dendrogram 2;
// above base levels with C1 and C2 clusters, C1 * C2 plus what the base
// clusters share.
#include <cstdint>
#include <functional>
#include <span>

#include "model/levels.h"
#include "engine/exact/parallel_tasks.h"

namespace compare::exact {

// The levels a comparison keeps of one dendrogram: base_level .. L - 1.
struct KeptLevels {
  int base_level = 1;
  int count = 0;
};

// All levels below the top, or with max_clusters > 0 only those with at
// most that many clusters. count is 0 when none is left.
KeptLevels kept_levels(const LevelledDendrogram& dendrogram, int max_clusters);

// Receives row r of the histogram (r = 0 .. rows.count - 1, level
// rows.base_level + r), one count per kept column level. Row 0 and column 0
// also count the pairs joined below them. Called once per row, rows in no
// particular order and from several threads at once, never twice for one
// row.
using RowSink = std::function<void(int row, std::span<const std::uint64_t> counts)>;

// With information, the same for the sum of n log n over the cells of the
// contingency table: row r (r >= 1) gets, column by column, what its merges
// add to the sum at that column level, before any running sum over columns;
// last, once, row -1 gets the sum itself at row 0, already summed over
// columns. Same threads and order as the counts.
using InformationSink = std::function<void(int row, std::span<const double> gains)>;

// Returns false when the progress view asked to stop (some rows are then
// missing). Both kept level sets must be non-empty.
bool pair_histogram(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                    KeptLevels columns, int threads, const RowSink& sink, const TaskProgress& progress = {},
                    const InformationSink& information = {});

}  // namespace compare::exact
