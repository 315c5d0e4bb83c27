// The column tables of the margins, worked out by hand: stored squares as
// whole numbers, their exact prefix sums, distinct sizes with counts, tier
// runs from a column on, and column blocks summarised by distinct squares.
#include "engine/single/fast_margins.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace compare::fast {
namespace {

template <typename T>
std::vector<std::int64_t> widen(std::span<const T> values) {
  return {values.begin(), values.end()};
}

using Values = std::vector<std::int64_t>;

TEST(ClusterMarginsColumns, KeepsStoredSquaresPrefixSumsAndDistinctSizes) {
  // 4097^2 = 16785409 is a tie between two 4-byte reals and is stored as 16785408.
  const ClusterMargins m(std::vector<int>{3, 1, 3, 4097, 1, 2});
  EXPECT_EQ(widen(m.whole_squares()), (Values{9, 1, 9, 16785408, 1, 4}));
  EXPECT_EQ(widen(m.square_prefix()), (Values{0, 9, 10, 19, 16785427, 16785428, 16785432}));
  EXPECT_EQ(widen(m.distinct_sizes()), (Values{1, 2, 3, 4097}));
  EXPECT_EQ(widen(m.distinct_counts()), (Values{2, 1, 2, 1}));
}

struct TierCase {
  int tier;
  int from;
  Values squares;
};

TEST(ClusterMarginsColumns, GivesTheSquaresOfATierFromAColumnOn) {
  const ClusterMargins m(std::vector<int>{3, 1, 5, 2, 9, 1});
  const TierCase cases[] = {
      {-1, 0, {9, 1, 25, 4, 81, 1}},  // every column
      {-1, 4, {81, 1}},
      {0, 0, {9, 25, 4, 81}},  // sizes above 1
      {1, 0, {9, 25, 81}},     // sizes above 2
      {1, 1, {25, 81}},
      {2, 0, {25, 81}},  // sizes above 4
      {3, 0, {81}},      // sizes above 8
      {3, 5, {}},
  };
  for (const TierCase& c : cases)
    EXPECT_EQ(widen(m.squares_from(c.tier, c.from)), c.squares) << "tier " << c.tier << " from " << c.from;
}

TEST(ClusterMarginsColumns, SummarisesEachColumnBlockByItsDistinctSquares) {
  std::vector<int> sizes(70, 1);  // blocks of 32, 32 and 6 columns
  sizes[0] = sizes[31] = 2;
  sizes[40] = 7;
  sizes[66] = sizes[67] = sizes[68] = 3;
  const ClusterMargins m(sizes);
  EXPECT_EQ(widen(m.block_distinct_squares(0)), (Values{1, 4}));
  EXPECT_EQ(widen(m.block_distinct_counts(0)), (Values{30, 2}));
  EXPECT_EQ(widen(m.block_distinct_squares(1)), (Values{1, 49}));
  EXPECT_EQ(widen(m.block_distinct_counts(1)), (Values{31, 1}));
  EXPECT_EQ(widen(m.block_distinct_squares(2)), (Values{1, 9}));
  EXPECT_EQ(widen(m.block_distinct_counts(2)), (Values{3, 3}));
}

TEST(ClusterMarginsColumns, KeepsNoColumnTablesForRows) {
  const ClusterMargins rows(std::vector<int>{3, 1, 2}, false);
  EXPECT_TRUE(rows.whole_squares().empty());
  EXPECT_TRUE(rows.square_prefix().empty());
  EXPECT_TRUE(rows.distinct_sizes().empty());
  EXPECT_EQ(rows.square_sum(), 14);
}

}  // namespace
}  // namespace compare::fast
