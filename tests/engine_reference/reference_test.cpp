#include "engine/reference/reference.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "compare/dendrogram.h"
#include "compare/level_pairs.h"

namespace compare {
namespace {

const DendrogramFile kFirst{5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f},
                                {1, 3, 0, 0, 2.0f}}};
const DendrogramFile kSecond{5, {{1, 3, 0, 0, 1.0f}, {2, 4, 0, 0, 2.0f}, {1, 2, 0, 0, 3.0f},
                                 {1, 5, 0, 0, 4.0f}}};

DendrogramFile chain(int n, std::vector<float> heights) {
  DendrogramFile file{n, {}};
  for (int j = 2; j <= n; ++j) file.merges.push_back({1, j, 0, 0, heights[j - 2]});
  return file;
}

// Exact values of the example, worked out by hand from its partitions.
struct ExpectedPair {
  int k, l;
  std::array<double, 5> values;
};
const std::vector<ExpectedPair> kExampleValues = {
    {1, 1, {1.0, 3.0 / 10, std::sqrt(3.0), 1.0, 15.0 / 13}},
    {1, 2, {1.0, 4.0 / 10, 2.0, 1.0, 5.0 / 4}},
    {1, 3, {6.0 / 7, 6.0 / 10, std::sqrt(6.0), 6.0 / 8, 15.0 / 14}},
    {2, 1, {1.0, 5.0 / 10, std::sqrt(5.0), 1.0, 25.0 / 21}},
    {2, 2, {1.0, 6.0 / 10, std::sqrt(6.0), 1.0, 15.0 / 11}},
    {2, 3, {6.0 / 8, 6.0 / 10, std::sqrt(6.0), 6.0 / 10, 15.0 / 13}},
};

TEST(CompareReference, GivesTheExamplesSixLevelPairsToTheBit) {
  const ComparisonTables t = compare_reference(kFirst, kSecond);
  ASSERT_EQ(t.levels1, 3);
  ASSERT_EQ(t.levels2, 4);
  ASSERT_EQ(t.values.size(), 30u);
  for (const ExpectedPair& e : kExampleValues)
    for (int m = 1; m <= 5; ++m)
      EXPECT_EQ(t.value(m, e.k, e.l), static_cast<float>(e.values[m - 1]))
          << "measure " << m << " at " << e.k << "," << e.l;
  EXPECT_EQ(t.cluster_counts1, (std::vector<int>{3, 2}));
  EXPECT_EQ(t.cluster_counts2, (std::vector<int>{4, 3, 2}));
}

TEST(CompareReference, FindsTheExamplesMinimaWithTheirClusterCounts) {
  const ComparisonTables t = compare_reference(kFirst, kSecond);
  const std::array<MinimumRecord, 5> expected = {{{static_cast<float>(0.75), 2, 2},
                                                  {static_cast<float>(0.3), 3, 4},
                                                  {static_cast<float>(std::sqrt(3.0)), 3, 4},
                                                  {static_cast<float>(0.6), 2, 2},
                                                  {static_cast<float>(15.0 / 14), 3, 2}}};
  for (int m = 0; m < 5; ++m) {
    EXPECT_EQ(t.minima[m].smallest, expected[m].smallest) << "measure " << m + 1;
    EXPECT_EQ(t.minima[m].clusters1, expected[m].clusters1) << "measure " << m + 1;
    EXPECT_EQ(t.minima[m].clusters2, expected[m].clusters2) << "measure " << m + 1;
  }
}

