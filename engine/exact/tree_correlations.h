#pragma once
// Correlations of the two dendrograms over all object pairs, and the
// Fowlkes-Mallows curve with its expectation and variance under random
// partitions of the same cluster sizes.
#include <cstdint>
#include <vector>

#include "model/levels.h"

namespace compare::exact {

struct TreeCorrelations {
  // Pearson and Spearman (ties sharing their mean rank) over all object
  // pairs of the two cophenetic heights: the height of the level at which
  // each tree first joins the pair.
  double cophenetic_pearson = 0, cophenetic_spearman = 0;
  // Spearman over all pairs of the largest number of clusters at which the
  // pair is still together. A level's cluster count falls as its height
  // rises, in both trees alike, so the ranks are those of the cophenetic
  // heights reversed in both and the correlation is the same.
  double bakers_gamma = 0;
};

// heights[level - 1]: the height of each level 1..L, the top included.
// From the two-dimensional histogram of every pair's join levels, with no
// table of pairs.
TreeCorrelations tree_correlations(const LevelledDendrogram& first, const std::vector<float>& heights1,
                                   const LevelledDendrogram& second, const std::vector<float>& heights2, int threads);

// Sum over the clusters of each level 1..L of n (n - 1) (n - 2), [level - 1].
std::vector<double> cluster_triples_per_level(const LevelledDendrogram& dendrogram);

// The Fowlkes-Mallows index B of two partitions of n objects from their
// pair counts, with its expectation and variance when the partitions are
// drawn at random with the same cluster sizes (Fowlkes and Mallows, 1983).
// triples: the sums of n (n - 1) (n - 2) over each partition's clusters.
struct BkValue {
  double bk = 0, expected = 0, variance = 0;
};
BkValue bk_value(std::int64_t n, std::int64_t both, std::int64_t first, std::int64_t second, double triples1,
                 double triples2);

}  // namespace compare::exact
