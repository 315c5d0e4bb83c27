#include <gtest/gtest.h>

#include <random>

#include "engine/reference/reference.h"
#include "engine/single/fast_engine.h"
#include "support/fast_equality.h"
#include "support/fast_shapes.h"

namespace compare {
namespace {

using shapes::Shape;

// The literal loop costs about N^4 steps: this one pair takes minutes.
TEST(FastEngineLong, MatchesTheLiteralLoopBitForBitAtFourHundredObjects) {
  std::mt19937_64 random(400);
  const DendrogramFile d1 = shapes::make_dendrogram({Shape::random_tree, 400, 0, true, true}, random);
  const DendrogramFile d2 = shapes::make_dendrogram({Shape::caterpillar_pairs, 400, 0, true, true}, random);
  EXPECT_TRUE(testing_support::bitwise_equal(compare_reference(d1, d2), compare_fast(d1, d2)));
}

}  // namespace
}  // namespace compare
