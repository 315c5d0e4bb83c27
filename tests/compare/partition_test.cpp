#include "compare/partition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "compare/dendrogram.h"
#include "model/tables.h"

namespace compare {
namespace {

// Packed 0/1 triangle for a partition given as lists of objects.
std::vector<int> triangle_of(int n, const std::vector<std::vector<int>>& clusters) {
  std::vector<int> triangle(packed_table_length(n), 0);
  for (const auto& cluster : clusters)
    for (int i : cluster)
      for (int j : cluster)
        if (i < j) triangle[packed_pair_index(i, j) - 1] = 1;
  return triangle;
}

struct Labelled {
  std::vector<int> labels;
  int count = -1;
};

Labelled label(int n, std::vector<int> triangle) {
  Labelled out;
  out.labels.assign(n, -5);
  label_clusters(n, out.count, IntVector(out.labels.data(), n),
                 IntVector(triangle.data(), static_cast<int>(triangle.size())));
  return out;
}

TEST(LabelClusters, NumbersClustersInTheOrderOfTheirSmallestObject) {
  const Labelled l = label(5, triangle_of(5, {{2, 4}, {1, 3}, {5}}));
  EXPECT_EQ(l.labels, (std::vector<int>{1, 2, 1, 2, 3}));
  EXPECT_EQ(l.count, 3);
}

TEST(LabelClusters, LabelsTheExamplesLevels) {
  struct Case {
    std::vector<std::vector<int>> clusters;
    std::vector<int> labels;
    int count;
  };
  const std::vector<Case> cases = {{{{1, 2}, {3}, {4, 5}}, {1, 1, 2, 3, 3}, 3},
                                   {{{1, 2}, {3, 4, 5}}, {1, 1, 2, 2, 2}, 2},
                                   {{{1, 2, 3, 4, 5}}, {1, 1, 1, 1, 1}, 1},
                                   {{{1}, {2}, {3}, {4}, {5}}, {1, 2, 3, 4, 5}, 5}};
  for (const Case& c : cases) {
    const Labelled l = label(5, triangle_of(5, c.clusters));
    EXPECT_EQ(l.labels, c.labels);
    EXPECT_EQ(l.count, c.count);
  }
}

// A random valid dendrogram: each merge joins two current clusters by their
// smallest objects, heights from a few values so that levels repeat.
std::vector<MergeRecord> random_merges(int n, std::mt19937& random) {
  std::vector<int> names(n);
  for (int i = 0; i < n; ++i) names[i] = i + 1;
  std::vector<MergeRecord> merges;
  float height = 0.0f;
  while (names.size() > 1) {
    std::shuffle(names.begin(), names.end(), random);
    const int x = names.back();
    names.pop_back();
    const int y = names.back();
    names.back() = std::min(x, y);
    if (random() % 2 == 0) height += 1.0f;
    merges.push_back({x, y, 0, 0, height});
  }
  return merges;
}

// Which pairs share a cluster once every merge of height at most the
// level's height has been applied, found by relabelling objects directly.
std::set<std::pair<int, int>> joined_at(int n, const std::vector<MergeRecord>& merges,
                                        float height) {
  std::vector<int> cluster(n + 1);
  for (int i = 1; i <= n; ++i) cluster[i] = i;
  for (const MergeRecord& m : merges) {
    if (m.height > height) continue;
    const int from = cluster[m.second];
    const int to = cluster[m.first];
    for (int i = 1; i <= n; ++i)
      if (cluster[i] == from) cluster[i] = to;
  }
  std::set<std::pair<int, int>> pairs;
  for (int i = 1; i <= n; ++i)
    for (int j = i + 1; j <= n; ++j)
      if (cluster[i] == cluster[j]) pairs.insert({i, j});
  return pairs;
}

std::vector<int> decoded_pair_levels(int n, std::vector<MergeRecord> merges, int& levels) {
  const int m = n - 1;
  std::vector<int> table(m * 4);
  std::vector<float> heights(m);
  for (int i = 0; i < m; ++i) {
    table[i] = merges[i].first;
    table[i + m] = merges[i].second;
    heights[i] = merges[i].height;
  }
  std::vector<int> pair_levels(packed_table_length(n));
  std::vector<int> work(n);
  std::vector<int> membership(n * n);
  decode_dendrogram(IntMatrix(table.data(), m, 4), RealVector(heights.data(), m), m,
                    packed_table_length(n), levels,
                    IntVector(pair_levels.data(), packed_table_length(n)),
                    IntVector(work.data(), n), IntMatrix(membership.data(), n, n), n);
  return pair_levels;
}

std::vector<float> distinct_heights(const std::vector<MergeRecord>& merges) {
  std::set<float> heights;
  for (const MergeRecord& m : merges) heights.insert(m.height);
  return {heights.begin(), heights.end()};
}

TEST(PartitionSweep, CountsAndMarksTheSamePairsAsDirectRelabelling) {
  std::mt19937 random(20261209);
  for (int trial = 0; trial < 40; ++trial) {
    const int n = 2 + static_cast<int>(random() % 12);
    const auto merges1 = random_merges(n, random);
    const auto merges2 = random_merges(n, random);
    int levels1 = 0, levels2 = 0;
    auto pair_levels1 = decoded_pair_levels(n, merges1, levels1);
    auto pair_levels2 = decoded_pair_levels(n, merges2, levels2);
    const auto heights1 = distinct_heights(merges1);
    const auto heights2 = distinct_heights(merges2);
    ASSERT_EQ(levels1, static_cast<int>(heights1.size()));
    ASSERT_EQ(levels2, static_cast<int>(heights2.size()));
    const int np = packed_table_length(n);
    for (int k = 1; k <= levels1; ++k) {
      for (int l = 1; l <= levels2; ++l) {
        std::vector<int> t1(np, 9), t2(np, 9);
        const PairCounts counts =
            sweep_partitions(n, k, l, IntVector(pair_levels1.data(), np),
                             IntVector(pair_levels2.data(), np), IntVector(t1.data(), np),
                             IntVector(t2.data(), np));
        const auto joined1 = joined_at(n, merges1, heights1[k - 1]);
        const auto joined2 = joined_at(n, merges2, heights2[l - 1]);
        int both = 0;
        for (const auto& p : joined1) both += static_cast<int>(joined2.count(p));
        EXPECT_EQ(counts.a, both);
        EXPECT_EQ(counts.a_plus_b, static_cast<int>(joined1.size()));
        EXPECT_EQ(counts.a_plus_c, static_cast<int>(joined2.size()));
        for (int i = 1; i <= n; ++i) {
          for (int j = i + 1; j <= n; ++j) {
            EXPECT_EQ(t1[packed_pair_index(i, j) - 1], static_cast<int>(joined1.count({i, j})));
            EXPECT_EQ(t2[packed_pair_index(i, j) - 1], static_cast<int>(joined2.count({i, j})));
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace compare
