#pragma once
// Every measure of a level pair from its four pair counts, in double
// precision: the one place where counts become values.
#include <cstdint>

namespace compare {

// a, a + b, a + c and N(N-1)/2 of one level pair.
struct PairCounts {
  std::int64_t both = 0;    // pairs joined in both partitions
  std::int64_t first = 0;   // pairs joined in the partition of dendrogram 1
  std::int64_t second = 0;  // pairs joined in the partition of dendrogram 2
  std::int64_t total = 0;   // all pairs
};

// In the order of the tables, then Fowlkes-Mallows.
enum class ExactMeasure { jaccard, rand, euclidean, sorensen, adjusted_rand, fowlkes_mallows };
inline constexpr int kExactMeasureCount = 6;

// The first five as dissimilarities (one minus the index; the Euclidean
// distance of the co-membership vectors), Fowlkes-Mallows as the index.
double exact_value(ExactMeasure measure, const PairCounts& counts);

// From the contingency table rather than the pair counts, in natural
// logarithms: Meila's variation of information H(U) + H(V) - 2 I(U, V), and
// the mutual information over the arithmetic mean of the two entropies.
enum class InformationMeasure { variation_of_information, nmi };
inline constexpr int kInformationMeasureCount = 2;

// From the two entropies and the joint entropy. The mutual information is
// taken as 0 where rounding makes it negative, so variation of information
// is never below 0; NMI is 1 when both partitions are one cluster each.
double information_value(InformationMeasure measure, double entropy1, double entropy2, double joint_entropy);

struct ExactValues {
  double jaccard = 0, rand = 0, euclidean = 0, sorensen = 0, adjusted_rand = 0;  // as dissimilarities
  double fowlkes_mallows = 0;  // the index itself, not one minus it
};
ExactValues exact_values(const PairCounts& counts);

}  // namespace compare
