#include "engine/exact/pair_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace compare {
namespace {

double ratio(std::int64_t numerator, std::int64_t denominator) {
  return static_cast<double>(numerator) / static_cast<double>(denominator);
}

__extension__ typedef __int128 Wide;

// Converting a 128-bit integer costs a library call; most values fit 64 bits.
double to_double(Wide value) {
  constexpr Wide low = std::numeric_limits<std::int64_t>::min(), high = std::numeric_limits<std::int64_t>::max();
  if (value >= low && value <= high) return static_cast<double>(static_cast<std::int64_t>(value));
  return static_cast<double>(value);
}

// One minus the adjusted Rand index from the four pair counts, with the
// products formed exactly before the one rounding division.
double adjusted_rand_dissimilarity(const PairCounts& c) {
  const std::int64_t together = c.both, only1 = c.first - c.both, only2 = c.second - c.both;
  const std::int64_t apart = c.total - c.first - c.second + c.both;
  const Wide numerator = 2 * (Wide(together) * apart - Wide(only1) * only2);
  const Wide denominator = Wide(together + only1) * (only1 + apart) + Wide(together + only2) * (only2 + apart);
  if (denominator == 0) return 0.0;  // both partitions trivial and equal
  return 1.0 - to_double(numerator) / to_double(denominator);
}

}  // namespace

double exact_value(ExactMeasure measure, const PairCounts& c) {
  const std::int64_t disagree = c.first + c.second - 2 * c.both;
  switch (measure) {
    case ExactMeasure::jaccard:
      return ratio(disagree, c.first + c.second - c.both);
    case ExactMeasure::rand:
      return ratio(disagree, c.total);
    case ExactMeasure::euclidean:
      return std::sqrt(static_cast<double>(disagree));
    case ExactMeasure::sorensen:
      return ratio(disagree, c.first + c.second);
    case ExactMeasure::adjusted_rand:
      return adjusted_rand_dissimilarity(c);
    case ExactMeasure::fowlkes_mallows:
      return c.both == 0 ? 0.0 : std::sqrt(ratio(c.both, c.first)) * std::sqrt(ratio(c.both, c.second));
  }
  return 0.0;
}

double information_value(InformationMeasure measure, double entropy1, double entropy2, double joint_entropy) {
  const double mutual = std::max(0.0, entropy1 + entropy2 - joint_entropy);
  if (measure == InformationMeasure::variation_of_information) return std::max(0.0, entropy1 + entropy2 - 2 * mutual);
  const double mean = (entropy1 + entropy2) / 2;
  return mean == 0 ? 1.0 : mutual / mean;
}

ExactValues exact_values(const PairCounts& c) {
  return {exact_value(ExactMeasure::jaccard, c),       exact_value(ExactMeasure::rand, c),
          exact_value(ExactMeasure::euclidean, c),     exact_value(ExactMeasure::sorensen, c),
          exact_value(ExactMeasure::adjusted_rand, c), exact_value(ExactMeasure::fowlkes_mallows, c)};
}

}  // namespace compare
