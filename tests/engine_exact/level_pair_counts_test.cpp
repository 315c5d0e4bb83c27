// The exact engine's pair counts against a brute-force count over every
// object pair, on random dendrograms with and without tied heights, for all
// levels and for the top levels alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "model/levels.h"
#include "engine/exact/level_pair_counts.h"
#include "engine/exact/reduced_tree.h"

namespace compare::exact {
namespace {

// Merges of random current clusters, named by their smallest objects, at
// heights drawn from `distinct_heights` values (few values: many ties).
DendrogramFile random_dendrogram(int n, int distinct_heights, std::mt19937& random) {
  DendrogramFile file;
  file.object_count = n;
  std::vector<int> names(n);
  for (int i = 0; i < n; ++i) names[i] = i + 1;
  std::vector<float> heights(n - 1);
  for (float& h : heights) h = static_cast<float>(random() % distinct_heights);
  std::sort(heights.begin(), heights.end());
  for (int m = 0; m < n - 1; ++m) {
    std::swap(names[random() % names.size()], names.back());
    int a = names.back();
    names.pop_back();
    const std::size_t other = random() % names.size();
    int b = names[other];
    names[other] = std::min(a, b);
    if (random() % 2) std::swap(a, b);
    file.merges.push_back({a, b, 0, 0, heights[m]});
  }
  return file;
}

std::vector<int> pair_levels(const LevelledDendrogram& d) {
  const int n = d.object_count;
  std::vector<int> levels(static_cast<std::size_t>(n + 1) * (n + 1), 0);
  for_each_joined_pair(d, [&](int x, int y, int level) {
    levels[static_cast<std::size_t>(x) * (n + 1) + y] = levels[static_cast<std::size_t>(y) * (n + 1) + x] = level;
  });
  return levels;
}

// Cluster of every object at a level: merges up to it applied.
std::vector<int> labels_at(const LevelledDendrogram& d, int level) {
  std::vector<int> name(d.object_count + 1);
  for (int x = 1; x <= d.object_count; ++x) name[x] = x;
  for (const LevelledMerge& m : d.merges)
    if (m.level <= level)
      for (int& n : name)
        if (n == m.absorbed) n = m.kept;
  return name;
}

double x_log_x(double x) { return x < 2 ? 0.0 : x * std::log(x); }

// The sum of n log n over the cells of the contingency table, worked out
// from the two labellings.
double joint_information(const std::vector<int>& labels1, const std::vector<int>& labels2) {
  std::map<std::pair<int, int>, int> cells;
  for (std::size_t x = 1; x < labels1.size(); ++x) ++cells[{labels1[x], labels2[x]}];
  double sum = 0;
  for (const auto& [cell, count] : cells) sum += x_log_x(count);
  return sum;
}

double cluster_information(const std::vector<int>& labels) {
  std::map<int, int> sizes;
  for (std::size_t x = 1; x < labels.size(); ++x) ++sizes[labels[x]];
  double sum = 0;
  for (const auto& [label, size] : sizes) sum += x_log_x(size);
  return sum;
}

struct Case {
  int n, distinct_heights1, distinct_heights2, max_clusters, threads;
};

class LevelPairCountsTest : public ::testing::TestWithParam<Case> {};

TEST_P(LevelPairCountsTest, EqualsACountOverEveryPair) {
  const Case c = GetParam();
  std::mt19937 random(c.n * 7919 + c.distinct_heights1 * 31 + c.max_clusters);
  for (int trial = 0; trial < 5; ++trial) {
    const auto first = level_merges(random_dendrogram(c.n, c.distinct_heights1, random), c.n);
    const auto second = level_merges(random_dendrogram(c.n, c.distinct_heights2, random), c.n);
    const KeptLevels rows = kept_levels(first, c.max_clusters), columns = kept_levels(second, c.max_clusters);
    LevelPairCounts counts;
    ASSERT_TRUE(count_level_pairs(first, rows, second, columns, c.threads, {}, counts, true));
    for (int r = 0; r < rows.count && columns.count > 0; ++r) {
      const auto labels1 = labels_at(first, rows.base_level + r);
      ASSERT_NEAR(counts.information.row_clusters[r], cluster_information(labels1), 1e-9);
      for (int col = 0; col < columns.count; ++col) {
        const auto labels2 = labels_at(second, columns.base_level + col);
        ASSERT_NEAR(counts.information.at(r, col), joint_information(labels1, labels2), 1e-9)
            << "k " << rows.base_level + r << " l " << columns.base_level + col;
        if (r == 0) {
          ASSERT_NEAR(counts.information.column_clusters[col], cluster_information(labels2), 1e-9);
        }
      }
    }
    const std::vector<int> levels1 = pair_levels(first), levels2 = pair_levels(second);
    const std::vector<int> clusters1 = clusters_per_level(first), clusters2 = clusters_per_level(second);
    if (rows.count > 0) {
      EXPECT_LE(clusters1[rows.base_level - 1], c.max_clusters > 0 ? c.max_clusters : c.n);
      if (rows.base_level > 1) {
        EXPECT_GT(clusters1[rows.base_level - 2], c.max_clusters);  // the lowest that fits
      }
    }
    for (int r = 0; r < rows.count; ++r) {
      for (int col = 0; col < columns.count; ++col) {
        const int k = rows.base_level + r, l = columns.base_level + col;
        std::int64_t both = 0, joined1 = 0, joined2 = 0;
        for (int x = 1; x <= c.n; ++x)
          for (int y = x + 1; y <= c.n; ++y) {
            const std::size_t at = static_cast<std::size_t>(x) * (c.n + 1) + y;
            joined1 += levels1[at] <= k;
            joined2 += levels2[at] <= l;
            both += levels1[at] <= k && levels2[at] <= l;
          }
        ASSERT_EQ(counts.both.at(r, col), static_cast<std::uint64_t>(both)) << "k " << k << " l " << l;
        ASSERT_EQ(counts.joined1[r], joined1);
        ASSERT_EQ(counts.joined2[col], joined2);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LevelPairCountsTest,
                         ::testing::Values(Case{2, 1, 1, 0, 1}, Case{3, 5, 5, 0, 1}, Case{12, 100, 100, 0, 1},
                                           Case{12, 3, 100, 0, 2}, Case{40, 100, 100, 0, 2},
                                           Case{40, 4, 6, 0, 2}, Case{40, 100, 100, 5, 2},
                                           Case{40, 100, 7, 10, 1}, Case{60, 1000, 1000, 1, 2},
                                           Case{60, 9, 1000, 25, 3}, Case{25, 2, 2, 0, 2}));

}  // namespace
}  // namespace compare::exact
