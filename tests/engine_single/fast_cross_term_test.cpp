#include "engine/single/fast_cross_term.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "model/levels.h"
#include "engine/single/fast_row_groups.h"
#include "support/fast_cross_term_oracle.h"
#include "support/fast_shapes.h"

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

// A table of row effects far too small for the sizes seen: effects keep
// pushing each other out and are built again, for one folder reused over
// several row partitions and column partitions.
TEST(CrossTermFold, EqualsThePlainFoldWhenRowEffectsShareSlots) {
  std::mt19937_64 random(977);
  for (std::size_t most_slots : {std::size_t{1}, std::size_t{64}, std::size_t{1024}}) {
    for (int trial = 0; trial < 6; ++trial) {
      const int n = 3000 + static_cast<int>(random() % 9000);
      const std::vector<int> columns = random_sizes(n, 1 + trial % 3, random);
      const ClusterMargins column_margins(columns);
      CrossTermFolder folder(column_margins, most_slots);
      for (int r = 0; r < 4; ++r) {
        const std::vector<int> rows = random_sizes(n, 1 + r, random);
        const float fast = folder.fold(ClusterMargins(rows));
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(plain_fold(rows, columns)))
            << most_slots << " slots, trial " << trial << ", rows " << r;
      }
    }
  }
}

// Levels of a dendrogram from the top: each splits one cluster in two, the
// part with the smaller objects keeping its place and the other inserted
// later in label order. Peeling a small part off, as single linkage does,
// or splitting anywhere.
std::vector<std::vector<int>> levels_by_splits(int n, int levels, bool peel, std::mt19937_64& random) {
  std::vector<std::vector<int>> result{{n}};
  while (static_cast<int>(result.size()) < levels) {
    std::vector<int> sizes = result.back();
    std::vector<int> splittable;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i)
      if (sizes[i] > 1) splittable.push_back(i);
    if (splittable.empty()) break;
    const int at = splittable[random() % splittable.size()];
    const int part = peel ? 1 + static_cast<int>(random() % std::min(sizes[at] - 1, 5))
                          : 1 + static_cast<int>(random() % static_cast<std::uint64_t>(sizes[at] - 1));
    sizes[at] -= part;
    const auto later = static_cast<std::ptrdiff_t>(at + 1 + random() % (sizes.size() - at));
    sizes.insert(sizes.begin() + later, part);
    result.push_back(std::move(sizes));
  }
  return result;
}

// One folder over the levels in order, told each time how many leading
// rows are as before, and over columns changed in between: every resumed
// fold must equal a fold from the start.
TEST(CrossTermFold, EqualsThePlainFoldWhenResumingAfterTheRowsAsBefore) {
  std::mt19937_64 random(5150);
  for (const bool peel : {false, true}) {
    const int n = 2500 + static_cast<int>(random() % 2000);
    const auto levels = levels_by_splits(n, 260, peel, random);
    const ClusterMargins first_columns(random_sizes(n, 2, random)), second_columns(random_sizes(n, 4, random));
    CrossTermFolder folder(first_columns);
    const ClusterMargins* passes[] = {&first_columns, &second_columns, &first_columns};
    for (std::size_t pass = 0; pass < 3; ++pass) {
      const ClusterMargins& columns = *passes[pass];
      folder.use_columns(columns);
      std::vector<int> column_sizes;
      for (int s = 0; s < columns.count(); ++s) column_sizes.push_back(columns.size(s));
      // After the first pass the rows start as they were, but with other
      // columns: nothing of the last pass may be reused.
      const std::size_t first = pass == 0 ? 0 : 40 * pass;
      auto previous = std::make_unique<ClusterMargins>(levels[first == 0 ? 0 : first - 1], false);
      for (std::size_t k = first; k < levels.size(); ++k) {
        auto rows = std::make_unique<ClusterMargins>(levels[k], false);
        const int as_before = rows->leading_sizes_shared(*previous);
        const float fast = folder.fold(*rows, as_before);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(plain_fold(levels[k], column_sizes)))
            << (peel ? "peeling" : "splitting") << ", pass " << pass << ", level " << k << ", " << as_before
            << " rows as before";
        previous = std::move(rows);
      }
    }
  }
}

// Every row level of a dendrogram folded in order with its label groups,
// against column partitions taken in turn and again: the effects of groups
// that stay the same serve later levels, but never other columns.
TEST(CrossTermFold, EqualsThePlainFoldOverEveryLevelWithRowGroups) {
  std::mt19937_64 random(4242);
  for (const shapes::Shape shape : {shapes::Shape::random_tree, shapes::Shape::giant_cluster}) {
    const int n = 700;
    const LevelledDendrogram rows_tree = level_merges(shapes::make_dendrogram({shape, n, 0, true, true}, random), n);
    const LevelledDendrogram columns_tree =
        level_merges(shapes::make_dendrogram({shapes::Shape::balanced, n, 0, true, true}, random), n);
    const RowGroups groups(rows_tree);
    std::vector<int> sizes, scratch;
    std::vector<std::vector<int>> row_sizes;
    std::vector<ClusterMargins> rows;
    for (int level = 1; level < rows_tree.level_count; ++level) {
      partition_sizes(rows_tree, level, sizes, scratch);
      row_sizes.push_back(sizes);
      rows.emplace_back(sizes, false);
    }
    CrossTermFolder folder((ClusterMargins()));
    for (const int column_level : {400, 600, 400, 150}) {
      partition_sizes(columns_tree, column_level, sizes, scratch);
      const std::vector<int> column_sizes = sizes;
      const ClusterMargins columns(column_sizes);
      folder.use_columns(columns);
      for (std::size_t k = 0; k < rows.size(); ++k) {
        const int as_before = k == 0 ? 0 : rows[k].leading_sizes_shared(rows[k - 1]);
        const RowGroupsView view = groups.level(static_cast<int>(k));
        const float fast = folder.fold(rows[k], as_before, &view);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(plain_fold(row_sizes[k], column_sizes)))
            << shapes::shape_name(shape) << ", row level " << k + 1 << ", column level " << column_level;
      }
    }
  }
}

