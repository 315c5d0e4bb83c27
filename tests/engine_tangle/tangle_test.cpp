// Trees as drawn: leaf orders from merges as filed, the entanglement of
// worked examples, rotations that end where no single rotation helps, the
// clusters of a cut and the objects that move between two cuts.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "engine/tangle/shared_clusters.h"
#include "engine/tangle/tree_shape.h"
#include "engine/tangle/untangle.h"
#include "engine/tanglegram.h"
#include "model/levels.h"

namespace compare::tangle {
namespace {

TreeShape shape_of(const DendrogramFile& file) {
  std::vector<float> heights;
  for (const MergeRecord& m : file.merges) heights.push_back(m.height);
  std::sort(heights.begin(), heights.end());
  heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
  return tree_shape(level_merges(file, file.object_count), heights);
}

// Merges of random current clusters, either side first, at heights m / ties_every.
DendrogramFile random_tree(int n, int ties_every, std::mt19937& random) {
  DendrogramFile file{n, {}};
  std::vector<int> names(n);
  for (int i = 0; i < n; ++i) names[i] = i + 1;
  for (int m = 0; m < n - 1; ++m) {
    std::swap(names[random() % names.size()], names.back());
    const int a = names.back();
    names.pop_back();
    int& b = names[random() % names.size()];
    file.merges.push_back({a, b, 0, 0, static_cast<float>(m / ties_every)});
    b = std::min(a, b);
  }
  return file;
}

TEST(LeafOrder, FollowsEachMergeAsFiledLeftFirst) {
  struct Case {
    DendrogramFile file;
    std::vector<int> order;  // objects 0-based, top to bottom
  };
  const Case cases[] = {
      // scipy [[0,1,1],[2,3,2],[4,5,3]]: 0 1 2 3.
      {{4, {{1, 2, 0, 0, 1}, {3, 4, 0, 0, 2}, {1, 3, 0, 0, 3}}}, {0, 1, 2, 3}},
      // [[3,2,1],[1,0,2],[5,4,3]]: (3,2), (1,0), then the second made first.
      {{4, {{4, 3, 0, 0, 1}, {2, 1, 0, 0, 2}, {1, 3, 0, 0, 3}}}, {1, 0, 3, 2}},
      // Filed out of height order: the merges are applied by height.
      {{4, {{3, 1, 0, 0, 3}, {4, 3, 0, 0, 1}, {2, 1, 0, 0, 2}}}, {3, 2, 1, 0}},
      {{1, {}}, {0}},
  };
  for (const Case& c : cases) EXPECT_EQ(leaf_order(shape_of(c.file), {}), c.order);
}

TEST(LeafOrder, AFlipSwapsOneNodesChildren) {
  const TreeShape tree = shape_of({4, {{1, 2, 0, 0, 1}, {3, 4, 0, 0, 2}, {1, 3, 0, 0, 3}}});
  EXPECT_EQ(leaf_order(tree, {0, 0, 1}), (std::vector<int>{2, 3, 0, 1}));
  EXPECT_EQ(leaf_order(tree, {1, 0, 0}), (std::vector<int>{1, 0, 2, 3}));
  EXPECT_EQ(leaf_order(tree, {1, 1, 1}), (std::vector<int>{3, 2, 1, 0}));
}

TEST(Entanglement, WorkedExamples) {
  const double root3 = std::sqrt(3.0);
  struct Case {
    std::vector<int> order1, order2;
    double norm, expected;
  };
  const Case cases[] = {
      {{0, 1, 2}, {0, 1, 2}, 1.5, 0.0},
      {{0, 1, 2}, {2, 1, 0}, 1.5, 1.0},
      {{0, 1, 2, 3}, {3, 2, 1, 0}, 2.0, 1.0},
      // Two neighbours swapped: 1 + 1 against 2 (3^1.5 + 1).
      {{0, 1, 2, 3}, {1, 0, 2, 3}, 1.5, 2.0 / (2.0 * (3.0 * root3 + 1.0))},
      // Matched by object, not by place: object 3 moves by 3, the others by 1.
      {{3, 0, 1, 2}, {0, 1, 2, 3}, 1.0, 6.0 / 8.0},
      {{0}, {0}, 1.5, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(entanglement(c.order1, c.order2, c.norm), c.expected, 1e-15);
}

// Whether flipping any one node of either tree would lower the entanglement.
bool one_rotation_helps(const TreeShape& a, Flips fa, const TreeShape& b, Flips fb, double now) {
  for (Flips* flips : {&fa, &fb}) {
    for (std::size_t t = 0; t < flips->size(); ++t) {
      (*flips)[t] ^= 1;
      if (entanglement(leaf_order(a, fa), leaf_order(b, fb)) < now - 1e-12) return true;
      (*flips)[t] ^= 1;
    }
  }
  return false;
}

TEST(Untangle, EndsWhereNoSingleRotationHelpsAndNeverWorse) {
  std::mt19937 random(20261210);
  for (const int n : {2, 3, 7, 30, 120}) {
    for (int trial = 0; trial < 6; ++trial) {
      const TreeShape a = shape_of(random_tree(n, 1 + trial % 3, random));
      const TreeShape b = shape_of(random_tree(n, 1, random));
      const double given = entanglement(leaf_order(a, {}), leaf_order(b, {}));
      const Untangled u = untangle(a, b);
      EXPECT_FALSE(u.stopped_early);
      EXPECT_DOUBLE_EQ(u.entanglement, entanglement(leaf_order(a, u.flips1), leaf_order(b, u.flips2)));
      EXPECT_LE(u.entanglement, given + 1e-15) << n;
      EXPECT_FALSE(one_rotation_helps(a, u.flips1, b, u.flips2, u.entanglement)) << n << " " << trial;
    }
  }
}

TEST(Untangle, ATreeAgainstItsOwnRotationsComesOutUntangled) {
  std::mt19937 random(7);
  const DendrogramFile file = random_tree(200, 1, random);
  DendrogramFile rotated = file;
  for (std::size_t i = 0; i < rotated.merges.size(); i += 2) std::swap(rotated.merges[i].first, rotated.merges[i].second);
  const TreeShape a = shape_of(file), b = shape_of(rotated);
  EXPECT_GT(entanglement(leaf_order(a, {}), leaf_order(b, {})), 0.01);
  EXPECT_EQ(untangle(a, b).entanglement, 0.0);
}

TEST(Untangle, AWorkLimitStopsItEarlyWithoutHarm) {
  std::mt19937 random(3);
  const TreeShape a = shape_of(random_tree(300, 1, random)), b = shape_of(random_tree(300, 1, random));
  const Untangled u = untangle(a, b, {kEntanglementNorm, 1000});
  EXPECT_TRUE(u.stopped_early);
  EXPECT_LE(u.entanglement, entanglement(leaf_order(a, {}), leaf_order(b, {})));
}

TEST(ClustersAtLevel, NumberTheCutsClustersFromTheTopOfTheDrawing) {
  // ((1,2) at 1, (3,4) at 2, all at 3), drawn with the second pair on top.
  const TreeShape tree = shape_of({4, {{1, 2, 0, 0, 1}, {3, 4, 0, 0, 2}, {1, 3, 0, 0, 3}}});
  const std::vector<int> order{2, 3, 0, 1};
  EXPECT_EQ(clusters_at_level(tree, 0, order), (std::vector<int>{2, 3, 0, 1}));
  EXPECT_EQ(clusters_at_level(tree, 1, order), (std::vector<int>{2, 2, 0, 1}));
  EXPECT_EQ(clusters_at_level(tree, 2, order), (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(clusters_at_level(tree, 3, order), (std::vector<int>{0, 0, 0, 0}));
}

TEST(SharedClusters, CellsAndTheObjectsThatMove) {
  struct Case {
    std::vector<int> cluster1, cluster2;
    std::vector<char> moved;
  };
  const Case cases[] = {
      // {0,1,2} and {3,4} against {0,1} and {2,3,4}: object 2 moved.
      {{0, 0, 0, 1, 1}, {0, 0, 1, 1, 1}, {0, 0, 1, 0, 0}},
      {{0, 0, 1, 1}, {1, 1, 0, 0}, {0, 0, 0, 0}},
      // A two-two tie in one cluster: both halves hold the most.
      {{0, 0, 0, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}},
      // Cluster 0 of the second takes most of cluster 1 of the first, but
      // cluster 0 of the first holds most of it.
      {{0, 0, 0, 1, 1}, {0, 0, 0, 0, 1}, {0, 0, 0, 1, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(moved_objects(c.cluster1, c.cluster2), c.moved);
  const std::vector<SharedCell> cells = shared_cells({0, 0, 0, 1, 1}, {0, 0, 1, 1, 1});
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1].first, 0);
  EXPECT_EQ(cells[1].second, 1);
  EXPECT_EQ(cells[1].count, 1);
}

TEST(TanglegramLayout, ColoursByTheAdjustedRandMinimumOrTheAskedClusters) {
  std::mt19937 random(11);
  const DendrogramFile first = random_tree(60, 1, random), second = random_tree(60, 2, random);
  CompareOptions exact;
  exact.precision = Precision::exact;
  const Comparison c = run_comparison(first, second, exact);
  const Tanglegram t = tanglegram_layout(c, {0, 0});
  // By default only levels of at most 8 clusters, the root of 60 rounded up.
  const Tanglegram coarse = tanglegram_layout(c);
  double smallest = 2, smallest_coarse = 2;
  for (int k = 1; k <= c.rows(); ++k)
    for (int l = 1; l <= c.columns(); ++l) {
      const double value = c.exact_value(ExactMeasure::adjusted_rand, k, l);
      smallest = std::min(smallest, value);
      if (c.clusters1[k - 1] <= 8 && c.clusters2[l - 1] <= 8) smallest_coarse = std::min(smallest_coarse, value);
    }
  EXPECT_EQ(c.exact_value(ExactMeasure::adjusted_rand, t.row, t.column), smallest);
  EXPECT_EQ(c.exact_value(ExactMeasure::adjusted_rand, coarse.row, coarse.column), smallest_coarse);
  EXPECT_LE(coarse.clusters1, 8);
  EXPECT_LE(coarse.clusters2, 8);
  for (const int asked : {5, 17, 59}) {
    const Tanglegram u = tanglegram_layout(c, {asked, 0, false});
    EXPECT_EQ(u.clusters1, asked);
    EXPECT_EQ(std::set<int>(u.cluster1.begin(), u.cluster1.end()).size(), static_cast<std::size_t>(asked));
    EXPECT_EQ(std::set<int>(u.cluster2.begin(), u.cluster2.end()).size(), static_cast<std::size_t>(u.clusters2));
    EXPECT_EQ(u.entanglement, u.given_entanglement);
  }
  EXPECT_LE(t.entanglement, t.given_entanglement);
  // Every cluster a contiguous run of the drawing, numbered from the top.
  for (std::size_t i = 1; i < t.order1.size(); ++i)
    EXPECT_LE(t.cluster1[t.order1[i] ] - t.cluster1[t.order1[i - 1]], 1);
  // A single-precision comparison gives the same pair from its own tables.
  const Tanglegram s = tanglegram_layout(run_comparison(first, second), {0, 0, false});
  EXPECT_EQ(s.clusters1, t.clusters1);
  EXPECT_EQ(s.clusters2, t.clusters2);
}

}  // namespace
}  // namespace compare::tangle
