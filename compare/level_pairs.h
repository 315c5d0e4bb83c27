#pragma once
// The level-pair loop: every level below the top of dendrogram 1 against
// every level below the top of dendrogram 2, on storage the caller owns.
#include <array>

#include "compare/fortran_array.h"
#include "compare/measures.h"
#include "model/tables.h"

namespace compare {

// Views of the caller's arrays, in their allocated shapes.
struct LevelPairStorage {
  IntVector pair_levels1;    // (NPACK)
  IntVector pair_levels2;    // (NPACK)
  IntVector triangle1;       // (NPACK)
  IntVector triangle2;       // (NPACK)
  IntVector cluster_labels1; // (N)
  IntVector cluster_labels2; // (N)
  RealArray3 measure_table;  // (5, N, N)
  ContingencyWork contingency;
  IntMatrix cluster_counts;  // (2, N)
};

// Fills measure table (m, k, l) and cluster count table entries (1, k) and
// (2, l) for k = 1..L1-1, l = 1..L2-1, and the five minimum records, which
// it starts afresh.
void compare_level_pairs(int object_count, int levels1, int levels2,
                         const LevelPairStorage& storage,
                         std::array<MinimumRecord, kMeasureCount>& minima);

}  // namespace compare