TEST(CrossTermFold, EqualsThePlainFoldWhenSumsPassTwoToTheFiftyTwo) {
  // 46340 objects in one cluster against a handful: terms near 2^62.
  EXPECT_TRUE(folds_agree({46340}, {46340}));
  EXPECT_TRUE(folds_agree({40000, 6000, 340}, {20000, 20000, 6339, 1}));
  EXPECT_TRUE(folds_agree({30000, 1, 1, 1, 16337}, {46000, 1, 1, 1, 1, 1, 335}));
}

// A giant cluster among singletons and small clusters, at a random place in
// label order, as single linkage gives at every level.
std::vector<int> giant_among_small(int n, int giant, std::mt19937_64& random) {
  std::vector<int> sizes{giant};
  int left = n - giant;
  const int largest_small = 1 + static_cast<int>(random() % 6);
  while (left > 0) {
    const int size = std::min(left, 1 + static_cast<int>(random() % largest_small));
    sizes.push_back(size);
    left -= size;
  }
  std::shuffle(sizes.begin(), sizes.end(), random);
  return sizes;
}

// Clusters of about equal size, as a compact linkage gives.
std::vector<int> nearly_equal(int n, int clusters, std::mt19937_64& random) {
  std::vector<int> sizes(clusters, n / clusters);
  for (int i = 0; i < n % clusters; ++i) ++sizes[i];
  for (int i = 0; i + 1 < clusters; ++i) {  // move a few objects between neighbours
    const int moved = static_cast<int>(random() % 3);
    if (sizes[i] > moved) {
      sizes[i] -= moved;
      sizes[i + 1] += moved;
    }
  }
  std::shuffle(sizes.begin(), sizes.end(), random);
  return sizes;
}

// Rows whose own total crosses many binades of the sum: one giant row
// against every kind of column partition, and the reverse.
TEST(CrossTermFold, EqualsThePlainFoldWhenOneRowCrossesManyBinades) {
  std::mt19937_64 random(77);
  for (int trial = 0; trial < 160; ++trial) {
    const int n = 50 + static_cast<int>(random() % 4000);
    const int giant = 1 + static_cast<int>(random() % n);
    const std::vector<int> rows = giant_among_small(n, giant, random);
    const int clusters = 1 + static_cast<int>(random() % std::min(n, 300));
    const std::vector<int> columns =
        trial % 3 == 0 ? random_sizes(n, 3, random) : nearly_equal(n, clusters, random);
    if (rows.size() * columns.size() > 8'000'000) continue;
    ASSERT_TRUE(folds_agree(rows, columns)) << "trial " << trial << ", n = " << n;
    ASSERT_TRUE(folds_agree(columns, rows)) << "trial " << trial << " reversed, n = " << n;
  }
}

// Sizes that are multiples of powers of two give terms with many trailing
// zeros, so ties to even appear in every binade.
TEST(CrossTermFold, EqualsThePlainFoldWhenRoundingTiesAreFrequent) {
  std::mt19937_64 random(78);
  for (int trial = 0; trial < 200; ++trial) {
    const int unit = 1 << (random() % 7);
    auto draw = [&](int count, int spread) {
      std::vector<int> sizes;
      for (int i = 0; i < count; ++i) sizes.push_back(unit * (1 + static_cast<int>(random() % spread)));
      return sizes;
    };
    std::vector<int> rows = draw(1 + static_cast<int>(random() % 400), 1 + static_cast<int>(random() % 40));
    std::vector<int> columns = draw(1 + static_cast<int>(random() % 400), 1 + static_cast<int>(random() % 40));
    if (trial % 2 == 0) rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(random() % rows.size()), 3000);
    ASSERT_TRUE(folds_agree(rows, columns)) << "trial " << trial;
  }
}

// Against the folder as it was before crossing rows were blocked, at sizes
// the plain fold cannot reach: sums beyond 2^52 and rounded squares.
TEST(CrossTermFold, EqualsThePreviousFolderOnLargeMargins) {
  std::mt19937_64 random(79);
  for (int trial = 0; trial < 60; ++trial) {
    const int n = 5000 + static_cast<int>(random() % 41340);
    const std::vector<int> rows =
        trial % 2 ? giant_among_small(n, 1 + static_cast<int>(random() % n), random) : random_sizes(n, 8, random);
    const std::vector<int> columns = nearly_equal(n, 1 + static_cast<int>(random() % 2000), random);
    const ClusterMargins r(rows), c(columns);
    const float expected = testing_support::oracle_fold_cross_term(r, c);
    const float actual = fold_cross_term(r, c);
    ASSERT_EQ(std::bit_cast<std::uint32_t>(expected), std::bit_cast<std::uint32_t>(actual))
        << "trial " << trial << ", n = " << n << ": " << expected << " vs " << actual;
  }
}

}  // namespace
}  // namespace compare::fast
