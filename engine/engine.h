#pragma once
// The comparison engine as every front end sees it: two dendrograms in,
// the five tables, the cluster counts and heights of the compared levels,
// the minima and, on request, the pair counts out; a progress callback that
// can cancel. The values are those of MATRICES.DAT, bit for bit.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/tables.h"

namespace compare {

// Called with the number of column levels (levels of dendrogram 2) done so
// far and their total, on the calling thread, about every 50 ms and once at
// the end; returning false cancels the comparison, which then throws
// Cancelled.
using ProgressCallback = std::function<bool(int done_columns, int total_columns)>;

struct CompareOptions {
  int threads = 0;               // 0: the hardware's concurrency
  bool keep_pair_counts = false; // needed for exact values and Fowlkes-Mallows
  ProgressCallback progress;
};

// Double-precision values of one level pair from its pair counts.
struct ExactValues {
  double jaccard = 0, rand = 0, euclidean = 0, sorensen = 0, adjusted_rand = 0;  // as dissimilarities
  double fowlkes_mallows = 0;  // the index itself, not one minus it
};

struct Comparison {
  ComparisonTables tables;
  // Height of each compared level (the merge height that makes it),
  // heights1[k-1] for k = 1..L1-1, heights2 likewise.
  std::vector<float> heights1, heights2;
  // Pair counts, with keep_pair_counts: joined_both[(k-1)*(L2-1) + (l-1)] is
  // a(k, l); joined1[k-1] is a + b, joined2[l-1] is a + c.
  std::vector<std::uint32_t> joined_both;
  std::vector<std::int64_t> joined1, joined2;
  std::int64_t object_count = 0;

  std::int64_t pair_count() const { return object_count * (object_count - 1) / 2; }
  bool has_pair_counts() const { return !joined_both.empty() || tables.values.empty(); }
  // Requires has_pair_counts().
  ExactValues exact(int k, int l) const;
  // The Fowlkes-Mallows index alone, as exact() gives it.
  double fowlkes_mallows(int k, int l) const;
};

// Refuses a dendrogram the comparison cannot use with InputError("<name>:
// <what is wrong>").
void check_dendrogram(const DendrogramFile& file, const std::string& name);

// Refuses an invalid dendrogram with InputError("dendrogram <which>: ..."),
// then compares; N of the first governs, as in the dialogue, but two
// different object counts are refused here.
Comparison run_comparison(const DendrogramFile& first, const DendrogramFile& second,
                          const CompareOptions& options = {});

// The heights of levels 1..L-1 of one dendrogram: its distinct merge heights
// in ascending order, without the last.
std::vector<float> level_heights(const DendrogramFile& file);

}  // namespace compare
