#include "engine/single/fast_crossing_row.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace compare::fast {
namespace {

// What the columns of one block add to the significand m of a sum
// S = m * 2^shift, folded one specified step at a time.
std::uint64_t stepped_block(std::uint64_t m, int shift, int row_size, const std::vector<int>& block_sizes) {
  const auto square = [](int size) {
    return static_cast<float>(static_cast<double>(static_cast<float>(size)) * static_cast<float>(size));
  };
  float sum = static_cast<float>(std::ldexp(static_cast<double>(m), shift));
  for (int size : block_sizes)
    sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(square(size)) * square(row_size));
  return static_cast<std::uint64_t>(std::ldexp(static_cast<double>(sum), -shift)) - m;
}

struct BlockCase {
  const char* what;
  int row_size;
  int shift;  // the binade of S is 23 + shift
  std::vector<int> column_sizes;
};

std::vector<int> cycled(std::vector<int> pattern, int count) {
  std::vector<int> result;
  for (int i = 0; i < count; ++i) result.push_back(pattern[i % pattern.size()]);
  return result;
}

// Every block of each case, from an even and an odd m, twice (worked out,
// then kept), against the step-by-step fold.
TEST(CrossingRowBlockEffect, EqualsTheStepByStepFoldFromEitherParity) {
  const std::vector<BlockCase> cases = {
      {"2^24: every odd term a tie", 3, 1, cycled({1, 3, 2, 5, 7, 4, 1}, 75)},
      {"2^30: terms 64 times an odd square tie", 8, 7, cycled({1, 3, 5, 2, 9, 1, 4}, 70)},
      {"2^24: even terms, no tie", 2, 1, cycled({1, 3, 2, 5}, 64)},
      {"2^43: large terms rounding up and down", 300, 20, cycled({700, 1, 45, 4097, 3, 1000}, 40)},
      {"a tie after rounded terms", 1, 3, cycled({2, 3, 1, 2, 2, 5, 6}, 33)},
  };
  for (const BlockCase& c : cases) {
    const ClusterMargins columns(c.column_sizes);
    CrossingRowFolder folder(columns);
    const auto row_square = static_cast<std::uint64_t>(c.row_size) * static_cast<std::uint64_t>(c.row_size);
    for (int round = 0; round < 2; ++round) {
      for (int block = 0; block * ClusterMargins::kColumnBlock < columns.count(); ++block) {
        const auto first = c.column_sizes.begin() + block * ClusterMargins::kColumnBlock;
        const std::vector<int> block_sizes(first, std::min(first + ClusterMargins::kColumnBlock, c.column_sizes.end()));
        for (const std::uint64_t m : {std::uint64_t{1} << 23, (std::uint64_t{1} << 23) + 1}) {
          EXPECT_EQ(folder.block_effect(row_square, c.shift, block).step[m & 1],
                    stepped_block(m, c.shift, c.row_size, block_sizes))
              << c.what << ", block " << block << ", m " << (m & 1 ? "odd" : "even") << ", round " << round;
        }
      }
    }
  }
}

// Kept effects belong to the columns they were worked out for, also when
// the count of column partitions passes what a slot's key can tell apart
// (2^16) and the first partition's key comes round again.
TEST(CrossingRowBlockEffect, IsNeverTakenFromEarlierColumns) {
  const ClusterMargins first(cycled({1, 3, 2}, 40)), second(cycled({5, 1}, 40));
  const std::uint64_t m = std::uint64_t{1} << 23;
  CrossingRowFolder folder(first);
  ASSERT_EQ(folder.block_effect(9, 1, 0).step[0], stepped_block(m, 1, 3, cycled({1, 3, 2}, 32)));
  for (int partitions = 1; partitions <= 70000; ++partitions) {
    folder.use_columns(partitions % 2 == 0 ? first : second);
    if (partitions < 65535) continue;
    const std::vector<int> now = partitions % 2 == 0 ? cycled({1, 3, 2}, 32) : cycled({5, 1}, 32);
    ASSERT_EQ(folder.block_effect(9, 1, 0).step[0], stepped_block(m, 1, 3, now))
        << "after " << partitions << " column partitions";
  }
}

}  // namespace
}  // namespace compare::fast
