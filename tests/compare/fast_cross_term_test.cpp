#include "compare/fast_cross_term.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

namespace compare::fast {
namespace {

// The fold written out step by step, independent of the engine's helpers.
float plain_fold(const std::vector<int>& rows, const std::vector<int>& columns) {
  float sum = 0.0f;
  for (int r : rows) {
    const float rr = static_cast<float>(static_cast<double>(static_cast<float>(r)) * static_cast<float>(r));
    for (int c : columns) {
      const float cc = static_cast<float>(static_cast<double>(static_cast<float>(c)) * static_cast<float>(c));
      sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(cc) * static_cast<double>(rr));
    }
  }
  return sum;
}

::testing::AssertionResult folds_agree(const std::vector<int>& rows, const std::vector<int>& columns) {
  const float expected = plain_fold(rows, columns);
  const float actual = fold_cross_term(ClusterMargins(rows), ClusterMargins(columns));
  if (std::bit_cast<std::uint32_t>(expected) == std::bit_cast<std::uint32_t>(actual))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "plain " << expected << " vs fast " << actual << " (" << rows.size()
                                       << " rows, " << columns.size() << " columns)";
}

// A random partition of n objects: a few large clusters and many small ones.
std::vector<int> random_sizes(int n, int big_clusters, std::mt19937_64& random) {
  std::vector<int> sizes;
  int left = n;
  for (int i = 0; i < big_clusters && left > 1; ++i) {
    const int size = 1 + static_cast<int>(random() % static_cast<std::uint64_t>(left));
    sizes.push_back(size);
    left -= size;
  }
  while (left > 0) {
    const int size = std::min(left, 1 + static_cast<int>(random() % 4));
    sizes.push_back(size);
    left -= size;
  }
  std::shuffle(sizes.begin(), sizes.end(), random);
  return sizes;
}

struct FoldCase {
  const char* what;
  std::vector<int> rows;
  std::vector<int> columns;
};

TEST(CrossTermFold, EqualsThePlainFoldOnHandPickedMargins) {
  const std::vector<int> singletons(3000, 1);
  std::vector<int> big_and_singletons(2000, 1);
  big_and_singletons.insert(big_and_singletons.begin() + 7, 5000);
  std::vector<int> powers_of_two;
  for (int i = 0; i < 200; ++i) powers_of_two.push_back(1 << (i % 12));
  const std::vector<FoldCase> cases = {
      {"worked example", {2, 1, 2}, {4, 1}},
      {"one cluster each", {7000}, {7000}},
      {"squares above 4096 round", {4097, 4099, 8191, 1}, {4097, 5001, 3}},
      {"all singletons", singletons, singletons},
      {"a giant among singletons", big_and_singletons, big_and_singletons},
      {"giant last", {1, 1, 1, 1, 9000}, {9000, 1, 1}},
      {"powers of two stay exact longer", powers_of_two, powers_of_two},
      {"even squares", std::vector<int>(500, 2), std::vector<int>(700, 4)},
      {"odd large", std::vector<int>(300, 4097), std::vector<int>(20, 4095)},
  };
  for (const FoldCase& c : cases) EXPECT_TRUE(folds_agree(c.rows, c.columns)) << c.what;
}

TEST(CrossTermFold, EqualsThePlainFoldOnRandomLargePartitions) {
  std::mt19937_64 random(4242);
  for (int trial = 0; trial < 400; ++trial) {
    const int n = 2 + static_cast<int>(random() % 12000);
    const std::vector<int> rows = random_sizes(n, static_cast<int>(random() % 6), random);
    const std::vector<int> columns = random_sizes(n, static_cast<int>(random() % 6), random);
    if (rows.size() * columns.size() > 20'000'000) continue;
    ASSERT_TRUE(folds_agree(rows, columns)) << "trial " << trial << ", n = " << n;
  }
}

TEST(CrossTermFold, EqualsThePlainFoldWhenSumsPassTwoToTheFiftyTwo) {
  // 46340 objects in one cluster against a handful: terms near 2^62.
  EXPECT_TRUE(folds_agree({46340}, {46340}));
  EXPECT_TRUE(folds_agree({40000, 6000, 340}, {20000, 20000, 6339, 1}));
  EXPECT_TRUE(folds_agree({30000, 1, 1, 1, 16337}, {46000, 1, 1, 1, 1, 1, 335}));
}

}  // namespace
}  // namespace compare::fast
