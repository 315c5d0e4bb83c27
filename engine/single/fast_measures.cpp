#include "engine/single/fast_measures.h"

#include <cmath>

namespace compare::fast {

std::array<float, kMeasureCount> measure_values(int object_count, const LevelPairSums& sums) {
  const auto n = static_cast<std::int64_t>(object_count);
  const std::int64_t pairs = (n - 1) * n / 2;
  const float a_real = static_cast<float>(static_cast<double>(n - 1));
  const float f_real = static_cast<float>(n * (n * n + 1));
  const double a = a_real;
  const double t1 = 2.0 * static_cast<double>(sums.cross_term) / static_cast<double>(n);
  const double t2 = (static_cast<double>(f_real) - (a + 2.0) * static_cast<double>(sums.row_square_sum)) -
                    (a + 2.0) * static_cast<double>(sums.column_square_sum);
  const double expected = (t1 + t2) / (2.0 * a);
  const std::int64_t d = sums.first + sums.second - 2 * sums.both;
  const std::int64_t u = sums.first + sums.second - sums.both;
  const std::int64_t w = sums.first + sums.second;
  const double dd = static_cast<double>(d);
  const double np = static_cast<double>(pairs);
  return {static_cast<float>(dd / static_cast<double>(u)), static_cast<float>(dd / np),
          static_cast<float>(std::sqrt(dd)), static_cast<float>(dd / static_cast<double>(w)),
          static_cast<float>(1.0 - (static_cast<double>(pairs - d) - expected) / (np - expected))};
}

}  // namespace compare::fast
