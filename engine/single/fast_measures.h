#pragma once
// The five values of one level pair from its pair counts and margin sums,
// with the stores and groupings of the literal computation.
#include <array>
#include <cstdint>

#include "model/tables.h"

namespace compare::fast {

struct LevelPairSums {
  std::int64_t both = 0;    // a
  std::int64_t first = 0;   // a + b
  std::int64_t second = 0;  // a + c
  float row_square_sum = 0.0f;     // S1
  float column_square_sum = 0.0f;  // S2
  float cross_term = 0.0f;         // S12
};

std::array<float, kMeasureCount> measure_values(int object_count, const LevelPairSums& sums);

}  // namespace compare::fast
