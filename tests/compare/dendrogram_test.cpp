#include "compare/dendrogram.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "model/tables.h"

namespace compare {
namespace {

// One dendrogram decoded in storage of the shapes the program allocates.
struct Decoded {
  std::vector<int> merge_table;  // (N-1, 4), column-major
  std::vector<float> merge_heights;
  std::vector<int> pair_levels;
  int level_count = -1;
  int n = 0;

  int pair_level(int i, int j) const { return pair_levels[packed_pair_index(i, j) - 1]; }
  int cell(int row, int column) const { return merge_table[(row - 1) + (column - 1) * (n - 1)]; }
};

Decoded decode(int n, const std::vector<MergeRecord>& merges) {
  Decoded d;
  d.n = n;
  const int m = n - 1;
  d.merge_table.resize(m * 4);
  d.merge_heights.resize(m);
  d.pair_levels.assign(packed_table_length(n), -1);
  for (int i = 0; i < m; ++i) {
    d.merge_table[i] = merges[i].first;
    d.merge_table[i + m] = merges[i].second;
    d.merge_table[i + 2 * m] = merges[i].companion1;
    d.merge_table[i + 3 * m] = merges[i].companion2;
    d.merge_heights[i] = merges[i].height;
  }
  std::vector<int> label_work(n, -7);
  std::vector<int> membership(n * n, -7);
  decode_dendrogram(IntMatrix(d.merge_table.data(), m, 4), RealVector(d.merge_heights.data(), m),
                    m, packed_table_length(n), d.level_count,
                    IntVector(d.pair_levels.data(), packed_table_length(n)),
                    IntVector(label_work.data(), n), IntMatrix(membership.data(), n, n), n);
  return d;
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();

const std::vector<MergeRecord> kExample = {
    {1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {1, 3, 0, 0, 2.0f}};

// Pair levels of the example, worked out from its merges by hand.
const std::map<std::pair<int, int>, int> kExamplePairLevels = {
    {{1, 2}, 1}, {{1, 3}, 3}, {{1, 4}, 3}, {{1, 5}, 3}, {{2, 3}, 3},
    {{2, 4}, 3}, {{2, 5}, 3}, {{3, 4}, 2}, {{3, 5}, 2}, {{4, 5}, 1}};

void expect_example_pair_levels(const Decoded& d) {
  EXPECT_EQ(d.level_count, 3);
  for (const auto& [pair, level] : kExamplePairLevels)
    EXPECT_EQ(d.pair_level(pair.first, pair.second), level)
        << "pair " << pair.first << "," << pair.second;
}

TEST(PackedPairIndex, NumbersTheLowerTriangleRowByRowWithItsDiagonal) {
  int position = 0;
  for (int a = 1; a <= 40; ++a) {
    for (int b = 1; b <= a; ++b) {
      ++position;
      EXPECT_EQ(packed_pair_index(a, b), position);
      EXPECT_EQ(packed_pair_index(b, a), position);
    }
  }
}

TEST(PackedPairIndex, PlacesThreeAndFiveAtThirteenAndTheDiagonalAtTheTriangleNumber) {
  EXPECT_EQ(packed_pair_index(3, 5), 13);
  EXPECT_EQ(packed_pair_index(5, 3), 13);
  for (int i = 1; i <= 100; ++i) EXPECT_EQ(packed_pair_index(i, i), i * (i + 1) / 2);
}

TEST(PackedPairIndex, ReachesTheLargestObjectWithoutOverflow) {
  EXPECT_EQ(packed_pair_index(46340, 46340), 1073720970);
  EXPECT_EQ(packed_table_length(46340), 1073720970);
}

TEST(DecodeDendrogram, GivesTheExamplesPairLevels) { expect_example_pair_levels(decode(5, kExample)); }

TEST(DecodeDendrogram, GivesTheSamePairLevelsForReorderedAndSwappedRecords) {
  const std::vector<MergeRecord> reordered = {
      {1, 3, 0, 0, 2.0f}, {5, 4, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {2, 1, 0, 0, 0.5f}};
  expect_example_pair_levels(decode(5, reordered));
}

TEST(DecodeDendrogram, SortsRowsByHeightKeepingFileOrderAmongEqualHeights) {
  const Decoded d = decode(5, {{3, 4, 0, 0, 1.0f}, {1, 2, 0, 0, 0.5f}, {1, 3, 0, 0, 2.0f},
                               {4, 5, 0, 0, 0.5f}});
  const std::vector<std::pair<int, int>> rows = {{1, 2}, {4, 5}, {3, 4}, {1, 3}};
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(d.cell(r, 1), rows[r - 1].first);
    EXPECT_EQ(d.cell(r, 2), rows[r - 1].second);
  }
  EXPECT_EQ(d.merge_heights, (std::vector<float>{1.0f, 1.0f, 2.0f, 3.0f}));
}

TEST(DecodeDendrogram, ExchangesCompanionsWithTheirClusters) {
  const Decoded d = decode(3, {{3, 2, 30, 20, 1.0f}, {2, 1, 21, 11, 2.0f}});
  EXPECT_EQ(d.cell(1, 1), 2);
  EXPECT_EQ(d.cell(1, 2), 3);
  EXPECT_EQ(d.cell(1, 3), 20);
  EXPECT_EQ(d.cell(1, 4), 30);
  EXPECT_EQ(d.cell(2, 1), 1);
  EXPECT_EQ(d.cell(2, 3), 11);
  EXPECT_EQ(d.cell(2, 4), 21);
}

TEST(DecodeDendrogram, TreatsHeightsEqualInSinglePrecisionAsOneLevel) {
  const float h1 = static_cast<float>(1.0);
  const float h2 = static_cast<float>(1.0 + 1e-9);
  const Decoded d = decode(4, {{1, 2, 0, 0, h1}, {3, 4, 0, 0, h2}, {1, 3, 0, 0, 2.0f}});
  EXPECT_EQ(d.level_count, 2);
  EXPECT_EQ(d.pair_level(1, 2), 1);
  EXPECT_EQ(d.pair_level(3, 4), 1);
  EXPECT_EQ(d.pair_level(2, 4), 2);
}

TEST(DecodeDendrogram, CountsOneLevelPerDistinctHeight) {
  struct Case {
    std::vector<float> heights;
    int levels;
  };
  const std::vector<Case> cases = {{{1.0f, 2.0f, 3.0f, 4.0f}, 4},
                                   {{1.0f, 2.0f, 2.0f, 3.0f}, 3},
                                   {{7.0f, 7.0f, 7.0f, 7.0f}, 1},
                                   {{-kInfinity, 0.0f, 0.0f, kInfinity}, 3}};
  for (const Case& c : cases) {
    std::vector<MergeRecord> chain;
    for (int j = 2; j <= 5; ++j) chain.push_back({1, j, 0, 0, c.heights[j - 2]});
    EXPECT_EQ(decode(5, chain).level_count, c.levels);
  }
}

TEST(DecodeDendrogram, JoinsAClusterFormedEarlierAtTheSameHeight) {
  const Decoded d = decode(4, {{1, 2, 0, 0, 1.0f}, {1, 3, 0, 0, 1.0f}, {1, 4, 0, 0, 2.0f}});
  EXPECT_EQ(d.pair_level(2, 3), 1);
  EXPECT_EQ(d.pair_level(1, 3), 1);
  EXPECT_EQ(d.pair_level(3, 4), 2);
}

TEST(DecodeDendrogram, LeavesDiagonalEntriesAtZero) {
  const Decoded d = decode(5, kExample);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(d.pair_level(i, i), 0);
}

}  // namespace
}  // namespace compare
