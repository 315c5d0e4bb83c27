// The new cross-term folder against the previous one, which the literal loop
// vouches for, on every row level of sampled column levels at N = 2000: the
// sizes that the block treatment of crossing rows was made for.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/single/fast_cross_term.h"
#include "model/levels.h"
#include "engine/single/fast_margins.h"
#include "support/fast_cross_term_oracle.h"
#include "support/fast_shapes.h"

namespace compare {
namespace {

using fast::ClusterMargins;
using shapes::Shape;

std::vector<ClusterMargins> margins_of_every_level(const DendrogramFile& file) {
  const LevelledDendrogram d = level_merges(file, file.object_count);
  std::vector<ClusterMargins> result;
  std::vector<int> sizes, scratch;
  for (int level = 1; level < d.level_count; ++level) {
    partition_sizes(d, level, sizes, scratch);
    result.emplace_back(sizes);
  }
  return result;
}

struct ShapePair {
  Shape first;
  Shape second;
  int distinct_heights;
};

TEST(CrossTermFoldLong, EqualsThePreviousFolderOnEveryRowLevelAtTwoThousandObjects) {
  const ShapePair pairs[] = {{Shape::giant_cluster, Shape::balanced, 0},
                             {Shape::balanced, Shape::giant_cluster, 0},
                             {Shape::random_tree, Shape::random_tree, 0},
                             {Shape::random_tree, Shape::caterpillar_pairs, 60},
                             {Shape::giant_cluster, Shape::random_tree, 0}};
  std::mt19937_64 random(2000);
  for (const ShapePair& p : pairs) {
    const auto rows = margins_of_every_level(shapes::make_dendrogram({p.first, 2000, p.distinct_heights}, random));
    const auto columns =
        margins_of_every_level(shapes::make_dendrogram({p.second, 2000, p.distinct_heights}, random));
    fast::CrossTermFolder folder(columns.front());
    testing_support::OracleCrossTermFolder oracle(columns.front());
    const std::size_t stride = columns.size() > 100 ? 23 : 1;
    for (std::size_t l = random() % stride; l < columns.size(); l += stride) {
      folder.use_columns(columns[l]);
      oracle.use_columns(columns[l]);
      for (std::size_t k = 0; k < rows.size(); ++k) {
        const int as_before = k == 0 ? 0 : rows[k].leading_sizes_shared(rows[k - 1]);
        const float expected = oracle.fold(rows[k]), actual = folder.fold(rows[k], as_before);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(expected), std::bit_cast<std::uint32_t>(actual))
            << shapes::shape_name(p.first) << " vs " << shapes::shape_name(p.second) << " at (" << k + 1 << ", "
            << l + 1 << "): " << expected << " vs " << actual;
      }
    }
  }
}

}  // namespace
}  // namespace compare
