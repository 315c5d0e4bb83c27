#pragma once
// The comparison engine as every front end sees it: two dendrograms in; the
// cluster counts and heights of the compared levels, and either the five
// single-precision tables with their minima (the values of MATRICES.DAT, bit
// for bit) or the exact pair counts from which every measure follows in
// double precision, or both; a progress callback that can cancel.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/exact/count_table.h"
#include "engine/exact/level_pair_counts.h"
#include "engine/exact/pair_measures.h"
#include "engine/exact/tree_correlations.h"
#include "engine/measure_names.h"
#include "model/errors.h"
#include "model/tables.h"
#include "model/validate.h"

namespace compare {

// Called with the work done so far and its total (levels of dendrogram 2
// for the single-precision tables, levels of dendrogram 1 for the exact
// counts), on the calling thread, about every 50 ms and once at the end;
// returning false cancels the comparison, which then throws Cancelled.
using ProgressCallback = std::function<bool(int done, int total)>;

// single: the tables of MATRICES.DAT, bit for bit, with their rounding.
// exact: the pair counts alone, every measure from them in double precision;
// no single-precision table is computed.
enum class Precision { single, exact };

struct CompareOptions {
  int threads = 0;  // 0: the hardware's concurrency
  Precision precision = Precision::single;
  bool keep_pair_counts = false;  // single precision: the pair counts too (exact always has them)
  // Exact only: compare only the levels with at most this many clusters
  // (0: every level below the top).
  int max_clusters = 0;
  // Exact only: also the sums behind entropies, for variation of information
  // and normalized mutual information (a table of doubles more).
  bool information = false;
  // Memory the tables may take, in bytes; 0: what the system has available.
  std::uint64_t memory_limit = 0;
  ProgressCallback progress;
};

// The smallest exact value of a measure and the cluster counts of the first
// level pair (rows outer, columns inner) where it occurs.
struct ExactMinimum {
  double smallest = 0;
  int clusters1 = 0;
  int clusters2 = 0;
  bool found = false;
};

// The dendrograms behind a comparison, as levelled merges with the height of
// every level (the top's too).
struct ComparedTrees {
  LevelledDendrogram first, second;
  std::vector<float> heights1, heights2;
};

// One point of the Fowlkes-Mallows curve: k clusters in both partitions
// (rows k_row and columns l_column, 1-based), its index and the index's
// expectation and variance under random partitions of the same cluster
// sizes.
struct BkPoint {
  int k = 0, row = 0, column = 0;
  double bk = 0, expected = 0, variance = 0;
};

struct Comparison {
  Precision precision = Precision::single;
  std::int64_t object_count = 0;
  int levels1 = 0, levels2 = 0;  // L1, L2
  // Row k (k = 1..rows()) is level base_level1 + k - 1 of dendrogram 1; all
  // levels below the top unless max_clusters left the lower ones out.
  int base_level1 = 1, base_level2 = 1;
  std::vector<int> clusters1, clusters2;     // [k-1], [l-1]: clusters at each compared level
  std::vector<float> heights1, heights2;     // [k-1], [l-1]: the merge height that makes it
  // The single-precision tables, with precision single; otherwise their
  // values are empty.
  ComparisonTables tables;
  // joined_both.at(k-1, l-1) is a(k, l); joined1[k-1] is a + b, joined2[l-1]
  // is a + c. Present with precision exact or keep_pair_counts.
  PairCountTable joined_both;
  std::vector<std::int64_t> joined1, joined2;
  // With information: sums of n log n over the contingency table's cells
  // and over each level's clusters.
  exact::InformationTable information;
  std::shared_ptr<const ComparedTrees> trees;
  std::vector<double> triples1, triples2;  // [k-1]: sum of n (n-1) (n-2) over each compared level's clusters

