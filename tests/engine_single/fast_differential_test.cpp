// The fast engine against the literal loop on many random pairs of every
// shape, weighted toward what makes the cross term hard: few levels over up
// to 300 objects, so that clusters are large and the sum passes 2^24 early,
// and one giant cluster per level, so that a single row crosses many
// binades of the sum.
#include <gtest/gtest.h>

#include <random>

#include "engine/reference/reference.h"
#include "engine/single/fast_engine.h"
#include "support/fast_equality.h"
#include "support/fast_shapes.h"

namespace compare {
namespace {

using shapes::Shape;
using shapes::ShapeOptions;
using testing_support::bitwise_equal;

constexpr Shape kEveryShape[] = {Shape::random_tree,       Shape::chain, Shape::balanced,
                                 Shape::caterpillar_pairs, Shape::star,  Shape::giant_cluster};

ShapeOptions options_for(Shape shape, int objects, int distinct_heights, std::mt19937_64& random) {
  ShapeOptions o;
  o.shape = shape;
  o.object_count = objects;
  o.distinct_heights = distinct_heights;
  o.shuffle_records = random() % 2 == 0;
  o.swap_names = random() % 2 == 0;
  return o;
}

::testing::AssertionResult engines_agree(const ShapeOptions& o1, const ShapeOptions& o2, int threads,
                                         std::mt19937_64& random) {
  const DendrogramFile d1 = shapes::make_dendrogram(o1, random);
  const DendrogramFile d2 = shapes::make_dendrogram(o2, random);
  ::testing::AssertionResult same = bitwise_equal(compare_reference(d1, d2), compare_fast(d1, d2, threads));
  if (!same)
    same << " (N = " << o1.object_count << ", " << shapes::shape_name(o1.shape) << " with "
         << o1.distinct_heights << " heights vs " << shapes::shape_name(o2.shape) << " with "
         << o2.distinct_heights << " heights)";
  return same;
}

// Every ordered pair of shapes, every merge at a height of its own.
TEST(FastEngineDifferential, MatchesTheLiteralLoopForEveryPairOfShapesAtFullDepth) {
  std::mt19937_64 random(11);
  for (Shape first : kEveryShape) {
    for (Shape second : kEveryShape) {
      for (int trial = 0; trial < 3; ++trial) {
        const int n = 2 + static_cast<int>(random() % 50);
        ASSERT_TRUE(engines_agree(options_for(first, n, 0, random), options_for(second, n, 0, random),
                                  1 + trial % 2, random));
      }
    }
  }
}

// Few levels over many objects: every compared partition has big clusters,
// and most level pairs fold far past 2^24.
TEST(FastEngineDifferential, MatchesTheLiteralLoopWhenFewLevelsHoldLargeClusters) {
  std::mt19937_64 random(12);
  for (Shape first : kEveryShape) {
    for (Shape second : kEveryShape) {
      const int n = 120 + static_cast<int>(random() % 181);
      const int heights1 = 2 + static_cast<int>(random() % 9), heights2 = 2 + static_cast<int>(random() % 9);
      ASSERT_TRUE(engines_agree(options_for(first, n, heights1, random), options_for(second, n, heights2, random),
                                2, random));
    }
  }
}

// Single linkage against a compact linkage: a giant row against balanced
// columns, in both roles, with and without ties.
TEST(FastEngineDifferential, MatchesTheLiteralLoopForAGiantClusterAgainstBalancedClusters) {
  std::mt19937_64 random(13);
  for (int trial = 0; trial < 9; ++trial) {
    const int n = 150 + static_cast<int>(random() % 151);
    const int heights = trial % 3 == 0 ? 0 : 6 + static_cast<int>(random() % 20);
    const int levels_cap = heights == 0 ? 0 : heights;
    ShapeOptions giant = options_for(Shape::giant_cluster, n, levels_cap, random);
    ShapeOptions compact = options_for(trial % 2 ? Shape::balanced : Shape::random_tree, n, levels_cap, random);
    if (heights == 0) {  // full depth is too slow for the literal loop at this size
      giant.object_count = compact.object_count = 90;
    }
    if (trial % 2) std::swap(giant, compact);
    ASSERT_TRUE(engines_agree(giant, compact, 1 + trial % 3, random)) << "trial " << trial;
  }
}

}  // namespace
}  // namespace compare