TEST(CompareReference, ComparesNineLevelPairsForFourDistinctHeightsEach) {
  const DendrogramFile file = chain(5, {1.0f, 2.0f, 3.0f, 4.0f});
  const ComparisonTables t = compare_reference(file, file);
  EXPECT_EQ(t.levels1, 4);
  EXPECT_EQ(t.levels2, 4);
  EXPECT_EQ(t.values.size(), 9u * 5u);
  EXPECT_EQ(t.cluster_counts1, (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(t.cluster_counts2, (std::vector<int>{4, 3, 2}));
}

TEST(CompareReference, LetsTheFirstLevelPairInLoopOrderWinATie) {
  // Compared with itself every diagonal level pair gives 0; (1, 1) comes first.
  const ComparisonTables t = compare_reference(chain(5, {1.0f, 2.0f, 3.0f, 4.0f}),
                                               chain(5, {1.0f, 2.0f, 3.0f, 4.0f}));
  for (const MinimumRecord& r : t.minima) {
    EXPECT_EQ(r.smallest, 0.0f);
    EXPECT_EQ(r.clusters1, 4);
    EXPECT_EQ(r.clusters2, 4);
  }
}

TEST(CompareReference, MergesAtEqualHeightsFormOneLevel) {
  EXPECT_EQ(compare_reference(chain(5, {1.0f, 2.0f, 2.0f, 3.0f}), kSecond).levels1, 3);
}

void expect_untouched_minima(const ComparisonTables& t) {
  for (const MinimumRecord& r : t.minima) {
    EXPECT_EQ(r.smallest, 100.0f);
    EXPECT_EQ(r.clusters1, 0);
    EXPECT_EQ(r.clusters2, 0);
  }
}

TEST(CompareReference, ComparesNothingWhenTheFirstDendrogramHasOneLevel) {
  const ComparisonTables t = compare_reference(chain(5, {2.0f, 2.0f, 2.0f, 2.0f}), kSecond);
  EXPECT_EQ(t.levels1, 1);
  EXPECT_EQ(t.levels2, 4);
  EXPECT_TRUE(t.values.empty());
  EXPECT_TRUE(t.cluster_counts1.empty());
  EXPECT_EQ(t.cluster_counts2, (std::vector<int>{0, 0, 0}));
  expect_untouched_minima(t);
}

TEST(CompareReference, ComparesNothingWhenTheSecondDendrogramHasOneLevel) {
  const ComparisonTables t = compare_reference(kFirst, chain(5, {2.0f, 2.0f, 2.0f, 2.0f}));
  EXPECT_EQ(t.levels1, 3);
  EXPECT_EQ(t.levels2, 1);
  EXPECT_TRUE(t.values.empty());
  EXPECT_EQ(t.cluster_counts1, (std::vector<int>{0, 0}));
  EXPECT_TRUE(t.cluster_counts2.empty());
  expect_untouched_minima(t);
}

TEST(CompareReference, IgnoresTheSecondFilesObjectCountAndExtraRecords) {
  DendrogramFile second = kSecond;
  second.object_count = 9;
  second.merges.push_back({7, 8, 0, 0, 0.1f});
  const ComparisonTables t = compare_reference(kFirst, second);
  EXPECT_EQ(t.levels2, 4);
  EXPECT_EQ(t.value(5, 1, 3), static_cast<float>(15.0 / 14));
}

TEST(CompareReference, RefusesASecondFileWithTooFewMergeRecords) {
  DendrogramFile second = kSecond;
  second.merges.pop_back();
  EXPECT_THROW(compare_reference(kFirst, second), std::invalid_argument);
}

TEST(CompareReference, ComparesNothingForFewerThanTwoObjects) {
  for (int n : {1, 0, -3}) {
    const ComparisonTables t = compare_reference(DendrogramFile{n, {}}, DendrogramFile{n, {}});
    EXPECT_TRUE(t.values.empty());
    expect_untouched_minima(t);
  }
}

// The program body hands the loop its own arrays; the loop must write them
// in their column-major shapes: measure (m, k, l) at (m-1) + 5(k-1) + 5N(l-1),
// cluster count (i, k) at (i-1) + 2(k-1).
TEST(CompareLevelPairs, WritesCallerStorageInItsAllocatedShapes) {
  const int n = 5;
  const int np = packed_table_length(n);
  // Pair levels of the two example dendrograms, from their merges by hand.
  struct Joined {
    int i, j, level;
  };
  auto pair_levels = [&](int top, std::vector<Joined> below) {
    std::vector<int> t(np, 0);
    for (int i = 1; i <= n; ++i)
      for (int j = i + 1; j <= n; ++j) t[packed_pair_index(i, j) - 1] = top;
    for (const Joined& p : below) t[packed_pair_index(p.i, p.j) - 1] = p.level;
    return t;
  };
  std::vector<int> pl1 = pair_levels(3, {{1, 2, 1}, {4, 5, 1}, {3, 4, 2}, {3, 5, 2}});
  std::vector<int> pl2 = pair_levels(
      4, {{1, 3, 1}, {2, 4, 2}, {1, 2, 3}, {1, 4, 3}, {2, 3, 3}, {3, 4, 3}});
  std::vector<int> t1(np), t2(np), labels1(n), labels2(n), contingency(n * n), counts(2 * n);
  std::vector<float> table(5 * n * n, -1.0f), rows(n), columns(n);
  const LevelPairStorage s{IntVector(pl1.data(), np), IntVector(pl2.data(), np),
                           IntVector(t1.data(), np), IntVector(t2.data(), np),
                           IntVector(labels1.data(), n), IntVector(labels2.data(), n),
                           RealArray3(table.data(), 5, n, n),
                           ContingencyWork{IntMatrix(contingency.data(), n, n),
                                           RealVector(rows.data(), n), RealVector(columns.data(), n)},
                           IntMatrix(counts.data(), 2, n)};
  std::array<MinimumRecord, 5> minima{};
  compare_level_pairs(n, 3, 4, s, minima);
  for (const ExpectedPair& e : kExampleValues)
    for (int m = 1; m <= 5; ++m)
      EXPECT_EQ(table[(m - 1) + 5 * (e.k - 1) + 5 * n * (e.l - 1)],
                static_cast<float>(e.values[m - 1]));
  EXPECT_EQ(table[5 * 2], -1.0f);  // level 3 of dendrogram 1 is never compared
  EXPECT_EQ(counts, (std::vector<int>{3, 4, 2, 3, 0, 2, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace compare