  int rows() const { return static_cast<int>(clusters1.size()); }
  int columns() const { return static_cast<int>(clusters2.size()); }
  std::int64_t pair_count() const { return object_count * (object_count - 1) / 2; }
  bool has_pair_counts() const { return joined_both.rows() == rows() && joined_both.columns() == columns(); }
  bool has_tables() const { return !tables.values.empty() || rows() == 0 || columns() == 0; }
  // Require has_pair_counts(); k = 1..rows(), l = 1..columns().
  PairCounts counts(int k, int l) const {
    return {static_cast<std::int64_t>(joined_both.at(k - 1, l - 1)), joined1[k - 1], joined2[l - 1], pair_count()};
  }
  ExactValues exact(int k, int l) const { return exact_values(counts(k, l)); }
  double exact_value(ExactMeasure measure, int k, int l) const { return compare::exact_value(measure, counts(k, l)); }
  double fowlkes_mallows(int k, int l) const { return exact_value(ExactMeasure::fowlkes_mallows, k, l); }

  bool has_information() const { return information.rows == rows() && information.columns == columns(); }
  // Require has_information(). Natural logarithms; entropies of the
  // partitions of row k and column l, and their joint entropy.
  double entropy1(int k) const;
  double entropy2(int l) const;
  double joint_entropy(int k, int l) const;
  double information_value(InformationMeasure measure, int k, int l) const;

  // Over all object pairs, every level of both dendrograms (not only the
  // compared ones); a pass as long as the pair counts' own.
  exact::TreeCorrelations correlations(int threads = 0) const;
  // Every k that both dendrograms have among their compared levels, in
  // ascending order; a k that a dendrogram skips (several merges at one
  // height) is left out. Requires has_pair_counts().
  std::vector<BkPoint> bk_curve() const;

  // Any measure's exact value: from the pair counts, or for variation of
  // information and NMI from the contingency sums.
  double exact_value(MeasureId measure, int k, int l) const {
    if (from_contingency(measure))
      return information_value(measure == MeasureId::nmi ? InformationMeasure::nmi
                                                         : InformationMeasure::variation_of_information,
                               k, l);
    return exact_value(static_cast<ExactMeasure>(static_cast<int>(measure)), k, l);
  }
};

// Fills any measure's exact rows, as fill_exact_rows does.
void fill_measure_rows(const Comparison& comparison, MeasureId measure, int first_row, int last_row, double* out,
                       int threads = 0);

// The five measures' smallest exact values, found as the minimum report
// finds them: a value replaces the record only when strictly smaller.
std::array<ExactMinimum, kMeasureCount> exact_minima(const Comparison& comparison, int threads = 0);

// Fills one measure's exact values of rows first_row..last_row (1-based),
// columns() doubles a row, row by row at out, on `threads` threads.
void fill_exact_rows(const Comparison& comparison, ExactMeasure measure, int first_row, int last_row, double* out,
                     int threads = 0);

// Fills one information measure's rows first_row..last_row (1-based) at
// out, as fill_exact_rows does.
void fill_information_rows(const Comparison& comparison, InformationMeasure measure, int first_row, int last_row,
                           double* out, int threads = 0);

// What a picture of the comparison shows: the single-precision tables, or
// the exact values rounded to 4-byte reals, with the compared levels'
// cluster counts.
ComparisonTables tables_for_display(const Comparison& comparison);

// Refuses a dendrogram the comparison cannot use with InputError("<name>:
// <what is wrong>"); up to kLargestExactObjectCount objects.
void check_dendrogram(const DendrogramFile& file, const std::string& name);

// Refuses, for a front end other than the dialogue, a comparison in which a
// dendrogram has a single level (all merges at one height, or N = 2): no
// level pair would be compared, and the tables would be empty.
// InputError("dendrogram <name> has a single level; there is nothing to
// compare"), naming the first such dendrogram. Both must be valid.
void check_levels_to_compare(const DendrogramFile& first, const std::string& first_name,
                             const DendrogramFile& second, const std::string& second_name);

// What the system can give without swapping (MemAvailable), in bytes;
// UINT64_MAX when it does not say.
std::uint64_t available_memory();

// Refuses an invalid dendrogram with InputError("dendrogram <which>: ..."),
// and a comparison whose tables would not fit in memory before any is
// allocated, then compares; N of the first governs, as in the dialogue, but
// two different object counts are refused here.
Comparison run_comparison(const DendrogramFile& first, const DendrogramFile& second,
                          const CompareOptions& options = {});

// The heights of levels 1..L-1 of one dendrogram: its distinct merge heights
// in ascending order, without the last.
std::vector<float> level_heights(const DendrogramFile& file);

}  // namespace compare
