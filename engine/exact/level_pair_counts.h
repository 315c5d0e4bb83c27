#pragma once
// The exact engine: the pair counts of every kept level pair, from which
// every measure follows in double precision, without any table of object
// pairs and without the single-precision values.
#include <cstdint>
#include <vector>

#include "model/levels.h"
#include "engine/exact/count_table.h"
#include "engine/exact/pair_histogram.h"

namespace compare::exact {

// The sum of n log n over the cells of the contingency table of every kept
// level pair, and over the clusters of each kept level: what entropies,
// mutual information and variation of information are made of.
struct InformationTable {
  int rows = 0, columns = 0;
  LargeBuffer joint;                 // rows x columns doubles
  std::vector<double> row_clusters;  // [r]
  std::vector<double> column_clusters;

  double at(int r, int c) const { return joint.as<double>()[static_cast<std::size_t>(r) * columns + c]; }
  bool empty() const { return rows == 0 || columns == 0; }
};

struct LevelPairCounts {
  KeptLevels rows, columns;
  PairCountTable both;                  // a(r, c)
  std::vector<std::int64_t> joined1;    // [r]: a + b, pairs joined at or below row level r
  std::vector<std::int64_t> joined2;    // [c]: a + c
  InformationTable information;         // with information only
};

// Sum of n log n over the clusters of each level 1..L, [level - 1].
std::vector<double> cluster_information_per_level(const LevelledDendrogram& dendrogram);

// Pairs joined at or below each level 1..L, [level - 1].
std::vector<std::int64_t> pairs_joined_up_to(const LevelledDendrogram& dendrogram);

// Fills out for the kept levels given; false when the progress view asked
// to stop. The table is allocated here: a caller checks its size first.
bool count_level_pairs(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                       KeptLevels columns, int threads, const TaskProgress& progress, LevelPairCounts& out,
                       bool information = false);

}  // namespace compare::exact
