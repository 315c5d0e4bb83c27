#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "engine/single/fast_engine.h"
#include "support/fast_level_pair_oracle.h"
#include "support/fast_shapes.h"

namespace compare {
namespace {

using shapes::Shape;

void expect_sampled_pairs_match(const DendrogramFile& d1, const DendrogramFile& d2, int samples,
                                std::mt19937_64& random) {
  const int n = d1.object_count;
  const ComparisonTables t = compare_fast(d1, d2);
  ASSERT_EQ(t.levels1, testing_support::level_count_of(d1, n));
  ASSERT_EQ(t.levels2, testing_support::level_count_of(d2, n));
  for (int sample = 0; sample < samples; ++sample) {
    const int k = 1 + static_cast<int>(random() % (t.levels1 - 1));
    const int l = 1 + static_cast<int>(random() % (t.levels2 - 1));
    const testing_support::LevelPairResult plain = testing_support::plain_level_pair(d1, d2, k, l);
    EXPECT_EQ(t.cluster_counts1[k - 1], plain.clusters1);
    EXPECT_EQ(t.cluster_counts2[l - 1], plain.clusters2);
    for (int m = 1; m <= kMeasureCount; ++m)
      EXPECT_EQ(std::bit_cast<std::uint32_t>(t.value(m, k, l)), std::bit_cast<std::uint32_t>(plain.values[m - 1]))
          << "(" << k << ", " << l << ") measure " << m;
  }
}

// Beyond the literal loop's reach: the cross term passes 2^24 long before
// the end of its fold at every level pair.
TEST(FastEngineLarge, MatchesAPlainPerPairComputationOnAFullBinaryPair) {
  std::mt19937_64 random(99);
  const DendrogramFile d1 = shapes::make_dendrogram({Shape::random_tree, 900, 0, true, true}, random);
  const DendrogramFile d2 = shapes::make_dendrogram({Shape::caterpillar_pairs, 900, 0, true, true}, random);
  expect_sampled_pairs_match(d1, d2, 25, random);
}

// Few levels over many objects: clusters above 4096 objects, whose stored
// squares are rounded, and sums far beyond 2^52.
TEST(FastEngineLarge, MatchesAPlainPerPairComputationWhenSquaresRound) {
  std::mt19937_64 random(5);
  const DendrogramFile d1 = shapes::make_dendrogram({Shape::random_tree, 6000, 30, true, true}, random);
  const DendrogramFile d2 = shapes::make_dendrogram({Shape::balanced, 6000, 25, true, true}, random);
  expect_sampled_pairs_match(d1, d2, 12, random);
}

}  // namespace
}  // namespace compare
