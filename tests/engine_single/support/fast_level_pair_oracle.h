#pragma once
// An independent, plain computation of one level pair straight from the
// dendrogram files: partitions by union-find, a contingency table in a map,
// pair counts from cell sizes, and every sum folded step by step. Slow per
// level pair but free of the engine's shortcuts, so it checks the engine at
// sizes where the literal loop is out of reach.
#include <array>

#include "model/tables.h"

namespace compare::testing_support {

struct LevelPairResult {
  int clusters1 = 0;
  int clusters2 = 0;
  std::array<float, kMeasureCount> values{};
};

int level_count_of(const DendrogramFile& file, int object_count);
LevelPairResult plain_level_pair(const DendrogramFile& file1, const DendrogramFile& file2, int k, int l);

}  // namespace compare::testing_support
