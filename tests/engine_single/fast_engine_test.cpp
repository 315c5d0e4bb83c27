#include "engine/single/fast_engine.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/reference/reference.h"
#include "support/fast_equality.h"
#include "support/fast_shapes.h"

namespace compare {
namespace {

using shapes::Shape;
using shapes::ShapeOptions;
using testing_support::bitwise_equal;

DendrogramFile five_object_first() {
  return {5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {1, 3, 0, 0, 2.0f}}};
}
DendrogramFile five_object_second() {
  return {5, {{1, 3, 0, 0, 1.0f}, {2, 4, 0, 0, 2.0f}, {1, 2, 0, 0, 3.0f}, {1, 5, 0, 0, 4.0f}}};
}

TEST(FastEngine, GivesTheWorkedExampleValuesCountsAndMinima) {
  const ComparisonTables t = compare_fast(five_object_first(), five_object_second(), 1);
  ASSERT_EQ(t.levels1, 3);
  ASSERT_EQ(t.levels2, 4);
  EXPECT_EQ(t.cluster_counts1, (std::vector<int>{3, 2}));
  EXPECT_EQ(t.cluster_counts2, (std::vector<int>{4, 3, 2}));
  const float expected[2][3][5] = {
      {{1.0f, 0.3f, 1.732051f, 1.0f, 1.153846f}, {1.0f, 0.4f, 2.0f, 1.0f, 1.25f}, {0.857143f, 0.6f, 2.449490f, 0.75f, 1.071429f}},
      {{1.0f, 0.5f, 2.236068f, 1.0f, 1.190476f}, {1.0f, 0.6f, 2.449490f, 1.0f, 1.363636f}, {0.75f, 0.6f, 2.449490f, 0.6f, 1.153846f}}};
  for (int k = 1; k <= 2; ++k)
    for (int l = 1; l <= 3; ++l)
      for (int m = 1; m <= 5; ++m) EXPECT_NEAR(t.value(m, k, l), expected[k - 1][l - 1][m - 1], 1e-6) << k << l << m;
  const int minimum_clusters[5][2] = {{2, 2}, {3, 4}, {3, 4}, {2, 2}, {3, 2}};
  for (int m = 0; m < 5; ++m) {
    EXPECT_EQ(t.minima[m].clusters1, minimum_clusters[m][0]) << m;
    EXPECT_EQ(t.minima[m].clusters2, minimum_clusters[m][1]) << m;
  }
}

TEST(FastEngine, ComparesNothingWhenEitherDendrogramHasOneLevel) {
  DendrogramFile flat{5, {{1, 2, 0, 0, 1.0f}, {1, 3, 0, 0, 1.0f}, {1, 4, 0, 0, 1.0f}, {1, 5, 0, 0, 1.0f}}};
  for (const auto& [first, second] : {std::pair{flat, five_object_second()}, std::pair{five_object_first(), flat}}) {
    const ComparisonTables t = compare_fast(first, second);
    EXPECT_TRUE(t.values.empty());
    for (int c : t.cluster_counts1) EXPECT_EQ(c, 0);
    for (int c : t.cluster_counts2) EXPECT_EQ(c, 0);
    for (const MinimumRecord& m : t.minima) EXPECT_EQ(m.smallest, 100.0f);
    EXPECT_TRUE(bitwise_equal(compare_reference(first, second), t));
  }
}

ShapeOptions random_options(std::mt19937_64& random, int max_objects) {
  static const Shape kShapes[] = {Shape::random_tree, Shape::chain, Shape::balanced, Shape::caterpillar_pairs,
                                  Shape::star};
  ShapeOptions o;
  o.shape = kShapes[random() % 5];
  if (random() % 10 == 0) o.shape = Shape::star;
  o.object_count = 2 + static_cast<int>(random() % (max_objects - 1));
  const int tie_mode = static_cast<int>(random() % 3);
  o.distinct_heights = tie_mode == 0 ? 0 : tie_mode == 1 ? 3 : 1 + static_cast<int>(random() % 20);
  o.shuffle_records = random() % 2 == 0;
  o.swap_names = random() % 2 == 0;
  return o;
}

// Mostly small pairs, which cover ties and degenerate shapes densely, and a
// tail of larger ones where rounded sums appear.
TEST(FastEngine, MatchesTheLiteralLoopBitForBitOnThreeHundredRandomPairs) {
  std::mt19937_64 random(20261209);
  for (int trial = 0; trial < 320; ++trial) {
    const int max_objects = trial < 280 ? 40 : 150;
    const ShapeOptions o1 = random_options(random, max_objects);
    ShapeOptions o2 = random_options(random, max_objects);
    o2.object_count = o1.object_count;
    const DendrogramFile d1 = shapes::make_dendrogram(o1, random);
    const DendrogramFile d2 = shapes::make_dendrogram(o2, random);
    const int threads = 1 + trial % 3;
    ASSERT_TRUE(bitwise_equal(compare_reference(d1, d2), compare_fast(d1, d2, threads)))
        << "trial " << trial << ": N = " << o1.object_count << ", " << shapes::shape_name(o1.shape) << " vs "
        << shapes::shape_name(o2.shape);
  }
}

TEST(FastEngine, GivesTheSameBitsWhateverTheThreadCount) {
  std::mt19937_64 random(7);
  const DendrogramFile d1 = shapes::make_dendrogram({Shape::random_tree, 300, 0, true, true}, random);
  const DendrogramFile d2 = shapes::make_dendrogram({Shape::balanced, 300, 40, true, true}, random);
  const ComparisonTables one = compare_fast(d1, d2, 1);
  for (int threads : {2, 3, 8}) EXPECT_TRUE(bitwise_equal(one, compare_fast(d1, d2, threads))) << threads;
}

TEST(FastEngine, IgnoresMergeRecordsBeyondTheFirstFilesCount) {
  DendrogramFile longer = five_object_second();
  longer.object_count = 9;
  longer.merges.push_back({1, 6, 0, 0, 0.1f});
  EXPECT_TRUE(bitwise_equal(compare_reference(five_object_first(), longer), compare_fast(five_object_first(), longer)));
}

}  // namespace
}  // namespace compare
