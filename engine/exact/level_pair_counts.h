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

struct LevelPairCounts {
  KeptLevels rows, columns;
  PairCountTable both;                  // a(r, c)
  std::vector<std::int64_t> joined1;    // [r]: a + b, pairs joined at or below row level r
  std::vector<std::int64_t> joined2;    // [c]: a + c
};

// Pairs joined at or below each level 1..L, [level - 1].
std::vector<std::int64_t> pairs_joined_up_to(const LevelledDendrogram& dendrogram);

// Fills out for the kept levels given; false when the progress view asked
// to stop. The table is allocated here: a caller checks its size first.
bool count_level_pairs(const LevelledDendrogram& first, KeptLevels rows, const LevelledDendrogram& second,
                       KeptLevels columns, int threads, const TaskProgress& progress, LevelPairCounts& out);

}  // namespace compare::exact
